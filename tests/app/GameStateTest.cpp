// The game screen with the game's own layout, strings and pictures, on boards of isolated
// dodecagons (no cell completes by chance) and a hand-driven clock: what each mode shows,
// the time running out, wins and losses with their messages, the run on disk right after a
// board ends, and leaving a board unfinished.
#include "states/GameState.h"

#include "app/GameContext.h"
#include "app/SoundLog.h"
#include "game/Bonuses.h"
#include "game/SessionFixture.h"
#include "graphics/Surface16.h"
#include "platform/ProgramFolder.h"
#include "states/LoadingState.h"
#include "states/ScreenSupport.h"
#include "support/FakeHost.h"
#include "ui/FixedButton.h"
#include "ui/Label.h"
#include "ui/Slider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t BoardCount = 5;
// One dodecagon scores 19 points: completing one fills the bar of a board of this target.
constexpr uint32_t Target = 19;
constexpr uint64_t Second = FakeHost::Frequency;

const std::vector<std::string> SoundNames = {"Snd_ButtonClick", "Msc_Menu", "Snd_Win", "Snd_Loose"};

// The built content folder beside the built game folder.
fs::path ContentDir()
{
    const char* game = std::getenv("TAVLO_GAME_DIR");
    return fs::path(game ? game : "build/game") / ".." / "content";
}

// The player's run in one mode before the board starts.
struct SavedRun
{
    uint32_t grid = 1;
    uint32_t lives = 3;
    uint32_t score = 0;
};

class GameScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!fs::exists(ContentDir() / "XML" / "GameWnd.xml"))
            GTEST_SKIP() << "no built content at " << ContentDir();
        // The game's content, with sounds the log can name and boards of its own.
        for (const char* name : {"Images", "trigo.dat"})
            fs::create_symlink(fs::absolute(ContentDir() / name), dir.Root() / name);
        fs::create_directories(dir.Root() / "XML");
        for (const auto& entry : fs::directory_iterator(ContentDir() / "XML")) {
            if (entry.path().filename() != "sounds.xml")
                fs::create_symlink(fs::absolute(entry.path()),
                                   dir.Root() / "XML" / entry.path().filename());
        }
        std::ofstream sounds(dir.Root() / "XML" / "sounds.xml");
        fs::create_directories(dir.Root() / "Sounds");
        sounds << "<Sounds>";
        for (const std::string& name : SoundNames) {
            sounds << "<Sound name=\"" << name << "\" file=\"" << name << ".wav\"/>";
            std::ofstream(dir.Root() / "Sounds" / (name + ".wav")) << name;
        }
        sounds << "</Sounds>";
        sounds.close();
        fs::create_directories(dir.Root() / "grids");
        Fixture::Board board = SessionTest::IsolatedCells(std::vector<uint32_t>(8, 12), Target);
        for (auto& point : board.points)
            point.second += 60.0f; // below the heads-up display
        for (uint32_t i = 1; i <= BoardCount; ++i)
            std::ofstream(dir.Root() / "grids" / ("b0" + std::to_string(i) + ".grid"),
                          std::ios::binary)
                << board.Bytes();
        Platform::SetProgramFolder(dir.Root().string());
        frame.Create(240, 320, false);
    }

    void TearDown() override { GameContext::Destroy(); }

    // The loading screen's two passes with "ann" as the current player (none with
    // withPlayer false), then the game screen in mode with her run set to run.
    void Play(uint32_t mode, SavedRun run = {}, bool withPlayer = true)
    {
        context = &GameContext::Instance();
        context->sounds =
            std::make_unique<SoundManager>(std::make_unique<LoggingBackend>(log, SoundNames));
        LoadingState loading;
        loading.Update();
        if (withPlayer) {
            context->playerData->AddPlayer(u"ann");
            context->playerData->SetCurrent(0);
            PlayerProfile& ann = Ann();
            ann.grid[mode - 1] = run.grid;
            ann.lives[mode - 1] = run.lives;
            ann.score[mode - 1] = run.score;
        }
        loading.Update();
        // The menu's music plays as the menu hands over.
        context->sounds->Play(u"Msc_Menu", true);
        context->gameMode = mode;
        context->states->ChangeState(u"GameState", true);
        Frame();
        ASSERT_EQ(context->states->Current()->Name(), u"GameState");
    }

    // One frame as the application runs it, on a clock that moves one thirtieth of a second.
    void Frame(bool draw = false)
    {
        context->ui->update();
        context->states->Update();
        if (draw)
            context->states->Render(frame);
        ++frames;
        host.now = start + frames * Second / 30 + extra;
    }
    void Frames(uint32_t count)
    {
        for (uint32_t i = 0; i < count; ++i)
            Frame();
    }
    // Moves the clock on, as if the frames had run slowly.
    void Wait(uint64_t seconds)
    {
        extra += seconds * Second;
        host.now += seconds * Second;
    }
    // Frames until the board ends; false when it is still playing after limit of them.
    bool PlayOut(uint32_t limit = 20)
    {
        for (uint32_t i = 0; i < limit && Session().GetState() == BoardState::Playing; ++i)
            Frame();
        return Session().GetState() != BoardState::Playing;
    }

    BoardSession& Session()
    {
        return *dynamic_cast<GameState&>(*context->states->Current()).Session();
    }
    Grid& Board() { return *Session().GetGrid(); }
    // Every side of cell i the colour colour: it completes in the next frame.
    void Complete(size_t i, uint32_t colour = 0)
    {
        for (uint32_t edge : Board().cells[i]->edges)
            Board().edges[edge].colour = colour;
    }
    PlayerProfile& Ann() { return *context->playerData->Player(0); }

    template <class Widget = UI::Window>
    Widget* Control(const char16_t* name) const
    {
        return dynamic_cast<Widget*>(context->gameWindow->findChild(name));
    }
    std::u16string Label(const char16_t* name) const { return Control<UI::Label>(name)->text(); }
    std::u16string Text(const char16_t* key) const { return context->strings->GetString(key); }
    bool MessageShown() const { return Control(u"Wnd_MsgGrid")->visible(); }

    // A tap on the middle of a control, or on a point of the screen.
    void Tap(const char16_t* name)
    {
        const UI::Window* control = Control(name);
        ASSERT_NE(control, nullptr);
        Tap(control->absoluteX() + control->width() / 2,
            control->absoluteY() + control->height() / 2);
    }
    void Tap(int32_t x, int32_t y)
    {
        context->ui->stylusDown(x, y);
        context->ui->stylusUp(x, y);
    }

    // The run of mode as data.dat holds it now.
    PlayerProfile Saved()
    {
        std::ifstream in(dir.Root() / "data.dat", std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        GameSettings settings;
        ProfileStore store(settings);
        EXPECT_TRUE(store.Decode(bytes)) << "data.dat is whole";
        EXPECT_FALSE(fs::exists(dir.Root() / "data.dat.tmp"));
        const PlayerProfile* player = store.Player(0);
        savedTable = store.Table(context->gameMode);
        return player ? *player : PlayerProfile{};
    }

    FakeHost host;
    const uint64_t start = host.now;
    uint64_t frames = 0;
    uint64_t extra = 0;
    TempDir dir;
    GameContext* context = nullptr;
    std::vector<std::string> log;
    std::vector<ScoreEntry> savedTable;
    Graphics::Surface16 frame;
};

TEST_F(GameScreen, EachModeSetsUpItsBarScoreAndHeadsUpDisplay)
{
    struct Case
    {
        uint32_t mode;
        bool barShown;
        float bar;
        const char16_t* score;
    };
    const Case cases[] = {
        {GameMode::Arcade, true, 0.0f, u"0/19"},
        {GameMode::Classic, false, 0.0f, u"0"},
        {GameMode::Survival, true, 0.5f, u"9/19"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Play(c.mode, {.grid = 2, .lives = 2});
        const auto* bar = Control<UI::Slider>(u"Slider_Score");
        EXPECT_EQ(bar->visible(), c.barShown);
        EXPECT_TRUE(bar->ghost()) << "the player never moves the bar";
        EXPECT_EQ(bar->value(), c.bar);
        EXPECT_EQ(Label(u"labelScore"), c.score);
        EXPECT_EQ(Label(u"labelTime"), u"3:00");
        EXPECT_EQ(Label(u"Label_Grid"), u"2");
        EXPECT_EQ(Label(u"Label_Lives"), u"2");
        EXPECT_FALSE(MessageShown());
        EXPECT_NE(std::find(log.begin(), log.end(), "stop Msc_Menu"), log.end());
        // The keys reach the board: a key held turns the next turn the other way.
        context->ui->keyDown(65);
        EXPECT_FALSE(Session().KeyDirection());
        context->ui->keyUp(65);
        GameContext::Destroy();
        log.clear();
    }
}

TEST_F(GameScreen, SurvivalDrainsFasterFromBoardFive)
{
    for (const auto& [board, period] : {std::pair{4u, 200u}, std::pair{5u, 166u}}) {
        SCOPED_TRACE(board);
        Play(GameMode::Survival, {.grid = board});
        uint32_t drained = 0;
        while (Session().Score() == Target / 2 && drained < 400) {
            Frame();
            ++drained;
        }
        EXPECT_EQ(drained, period);
        EXPECT_EQ(Label(u"labelScore"), u"8/19");
        EXPECT_FLOAT_EQ(Control<UI::Slider>(u"Slider_Score")->value(), 8.0f / Target);
        GameContext::Destroy();
    }
}

TEST_F(GameScreen, TheBoardIsLostUnderOneSecondAndTheRunKeptOnDisk)
{
    struct Case
    {
        uint32_t lives;
        const char16_t* info;
        const char16_t* next;
        SavedRun after;
        size_t tableEntries;
    };
    const Case cases[] = {
        {2, u"Str_GridFailed", u"Str_Continue", {.grid = 3, .lives = 1, .score = 40}, 0},
        {0, u"Str_GameOver", u"Str_Start", {.grid = 1, .lives = 3, .score = 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lives);
        Play(GameMode::Arcade, {.grid = 3, .lives = c.lives, .score = 40});
        Wait(175);
        Frame();
        EXPECT_EQ(Label(u"labelTime"), u"0:05");
        Wait(4);
        Frame();
        EXPECT_EQ(Label(u"labelTime"), u"0:01");
        EXPECT_EQ(Session().GetState(), BoardState::Playing);
        Wait(1);
        Frame();
        ASSERT_EQ(Session().GetState(), BoardState::Lost);
        EXPECT_EQ(log.back(), "play Snd_Loose");
        EXPECT_EQ(Label(u"labelTime"), u"0:01") << "the display stays as the board ended";
        EXPECT_TRUE(MessageShown());
        EXPECT_FALSE(Control(u"GameWnd")->enabled());
        EXPECT_EQ(Label(u"Label_Info"), Text(c.info) + u"\n" + Text(u"Str_TotalScore") + u"40");
        EXPECT_EQ(Control<UI::FixedButton>(u"Button_Next")->caption(), Text(c.next));
        EXPECT_EQ(Control<UI::FixedButton>(u"Button_Return")->caption(), Text(u"Str_Return"));

        const PlayerProfile saved = Saved();
        EXPECT_EQ(saved, Ann()) << "on disk at once";
        EXPECT_EQ(saved.grid[0], c.after.grid);
        EXPECT_EQ(saved.lives[0], c.after.lives);
        EXPECT_EQ(saved.score[0], c.after.score);
        EXPECT_EQ(savedTable.size(), c.tableEntries);

        // Try again, or a new run: the board the run is on now.
        Tap(u"Button_Next");
        EXPECT_FALSE(MessageShown());
        EXPECT_EQ(Session().GetState(), BoardState::Playing);
        EXPECT_EQ(Label(u"Label_Grid"), Screens::Decimal(c.after.grid));
        EXPECT_EQ(Label(u"labelTime"), u"3:00");
        GameContext::Destroy();
        log.clear();
    }
}

TEST_F(GameScreen, AWinAddsTheTimeBonusAndTheMessageHoldsTheBoard)
{
    // With 100 seconds left a win adds 33 points. Classic is won by the last grey side; its
    // last cell's points stay unbanked.
    struct Case
    {
        uint32_t mode;
        uint32_t boardScore;
    };
    const Case cases[] = {
        {GameMode::Arcade, 19 + 33},
        {GameMode::Classic, 33},
        {GameMode::Survival, 9 + 19 + 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Play(c.mode, {.grid = 2, .lives = 2, .score = 100});
        Wait(80);
        if (c.mode == GameMode::Classic) {
            for (GridEdge& edge : Board().edges)
                edge.colour = Grey;
        }
        Complete(0, 3);
        ASSERT_TRUE(PlayOut());
        ASSERT_EQ(Session().GetState(), BoardState::Won);
        EXPECT_EQ(log.back(), "play Snd_Win");
        const std::u16string total = Screens::Decimal(100 + c.boardScore);
        EXPECT_EQ(Label(u"Label_Info"), Text(u"Str_GridScore") + Screens::Decimal(c.boardScore) +
                                            u"\n" + Text(u"Str_TotalScore") + total);
        EXPECT_EQ(Control<UI::FixedButton>(u"Button_Next")->caption(), Text(u"Str_Next"));
        const PlayerProfile saved = Saved();
        EXPECT_EQ(saved.grid[c.mode - 1], 3u);
        EXPECT_EQ(saved.score[c.mode - 1], 100 + c.boardScore);

        // While the message is up the board takes nothing, and the sparks fly on.
        ASSERT_TRUE(context->effects->HasImageEffects());
        const uint32_t age = context->effects->ImageEffects().front().age;
        Tap(120, 150);
        context->ui->keyDown(65);
        context->ui->keyUp(65);
        Frames(2);
        EXPECT_EQ(Session().GetState(), BoardState::Won);
        EXPECT_EQ(Ann(), saved);
        EXPECT_EQ(context->effects->ImageEffects().front().age, age + 2);

        Tap(u"Button_Next");
        EXPECT_FALSE(MessageShown());
        EXPECT_TRUE(Control(u"GameWnd")->enabled());
        EXPECT_EQ(Label(u"Label_Grid"), u"3");
        context->ui->keyDown(65);
        EXPECT_FALSE(Session().KeyDirection()) << "the keys reach the next board";
        GameContext::Destroy();
        log.clear();
    }
}

TEST_F(GameScreen, WinningTheLastBoardEndsTheRunAndPlayAgainStartsBoardOne)
{
    Play(GameMode::Arcade, {.grid = BoardCount, .score = 500});
    Complete(0);
    ASSERT_TRUE(PlayOut());
    const uint32_t total = 500 + 19 + 60;
    EXPECT_EQ(Label(u"Label_Info"),
              Text(u"Str_Win") + u"\n" + Text(u"Str_TotalScore") + Screens::Decimal(total));
    EXPECT_EQ(Control<UI::FixedButton>(u"Button_Next")->caption(), Text(u"Str_Start"));
    const PlayerProfile saved = Saved();
    EXPECT_EQ(saved.grid[0], 1u);
    EXPECT_EQ(saved.bestGrid[0], BoardCount + 1);
    EXPECT_EQ(saved.bestScore[0], total);
    EXPECT_EQ(savedTable, (std::vector<ScoreEntry>{{u"ann", total}}));
    Tap(u"Button_Next");
    EXPECT_EQ(Label(u"Label_Grid"), u"1");
    EXPECT_EQ(Session().BoardNumber(), 1u);
}

TEST_F(GameScreen, ALostMinutePastTheTimeUsedShowsNoTimeLeft)
{
    Play(GameMode::Arcade);
    Wait(150);
    Session().PlaceBonus(*Board().cells[0], Bonus::LostMinute);
    Complete(0);
    std::u16string shown;
    while (Session().GetState() == BoardState::Playing && frames < 30) {
        Frame();
        shown = Label(u"labelTime");
    }
    EXPECT_EQ(shown, u"0:00");
    EXPECT_EQ(Session().Result().timeBonus, 0u);
}

TEST_F(GameScreen, TheMenuButtonLeavesTheRunAsItWasAndComingBackDealsAfresh)
{
    Play(GameMode::Arcade, {.grid = 2, .lives = 2, .score = 30});
    const PlayerProfile before = Ann();
    const BoardSnapshot colours = Session().Snapshot();
    Complete(0);
    Frames(3);
    Tap(u"buttonMenu");
    EXPECT_EQ(log.back(), "play Snd_ButtonClick");
    Frame();
    EXPECT_EQ(context->states->Current()->Name(), u"MenuState");
    EXPECT_EQ(context->gameWindow, nullptr) << "the menu's layout replaced the game's";
    EXPECT_EQ(Ann(), before);

    context->states->ChangeState(u"GameState", true);
    Frame();
    EXPECT_EQ(Label(u"Label_Grid"), u"2");
    EXPECT_EQ(Session().Score(), 0u);
    EXPECT_NE(Session().Snapshot().edgeColours, colours.edgeColours);
}

TEST_F(GameScreen, WithoutAPlayerBoardOneIsPlayedAndNothingRecorded)
{
    Play(GameMode::Survival, {}, false);
    EXPECT_EQ(Label(u"Label_Grid"), u"1");
    EXPECT_EQ(Label(u"Label_Lives"), u"3");
    Wait(180);
    Frame();
    ASSERT_TRUE(MessageShown());
    EXPECT_EQ(Label(u"Label_Info"),
              Text(u"Str_GridFailed") + u"\n" + Text(u"Str_TotalScore") + u"0");
    EXPECT_EQ(context->playerData->PlayerCount(), 0u);
}

TEST_F(GameScreen, ALayoutWithoutItsControlsStillPlays)
{
    fs::remove(dir.Root() / "XML" / "GameWnd.xml");
    std::ofstream(dir.Root() / "XML" / "GameWnd.xml") << R"(<Window width="240" height="320"/>)";
    Play(GameMode::Survival, {.lives = 2});
    Complete(0);
    Frames(3);
    Frame(true);
    Wait(180);
    Frame(true);
    EXPECT_EQ(Session().GetState(), BoardState::Lost);
    EXPECT_EQ(Saved().lives[2], 1u);
    Frame(true);
}

TEST_F(GameScreen, AnUnreadableSaveIsNeverWrittenOver)
{
    // A damaged data.dat whose copy cannot be made: the run must not replace it.
    const std::string damaged = "\x01\x02";
    std::ofstream(dir.Root() / "data.dat", std::ios::binary) << damaged;
    fs::create_directory(dir.Root() / "data.dat.bad.tmp");
    testing::internal::CaptureStderr();
    Play(GameMode::Arcade);
    Complete(0);
    ASSERT_TRUE(PlayOut());
    testing::internal::GetCapturedStderr();
    std::ifstream in(dir.Root() / "data.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);
}

} // namespace
