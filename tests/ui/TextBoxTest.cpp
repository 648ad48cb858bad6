// The text box: its scroller slides a tall text by exactly the part that does not fit.
#include "ui/TextBox.h"

#include "WidgetFixture.h"
#include "ui/Scroller.h"
#include "ui/SimpleWindow.h"

namespace {

class TextBoxTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        box = new UI::TextBox(root, system.get());
        box->setRect(20, 20, 120, 60);
        box->listbase()->setElement(system->findElement(u"well"));
        int32_t w = 0;
        renderer.measureText(u"W", w, lineHeight, 0);
    }

    UI::TextBox* box = nullptr;
    int32_t lineHeight = 0;
    const uint16_t paper = Colour("well", "default");
};

TEST_F(TextBoxTest, TheScrollerSlidesTheTextByItsOverflow)
{
    // Wide first and last lines, thin ones between, taller than the 58 pixels inside.
    std::u16string text = u"WWWWWWWW";
    for (int i = 0; i < 6; ++i)
        text += u"\n.";
    text += u"\nWWWWWWWW";
    box->setText(text);
    int32_t textWidth = 0, textHeight = 0;
    renderer.measureText(text, textWidth, textHeight, 0);
    const int32_t overflow = textHeight - 58;
    ASSERT_GT(overflow, 2 * lineHeight);

    struct Case
    {
        float position;
        int32_t offset;
        bool firstShows, lastShows;
    };
    for (const Case c : {Case{0.0f, 0, true, false}, Case{0.5f, overflow / 2, false, false},
                         Case{1.0f, overflow, false, true}}) {
        SCOPED_TRACE(c.position);
        box->scroller()->setPosition(c.position);
        // The thumb lands on whole pixels, so the middle is only near half the overflow.
        EXPECT_NEAR(box->textOffset(), c.offset, overflow / box->scroller()->range() + 1);
        Draw();
        EXPECT_EQ(HasInk(40, 21, 60, lineHeight / 2, paper), c.firstShows);
        EXPECT_EQ(HasInk(40, 79 - lineHeight / 2, 60, lineHeight / 2, paper), c.lastShows);
        EXPECT_FALSE(HasInk(0, 0, 240, 21, paper)) << "nothing above the border";
        EXPECT_FALSE(HasInk(0, 79, 240, 200, paper)) << "nothing below it";
    }
}

TEST_F(TextBoxTest, TextThatFitsDoesNotMove)
{
    box->setText(u"one\ntwo");
    box->scroller()->setPosition(1.0f);
    EXPECT_EQ(box->textOffset(), 0);
    Draw();
    EXPECT_TRUE(HasInk(21, 21, 90, lineHeight, paper));
    EXPECT_EQ(box->scroller()->x(), 120 - box->scrollerWidth());
    EXPECT_EQ(box->listbase()->width(), 120 - box->scrollerWidth() - 1);
}

} // namespace
