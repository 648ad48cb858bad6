// Tests of Surface16 and the pixel helpers: each case paints into a tiny surface and checks the
// pixels against hand-worked values or a pixel-by-pixel reference written here.
#include "graphics/Surface16.h"

#include "graphics/Pixel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

using namespace Graphics;

namespace {

// Gives every pixel a distinct value (row * 16 + column + 1) so a misplaced pixel shows.
void Number(Surface16& s)
{
    for (uint32_t y = 0; y < s.Height(); ++y) {
        for (uint32_t x = 0; x < s.Width(); ++x) {
            s.Pixels()[y * s.Stride() + x] = static_cast<uint16_t>(y * 16 + x + 1);
        }
    }
}

std::vector<uint16_t> PixelsOf(const Surface16& s)
{
    std::vector<uint16_t> out;
    for (uint32_t y = 0; y < s.Height(); ++y) {
        for (uint32_t x = 0; x < s.Width(); ++x) {
            out.push_back(s.Pixels()[y * s.Stride() + x]);
        }
    }
    return out;
}

// Per-channel blend, one channel at a time.
uint16_t BlendReference(uint16_t s, uint16_t d, uint32_t a)
{
    if (a == 255) {
        return s;
    }
    if (a == 0) {
        return d;
    }
    auto channel = [&](int shift, uint32_t mask) {
        const uint32_t sc = (s >> shift) & mask;
        const uint32_t dc = (d >> shift) & mask;
        return ((sc * a + dc * (255 - a)) >> 8) << shift;
    };
    return static_cast<uint16_t>(channel(11, 31) | channel(5, 63) | channel(0, 31));
}

// A plain blit worked out pixel by pixel: pixel (i, j) of the source rectangle lands at
// (x + i, y + j), or at the mirrored column/row within the rectangle; pixels outside the source
// or the destination are not drawn.
std::vector<uint16_t> ReferenceBlit(std::vector<uint16_t> dst, int dw, int dh, const Surface16& src,
                                    Rect r, int x, int y, uint32_t flags)
{
    for (int j = 0; j < r.height; ++j) {
        for (int i = 0; i < r.width; ++i) {
            const int sx = r.x + i;
            const int sy = r.y + j;
            const int dx = x + ((flags & BlitMirrorHorizontal) ? r.width - 1 - i : i);
            const int dy = y + ((flags & BlitMirrorVertical) ? r.height - 1 - j : j);
            if (sx < 0 || sy < 0 || sx >= int(src.Width()) || sy >= int(src.Height()) || dx < 0 ||
                dy < 0 || dx >= dw || dy >= dh) {
                continue;
            }
            dst[dy * dw + dx] = src.Pixels()[sy * src.Stride() + sx];
        }
    }
    return dst;
}

} // namespace

TEST(PixelTest, PacksAndWidensChannelsByTruncation)
{
    EXPECT_EQ(PackRgb565(0xFFFF0000u), 0xF800);
    EXPECT_EQ(PackRgb565(0x00FFFFFFu), 0xFFFF);
    EXPECT_EQ(PackRgb565(0x12123456u), 0x11AA); // r 0x12>>3=2, g 0x34>>2=13, b 0x56>>3=10
    EXPECT_EQ(Red8(0x11AA), 0x10);
    EXPECT_EQ(Green8(0x11AA), 0x34);
    EXPECT_EQ(Blue8(0x11AA), 0x50);
    EXPECT_EQ(Red8(0xFFFF), 0xF8);
    EXPECT_EQ(Green8(0xFFFF), 0xFC);
    EXPECT_EQ(Blue8(0xFFFF), 0xF8);
}

TEST(PixelTest, CombinedRedBlueBlendMatchesPerChannelBlend)
{
    std::vector<uint16_t> values = {0x0000, 0xFFFF, 0xF81F, 0x07E0, 0xF800, 0x001F, 0x8410};
    uint32_t seed = 12345;
    for (int i = 0; i < 60; ++i) {
        seed = seed * 1664525u + 1013904223u;
        values.push_back(static_cast<uint16_t>(seed >> 16));
    }
    for (uint32_t a = 0; a <= 255; ++a) {
        for (uint16_t s : values) {
            for (uint16_t d : values) {
                ASSERT_EQ(Blend565(s, d, a), BlendReference(s, d, a))
                    << "s=" << s << " d=" << d << " a=" << a;
            }
        }
    }
    EXPECT_EQ(Blend565(0xFFFF, 0x0000, 64), 0x39E7); // (31*64)>>8 = 7, (63*64)>>8 = 15
}

TEST(Surface16Test, CreateAttachAndPalettedConstruction)
{
    Surface16 s;
    ASSERT_EQ(s.Create(3, 2, true), SurfaceResult::Ok);
    EXPECT_EQ(s.Stride(), 3u);
    EXPECT_TRUE(s.OwnsMemory());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(s.Pixels()[i], 0);
        EXPECT_EQ(s.Alpha()[i], 0);
    }
    // 65536 x 32768 = 2^31 pixels, one more than allowed: fails without allocating.
    EXPECT_EQ(s.Create(65536, 32768, false), SurfaceResult::OutOfMemory);
    EXPECT_EQ(s.Pixels(), nullptr);
    EXPECT_EQ(s.Width(), 0u);

    ASSERT_EQ(s.CreatePaletted(4, 4, 256), SurfaceResult::Ok);
    EXPECT_TRUE(s.IsPaletted());
    EXPECT_FALSE(s.HasAlpha());
    EXPECT_EQ(s.PaletteSize(), 256);
    EXPECT_EQ(s.CreatePaletted(4, 4, 257), SurfaceResult::InvalidArgument);
    EXPECT_EQ(s.Pixels(), nullptr);
    EXPECT_FALSE(s.IsPaletted());

    uint16_t pixels[4] = {};
    EXPECT_EQ(s.Attach(2, 2, pixels, nullptr), SurfaceResult::Ok);
    EXPECT_FALSE(s.OwnsMemory());
    EXPECT_FALSE(s.HasAlpha());
    EXPECT_EQ(s.Pixels(), pixels);
    s.Release(); // must not free memory it does not own
    EXPECT_EQ(s.Pixels(), nullptr);
}

TEST(Surface16Test, ClearResults)
{
    Surface16 plain;
    plain.Create(2, 2, false);
    Number(plain);
    EXPECT_EQ(plain.Clear(), SurfaceResult::NoPixels);
    EXPECT_EQ(PixelsOf(plain), std::vector<uint16_t>(4, 0));

    Surface16 withAlpha;
    withAlpha.Create(2, 2, true);
    Number(withAlpha);
    withAlpha.Alpha()[3] = 9;
    EXPECT_EQ(withAlpha.Clear(), SurfaceResult::Ok);
    EXPECT_EQ(PixelsOf(withAlpha), std::vector<uint16_t>(4, 0));
    EXPECT_EQ(withAlpha.Alpha()[3], 0);

    Surface16 paletted;
    paletted.CreatePaletted(2, 2, 4);
    EXPECT_EQ(paletted.Clear(), SurfaceResult::Paletted);
    Surface16 empty;
    EXPECT_EQ(empty.Clear(), SurfaceResult::NoPixels);
}

TEST(Surface16Test, SubSurfaceViewsTheParentRectangle)
{
    Surface16 screen;
    ASSERT_EQ(screen.Create(240, 320, true), SurfaceResult::Ok);
    Surface16 view;
    ASSERT_EQ(Surface16::SubSurface(view, screen, 10, 20, 100, 50), SurfaceResult::Ok);
    EXPECT_EQ(view.Stride(), 240u);
    EXPECT_EQ(view.RowPad(), 140u);
    EXPECT_EQ(view.Pixels(), screen.Pixels() + 20 * 240 + 10);
    EXPECT_EQ(view.Alpha(), screen.Alpha() + 20 * 240 + 10);
    EXPECT_TRUE(view.HasAlpha());
    EXPECT_FALSE(view.OwnsMemory());

    struct Case
    {
        uint32_t x, y, w, h;
        int32_t result;
    };
    for (const Case& c : {Case{240, 0, 0, 1, -1}, Case{0, 320, 1, 0, -1}, Case{200, 0, 41, 1, -1},
                          Case{0, 300, 1, 21, -1}, Case{239, 319, 1, 1, 0}}) {
        Surface16 v;
        EXPECT_EQ(Surface16::SubSurface(v, screen, c.x, c.y, c.w, c.h), c.result) << c.x;
    }
    Surface16 paletted;
    paletted.CreatePaletted(4, 4, 2);
    EXPECT_EQ(Surface16::SubSurface(view, paletted, 0, 0, 2, 2), SurfaceResult::Paletted);
}

TEST(Surface16Test, DrawingIntoSubSurfaceStaysInside)
{
    Surface16 parent;
    parent.Create(6, 5, true);
    Number(parent);
    const std::vector<uint16_t> before = PixelsOf(parent);
    Surface16 view;
    ASSERT_EQ(Surface16::SubSurface(view, parent, 1, 1, 3, 2), SurfaceResult::Ok);
    Surface16 sprite;
    sprite.Create(4, 4, false);

    auto inside = [](int i) { return i % 6 >= 1 && i % 6 <= 3 && i / 6 >= 1 && i / 6 <= 2; };
    auto reset = [&] {
        Number(parent);
        std::fill_n(parent.Alpha(), 30, 9);
    };
    // Every pixel inside the view changes and the alpha bytes there become insideAlpha; nothing
    // outside the view changes.
    auto check = [&](const char* what, int insideAlpha) {
        const std::vector<uint16_t> now = PixelsOf(parent);
        for (int i = 0; i < 30; ++i) {
            if (inside(i)) {
                EXPECT_NE(now[i], before[i]) << what << " missed pixel " << i;
                EXPECT_EQ(parent.Alpha()[i], insideAlpha) << what << " alpha " << i;
            } else {
                EXPECT_EQ(now[i], before[i]) << what << " touched pixel " << i;
                EXPECT_EQ(parent.Alpha()[i], 9) << what << " touched alpha " << i;
            }
        }
    };
    reset();
    EXPECT_EQ(view.Blit(-1, -1, sprite), SurfaceResult::Ok);
    check("Blit", 9);
    reset();
    EXPECT_EQ(view.Clear(), SurfaceResult::Ok);
    check("Clear", 0);
    reset();
    EXPECT_EQ(view.FillRect(nullptr, 0xFFFFFFFFu), SurfaceResult::Ok);
    check("FillRect", 255);
}

TEST(Surface16Test, BlitClipsAndMirrorsLikeAPixelByPixelReference)
{
    Surface16 src;
    src.Create(4, 3, false);
    Number(src);
    const int dw = 6;
    const int dh = 5;
    const std::vector<uint16_t> background(dw * dh, 0xEEEE);

    const std::vector<std::pair<int, int>> positions = {
        {1, 1}, {-2, 0}, {-3, -2}, {4, 1}, {3, 3}, {5, 4}, {0, -2}, {2, 4},
        {0, 0}, {-4, 0}, {-5, 0},  {6, 0}, {7, 0}, {2, 5}, {2, -3}, {-1, 3}};
    // Null stands for the whole source; the others include rectangles reaching outside it.
    const std::optional<Rect> rects[] = {std::nullopt,     Rect{1, 1, 2, 2},   Rect{-2, 0, 4, 3},
                                         Rect{2, 1, 4, 4}, Rect{-1, -1, 6, 5}, Rect{5, 0, 2, 2}};
    for (const std::optional<Rect>& r : rects) {
        const Rect whole = r.value_or(Rect{0, 0, 4, 3});
        for (const auto& [x, y] : positions) {
            for (uint32_t flags = 0; flags < 4; ++flags) {
                Surface16 dst;
                dst.Create(dw, dh, false);
                std::copy(background.begin(), background.end(), dst.Pixels());
                const int32_t result = dst.Blit(x, y, src, r ? &*r : nullptr, 255, flags);
                const auto expected = ReferenceBlit(background, dw, dh, src, whole, x, y, flags);
                SCOPED_TRACE(testing::Message()
                             << "rect " << whole.x << "," << whole.y << " " << whole.width << "x"
                             << whole.height << " at " << x << "," << y << " flags " << flags);
                EXPECT_EQ(PixelsOf(dst), expected);
                if (expected != background) {
                    EXPECT_EQ(result, SurfaceResult::Ok);
                } else {
                    EXPECT_TRUE(result == SurfaceResult::Ok ||
                                result == SurfaceResult::InvalidArgument);
                }
            }
        }
    }
}

TEST(Surface16Test, BlitAtNegativeXShowsTheRightHalfOrTheMirroredLeftHalf)
{
    Surface16 src;
    src.Create(10, 1, false);
    Number(src); // 1..10
    Surface16 dst;
    dst.Create(10, 1, false);
    EXPECT_EQ(dst.Blit(-5, 0, src), SurfaceResult::Ok);
    EXPECT_EQ(PixelsOf(dst), (std::vector<uint16_t>{6, 7, 8, 9, 10, 0, 0, 0, 0, 0}));
    dst.Clear();
    EXPECT_EQ(dst.Blit(-5, 0, src, nullptr, 255, BlitMirrorHorizontal), SurfaceResult::Ok);
    EXPECT_EQ(PixelsOf(dst), (std::vector<uint16_t>{5, 4, 3, 2, 1, 0, 0, 0, 0, 0}));

    // Nothing visible is success; a rectangle clipped to nothing on the edge is invalid.
    EXPECT_EQ(dst.Blit(11, 0, src), SurfaceResult::Ok);
    EXPECT_EQ(dst.Blit(10, 0, src), SurfaceResult::InvalidArgument);
    EXPECT_EQ(dst.Blit(-11, 0, src), SurfaceResult::Ok);
    EXPECT_EQ(dst.Blit(-10, 0, src), SurfaceResult::InvalidArgument);
    Surface16 empty;
    EXPECT_EQ(dst.Blit(0, 0, empty), SurfaceResult::InvalidArgument);
}

TEST(Surface16Test, BlitReadsASubSurfaceSourceThroughItsStride)
{
    Surface16 sheet;
    sheet.Create(5, 4, false);
    Number(sheet);
    Surface16 frame;
    Surface16::SubSurface(frame, sheet, 2, 1, 2, 2);
    Surface16 dst;
    dst.Create(2, 2, false);
    dst.Blit(0, 0, frame, nullptr, 255, BlitMirrorVertical);
    EXPECT_EQ(PixelsOf(dst), (std::vector<uint16_t>{35, 36, 19, 20}));
}

TEST(Surface16Test, BlitWeighsBySourceAlphaScaledByTheAlphaArgument)
{
    const uint16_t s = 0xFFFF;
    const uint16_t d = 0x1234;
    struct Case
    {
        uint8_t sourceAlpha, alpha;
        bool alphaTest;
        uint16_t expected;
    };
    // Weights by hand: (sourceAlpha * alpha) >> 8 unless alpha is 255. Blending 0xFFFF over
    // 0x1234 (r 2, g 17, b 20): weight 64 -> r (31*64 + 2*191)>>8 = 9, g (63*64 + 17*191)>>8
    // = 28, b (31*64 + 20*191)>>8 = 22. The alpha test draws unblended above 128:
    // (255 * 130) >> 8 = 129 draws, (255 * 129) >> 8 = 128 does not.
    const Case cases[] = {{128, 128, false, 0x4B96},
                          {128, 255, false, BlendReference(s, d, 128)},
                          {255, 128, false, BlendReference(s, d, 127)},
                          {255, 255, false, s},
                          {0, 255, false, d},
                          {200, 0, false, d},
                          {129, 255, true, s},
                          {128, 255, true, d},
                          {255, 130, true, s},
                          {255, 129, true, d}};
    for (const Case& c : cases) {
        Surface16 src;
        src.Create(1, 1, true);
        src.Pixels()[0] = s;
        src.Alpha()[0] = c.sourceAlpha;
        Surface16 dst;
        dst.Create(1, 1, true);
        dst.Pixels()[0] = d;
        dst.Alpha()[0] = 77;
        EXPECT_EQ(dst.Blit(0, 0, src, nullptr, c.alpha, 0, RopCopy, c.alphaTest),
                  SurfaceResult::Ok);
        EXPECT_EQ(dst.Pixels()[0], c.expected)
            << int(c.sourceAlpha) << " " << int(c.alpha) << " test " << c.alphaTest;
        EXPECT_EQ(dst.Alpha()[0], 77) << "Blit must not write the destination alpha";
    }
}

TEST(Surface16Test, RasterOpsTransformEverySourceKind)
{
    struct Case
    {
        uint32_t rop;
        uint16_t first, second; // 0x1234 and 0x8001 through the operation, operand 0x0F0F
    };
    const Case cases[] = {{RopCopy, 0x1234, 0x8001},         {RopAnd | 0x0F0F, 0x0204, 0x0001},
                          {RopOr | 0x0F0F, 0x1F3F, 0x8F0F},  {RopNot | 0x0F0F, 0xEDCB, 0x7FFE},
                          {RopXor | 0x0F0F, 0x1D3B, 0x8F0E}, {(3u << 24) | 0x0F0F, 0x1234, 0x8001}};

    Surface16 opaque;
    opaque.Create(2, 1, false);
    Surface16 withAlpha;
    withAlpha.Create(2, 1, true);
    for (Surface16* s : {&opaque, &withAlpha}) {
        s->Pixels()[0] = 0x1234;
        s->Pixels()[1] = 0x8001;
    }
    withAlpha.Alpha()[0] = withAlpha.Alpha()[1] = 255;
    Surface16 paletted;
    paletted.CreatePaletted(2, 1, 2);
    paletted.Pixels()[0] = 0x8001;
    paletted.Pixels()[1] = 0x1234;
    paletted.Alpha()[0] = 1;
    paletted.Alpha()[1] = 0;

    for (const Case& c : cases) {
        for (const Surface16* src : {&opaque, &withAlpha, &paletted}) {
            for (uint32_t flags : {0u, uint32_t{BlitMirrorHorizontal}}) {
                Surface16 dst;
                dst.Create(2, 1, false);
                EXPECT_EQ(dst.Blit(0, 0, *src, nullptr, 255, flags, c.rop), SurfaceResult::Ok);
                const std::vector<uint16_t> expected =
                    flags ? std::vector<uint16_t>{c.second, c.first}
                          : std::vector<uint16_t>{c.first, c.second};
                EXPECT_EQ(PixelsOf(dst), expected)
                    << "rop " << (c.rop >> 24) << " paletted " << src->IsPaletted() << " alpha "
                    << src->HasAlpha() << " flags " << flags;
            }
        }
    }
}

TEST(Surface16Test, PalettedSourceLooksUpColoursAndSkipsIndicesPastThePalette)
{
    Surface16 src;
    src.CreatePaletted(2, 2, 3);
    const uint16_t palette[] = {0x1111, 0x2222, 0x3333};
    std::copy(palette, palette + 3, src.Pixels());
    const uint8_t indices[] = {2, 0, 1, 7};
    std::copy(indices, indices + 4, src.Alpha());

    Surface16 dst;
    dst.Create(2, 2, false);
    std::fill_n(dst.Pixels(), 4, 0xAAAA);
    EXPECT_EQ(dst.Blit(0, 0, src, nullptr, 0), SurfaceResult::Ok); // alpha is ignored
    EXPECT_EQ(PixelsOf(dst), (std::vector<uint16_t>{0x3333, 0x1111, 0x2222, 0xAAAA}));
    std::fill_n(dst.Pixels(), 4, 0xAAAA);
    dst.Blit(0, 0, src, nullptr, 255, BlitMirrorHorizontal | BlitMirrorVertical);
    EXPECT_EQ(PixelsOf(dst), (std::vector<uint16_t>{0xAAAA, 0x2222, 0x1111, 0x3333}));
    EXPECT_EQ(src.Blit(0, 0, dst), SurfaceResult::Paletted);
}

TEST(Surface16Test, FillRectClipsToTheSurface)
{
    const Rect rects[] = {{-2, -1, 3, 2}, {3, 2, 5, 5},  {-3, 0, 3, 1}, {4, 0, 1, 1},
                          {0, 0, 0, 1},   {1, -5, 1, 3}, {1, 1, 2, 1},  {-9, -9, 20, 20}};
    for (const Rect& r : rects) {
        Surface16 s;
        s.Create(4, 3, true);
        // Opaque fills store the truncated colour: r 8>>3 = 1, g 63, b 16>>3 = 2.
        EXPECT_EQ(s.FillRect(&r, 0xFF08FC10u), SurfaceResult::Ok);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                const bool in = x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
                EXPECT_EQ(s.Pixels()[y * 4 + x], in ? 0x0FE2 : 0) << r.x << "," << r.y;
                EXPECT_EQ(s.Alpha()[y * 4 + x], in ? 255 : 0) << r.x << "," << r.y;
            }
        }
    }
    Surface16 paletted;
    paletted.CreatePaletted(2, 2, 1);
    EXPECT_EQ(paletted.FillRect(nullptr, 0xFFFFFFFFu), SurfaceResult::Paletted);
}

TEST(Surface16Test, TranslucentFillWeighsTheDestinationByItsAlpha)
{
    // Red at alpha 128 over blue (blue8 = 248), worked out by hand:
    //   da 0:   wd 0, ws 255    -> r (255*255)>>8 = 254 -> 31, b 0             ; da 128
    //   da 255: wd 127, ws 128  -> r 127 -> 15, b (248*127)>>8 = 123 -> 15    ; da 255
    //   da 100: wd (100*127)>>8 = 49, ws 206 -> r 205 -> 25, b 47 -> 5        ; da 177
    struct Case
    {
        uint32_t colour;
        uint8_t alpha, da;
        uint16_t pixel;
        uint8_t newDa;
    };
    const Case cases[] = {{0x80FF0000u, 255, 0, 0xF800, 128},
                          {0x80FF0000u, 255, 255, 0x780F, 255},
                          {0x80FF0000u, 255, 100, 0xC805, 177},
                          // sa (255*64)>>8 = 63: wd 192, ws 63 -> r 62 -> 7, b 186 -> 23
                          {0xFFFF0000u, 64, 255, 0x3817, 255},
                          {0x00FF0000u, 255, 40, 0x001F, 40},
                          {0xFFFF0000u, 0, 40, 0x001F, 40}};
    for (const Case& c : cases) {
        Surface16 s;
        s.Create(1, 1, true);
        s.Pixels()[0] = 0x001F;
        s.Alpha()[0] = c.da;
        EXPECT_EQ(s.FillRect(nullptr, c.colour, c.alpha), SurfaceResult::Ok);
        EXPECT_EQ(s.Pixels()[0], c.pixel) << std::hex << c.colour << " da " << int(c.da);
        EXPECT_EQ(s.Alpha()[0], c.newDa) << std::hex << c.colour << " da " << int(c.da);
    }
}

TEST(Surface16Test, FillWithoutAlphaPlaneCarriesARunningAlphaAcrossRows)
{
    // Red at alpha 128 over blue; the running alpha goes 0, 128, 191, 222 pixel by pixel:
    //   da 128: wd 63, ws 192 -> r 191 -> 23, b 61 -> 7
    //   da 191: wd 94, ws 161 -> r 160 -> 20, b 91 -> 11
    //   da 222: wd 110, ws 145 -> r 144 -> 18, b 106 -> 13
    const std::vector<uint16_t> expected = {0xF800, 0xB807, 0xA00B, 0x900D};
    Surface16 s;
    s.Create(4, 3, false);
    std::fill_n(s.Pixels(), 12, 0x001F);
    const Rect r{1, 1, 2, 2};
    EXPECT_EQ(s.FillRect(&r, 0x80FF0000u), SurfaceResult::Ok);
    const std::vector<uint16_t> got = PixelsOf(s);
    EXPECT_EQ((std::vector<uint16_t>{got[5], got[6], got[9], got[10]}), expected);
    EXPECT_EQ(got[4], 0x001F);
    EXPECT_EQ(got[7], 0x001F);

    // Each fill starts transparent again.
    std::fill_n(s.Pixels(), 12, 0x001F);
    s.FillRect(&r, 0x80FF0000u);
    EXPECT_EQ(s.Pixels()[5], 0xF800);
}

TEST(Surface16Test, MaskBlitPaintsTheColourThroughTheMask)
{
    Surface16 mask;
    mask.Create(2, 1, true);
    mask.Alpha()[0] = 255;
    mask.Alpha()[1] = 128;
    struct Case
    {
        uint8_t alpha;
        uint16_t left, right; // mirrored: the left pixel takes mask alpha 128, the right 255
    };
    // Green over blue, by hand: weight 128 -> g 31, b 15; weight 127 -> g 31, b 15;
    // weight 64 -> g 15, b (31*191)>>8 = 23.
    for (const Case& c : {Case{255, 0x03EF, 0x07E0}, Case{128, 0x01F7, 0x03EF}}) {
        Surface16 dst;
        dst.Create(2, 1, false);
        std::fill_n(dst.Pixels(), 2, 0x001F);
        // The colour's own alpha byte (0 here) is ignored.
        EXPECT_EQ(dst.MaskBlit(0, 0, mask, nullptr, 0x0000FF00u, c.alpha, BlitMirrorHorizontal),
                  SurfaceResult::Ok);
        EXPECT_EQ(PixelsOf(dst), (std::vector<uint16_t>{c.left, c.right})) << int(c.alpha);
    }

    Surface16 opaque;
    opaque.Create(2, 1, false);
    Surface16 dst;
    dst.Create(2, 1, false);
    EXPECT_EQ(dst.MaskBlit(0, 0, opaque, nullptr, 0xFFFFFFFFu), SurfaceResult::InvalidArgument);
    EXPECT_EQ(PixelsOf(dst), (std::vector<uint16_t>{0, 0}));
    Surface16 paletted;
    paletted.CreatePaletted(2, 1, 1);
    EXPECT_EQ(paletted.MaskBlit(0, 0, mask, nullptr, 0xFFFFFFFFu), SurfaceResult::Paletted);
}

TEST(Surface16Test, BlitClippedDrawsOnlyInsideTheClipRectangle)
{
    Surface16 src;
    src.Create(4, 4, false);
    Number(src);
    struct Case
    {
        int x, y;
        Rect sourceRect;
        Rect clip;
    };
    const Case cases[] = {{1, 1, {0, 0, 4, 4}, {2, 0, 2, 3}},
                          {0, 0, {1, 1, 3, 3}, {1, 1, 1, 1}},
                          {-1, 2, {0, 0, 4, 4}, {0, 0, 6, 6}},
                          {3, 3, {0, 0, 4, 4}, {-5, 4, 20, 1}}};
    for (const Case& c : cases) {
        Surface16 dst;
        dst.Create(6, 6, false);
        EXPECT_EQ(dst.BlitClipped(c.x, c.y, src, &c.sourceRect, &c.clip), SurfaceResult::Ok);
        std::vector<uint16_t> expected =
            ReferenceBlit(std::vector<uint16_t>(36, 0), 6, 6, src, c.sourceRect, c.x, c.y, 0);
        for (int i = 0; i < 36; ++i) {
            const int x = i % 6;
            const int y = i / 6;
            if (x < c.clip.x || x >= c.clip.x + c.clip.width || y < c.clip.y ||
                y >= c.clip.y + c.clip.height) {
                expected[i] = 0;
            }
        }
        EXPECT_EQ(PixelsOf(dst), expected) << c.x << "," << c.y;
    }

    Surface16 dst;
    dst.Create(6, 6, false);
    const Rect apart{5, 5, 1, 1};
    EXPECT_EQ(dst.BlitClipped(0, 0, src, nullptr, &apart), SurfaceResult::InvalidArgument);
    EXPECT_EQ(PixelsOf(dst), std::vector<uint16_t>(36, 0));
    EXPECT_EQ(dst.BlitClipped(0, 0, src, nullptr, nullptr), SurfaceResult::Ok);
    EXPECT_EQ(dst.Pixels()[3 * 6 + 3], src.Pixels()[3 * 4 + 3]);
}

TEST(Surface16Test, IntersectClipsOrZeroes)
{
    struct Case
    {
        Rect rect, other, expected;
    };
    const Case cases[] = {
        {{0, 0, 4, 4}, {2, 2, 4, 4}, {2, 2, 2, 2}},   {{0, 0, 4, 4}, {1, 1, 2, 2}, {1, 1, 2, 2}},
        {{0, 0, 4, 4}, {-3, 1, 10, 1}, {0, 1, 4, 1}}, {{0, 0, 4, 4}, {4, 0, 2, 2}, {0, 0, 0, 0}},
        {{0, 0, 4, 4}, {0, 4, 4, 1}, {0, 0, 0, 0}},   {{5, 5, 2, 2}, {0, 0, 3, 3}, {0, 0, 0, 0}}};
    for (const Case& c : cases) {
        Rect r = c.rect;
        Surface16::Intersect(r, c.other);
        EXPECT_EQ(r, c.expected) << c.other.x << "," << c.other.y;
    }
}
