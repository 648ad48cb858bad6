// boardtool info: what a board file holds, as JSON, and every problem that keeps it from
// being a sound board for the game.
#include "Commands.h"
#include "ToolSupport.h"
#include "game/BoardFile.h"
#include "game/Grid.h"
#include "game/Random.h"
#include "io/MemoryStream.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
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

constexpr float ScreenWidth = 240.0f;
constexpr float ScreenHeight = 320.0f;
// Two points closer than this on both axes are meant to be one shared point.
constexpr float SamePointDistance = 0.01f;

const char* const InfoUsage =
    "usage: boardtool info BOARD\n"
    "Prints the board file BOARD as JSON: its name, cell size, target, the numbers of points,\n"
    "sides and cells, how many cells have each side count, and the problems found in it.\n"
    "Exits with 1 when there is a problem.\n";

int Fail(const std::string& message)
{
    std::fprintf(stderr, "boardtool: %s\n", message.c_str());
    return ExitFailed;
}

// The shortest text that reads back as the same float.
std::string FloatText(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string PointText(const BoardPoint& point)
{
    // Appended piece by piece: GCC 12 warns falsely about "literal" + std::string&& at -O2.
    std::string text = "(";
    text += FloatText(point.x);
    text += ", ";
    text += FloatText(point.y);
    text += ")";
    return text;
}

std::string JsonString(const std::string& ascii)
{
    return ::JsonString(std::u16string(ascii.begin(), ascii.end()));
}

// The number of distinct sides, as the game would make them: a side joins two points in
// either orientation.
size_t CountSides(const BoardFile& board)
{
    std::set<std::pair<uint32_t, uint32_t>> sides;
    for (const auto& corners : board.cells) {
        for (size_t i = 0; i < corners.size(); ++i) {
            const uint32_t a = corners[i];
            const uint32_t b = corners[(i + 1) % corners.size()];
            sides.insert(std::minmax(a, b));
        }
    }
    return sides.size();
}

// The cells' corners as coordinates, with repeats of one position in a row dropped.
std::vector<BoardPoint> Outline(const BoardFile& board, const std::vector<uint32_t>& corners)
{
    std::vector<BoardPoint> outline;
    for (uint32_t corner : corners) {
        const BoardPoint& point = board.points[corner];
        if (outline.empty() || point.x != outline.back().x || point.y != outline.back().y) {
            outline.push_back(point);
        }
    }
    while (outline.size() > 1 && outline.front().x == outline.back().x &&
           outline.front().y == outline.back().y) {
        outline.pop_back();
    }
    return outline;
}

// Convexity and orientation of one cell whose corners are all points of the board. On the
// screen y grows downwards, so a clockwise outline has a positive shoelace area here.
void CheckShape(const BoardFile& board, size_t index, std::vector<std::string>& problems)
{
    const std::string cell = "cell " + std::to_string(index);
    const std::vector<uint32_t>& corners = board.cells[index];
    if (std::set<uint32_t>(corners.begin(), corners.end()).size() != corners.size()) {
        problems.push_back(cell + " lists a corner twice");
    }
    const std::vector<BoardPoint> outline = Outline(board, corners);
    const size_t n = outline.size();
    double area = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const BoardPoint& p = outline[i];
        const BoardPoint& q = outline[(i + 1) % n];
        area += double(p.x) * q.y - double(q.x) * p.y;
    }
    if (n < 3 || std::abs(area) < 1e-6) {
        problems.push_back(cell + " has no area");
        return;
    }
    // Every turn bends the same way and the turns add up to one full turn: a star outline
    // turns one way at every corner too, but twice around.
    bool left = false;
    bool right = false;
    double turning = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const BoardPoint& p = outline[i];
        const BoardPoint& q = outline[(i + 1) % n];
        const BoardPoint& r = outline[(i + 2) % n];
        const double ax = double(q.x) - p.x, ay = double(q.y) - p.y;
        const double bx = double(r.x) - q.x, by = double(r.y) - q.y;
        const double cross = ax * by - ay * bx;
        const double dot = ax * bx + ay * by;
        const double scale = std::hypot(ax, ay) * std::hypot(bx, by);
        right = right || cross > 1e-9 * scale;
        left = left || cross < -1e-9 * scale;
        turning += std::atan2(cross, dot);
    }
    const bool oneTurn = std::abs(std::abs(turning) - 2 * std::numbers::pi) < 1e-6;
    if ((left && right) || !oneTurn) {
        problems.push_back(cell + " is not convex");
    }
    if (area < 0) {
        problems.push_back(cell + " is not clockwise on the screen");
    }
}

bool OnScreen(const BoardPoint& point)
{
    return point.x >= 0.0f && point.x <= ScreenWidth && point.y >= 0.0f && point.y <= ScreenHeight;
}

void CheckPoints(const BoardFile& board, std::vector<std::string>& problems)
{
    std::vector<bool> used(board.points.size());
    for (const auto& corners : board.cells) {
        for (uint32_t corner : corners) {
            if (corner < used.size()) {
                used[corner] = true;
            }
        }
    }
    for (size_t i = 0; i < board.points.size(); ++i) {
        if (used[i] && !OnScreen(board.points[i])) {
            problems.push_back("point " + std::to_string(i) + " " + PointText(board.points[i]) +
                               " lies outside the 240x320 screen");
        }
    }
    // Neighbours in x order, so that a large board does not compare every pair. A point that
    // is not a number is off the screen already and cannot be ordered.
    std::vector<uint32_t> order;
    for (uint32_t i = 0; i < board.points.size(); ++i) {
        if (std::isfinite(board.points[i].x) && std::isfinite(board.points[i].y)) {
            order.push_back(i);
        }
    }
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return board.points[a].x < board.points[b].x ||
               (board.points[a].x == board.points[b].x && a < b);
    });
    std::vector<std::pair<uint32_t, uint32_t>> same;
    for (size_t i = 0; i < order.size(); ++i) {
        const BoardPoint& p = board.points[order[i]];
        for (size_t j = i + 1; j < order.size(); ++j) {
            const BoardPoint& q = board.points[order[j]];
            if (q.x - p.x > SamePointDistance) {
                break;
            }
            if (std::abs(q.y - p.y) <= SamePointDistance) {
                same.push_back(std::minmax(order[i], order[j]));
            }
        }
    }
    std::sort(same.begin(), same.end());
    for (const auto& [a, b] : same) {
        problems.push_back("points " + std::to_string(a) + " and " + std::to_string(b) +
                           " lie at the same position " + PointText(board.points[a]) +
                           "; cells meeting there should share one point");
    }
}

// The problems of the file's structure that LoadGrid rejects a board for.
void CheckStructure(const BoardFile& board, bool whole, std::vector<std::string>& problems)
{
    // Of a short file only the cells read in full are known.
    if (whole && board.cells.size() < MinBoardCells) {
        problems.push_back("the board has fewer than 2 cells (" +
                           std::to_string(board.cells.size()) + ")");
    }
    for (size_t c = 0; c < board.cells.size(); ++c) {
        const std::vector<uint32_t>& corners = board.cells[c];
        const std::string cell = "cell " + std::to_string(c);
        if (corners.size() < MinCellSides || corners.size() > MaxCellSides) {
            problems.push_back(cell + " has " + std::to_string(corners.size()) +
                               " sides; 3 to 12 are allowed");
        }
        for (size_t i = 0; i < corners.size(); ++i) {
            if (corners[i] >= board.points.size()) {
                problems.push_back(cell + ", corner " + std::to_string(i) + ": there is no point " +
                                   std::to_string(corners[i]) + " (" +
                                   std::to_string(board.points.size()) + " points)");
            }
        }
    }
}

std::vector<std::string> FindProblems(const BoardFile& board, bool whole, uint32_t shortAt,
                                      std::string bytes)
{
    std::vector<std::string> problems;
    if (!whole) {
        problems.push_back("the file ends early: the field at byte " + std::to_string(shortAt) +
                           " does not fit in it");
    }
    CheckStructure(board, whole, problems);
    const bool structureSound = whole && problems.empty();
    for (size_t c = 0; c < board.cells.size(); ++c) {
        if (IsSoundCell(board.cells[c], board.points.size())) {
            CheckShape(board, c, problems);
        }
    }
    CheckPoints(board, problems);
    // A structurally sound board the game still cannot load: its recolouring of complete cells
    // never ends.
    if (structureSound) {
        IO::MemoryStream stream;
        stream.Open(reinterpret_cast<uint8_t*>(bytes.data()), uint32_t(bytes.size()));
        SeedRandom(123);
        Grid grid;
        if (!LoadGrid(grid, stream)) {
            problems.push_back("no colouring leaves every cell incomplete: the recolouring of "
                               "complete cells never ends");
        }
    }
    return problems;
}

void PrintJson(const BoardFile& board, const std::vector<std::string>& problems)
{
    std::map<size_t, size_t> histogram;
    for (const auto& corners : board.cells) {
        ++histogram[corners.size()];
    }
    std::string out = "{\n";
    out += "  \"name\": " + ::JsonString(board.name) + ",\n";
    out += "  \"cellSize\": " +
           (std::isfinite(board.cellSize) ? FloatText(board.cellSize) : std::string("null")) +
           ",\n";
    out += "  \"target\": " + std::to_string(board.target) + ",\n";
    out += "  \"points\": " + std::to_string(board.points.size()) + ",\n";
    out += "  \"edges\": " + std::to_string(CountSides(board)) + ",\n";
    out += "  \"cells\": " + std::to_string(board.cells.size()) + ",\n";
    out += "  \"sides\": {";
    for (auto it = histogram.begin(); it != histogram.end(); ++it) {
        out += (it == histogram.begin() ? "" : ", ") + JsonString(std::to_string(it->first)) +
               ": " + std::to_string(it->second);
    }
    out += "},\n";
    out += "  \"problems\": [";
    for (size_t i = 0; i < problems.size(); ++i) {
        out += (i == 0 ? "\n    " : ",\n    ") + JsonString(problems[i]);
    }
    out += problems.empty() ? "]\n" : "\n  ]\n";
    out += "}\n";
    std::fputs(out.c_str(), stdout);
}

} // namespace

int RunInfo(const Arguments& args)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(InfoUsage, stdout);
        return ExitOk;
    }
    if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
        std::fputs(InfoUsage, stderr);
        return ExitUsage;
    }
    const std::string& path = args[0];
    std::error_code error;
    std::ifstream file(path, std::ios::binary);
    if (!std::filesystem::is_regular_file(path, error) || !file.is_open()) {
        return Fail("cannot read " + path);
    }
    std::string bytes{std::istreambuf_iterator<char>(file), {}};
    if (file.bad()) {
        return Fail("cannot read " + path);
    }
    if (bytes.size() > UINT32_MAX) {
        return Fail(path + " is too large for a board file");
    }

    IO::MemoryStream stream;
    stream.Open(reinterpret_cast<uint8_t*>(bytes.data()), uint32_t(bytes.size()));
    BoardFile board;
    uint32_t shortAt = 0;
    const bool whole = ReadBoardFile(stream, board, &shortAt);
    const std::vector<std::string> problems = FindProblems(board, whole, shortAt, bytes);
    PrintJson(board, problems);
    if (std::fflush(stdout) != 0) {
        return Fail("cannot write to standard output");
    }
    if (!problems.empty()) {
        return Fail(path + ": " + std::to_string(problems.size()) +
                    (problems.size() == 1 ? " problem" : " problems"));
    }
    return ExitOk;
}
