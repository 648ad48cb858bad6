// Edit: a one-line text field typed into with key codes (from the device keys or the on-screen
// keyboard), with a blinking caret while it holds the focus.
#pragma once

#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <string>

namespace UI {

class Edit : public Window
{
public:
    static constexpr int32_t DefaultX = 10;
    static constexpr int32_t DefaultY = 10;
    static constexpr int32_t DefaultWidth = 115;
    static constexpr int32_t DefaultHeight = 28;
    static constexpr int32_t DefaultBorder = 2;
    // The blink cycle in updates: the caret shows on the first CaretShown of every cycle.
    static constexpr uint32_t BlinkCycle = 11;
    static constexpr uint32_t CaretShown = 4;

    // The key codes the edit accepts besides letters (65..90), digits (48..57) and space.
    static constexpr uint32_t KeyBackspace = 8;
    static constexpr uint32_t KeySpace = 32;
    static constexpr uint32_t KeyMinus = 189;
    static constexpr uint32_t KeyFullStop = 190;

    Edit(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Advances the caret blink (enabled or not), then updates the children.
    void onUpdate(const EventArgs& args) override;
    // Applies the key to the text unless read-only, then fires KeyDown.
    void onKeyDown(const KeyboardEventArgs& args) override;
    // The window keys, then "font", "fontFlags", "border", "editTextDeltaX", "editTextDeltaY",
    // "text", "maxLength".
    void load(UIParams* params) override;
    void createLook() override;

    const std::u16string& text() const { return m_text; }
    // Stored as given: the length limit applies to typing only.
    void setText(std::u16string text);
    bool password() const { return m_password; }
    void setPassword(bool value);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool value);
    // 0 (or less): no limit.
    int32_t maxLength() const { return m_maxLength; }
    void setMaxLength(int32_t value) { m_maxLength = value; }
    int32_t font() const { return m_font; }
    void setFont(int32_t font);
    int32_t fontFlags() const { return m_fontFlags; }
    int32_t border() const { return m_border; }
    void setBorder(int32_t border);
    int32_t textDeltaX() const { return m_textDeltaX; }
    int32_t textDeltaY() const { return m_textDeltaY; }
    bool caretVisible() const { return m_caretVisible; }
    // The caret is drawn: in its visible phase, editable, and the focus is on the window that
    // activates for this edit.
    bool showsCaret();

private:
    void loadEdit(UIParams* params);

    std::u16string m_text;
    int32_t m_font = 0;
    int32_t m_fontFlags = 0;
    int32_t m_border = DefaultBorder;
    bool m_caretVisible = false;
    bool m_password = false;
    int32_t m_textDeltaX = 0;
    int32_t m_textDeltaY = 0;
    bool m_readOnly = false;
    uint32_t m_blinkCounter = 0;
    int32_t m_maxLength = 0;
};

// The element's first state, then the text (or its stars) and the caret, inside the border.
class LEdit : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
