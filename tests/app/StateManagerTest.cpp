// The state machine's switch rules: when a state is loaded, entered, left, unloaded and drawn.
#include "app/StateManager.h"

#include "graphics/Surface16.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

class LoggingState : public State
{
public:
    LoggingState(const char16_t* name, Log& log, StateManager* requestFromUpdate = nullptr)
        : State(name), m_log(log), m_manager(requestFromUpdate)
    {}
    ~LoggingState() override { Note("destroyed"); }

    void Load() override
    {
        Note("Load");
        m_loaded = true;
    }
    void Unload() override
    {
        Note("Unload");
        m_loaded = false;
    }
    void Enter() override { Note("Enter"); }
    void Leave() override { Note("Leave"); }
    void Update() override
    {
        Note("Update");
        if (m_manager && switchTo)
            m_manager->ChangeState(switchTo, false);
    }
    void Render(Graphics::Surface16&) override { Note("Render"); }

    const char16_t* switchTo = nullptr; // a switch this state requests from its Update

private:
    void Note(const char* what)
    {
        std::string entry(m_name.begin(), m_name.end());
        entry.append(".").append(what);
        m_log.push_back(std::move(entry));
    }

    Log& m_log;
    StateManager* m_manager;
};

struct StateManagerTest : ::testing::Test
{
    // Runs one frame as the application does: update, then render.
    Log Frame()
    {
        log.clear();
        manager->Update();
        Graphics::Surface16 surface;
        manager->Render(surface);
        return log;
    }
    LoggingState* Add(const char16_t* name)
    {
        auto state = std::make_unique<LoggingState>(name, log, manager.get());
        LoggingState* raw = state.get();
        manager->AddState(std::move(state));
        return raw;
    }

    Log log;
    std::unique_ptr<StateManager> manager = std::make_unique<StateManager>();
};

} // namespace

TEST_F(StateManagerTest, FirstSwitchLoadsEntersAndUpdatesInOneFrame)
{
    Add(u"A");
    EXPECT_EQ(Frame(), Log{}); // nothing current yet
    manager->ChangeState(u"A", false);
    EXPECT_EQ(Frame(), (Log{"A.Load", "A.Enter", "A.Update", "A.Render"}));
    EXPECT_EQ(Frame(), (Log{"A.Update", "A.Render"}));
}

TEST_F(StateManagerTest, SwitchToTheCurrentStateDoesNothing)
{
    Add(u"A");
    manager->ChangeState(u"A", false);
    Frame();
    manager->ChangeState(u"A", true);
    EXPECT_EQ(Frame(), (Log{"A.Update", "A.Render"}));
}

TEST_F(StateManagerTest, LastRequestWinsWithItsOwnRelease)
{
    Add(u"A");
    Add(u"B");
    Add(u"C");
    manager->ChangeState(u"A", false);
    Frame();
    manager->ChangeState(u"B", true);
    manager->ChangeState(u"C", false);
    manager->ChangeState(u"Nobody", true); // unknown: the request for C stands
    EXPECT_EQ(Frame(), (Log{"A.Leave", "C.Load", "C.Enter", "C.Update", "C.Render"}));
    EXPECT_EQ(manager->Current()->Name(), u"C");
}

TEST_F(StateManagerTest, ReentryLoadsAgainOnlyAfterARelease)
{
    Add(u"A");
    Add(u"B");
    manager->ChangeState(u"A", false);
    Frame();
    manager->ChangeState(u"B", false); // A stays loaded
    EXPECT_EQ(Frame(), (Log{"A.Leave", "B.Load", "B.Enter", "B.Update", "B.Render"}));
    manager->ChangeState(u"A", true); // B is released
    EXPECT_EQ(Frame(), (Log{"B.Leave", "B.Unload", "A.Enter", "A.Update", "A.Render"}));
    manager->ChangeState(u"B", false);
    EXPECT_EQ(Frame(), (Log{"A.Leave", "B.Load", "B.Enter", "B.Update", "B.Render"}));
}

TEST_F(StateManagerTest, FrameThatRequestsASwitchIsNotDrawn)
{
    LoggingState* a = Add(u"A");
    Add(u"B");
    manager->ChangeState(u"A", false);
    Frame();
    a->switchTo = u"B";
    EXPECT_EQ(Frame(), (Log{"A.Update"}));
    a->switchTo = nullptr;
    EXPECT_EQ(Frame(), (Log{"A.Leave", "B.Load", "B.Enter", "B.Update", "B.Render"}));
}

TEST_F(StateManagerTest, DuplicateNamesAreDroppedAndNamesAreExact)
{
    Add(u"A");
    Add(u"A"); // dropped, and destroyed at once
    EXPECT_EQ(log, (Log{"A.destroyed"}));
    manager->ChangeState(u"a", false); // names compare exactly
    EXPECT_EQ(Frame(), Log{});
    EXPECT_EQ(manager->Current(), nullptr);
}

TEST_F(StateManagerTest, DestructionUnloadsThenDestroysInRegistrationOrder)
{
    Add(u"A");
    Add(u"B");
    Add(u"C");
    manager->ChangeState(u"C", false);
    Frame();
    manager->ChangeState(u"A", false);
    Frame();
    log.clear();
    manager.reset();
    EXPECT_EQ(log, (Log{"A.Unload", "C.Unload", "A.destroyed", "B.destroyed", "C.destroyed"}));
}
