// Points of completed cells: what one cell is worth before its chain multiplies it.
#pragma once

#include <cstdint>

// 2 x (n - 3) + 1 for a cell of n sides: a triangle 1, a square 3, a hexagon 7.
constexpr uint32_t CellPoints(uint32_t sides)
{
    return 2 * (sides - 3) + 1;
}
