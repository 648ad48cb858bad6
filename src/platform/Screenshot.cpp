// Screenshots through libpng's simplified writing interface.
#include "platform/Screenshot.h"

#include <png.h>

#include <vector>

namespace Platform {

bool WriteScreenshot(const std::string& path, const uint16_t* pixels, uint32_t width,
                     uint32_t height, uint32_t stride, std::string& error)
{
    if (!pixels || width == 0 || height == 0 || stride < width) {
        error = path + ": nothing to write";
        return false;
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    uint8_t* out = rgb.data();
    for (uint32_t y = 0; y < height; ++y) {
        const uint16_t* row = pixels + static_cast<size_t>(y) * stride;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t p = row[x];
            uint32_t r = p >> 11, g = (p >> 5) & 63, b = p & 31;
            *out++ = static_cast<uint8_t>((r << 3) | (r >> 2));
            *out++ = static_cast<uint8_t>((g << 2) | (g >> 4));
            *out++ = static_cast<uint8_t>((b << 3) | (b >> 2));
        }
    }

    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        error = path + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

} // namespace Platform
