// The base look: a window's element drawn in its first state over the window, and where
// captions are anchored.
#include "ui/WindowLook.h"

#include "ui/Renderer.h"
#include "ui/Skin.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"
#include "ui/Window.h"

#include <algorithm>
#include <limits>

namespace UI {

namespace {

// The offset of an anchor along one side of length size: the far edge beats the middle.
int64_t AnchorOffset(uint32_t flags, uint32_t farFlag, uint32_t middleFlag, int32_t size)
{
    if (flags & farFlag)
        return size;
    if (flags & middleFlag)
        return size / 2;
    return 0;
}

} // namespace

void WindowLook::draw(Window& window)
{
    UISystem* system = window.system();
    Element* element = window.element();
    if (!system || !element || !system->renderer())
        return;
    ElementState* state = element->stateAt(0);
    if (!state)
        return;
    const std::optional<Graphics::Rect> clip = window.clipRect();
    system->renderer()->drawState(window.absoluteX(), window.absoluteY(), window.width(),
                                  window.height(), state, clip ? &*clip : nullptr);
}

CaptionAnchor captionAnchor(const Window& window, uint32_t fontFlags, int32_t textDeltaX,
                            int32_t textDeltaY)
{
    const int64_t x = int64_t{window.absoluteX()} + textDeltaX +
                      AnchorOffset(fontFlags, FontFlags::Right, FontFlags::CentreX, window.width());
    const int64_t y =
        int64_t{window.absoluteY()} + textDeltaY +
        AnchorOffset(fontFlags, FontFlags::Bottom, FontFlags::Middle, window.height());
    return {Saturate(x), Saturate(y)};
}

} // namespace UI
