// Tests of BitmapFont: a small font whose glyphs are solid blocks of distinct colours is built
// here byte by byte, text is drawn into a tiny surface, and each row is read back as a string
// of glyph letters, so the expected rows can be worked out by hand from the metrics below.
#include "graphics/BitmapFont.h"

#include "graphics/Qim.h"
#include "io/FileSystem.h"
#include "io/MemoryStream.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using Graphics::Rect;
using Graphics::Surface16;
using Utils::BitmapFont;
namespace TextAlign = Utils::TextAlign;
namespace TextVAlign = Utils::TextVAlign;

namespace {

using Bytes = std::vector<uint8_t>;

// The test font. Sheet 13 x 5; row 0 is a marker row above top = 1, so glyphs are 4 rows high.
//   'A' columns 0-2, 'B' 3-4, 'C' 5-8 (its last column has a colour of its own, 'c'),
//   'W' 9-10 (white, for the colour codes), ' ' 11-12 (transparent).
// Kerning: A then B -1, A then C +1, W then A -1. Spacing 0, line height 6, so a space is 2
// wide and a tab 4.
constexpr uint16_t ColourA = 0x2104;
constexpr uint16_t ColourB = 0x4208;
constexpr uint16_t ColourC = 0x630C;
constexpr uint16_t ColourCEdge = 0x630D;
constexpr uint16_t ColourMarker = 0x0841;
constexpr uint16_t White = 0xFFFF;
constexpr uint16_t Red = 0xF800;
constexpr uint16_t Blue = 0x001F;
constexpr uint16_t Green = 0x07E0;

struct FontSpec
{
    std::vector<BitmapFont::Range> ranges = {{0, 3, 'A'}, {3, 1, 'W'}, {4, 1, ' '}};
    std::vector<BitmapFont::Glyph> glyphs = {{0, 3}, {3, 5}, {5, 9}, {9, 11}, {11, 13}};
    std::vector<BitmapFont::KernSlice> kernIndex = {{0, 2}, {0, 0}, {0, 0}, {2, 1}, {0, 0}};
    std::vector<BitmapFont::KernPair> kernPairs = {{'B', -1}, {'C', 1}, {'A', -1}};
    int16_t spacing = 0;
    int16_t top = 1;
    int16_t lineHeight = 6;
};

void Put16(Bytes& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

Bytes FntBytes(const FontSpec& f)
{
    Bytes out;
    Put16(out, static_cast<uint16_t>(f.ranges.size()));
    for (const auto& r : f.ranges) {
        Put16(out, r.firstGlyph);
        Put16(out, r.count);
        Put16(out, r.firstChar);
    }
    Put16(out, static_cast<uint16_t>(f.glyphs.size()));
    for (const auto& g : f.glyphs) {
        Put16(out, g.left);
        Put16(out, g.right);
    }
    Put16(out, static_cast<uint16_t>(f.kernIndex.size()));
    for (const auto& k : f.kernIndex) {
        Put16(out, k.start);
        Put16(out, k.count);
    }
    const auto pairs = static_cast<uint32_t>(f.kernPairs.size());
    Put16(out, static_cast<uint16_t>(pairs));
    Put16(out, static_cast<uint16_t>(pairs >> 16));
    for (const auto& p : f.kernPairs) {
        Put16(out, p.nextChar);
        Put16(out, static_cast<uint16_t>(p.offset));
    }
    Put16(out, static_cast<uint16_t>(f.spacing));
    Put16(out, static_cast<uint16_t>(f.top));
    Put16(out, static_cast<uint16_t>(f.lineHeight));
    return out;
}

std::unique_ptr<Surface16> MakeSheet()
{
    auto sheet = std::make_unique<Surface16>();
    sheet->Create(13, 5, true);
    const uint16_t columns[13] = {ColourA, ColourA,     ColourA, ColourB, ColourB, ColourC, ColourC,
                                  ColourC, ColourCEdge, White,   White,   0,       0};
    for (uint32_t y = 0; y < 5; ++y) {
        for (uint32_t x = 0; x < 13; ++x) {
            sheet->Pixels()[y * 13 + x] = y == 0 ? ColourMarker : columns[x];
            sheet->Alpha()[y * 13 + x] = x >= 11 ? 0 : 255;
        }
    }
    return sheet;
}

bool LoadFont(BitmapFont& font, const FontSpec& spec = {})
{
    return font.Load(FntBytes(spec), MakeSheet());
}

// One letter per pixel: the glyph a colour belongs to, R for red, b/g for blue and green,
// M for the marker row, '.' for the black background.
std::string Row(const Surface16& s, uint32_t y)
{
    const std::pair<uint16_t, char> names[] = {
        {0, '.'},           {ColourA, 'A'},      {ColourB, 'B'}, {ColourC, 'C'},
        {ColourCEdge, 'c'}, {ColourMarker, 'M'}, {White, 'W'},   {Red, 'R'},
        {Blue, 'b'},        {Green, 'g'},
    };
    std::string out;
    for (uint32_t x = 0; x < s.Width(); ++x) {
        char name = '?';
        for (const auto& [colour, letter] : names) {
            name = s.Pixels()[y * s.Stride() + x] == colour ? letter : name;
        }
        out += name;
    }
    return out;
}

// Row y trimmed of its trailing background.
std::string Ink(const Surface16& s, uint32_t y)
{
    std::string row = Row(s, y);
    row.erase(row.find_last_not_of('.') + 1);
    return row;
}

// A black surface without alpha plane.
struct Canvas : Surface16
{
    Canvas(uint32_t w, uint32_t h) { Create(w, h, false); }
};

// The smallest rectangle holding every non-black pixel.
Rect InkBox(const Surface16& s)
{
    int32_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = -1, y1 = -1;
    for (uint32_t y = 0; y < s.Height(); ++y) {
        for (uint32_t x = 0; x < s.Width(); ++x) {
            if (s.Pixels()[y * s.Stride() + x] != 0) {
                x0 = std::min<int32_t>(x0, x);
                y0 = std::min<int32_t>(y0, y);
                x1 = std::max<int32_t>(x1, x);
                y1 = std::max<int32_t>(y1, y);
            }
        }
    }
    return x1 < 0 ? Rect{} : Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

} // namespace

TEST(BitmapFontTest, FindsGlyphsInTheLargestRangeFirst)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    EXPECT_EQ(font.GlyphIndex(u'A'), 0);
    EXPECT_EQ(font.GlyphIndex(u'C'), 2);
    EXPECT_EQ(font.GlyphIndex(u'W'), 3);
    EXPECT_EQ(font.GlyphIndex(u' '), 4);
    EXPECT_EQ(font.GlyphIndex(u'D'), BitmapFont::NoGlyph);
    EXPECT_EQ(font.GlyphIndex(u'@'), BitmapFont::NoGlyph);

    // Two ranges hold 'B': the later one is larger and is tried first.
    FontSpec larger;
    larger.ranges = {{0, 1, 'B'}, {1, 3, 'A'}};
    BitmapFont a;
    ASSERT_TRUE(LoadFont(a, larger));
    EXPECT_EQ(a.GlyphIndex(u'B'), 2);

    // Equal counts keep their file order, also when a larger range is moved before them.
    FontSpec equal;
    equal.ranges = {{0, 1, 'B'}, {1, 1, 'B'}, {3, 2, 'Q'}, {1, 2, 'A'}, {3, 2, 'B'}};
    BitmapFont b;
    ASSERT_TRUE(LoadFont(b, equal));
    EXPECT_EQ(b.GlyphIndex(u'B'), 2); // {1, 2, 'A'}, the first two-wide range holding B
    EXPECT_EQ(b.GlyphIndex(u'C'), 4); // {3, 2, 'B'}
    EXPECT_EQ(b.GlyphIndex(u'Q'), 3);

    FontSpec single;
    single.ranges = {{0, 1, 'B'}, {1, 1, 'B'}, {2, 2, 'Q'}};
    BitmapFont d;
    ASSERT_TRUE(LoadFont(d, single));
    EXPECT_EQ(d.GlyphIndex(u'B'), 0);

    // A range ending at the last code unit.
    FontSpec top;
    top.ranges = {{3, 2, 0xFFFE}};
    BitmapFont c;
    ASSERT_TRUE(LoadFont(c, top));
    EXPECT_EQ(c.GlyphIndex(0xFFFF), 4);
}

TEST(BitmapFontTest, LooksUpKerningPairsByBinarySearch)
{
    FontSpec spec;
    spec.kernIndex = {{1, 7}, {0, 1}, {0, 0}, {0, 0}, {0, 0}};
    spec.kernPairs = {{5, 99}};
    for (int16_t i = 1; i <= 7; ++i) {
        spec.kernPairs.push_back({static_cast<uint16_t>(i * 10), static_cast<int16_t>(-i)});
    }
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font, spec));
    for (int16_t i = 1; i <= 7; ++i) {
        EXPECT_EQ(font.Kerning(0, static_cast<char16_t>(i * 10)), -i);
    }
    // Misses between and around the keys, and the pair outside glyph 0's slice.
    for (char16_t miss : {u'\0', char16_t{5}, char16_t{15}, char16_t{65}, char16_t{75}}) {
        EXPECT_EQ(font.Kerning(0, miss), 0) << int(miss);
    }
    EXPECT_EQ(font.Kerning(1, 5), 99);
    EXPECT_EQ(font.Kerning(2, 10), 0);
    EXPECT_EQ(font.Kerning(BitmapFont::NoGlyph, 10), 0);
}

TEST(BitmapFontTest, MeasuresAdvancesWithKerningAndSpacing)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    FontSpec spaced;
    spaced.spacing = 1;
    BitmapFont tight;
    ASSERT_TRUE(LoadFont(tight, spaced));

    struct Case
    {
        const BitmapFont* font;
        std::u16string text;
        int32_t width;
        int32_t height;
    };
    const Case cases[] = {
        {&font, u"", 2, 6},
        {&font, u"A", 5, 6},
        {&font, u"AB", 3 + 2 - 1 + 2, 6},
        {&font, u"AC", 3 + 4 + 1 + 2, 6},
        {&font, u"BA", 2 + 3 + 2, 6}, // kerning is not symmetric
        {&font, u"WA", 2 + 3 - 1 + 2, 6},
        {&font, u"AD", 3 + 10 + 2, 6},          // D has no glyph
        {&font, u"ADB", 3 + 10 + 2 - 1 + 2, 6}, // ... and does not break the A-B pair
        {&font, u"A\nBB", 4 + 2, 12},           // the widest line
        {&font, u"A\r\n\n", 3 + 2, 18},         // carriage returns take no room
        {&font, u"^1", 10 + 10 + 2, 6},         // no colour codes in plain text
        {&tight, u"AB", (3 - 1) + (2 - 1 - 1) + 2, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        int32_t w = -1, h = -1;
        c.font->Measure(c.text, w, h);
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
    }
}

TEST(BitmapFontTest, DrawsPlainText)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    struct Case
    {
        std::u16string text;
        int32_t x;
        std::string row0;
        std::string row6;
    };
    const Case cases[] = {
        {u"ABC", 1, ".AABBCCCc", ""},      // B kerned onto A's last column, C not kerned
        {u"ADB", 0, "AAARRRRRRRRRBB", ""}, // a 10-wide red box; B still kerns with A
        {u"A\rB", 0, "AABB", ""},
        {u"WA", 2, "..WAAA", ""},      // the pair moves A one to the left
        {u"A\nB", 2, "..AAA", "..BB"}, // a new line starts at x, without kerning
        {u"A B", 0, "AAA..BB", ""},    // the space glyph is transparent
        {u"^1W", 0, "RRRRRRRRRRRRRRRRRRRRWW", ""},
        {u"CC", -2, "CcCCCc", ""}, // partly off the left edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        Canvas s(24, 14);
        font.DrawText(c.x, 0, c.text, &s);
        // Rows 0-3 come from sheet rows 1-4: the marker row above top is never drawn.
        EXPECT_EQ(Ink(s, 0), c.row0);
        EXPECT_EQ(Ink(s, 3), c.row0);
        EXPECT_EQ(Ink(s, 4), "");
        EXPECT_EQ(Ink(s, 6), c.row6);
    }
}

TEST(BitmapFontTest, ClipsPlainText)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    struct Case
    {
        std::u16string text;
        Rect clip;
        std::string row0;
        std::string row6;
    };
    const Case cases[] = {
        {u"C", {2, 0, 10, 14}, "..Cc", ""},        // the source is shifted, not squeezed
        {u"CA", {0, 0, 6, 14}, "CCCcAA", ""},      // A cut on the right
        {u"D", {0, 0, 4, 14}, "RRRR", ""},         // the red box is clipped too
        {u"A\nB", {0, 0, 24, 5}, "AAA", ""},       // the second line lies below the clip
        {u"A\nB", {0, 6, 24, 8}, "", "BB"},        // the first line lies above it
        {u"AB", {-10, -10, 100, 100}, "AABB", ""}, // a clip larger than the surface
        {u"AB", {30, 0, 5, 5}, "", ""},            // a clip off the surface
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        Canvas s(24, 14);
        font.DrawTextClipped(0, 0, c.text, &s, &c.clip);
        EXPECT_EQ(Ink(s, 0), c.row0);
        EXPECT_EQ(Ink(s, 6), c.row6);
    }
    Canvas plain(24, 14);
    font.DrawTextClipped(1, 1, u"ABC", &plain, nullptr);
    EXPECT_EQ(Ink(plain, 1), ".AABBCCCc");
}

TEST(BitmapFontTest, WrapsWordsInABox)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    struct Case
    {
        const char* what;
        std::u16string text;
        int32_t boxWidth;
        std::vector<std::string> lines; // ink of rows 0, 6, 12, ...
    };
    const Case cases[] = {
        // 9 + space 2 + 4 = 15 exceeds 16 - 2: the second word moves down.
        {"wrap", u"AAA BB C", 16, {"AAAAAAAAA", "BBBB..CCCc"}},
        // The space would make 11 + 2 > 10, so the line ends before it.
        {"space overflows", u"AAA BB", 12, {"AAAAAAAAA", "BBBB"}},
        // A word wider than the box stays on its own line; the box clips it.
        {"long word", u"CCCCC B", 10, {"CCCcCCCcCC", "BB"}},
        // Spaces at the start of a line take no room; tabs do.
        {"leading space", u"  B", 20, {"BB"}},
        {"tab", u"A\tB\n\tB", 20, {"AAA....BB", "....BB"}},
        // The A-B pair (-1) does not reach across a gap.
        {"kerning restarts after a space", u"A B", 20, {"AAA..BB"}},
        {"line feeds", u"B\n\nB", 20, {"BB", "", "BB"}},
        // The layout counts a missing glyph 15 wide: 3 + 2 + 15 > 16 wraps it.
        {"missing glyph wraps at 15", u"A D", 18, {"AAA", "RRRRRRRRRRRRRRR"}},
        // ... but drawing advances 10, so the next glyph overlaps the 15-wide box.
        {"missing glyph draws 10", u"DA", 30, {"RRRRRRRRRRAAARR"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Canvas s(32, 24);
        font.DrawTextBox({0, 0, c.boxWidth, 24}, 0, 0, c.text, &s, TextAlign::Left, TextVAlign::Top,
                         255);
        for (size_t i = 0; i < 4; ++i) {
            const std::string expected = i < c.lines.size() ? c.lines[i] : "";
            EXPECT_EQ(Ink(s, static_cast<uint32_t>(i * 6)), expected) << "line " << i;
        }
    }
    // The missing glyph's box is lineHeight high, below the glyph rows too.
    Canvas s(32, 24);
    font.DrawTextBox({0, 0, 30, 24}, 0, 0, u"DA", &s, TextAlign::Left, TextVAlign::Top, 255);
    EXPECT_EQ(Ink(s, 5), std::string(15, 'R'));
    EXPECT_EQ(Ink(s, 6), "");
}

TEST(BitmapFontTest, JustifiesAllButTheLastLineOfAParagraph)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    Canvas s(32, 30);
    // Box 18 wide, 16 available: "A B C" (13) fits, the next A does not. The free 18 - 2 - 13
    // = 3 columns go 1 to the first gap (3 / 2) and 2 to the second (2 / 1).
    font.DrawTextBox({0, 0, 18, 30}, 0, 0, u"A B C A B C\nA B C A", &s, TextAlign::Justify,
                     TextVAlign::Top, 255);
    EXPECT_EQ(Ink(s, 0), "AAA...BB....CCCc");
    EXPECT_EQ(Ink(s, 6), "AAA..BB..CCCc"); // ends its paragraph: left-aligned
    EXPECT_EQ(Ink(s, 12), "AAA...BB....CCCc");
    EXPECT_EQ(Ink(s, 18), "AAA");
}

TEST(BitmapFontTest, AlignsTheTextInTheBox)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    FontSpec spaced;
    spaced.spacing = 3; // half of it, 1, is taken off right and vertical alignment
    BitmapFont wide;
    ASSERT_TRUE(LoadFont(wide, spaced));
    FontSpec loose;
    loose.spacing = -3; // half of it truncates toward zero, to -1
    BitmapFont negative;
    ASSERT_TRUE(LoadFont(negative, loose));

    // Box 12 x 14 at (0, 0), one line of lineHeight 6; the ink of "BB" is 4 x 4 and of "CC"
    // with spacing 3 is 1 + 4 = 5 wide (each C advances 4 - 3 = 1, the line is 2 wide).
    struct Case
    {
        const BitmapFont* font;
        const char16_t* text;
        int32_t hAlign;
        int32_t vAlign;
        Rect ink;
    };
    const Case cases[] = {
        {&font, u"BB", TextAlign::Left, TextVAlign::Top, {0, 0, 4, 4}},
        {&font, u"BB", TextAlign::Center, TextVAlign::Top, {3, 0, 4, 4}}, // (12-2-4)/2
        {&font, u"BB", TextAlign::Right, TextVAlign::Top, {6, 0, 4, 4}},  // 12-2-0-4
        {&font, u"BB", TextAlign::Justify, TextVAlign::Top, {0, 0, 4, 4}},
        {&font, u"BB", TextAlign::Left, TextVAlign::Middle, {0, 4, 4, 4}},    // (14-6)/2
        {&font, u"BB", TextAlign::Left, TextVAlign::Bottom, {0, 8, 4, 4}},    // 14-6
        {&font, u"BB", 7, 7, {0, 0, 4, 4}},                                   // unknown: top-left
        {&wide, u"CC", TextAlign::Center, TextVAlign::Middle, {4, 3, 5, 4}},  // (10-2)/2, (8-1)/2
        {&wide, u"CC", TextAlign::Right, TextVAlign::Bottom, {7, 7, 5, 4}},   // 10-1-2, 8-1
        {&negative, u"B", TextAlign::Left, TextVAlign::Bottom, {0, 9, 2, 4}}, // 8+1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "h " << c.hAlign << " v " << c.vAlign);
        Canvas s(12, 14);
        c.font->DrawTextBox({0, 0, 12, 14}, 0, 0, c.text, &s, c.hAlign, c.vAlign, 255);
        EXPECT_EQ(InkBox(s), c.ink);
    }
}

TEST(BitmapFontTest, AppliesColourCodesToTheRestOfTheText)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    struct Case
    {
        const char* what;
        std::u16string text;
        int32_t boxWidth;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"red", u"W^1W", 20, {"WWRR"}},
        {"each digit", u"^2W^3W^4W^5W^6W^7W^0W", 20, {"bbgg??????..WW"}},
        // "^" and a non-digit are both skipped, and take no room.
        {"not a digit", u"W^xW^", 20, {"WWWW"}},
        {"not a line feed either", u"W^\nW", 20, {"WWWW"}},
        {"across lines", u"^2W\nW", 20, {"bb", "bb"}},
        // The code stands between the words where the line breaks, and still counts.
        {"at a line break", u"W ^3WWW", 6, {"WW", "gggggg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Canvas s(24, 14);
        font.DrawTextBox({0, 0, c.boxWidth, 14}, 0, 0, c.text, &s, TextAlign::Left, TextVAlign::Top,
                         255);
        for (size_t i = 0; i < 2; ++i) {
            const std::string expected = i < c.lines.size() ? c.lines[i] : "";
            EXPECT_EQ(Ink(s, static_cast<uint32_t>(i * 6)), expected) << "line " << i;
        }
    }
}

TEST(BitmapFontTest, BlendsBoxTextAndTintsTheSheet)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    Canvas s(8, 8);
    font.DrawTextBox({0, 0, 8, 8}, 0, 0, u"W", &s, TextAlign::Left, TextVAlign::Top, 128);
    // Weight (255 * 128) >> 8 = 127 of white over black: 31 * 127 >> 8 = 15 for red and blue,
    // 63 * 127 >> 8 = 31 for green.
    EXPECT_EQ(s.Pixels()[0], (15 << 11) | (31 << 5) | 15);

    Canvas none(8, 8);
    font.DrawTextBox({0, 0, 8, 8}, 0, 0, u"W", &none, TextAlign::Left, TextVAlign::Top, 0);
    EXPECT_EQ(InkBox(none), Rect{});

    font.Tint(Blue);
    font.Tint(0xFFFF); // white leaves the colours as they are
    Canvas tinted(8, 6);
    font.DrawText(0, 0, u"W", &tinted);
    EXPECT_EQ(Ink(tinted, 0), "bb");
}

TEST(BitmapFontTest, PlacesTheBoxInsideItsMarginsAndClipsIt)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    std::u16string text = u"A B C A B C\nW^2W";

    Canvas whole(40, 30);
    font.DrawTextBox({4, 2, 18, 18}, 0, 0, text, &whole, TextAlign::Justify, TextVAlign::Middle,
                     255);
    Canvas margins(40, 30);
    font.DrawTextBox({1, 0, 24, 22}, 3, 2, text, &margins, TextAlign::Justify, TextVAlign::Middle,
                     255);
    EXPECT_EQ(InkBox(margins), InkBox(whole));
    for (uint32_t y = 0; y < 30; ++y) {
        EXPECT_EQ(Row(margins, y), Row(whole, y)) << "row " << y;
    }

    // Margins that leave no room draw nothing.
    Canvas none(40, 30);
    font.DrawTextBox({0, 0, 8, 30}, 4, 0, u"A", &none, TextAlign::Left, TextVAlign::Top, 255);
    font.DrawTextBox({0, 0, 30, 8}, 0, 4, u"A", &none, TextAlign::Left, TextVAlign::Top, 255);
    EXPECT_EQ(InkBox(none), Rect{});

    // A box partly off the surface shows the same pixels as when it is whole.
    text = u"A B C A B C\n^3W D";
    for (int32_t hAlign = 0; hAlign < 4; ++hAlign) {
        for (int32_t vAlign = 0; vAlign < 3; ++vAlign) {
            SCOPED_TRACE(testing::Message() << "h " << hAlign << " v " << vAlign);
            Canvas reference(40, 30);
            font.DrawTextBox({10, 8, 18, 20}, 0, 0, text, &reference, hAlign, vAlign, 255);
            ASSERT_NE(InkBox(reference), Rect{});
            // The same box moved 15 left and 12 up, so its top-left part is cut off.
            Canvas cut(40, 30);
            font.DrawTextBox({-5, -4, 18, 20}, 0, 0, text, &cut, hAlign, vAlign, 255);
            for (uint32_t y = 0; y + 12 < 30; ++y) {
                EXPECT_EQ(Row(cut, y).substr(0, 25), Row(reference, y + 12).substr(15))
                    << "row " << y;
            }
        }
    }
}

TEST(BitmapFontTest, LaysOutAtMostAThousandLines)
{
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font));
    // 1001 lines, the last two "A" and "B". Aligned to the bottom of a 12-row box, the last
    // line laid out sits in rows 6-9: A when the layout stops at 1000 lines.
    std::u16string text(999, u'\n');
    text += u"A\nB";
    Canvas s(20, 12);
    font.DrawTextBox({0, 0, 20, 12}, 0, 0, text, &s, TextAlign::Left, TextVAlign::Bottom, 255);
    EXPECT_EQ(Ink(s, 6), "AAA");
    EXPECT_EQ(Ink(s, 0), "");

    // Wrapped lines count as well: 1200 words, one per line.
    std::u16string words;
    for (int i = 0; i < 1200; ++i) {
        words += i == 999 ? u"W " : u"C ";
    }
    Canvas w(20, 12);
    font.DrawTextBox({0, 0, 6, 12}, 0, 0, words, &w, TextAlign::Left, TextVAlign::Bottom, 255);
    EXPECT_EQ(Ink(w, 6), "WW");
}

TEST(BitmapFontTest, AFontWithoutRangesDrawsMissingGlyphs)
{
    FontSpec spec;
    spec.ranges.clear();
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font, spec));
    Canvas s(24, 6);
    font.DrawText(0, 0, u"AB", &s);
    EXPECT_EQ(Ink(s, 0), std::string(20, 'R'));
    int32_t w = 0, h = 0;
    font.Measure(u"AB", w, h);
    EXPECT_EQ(w, 22);
}

TEST(BitmapFontTest, RejectsMetricsCutShortOrPointingOutside)
{
    struct Case
    {
        const char* what;
        FontSpec spec;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, auto change) {
        FontSpec spec;
        change(spec);
        cases.push_back({what, spec});
    };
    add("glyph past the sheet", [](FontSpec& f) { f.glyphs[4].right = 14; });
    add("glyph reversed", [](FontSpec& f) { f.glyphs[1] = {5, 3}; });
    add("range past the glyphs", [](FontSpec& f) { f.ranges[0].count = 6; });
    add("range starts past the glyphs", [](FontSpec& f) { f.ranges[1].firstGlyph = 5; });
    add("kerning slice past the pairs", [](FontSpec& f) { f.kernIndex[3] = {2, 2}; });
    add("top above the sheet", [](FontSpec& f) { f.top = -1; });
    add("top below the sheet", [](FontSpec& f) { f.top = 6; });
    for (const Case& c : cases) {
        BitmapFont font;
        EXPECT_FALSE(font.Load(FntBytes(c.spec), MakeSheet())) << c.what;
    }

    // Counts far beyond the file.
    Bytes huge = FntBytes(FontSpec{});
    const size_t pairCount = 2 + 3 * 6 + 2 + 5 * 4 + 2 + 5 * 4;
    huge[pairCount + 2] = 0xFF;
    huge[pairCount + 3] = 0xFF;
    BitmapFont font;
    EXPECT_FALSE(font.Load(huge, MakeSheet()));
    Bytes ranges = FntBytes(FontSpec{});
    ranges[0] = ranges[1] = 0xFF;
    EXPECT_FALSE(font.Load(ranges, MakeSheet()));

    EXPECT_FALSE(font.Load(FntBytes(FontSpec{}), nullptr));

    const Bytes full = FntBytes(FontSpec{});
    for (size_t n = 0; n < full.size(); ++n) {
        EXPECT_FALSE(font.Load(std::span(full.data(), n), MakeSheet())) << n << " bytes";
    }
    Bytes longer = full;
    longer.insert(longer.end(), {1, 2, 3}); // what follows the line height is ignored
    EXPECT_TRUE(font.Load(longer, MakeSheet()));
}

TEST(BitmapFontTest, AcceptsLooseButSafeTablesAndForgetsAFailedLoad)
{
    // No kerning index at all, and a glyph of zero width at the sheet's right edge.
    FontSpec spec;
    spec.kernIndex.clear();
    spec.kernPairs.clear();
    spec.glyphs[4] = {13, 13};
    BitmapFont font;
    ASSERT_TRUE(LoadFont(font, spec));
    EXPECT_EQ(font.Kerning(0, u'B'), 0);
    int32_t w = 0, h = 0;
    font.Measure(u"AB ", w, h);
    EXPECT_EQ(w, 3 + 2 + 0 + 2);

    FontSpec bad;
    bad.top = 9;
    EXPECT_FALSE(LoadFont(font, bad));
    EXPECT_FALSE(font.IsLoaded());
    Canvas s(24, 14);
    font.DrawText(0, 0, u"AB", &s);
    font.DrawTextBox({0, 0, 24, 14}, 0, 0, u"AB", &s, 0, 0, 255);
    EXPECT_EQ(InkBox(s), Rect{});
}

TEST(BitmapFontTest, LoadsMetricsAndSheetFromStreamsAndFolders)
{
    Bytes fnt = FntBytes(FontSpec{});
    Bytes qim = Graphics::EncodeQim(*MakeSheet());
    ASSERT_FALSE(qim.empty());

    IO::MemoryStream fntStream, qimStream;
    fntStream.Open(fnt.data(), static_cast<uint32_t>(fnt.size()));
    qimStream.Open(qim.data(), static_cast<uint32_t>(qim.size()));
    BitmapFont fromStreams;
    ASSERT_TRUE(fromStreams.Load(fntStream, qimStream));
    EXPECT_EQ(fromStreams.LineHeight(), 6);
    EXPECT_EQ(fromStreams.SpaceWidth(), 2);
    EXPECT_EQ(fromStreams.TabSpaces(), 2);

    TempDir dir;
    std::filesystem::create_directories(dir.Root() / "Images");
    auto write = [&](const std::string& name, const Bytes& bytes) {
        std::ofstream(dir.Path("Images/" + name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    };
    write("small.fnt", fnt);
    write("small.qim", qim);
    write("nosheet.fnt", fnt);
    IO::FileSystem fs;
    const std::string root = dir.Root().string();
    ASSERT_EQ(fs.Mount(std::u16string(root.begin(), root.end())), 0);
    IO::DirectoryNode* images = IO::FileSystem::FindDirectory(fs.GetRoot(), u"Images");
    ASSERT_NE(images, nullptr);

    BitmapFont font;
    ASSERT_TRUE(font.Load(images, u"small"));
    Canvas s(24, 6);
    font.DrawText(0, 0, u"AB", &s);
    EXPECT_EQ(Ink(s, 0), "AABB");
    EXPECT_FALSE(font.Load(images, u"nosheet"));
    EXPECT_FALSE(font.Load(images, u"missing"));
    EXPECT_FALSE(font.Load(nullptr, u"small"));
}
