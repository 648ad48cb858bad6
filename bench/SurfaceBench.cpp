// The basic primitives at frame scale: the background copy every game frame starts with,
// translucent sprites and fills.
#include "graphics/Surface16.h"

#include <benchmark/benchmark.h>

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

void AlphaSprites(benchmark::State& state)
{
    Frame f;
    for (auto _ : state) {
        for (int i = 0; i < 300; ++i)
            f.screen.Blit((i * 37) % 230 - 5, (i * 53) % 330 - 5, f.sprite, nullptr, 255,
                          static_cast<uint32_t>(i & 3));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(AlphaSprites);

void TranslucentFill(benchmark::State& state)
{
    Frame f;
    const Rect box{10, 40, 220, 240};
    for (auto _ : state) {
        f.screen.FillRect(&box, 0x80204080);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 220 * 240);
}
BENCHMARK(TranslucentFill);

} // namespace
