// The list box: selection clamping, presses, arrow keys, removals around the selection,
// scrolling by whole rows, layouts with unusable numbers, and what its rows draw.
#include "ui/ListBox.h"

#include "WidgetFixture.h"
#include "ui/Scroller.h"
#include "ui/SimpleWindow.h"
#include "ui/Thumb.h"

#include <climits>

namespace {

class ListBoxTest : public WidgetTest
{
protected:
    // A list box at (10, 10), w x h, with count items "item 0"...
    UI::ListBox* Make(int count, int32_t w = 120, int32_t h = 100)
    {
        auto* list = new UI::ListBox(root, system.get());
        list->setRect(10, 10, w, h);
        list->listbase()->setElement(system->findElement(u"well"));
        list->scroller()->setElement(system->findElement(u"track"));
        for (int i = 0; i < count; ++i)
            list->addItem(u"item " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
        UI::subscribe(list->Changed, this, &ListBoxTest::OnChanged);
        return list;
    }
    bool OnChanged(const UI::EventArgs&) { return ++changed, true; }

    int changed = 0;
};

TEST_F(ListBoxTest, SelectionIsClampedAndAlwaysReported)
{
    struct Case
    {
        int count, index, expected;
    };
    for (const Case c : {Case{3, -5, 0}, Case{3, 1, 1}, Case{3, 3, 2}, Case{3, 100, 2},
                         Case{0, 0, -1}, Case{0, -1, -1}, Case{0, 4, -1}}) {
        SCOPED_TRACE(testing::Message() << c.count << " items, index " << c.index);
        root->removeAllChildren(true);
        UI::ListBox* list = Make(c.count);
        changed = 0;
        list->setSelection(c.index);
        EXPECT_EQ(list->selected(), c.expected);
        list->setSelection(c.index);
        EXPECT_EQ(changed, 2) << "fires even when nothing changed";
    }
}

TEST_F(ListBoxTest, TenRowsInFiveScrollOverSixPositions)
{
    UI::ListBox* list = Make(10);
    EXPECT_EQ(list->visibleRows(), 5);
    EXPECT_EQ(list->maxFirst(), 5);
    EXPECT_TRUE(list->scroller()->visible());
    EXPECT_EQ(list->scroller()->x(), 120 - list->scrollerWidth());
    EXPECT_EQ(list->listbase()->width(), 120 - list->scrollerWidth() - 1);
    for (int32_t first = 0; first <= 5; ++first) {
        list->scroller()->setPositionIndex(first, 6);
        EXPECT_EQ(list->scrollOffset(), first * 18);
    }
    // Selecting a row out of view scrolls it to the nearest edge of the view.
    list->setSelection(0);
    EXPECT_EQ(list->scrollOffset(), 0);
    list->setSelection(7);
    EXPECT_EQ(list->scrollOffset(), (7 - 4) * 18);
    list->setSelection(5);
    EXPECT_EQ(list->scrollOffset(), 3 * 18) << "already in view";
    list->setSelection(2);
    EXPECT_EQ(list->scrollOffset(), 2 * 18);
}

TEST_F(ListBoxTest, APressSelectsTheRowUnderItOrTheLastWithoutScrolling)
{
    struct Case
    {
        int count, first, y, expected; // y inside the list box
    };
    for (const Case c : {Case{3, 0, 5, 0}, Case{3, 0, 40, 2}, Case{3, 0, 95, 2}, Case{10, 2, 1, 2},
                         Case{10, 5, 95, 9}, Case{0, 0, 30, -1}}) {
        SCOPED_TRACE(testing::Message() << c.count << " items, y " << c.y);
        root->removeAllChildren(true);
        UI::ListBox* list = Make(c.count);
        list->scroller()->setPositionIndex(c.first, list->maxFirst() + 1);
        const int32_t offset = list->scrollOffset();
        changed = 0;
        Tap(30, 10 + c.y);
        EXPECT_EQ(list->selected(), c.expected);
        EXPECT_EQ(changed, 1);
        EXPECT_EQ(list->scrollOffset(), offset);
    }
}

TEST_F(ListBoxTest, ArrowKeysStepTheSelectionWithinTheList)
{
    struct Case
    {
        int selected;
        uint32_t key;
        int expected;
    };
    const Case cases[] = {{0, 38, 0},   {9, 40, 9},   {3, 38, 2}, {3, 40, 4},
                          {-1, 40, -1}, {-1, 38, -1}, {3, 37, 3}};
    UI::ListBox* list = Make(10);
    // The key reaches the list box, its listbase or its scroller, whichever has the focus.
    UI::Window* targets[] = {list, list->listbase(), list->scroller()};
    for (UI::Window* target : targets) {
        for (const Case c : cases) {
            SCOPED_TRACE(testing::Message() << c.selected << " key " << c.key);
            list->setSelection(c.selected);
            if (c.selected < 0)
                list->removeItem(list->selected()); // the only way back to no selection
            changed = 0;
            system->setFocus(target);
            system->keyDown(c.key);
            EXPECT_EQ(list->selected(), c.expected);
            EXPECT_EQ(changed, c.selected >= 0 && (c.key == 38 || c.key == 40) ? 1 : 0);
            if (c.selected < 0)
                list->addItem(u"again");
            if (list->selected() >= 0) {
                EXPECT_GE(list->selected() * 18, list->scrollOffset()) << "kept in view";
            }
        }
    }
    // A disabled list box ignores them.
    list->setSelection(3);
    list->setEnabled(false);
    system->setFocus(list);
    system->keyDown(40);
    EXPECT_EQ(list->selected(), 3);
}

TEST_F(ListBoxTest, RemovalsKeepTheSelectedItemOrClearIt)
{
    struct Case
    {
        int removed, selected, count;
    };
    // Five items, item 2 selected.
    for (const Case c :
         {Case{0, 1, 4}, Case{2, -1, 4}, Case{4, 2, 4}, Case{5, 2, 5}, Case{-1, 2, 5}}) {
        SCOPED_TRACE(c.removed);
        root->removeAllChildren(true);
        UI::ListBox* list = Make(5);
        list->setSelection(2);
        changed = 0;
        list->removeItem(c.removed);
        EXPECT_EQ(list->selected(), c.selected);
        EXPECT_EQ(list->itemCount(), c.count);
        EXPECT_EQ(changed, 0);
        if (c.selected >= 0) {
            EXPECT_EQ(list->item(c.selected), u"item 2");
        }
    }
}

TEST_F(ListBoxTest, RemovingEverythingResetsTheView)
{
    UI::ListBox* list = Make(10);
    list->setSelection(9);
    list->removeItem(0);
    ASSERT_GT(list->scrollOffset(), 0);
    list->removeAllItems();
    EXPECT_EQ(list->itemCount(), 0);
    EXPECT_EQ(list->selected(), -1);
    EXPECT_EQ(list->scrollOffset(), 0);
    EXPECT_EQ(list->scroller()->thumb()->y(), list->scroller()->thumb()->minY());
}

TEST_F(ListBoxTest, LayoutKeysReachTheListAndItsScrollerButNotUnusableRowHeights)
{
    std::unique_ptr<UI::Window> window(Load(
        R"(<Window className="ListBox" listboxItemHeight="0" listboxBorder="7"
               scrollerThumbDeltaYU="20" listboxSelectionElement="panel"
               listboxListbaseElement="nonexistent"/>)"));
    auto* list = dynamic_cast<UI::ListBox*>(window.get());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->itemHeight(), UI::ListBox::DefaultItemHeight);
    EXPECT_EQ(list->border(), 7);
    EXPECT_EQ(list->scroller()->thumbDeltaYU(), 20);
    EXPECT_EQ(list->selectionElement(), system->findElement(u"panel"));
    EXPECT_EQ(list->listbase()->element(), nullptr);
}

TEST_F(ListBoxTest, OutlandishLayoutNumbersDoNotBreakIt)
{
    UI::ListBox* list = Make(0);
    list->setItemHeight(-4);
    EXPECT_EQ(list->itemHeight(), UI::ListBox::DefaultItemHeight);
    struct Case
    {
        int32_t w, h;
    };
    for (const Case c :
         {Case{INT_MAX, INT_MAX}, Case{INT_MIN, 50}, Case{30, 38}, Case{0, 0}, Case{120, -100}}) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        list->setSize(c.w, c.h);
        list->addItem(u"x");
        list->setSelection(INT_MAX);
        EXPECT_EQ(list->selected(), list->itemCount() - 1);
        Tap(12, 12);
        system->setFocus(list);
        system->keyDown(40);
        Update(2);
        Draw();
        EXPECT_GE(list->selected(), 0);
        EXPECT_LT(list->selected(), list->itemCount());
        EXPECT_GE(list->scrollOffset(), 0);
    }
}

TEST_F(ListBoxTest, RowsDrawOverTheListbaseWithTheSelectionBar)
{
    UI::ListBox* list = Make(3, 120, 54);
    list->setSelection(1);
    Draw();
    const uint16_t well = Colour("well", "default");
    const uint16_t bar = Colour("selection", "default");
    // Row 1 spans y 28 to 45 on screen; the bar is inset by the border.
    EXPECT_EQ(Pixel(100, 37), bar);
    EXPECT_EQ(Pixel(100, 28), well) << "inside the border";
    EXPECT_EQ(Pixel(100, 20), well);
    EXPECT_TRUE(HasInk(10, 10, 60, 18, well)) << "row 0 text";
    EXPECT_TRUE(HasInk(10, 28, 60, 18, bar)) << "row 1 text over the bar";
    // Row 2 ends exactly on the bottom edge, so it is left out.
    EXPECT_FALSE(HasInk(10, 46, 60, 18, well));
    list->setSelection(2);
    Draw();
    EXPECT_EQ(Pixel(100, 55), well);
}

} // namespace
