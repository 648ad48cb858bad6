// ComboBox: an edit field with a drop-down button and a list of choices. A click on the button
// or the field opens the list; picking an item copies its text into the field, closes the list
// and fires Changed. The parts pass the focus to the combo box, which closes the list when it
// loses the focus.
#pragma once

#include "ui/Window.h"

#include <string>

namespace UI {

class Edit;
class FixedButton;
class ListBox;

class ComboBox : public Window
{
public:
    static constexpr int32_t DefaultSize = 100;

    ComboBox(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Remembers the size asked for, then lays out the parts: the field and the button on top,
    // the list below them while it is open. The combo box is as high as what shows.
    void setSize(int32_t w, int32_t h) override;
    // Closes the list.
    void onLostFocus(const WindowChangeEventArgs& args) override;
    // The window keys, then "comboboxButtonHeight", "comboboxButtonWidth",
    // "comboboxButtonDeltaX", "comboboxButtonDeltaY", "comboboxListboxElement",
    // "comboboxEditElement", "comboboxButtonElement".
    void load(UIParams* params) override;
    void createLook() override;

    int32_t addItem(std::u16string text);
    // Selects in the list (clamped, scrolled into view), shows the item in the field and fires
    // Changed once.
    void select(int32_t index);
    // Opens or closes the list; an empty list stays closed.
    void setListOpen(bool open);
    bool listOpen() const;
    // The index of the item chosen, -1 for none.
    int32_t selected() const;
    const std::u16string& text() const;

    FixedButton* button() const { return m_button; }
    Edit* edit() const { return m_edit; }
    ListBox* list() const { return m_list; }
    int32_t buttonWidth() const { return m_buttonWidth; }
    int32_t buttonHeight() const { return m_buttonHeight; }

    Event Changed;

private:
    bool onButtonClick(const EventArgs& args);
    bool onEditDown(const EventArgs& args);
    bool onEditUp(const EventArgs& args);
    bool onListChanged(const EventArgs& args);
    bool onListUp(const EventArgs& args);
    // Shows the list's selected item in the field (empties it without a selection), closes
    // the list.
    void takeSelection();
    // Lays out again at the size last asked for.
    void relayout();

    FixedButton* m_button = nullptr;
    Edit* m_edit = nullptr;
    ListBox* m_list = nullptr;
    int32_t m_buttonWidth = 20;
    int32_t m_buttonHeight = 25;
    int32_t m_buttonDeltaX = 2;
    int32_t m_buttonDeltaY = 2;
    int32_t m_collapsedWidth = DefaultSize;
    int32_t m_requestedHeight = DefaultSize;
    bool m_editPressed = false;
    // Set while select() runs, so the list's Changed does not fire the combo box's twice.
    bool m_selecting = false;
};

} // namespace UI
