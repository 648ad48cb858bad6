// Pixel helpers shared by every drawing routine: ARGB to RGB565 packing, widening RGB565
// channels to 8 bits, and the RGB565 blend of a source pixel over a destination pixel.
#pragma once

#include <cstdint>

namespace Graphics {

// Packs a 32-bit ARGB colour to RGB565 by truncating each channel; the alpha byte is ignored.
constexpr uint16_t PackRgb565(uint32_t argb)
{
    return static_cast<uint16_t>((((argb >> 19) & 31) << 11) | (((argb >> 10) & 63) << 5) |
                                 ((argb >> 3) & 31));
}

// The channels of an RGB565 pixel widened to 8 bits; the low bits are zero, not replicated.
constexpr uint8_t Red8(uint16_t p)
{
    return static_cast<uint8_t>((p >> 8) & 0xF8);
}
constexpr uint8_t Green8(uint16_t p)
{
    return static_cast<uint8_t>((p >> 3) & 0xFC);
}
constexpr uint8_t Blue8(uint16_t p)
{
    return static_cast<uint8_t>((p << 3) & 0xF8);
}

// Blends source s over destination d with weight a (0..255). Each channel, at its own bit depth,
// becomes (s * a + d * (255 - a)) >> 8, except that 255 gives s and 0 gives d exactly.
constexpr uint16_t Blend565(uint16_t s, uint16_t d, uint32_t a)
{
    if (a >= 255) {
        return s;
    }
    if (a == 0) {
        return d;
    }
    const uint32_t inv = 255 - a;
    // Red sits 16 bits above blue so one multiply serves both: a blue sum is at most
    // 31 * 255 < 2^13, so it never carries into red. After the shift, the bits shifted out of
    // red sit in bits 8..15, where the packing below masks them off.
    const uint32_t sRB = ((s & 0xF800u) << 5) | (s & 0x1Fu);
    const uint32_t dRB = ((d & 0xF800u) << 5) | (d & 0x1Fu);
    const uint32_t rb = (sRB * a + dRB * inv) >> 8;
    const uint32_t g = (((s >> 5) & 63u) * a + ((d >> 5) & 63u) * inv) >> 8;
    return static_cast<uint16_t>(((rb >> 5) & 0xF800u) | (g << 5) | (rb & 0x1Fu));
}

} // namespace Graphics
