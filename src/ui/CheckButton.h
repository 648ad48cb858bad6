// CheckButton: a button that toggles a checked state on each click and shows its check
// element while checked. It shares the push button's caption, press and click rules, except
// that a press does not restart the hold counter: the pressed art shows only while held.
#pragma once

#include "ui/FixedButton.h"

namespace UI {

class CheckButton : public FixedButton
{
public:
    CheckButton(Window* parent, UISystem* system, UIParams* params = nullptr);

    void onMouseDown(const MouseEventArgs& args) override;
    // A click fires MouseUp with the old state, then toggles and fires Changed with the same
    // mouse arguments.
    void onMouseUp(const MouseEventArgs& args) override;
    // The caption keys, "checkElement", then the window keys.
    void load(UIParams* params) override;
    void createLook() override;
    // Fires Changed when the button is effectively enabled.
    virtual void fireChanged(const EventArgs& args);

    // Stores a new value and fires Changed (enabled or not); the same value does nothing.
    void setChecked(bool checked);
    bool checked() const { return m_checked; }
    Element* checkElement() const { return m_checkElement; }

    Event Changed;

private:
    bool m_checked = false;
    Element* m_checkElement = nullptr; // owned by the skin
};

// The button look with the check element in place of the element while checked.
class LCheckButton : public LFixedButton
{
public:
    void draw(Window& window) override;
};

} // namespace UI
