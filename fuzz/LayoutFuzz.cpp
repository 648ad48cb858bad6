// Fuzz target of XML layout loading: builds the tree of arbitrary text, drives it with stylus
// and key input as the on-screen root, draws it into a frame, checks that the binary form
// written on the way builds the very same tree, and destroys it.
#include "graphics/Surface16.h"
#include "ui/LayoutLoader.h"
#include "ui/Skin.h"
#include "ui/SurfaceRenderer.h"
#include "ui/UISystem.h"
#include "ui/Window.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

const char* const SkinText =
    R"(<UISystem><UIStyle name="s"><Element name="panel"><State name="default">)"
    R"(<Area imageName="skin" srcW="4" srcH="4" dstX="0" dstW="*" dstH="%1"/>)"
    R"(<Area imageName="skin" srcW="4" srcH="4" dstX="1" dstW="%1" dstH="%1"/>)"
    R"(</State></Element><Element name="button"><State name="default">)"
    R"(<Area imageName="skin" dstW="%1" dstH="%1"/></State></Element></UIStyle></UISystem>)";

// What must survive the trip through the binary form, for each window in creation order.
using Shot = std::tuple<size_t, std::u16string, int32_t, int32_t, int32_t, int32_t, bool, bool,
                        bool, bool, int32_t, int32_t, int32_t, int32_t, std::u16string, bool, bool,
                        bool, bool, std::optional<std::u16string>>;

Shot TakeShot(const UI::Window& w, std::u16string_view className)
{
    size_t depth = 0;
    for (const UI::Window* p = w.parent(); p; p = p->parent())
        ++depth;
    std::optional<std::u16string> element;
    if (w.element())
        element = w.element()->name;
    return {depth,
            std::u16string(className),
            w.width(),
            w.height(),
            w.x(),
            w.y(),
            w.visible(),
            w.enabled(),
            w.alwaysOnTop(),
            w.overlapped(),
            w.minX(),
            w.maxX(),
            w.minY(),
            w.maxY(),
            w.name(),
            w.ghost(),
            w.captured(),
            w.canActivate(),
            w.clipChildren(),
            element};
}

// Loads with a loader that notes every window it makes; the shots are taken once the load
// is accepted, since a refused load destroys what it made.
template <class Load>
std::unique_ptr<UI::Window> LoadNoting(Load load, std::vector<Shot>& shots)
{
    std::vector<std::pair<UI::Window*, std::u16string>> made;
    UI::LayoutLoader loader;
    loader.created = [&made](UI::Window* window, std::u16string_view className) {
        made.emplace_back(window, std::u16string(className));
    };
    std::unique_ptr<UI::Window> top = load(loader);
    if (top) {
        for (const auto& [window, className] : made)
            shots.push_back(TakeShot(*window, className));
    }
    return top;
}

void Drive(UI::UISystem& system, UI::Window* top)
{
    system.setRoot(top);
    system.stylusDown(10, 10);
    system.stylusMove(120, 160);
    system.stylusMove(-5, 400);
    system.stylusUp(-5, 400);
    system.stylusDown(239, 319);
    system.stylusMove(0, 0);
    system.stylusUp(0, 0);
    system.keyDown(13);
    system.keyUp(13);
    system.update();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The loader takes 0-terminated text; an embedded 0 simply ends it early.
    const std::string text(reinterpret_cast<const char*>(data), size);

    static std::unique_ptr<UI::StyleList> styles = UI::LoadSkin(SkinText);
    UI::SurfaceRenderer renderer;
    auto image = std::make_unique<Graphics::Surface16>();
    image->Create(8, 8, true);
    image->Clear();
    renderer.addImage(std::move(image), u"skin");
    Graphics::Surface16 frame;
    frame.Create(240, 320, false);
    renderer.target = &frame;
    UI::UISystem system(&renderer, styles.get());

    std::vector<uint8_t> binary;
    std::vector<Shot> fromXml;
    std::unique_ptr<UI::Window> top = LoadNoting(
        [&](UI::LayoutLoader& loader) { return loader.load(text.c_str(), &system, binary); },
        fromXml);
    if (!top) {
        if (!binary.empty())
            __builtin_trap();
        return 0;
    }

    std::vector<Shot> fromBinary;
    std::unique_ptr<UI::Window> copy = LoadNoting(
        [&](UI::LayoutLoader& loader) {
            return loader.load(std::span<const uint8_t>(binary), &system);
        },
        fromBinary);
    if (!copy || fromBinary != fromXml)
        __builtin_trap();
    copy.reset();

    Drive(system, top.get());
    system.draw();
    system.setRoot(nullptr);
    top.reset();
    if (system.focused() || system.hovered() || system.capture())
        __builtin_trap();
    return 0;
}
