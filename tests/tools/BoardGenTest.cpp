// The generated boards of the build's content folder: each one sound for the game, regular
// cells of the board's cell size inside the play area, at least 30 of them in play order, and
// every side count from triangles to dodecagons somewhere.
#include "support/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string GameDir()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return dir ? dir : ".";
}

std::filesystem::path GridsDir()
{
    return std::filesystem::path(GameDir()) / ".." / "content" / "grids";
}

struct Point
{
    float x = 0.0f;
    float y = 0.0f;
};

struct Board
{
    std::string file;
    float cellSize = 0.0f;
    uint32_t target = 0;
    std::vector<Point> points;
    std::vector<std::vector<uint32_t>> cells;
};

// Reads the board file format field by field; false when the file ends early, has bytes past
// its last cell, or a corner names no point.
class Reader
{
public:
    explicit Reader(std::string bytes) : m_bytes(std::move(bytes)) {}
    bool U32(uint32_t& v)
    {
        if (m_bytes.size() - m_at < 4) {
            return false;
        }
        v = 0;
        for (int i = 3; i >= 0; --i) {
            v = (v << 8) | uint8_t(m_bytes[m_at + size_t(i)]);
        }
        m_at += 4;
        return true;
    }
    bool Float(float& f)
    {
        uint32_t v = 0;
        const bool ok = U32(v);
        f = std::bit_cast<float>(v);
        return ok;
    }
    bool Skip(size_t n)
    {
        if (m_bytes.size() - m_at < n) {
            return false;
        }
        m_at += n;
        return true;
    }
    bool AtEnd() const { return m_at == m_bytes.size(); }

private:
    std::string m_bytes;
    size_t m_at = 0;
};

bool ReadBoard(const std::filesystem::path& path, Board& board)
{
    std::ifstream file(path, std::ios::binary);
    Reader in{std::string(std::istreambuf_iterator<char>(file), {})};
    board.file = path.filename().string();
    uint32_t nameLength = 0;
    uint32_t pointCount = 0;
    uint32_t cellCount = 0;
    if (!in.Float(board.cellSize) || !in.U32(nameLength) || !in.Skip(2 * size_t(nameLength)) ||
        !in.U32(board.target) || !in.U32(pointCount) || pointCount > 100000) {
        return false;
    }
    board.points.resize(pointCount);
    for (Point& p : board.points) {
        if (!in.Float(p.x) || !in.Float(p.y)) {
            return false;
        }
    }
    if (!in.U32(cellCount) || cellCount > 100000) {
        return false;
    }
    for (uint32_t c = 0; c < cellCount; ++c) {
        uint32_t n = 0;
        if (!in.U32(n) || n > 64) {
            return false;
        }
        std::vector<uint32_t> corners(n);
        for (uint32_t& corner : corners) {
            if (!in.U32(corner) || corner >= pointCount) {
                return false;
            }
        }
        board.cells.push_back(corners);
    }
    return in.AtEnd();
}

std::vector<std::filesystem::path> BoardFiles()
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(GridsDir(), error)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<Board> Boards()
{
    std::vector<Board> boards;
    for (const auto& path : BoardFiles()) {
        Board board;
        EXPECT_TRUE(ReadBoard(path, board)) << path << " is not a whole board file";
        boards.push_back(board);
    }
    return boards;
}

// The game's order of board files: ascending by UTF-16 code units.
bool CodeUnitLess(const std::string& a, const std::string& b)
{
    const std::u16string ua(a.begin(), a.end());
    const std::u16string ub(b.begin(), b.end());
    return ua < ub;
}

double Distance(Point p, Point q)
{
    return std::hypot(double(p.x) - q.x, double(p.y) - q.y);
}

// Strictly inside a convex cell listed clockwise on the screen (y down), by more than slack.
bool StrictlyInside(const Board& board, const std::vector<uint32_t>& cell, double x, double y,
                    double slack)
{
    for (size_t i = 0; i < cell.size(); ++i) {
        const Point& v = board.points[cell[i]];
        const Point& w = board.points[cell[(i + 1) % cell.size()]];
        const double ex = double(w.x) - v.x, ey = double(w.y) - v.y;
        const double cross = ex * (y - v.y) - ey * (x - v.x);
        if (cross <= slack * std::hypot(ex, ey)) {
            return false;
        }
    }
    return true;
}

TEST(BoardGenTest, EveryBoardPassesTheBoardToolsChecks)
{
    const auto files = BoardFiles();
    ASSERT_FALSE(files.empty()) << "no boards in " << GridsDir();
    for (const auto& path : files) {
        const ProcessResult result = RunProcess(GameDir() + "/boardtool", {"info", path.string()});
        EXPECT_EQ(result.exitCode, 0) << path << ":\n" << result.out << result.err;
        EXPECT_NE(result.out.find("\"problems\": []"), std::string::npos) << result.out;
    }
}

TEST(BoardGenTest, ThirtyBoardsOrMoreWhoseNamesSortInPlayOrder)
{
    std::vector<std::string> names;
    for (const auto& path : BoardFiles()) {
        names.push_back(path.filename().string());
    }
    EXPECT_GE(names.size(), 30u);
    std::sort(names.begin(), names.end(), CodeUnitLess);
    // Sorted as the game sorts them, the files carry the board numbers 1, 2, 3, ... in turn.
    for (size_t i = 0; i < names.size(); ++i) {
        const int number = std::atoi(names[i].c_str());
        EXPECT_EQ(number, int(i + 1)) << names[i];
    }
}

TEST(BoardGenTest, EverySideCountFromThreeToTwelveAppears)
{
    std::set<size_t> counts;
    for (const Board& board : Boards()) {
        for (const auto& cell : board.cells) {
            counts.insert(cell.size());
        }
    }
    for (size_t sides : {3, 4, 5, 6, 8, 10, 12}) {
        EXPECT_TRUE(counts.count(sides)) << "no cell with " << sides << " sides";
    }
}

TEST(BoardGenTest, CellsAreRegularPolygonsOfTheBoardsCellSize)
{
    for (const Board& board : Boards()) {
        EXPECT_TRUE(board.cellSize == 30.0f || board.cellSize == 40.0f) << board.file;
        EXPECT_GE(board.cells.size(), 2u) << board.file;
        EXPECT_GT(board.target, 0u) << board.file;
        for (size_t c = 0; c < board.cells.size(); ++c) {
            const auto& cell = board.cells[c];
            const size_t n = cell.size();
            // Equal sides alone allow a rhombus; equal distances from the centre too make the
            // polygon regular.
            const double radius = board.cellSize / (2.0 * std::sin(std::numbers::pi / double(n)));
            Point centre;
            for (uint32_t corner : cell) {
                centre.x += board.points[corner].x / float(n);
                centre.y += board.points[corner].y / float(n);
            }
            for (size_t i = 0; i < n; ++i) {
                const Point& p = board.points[cell[i]];
                const Point& q = board.points[cell[(i + 1) % n]];
                EXPECT_NEAR(Distance(p, q), board.cellSize, 0.01)
                    << board.file << " cell " << c << " side " << i;
                EXPECT_NEAR(Distance(p, centre), radius, 0.01)
                    << board.file << " cell " << c << " corner " << i;
            }
        }
    }
}

TEST(BoardGenTest, CornersLieInThePlayAreaBelowTheHeadsUpDisplay)
{
    for (const Board& board : Boards()) {
        for (const auto& cell : board.cells) {
            for (uint32_t corner : cell) {
                const Point& p = board.points[corner];
                EXPECT_TRUE(p.x >= 0.0f && p.x <= 240.0f && p.y >= 40.0f && p.y <= 320.0f)
                    << board.file << " corner (" << p.x << ", " << p.y << ")";
            }
        }
    }
}

// Cells meet edge to edge: no cell covers another's centre, a side belongs to one or two
// cells, and every cell can be reached from every other across shared sides.
TEST(BoardGenTest, CellsMeetEdgeToEdgeInOneConnectedBoard)
{
    for (const Board& board : Boards()) {
        const size_t count = board.cells.size();
        if (count == 0) {
            continue; // a board without cells fails the checks of cell counts above
        }
        std::map<std::pair<uint32_t, uint32_t>, std::vector<size_t>> sides;
        for (size_t c = 0; c < count; ++c) {
            const auto& cell = board.cells[c];
            for (size_t i = 0; i < cell.size(); ++i) {
                sides[std::minmax(cell[i], cell[(i + 1) % cell.size()])].push_back(c);
            }
        }
        for (const auto& [side, owners] : sides) {
            EXPECT_LE(owners.size(), 2u)
                << board.file << " side " << side.first << "-" << side.second;
        }
        for (size_t c = 0; c < count; ++c) {
            double cx = 0.0, cy = 0.0;
            for (uint32_t corner : board.cells[c]) {
                cx += board.points[corner].x / double(board.cells[c].size());
                cy += board.points[corner].y / double(board.cells[c].size());
            }
            for (size_t other = 0; other < count; ++other) {
                EXPECT_FALSE(other != c && StrictlyInside(board, board.cells[other], cx, cy, 0.01))
                    << board.file << ": cell " << other << " covers the centre of cell " << c;
            }
        }
        std::vector<bool> reached(count);
        std::vector<size_t> todo = {0};
        reached[0] = true;
        while (!todo.empty()) {
            const size_t c = todo.back();
            todo.pop_back();
            const auto& cell = board.cells[c];
            for (size_t i = 0; i < cell.size(); ++i) {
                for (size_t other : sides[std::minmax(cell[i], cell[(i + 1) % cell.size()])]) {
                    if (!reached[other]) {
                        reached[other] = true;
                        todo.push_back(other);
                    }
                }
            }
        }
        EXPECT_EQ(std::count(reached.begin(), reached.end(), true), std::ptrdiff_t(count))
            << board.file << " falls apart into groups of cells";
    }
}

} // namespace
