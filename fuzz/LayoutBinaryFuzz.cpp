// Fuzz target of the layouts' binary form: builds the tree of arbitrary bytes (every read must
// stay inside them, and a refused form must leave nothing behind), drives it with stylus and
// key input as the on-screen root, and destroys it.
#include "ui/LayoutLoader.h"
#include "ui/Skin.h"
#include "ui/UISystem.h"
#include "ui/Window.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace {

const char* const SkinText =
    R"(<UISystem><UIStyle name="s"><Element name="panel"><State name="default"/></Element>)"
    R"(<Element name="button"><State name="default"/></Element></UIStyle></UISystem>)";

// The smallest window of the binary form takes 16 bytes.
constexpr size_t MinWindowSize = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::unique_ptr<UI::StyleList> styles = UI::LoadSkin(SkinText);
    UI::UISystem system(nullptr, styles.get());

    size_t made = 0;
    UI::LayoutLoader loader;
    loader.created = [&made](UI::Window*, std::u16string_view) { ++made; };
    std::unique_ptr<UI::Window> top = loader.load(std::span<const uint8_t>(data, size), &system);
    if (!top)
        return 0;
    if (made == 0 || made > size / MinWindowSize)
        __builtin_trap();

    system.setRoot(top.get());
    system.stylusDown(10, 10);
    system.stylusMove(120, 160);
    system.stylusUp(-5, 400);
    system.stylusDown(239, 319);
    system.stylusUp(0, 0);
    system.keyDown(13);
    system.keyUp(13);
    system.update();
    system.setRoot(nullptr);
    top.reset();
    if (system.focused() || system.hovered() || system.capture())
        __builtin_trap();
    return 0;
}
