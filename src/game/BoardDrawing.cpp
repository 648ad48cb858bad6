// Drawing of the board. A cell being turned is not moved in the grid until the turn is
// committed: its sides, corners and picture are only drawn turned about its centre by turnAngle.
#include "game/BoardDrawing.h"

#include "game/BoardSession.h"
#include "graphics/Transforms.h"
#include "resources/ResourceManager.h"

#include <cmath>
#include <string>

using Graphics::Rect;
using Graphics::Surface16;
using Graphics::TrigTable;

namespace {

// Coordinates are rounded once, to v + 0.5 in double truncated toward zero. Points of a damaged
// board file may lie anywhere (or be no number at all); they are held far off the screen but
// within a range where sums of two of them cannot overflow.
constexpr double Far = 1 << 24;

// v truncated toward zero, held within -Far to Far (NaN at -Far).
int32_t Truncated(double v)
{
    if (!(v > -Far)) {
        return -static_cast<int32_t>(Far);
    }
    if (v > Far) {
        return static_cast<int32_t>(Far);
    }
    return static_cast<int32_t>(v);
}

int32_t Nearest(double v)
{
    return Truncated(v + 0.5);
}

// The angle of the side from a to b, measured anticlockwise on screen (y grows downwards).
uint16_t SideAngle(const TrigTable& trig, const GridPoint& a, const GridPoint& b)
{
    return trig.Atan2(a.y - b.y, b.x - a.x);
}

// The turn of the turning cell: positions are turned about its centre by turnAngle, so for a
// growing angle a point right of the centre moves up, as RotateBlit turns the sprites.
struct Turn
{
    float cx = 0.0f;
    float cy = 0.0f;
    float c = 1.0f;
    float s = 0.0f;
};

struct ScreenPoint
{
    int32_t x = 0;
    int32_t y = 0;
};

ScreenPoint Turned(const Turn& turn, float x, float y)
{
    const float dx = x - turn.cx;
    const float dy = y - turn.cy;
    const float tx = dx * turn.c + dy * turn.s + turn.cx;
    const float ty = dy * turn.c - dx * turn.s + turn.cy;
    return {Nearest(tx), Nearest(ty)};
}

void DrawCellImages(const BoardPicture& picture, const Grid& grid)
{
    const TrigTable& trig = picture.trig;
    for (const auto& cell : grid.cells) {
        const uint32_t n = cell->sides;
        if (n < MinCellSides || n > MaxCellSides || cell->corners.size() < 2) {
            continue;
        }
        const Surface16* image = picture.cellImages[n - MinCellSides];
        if (!image) {
            continue;
        }
        // The picture's first side lies along its top: it is turned onto the cell's first side.
        const GridPoint& p = grid.points[cell->corners[0]];
        const GridPoint& q = grid.points[cell->corners[1]];
        uint16_t angle = SideAngle(trig, p, q);
        if (cell.get() == picture.turningCell) {
            angle = static_cast<uint16_t>(angle + picture.turnAngle);
        }
        const CellPivot pivot =
            CellImagePivot(n, grid.cellSize, image->Width(), image->Height(), trig);
        Graphics::RotateBlit(*picture.target, Nearest(cell->centreX), Nearest(cell->centreY),
                             nullptr, *image, trig.Sin(angle), trig.Cos(angle), pivot.x, pivot.y,
                             false);
    }
}

void DrawSides(const BoardPicture& picture, const Grid& grid, const Turn* turn)
{
    const TrigTable& trig = picture.trig;
    const Surface16& strip = *picture.sideImage;
    const auto length = static_cast<int32_t>(picture.sideLength);
    const auto thickness = static_cast<int32_t>(picture.sideThickness);
    // A completed side loses a seventh of its length per frame; a shuffled one keeps it all.
    const int64_t cut = picture.shuffleActive ? 0 : int64_t{length / 7} * picture.completionFrame;

    for (const GridEdge& edge : grid.edges) {
        const GridPoint& a = *edge.a;
        const GridPoint& b = *edge.b;
        const uint16_t theta = SideAngle(trig, a, b);
        const int32_t barTop = static_cast<int32_t>(edge.colour) * thickness;
        Rect source{0, barTop, length, thickness};
        int32_t pivotX = length / 2;
        ScreenPoint at{(Nearest(a.x) + Nearest(b.x)) / 2, (Nearest(a.y) + Nearest(b.y)) / 2};
        uint16_t angle = theta;

        // A side both turning and completing is drawn turning.
        if (edge.moving && turn) {
            at = Turned(*turn, (a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f);
            angle = static_cast<uint16_t>(theta + picture.turnAngle);
        } else if (edge.marked) {
            if (cut >= length) {
                continue; // nothing of the bar is left
            }
            const auto kept = static_cast<int32_t>(length - cut);
            source = {length - kept, barTop, kept, thickness};
            pivotX = kept / 2;
            angle = static_cast<uint16_t>(theta + picture.spinAngle);
        }
        Graphics::RotateBlit(*picture.target, at.x, at.y, &source, strip, trig.Sin(angle),
                             trig.Cos(angle), pivotX, thickness / 2, picture.antialiasing);
    }
}

void DrawJoints(const BoardPicture& picture, const Grid& grid, const Turn* turn)
{
    const int32_t half = static_cast<int32_t>(picture.sideThickness / 2);
    for (const GridPoint& point : grid.points) {
        ScreenPoint at{Nearest(point.x), Nearest(point.y)};
        if (point.moving && turn) {
            at = Turned(*turn, point.x, point.y);
        }
        picture.target->Blit(at.x - half, at.y - half, *picture.jointImage);
    }
}

} // namespace

CellPivot CellImagePivot(uint32_t sides, float cellSize, uint32_t imageWidth, uint32_t imageHeight,
                         const TrigTable& trig)
{
    const auto halfWidth = static_cast<int32_t>(imageWidth / 2);
    if (sides % 2 == 0) {
        return {halfWidth, static_cast<int32_t>(imageHeight / 2)};
    }
    // Half the interior angle of the regular polygon; its tangent times half a side is the
    // distance from a side to the centre.
    const auto alpha = static_cast<uint16_t>(((sides - 2) * 32767 / sides) / 2);
    const float inradius = (cellSize / 2) * std::fabs(trig.Sin(alpha) / trig.Cos(alpha));
    // Without a trigonometry table the tangent is 0 / 0, and a damaged board's cell size may be
    // anything: a distance that is no number, or none an int can hold, pins the picture by its
    // middle as for an even cell rather than converting it.
    if (!(std::fabs(inradius) < Far)) {
        return {halfWidth, static_cast<int32_t>(imageHeight / 2)};
    }
    return {halfWidth, static_cast<int32_t>(inradius)};
}

void ShowSession(BoardPicture& picture, const BoardSession& session)
{
    picture.grid = session.GetGrid();
    picture.turningCell = session.TurningCell();
    picture.turnAngle = session.TurnAngle();
    picture.completionFrame = session.CompletionFrame();
    picture.spinAngle = session.SpinAngle();
    picture.shuffleActive = session.ShuffleActive();
    picture.bonusCell = session.BonusCell();
}

void DrawBoard(const BoardPicture& picture)
{
    if (!picture.target) {
        return;
    }
    if (picture.background) {
        picture.target->Blit(0, 0, *picture.background);
    }
    const Grid* grid = picture.grid;
    if (!grid) {
        return;
    }

    Turn turn;
    const Turn* turning = nullptr;
    if (picture.turningCell) {
        turn = {picture.turningCell->centreX, picture.turningCell->centreY,
                picture.trig.Cos(picture.turnAngle), picture.trig.Sin(picture.turnAngle)};
        turning = &turn;
    }

    if (picture.underCells) {
        DrawCellImages(picture, *grid);
    }
    if (picture.sideImage) {
        DrawSides(picture, *grid, turning);
    }
    if (picture.jointImage) {
        DrawJoints(picture, *grid, turning);
    }
}

void DrawBonusIcon(const BoardPicture& picture)
{
    const GridCell* cell = picture.bonusCell;
    if (!picture.target || !cell || cell->bonus == 0 || !picture.bonusIconImage) {
        return;
    }
    const auto size = static_cast<int32_t>(picture.bonusIconSize);
    const Rect source{0, static_cast<int32_t>(cell->bonus - 1) * size, size, size};
    picture.target->Blit(Nearest(cell->centreX) - size / 2, Nearest(cell->centreY) - size / 2,
                         *picture.bonusIconImage, &source);
}

void PickBoardImages(BoardPicture& picture, const ResourceManager& resources, float cellSize)
{
    const bool large = cellSize == 40.0f;
    picture.sideLength = large ? 33 : 27;
    picture.sideThickness = large ? 11 : 9;
    picture.bonusIconSize = large ? 29 : 22;
    picture.sideImage = resources.GetImage(large ? u"cr40" : u"cr30");
    picture.jointImage = resources.GetImage(large ? u"Chain2" : u"Chain");
    picture.bonusIconImage = resources.GetImage(large ? u"bonuses40" : u"bonuses30");
    for (uint32_t n = MinCellSides; n <= MaxCellSides; ++n) {
        std::u16string name = large ? u"Poly2_" : u"Poly";
        for (const char digit : std::to_string(n)) {
            name += static_cast<char16_t>(digit);
        }
        picture.cellImages[n - MinCellSides] = resources.GetImage(name);
    }
}
