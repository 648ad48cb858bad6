// Spin: a pair of arrow buttons, one above the other, that step a value up or down.
#pragma once

#include "ui/Window.h"

namespace UI {

class FixedButton;

class Spin : public Window
{
public:
    static constexpr int32_t DefaultWidth = 21;
    static constexpr int32_t DefaultHeight = 24;
    static constexpr int32_t DefaultButtonWidth = 15;
    static constexpr int32_t DefaultButtonHeight = 10;
    static constexpr int32_t DefaultButtonDeltaY = 2;
    // The upper button's distance from the top; the lower one keeps buttonDeltaY from the bottom.
    static constexpr int32_t UpButtonTop = 2;

    Spin(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Sizes the buttons and centres them horizontally, the upper one at the top and the lower
    // one at the bottom.
    void setSize(int32_t w, int32_t h) override;
    // The window keys, then "spinButtonDeltaY", "spinButtonWidth", "spinButtonHeight",
    // "spinButtonUpElement", "spinButtonDownElement"; then lays the buttons out.
    void load(UIParams* params) override;
    void createLook() override;
    // Fire Up (Down) naming the spin, when it is effectively enabled.
    virtual void fireUp();
    virtual void fireDown();

    FixedButton* upButton() const { return m_upButton; }
    FixedButton* downButton() const { return m_downButton; }
    int32_t buttonDeltaY() const { return m_buttonDeltaY; }
    int32_t buttonWidth() const { return m_buttonWidth; }
    int32_t buttonHeight() const { return m_buttonHeight; }

    Event Up;
    Event Down;

private:
    void loadSpin(UIParams* params);
    bool onUpClicked(const EventArgs& args);
    bool onDownClicked(const EventArgs& args);

    FixedButton* m_upButton = nullptr;   // child, owned by the tree
    FixedButton* m_downButton = nullptr; // child, owned by the tree
    int32_t m_buttonDeltaY = DefaultButtonDeltaY;
    int32_t m_buttonWidth = DefaultButtonWidth;
    int32_t m_buttonHeight = DefaultButtonHeight;
};

} // namespace UI
