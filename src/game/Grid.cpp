// The board model: building a Grid from a board file (shared sides, the first colouring, no
// cell left complete) and the geometric and colour queries of the rules and the drawing.
#include "game/Grid.h"

#include "game/BoardFile.h"
#include "game/Random.h"

#include <algorithm>
#include <unordered_map>

namespace {

// A board whose recolouring still leaves a complete cell after this many rounds is rejected
// instead of looping forever. The boards known never to get there are rejected before the
// first round (see AlwaysComplete); this bounds whatever else might.
constexpr uint32_t MaxRecolourRounds = 1'000'000;

void ClearGrid(Grid& grid)
{
    grid.cellSize = 0.0f;
    grid.name.clear();
    grid.cells.clear();
    grid.edges.clear();
    grid.points.clear();
    grid.minSides = 0;
    grid.target = 0;
}

// The number of colours a side of the grid may take: six, fewer on a board of under 7 cells.
uint32_t ColourLimit(const Grid& grid)
{
    const uint32_t fewer = static_cast<uint32_t>(grid.cells.size()) - 1;
    // At least one colour, so that a hand-made grid of a single cell cannot divide by zero.
    return std::max(1u, std::min(ColourCount, fewer));
}

void BuildGrid(Grid& grid, const BoardFile& board)
{
    grid.cellSize = board.cellSize;
    grid.name = board.name;
    grid.target = board.target;
    // Edges point into this array: it is complete before the first edge is made.
    grid.points.reserve(board.points.size());
    for (const BoardPoint& point : board.points) {
        grid.points.push_back({point.x, point.y, false});
    }
    // The side joining two corners, in either orientation, by their point indices: what
    // FindEdge answers, without a search of all the sides for every side of a large board.
    std::unordered_map<uint64_t, uint32_t> sides;
    sides.reserve(board.cells.size() * 2);
    for (const std::vector<uint32_t>& corners : board.cells) {
        auto cell = std::make_unique<GridCell>();
        const auto n = static_cast<uint32_t>(corners.size());
        cell->sides = n;
        cell->corners = corners;
        cell->corners.push_back(corners[0]);
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t from = cell->corners[i];
            const uint32_t to = cell->corners[i + 1];
            const uint64_t key = uint64_t{std::min(from, to)} << 32 | std::max(from, to);
            const auto [side, added] =
                sides.try_emplace(key, static_cast<uint32_t>(grid.edges.size()));
            if (added) {
                // Only a new side draws a colour, and it draws before it joins the grid.
                const uint32_t colour = Random() % ColourCount;
                grid.edges.push_back({colour, &grid.points[from], &grid.points[to], false, false});
            }
            cell->edges.push_back(side->second);
        }
        ComputeCentre(grid, *cell);
        grid.cells.push_back(std::move(cell));
    }
}

// True when some cell is complete whatever the colours: every side of the grid takes the one
// colour there is, or a cell's sides are all one side.
bool AlwaysComplete(const Grid& grid)
{
    if (ColourLimit(grid) == 1) {
        return true;
    }
    return std::any_of(grid.cells.begin(), grid.cells.end(), [](const auto& cell) {
        return std::all_of(cell->edges.begin(), cell->edges.end(),
                           [&](uint32_t edge) { return edge == cell->edges[0]; });
    });
}

// Recolours complete cells, in cells order, until none is left; false when that does not end.
bool RemoveCompleteCells(Grid& grid)
{
    // Known at once, rather than after a million rounds over every cell.
    if (AlwaysComplete(grid)) {
        return false;
    }
    for (uint32_t round = 0; FindCompleteCells(grid); ++round) {
        if (round == MaxRecolourRounds) {
            return false;
        }
        for (auto& cell : grid.cells) {
            if (cell->complete) {
                RecolourCell(grid, *cell);
                cell->complete = false;
            }
        }
    }
    return true;
}

} // namespace

bool LoadGrid(Grid& grid, IO::DirectoryNode* directory, std::u16string_view fileName)
{
    ClearGrid(grid);
    if (!directory || !directory->owner) {
        return false;
    }
    std::unique_ptr<IO::FileReader> file = directory->owner->OpenForRead(directory, fileName);
    if (!file || !file->GetStream()) {
        return false;
    }
    return LoadGrid(grid, *file->GetStream());
}

bool LoadGrid(Grid& grid, IO::Stream& stream)
{
    ClearGrid(grid);
    BoardFile board;
    if (!ReadBoardFile(stream, board) || board.cells.size() < MinBoardCells) {
        return false;
    }
    for (const auto& corners : board.cells) {
        if (!IsSoundCell(corners, board.points.size())) {
            return false;
        }
    }
    BuildGrid(grid, board);
    const auto cellCount = static_cast<uint32_t>(grid.cells.size());
    if (cellCount < 7) {
        RecolourAll(grid, cellCount - 1);
    }
    if (!RemoveCompleteCells(grid)) {
        ClearGrid(grid);
        return false;
    }
    grid.minSides = MinSideCount(grid);
    return true;
}

int32_t FindEdge(const Grid& grid, const GridPoint* a, const GridPoint* b)
{
    for (size_t i = 0; i < grid.edges.size(); ++i) {
        const GridEdge& edge = grid.edges[i];
        if ((edge.a == a && edge.b == b) || (edge.a == b && edge.b == a)) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void ComputeCentre(const Grid& grid, GridCell& cell)
{
    if (cell.corners.size() < 2) {
        return; // no corners: no centre
    }
    const auto m = static_cast<uint32_t>(cell.corners.size() - 1);
    float sumX = 0.0f;
    float sumY = 0.0f;
    for (uint32_t i = 0; i < m; ++i) {
        sumX += grid.points[cell.corners[i]].x;
        sumY += grid.points[cell.corners[i]].y;
    }
    cell.centreX = sumX / static_cast<float>(m);
    cell.centreY = sumY / static_cast<float>(m);
}

GridCell* CellAt(Grid& grid, float x, float y)
{
    for (auto& cell : grid.cells) {
        bool outside = false;
        for (size_t i = 0; i + 1 < cell->corners.size() && !outside; ++i) {
            const GridPoint& v = grid.points[cell->corners[i]];
            const GridPoint& w = grid.points[cell->corners[i + 1]];
            const float dy = v.y - w.y;
            const float dx = v.x - w.x;
            // dy * (v.x - x) - dx * (v.y - y), evaluated in this order so that a point on a
            // border gives the same answer on every build.
            const float s = (-dy * x + dx * y) + dy * v.x - dx * v.y;
            outside = s > 0.0f;
        }
        if (!outside) {
            return cell.get();
        }
    }
    return nullptr;
}

bool FindCompleteCells(Grid& grid)
{
    bool found = false;
    for (auto& cell : grid.cells) {
        if (cell->edges.empty()) {
            continue;
        }
        // A grey side never counts, so a cell of grey sides is never complete.
        const uint32_t colour = grid.edges[cell->edges[0]].colour;
        const bool complete =
            colour != Grey &&
            std::all_of(cell->edges.begin() + 1, cell->edges.end(),
                        [&](uint32_t edge) { return grid.edges[edge].colour == colour; });
        if (complete) {
            cell->complete = true;
            found = true;
        }
    }
    return found;
}

void RecolourCell(Grid& grid, GridCell& cell)
{
    const uint32_t k = ColourLimit(grid);
    for (uint32_t edge : cell.edges) {
        grid.edges[edge].colour = Random() % k;
    }
}

void RecolourAll(Grid& grid, uint32_t count)
{
    // A count of 0 would divide by zero; it colours everything with colour 0 instead.
    const uint32_t k = std::max(count, 1u);
    for (GridEdge& edge : grid.edges) {
        edge.colour = Random() % k;
    }
}

uint32_t MinSideCount(const Grid& grid)
{
    if (grid.cells.empty()) {
        return 0;
    }
    uint32_t least = grid.cells[0]->sides;
    for (const auto& cell : grid.cells) {
        least = std::min(least, cell->sides);
    }
    return least;
}

bool AllGrey(const Grid& grid)
{
    return std::all_of(grid.edges.begin(), grid.edges.end(),
                       [](const GridEdge& edge) { return edge.colour == Grey; });
}
