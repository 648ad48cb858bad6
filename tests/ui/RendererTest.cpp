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
#include <optional>
#include <tuple>
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

// The colours of the target's background, of the solid images "A" to "D", and of the font.
constexpr uint16_t Back = 0x1234;
constexpr uint16_t A = 0xF800;
constexpr uint16_t B = 0x07E0;
constexpr uint16_t C = 0x001F;
constexpr uint16_t D = 0xFFE0;
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
        std::fill_n(target.Pixels(), target.Stride() * target.Height(), Back);
        renderer.target = &target;
        renderer.addImage(Solid(4, 4, A), u"A");
        renderer.addImage(Solid(2, 3, B), u"B");
        renderer.addImage(Solid(6, 2, C), u"C");
        renderer.addImage(Solid(3, 5, D), u"D");
        auto pattern = Solid(3, 2, 0);
        for (uint32_t i = 0; i < 6; ++i)
            pattern->Pixels()[i / 3 * pattern->Stride() + i % 3] = PatternAt(i % 3, i / 3);
        renderer.addImage(std::move(pattern), u"P");
        renderer.addFont(TestFont(), u"F");
    }
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
constexpr auto Pct = [](int32_t shares) { return Dim{SizeMode::Proportional, shares}; };
constexpr auto Px = [](int32_t pixels) { return Dim{SizeMode::Fixed, pixels}; };

// An area of the whole image placed in grid cell (column, row).
Area Cell(const char16_t* image, int32_t column, int32_t row, Dim w, Dim h = Nat)
{
    return {image, -1, 0, 0, -1, -1, column, row, w.value, h.value, w.mode, h.mode};
}

using Probe = std::tuple<int, int, uint16_t>; // x, y, colour

void ExpectProbes(const Scene& scene, const std::vector<Probe>& probes, const char* what)
{
    for (const auto& [x, y, colour] : probes)
        EXPECT_EQ(scene.at(x, y), colour) << what << " at " << x << "," << y;
}

bool Inside(int64_t v, int64_t from, int64_t size)
{
    return v >= from && v < from + size;
}

// Checks every pixel: within the cell, the clip and from the origin on, the part cut of P tiled
// from the cell's corner; the background everywhere else.
void ExpectTiled(const Scene& scene, Rect cell, Rect cut, const Rect* clip, const char* what,
                 int32_t originX = Min32, int32_t originY = Min32)
{
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            const bool drawn =
                cut.width > 0 && cut.height > 0 && Inside(x, cell.x, cell.width) &&
                Inside(y, cell.y, cell.height) && x >= originX && y >= originY &&
                (!clip || (Inside(x, clip->x, clip->width) && Inside(y, clip->y, clip->height)));
            const uint16_t expected = drawn ? PatternAt(cut.x + (x - int64_t{cell.x}) % cut.width,
                                                        cut.y + (y - int64_t{cell.y}) % cut.height)
                                            : Back;
            ASSERT_EQ(scene.at(x, y), expected) << what << " at " << x << "," << y;
        }
    }
}

// A plain window with the base look, as skinned panels are made.
struct LookedWindow : UI::Window
{
    LookedWindow(UI::Window* parent, UI::UISystem* system) : Window(parent, system)
    {
        setLook(std::make_unique<UI::WindowLook>());
    }
};

} // namespace

TEST(SurfaceRenderer, LaysStatesOutAsGrids)
{
    struct Case
    {
        const char* what;
        std::vector<Area> areas;
        std::vector<Probe> probes;
        Rect rect = {0, 0, 104, 10};
    };
    const Case cases[] = {
        {"shares 1:3 of the 100 pixels left over give 25 and 75",
         {Cell(u"A", 0, 0, Nat), Cell(u"B", 1, 0, Pct(1)), Cell(u"C", 2, 0, Pct(3))},
         {{3, 0, A}, {4, 0, B}, {28, 2, B}, {29, 0, C}, {103, 1, C}, {104, 0, Back}, {4, 3, Back}}},
        {"shares summing to 0 take the natural size",
         {Cell(u"B", 0, 0, Pct(2)), Cell(u"C", 1, 0, Pct(-2)), Cell(u"D", 2, 0, Pct(0))},
         {{1, 0, B}, {2, 0, C}, {7, 0, C}, {8, 0, D}, {10, 4, D}, {11, 0, Back}}},
        {"fixed widths, a negative one counting as 0",
         {Cell(u"A", 0, 0, Px(10)), Cell(u"B", 1, 0, Px(-5)), Cell(u"C", 2, 0, Nat)},
         {{9, 0, A}, {10, 0, C}, {15, 0, C}, {16, 0, Back}}},
        {"heights are shared column by column",
         {Cell(u"A", 0, 0, Nat), Cell(u"B", 0, 1, Nat, Pct(1)), Cell(u"D", 0, 2, Nat)},
         {{0, 3, A}, {0, 4, B}, {1, 14, B}, {0, 15, D}, {0, 19, D}, {0, 20, Back}, {2, 10, Back}},
         {0, 0, 50, 20}},
        {"columns far apart follow each other",
         {Cell(u"A", 0, 0, Nat), Cell(u"B", Max32, 0, Nat), Cell(u"C", Min32, 0, Nat)},
         {{5, 0, C}, {6, 0, A}, {9, 0, A}, {10, 0, B}, {11, 0, B}, {12, 0, Back}}},
        {"areas of one cell follow each other in list order, across and down",
         {Cell(u"A", 0, 0, Nat), Cell(u"B", 0, 0, Nat)},
         {{0, 0, A}, {4, 4, B}, {5, 6, B}, {4, 0, Back}, {0, 4, Back}},
         {0, 0, 50, 30}},
        {"huge mixed-sign shares stay in range",
         {Cell(u"A", 0, 0, Pct(Max32)), Cell(u"B", 1, 0, Pct(Min32)), Cell(u"C", 2, 0, Pct(2))},
         {{0, 0, A}, {119, 3, A}, {0, 4, Back}}},
        {"an area whose image is unknown takes no room",
         {Cell(u"A", 0, 0, Nat), Cell(u"missing", 1, 0, Px(50), Px(50)), Cell(u"B", 2, 0, Nat)},
         {{4, 0, B}, {5, 2, B}, {6, 0, Back}}}};
    for (const Case& c : cases) {
        Scene scene;
        ElementState state{u"default", c.areas};
        EXPECT_TRUE(scene.renderer.drawState(c.rect.x, c.rect.y, c.rect.width, c.rect.height,
                                             &state, nullptr))
            << c.what;
        ExpectProbes(scene, c.probes, c.what);
    }
}

TEST(SurfaceRenderer, TilesKeepTheirPhaseUnderClipsOriginsAndSources)
{
    struct Case
    {
        const char* what;
        Rect rect;
        std::optional<Rect> clip = std::nullopt;
        int32_t originX = Min32;
        int32_t originY = Min32;
        Rect source = {0, 0, -1, -1}; // -1: the image's size
        Rect cut = {0, 0, 3, 2};      // what the source leaves of P
    };
    const Case cases[] = {
        {"clipped inside", {0, 0, 10, 6}, Rect{4, 1, 5, 3}},
        {"clip to the 32-bit edge", {0, 0, 200, 60}, Rect{-10, -10, Max32, Max32}},
        {"empty clip", {0, 0, 10, 6}, Rect{0, 0, 0, 40}},
        {"clip of negative width", {0, 0, 10, 6}, Rect{5, 0, -3, 40}},
        {"rectangle far away", {-1000001, -999999, 1000020, 1000010}},
        {"rectangle at the 32-bit right end", {Max32 - 5, 0, Max32, 4}},
        {"rectangle ending just before the target", {Min32, Min32, Max32, Max32}},
        {"negative size", {10, 10, -5, -5}},
        {"origin", {0, 0, 10, 6}, std::nullopt, 5, 2},
        {"origin and clip", {1, 1, 30, 20}, Rect{0, 0, 8, 8}, 3, 4},
        {"a part of the image", {0, 0, 10, 6}, {}, Min32, Min32, {1, 0, 2, -1}, {1, 0, 2, 2}},
        {"a source off the left", {0, 0, 10, 6}, {}, Min32, Min32, {-1, 1, 3, 1}, {0, 1, 2, 1}},
        {"an empty source", {0, 0, 10, 6}, {}, Min32, Min32, {0, 0, 0, -1}, {0, 0, 0, 2}},
        {"a source beside the image", {0, 0, 10, 6}, {}, Min32, Min32, {3, 0, 2, 2}, {}}};
    for (const Case& c : cases) {
        Scene scene;
        Area area = Cell(u"P", 0, 0, Pct(1), Pct(1));
        std::tie(area.srcX, area.srcY, area.srcW, area.srcH) =
            std::tuple(c.source.x, c.source.y, c.source.width, c.source.height);
        ElementState state{u"default", {area}};
        const Rect* clip = c.clip ? &*c.clip : nullptr;
        EXPECT_TRUE(scene.renderer.drawStateOffset(c.rect.x, c.rect.y, c.rect.width, c.rect.height,
                                                   &state, c.originX, c.originY, clip));
        ExpectTiled(scene, c.rect, c.cut, clip, c.what, c.originX, c.originY);
    }
}

TEST(SurfaceRenderer, DrawsOnlyWithATarget)
{
    Scene scene;
    SurfaceRenderer& r = scene.renderer;
    ElementState state{u"default", {Cell(u"A", 0, 0, Pct(1), Pct(1))}};
    const UI::Size size{10, 10};
    const Rect box{20, 0, 50, 20};
    const std::pair<const char*, std::function<bool()>> calls[] = {
        {"drawLine", [&] { return r.drawLine(0, 30, 9, 39, 0xFFFFFFFF, 255); }},
        {"drawImage", [&] { return r.drawImage(0, 0, 0, 4, nullptr, &size, nullptr); }},
        {"drawState", [&] { return r.drawState(0, 0, 9, 9, &state, nullptr); }},
        {"drawStateOffset", [&] { return r.drawStateOffset(0, 0, 9, 9, &state, 0, 0, nullptr); }},
        {"drawTextBox", [&] { return r.drawTextBox(box, 0, 0, u"A", 0, 0, 0); }},
        {"drawText", [&] { return r.drawText(20, 20, u"A", 0, nullptr, 0); }},
        {"fillRect", [&] { return r.fillRect(80, 3, 4, 5, 0xFF00FF00); }}}; // pure green, as B
    r.target = nullptr;
    for (const auto& [what, call] : calls)
        EXPECT_FALSE(call()) << what;
    EXPECT_TRUE(scene.untouched());

    r.target = &scene.target;
    for (const auto& [what, call] : calls)
        EXPECT_TRUE(call()) << what;
    ExpectProbes(scene, {{80, 3, B}, {83, 7, B}, {84, 7, Back}, {83, 8, Back}}, "fillRect");
    EXPECT_FALSE(r.drawState(0, 0, 10, 10, nullptr, nullptr));
}

TEST(SurfaceRenderer, DrawsImagesCopiedOrTiled)
{
    using namespace UI::ImageMode;
    const Rect clip{3, 0, 10, 10};
    const UI::Size size{7, 5};
    struct Case
    {
        const char* what;
        int32_t mode;
        std::optional<Rect> source;
        bool clipped;
        Rect drawn; // where the tiles of cut start and end
        Rect cut;
    };
    // Drawn at (2, 1); tiled ones fill 7 x 5.
    const Rect whole{0, 0, 3, 2};
    const Case cases[] = {
        {"copy", Copy, {}, false, {2, 1, 3, 2}, whole},
        {"copy of a part", Copy, Rect{1, 0, 2, 2}, false, {2, 1, 2, 2}, {1, 0, 2, 2}},
        {"copy clipped", Copy, {}, true, {2, 1, 3, 2}, whole},
        {"tiled both ways", TileBoth, {}, false, {2, 1, 7, 5}, whole},
        {"tiled across, one tile high", TileHorizontal, {}, false, {2, 1, 7, 2}, whole},
        {"tiled down, one tile wide", TileVertical, {}, false, {2, 1, 3, 5}, whole},
        {"tiled from column 2 on", TileBoth, Rect{2, 0, -1, -1}, false, {2, 1, 7, 5}, {2, 0, 1, 2}},
        {"tiled and clipped keeps the phase", TileBoth, {}, true, {2, 1, 7, 5}, whole}};
    for (const Case& c : cases) {
        Scene scene;
        const Rect* source = c.source ? &*c.source : nullptr;
        EXPECT_TRUE(
            scene.renderer.drawImage(2, 1, 4, c.mode, source, &size, c.clipped ? &clip : nullptr))
            << c.what;
        ExpectTiled(scene, c.drawn, c.cut, c.clipped ? &clip : nullptr, c.what);
    }

    // Refused: tiling without a size, a mode that does not exist.
    Scene scene;
    for (int32_t mode : {TileVertical, TileBoth})
        EXPECT_FALSE(scene.renderer.drawImage(0, 0, 4, mode, nullptr, nullptr, nullptr)) << mode;
    for (int32_t mode : {1, 5, -1})
        EXPECT_FALSE(scene.renderer.drawImage(0, 0, 4, mode, nullptr, &size, nullptr)) << mode;
    EXPECT_TRUE(scene.untouched());
}

TEST(SurfaceRenderer, RefusesUnknownIndicesAndNames)
{
    Scene scene;
    SurfaceRenderer& r = scene.renderer;
    EXPECT_EQ(r.findImage(u"p"), -1); // names are case-sensitive
    for (int32_t index : {-1, 5, Max32, Min32}) {
        const int32_t font = index == 5 ? 1 : index; // 1 equals the font count
        int32_t w = 7, h = 7, fontW = 7, fontH = 7;
        EXPECT_EQ(r.getImage(index), nullptr) << index;
        EXPECT_FALSE(r.drawImage(0, 0, index, 0, nullptr, nullptr, nullptr)) << index;
        EXPECT_FALSE(r.getImageSize(w, h, index) || w || h) << index;
        EXPECT_EQ(r.getFont(font), nullptr) << font;
        EXPECT_FALSE(r.measureText(u"AAA", fontW, fontH, font) || fontW || fontH) << font;
        EXPECT_FALSE(r.drawText(0, 0, u"A", 0, nullptr, font)) << font;
    }
    int32_t w = 0;
    int32_t h = 0;
    EXPECT_TRUE(r.measureTextNamed(u"AAA", w, h, u"F"));
    EXPECT_EQ(std::pair(w, h), std::pair(14, 6));
    EXPECT_FALSE(r.measureTextNamed(u"AAA", w, h, u"G"));
    EXPECT_EQ(std::pair(w, h), std::pair(0, 0));
    EXPECT_FALSE(r.drawTextNamed(0, 0, u"A", 0, nullptr, u"G"));
    EXPECT_FALSE(r.drawTextBox({0, 0, 40, 20}, 0, 0, u"", 0, 0, 0));
    EXPECT_TRUE(scene.untouched());
}

TEST(SurfaceRenderer, AnchorsTextByItsFlagsWithinTheClip)
{
    // "AAAAA" measures 22 x 6: centring moves it 11 left and 3 up. Centre beats right, middle
    // beats bottom; other bits are ignored.
    const std::tuple<uint32_t, int, int> cases[] = {{0, 0, 0},         {2 | 4, -11, -3},
                                                    {8 | 16, -22, -6}, {2 | 8 | 16, -11, -6},
                                                    {4 | 8, -22, -3},  {1 | 32, 0, 0}};
    for (const auto& [flags, dx, dy] : cases) {
        Scene scene;
        EXPECT_TRUE(scene.renderer.drawTextNamed(60, 20, u"AAAAA", flags, nullptr, u"F")) << flags;
        Scene reference;
        TestFont()->DrawText(60 + dx, 20 + dy, u"AAAAA", &reference.target);
        ASSERT_FALSE(reference.untouched());
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 120; ++x)
                ASSERT_EQ(scene.at(x, y), reference.at(x, y)) << flags << " at " << x << "," << y;
        }
    }
    Scene scene;
    const Rect clip{0, 0, 62, 40};
    const Rect empty{0, 0, 0, 0};
    EXPECT_TRUE(scene.renderer.drawText(60, 20, u"AA", 0, &clip, 0));
    EXPECT_TRUE(scene.renderer.drawText(0, 0, u"AA", 0, &empty, 0));
    ExpectProbes(scene, {{61, 22, Ink}, {62, 22, Back}, {0, 0, Back}, {1, 1, Back}}, "clipped");
}

TEST(ManagedSurfaceRenderer, UsesTheResourceManagersHandlesAsIndices)
{
    // A game folder whose group "Menu" has the image "skin" and the fonts "F1" and "F2".
    TempDir dir;
    const auto qim = [](std::unique_ptr<Surface16> surface) {
        const std::vector<uint8_t> bytes = Graphics::EncodeQim(*surface);
        return std::string(bytes.begin(), bytes.end());
    };
    Fixture::WriteFile(dir.Root() / "XML" / "resources.xml",
                       "<R><G name=\"Menu\"><Image name=\"skin\" fileName=\"skin.qim\"/>"
                       "<Font name=\"F1\" fileName=\"f\"/><Font name=\"F2\" fileName=\"f\"/>"
                       "</G></R>");
    Fixture::WriteFile(dir.Root() / "Images" / "skin.qim", qim(Solid(2, 2, C)));
    Fixture::WriteFile(dir.Root() / "Images" / "f.fnt", FntBytes());
    Fixture::WriteFile(dir.Root() / "Images" / "f.qim", qim(Solid(4, 5, Ink)));
    IO::FileSystem files;
    files.Mount(dir.Root().u16string() + u"/");
    ResourceManager manager;
    manager.LoadCatalogue(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"),
                          IO::FileSystem::FindDirectory(files.GetRoot(), u"Images"));
    UI::ManagedSurfaceRenderer renderer(manager);
    Scene scene;
    renderer.target = &scene.target;
    ElementState state{u"default", {Cell(u"skin", 0, 0, Pct(1), Pct(1))}};

    // Before its group is loaded the image has no handle: nothing is drawn or cached, and the
    // name is looked up again at the next draw.
    EXPECT_EQ(renderer.fontCount(), 0);
    EXPECT_TRUE(renderer.drawState(0, 0, 4, 4, &state, nullptr));
    EXPECT_TRUE(scene.untouched());
    EXPECT_EQ(state.areas[0].imageIndex, -1);
    manager.LoadGroup(u"Menu");
    EXPECT_EQ(renderer.findImage(u"none"), -1);
    EXPECT_EQ(renderer.getImage(0), nullptr);
    EXPECT_TRUE(renderer.drawState(0, 0, 4, 4, &state, nullptr));
    EXPECT_EQ(scene.at(3, 3), C);
    EXPECT_EQ(state.areas[0].imageIndex, 1);
    // Once found, the cached index is drawn, whatever the name.
    state.areas[0].imageName = u"none";
    EXPECT_TRUE(renderer.drawState(0, 0, 8, 8, &state, nullptr));
    EXPECT_EQ(scene.at(7, 7), C);

    // Fonts are handles 1 to fontCount; index 0 stands for the first.
    EXPECT_EQ(renderer.findFont(u"F2"), 2);
    EXPECT_EQ(renderer.fontCount(), 2);
    ASSERT_NE(renderer.getFont(1), nullptr);
    EXPECT_EQ(renderer.getFont(0), renderer.getFont(1));
    EXPECT_EQ(renderer.getFont(-1), nullptr);
    EXPECT_NE(renderer.getFont(renderer.fontCount()), nullptr);
    EXPECT_EQ(renderer.getFont(3), nullptr);
}

TEST(WindowLook, DrawsTheFirstStateOverTheWindowWithinItsClip)
{
    Scene scene;
    UI::StyleList styles;
    UI::UISystem system(&scene.renderer, &styles);
    UI::Element panel{u"panel",
                      {{u"pressed", {Cell(u"B", 0, 0, Pct(1), Pct(1))}},
                       {u"default", {Cell(u"A", 0, 0, Pct(1), Pct(1))}}}};
    UI::Element stateless;
    UI::Window root(nullptr, &system);
    root.setRect(10, 5, 40, 30);
    root.setClipChildren(true);
    auto* child = new LookedWindow(&root, &system);
    child->setRect(30, 20, 20, 20);
    // No state, no element or no system draws nothing.
    for (UI::Element* element : {&stateless, static_cast<UI::Element*>(nullptr)}) {
        child->setElement(element);
        child->draw();
    }
    LookedWindow loose(nullptr, nullptr);
    loose.setRect(0, 0, 10, 10);
    loose.setElement(&panel);
    loose.draw();
    EXPECT_TRUE(scene.untouched());

    // The first state in file order, over the window's absolute rectangle, cut by the parent.
    child->setElement(&panel);
    child->draw();
    ExpectProbes(scene, {{40, 25, B}, {49, 34, B}, {50, 34, Back}, {49, 35, Back}, {39, 25, Back}},
                 "clipped child");
}

TEST(WindowLook, AnchorsCaptionsWithTheFarEdgeWinning)
{
    UI::Window parent(nullptr, nullptr);
    parent.setRect(100, 50, 10, 10);
    auto* window = new UI::Window(&parent, nullptr);
    window->setRect(10, 20, 31, 41);
    // At (110, 70), 31 x 41, with text deltas (3, -4).
    const std::tuple<uint32_t, int32_t, int32_t> cases[] = {
        {0, 113, 66}, {2 | 4, 128, 86}, {8 | 16, 144, 107}, {2 | 4 | 8 | 16, 144, 107}};
    for (const auto& [flags, x, y] : cases) {
        const UI::CaptionAnchor anchor = UI::captionAnchor(*window, flags, 3, -4);
        EXPECT_EQ(std::pair(anchor.x, anchor.y), std::pair(x, y)) << flags;
    }
    // Sums past the 32-bit range saturate.
    window->setRect(0, 0, Max32, Max32);
    const UI::CaptionAnchor far = UI::captionAnchor(*window, 8 | 16, Max32, Max32);
    EXPECT_EQ(std::pair(far.x, far.y), std::pair(Max32, Max32));
    parent.setRect(-100, -100, 10, 10);
    const UI::CaptionAnchor low = UI::captionAnchor(*window, 0, Min32, Min32);
    EXPECT_EQ(std::pair(low.x, low.y), std::pair(Min32, Min32));
}
