// The board model: side sharing and the first colouring of a loaded board (checked against the
// generator's formula replayed by hand), rejected board files, and the geometric and colour
// queries.
#include "game/Grid.h"

#include "game/Random.h"
#include "support/BoardBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Fixture;

namespace {

// The generator's formula replayed outside the game: the first `count` values after seeding.
std::vector<uint32_t> Draws(uint32_t seed, size_t count)
{
    std::vector<uint32_t> values;
    for (size_t i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        values.push_back((seed >> 16) & 0x7FFF);
    }
    return values;
}

std::vector<uint32_t> Colours(const Grid& grid)
{
    std::vector<uint32_t> colours;
    for (const GridEdge& edge : grid.edges) {
        colours.push_back(edge.colour);
    }
    return colours;
}

void ExpectEmpty(const Grid& grid)
{
    EXPECT_EQ(grid.cellSize, 0.0f);
    EXPECT_TRUE(grid.name.empty());
    EXPECT_TRUE(grid.points.empty());
    EXPECT_TRUE(grid.edges.empty());
    EXPECT_TRUE(grid.cells.empty());
    EXPECT_EQ(grid.minSides, 0u);
    EXPECT_EQ(grid.target, 0u);
}

TEST(GridTest, NeighboursShareOneSideAndOnlyNewSidesDrawAColour)
{
    // Seven squares in a row: 7 top, 7 bottom and 8 upright sides. Cell k > 0 lists its left
    // side from the bottom corner up, the reverse of cell k - 1's right side, and reuses it.
    SeedRandom(123);
    Grid grid;
    ASSERT_TRUE(LoadBoard(grid, SquareStrip(7)));
    ASSERT_EQ(grid.edges.size(), 22u);
    ASSERT_EQ(grid.cells.size(), 7u);
    EXPECT_EQ(grid.cells[0]->edges, (std::vector<uint32_t>{0, 1, 2, 3}));
    for (uint32_t k = 1; k < 7; ++k) {
        const uint32_t first = 4 + 3 * (k - 1);
        const uint32_t leftSide = k == 1 ? 1 : first - 2;
        EXPECT_EQ(grid.cells[k]->edges,
                  (std::vector<uint32_t>{first, first + 1, first + 2, leftSide}))
            << "cell " << k;
    }
    // The shared side keeps the orientation of the cell that made it: top-right to
    // bottom-right of cell 0 (points 1 and 9).
    EXPECT_EQ(grid.edges[1].a, &grid.points[1]);
    EXPECT_EQ(grid.edges[1].b, &grid.points[9]);
    EXPECT_EQ(FindEdge(grid, &grid.points[9], &grid.points[1]), 1);
    EXPECT_EQ(FindEdge(grid, &grid.points[0], &grid.points[9]), -1);

    // One draw per new side in creation order, none for a reused one; with 7 cells the colours
    // stay as drawn (no cell of this seed starts complete: see the colours below).
    const std::vector<uint32_t> draws = Draws(123, 23);
    std::vector<uint32_t> expected;
    for (size_t i = 0; i < 22; ++i) {
        expected.push_back(draws[i] % 6);
    }
    EXPECT_EQ(Colours(grid), expected);
    EXPECT_EQ(expected, (std::vector<uint32_t>{1, 0, 1, 0, 0, 1, 4, 0, 3, 3, 2,
                                               4, 0, 4, 4, 1, 4, 1, 0, 0, 3, 1}));
    EXPECT_EQ(Random(), draws[22]);
}

TEST(GridTest, SmallBoardIsRecolouredWithOneColourFewerThanItsCells)
{
    // Five squares: 16 sides drawn modulo 6, then all recoloured modulo 4, in edge order.
    SeedRandom(123);
    Grid grid;
    ASSERT_TRUE(LoadBoard(grid, SquareStrip(5)));
    ASSERT_EQ(grid.edges.size(), 16u);
    const std::vector<uint32_t> draws = Draws(123, 33);
    std::vector<uint32_t> expected;
    for (size_t i = 16; i < 32; ++i) {
        expected.push_back(draws[i] % 4);
    }
    // No square of these colours is complete, so they stay.
    EXPECT_EQ(expected, (std::vector<uint32_t>{0, 3, 2, 0, 1, 1, 3, 1, 2, 2, 1, 3, 3, 0, 0, 3}));
    EXPECT_EQ(Colours(grid), expected);
    EXPECT_EQ(Random(), draws[32]);
}

TEST(GridTest, CellsCompleteAfterTheFirstColouringAreRecolouredUntilNoneIs)
{
    struct Case
    {
        const char* what;
        Board board;
        uint32_t seed;
        std::vector<uint32_t> colours;
        size_t draws;
    };
    const Case cases[] = {
        // Seven triangles, 15 sides. Seed 4 draws the sides of the last triangle (12, 13, 14)
        // as 1, 1, 1; that cell alone is recoloured with draws 15 to 17 modulo 6: 3, 1, 5.
        {"seven triangles", TriangleRow(7), 4, {5, 4, 3, 3, 5, 2, 2, 5, 0, 3, 3, 5, 3, 1, 5}, 18},
        // Three triangles, 7 sides, two colours. Seed 12: after the recolouring with draws 7
        // to 13 the cells 1 and 2 (sides 3 4 1 and 4 5 6) are complete and are recoloured
        // together, cell 1 first; then cells 1, 0, 1, 2, 1, 2 in single rounds, each side of
        // a recoloured cell modulo 2, until draw 37.
        {"three triangles", TriangleRow(3), 12, {0, 1, 0, 0, 0, 0, 1}, 38},
        // Seven squares with seed 14: cell 0 (sides 0 to 3) starts all 0 and is recoloured
        // with draws 22 to 25 modulo 6.
        {"seven squares",
         SquareStrip(7),
         14,
         {1, 4, 0, 5, 2, 5, 3, 2, 1, 5, 1, 3, 1, 0, 4, 2, 0, 4, 0, 2, 2, 2},
         26},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeedRandom(c.seed);
        Grid grid;
        ASSERT_TRUE(LoadBoard(grid, c.board));
        EXPECT_EQ(Colours(grid), c.colours);
        EXPECT_EQ(Random(), Draws(c.seed, c.draws + 1).back());
        for (const auto& cell : grid.cells) {
            EXPECT_FALSE(cell->complete);
        }
    }

    // The first case by hand: the draws that made the last triangle complete and recoloured it.
    const std::vector<uint32_t> draws = Draws(4, 18);
    EXPECT_EQ(draws[12] % 6, 1u);
    EXPECT_EQ(draws[13] % 6, 1u);
    EXPECT_EQ(draws[14] % 6, 1u);
    EXPECT_EQ(std::vector<uint32_t>({draws[15] % 6, draws[16] % 6, draws[17] % 6}),
              std::vector<uint32_t>({3, 1, 5}));
}

TEST(GridTest, LoadsTheFieldsOfTheFile)
{
    struct Case
    {
        const char* what;
        std::u16string name;
    };
    const Case cases[] = {
        {"no name: the target follows at offset 8", u""},
        {"wide name", u"Ring \u00c4\u20ac\U0001F600"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Board board = TriangleRow(7);
        board.cellSize = 40.0f;
        board.target = 777;
        board.name = c.name;
        const std::string bytes = board.Bytes();
        ASSERT_EQ(bytes.size(), 8 + 2 * c.name.size() + 8 + 9 * 8 + 4 + 7 * 16);
        Grid grid;
        ASSERT_TRUE(LoadBoard(grid, bytes));
        EXPECT_EQ(grid.cellSize, 40.0f);
        EXPECT_EQ(grid.name, c.name);
        EXPECT_EQ(grid.target, 777u);
        ASSERT_EQ(grid.points.size(), 9u);
        EXPECT_EQ(grid.points[5].x, 15.0f);
        EXPECT_EQ(grid.points[5].y, 0.0f);
        EXPECT_EQ(grid.points[4].x, 120.0f);
        EXPECT_EQ(grid.points[4].y, 30.0f);
        ASSERT_EQ(grid.cells.size(), 7u);
        EXPECT_EQ(grid.cells[3]->corners, (std::vector<uint32_t>{6, 7, 2, 6}));
        EXPECT_EQ(grid.cells[3]->sides, 3u);
        EXPECT_EQ(grid.minSides, 3u);
        // Centre of the down triangle (45, 0), (75, 0), (60, 30).
        EXPECT_EQ(grid.cells[3]->centreX, 60.0f);
        EXPECT_EQ(grid.cells[3]->centreY, 10.0f);
    }
}

TEST(GridTest, AcceptsCellsOfThreeToTwelveSidesAndKeepsTheFewestAsMinSides)
{
    // Seven triangles and a twelve-sided cell on its own points around (120, 160).
    Board board = TriangleRow(7);
    std::vector<uint32_t> ring;
    for (int i = 0; i < 12; ++i) {
        const double angle = i * M_PI / 6;
        ring.push_back(uint32_t(board.points.size()));
        board.points.emplace_back(float(120 + 50 * std::cos(angle)),
                                  float(160 + 50 * std::sin(angle)));
    }
    board.cells.push_back(ring);
    Grid grid;
    ASSERT_TRUE(LoadBoard(grid, board));
    EXPECT_EQ(grid.cells[7]->sides, 12u);
    EXPECT_EQ(grid.cells[7]->edges.size(), 12u);
    EXPECT_EQ(grid.edges.size(), 15u + 12u);
    EXPECT_EQ(grid.minSides, 3u);

    // Squares with a triangle on top of the middle one: the fewest sides is 3 wherever that
    // cell comes.
    Board house = SquareGrid(3, 1, 30.0f, 0.0f, 30.0f);
    house.points.emplace_back(45.0f, 0.0f);
    house.cells.insert(house.cells.begin() + 1, {1, 8, 2});
    ASSERT_TRUE(LoadBoard(grid, house));
    EXPECT_EQ(grid.minSides, 3u);
    EXPECT_EQ(MinSideCount(grid), 3u);
    ASSERT_TRUE(LoadBoard(grid, SquareStrip(8)));
    EXPECT_EQ(grid.minSides, 4u);
}

// Cuts every field of a valid board short, and breaks each rule a playable board must keep.
TEST(GridTest, RejectsUnsoundFilesAndLeavesTheGridEmpty)
{
    const std::string valid = TriangleRow(7).Bytes();
    auto withCell = [](uint32_t index, std::vector<uint32_t> corners) {
        Board board = TriangleRow(7);
        board.cells[index] = std::move(corners);
        return board.Bytes();
    };
    auto firstCells = [](size_t count) {
        Board board = TriangleRow(7);
        board.cells.resize(count);
        return board.Bytes();
    };
    // Header of a board named "ab": cellSize, L = 2, the two units.
    std::string named;
    PutFloat(named, 30.0f);
    Put32(named, 2);
    Put16(named, 'a');
    Put16(named, 'b');
    auto header = [&](uint32_t nameLength) {
        std::string out;
        PutFloat(out, 30.0f);
        Put32(out, nameLength);
        return out;
    };
    auto withPoints = [&](uint32_t pointCount) {
        std::string out = named;
        Put32(out, 1000);
        Put32(out, pointCount);
        for (int i = 0; i < 8; ++i) {
            PutFloat(out, float(i));
        }
        return out;
    };
    auto withCellCount = [&](uint32_t cellCount, uint32_t sides) {
        std::string out = withPoints(4);
        Put32(out, cellCount);
        Put32(out, sides);
        for (uint32_t i = 0; i < 3; ++i) {
            Put32(out, i);
        }
        return out;
    };

    struct Case
    {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"name longer than the file", header(3) + std::string(4, 'x')},
        {"name length near 2^32", header(0xFFFFFFFFu) + std::string(64, 'x')},
        {"point count whose size wraps to 0 in 32 bits", withPoints(0x20000000u)},
        {"point count one more than the file holds", withPoints(5)},
        {"cell count whose size wraps to 0 in 32 bits", withCellCount(0x40000000u, 3)},
        {"side count whose size wraps to 0 in 32 bits", withCellCount(1, 0x40000000u)},
        {"side count larger than the rest", withCellCount(1, 4)},
        {"corner equal to the point count", withCell(3, {6, 7, 9})},
        {"corner 0xFFFFFFFF", withCell(6, {3, 8, 0xFFFFFFFFu})},
        {"cell of no sides", withCell(2, {})},
        {"cell of two sides", withCell(2, {1, 6})},
        {"cell of thirteen sides", withCell(2, {1, 6, 2, 1, 6, 2, 1, 6, 2, 1, 6, 2, 1})},
        {"no cell", firstCells(0)},
        {"one cell", firstCells(1)},
        {"two cells: one colour, always complete", firstCells(2)},
        {"a cell whose four sides are one side: always complete", withCell(0, {0, 5, 0, 5})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Grid grid;
        ASSERT_TRUE(LoadBoard(grid, valid)); // a failed load empties a filled grid
        EXPECT_FALSE(LoadBoard(grid, c.bytes));
        ExpectEmpty(grid);
    }
}

TEST(GridTest, RejectsEveryShortenedFile)
{
    const std::string valid = TriangleRow(7).Bytes();
    Grid grid;
    ASSERT_TRUE(LoadBoard(grid, valid));
    for (size_t length = 0; length < valid.size(); ++length) {
        EXPECT_FALSE(LoadBoard(grid, valid.substr(0, length))) << "length " << length;
        ExpectEmpty(grid);
    }
}

TEST(GridTest, LoadsFromADirectoryOfTheFileSystem)
{
    TempDir dir;
    WriteFile(dir.Root() / "grids" / "01", SquareStrip(7).Bytes());
    IO::FileSystem files;
    const std::string root = dir.Root().string();
    ASSERT_EQ(files.Mount(std::u16string(root.begin(), root.end())), 0);
    IO::DirectoryNode* grids = IO::FileSystem::FindDirectory(files.GetRoot(), u"grids");
    ASSERT_NE(grids, nullptr);

    Grid grid;
    EXPECT_TRUE(LoadGrid(grid, grids, u"01"));
    EXPECT_EQ(grid.cells.size(), 7u);
    EXPECT_FALSE(LoadGrid(grid, grids, u"02"));
    ExpectEmpty(grid);
    EXPECT_FALSE(LoadGrid(grid, nullptr, u"01"));
}

TEST(GridTest, CellAtFindsTheFirstCellHoldingThePoint)
{
    Board triangles = TriangleRow(7);
    Board swapped = triangles;
    std::swap(swapped.cells[0], swapped.cells[1]);
    struct Case
    {
        const char* what;
        Board board;
        float x, y;
        int expected; // the index of the cell in the file, -1 for none
    };
    const Case cases[] = {
        // Squares of side 30 in a row along y 0 to 30.
        {"inside the first square", SquareStrip(7), 15.0f, 15.0f, 0},
        {"inside the second square", SquareStrip(7), 45.0f, 29.5f, 1},
        {"border of squares 0 and 1", SquareStrip(7), 30.0f, 15.0f, 0},
        {"corner shared by squares 2 and 3", SquareStrip(7), 90.0f, 30.0f, 2},
        {"outer corner of the last square", SquareStrip(7), 210.0f, 0.0f, 6},
        {"left of the row", SquareStrip(7), -0.5f, 15.0f, -1},
        {"below the row", SquareStrip(7), 100.0f, 30.5f, -1},
        {"right of the row", SquareStrip(7), 210.25f, 15.0f, -1},
        // The slanted side from (15, 0) to (30, 30) between triangles 0 and 1: its midpoint
        // gives exactly 0 on both, so it belongs to whichever the file lists first.
        {"slanted border", triangles, 22.5f, 15.0f, 0},
        {"slanted border, cells swapped", swapped, 22.5f, 15.0f, 0},
        {"just right of the slanted border", triangles, 22.75f, 15.0f, 1},
        // Points next to the slanted border where rounding decides: the stated order of
        // operations gives exactly 0 for both triangles, dy * (v.x - x) - dx * (v.y - y)
        // would put the first point outside triangle 0 and the second outside triangle 1.
        {"rounding on the border", triangles, 0x1.11b992p+4f, 0x1.0dcc88p+2f, 0},
        {"rounding on the border, cells swapped", swapped, 0x1.54bfc4p+4f, 0x1.92ff14p+3f, 0},
        {"above the up triangle's left side", triangles, 5.0f, 15.0f, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeedRandom(1);
        Grid grid;
        ASSERT_TRUE(LoadBoard(grid, c.board));
        GridCell* found = CellAt(grid, c.x, c.y);
        if (c.expected < 0) {
            EXPECT_EQ(found, nullptr);
        } else {
            EXPECT_EQ(found, grid.cells[c.expected].get());
        }
    }
}

TEST(GridTest, ComputeCentreSumsInSinglePrecisionInCornerOrder)
{
    struct Case
    {
        const char* what;
        std::vector<std::pair<float, float>> corners;
        float x, y;
    };
    const Case cases[] = {
        {"quadrilateral", {{0, 0}, {10, 0}, {10, 5}, {1, 5}}, 5.25f, 2.5f},
        // 2^24 + 1 rounds back to 2^24 in single precision, so the two 1s are lost: 2^24 / 3
        // is 5592405.33, which rounds to 5592405.5. Summed in double it would be 5592406.
        {"large first corner", {{16777216, 3}, {1, 0}, {1, 0}}, 5592405.5f, 1.0f},
        // In the other order the 1s survive: (1 + 1 + 2^24) / 3 = 5592406.
        {"large last corner", {{1, 3}, {1, 0}, {16777216, 0}}, 5592406.0f, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Grid grid;
        GridCell cell;
        for (const auto& [x, y] : c.corners) {
            cell.corners.push_back(uint32_t(grid.points.size()));
            grid.points.push_back({x, y, false});
        }
        cell.corners.push_back(0);
        ComputeCentre(grid, cell);
        EXPECT_EQ(cell.centreX, c.x);
        EXPECT_EQ(cell.centreY, c.y);
    }
}

TEST(GridTest, FindCompleteCellsNeedsOneColourWithoutGrey)
{
    struct Case
    {
        const char* what;
        std::vector<uint32_t> colours; // of cell 0's sides
        bool complete;
    };
    const Case cases[] = {
        {"one colour", {2, 2, 2, 2}, true},
        {"colour 5", {5, 5, 5, 5}, true},
        {"one side differs", {2, 2, 3, 2}, false},
        {"the first side differs", {3, 2, 2, 2}, false},
        {"all grey", {Grey, Grey, Grey, Grey}, false},
        {"one grey side", {2, 2, Grey, 2}, false},
        {"grey first", {Grey, 2, 2, 2}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeedRandom(123);
        Grid grid;
        ASSERT_TRUE(LoadBoard(grid, SquareStrip(7)));
        // Cell 6 is not complete after loading; its flag, set by hand, must survive.
        grid.cells[6]->complete = true;
        for (size_t i = 0; i < 4; ++i) {
            grid.edges[grid.cells[0]->edges[i]].colour = c.colours[i];
        }
        EXPECT_EQ(FindCompleteCells(grid), c.complete);
        EXPECT_EQ(grid.cells[0]->complete, c.complete);
        EXPECT_TRUE(grid.cells[6]->complete);
        for (size_t k = 1; k < 6; ++k) {
            EXPECT_FALSE(grid.cells[k]->complete) << "cell " << k;
        }
    }
}

TEST(GridTest, AllGreyNeedsEverySideGrey)
{
    Grid grid;
    EXPECT_TRUE(AllGrey(grid));
    ASSERT_TRUE(LoadBoard(grid, TriangleRow(7)));
    EXPECT_FALSE(AllGrey(grid));
    for (GridEdge& edge : grid.edges) {
        edge.colour = Grey;
    }
    EXPECT_TRUE(AllGrey(grid));
    grid.edges.back().colour = 0;
    EXPECT_FALSE(AllGrey(grid));
}

// A grid of one cell (never loaded from a file) or a colour count of 0 would divide by zero;
// both colour with colour 0, still one draw per side.
TEST(GridTest, RecolouringWithNoColoursLeftGivesColourZero)
{
    SeedRandom(123);
    Grid grid;
    ASSERT_TRUE(LoadBoard(grid, TriangleRow(7)));
    SeedRandom(9);
    RecolourAll(grid, 0);
    EXPECT_EQ(Colours(grid), std::vector<uint32_t>(15, 0));
    EXPECT_EQ(Random(), Draws(9, 16).back());

    grid.cells.resize(1);
    for (GridEdge& edge : grid.edges) {
        edge.colour = 4;
    }
    SeedRandom(9);
    RecolourCell(grid, *grid.cells[0]);
    EXPECT_EQ(Colours(grid), (std::vector<uint32_t>{0, 0, 0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}));
    EXPECT_EQ(Random(), Draws(9, 4).back());
    EXPECT_EQ(MinSideCount(Grid{}), 0u);
}

} // namespace
