// The rotated blit, the tiling blit and the antialiased line. The rotated blit walks its bounding
// box in 16.16 fixed point; each row is first cut to the run of pixels whose source position
// falls on the sprite, so the pixel loops carry no bounds tests. Where SSE2 is there (always on
// x86-64) the runs of a sprite with an alpha plane are drawn eight pixels at a time.
#include "graphics/Transforms.h"

#include "graphics/Pixel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

namespace Graphics {
namespace {

using namespace SurfaceResult;

constexpr int64_t One = 65536; // 1.0 in 16.16 fixed point

constexpr int64_t FloorDiv(int64_t a, int64_t b) // b > 0
{
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Where, along a row, a fixed-point source coordinate start + i * step first reaches a bound:
// the smallest i with start + i * step >= bound, for step >= 0. Followed from row to row as
// start moves by a constant, in the manner of a line drawer: the quotient and remainder of
// (bound - start) / step are updated instead of divided again, so every row is exact and costs
// a few additions.
class Edge
{
public:
    Edge(int64_t start, int64_t step, int64_t bound, int64_t rowMove)
        : m_step(step), m_gap(bound - start), m_gapMove(-rowMove)
    {
        if (step > 0) {
            // gap = position * step - rest, 0 <= rest < step: position = ceil(gap / step).
            m_position = -FloorDiv(-m_gap, step);
            m_rest = m_position * step - m_gap;
            m_positionMove = FloorDiv(m_gapMove, step);
            m_restMove = m_gapMove - m_positionMove * step;
        }
    }

    // The position; with no step, before every position or after all of them.
    int64_t Position() const
    {
        if (m_step == 0) {
            return m_gap <= 0 ? std::numeric_limits<int64_t>::min()
                              : std::numeric_limits<int64_t>::max();
        }
        return m_position;
    }

    void NextRow()
    {
        m_gap += m_gapMove;
        m_position += m_positionMove;
        m_rest -= m_restMove;
        if (m_rest < 0) {
            m_rest += m_step;
            ++m_position;
        }
    }

private:
    int64_t m_step;
    int64_t m_gap;
    int64_t m_gapMove;
    int64_t m_position = 0;
    int64_t m_rest = 0;
    int64_t m_positionMove = 0;
    int64_t m_restMove = 0;
};

// The run of positions along a row where start + i * step lies in [lo, hi), followed from row
// to row as start moves by rowMove.
class Span
{
public:
    Span(int64_t start, int64_t step, int64_t lo, int64_t hi, int64_t rowMove)
        : m_enter(Enter(start, step, lo, hi, rowMove)), m_leave(Leave(start, step, lo, hi, rowMove))
    {}

    int64_t First() const { return m_enter.Position(); }
    int64_t End() const { return m_leave.Position(); }
    void NextRow()
    {
        m_enter.NextRow();
        m_leave.NextRow();
    }

private:
    // A falling coordinate is followed mirrored: -start + i * |step| >= 1 - hi is where it
    // enters the range, >= 1 - lo where it leaves.
    static Edge Enter(int64_t start, int64_t step, int64_t lo, int64_t hi, int64_t rowMove)
    {
        return step >= 0 ? Edge(start, step, lo, rowMove) : Edge(-start, -step, 1 - hi, -rowMove);
    }
    static Edge Leave(int64_t start, int64_t step, int64_t lo, int64_t hi, int64_t rowMove)
    {
        return step >= 0 ? Edge(start, step, hi, rowMove) : Edge(-start, -step, 1 - lo, -rowMove);
    }

    Edge m_enter;
    Edge m_leave;
};

// Everything a rotated blit needs once the transform is set up. Source coordinates are 16.16
// and relative to the source rectangle; the part of it that lies on the source is
// [uLo, uHi) x [vLo, vHi).
struct Rotation
{
    int64_t c16 = 0;
    int64_t s16 = 0;
    int32_t left = 0; // the clipped bounding box, [left, right) x [top, bottom)
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int64_t startU = 0; // source position of the box's top-left pixel
    int64_t startV = 0;
    int64_t uLo = 0;
    int64_t uHi = 0;
    int64_t vLo = 0;
    int64_t vHi = 0;
};

// Calls drawRun(row, first, end, u, v) for every row of the box, with the run of pixels whose
// source position lies in [uMin, uMax) x [vMin, vMax) (16.16) and the position of its first
// pixel. Moving one pixel right adds (c, s) to (u, v); one row down adds (-s, c).
template <typename DrawRun>
void ForEachRun(Surface16& dst, const Rotation& r, int64_t uMin, int64_t uMax, int64_t vMin,
                int64_t vMax, DrawRun&& drawRun)
{
    uint16_t* row = dst.Pixels() + static_cast<ptrdiff_t>(r.top) * dst.Stride() + r.left;
    const int64_t n = r.right - r.left;
    Span alongU(r.startU, r.c16, uMin, uMax, -r.s16);
    Span alongV(r.startV, r.s16, vMin, vMax, r.c16);
    int64_t u = r.startU;
    int64_t v = r.startV;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const int64_t first = std::clamp<int64_t>(std::max(alongU.First(), alongV.First()), 0, n);
        const int64_t end = std::clamp<int64_t>(std::min(alongU.End(), alongV.End()), 0, n);
        if (first < end) {
            drawRun(row, first, end, u + first * r.c16, v + first * r.s16);
        }
        alongU.NextRow();
        alongV.NextRow();
        row += dst.Stride();
        u -= r.s16;
        v += r.c16;
    }
}

// Nearest-neighbour sampling: the source pixel under the truncated position.
template <bool WithAlpha>
void RotateNearest(Surface16& dst, const Rotation& r, const Surface16& source, int64_t origin)
{
    const uint16_t* const src = source.Pixels();
    const uint8_t* const alpha = source.Alpha();
    const int64_t stride = source.Stride();
    const int64_t cu = r.c16;
    const int64_t cv = r.s16;
    ForEachRun(dst, r, r.uLo * One, r.uHi * One, r.vLo * One, r.vHi * One,
               [&](uint16_t* row, int64_t first, int64_t end, int64_t u, int64_t v) {
                   for (int64_t i = first; i < end; ++i, u += cu, v += cv) {
                       const int64_t k = origin + (v >> 16) * stride + (u >> 16);
                       if constexpr (WithAlpha) {
                           // Blending at the channels' own depth equals blending the widened
                           // channels (low bits zero) at 8-bit width and truncating back.
                           const uint32_t a = alpha[k];
                           if (a != 0) {
                               row[i] = Blend565(src[k], row[i], a);
                           }
                       } else {
                           row[i] = src[k];
                       }
                   }
               });
}

// The four channels of a source pixel prepared for bilinear sampling, as floats in one vector
// (r, g, b, a), so that one vector operation serves all four. Every value the interpolation forms
// is an integer below 2^24 (a channel times a 16-bit fraction), which a float holds exactly, so
// the float arithmetic gives exactly the integer results, on any machine.
using Lanes = float __attribute__((vector_size(16)));
using LaneInts = int32_t __attribute__((vector_size(16)));

// Texels hold their channels times 65536.
using Texel = Lanes;

constexpr float Unit = 65536.0f;
constexpr float InverseUnit = 1.0f / 65536.0f;

// Rounds down lanes that are known to be whole multiples of 1/65536 of non-negative values.
inline Lanes FloorLanes(Lanes scaled)
{
    return __builtin_convertvector(__builtin_convertvector(scaled * InverseUnit, LaneInts), Lanes);
}

// Interpolates first along x with the fraction fu of u, then along y with the fraction fv of v,
// each step (a * (65536 - f) + b * f) >> 16 per channel. Written as a + (b - a) * f: with the
// texels pre-scaled by 65536 and fx = fu / 65536 the first step needs no rescaling.
inline LaneInts Bilinear(const Texel* t, ptrdiff_t pitch, int64_t fu, int64_t fv)
{
    const float fx = static_cast<float>(fu) * InverseUnit;
    const Lanes top = FloorLanes(t[0] + (t[1] - t[0]) * fx);
    const Lanes bottom = FloorLanes(t[pitch] + (t[pitch + 1] - t[pitch]) * fx);
    const Lanes mixed = top * Unit + (bottom - top) * static_cast<float>(fv);
    return __builtin_convertvector(mixed * InverseUnit, LaneInts);
}

// Blends an 8-bit colour over an RGB565 pixel with weight a (1..254) at 8-bit width, then
// truncates back to RGB565.
inline uint16_t BlendWide(uint32_t r, uint32_t g, uint32_t b, uint16_t d, uint32_t a)
{
    const uint32_t inv = 255 - a;
    const uint32_t rr = (r * a + Red8(d) * inv) >> 8;
    const uint32_t gg = (g * a + Green8(d) * inv) >> 8;
    const uint32_t bb = (b * a + Blue8(d) * inv) >> 8;
    return static_cast<uint16_t>(((rr >> 3) << 11) | ((gg >> 2) << 5) | (bb >> 3));
}

inline Texel ToTexel(LaneInts channels)
{
    return __builtin_convertvector(channels << 16, Lanes);
}

// Converts count source pixels to texels, four at a time: each channel is split out for four
// pixels in one vector, then the four vectors are transposed into four texels.
inline void PrepareTexels(const uint16_t* p, const uint8_t* a, Texel* out, int64_t count)
{
    int64_t u = 0;
    for (; u + 4 <= count; u += 4) {
        const LaneInts pixel{p[u], p[u + 1], p[u + 2], p[u + 3]};
        const LaneInts alpha{a[u], a[u + 1], a[u + 2], a[u + 3]};
        const LaneInts red = (pixel >> 8) & 0xF8;
        const LaneInts green = (pixel >> 3) & 0xFC;
        const LaneInts blue = (pixel << 3) & 0xF8;
        const LaneInts rg01 = __builtin_shufflevector(red, green, 0, 4, 1, 5);
        const LaneInts ba01 = __builtin_shufflevector(blue, alpha, 0, 4, 1, 5);
        const LaneInts rg23 = __builtin_shufflevector(red, green, 2, 6, 3, 7);
        const LaneInts ba23 = __builtin_shufflevector(blue, alpha, 2, 6, 3, 7);
        out[u] = ToTexel(__builtin_shufflevector(rg01, ba01, 0, 1, 4, 5));
        out[u + 1] = ToTexel(__builtin_shufflevector(rg01, ba01, 2, 3, 6, 7));
        out[u + 2] = ToTexel(__builtin_shufflevector(rg23, ba23, 0, 1, 4, 5));
        out[u + 3] = ToTexel(__builtin_shufflevector(rg23, ba23, 2, 3, 6, 7));
    }
    for (; u < count; ++u) {
        out[u] = ToTexel(LaneInts{Red8(p[u]), Green8(p[u]), Blue8(p[u]), a[u]});
    }
}

// The usable source area with a one-texel transparent (zero) border around it: bilinear reads
// of a neighbour outside the source rectangle then find transparency without a test.
class TexelGrid
{
public:
    // Data() is null when the memory for a large sprite cannot be had.
    TexelGrid(const Surface16& source, const Rotation& r, int64_t origin)
        : m_pitch(r.uHi - r.uLo + 2), m_rows(r.vHi - r.vLo + 2)
    {
        const size_t count = static_cast<size_t>(m_pitch * m_rows);
        if (count <= m_local.size()) {
            m_texels = m_local.data();
        } else {
            m_heap.reset(new (std::nothrow) Texel[count]);
            m_texels = m_heap.get();
            if (!m_texels) {
                return;
            }
        }
        const int64_t width = m_pitch - 2;
        std::fill_n(m_texels, m_pitch, Texel{});
        std::fill_n(m_texels + (m_rows - 1) * m_pitch, m_pitch, Texel{});
        const int64_t stride = source.Stride();
        for (int64_t v = 1; v < m_rows - 1; ++v) {
            Texel* out = m_texels + v * m_pitch;
            const int64_t k = origin + (r.vLo + v - 1) * stride + r.uLo;
            out[0] = Texel{};
            PrepareTexels(source.Pixels() + k, source.Alpha() + k, out + 1, width);
            out[width + 1] = Texel{};
        }
    }
    TexelGrid(const TexelGrid&) = delete;
    TexelGrid& operator=(const TexelGrid&) = delete;

    const Texel* Data() const { return m_texels; }
    int64_t Pitch() const { return m_pitch; }
    int64_t Rows() const { return m_rows; }

private:
    int64_t m_pitch;
    int64_t m_rows;
    Texel* m_texels = nullptr;
    std::array<Texel, 1024> m_local; // enough for the board's sides; larger sprites use the heap
    std::unique_ptr<Texel[]> m_heap;
};

// Bilinear sampling of a source with an alpha plane. Only pixels with at least one of their
// four neighbours on the source rectangle are visited; the others would come out transparent.
void RotateBilinear(Surface16& dst, const Rotation& r, const TexelGrid& grid)
{
    const Texel* const texels = grid.Data();
    const ptrdiff_t pitch = static_cast<ptrdiff_t>(grid.Pitch());
    const int64_t cu = r.c16;
    const int64_t cv = r.s16;
    // Positions relative to the grid's top-left (border) texel.
    Rotation shifted = r;
    shifted.startU -= (r.uLo - 1) * One;
    shifted.startV -= (r.vLo - 1) * One;
    ForEachRun(dst, shifted, 0, (grid.Pitch() - 1) * One, 0, (grid.Rows() - 1) * One,
               [&](uint16_t* row, int64_t first, int64_t end, int64_t u, int64_t v) {
                   for (int64_t i = first; i < end; ++i, u += cu, v += cv) {
                       const Texel* t = texels + (v >> 16) * pitch + (u >> 16);
                       const LaneInts c = Bilinear(t, pitch, u & 0xFFFF, v & 0xFFFF);
                       const uint32_t a = static_cast<uint32_t>(c[3]);
                       const uint32_t red = static_cast<uint32_t>(c[0]);
                       const uint32_t green = static_cast<uint32_t>(c[1]);
                       const uint32_t blue = static_cast<uint32_t>(c[2]);
                       // Transparent results leave the pixel alone, opaque ones replace it.
                       const uint16_t d = row[i];
                       const uint16_t solid = static_cast<uint16_t>(
                           ((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
                       const uint16_t mixed = BlendWide(red, green, blue, d, a);
                       const uint16_t out = a == 255 ? solid : mixed;
                       row[i] = a == 0 ? d : out;
                   }
               });
}

#if defined(__SSE2__)
// The same drawing with SSE2, giving the same pixels. Picking the source pixels stays scalar (SSE2
// has no gather); interpolating and blending are done for eight pixels at once in 16-bit lanes,
// in integer arithmetic that forms exactly the values of the plain drawing.
namespace Sse2 {

inline __m128i Splat(int16_t value)
{
    return _mm_set1_epi16(value);
}

// Blends eight 8-bit colours (low bits of the widened channels zero) with alphas a over eight
// RGB565 pixels, each channel (s a + d (255 - a)) >> 8 at 8-bit width and truncated back to
// RGB565. Alpha 255 must give s and 0 must give d exactly: weighting those two 256 : 0 and
// 0 : 256 does, so no pixel needs a choice of formula.
inline __m128i BlendOver(__m128i r, __m128i g, __m128i b, __m128i a, __m128i d)
{
    const __m128i full = Splat(255);
    const __m128i weightS = _mm_sub_epi16(a, _mm_cmpeq_epi16(a, full));
    const __m128i weightD =
        _mm_sub_epi16(_mm_sub_epi16(full, a), _mm_cmpeq_epi16(a, _mm_setzero_si128()));
    const __m128i mask5 = Splat(0xF8);
    const __m128i mask6 = Splat(0xFC);
    const __m128i dr = _mm_and_si128(_mm_srli_epi16(d, 8), mask5);
    const __m128i dg = _mm_and_si128(_mm_srli_epi16(d, 3), mask6);
    const __m128i db = _mm_and_si128(_mm_slli_epi16(d, 3), mask5);
    // At most 255 * 256: the sums fit the unsigned 16-bit lanes.
    auto mix = [&](__m128i sc, __m128i dc) {
        return _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(sc, weightS), _mm_mullo_epi16(dc, weightD)), 8);
    };
    const __m128i red = _mm_slli_epi16(_mm_and_si128(mix(r, dr), mask5), 8);
    const __m128i green = _mm_slli_epi16(_mm_and_si128(mix(g, dg), mask6), 3);
    const __m128i blue = _mm_srli_epi16(mix(b, db), 3);
    return _mm_or_si128(_mm_or_si128(red, green), blue);
}

// The eight destination pixels from p on, of which the first n (1 to 8) belong to the run. When
// all eight lie on the destination row (whole) they are read and written at once, those past the
// run written back as they were; at the end of the row only the n are touched.
inline __m128i LoadPixels(const uint16_t* p, int64_t n, bool whole)
{
    if (whole) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    }
    auto at = [&](int64_t k) { return static_cast<int16_t>(k < n ? p[k] : 0); };
    return _mm_set_epi16(at(7), at(6), at(5), at(4), at(3), at(2), at(1), at(0));
}

inline void StorePixels(uint16_t* p, int64_t n, bool whole, __m128i pixels)
{
    if (whole) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), pixels);
        return;
    }
    alignas(16) uint16_t part[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(part), pixels);
    for (int64_t k = 0; k < n; ++k) {
        p[k] = part[k];
    }
}

// The alphas with those of the lanes past the run's n pixels set to 0, so that blending leaves
// those pixels as they are.
inline __m128i KeepRun(__m128i a, int64_t n)
{
    const __m128i lanes = _mm_set_epi16(7, 6, 5, 4, 3, 2, 1, 0);
    return _mm_and_si128(a, _mm_cmplt_epi16(lanes, _mm_set1_epi16(static_cast<int16_t>(n))));
}

// Blends eight pixels of a run, skipping the work where all eight are opaque or all clear.
inline void DrawPixels(uint16_t* p, int64_t n, bool whole, __m128i r, __m128i g, __m128i b,
                       __m128i a)
{
    if (n < 8) {
        a = KeepRun(a, n);
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(a, _mm_setzero_si128())) == 0xFFFF) {
        return;
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(a, Splat(255))) == 0xFFFF) {
        const __m128i red = _mm_slli_epi16(_mm_and_si128(r, Splat(0xF8)), 8);
        const __m128i green = _mm_slli_epi16(_mm_and_si128(g, Splat(0xFC)), 3);
        StorePixels(p, n, whole, _mm_or_si128(_mm_or_si128(red, green), _mm_srli_epi16(b, 3)));
        return;
    }
    StorePixels(p, n, whole, BlendOver(r, g, b, a, LoadPixels(p, n, whole)));
}

// Nearest-neighbour sampling of a source with an alpha plane: the source pixels of eight
// destination pixels are picked one by one, then blended together.
void RotateNearest(Surface16& dst, const Rotation& r, const Surface16& source, int64_t origin)
{
    const uint16_t* const src = source.Pixels();
    const uint8_t* const alpha = source.Alpha();
    const int64_t stride = source.Stride();
    const int64_t cu = r.c16;
    const int64_t cv = r.s16;
    const int64_t room = int64_t{dst.Width()} - r.left; // pixels of a row from the box's left
    ForEachRun(dst, r, r.uLo * One, r.uHi * One, r.vLo * One, r.vHi * One,
               [&](uint16_t* row, int64_t first, int64_t end, int64_t u, int64_t v) {
                   for (int64_t i = first; i < end; i += 8) {
                       const int64_t n = std::min<int64_t>(8, end - i);
                       // The source index of each pixel; past the end of the run the last
                       // pixel is repeated, and a run's last four pixels or fewer leave the
                       // upper four lanes unused.
                       int64_t at[8];
                       auto placeFour = [&](int64_t from) {
                           for (int64_t p = from; p < from + 4; ++p) {
                               at[p] = origin + (v >> 16) * stride + (u >> 16);
                               if (p + 1 < n) {
                                   u += cu;
                                   v += cv;
                               }
                           }
                       };
                       placeFour(0);
                       const int64_t quads = n > 4 ? 2 : 1;
                       if (quads == 2) {
                           placeFour(4);
                       }
                       u += cu;
                       v += cv;
                       // Four alphas, then four colours, to a 64-bit word; a block all clear
                       // reads no colour.
                       uint64_t alphas[2] = {0, 0};
                       for (int64_t q = 0; q < quads; ++q) {
                           for (int64_t p = 0; p < 4; ++p) {
                               alphas[q] |= uint64_t{alpha[at[q * 4 + p]]} << (p * 16);
                           }
                       }
                       if ((alphas[0] | alphas[1]) == 0) {
                           continue;
                       }
                       uint64_t colours[2] = {0, 0};
                       for (int64_t q = 0; q < quads; ++q) {
                           for (int64_t p = 0; p < 4; ++p) {
                               colours[q] |= uint64_t{src[at[q * 4 + p]]} << (p * 16);
                           }
                       }
                       const __m128i s = _mm_set_epi64x(static_cast<int64_t>(colours[1]),
                                                        static_cast<int64_t>(colours[0]));
                       const __m128i a = _mm_set_epi64x(static_cast<int64_t>(alphas[1]),
                                                        static_cast<int64_t>(alphas[0]));
                       const __m128i red = _mm_and_si128(_mm_srli_epi16(s, 8), Splat(0xF8));
                       const __m128i green = _mm_and_si128(_mm_srli_epi16(s, 3), Splat(0xFC));
                       const __m128i blue = _mm_and_si128(_mm_slli_epi16(s, 3), Splat(0xF8));
                       DrawPixels(row + i, n, i + 8 <= room, red, green, blue, a);
                   }
               });
}

// Converts count source pixels to texels of four 16-bit lanes: red, green and blue widened to
// 8 bits (low bits zero), and alpha.
inline void WidenTexels(const uint16_t* p, const uint8_t* a, uint16_t* out, int64_t count)
{
    int64_t u = 0;
    for (; u + 8 <= count; u += 8) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + u));
        const __m128i alpha = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a + u)), _mm_setzero_si128());
        const __m128i red = _mm_and_si128(_mm_srli_epi16(pixels, 8), Splat(0xF8));
        const __m128i green = _mm_and_si128(_mm_srli_epi16(pixels, 3), Splat(0xFC));
        const __m128i blue = _mm_and_si128(_mm_slli_epi16(pixels, 3), Splat(0xF8));
        const __m128i rg03 = _mm_unpacklo_epi16(red, green);
        const __m128i rg47 = _mm_unpackhi_epi16(red, green);
        const __m128i ba03 = _mm_unpacklo_epi16(blue, alpha);
        const __m128i ba47 = _mm_unpackhi_epi16(blue, alpha);
        auto* texel = reinterpret_cast<__m128i*>(out + 4 * u);
        _mm_storeu_si128(texel, _mm_unpacklo_epi32(rg03, ba03));
        _mm_storeu_si128(texel + 1, _mm_unpackhi_epi32(rg03, ba03));
        _mm_storeu_si128(texel + 2, _mm_unpacklo_epi32(rg47, ba47));
        _mm_storeu_si128(texel + 3, _mm_unpackhi_epi32(rg47, ba47));
    }
    for (; u < count; ++u) {
        out[4 * u] = Red8(p[u]);
        out[4 * u + 1] = Green8(p[u]);
        out[4 * u + 2] = Blue8(p[u]);
        out[4 * u + 3] = a[u];
    }
}

// The usable source area as texels with a one-texel transparent border, like TexelGrid.
class WideGrid
{
public:
    // Positions on it are held in 32 bits: larger sprites are drawn the plain way.
    static constexpr int64_t MaxSize = 16384;

    // Data() is null when the memory for a large sprite cannot be had.
    WideGrid(const Surface16& source, const Rotation& r, int64_t origin)
        : m_pitch(r.uHi - r.uLo + 2), m_rows(r.vHi - r.vLo + 2)
    {
        const size_t count = static_cast<size_t>(m_pitch * m_rows) * 4;
        if (count <= m_local.size()) {
            m_lanes = m_local.data();
        } else {
            m_heap.reset(new (std::nothrow) uint16_t[count]);
            m_lanes = m_heap.get();
            if (!m_lanes) {
                return;
            }
        }
        const int64_t width = m_pitch - 2;
        const int64_t rowLanes = m_pitch * 4;
        std::fill_n(m_lanes, rowLanes, uint16_t{0});
        std::fill_n(m_lanes + (m_rows - 1) * rowLanes, rowLanes, uint16_t{0});
        const int64_t stride = source.Stride();
        for (int64_t v = 1; v < m_rows - 1; ++v) {
            uint16_t* out = m_lanes + v * rowLanes;
            const int64_t k = origin + (r.vLo + v - 1) * stride + r.uLo;
            std::fill_n(out, 4, uint16_t{0});
            WidenTexels(source.Pixels() + k, source.Alpha() + k, out + 4, width);
            std::fill_n(out + 4 * (width + 1), 4, uint16_t{0});
        }
    }
    WideGrid(const WideGrid&) = delete;
    WideGrid& operator=(const WideGrid&) = delete;

    static bool Fits(const Rotation& r)
    {
        return r.uHi - r.uLo + 2 <= MaxSize && r.vHi - r.vLo + 2 <= MaxSize;
    }

    const uint16_t* Data() const { return m_lanes; }
    int64_t Pitch() const { return m_pitch; } // in texels
    int64_t Rows() const { return m_rows; }

private:
    int64_t m_pitch;
    int64_t m_rows;
    uint16_t* m_lanes = nullptr;
    std::array<uint16_t, 8192> m_local; // 2048 texels: enough for the board's sides
    std::unique_ptr<uint16_t[]> m_heap;
};

// (a (65536 - f) + b f) >> 16 in each lane, for channels a and b (0..255) and fractions f
// (0..65535): a + floor((b - a) f / 65536). The signed high multiply reads an f of 32768 or more
// as f - 65536, which lowers the product by (b - a) * 65536 exactly; fHigh (all ones in those
// lanes) adds (b - a) back.
inline __m128i Lerp(__m128i a, __m128i b, __m128i f, __m128i fHigh)
{
    const __m128i d = _mm_sub_epi16(b, a);
    return _mm_add_epi16(_mm_add_epi16(a, _mm_mulhi_epi16(d, f)), _mm_and_si128(d, fHigh));
}

// Two pixels at the grid positions (u0, v0) and (u1, v1): red, green, blue and alpha of the
// first, then of the second. Each pixel's 2x2 neighbourhood is two loads, a texel and its right
// neighbour from the row and from the row below; the two pixels share every operation after.
inline __m128i TwoPixels(const uint16_t* lanes, ptrdiff_t pitch, int32_t u0, int32_t v0, int32_t u1,
                         int32_t v1)
{
    const ptrdiff_t rowLanes = pitch * 4;
    const uint16_t* t0 = lanes + ((v0 >> 16) * pitch + (u0 >> 16)) * 4;
    const uint16_t* t1 = lanes + ((v1 >> 16) * pitch + (u1 >> 16)) * 4;
    const __m128i top0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t0));
    const __m128i top1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t1));
    const __m128i bottom0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t0 + rowLanes));
    const __m128i bottom1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t1 + rowLanes));
    // The four fractions, each repeated over the four lanes of its pixel.
    const uint64_t fractions =
        uint64_t{static_cast<uint16_t>(u0)} | uint64_t{static_cast<uint16_t>(u1)} << 16 |
        uint64_t{static_cast<uint16_t>(v0)} << 32 | uint64_t{static_cast<uint16_t>(v1)} << 48;
    const __m128i packed = _mm_set_epi64x(0, static_cast<int64_t>(fractions));
    const __m128i doubled = _mm_unpacklo_epi16(packed, packed);
    const __m128i fu = _mm_unpacklo_epi32(doubled, doubled);
    const __m128i fv = _mm_unpackhi_epi32(doubled, doubled);
    const __m128i fuHigh = _mm_srai_epi16(fu, 15);
    const __m128i top =
        Lerp(_mm_unpacklo_epi64(top0, top1), _mm_unpackhi_epi64(top0, top1), fu, fuHigh);
    const __m128i bottom = Lerp(_mm_unpacklo_epi64(bottom0, bottom1),
                                _mm_unpackhi_epi64(bottom0, bottom1), fu, fuHigh);
    return Lerp(top, bottom, fv, _mm_srai_epi16(fv, 15));
}

// Bilinear sampling of a source with an alpha plane, as RotateBilinear does it.
void RotateBilinear(Surface16& dst, const Rotation& r, const WideGrid& grid)
{
    const uint16_t* const lanes = grid.Data();
    const ptrdiff_t pitch = static_cast<ptrdiff_t>(grid.Pitch());
    const auto cu = static_cast<int32_t>(r.c16);
    const auto cv = static_cast<int32_t>(r.s16);
    const int64_t room = int64_t{dst.Width()} - r.left; // pixels of a row from the box's left
    Rotation shifted = r;
    shifted.startU -= (r.uLo - 1) * One;
    shifted.startV -= (r.vLo - 1) * One;
    ForEachRun(dst, shifted, 0, (grid.Pitch() - 1) * One, 0, (grid.Rows() - 1) * One,
               [&](uint16_t* row, int64_t first, int64_t end, int64_t startU, int64_t startV) {
                   // Every position of the run lies on the grid, so it fits 32 bits.
                   auto u = static_cast<int32_t>(startU);
                   auto v = static_cast<int32_t>(startV);
                   for (int64_t i = first; i < end; i += 8) {
                       const int64_t n = std::min<int64_t>(8, end - i);
                       // Past the end of the run the last pixel is repeated.
                       int32_t us[8];
                       int32_t vs[8];
                       for (int64_t p = 0; p < 8; ++p) {
                           us[p] = u;
                           vs[p] = v;
                           if (p + 1 < n) {
                               u += cu;
                               v += cv;
                           }
                       }
                       u += cu;
                       v += cv;
                       const __m128i p01 = TwoPixels(lanes, pitch, us[0], vs[0], us[1], vs[1]);
                       const __m128i p23 = TwoPixels(lanes, pitch, us[2], vs[2], us[3], vs[3]);
                       // A run's last four pixels or fewer leave the upper lanes unused.
                       const bool upper = n > 4;
                       const __m128i p45 =
                           upper ? TwoPixels(lanes, pitch, us[4], vs[4], us[5], vs[5]) : p01;
                       const __m128i p67 =
                           upper ? TwoPixels(lanes, pitch, us[6], vs[6], us[7], vs[7]) : p23;
                       // Transposed to one channel of the eight pixels per register.
                       const __m128i t0 = _mm_unpacklo_epi16(p01, p23);
                       const __m128i t1 = _mm_unpackhi_epi16(p01, p23);
                       const __m128i t2 = _mm_unpacklo_epi16(p45, p67);
                       const __m128i t3 = _mm_unpackhi_epi16(p45, p67);
                       const __m128i rg03 = _mm_unpacklo_epi16(t0, t1);
                       const __m128i ba03 = _mm_unpackhi_epi16(t0, t1);
                       const __m128i rg47 = _mm_unpacklo_epi16(t2, t3);
                       const __m128i ba47 = _mm_unpackhi_epi16(t2, t3);
                       DrawPixels(row + i, n, i + 8 <= room, _mm_unpacklo_epi64(rg03, rg47),
                                  _mm_unpackhi_epi64(rg03, rg47), _mm_unpacklo_epi64(ba03, ba47),
                                  _mm_unpackhi_epi64(ba03, ba47));
                   }
               });
}

} // namespace Sse2
#endif

// A fixed-point transform entry: the value times 65536, truncated.
int64_t ToFixed(float value)
{
    return static_cast<int32_t>(value * 65536.0);
}

// Both RotateBlit forms; vectorised is false for the plain drawing.
int32_t Rotate(Surface16& dst, int32_t x, int32_t y, const Rect* sourceRect,
               const Surface16& source, float s, float c, int32_t pivotX, int32_t pivotY,
               bool smooth, bool vectorised)
{
    if (dst.IsPaletted() || source.IsPaletted()) {
        return Paletted;
    }
    const Rect rect = sourceRect ? *sourceRect
                                 : Rect{0, 0, static_cast<int32_t>(source.Width()),
                                        static_cast<int32_t>(source.Height())};
    // Beyond 2 the 16.16 products below could overflow; a rotation never gets near it.
    if (rect.width <= 0 || rect.height <= 0 || !source.Pixels() || !(std::fabs(s) <= 2.0f) ||
        !(std::fabs(c) <= 2.0f)) {
        return InvalidArgument;
    }

    Rotation r;
    r.uLo = std::max<int64_t>(0, -int64_t{rect.x});
    r.uHi = std::min<int64_t>(rect.width, int64_t{source.Width()} - rect.x);
    r.vLo = std::max<int64_t>(0, -int64_t{rect.y});
    r.vHi = std::min<int64_t>(rect.height, int64_t{source.Height()} - rect.y);
    if (r.uLo >= r.uHi || r.vLo >= r.vHi) {
        return InvalidArgument;
    }
    r.c16 = ToFixed(c);
    r.s16 = ToFixed(s);

    // The bounding box of the mapped corners, widened by one pixel and clipped.
    int64_t minX = std::numeric_limits<int64_t>::max();
    int64_t maxX = std::numeric_limits<int64_t>::min();
    int64_t minY = std::numeric_limits<int64_t>::max();
    int64_t maxY = std::numeric_limits<int64_t>::min();
    for (const int64_t u : {-int64_t{pivotX}, int64_t{rect.width} - pivotX}) {
        for (const int64_t v : {-int64_t{pivotY}, int64_t{rect.height} - pivotY}) {
            const int64_t px = x + ((r.c16 * u + r.s16 * v) >> 16);
            const int64_t py = y + ((r.c16 * v - r.s16 * u) >> 16);
            minX = std::min(minX, px);
            maxX = std::max(maxX, px);
            minY = std::min(minY, py);
            maxY = std::max(maxY, py);
        }
    }
    const int64_t left = std::max<int64_t>(minX - 1, 0);
    const int64_t right = std::min<int64_t>(maxX + 2, dst.Width());
    const int64_t top = std::max<int64_t>(minY - 1, 0);
    const int64_t bottom = std::min<int64_t>(maxY + 2, dst.Height());
    if (left >= right || top >= bottom) {
        return Ok;
    }
    if (!dst.Pixels()) {
        return NoPixels;
    }
    r.left = static_cast<int32_t>(left);
    r.right = static_cast<int32_t>(right);
    r.top = static_cast<int32_t>(top);
    r.bottom = static_cast<int32_t>(bottom);
    // Map back with the transposed matrix: u = c dx - s dy, v = s dx + c dy, from the pivot.
    r.startU = int64_t{pivotX} * One + r.c16 * (left - x) - r.s16 * (top - y);
    r.startV = int64_t{pivotY} * One + r.s16 * (left - x) + r.c16 * (top - y);

    // Source index of the rectangle's top-left corner; it may lie off the source, but every
    // index formed from it by a visited position does not.
    const int64_t origin = int64_t{rect.y} * source.Stride() + rect.x;
    if (!source.HasAlpha() || !source.Alpha()) {
        RotateNearest<false>(dst, r, source, origin);
        return Ok;
    }
#if defined(__SSE2__)
    if (vectorised && smooth && Sse2::WideGrid::Fits(r)) {
        const Sse2::WideGrid grid(source, r, origin);
        if (!grid.Data()) {
            return OutOfMemory;
        }
        Sse2::RotateBilinear(dst, r, grid);
        return Ok;
    }
    if (vectorised && !smooth) {
        Sse2::RotateNearest(dst, r, source, origin);
        return Ok;
    }
#else
    (void)vectorised;
#endif
    if (smooth) {
        const TexelGrid grid(source, r, origin);
        if (!grid.Data()) {
            return OutOfMemory;
        }
        RotateBilinear(dst, r, grid);
    } else {
        RotateNearest<true>(dst, r, source, origin);
    }
    return Ok;
}

} // namespace

int32_t RotateBlit(Surface16& dst, int32_t x, int32_t y, const Rect* sourceRect,
                   const Surface16& source, float s, float c, int32_t pivotX, int32_t pivotY,
                   bool smooth)
{
    return Rotate(dst, x, y, sourceRect, source, s, c, pivotX, pivotY, smooth, true);
}

int32_t RotateBlitPlain(Surface16& dst, int32_t x, int32_t y, const Rect* sourceRect,
                        const Surface16& source, float s, float c, int32_t pivotX, int32_t pivotY,
                        bool smooth)
{
    return Rotate(dst, x, y, sourceRect, source, s, c, pivotX, pivotY, smooth, false);
}

int32_t RotateBlit(Surface16& dst, int32_t x, int32_t y, const Rect* sourceRect,
                   const Surface16& source, float s, float c, bool smooth)
{
    const int64_t width = sourceRect ? sourceRect->width : int64_t{source.Width()};
    const int64_t height = sourceRect ? sourceRect->height : int64_t{source.Height()};
    return RotateBlit(dst, x, y, sourceRect, source, s, c, static_cast<int32_t>(width >> 1),
                      static_cast<int32_t>(height >> 1), smooth);
}

namespace {

// (value mod period) in 0..period - 1, also for negative values.
int64_t Wrap(int64_t value, int64_t period)
{
    const int64_t m = value % period;
    return m < 0 ? m + period : m;
}

// Cuts [start, start + size) to [lo, hi); returns how far the start moved.
int64_t CutSpan(int64_t& start, int64_t& size, int64_t lo, int64_t hi)
{
    const int64_t newStart = std::max(start, lo);
    const int64_t newEnd = std::min(start + size, hi);
    const int64_t moved = newStart - start;
    start = newStart;
    size = std::max<int64_t>(newEnd - newStart, 0);
    return moved;
}

// Both TileBlit forms: clip is null for the unclipped one.
int32_t Tile(Surface16& dst, int64_t x, int64_t y, int64_t w, int64_t h, const Surface16& source,
             int64_t sx, int64_t sy, int64_t sw, int64_t sh, uint32_t mode, int64_t phaseX,
             int64_t phaseY, const Rect* clip, uint8_t alpha, uint32_t rasterOp)
{
    if (dst.IsPaletted()) {
        return Paletted;
    }
    if (mode > TileMode::Both) {
        return InvalidArgument;
    }
    // The tile first: a source rectangle reaching off the source is cut to it, and the tile
    // size that the mode and the phases refer to is what remains.
    CutSpan(sx, sw, 0, source.Width());
    CutSpan(sy, sh, 0, source.Height());
    if (sw == 0 || sh == 0 || !source.Pixels() || (source.IsPaletted() && !source.Alpha())) {
        return InvalidArgument;
    }
    if (mode == TileMode::Horizontal) {
        h = std::min(h, sh);
    } else if (mode == TileMode::Vertical) {
        w = std::min(w, sw);
    }
    // Clipping moves the area's start but not the tiles: the phase advances by the cut.
    if (clip) {
        phaseX += CutSpan(x, w, clip->x, int64_t{clip->x} + std::max(clip->width, 0));
        phaseY += CutSpan(y, h, clip->y, int64_t{clip->y} + std::max(clip->height, 0));
    }
    phaseX += CutSpan(x, w, 0, dst.Width());
    phaseY += CutSpan(y, h, 0, dst.Height());
    if (w <= 0 || h <= 0) {
        return Ok;
    }
    if (!dst.Pixels()) {
        return NoPixels;
    }
    const Rect area{static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(w),
                    static_cast<int32_t>(h)};

    if (sw == 1 && sh == 1) {
        const size_t k = static_cast<size_t>(sy * source.Stride() + sx);
        uint16_t pixel = 0;
        uint32_t pixelAlpha = 255;
        if (source.IsPaletted()) {
            const uint8_t index = source.Alpha()[k];
            if (index >= source.PaletteSize()) {
                return Ok; // like Blit: an index past the palette draws nothing
            }
            pixel = source.Pixels()[index];
        } else {
            pixel = source.Pixels()[k];
            if (source.HasAlpha() && source.Alpha()) {
                pixelAlpha = source.Alpha()[k];
            }
        }
        const uint32_t colour = (pixelAlpha << 24) | (uint32_t{Red8(pixel)} << 16) |
                                (uint32_t{Green8(pixel)} << 8) | Blue8(pixel);
        return dst.FillRect(&area, colour, alpha);
    }

    // Blended sources ignore the raster operation.
    const uint32_t rop = source.HasAlpha() ? RopCopy : rasterOp;
    const int64_t startCol = Wrap(phaseX, sw);
    const int64_t startRow = Wrap(phaseY, sh);
    int64_t tileRow = startRow;
    for (int64_t ty = y; ty < y + h;) {
        const int64_t bandH = std::min(sh - tileRow, y + h - ty);
        int64_t tileCol = startCol;
        for (int64_t tx = x; tx < x + w;) {
            const int64_t pieceW = std::min(sw - tileCol, x + w - tx);
            const Rect piece{static_cast<int32_t>(sx + tileCol), static_cast<int32_t>(sy + tileRow),
                             static_cast<int32_t>(pieceW), static_cast<int32_t>(bandH)};
            dst.Blit(static_cast<int32_t>(tx), static_cast<int32_t>(ty), source, &piece, 255, 0,
                     rop, false);
            tx += pieceW;
            tileCol = 0;
        }
        ty += bandH;
        tileRow = 0;
    }
    return Ok;
}

} // namespace

int32_t TileBlit(Surface16& dst, int32_t x, int32_t y, int32_t w, int32_t h,
                 const Surface16& source, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                 uint32_t mode, int32_t phaseX, int32_t phaseY, uint8_t alpha, uint32_t rasterOp)
{
    return Tile(dst, x, y, w, h, source, sx, sy, sw, sh, mode, phaseX, phaseY, nullptr, alpha,
                rasterOp);
}

int32_t TileBlitClipped(Surface16& dst, int32_t x, int32_t y, int32_t w, int32_t h,
                        const Surface16& source, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                        uint32_t mode, int32_t phaseX, int32_t phaseY, const Rect* clipRect,
                        uint8_t alpha, uint32_t rasterOp)
{
    return Tile(dst, x, y, w, h, source, sx, sy, sw, sh, mode, phaseX, phaseY, clipRect, alpha,
                rasterOp);
}

int32_t DrawLineAA(Surface16& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                   uint8_t alpha)
{
    if (dst.IsPaletted()) {
        return Paletted;
    }
    const int64_t width = dst.Width();
    const int64_t height = dst.Height();
    if (width == 0 || height == 0) {
        return Ok;
    }
    if (!dst.Pixels()) {
        return NoPixels;
    }
    const uint16_t ink = PackRgb565(colour);
    uint16_t* const pixels = dst.Pixels();
    const int64_t stride = dst.Stride();
    auto plot = [&](int64_t px, int64_t py, uint32_t weight) {
        if (px >= 0 && px < width && py >= 0 && py < height) {
            uint16_t& p = pixels[py * stride + px];
            p = Blend565(ink, p, weight);
        }
    };

    plot(x1, y1, alpha);
    if (x1 == x2 && y1 == y2) {
        return Ok;
    }
    plot(x2, y2, alpha);

    // Walk along the major axis from the lower end; (major, minor) -> pixel index.
    const int64_t dx = int64_t{x2} - x1;
    const int64_t dy = int64_t{y2} - y1;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    int64_t a = xMajor ? x1 : y1;  // major coordinate of the first end
    int64_t m0 = xMajor ? y1 : x1; // minor coordinate of the first end
    int64_t dMajor = xMajor ? dx : dy;
    int64_t dMinor = xMajor ? dy : dx;
    if (dMajor < 0) {
        a += dMajor;
        m0 += dMinor;
        dMajor = -dMajor;
        dMinor = -dMinor;
    }
    const int64_t majorSize = xMajor ? width : height;
    const int64_t minorSize = xMajor ? height : width;
    const ptrdiff_t majorStep = xMajor ? 1 : static_cast<ptrdiff_t>(stride);
    const ptrdiff_t minorStep = xMajor ? static_cast<ptrdiff_t>(stride) : 1;
    // The minor position in 16.16, advanced by a truncated step before each step.
    const int64_t step = dMinor * One / dMajor;

    // Only the steps on the surface along the major axis are visited.
    const int64_t firstK = std::max<int64_t>(1, -a);
    const int64_t endK = std::min(dMajor, majorSize - a);
    for (int64_t k = firstK; k < endK; ++k) {
        const int64_t m = m0 * One + k * step;
        const int64_t p = m >> 16;
        // Both pixels of the pair must be on the surface.
        if (p < 0 || p >= minorSize - 1) {
            continue;
        }
        const uint32_t f = static_cast<uint32_t>((m >> 8) & 255);
        uint32_t first = 255 - f;
        uint32_t second = f;
        if (alpha < 255) {
            first = (first * alpha) >> 8;
            second = (second * alpha) >> 8;
        }
        uint16_t* q = pixels + (a + k) * majorStep + p * minorStep;
        q[0] = Blend565(ink, q[0], first);
        q[minorStep] = Blend565(ink, q[minorStep], second);
    }
    return Ok;
}

} // namespace Graphics
