// The application base: start-up order, the main loop's frame timing and message priority,
// and the translation of window messages into input hooks.
#include "app/GameApp.h"

#include "app/Win32GapiDriver.h"
#include "app/Win32RawFBDriver.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace Id = Platform::MessageId;
using Platform::MakePointParam;

namespace {

constexpr uint64_t Period = 33334; // first whole tick past 1/30 s at a 1 MHz counter

class TestApp : public GameApp
{
public:
    TestApp() : GameApp(0x2A) {}

    bool OnInit() override
    {
        log.push_back("init");
        return initResult;
    }
    bool OnFrame() override
    {
        ++frames;
        log.push_back("frame");
        if (onFrame)
            onFrame(*this);
        return true;
    }
    bool OnClose() override
    {
        log.push_back("close");
        return true;
    }
    void OnActivate() override { log.push_back("activate"); }
    void OnDeactivate() override { log.push_back("deactivate"); }
    void OnStylusDown(int32_t x, int32_t y) override { Point("down", x, y); }
    void OnStylusMove(int32_t x, int32_t y) override { Point("move", x, y); }
    void OnStylusUp(int32_t x, int32_t y) override { Point("up", x, y); }
    void OnKeyDown(uint32_t key) override { log.push_back("keydown " + std::to_string(key)); }
    void OnKeyUp(uint32_t key) override { log.push_back("keyup " + std::to_string(key)); }

    void Point(const char* what, int32_t x, int32_t y)
    {
        log.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void SetOrientationForTest(uint32_t o) { m_orientation = o; }

    std::vector<std::string> log;
    int frames = 0;
    bool initResult = true;
    std::function<void(TestApp&)> onFrame;
};

struct GameAppTest : ::testing::Test
{
    FakeHost host;
    TestApp app;
};

} // namespace

TEST_F(GameAppTest, InitCreatesWindowAndDisplayThenCallsOnInit)
{
    ASSERT_TRUE(app.Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"));
    EXPECT_EQ(app.InstanceName(), "Kestrune_0000002A");
    EXPECT_NE(app.GetWindow(), Platform::NoWindow);
    ASSERT_NE(app.GetDisplay(), nullptr);
    EXPECT_EQ(app.GetDisplay()->GetWidth(), 240u);
    EXPECT_EQ(app.log, (std::vector<std::string>{"init"}));
}

TEST_F(GameAppTest, InitStopsAtTheFirstFailure)
{
    host.instanceLockFree = false; // another instance runs
    EXPECT_FALSE(app.Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"));
    EXPECT_EQ(app.GetWindow(), Platform::NoWindow);
    EXPECT_TRUE(app.log.empty());
}

TEST_F(GameAppTest, DisplayFlagsChooseTheDriver)
{
    // No raw frame buffer here: by default the GAPI driver takes over...
    ASSERT_TRUE(app.Init(0, "Tavlo"));
    EXPECT_NE(dynamic_cast<Win32GapiDriver*>(app.GetDisplay()), nullptr);
}

TEST_F(GameAppTest, RequiredRawFrameBufferFailsStartUp)
{
    EXPECT_FALSE(app.Init(DisplayFlags::RequireRawFrameBuffer, "Tavlo"));
    EXPECT_TRUE(app.log.empty());
}

TEST_F(GameAppTest, RawFrameBufferIsTriedFirst)
{
    host.rawFrameBuffer = true;
    ASSERT_TRUE(app.Init(0, "Tavlo"));
    EXPECT_NE(dynamic_cast<Win32RawFBDriver*>(app.GetDisplay()), nullptr);
}

TEST_F(GameAppTest, NoDriverAllowedFailsStartUp)
{
    EXPECT_FALSE(app.Init(DisplayFlags::SkipRawFrameBuffer | DisplayFlags::SkipGapi, "Tavlo"));
}

TEST_F(GameAppTest, ParamsReadAndWrite)
{
    EXPECT_EQ(app.GetParam(AppParam::Width), 240u);
    EXPECT_EQ(app.GetParam(AppParam::Height), 320u);
    EXPECT_EQ(app.GetParam(AppParam::FramesPerSecond), 50u);
    EXPECT_EQ(app.GetParam(AppParam::Orientation), 0u); // only 16, 32 and 64 are readable
    EXPECT_EQ(app.GetParam(1), 0u);
    app.SetParam(AppParam::Width | AppParam::FramesPerSecond, 30);
    EXPECT_EQ(app.GetParam(AppParam::Width), 30u);
    EXPECT_EQ(app.GetParam(AppParam::Height), 320u);
    EXPECT_EQ(app.GetParam(AppParam::FramesPerSecond), 30u);
}

TEST_F(GameAppTest, OrientationParamRetargetsTheDisplayOnlyWhenItChanges)
{
    ASSERT_TRUE(app.Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"));
    Display* display = app.GetDisplay();
    app.SetParam(AppParam::Orientation, 1);
    EXPECT_EQ(display->GetWidth(), 240u);
    app.SetParam(AppParam::Orientation, 2);
    EXPECT_EQ(app.GetOrientation(), 2u);
    EXPECT_EQ(display->GetOrientation(), 2u);
    EXPECT_EQ(display->GetWidth(), 320u);
    EXPECT_EQ(display->GetHeight(), 240u);
    EXPECT_FALSE(display->IsClosed());
}

TEST_F(GameAppTest, KeyRepeatsAreFilteredAndStylusPointsRotated)
{
    const uint32_t repeat = Platform::KeyRepeatBit;
    app.HandleMessage(Id::KeyDown, 38, 0);
    app.HandleMessage(Id::KeyDown, 38, repeat);
    app.HandleMessage(Id::KeyDown, 38, repeat | 5);
    app.HandleMessage(Id::KeyUp, 38, repeat);
    EXPECT_EQ(app.log, (std::vector<std::string>{"keydown 38", "keyup 38"}));

    // (x, y) on the device becomes, with W = 240 and H = 320: 2 -> (H - y, x),
    // 4 -> (y, W - x), 8 -> (W - x, H - y); anything else leaves it as is.
    const struct
    {
        uint32_t orientation;
        uint32_t x, y;
        const char* expected;
    } cases[] = {
        {1, 10, 20, "down 10,20"},     {0, 10, 20, "down 10,20"},   {5, 10, 20, "down 10,20"},
        {2, 10, 20, "down 300,10"},    {4, 10, 20, "down 20,230"},  {8, 10, 20, "down 230,300"},
        {8, 0, 0, "down 240,320"},     {2, 239, 319, "down 1,239"}, {4, 0, 0, "down 0,240"},
        {1, 65535, 7, "down 65535,7"},
    };
    for (const auto& c : cases) {
        app.log.clear();
        app.SetOrientationForTest(c.orientation);
        EXPECT_FALSE(app.HandleMessage(Id::StylusDown, 0, MakePointParam(c.x, c.y)));
        EXPECT_EQ(app.log, (std::vector<std::string>{c.expected})) << c.orientation;
    }
    app.log.clear();
    app.SetOrientationForTest(8);
    app.HandleMessage(Id::StylusMove, 0, MakePointParam(1, 2));
    app.HandleMessage(Id::StylusUp, 0, MakePointParam(3, 4));
    EXPECT_EQ(app.log, (std::vector<std::string>{"move 239,318", "up 237,316"}));
}

TEST_F(GameAppTest, OtherMessagesGoToTheDefaultHandling)
{
    EXPECT_TRUE(app.HandleMessage(15, 0, 0)); // paint
    EXPECT_TRUE(app.HandleMessage(Id::Quit, 0, 0));
    EXPECT_FALSE(app.HandleMessage(Id::Close, 0, 0));
    EXPECT_EQ(app.log, (std::vector<std::string>{"close"}));
}

struct LoopTest : GameAppTest
{
    void SetUp() override
    {
        ASSERT_TRUE(app.Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"));
        app.SetParam(AppParam::FramesPerSecond, 30);
        app.log.clear();
        app.onFrame = [this](TestApp& a) {
            frameTimes.push_back(host.now);
            if (a.frames == quitAfter)
                a.Quit();
        };
    }
    std::vector<uint64_t> frameTimes;
    int quitAfter = 5;
};

TEST_F(LoopTest, MessagesAlwaysGoBeforeFrames)
{
    // The first frame is due at once, but 50 messages wait: all go first.
    for (uint32_t i = 1; i <= 50; ++i)
        host.Post({Id::KeyUp, i, 0});
    EXPECT_EQ(app.Run(), 1);
    ASSERT_GE(app.log.size(), 51u);
    for (uint32_t i = 0; i < 50; ++i)
        EXPECT_EQ(app.log[i], "keyup " + std::to_string(i + 1));
    EXPECT_EQ(app.log[50], "frame");
}

TEST_F(LoopTest, FramesComeOnePeriodApartAndQuitEndsAtTheNextTick)
{
    const uint64_t start = host.now;
    EXPECT_EQ(app.Run(), 1);
    EXPECT_EQ(app.frames, 5);
    ASSERT_EQ(frameTimes.size(), 5u);
    for (size_t i = 0; i < frameTimes.size(); ++i)
        EXPECT_EQ(frameTimes[i], start + i * Period);
    // The tick after Quit destroys the window, whose destroy message posts the quit message.
    EXPECT_EQ(host.windowsClosed, 1);
    EXPECT_EQ(app.GetWindow(), Platform::NoWindow);
    Platform::Message m;
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.id, Id::Quit);
}

TEST_F(LoopTest, LateFramesAreNotCaughtUp)
{
    // Every wait oversleeps by two and a half periods.
    host.onWait = [](FakeHost& h, uint64_t deadline) { h.now = deadline + 5 * Period / 2; };
    app.Run();
    ASSERT_EQ(frameTimes.size(), 5u);
    for (size_t i = 1; i < frameTimes.size(); ++i) {
        // One frame per wait, the next period measured from the late frame itself.
        EXPECT_EQ(frameTimes[i], frameTimes[i - 1] + Period + 5 * Period / 2);
        EXPECT_EQ(host.waitDeadlines[i - 1], frameTimes[i - 1] + Period);
    }
}

TEST_F(LoopTest, CounterGoingBackwardsRunsAFrameAtOnce)
{
    bool jumped = false;
    host.onWait = [&](FakeHost& h, uint64_t deadline) {
        if (app.frames == 2 && !jumped) {
            jumped = true;
            h.now = frameTimes.back() - 1000; // the counter went backwards
        } else {
            h.now = std::max(h.now, deadline);
        }
    };
    app.Run();
    ASSERT_EQ(frameTimes.size(), 5u);
    EXPECT_EQ(frameTimes[2], frameTimes[1] - 1000);
    EXPECT_EQ(frameTimes[3], frameTimes[2] + Period);
}

TEST_F(LoopTest, MeasuresThirtyFramesPerSecond)
{
    quitAfter = 100; // a little over three seconds
    app.Run();
    EXPECT_EQ(app.GetMeasuredFps(), 30u);
}

TEST_F(LoopTest, NoFramesRunWhileInactive)
{
    host.Post({Id::Activate, 0, 0});
    host.onBlockingWait = [](FakeHost& h) {
        h.now += 10 * FakeHost::Frequency;
        h.Post({Id::Activate, 1, 0});
    };
    app.Run();
    ASSERT_GE(app.log.size(), 3u);
    EXPECT_EQ(app.log[0], "deactivate");
    EXPECT_EQ(app.log[1], "activate");
    EXPECT_EQ(host.blockingWaits, 1);
    EXPECT_FALSE(app.IsInactive());
}

TEST_F(LoopTest, QuitMessageEndsTheLoopAtOnce)
{
    host.PostQuitMessage(0);
    EXPECT_EQ(app.Run(), 1);
    EXPECT_EQ(app.frames, 0);
}
