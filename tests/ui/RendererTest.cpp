// The renderer over a small target surface: the grid layout of skin states (shares, natural and
// fixed sizes, distant columns, 32-bit extremes), tiling phase under clips and origins, images,
// text anchoring and index checks, the managed renderer over a real resource manager, and the
// base window look.
#include "graphics/Qim.h"
#include "resources/ResourceManager.h"
#include "support/QpkBuilder.h"
#include "support/TempDir.h"
#include "ui/ManagedSurfaceRenderer.h"
#include "ui/Skin.h"
#include "ui/SurfaceRenderer.h"
#include "ui/UISystem.h"
#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

using Graphics::Rect;
using Graphics::Surface16;
using UI::Area;
using UI::ElementState;
using UI::SizeMode;
using UI::SurfaceRenderer;

namespace {

constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();
constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();

constexpr uint16_t Back = 0x1234;
constexpr uint16_t ColourA = 0xF800;
constexpr uint16_t ColourB = 0x07E0;
constexpr uint16_t ColourC = 0x001F;
constexpr uint16_t ColourD = 0xFFE0;
constexpr uint16_t Ink = 0x7BEF;

std::unique_ptr<Surface16> Solid(uint32_t w, uint32_t h, uint16_t colour)
{
    auto s = std::make_unique<Surface16>();
    s->Create(w, h, false);
    std::fill_n(s->Pixels(), s->Stride() * h, colour);
    return s;
}

// The pattern image P: 3 x 2, every pixel its own colour, so a tile's phase shows.
uint16_t PatternAt(int64_t x, int64_t y)
{
    return static_cast<uint16_t>(0x4000 + y * 16 + x);
}

// A font whose one glyph, "A", is 4 x 4 pixels of Ink; line height 6, so n letters measure
// 4n + 2 by 6.
std::string FntBytes()
{
    std::string fnt;
    for (int value : {1, 0, 1, int{'A'}, 1, 0, 4, 1, 0, 0, 0, 0, 0, 1, 6})
        Fixture::Put16(fnt, static_cast<uint16_t>(value));
    return fnt;
}
std::unique_ptr<Utils::BitmapFont> TestFont()
{
    const std::string fnt = FntBytes();
    auto font = std::make_unique<Utils::BitmapFont>();
    const bool loaded = font->Load(
        std::span(reinterpret_cast<const uint8_t*>(fnt.data()), fnt.size()), Solid(4, 5, Ink));
    return loaded ? std::move(font) : nullptr;
}

// A 120 x 40 target filled with Back, and a renderer with images A (4 x 4), B (2 x 3),
// C (6 x 2), D (3 x 5) in solid colours, P the pattern, and the font F.
struct Scene
{
    Scene()
    {
        target.Create(120, 40, false);
        clear();
        renderer.target = &target;
        renderer.addImage(Solid(4, 4, ColourA), u"A");
        renderer.addImage(Solid(2, 3, ColourB), u"B");
        renderer.addImage(Solid(6, 2, ColourC), u"C");
        renderer.addImage(Solid(3, 5, ColourD), u"D");
        auto pattern = Solid(3, 2, 0);
        for (uint32_t i = 0; i < 6; ++i)
            pattern->Pixels()[i / 3 * pattern->Stride() + i % 3] = PatternAt(i % 3, i / 3);
        renderer.addImage(std::move(pattern), u"P");
        renderer.addFont(TestFont(), u"F");
    }
    void clear() { std::fill_n(target.Pixels(), target.Stride() * target.Height(), Back); }
    uint16_t at(int x, int y) const { return target.Pixels()[y * target.Stride() + x]; }
    bool untouched() const
    {
        const uint16_t* p = target.Pixels();
        return std::all_of(p, p + target.Stride() * target.Height(),
                           [](uint16_t v) { return v == Back; });
    }

    Surface16 target;
    SurfaceRenderer renderer;
};

struct Dim
{
    SizeMode mode;
    int32_t value;
};
constexpr Dim Nat{SizeMode::Natural, -1};
constexpr Dim Pct(int32_t shares)
{
    return {SizeMode::Proportional, shares};
}
constexpr Dim Px(int32_t pixels)
{
    return {SizeMode::Fixed, pixels};
}

// An area of the whole image placed in grid cell (column, row).
Area Cell(const char16_t* image, int32_t column, int32_t row, Dim w, Dim h)
{
    Area area;
    area.imageName = image;
    area.srcW = -1;
    area.srcH = -1;
    area.dstX = column;
    area.dstY = row;
    area.dstW = w.value;
    area.dstWMode = w.mode;
    area.dstH = h.value;
    area.dstHMode = h.mode;
    return area;
}

struct Probe
{
    int x;
    int y;
    uint16_t colour;
};

void ExpectProbes(const Scene& scene, const std::vector<Probe>& probes, const char* what)
{
    for (const Probe& p : probes)
        EXPECT_EQ(scene.at(p.x, p.y), p.colour) << what << " at " << p.x << "," << p.y;
}

} // namespace

TEST(SurfaceRenderer, LaysStatesOutAsGrids)
{
    struct Case
    {
        const char* what;
        std::vector<Area> areas;
        Rect rect;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"shares 1:3 of the 100 pixels left over give 25 and 75",
         {Cell(u"A", 0, 0, Nat, Nat), Cell(u"B", 1, 0, Pct(1), Nat), Cell(u"C", 2, 0, Pct(3), Nat)},
         {0, 0, 104, 10},
         {{3, 0, ColourA},
          {4, 0, ColourB},
          {28, 2, ColourB},
          {29, 0, ColourC},
          {103, 1, ColourC},
          {104, 0, Back},
          {4, 3, Back},
          {29, 2, Back}}},
        {"shares summing to 0 take the natural size",
         {Cell(u"B", 0, 0, Pct(0), Nat), Cell(u"C", 1, 0, Pct(0), Nat)},
         {0, 0, 100, 10},
         {{1, 0, ColourB}, {2, 0, ColourC}, {7, 0, ColourC}, {8, 0, Back}}},
        {"shares cancelling to 0 take the natural size",
         {Cell(u"B", 0, 0, Pct(2), Nat), Cell(u"C", 1, 0, Pct(-2), Nat)},
         {0, 0, 100, 10},
         {{1, 0, ColourB}, {2, 0, ColourC}, {7, 0, ColourC}, {8, 0, Back}}},
        {"fixed widths, a negative one counting as 0",
         {Cell(u"A", 0, 0, Px(10), Nat), Cell(u"B", 1, 0, Px(-5), Nat), Cell(u"C", 2, 0, Nat, Nat)},
         {0, 0, 100, 10},
         {{9, 0, ColourA}, {10, 0, ColourC}, {15, 0, ColourC}, {16, 0, Back}}},
        {"heights are shared column by column",
         {Cell(u"A", 0, 0, Nat, Nat), Cell(u"B", 0, 1, Nat, Pct(1)), Cell(u"D", 0, 2, Nat, Nat)},
         {0, 0, 50, 20},
         {{0, 3, ColourA},
          {0, 4, ColourB},
          {1, 14, ColourB},
          {0, 15, ColourD},
          {0, 19, ColourD},
          {0, 20, Back},
          {2, 10, Back}}},
        {"columns far apart follow each other",
         {Cell(u"A", 0, 0, Nat, Nat), Cell(u"B", Max32, 0, Nat, Nat),
          Cell(u"C", Min32, 0, Nat, Nat)},
         {0, 0, 50, 10},
         {{5, 0, ColourC},
          {6, 0, ColourA},
          {9, 0, ColourA},
          {10, 0, ColourB},
          {11, 0, ColourB},
          {12, 0, Back}}},
        {"rows far apart follow each other",
         {Cell(u"A", 0, Max32, Nat, Nat), Cell(u"D", 0, Min32, Nat, Nat)},
         {0, 0, 50, 30},
         {{0, 4, ColourD}, {0, 5, ColourA}, {0, 8, ColourA}, {0, 9, Back}}},
        {"areas of one cell follow each other in list order, across and down",
         {Cell(u"A", 0, 0, Nat, Nat), Cell(u"B", 0, 0, Nat, Nat)},
         {0, 0, 50, 30},
         {{0, 0, ColourA}, {4, 4, ColourB}, {5, 6, ColourB}, {4, 0, Back}, {0, 4, Back}}},
        {"huge mixed-sign shares stay in range",
         {Cell(u"A", 0, 0, Pct(Max32), Nat), Cell(u"B", 1, 0, Pct(Min32), Nat),
          Cell(u"C", 2, 0, Pct(2), Nat)},
         {0, 0, 100, 10},
         {{0, 0, ColourA}, {119, 3, ColourA}, {0, 4, Back}}},
        {"huge fixed widths leave a negative remainder",
         {Cell(u"A", 0, 0, Px(Max32), Nat), Cell(u"B", 1, 0, Px(Max32), Nat),
          Cell(u"C", 2, 0, Pct(1), Nat)},
         {0, 0, 100, 10},
         {{119, 0, ColourA}, {0, 4, Back}}},
        {"an area whose image is unknown takes no room",
         {Cell(u"A", 0, 0, Nat, Nat), Cell(u"missing", 1, 0, Px(50), Px(50)),
          Cell(u"B", 2, 0, Nat, Nat)},
         {0, 0, 100, 10},
         {{4, 0, ColourB}, {5, 2, ColourB}, {6, 0, Back}}},
        {"the rectangle's position",
         {Cell(u"A", 0, 0, Pct(1), Pct(1))},
         {10, 5, 8, 6},
         {{9, 5, Back}, {10, 5, ColourA}, {17, 10, ColourA}, {18, 10, Back}, {17, 11, Back}}},
        {"a rectangle starting far to the left",
         {Cell(u"A", 0, 0, Pct(1), Pct(1))},
         {-1000000, 0, 1000010, 4},
         {{0, 0, ColourA}, {9, 3, ColourA}, {10, 0, Back}, {0, 4, Back}}},
        {"a rectangle at the right end of the 32-bit range",
         {Cell(u"A", 0, 0, Pct(1), Pct(1))},
         {Max32 - 5, 0, Max32, 4},
         {{0, 0, Back}, {119, 0, Back}}},
        {"a rectangle that ends just before the target",
         {Cell(u"A", 0, 0, Pct(1), Pct(1))},
         {Min32, Min32, Max32, Max32},
         {{0, 0, Back}}},
        {"a negative size",
         {Cell(u"A", 0, 0, Pct(1), Pct(1))},
         {10, 10, -5, -5},
         {{10, 10, Back}}}};
    for (const Case& c : cases) {
        Scene scene;
        ElementState state{u"default", c.areas};
        EXPECT_TRUE(scene.renderer.drawState(c.rect.x, c.rect.y, c.rect.width, c.rect.height,
                                             &state, nullptr))
            << c.what;
        ExpectProbes(scene, c.probes, c.what);
    }
}

TEST(SurfaceRenderer, TilesKeepTheirPhaseUnderClipsAndOrigins)
{
    struct Case
    {
        const char* what;
        Rect rect;
        std::optional<Rect> clip;
        int32_t originX = Min32;
        int32_t originY = Min32;
    };
    const Case cases[] = {
        {"unclipped", {0, 0, 10, 6}, std::nullopt},
        {"clipped inside", {0, 0, 10, 6}, Rect{4, 1, 5, 3}},
        {"clip reaching off the target", {0, 0, 200, 60}, Rect{-50, -50, 100, 60}},
        {"clip to the 32-bit edge", {0, 0, 200, 60}, Rect{-10, -10, Max32, Max32}},
        {"empty clip", {0, 0, 10, 6}, Rect{0, 0, 0, 40}},
        {"clip of negative width", {0, 0, 10, 6}, Rect{5, 0, -3, 40}},
        {"rectangle far away", {-1000001, -999999, 1000020, 1000010}, std::nullopt},
        {"origin", {0, 0, 10, 6}, std::nullopt, 5, 2},
        {"origin and clip", {1, 1, 30, 20}, Rect{0, 0, 8, 8}, 3, 4}};
    const auto inside = [](int64_t v, int64_t from, int64_t size) {
        return v >= from && v < from + size;
    };
    for (const Case& c : cases) {
        Scene scene;
        ElementState state{u"default", {Cell(u"P", 0, 0, Pct(1), Pct(1))}};
        const Rect* clip = c.clip ? &*c.clip : nullptr;
        EXPECT_TRUE(scene.renderer.drawStateOffset(c.rect.x, c.rect.y, c.rect.width, c.rect.height,
                                                   &state, c.originX, c.originY, clip));
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 120; ++x) {
                const bool drawn =
                    inside(x, c.rect.x, c.rect.width) && inside(y, c.rect.y, c.rect.height) &&
                    (!clip ||
                     (inside(x, clip->x, clip->width) && inside(y, clip->y, clip->height))) &&
                    x >= c.originX && y >= c.originY;
                const uint16_t expected =
                    drawn ? PatternAt((x - int64_t{c.rect.x}) % 3, (y - int64_t{c.rect.y}) % 2)
                          : Back;
                ASSERT_EQ(scene.at(x, y), expected) << c.what << " at " << x << "," << y;
            }
        }
    }
}

TEST(SurfaceRenderer, SourceRectanglesAreCutToTheImage)
{
    struct Case
    {
        const char* what;
        Rect source; // a size of -1 is the image's
        std::vector<Probe> probes;
    };
    // The cell is the image's natural size, 3 x 2, whatever the source.
    const Case cases[] = {
        {"a part of the image, tiled",
         {1, 0, 2, -1},
         {{0, 0, PatternAt(1, 0)}, {1, 1, PatternAt(2, 1)}, {2, 0, PatternAt(1, 0)}, {3, 0, Back}}},
        {"a source reaching off the left",
         {-1, 1, 3, 1},
         {{0, 0, PatternAt(0, 1)}, {1, 1, PatternAt(1, 1)}, {2, 0, PatternAt(0, 1)}}},
        {"a whole-image source starting inside",
         {2, 0, -1, -1},
         {{0, 0, PatternAt(2, 0)}, {1, 1, PatternAt(2, 1)}, {2, 0, PatternAt(2, 0)}}},
        {"an empty source draws nothing", {0, 0, 0, -1}, {{0, 0, Back}, {1, 1, Back}}},
        {"a source beside the image draws nothing", {3, 0, 2, 2}, {{0, 0, Back}}},
        {"a negative source size draws nothing", {0, 0, -2, 2}, {{0, 0, Back}}}};
    for (const Case& c : cases) {
        Scene scene;
        Area area = Cell(u"P", 0, 0, Nat, Nat);
        area.srcX = c.source.x;
        area.srcY = c.source.y;
        area.srcW = c.source.width;
        area.srcH = c.source.height;
        ElementState state{u"default", {area}};
        EXPECT_TRUE(scene.renderer.drawState(0, 0, 50, 20, &state, nullptr)) << c.what;
        ExpectProbes(scene, c.probes, c.what);
    }
}

TEST(SurfaceRenderer, UnknownImagesAreLookedUpAgainAndFoundOnesCached)
{
    Scene scene;
    ElementState state{u"default", {Cell(u"late", 0, 0, Pct(1), Pct(1))}};
    EXPECT_TRUE(scene.renderer.drawState(0, 0, 10, 10, &state, nullptr));
    EXPECT_TRUE(scene.untouched());
    EXPECT_EQ(state.areas[0].imageIndex, -1);

    scene.renderer.addImage(Solid(1, 1, ColourD), u"late");
    EXPECT_TRUE(scene.renderer.drawState(0, 0, 10, 10, &state, nullptr));
    EXPECT_EQ(scene.at(9, 9), ColourD);
    EXPECT_EQ(state.areas[0].imageIndex, scene.renderer.findImage(u"late"));

    // Once found, the cached index is used, not the name.
    state.areas[0].imageIndex = scene.renderer.findImage(u"B");
    EXPECT_TRUE(scene.renderer.drawState(0, 0, 10, 10, &state, nullptr));
    EXPECT_EQ(scene.at(9, 9), ColourB);
}

TEST(SurfaceRenderer, DrawsOnlyWithATarget)
{
    Scene scene;
    ElementState state{u"default", {Cell(u"A", 0, 0, Pct(1), Pct(1))}};
    const UI::Size size{10, 10};
    const Rect rect{0, 0, 50, 20};
    using Call = std::function<bool(SurfaceRenderer&)>;
    const std::pair<const char*, Call> calls[] = {
        {"drawLine", [](SurfaceRenderer& r) { return r.drawLine(0, 0, 9, 9, 0xFFFFFFFF, 255); }},
        {"drawImage",
         [](SurfaceRenderer& r) { return r.drawImage(0, 0, 0, 0, nullptr, nullptr, nullptr); }},
        {"drawImage tiled",
         [&](SurfaceRenderer& r) { return r.drawImage(0, 0, 0, 4, nullptr, &size, nullptr); }},
        {"fillRect", [](SurfaceRenderer& r) { return r.fillRect(0, 0, 10, 10, 0xFFFFFFFF); }},
        {"drawState", [&](SurfaceRenderer& r) { return r.drawState(0, 0, 9, 9, &state, nullptr); }},
        {"drawStateOffset",
         [&](SurfaceRenderer& r) { return r.drawStateOffset(0, 0, 9, 9, &state, 0, 0, nullptr); }},
        {"drawTextBox",
         [&](SurfaceRenderer& r) { return r.drawTextBox(rect, 0, 0, u"A", 0, 0, 0); }},
        {"drawText", [](SurfaceRenderer& r) { return r.drawText(0, 0, u"A", 0, nullptr, 0); }}};
    scene.renderer.target = nullptr;
    for (const auto& [what, call] : calls)
        EXPECT_FALSE(call(scene.renderer)) << what;
    EXPECT_TRUE(scene.untouched());

    scene.renderer.target = &scene.target;
    for (const auto& [what, call] : calls)
        EXPECT_TRUE(call(scene.renderer)) << what;
    EXPECT_FALSE(scene.renderer.drawState(0, 0, 10, 10, nullptr, nullptr));
    EXPECT_FALSE(scene.renderer.drawStateOffset(0, 0, 10, 10, nullptr, 0, 0, nullptr));
}

TEST(SurfaceRenderer, DrawsImagesCopiedOrTiled)
{
    const Rect part{1, 0, 2, 2};
    const Rect fromColumn2{2, 0, -1, -1};
    const Rect clip{3, 0, 10, 10};
    const UI::Size size{7, 5};
    struct Case
    {
        const char* what;
        int32_t mode;
        const Rect* source;
        const Rect* clip;
        std::vector<Probe> probes;
    };
    // Drawn at (2, 1); tiled ones fill 7 x 5.
    const Case cases[] = {
        {"copy",
         UI::ImageMode::Copy,
         nullptr,
         nullptr,
         {{2, 1, PatternAt(0, 0)}, {4, 2, PatternAt(2, 1)}, {5, 1, Back}, {2, 3, Back}}},
        {"copy of a part",
         UI::ImageMode::Copy,
         &part,
         nullptr,
         {{2, 1, PatternAt(1, 0)}, {3, 2, PatternAt(2, 1)}, {4, 1, Back}}},
        {"copy clipped",
         UI::ImageMode::Copy,
         nullptr,
         &clip,
         {{2, 1, Back}, {3, 1, PatternAt(1, 0)}, {4, 2, PatternAt(2, 1)}}},
        {"tiled both ways",
         UI::ImageMode::TileBoth,
         nullptr,
         nullptr,
         {{8, 5, PatternAt(0, 0)}, {5, 2, PatternAt(0, 1)}, {9, 1, Back}, {2, 6, Back}}},
        {"tiled across, one tile high",
         UI::ImageMode::TileHorizontal,
         nullptr,
         nullptr,
         {{8, 2, PatternAt(0, 1)}, {8, 3, Back}}},
        {"tiled down, one tile wide",
         UI::ImageMode::TileVertical,
         nullptr,
         nullptr,
         {{4, 5, PatternAt(2, 0)}, {5, 5, Back}}},
        {"tiled from a whole-image source",
         UI::ImageMode::TileBoth,
         &fromColumn2,
         nullptr,
         {{2, 1, PatternAt(2, 0)}, {3, 2, PatternAt(2, 1)}}},
        {"tiled and clipped keeps the phase",
         UI::ImageMode::TileBoth,
         nullptr,
         &clip,
         {{2, 1, Back}, {3, 1, PatternAt(1, 0)}, {6, 2, PatternAt(1, 1)}}}};
    for (const Case& c : cases) {
        Scene scene;
        EXPECT_TRUE(scene.renderer.drawImage(2, 1, 4, c.mode, c.source, &size, c.clip)) << c.what;
        ExpectProbes(scene, c.probes, c.what);
    }

    // Refused: tiling without a size, an index out of range, a mode that does not exist.
    Scene scene;
    EXPECT_FALSE(
        scene.renderer.drawImage(0, 0, 4, UI::ImageMode::TileVertical, nullptr, nullptr, nullptr));
    EXPECT_FALSE(
        scene.renderer.drawImage(0, 0, 4, UI::ImageMode::TileBoth, nullptr, nullptr, nullptr));
    for (int32_t image : {-1, -2, 5, Min32})
        EXPECT_FALSE(scene.renderer.drawImage(0, 0, image, 0, nullptr, &size, nullptr)) << image;
    for (int32_t mode : {1, 5, -1})
        EXPECT_FALSE(scene.renderer.drawImage(0, 0, 4, mode, nullptr, &size, nullptr)) << mode;
    EXPECT_TRUE(scene.untouched());
}

TEST(SurfaceRenderer, RefusesIndicesOutOfRange)
{
    Scene scene;
    EXPECT_EQ(scene.renderer.findImage(u"P"), 4);
    EXPECT_EQ(scene.renderer.findImage(u"p"), -1);
    EXPECT_EQ(scene.renderer.findFont(u"F"), 0);
    EXPECT_EQ(scene.renderer.findFont(u"A"), -1);
    EXPECT_EQ(scene.renderer.fontCount(), 1);
    for (int32_t index : {-2, -1, 5, Max32, Min32}) {
        int32_t w = 7;
        int32_t h = 7;
        EXPECT_EQ(scene.renderer.getImage(index), nullptr) << index;
        EXPECT_FALSE(scene.renderer.getImageSize(w, h, index)) << index;
        EXPECT_EQ(w + h, 0) << index;
        // Index 1 equals the font count: no font either.
        const int32_t font = index == 5 ? 1 : index;
        w = h = 7;
        EXPECT_EQ(scene.renderer.getFont(font), nullptr) << font;
        EXPECT_FALSE(scene.renderer.measureText(u"AAA", w, h, font)) << font;
        EXPECT_EQ(w + h, 0) << font;
        EXPECT_FALSE(scene.renderer.drawText(0, 0, u"A", 0, nullptr, font)) << font;
    }
    int32_t w = 0;
    int32_t h = 0;
    EXPECT_TRUE(scene.renderer.getImageSize(w, h, 2));
    EXPECT_EQ(w * 100 + h, 602);
    EXPECT_TRUE(scene.renderer.measureTextNamed(u"AAA", w, h, u"F"));
    EXPECT_EQ(w * 100 + h, 1406);
    EXPECT_FALSE(scene.renderer.measureTextNamed(u"AAA", w, h, u"G"));
    EXPECT_FALSE(scene.renderer.drawTextNamed(0, 0, u"A", 0, nullptr, u"G"));
    EXPECT_FALSE(scene.renderer.drawTextBox({0, 0, 40, 20}, 0, 0, u"", 0, 0, 0));
    EXPECT_TRUE(scene.untouched());
}

TEST(SurfaceRenderer, AnchorsTextByItsFlags)
{
    // "AAAAA" measures 22 x 6: centring moves it 11 left and 3 up. Centre beats right, middle
    // beats bottom; other bits are ignored.
    struct Case
    {
        uint32_t flags;
        int dx;
        int dy;
    };
    const Case cases[] = {{0, 0, 0},       {2, -11, 0},   {4, 0, -3},        {2 | 4, -11, -3},
                          {8, -22, 0},     {16, 0, -6},   {8 | 16, -22, -6}, {2 | 8, -11, 0},
                          {4 | 16, 0, -3}, {1 | 32, 0, 0}};
    const std::u16string text = u"AAAAA";
    for (const Case& c : cases) {
        Scene scene;
        EXPECT_TRUE(scene.renderer.drawTextNamed(60, 20, text, c.flags, nullptr, u"F")) << c.flags;
        Scene reference;
        TestFont()->DrawText(60 + c.dx, 20 + c.dy, text, &reference.target);
        ASSERT_FALSE(reference.untouched());
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 120; ++x)
                ASSERT_EQ(scene.at(x, y), reference.at(x, y)) << c.flags << " at " << x << "," << y;
        }
    }
}

TEST(SurfaceRenderer, ClipsTextAndFillsRectangles)
{
    Scene scene;
    const Rect clip{0, 0, 62, 40};
    EXPECT_TRUE(scene.renderer.drawText(60, 20, u"AA", 0, &clip, 0));
    EXPECT_EQ(scene.at(61, 22), Ink);
    EXPECT_EQ(scene.at(62, 22), Back);
    const Rect empty{0, 0, 0, 0};
    EXPECT_TRUE(scene.renderer.drawText(0, 0, u"AA", 0, &empty, 0));
    EXPECT_EQ(scene.at(0, 0), Back);
    EXPECT_TRUE(scene.renderer.drawTextBox({10, 10, 40, 20}, 0, 0, u"A", 0, 0, 0));
    EXPECT_EQ(scene.at(10, 10), Ink);

    EXPECT_TRUE(scene.renderer.fillRect(80, 3, 4, 5, 0xFF00FF00));
    ExpectProbes(scene, {{80, 3, 0x07E0}, {83, 7, 0x07E0}, {84, 7, Back}, {83, 8, Back}}, "fill");
    EXPECT_TRUE(scene.renderer.drawLine(10, 35, 30, 35, 0xFFFFFFFF, 255));
    ExpectProbes(scene, {{10, 35, 0xFFFF}, {30, 35, 0xFFFF}}, "line");
}

namespace {

// A game folder whose group "Menu" has the image "skin" and the fonts "F1" and "F2".
struct ManagedFolder
{
    ManagedFolder()
    {
        const auto qim = [](std::unique_ptr<Surface16> surface) {
            const std::vector<uint8_t> bytes = Graphics::EncodeQim(*surface);
            return std::string(bytes.begin(), bytes.end());
        };
        std::filesystem::create_directories(dir.Root() / "XML");
        std::filesystem::create_directories(dir.Root() / "Images");
        Fixture::WriteFile(dir.Root() / "XML" / "resources.xml",
                           "<R><G name=\"Menu\"><Image name=\"skin\" fileName=\"skin.qim\"/>"
                           "<Font name=\"F1\" fileName=\"f\"/><Font name=\"F2\" fileName=\"f\"/>"
                           "</G></R>");
        Fixture::WriteFile(dir.Root() / "Images" / "skin.qim", qim(Solid(2, 2, ColourC)));
        Fixture::WriteFile(dir.Root() / "Images" / "f.fnt", FntBytes());
        Fixture::WriteFile(dir.Root() / "Images" / "f.qim", qim(Solid(4, 5, Ink)));
        std::u16string root;
        for (char c : dir.Root().string())
            root.push_back(static_cast<char16_t>(c));
        files.Mount(root + u"/");
        manager.LoadCatalogue(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"),
                              IO::FileSystem::FindDirectory(files.GetRoot(), u"Images"));
    }

    TempDir dir;
    IO::FileSystem files;
    ResourceManager manager;
};

} // namespace

TEST(ManagedSurfaceRenderer, UsesTheResourceManagersHandlesAsIndices)
{
    ManagedFolder folder;
    UI::ManagedSurfaceRenderer renderer(folder.manager);
    Scene scene;
    renderer.target = &scene.target;
    ElementState state{u"default", {Cell(u"skin", 0, 0, Pct(1), Pct(1))}};

    // Before its group is loaded the image has no handle: nothing drawn, nothing cached.
    EXPECT_EQ(renderer.findImage(u"skin"), -1);
    EXPECT_EQ(renderer.fontCount(), 0);
    EXPECT_TRUE(renderer.drawState(0, 0, 4, 4, &state, nullptr));
    EXPECT_TRUE(scene.untouched());
    EXPECT_EQ(state.areas[0].imageIndex, -1);

    folder.manager.LoadGroup(u"Menu");
    EXPECT_EQ(renderer.findImage(u"skin"), 1);
    for (const char16_t* name : {u"dummy", u"none", u""})
        EXPECT_EQ(renderer.findImage(name), -1);
    for (int32_t index : {0, -2, 2})
        EXPECT_EQ(renderer.getImage(index), nullptr) << index;
    EXPECT_TRUE(renderer.drawState(0, 0, 4, 4, &state, nullptr));
    EXPECT_EQ(scene.at(3, 3), ColourC);
    EXPECT_EQ(state.areas[0].imageIndex, 1);

    EXPECT_EQ(renderer.findFont(u"F1"), 1);
    EXPECT_EQ(renderer.findFont(u"F2"), 2);
    EXPECT_EQ(renderer.findFont(u"F3"), -1);
    EXPECT_EQ(renderer.fontCount(), 2);
    ASSERT_NE(renderer.getFont(1), nullptr);
    EXPECT_EQ(renderer.getFont(0), renderer.getFont(1));
    EXPECT_NE(renderer.getFont(2), renderer.getFont(1));
    EXPECT_EQ(renderer.getFont(3), nullptr);
    EXPECT_EQ(renderer.getFont(-1), nullptr);
    // The last handle equals the count and is still a font.
    int32_t w = 0;
    int32_t h = 0;
    EXPECT_TRUE(renderer.measureText(u"AA", w, h, renderer.fontCount()));
    EXPECT_EQ(w, 10);
    EXPECT_FALSE(renderer.measureText(u"AA", w, h, 3));
    EXPECT_TRUE(renderer.drawTextNamed(20, 20, u"A", 0, nullptr, u"F2"));
    EXPECT_EQ(scene.at(20, 20), Ink);
}

namespace {

// A plain window with the base look, as skinned panels are made.
class SkinnedWindow : public UI::Window
{
public:
    SkinnedWindow(UI::Window* parent, UI::UISystem* system) : Window(parent, system)
    {
        SkinnedWindow::createLook();
    }
    void createLook() override { setLook(std::make_unique<UI::WindowLook>()); }
};

} // namespace

TEST(WindowLook, DrawsTheFirstStateOverTheWindowWithinItsClip)
{
    Scene scene;
    UI::StyleList styles;
    UI::UISystem system(&scene.renderer, &styles);
    UI::Element panel;
    panel.states.push_back(ElementState{u"pressed", {Cell(u"B", 0, 0, Pct(1), Pct(1))}});
    panel.states.push_back(ElementState{u"default", {Cell(u"A", 0, 0, Pct(1), Pct(1))}});
    UI::Element stateless;

    UI::Window root(nullptr, &system);
    root.setRect(10, 5, 40, 30);
    root.setClipChildren(true);
    auto* child = new SkinnedWindow(&root, &system);
    child->setRect(30, 20, 20, 20);
    child->setElement(&panel);
    child->draw();
    // The first state in file order, over the window's absolute rectangle, cut by the parent.
    ExpectProbes(
        scene,
        {{40, 25, ColourB}, {49, 34, ColourB}, {50, 34, Back}, {49, 35, Back}, {39, 25, Back}},
        "clipped child");

    // A parent of no width leaves nothing visible; no element or no state draws nothing.
    scene.clear();
    root.setSize(0, 30);
    child->draw();
    root.setSize(40, 30);
    child->setElement(&stateless);
    child->draw();
    child->setElement(nullptr);
    child->draw();
    SkinnedWindow loose(nullptr, nullptr);
    loose.setRect(0, 0, 10, 10);
    loose.setElement(&panel);
    loose.draw();
    EXPECT_TRUE(scene.untouched());
}

TEST(WindowLook, AnchorsCaptionsWithTheFarEdgeWinning)
{
    UI::Window parent(nullptr, nullptr);
    parent.setRect(100, 50, 10, 10);
    auto* window = new UI::Window(&parent, nullptr);
    window->setRect(10, 20, 31, 41);
    struct Case
    {
        uint32_t flags;
        int32_t x;
        int32_t y;
    };
    // Absolute (110, 70), deltas (3, -4).
    const Case cases[] = {{0, 113, 66}, {2, 128, 66},   {8, 144, 66},       {2 | 8, 144, 66},
                          {4, 113, 86}, {16, 113, 107}, {4 | 16, 113, 107}, {2 | 4, 128, 86}};
    for (const Case& c : cases) {
        const UI::CaptionAnchor anchor = UI::captionAnchor(*window, c.flags, 3, -4);
        EXPECT_EQ(anchor.x, c.x) << c.flags;
        EXPECT_EQ(anchor.y, c.y) << c.flags;
    }
    // Sums past the 32-bit range saturate.
    window->setRect(0, 0, Max32, Max32);
    const UI::CaptionAnchor far = UI::captionAnchor(*window, 8 | 16, Max32, Max32);
    EXPECT_EQ(far.x, Max32);
    EXPECT_EQ(far.y, Max32);
    parent.setRect(-100, -100, 10, 10);
    const UI::CaptionAnchor low = UI::captionAnchor(*window, 0, Min32, Min32);
    EXPECT_EQ(low.x, Min32);
    EXPECT_EQ(low.y, Min32);
}
