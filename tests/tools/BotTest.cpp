// The autoplay bot against the game's own board session: its plans turn cells the way the
// game turns them, plans that need the cell's own turns as well as its neighbours' are played
// out to a completion, and its play does not go round in circles.
#include "Bot.h"

#include "HeadlessBoard.h"
#include "game/Random.h"
#include "game/Scoring.h"
#include "support/BoardBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Side indices of the squares of Fixture::SquareGrid: corners from the top-left, clockwise.
constexpr uint32_t Top = 0;
constexpr uint32_t Right = 1;
constexpr uint32_t Bottom = 2;
constexpr uint32_t Left = 3;

// Taps the move's cell at its centre as a player does under key control, a key held for
// direction false.
void Tap(BoardSession& session, const Grid& grid, const BotMove& move)
{
    const GridCell& cell = *grid.cells[move.cell];
    const auto x = static_cast<int32_t>(std::lround(cell.centreX));
    const auto y = static_cast<int32_t>(std::lround(cell.centreY));
    if (!move.direction) {
        session.OnBoardKeyDown();
    }
    session.OnBoardStylusDown(x, y);
    session.OnBoardStylusUp(x, y);
    session.OnBoardKeyUp();
}

// A 3 x 3 board of squares in play, with colours set by hand.
struct BotFixture
{
    BotFixture() : board(Fixture::SquareGrid(3, 3).Bytes(), Options(), trig)
    {
        EXPECT_TRUE(board.Start());
        Grid& grid = Board();
        // No two sides of a cell alike: 0 to 3 by side around every cell, then the shared
        // sides of cell 0's neighbours in 4 and 5, so that nothing completes by accident.
        for (const auto& cell : grid.cells) {
            for (uint32_t k = 0; k < cell->sides; ++k) {
                grid.edges[cell->edges[k]].colour = k;
            }
        }
        SetSide(1, Left, 4);
        SetSide(3, Top, 5);
    }

    Grid& Board() { return *board.Session().GetGrid(); }
    void SetSide(size_t cell, uint32_t side, uint32_t colour)
    {
        Board().edges[Board().cells[cell]->edges[side]].colour = colour;
    }
    uint32_t SideColour(size_t cell, uint32_t side)
    {
        return Board().edges[Board().cells[cell]->edges[side]].colour;
    }

    // Plays the move and runs the frames until the turn and any completion it caused are
    // over.
    void Play(const BotMove& move)
    {
        ASSERT_TRUE(move.found);
        BoardSession& session = board.Session();
        Tap(session, Board(), move);
        for (int frame = 0; frame < 30; ++frame) {
            board.Update();
            board.NextFrame();
        }
        ASSERT_EQ(session.TurningCell(), nullptr);
        ASSERT_TRUE(session.CompletionList().empty());
    }

    static Headless::Options Options()
    {
        Headless::Options options;
        options.keys = true; // a held key picks the direction
        return options;
    }

    Graphics::TrigTable trig;
    Headless::HeadlessBoard board;
};

TEST(Bot, TurnsTheNeighbourThatCompletesACellTheGamesWay)
{
    BotFixture f;
    // Cell 0 lacks colour 1 on its right side only; cell 1 has colour 1 one turn away from
    // that side, its top: a turn that gives every side the next side's colour brings it.
    f.SetSide(0, Top, 1);
    f.SetSide(0, Bottom, 1);
    f.SetSide(0, Left, 1);
    f.SetSide(1, Top, 1);
    Bot bot(f.Board());
    BotMove first;
    EXPECT_EQ(bot.PlanTurns(f.Board(), 0, 1, first), 1);
    EXPECT_EQ(bot.PlanTurns(f.Board(), 0, 2, first), -1) << "colour 2 lies on no side near";

    const BotMove move = bot.Choose(f.Board());
    EXPECT_EQ(move.cell, 1u);
    EXPECT_TRUE(move.direction);
    f.Play(move);
    EXPECT_EQ(f.board.Session().Score(), CellPoints(4));
}

TEST(Bot, PlaysOutAPlanOfItsOwnTurnsAndItsNeighbours)
{
    BotFixture f;
    // Cell 0 has colour 1 on its right, bottom and left sides but not on its top, an edge of
    // the board that only its own turns can change. Cell 1 has colour 1 on its top. The plan:
    // turn cell 0 to move the colours one side on (the top's colour goes to the right side),
    // then turn cell 1 to bring its colour 1 onto that side.
    f.SetSide(0, Right, 1);
    f.SetSide(0, Bottom, 1);
    f.SetSide(0, Left, 1);
    f.SetSide(1, Top, 1);
    ASSERT_NE(f.SideColour(0, Top), 1u);
    Bot bot(f.Board());
    BotMove first;
    ASSERT_EQ(bot.PlanTurns(f.Board(), 0, 1, first), 2);
    EXPECT_EQ(first.cell, 0u);
    EXPECT_FALSE(first.direction);

    f.Play(bot.Choose(f.Board()));
    EXPECT_EQ(f.SideColour(0, Top), 1u) << "the left side's colour moved onto the top";
    EXPECT_EQ(bot.PlanTurns(f.Board(), 0, 1, first), 1) << "the plan got one turn shorter";
    f.Play(bot.Choose(f.Board()));
    EXPECT_EQ(f.board.Session().Score(), CellPoints(4));
}

TEST(Bot, ScoresFromEverySeedOfASmallBoard)
{
    // Two squares of four with three colours: plans that undo each other's turns are easily
    // found here, and a bot that follows them scores nothing for the whole board.
    const std::string bytes = Fixture::SquareGrid(2, 2, 40.0f, 40.0f, 80.0f).Bytes();
    Graphics::TrigTable trig;
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        Headless::HeadlessBoard board(bytes, BotFixture::Options(), trig);
        SeedRandom(seed);
        ASSERT_TRUE(board.Start());
        BoardSession& session = board.Session();
        Bot bot(*session.GetGrid());
        // Two minutes at a move a second.
        for (uint64_t frame = 0; frame < 120 * Headless::FramesPerSecond; ++frame) {
            if (frame % Headless::FramesPerSecond == 0 && !session.TurningCell() &&
                session.CompletionList().empty()) {
                const BotMove move = bot.Choose(*session.GetGrid());
                ASSERT_TRUE(move.found);
                Tap(session, *session.GetGrid(), move);
            }
            board.Update();
            board.NextFrame();
        }
        EXPECT_GT(session.Score(), 0u) << "seed " << seed;
    }
}

} // namespace
