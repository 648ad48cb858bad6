// Board files a player may hand the game with fields no board tool writes: whatever loads must
// also draw without a fault.
#include "game/BoardDrawing.h"
#include "support/BoardBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Fixture;

namespace {

const Graphics::TrigTable& Trig()
{
    static const Graphics::TrigTable table = [] {
        Graphics::TrigTable t;
        EXPECT_EQ(t.Generate(), Graphics::TrigResult::Ok);
        return t;
    }();
    return table;
}

// The cell size only picks the images and pins the pictures of odd polygons; a damaged file may
// hold any float there.
TEST(DamagedBoard, AnyCellSizePinsOddPicturesWithinTheDrawingsRange)
{
    constexpr float Inf = std::numeric_limits<float>::infinity();
    const float sizes[] = {std::nanf(""), Inf,    -Inf,
                           1e12f,         -1e12f, std::numeric_limits<float>::max()};
    constexpr int32_t Far = 1 << 24;
    for (const float size : sizes) {
        for (const uint32_t sides : {3u, 5u, 11u}) {
            const CellPivot pivot = CellImagePivot(sides, size, 31, 29, Trig());
            EXPECT_EQ(pivot.x, 15);
            EXPECT_GE(pivot.y, -Far) << size;
            EXPECT_LE(pivot.y, Far) << size;
        }
    }

    // Loaded and drawn with cell pictures, as the game screen draws it.
    Board board = TriangleRow(8);
    board.cellSize = -1e12f;
    Grid grid;
    ASSERT_TRUE(LoadBoard(grid, board.Bytes()));
    Graphics::Surface16 target, cell;
    target.Create(240, 320, false);
    target.Clear();
    cell.Create(31, 29, false);
    cell.Clear();
    BoardPicture picture(Trig());
    picture.target = &target;
    picture.grid = &grid;
    picture.cellImages.fill(&cell);
    DrawBoard(picture);
}

} // namespace
