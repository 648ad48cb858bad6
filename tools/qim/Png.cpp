// PNG reading and writing for the qim tool.
#include "Png.h"

#include <png.h>

namespace QimTool {

bool ReadPng(const std::string& path, RgbaImage& image, std::string& error)
{
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    if (png.width > MaxSide || png.height > MaxSide) {
        error = path + ": " + std::to_string(png.width) + "x" + std::to_string(png.height) +
                " is larger than " + std::to_string(MaxSide) + " pixels on a side";
        png_image_free(&png);
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    image.width = png.width;
    image.height = png.height;
    image.pixels.assign(PNG_IMAGE_SIZE(png), 0);
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

bool WritePng(const std::string& path, const RgbaImage& image, std::string& error)
{
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

} // namespace QimTool
