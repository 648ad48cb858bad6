// Check buttons, labels, static images and animations: the simple widgets' own rules.
#include "EventLog.h"
#include "WidgetFixture.h"
#include "ui/Animation.h"
#include "ui/CheckButton.h"
#include "ui/Label.h"
#include "ui/StaticImage.h"

namespace {

// A flat image of the given size, for image and animation widgets.
std::unique_ptr<Graphics::Surface16> FlatImage(uint32_t width, uint32_t height, uint16_t colour)
{
    auto image = std::make_unique<Graphics::Surface16>();
    image->Create(width, height, false);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x)
            image->Pixels()[y * image->Stride() + x] = static_cast<uint16_t>(colour + y);
    }
    return image;
}

// Records whether the check button was checked when each of its events fired.
class StateRecorder : public UI::SubscriberInterface
{
public:
    StateRecorder(UI::CheckButton* button, std::vector<std::string>* lines, std::string name)
        : m_button(button), m_lines(lines), m_name(std::move(name))
    {}
    bool invoke(const UI::EventArgs& args) override
    {
        const auto* mouse = dynamic_cast<const UI::MouseEventArgs*>(&args);
        m_lines->push_back(m_name + (m_button->checked() ? " on" : " off") +
                           (mouse ? " at " + std::to_string(mouse->x) : ""));
        return false;
    }

private:
    UI::CheckButton* m_button;
    std::vector<std::string>* m_lines;
    std::string m_name;
};

using StaticWidgets = WidgetTest;

TEST_F(StaticWidgets, CheckButtonTogglesAfterTheClickAndSwapsItsArt)
{
    auto* check = dynamic_cast<UI::CheckButton*>(Load(
        R"(<Window className="CheckButton" element="button" x="10" y="10" width="40" height="20"/>)"));
    ASSERT_NE(check, nullptr);
    std::vector<std::string> lines;
    check->MouseUp.subscribe(std::make_unique<StateRecorder>(check, &lines, "up"));
    check->Changed.subscribe(std::make_unique<StateRecorder>(check, &lines, "changed"));

    system->stylusDown(15, 15);
    Update();
    Draw();
    EXPECT_EQ(Pixel(30, 20), Colour("button", "pressed")) << "pressed while held";
    system->stylusUp(17, 15);
    EXPECT_EQ(lines, (std::vector<std::string>{"up off at 7", "changed on at 7"}));
    Update();
    Draw();
    EXPECT_EQ(Pixel(30, 20), Colour("checkButtonElement", "default")) << "no hold after release";

    // setChecked fires only on a change, even while disabled; a click then does nothing.
    lines.clear();
    check->setEnabled(false);
    check->setChecked(true);
    EXPECT_TRUE(lines.empty());
    check->setChecked(false);
    EXPECT_EQ(lines, std::vector<std::string>{"changed off"});
    Tap(15, 15);
    EXPECT_FALSE(check->checked());
    Draw();
    EXPECT_EQ(Pixel(30, 20), Colour("button", "disabled"));
}

TEST_F(StaticWidgets, LabelKeysFlagsAndAlignment)
{
    struct Case
    {
        const char* attributes;
        const char16_t* text;
        const char16_t* key;
        int32_t fontFlags, hAlign, vAlign;
    };
    const Case cases[] = {
        {R"(text="@Str_Ok")", u"", u"Str_Ok", 0, 0, 0},
        {R"(text="Plain" align="right" valign="middle")", u"Plain", u"", 0, 2, 1},
        {R"(text="x" align="justify" valign="sideways")", u"x", u"", 0, 3, 0},
        {R"(fontFlags="24" align="left")", u"", u"", 24, 2, 2}, // the flags decide
        {R"(fontFlags="6")", u"", u"", 6, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        const std::string xml = std::string("<Window className=\"Label\" ") + c.attributes + "/>";
        auto* label = dynamic_cast<UI::Label*>(Load(xml.c_str()));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), c.text);
        EXPECT_EQ(label->textKey(), c.key);
        EXPECT_EQ(label->fontFlags(), c.fontFlags);
        EXPECT_EQ(label->hAlign(), c.hAlign);
        EXPECT_EQ(label->vAlign(), c.vAlign);
        EXPECT_EQ(label->width(), UI::Label::DefaultWidth);
        delete label;
    }
}

TEST_F(StaticWidgets, KeyedLabelsShowNothingUntilFilledThenDrawClipped)
{
    Load(R"(<Window><Window className="Label" name="l" text="@Str_Ok" x="10" y="10"
                width="60" height="9" fontFlags="6"/></Window>)");
    auto* label = Find<UI::Label>(u"l");
    ASSERT_NE(label, nullptr);
    Draw();
    EXPECT_FALSE(HasInk(0, 0, 240, 40, Background));
    UI::ApplyTextKeys(root, [](std::u16string_view key) {
        return key == u"Str_Ok" ? std::u16string(u"OK OK OK OK OK OK OK OK") : std::u16string();
    });
    EXPECT_EQ(label->textKey(), u"Str_Ok");
    Draw();
    EXPECT_TRUE(HasInk(10, 10, 60, 9, Background));
    EXPECT_FALSE(HasInk(0, 0, 240, 10, Background));
    EXPECT_FALSE(HasInk(0, 19, 240, 20, Background));
    EXPECT_FALSE(HasInk(0, 0, 10, 40, Background));
    EXPECT_FALSE(HasInk(70, 0, 170, 40, Background));
}

TEST_F(StaticWidgets, StaticImageSizesItselfAndFindsLateImages)
{
    Load(R"(<Window><Window className="StaticImage" name="sized" src="pic"/>
                <Window className="StaticImage" name="fixed" src="pic" width="5" y="40"/></Window>)");
    auto* sized = Find<UI::StaticImage>(u"sized");
    auto* fixed = Find<UI::StaticImage>(u"fixed");
    ASSERT_TRUE(sized && fixed);
    EXPECT_EQ(sized->width(), UI::StaticImage::DefaultSize) << "not found yet: no resize";

    renderer.addImage(FlatImage(12, 8, 0x4000), u"pic");
    Draw();
    EXPECT_EQ(Pixel(0, 0), 0x4000);
    EXPECT_EQ(Pixel(11, 7), 0x4007);
    EXPECT_EQ(Pixel(12, 0), Background) << "drawn unscaled";
    sized->setImage(u"pic", true);
    EXPECT_EQ(sized->width(), 12);
    EXPECT_EQ(sized->height(), 8);
    EXPECT_EQ(Pixel(0, 40), 0x4000);
}

TEST_F(StaticWidgets, AnimationCountsFramesFromTheImage)
{
    renderer.addImage(FlatImage(20, 100, 0x2000), u"strip");
    struct Case
    {
        const char* attributes;
        int32_t frameCount, width, height;
    };
    const Case cases[] = {
        {R"(src="strip" tickHeight="25" width="50")", 4, 20, 25},
        {R"(src="strip" tickHeight="0")", 100, 20, 1}, // a frame height below 1 counts as 1
        {R"(src="strip" tickHeight="101" width="50")", 0, 50, 100}, // no frame fits
        {R"(src="missing" tickHeight="25")", 0, 100, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        const std::string xml =
            std::string("<Window className=\"Animation\" ") + c.attributes + "/>";
        std::unique_ptr<UI::Window> window(Load(xml.c_str()));
        auto* animation = dynamic_cast<UI::Animation*>(window.get());
        ASSERT_NE(animation, nullptr);
        EXPECT_EQ(animation->frameCount(), c.frameCount);
        EXPECT_EQ(animation->width(), c.width);
        EXPECT_EQ(animation->height(), c.height);
        Update(7);
        EXPECT_EQ(animation->frame(), c.frameCount ? 7 % c.frameCount : 0);
        // The frame's rows of the strip; without whole frames, the strip from its top.
        Draw();
        const int32_t row = animation->frame() * animation->frameHeight();
        EXPECT_EQ(Pixel(0, 0), animation->imageIndex() < 0 ? Background : 0x2000 + row);
    }
}

TEST_F(StaticWidgets, AnimationTicksEvenWhenDisabledAndNeverFreezes)
{
    renderer.addImage(FlatImage(20, 100, 0x2000), u"strip");
    auto* animation = dynamic_cast<UI::Animation*>(
        Load(R"(<Window className="Animation" src="strip" tickHeight="25" apt="3" enabled="0"/>)"));
    ASSERT_NE(animation, nullptr);
    std::vector<int32_t> frames;
    for (int i = 0; i < 7; ++i) {
        Update();
        frames.push_back(animation->frame());
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{0, 0, 1, 1, 1, 2, 2}));
    Draw();
    EXPECT_EQ(Pixel(0, 0), 0x2000 + 50) << "frame 2 starts 50 rows down";

    // The tick carried over is already past the new count: the next update moves on.
    animation->setAnimation(u"strip", 25, 1);
    Update();
    EXPECT_EQ(animation->frame(), 1);
}

} // namespace
