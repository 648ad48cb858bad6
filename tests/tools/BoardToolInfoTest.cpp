// boardtool info end to end: the JSON of a board file, the problems it finds in broken boards
// (and none in sound ones), and its exit codes.
#include "support/BoardBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace Fixture;

namespace {

std::string BoardTool()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return std::string(dir ? dir : ".") + "/boardtool";
}

ProcessResult RunInfo(const TempDir& dir, const std::string& bytes)
{
    WriteFile(dir.Path("board"), bytes);
    return RunProcess(BoardTool(), {"info", dir.Path("board")});
}

// The texts of the "problems" list: the tool prints one per line.
std::vector<std::string> Problems(const std::string& json)
{
    std::vector<std::string> problems;
    const size_t start = json.find("\"problems\": [");
    if (start == std::string::npos) {
        ADD_FAILURE() << "no problems list in " << json;
        return problems;
    }
    size_t line = json.find('\n', start);
    while (line != std::string::npos) {
        const size_t end = json.find('\n', line + 1);
        std::string text = json.substr(line + 1, end - line - 1);
        const size_t open = text.find('"');
        const size_t close = text.rfind('"');
        if (open == std::string::npos || open == close) {
            break;
        }
        problems.push_back(text.substr(open + 1, close - open - 1));
        line = end;
    }
    return problems;
}

Board WithCell(Board board, size_t index, std::vector<uint32_t> corners)
{
    board.cells[index] = std::move(corners);
    return board;
}

// A board with one more cell on points of its own.
Board WithExtraCell(Board board, const BoardPoints& corners)
{
    std::vector<uint32_t> cell;
    for (const auto& point : corners) {
        cell.push_back(uint32_t(board.points.size()));
        board.points.push_back(point);
    }
    board.cells.push_back(cell);
    return board;
}

TEST(BoardToolInfoTest, PrintsTheBoardAsJson)
{
    TempDir dir;
    const ProcessResult result = RunInfo(dir, TriangleRow(7).Bytes());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    // Seven triangles share six of their 21 sides.
    EXPECT_EQ(result.out, "{\n"
                          "  \"name\": \"Test\",\n"
                          "  \"cellSize\": 30,\n"
                          "  \"target\": 1000,\n"
                          "  \"points\": 9,\n"
                          "  \"edges\": 15,\n"
                          "  \"cells\": 7,\n"
                          "  \"sides\": {\"3\": 7},\n"
                          "  \"problems\": []\n"
                          "}\n");
}

TEST(BoardToolInfoTest, CountsCellsBySideCountAndEscapesTheName)
{
    struct Case
    {
        const char* what;
        Board board;
        std::vector<std::string> expected; // substrings of the output
    };
    // Squares with a triangle on top of the middle one.
    Board house = SquareGrid(3, 1, 30.0f, 0.0f, 30.0f);
    house.points.emplace_back(45.0f, 0.0f);
    house.cells.insert(house.cells.begin() + 1, {1, 8, 2});
    house.cellSize = 40.0f;
    house.target = 4000000000u;
    house.name = u"a\"b\\c\x01\u00c4\U0001F600\xD800";
    // A regular twelve-sided cell beside seven triangles.
    BoardPoints twelve;
    for (int i = 0; i < 12; ++i) {
        twelve.emplace_back(float(120 + 50 * std::cos(i * M_PI / 6)),
                            float(160 + 50 * std::sin(i * M_PI / 6)));
    }
    const Case cases[] = {
        {"house",
         house,
         {"\"name\": \"a\\\"b\\\\c\\u0001\xC3\x84\xF0\x9F\x98\x80\\ud800\",\n", "\"cellSize\": 40,",
          "\"target\": 4000000000,", "\"points\": 9,",
          // 4 sides per square and 3 for the triangle, less 3 shared.
          "\"edges\": 12,", "\"cells\": 4,", "\"sides\": {\"3\": 1, \"4\": 3},"}},
        {"twelve sides",
         WithExtraCell(TriangleRow(7), twelve),
         {"\"points\": 21,", "\"edges\": 27,", "\"sides\": {\"3\": 7, \"12\": 1},"}},
        {"hexagon fan", HexagonFan(), {"\"edges\": 12,", "\"sides\": {\"3\": 6},"}},
        {"four by four squares",
         SquareGrid(4, 4),
         {"\"points\": 25,", "\"edges\": 40,", "\"sides\": {\"4\": 16},"}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProcessResult result = RunInfo(dir, c.board.Bytes());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        for (const std::string& text : c.expected) {
            EXPECT_NE(result.out.find(text), std::string::npos) << text << " in " << result.out;
        }
        EXPECT_TRUE(Problems(result.out).empty()) << result.out;
    }
}

TEST(BoardToolInfoTest, ReportsEachProblemOfABrokenBoard)
{
    // A dart: the corner at (120, 115) points into the cell.
    const BoardPoints dart = {{100, 100}, {120, 115}, {140, 100}, {120, 150}};
    // A five-pointed star drawn in one stroke turns the same way at every corner, but twice.
    BoardPoints star;
    for (int k = 0; k < 5; ++k) {
        const double angle = (-90 + 144 * k) * M_PI / 180;
        star.emplace_back(float(120 + 40 * std::cos(angle)), float(200 + 40 * std::sin(angle)));
    }
    // Cell 1 of the squares on points of its own at the places of points 1 and 9.
    Board unshared = SquareStrip(7);
    unshared.points.emplace_back(30.005f, 0.0f);
    unshared.points.emplace_back(30.0f, 30.0f);
    unshared.cells[1] = {16, 2, 10, 17};
    const std::string triangles = TriangleRow(7).Bytes();

    struct Case
    {
        const char* what;
        std::string bytes;
        std::vector<std::string> problems; // each the start of one problem, in order
        std::string also = "";             // more expected output
    };
    const Case cases[] = {
        {"cell listed backwards",
         WithCell(SquareStrip(7), 2, {2, 10, 11, 3}).Bytes(),
         {"cell 2 is not clockwise on the screen"}},
        {"dart", WithExtraCell(SquareStrip(7), dart).Bytes(), {"cell 7 is not convex"}},
        {"star", WithExtraCell(SquareStrip(7), star).Bytes(), {"cell 7 is not convex"}},
        {"corners right of the screen",
         SquareGrid(7, 1, 30.0f, 31.0f, 0.0f).Bytes(),
         {"point 7 (241, 0) lies outside the 240x320 screen",
          "point 15 (241, 30) lies outside the 240x320 screen"}},
        {"corner above the screen",
         WithExtraCell(SquareStrip(7), {{100, 100}, {110, -0.5f}, {120, 100}}).Bytes(),
         {"point 17 (110, -0.5) lies outside the 240x320 screen"}},
        {"points that should be shared",
         unshared.Bytes(),
         {"points 1 and 16 lie at the same position (30, 0)",
          "points 9 and 17 lie at the same position (30, 30)"},
         "\"edges\": 23,"},
        // Header 16 bytes with the name "Test", target, P = 9 at 20, the points from 24.
        {"cut inside the points",
         triangles.substr(0, 30),
         {"the file ends early: the field at byte 24"},
         "\"points\": 0,"},
        // The points end at 96, the cell count at 100, 16 bytes per cell: cell 6 at 196 has
        // its side count but only two of its three corners.
        {"cut inside the last cell",
         triangles.substr(0, triangles.size() - 4),
         {"the file ends early: the field at byte 200"},
         "\"cells\": 6,"},
        {"one cell", SquareStrip(1).Bytes(), {"the board has fewer than 2 cells (1)"}},
        {"two cells", SquareStrip(2).Bytes(), {"no colouring leaves every cell incomplete"}},
        {"two sides", WithCell(TriangleRow(7), 2, {1, 6}).Bytes(), {"cell 2 has 2 sides"}},
        {"thirteen sides",
         WithCell(TriangleRow(7), 2, {1, 6, 2, 1, 6, 2, 1, 6, 2, 1, 6, 2, 1}).Bytes(),
         {"cell 2 has 13 sides"}},
        {"missing point",
         WithCell(TriangleRow(7), 3, {6, 7, 9}).Bytes(),
         {"cell 3, corner 2: there is no point 9 (9 points)"}},
        {"four sides that are one side",
         WithCell(TriangleRow(7), 0, {0, 5, 0, 5}).Bytes(),
         {"cell 0 lists a corner twice", "cell 0 has no area",
          "no colouring leaves every cell incomplete"}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProcessResult result = RunInfo(dir, c.bytes);
        const std::vector<std::string> found = Problems(result.out);
        ASSERT_EQ(found.size(), c.problems.size()) << result.out;
        for (size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].rfind(c.problems[i], 0), 0u) << found[i];
        }
        EXPECT_NE(result.out.find(c.also), std::string::npos) << result.out;
        if (c.problems.empty()) {
            EXPECT_EQ(result.exitCode, 0);
        } else {
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(result.err, "boardtool: " + dir.Path("board") + ": " +
                                      std::to_string(c.problems.size()) +
                                      (c.problems.size() == 1 ? " problem\n" : " problems\n"));
        }
    }
}

TEST(BoardToolInfoTest, ExitCodes)
{
    TempDir dir;
    const std::string usage = "usage: boardtool info BOARD\n";
    struct Case
    {
        const char* what;
        std::vector<std::string> args;
        int exitCode;
        std::string err; // the start of standard error
    };
    const Case cases[] = {
        {"no command", {}, 2, "usage: boardtool COMMAND"},
        {"unknown command", {"inform"}, 2, "boardtool: unknown command 'inform'\nusage:"},
        {"no board", {"info"}, 2, usage},
        {"two boards", {"info", "a", "b"}, 2, usage},
        {"an option", {"info", "--json"}, 2, usage},
        {"missing file",
         {"info", dir.Path("none")},
         1,
         "boardtool: cannot read " + dir.Path("none") + "\n"},
        {"a folder",
         {"info", dir.Root().string()},
         1,
         "boardtool: cannot read " + dir.Root().string() + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProcessResult result = RunProcess(BoardTool(), c.args);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
        EXPECT_EQ(result.out, "");
    }
    const ProcessResult help = RunProcess(BoardTool(), {"info", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind(usage, 0), 0u) << help.out;
}

} // namespace
