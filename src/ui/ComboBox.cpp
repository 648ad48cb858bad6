// The combo box: its parts, their layout, and the open-pick-close cycle of the list.
#include "ui/ComboBox.h"

#include "ui/Edit.h"
#include "ui/FixedButton.h"
#include "ui/ListBox.h"
#include "ui/SimpleWindow.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

#include <algorithm>

namespace UI {

ComboBox::ComboBox(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    ComboBox::createLook();
    setSize(DefaultSize, DefaultSize);
    ComboBox::load(params);
}

void ComboBox::setSize(int32_t w, int32_t h)
{
    m_collapsedWidth = w;
    m_requestedHeight = h;
    if (!m_button || !m_edit || !m_list) {
        Window::setSize(w, h);
        return;
    }
    m_button->setRect(Saturate(int64_t{w} - m_buttonWidth), 0, m_buttonWidth, m_buttonHeight);
    m_edit->setRect(0, 0, Saturate(int64_t{w} - m_buttonDeltaX - m_buttonWidth), m_buttonHeight);
    // A list as high as its items, within what the size asked for leaves below the button.
    const int64_t itemsHeight = int64_t{m_list->itemCount()} * m_list->itemHeight() + 1;
    const int64_t room = int64_t{h} - m_buttonDeltaX - m_buttonHeight;
    const int32_t listHeight = Saturate(std::max<int64_t>(std::min(itemsHeight, room), 0));
    m_list->setRect(0, Saturate(int64_t{m_buttonDeltaY} + m_buttonHeight), w, listHeight);
    const int64_t shown = m_list->visible() ? int64_t{m_buttonDeltaX} + m_buttonHeight + listHeight
                                            : int64_t{m_buttonHeight};
    Window::setSize(w, Saturate(shown));
    // Window::setSize stored the shown height; keep the height asked for.
    m_requestedHeight = h;
}

void ComboBox::onLostFocus(const WindowChangeEventArgs& args)
{
    setListOpen(false);
    Window::onLostFocus(args);
}

void ComboBox::load(UIParams* params)
{
    Window::load(params);
    // The window keys store the size directly: it is the size asked for.
    m_collapsedWidth = width();
    m_requestedHeight = height();
    if (params) {
        m_buttonHeight = params->getInt(u"comboboxButtonHeight", m_buttonHeight);
        m_buttonWidth = params->getInt(u"comboboxButtonWidth", m_buttonWidth);
        m_buttonDeltaX = params->getInt(u"comboboxButtonDeltaX", m_buttonDeltaX);
        m_buttonDeltaY = params->getInt(u"comboboxButtonDeltaY", m_buttonDeltaY);
        // The list's background is its listbase: that is what the list element dresses.
        m_list->listbase()->setElement(ReadElement(params, u"comboboxListboxElement", system(),
                                                   m_list->listbase()->element()));
        m_edit->setElement(
            ReadElement(params, u"comboboxEditElement", system(), m_edit->element()));
        m_button->setElement(
            ReadElement(params, u"comboboxButtonElement", system(), m_button->element()));
    }
    relayout();
}

void ComboBox::createLook()
{
    if (m_button)
        return;
    UISystem* ui = system();
    m_button = new FixedButton(this, ui);
    m_button->setName(u"ScrollArrowDown");
    m_edit = new Edit(this, ui);
    m_edit->setName(u"listbase");
    m_edit->setReadOnly(true);
    m_list = new ListBox(this, ui);
    m_list->setName(u"spin");
    m_list->setVisible(false);
    if (ui) {
        m_button->setElement(ui->findElement(u"ScrollArrowDown"));
        m_edit->setElement(ui->findElement(u"edit"));
        m_list->listbase()->setElement(ui->findElement(u"listbase"));
    }
    // Focus requests on the parts land on the combo box itself.
    m_button->setCanActivateTree(true);
    m_edit->setCanActivateTree(true);
    m_list->setCanActivateTree(true);
    UI::subscribe(m_button->MouseUp, this, &ComboBox::onButtonClick);
    UI::subscribe(m_edit->MouseDown, this, &ComboBox::onEditDown);
    UI::subscribe(m_edit->MouseUp, this, &ComboBox::onEditUp);
    UI::subscribe(m_list->Changed, this, &ComboBox::onListChanged);
    UI::subscribe(m_list->MouseUp, this, &ComboBox::onListUp);
}

int32_t ComboBox::addItem(std::u16string text)
{
    const int32_t index = m_list->addItem(std::move(text));
    relayout();
    return index;
}

void ComboBox::select(int32_t index)
{
    const Ref alive(this);
    m_selecting = true;
    m_list->setSelection(index);
    if (!alive.get())
        return;
    m_selecting = false;
    takeSelection();
    if (isEffectivelyEnabled())
        Changed.fire(WindowEventArgs(this));
}

void ComboBox::setListOpen(bool open)
{
    open = open && m_list->itemCount() > 0;
    if (open == m_list->visible())
        return;
    m_list->setVisible(open);
    relayout();
}

bool ComboBox::listOpen() const
{
    return m_list->visible();
}

int32_t ComboBox::selected() const
{
    return m_list->selected();
}

const std::u16string& ComboBox::text() const
{
    return m_edit->text();
}

bool ComboBox::onButtonClick(const EventArgs& /*args*/)
{
    setListOpen(!listOpen());
    return true;
}

bool ComboBox::onEditDown(const EventArgs& /*args*/)
{
    m_editPressed = true;
    if (system())
        system()->setCapture(m_edit);
    return true;
}

bool ComboBox::onEditUp(const EventArgs& args)
{
    const auto* mouse = dynamic_cast<const MouseEventArgs*>(&args);
    const bool inside = mouse && mouse->x >= 0 && mouse->y >= 0 && mouse->x <= m_edit->width() &&
                        mouse->y <= m_edit->height();
    const bool toggle = m_editPressed && inside;
    m_editPressed = false;
    if (system() && system()->capture() == m_edit)
        system()->setCapture(nullptr);
    if (toggle)
        setListOpen(!listOpen());
    return true;
}

bool ComboBox::onListChanged(const EventArgs& /*args*/)
{
    if (m_selecting)
        return true;
    takeSelection();
    if (isEffectivelyEnabled())
        Changed.fire(WindowEventArgs(this));
    return true;
}

bool ComboBox::onListUp(const EventArgs& /*args*/)
{
    if (m_list->selected() >= 0)
        m_edit->setText(m_list->item(m_list->selected()));
    setListOpen(false);
    return true;
}

void ComboBox::takeSelection()
{
    const int32_t index = m_list->selected();
    m_edit->setText(index >= 0 ? m_list->item(index) : std::u16string());
    setListOpen(false);
}

void ComboBox::relayout()
{
    setSize(m_collapsedWidth, m_requestedHeight);
}

} // namespace UI
