// Push buttons: what counts as a click, which art each moment shows, and the caption.
#include "ui/FixedButton.h"

#include "EventLog.h"
#include "WidgetFixture.h"

namespace {

class FixedButtonTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        button = new UI::FixedButton(root, system.get());
        button->setElement(system->findElement(u"button"));
        button->setRect(20, 20, 100, 30);
        log.watch(button, "b");
    }

    // The colour at the button's centre after a frame: update, then draw.
    uint16_t Frame()
    {
        Update();
        Draw();
        return Pixel(70, 35);
    }

    UI::FixedButton* button = nullptr;
    EventLog log;
};

TEST_F(FixedButtonTest, ClickNeedsTheReleaseOnTheButtonWithTheCapture)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<int, int>> moves; // stylus path between down at (30, 30) and up
        int upX, upY;
        bool clicks;
    };
    const Case cases[] = {
        {"tap", {}, 30, 30, true},
        {"slide off", {{200, 200}}, 200, 200, false},
        {"off and back", {{200, 200}, {40, 40}}, 40, 40, true},
        {"edge is inside", {}, 120, 50, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.lines.clear();
        system->stylusDown(30, 30);
        EXPECT_TRUE(button->pressed());
        EXPECT_EQ(system->capture(), button);
        for (auto [x, y] : c.moves) {
            system->stylusMove(x, y);
            EXPECT_EQ(button->pressed(), x < 120 && y < 50) << "leave clears, enter re-presses";
        }
        system->stylusUp(c.upX, c.upY);
        EXPECT_FALSE(button->pressed());
        const bool clicked = std::count(log.lines.begin(), log.lines.end(), "b:MouseUp") == 1;
        EXPECT_EQ(clicked, c.clicks);
        EXPECT_EQ(system->capture(), nullptr);
    }
}

TEST_F(FixedButtonTest, IgnoresPressesWhenDisabledOrOutsideTheRoot)
{
    button->setEnabled(false);
    Tap(30, 30);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(Frame(), Colour("button", "disabled"));

    // A button of another tree is never pressed, even when called directly.
    UI::Window other(nullptr, system.get());
    auto* stray = new UI::FixedButton(&other, system.get());
    stray->onMouseDown(UI::MouseEventArgs(stray, 1, 1, true));
    EXPECT_FALSE(stray->pressed());
    EXPECT_EQ(system->capture(), nullptr);
}

TEST_F(FixedButtonTest, ATapShowsThePressedArtInTheNextFrameOnly)
{
    EXPECT_EQ(Frame(), Colour("button", "default"));
    Tap(30, 30);
    EXPECT_EQ(Frame(), Colour("button", "pressed"));
    EXPECT_EQ(Frame(), Colour("button", "default"));
    EXPECT_EQ(button->holdCounter(), UI::FixedButton::HoldTicks);

    // Held across frames it stays pressed; released, it lets go at once after two updates.
    system->stylusDown(30, 30);
    EXPECT_EQ(Frame(), Colour("button", "pressed"));
    EXPECT_EQ(Frame(), Colour("button", "pressed"));
    system->stylusUp(30, 30);
    EXPECT_EQ(Frame(), Colour("button", "default"));
}

TEST_F(FixedButtonTest, AReleaseLostWhileDisabledDoesNotLeaveItPressed)
{
    system->stylusDown(30, 30);
    button->setEnabled(false);
    system->stylusUp(30, 30);
    EXPECT_FALSE(button->pressed());
    EXPECT_TRUE(std::find(log.lines.begin(), log.lines.end(), "b:MouseUp") == log.lines.end());
}

TEST_F(FixedButtonTest, CaptionFollowsTheAnchorFlags)
{
    button->setCaption(u"Go");
    struct Case
    {
        int32_t flags;
        bool left, right; // ink in the left or right third of the button
    };
    for (const Case c : {Case{0, true, false}, Case{2 | 4, false, false}, Case{8, false, true}}) {
        SCOPED_TRACE(c.flags);
        button->setFontFlags(c.flags);
        Draw();
        const uint16_t paper = Colour("button", "default");
        EXPECT_EQ(HasInk(20, 20, 33, 30, paper), c.left);
        EXPECT_EQ(HasInk(87, 20, 33, 30, paper), c.right);
        EXPECT_TRUE(HasInk(20, 20, 100, 30, paper));
        EXPECT_FALSE(HasInk(0, 0, 240, 20, paper)) << "clipped to the button";
    }
}

} // namespace
