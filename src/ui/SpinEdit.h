// SpinEdit: a list of text values, one shown at a time in a read-only edit field and stepped
// through with a spin at its right (or the up and down arrow keys while the field has the focus).
#pragma once

#include "ui/Window.h"

#include <string>
#include <vector>

namespace UI {

class Edit;
class Spin;

class SpinEdit : public Window
{
public:
    static constexpr int32_t DefaultX = 10;
    static constexpr int32_t DefaultY = 10;
    static constexpr int32_t DefaultWidth = 100;
    static constexpr int32_t DefaultHeight = 25;
    static constexpr int32_t DefaultDeltaX = 1;
    static constexpr int32_t DefaultSpinWidth = 21;
    static constexpr uint32_t KeyArrowUp = 38;
    static constexpr uint32_t KeyArrowDown = 40;

    SpinEdit(Window* parent, UISystem* system, UIParams* params = nullptr);

    // The spin fills the right spinWidth pixels; the edit the rest, less a deltaX gap.
    void setSize(int32_t w, int32_t h) override;
    // The window keys, then "spineditDeltaX", "spineditEditElement", "spineditSpinElement",
    // "spinWidth"; then lays the parts out.
    void load(UIParams* params) override;
    void createLook() override;

    // Appends the value and selects it.
    void addValue(std::u16string text);
    // Removes a value, keeping the selection on the same value; removing the selected value
    // leaves nothing selected. Out of range does nothing. Changed is not fired.
    void removeValue(int32_t index);
    // Shows the value at index, or clears the field (selected -1) for an index out of range.
    // Changed is not fired.
    void select(int32_t index);
    // Step to the next (previous) value when there is one, firing Changed.
    void stepUp();
    void stepDown();

    const std::vector<std::u16string>& values() const { return m_values; }
    int32_t selected() const { return m_selected; }
    Edit* edit() const { return m_edit; }
    Spin* spin() const { return m_spin; }
    int32_t deltaX() const { return m_deltaX; }
    int32_t spinWidth() const { return m_spinWidth; }

    // Fired by a step, naming the spin edit.
    Event Changed;

private:
    void loadSpinEdit(UIParams* params);
    bool onSpinUp(const EventArgs& args);
    bool onSpinDown(const EventArgs& args);
    bool onEditKeyDown(const EventArgs& args);
    bool onEditGotFocus(const EventArgs& args);
    bool onEditLostFocus(const EventArgs& args);

    std::vector<std::u16string> m_values;
    int32_t m_selected = -1;
    Spin* m_spin = nullptr; // child, owned by the tree
    Edit* m_edit = nullptr; // child, owned by the tree
    int32_t m_deltaX = DefaultDeltaX;
    int32_t m_spinWidth = DefaultSpinWidth;
};

} // namespace UI
