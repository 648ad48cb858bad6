// Builders of board files for tests: any board written field by field (damaged ones included),
// a few ready-made shapes, and loading a Grid straight from the bytes.
#pragma once

#include "game/Grid.h"
#include "io/MemoryStream.h"
#include "support/QpkBuilder.h"

#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Fixture {

using BoardPoints = std::vector<std::pair<float, float>>;
using BoardCells = std::vector<std::vector<uint32_t>>; // each cell's corners, without repeat

inline void PutFloat(std::string& out, float v)
{
    Put32(out, std::bit_cast<uint32_t>(v));
}

// A whole board file: each cell is written as its side count followed by its corners.
inline std::string BoardBytes(float cellSize, const std::u16string& name, uint32_t target,
                              const BoardPoints& points, const BoardCells& cells)
{
    std::string out;
    PutFloat(out, cellSize);
    Put32(out, uint32_t(name.size()));
    for (char16_t unit : name) {
        Put16(out, unit);
    }
    Put32(out, target);
    Put32(out, uint32_t(points.size()));
    for (const auto& [x, y] : points) {
        PutFloat(out, x);
        PutFloat(out, y);
    }
    Put32(out, uint32_t(cells.size()));
    for (const auto& corners : cells) {
        Put32(out, uint32_t(corners.size()));
        for (uint32_t corner : corners) {
            Put32(out, corner);
        }
    }
    return out;
}

// A board as data, for tests that change one field of a ready-made shape before writing it.
struct Board
{
    float cellSize = 30.0f;
    std::u16string name = u"Test";
    uint32_t target = 1000;
    BoardPoints points;
    BoardCells cells;

    std::string Bytes() const { return BoardBytes(cellSize, name, target, points, cells); }
};

// cols x rows squares of the given side with the top-left corner at (x0, y0). Points run row
// by row of corners ((cols + 1) per row); cells run row by row, each listed clockwise on screen
// from its top-left corner: top-left, top-right, bottom-right, bottom-left.
inline Board SquareGrid(uint32_t cols, uint32_t rows, float side = 30.0f, float x0 = 0.0f,
                        float y0 = 0.0f)
{
    Board board;
    board.cellSize = side;
    for (uint32_t r = 0; r <= rows; ++r) {
        for (uint32_t c = 0; c <= cols; ++c) {
            board.points.emplace_back(x0 + float(c) * side, y0 + float(r) * side);
        }
    }
    const uint32_t stride = cols + 1;
    for (uint32_t r = 0; r < rows; ++r) {
        for (uint32_t c = 0; c < cols; ++c) {
            const uint32_t topLeft = r * stride + c;
            board.cells.push_back({topLeft, topLeft + 1, topLeft + stride + 1, topLeft + stride});
        }
    }
    return board;
}

// A row of n squares of side 30: cell i covers x 30i to 30i + 30, y 0 to 30.
inline Board SquareStrip(uint32_t n, float side = 30.0f)
{
    return SquareGrid(n, 1, side);
}

// n triangles of width 30 and height 30 in a row, alternately pointing up and down: cell 2k
// has its base on y = 30 from x 30k to 30k + 30 and its apex at (30k + 15, 0); cell 2k + 1
// has its base on y = 0 from 30k + 15 to 30k + 45 and its apex at (30k + 30, 30). Points:
// the bottom row x = 0, 30, 60, ... first, then the top row x = 15, 45, ...
inline Board TriangleRow(uint32_t n)
{
    Board board;
    const uint32_t bottoms = (n + 1) / 2 + 1;
    const uint32_t tops = n / 2 + 1;
    for (uint32_t i = 0; i < bottoms; ++i) {
        board.points.emplace_back(30.0f * float(i), 30.0f);
    }
    for (uint32_t i = 0; i < tops; ++i) {
        board.points.emplace_back(15.0f + 30.0f * float(i), 0.0f);
    }
    for (uint32_t k = 0; k < n; ++k) {
        const uint32_t i = k / 2;
        if (k % 2 == 0) {
            board.cells.push_back({i, bottoms + i, i + 1}); // up: left, apex, right
        } else {
            board.cells.push_back({bottoms + i, bottoms + i + 1, i + 1}); // down
        }
    }
    return board;
}

// A hexagon around (cx, cy) cut into six triangles that meet in its centre: point 0 is the
// centre, points 1 to 6 the corners clockwise on screen starting on the right, cell i the
// triangle centre, corner i + 1, corner i + 2 (wrapping). Six cells, so five colours.
inline Board HexagonFan(float radius = 30.0f, float cx = 120.0f, float cy = 160.0f)
{
    Board board;
    board.points.emplace_back(cx, cy);
    // The corners of a regular hexagon with a flat top: cos and sin of multiples of 60 degrees.
    constexpr float c60 = 0.5f;
    constexpr float s60 = 0.866025404f;
    const float ring[6][2] = {{1, 0}, {c60, s60}, {-c60, s60}, {-1, 0}, {-c60, -s60}, {c60, -s60}};
    for (const auto& corner : ring) {
        board.points.emplace_back(cx + radius * corner[0], cy + radius * corner[1]);
    }
    for (uint32_t i = 0; i < 6; ++i) {
        board.cells.push_back({0, 1 + i, 1 + (i + 1) % 6});
    }
    return board;
}

// Loads a grid from board file bytes through a memory stream, as the game reads a file.
inline bool LoadBoard(Grid& grid, const std::string& bytes)
{
    std::string copy = bytes; // the stream borrows a writable block
    IO::MemoryStream stream;
    if (stream.Open(reinterpret_cast<uint8_t*>(copy.data()), uint32_t(copy.size())) != 0) {
        return false;
    }
    return LoadGrid(grid, stream);
}

inline bool LoadBoard(Grid& grid, const Board& board)
{
    return LoadBoard(grid, board.Bytes());
}

} // namespace Fixture
