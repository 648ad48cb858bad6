// The combo box: opening and closing its list, picking an item, and its layout.
#include "ui/ComboBox.h"

#include "EventLog.h"
#include "WidgetFixture.h"
#include "ui/Edit.h"
#include "ui/FixedButton.h"
#include "ui/ListBox.h"

namespace {

// Counts the combo box's Changed events.
struct Counter : UI::SubscriberInterface
{
    explicit Counter(int* count) : count(count) {}
    bool invoke(const UI::EventArgs&) override { return ++*count, false; }
    int* count;
};

class ComboBoxTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        combo = dynamic_cast<UI::ComboBox*>(
            Load(R"(<Window className="ComboBox" x="20" y="20" width="120" height="100"/>)"));
        ASSERT_NE(combo, nullptr);
        combo->Changed.subscribe(std::make_unique<Counter>(&changes));
    }

    void AddModes()
    {
        for (const char16_t* mode : {u"Arcade", u"Classic", u"Survival"})
            combo->addItem(mode);
    }

    UI::ComboBox* combo = nullptr;
    int changes = 0;
};

TEST_F(ComboBoxTest, TheButtonOpensTheListBelowTheField)
{
    Tap(130, 30); // the button: 20 wide at the right edge
    EXPECT_FALSE(combo->listOpen()) << "an empty list stays closed";
    EXPECT_EQ(combo->height(), 25);

    AddModes();
    Tap(130, 30);
    ASSERT_TRUE(combo->listOpen());
    // Three rows of 18 and a line, below the button and its 2-pixel gap.
    EXPECT_EQ(combo->list()->y(), 27);
    EXPECT_EQ(combo->list()->height(), 3 * 18 + 1);
    EXPECT_EQ(combo->height(), 2 + 25 + 55);
    EXPECT_EQ(combo->edit()->width(), 120 - 2 - 20);

    // A press on the second row picks it: the field shows it, the list closes, one Changed.
    system->stylusDown(40, 20 + 27 + 18 + 5);
    system->stylusUp(40, 20 + 27 + 18 + 5);
    EXPECT_EQ(combo->selected(), 1);
    EXPECT_EQ(combo->text(), u"Classic");
    EXPECT_FALSE(combo->listOpen());
    EXPECT_EQ(combo->height(), 25);
    EXPECT_EQ(changes, 1);
}

TEST_F(ComboBoxTest, ShortSizesNeverGiveTheListANegativeHeight)
{
    AddModes();
    for (int32_t height : {100, 40, 27, 10, 0}) {
        SCOPED_TRACE(height);
        combo->setSize(120, height);
        combo->setListOpen(true);
        EXPECT_GE(combo->list()->height(), 0);
        EXPECT_EQ(combo->list()->height(), std::clamp(height - 27, 0, 55));
        combo->setListOpen(false);
        combo->setListOpen(true);
        EXPECT_EQ(combo->list()->height(), std::clamp(height - 27, 0, 55))
            << "laid out again at the size asked for, not the collapsed one";
        combo->setListOpen(false);
    }
}

TEST_F(ComboBoxTest, SelectFiresOnceAndAnEmptyListEmptiesTheField)
{
    combo->select(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->selected(), -1);
    EXPECT_EQ(combo->text(), u"");

    AddModes();
    combo->select(7);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(combo->selected(), 2);
    EXPECT_EQ(combo->text(), u"Survival");
}

TEST_F(ComboBoxTest, TheFieldTogglesOnAReleaseInsideItAndFocusLossCloses)
{
    AddModes();
    system->stylusDown(30, 30);
    EXPECT_EQ(system->focused(), combo) << "the parts pass the focus on";
    system->stylusUp(35, 32);
    EXPECT_TRUE(combo->listOpen());
    system->stylusDown(30, 30);
    system->stylusUp(200, 200); // released off the field
    EXPECT_TRUE(combo->listOpen());
    EXPECT_EQ(system->capture(), nullptr);

    auto* other = new UI::FixedButton(root, system.get());
    other->setRect(0, 200, 50, 20);
    Tap(10, 210);
    EXPECT_FALSE(combo->listOpen());
}

} // namespace
