// WindowLook: draws a window from its skin element. The base look lays the element's first
// state over the window's rectangle; widgets' looks derive from it.
#pragma once

#include <cstdint>

namespace UI {

class Window;

class WindowLook
{
public:
    virtual ~WindowLook() = default;
    // Draws the window; nothing without a UI system, an element or a state.
    virtual void draw(Window& window);
};

// Where a caption is anchored inside a window, before the renderer aligns the text on the
// point with the same flags: right (8) wins over centre (2), bottom (16) over middle (4).
struct CaptionAnchor
{
    int32_t x = 0;
    int32_t y = 0;
};
CaptionAnchor captionAnchor(const Window& window, uint32_t fontFlags, int32_t textDeltaX,
                            int32_t textDeltaY);

} // namespace UI
