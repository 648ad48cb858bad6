// The board rules that work on the grid alone: turning a cell's colours, the direction of a
// drag, and the Classic rule that greys completed cells while keeping every colour completable.
#pragma once

#include "game/Grid.h"

#include <cstdint>

// The number of colours sides are drawn from on this board: 6, or one less than the number of
// cells when that is below 6 (never below 1).
uint32_t PlayableColours(const Grid& grid);

// Moves the colours of the cell's sides one side along: direction false moves every colour one
// side clockwise on screen, true one side anticlockwise. The neighbours share the change.
void ShiftColours(Grid& grid, const GridCell& cell, bool direction);

// The direction of a turn from a drag that started at (pressX, pressY) and ended at (upX, upY)
// around a cell centred on (centreX, centreY): true for a drag that goes anticlockwise on screen
// (y grows downwards). A drag of zero length gives false.
bool DragDirection(float pressX, float pressY, float upX, float upY, float centreX, float centreY);

// Classic: greys every side of the cell, then tops up each colour still on the board but on
// fewer sides than the smallest cell has, so that it can still complete a cell.
void GreyAndRebalance(Grid& grid, const GridCell& cell);
// Gives colour to up to count grey sides picked at random.
void RecolourGrey(Grid& grid, uint32_t count, uint32_t colour);
