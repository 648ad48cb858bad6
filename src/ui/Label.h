// Label: one line of text anchored in its rectangle by its font flags. A layout text that
// starts with "@" names a string-table entry instead; the screen fills it in after loading
// (ApplyTextKeys).
#pragma once

#include "ui/Window.h"

#include <functional>
#include <string>

namespace UI {

class Label : public Window
{
public:
    static constexpr int32_t DefaultWidth = 100;
    static constexpr int32_t DefaultHeight = 20;

    Label(Window* parent, UISystem* system, UIParams* params = nullptr);

    // The text, then the visible children.
    void draw() override;
    // "font", "fontFlags", "text", "align", "valign", then the window keys.
    void load(UIParams* params) override;

    void setText(std::u16string text);
    const std::u16string& text() const { return m_text; }
    // The string-table key the layout gave ("@Key" without the "@"), empty for plain text.
    const std::u16string& textKey() const { return m_textKey; }
    void setFont(int32_t font);
    int32_t font() const { return m_font; }
    void setFontFlags(int32_t flags);
    int32_t fontFlags() const { return m_fontFlags; }
    // Stored for layouts; only the font flags place the text. 0 left (top), 1 centre
    // (middle), 2 right (bottom), 3 justify.
    int32_t hAlign() const { return m_hAlign; }
    int32_t vAlign() const { return m_vAlign; }

private:
    std::u16string m_text;
    std::u16string m_textKey;
    int32_t m_font = 0;
    int32_t m_fontFlags = 0;
    int32_t m_hAlign = 0;
    int32_t m_vAlign = 0;
};

// Gives every label of the tree that has a text key the text lookup returns for it.
void ApplyTextKeys(Window* root,
                   const std::function<std::u16string(std::u16string_view key)>& lookup);

} // namespace UI
