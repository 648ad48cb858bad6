// The board file read into plain data, before sides are shared or coloured: what LoadGrid
// builds a Grid from and what boardtool inspects.
#pragma once

#include "io/Stream.h"

#include <cstdint>
#include <string>
#include <vector>

// The side counts a cell may have.
constexpr uint32_t MinCellSides = 3;
constexpr uint32_t MaxCellSides = 12;
// A board needs two cells at least: a board of n cells below 7 is coloured with n - 1 colours.
constexpr uint32_t MinBoardCells = 2;

struct BoardPoint
{
    float x = 0.0f;
    float y = 0.0f;
};

struct BoardFile
{
    float cellSize = 0.0f;
    std::u16string name;
    uint32_t target = 0;
    std::vector<BoardPoint> points;
    std::vector<std::vector<uint32_t>> cells; // each cell's corner indices in file order
};

// Reads a board file from the stream's position to its end. False when the file ends before
// the last cell does (a count that the rest of the file cannot hold counts as such); the board
// then holds the fields and whole cells read before that point, and shortAt the offset, from
// the starting position, of the field that did not fit.
bool ReadBoardFile(IO::Stream& stream, BoardFile& board, uint32_t* shortAt = nullptr);
// True when the cell has 3 to 12 sides and every corner is one of pointCount points.
bool IsSoundCell(const std::vector<uint32_t>& corners, size_t pointCount);
