// The arrow pair and the stepped value field: which arrow fires what, where the parts sit,
// stepping through the values, and selecting and removing values.
#include "ui/SpinEdit.h"

#include "WidgetFixture.h"
#include "ui/Edit.h"
#include "ui/Spin.h"

namespace {

// Counts an event's firings and keeps the window the last one named.
struct Counter
{
    bool On(const UI::EventArgs& args)
    {
        ++count;
        window = static_cast<const UI::WindowEventArgs&>(args).window;
        return true;
    }
    int count = 0;
    UI::Window* window = nullptr;
};

using SpinTest = WidgetTest;

TEST_F(SpinTest, ArrowsFireUpAndDownAndFollowTheSize)
{
    auto* spin = new UI::Spin(root, system.get());
    spin->moveTo(50, 50);
    Counter up, down;
    UI::subscribe(spin->Up, &up, &Counter::On);
    UI::subscribe(spin->Down, &down, &Counter::On);
    // 21 by 24: buttons 15 by 10 at (3, 2) and (3, 12); 41 by 50: at (13, 2) and (13, 38).
    // Taps inside each button, then beside them.
    for (const auto& [w, h, x, downY] : {std::tuple{21, 24, 54, 63}, {41, 50, 64, 89}}) {
        spin->setSize(w, h);
        for (const auto& [tx, ty] : {std::pair{x, 53}, {x, downY}, {x, 51}, {51, downY}})
            Tap(tx, ty);
    }
    EXPECT_EQ(up.count, 2);
    EXPECT_EQ(down.count, 2);
    EXPECT_EQ(up.window, spin);

    spin->setEnabled(false);
    spin->fireUp();
    EXPECT_EQ(up.count, 2);
}

class SpinEditTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        spinEdit = new UI::SpinEdit(root, system.get());
        spinEdit->setRect(20, 20, 100, 25);
        UI::subscribe(spinEdit->Changed, &changed, &Counter::On);
    }

    UI::SpinEdit* spinEdit = nullptr;
    Counter changed;
};

TEST_F(SpinEditTest, StepsStopAtTheEndsAndFireChanged)
{
    EXPECT_EQ(spinEdit->spin()->x(), 100 - 21);
    EXPECT_EQ(spinEdit->edit()->width(), 100 - 21 - 1);
    UI::Spin& spin = *spinEdit->spin();
    spin.fireUp(); // empty: nothing to step to
    spin.fireDown();
    EXPECT_EQ(spinEdit->selected(), -1);

    for (const char16_t* value : {u"a", u"b", u"c"})
        spinEdit->addValue(value);
    EXPECT_EQ(spinEdit->edit()->text(), u"c");
    spin.fireUp();
    EXPECT_EQ(spinEdit->selected(), 2);
    EXPECT_EQ(changed.count, 0) << "adding and a blocked step are no change";
    spin.fireDown();
    EXPECT_EQ(spinEdit->edit()->text(), u"b");
    EXPECT_EQ(changed.count, 1);
    EXPECT_EQ(changed.window, spinEdit);
    spin.fireDown();
    spin.fireDown();
    EXPECT_EQ(spinEdit->selected(), 0);
    EXPECT_EQ(changed.count, 2);

    // The real arrow button, and the arrow keys on the focused field, which types nothing.
    Tap(20 + 79 + 10, 20 + 2 + 5);
    system->setFocus(spinEdit->edit());
    system->keyDown(38);
    EXPECT_EQ(spinEdit->edit()->text(), u"c");
    system->keyDown(40);
    system->keyDown('A');
    EXPECT_EQ(spinEdit->edit()->text(), u"b");
    EXPECT_EQ(changed.count, 5);
}

TEST_F(SpinEditTest, SelectAndRemoveKeepTheSelectionOnItsValue)
{
    struct Case
    {
        int select, remove, selected;
        std::u16string shown;
        size_t count;
    };
    const Case cases[] = {
        {2, 0, 1, u"c", 3},  {2, 2, -1, u"", 3},  {2, 3, 2, u"c", 3},  {2, 4, 2, u"c", 4},
        {2, -1, 2, u"c", 4}, {-1, 0, -1, u"", 3}, {7, -1, -1, u"", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.select << " " << c.remove);
        while (!spinEdit->values().empty())
            spinEdit->removeValue(0);
        for (const char16_t* value : {u"a", u"b", u"c", u"d"})
            spinEdit->addValue(value);
        spinEdit->select(c.select);
        spinEdit->removeValue(c.remove);
        EXPECT_EQ(spinEdit->selected(), c.selected);
        EXPECT_EQ(spinEdit->edit()->text(), c.shown);
        EXPECT_EQ(spinEdit->values().size(), c.count);
    }
    EXPECT_EQ(changed.count, 0);
}

} // namespace
