// The text field: which key codes type what, read-only and disabled fields, the caret's blink and
// when it is drawn, password stars, and the length limit from a layout.
#include "ui/Edit.h"

#include "EventLog.h"
#include "WidgetFixture.h"
#include "ui/UIXMLParams.h"

namespace {

class EditTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        edit = new UI::Edit(root, system.get());
        edit->setElement(system->findElement(u"edit"));
        edit->setRect(20, 20, 100, 24);
        system->setFocus(edit);
        log.watch(edit, "e");
    }

    // Whether anything is written in the field: for an empty one, the caret.
    bool Inked()
    {
        Draw();
        return HasInk(20, 20, 100, 24, Colour("edit", "default"));
    }

    UI::Edit* edit = nullptr;
    EventLog log;
};

TEST_F(EditTest, KeysTypeLowerCaseLettersDigitsAndAFewSigns)
{
    struct Case
    {
        std::u16string before;
        uint32_t key;
        std::u16string after;
        int32_t maxLength = 0;
    };
    // Ignored: the neighbours of the letters, digits, minus and full stop; enter, arrows, 'a'.
    const Case cases[] = {
        {u"", 'A', u"a"},           {u"x", 'Z', u"xz"},         {u"", '0', u"0"},
        {u"", '9', u"9"},           {u"a", 32, u"a "},          {u"a", 189, u"a-"},
        {u"a", 190, u"a."},         {u"ab", 8, u"a"},           {u"", 8, u""},
        {u"a", 64, u"a"},           {u"a", 91, u"a"},           {u"a", 47, u"a"},
        {u"a", 58, u"a"},           {u"a", 13, u"a"},           {u"a", 38, u"a"},
        {u"a", 97, u"a"},           {u"a", 188, u"a"},          {u"a", 191, u"a"},
        {u"abc", 'D', u"abc", 3},   {u"ab", 'C', u"abc", 3},    {u"abc", 8, u"ab", 3},
        {u"abcd", 'E', u"abcd", 3}, {u"abc", 'D', u"abcd", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " max " << c.maxLength);
        edit->setText(c.before);
        edit->setMaxLength(c.maxLength);
        log.lines.clear();
        system->keyDown(c.key);
        EXPECT_EQ(edit->text(), c.after);
        EXPECT_EQ(log.lines, std::vector<std::string>{"e:KeyDown"});
    }
}

TEST_F(EditTest, ReadOnlyStillFiresKeyDownButADisabledFieldDoesNothing)
{
    edit->setText(u"ab");
    edit->setReadOnly(true);
    system->keyDown('A');
    system->keyDown(8);
    EXPECT_EQ(edit->text(), u"ab");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"e:KeyDown", "e:KeyDown"}));

    edit->setReadOnly(false);
    root->setEnabled(false);
    system->keyDown('A');
    EXPECT_EQ(edit->text(), u"ab");
    EXPECT_EQ(log.lines.size(), 2u);
}

TEST_F(EditTest, CaretShowsForFourUpdatesOfEveryEleven)
{
    for (int update = 1; update <= 22; ++update) {
        Update();
        EXPECT_EQ(Inked(), (update - 1) % 11 < 4) << update;
    }
}

TEST_F(EditTest, CaretIsDrawnOnlyWhileTheFocusIsOnTheActivationWindow)
{
    auto* panel = new UI::Window(root, system.get());
    panel->setRect(0, 150, 100, 50);
    auto* inner = new UI::Edit(panel, system.get());
    inner->setCanActivate(true);
    // Every ancestor passes the focus on: no activation window, which is not an empty focus.
    UI::Window loose(nullptr, system.get());
    loose.setCanActivate(true);
    auto* orphan = new UI::Edit(&loose, system.get());
    orphan->setCanActivate(true);
    Update(); // the visible phase
    orphan->onUpdate(UI::EventArgs());

    const std::tuple<UI::Window*, UI::Edit*, bool> cases[] = {
        {edit, edit, true},   {panel, edit, false}, {nullptr, edit, false},
        {panel, inner, true}, {edit, inner, false}, {nullptr, orphan, false},
    };
    for (const auto& [focus, target, drawn] : cases) {
        system->setFocus(focus);
        EXPECT_EQ(target->showsCaret(), drawn);
    }
    system->setFocus(edit);
    EXPECT_TRUE(Inked());
    edit->setReadOnly(true);
    EXPECT_FALSE(Inked());
}

TEST_F(EditTest, PasswordDrawsOneStarPerCharacterInsideTheBorder)
{
    auto* plain = new UI::Edit(root, system.get());
    plain->setElement(system->findElement(u"edit"));
    plain->setRect(20, 60, 100, 24);
    plain->setText(u"***");
    edit->setText(u"abc");
    edit->setPassword(true);
    system->setFocus(nullptr);
    EXPECT_TRUE(Inked());
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(Pixel(20 + x, 20 + y), Pixel(20 + x, 60 + y)) << x << "," << y;
    }
    edit->setBorder(12); // the text area is the window less the border: nothing left
    EXPECT_FALSE(Inked());
}

TEST_F(EditTest, LayoutSetsTheTextAndItsLimit)
{
    UI::UIXMLParams params;
    params.setAttribute("text", "ab");
    params.setAttribute("maxLength", "2");
    UI::Edit loaded(nullptr, system.get(), &params);
    loaded.onKeyDown(UI::KeyboardEventArgs(&loaded, 'C'));
    EXPECT_EQ(loaded.text(), u"ab");
}

} // namespace
