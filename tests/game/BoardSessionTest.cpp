// The flow of a board in a session: the board number and its drain, the timer, winning and
// losing with what they change in the player's run, the background draw, and replays.
#include "game/BoardSession.h"

#include "SessionFixture.h"
#include "game/Bonuses.h"

#include <gtest/gtest.h>

using namespace SessionTest;

namespace {

const std::vector<uint32_t> Squares = {4, 4, 4, 4, 4, 4, 4, 4};

// A profile store with one current player on the given board of every mode.
struct Profile
{
    explicit Profile(uint32_t board = 1, uint32_t lives = 3)
    {
        store.AddPlayer(u"Ana");
        store.SetCurrent(0);
        player().grid.fill(board);
        player().lives.fill(lives);
    }
    PlayerProfile& player() { return *store.CurrentPlayer(); }

    GameSettings settings;
    ProfileStore store{settings};
};

TEST(BoardSession, LaterBoardsDrainFaster)
{
    struct Case
    {
        uint32_t board;
        uint32_t played; // past the last of 25 files: board 1
        uint32_t period;
    };
    const Case cases[] = {{1, 1, 200},  {4, 4, 200},  {5, 5, 166},  {9, 9, 166},
                          {10, 10, 83}, {14, 14, 83}, {15, 15, 55}, {19, 19, 55},
                          {20, 20, 41}, {24, 24, 41}, {26, 1, 200}, {0, 1, 200}};
    for (const Case& c : cases) {
        Profile profile(c.board);
        Play play(IsolatedCells(Squares, 100), GameMode::Survival, 1, 25);
        play.session.SetProfiles(&profile.store);
        play.Start();
        EXPECT_EQ(play.session.BoardNumber(), c.played) << c.board;
        EXPECT_EQ(profile.player().grid[2], c.played) << c.board;
        EXPECT_EQ(play.session.DrainPeriod(), c.period) << c.board;
        EXPECT_EQ(play.session.Score(), 50u);
        EXPECT_EQ(play.session.ScoreBar(), 0.5f);
        play.Frames(c.period);
        EXPECT_EQ(play.session.Score(), 50u) << c.board;
        play.Frame();
        EXPECT_EQ(play.session.Score(), 49u) << c.board;
        EXPECT_EQ(play.session.ScoreBar(), 0.49f);
        play.Frames(c.period);
        EXPECT_EQ(play.session.Score(), 48u) << c.board;
    }
}

TEST(BoardSession, TheBoardIsLostWhenLessThanASecondIsLeft)
{
    struct Case
    {
        uint32_t lives;
        bool runEnded;
        uint32_t livesAfter; // in the profile
    };
    for (const Case& c : {Case{2, false, 1}, Case{0, true, 3}}) {
        Sounds sounds;
        Profile profile(2, c.lives);
        profile.player().score[0] = 40;
        Play play(IsolatedCells(Squares), GameMode::Arcade, 1, 3);
        play.session.SetProfiles(&profile.store);
        play.session.SetSounds(sounds.manager.get());
        play.Start(); // at counter time 0
        play.Frames(5400);
        EXPECT_EQ(play.session.ElapsedSeconds(), 180);
        ASSERT_EQ(play.session.GetState(), BoardState::Playing);
        const BoardSnapshot before = play.session.Snapshot();
        play.Frame();
        ASSERT_EQ(play.session.GetState(), BoardState::Lost);
        EXPECT_EQ(play.session.FinalSnapshot(), before);
        EXPECT_EQ(play.session.GetGrid(), nullptr);
        EXPECT_EQ(sounds.Take().back(), "play Snd_Loose");
        EXPECT_EQ(play.session.Result().total, 40u);
        EXPECT_EQ(play.session.Result().runEnded, c.runEnded);
        EXPECT_EQ(profile.player().lives[0], c.livesAfter);
        EXPECT_EQ(profile.player().grid[0], c.runEnded ? 1u : 2u);
        EXPECT_EQ(profile.store.Table(1).size(), c.runEnded ? 1u : 0u);
        play.Frame();
        EXPECT_EQ(play.session.GetState(), BoardState::Lost) << "nothing runs after the end";
    }
}

TEST(BoardSession, AWinAddsAThirdOfTheSecondsLeftAndRecordsTheRun)
{
    // The player, on board 2 (or the last, 3) of 3 with 10 points and 2 lives, completes a
    // square of 3 points that fills the bar.
    struct Case
    {
        const char* label;
        uint32_t bonus;
        uint32_t seconds; // at the banking frame
        uint32_t timeBonus;
        uint32_t board = 2;
    };
    const Case cases[] = {
        {"100 seconds left", 0, 80, 33},
        {"the banking wins before the time runs out", 0, 180, 0},
        {"a lost minute took the limit below the time used", Bonus::LostMinute, 150, 0},
        {"the last board ends the run", 0, 0, 60, 3},
    };
    for (const Case& c : cases) {
        Sounds sounds;
        Profile profile(c.board, 2);
        profile.player().score[0] = 10;
        Play play(IsolatedCells(Squares, 3), GameMode::Arcade, 1, 3);
        play.session.SetProfiles(&profile.store);
        play.session.SetSounds(sounds.manager.get());
        play.Start();
        if (c.bonus) {
            play.session.PlaceBonus(play.cell(0), c.bonus);
        }
        play.Complete(0);
        play.Frames(8);
        play.Mix(0);
        play.clock = c.seconds * 30;
        play.Frame();
        ASSERT_EQ(play.session.GetState(), BoardState::Won) << c.label;
        const uint32_t score = 3 + c.timeBonus;
        const BoardResult& result = play.session.Result();
        EXPECT_EQ(result.timeBonus, c.timeBonus) << c.label;
        EXPECT_EQ(result.score, score) << c.label;
        EXPECT_EQ(play.session.FinalSnapshot().score, score);
        EXPECT_EQ(result.total, 10 + score);
        EXPECT_EQ(sounds.Take().back(), "play Snd_Win");
        const PlayerProfile& player = profile.player();
        if (c.board == 3) {
            EXPECT_TRUE(result.runEnded);
            EXPECT_EQ(player.grid[0], 1u);
            EXPECT_EQ(player.bestGrid[0], 4u);
            EXPECT_EQ(player.score[0], 0u);
            EXPECT_EQ(player.bestScore[0], 10 + score);
            EXPECT_EQ(player.lives[0], 3u);
            ASSERT_EQ(profile.store.Table(1).size(), 1u);
            EXPECT_EQ(profile.store.Table(1)[0].score, 10 + score);
            play.Start();
            EXPECT_EQ(play.session.BoardNumber(), 1u);
        } else {
            EXPECT_FALSE(result.runEnded);
            EXPECT_EQ(player.grid[0], 3u);
            EXPECT_EQ(player.score[0], 10 + score);
            EXPECT_EQ(player.lives[0], 2u);
        }
    }
}

TEST(BoardSession, TheBackgroundIsDrawnRightAfterTheBoardOnlyWhenThereIsOne)
{
    for (const uint32_t backgrounds : {0u, 3u}) {
        Play play(IsolatedCells(Squares));
        play.session.SetBoardFiles({u"board"}, [&](Grid& grid, std::u16string_view) {
            const bool loaded = Fixture::LoadBoard(grid, play.bytes);
            SeedRandom(600);
            return loaded;
        });
        play.session.SetBackgroundCount(backgrounds);
        play.Start();
        const std::vector<uint32_t> draws = Draws(600, 2);
        EXPECT_EQ(play.session.BackgroundIndex(), backgrounds ? int32_t(draws[0] % 3) : -1);
        EXPECT_EQ(Random(), draws[backgrounds ? 1 : 0]) << backgrounds;
    }
}

// The trace of a scripted game: a tap every 23 frames, turning cells both ways, and now and
// then a cell painted complete.
std::vector<BoardSnapshot> Replay(uint32_t seed)
{
    Play play(Fixture::SquareGrid(6, 6, 30.0f, 20.0f, 40.0f), GameMode::Classic, seed);
    play.effects.SetTrigTable(&Trig());
    play.Start();
    std::vector<BoardSnapshot> trace;
    for (uint32_t frame = 0; frame < 3000 && play.session.GetState() == BoardState::Playing;
         ++frame) {
        if (frame % 23 == 0) {
            play.Turn((frame * 7) % 36, frame % 2 == 0);
        }
        if (frame % 41 == 0 && play.session.CompletionList().empty()) {
            play.Complete((frame * 5) % 36, frame % 6);
        }
        play.Frame();
        trace.push_back(play.session.GetState() == BoardState::Playing
                            ? play.session.Snapshot()
                            : play.session.FinalSnapshot());
    }
    return trace;
}

TEST(BoardSession, TheSameSeedAndInputReplayTheSameBoard)
{
    const std::vector<BoardSnapshot> first = Replay(7);
    EXPECT_EQ(Replay(7), first);
    EXPECT_NE(Replay(8), first);
    // The script made things happen: points were banked and a bonus appeared.
    EXPECT_TRUE(std::any_of(first.begin(), first.end(),
                            [](const BoardSnapshot& s) { return s.score > 0; }));
    EXPECT_TRUE(std::any_of(first.begin(), first.end(),
                            [](const BoardSnapshot& s) { return s.bonusCell >= 0; }));
}

} // namespace
