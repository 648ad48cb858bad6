// The board: convex polygon cells whose coloured sides are shared with their neighbours, loaded
// from a board file, with the queries the rules and the drawing need.
#pragma once

#include "io/FileSystem.h"
#include "io/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Side colours: 0 to 5 are playable; grey is a side that belongs to no colour any more.
constexpr uint32_t ColourCount = 6;
constexpr uint32_t Grey = 6;

struct GridPoint
{
    float x = 0.0f;
    float y = 0.0f; // screen pixels, y grows downwards
    bool moving = false;
};

// One side, shared by the cells on both sides of it.
struct GridEdge
{
    uint32_t colour = 0;
    GridPoint* a = nullptr;
    GridPoint* b = nullptr;
    bool moving = false;
    bool marked = false;
};

struct GridCell
{
    std::vector<uint32_t> edges;   // side i joins corner i to corner i + 1
    std::vector<uint32_t> corners; // the n corners, then the first again
    float centreX = 0.0f;
    float centreY = 0.0f;
    bool complete = false;
    uint32_t bonus = 0; // 0 for none, else the kind 1 to 12
    uint32_t sides = 0;
    bool turning = false;
};

// Not copyable: edges point into the points array, which is filled before the first edge is
// made and never grows afterwards.
struct Grid
{
    Grid() = default;
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;

    float cellSize = 0.0f; // 30 or 40
    std::u16string name;
    std::vector<GridPoint> points;
    std::vector<GridEdge> edges;
    std::vector<std::unique_ptr<GridCell>> cells;
    uint32_t minSides = 0;
    uint32_t target = 0;
};

// Fills an empty grid from a board file of the directory. False, with the grid left empty,
// when the file cannot be opened or is not a sound board.
bool LoadGrid(Grid& grid, IO::DirectoryNode* directory, std::u16string_view fileName);
// The same from an open stream positioned at the start of a board file.
bool LoadGrid(Grid& grid, IO::Stream& stream);
// The lowest index of an edge joining the two points in either orientation, or -1.
int32_t FindEdge(const Grid& grid, const GridPoint* a, const GridPoint* b);
void ComputeCentre(const Grid& grid, GridCell& cell);
// The cell under a screen point (a point on a shared border belongs to the earlier cell).
GridCell* CellAt(Grid& grid, float x, float y);
// Flags every complete cell; true when there is one.
bool FindCompleteCells(Grid& grid);
void RecolourCell(Grid& grid, GridCell& cell);
void RecolourAll(Grid& grid, uint32_t count);
uint32_t MinSideCount(const Grid& grid);
bool AllGrey(const Grid& grid);
