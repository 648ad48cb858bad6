// FixedButton: a push button with a caption. A press takes the stylus capture; the click is
// the MouseUp event, fired only when the release lands on the button while it still holds the
// capture, so sliding off before releasing cancels it.
#pragma once

#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <string>

namespace UI {

class FixedButton : public Window
{
public:
    static constexpr int32_t DefaultWidth = 115;
    static constexpr int32_t DefaultHeight = 28;
    // Updates after a press during which the pressed art still shows.
    static constexpr int32_t HoldTicks = 2;

    FixedButton(Window* parent, UISystem* system, UIParams* params = nullptr);

    void onMouseDown(const MouseEventArgs& args) override;
    void onMouseUp(const MouseEventArgs& args) override;
    void onMouseEnter(const MouseEventArgs& args) override;
    void onMouseLeave(const MouseEventArgs& args) override;
    // Counts the hold ticks; the update is not passed on to children.
    void onUpdate(const EventArgs& args) override;
    // "font", "fontFlags", "textDeltaX", "textDeltaY", "text", then the window keys.
    void load(UIParams* params) override;
    void createLook() override;

    void setCaption(std::u16string caption);
    const std::u16string& caption() const { return m_caption; }
    void setFont(int32_t font);
    int32_t font() const { return m_font; }
    void setFontFlags(int32_t flags);
    int32_t fontFlags() const { return m_fontFlags; }
    int32_t textDeltaX() const { return m_textDeltaX; }
    int32_t textDeltaY() const { return m_textDeltaY; }
    bool pressed() const { return m_pressed; }
    int32_t holdCounter() const { return m_holdCounter; }
    // Shows the pressed art: held down, or released fewer than HoldTicks updates ago.
    bool showsPressed() const { return m_pressed || m_holdCounter < HoldTicks; }

protected:
    // The constructor form of derived buttons, which create their own look and load.
    struct NoLoad
    {};
    FixedButton(Window* parent, UISystem* system, UIParams* params, NoLoad);
    // The caption keys, read before the window keys.
    void loadCaption(UIParams* params);
    // Presses the button when it may be pressed: in the root's tree and effectively enabled.
    // False when it was not pressed.
    bool press(const MouseEventArgs& args, bool resetHold);
    // The button's half of a release; true when it is a click.
    bool release(const MouseEventArgs& args);

    bool m_pressed = false;
    int32_t m_holdCounter = HoldTicks;

private:
    std::u16string m_caption;
    int32_t m_textDeltaX = 0;
    int32_t m_textDeltaY = 0;
    int32_t m_font = 0;
    int32_t m_fontFlags = 6;
};

// Draws a button's element in its pressable state, then its caption.
class LFixedButton : public WindowLook
{
public:
    void draw(Window& window) override;

protected:
    static void drawButton(FixedButton& button, Element* element);
};

} // namespace UI
