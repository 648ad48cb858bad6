// Scroller: the vertical scroll bar the list widgets share. A track (the scroller's own element)
// with an arrow button at each end and a draggable thumb between them; the thumb's place in its
// range is the scroll position. Holding an arrow keeps scrolling one pixel per update.
#pragma once

#include "ui/Window.h"

namespace UI {

class FixedButton;
class Thumb;

class Scroller : public Window
{
public:
    static constexpr int32_t DefaultWidth = 21;
    static constexpr int32_t DefaultHeight = 100;
    // Pixels an arrow press moves the thumb at once, then every update while it is held.
    static constexpr int32_t PressStep = 2;
    static constexpr int32_t RepeatStep = 1;

    enum class Repeat : int32_t
    {
        Up = 0,
        Down = 1,
        None = 2,
    };

    Scroller(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Places the arrows at the ends and the thumb at the top of its range.
    void setSize(int32_t w, int32_t h) override;
    // Updates the children first, then scrolls on while an arrow is held.
    void onUpdate(const EventArgs& args) override;
    // The window keys, then the scroller's own (loadScroller).
    void load(UIParams* params) override;
    void createLook() override;

    virtual void fireScrollUp();
    virtual void fireScrollDown();
    virtual void fireChanged();
    // "scrollerThumbDeltaYU" ... "scrollerButtonDownElement", then lays the scroller out again.
    // A list box calls it with its own parameters.
    virtual void loadScroller(UIParams* params);

    using Window::setPosition;
    // Places the thumb at that fraction (0 to 1) of its range, to the nearest pixel.
    void setPosition(float fraction);
    // Where the thumb is in its range, 0 to 1; 0 when the range is empty.
    float position() const;
    // The thumb's place as one of count positions: 0 to count - 1.
    int32_t positionIndex(int32_t count) const;
    // Places the thumb for position index of count so that positionIndex(count) reads index
    // back (for every count up to range() + 1), then fires ScrollUp or ScrollDown by the
    // direction it moved. index is clamped into 0 to count - 1.
    void setPositionIndex(int32_t index, int32_t count);
    // For a list scrolled by whole rows, with first the first visible row: a row above the view
    // becomes the first visible row, one at or below first + visibleRows the last, over
    // maxFirst + 1 positions. A row already in view changes nothing.
    void scrollToRow(int32_t row, int32_t first, int32_t visibleRows, int32_t maxFirst);
    // The pixels the thumb can travel: maxY - minY, never negative.
    int32_t range() const;

    Thumb* thumb() const { return m_thumb; }
    FixedButton* upButton() const { return m_upButton; }
    FixedButton* downButton() const { return m_downButton; }
    Repeat repeatState() const { return m_repeatState; }
    int32_t thumbDeltaYU() const { return m_thumbDeltaYU; }
    int32_t thumbDeltaYD() const { return m_thumbDeltaYD; }
    int32_t buttonDeltaYU() const { return m_buttonDeltaYU; }
    int32_t buttonDeltaYD() const { return m_buttonDeltaYD; }
    int32_t thumbWidth() const { return m_thumbWidth; }
    int32_t thumbHeight() const { return m_thumbHeight; }
    int32_t buttonWidth() const { return m_buttonWidth; }
    int32_t buttonHeight() const { return m_buttonHeight; }

    Event ScrollUp;
    Event ScrollDown;
    Event Changed;

private:
    bool onThumbMove(const EventArgs& args);
    bool onUpPressed(const EventArgs& args);
    bool onDownPressed(const EventArgs& args);
    bool onArrowReleased(const EventArgs& args);
    // Moves the thumb by dy, then fires ScrollUp (dy < 0) or ScrollDown; Changed comes from the
    // thumb's move.
    void step(int32_t dy);
    // The arrow whose hold is being repeated, or null.
    FixedButton* heldArrow() const;

    Thumb* m_thumb = nullptr;
    FixedButton* m_upButton = nullptr;
    FixedButton* m_downButton = nullptr;
    Repeat m_repeatState = Repeat::None;
    int32_t m_thumbDeltaYU = 14;
    int32_t m_thumbDeltaYD = 14;
    int32_t m_buttonDeltaYU = 3;
    int32_t m_buttonDeltaYD = 3;
    int32_t m_thumbWidth = 13;
    int32_t m_thumbHeight = 10;
    int32_t m_buttonWidth = 15;
    int32_t m_buttonHeight = 10;
};

} // namespace UI
