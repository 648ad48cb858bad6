// Thumb: the draggable knob of a scroll bar. It moves only vertically, between the minY and maxY
// its scroller gives it, and holds the stylus capture while it is dragged.
#pragma once

#include "ui/Window.h"

namespace UI {

class Thumb : public Window
{
public:
    static constexpr int32_t DefaultWidth = 15;
    static constexpr int32_t DefaultHeight = 16;

    Thumb(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Starts a drag at the press and takes the capture.
    void onMouseDown(const MouseEventArgs& args) override;
    // While dragging, follows the stylus vertically.
    void onMouseMove(const MouseEventArgs& args) override;
    // Ends the drag and lets the capture go.
    void onMouseUp(const MouseEventArgs& args) override;
    void createLook() override;

    bool dragging() const { return m_dragging; }
    int32_t grabY() const { return m_grabY; }

private:
    bool m_dragging = false;
    int32_t m_grabY = 0; // where the stylus took hold, in the thumb's own coordinates
};

} // namespace UI
