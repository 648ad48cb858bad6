// The game's application: a frame is the state machine's update and, unless the program quits
// or switches, its drawing; a close request always ends the program.
#include "app/TavloApp.h"

#include "app/GameContext.h"
#include "graphics/Surface16.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace {

// A screen that quits the program from its update, and counts its drawing.
class QuittingState : public State
{
public:
    explicit QuittingState(int& renders) : State(u"Quitting"), m_renders(renders) {}
    void Load() override { m_loaded = true; }
    void Unload() override { m_loaded = false; }
    void Enter() override {}
    void Leave() override {}
    void Update() override { GameContext::Instance().app->Quit(); }
    void Render(Graphics::Surface16&) override { ++m_renders; }

private:
    int& m_renders;
};

} // namespace

TEST(TavloApp, StartsOnTheLoadingScreen)
{
    FakeHost host;
    TavloApp app;
    ASSERT_TRUE(app.Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"));
    StateManager& states = *GameContext::Instance().states;
    ASSERT_NE(states.Pending(), nullptr);
    EXPECT_EQ(states.Pending()->Name(), u"LoadingState");
    EXPECT_EQ(states.Current(), nullptr);
}

TEST(TavloApp, QuitFromAnUpdateSkipsDrawingAndEndsAtTheNextTick)
{
    FakeHost host;
    TavloApp app;
    ASSERT_TRUE(app.Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"));
    app.SetParam(AppParam::FramesPerSecond, 30);
    int renders = 0;
    GameContext::Instance().states->AddState(std::make_unique<QuittingState>(renders));
    GameContext::Instance().states->ChangeState(u"Quitting", false);
    const int presentsAfterOpen = host.presents;

    EXPECT_EQ(app.Run(), 1);
    EXPECT_EQ(host.FramesRun(), 1u);
    EXPECT_EQ(renders, 0);
    EXPECT_EQ(host.presents, presentsAfterOpen);
    EXPECT_FALSE(GameContext::Exists());
    EXPECT_TRUE(app.IsQuitRequested());
    EXPECT_EQ(host.windowsClosed, 1);
}

TEST(TavloApp, CloseDuringLoadingStillEndsTheProgram)
{
    // The exit screen is registered by the loading screen's second frame; a close request
    // that arrives before it waits for it instead of being lost.
    FakeHost host;
    TavloApp app;
    ASSERT_TRUE(app.Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"));
    app.SetParam(AppParam::FramesPerSecond, 30);
    host.Post({Platform::MessageId::Close, 0, 0});
    host.onFrame = [](FakeHost&, uint32_t frame) { ASSERT_LT(frame, 10u); };

    EXPECT_EQ(app.Run(), 1);
    // Frame 0 loads, frame 1 registers the exit screen, frame 2 exits without drawing.
    EXPECT_EQ(host.FramesRun(), 3u);
    EXPECT_FALSE(GameContext::Exists());
}

TEST(TavloApp, CloseAfterLoadingEndsAtTheNextFrame)
{
    FakeHost host;
    TavloApp app;
    ASSERT_TRUE(app.Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"));
    app.SetParam(AppParam::FramesPerSecond, 30);
    host.onFrame = [](FakeHost& h, uint32_t frame) {
        if (frame == 4)
            h.Post({Platform::MessageId::Close, 0, 0});
        ASSERT_LT(frame, 10u);
    };
    app.Run();
    EXPECT_EQ(host.FramesRun(), 6u);
    EXPECT_FALSE(GameContext::Exists());
}

TEST(TavloApp, InputReachesTheUiOnceItExistsAndLateClosesChangeNothing)
{
    FakeHost host;
    TavloApp app;
    ASSERT_TRUE(app.Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"));
    app.SetParam(AppParam::FramesPerSecond, 30);
    bool uiPressed = false;
    host.Post({Platform::MessageId::StylusDown, 0, 10 | (20 << 16)}); // before any UI: dropped
    host.onFrame = [&](FakeHost& h, uint32_t frame) {
        if (frame == 3)
            h.Post({Platform::MessageId::StylusDown, 0, 10 | (20 << 16)});
        if (frame == 4) {
            uiPressed = GameContext::Instance().ui->buttonDown();
            h.Post({Platform::MessageId::Close, 0, 0});
        }
        ASSERT_LT(frame, 10u);
    };
    app.Run();
    EXPECT_TRUE(uiPressed);
    ASSERT_FALSE(GameContext::Exists());
    app.HandleMessage(Platform::MessageId::Close, 0, 0);
    app.HandleMessage(Platform::MessageId::StylusDown, 0, 0);
    EXPECT_FALSE(GameContext::Exists());
}
