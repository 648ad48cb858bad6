// PNG screenshots of RGB565 pictures, written with libpng.
#pragma once

#include <cstdint>
#include <string>

namespace Platform {

// Writes width x height RGB565 pixels (rows stride pixels apart) as an 8-bit RGB PNG, widening
// the 5- and 6-bit channels by bit replication so white stays white. On failure returns false
// with a one-line reason.
bool WriteScreenshot(const std::string& path, const uint16_t* pixels, uint32_t width,
                     uint32_t height, uint32_t stride, std::string& error);

} // namespace Platform
