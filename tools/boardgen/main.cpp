// boardgen: writes the board files of the game from the hand-written table of boards: each
// board is a tiling of regular polygons cut to a region and centred in the play area.
// Usage: boardgen TABLE OUTDIR
#include "Tilings.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace BoardGen;

namespace {

// The play area: the whole 240x320 screen below the 40-pixel heads-up display, less a margin.
constexpr double Margin = 4.0;
constexpr double AreaLeft = 0.0 + Margin;
constexpr double AreaRight = 240.0 - Margin;
constexpr double AreaTop = 40.0 + Margin;
constexpr double AreaBottom = 320.0 - Margin;
// Corners of neighbouring cells closer than this (in pixels) are one shared point.
constexpr double SamePoint = 1e-3;

struct BoardSpec
{
    int line = 0;
    std::string name;
    std::string tiling;
    double cellSize = 0.0;
    std::string shape; // "rect" or "circle"
    double width = 0.0;
    double height = 0.0; // the diameter for a circle
    uint32_t target = 0;
    double rotate = 0.0; // degrees
    Vec shift;           // in cell sides
};

bool Fail(const std::string& message)
{
    std::fprintf(stderr, "boardgen: %s\n", message.c_str());
    return false;
}

bool ParseNumber(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

bool ParsePair(const std::string& text, char separator, double& first, double& second)
{
    const size_t at = text.find(separator);
    return at != std::string::npos && ParseNumber(text.substr(0, at), first) &&
           ParseNumber(text.substr(at + 1), second);
}

bool ParseRegion(const std::string& text, BoardSpec& spec)
{
    if (text.starts_with("rect:")) {
        spec.shape = "rect";
        return ParsePair(text.substr(5), 'x', spec.width, spec.height) && spec.width > 0 &&
               spec.height > 0;
    }
    if (text.starts_with("circle:")) {
        spec.shape = "circle";
        double radius = 0.0;
        if (!ParseNumber(text.substr(7), radius) || radius <= 0) {
            return false;
        }
        spec.width = spec.height = 2.0 * radius;
        return true;
    }
    return false;
}

// One line of the table: name tiling size region target [rotate=DEG] [shift=X,Y].
bool ParseLine(const std::string& text, int line, BoardSpec& spec)
{
    const std::string where = "line " + std::to_string(line) + ": ";
    std::istringstream words(text);
    std::string size;
    std::string region;
    std::string target;
    spec.line = line;
    if (!(words >> spec.name >> spec.tiling >> size >> region >> target)) {
        return Fail(where + "expected: name tiling size region target [options]");
    }
    if (!ParseNumber(size, spec.cellSize) || (spec.cellSize != 30.0 && spec.cellSize != 40.0)) {
        return Fail(where + "the cell size must be 30 or 40, not '" + size + "'");
    }
    if (!ParseRegion(region, spec)) {
        return Fail(where + "bad region '" + region + "' (rect:WxH or circle:R, in pixels)");
    }
    double value = 0.0;
    if (!ParseNumber(target, value) || value < 1 || value > 1e9 || value != std::floor(value)) {
        return Fail(where + "bad target '" + target + "'");
    }
    spec.target = uint32_t(value);
    std::string option;
    while (words >> option) {
        if (option.starts_with("rotate=") && ParseNumber(option.substr(7), spec.rotate)) {
            continue;
        }
        if (option.starts_with("shift=") &&
            ParsePair(option.substr(6), ',', spec.shift.x, spec.shift.y)) {
            continue;
        }
        return Fail(where + "bad option '" + option + "' (rotate=DEG or shift=X,Y)");
    }
    for (char c : spec.name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        if (!plain) {
            return Fail(where + "board names use a-z, 0-9 and '-' only: '" + spec.name + "'");
        }
    }
    return true;
}

bool ReadTable(const std::string& path, std::vector<BoardSpec>& specs)
{
    std::ifstream file(path);
    if (!file) {
        return Fail("cannot read " + path);
    }
    std::string text;
    int line = 0;
    while (std::getline(file, text)) {
        ++line;
        text = text.substr(0, text.find('#'));
        if (text.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        BoardSpec spec;
        if (!ParseLine(text, line, spec)) {
            return false;
        }
        specs.push_back(spec);
    }
    return true;
}

struct Board
{
    std::vector<Vec> points;
    std::vector<std::vector<uint32_t>> cells;
};

bool Inside(const BoardSpec& spec, Vec p)
{
    constexpr double Slack = 1e-6;
    if (spec.shape == "circle") {
        return std::hypot(p.x, p.y) <= spec.width / 2.0 + Slack;
    }
    return std::abs(p.x) <= spec.width / 2.0 + Slack && std::abs(p.y) <= spec.height / 2.0 + Slack;
}

Vec Centre(const Polygon& polygon)
{
    Vec c;
    for (const Vec& p : polygon) {
        c.x += p.x / double(polygon.size());
        c.y += p.y / double(polygon.size());
    }
    return c;
}

// Twice the signed area; positive for corners clockwise on the screen, where y grows downwards.
double Area2(const Polygon& polygon)
{
    double sum = 0.0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Vec& p = polygon[i];
        const Vec& q = polygon[(i + 1) % polygon.size()];
        sum += p.x * q.y - q.x * p.y;
    }
    return sum;
}

uint32_t PointIndex(std::vector<Vec>& points, Vec p)
{
    for (size_t i = 0; i < points.size(); ++i) {
        if (std::hypot(points[i].x - p.x, points[i].y - p.y) < SamePoint) {
            return uint32_t(i);
        }
    }
    points.push_back(p);
    return uint32_t(points.size() - 1);
}

// Keeps the cells that share sides, directly or through others, with the largest group: a cut
// can leave a cell touching the rest only at a corner, or not at all.
std::vector<Polygon> LargestConnected(const std::vector<Polygon>& cells)
{
    std::vector<Vec> points;
    std::vector<std::vector<uint32_t>> corners;
    for (const Polygon& cell : cells) {
        corners.emplace_back();
        for (const Vec& p : cell) {
            corners.back().push_back(PointIndex(points, p));
        }
    }
    auto sideSet = [&](size_t c) {
        std::set<std::pair<uint32_t, uint32_t>> sides;
        for (size_t i = 0; i < corners[c].size(); ++i) {
            sides.insert(std::minmax(corners[c][i], corners[c][(i + 1) % corners[c].size()]));
        }
        return sides;
    };
    std::vector<int> group(cells.size(), -1);
    std::vector<size_t> sizes;
    for (size_t start = 0; start < cells.size(); ++start) {
        if (group[start] >= 0) {
            continue;
        }
        const int id = int(sizes.size());
        sizes.push_back(0);
        std::vector<size_t> todo = {start};
        group[start] = id;
        while (!todo.empty()) {
            const size_t c = todo.back();
            todo.pop_back();
            ++sizes[id];
            const auto sides = sideSet(c);
            for (size_t other = 0; other < cells.size(); ++other) {
                if (group[other] >= 0) {
                    continue;
                }
                const auto otherSides = sideSet(other);
                const bool touches = std::any_of(otherSides.begin(), otherSides.end(),
                                                 [&](const auto& s) { return sides.count(s); });
                if (touches) {
                    group[other] = id;
                    todo.push_back(other);
                }
            }
        }
    }
    const int best = int(std::max_element(sizes.begin(), sizes.end()) - sizes.begin());
    std::vector<Polygon> kept;
    for (size_t c = 0; c < cells.size(); ++c) {
        if (group[c] == best) {
            kept.push_back(cells[c]);
        }
    }
    return kept;
}

bool Layout(const BoardSpec& spec, Board& board)
{
    const std::string where = spec.name + " (line " + std::to_string(spec.line) + "): ";
    // The patch reaches past the region by two cells of the largest kind, in cell sides.
    const double reach = std::hypot(spec.width, spec.height) / 2.0 / spec.cellSize +
                         std::hypot(spec.shift.x, spec.shift.y) + 8.0;
    std::vector<Polygon> patch;
    if (!BuildPatch(spec.tiling, reach, patch)) {
        std::string known;
        for (const std::string& name : TilingNames()) {
            known += " " + name;
        }
        return Fail(where + "unknown tiling '" + spec.tiling + "' (known:" + known + ")");
    }
    if (!FillsThePlane(patch, spec.tiling == "5.10-ring" ? 2.0 : reach - 8.0)) {
        return Fail(where + "the tiling '" + spec.tiling + "' has gaps or overlaps");
    }
    // Into pixels around the region's centre: shift, turn, scale.
    const double turn = spec.rotate * std::numbers::pi / 180.0;
    std::vector<Polygon> cut;
    for (Polygon polygon : patch) {
        for (Vec& p : polygon) {
            const Vec s = {p.x + spec.shift.x, p.y + spec.shift.y};
            p = {spec.cellSize * (s.x * std::cos(turn) - s.y * std::sin(turn)),
                 spec.cellSize * (s.x * std::sin(turn) + s.y * std::cos(turn))};
        }
        if (std::all_of(polygon.begin(), polygon.end(),
                        [&](const Vec& p) { return Inside(spec, p); })) {
            cut.push_back(polygon);
        }
    }
    cut = LargestConnected(cut);
    if (cut.size() < 2) {
        return Fail(where + "the region holds fewer than 2 whole cells");
    }
    // Centred in the play area by the bounding box.
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const Polygon& polygon : cut) {
        for (const Vec& p : polygon) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    }
    const double dx = (AreaLeft + AreaRight) / 2.0 - (left + right) / 2.0;
    const double dy = (AreaTop + AreaBottom) / 2.0 - (top + bottom) / 2.0;
    if (right - left > AreaRight - AreaLeft || bottom - top > AreaBottom - AreaTop) {
        return Fail(where + "the cells span " + std::to_string(right - left) + " x " +
                    std::to_string(bottom - top) + " pixels, more than the play area");
    }
    // Cells row by row from the top, each clockwise on the screen; points in order of use.
    std::sort(cut.begin(), cut.end(), [](const Polygon& a, const Polygon& b) {
        const Vec ca = Centre(a), cb = Centre(b);
        if (std::abs(ca.y - cb.y) > 1e-6) {
            return ca.y < cb.y;
        }
        return ca.x < cb.x;
    });
    for (Polygon polygon : cut) {
        if (Area2(polygon) < 0) {
            std::reverse(polygon.begin(), polygon.end());
        }
        std::vector<uint32_t> corners;
        for (const Vec& p : polygon) {
            corners.push_back(PointIndex(board.points, {p.x + dx, p.y + dy}));
        }
        board.cells.push_back(corners);
    }
    return true;
}

void Put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out += char((v >> (8 * i)) & 0xFF);
    }
}

// The board's own name: its file name without the leading number, words separated by spaces,
// the first letter in capitals ("07-octagon-tiles" becomes "Octagon tiles").
std::u16string DisplayName(const std::string& fileName)
{
    std::string name = fileName.substr(std::min(fileName.find('-') + 1, fileName.size()));
    if (name.empty()) {
        name = fileName;
    }
    std::u16string out;
    for (char c : name) {
        out += char16_t(c == '-' ? ' ' : c);
    }
    if (!out.empty() && out[0] >= u'a' && out[0] <= u'z') {
        out[0] = char16_t(out[0] - u'a' + u'A');
    }
    return out;
}

// The board file: cell size, name, target, points, cells; little-endian throughout.
std::string BoardBytes(const BoardSpec& spec, const Board& board)
{
    std::string out;
    Put32(out, std::bit_cast<uint32_t>(float(spec.cellSize)));
    const std::u16string name = DisplayName(spec.name);
    Put32(out, uint32_t(name.size()));
    for (char16_t unit : name) {
        out += char(unit & 0xFF);
        out += char(unit >> 8);
    }
    Put32(out, spec.target);
    Put32(out, uint32_t(board.points.size()));
    for (const Vec& p : board.points) {
        Put32(out, std::bit_cast<uint32_t>(float(p.x)));
        Put32(out, std::bit_cast<uint32_t>(float(p.y)));
    }
    Put32(out, uint32_t(board.cells.size()));
    for (const auto& corners : board.cells) {
        Put32(out, uint32_t(corners.size()));
        for (uint32_t corner : corners) {
            Put32(out, corner);
        }
    }
    return out;
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    file.close();
    return bool(file) || Fail("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: boardgen TABLE OUTDIR\n"
                   "Writes one board file into OUTDIR for each board of TABLE and removes the\n"
                   "other files there, so that OUTDIR holds exactly the boards of the table.\n",
                   stderr);
        return 2;
    }
    std::vector<BoardSpec> specs;
    if (!ReadTable(argv[1], specs)) {
        return 1;
    }
    std::set<std::string> names;
    for (size_t i = 0; i < specs.size(); ++i) {
        if (!names.insert(specs[i].name).second) {
            Fail("line " + std::to_string(specs[i].line) + ": the name " + specs[i].name +
                 " is used twice");
            return 1;
        }
        // Boards play in the order of their names; the table lists them in that order too.
        if (i > 0 && specs[i].name < specs[i - 1].name) {
            Fail("line " + std::to_string(specs[i].line) + ": " + specs[i].name + " sorts before " +
                 specs[i - 1].name + "; boards play in name order");
            return 1;
        }
    }
    const std::filesystem::path outDir = argv[2];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    for (const BoardSpec& spec : specs) {
        Board board;
        if (!Layout(spec, board) || !WriteFile(outDir / spec.name, BoardBytes(spec, board))) {
            return 1;
        }
    }
    // Boards renamed or dropped from the table leave no file behind.
    for (const auto& entry : std::filesystem::directory_iterator(outDir, error)) {
        if (entry.is_regular_file() && !names.count(entry.path().filename().string())) {
            std::filesystem::remove(entry.path(), error);
        }
    }
    return 0;
}
