// PNG files as 8-bit RGBA pixels, read and written with libpng's simplified interface, and the
// widening of RGB565 colours for them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace QimTool {

struct RgbaImage
{
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels; // rows top to bottom, 4 bytes per pixel: R, G, B, A
};

// The largest side a .qim image can have.
constexpr uint32_t MaxSide = 65535;

// Reads any PNG of at most MaxSide pixels on a side as RGBA; on failure returns false with a
// one-line reason.
bool ReadPng(const std::string& path, RgbaImage& image, std::string& error);
// Writes an RGBA PNG; on failure returns false with a one-line reason.
bool WritePng(const std::string& path, const RgbaImage& image, std::string& error);

// The channels of an RGB565 colour widened to 8 bits by repeating their top bits, so that
// full intensity stays 255 and a colour survives PNG and back unchanged.
constexpr uint8_t Widen5(uint32_t v)
{
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}
constexpr uint8_t Widen6(uint32_t v)
{
    return static_cast<uint8_t>((v << 2) | (v >> 4));
}

} // namespace QimTool
