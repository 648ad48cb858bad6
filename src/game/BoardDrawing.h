// Drawing of the board: the background, the pictures under the cells, every side as a rotated
// bar cut from the side strip, a joint on every corner, and the icon of the current bonus.
#pragma once

#include "game/BoardFile.h"
#include "game/Grid.h"
#include "graphics/Surface16.h"
#include "graphics/TrigTable.h"

#include <array>
#include <cstdint>

class BoardSession;
class ResourceManager;

// Everything one frame of the board is drawn from. The game screen owns the play fields and the
// images; the drawing only reads them. Null images are skipped.
struct BoardPicture
{
    explicit BoardPicture(const Graphics::TrigTable& trig) : trig(trig) {}

    Graphics::Surface16* target = nullptr;
    const Graphics::Surface16* background = nullptr;
    // One bar per colour 0 to 6 stacked vertically, each sideLength x sideThickness.
    const Graphics::Surface16* sideImage = nullptr;
    const Graphics::Surface16* jointImage = nullptr;
    // Icons of bonusIconSize x bonusIconSize stacked vertically, bonus kind 1 at the top.
    const Graphics::Surface16* bonusIconImage = nullptr;
    // Regular polygons of side cellSize drawn with their first side along the top, one per
    // side count (index n - MinCellSides).
    std::array<const Graphics::Surface16*, MaxCellSides - MinCellSides + 1> cellImages{};
    uint32_t sideLength = 27;
    uint32_t sideThickness = 9;
    uint32_t bonusIconSize = 22;

    const Grid* grid = nullptr;
    const GridCell* turningCell = nullptr;
    uint16_t turnAngle = 0;
    uint32_t completionFrame = 0;
    uint16_t spinAngle = 0;
    bool shuffleActive = false;
    const GridCell* bonusCell = nullptr;

    bool underCells = true;
    bool antialiasing = true; // bilinear sampling of the rotated sides
    const Graphics::TrigTable& trig;
};

// Takes the grid and the play fields the drawing reads from the session in play.
void ShowSession(BoardPicture& picture, const BoardSession& session);

// The background, then, when there is a grid, the cell pictures (with underCells), the sides
// and the joints.
void DrawBoard(const BoardPicture& picture);
// The icon of the bonus lying on bonusCell, if any, centred on the cell.
void DrawBonusIcon(const BoardPicture& picture);

// Takes the side strip, joint, bonus icons and cell pictures for boards of this cell size from
// the loaded resources (the set for 40 when cellSize is exactly 40, else the set for 30), with
// the matching sideLength, sideThickness and bonusIconSize. Missing images become null.
void PickBoardImages(BoardPicture& picture, const ResourceManager& resources, float cellSize);

// Where a cell picture of a regular n-gon is pinned to the cell's centre: the middle of the
// image for an even n; for an odd n, the image's horizontal middle at the distance from a side
// to the centre below its top edge (the bounding box of an odd polygon is not centred on it).
struct CellPivot
{
    int32_t x = 0;
    int32_t y = 0;
};
CellPivot CellImagePivot(uint32_t sides, float cellSize, uint32_t imageWidth, uint32_t imageHeight,
                         const Graphics::TrigTable& trig);
