// Fuzz target of the bitmap font: loads .fnt metrics from arbitrary bytes with a fixed small
// sheet, then measures and draws a text taken from the same input in every way the game does.
//
// Input: byte 0 the number n of UTF-16 text units, byte 1 the box alignments and sheet choice,
// bytes 2 and 3 the box width and x position, then 2n bytes of text, then the .fnt bytes. A
// shorter input is all metrics.
#include "graphics/BitmapFont.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr uint32_t SheetWidth = 64;
constexpr uint32_t SheetHeight = 12;

// A sheet with alpha, every pixel and alpha byte different, so drawing reads real values.
std::unique_ptr<Graphics::Surface16> AlphaSheet()
{
    auto sheet = std::make_unique<Graphics::Surface16>();
    sheet->Create(SheetWidth, SheetHeight, true);
    for (uint32_t i = 0; i < SheetWidth * SheetHeight; ++i) {
        sheet->Pixels()[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
        sheet->Alpha()[i] = static_cast<uint8_t>(i * 37);
    }
    return sheet;
}

// A paletted sheet whose indices run past its four colours.
std::unique_ptr<Graphics::Surface16> PalettedSheet()
{
    auto sheet = std::make_unique<Graphics::Surface16>();
    sheet->CreatePaletted(SheetWidth, SheetHeight, 4);
    const uint16_t colours[4] = {0xFFFF, 0xF800, 0x07E0, 0x001F};
    std::memcpy(sheet->Pixels(), colours, sizeof colours);
    for (uint32_t i = 0; i < SheetWidth * SheetHeight; ++i) {
        sheet->Alpha()[i] = static_cast<uint8_t>(i % 7);
    }
    return sheet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string text = u"A^1B C\t^xD\nW^";
    uint8_t flags = 0;
    int32_t boxWidth = 40;
    int32_t boxX = 2;
    const uint8_t* metrics = data;
    size_t metricsSize = size;
    if (size >= 4 && size >= 4 + size_t{data[0]} * 2) {
        const size_t units = data[0];
        flags = data[1];
        boxWidth = data[2];
        boxX = static_cast<int8_t>(data[3]);
        text.resize(units);
        for (size_t i = 0; i < units; ++i) {
            text[i] = static_cast<char16_t>(data[4 + 2 * i] | data[5 + 2 * i] << 8);
        }
        metrics = data + 4 + units * 2;
        metricsSize = size - 4 - units * 2;
    }

    Utils::BitmapFont font;
    if (!font.Load(std::span(metrics, metricsSize),
                   (flags & 0x80) ? PalettedSheet() : AlphaSheet())) {
        return 0;
    }
    for (char16_t c : text) {
        const uint16_t glyph = font.GlyphIndex(c);
        if (glyph != Utils::BitmapFont::NoGlyph && glyph >= font.Glyphs().size()) {
            __builtin_trap();
        }
        font.Kerning(glyph, c);
    }
    int32_t width = 0;
    int32_t height = 0;
    font.Measure(text, width, height);

    Graphics::Surface16 frame;
    frame.Create(48, 40, false);
    font.DrawText(boxX, -3, text, &frame);
    const Graphics::Rect clip{4, 3, 30, 20};
    font.DrawTextClipped(boxX - 8, 2, text, &frame, &clip);
    const Graphics::Rect box{boxX, -4, boxWidth, 44};
    font.DrawTextBox(box, flags & 3, 2, text, &frame, flags & 3, (flags >> 2) & 3,
                     static_cast<uint8_t>(flags << 1));
    font.Tint(0x07E0);
    font.DrawTextBox(Graphics::Rect{0, 0, 48, 40}, 0, 0, text, &frame, (flags >> 4) & 3,
                     (flags >> 6) & 1, 255);
    return 0;
}
