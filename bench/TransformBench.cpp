// The rotated blit at board scale, each case beside the same work done by pixman in the same run:
// single side sprites over 64 angles (also drawn the portable way, without SSE2), and a whole
// game frame (background, 300 sides, 300 joints).
#include "graphics/Surface16.h"
#include "graphics/Transforms.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

using namespace Graphics;

namespace {

constexpr int ScreenWidth = 240;
constexpr int ScreenHeight = 320;
constexpr int AngleCount = 64;

// A side bar as the board draws it: opaque in the middle, translucent along its rim.
void PaintSide(Surface16& side, int width, int height)
{
    side.Create(width, height, true);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            side.Pixels()[y * width + x] =
                static_cast<uint16_t>(0x8000 | (y * 2048 / height) | ((x * 63 / width) << 5));
            const bool rimY = y == 0 || y == height - 1;
            const bool rimX = x == 0 || x == width - 1;
            side.Alpha()[y * width + x] = rimY ? 96 : rimX ? 160 : 255;
        }
    }
}

// Where the 64 angles of a benchmark land, and their sines and cosines.
struct Placement
{
    int x, y;
    float s, c;
};

std::vector<Placement> Placements(int count)
{
    std::vector<Placement> out;
    for (int i = 0; i < count; ++i) {
        const double radians = (i % AngleCount) * 2 * std::numbers::pi / AngleCount;
        out.push_back(Placement{20 + (i * 37) % 200, 20 + (i * 53) % 280,
                                static_cast<float>(std::sin(radians)),
                                static_cast<float>(std::cos(radians))});
    }
    return out;
}

// ---- pixman -------------------------------------------------------------------------------

// A premultiplied a8r8g8b8 copy of a sprite with an alpha plane (or opaque without one).
struct PixmanSprite
{
    explicit PixmanSprite(const Surface16& s) : width(s.Width()), height(s.Height())
    {
        bits.resize(static_cast<size_t>(width) * height);
        for (int i = 0; i < width * height; ++i) {
            const uint16_t p = s.Pixels()[i];
            const uint32_t a = s.HasAlpha() ? s.Alpha()[i] : 255;
            const uint32_t r = ((p >> 8) & 0xF8) * a / 255;
            const uint32_t g = ((p >> 3) & 0xFC) * a / 255;
            const uint32_t b = ((p << 3) & 0xF8) * a / 255;
            bits[i] = (a << 24) | (r << 16) | (g << 8) | b;
        }
        image = pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, bits.data(), width * 4);
    }
    ~PixmanSprite() { pixman_image_unref(image); }
    PixmanSprite(const PixmanSprite&) = delete;
    PixmanSprite& operator=(const PixmanSprite&) = delete;

    int width, height;
    std::vector<uint32_t> bits;
    pixman_image_t* image;
};

// An r5g6b5 pixman image over a surface's pixels.
pixman_image_t* Wrap565(Surface16& s)
{
    return pixman_image_create_bits(PIXMAN_r5g6b5, s.Width(), s.Height(),
                                    reinterpret_cast<uint32_t*>(s.Pixels()), s.Stride() * 2);
}

// Composites the sprite rotated about its centre to (x, y) with the same mapping as RotateBlit:
// destination (X, Y) reads source (c (X - x) - s (Y - y) + px, s (X - x) + c (Y - y) + py),
// over the same widened bounding box.
void PixmanRotate(pixman_image_t* dst, const PixmanSprite& sprite, const Placement& p)
{
    const double px = sprite.width >> 1;
    const double py = sprite.height >> 1;
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    t.matrix[0][0] = pixman_double_to_fixed(p.c);
    t.matrix[0][1] = pixman_double_to_fixed(-p.s);
    t.matrix[0][2] = pixman_double_to_fixed(px - p.c * p.x + p.s * p.y);
    t.matrix[1][0] = pixman_double_to_fixed(p.s);
    t.matrix[1][1] = pixman_double_to_fixed(p.c);
    t.matrix[1][2] = pixman_double_to_fixed(py - p.s * p.x - p.c * p.y);
    pixman_image_set_transform(sprite.image, &t);

    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const double u : {-px, sprite.width - px}) {
        for (const double v : {-py, sprite.height - py}) {
            minX = std::min(minX, p.x + p.c * u + p.s * v);
            maxX = std::max(maxX, p.x + p.c * u + p.s * v);
            minY = std::min(minY, p.y - p.s * u + p.c * v);
            maxY = std::max(maxY, p.y - p.s * u + p.c * v);
        }
    }
    const int left = std::max(static_cast<int>(std::floor(minX)) - 1, 0);
    const int top = std::max(static_cast<int>(std::floor(minY)) - 1, 0);
    const int right = std::min(static_cast<int>(std::floor(maxX)) + 2, ScreenWidth);
    const int bottom = std::min(static_cast<int>(std::floor(maxY)) + 2, ScreenHeight);
    if (left < right && top < bottom) {
        pixman_image_composite32(PIXMAN_OP_OVER, sprite.image, nullptr, dst, left, top, 0, 0, left,
                                 top, right - left, bottom - top);
    }
}

// ---- single sprites over 64 angles ----------------------------------------------------------

void ReportPerSprite(benchmark::State& state, int sprites)
{
    state.SetItemsProcessed(state.iterations() * sprites);
    // Seconds per sprite, printed with an SI prefix (1.2u is 1.2 microseconds).
    state.counters["per_sprite"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * sprites,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Plain: drawn the portable way.
void RotateSpriteWith(benchmark::State& state, bool plain)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const bool smooth = state.range(2) != 0;
    Surface16 screen, side;
    screen.Create(ScreenWidth, ScreenHeight, false);
    PaintSide(side, width, height);
    const std::vector<Placement> places = Placements(AngleCount);
    for (auto _ : state) {
        for (const Placement& p : places) {
            if (plain) {
                RotateBlitPlain(screen, p.x, p.y, nullptr, side, p.s, p.c, width >> 1, height >> 1,
                                smooth);
            } else {
                RotateBlit(screen, p.x, p.y, nullptr, side, p.s, p.c, smooth);
            }
        }
        benchmark::ClobberMemory();
    }
    ReportPerSprite(state, AngleCount);
}

void RotateSprite(benchmark::State& state)
{
    RotateSpriteWith(state, false);
}

void RotateSpritePlain(benchmark::State& state)
{
    RotateSpriteWith(state, true);
}

void PixmanRotateSprite(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const bool smooth = state.range(2) != 0;
    Surface16 screen, side;
    screen.Create(ScreenWidth, ScreenHeight, false);
    PaintSide(side, width, height);
    PixmanSprite sprite(side);
    pixman_image_set_filter(sprite.image, smooth ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST,
                            nullptr, 0);
    pixman_image_t* dst = Wrap565(screen);
    const std::vector<Placement> places = Placements(AngleCount);
    for (auto _ : state) {
        for (const Placement& p : places) {
            PixmanRotate(dst, sprite, p);
        }
        benchmark::ClobberMemory();
    }
    pixman_image_unref(dst);
    ReportPerSprite(state, AngleCount);
}

// Arguments: sprite width, height, smooth.
void SpriteArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"w", "h", "smooth"});
    for (const int smooth : {0, 1}) {
        b->Args({27, 9, smooth});
        b->Args({33, 11, smooth});
    }
}

BENCHMARK(RotateSprite)->Apply(SpriteArgs);
BENCHMARK(RotateSpritePlain)->Apply(SpriteArgs);
BENCHMARK(PixmanRotateSprite)->Apply(SpriteArgs);

// ---- a game frame -----------------------------------------------------------------------------

constexpr int SidesPerFrame = 300;
constexpr int JointsPerFrame = 300;

struct FrameArt
{
    FrameArt()
    {
        screen.Create(ScreenWidth, ScreenHeight, false);
        background.Create(ScreenWidth, ScreenHeight, false);
        for (int i = 0; i < ScreenWidth * ScreenHeight; ++i) {
            background.Pixels()[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
        }
        PaintSide(side, 27, 9);
        joint.Create(9, 9, false);
        for (int i = 0; i < 81; ++i) {
            joint.Pixels()[i] = static_cast<uint16_t>(0x4208 + i);
        }
    }
    Surface16 screen, background, side, joint;
    std::vector<Placement> sides = Placements(SidesPerFrame);
    std::vector<Placement> joints = Placements(JointsPerFrame + 7);
};

void Frame(benchmark::State& state)
{
    FrameArt art;
    for (auto _ : state) {
        art.screen.Blit(0, 0, art.background);
        for (const Placement& p : art.sides) {
            RotateBlit(art.screen, p.x, p.y, nullptr, art.side, p.s, p.c, true);
        }
        for (int i = 0; i < JointsPerFrame; ++i) {
            const Placement& p = art.joints[i + 7];
            art.screen.Blit(p.x - 4, p.y - 4, art.joint);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void PixmanFrame(benchmark::State& state)
{
    FrameArt art;
    PixmanSprite side(art.side);
    pixman_image_set_filter(side.image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_t* dst = Wrap565(art.screen);
    pixman_image_t* background = Wrap565(art.background);
    // pixman wants rows of whole 32-bit words: the 9-pixel joint gets a 10-pixel stride.
    std::vector<uint16_t> jointBits(10 * 9);
    for (int y = 0; y < 9; ++y) {
        std::copy_n(art.joint.Pixels() + y * 9, 9, jointBits.data() + y * 10);
    }
    pixman_image_t* joint = pixman_image_create_bits(
        PIXMAN_r5g6b5, 9, 9, reinterpret_cast<uint32_t*>(jointBits.data()), 20);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, background, nullptr, dst, 0, 0, 0, 0, 0, 0,
                                 ScreenWidth, ScreenHeight);
        for (const Placement& p : art.sides) {
            PixmanRotate(dst, side, p);
        }
        for (int i = 0; i < JointsPerFrame; ++i) {
            const Placement& p = art.joints[i + 7];
            pixman_image_composite32(PIXMAN_OP_SRC, joint, nullptr, dst, 0, 0, 0, 0, p.x - 4,
                                     p.y - 4, 9, 9);
        }
        benchmark::ClobberMemory();
    }
    pixman_image_unref(joint);
    pixman_image_unref(background);
    pixman_image_unref(dst);
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(Frame);
BENCHMARK(PixmanFrame);

} // namespace
