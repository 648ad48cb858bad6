// The picture grid: where cells fall and which a tap selects, the gaps, a single column, layouts
// that leave no cells, and the selection frame.
#include "ui/ImageList.h"

#include "WidgetFixture.h"

#include <limits>

namespace {

// Cell k of the test image (10 by 8, four stacked) is one flat colour.
constexpr uint16_t CellColour(int k)
{
    return static_cast<uint16_t>(0x1000 + k * 0x0101);
}

class ImageListTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        auto image = std::make_unique<Graphics::Surface16>();
        image->Create(10, 32, false);
        for (uint32_t y = 0; y < 32; ++y)
            std::fill_n(image->Pixels() + y * image->Stride(), 10, CellColour(int(y / 8)));
        renderer.addImage(std::move(image), u"cells");

        list = new UI::ImageList(root, system.get());
        list->setElement(system->findElement(u"panel"));
        // 35 pixels inside the borders: three columns spread with gaps of 2; rows 4 apart.
        list->setRect(20, 20, 39, 30);
        list->setImage(u"cells");
        list->setCellHeight(8);
        list->setBorders(3, 0, 2, 2);
        list->setFixedGap(0, 4);
    }

    // The cell a tap at (x, y) in the list selects, from no selection.
    int32_t TapAt(int x, int y)
    {
        list->setSelection(-1);
        Tap(20 + x, 20 + y);
        return list->selected();
    }
    // What is drawn at (x, y) in the list: a cell's number, or -1 for the background.
    int DrawnAt(int x, int y)
    {
        for (int k = 0; k < 4; ++k) {
            if (Pixel(20 + x, 20 + y) == CellColour(k))
                return k;
        }
        return Pixel(20 + x, 20 + y) == Colour("panel", "default") ? -1 : -2;
    }

    UI::ImageList* list = nullptr;
};

TEST_F(ImageListTest, CellsFallInRowsWithGapsAndTapsSelectThem)
{
    // Cells 0..2 at x 2, 14, 26 (gaps of 2) and y 3; cell 3 below the first at y 15. There is no
    // cell 4 beside it.
    const std::tuple<int, int, int32_t> cases[] = {
        {2, 3, 0},   {11, 10, 0}, {12, 5, -1}, {13, 5, -1}, {14, 5, 1},
        {26, 5, 2},  {35, 10, 2}, {36, 5, -1}, {1, 5, -1},  {5, 2, -1},
        {5, 11, -1}, {5, 14, -1}, {5, 15, 3},  {5, 22, 3},  {16, 18, -1},
    };
    Draw();
    for (const auto& [x, y, cell] : cases) {
        EXPECT_EQ(DrawnAt(x, y), cell) << x << "," << y;
        EXPECT_EQ(TapAt(x, y), cell) << x << "," << y;
    }

    list->setFixedGap(1, 4); // replaces the spread gap
    Draw();
    EXPECT_EQ(DrawnAt(22, 5), 1);
    EXPECT_EQ(DrawnAt(23, 5), -1);
    EXPECT_EQ(TapAt(24, 5), 2);

    list->setFirstVisible(1);
    EXPECT_EQ(TapAt(5, 5), 1);
    list->setEnabled(false);
    EXPECT_EQ(TapAt(5, 5), -1);
}

TEST_F(ImageListTest, OneColumnHasNoGapToSpread)
{
    list->setSize(14, 30);
    EXPECT_EQ(TapAt(5, 18), 1);
    EXPECT_EQ(TapAt(5, 28), -1) << "the third row does not fit";
}

TEST_F(ImageListTest, LayoutsThatLeaveNoCellsDrawAndSelectNothing)
{
    // {cell height, width, left border, image}: no height, a window narrower than a cell, an
    // unknown image, none, borders past the window.
    constexpr int32_t Huge = std::numeric_limits<int32_t>::max();
    const std::tuple<int32_t, int32_t, int32_t, const char16_t*> cases[] = {
        {0, 39, 2, u"cells"}, {-8, 39, 2, u"cells"}, {8, 13, 2, u"cells"},
        {8, 39, 2, u"other"}, {8, 39, 2, u""},       {8, 39, Huge, u"cells"}};
    for (const auto& [cellHeight, width, left, image] : cases) {
        SCOPED_TRACE(testing::Message() << cellHeight << " " << width << " " << left);
        list->setImage(image);
        list->setCellHeight(cellHeight);
        list->setSize(width, 30);
        list->setBorders(3, 0, left, 2);
        list->setSelection(0);
        EXPECT_EQ(list->selected(), -1);
        EXPECT_EQ(TapAt(5, 5), -1);
        Draw();
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(DrawnAt(x, y), -1) << x << "," << y;
        }
    }
}

TEST_F(ImageListTest, SelectionStaysAmongTheCellsAndItsFrameGoesOverOrUnder)
{
    list->setSelection(4);
    EXPECT_EQ(list->selected(), -1);
    list->setSelection(3);
    list->setCellHeight(16); // two cells now
    EXPECT_EQ(list->selected(), -1);
    list->setCellHeight(8);

    // A 4 by 4 frame from one pixel left of and above cell 1 (at 14, 3).
    list->setSelectionElement(system->findElement(u"frame"));
    list->setSelection(1);
    for (const auto& [type, inside] :
         {std::pair{0, Colour("frame", "default")}, {1, CellColour(1)}}) {
        list->setSelectionFrame(type, -1, -1, 4, 4);
        Draw();
        EXPECT_EQ(Pixel(20 + 13, 20 + 2), Colour("frame", "default"));
        EXPECT_EQ(Pixel(20 + 14, 20 + 3), inside) << type;
        EXPECT_EQ(DrawnAt(2, 3), 0) << "only the selected cell";
    }
    list->setEnabled(false);
    Draw();
    EXPECT_EQ(Pixel(20 + 13, 20 + 2), Colour("frame", "disabled"));
}

} // namespace
