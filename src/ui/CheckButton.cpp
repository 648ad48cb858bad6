// The check button: toggling on click, Changed, and the swapped art.
#include "ui/CheckButton.h"

#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

namespace UI {

CheckButton::CheckButton(Window* parent, UISystem* system, UIParams* params)
    : FixedButton(parent, system, params, NoLoad{})
{
    if (system)
        m_checkElement = system->findElement(u"checkButtonElement");
    CheckButton::createLook();
    CheckButton::load(params);
}

void CheckButton::onMouseDown(const MouseEventArgs& args)
{
    press(args, false);
}

void CheckButton::onMouseUp(const MouseEventArgs& args)
{
    if (!release(args))
        return;
    const Ref alive(this);
    Window::onMouseUp(args);
    if (!alive.get())
        return;
    m_checked = !m_checked;
    markRedraw();
    fireChanged(args);
}

void CheckButton::load(UIParams* params)
{
    loadCaption(params);
    m_checkElement = ReadElement(params, u"checkElement", system(), m_checkElement);
    Window::load(params);
}

void CheckButton::createLook()
{
    setLook(std::make_unique<LCheckButton>());
}

void CheckButton::fireChanged(const EventArgs& args)
{
    if (isEffectivelyEnabled())
        Changed.fire(args);
}

void CheckButton::setChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    markRedraw();
    Changed.fire(WindowEventArgs(this));
}

void LCheckButton::draw(Window& window)
{
    auto& button = static_cast<CheckButton&>(window);
    Element* element =
        button.checked() && button.checkElement() ? button.checkElement() : button.element();
    drawButton(button, element);
}

} // namespace UI
