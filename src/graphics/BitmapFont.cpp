// BitmapFont: loading the ".fnt" metrics with their sheet, measuring and drawing text, and the
// word-wrapping layout of text boxes.
//
// A ".fnt" file holds the metrics of one font; its glyphs live in a ".qim" image of the same
// name, the sheet, where they stand side by side in one row. All values are little-endian,
// without padding, in this order:
//
//   u16 rangeCount,     then rangeCount x {u16 firstGlyph, u16 count, u16 firstChar}
//   u16 glyphCount,     then glyphCount x {u16 left, u16 right}      columns [left, right)
//   u16 kernIndexCount, then kernIndexCount x {u16 start, u16 count} one slice per glyph
//   u32 kernPairCount,  then kernPairCount x {u16 nextChar, i16 offset}
//   i16 spacing, i16 top, i16 lineHeight
//
// A range maps the characters firstChar .. firstChar + count - 1 to consecutive glyphs. A glyph
// spans the sheet's columns [left, right) and the rows from top to the bottom of the sheet. The
// kerning pairs that follow glyph g are kernPairs[start .. start + count) of kernIndex[g],
// sorted by nextChar. Spacing is taken off every advance; lineHeight is the distance between
// lines. Anything after lineHeight is ignored.
#include "graphics/BitmapFont.h"

#include "graphics/Qim.h"
#include "io/FileSystem.h"
#include "io/Stream.h"

#include <algorithm>
#include <limits>
#include <string>

namespace Utils {

using Graphics::Rect;
using Graphics::Surface16;

namespace {

// The raster operations chosen by "^0" to "^9": an AND with an RGB565 colour, so that white
// glyphs take that colour.
constexpr std::array<uint32_t, 10> ColourOps = {
    0,          0x0100F800, 0x0100001F, 0x010007E0, 0x0100F81F,
    0x0100FFE0, 0x010007FF, 0x01000000, 0x0100F800, 0x0100F800,
};

constexpr int32_t DefaultTabSpaces = 2;

// Reads the little-endian values of a .fnt file, refusing to go past its end.
class MetricsReader
{
public:
    explicit MetricsReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    bool Has(uint64_t count) const { return count <= m_bytes.size() - m_pos; }
    bool U16(uint16_t& out)
    {
        if (!Has(2)) {
            return false;
        }
        out = static_cast<uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool I16(int16_t& out)
    {
        uint16_t raw = 0;
        if (!U16(raw)) {
            return false;
        }
        out = static_cast<int16_t>(raw);
        return true;
    }
    bool U32(uint32_t& out)
    {
        uint16_t low = 0;
        uint16_t high = 0;
        if (!Has(4) || !U16(low) || !U16(high)) {
            return false;
        }
        out = low | (uint32_t{high} << 16);
        return true;
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

// Reads a stream from its position to its end.
std::vector<uint8_t> ReadToEnd(IO::Stream& stream)
{
    constexpr uint32_t Chunk = 64 * 1024;
    std::vector<uint8_t> bytes;
    for (;;) {
        const size_t used = bytes.size();
        bytes.resize(used + Chunk);
        const uint32_t got = stream.Read(bytes.data() + used, 0, Chunk);
        // More than asked for is how a file stream reports a failed read.
        const uint32_t kept = got > Chunk ? 0 : got;
        bytes.resize(used + kept);
        if (kept < Chunk) {
            return bytes;
        }
    }
}

bool IsColourDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Positions are tracked in 64 bits so that no text, however long, overflows them; anything
// that reaches a drawing call has been checked to lie near the surface, within 32 bits.
bool Overlaps(int64_t x, int64_t y, int64_t w, int64_t h, const Surface16& s)
{
    return w > 0 && h > 0 && x < int64_t{s.Width()} && y < int64_t{s.Height()} && x + w > 0 &&
           y + h > 0;
}

int32_t ToInt32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

// One line of a text box: the characters [begin, end) of the text, the width up to its last
// whole word, its number of words, and whether it ends a paragraph.
struct BitmapFont::BoxLine
{
    size_t begin = 0;
    size_t end = 0;
    int64_t width = 0;
    int32_t words = 0;
    bool paragraphEnd = false;
};

BitmapFont::~BitmapFont() = default;

bool BitmapFont::Load(IO::DirectoryNode* folder, std::u16string_view name)
{
    Release();
    if (!folder || !folder->owner) {
        return false;
    }
    const std::u16string base(name);
    std::unique_ptr<IO::FileReader> reader = folder->owner->OpenForRead(folder, base + u".fnt");
    if (!reader || !reader->GetStream()) {
        return false;
    }
    const std::vector<uint8_t> metrics = ReadToEnd(*reader->GetStream());
    reader->Close();
    return Load(metrics, Graphics::LoadQim(folder, base + u".qim"));
}

bool BitmapFont::Load(IO::Stream& metrics, IO::Stream& sheet)
{
    Release();
    const std::vector<uint8_t> bytes = ReadToEnd(metrics);
    return Load(bytes, Graphics::DecodeQim(sheet));
}

bool BitmapFont::Load(std::span<const uint8_t> metrics, std::unique_ptr<Surface16> sheet)
{
    Release();
    if (!sheet || !ParseMetrics(metrics)) {
        Release();
        return false;
    }
    // Every table entry must stay inside the tables and the sheet, so that lookups and blits
    // never need to check again.
    const uint32_t sheetWidth = sheet->Width();
    const uint32_t sheetHeight = sheet->Height();
    bool valid = m_top >= 0 && static_cast<uint32_t>(m_top) <= sheetHeight;
    for (const Glyph& g : m_glyphs) {
        valid = valid && g.left <= g.right && g.right <= sheetWidth;
    }
    for (const Range& r : m_ranges) {
        valid = valid && uint32_t{r.firstGlyph} + r.count <= m_glyphs.size();
    }
    for (const KernSlice& k : m_kernIndex) {
        valid = valid && uint32_t{k.start} + k.count <= m_kernPairs.size();
    }
    if (!valid) {
        Release();
        return false;
    }

    // Largest ranges first, so lookups try them first; equal counts keep their file order.
    std::stable_sort(m_ranges.begin(), m_ranges.end(),
                     [](const Range& a, const Range& b) { return a.count > b.count; });
    m_colourOps = ColourOps;
    m_tabSpaces = DefaultTabSpaces;
    m_spaceWidth = m_lineHeight / 3;
    m_sheet = std::move(sheet);
    return true;
}

bool BitmapFont::ParseMetrics(std::span<const uint8_t> bytes)
{
    MetricsReader in(bytes);
    // A count is only believed once the file is seen to hold that many records.
    uint16_t rangeCount = 0;
    if (!in.U16(rangeCount) || !in.Has(uint64_t{rangeCount} * 6)) {
        return false;
    }
    m_ranges.resize(rangeCount);
    for (Range& r : m_ranges) {
        in.U16(r.firstGlyph);
        in.U16(r.count);
        in.U16(r.firstChar);
    }
    uint16_t glyphCount = 0;
    if (!in.U16(glyphCount) || !in.Has(uint64_t{glyphCount} * 4)) {
        return false;
    }
    m_glyphs.resize(glyphCount);
    for (Glyph& g : m_glyphs) {
        in.U16(g.left);
        in.U16(g.right);
    }
    uint16_t kernIndexCount = 0;
    if (!in.U16(kernIndexCount) || !in.Has(uint64_t{kernIndexCount} * 4)) {
        return false;
    }
    m_kernIndex.resize(kernIndexCount);
    for (KernSlice& k : m_kernIndex) {
        in.U16(k.start);
        in.U16(k.count);
    }
    uint32_t kernPairCount = 0;
    if (!in.U32(kernPairCount) || !in.Has(uint64_t{kernPairCount} * 4)) {
        return false;
    }
    m_kernPairs.resize(kernPairCount);
    for (KernPair& p : m_kernPairs) {
        in.U16(p.nextChar);
        in.I16(p.offset);
    }
    return in.I16(m_spacing) && in.I16(m_top) && in.I16(m_lineHeight);
}

void BitmapFont::Release()
{
    m_ranges.clear();
    m_glyphs.clear();
    m_kernIndex.clear();
    m_kernPairs.clear();
    m_spacing = 0;
    m_top = 0;
    m_lineHeight = 0;
    m_colourOps = {};
    m_tabSpaces = DefaultTabSpaces;
    m_spaceWidth = 0;
    m_sheet.reset();
}

void BitmapFont::Tint(uint16_t colour565)
{
    if (!m_sheet || !m_sheet->Pixels()) {
        return;
    }
    uint16_t* pixels = m_sheet->Pixels();
    if (m_sheet->IsPaletted()) {
        for (uint32_t i = 0; i < m_sheet->PaletteSize(); ++i) {
            pixels[i] &= colour565;
        }
        return;
    }
    for (uint32_t y = 0; y < m_sheet->Height(); ++y) {
        uint16_t* row = pixels + static_cast<size_t>(y) * m_sheet->Stride();
        for (uint32_t x = 0; x < m_sheet->Width(); ++x) {
            row[x] &= colour565;
        }
    }
}

uint16_t BitmapFont::GlyphIndex(char16_t c) const
{
    for (const Range& r : m_ranges) {
        if (c >= r.firstChar && c < uint32_t{r.firstChar} + r.count) {
            return static_cast<uint16_t>(c - r.firstChar + r.firstGlyph);
        }
    }
    return NoGlyph;
}

int32_t BitmapFont::Kerning(uint16_t prevGlyph, char16_t c) const
{
    // Glyphs without a slice of their own (a short kerning index) have no pairs.
    if (prevGlyph >= m_kernIndex.size() || m_kernIndex[prevGlyph].count == 0) {
        return 0;
    }
    const KernSlice slice = m_kernIndex[prevGlyph];
    uint32_t lo = slice.start;
    uint32_t hi = uint32_t{slice.start} + slice.count;
    while (lo < hi) {
        const uint32_t mid = (lo + hi) / 2;
        const uint16_t key = m_kernPairs[mid].nextChar;
        if (key == c) {
            return m_kernPairs[mid].offset;
        }
        if (key > c) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return 0;
}

int32_t BitmapFont::GlyphWidth(uint16_t glyph) const
{
    return m_glyphs[glyph].right - m_glyphs[glyph].left;
}

int32_t BitmapFont::GlyphHeight() const
{
    return m_sheet ? static_cast<int32_t>(m_sheet->Height()) - m_top : 0;
}

// Kerning applies between glyphs that stand side by side: a line feed starts afresh, and a
// character without a glyph leaves the previous glyph in place.
void BitmapFont::Measure(std::u16string_view text, int32_t& width, int32_t& height) const
{
    int64_t widest = 0;
    int64_t line = 0;
    int64_t total = m_lineHeight;
    uint16_t prev = NoGlyph;
    for (const char16_t c : text) {
        if (c == u'\n') {
            widest = std::max(widest, line);
            line = 0;
            total += m_lineHeight;
            prev = NoGlyph;
            continue;
        }
        if (c == u'\r') {
            continue;
        }
        const uint16_t g = GlyphIndex(c);
        if (g == NoGlyph) {
            line += MissingGlyphAdvance;
            continue;
        }
        line += GlyphWidth(g) - m_spacing + Kerning(prev, c);
        prev = g;
    }
    width = ToInt32(std::max(widest, line) + 2);
    height = ToInt32(total);
}

void BitmapFont::DrawText(int32_t x, int32_t y, std::u16string_view text, Surface16* surface) const
{
    DrawTextClipped(x, y, text, surface, nullptr);
}

void BitmapFont::DrawTextClipped(int32_t x, int32_t y, std::u16string_view text, Surface16* surface,
                                 const Rect* clipRect) const
{
    if (!surface || !m_sheet) {
        return;
    }
    Rect clip{0, 0, ToInt32(surface->Width()), ToInt32(surface->Height())};
    if (clipRect) {
        Surface16::Intersect(clip, *clipRect);
    }
    if (clip.width <= 0 || clip.height <= 0) {
        return;
    }
    const int64_t lastRow = int64_t{clip.y} + clip.height - 1;
    const int32_t h = GlyphHeight();
    int64_t penX = x;
    int64_t penY = y;
    uint16_t prev = NoGlyph;
    for (const char16_t c : text) {
        if (penY > lastRow) {
            return;
        }
        if (c == u'\n') {
            penX = x;
            penY += m_lineHeight;
            prev = NoGlyph;
            continue;
        }
        if (c == u'\r') {
            continue;
        }
        const uint16_t g = GlyphIndex(c);
        if (g == NoGlyph) {
            if (Overlaps(penX, penY, MissingGlyphAdvance, h, *surface)) {
                Rect box{ToInt32(penX), ToInt32(penY), MissingGlyphAdvance, h};
                Surface16::Intersect(box, clip);
                if (box.width > 0 && box.height > 0) {
                    surface->FillRect(&box, MissingGlyphColour);
                }
            }
            penX += MissingGlyphAdvance;
            continue;
        }
        const int32_t kerning = Kerning(prev, c);
        const int32_t w = GlyphWidth(g);
        const int64_t glyphX = penX + kerning;
        if (Overlaps(glyphX, penY, w, h, *surface)) {
            const Rect source{m_glyphs[g].left, m_top, w, h};
            surface->BlitClipped(ToInt32(glyphX), ToInt32(penY), *m_sheet, &source, &clip);
        }
        penX += w - m_spacing + kerning;
        prev = g;
    }
}

// Breaks the text into lines no wider than available. Spaces and tabs end words; a line feed
// ends a paragraph; "^" and the character after it take no room. A space or tab that would
// overflow the line starts the next one; a character that would overflow it moves its word to
// the next line, unless the word is the line's first (a word longer than the box overflows it).
// In a box a space or a tab is a gap of fixed width, not a glyph, and kerning restarts after
// it as after a line feed: a pair is made for glyphs that touch, and across a gap it would
// only narrow or widen the gap (and kern a word unlike the same word at a line's start).
std::vector<BitmapFont::BoxLine> BitmapFont::LayOutBox(std::u16string_view text,
                                                       int64_t available) const
{
    struct Current
    {
        size_t begin = 0;
        int64_t width = 0;          // everything so far, the current word included
        int64_t committedWidth = 0; // up to the end of the last whole word
        size_t committedEnd = 0;
        int32_t words = 0;
        bool hasContent = false; // a space at the start of a line takes no room
        bool inWord = false;
        size_t wordStart = 0;
        int64_t wordStartWidth = 0;
        uint16_t prev = NoGlyph;
    };
    std::vector<BoxLine> lines;
    Current cur;
    auto startLine = [&](size_t at) {
        cur = Current{at, 0, 0, at, 0, false, false, at, 0, NoGlyph};
    };
    auto endWord = [&](size_t at) {
        if (cur.inWord) {
            cur.inWord = false;
            ++cur.words;
            cur.committedWidth = cur.width;
            cur.committedEnd = at;
        }
    };
    // Returns false once the table of lines is full.
    auto pushLine = [&](bool paragraphEnd) {
        lines.push_back({cur.begin, cur.committedEnd, cur.committedWidth, cur.words, paragraphEnd});
        return lines.size() < MaxBoxLines;
    };

    size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == u'\r') {
            ++i;
            continue;
        }
        if (c == u'^') {
            i += 2;
            continue;
        }
        if (c == u'\n') {
            endWord(i);
            if (!pushLine(true)) {
                return lines;
            }
            startLine(++i);
            continue;
        }
        if (c == u' ' || c == u'\t') {
            endWord(i);
            const int64_t room = c == u'\t'       ? int64_t{m_spaceWidth} * m_tabSpaces
                                 : cur.hasContent ? m_spaceWidth
                                                  : 0;
            if (cur.hasContent && cur.width + room > available) {
                if (!pushLine(false)) {
                    return lines;
                }
                startLine(i); // lay the same character out again at the start of the new line
                continue;
            }
            cur.width += room;
            cur.hasContent = cur.hasContent || c == u'\t';
            cur.prev = NoGlyph;
            ++i;
            continue;
        }
        const uint16_t g = GlyphIndex(c);
        const int64_t advance =
            g == NoGlyph ? MissingGlyphBoxWidth : GlyphWidth(g) - m_spacing + Kerning(cur.prev, c);
        if (!cur.inWord) {
            cur.inWord = true;
            cur.wordStart = i;
            cur.wordStartWidth = cur.width;
        }
        if (cur.width + advance > available && cur.words > 0) {
            const size_t wordStart = cur.wordStart;
            const int64_t wordWidth = cur.width - cur.wordStartWidth;
            const uint16_t prev = cur.prev;
            if (!pushLine(false)) {
                return lines;
            }
            startLine(wordStart);
            cur.inWord = true;
            cur.hasContent = true;
            cur.width = wordWidth;
            cur.prev = prev;
        }
        cur.width += advance;
        cur.hasContent = true;
        if (g != NoGlyph) {
            cur.prev = g;
        }
        ++i;
    }
    endWord(text.size());
    pushLine(true);
    return lines;
}

void BitmapFont::DrawTextBox(const Rect& rect, int32_t marginX, int32_t marginY,
                             std::u16string_view text, Surface16* surface, int32_t hAlign,
                             int32_t vAlign, uint8_t alpha) const
{
    if (!surface || !m_sheet) {
        return;
    }
    const int64_t boxWidth = int64_t{rect.width} - 2 * int64_t{marginX};
    const int64_t boxHeight = int64_t{rect.height} - 2 * int64_t{marginY};
    if (boxWidth <= 0 || boxHeight <= 0) {
        return;
    }
    const int64_t boxX = int64_t{rect.x} + marginX;
    const int64_t boxY = int64_t{rect.y} + marginY;
    // The text is drawn into a view of the part of the box that lies on the surface, laid out
    // for the whole box and shifted by what was cut off, so a box partly off the surface shows
    // the same pixels as when it is whole.
    const int64_t left = std::max<int64_t>(boxX, 0);
    const int64_t top = std::max<int64_t>(boxY, 0);
    const int64_t right = std::min<int64_t>(boxX + boxWidth, surface->Width());
    const int64_t bottom = std::min<int64_t>(boxY + boxHeight, surface->Height());
    if (right <= left || bottom <= top) {
        return;
    }
    Surface16 view;
    if (Surface16::SubSurface(view, *surface, static_cast<uint32_t>(left),
                              static_cast<uint32_t>(top), static_cast<uint32_t>(right - left),
                              static_cast<uint32_t>(bottom - top)) != Graphics::SurfaceResult::Ok) {
        return;
    }
    const std::vector<BoxLine> lines = LayOutBox(text, boxWidth - 2);
    DrawBoxLines(text, lines, view, boxX - left, boxY - top, boxWidth, boxHeight, hAlign, vAlign,
                 alpha);
}

void BitmapFont::DrawBoxLines(std::u16string_view text, const std::vector<BoxLine>& lines,
                              Surface16& target, int64_t originX, int64_t originY, int64_t boxWidth,
                              int64_t boxHeight, int32_t hAlign, int32_t vAlign,
                              uint8_t alpha) const
{
    const int64_t halfSpacing = m_spacing / 2;
    const int64_t textHeight = int64_t{m_lineHeight} * static_cast<int64_t>(lines.size());
    int64_t y = 0;
    if (vAlign == TextVAlign::Middle) {
        y = ((boxHeight - textHeight) - halfSpacing) / 2;
    } else if (vAlign == TextVAlign::Bottom) {
        y = boxHeight - textHeight - halfSpacing;
    }

    const int32_t glyphHeight = GlyphHeight();
    uint32_t colourOp = m_colourOps[0];
    // Colour codes count wherever they stand, also between the words a line break dropped.
    auto applyColourCode = [&](size_t at) {
        if (at + 1 < text.size() && IsColourDigit(text[at + 1])) {
            colourOp = m_colourOps[text[at + 1] - u'0'];
        }
    };
    size_t pos = 0;
    for (const BoxLine& line : lines) {
        for (; pos < line.begin; ++pos) {
            if (text[pos] == u'^') {
                applyColourCode(pos++);
            }
        }

        int64_t x = 0;
        int64_t freeSpace = 0;
        int32_t gaps = std::max(line.words - 1, 0);
        if (hAlign == TextAlign::Center) {
            x = (boxWidth - 2 - line.width) / 2;
        } else if (hAlign == TextAlign::Right) {
            x = boxWidth - 2 - halfSpacing - line.width;
        } else if (hAlign == TextAlign::Justify && !line.paragraphEnd) {
            freeSpace = std::max<int64_t>(boxWidth - 2 - halfSpacing - line.width, 0);
        }

        bool hasContent = false;
        bool inWord = false;
        int32_t wordsDone = 0;
        uint16_t prev = NoGlyph;
        for (size_t i = line.begin; i < line.end; ++i) {
            const char16_t c = text[i];
            if (c == u'\r' || c == u'\n') {
                continue;
            }
            if (c == u'^') {
                applyColourCode(i++);
                continue;
            }
            if (c == u' ' || c == u'\t') {
                if (inWord) {
                    inWord = false;
                    ++wordsDone;
                    if (gaps > 0 && wordsDone < line.words) {
                        const int64_t extra = freeSpace / gaps;
                        x += extra;
                        freeSpace -= extra;
                        --gaps;
                    }
                }
                if (c == u'\t') {
                    x += int64_t{m_spaceWidth} * m_tabSpaces;
                    hasContent = true;
                } else if (hasContent) {
                    x += m_spaceWidth;
                }
                prev = NoGlyph;
                continue;
            }
            hasContent = true;
            inWord = true;
            const uint16_t g = GlyphIndex(c);
            if (g == NoGlyph) {
                const int64_t boxLeft = originX + x;
                const int64_t boxTop = originY + y;
                if (Overlaps(boxLeft, boxTop, MissingGlyphBoxWidth, m_lineHeight, target)) {
                    const Rect box{ToInt32(boxLeft), ToInt32(boxTop), MissingGlyphBoxWidth,
                                   m_lineHeight};
                    target.FillRect(&box, MissingGlyphColour);
                }
                x += MissingGlyphAdvance;
                continue;
            }
            const int32_t kerning = Kerning(prev, c);
            const int32_t w = GlyphWidth(g);
            const int64_t glyphX = originX + x + kerning;
            const int64_t glyphY = originY + y;
            if (Overlaps(glyphX, glyphY, w, glyphHeight, target)) {
                const Rect source{m_glyphs[g].left, m_top, w, glyphHeight};
                target.Blit(ToInt32(glyphX), ToInt32(glyphY), *m_sheet, &source, alpha, 0,
                            colourOp);
            }
            x += w - m_spacing + kerning;
            prev = g;
        }
        pos = std::max(pos, line.end);
        y += m_lineHeight;
    }
}

} // namespace Utils
