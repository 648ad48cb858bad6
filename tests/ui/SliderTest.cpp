// The slider: values from presses, drags and code, and the progress it draws.
#include "ui/Slider.h"

#include "EventLog.h"
#include "WidgetFixture.h"

#include <cmath>

namespace {

class SliderTest : public WidgetTest
{
protected:
    UI::Slider* Make(const std::string& attributes)
    {
        const std::string xml =
            "<Window className=\"Slider\" element=\"track\" x=\"20\" y=\"20\" " + attributes + "/>";
        auto* slider = dynamic_cast<UI::Slider*>(Load(xml.c_str()));
        if (slider)
            changes.watch(slider);
        return slider;
    }

    // Counts Changed events.
    struct Counter : UI::SubscriberInterface
    {
        bool invoke(const UI::EventArgs&) override { return ++count, false; }
        void watch(UI::Slider* slider) { slider->Changed.subscribe(std::make_unique<Proxy>(this)); }
        struct Proxy : UI::SubscriberInterface
        {
            explicit Proxy(Counter* c) : c(c) {}
            bool invoke(const UI::EventArgs& args) override { return c->invoke(args); }
            Counter* c;
        };
        int count = 0;
    } changes;
};

TEST_F(SliderTest, PressesSetTheValueInsideTheMargins)
{
    struct Case
    {
        const char* attributes;
        int pressX, pressY; // local
        float value;
    };
    const Case cases[] = {
        {R"(width="100" sliderDeltaX="10")", 50, 5, 0.5f},
        {R"(width="100" sliderDeltaX="10")", 5, 5, 0.5f}, // in the margin: kept
        {R"(width="100" sliderDeltaX="10")", 95, 5, 1.0f},
        {R"(width="100" sliderDeltaX="10")", 10, 5, 0.0f},
        {R"(width="20" sliderDeltaX="10")", 15, 5, 0.5f}, // no inner length: kept
        {R"(width="10" sliderDeltaX="10")", 10, 5, 0.5f}, // negative inner length: kept
        {R"(height="100" sliderDirection="1" sliderDeltaY="10")", 5, 30, 0.25f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        std::unique_ptr<UI::Window> owner(Make(c.attributes));
        auto* slider = static_cast<UI::Slider*>(owner.get());
        ASSERT_NE(slider, nullptr);
        changes.count = 0;
        system->stylusDown(20 + c.pressX, 20 + c.pressY);
        EXPECT_FLOAT_EQ(slider->value(), c.value);
        EXPECT_TRUE(slider->dragging());
        EXPECT_EQ(system->capture(), slider);
        EXPECT_EQ(changes.count, 1);
        system->stylusUp(20 + c.pressX, 20 + c.pressY);
        EXPECT_FALSE(slider->dragging());
    }
}

TEST_F(SliderTest, DragsFollowTheStylusOutsideTheSlider)
{
    UI::Slider* slider = Make(R"(width="100" sliderDeltaX="10")");
    system->stylusDown(70, 25);
    system->stylusMove(-50, 200);
    EXPECT_FLOAT_EQ(slider->value(), 0.0f);
    system->stylusMove(46, 0);
    EXPECT_FLOAT_EQ(slider->value(), 0.2f);
    EXPECT_EQ(changes.count, 3);
    system->stylusUp(46, 0);
    system->stylusMove(100, 25);
    EXPECT_FLOAT_EQ(slider->value(), 0.2f) << "the drag ends with the release";
}

TEST_F(SliderTest, SetValueStoresClampsAndReturnsTheOldValue)
{
    struct Case
    {
        int32_t direction;
        float set, stored;
    };
    const Case cases[] = {{0, 0.25f, 0.25f}, {1, 0.25f, 0.75f},  {0, 1.5f, 1.0f},
                          {0, -3.0f, 0.0f},  {1, -3.0f, 1.0f},   {0, NAN, 0.0f},
                          {1, NAN, 0.0f},    {0, INFINITY, 1.0f}};
    UI::Slider* horizontal = Make(R"(name="h")");
    UI::Slider* vertical = Make(R"(name="v" sliderDirection="1")");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.direction << " " << c.set);
        UI::Slider* slider = c.direction ? vertical : horizontal;
        const float before = slider->value();
        changes.watch(slider);
        changes.count = 0;
        EXPECT_EQ(slider->setValue(c.set), before);
        EXPECT_FLOAT_EQ(slider->value(), c.stored);
        EXPECT_EQ(changes.count, 1);
    }
}

TEST_F(SliderTest, ProgressIsDrawnInStepsWithinTheTrack)
{
    struct Case
    {
        const char* attributes;
        float value;
        int32_t length;
    };
    const Case cases[] = {
        {R"(width="100" sliderDeltaX="10" sliderStepSize="10")", 0.3f, 20},  // 24 → 20
        {R"(width="100" sliderDeltaX="10" sliderStepSize="10")", 0.35f, 30}, // 28 → 30
        {R"(width="105" sliderDeltaX="10" sliderStepSize="10")", 1.0f, 85},  // not 90
        {R"(width="100" sliderDeltaX="10" sliderStepSize="1")", 0.3f, 24},
        {R"(width="100" sliderDeltaX="60")", 1.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        std::unique_ptr<UI::Window> owner(Make(c.attributes));
        auto* slider = static_cast<UI::Slider*>(owner.get());
        slider->setValue(c.value);
        EXPECT_EQ(slider->progressLength(), c.length);
        Draw();
        const uint16_t progress = Colour("progressTopElement", "default");
        int drawn = 0;
        for (int x = 0; x < 240; ++x)
            drawn += Pixel(x, 30) == progress;
        EXPECT_EQ(drawn, c.length);
        if (c.length > 0) {
            EXPECT_EQ(Pixel(30, 30), progress) << "grows from the left margin";
        }
        EXPECT_EQ(Pixel(25, 30), Colour("track", "default"));
    }
}

TEST_F(SliderTest, VerticalProgressFillsFromTheBottomAndDisabledArtShows)
{
    UI::Slider* slider = Make(R"(width="20" height="100" sliderDirection="1" sliderDeltaY="10")");
    slider->setValue(0.25f);
    Draw();
    const uint16_t progress = Colour("progressTopElement", "default");
    EXPECT_EQ(Pixel(30, 20 + 10 + 59), Colour("track", "default"));
    EXPECT_EQ(Pixel(30, 20 + 10 + 60), progress);
    EXPECT_EQ(Pixel(30, 20 + 10 + 79), progress);
    EXPECT_EQ(Pixel(30, 20 + 10 + 80), Colour("track", "default"));

    slider->setEnabled(false);
    Draw();
    EXPECT_EQ(Pixel(30, 25), Colour("track", "disabled"));
    EXPECT_EQ(Pixel(30, 95), Colour("progressTopElement", "disabled"));
}

} // namespace
