// A frame of skinned UI: thirty windows (two full-screen panels, each holding clipped buttons
// and wells) drawn through the UI system and the surface renderer into a 240x320 frame, beside
// the background copy every frame starts with; and a whole player screen built from a layout
// with the game's own skin, font and pictures, updated and drawn as the game does each frame.
#include "graphics/Surface16.h"
#include "io/FileSystem.h"
#include "resources/ResourceManager.h"
#include "resources/XmlFile.h"
#include "ui/LayoutLoader.h"
#include "ui/ListBox.h"
#include "ui/ManagedSurfaceRenderer.h"
#include "ui/Skin.h"
#include "ui/SurfaceRenderer.h"
#include "ui/UISystem.h"
#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace Graphics;

namespace {

struct Frame
{
    Frame()
    {
        screen.Create(240, 320, false);
        background.Create(240, 320, false);
        sprite.Create(27, 9, true);
        for (uint32_t i = 0; i < 240 * 320; ++i)
            background.Pixels()[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
        for (uint32_t i = 0; i < 27 * 9; ++i) {
            sprite.Pixels()[i] = static_cast<uint16_t>(0xF800 | i);
            sprite.Alpha()[i] = static_cast<uint8_t>(i * 37);
        }
    }
    Surface16 screen, background, sprite;
};

void OpaqueBackgroundCopy(benchmark::State& state)
{
    Frame f;
    for (auto _ : state) {
        f.screen.Blit(0, 0, f.background);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 240 * 320 * 2);
}
BENCHMARK(OpaqueBackgroundCopy);

// The game's skin layout: a panel with corners of their own at natural size, and buttons and
// wells cut from one sheet with fixed 8-pixel corners.
constexpr const char* Skin = R"(<UISystem><UIStyle name="standard">
<Element name="panel"><State name="default">
<Area imageName="corner" srcW="*" srcH="*" dstX="0" dstY="0" dstW="*" dstH="*"/>
<Area imageName="skin" srcX="8" srcY="0" srcW="8" srcH="8" dstX="1" dstY="0" dstW="%1" dstH="8"/>
<Area imageName="corner" srcW="*" srcH="*" dstX="2" dstY="0" dstW="*" dstH="*"/>
<Area imageName="skin" srcX="0" srcY="8" srcW="8" srcH="8" dstX="0" dstY="1" dstW="8" dstH="%1"/>
<Area imageName="skin" srcX="8" srcY="8" srcW="8" srcH="8" dstX="1" dstY="1" dstW="%1" dstH="%1"/>
<Area imageName="skin" srcX="16" srcY="8" srcW="8" srcH="8" dstX="2" dstY="1" dstW="8" dstH="%1"/>
<Area imageName="corner" srcW="*" srcH="*" dstX="0" dstY="2" dstW="*" dstH="*"/>
<Area imageName="skin" srcX="8" srcY="16" srcW="8" srcH="8" dstX="1" dstY="2" dstW="%1" dstH="8"/>
<Area imageName="corner" srcW="*" srcH="*" dstX="2" dstY="2" dstW="*" dstH="*"/>
</State></Element>
<Element name="button"><State name="default">
<Area imageName="skin" srcX="0" srcY="24" srcW="8" srcH="8" dstX="0" dstY="0" dstW="8" dstH="8"/>
<Area imageName="skin" srcX="8" srcY="24" srcW="8" srcH="8" dstX="1" dstY="0" dstW="%1" dstH="8"/>
<Area imageName="skin" srcX="16" srcY="24" srcW="8" srcH="8" dstX="2" dstY="0" dstW="8" dstH="8"/>
<Area imageName="skin" srcX="0" srcY="32" srcW="8" srcH="8" dstX="0" dstY="1" dstW="8" dstH="%1"/>
<Area imageName="skin" srcX="8" srcY="32" srcW="8" srcH="8" dstX="1" dstY="1" dstW="%1" dstH="%1"/>
<Area imageName="skin" srcX="16" srcY="32" srcW="8" srcH="8" dstX="2" dstY="1" dstW="8" dstH="%1"/>
<Area imageName="skin" srcX="0" srcY="40" srcW="8" srcH="8" dstX="0" dstY="2" dstW="8" dstH="8"/>
<Area imageName="skin" srcX="8" srcY="40" srcW="8" srcH="8" dstX="1" dstY="2" dstW="%1" dstH="8"/>
<Area imageName="skin" srcX="16" srcY="40" srcW="8" srcH="8" dstX="2" dstY="2" dstW="8" dstH="8"/>
</State></Element>
</UIStyle></UISystem>)";

// A sheet with an alpha plane like the game's: opaque inside each 24x24 piece, fading out
// towards the piece's corners.
std::unique_ptr<Surface16> Sheet(uint32_t w, uint32_t h)
{
    auto sheet = std::make_unique<Surface16>();
    sheet->Create(w, h, true);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t i = y * sheet->Stride() + x;
            const uint32_t px = x % 24 < 12 ? x % 24 : 23 - x % 24;
            const uint32_t py = y % 24 < 12 ? y % 24 : 23 - y % 24;
            sheet->Pixels()[i] = static_cast<uint16_t>(0x18E8 + (x ^ y));
            sheet->Alpha()[i] = px + py < 4 ? static_cast<uint8_t>((px + py) * 60) : 255;
        }
    }
    return sheet;
}

// A plain window with the base look, as skinned panels are made.
class Skinned : public UI::Window
{
public:
    Skinned(UI::Window* parent, UI::UISystem* system, const char16_t* element, int32_t x, int32_t y,
            int32_t w, int32_t h)
        : Window(parent, system)
    {
        Skinned::createLook();
        setElement(system->findElement(element));
        setRect(x, y, w, h);
        setClipChildren(true);
    }
    void createLook() override { setLook(std::make_unique<UI::WindowLook>()); }
};

void SkinnedWindows(benchmark::State& state)
{
    Frame f;
    const std::unique_ptr<UI::StyleList> styles = UI::LoadSkin(Skin);
    UI::SurfaceRenderer renderer;
    renderer.addImage(Sheet(48, 104), u"skin");
    renderer.addImage(Sheet(8, 8), u"corner");
    renderer.target = &f.screen;
    UI::UISystem system(&renderer, styles.get());
    // The system destroys its root, and the root its children.
    auto* root = new UI::Window(nullptr, &system);
    root->setRect(0, 0, 240, 320);
    int windows = 0;
    for (int panel = 0; panel < 2; ++panel) {
        auto* frame = new Skinned(root, &system, u"panel", 0, 0, 240, 320);
        ++windows;
        // Two columns of buttons; the right column runs past the panel and is clipped.
        for (int i = 0; i < 14; ++i) {
            new Skinned(frame, &system, u"button", 12 + (i % 2) * 118,
                        14 + (i / 2) * 44 + panel * 6, 130, 36);
            ++windows;
        }
    }
    system.setRoot(root);
    system.setRedraw();
    for (auto _ : state) {
        system.draw();
        benchmark::ClobberMemory();
    }
    state.counters["windows"] = windows;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SkinnedWindows)->Unit(benchmark::kMicrosecond);

// The player screen: a framed panel with a title, the list of the five profiles, the name
// field and the buttons to choose, add, rename, delete and go back.
constexpr const char* PlayerScreen = R"(<Window width="240" height="320">
  <Window className="SimpleWindow" element="panel" width="240" height="320">
    <Window className="Label" text="Players" font="title" fontFlags="2" x="0" y="10"
            width="240" height="30"/>
    <Window className="ListBox" name="players" x="20" y="48" width="200" height="112"
            listboxFont="ui" listboxListbaseElement="well" listboxScrollerElement="well"/>
    <Window className="Edit" name="name" element="well" x="20" y="170" width="200" height="24"
            font="ui" editTextDeltaX="4" editTextDeltaY="5" text="gwendolyn"/>
    <Window className="FixedButton" element="button" text="Play" font="ui" x="20" y="204"
            width="96" height="28"/>
    <Window className="FixedButton" element="button" text="New" font="ui" x="124" y="204"
            width="96" height="28"/>
    <Window className="FixedButton" element="button" text="Rename" font="ui" x="20" y="240"
            width="96" height="28"/>
    <Window className="FixedButton" element="button" text="Delete" font="ui" x="124" y="240"
            width="96" height="28"/>
    <Window className="FixedButton" element="button" text="Back" font="ui" x="20" y="280"
            width="200" height="28"/>
  </Window>
</Window>)";

void PlayerScreenFrame(benchmark::State& state)
{
    Frame f;
    IO::FileSystem files;
    std::u16string folder;
    for (const char* c = TAVLO_GAME_FOLDER; *c; ++c)
        folder += static_cast<char16_t>(*c);
    if (files.Mount(folder) != 0) {
        state.SkipWithError("the built game folder is missing");
        return;
    }
    IO::DirectoryNode* xml = IO::FileSystem::FindDirectory(files.GetRoot(), u"XML");
    ResourceManager resources;
    resources.LoadCatalogue(xml, IO::FileSystem::FindDirectory(files.GetRoot(), u"Images"));
    resources.LoadGroup(u"Menu");
    resources.LoadGroup(u"Game");
    std::string skinText;
    ReadTextFile(xml, u"uiconfig.xml", skinText);
    const std::unique_ptr<UI::StyleList> styles = UI::LoadSkin(skinText.c_str());
    UI::ManagedSurfaceRenderer renderer(resources);
    renderer.target = &f.screen;
    UI::UISystem system(&renderer, styles.get());
    UI::LayoutLoader loader;
    std::vector<uint8_t> binary;
    UI::Window* screen = loader.load(PlayerScreen, &system, binary).release();
    auto* players = dynamic_cast<UI::ListBox*>(screen ? screen->findChild(u"players") : nullptr);
    if (!players) {
        state.SkipWithError("the player screen did not load");
        delete screen;
        return;
    }
    for (const char16_t* name : {u"gwendolyn", u"ari", u"matthias", u"noor", u"ben"})
        players->addItem(name);
    players->setSelection(2);
    system.setRoot(screen);
    system.setFocus(screen->findChild(u"name"));
    for (auto _ : state) {
        system.update();
        f.screen.Blit(0, 0, f.background);
        system.draw();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PlayerScreenFrame)->Unit(benchmark::kMicrosecond);

} // namespace
