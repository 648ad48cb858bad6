// Board files a player may hand the game, large or hopeless: the sharing of sides must take time
// growing with the board, not its square, and a board that can never be coloured is refused
// at once.
#include "game/Grid.h"
#include "support/BoardBuilder.h"
#include "support/Growth.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace Fixture;

namespace {

TEST(GridScaleTest, LargeBoardsShareTheirSidesInTimeGrowingWithTheirSize)
{
    ExpectLinearGrowth(2000, [](size_t cells) -> TimedStep {
        auto bytes = std::make_shared<std::string>(TriangleRow(uint32_t(cells)).Bytes());
        return [bytes, cells] {
            Grid grid;
            ASSERT_TRUE(LoadBoard(grid, *bytes));
            // n triangles in a row share n - 1 sides: 2n + 1 sides in all.
            EXPECT_EQ(grid.edges.size(), 2 * cells + 1);
            EXPECT_EQ(grid.cells[cells - 1]->edges[2], grid.cells[cells - 2]->edges[1]);
        };
    });
}

TEST(GridScaleTest, BoardsThatCanNeverBeColouredAreRejectedAtOnce)
{
    struct Case
    {
        const char* what;
        Board board;
    };
    Board degenerate = TriangleRow(2000);
    degenerate.cells.push_back({0, 1, 0, 1}); // four sides that are one side
    const Case cases[] = {
        {"a cell whose sides are all one side, among many", degenerate},
        {"two cells: a single colour", TriangleRow(2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string bytes = c.board.Bytes();
        Grid grid;
        bool loaded = true;
        // A million recolouring rounds over every cell would take many seconds.
        EXPECT_LT(CpuSeconds([&] { loaded = LoadBoard(grid, bytes); }), 1.0);
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(grid.cells.empty());
    }
}

} // namespace
