// The heavier drawing primitives over Surface16: the rotated blit (nearest or bilinear), the
// tiling blit used for skin elements, and the antialiased line.
#pragma once

#include "graphics/Surface16.h"

#include <cstdint>

namespace Graphics {

// Tiling directions of TileBlit.
namespace TileMode {
constexpr uint32_t Horizontal = 0; // one tile high, repeated across
constexpr uint32_t Vertical = 1;   // one tile wide, repeated down
constexpr uint32_t Both = 2;
} // namespace TileMode

// Draws sourceRect of source (null: all of it) rotated by the angle whose sine and cosine are s
// and c, with the pivot (relative to sourceRect) placed at (x, y). A source point (u, v) from the
// pivot lands at (x + c u + s v, y - s u + c v), so for a positive angle a point right of the
// pivot moves up. Sources with an alpha plane are blended; smooth samples them bilinearly, with
// everything outside sourceRect counting as transparent. Opaque sources are always sampled
// nearest. Returns Ok (also when nothing is visible), Paletted for a paletted destination or
// source, InvalidArgument for an empty sourceRect, one outside the source, a source without
// pixels or a sine or cosine that is not a number in -2..2, NoPixels for a destination without
// pixel memory, OutOfMemory when a large sprite cannot be prepared for smooth sampling. The
// source must not be the destination.
int32_t RotateBlit(Surface16& dst, int32_t x, int32_t y, const Rect* sourceRect,
                   const Surface16& source, float s, float c, int32_t pivotX, int32_t pivotY,
                   bool smooth);
// The same about the centre of sourceRect: (width >> 1, height >> 1).
int32_t RotateBlit(Surface16& dst, int32_t x, int32_t y, const Rect* sourceRect,
                   const Surface16& source, float s, float c, bool smooth);
// RotateBlit without the processor's vector instructions: the portable drawing that the
// vectorised one (SSE2, on x86-64) matches on every pixel. Kept callable so that both are tested
// on a machine that has both; where there is no vectorised drawing, RotateBlit draws this way.
int32_t RotateBlitPlain(Surface16& dst, int32_t x, int32_t y, const Rect* sourceRect,
                        const Surface16& source, float s, float c, int32_t pivotX, int32_t pivotY,
                        bool smooth);

// Fills the rectangle (x, y, w, h) with copies of the source rectangle (sx, sy, sw, sh), the
// first copy starting phaseX columns and phaseY rows into the tile. Mode Horizontal limits the
// height to one tile, Vertical the width. A 1x1 source rectangle becomes a FillRect of its pixel
// (with its alpha byte) weighted by alpha; otherwise alpha is not used, sources with an alpha
// plane are blended and opaque ones copied through rasterOp. Returns Ok (also when nothing is
// visible), Paletted for a paletted destination, InvalidArgument for an unknown mode or a source
// rectangle that misses the source, NoPixels for a destination without pixel memory.
int32_t TileBlit(Surface16& dst, int32_t x, int32_t y, int32_t w, int32_t h,
                 const Surface16& source, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                 uint32_t mode, int32_t phaseX, int32_t phaseY, uint8_t alpha = 255,
                 uint32_t rasterOp = RopCopy);
// TileBlit restricted to clipRect of the destination (null: no restriction); the tiles stay
// where the unclipped fill would put them.
int32_t TileBlitClipped(Surface16& dst, int32_t x, int32_t y, int32_t w, int32_t h,
                        const Surface16& source, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                        uint32_t mode, int32_t phaseX, int32_t phaseY, const Rect* clipRect,
                        uint8_t alpha = 255, uint32_t rasterOp = RopCopy);

// Antialiased line from (x1, y1) to (x2, y2) in colour (its alpha byte unused) with opacity
// alpha. Each step along the major axis covers two pixels across it, weighted by the position
// of the line between them; the end points are single pixels. Returns Ok, Paletted for a
// paletted destination, NoPixels for a destination without pixel memory.
int32_t DrawLineAA(Surface16& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                   uint8_t alpha = 255);

} // namespace Graphics
