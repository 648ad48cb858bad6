// The toolkit drawn as a player would see it: skinned panels overlapping, one always on top, a
// clipped child, a row shared 1:3 and captions at every anchor, written to ui-demo.png in the
// build folder, then checked pixel by pixel.
#include "SkinnedWindow.h"
#include "graphics/BitmapFont.h"
#include "io/FileSystem.h"
#include "io/Utf8.h"
#include "platform/Screenshot.h"
#include "resources/ResourceManager.h"
#include "resources/XmlFile.h"
#include "ui/ManagedSurfaceRenderer.h"
#include "ui/Skin.h"
#include "ui/SurfaceRenderer.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr uint16_t Background = 0x0881;
constexpr uint16_t Rim = 0x8C71;    // the panel's frame
constexpr uint16_t Fill = 0x1926;   // the panel's inside
constexpr uint16_t Share1 = 0xF800; // the 1:3 row's two parts
constexpr uint16_t Share3 = 0x07E0;

// A 9x9 frame image: a 3-pixel rim around a 3x3 inside, and a 2x1 pair of swatches beside it.
std::unique_ptr<Graphics::Surface16> SkinImage()
{
    auto image = std::make_unique<Graphics::Surface16>();
    image->Create(11, 9, false);
    for (uint32_t y = 0; y < 9; ++y) {
        for (uint32_t x = 0; x < 11; ++x) {
            uint16_t colour = (x >= 3 && x < 6 && y >= 3 && y < 6) ? Fill : Rim;
            if (x == 9)
                colour = Share1;
            if (x == 10)
                colour = Share3;
            image->Pixels()[y * image->Stride() + x] = colour;
        }
    }
    return image;
}

// The nine areas of "panel" (fixed 3-pixel corners, proportional edges and middle) and the
// row of two proportional parts.
constexpr const char* SkinText = R"(<?xml version="1.0" encoding="UTF-8"?>
<UISystem><UIStyle name="demo">
  <Element name="panel"><State name="default">
    <Area imageName="frame" srcX="0" srcY="0" srcW="3" srcH="3" dstX="0" dstY="0" dstW="3" dstH="3"/>
    <Area imageName="frame" srcX="3" srcY="0" srcW="3" srcH="3" dstX="1" dstY="0" dstW="%1" dstH="3"/>
    <Area imageName="frame" srcX="6" srcY="0" srcW="3" srcH="3" dstX="2" dstY="0" dstW="3" dstH="3"/>
    <Area imageName="frame" srcX="0" srcY="3" srcW="3" srcH="3" dstX="0" dstY="1" dstW="3" dstH="%1"/>
    <Area imageName="frame" srcX="3" srcY="3" srcW="3" srcH="3" dstX="1" dstY="1" dstW="%1" dstH="%1"/>
    <Area imageName="frame" srcX="6" srcY="3" srcW="3" srcH="3" dstX="2" dstY="1" dstW="3" dstH="%1"/>
    <Area imageName="frame" srcX="0" srcY="6" srcW="3" srcH="3" dstX="0" dstY="2" dstW="3" dstH="3"/>
    <Area imageName="frame" srcX="3" srcY="6" srcW="3" srcH="3" dstX="1" dstY="2" dstW="%1" dstH="3"/>
    <Area imageName="frame" srcX="6" srcY="6" srcW="3" srcH="3" dstX="2" dstY="2" dstW="3" dstH="3"/>
  </State></Element>
  <Element name="row"><State name="default">
    <Area imageName="frame" srcX="9" srcY="0" srcW="1" srcH="1" dstX="0" dstY="0" dstW="%1" dstH="%1"/>
    <Area imageName="frame" srcX="10" srcY="0" srcW="1" srcH="1" dstX="1" dstY="0" dstW="%3" dstH="%1"/>
  </State></Element>
</UIStyle></UISystem>)";

std::string BuildDir()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return dir ? (std::filesystem::path(dir).parent_path()).string() : ".";
}

class UiDemo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame.Create(240, 320, false);
        renderer.target = &frame;
        renderer.addImage(SkinImage(), u"frame");
        // The game's own caption font, from the built game folder.
        std::u16string gameDir;
        ASSERT_TRUE(IO::Utf8ToUtf16(BuildDir() + "/game", gameDir));
        ASSERT_EQ(files.Mount(gameDir), 0);
        auto font = std::make_unique<Utils::BitmapFont>();
        ASSERT_TRUE(font->Load(IO::FileSystem::FindDirectory(files.GetRoot(), u"Images"), u"ui"));
        renderer.addFont(std::move(font), u"ui");
        styles = UI::LoadSkin(SkinText);
        system = std::make_unique<UI::UISystem>(&renderer, styles.get());
    }

    uint16_t Pixel(int x, int y) const
    {
        return frame.Pixels()[static_cast<uint32_t>(y) * frame.Stride() + static_cast<uint32_t>(x)];
    }

    // The box of pixels inside (x, y, w, h) that are neither rim nor fill: the caption's ink.
    Graphics::Rect Ink(int x, int y, int w, int h) const
    {
        int left = x + w, top = y + h, right = x - 1, bottom = y - 1;
        for (int py = y; py < y + h; ++py) {
            for (int px = x; px < x + w; ++px) {
                const uint16_t p = Pixel(px, py);
                if (p != Rim && p != Fill) {
                    left = std::min(left, px);
                    right = std::max(right, px);
                    top = std::min(top, py);
                    bottom = std::max(bottom, py);
                }
            }
        }
        return {left, top, right - left + 1, bottom - top + 1};
    }

    IO::FileSystem files;
    Graphics::Surface16 frame;
    UI::SurfaceRenderer renderer;
    std::unique_ptr<UI::StyleList> styles;
    std::unique_ptr<UI::UISystem> system;
};

SkinnedWindow* Panel(UI::Window* parent, UI::UISystem* system, int x, int y, int w, int h,
                     std::u16string caption = {}, uint32_t flags = 0)
{
    auto* panel = new SkinnedWindow(parent, system, u"panel", std::move(caption), flags);
    panel->setRect(x, y, w, h);
    return panel;
}

} // namespace

TEST_F(UiDemo, PanelsOverlapClipShareAndAnchorCaptions)
{
    auto* root = new UI::Window(nullptr, system.get());
    root->setSize(240, 320);
    system->setRoot(root);

    // Two overlapping panels; the second is always on top although it is added first.
    SkinnedWindow* top = Panel(nullptr, system.get(), 100, 20, 120, 80, u"on top", 2 | 4);
    top->setAlwaysOnTop(true);
    top->setParent(root);
    Panel(root, system.get(), 20, 40, 120, 80, u"under", 2 | 16);

    // A clipping panel whose child hangs out past its right edge.
    SkinnedWindow* clipper = Panel(root, system.get(), 20, 140, 100, 60);
    clipper->setClipChildren(true);
    Panel(clipper, system.get(), 60, 20, 80, 30, u"clipped");

    // A row of 200 pixels shared 1:3.
    auto* row = new SkinnedWindow(root, system.get(), u"row");
    row->setRect(20, 215, 200, 10);

    // Captions at flags 0, 2, 6, 8 and 16 in five panels.
    const uint32_t flags[] = {0, 2, 6, 8, 16};
    SkinnedWindow* captions[5];
    for (int i = 0; i < 5; ++i)
        captions[i] = Panel(root, system.get(), 20 + 42 * i, 240, 38, 60, u"Ag", flags[i]);

    frame.FillRect(nullptr, 0xFF000000 | 0x081008);
    ASSERT_EQ(Pixel(0, 0), Background);
    system->draw();
    std::string error;
    ASSERT_TRUE(Platform::WriteScreenshot(BuildDir() + "/ui-demo.png", frame.Pixels(), 240, 320,
                                          frame.Stride(), error))
        << error;

    // The frame sits on the panel's edge and the inside fills the rest.
    EXPECT_EQ(Pixel(20, 40), Rim);
    EXPECT_EQ(Pixel(22, 117), Rim);
    EXPECT_EQ(Pixel(30, 60), Fill);
    // Where the two panels overlap, the one on top is drawn: its rim crosses the other's fill.
    EXPECT_EQ(Pixel(100, 60), Rim);
    EXPECT_EQ(Pixel(110, 60), Fill);
    EXPECT_EQ(Pixel(130, 99), Rim);   // the upper panel's bottom rim
    EXPECT_EQ(Pixel(130, 101), Fill); //   and below it the lower panel again
    // The clipped child is drawn over its parent and cut at the parent's right edge.
    EXPECT_EQ(Pixel(80, 165), Rim);
    EXPECT_EQ(Pixel(119, 175), Fill);
    EXPECT_EQ(Pixel(119, 145), Rim); // the parent's own right rim, above the child
    EXPECT_EQ(Pixel(125, 175), Background);
    // 1:3 of 200 pixels: 50 and 150.
    EXPECT_EQ(Pixel(20, 220), Share1);
    EXPECT_EQ(Pixel(69, 220), Share1);
    EXPECT_EQ(Pixel(70, 220), Share3);
    EXPECT_EQ(Pixel(219, 220), Share3);
    EXPECT_EQ(Pixel(220, 220), Background);

    // Captions: flag 0 at the top-left, 2 centred across, 6 centred both ways, 8 at the right
    // and 16 on the bottom edge.
    std::vector<Graphics::Rect> ink;
    for (SkinnedWindow* panel : captions)
        ink.push_back(Ink(panel->x(), panel->y(), panel->width(), panel->height()));
    for (const Graphics::Rect& box : ink)
        ASSERT_GT(box.width, 0);
    auto centreX = [](const Graphics::Rect& r) { return r.x + r.width / 2; };
    auto centreY = [](const Graphics::Rect& r) { return r.y + r.height / 2; };
    const auto& p = captions;
    EXPECT_LE(ink[0].x - p[0]->x(), 2);
    EXPECT_LE(ink[0].y - p[0]->y(), 4);
    EXPECT_LE(std::abs(centreX(ink[1]) - (p[1]->x() + 19)), 2);
    EXPECT_LE(ink[1].y - p[1]->y(), 4);
    EXPECT_LE(std::abs(centreX(ink[2]) - (p[2]->x() + 19)), 2);
    EXPECT_LE(std::abs(centreY(ink[2]) - (p[2]->y() + 30)), 4);
    EXPECT_LE(std::abs(ink[3].x + ink[3].width - (p[3]->x() + 38)), 3);
    EXPECT_LE(std::abs(ink[4].y + ink[4].height - (p[4]->y() + 60)), 4);
}

// The game's own skin through the renderer the game uses, laid out as a sheet a person can
// judge (ui-skin.png): every element in every state at the sizes the widgets give them, and
// stretched; a list with its scroll bar and selection, sliders, text fields and the on-screen
// keyboard with pressed keys. Then the properties the widgets rely on are checked.
TEST_F(UiDemo, TheGameSkinDrawsEveryElement)
{
    IO::DirectoryNode* xml = IO::FileSystem::FindDirectory(files.GetRoot(), u"XML");
    IO::DirectoryNode* images = IO::FileSystem::FindDirectory(files.GetRoot(), u"Images");
    ResourceManager resources;
    resources.LoadCatalogue(xml, images);
    resources.LoadGroup(u"Menu");
    resources.LoadGroup(u"Game"); // the fonts
    std::string text;
    ASSERT_TRUE(ReadTextFile(xml, u"uiconfig.xml", text));
    std::unique_ptr<UI::StyleList> skin = UI::LoadSkin(text.c_str());
    ASSERT_EQ(skin->styles.size(), 1u);
    UI::ManagedSurfaceRenderer managed(resources);
    managed.target = &frame;
    UI::UISystem game(&managed, skin.get());
    for (const UI::Element& element : skin->styles[0].elements) {
        for (const UI::ElementState& state : element.states) {
            for (const UI::Area& area : state.areas)
                EXPECT_GE(managed.findImage(area.imageName), 0) << IO::Utf16ToUtf8(area.imageName);
        }
    }
    // The elements the widgets look up by name.
    for (const char16_t* name :
         {u"panel", u"button", u"checkbox", u"checkButtonElement", u"ScrollArrowUp",
          u"ScrollArrowDown", u"scrollerTrack", u"thumb", u"selection", u"listbase", u"edit",
          u"sliderTrack", u"progressTopElement"})
        ASSERT_NE(game.findElement(name), nullptr) << IO::Utf16ToUtf8(name);
    const int32_t font = managed.findFont(u"ui");
    auto state = [&](std::u16string_view element, size_t n) {
        return game.findElement(element)->stateAt(n);
    };
    auto draw = [&](std::u16string_view element, size_t n, int x, int y, int w, int h) {
        managed.drawState(x, y, w, h, state(element, n), nullptr);
    };
    auto image = [&](std::u16string_view name, int x, int y) {
        managed.drawImage(x, y, managed.findImage(name), 0, nullptr, nullptr, nullptr);
    };
    auto label = [&](int x, int y, std::u16string_view caption, uint32_t flags = 0) {
        managed.drawText(x, y, caption, flags, nullptr, font);
    };

    frame.FillRect(nullptr, 0xFF000000);
    draw(u"panel", 0, 0, 0, 240, 320);
    // The panel shows the sheet's flat centre in its middle.
    const Graphics::Surface16* sheet = resources.GetImage(u"skin");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(Pixel(100, 100), sheet->Pixels()[12 * sheet->Stride() + 12]);

    // Buttons in every state, then the check boxes unchecked and checked, the arrow buttons at
    // their own size and stretched to a combo box's button.
    for (size_t i = 0; i < 4; ++i) {
        draw(u"button", i, 6 + 57 * static_cast<int>(i), 6, 54, 24);
        label(33 + 57 * static_cast<int>(i), 18, u"Play", 2 | 4);
    }
    for (size_t i = 0; i < 3; ++i) {
        draw(u"checkbox", i, 6 + 20 * static_cast<int>(i), 36, 16, 16);
        draw(u"checkButtonElement", i, 66 + 20 * static_cast<int>(i), 36, 16, 16);
        draw(u"ScrollArrowUp", i, 130 + 18 * static_cast<int>(i), 34, 15, 10);
        draw(u"ScrollArrowDown", i, 130 + 18 * static_cast<int>(i), 46, 15, 10);
    }
    draw(u"ScrollArrowUp", 0, 186, 32, 20, 25);
    draw(u"ScrollArrowDown", 1, 212, 32, 20, 25);

    // Sliders: the groove with its fill inside a 2-pixel margin at 60%, 0, 3 pixels and full
    // (the last at the slider's default 100x20), and the disabled look at 30% with no margin.
    struct Bar
    {
        int x, y, w, h, margin, length;
        size_t n;
    };
    const Bar bars[] = {{6, 64, 100, 12, 2, 57, 0},
                        {6, 80, 100, 12, 2, 0, 0},
                        {120, 80, 100, 12, 2, 3, 0},
                        {6, 96, 100, 20, 2, 96, 0},
                        {120, 64, 100, 12, 0, 30, 1}};
    std::vector<uint16_t> groove;
    for (const Bar& bar : bars) {
        draw(u"sliderTrack", bar.n, bar.x, bar.y, bar.w, bar.h);
        const int row = bar.y + bar.h / 2;
        groove.clear();
        for (int x = bar.x; x < bar.x + bar.w; ++x)
            groove.push_back(Pixel(x, row));
        draw(u"progressTopElement", bar.n, bar.x + bar.margin, bar.y + bar.margin, bar.length,
             bar.h - 2 * bar.margin);
        // The fill covers exactly its length: nothing of it shows past the value, not even at 0.
        for (int x = bar.x; x < bar.x + bar.w; ++x) {
            const bool filled = x >= bar.x + bar.margin && x < bar.x + bar.margin + bar.length;
            EXPECT_EQ(Pixel(x, row) != groove[static_cast<size_t>(x - bar.x)], filled)
                << "slider at " << bar.x << "," << bar.y << ": x " << x;
        }
    }

    // A list box of 160x90 with its scroll bar (21 wide) and the second row selected, and a
    // narrow scroll bar (15 wide) with a tall thumb and its up arrow held.
    draw(u"listbase", 0, 6, 124, 138, 90);
    draw(u"scrollerTrack", 0, 145, 124, 21, 90);
    draw(u"ScrollArrowUp", 0, 148, 127, 15, 10);
    draw(u"ScrollArrowDown", 0, 148, 201, 15, 10);
    draw(u"thumb", 0, 148, 150, 13, 10);
    draw(u"selection", 0, 7, 125 + 18, 136, 16);
    const char16_t* const names[] = {u"Anna", u"Bertil", u"Cleo", u"Dmitri", u"Eve"};
    for (int i = 0; i < 5; ++i)
        label(9, 124 + 18 * i, names[i]);
    draw(u"scrollerTrack", 0, 176, 124, 15, 90);
    draw(u"ScrollArrowUp", 1, 176, 127, 15, 10);
    draw(u"ScrollArrowDown", 2, 176, 201, 15, 10);
    draw(u"thumb", 0, 177, 144, 13, 34);

    // Text fields, default with a caret and disabled.
    draw(u"edit", 0, 6, 218, 115, 28);
    label(12, 224, u"Player 1I");
    draw(u"edit", 1, 126, 218, 108, 28);
    label(132, 224, u"Guest");

    // The keyboard with a letter, backspace, enter and space pressed.
    const int kx = 6, ky = 250;
    image(u"KeyboardButtons", kx, ky);
    const std::vector<uint16_t> beforeP = [&] {
        std::vector<uint16_t> cell;
        for (int y = 0; y < 17; ++y) {
            for (int x = 0; x < 19; ++x)
                cell.push_back(Pixel(kx + 171 + x, ky + 17 + y));
        }
        return cell;
    }();
    image(u"Key1", kx + 19 * 4, ky + 17);
    image(u"Key2", kx + 190, ky);
    image(u"Key3", kx + 171, ky + 17);
    image(u"Key4", kx + 152, ky + 51);
    // Enter's pressed cap leaves the P key beside its L as it was.
    for (int y = 0, k = 0; y < 17; ++y) {
        for (int x = 0; x < 19; ++x, ++k)
            ASSERT_EQ(Pixel(kx + 171 + x, ky + 17 + y), beforeP[static_cast<size_t>(k)])
                << x << "," << y;
    }
    image(u"KeyboardKeys", kx, ky);

    std::string error;
    ASSERT_TRUE(Platform::WriteScreenshot(BuildDir() + "/ui-skin.png", frame.Pixels(), 240, 320,
                                          frame.Stride(), error))
        << error;

    // The arrows stay their size and sit in the middle of their buttons at any size: the box of
    // the up arrow's colour is 7x4 and centred to within half a pixel.
    const Graphics::Surface16* widgets = resources.GetImage(u"widgets");
    ASSERT_NE(widgets, nullptr);
    const uint16_t arrow = widgets->Pixels()[16 * widgets->Stride() + 1]; // its base row
    for (const Graphics::Rect& button :
         {Graphics::Rect{130, 34, 15, 10}, Graphics::Rect{186, 32, 20, 25},
          Graphics::Rect{148, 127, 15, 10}}) {
        int left = 240, top = 320, right = -1, bottom = -1;
        for (int y = button.y; y < button.y + button.height; ++y) {
            for (int x = button.x; x < button.x + button.width; ++x) {
                if (Pixel(x, y) == arrow) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        EXPECT_EQ(right - left + 1, 7) << button.x << "," << button.y;
        EXPECT_EQ(bottom - top + 1, 4) << button.x << "," << button.y;
        EXPECT_LE(std::abs((left + right + 1) - (2 * button.x + button.width)), 1);
        EXPECT_LE(std::abs((top + bottom + 1) - (2 * button.y + button.height)), 2);
    }
}
