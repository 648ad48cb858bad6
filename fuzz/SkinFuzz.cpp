// Fuzz target of the skin: reads arbitrary bytes as a skin file, looks up every state of every
// element and draws each at several sizes, places and clips into a 240x320 frame, the way the
// looks draw windows. Names the seeds use ("skin", "panel_tl", "dot") have images.
#include "ui/Skin.h"
#include "ui/SurfaceRenderer.h"
#include "ui/Utf8Text.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

namespace {

constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();
constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();

std::unique_ptr<Graphics::Surface16> Image(uint32_t w, uint32_t h, bool withAlpha)
{
    auto image = std::make_unique<Graphics::Surface16>();
    image->Create(w, h, withAlpha);
    for (uint32_t i = 0; i < image->Stride() * h; ++i) {
        image->Pixels()[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
        if (withAlpha)
            image->Alpha()[i] = static_cast<uint8_t>(i * 37);
    }
    return image;
}

// Built once: the images stay, the target is cleared for each input.
struct Scene
{
    Scene()
    {
        target.Create(240, 320, false);
        renderer.target = &target;
        renderer.addImage(Image(24, 24, true), u"skin");
        renderer.addImage(Image(8, 8, false), u"panel_tl");
        renderer.addImage(Image(1, 1, true), u"dot");
    }
    Graphics::Surface16 target;
    UI::SurfaceRenderer renderer;
};

struct Placement
{
    int32_t x, y, w, h;
};

constexpr Placement kPlacements[] = {
    {0, 0, 0, 0},
    {5, 7, 1, 1},
    {3, 4, 37, 19},
    {0, 0, 240, 320},
    {20, 30, -15, -9},
    {-100, -50, 300, 90},
    {Max32, Max32, Max32, Max32},
    {Min32, Min32, Max32, Max32},
};

const Graphics::Rect kClips[] = {{10, 10, 100, 60}, {0, 0, 0, 320}, {Min32, Min32, Max32, Max32}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Scene scene;
    // The reader takes 0-terminated text; an embedded 0 simply ends it early.
    const std::string input(reinterpret_cast<const char*>(data), size);

    // The decoder never makes more units than there are bytes.
    if (UI::DecodeUtf8(input).size() > input.size())
        __builtin_trap();
    UI::ParseSkinNumber(input);

    const std::unique_ptr<UI::StyleList> styles = UI::LoadSkin(input.c_str());
    if (!styles)
        __builtin_trap();
    scene.target.Clear();
    UI::SurfaceRenderer& renderer = scene.renderer;
    for (UI::UIStyle& style : styles->styles) {
        for (UI::Element& element : style.elements) {
            for (int index = -1; index <= UI::StateIndex::Count; ++index) {
                UI::ElementState* state = element.state(index);
                // Every standard index finds a state when the element has any.
                const bool standard = index >= 0 && index < UI::StateIndex::Count;
                if (standard && !element.states.empty() && !state)
                    __builtin_trap();
                if (!standard && state)
                    __builtin_trap();
            }
            for (size_t n = 0; UI::ElementState* state = element.stateAt(n); ++n) {
                for (const Placement& p : kPlacements) {
                    if (!renderer.drawState(p.x, p.y, p.w, p.h, state, nullptr))
                        __builtin_trap();
                }
                for (const Graphics::Rect& clip : kClips) {
                    renderer.drawState(-7, 11, 200, 150, state, &clip);
                    renderer.drawStateOffset(-7, 11, 200, 150, state, 60, 40, &clip);
                }
                renderer.drawStateOffset(0, 0, 240, 320, state, Min32, Max32, nullptr);
            }
        }
    }
    return 0;
}
