// TextBox: a read-only text shown in a panel with a scroll bar. The text is drawn as it is
// given (its own line breaks only, no wrapping); the scroller slides it up by the part that
// does not fit.
#pragma once

#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <string>

namespace UI {

class Scroller;
class SimpleWindow;

class TextBox : public Window
{
public:
    static constexpr int32_t DefaultSize = 100;

    TextBox(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Draws the parts first, then the text over the listbase.
    void draw() override;
    // The listbase fills the box but for the scroller at the right edge.
    void setSize(int32_t w, int32_t h) override;
    // The window keys, then "listboxFont" ... "listboxListbaseElement", then the layout.
    void load(UIParams* params) override;
    void createLook() override;

    void setText(std::u16string text);
    const std::u16string& text() const { return m_text; }
    // How far the text is slid up: the part of its height that does not fit, times the
    // scroller's position, truncated.
    int32_t textOffset() const;

    int32_t font() const { return m_font; }
    void setFont(int32_t font);
    int32_t border() const { return m_border; }
    int32_t elementDeltaY() const { return m_elementDeltaY; }
    int32_t scrollerWidth() const { return m_scrollerWidth; }
    int32_t leftMargin() const { return m_leftMargin; }
    int32_t rightMargin() const { return m_rightMargin; }
    int32_t topMargin() const { return m_topMargin; }
    int32_t bottomMargin() const { return m_bottomMargin; }
    Scroller* scroller() const { return m_scroller; }
    SimpleWindow* listbase() const { return m_listbase; }

private:
    bool onScrollerChanged(const EventArgs& args);

    std::u16string m_text;
    Scroller* m_scroller = nullptr;
    SimpleWindow* m_listbase = nullptr;
    int32_t m_border = 1;
    int32_t m_elementDeltaY = 3; // read from the layout; the text is not placed by it
    int32_t m_scrollerWidth = 21;
    int32_t m_font = 0;
    int32_t m_leftMargin = 0;
    int32_t m_rightMargin = 0;
    int32_t m_topMargin = 0;
    int32_t m_bottomMargin = 0;
};

// The text of a text box, slid by the scroller and clipped to the box less border and margins.
class LTextBox : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
