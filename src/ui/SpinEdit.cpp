// The stepped value field: the list of values, the read-only edit showing the selected one and
// the spin that steps through them.
#include "ui/SpinEdit.h"

#include "ui/Edit.h"
#include "ui/Spin.h"
#include "ui/UIParams.h"
#include "ui/WidgetSupport.h"
#include "ui/WindowLook.h"

#include <algorithm>

namespace UI {

SpinEdit::SpinEdit(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    // The parts do not exist yet: they are laid out once loaded.
    setPosition(DefaultX, DefaultY);
    Window::setSize(DefaultWidth, DefaultHeight);
    SpinEdit::createLook();
    SpinEdit::load(params);
}

void SpinEdit::setSize(int32_t w, int32_t h)
{
    Window::setSize(w, h);
    const int64_t spinX = int64_t{w} - m_spinWidth;
    m_edit->setRect(0, 0, Saturate(std::max<int64_t>(spinX - m_deltaX, 0)), h);
    m_spin->setRect(Saturate(spinX), 0, m_spinWidth, h);
}

void SpinEdit::load(UIParams* params)
{
    Window::load(params);
    loadSpinEdit(params);
    setSize(width(), height());
}

void SpinEdit::createLook()
{
    setLook(std::make_unique<WindowLook>());
    m_spin = new Spin(this, system());
    m_edit = new Edit(this, system());
    m_edit->setReadOnly(true);
    subscribe(m_spin->Up, this, &SpinEdit::onSpinUp);
    subscribe(m_spin->Down, this, &SpinEdit::onSpinDown);
    subscribe(m_edit->KeyDown, this, &SpinEdit::onEditKeyDown);
    subscribe(m_edit->GotFocus, this, &SpinEdit::onEditGotFocus);
    subscribe(m_edit->LostFocus, this, &SpinEdit::onEditLostFocus);
}

void SpinEdit::addValue(std::u16string text)
{
    m_values.push_back(std::move(text));
    select(static_cast<int32_t>(m_values.size()) - 1);
    markRedraw();
}

void SpinEdit::removeValue(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_values.size())
        return;
    m_values.erase(m_values.begin() + index);
    if (index == m_selected)
        select(-1);
    else if (index < m_selected)
        --m_selected;
    markRedraw();
}

void SpinEdit::select(int32_t index)
{
    m_edit->setText(u"");
    m_selected = -1;
    if (index >= 0 && static_cast<size_t>(index) < m_values.size()) {
        m_edit->setText(m_values[static_cast<size_t>(index)]);
        m_selected = index;
    }
}

void SpinEdit::stepUp()
{
    if (m_selected >= static_cast<int32_t>(m_values.size()) - 1)
        return;
    select(m_selected + 1);
    if (isEffectivelyEnabled())
        Changed.fire(WindowEventArgs(this));
}

void SpinEdit::stepDown()
{
    if (m_selected <= 0)
        return;
    select(m_selected - 1);
    if (isEffectivelyEnabled())
        Changed.fire(WindowEventArgs(this));
}

void SpinEdit::loadSpinEdit(UIParams* params)
{
    if (!params)
        return;
    m_deltaX = params->getInt(u"spineditDeltaX", m_deltaX);
    m_edit->setElement(ReadElement(params, u"spineditEditElement", system(), m_edit->element()));
    m_spin->setElement(ReadElement(params, u"spineditSpinElement", system(), m_spin->element()));
    m_spinWidth = params->getInt(u"spinWidth", m_spinWidth);
}

bool SpinEdit::onSpinUp(const EventArgs& /*args*/)
{
    stepUp();
    return true;
}

bool SpinEdit::onSpinDown(const EventArgs& /*args*/)
{
    stepDown();
    return true;
}

bool SpinEdit::onEditKeyDown(const EventArgs& args)
{
    const auto& key = static_cast<const KeyboardEventArgs&>(args);
    if (key.key == KeyArrowUp)
        stepUp();
    else if (key.key == KeyArrowDown)
        stepDown();
    return true;
}

// The field's focus is the spin edit's: a screen watching the spin edit hears of it.
bool SpinEdit::onEditGotFocus(const EventArgs& args)
{
    markRedraw();
    if (isEffectivelyEnabled())
        GotFocus.fire(args);
    return true;
}

bool SpinEdit::onEditLostFocus(const EventArgs& args)
{
    markRedraw();
    if (isEffectivelyEnabled())
        LostFocus.fire(args);
    return true;
}

} // namespace UI
