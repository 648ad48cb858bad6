// The font baker end to end: a font baked from DejaVu Sans is loaded with the game's
// BitmapFont and checked against what is known of the typeface itself (tabular digits, the
// kerned pair "AV", a shared baseline), not against FreeType's numbers.
#include "graphics/BitmapFont.h"
#include "io/FileSystem.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using Graphics::Surface16;
using Utils::BitmapFont;

namespace {

constexpr const char* Sans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

fs::path BuildDir()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return fs::path(dir ? dir : "game").parent_path();
}

ProcessResult RunFontBake(const std::vector<std::string>& args)
{
    return RunProcess((BuildDir() / "tools" / "fontbake" / "fontbake").string(), args);
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Loads NAME.fnt and NAME.qim from a folder through the game's file system.
bool LoadFrom(const fs::path& folder, const std::u16string& name, BitmapFont& font)
{
    IO::FileSystem files;
    const std::string root = folder.string();
    if (files.Mount(std::u16string(root.begin(), root.end())) != 0) {
        return false;
    }
    return font.Load(files.GetRoot(), name);
}

int32_t Width(const BitmapFont& font, std::u16string_view text)
{
    int32_t w = 0, h = 0;
    font.Measure(text, w, h);
    return w - 2; // Measure adds 2
}

// First and last rows holding ink when one character is drawn at (0, 0).
std::pair<int, int> InkRows(const BitmapFont& font, char16_t c)
{
    Surface16 s;
    s.Create(64, 64, false);
    font.DrawText(0, 0, std::u16string(1, c), &s);
    int first = -1, last = -1;
    for (uint32_t y = 0; y < 64; ++y) {
        for (uint32_t x = 0; x < 64; ++x) {
            if (s.Pixels()[y * 64 + x] != 0) {
                first = first < 0 ? static_cast<int>(y) : first;
                last = static_cast<int>(y);
            }
        }
    }
    return {first, last};
}

} // namespace

TEST(FontBakeTest, BakesAFontTheGameCanDraw)
{
    TempDir dir;
    ProcessResult r = RunFontBake({Sans, "20", "ranges:32-126", dir.Path("sans")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    BitmapFont font;
    ASSERT_TRUE(LoadFrom(dir.Root(), u"sans", font));

    for (char16_t c = 32; c <= 126; ++c) {
        EXPECT_NE(font.GlyphIndex(c), BitmapFont::NoGlyph) << int(c);
    }
    EXPECT_EQ(font.GlyphIndex(127), BitmapFont::NoGlyph);
    EXPECT_EQ(font.GlyphIndex(31), BitmapFont::NoGlyph);

    // DejaVu Sans spans about 1.17 em from ascender to descender, and its digits are all
    // 0.636 em wide: 23 and 13 pixels at 20 pixels per em, give or take hinting.
    const Surface16* sheet = font.Sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->HasAlpha());
    EXPECT_GE(sheet->Height() - font.Top(), 21u);
    EXPECT_LE(sheet->Height() - font.Top(), 26u);
    EXPECT_GE(font.LineHeight(), 21);
    EXPECT_LE(font.LineHeight(), 26);
    const int32_t digit = Width(font, u"0");
    EXPECT_GE(digit, 12);
    EXPECT_LE(digit, 14);
    for (char16_t d = u'1'; d <= u'9'; ++d) {
        EXPECT_EQ(Width(font, std::u16string(1, d)), digit) << char(d);
    }
    EXPECT_EQ(Width(font, u"0123456789"), 10 * digit);
    EXPECT_GT(Width(font, u"W"), 2 * Width(font, u"i"));
    EXPECT_GT(Width(font, u"m"), Width(font, u"n"));

    // "AV" is kerned closer in the typeface; "HH" is not kerned.
    EXPECT_LT(font.Kerning(font.GlyphIndex(u'A'), u'V'), 0);
    EXPECT_LT(Width(font, u"AV"), Width(font, u"A") + Width(font, u"V"));
    EXPECT_EQ(Width(font, u"HH"), 2 * Width(font, u"H"));

    // Glyphs share a baseline: H and x end on the same row, p reaches below it, and the
    // capital stands taller than the small letter.
    const auto [hTop, hBottom] = InkRows(font, u'H');
    const auto [xTop, xBottom] = InkRows(font, u'x');
    const auto [pTop, pBottom] = InkRows(font, u'p');
    EXPECT_EQ(hBottom, xBottom);
    EXPECT_GT(pBottom, hBottom + 2);
    EXPECT_LT(hTop, xTop - 2);
    EXPECT_GE(hBottom - hTop + 1, 13); // cap height 0.73 em
    EXPECT_LE(hBottom - hTop + 1, 16);

    // White glyphs blended over black by their coverage: greys, white where fully covered.
    Surface16 s;
    s.Create(32, 32, false);
    font.DrawText(0, 0, u"H", &s);
    bool white = false;
    for (uint32_t i = 0; i < 32 * 32; ++i) {
        const uint16_t p = s.Pixels()[i];
        EXPECT_EQ(p >> 11, p & 31) << i;
        white = white || p == 0xFFFF;
    }
    EXPECT_TRUE(white);
}

TEST(FontBakeTest, TakesTheCharactersAsTextAndTheSpacingAsAsked)
{
    TempDir dir;
    ASSERT_EQ(RunFontBake({Sans, "20", "00ä1", dir.Path("text")}).exitCode, 0);
    ASSERT_EQ(
        RunFontBake({"--spacing", "2", Sans, "20", "ranges:48-49,228", dir.Path("tight")}).exitCode,
        0);
    BitmapFont text, tight;
    ASSERT_TRUE(LoadFrom(dir.Root(), u"text", text));
    ASSERT_TRUE(LoadFrom(dir.Root(), u"tight", tight));
    for (char16_t c : {u'0', u'1', u'\u00E4'}) {
        EXPECT_NE(text.GlyphIndex(c), BitmapFont::NoGlyph);
    }
    EXPECT_EQ(text.GlyphIndex(u'2'), BitmapFont::NoGlyph);
    EXPECT_EQ(Width(tight, u"01"), Width(text, u"01") - 4);
    // Both describe the same glyphs, so the sheets are the same.
    EXPECT_EQ(ReadFile(dir.Path("text.qim")), ReadFile(dir.Path("tight.qim")));
}

TEST(FontBakeTest, BakesTheSameFilesEveryTime)
{
    TempDir dir;
    ASSERT_EQ(RunFontBake({Sans, "13", "ranges:32-126", dir.Path("a")}).exitCode, 0);
    ASSERT_EQ(RunFontBake({Sans, "13", "ranges:32-126", dir.Path("b")}).exitCode, 0);
    EXPECT_EQ(ReadFile(dir.Path("a.fnt")), ReadFile(dir.Path("b.fnt")));
    EXPECT_EQ(ReadFile(dir.Path("a.qim")), ReadFile(dir.Path("b.qim")));
}

TEST(FontBakeTest, ReportsBadUsageAndFailures)
{
    TempDir dir;
    const std::string out = dir.Path("out");
    const std::vector<std::vector<std::string>> usage = {
        {},
        {Sans, "20", "abc"},
        {Sans, "0", "abc", out},
        {Sans, "20px", "abc", out},
        {Sans, "20", "", out},
        {Sans, "20", "ranges:126-32", out},
        {Sans, "20", "ranges:32-70000", out},
        {Sans, "20", "ranges:32,", out},
        {Sans, "20", "\xF0\x9F\x98\x80", out}, // above U+FFFF
        {Sans, "20", "\xC3", out},             // not UTF-8
        {"--spacing", Sans, "20", "abc", out},
        {"--kerning", Sans, "20", "abc", out},
    };
    for (const auto& args : usage) {
        ProcessResult r = RunFontBake(args);
        EXPECT_EQ(r.exitCode, 2) << testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage: fontbake"), std::string::npos);
    }
    const std::vector<std::vector<std::string>> failures = {
        {dir.Path("missing.ttf"), "20", "abc", out},
        {Sans, "20", "ranges:65535", out}, // a noncharacter no font has
        {Sans, "20", "abc", dir.Path("no/such/folder/out")},
    };
    for (const auto& args : failures) {
        ProcessResult r = RunFontBake(args);
        EXPECT_EQ(r.exitCode, 1) << testing::PrintToString(args);
        EXPECT_EQ(r.err.rfind("fontbake: ", 0), 0u) << r.err;
    }
    EXPECT_FALSE(fs::exists(out + ".fnt"));
}

TEST(FontBakeTest, TheBuildBakesTheDigitsFont)
{
    BitmapFont digits;
    ASSERT_TRUE(LoadFrom(BuildDir() / "content" / "Images", u"digits", digits));
    for (char16_t c : std::u16string(u"0123456789point")) {
        EXPECT_NE(digits.GlyphIndex(c), BitmapFont::NoGlyph) << char(c);
    }
    int32_t w = 0, h = 0;
    digits.Measure(u"28point", w, h);
    EXPECT_GT(w, 7 * 5);
    EXPECT_EQ(h, digits.LineHeight());
}
