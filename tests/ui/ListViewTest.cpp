// The list view: presses below a header, scrolling that reaches the last row under it, the
// scroller shown only while rows overflow, and what the header, rows and separators draw.
#include "ui/ListView.h"

#include "WidgetFixture.h"
#include "ui/Scroller.h"
#include "ui/SimpleWindow.h"

namespace {

class ListViewTest : public WidgetTest
{
protected:
    // A list view at (10, 10), 150 x 100: columns of 60 and 50, rows "r0"...
    UI::ListView* Make(bool head, int rows)
    {
        auto* view = new UI::ListView(root, system.get());
        view->setRect(10, 10, 150, 100);
        view->listbase()->setElement(system->findElement(u"well"));
        view->setHeadElement(system->findElement(u"head"));
        view->setSeparatorElement(system->findElement(u"separator"));
        view->setHead(head);
        view->addColumn(u"Name", 60);
        view->addColumn(u"Score", 50);
        for (int i = 0; i < rows; ++i) {
            const int32_t row = view->addRow(u"r" + std::u16string(1, char16_t(u'0' + i)));
            EXPECT_EQ(row, i);
        }
        UI::subscribe(view->Changed, this, &ListViewTest::OnChanged);
        return view;
    }
    bool OnChanged(const UI::EventArgs&) { return ++changed, true; }

    int changed = 0;
};

TEST_F(ListViewTest, APressPicksTheRowUnderItBelowTheHeader)
{
    struct Case
    {
        bool head;
        int rows, first, y; // y inside the list view
        int expected;       // -1 with no Changed: nothing picked
    };
    // With the header, rows start at itemHeight + elementDeltaY = 21.
    const Case cases[] = {
        {true, 3, 0, 5, -1}, {true, 3, 0, 20, -1}, {true, 3, 0, 21, 0}, {true, 3, 0, 38, 0},
        {true, 3, 0, 39, 1}, {true, 3, 0, 95, 2},  {true, 9, 2, 21, 2}, {true, 9, 5, 95, 8},
        {false, 3, 0, 5, 0}, {false, 3, 0, 20, 1}, {false, 9, 3, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "head " << c.head << " y " << c.y);
        root->removeAllChildren(true);
        UI::ListView* view = Make(c.head, c.rows);
        view->scroller()->setPositionIndex(c.first, view->maxFirst() + 1);
        ASSERT_EQ(view->scrollOffset(), c.first * 18);
        changed = 0;
        Tap(30, 10 + c.y);
        EXPECT_EQ(view->selected(), c.expected);
        EXPECT_EQ(changed, c.expected >= 0 ? 1 : 0);
        EXPECT_EQ(view->scrollOffset(), c.first * 18) << "a press does not scroll";
    }
}

TEST_F(ListViewTest, TheScrollerShowsOnlyWhileRowsOverflow)
{
    // Below a 21-pixel header, 100 pixels hold four rows of 18.
    UI::ListView* view = Make(true, 4);
    EXPECT_EQ(view->visibleRows(), 4);
    EXPECT_FALSE(view->scroller()->visible());
    EXPECT_EQ(view->listbase()->width(), 150);

    view->addRow(u"r4");
    EXPECT_TRUE(view->scroller()->visible());
    EXPECT_EQ(view->listbase()->width(), 150 - view->scrollerWidth() - 1);
    // The last row scrolls fully into view and draws.
    view->setSelection(4);
    EXPECT_EQ(view->scrollOffset(), 18);
    Draw();
    EXPECT_EQ(Pixel(100, 10 + 21 + 3 * 18 + 9), Colour("selection", "default"));

    view->removeRow(0);
    EXPECT_FALSE(view->scroller()->visible());
    EXPECT_EQ(view->listbase()->width(), 150);
    EXPECT_EQ(view->scrollOffset(), 0);
    EXPECT_EQ(view->selected(), 3);
}

TEST_F(ListViewTest, DrawsHeaderCellsSelectionAndSeparators)
{
    UI::ListView* view = Make(true, 3);
    view->setItemText(1, 1, u"99");
    view->setItemText(1, 2, u"ignored");
    view->setItemText(7, 0, u"ignored");
    EXPECT_EQ(view->itemText(1, 1), u"99");
    EXPECT_EQ(view->itemText(1, 2), u"");
    view->setSelection(1);
    Draw();
    const uint16_t head = Colour("head", "default");
    const uint16_t well = Colour("well", "default");
    const uint16_t bar = Colour("selection", "default");
    const uint16_t separator = Colour("separator", "default");
    EXPECT_EQ(Pixel(50, 12), head);
    EXPECT_EQ(Pixel(50, 10 + 21 + 18 + 9), bar);
    EXPECT_EQ(Pixel(50, 10 + 21 + 9), well);
    EXPECT_EQ(Pixel(69, 60), separator) << "the first column's last pixels";
    EXPECT_EQ(Pixel(119, 60), separator);
    EXPECT_TRUE(HasInk(10, 10, 50, 21, head)) << "title of column 0";
    EXPECT_TRUE(HasInk(70, 10, 48, 21, head)) << "title of column 1";
    EXPECT_TRUE(HasInk(70, 10 + 21 + 18, 48, 18, bar)) << "the score of row 1";
    EXPECT_FALSE(HasInk(70, 10 + 21, 48, 18, well)) << "row 0 has no score";
}

} // namespace
