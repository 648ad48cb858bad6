// Scoring and bonuses through a session: banking chains, the twelve bonuses, and the cycle that
// places and expires them.
#include "SessionFixture.h"
#include "game/Bonuses.h"

#include <gtest/gtest.h>

#include <functional>

using namespace SessionTest;

namespace {

const std::vector<uint32_t> Squares = {4, 4, 4, 4, 4, 4, 4, 4};

TEST(Scoring, CellsCompletedTogetherBankTheirPointsTimesTheirNumber)
{
    struct Case
    {
        std::vector<uint32_t> sides; // every cell is completed
        uint32_t score;
        std::u16string text; // of the floating texts
    };
    const Case cases[] = {
        {{3}, 1, u"1point"},          // a triangle
        {{3, 4}, 8, u"8point"},       // (1 + 3) x 2
        {{6, 6}, 28, u"28point"},     // (7 + 7) x 2
        {{12, 5, 4}, 81, u"81point"}, // (19 + 5 + 3) x 3
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> sides = c.sides;
        sides.resize(8, 4);
        Play play(IsolatedCells(sides));
        play.effects.SetTrigTable(&Trig());
        play.Start();
        for (size_t i = 0; i < c.sides.size(); ++i) {
            play.Complete(i);
        }
        play.Frames(8);
        for (size_t i = 0; i < c.sides.size(); ++i) {
            play.Mix(i);
        }
        EXPECT_EQ(play.session.Score(), 0u);
        play.Frame();
        EXPECT_EQ(play.session.Score(), c.score);
        EXPECT_EQ(play.session.ScoreBar(), float(c.score) / 1000.0f);
        // The floating texts of the bursts show the gain.
        ASSERT_TRUE(play.effects.HasTextEffects());
        for (const TextEffect& effect : play.effects.TextEffects()) {
            EXPECT_EQ(effect.text, c.text);
        }
    }
}

TEST(Scoring, AChainBanksOnceAndATurnBetweenFramesEndsIt)
{
    // The square resolves; its new colours (painted here) complete the pentagon. Found in the
    // next frame, before the banking, the pentagon joins the chain: (3 + 5) x 2. A turn started
    // before that frame stops the search, so the square banks alone and the pentagon later.
    for (const bool turnBetween : {false, true}) {
        Play play(IsolatedCells({4, 5, 4, 4, 4, 4, 4, 4}));
        play.Start();
        play.Complete(0);
        play.Frames(8);
        play.Mix(0);
        play.Complete(1);
        if (turnBetween) {
            play.Turn(2, true);
        }
        play.Frame();
        EXPECT_EQ(play.session.Score(), turnBetween ? 3u : 0u);
        // The pentagon is found at once, or after the five frames of the turn and its commit.
        play.Frames(turnBetween ? 13 : 7);
        EXPECT_TRUE(play.session.CompletionList().empty());
        EXPECT_EQ(play.session.PendingPoints(), turnBetween ? 5u : 8u);
        play.Mix(1);
        play.Frame();
        EXPECT_EQ(play.session.Score(), turnBetween ? 3u + 5u : 16u);
    }
}

TEST(Scoring, EachBonusActsWhenItsCellIsResolved)
{
    struct Case
    {
        uint32_t kind;
        uint32_t mode;
        uint32_t target;
        std::function<uint32_t(const BoardSession&)> field;
        uint32_t expected; // after the square's 3 points are banked
        float bar;
        bool scoreFirst = false; // bank a square's 3 points before the bonus
        uint32_t livesBefore = 3;
    };
    const auto score = [](const BoardSession& s) { return s.Score(); };
    const auto time = [](const BoardSession& s) { return s.TimeLimit(); };
    const auto lives = [](const BoardSession& s) { return s.Lives(); };
    const auto frames = [](const BoardSession& s) { return s.TurnFrames(); };
    const Case cases[] = {
        {Bonus::ExtraMinute, GameMode::Arcade, 1000, time, 240, 0.003f},
        {Bonus::LostMinute, GameMode::Arcade, 1000, time, 120, 0.003f},
        {Bonus::ExtraLife, GameMode::Arcade, 1000, lives, 4, 0.003f},
        {Bonus::LostLife, GameMode::Arcade, 1000, lives, 2, 0.003f},
        {Bonus::LostLife, GameMode::Arcade, 1000, lives, 0, 0.003f, false, 0}, // no wrap
        {Bonus::FastTurns, GameMode::Arcade, 1000, frames, 3, 0.003f},
        {Bonus::SlowTurns, GameMode::Arcade, 1000, frames, 7, 0.003f},
        {Bonus::DoubleScore, GameMode::Arcade, 1000, score, 3 * 2 + 3, 0.009f, true},
        {Bonus::AddFifty, GameMode::Arcade, 1000, score, 50 + 3, 0.053f},
        {Bonus::AddFifty, GameMode::Classic, 1000, score, 50 + 3, 0.0f},
        {Bonus::TakeFifty, GameMode::Survival, 60, score, 0 + 3, 0.05f},
        {Bonus::TakeFifty, GameMode::Survival, 160, score, 30 + 3, 33.0f / 160.0f},
        {Bonus::HalveScore, GameMode::Survival, 100, score, 25 + 3, 0.28f},
        {Bonus::HalveScore, GameMode::Classic, 1000, score, 0 + 3, 0.0f},
    };
    for (const Case& c : cases) {
        Sounds sounds;
        GameSettings settings;
        ProfileStore profiles(settings);
        profiles.AddPlayer(u"Ana");
        profiles.SetCurrent(0);
        profiles.CurrentPlayer()->lives.fill(c.livesBefore);
        Play play(IsolatedCells(Squares, c.target), c.mode);
        play.session.SetSounds(sounds.manager.get());
        play.session.SetProfiles(&profiles);
        play.Start();
        if (c.scoreFirst) {
            play.Complete(1);
            play.Frames(8);
            play.Mix(1);
            play.Frame();
        }
        play.session.PlaceBonus(play.cell(0), c.kind);
        EXPECT_EQ(play.effects.ImageEffects().back().kind, EffectKind::BonusAnimation);
        play.Complete(0);
        play.Frames(8);
        EXPECT_EQ(play.session.BonusCell(), nullptr);
        EXPECT_EQ(play.cell(0).bonus, 0u);
        EXPECT_FALSE(play.effects.HasImageEffects()) << "the animation goes with the bonus";
        play.Mix(0);
        play.Frame();
        EXPECT_EQ(c.field(play.session), c.expected) << "bonus " << c.kind << " mode " << c.mode;
        EXPECT_FLOAT_EQ(play.session.ScoreBar(), c.bar) << "bonus " << c.kind;
        EXPECT_EQ(sounds.Take().back(), "play Snd_Bonus") << c.kind;
    }
}

TEST(Scoring, NeighboursBonusListsEveryNeighbourOncePerSharedSide)
{
    // Squares 0 to 8 in three rows; the bonus lies on the middle one, 4. Neighbour 1 has a grey
    // side and stays out; neighbour 5 is complete itself and is listed a second time.
    Sounds sounds;
    Play play(Fixture::SquareGrid(3, 3));
    play.session.SetSounds(sounds.manager.get());
    play.Start();
    for (size_t i = 0; i < 9; ++i) {
        play.Mix(i);
    }
    play.grid().edges[play.cell(1).edges[0]].colour = Grey;
    play.session.PlaceBonus(play.cell(4), Bonus::Neighbours);
    play.Complete(4, 2);
    play.Complete(5, 2);
    play.Frame();
    const std::vector<GridCell*> expected = {&play.cell(4), &play.cell(5), &play.cell(5),
                                             &play.cell(7), &play.cell(3)};
    EXPECT_EQ(play.session.CompletionList(), expected);
    for (const uint32_t edge : play.cell(3).edges) {
        EXPECT_TRUE(play.grid().edges[edge].marked);
    }
    EXPECT_EQ(play.session.BonusCell(), nullptr);
    EXPECT_EQ(sounds.Take(), (std::vector<std::string>{"play Snd_BigAnimation", "play Snd_Bonus"}));
    play.Frames(7);
    for (size_t i = 0; i < 9; ++i) {
        play.Mix(i);
    }
    play.Frame();
    EXPECT_EQ(play.session.Score(), 5u * 3u * 5u); // five listings of 3 points, times five
}

TEST(Scoring, OneBonusPerCycleAfterTheFirstFiveHundredFramesNeverOnATriangle)
{
    Play play(IsolatedCells({3, 4, 3, 4, 3, 3, 3, 4}));
    play.Start();
    for (int k = 0; k < 500; ++k) {
        play.Frame();
        ASSERT_EQ(play.session.BonusCell(), nullptr) << k;
    }
    SeedRandom(2024);
    const std::vector<uint32_t> draws = Draws(2024, 20);
    const uint32_t appear = draws[0] % 350;
    size_t next = 1;
    uint32_t cell = draws[next++] % 8;
    while (play.cell(cell).sides < 4) {
        cell = draws[next++] % 8;
    }
    const uint32_t kind = draws[next] % 12 + 1;

    play.Frames(appear);
    EXPECT_EQ(play.session.BonusCell(), nullptr);
    play.Frame();
    ASSERT_EQ(play.session.BonusCell(), &play.cell(cell));
    EXPECT_EQ(play.cell(cell).bonus, kind);
    play.Frames(149);
    EXPECT_EQ(play.session.BonusCell(), &play.cell(cell)) << "lasts 150 frames";
    EXPECT_TRUE(play.effects.HasImageEffects());
    play.Frame();
    EXPECT_EQ(play.session.BonusCell(), nullptr);
    EXPECT_EQ(play.cell(cell).bonus, 0u);
    EXPECT_FALSE(play.effects.HasImageEffects());
}

TEST(Scoring, ABoardWithoutCellsOfFourSidesGetsNoBonusAndDrawsOnlyTheCycle)
{
    Play play(Fixture::TriangleRow(8));
    play.Start();
    play.Frames(500);
    SeedRandom(77);
    play.Frames(500); // a whole cycle, its appearance frame included
    EXPECT_EQ(play.session.BonusCell(), nullptr);
    EXPECT_EQ(Random(), Draws(77, 2)[1]) << "one draw: the appearance frame";
}

TEST(Scoring, SpeedBonusesLastTwoHundredFiftyFramesAndNeverStopTurns)
{
    Play play(IsolatedCells(Squares));
    play.Start();
    for (size_t i = 0; i < 3; ++i) {
        play.session.PlaceBonus(play.cell(i), Bonus::FastTurns);
        play.Complete(i);
        play.Frames(8);
        play.Mix(i);
    }
    // A third fast bonus keeps the shortest turn instead of wrapping below it.
    EXPECT_EQ(play.session.TurnFrames(), 1u);
    play.Paint(3, {0, 1, 2, 3});
    play.Turn(3, false);
    play.Frames(2);
    EXPECT_EQ(play.Colours(3), (std::vector<uint32_t>{3, 0, 1, 2}));

    // The countdown runs from the first bonus: 250 frames including the one that applied it.
    Play once(IsolatedCells(Squares));
    once.Start();
    once.session.PlaceBonus(once.cell(0), Bonus::SlowTurns);
    once.Complete(0);
    once.Frames(8);
    once.Mix(0);
    once.Frames(248);
    EXPECT_EQ(once.session.TurnFrames(), 7u);
    once.Frame();
    EXPECT_EQ(once.session.TurnFrames(), 5u);
}

TEST(Scoring, AClassicShuffleWhoseBonusExpiredGreysNoCell)
{
    // The bonus appears at its cycle frame; its cell completes so that the shuffle starts three
    // frames before the bonus expires and ends four frames after.
    Play play(IsolatedCells(Squares), GameMode::Classic);
    play.Start();
    while (!play.session.BonusCell()) {
        play.Frame();
    }
    const uint32_t appear = play.session.BonusAppearFrame();
    GridCell& cell = *play.grid().cells[size_t(play.session.Snapshot().bonusCell)];
    cell.bonus = Bonus::Shuffle;
    while (play.session.BonusCycle() != appear + 140) {
        play.Frame();
    }
    const size_t index = size_t(play.session.Snapshot().bonusCell);
    play.Complete(index);
    play.Frames(8);
    ASSERT_TRUE(play.session.ShuffleActive());
    for (const uint32_t edge : cell.edges) {
        EXPECT_EQ(play.grid().edges[edge].colour, Grey);
    }
    play.Frames(3);
    EXPECT_EQ(play.session.BonusCell(), nullptr) << "expired during the shuffle";
    EXPECT_TRUE(play.session.ShuffleActive());
    play.Frames(3);
    SeedRandom(5);
    play.Frame();
    ASSERT_FALSE(play.session.ShuffleActive());
    EXPECT_EQ(play.session.GetState(), BoardState::Playing);
    // The shuffle drew one colour per side that is not grey and nothing after.
    const std::vector<uint32_t> draws = Draws(5, 29);
    size_t k = 0;
    for (const GridEdge& edge : play.grid().edges) {
        if (edge.colour != Grey) {
            EXPECT_EQ(edge.colour, draws[k++] % 6);
        }
    }
    EXPECT_EQ(k, 28u);
    EXPECT_EQ(Random(), draws[28]);
}

} // namespace
