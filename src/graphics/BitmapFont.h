// BitmapFont: proportional UTF-16 text drawn with glyphs cut from one image, the font sheet,
// with kerning, colour codes, word wrap and aligned text boxes.
#pragma once

#include "graphics/Surface16.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace IO {
class Stream;
class DirectoryNode;
} // namespace IO

namespace Utils {

// Horizontal alignments of DrawTextBox.
namespace TextAlign {
constexpr int32_t Left = 0;
constexpr int32_t Center = 1;
constexpr int32_t Right = 2;
constexpr int32_t Justify = 3;
} // namespace TextAlign

// Vertical alignments of DrawTextBox.
namespace TextVAlign {
constexpr int32_t Top = 0;
constexpr int32_t Middle = 1;
constexpr int32_t Bottom = 2;
} // namespace TextVAlign

class BitmapFont
{
public:
    // Characters firstChar .. firstChar + count - 1 map to glyphs firstGlyph onwards.
    struct Range
    {
        uint16_t firstGlyph = 0;
        uint16_t count = 0;
        uint16_t firstChar = 0;
    };
    // A glyph is the sheet's columns [left, right), from row top to the bottom of the sheet.
    struct Glyph
    {
        uint16_t left = 0;
        uint16_t right = 0;
    };
    // The kerning pairs that apply after one glyph: kernPairs[start .. start + count).
    struct KernSlice
    {
        uint16_t start = 0;
        uint16_t count = 0;
    };
    struct KernPair
    {
        uint16_t nextChar = 0;
        int16_t offset = 0;
    };

    static constexpr uint16_t NoGlyph = 0xFFFF;
    // A character without a glyph is drawn as a red box and advances by this much.
    static constexpr int32_t MissingGlyphAdvance = 10;
    // Text boxes lay a missing glyph out this wide and draw its box this wide.
    static constexpr int32_t MissingGlyphBoxWidth = 15;
    static constexpr uint32_t MissingGlyphColour = 0xFFFF0000;
    // Text boxes lay out at most this many lines; the rest of the text is not drawn.
    static constexpr size_t MaxBoxLines = 1000;

    BitmapFont() = default;
    virtual ~BitmapFont();
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    // Loads name + ".fnt" and name + ".qim" from folder through its file system.
    bool Load(IO::DirectoryNode* folder, std::u16string_view name);
    // Loads the metrics from one stream (read to its end) and the sheet from another.
    bool Load(IO::Stream& metrics, IO::Stream& sheet);
    // Loads the metrics from the bytes of a .fnt file and takes the sheet.
    bool Load(std::span<const uint8_t> metrics, std::unique_ptr<Graphics::Surface16> sheet);
    // Frees the tables and the sheet; the font then draws nothing.
    void Release();
    bool IsLoaded() const { return m_sheet != nullptr; }

    // ANDs every colour of the sheet with an RGB565 value (white glyphs take that colour).
    void Tint(uint16_t colour565);

    // The glyph of a character, or NoGlyph when no range holds it.
    uint16_t GlyphIndex(char16_t c) const;
    // Horizontal offset between a glyph and the character that follows it; 0 when none.
    int32_t Kerning(uint16_t prevGlyph, char16_t c) const;

    // Size of the text as DrawText draws it: the widest line plus 2, by lineHeight per line.
    void Measure(std::u16string_view text, int32_t& width, int32_t& height) const;
    // Draws text without colour codes or wrapping; a line feed returns to x one line lower.
    void DrawText(int32_t x, int32_t y, std::u16string_view text,
                  Graphics::Surface16* surface) const;
    // DrawText restricted to clipRect of the surface (null: no restriction).
    void DrawTextClipped(int32_t x, int32_t y, std::u16string_view text,
                         Graphics::Surface16* surface, const Graphics::Rect* clipRect) const;
    // Draws formatted text (colour codes "^0" to "^9", tabs, word wrap, alignment) inside rect
    // less its margins, clipped to that inner box.
    void DrawTextBox(const Graphics::Rect& rect, int32_t marginX, int32_t marginY,
                     std::u16string_view text, Graphics::Surface16* surface, int32_t hAlign,
                     int32_t vAlign, uint8_t alpha) const;

    int32_t Spacing() const { return m_spacing; }
    int32_t Top() const { return m_top; }
    int32_t LineHeight() const { return m_lineHeight; }
    int32_t TabSpaces() const { return m_tabSpaces; }
    int32_t SpaceWidth() const { return m_spaceWidth; }
    const std::vector<Range>& Ranges() const { return m_ranges; }
    const std::vector<Glyph>& Glyphs() const { return m_glyphs; }
    const std::vector<KernSlice>& KernIndex() const { return m_kernIndex; }
    const std::vector<KernPair>& KernPairs() const { return m_kernPairs; }
    const Graphics::Surface16* Sheet() const { return m_sheet.get(); }

private:
    struct BoxLine;

    bool ParseMetrics(std::span<const uint8_t> bytes);
    int32_t GlyphWidth(uint16_t glyph) const;
    int32_t GlyphHeight() const;
    std::vector<BoxLine> LayOutBox(std::u16string_view text, int64_t available) const;
    void DrawBoxLines(std::u16string_view text, const std::vector<BoxLine>& lines,
                      Graphics::Surface16& target, int64_t originX, int64_t originY,
                      int64_t boxWidth, int64_t boxHeight, int32_t hAlign, int32_t vAlign,
                      uint8_t alpha) const;

    std::vector<Range> m_ranges;
    std::vector<Glyph> m_glyphs;
    std::vector<KernSlice> m_kernIndex;
    std::vector<KernPair> m_kernPairs;
    int16_t m_spacing = 0;
    int16_t m_top = 0;
    int16_t m_lineHeight = 0;
    std::array<uint32_t, 10> m_colourOps{};
    int32_t m_tabSpaces = 2;
    int32_t m_spaceWidth = 0;
    std::unique_ptr<Graphics::Surface16> m_sheet;
};

} // namespace Utils
