// The scroll bar's knob: a press grabs it, moves drag it, the release lets it go.
#include "ui/Thumb.h"

#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"
#include "ui/WindowLook.h"

namespace UI {

Thumb::Thumb(Window* parent, UISystem* system, UIParams* params) : Window(parent, system, params)
{
    setSize(DefaultWidth, DefaultHeight);
    Thumb::createLook();
    Window::load(params);
}

void Thumb::onMouseDown(const MouseEventArgs& args)
{
    const Ref alive(this);
    Window::onMouseDown(args);
    if (!alive.get() || !isEffectivelyEnabled())
        return;
    m_dragging = true;
    m_grabY = args.y;
    if (system())
        system()->setCapture(this);
}

void Thumb::onMouseMove(const MouseEventArgs& args)
{
    const Ref alive(this);
    Window::onMouseMove(args);
    if (!alive.get() || !m_dragging)
        return;
    // A drag lives only as long as the capture: once another press has taken it, moves that
    // merely pass over the thumb must not drag it.
    if (!system() || system()->capture() != this || !isEffectivelyEnabled()) {
        m_dragging = false;
        return;
    }
    moveBy(0, Saturate(int64_t{args.y} - m_grabY));
}

void Thumb::onMouseUp(const MouseEventArgs& args)
{
    const Ref alive(this);
    Window::onMouseUp(args);
    if (!alive.get())
        return;
    m_dragging = false;
    if (system() && system()->capture() == this)
        system()->setCapture(nullptr);
}

void Thumb::createLook()
{
    setLook(std::make_unique<WindowLook>());
}

} // namespace UI
