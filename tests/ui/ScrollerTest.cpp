// The scroll bar: arrow presses and holds, a hold whose release got lost, thumb dragging, and
// the mapping between the thumb's pixels and item indices.
#include "ui/Scroller.h"

#include "WidgetFixture.h"
#include "ui/FixedButton.h"
#include "ui/Thumb.h"

namespace {

class ScrollerTest : public WidgetTest
{
protected:
    // A scroller h pixels high at (100, 20), counting its events.
    UI::Scroller* Make(int32_t h)
    {
        auto* scroller = new UI::Scroller(root, system.get());
        scroller->setRect(100, 20, 21, h);
        UI::subscribe(scroller->Changed, this, &ScrollerTest::OnChanged);
        UI::subscribe(scroller->ScrollUp, this, &ScrollerTest::OnUp);
        UI::subscribe(scroller->ScrollDown, this, &ScrollerTest::OnDown);
        return scroller;
    }
    bool OnChanged(const UI::EventArgs&) { return ++changed, true; }
    bool OnUp(const UI::EventArgs&) { return ++up, true; }
    bool OnDown(const UI::EventArgs&) { return ++down, true; }

    // The screen point at the middle of a part of the scroller.
    static std::pair<int, int> Centre(const UI::Window* part)
    {
        return {part->absoluteX() + part->width() / 2, part->absoluteY() + part->height() / 2};
    }

    int changed = 0, up = 0, down = 0;
};

TEST_F(ScrollerTest, HoldingAnArrowMovesTwoPixelsThenOnePerUpdate)
{
    struct Case
    {
        int32_t height;
        bool downArrow;
        int frames;
    };
    for (const Case c : {Case{100, true, 10}, Case{40, true, 30}, Case{100, false, 10}}) {
        SCOPED_TRACE(c.height);
        root->removeAllChildren(true);
        UI::Scroller* scroller = Make(c.height);
        const int32_t range = scroller->range();
        UI::Thumb* thumb = scroller->thumb();
        // The up arrow starts from the bottom of the range.
        if (!c.downArrow)
            scroller->setPosition(1.0f);
        const int32_t start = thumb->y();
        changed = up = down = 0;

        UI::FixedButton* arrow = c.downArrow ? scroller->downButton() : scroller->upButton();
        const auto [x, y] = Centre(arrow);
        system->stylusDown(x, y);
        Update(c.frames);
        system->stylusUp(x, y);
        Update(3); // released: no more steps

        const int32_t travel = std::min(2 + c.frames, range);
        EXPECT_EQ(thumb->y(), c.downArrow ? start + travel : start - travel);
        EXPECT_EQ(changed, 1 + c.frames) << "every step fires Changed, even against the end";
        EXPECT_EQ(c.downArrow ? down : up, 1 + c.frames);
        EXPECT_EQ(scroller->repeatState(), UI::Scroller::Repeat::None);
    }
}

TEST_F(ScrollerTest, AHoldEndsWhenItsReleaseIsLost)
{
    // Each way the arrow can miss its release while held.
    struct Case
    {
        const char* name;
        void (*lose)(UI::FixedButton* arrow, UI::UISystem& ui);
    };
    const Case cases[] = {
        {"disabled", [](UI::FixedButton* a, UI::UISystem&) { a->setEnabled(false); }},
        {"hidden", [](UI::FixedButton* a, UI::UISystem&) { a->setVisible(false); }},
        {"capture taken", [](UI::FixedButton*, UI::UISystem& ui) { ui.setCapture(nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        root->removeAllChildren(true);
        UI::Scroller* scroller = Make(200);
        UI::FixedButton* arrow = scroller->downButton();
        const auto [x, y] = Centre(arrow);
        system->stylusDown(x, y);
        c.lose(arrow, *system);
        system->stylusUp(x, y);
        arrow->setEnabled(true);
        arrow->setVisible(true);
        const int32_t held = scroller->thumb()->y();
        Update(5);
        EXPECT_EQ(scroller->thumb()->y(), held);
        EXPECT_EQ(scroller->repeatState(), UI::Scroller::Repeat::None);
    }
}

TEST_F(ScrollerTest, TheThumbFollowsADragWithinItsRangeUnderTheCapture)
{
    UI::Scroller* scroller = Make(100);
    UI::Thumb* thumb = scroller->thumb();
    const int32_t top = thumb->y();
    const auto [x, y] = Centre(thumb);

    system->stylusDown(x, y);
    EXPECT_EQ(system->capture(), thumb);
    system->stylusMove(x + 30, y + 20); // sideways moves are ignored
    EXPECT_EQ(thumb->y(), top + 20);
    EXPECT_EQ(thumb->x(), (21 - scroller->buttonWidth()) / 2);
    system->stylusMove(x, y + 500);
    EXPECT_EQ(thumb->y(), thumb->maxY());
    EXPECT_FLOAT_EQ(scroller->position(), 1.0f);
    system->stylusUp(x, y + 500);
    EXPECT_EQ(system->capture(), nullptr);
    EXPECT_FALSE(thumb->dragging());

    // Moves passing over the thumb afterwards leave it where it is.
    const auto [tx, ty] = Centre(thumb);
    system->stylusMove(tx, ty);
    system->stylusMove(tx, ty - 30);
    EXPECT_EQ(thumb->y(), thumb->maxY());
    EXPECT_GE(changed, 2);
}

TEST_F(ScrollerTest, IndexPlacementReadsBackForEveryCount)
{
    // Heights giving ranges of 62, 1, 2, 7 and 200 pixels.
    for (const int32_t height : {100, 39, 40, 45, 238}) {
        root->removeAllChildren(true);
        UI::Scroller* scroller = Make(height);
        const int32_t range = scroller->range();
        SCOPED_TRACE(range);
        const int32_t minY = scroller->thumb()->minY();
        for (int32_t n = 1; n <= range + 1; ++n) {
            int32_t previous = -1;
            for (int32_t i = 0; i < n; ++i) {
                changed = 0;
                scroller->setPositionIndex(i, n);
                ASSERT_EQ(scroller->positionIndex(n), i) << "n " << n;
                ASSERT_LE(changed, 1);
                const int32_t offset = scroller->thumb()->y() - minY;
                ASSERT_GT(offset, previous) << "n " << n << " i " << i;
                previous = offset;
            }
            EXPECT_EQ(previous, n > 1 ? range : 0) << "the last item sits at the bottom";
        }
    }
}

TEST_F(ScrollerTest, IndexPlacementClampsAndReportsItsDirection)
{
    UI::Scroller* scroller = Make(100);
    const int32_t minY = scroller->thumb()->minY();
    scroller->setPositionIndex(9, 10);
    EXPECT_EQ(scroller->thumb()->y(), scroller->thumb()->maxY());

    struct Case
    {
        int32_t index, count;
        int up, down;
    };
    // From the bottom: a short list and "no selection" both go to the top.
    for (const Case c :
         {Case{-1, 10, 1, 0}, Case{20, 10, 0, 1}, Case{5, 1, 1, 0}, Case{3, 0, 0, 0}}) {
        SCOPED_TRACE(c.index);
        up = down = changed = 0;
        scroller->setPositionIndex(c.index, c.count);
        EXPECT_EQ(scroller->thumb()->y() - minY, c.down ? scroller->range() : 0);
        EXPECT_EQ(up, c.up);
        EXPECT_EQ(down, c.down);
        EXPECT_EQ(changed, 1);
    }
}

TEST_F(ScrollerTest, AScrollerWithoutThumbTravelReadsZero)
{
    // 38 pixels leave the thumb no room; shorter ones less than none.
    for (const int32_t height : {38, 20, 0, -50}) {
        SCOPED_TRACE(height);
        root->removeAllChildren(true);
        UI::Scroller* scroller = Make(height);
        EXPECT_EQ(scroller->range(), 0);
        for (const float fraction : {0.0f, 0.5f, 1.0f}) {
            scroller->setPosition(fraction);
            EXPECT_EQ(scroller->thumb()->y(), scroller->thumbDeltaYU());
            EXPECT_EQ(scroller->position(), 0.0f);
        }
        scroller->setPositionIndex(4, 5);
        EXPECT_EQ(scroller->thumb()->y(), scroller->thumbDeltaYU());
        EXPECT_EQ(scroller->positionIndex(5), 0);
        system->stylusDown(110, 20 + height - 5);
        Update(3);
        system->stylusUp(110, 20 + height - 5);
        EXPECT_EQ(scroller->positionIndex(5), 0);
    }
}

} // namespace
