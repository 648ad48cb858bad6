// FreeType rendering of short lines of text into coverage masks, cropped to their ink.
#include "Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace Art {

namespace {

// The code points of UTF-8 text; malformed bytes are taken as Latin-1.
std::u32string DecodeUtf8(std::string_view text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (extra == 0 || i + extra >= text.size()) {
            out.push_back(lead);
            ++i;
            continue;
        }
        char32_t cp = lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out.push_back(cp);
        i += 1 + extra;
    }
    return out;
}

} // namespace

TextMask RenderText(const std::string& fontPath, int pixels, std::string_view text,
                    int letterSpacing)
{
    TextMask mask;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return mask;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
        FT_Done_FreeType(library);
        return mask;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));

    // A generous work area; the ink is cropped out of it at the end.
    const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    const int workHeight = pixels * 2 + 4;
    const int workWidth = static_cast<int>(text.size()) * (pixels + std::abs(letterSpacing)) + 8;
    std::vector<float> work(static_cast<size_t>(workWidth) * workHeight);
    const int baseline = ascent + 2;
    int pen = 4;
    FT_UInt previous = 0;
    for (const char32_t ch : DecodeUtf8(text)) {
        const FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern);
            pen += static_cast<int>(kern.x >> 6);
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) {
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = pen + slot->bitmap_left + static_cast<int>(col);
                const int y = baseline - slot->bitmap_top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= workWidth || y >= workHeight) {
                    continue;
                }
                const float v = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
                float& w = work[static_cast<size_t>(y) * workWidth + x];
                w = std::max(w, v);
            }
        }
        pen += static_cast<int>(slot->advance.x >> 6) + letterSpacing;
        previous = index;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    int left = workWidth;
    int right = -1;
    int top = workHeight;
    int bottom = -1;
    for (int y = 0; y < workHeight; ++y) {
        for (int x = 0; x < workWidth; ++x) {
            if (work[static_cast<size_t>(y) * workWidth + x] > 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return mask;
    }
    mask.width = right - left + 1;
    mask.height = bottom - top + 1;
    mask.coverage.resize(static_cast<size_t>(mask.width) * mask.height);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            mask.coverage[static_cast<size_t>(y) * mask.width + x] =
                work[static_cast<size_t>(y + top) * workWidth + x + left];
        }
    }
    return mask;
}

void PaintText(Canvas& canvas, const TextMask& mask, int x, int y, const Paint& paint,
               float opacity)
{
    for (int j = 0; j < mask.height; ++j) {
        for (int i = 0; i < mask.width; ++i) {
            const float c = mask.At(i, j);
            if (c > 0) {
                canvas.Blend(x + i, y + j, paint(x + i + 0.5f, y + j + 0.5f), c * opacity);
            }
        }
    }
}

} // namespace Art
