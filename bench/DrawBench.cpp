// One frame of the board as the game screen draws it: a screen-filling board of triangles
// (about 300 sides, two thirds of them slanted) with images of the real sizes for cell size 30.
#include "game/BoardDrawing.h"
#include "graphics/Surface16.h"
#include "graphics/TrigTable.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

using Graphics::Surface16;
using Graphics::TrigTable;

namespace {

// The game's table, generated in memory, so the benchmark needs no generated content.
const TrigTable& Trig()
{
    static const TrigTable table = [] {
        TrigTable t;
        t.Generate();
        return t;
    }();
    return table;
}

// Images of the real sizes: 7 side bars of 27x9 with translucent rims, a round 9x9 joint, a
// triangle picture of side 30 and an opaque background.
struct Images
{
    Images()
    {
        target.Create(240, 320, false);
        background.Create(240, 320, false);
        for (uint32_t i = 0; i < 240 * 320; ++i) {
            background.Pixels()[i] = static_cast<uint16_t>(i * 7);
        }
        strip.Create(27, 63, true);
        for (int y = 0; y < 63; ++y) {
            for (int x = 0; x < 27; ++x) {
                strip.Pixels()[y * 27 + x] = static_cast<uint16_t>(0x1111 * (y / 9 + 1) + x);
                strip.Alpha()[y * 27 + x] = (y % 9 == 0 || y % 9 == 8) ? 96 : 255;
            }
        }
        joint.Create(9, 9, true);
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 9; ++x) {
                joint.Pixels()[y * 9 + x] = 0xFFFF;
                joint.Alpha()[y * 9 + x] = std::hypot(x - 4, y - 4) <= 4.5 ? 255 : 0;
            }
        }
        // Opaque inside the triangle with its base along the top, transparent around it.
        triangle.Create(30, 26, true);
        for (int y = 0; y < 26; ++y) {
            for (int x = 0; x < 30; ++x) {
                triangle.Pixels()[y * 30 + x] = 0x6B4D;
                triangle.Alpha()[y * 30 + x] =
                    std::abs(x + 0.5 - 15) <= 15 - y * 15 / 26.0 ? 255 : 0;
            }
        }
    }

    Surface16 target, background, strip, joint, triangle;
};

// Triangles of side 30 in bands 26 pixels high: rows of lattice points, every odd row shifted
// right by half a side. Each band holds 14 triangles pointing down and up, listed clockwise on
// screen; sides are shared between neighbours and coloured 0 to 6 in turn. 7 bands make 161
// sides, 11 bands (the whole screen) 249; two thirds of them are slanted.
std::unique_ptr<Grid> TriangleBoard(uint32_t bands)
{
    constexpr uint32_t columns = 7; // points per row: 0..columns
    const uint32_t rows = bands;
    auto grid = std::make_unique<Grid>();
    grid->cellSize = 30.0f;
    for (uint32_t r = 0; r <= rows; ++r) {
        for (uint32_t c = 0; c <= columns; ++c) {
            grid->points.push_back(
                {3.0f + 30.0f * c + (r % 2 ? 15.0f : 0.0f), 10.0f + 26.0f * r, false});
        }
    }
    auto addCell = [&](std::vector<uint32_t> corners) {
        auto cell = std::make_unique<GridCell>();
        cell->sides = static_cast<uint32_t>(corners.size());
        cell->corners = corners;
        cell->corners.push_back(corners.front());
        for (size_t i = 0; i < corners.size(); ++i) {
            GridPoint* a = &grid->points[cell->corners[i]];
            GridPoint* b = &grid->points[cell->corners[i + 1]];
            uint32_t index = 0;
            while (index < grid->edges.size() &&
                   !(grid->edges[index].a == b && grid->edges[index].b == a)) {
                ++index;
            }
            if (index == grid->edges.size()) {
                grid->edges.push_back({index % 7, a, b, false, false});
            }
            cell->edges.push_back(index);
            cell->centreX += a->x / static_cast<float>(corners.size());
            cell->centreY += a->y / static_cast<float>(corners.size());
        }
        grid->cells.push_back(std::move(cell));
    };
    for (uint32_t r = 0; r < rows; ++r) {
        const uint32_t top = r * (columns + 1);
        const uint32_t bottom = top + columns + 1;
        for (uint32_t c = 0; c < columns; ++c) {
            if (r % 2 == 0) {
                // The lower row lies half a side to the right.
                addCell({top + c, top + c + 1, bottom + c});
                addCell({bottom + c, top + c + 1, bottom + c + 1});
            } else {
                addCell({bottom + c, top + c, bottom + c + 1});
                addCell({top + c, top + c + 1, bottom + c + 1});
            }
        }
    }
    return grid;
}

void Frame(benchmark::State& state, bool smooth, bool underCells)
{
    Images images;
    const std::unique_ptr<Grid> grid = TriangleBoard(static_cast<uint32_t>(state.range(0)));
    BoardPicture picture(Trig());
    picture.target = &images.target;
    picture.background = &images.background;
    picture.sideImage = &images.strip;
    picture.jointImage = &images.joint;
    picture.cellImages.fill(&images.triangle);
    picture.grid = grid.get();
    picture.antialiasing = smooth;
    picture.underCells = underCells;
    for (auto _ : state) {
        DrawBoard(picture);
        benchmark::DoNotOptimize(images.target.Pixels()[0]);
    }
    state.counters["sides"] = static_cast<double>(grid->edges.size());
}

void BM_BoardSmooth(benchmark::State& state)
{
    Frame(state, true, false);
}
void BM_BoardSmoothUnderCells(benchmark::State& state)
{
    Frame(state, true, true);
}
void BM_BoardNearest(benchmark::State& state)
{
    Frame(state, false, false);
}

} // namespace

BENCHMARK(BM_BoardSmooth)->ArgName("bands")->Arg(7)->Arg(11)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoardSmoothUnderCells)
    ->ArgName("bands")
    ->Arg(7)
    ->Arg(11)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoardNearest)->ArgName("bands")->Arg(7)->Arg(11)->Unit(benchmark::kMicrosecond);
