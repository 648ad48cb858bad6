// Surface16: construction and memory of surfaces, and the software drawing primitives (clear,
// fill, blits with raster operations and mirroring, clipped blits, the colour-through-mask blit).
#include "graphics/Surface16.h"

#include "graphics/Pixel.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

namespace Graphics {
namespace {

using namespace SurfaceResult;

// Largest number of pixels a surface may hold.
constexpr uint64_t MaxPixelCount = 0x7FFFFFFF;

// Raster operation codes, as found in bits 31..24 of a raster-op word.
constexpr uint32_t OpCopy = 0;
constexpr uint32_t OpAnd = 1;
constexpr uint32_t OpOr = 2;
constexpr uint32_t OpNot = 4;
constexpr uint32_t OpXor = 8;

template <uint32_t Op>
constexpr uint16_t ApplyRop(uint16_t s, uint16_t operand)
{
    if constexpr (Op == OpAnd) {
        return s & operand;
    } else if constexpr (Op == OpOr) {
        return s | operand;
    } else if constexpr (Op == OpNot) {
        return static_cast<uint16_t>(~s);
    } else if constexpr (Op == OpXor) {
        return s ^ operand;
    } else {
        return s;
    }
}

// Calls fn with the raster operation as a compile-time constant, so that the pixel loops carry
// no per-pixel switch. Unknown operations copy the source unchanged on every path.
template <typename Fn>
void WithRasterOp(uint32_t rasterOp, Fn&& fn)
{
    switch (rasterOp >> 24) {
    case OpAnd:
        fn(std::integral_constant<uint32_t, OpAnd>{});
        break;
    case OpOr:
        fn(std::integral_constant<uint32_t, OpOr>{});
        break;
    case OpNot:
        fn(std::integral_constant<uint32_t, OpNot>{});
        break;
    case OpXor:
        fn(std::integral_constant<uint32_t, OpXor>{});
        break;
    default:
        fn(std::integral_constant<uint32_t, OpCopy>{});
        break;
    }
}

// A per-pixel weight scaled by an extra alpha byte; 255 leaves it as is (scaling by 255 would
// not: (255 * 255) >> 8 is 254).
constexpr uint32_t ScaleWeight(uint32_t weight, uint32_t extra)
{
    return extra < 255 ? (weight * extra) >> 8 : weight;
}

// The part of a blit that survives clipping. Positions are offsets into the planes rather than
// running pointers, so a walk that runs right-to-left or bottom-to-top never forms a pointer
// before the start of a plane.
struct BlitSpan
{
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t srcFirst = 0;   // top-left source pixel
    ptrdiff_t srcRowStep = 0; // the source stride
    ptrdiff_t dstFirst = 0;   // where the top-left source pixel lands
    ptrdiff_t dstStep = 1;    // -1 when mirrored horizontally
    ptrdiff_t dstRowStep = 0; // minus the stride when mirrored vertically
};

// Calls put(destinationPixel, sourceOffset) for every pixel of the span, row by row. The source
// offset indexes the source's pixel plane and its alpha (or index) plane alike.
template <typename Put>
inline void WalkSpan(uint16_t* dst, const BlitSpan& span, Put&& put)
{
    ptrdiff_t dRow = span.dstFirst;
    ptrdiff_t sRow = span.srcFirst;
    for (int32_t row = 0; row < span.height; ++row) {
        uint16_t* d = dst + dRow;
        for (int32_t i = 0; i < span.width; ++i) {
            put(d[i * span.dstStep], sRow + i);
        }
        dRow += span.dstRowStep;
        sRow += span.srcRowStep;
    }
}

// Cuts the span [start, start + size) to [0, limit) and moves the matching position on the
// other side of the blit by the amount cut from its near end. Unmirrored, the low end of one
// side faces the low end of the other; mirrored, it faces the high end. The same rule clips the
// source rectangle against the source (moving the destination position) and the destination
// rectangle against the destination (moving the source position), which is why a mirrored blit
// loses the far side of its source rather than the near side.
void ClipSpan(int64_t& start, int64_t& size, int64_t& other, int64_t limit, bool mirrored)
{
    if (start < 0) {
        size += start;
        if (!mirrored) {
            other -= start;
        }
        start = 0;
    }
    if (start + size > limit) {
        const int64_t cut = start + size - limit;
        size -= cut;
        if (mirrored) {
            other += cut;
        }
    }
    size = std::max<int64_t>(size, 0);
}

// Clips a blit of sourceRect (null: the whole source) at (x, y). Returns Ok with an empty span
// when nothing is visible, InvalidArgument when the clipped rectangle is empty or the source
// lacks the planes the blit reads, NoPixels for a destination without pixel memory, and Ok with
// the span to draw otherwise.
int32_t ClipBlit(const Surface16& dst, int32_t x, int32_t y, const Surface16& src,
                 const Rect* sourceRect, uint32_t flags, bool sourceReady, BlitSpan& span)
{
    const bool mirrorH = (flags & BlitMirrorHorizontal) != 0;
    const bool mirrorV = (flags & BlitMirrorVertical) != 0;
    int64_t sx = 0;
    int64_t sy = 0;
    int64_t w = src.Width();
    int64_t h = src.Height();
    if (sourceRect) {
        sx = sourceRect->x;
        sy = sourceRect->y;
        w = sourceRect->width;
        h = sourceRect->height;
    }
    int64_t dx = x;
    int64_t dy = y;

    // A source rectangle reaching outside the source is cut to it first; every remaining source
    // pixel still lands where it would have.
    ClipSpan(sx, w, dx, src.Width(), mirrorH);
    ClipSpan(sy, h, dy, src.Height(), mirrorV);

    const int64_t dstWidth = dst.Width();
    const int64_t dstHeight = dst.Height();
    span = BlitSpan{};
    if (dx > dstWidth || dy > dstHeight || dx + w < 0 || dy + h < 0) {
        return Ok;
    }
    ClipSpan(dx, w, sx, dstWidth, mirrorH);
    ClipSpan(dy, h, sy, dstHeight, mirrorV);
    if (w == 0 || h == 0 || !sourceReady) {
        return InvalidArgument;
    }
    if (!dst.Pixels()) {
        return NoPixels;
    }

    const int64_t stride = dst.Stride();
    span.width = static_cast<int32_t>(w);
    span.height = static_cast<int32_t>(h);
    span.srcFirst = static_cast<ptrdiff_t>(sy * src.Stride() + sx);
    span.srcRowStep = src.Stride();
    span.dstFirst =
        static_cast<ptrdiff_t>((mirrorV ? dy + h - 1 : dy) * stride + (mirrorH ? dx + w - 1 : dx));
    span.dstStep = mirrorH ? -1 : 1;
    span.dstRowStep = static_cast<ptrdiff_t>(mirrorV ? -stride : stride);
    return Ok;
}

// Copies an opaque source through the raster operation. Unmirrored plain copies move whole
// rows (memmove, as a surface may be blitted onto itself).
template <uint32_t Op>
void CopyRows(uint16_t* dst, const uint16_t* src, const BlitSpan& span, uint16_t operand)
{
    if constexpr (Op == OpCopy) {
        if (span.dstStep == 1) {
            const size_t rowBytes = static_cast<size_t>(span.width) * sizeof(uint16_t);
            ptrdiff_t dRow = span.dstFirst;
            ptrdiff_t sRow = span.srcFirst;
            for (int32_t row = 0; row < span.height; ++row) {
                std::memmove(dst + dRow, src + sRow, rowBytes);
                dRow += span.dstRowStep;
                sRow += span.srcRowStep;
            }
            return;
        }
    }
    WalkSpan(dst, span, [=](uint16_t& d, ptrdiff_t k) { d = ApplyRop<Op>(src[k], operand); });
}

// Draws a paletted source. The palette goes through the raster operation once; an index past
// the end of the palette leaves its destination pixel as it was.
template <uint32_t Op>
void CopyPaletted(uint16_t* dst, const Surface16& source, const BlitSpan& span, uint16_t operand)
{
    const uint16_t* palette = source.Pixels();
    const uint8_t* indices = source.Alpha();
    const uint32_t count = std::min<uint32_t>(source.PaletteSize(), 256);
    uint16_t lookup[256] = {};
    for (uint32_t i = 0; i < count; ++i) {
        lookup[i] = ApplyRop<Op>(palette[i], operand);
    }
    WalkSpan(dst, span, [&](uint16_t& d, ptrdiff_t k) {
        const uint8_t index = indices[k];
        if (index < count) {
            d = lookup[index];
        }
    });
}

// Fills whole rows of a plane, honouring the stride so that a view never touches its parent's
// pixels outside the view.
template <typename T>
void FillPlane(T* plane, uint32_t width, uint32_t height, uint32_t stride, T value)
{
    if (stride == width) {
        std::fill_n(plane, static_cast<size_t>(width) * height, value);
        return;
    }
    for (uint32_t row = 0; row < height; ++row) {
        std::fill_n(plane + static_cast<size_t>(row) * stride, width, value);
    }
}

// The colour of a translucent fill: its weight and its 8-bit channels.
struct FillColour
{
    uint32_t alpha;
    uint32_t red;
    uint32_t green;
    uint32_t blue;
};

// Blends a translucent fill colour over p, whose alpha is da, and returns p's new alpha. The
// destination keeps a share of the weight only as far as it is opaque itself, so a fill over a
// transparent pixel takes the colour almost fully.
inline uint32_t FillPixel(uint16_t& p, uint32_t da, const FillColour& c)
{
    const uint32_t wd = da == 0 ? 0 : da == 255 ? 255 - c.alpha : (da * (255 - c.alpha)) >> 8;
    const uint32_t ws = 255 - wd;
    const uint32_t r = (c.red * ws + Red8(p) * wd) >> 8;
    const uint32_t g = (c.green * ws + Green8(p) * wd) >> 8;
    const uint32_t b = (c.blue * ws + Blue8(p) * wd) >> 8;
    p = PackRgb565((r << 16) | (g << 8) | b);
    return c.alpha + wd;
}

} // namespace

Surface16::~Surface16()
{
    Release();
}

// Allocates zeroed (black, fully transparent) pixels, and an alpha plane when asked for.
int32_t Surface16::Create(uint32_t width, uint32_t height, bool withAlpha)
{
    Release();
    const uint64_t count = static_cast<uint64_t>(width) * height;
    if (count > MaxPixelCount) {
        return OutOfMemory;
    }
    std::unique_ptr<uint16_t[]> pixels(new (std::nothrow) uint16_t[count]());
    if (!pixels) {
        return OutOfMemory;
    }
    std::unique_ptr<uint8_t[]> alpha;
    if (withAlpha) {
        alpha.reset(new (std::nothrow) uint8_t[count]());
        if (!alpha) {
            return OutOfMemory;
        }
    }
    m_width = width;
    m_height = height;
    m_pixels = pixels.release();
    m_alpha = alpha.release();
    m_stride = width;
    m_ownsMemory = true;
    m_hasAlpha = withAlpha;
    return Ok;
}

// Wraps memory owned by someone else (the display back buffer, for one).
int32_t Surface16::Attach(uint32_t width, uint32_t height, uint16_t* pixels, uint8_t* alpha)
{
    Release();
    m_width = width;
    m_height = height;
    m_pixels = pixels;
    m_alpha = alpha;
    m_stride = width;
    m_hasAlpha = alpha != nullptr;
    return Ok;
}

// Allocates a zeroed palette of paletteSize colours and a zeroed index plane.
int32_t Surface16::CreatePaletted(uint32_t width, uint32_t height, uint32_t paletteSize)
{
    Release();
    if (paletteSize > 256) {
        return InvalidArgument;
    }
    const uint64_t count = static_cast<uint64_t>(width) * height;
    if (count > MaxPixelCount) {
        return OutOfMemory;
    }
    std::unique_ptr<uint16_t[]> palette(new (std::nothrow) uint16_t[paletteSize]());
    std::unique_ptr<uint8_t[]> indices(new (std::nothrow) uint8_t[count]());
    if (!palette || !indices) {
        return OutOfMemory;
    }
    m_width = width;
    m_height = height;
    m_pixels = palette.release();
    m_alpha = indices.release();
    m_stride = width;
    m_paletteSize = static_cast<uint16_t>(paletteSize);
    m_ownsMemory = true;
    m_paletted = true;
    return Ok;
}

// Frees owned memory and leaves an empty surface.
void Surface16::Release()
{
    if (m_ownsMemory) {
        delete[] m_pixels;
        delete[] m_alpha;
    }
    m_width = 0;
    m_height = 0;
    m_pixels = nullptr;
    m_alpha = nullptr;
    m_rowPad = 0;
    m_stride = 0;
    m_paletteSize = 0;
    m_ownsMemory = false;
    m_hasAlpha = false;
    m_paletted = false;
}

// Makes target a non-owning view of a rectangle of source, sharing its stride.
int32_t Surface16::SubSurface(Surface16& target, const Surface16& source, uint32_t x, uint32_t y,
                              uint32_t width, uint32_t height)
{
    if (x >= source.m_width || y >= source.m_height ||
        static_cast<uint64_t>(x) + width > source.m_width ||
        static_cast<uint64_t>(y) + height > source.m_height) {
        return InvalidArgument;
    }
    if (source.m_paletted || target.m_paletted) {
        return Paletted;
    }
    // Releasing the target first would free the memory the view is meant to point at.
    if (&target == &source) {
        return InvalidArgument;
    }
    if (!source.m_pixels) {
        return NoPixels;
    }
    target.Release();
    const size_t offset = static_cast<size_t>(y) * source.m_stride + x;
    target.m_width = width;
    target.m_height = height;
    target.m_pixels = source.m_pixels + offset;
    target.m_alpha = source.m_hasAlpha ? source.m_alpha + offset : nullptr;
    target.m_stride = source.m_stride;
    target.m_rowPad = source.m_stride - width;
    target.m_hasAlpha = source.m_hasAlpha;
    return Ok;
}

// Sets every pixel to black and every alpha byte to transparent. Returns NoPixels for a surface
// without an alpha plane even though its pixels were cleared; callers ignore that result.
int32_t Surface16::Clear()
{
    if (m_paletted) {
        return Paletted;
    }
    if (!m_pixels) {
        return NoPixels;
    }
    FillPlane<uint16_t>(m_pixels, m_width, m_height, m_stride, 0);
    if (!m_hasAlpha) {
        return NoPixels;
    }
    FillPlane<uint8_t>(m_alpha, m_width, m_height, m_stride, 0);
    return Ok;
}

// Fills a rectangle (null: the whole surface) with an ARGB colour weighted by its own alpha and
// the extra alpha byte.
int32_t Surface16::FillRect(const Rect* rect, uint32_t colour, uint8_t alpha)
{
    if (m_paletted) {
        return Paletted;
    }
    const int64_t width = m_width;
    const int64_t height = m_height;
    int64_t x = 0;
    int64_t y = 0;
    int64_t w = width;
    int64_t h = height;
    if (rect) {
        x = rect->x;
        y = rect->y;
        w = rect->width;
        h = rect->height;
    }
    if (w <= 0 || h <= 0 || x + w < 0 || x >= width || y + h < 0 || y >= height) {
        return Ok;
    }
    if (x < 0) {
        w += x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        y = 0;
    }
    w = std::min(w, width - x);
    h = std::min(h, height - y);
    if (w <= 0 || h <= 0) {
        return Ok;
    }
    if (!m_pixels) {
        return NoPixels;
    }

    const uint32_t fillAlpha = ScaleWeight(colour >> 24, alpha);
    if (fillAlpha == 0) {
        return Ok;
    }
    uint8_t* const alphaPlane = m_hasAlpha ? m_alpha : nullptr;
    const int32_t cols = static_cast<int32_t>(w);
    const int32_t rows = static_cast<int32_t>(h);
    const ptrdiff_t first = static_cast<ptrdiff_t>(y * m_stride + x);

    if (fillAlpha == 255) {
        const uint16_t packed = PackRgb565(colour);
        ptrdiff_t row = first;
        for (int32_t j = 0; j < rows; ++j, row += m_stride) {
            std::fill_n(m_pixels + row, cols, packed);
            if (alphaPlane) {
                std::fill_n(alphaPlane + row, cols, uint8_t{255});
            }
        }
        return Ok;
    }

    const FillColour c{fillAlpha, (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
    ptrdiff_t row = first;
    if (alphaPlane) {
        for (int32_t j = 0; j < rows; ++j, row += m_stride) {
            uint16_t* p = m_pixels + row;
            uint8_t* a = alphaPlane + row;
            for (int32_t i = 0; i < cols; ++i) {
                a[i] = static_cast<uint8_t>(FillPixel(p[i], a[i], c));
            }
        }
        return Ok;
    }
    // Without an alpha plane a single running value stands in for the destination alpha: it
    // starts transparent and carries each pixel's result on to the next, across rows too.
    uint32_t da = 0;
    for (int32_t j = 0; j < rows; ++j, row += m_stride) {
        uint16_t* p = m_pixels + row;
        for (int32_t i = 0; i < cols; ++i) {
            da = FillPixel(p[i], da, c);
        }
    }
    return Ok;
}

// Draws sourceRect of source (null: all of it) at (x, y), through the raster operation, blended
// by the source's alpha plane when it has one. The destination's alpha plane is left alone.
int32_t Surface16::Blit(int32_t x, int32_t y, const Surface16& source, const Rect* sourceRect,
                        uint8_t alpha, uint32_t flags, uint32_t rasterOp, bool alphaTest)
{
    if (m_paletted) {
        return Paletted;
    }
    const bool sourceReady = source.m_pixels && (!source.m_paletted || source.m_alpha);
    BlitSpan span;
    const int32_t result = ClipBlit(*this, x, y, source, sourceRect, flags, sourceReady, span);
    if (result != Ok || span.width == 0) {
        return result;
    }

    uint16_t* const dst = m_pixels;
    const uint16_t* const src = source.m_pixels;
    const uint8_t* const srcAlpha = source.m_alpha;
    const uint16_t operand = static_cast<uint16_t>(rasterOp & 0xFFFF);
    WithRasterOp(rasterOp, [&](auto op) {
        constexpr uint32_t Op = decltype(op)::value;
        if (source.m_paletted) {
            CopyPaletted<Op>(dst, source, span, operand);
        } else if (!source.m_hasAlpha) {
            CopyRows<Op>(dst, src, span, operand);
        } else if (alphaTest) {
            WalkSpan(dst, span, [&](uint16_t& d, ptrdiff_t k) {
                if (ScaleWeight(srcAlpha[k], alpha) > 128) {
                    d = ApplyRop<Op>(src[k], operand);
                }
            });
        } else {
            WalkSpan(dst, span, [&](uint16_t& d, ptrdiff_t k) {
                d = Blend565(ApplyRop<Op>(src[k], operand), d, ScaleWeight(srcAlpha[k], alpha));
            });
        }
    });
    return Ok;
}

// A plain Blit restricted to clipRect of the destination (null: no restriction).
int32_t Surface16::BlitClipped(int32_t x, int32_t y, const Surface16& source,
                               const Rect* sourceRect, const Rect* clipRect)
{
    if (!clipRect) {
        return Blit(x, y, source, sourceRect);
    }
    Rect from = sourceRect ? *sourceRect
                           : Rect{0, 0, static_cast<int32_t>(source.m_width),
                                  static_cast<int32_t>(source.m_height)};
    Rect to{x, y, from.width, from.height};
    Intersect(to, *clipRect);
    if (to.width <= 0 || to.height <= 0) {
        return InvalidArgument;
    }
    from.x += to.x - x;
    from.y += to.y - y;
    from.width = to.width;
    from.height = to.height;
    return Blit(to.x, to.y, source, &from, 255, 0, RopCopy, false);
}

// Paints colour (its alpha byte ignored) through the source's alpha plane, each pixel weighted
// by the mask scaled by alpha.
int32_t Surface16::MaskBlit(int32_t x, int32_t y, const Surface16& source, const Rect* sourceRect,
                            uint32_t colour, uint8_t alpha, uint32_t flags)
{
    if (m_paletted) {
        return Paletted;
    }
    if (source.m_paletted || !source.m_hasAlpha) {
        return InvalidArgument;
    }
    BlitSpan span;
    const int32_t result = ClipBlit(*this, x, y, source, sourceRect, flags, true, span);
    if (result != Ok || span.width == 0) {
        return result;
    }
    const uint16_t tint = PackRgb565(colour);
    const uint8_t* const mask = source.m_alpha;
    WalkSpan(m_pixels, span,
             [&](uint16_t& d, ptrdiff_t k) { d = Blend565(tint, d, ScaleWeight(mask[k], alpha)); });
    return Ok;
}

// Clips rect to other in place, or zeroes it when the two do not overlap.
void Surface16::Intersect(Rect& rect, const Rect& other)
{
    const int64_t left = std::max(rect.x, other.x);
    const int64_t top = std::max(rect.y, other.y);
    const int64_t right = std::min(static_cast<int64_t>(rect.x) + rect.width,
                                   static_cast<int64_t>(other.x) + other.width);
    const int64_t bottom = std::min(static_cast<int64_t>(rect.y) + rect.height,
                                    static_cast<int64_t>(other.y) + other.height);
    if (right <= left || bottom <= top) {
        rect = Rect{};
        return;
    }
    rect = Rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
}

} // namespace Graphics
