// The up/down arrow pair: its buttons' clicks become Up and Down.
#include "ui/Spin.h"

#include "ui/FixedButton.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"
#include "ui/WindowLook.h"

namespace UI {

Spin::Spin(Window* parent, UISystem* system, UIParams* params) : Window(parent, system, params)
{
    Window::setSize(DefaultWidth, DefaultHeight);
    Spin::createLook();
    Spin::load(params);
}

void Spin::setSize(int32_t w, int32_t h)
{
    Window::setSize(w, h);
    for (FixedButton* button : {m_upButton, m_downButton})
        button->setSize(m_buttonWidth, m_buttonHeight);
    const int32_t x = Saturate((int64_t{w} - m_buttonWidth) / 2);
    m_upButton->setPosition(x, UpButtonTop);
    m_downButton->setPosition(x, Saturate(int64_t{h} - m_buttonHeight - m_buttonDeltaY));
}

void Spin::load(UIParams* params)
{
    Window::load(params);
    loadSpin(params);
    setSize(width(), height());
}

void Spin::createLook()
{
    setLook(std::make_unique<WindowLook>());
    UISystem* ui = system();
    m_upButton = new FixedButton(this, ui);
    m_downButton = new FixedButton(this, ui);
    if (ui) {
        m_upButton->setElement(ui->findElement(u"ScrollArrowUp"));
        m_downButton->setElement(ui->findElement(u"ScrollArrowDown"));
    }
    subscribe(m_upButton->MouseUp, this, &Spin::onUpClicked);
    subscribe(m_downButton->MouseUp, this, &Spin::onDownClicked);
}

void Spin::fireUp()
{
    if (isEffectivelyEnabled())
        Up.fire(WindowEventArgs(this));
}

void Spin::fireDown()
{
    if (isEffectivelyEnabled())
        Down.fire(WindowEventArgs(this));
}

void Spin::loadSpin(UIParams* params)
{
    if (!params)
        return;
    m_buttonDeltaY = params->getInt(u"spinButtonDeltaY", m_buttonDeltaY);
    m_buttonWidth = params->getInt(u"spinButtonWidth", m_buttonWidth);
    m_buttonHeight = params->getInt(u"spinButtonHeight", m_buttonHeight);
    m_upButton->setElement(
        ReadElement(params, u"spinButtonUpElement", system(), m_upButton->element()));
    m_downButton->setElement(
        ReadElement(params, u"spinButtonDownElement", system(), m_downButton->element()));
}

bool Spin::onUpClicked(const EventArgs& /*args*/)
{
    fireUp();
    return true;
}

bool Spin::onDownClicked(const EventArgs& /*args*/)
{
    fireDown();
    return true;
}

} // namespace UI
