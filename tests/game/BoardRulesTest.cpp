// The board rules through a session: turns from the stylus and the keys, their animation and
// commit, the completion cycle and its sounds, the shuffle, and the Classic rule with its win.
#include "game/BoardRules.h"

#include "SessionFixture.h"
#include "game/Bonuses.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace SessionTest;

namespace {

using Colours = std::vector<uint32_t>;
const Colours Squares = {4, 4, 4, 4, 4, 4, 4, 4};

TEST(BoardRules, ATurnMovesTheColoursOneSideAndTheNeighbourFollows)
{
    // Triangle 0 of the row shares its side 1 with side 2 of triangle 1. Direction false moves
    // (r, g, b) to (b, r, g), true to (g, b, r).
    struct Case
    {
        bool keys, keyHeld, dragUp;
        Colours after;
    };
    const Case cases[] = {{false, false, true, {2, 3, 1}},  // anticlockwise drag
                          {false, false, false, {3, 1, 2}}, // clockwise drag
                          {true, false, false, {2, 3, 1}},  // keys: the drag means nothing
                          {true, true, true, {3, 1, 2}}};   // a held key turns back
    for (const Case& c : cases) {
        Play play(Fixture::TriangleRow(8));
        play.settings.stylus = c.keys ? 0 : 1;
        play.Start();
        play.Paint(0, {1, 2, 3});
        play.Paint(1, {4, 5, 2});
        if (c.keyHeld) {
            play.session.OnBoardKeyDown();
        }
        play.Turn(0, c.dragUp);
        play.Frames(5);
        EXPECT_EQ(play.Colours(0), (Colours{1, 2, 3})) << "the colours wait for the commit";
        play.Frame();
        EXPECT_EQ(play.Colours(0), c.after);
        EXPECT_EQ(play.Colours(1)[2], c.after[1]);
        EXPECT_EQ(play.session.TurningCell(), nullptr);
    }
}

TEST(BoardRules, DragAroundTheCentreChoosesTheDirection)
{
    // Around a centre at the origin on a screen whose y grows downwards.
    struct Case
    {
        float px, py, qx, qy;
        bool anticlockwise;
    };
    const Case cases[] = {
        {10, 0, 10, -5, true},   {10, 0, 10, 5, false}, // right of the centre, up and down
        {0, 10, 5, 10, true},    {-10, 0, -10, 5, true},
        {0, -10, 5, -10, false}, {10, 0, 100, -1, true}, // released far away: only the sense counts
        {10, 0, 10, 0, false},   {10, 0, 20, 0, false},  // no drag, straight outwards
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DragDirection(c.px, c.py, c.qx, c.qy, 0, 0), c.anticlockwise)
            << c.px << "," << c.py << " -> " << c.qx << "," << c.qy;
    }
}

TEST(BoardRules, InputWaitsForTurnsAndCompletions)
{
    Play play(IsolatedCells(Squares));
    play.Start();
    // Outside every cell: nothing is pressed, the lift is ignored and the point stays.
    play.session.OnBoardStylusDown(230, 310);
    play.session.OnBoardStylusUp(230, 300);
    EXPECT_EQ(play.session.TurningCell(), nullptr);
    EXPECT_EQ(play.session.PressX(), 230.0f);
    EXPECT_EQ(play.session.PressY(), 310.0f);

    play.Turn(0, true);
    play.Turn(1, true); // while cell 0 turns
    EXPECT_EQ(play.session.TurningCell(), &play.cell(0));
    play.Frames(6);
    play.Complete(2);
    play.Frame();
    play.Turn(1, true); // while cell 2 completes
    EXPECT_EQ(play.session.TurningCell(), nullptr);
    play.Frames(7);
    play.Mix(2);
    play.Turn(1, true);
    EXPECT_EQ(play.session.TurningCell(), &play.cell(1));
}

TEST(BoardRules, ATurnLastsTurnFramesFramesWhileItsAngleGrows)
{
    struct Case
    {
        uint32_t speedBonus; // 0 for none
        uint32_t turnFrames;
        uint16_t step; // 65535 / (turnFrames x 4) for a square
    };
    for (const Case& c :
         {Case{0, 5, 3276}, Case{Bonus::FastTurns, 3, 5461}, Case{Bonus::SlowTurns, 7, 2340}}) {
        Play play(IsolatedCells(Squares));
        play.Start();
        if (c.speedBonus) {
            play.session.PlaceBonus(play.cell(1), c.speedBonus);
            play.Complete(1);
            play.Frames(8);
            play.Mix(1);
        }
        ASSERT_EQ(play.session.TurnFrames(), c.turnFrames);
        play.Paint(0, {0, 1, 2, 3});
        for (const bool direction : {true, false}) {
            const Colours before = play.Colours(0);
            play.Turn(0, direction);
            for (uint32_t k = 1; k <= c.turnFrames; ++k) {
                play.Frame();
                const auto angle = uint16_t(direction ? k * c.step : 65536 - k * c.step);
                EXPECT_EQ(play.session.TurnAngle(), angle) << c.turnFrames << " frame " << k;
                EXPECT_EQ(play.Colours(0), before);
            }
            play.Frame();
            EXPECT_NE(play.Colours(0), before) << c.turnFrames;
            EXPECT_EQ(play.session.TurnAngle(), 0);
            EXPECT_FALSE(play.grid().edges[play.cell(0).edges[0]].moving);
        }
    }
}

TEST(BoardRules, ACompletionAnimatesSevenFramesThenScoresAndRecolours)
{
    Play play(IsolatedCells(Squares));
    play.Start();
    play.Complete(3, 2);
    for (uint32_t k = 1; k <= 7; ++k) {
        play.Frame();
        ASSERT_EQ(play.session.CompletionList(), std::vector<GridCell*>{&play.cell(3)});
        EXPECT_EQ(play.session.CompletionFrame(), k);
        EXPECT_EQ(play.session.SpinAngle(), uint16_t(2340 * k));
        EXPECT_TRUE(play.grid().edges[play.cell(3).edges[1]].marked);
        EXPECT_EQ(play.Colours(3), (Colours{2, 2, 2, 2}));
    }
    play.Frame();
    EXPECT_TRUE(play.session.CompletionList().empty());
    EXPECT_EQ(play.session.SpinAngle(), 0);
    EXPECT_FALSE(play.cell(3).complete);
    EXPECT_FALSE(play.grid().edges[play.cell(3).edges[1]].marked);
    EXPECT_EQ(play.session.PendingPoints(), 3u);
    play.Mix(3);
    play.Frame();
    EXPECT_EQ(play.session.Score(), 3u);
}

TEST(BoardRules, SoundsOfMovesAndCompletions)
{
    struct Case
    {
        uint32_t first, second; // side counts of the completed cells (0: none)
        const char* sound;
    };
    for (const Case& c :
         {Case{4, 0, "Snd_Animation"}, Case{3, 0, "Snd_Animation"}, Case{5, 0, "Snd_Animation"},
          Case{6, 0, "Snd_BigAnimation"}, Case{3, 3, "Snd_BigAnimation"}}) {
        Sounds sounds;
        Play play(IsolatedCells({c.first, c.second ? c.second : 4, 4, 4, 4, 4, 4, 4}));
        play.session.SetSounds(sounds.manager.get());
        play.Start();
        play.Complete(0);
        if (c.second) {
            play.Complete(1);
        }
        play.Frame();
        EXPECT_EQ(sounds.Take(), std::vector<std::string>{std::string("play ") + c.sound});
    }
    // A move restarts its sound.
    Sounds sounds;
    Play play(IsolatedCells(Squares));
    play.session.SetSounds(sounds.manager.get());
    play.Start();
    play.Turn(0, true);
    play.Frames(6);
    play.Turn(1, true);
    EXPECT_EQ(sounds.Take(),
              (std::vector<std::string>{"play Snd_Move", "stop Snd_Move", "play Snd_Move"}));
}

TEST(BoardRules, GreyAndRebalanceTopsUpColoursThatFallShort)
{
    // Three squares in a row: edges 0-3 are cell 0's sides (greyed here), 4-6 the top, right
    // and bottom of cell 1, 7-9 those of cell 2. The smallest cell has 4 sides.
    struct Case
    {
        Colours before;
        std::array<uint32_t, 7> counts; // of colours 0 to 6 afterwards
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0, 2, 2, 2, 2}, {4, 0, 4, 0, 0, 0, 2}}, // 2 sides left: 2 come back
        {{1, 1, 1, 1, 2, 2, 2, 2, 2, 2}, {0, 0, 6, 0, 0, 0, 4}}, // none left: gone for good
        {{3, 3, 3, 3, 0, 1, 2, 2, 2, 2}, {4, 2, 4, 0, 0, 0, 0}}, // the first short colour first
    };
    for (const Case& c : cases) {
        Play play(Fixture::SquareGrid(3, 1));
        play.Start();
        for (size_t i = 0; i < c.before.size(); ++i) {
            play.grid().edges[i].colour = c.before[i];
        }
        GreyAndRebalance(play.grid(), play.cell(0));
        std::array<uint32_t, 7> counts{};
        for (const GridEdge& edge : play.grid().edges) {
            ++counts[edge.colour];
        }
        EXPECT_EQ(counts, c.counts) << c.before[0];
    }
    // Which grey sides: picked at random from the list of grey edges, each pick leaving it.
    Play play(Fixture::SquareGrid(3, 1));
    play.Start();
    Colours expected = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1};
    for (size_t i = 0; i < expected.size(); ++i) {
        play.grid().edges[i].colour = expected[i];
    }
    SeedRandom(4);
    GreyAndRebalance(play.grid(), play.cell(0)); // colour 0 keeps 1 side: 3 grey sides return
    std::fill(expected.begin(), expected.begin() + 4, Grey);
    std::vector<uint32_t> grey = {0, 1, 2, 3};
    for (const uint32_t draw : Draws(4, 3)) {
        const size_t i = draw % grey.size();
        expected[grey[i]] = 0;
        grey.erase(grey.begin() + long(i));
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(play.grid().edges[i].colour, expected[i]) << i;
    }
}

TEST(BoardRules, ClassicIsWonWhenTheLastColourTurnsGrey)
{
    Play play(Fixture::SquareGrid(4, 2), GameMode::Classic);
    play.effects.SetTrigTable(&Trig());
    play.Start();
    for (GridEdge& edge : play.grid().edges) {
        edge.colour = Grey;
    }
    play.Complete(5, 3);
    play.Frames(7);
    EXPECT_EQ(play.session.GetState(), BoardState::Playing);
    play.Frame();
    ASSERT_EQ(play.session.GetState(), BoardState::Won);
    const BoardSnapshot& last = play.session.FinalSnapshot();
    EXPECT_EQ(std::count(last.edgeColours.begin(), last.edgeColours.end(), Grey), 22);
    // The square's points stay pending; the score is the time bonus, 180 seconds / 3.
    EXPECT_EQ(last.pendingPoints, 3u);
    EXPECT_EQ(play.session.Result().score, 60u);
    // The rest of that frame did not run: the square's burst has not moved.
    EXPECT_EQ(play.effects.ImageEffects().size(), 36u);
    EXPECT_EQ(play.effects.ImageEffects()[0].age, 0u);
}

TEST(BoardRules, AShuffleRecoloursEverySideThatIsNotGreyWhenItsAnimationEnds)
{
    Play play(IsolatedCells(Squares));
    play.Start();
    play.grid().edges[play.cell(7).edges[0]].colour = Grey;
    play.session.PlaceBonus(play.cell(0), Bonus::Shuffle);
    play.Complete(0);
    play.Frames(8);
    ASSERT_TRUE(play.session.ShuffleActive());
    EXPECT_EQ(play.session.BonusCell(), &play.cell(0));
    for (const GridEdge& edge : play.grid().edges) {
        EXPECT_EQ(edge.marked, edge.colour != Grey);
    }
    play.Mix(0);
    play.Frames(6);
    EXPECT_EQ(play.session.SpinAngle(), uint16_t(7 * 4681));
    SeedRandom(4242);
    play.Frame();
    EXPECT_FALSE(play.session.ShuffleActive());
    EXPECT_EQ(play.session.BonusCell(), nullptr);
    const std::vector<uint32_t> draws = Draws(4242, 31);
    for (size_t i = 0, k = 0; i < play.grid().edges.size(); ++i) {
        const GridEdge& edge = play.grid().edges[i];
        EXPECT_FALSE(edge.marked);
        EXPECT_EQ(edge.colour, i == play.cell(7).edges[0] ? Grey : draws[k++] % 6) << i;
    }
}

} // namespace
