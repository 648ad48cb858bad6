// Text for the generated pictures: a line of text rendered with FreeType into a coverage mask.
#pragma once

#include "Canvas.h"

#include <string>
#include <string_view>

namespace Art {

// Coverage 0 to 1 of a rendered line, cropped to its inked pixels.
struct TextMask
{
    int width = 0;
    int height = 0;
    std::vector<float> coverage;
    float At(int x, int y) const { return coverage[static_cast<size_t>(y) * width + x]; }
};

// Renders ASCII text with the font file at the pixel size; letterSpacing is added between
// glyphs (in pixels, may be negative). Empty when the font cannot be read.
TextMask RenderText(const std::string& fontPath, int pixels, std::string_view text,
                    int letterSpacing = 0);

// Paints a text mask into a canvas with its top-left corner at (x, y).
void PaintText(Canvas& canvas, const TextMask& mask, int x, int y, const Paint& paint,
               float opacity = 1.0f);

} // namespace Art
