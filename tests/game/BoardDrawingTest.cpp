// Board drawing on small hand-built boards with synthetic images: where sides, joints, cell
// pictures and the bonus icon land, the turn and completion animations, and the options.
#include "game/BoardDrawing.h"

#include "graphics/Qim.h"
#include "resources/ResourceManager.h"
#include "support/QpkBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

using Graphics::Surface16;
using Graphics::TrigTable;

namespace {

// The game's table, generated in memory, so these tests need no generated content.
const TrigTable& Trig()
{
    static const TrigTable table = [] {
        TrigTable t;
        EXPECT_EQ(t.Generate(), Graphics::TrigResult::Ok);
        return t;
    }();
    return table;
}

// Colours of the synthetic images. Bar pixels alone have blue 31: red is the column in the
// strip and green the bar (colour + 1), so a pixel tells which bar and which column it shows.
constexpr uint16_t BackgroundColour = 0x0008;
constexpr uint16_t JointColour = 0xFFE0;
constexpr uint16_t CellColour = 0xF800;

constexpr uint16_t BarPixel(int column, int colour)
{
    return static_cast<uint16_t>((column << 11) | ((colour + 1) << 5) | 0x1F);
}
// The bar colour a pixel shows, or -1 for anything else.
int BarOf(uint16_t pixel)
{
    return (pixel & 0x1F) == 0x1F ? ((pixel >> 5) & 63) - 1 : -1;
}
int ColumnOf(uint16_t pixel)
{
    return pixel >> 11;
}

void Fill(Surface16& surface, uint16_t colour)
{
    for (uint32_t y = 0; y < surface.Height(); ++y) {
        for (uint32_t x = 0; x < surface.Width(); ++x)
            surface.Pixels()[y * surface.Stride() + x] = colour;
    }
    if (surface.HasAlpha()) {
        for (uint32_t i = 0; i < surface.Height() * surface.Width(); ++i)
            surface.Alpha()[i] = 255;
    }
}

// The images of a board of cell size 30 with opaque bars, a square 9x9 joint and one flat
// cell picture for every side count.
struct Images
{
    Images()
    {
        target.Create(240, 320, false);
        background.Create(240, 320, false);
        Fill(background, BackgroundColour);
        strip.Create(27, 7 * 9, true);
        Fill(strip, 0);
        for (int colour = 0; colour < 7; ++colour) {
            for (int row = 0; row < 9; ++row) {
                for (int column = 0; column < 27; ++column)
                    strip.Pixels()[(colour * 9 + row) * strip.Stride() + column] =
                        BarPixel(column, colour);
            }
        }
        joint.Create(9, 9, false);
        Fill(joint, JointColour);
        cell.Create(30, 30, false);
        Fill(cell, CellColour);
    }

    BoardPicture Picture(const Grid& grid)
    {
        BoardPicture picture(Trig());
        picture.target = &target;
        picture.background = &background;
        picture.sideImage = &strip;
        picture.jointImage = &joint;
        picture.cellImages.fill(&cell);
        picture.grid = &grid;
        picture.antialiasing = false;
        return picture;
    }

    uint16_t At(int x, int y) const { return target.Pixels()[y * target.Stride() + x]; }
    std::vector<uint16_t> Frame() const
    {
        return {target.Pixels(), target.Pixels() + target.Stride() * target.Height()};
    }

    Surface16 target, background, strip, joint, cell;
};

// A board built by hand: sides shared between cells that list the same two corners, coloured
// side by side from the given list (cycled), centres at the mean of the corners.
struct Board
{
    Board(std::vector<std::pair<float, float>> corners, std::vector<std::vector<uint32_t>> cells,
          std::vector<uint32_t> colours = {0, 1, 2, 3, 4, 5, 6})
    {
        grid.cellSize = 30.0f;
        for (const auto& [x, y] : corners)
            grid.points.push_back({x, y, false});
        for (const auto& ring : cells) {
            auto cell = std::make_unique<GridCell>();
            cell->sides = static_cast<uint32_t>(ring.size());
            cell->corners = ring;
            cell->corners.push_back(ring.front());
            for (size_t i = 0; i < ring.size(); ++i) {
                GridPoint* a = &grid.points[ring[i]];
                GridPoint* b = &grid.points[cell->corners[i + 1]];
                uint32_t index = 0;
                while (index < grid.edges.size() &&
                       !(grid.edges[index].a == b && grid.edges[index].b == a))
                    ++index;
                if (index == grid.edges.size()) {
                    const uint32_t colour = colours[index % colours.size()];
                    grid.edges.push_back({colour, a, b, false, false});
                }
                cell->edges.push_back(index);
                cell->centreX += a->x / float(ring.size());
                cell->centreY += a->y / float(ring.size());
            }
            grid.cells.push_back(std::move(cell));
        }
    }

    // What the rules set while a cell turns: its sides and their corners move.
    void Turn(GridCell& cell)
    {
        cell.turning = true;
        for (uint32_t index : cell.edges) {
            GridEdge& edge = grid.edges[index];
            edge.moving = edge.a->moving = edge.b->moving = true;
        }
    }

    Grid grid;
};

// Two squares of side 30 side by side, top-left corner at (60, 90).
// Sides 0 to 3 go round the first square from its top, 4 to 6 round the rest of the second;
// side i has colour i.
Board TwoSquares()
{
    return Board({{60, 90}, {90, 90}, {120, 90}, {60, 120}, {90, 120}, {120, 120}},
                 {{0, 1, 4, 3}, {1, 2, 5, 4}});
}

TEST(DrawBoard, SidesLieAlongTheCellEdgesWithJointsOnTheCorners)
{
    Images images;
    Board board = TwoSquares();
    BoardPicture picture = images.Picture(board.grid);
    picture.jointImage = nullptr;
    DrawBoard(picture);

    // Every side's bar is centred on the side's midpoint, in the bar of the side's colour.
    ASSERT_EQ(board.grid.edges.size(), 7u);
    for (const GridEdge& edge : board.grid.edges) {
        const int mx = int(edge.a->x + edge.b->x) / 2;
        const int my = int(edge.a->y + edge.b->y) / 2;
        EXPECT_EQ(BarOf(images.At(mx, my)), int(edge.colour)) << mx << "," << my;
        EXPECT_EQ(ColumnOf(images.At(mx, my)), 13) << mx << "," << my;
    }
    // The top side of the first square (colour 0, from (60, 90) to (90, 90)) is 27 pixels long
    // and 9 thick: columns 62 to 88, rows 86 to 94, drawn left to right.
    EXPECT_EQ(images.At(62, 90), BarPixel(0, 0));
    EXPECT_EQ(images.At(88, 90), BarPixel(26, 0));
    EXPECT_EQ(images.At(75, 86), BarPixel(13, 0));
    EXPECT_EQ(images.At(75, 94), BarPixel(13, 0));
    EXPECT_EQ(images.At(75, 95), CellColour);
    EXPECT_EQ(images.At(75, 85), BackgroundColour);
    // The left side (colour 3) runs up from (60, 120) to (60, 90): 9 columns wide around x 60,
    // its first column at the bottom.
    EXPECT_EQ(images.At(60, 118), BarPixel(0, 3));
    EXPECT_EQ(images.At(60, 92), BarPixel(26, 3));
    EXPECT_EQ(BarOf(images.At(56, 105)), 3);
    EXPECT_EQ(BarOf(images.At(64, 105)), 3);
    EXPECT_EQ(images.At(65, 105), CellColour);
    EXPECT_EQ(images.At(55, 105), BackgroundColour);

    // A 9x9 joint covers every corner, over the sides.
    DrawBoard(images.Picture(board.grid));
    for (const GridPoint& point : board.grid.points) {
        const int x = int(point.x);
        const int y = int(point.y);
        for (const auto& [dx, dy] : {std::pair{0, 0}, {-4, -4}, {4, 4}, {-4, 4}, {4, -4}})
            EXPECT_EQ(images.At(x + dx, y + dy), JointColour) << x << "," << y;
        for (const auto& [dx, dy] : {std::pair{-5, 0}, {5, 0}, {0, -5}, {0, 5}})
            EXPECT_NE(images.At(x + dx, y + dy), JointColour) << x << "," << y;
    }
}

// A diamond around (120, 160) with corners 30 pixels away: top, right, bottom, left.
Board Diamond()
{
    return Board({{120, 130}, {150, 160}, {120, 190}, {90, 160}}, {{0, 1, 2, 3}}, {0, 1, 2, 3});
}

TEST(DrawBoard, TurningCellIsDrawnTurnedAboutItsCentre)
{
    // One frame of a turn of a four-sided cell: 65535 / (5 x 4) = 3276 units, about 18 degrees,
    // anticlockwise on screen for a growing angle and clockwise for a shrinking one.
    struct Case
    {
        uint16_t turnAngle;
        double degrees;
    };
    const double step = 3276 * 360.0 / 65536;
    for (const Case& c : {Case{3276, step}, Case{uint16_t(65536 - 3276), -step}}) {
        Images images;
        Board board = Diamond();
        board.Turn(*board.grid.cells[0]);
        BoardPicture picture = images.Picture(board.grid);
        picture.turningCell = board.grid.cells[0].get();
        picture.turnAngle = c.turnAngle;
        DrawBoard(picture);

        // Screen y grows downwards, so an anticlockwise turn subtracts the sine.
        const double angle = c.degrees * std::numbers::pi / 180;
        auto turned = [&](double x, double y) {
            const double dx = x - 120;
            const double dy = y - 160;
            return std::pair{int(std::lround(120 + dx * std::cos(angle) + dy * std::sin(angle))),
                             int(std::lround(160 + dy * std::cos(angle) - dx * std::sin(angle)))};
        };
        // The joint right of the centre: up by 30 sin 18 = 9.3 for a growing angle, down for a
        // shrinking one, and 30 cos 18 = 28.5 to the right.
        const auto [jx, jy] = turned(150, 160);
        EXPECT_EQ(jx, 149);
        EXPECT_EQ(jy, c.degrees > 0 ? 151 : 169);
        EXPECT_EQ(images.At(jx, jy), JointColour) << c.turnAngle;
        EXPECT_EQ(images.At(jx - 4, jy - 4), JointColour) << c.turnAngle;
        EXPECT_EQ(images.At(jx + 4, jy + 4), JointColour) << c.turnAngle;
        EXPECT_NE(images.At(150, 160), JointColour) << c.turnAngle;

        // The sides keep their colours and sit on the turned outline.
        for (uint32_t side = 0; side < 4; ++side) {
            const GridEdge& edge = board.grid.edges[side];
            const auto [mx, my] =
                turned((edge.a->x + edge.b->x) / 2.0, (edge.a->y + edge.b->y) / 2.0);
            EXPECT_EQ(BarOf(images.At(mx, my)), int(edge.colour)) << c.turnAngle << " " << side;
            EXPECT_EQ(ColumnOf(images.At(mx, my)), 13) << c.turnAngle << " " << side;
        }
        // The square picture under the cell turns with it: (137, 154) lies 17 right of and 6
        // above the centre, outside the picture's unturned diamond (17 + 6 > 15 sqrt 2) but
        // inside the square turned by 18 degrees (17 cos 27 - 6 sin 27 = 12.4 and
        // 17 sin 27 + 6 cos 27 = 13.1 from its axes); mirrored for the other direction.
        EXPECT_EQ(images.At(137, c.degrees > 0 ? 154 : 166), CellColour) << c.turnAngle;
    }
}

TEST(DrawBoard, AnOddCellWithoutAUsableDistancePinsItsPictureByTheMiddle)
{
    // No table (missing or short file): the tangent is 0 / 0. A damaged board's cell size may
    // be no number, or too large for any screen.
    const TrigTable none;
    const std::pair<const TrigTable*, float> cases[] = {
        {&none, 30}, {&Trig(), std::nanf("")}, {&Trig(), 1e30f}, {&Trig(), -1e30f}};
    for (const auto& [trig, size] : cases) {
        const CellPivot pivot = CellImagePivot(5, size, 48, 46, *trig);
        EXPECT_EQ(pivot.x, 24) << size;
        EXPECT_EQ(pivot.y, 23) << size;
    }
}

TEST(DrawBoard, CellPicturesArePinnedByTheirCentreAndTurnedOntoTheFirstSide)
{
    // Regular polygons of side s have their centre s/2 tan(half the interior angle) below a
    // side: tan 30 = 0.577 and tan 54 = 1.376 give 8.7 and 20.6 for s = 30, 11.5 and 27.5 for
    // s = 40, truncated.
    struct Case
    {
        uint32_t sides;
        float cellSize;
        uint32_t width, height;
        CellPivot pivot;
    };
    const Case cases[] = {
        {3, 30, 30, 26, {15, 8}},     {5, 30, 48, 46, {24, 20}}, {3, 40, 40, 35, {20, 11}},
        {5, 40, 65, 62, {32, 27}},    {4, 30, 30, 30, {15, 15}}, {6, 30, 60, 52, {30, 26}},
        {12, 40, 150, 150, {75, 75}},
    };
    for (const Case& c : cases) {
        const CellPivot pivot = CellImagePivot(c.sides, c.cellSize, c.width, c.height, Trig());
        EXPECT_EQ(pivot.x, c.pivot.x) << c.sides << " sides, size " << c.cellSize;
        EXPECT_EQ(pivot.y, c.pivot.y) << c.sides << " sides, size " << c.cellSize;
    }

    // A square whose first side is its right one (corners from the top right, clockwise): the
    // picture's top row (marked) turns a quarter clockwise onto that side.
    Images images;
    Surface16 marked;
    marked.Create(30, 30, false);
    Fill(marked, CellColour);
    for (int x = 0; x < 30; ++x)
        marked.Pixels()[x] = JointColour;
    Board board({{150, 100}, {150, 130}, {120, 130}, {120, 100}}, {{0, 1, 2, 3}});
    BoardPicture picture = images.Picture(board.grid);
    picture.cellImages.fill(&marked);
    picture.sideImage = nullptr;
    picture.jointImage = nullptr;
    DrawBoard(picture);
    // Centre (135, 115), pivot (15, 15): turned, the picture's rows -15..14 from the pivot
    // become the columns 150 down to 121, its columns the rows 100..129.
    EXPECT_EQ(images.At(150, 115), JointColour);
    EXPECT_EQ(images.At(150, 100), JointColour);
    EXPECT_EQ(images.At(150, 129), JointColour);
    EXPECT_EQ(images.At(149, 115), CellColour);
    EXPECT_EQ(images.At(121, 115), CellColour);
    EXPECT_EQ(images.At(135, 100), CellColour);
    EXPECT_EQ(images.At(135, 129), CellColour);
    EXPECT_EQ(images.At(151, 115), BackgroundColour);
    EXPECT_EQ(images.At(120, 115), BackgroundColour);
    EXPECT_EQ(images.At(135, 99), BackgroundColour);
    EXPECT_EQ(images.At(135, 130), BackgroundColour);
}

TEST(DrawBoard, MarkedSidesShrinkAndSpinAboutTheirMidpoint)
{
    // The top side of the first square, from (60, 90) to (90, 90), midpoint (75, 90).
    struct Case
    {
        uint32_t completionFrame;
        bool shuffleActive;
        uint16_t spinAngle;
        int firstColumn; // of the strip, drawn at the left end
        int left, right; // screen columns of the bar's ends
    };
    // 27 / 7 = 3 columns are cut per frame: frame 7 leaves columns 21 to 26, 6 long, pivot 3.
    const Case cases[] = {
        {1, false, 0, 3, 75 - 12, 75 + 11},
        {7, false, 0, 21, 75 - 3, 75 + 2},
        {7, true, 0, 0, 75 - 13, 75 + 13}, // a shuffle spins at full length
    };
    for (const Case& c : cases) {
        Images images;
        Board board = TwoSquares();
        board.grid.edges[0].marked = true;
        BoardPicture picture = images.Picture(board.grid);
        picture.jointImage = nullptr;
        picture.underCells = false;
        picture.completionFrame = c.completionFrame;
        picture.shuffleActive = c.shuffleActive;
        DrawBoard(picture);
        EXPECT_EQ(images.At(c.left, 90), BarPixel(c.firstColumn, 0)) << c.completionFrame;
        EXPECT_EQ(images.At(c.right, 90), BarPixel(26, 0)) << c.completionFrame;
        EXPECT_EQ(images.At(c.left - 1, 90), BackgroundColour) << c.completionFrame;
        EXPECT_EQ(images.At(c.right + 1, 90), BackgroundColour) << c.completionFrame;
    }

    // A quarter spin stands the cut bar upright on the midpoint, its first column at the
    // bottom; its unmarked neighbours stay where they were.
    Images images;
    Board board = TwoSquares();
    board.grid.edges[0].marked = true;
    BoardPicture picture = images.Picture(board.grid);
    picture.jointImage = nullptr;
    picture.underCells = false;
    picture.completionFrame = 7;
    picture.spinAngle = 16384;
    DrawBoard(picture);
    EXPECT_EQ(images.At(75, 93), BarPixel(21, 0));
    EXPECT_EQ(images.At(75, 88), BarPixel(26, 0));
    EXPECT_EQ(images.At(75, 94), BackgroundColour);
    EXPECT_EQ(images.At(75, 87), BackgroundColour);
    EXPECT_EQ(images.At(70, 90), BackgroundColour);
    EXPECT_EQ(images.At(105, 90), BarPixel(13, 4)); // the second square's top side

    // A side both turning and marked is drawn as a turning side: at full length.
    Images turningImages;
    Board turning = TwoSquares();
    turning.Turn(*turning.grid.cells[0]);
    turning.grid.edges[0].marked = true;
    BoardPicture turningPicture = turningImages.Picture(turning.grid);
    turningPicture.jointImage = nullptr;
    turningPicture.turningCell = turning.grid.cells[0].get();
    turningPicture.completionFrame = 7;
    DrawBoard(turningPicture);
    EXPECT_EQ(turningImages.At(62, 90), BarPixel(0, 0));
    EXPECT_EQ(turningImages.At(88, 90), BarPixel(26, 0));
}

TEST(DrawBoard, OptionsChangeOnlyWhatTheyConcern)
{
    // A triangle has two slanted sides for the smoothing to show on.
    Board board({{120, 100}, {150, 150}, {90, 150}, {150, 100}}, {{0, 1, 2}, {0, 3, 1}});

    Images images;
    DrawBoard(images.Picture(board.grid));
    const std::vector<uint16_t> plain = images.Frame();

    // Without pictures under the cells, exactly the picture's pixels go back to background.
    BoardPicture picture = images.Picture(board.grid);
    picture.underCells = false;
    DrawBoard(picture);
    const std::vector<uint16_t> bare = images.Frame();
    size_t pictured = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] == CellColour) {
            ++pictured;
            EXPECT_EQ(bare[i], BackgroundColour) << i;
        } else {
            EXPECT_EQ(bare[i], plain[i]) << i;
        }
    }
    EXPECT_GT(pictured, 300u);

    // Smoothing blends the slanted bars' borders into what lies below them: colours appear that
    // none of the images holds, while the level side along the top keeps its exact pixels.
    picture.underCells = true;
    picture.antialiasing = true;
    DrawBoard(picture);
    const std::vector<uint16_t> smooth = images.Frame();
    size_t blended = 0;
    for (size_t i = 0; i < smooth.size(); ++i) {
        const uint16_t p = smooth[i];
        if (p != plain[i] && p != BackgroundColour && p != CellColour && p != JointColour &&
            BarOf(p) < 0)
            ++blended;
    }
    EXPECT_GT(blended, 40u);
    for (int x = 125; x <= 145; ++x) {
        for (int y = 96; y <= 104; ++y)
            EXPECT_EQ(images.At(x, y), plain[y * 240 + x]) << x << "," << y;
    }
}

TEST(DrawBoard, NothingButTheBackgroundWithoutAGridAndNoImagesNoDrawing)
{
    Images images;
    Fill(images.target, 0x1234);
    Board board = TwoSquares();
    BoardPicture picture = images.Picture(board.grid);
    picture.grid = nullptr;
    DrawBoard(picture);
    EXPECT_EQ(images.Frame(), std::vector<uint16_t>(240 * 320, BackgroundColour));

    // With every image missing the frame is left as it was.
    Fill(images.target, 0x1234);
    BoardPicture bare(Trig());
    bare.target = &images.target;
    bare.grid = &board.grid;
    DrawBoard(bare);
    EXPECT_EQ(images.Frame(), std::vector<uint16_t>(240 * 320, 0x1234));
}

TEST(DrawBonusIcon, IconOfTheBonusKindCentredOnTheCell)
{
    // Icons of 22 x 22, kind k filled with colour k.
    Surface16 icons;
    icons.Create(22, 22 * 12, false);
    for (uint32_t y = 0; y < icons.Height(); ++y) {
        for (uint32_t x = 0; x < 22; ++x)
            icons.Pixels()[y * icons.Stride() + x] = static_cast<uint16_t>(y / 22 + 1);
    }
    Images images;
    Board board = TwoSquares();
    GridCell& cell = *board.grid.cells[1]; // centre (105, 105)
    cell.bonus = 3;
    BoardPicture picture = images.Picture(board.grid);
    picture.bonusIconImage = &icons;
    picture.bonusCell = &cell;

    Fill(images.target, 0);
    DrawBonusIcon(picture);
    // Top-left corner at 105 - 11 = 94 both ways, 22 pixels across.
    EXPECT_EQ(images.At(94, 94), 3);
    EXPECT_EQ(images.At(115, 115), 3);
    EXPECT_EQ(images.At(93, 100), 0);
    EXPECT_EQ(images.At(116, 100), 0);
    EXPECT_EQ(images.At(100, 93), 0);
    EXPECT_EQ(images.At(100, 116), 0);

    // No bonus cell, or a cell whose bonus is gone: nothing.
    for (const uint32_t bonus : {3u, 0u}) {
        Fill(images.target, 0);
        cell.bonus = bonus;
        picture.bonusCell = bonus ? nullptr : &cell;
        DrawBonusIcon(picture);
        EXPECT_EQ(images.Frame(), std::vector<uint16_t>(240 * 320, 0)) << bonus;
    }
}

TEST(PickBoardImages, ImagesAndSizesFollowTheCellSize)
{
    // Every image of the "Game" group is a different width, so the width tells which it is.
    const char* names[] = {"cr30",     "cr40",    "Chain",   "Chain2",  "bonuses30", "bonuses40",
                           "Poly3",    "Poly4",   "Poly5",   "Poly6",   "Poly7",     "Poly8",
                           "Poly9",    "Poly10",  "Poly11",  "Poly12",  "Poly2_3",   "Poly2_4",
                           "Poly2_5",  "Poly2_6", "Poly2_7", "Poly2_8", "Poly2_9",   "Poly2_10",
                           "Poly2_11", "Poly2_12"};
    TempDir dir;
    std::filesystem::create_directories(dir.Root() / "XML");
    std::filesystem::create_directories(dir.Root() / "Images");
    std::string catalogue = "<Resources><Group name=\"Game\">";
    uint32_t width = 1;
    for (const char* name : names) {
        catalogue += std::string("<Image name=\"") + name + "\" fileName=\"" + name + ".qim\"/>";
        Surface16 image;
        image.Create(width++, 1, false);
        const std::vector<uint8_t> bytes = Graphics::EncodeQim(image);
        Fixture::WriteFile(dir.Root() / "Images" / (std::string(name) + ".qim"),
                           std::string(bytes.begin(), bytes.end()));
    }
    Fixture::WriteFile(dir.Root() / "XML" / "resources.xml", catalogue + "</Group></Resources>");
    IO::FileSystem files;
    std::u16string root;
    for (char c : dir.Root().string())
        root.push_back(static_cast<char16_t>(c));
    ASSERT_EQ(files.Mount(root + u"/"), 0);
    ResourceManager resources;
    resources.LoadCatalogue(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"),
                            IO::FileSystem::FindDirectory(files.GetRoot(), u"Images"));
    resources.LoadGroup(u"Game");

    auto widthOf = [](const Surface16* image) { return image ? int(image->Width()) : 0; };
    BoardPicture picture(Trig());
    PickBoardImages(picture, resources, 40.0f);
    EXPECT_EQ(picture.sideLength, 33u);
    EXPECT_EQ(picture.sideThickness, 11u);
    EXPECT_EQ(picture.bonusIconSize, 29u);
    EXPECT_EQ(widthOf(picture.sideImage), 2);
    EXPECT_EQ(widthOf(picture.jointImage), 4);
    EXPECT_EQ(widthOf(picture.bonusIconImage), 6);
    for (uint32_t n = 3; n <= 12; ++n)
        EXPECT_EQ(widthOf(picture.cellImages[n - 3]), int(17 + n - 3)) << n;

    // Any other size takes the set for 30; a missing image is null.
    std::filesystem::remove(dir.Root() / "Images" / "Poly7.qim");
    resources.UnloadGroup(u"Game");
    resources.LoadGroup(u"Game");
    PickBoardImages(picture, resources, 35.0f);
    EXPECT_EQ(picture.sideLength, 27u);
    EXPECT_EQ(picture.sideThickness, 9u);
    EXPECT_EQ(picture.bonusIconSize, 22u);
    EXPECT_EQ(widthOf(picture.sideImage), 1);
    EXPECT_EQ(widthOf(picture.jointImage), 3);
    EXPECT_EQ(widthOf(picture.bonusIconImage), 5);
    for (uint32_t n = 3; n <= 12; ++n)
        EXPECT_EQ(widthOf(picture.cellImages[n - 3]), n == 7 ? 0 : int(7 + n - 3)) << n;
}

} // namespace
