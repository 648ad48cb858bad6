// fontbake: renders characters of a TrueType or OpenType font with FreeType into the game's
// bitmap font files, NAME.fnt (ranges, glyph spans, kerning pairs, spacing, top, line height)
// and NAME.qim (the sheet: white glyphs side by side, their antialiased coverage as alpha).
#include "graphics/Qim.h"
#include "io/Utf8.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

constexpr int MaxPixels = 1024;
constexpr uint32_t MaxSheetWidth = 65535;
constexpr const char* RangesPrefix = "ranges:";

const char* const UsageText =
    "usage: fontbake [--spacing N] [--line-height N] FONT PIXELS CHARS OUTBASE\n"
    "  FONT     a TrueType or OpenType font file\n"
    "  PIXELS   the size in pixels per em, 1 to 1024\n"
    "  CHARS    the characters to bake: UTF-8 text such as \"0123456789point\", or \"ranges:\"\n"
    "           and decimal code points or inclusive ranges, such as \"ranges:32-126,160-255\"\n"
    "  OUTBASE  the path of the output without extension: OUTBASE.fnt and OUTBASE.qim\n"
    "  --spacing N      taken off every advance, positive tightens the text (default 0)\n"
    "  --line-height N  distance between lines (default: the font's own at that size)\n"
    "Characters must lie in U+0000 to U+FFFF; those the font lacks are skipped with a warning.\n";

int Usage(const std::string& reason)
{
    std::fprintf(stderr, "fontbake: %s\n%s", reason.c_str(), UsageText);
    return ExitUsage;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "fontbake: %s\n", message.c_str());
    return ExitFailed;
}

bool ParseInt(const std::string& text, long min, long max, long& out)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty() && out >= min && out <= max;
}

// The code points CHARS names, sorted and without repeats.
bool ParseChars(const std::string& chars, std::set<char16_t>& out, std::string& error)
{
    if (chars.rfind(RangesPrefix, 0) == 0) {
        std::string list = chars.substr(std::char_traits<char>::length(RangesPrefix));
        size_t start = 0;
        while (start <= list.size()) {
            const size_t comma = std::min(list.find(',', start), list.size());
            const std::string item = list.substr(start, comma - start);
            const size_t dash = item.find('-');
            long first = 0;
            long last = 0;
            const bool ok = dash == std::string::npos
                                ? ParseInt(item, 0, 0xFFFF, first) && (last = first, true)
                                : ParseInt(item.substr(0, dash), 0, 0xFFFF, first) &&
                                      ParseInt(item.substr(dash + 1), 0, 0xFFFF, last);
            if (!ok || last < first) {
                error = "bad range \"" + item + "\" in CHARS (decimal code points up to 65535)";
                return false;
            }
            for (long c = first; c <= last; ++c) {
                out.insert(static_cast<char16_t>(c));
            }
            start = comma + 1;
        }
        return true;
    }
    std::u16string text;
    if (!IO::Utf8ToUtf16(chars, text)) {
        error = "CHARS is not valid UTF-8";
        return false;
    }
    for (char16_t c : text) {
        // Surrogates only appear for characters above U+FFFF, which the game's text cannot hold.
        if (c >= 0xD800 && c <= 0xDFFF) {
            error = "CHARS holds a character above U+FFFF";
            return false;
        }
        out.insert(c);
    }
    if (out.empty()) {
        error = "CHARS is empty";
        return false;
    }
    return true;
}

// A glyph rendered and placed: its coverage bitmap and where it stands in its span.
struct BakedGlyph
{
    char16_t code = 0;
    FT_UInt index = 0;
    int32_t spanWidth = 0;
    int32_t inkX = 0;   // column of the bitmap within the span
    int32_t inkTop = 0; // rows of the bitmap above the baseline
    uint32_t width = 0;
    uint32_t rows = 0;
    std::vector<uint8_t> coverage; // width x rows
};

// Rounds a 26.6 fixed-point value to whole pixels, halves away from zero.
int32_t RoundPixels(FT_Pos v)
{
    return static_cast<int32_t>(v >= 0 ? (v + 32) / 64 : -((-v + 32) / 64));
}

class FontFile
{
public:
    ~FontFile()
    {
        if (face) {
            FT_Done_Face(face);
        }
        if (library) {
            FT_Done_FreeType(library);
        }
    }
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

bool Render(FT_Face face, char16_t code, BakedGlyph& glyph)
{
    glyph.code = code;
    glyph.index = FT_Get_Char_Index(face, code);
    if (glyph.index == 0 || FT_Load_Glyph(face, glyph.index, FT_LOAD_RENDER) != 0) {
        return false;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.width > 0) {
        return false;
    }
    glyph.width = bitmap.width;
    glyph.rows = bitmap.rows;
    glyph.inkTop = slot->bitmap_top;
    glyph.coverage.resize(static_cast<size_t>(bitmap.width) * bitmap.rows);
    for (uint32_t y = 0; y < bitmap.rows; ++y) {
        const uint8_t* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        std::copy(row, row + bitmap.width, glyph.coverage.begin() + y * bitmap.width);
    }
    // The span is the advance, widened where the ink reaches past it on either side, so no
    // ink is cut off; the game advances by the span's width.
    const int32_t advance = RoundPixels(slot->advance.x);
    const int32_t inkLeft = glyph.width > 0 ? slot->bitmap_left : 0;
    const int32_t inkRight = inkLeft + static_cast<int32_t>(glyph.width);
    const int32_t shift = std::max(0, -inkLeft);
    glyph.inkX = inkLeft + shift;
    glyph.spanWidth = std::max(advance, inkRight) + shift;
    return true;
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

struct Options
{
    std::string fontPath;
    long pixels = 0;
    std::set<char16_t> chars;
    std::string outBase;
    long spacing = 0;
    long lineHeight = -1; // the font's own
};

int Bake(const Options& options)
{
    FontFile font;
    if (FT_Init_FreeType(&font.library) != 0) {
        return Fail("cannot start FreeType");
    }
    if (FT_New_Face(font.library, options.fontPath.c_str(), 0, &font.face) != 0) {
        return Fail(options.fontPath + ": not a font FreeType can read");
    }
    FT_Face face = font.face;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(options.pixels)) != 0) {
        return Fail(options.fontPath + ": cannot be set to " + std::to_string(options.pixels) +
                    " pixels");
    }

    std::vector<BakedGlyph> glyphs;
    for (char16_t c : options.chars) {
        BakedGlyph glyph;
        if (!Render(face, c, glyph)) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", unsigned{c});
            std::fprintf(stderr, "fontbake: warning: %s has no glyph for %s; skipped\n",
                         options.fontPath.c_str(), code);
            continue;
        }
        glyphs.push_back(std::move(glyph));
    }
    if (glyphs.empty()) {
        return Fail(options.fontPath + " has none of the characters asked for");
    }
    if (glyphs.size() > 0xFFFF) {
        return Fail("more than 65535 glyphs for the .fnt format");
    }

    // Rows: from the higher of the ascender and the highest ink down to the lower of the
    // descender and the lowest ink, so the baseline sits at the same row for every glyph.
    int32_t above = RoundPixels(face->size->metrics.ascender);
    int32_t below = -RoundPixels(face->size->metrics.descender);
    uint32_t sheetWidth = 0;
    for (const BakedGlyph& g : glyphs) {
        if (g.rows > 0) {
            above = std::max(above, g.inkTop);
            below = std::max(below, static_cast<int32_t>(g.rows) - g.inkTop);
        }
        sheetWidth += static_cast<uint32_t>(g.spanWidth);
    }
    const int32_t sheetHeight = std::max(above + below, 1);
    if (sheetWidth > MaxSheetWidth || sheetHeight > 0xFFFF) {
        return Fail("the sheet would be " + std::to_string(sheetWidth) + "x" +
                    std::to_string(sheetHeight) + " pixels; at most 65535 on a side");
    }
    const long lineHeight =
        options.lineHeight >= 0 ? options.lineHeight : RoundPixels(face->size->metrics.height);
    if (lineHeight > std::numeric_limits<int16_t>::max()) {
        return Fail("the line height " + std::to_string(lineHeight) + " is too large");
    }

    Graphics::Surface16 sheet;
    if (sheet.Create(std::max<uint32_t>(sheetWidth, 1), static_cast<uint32_t>(sheetHeight), true) !=
        Graphics::SurfaceResult::Ok) {
        return Fail("out of memory");
    }
    std::fill_n(sheet.Pixels(), static_cast<size_t>(sheet.Width()) * sheet.Height(),
                uint16_t{0xFFFF});

    // Metrics: consecutive characters form one range; the glyphs follow character order.
    std::vector<uint8_t> fnt;
    std::vector<std::pair<uint32_t, uint32_t>> ranges; // first glyph, count
    for (uint32_t i = 0; i < glyphs.size(); ++i) {
        if (i > 0 && glyphs[i].code == glyphs[i - 1].code + 1) {
            ++ranges.back().second;
        } else {
            ranges.push_back({i, 1});
        }
    }
    Put16(fnt, static_cast<uint32_t>(ranges.size()));
    for (const auto& [first, count] : ranges) {
        Put16(fnt, first);
        Put16(fnt, count);
        Put16(fnt, glyphs[first].code);
    }

    Put16(fnt, static_cast<uint32_t>(glyphs.size()));
    uint32_t left = 0;
    for (const BakedGlyph& g : glyphs) {
        Put16(fnt, left);
        Put16(fnt, left + static_cast<uint32_t>(g.spanWidth));
        for (uint32_t y = 0; y < g.rows; ++y) {
            const int32_t row = above - g.inkTop + static_cast<int32_t>(y);
            for (uint32_t x = 0; x < g.width; ++x) {
                const size_t at = static_cast<size_t>(row) * sheet.Stride() + left +
                                  static_cast<uint32_t>(g.inkX) + x;
                sheet.Alpha()[at] = g.coverage[y * g.width + x];
            }
        }
        left += static_cast<uint32_t>(g.spanWidth);
    }

    // Kerning: for each glyph, the pairs with every baked character that follows it, in
    // character order so the game can search them.
    std::vector<std::pair<uint32_t, uint32_t>> slices; // start, count
    std::vector<std::pair<char16_t, int32_t>> pairs;
    for (const BakedGlyph& prev : glyphs) {
        const size_t start = pairs.size();
        if (FT_HAS_KERNING(face)) {
            for (const BakedGlyph& next : glyphs) {
                FT_Vector delta{};
                if (FT_Get_Kerning(face, prev.index, next.index, FT_KERNING_DEFAULT, &delta) == 0 &&
                    RoundPixels(delta.x) != 0) {
                    pairs.push_back({next.code, RoundPixels(delta.x)});
                }
            }
        }
        if (start > 0xFFFF) {
            return Fail("too many kerning pairs for the .fnt format");
        }
        slices.push_back(
            {static_cast<uint32_t>(start), static_cast<uint32_t>(pairs.size() - start)});
    }
    Put16(fnt, static_cast<uint32_t>(slices.size()));
    for (const auto& [start, count] : slices) {
        Put16(fnt, start);
        Put16(fnt, count);
    }
    Put16(fnt, static_cast<uint32_t>(pairs.size()));
    Put16(fnt, static_cast<uint32_t>(pairs.size() >> 16));
    for (const auto& [code, offset] : pairs) {
        Put16(fnt, code);
        Put16(fnt, static_cast<uint16_t>(static_cast<int16_t>(offset)));
    }
    Put16(fnt, static_cast<uint16_t>(static_cast<int16_t>(options.spacing)));
    Put16(fnt, 0); // top: every row of the sheet belongs to the glyphs
    Put16(fnt, static_cast<uint16_t>(static_cast<int16_t>(lineHeight)));

    const std::vector<uint8_t> qim = Graphics::EncodeQim(sheet);
    if (qim.empty()) {
        return Fail("the sheet cannot be stored as a .qim image");
    }
    if (!WriteFile(options.outBase + ".fnt", fnt)) {
        return Fail(options.outBase + ".fnt: cannot write");
    }
    if (!WriteFile(options.outBase + ".qim", qim)) {
        return Fail(options.outBase + ".qim: cannot write");
    }
    return ExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(UsageText, stdout);
        return ExitOk;
    }
    Options options;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--spacing" || arg == "--line-height") {
            long value = 0;
            const bool spacing = arg == "--spacing";
            if (i + 1 >= args.size() ||
                !ParseInt(args[i + 1], spacing ? std::numeric_limits<int16_t>::min() : 0,
                          std::numeric_limits<int16_t>::max(), value)) {
                return Usage(arg + " needs a whole number" +
                             (spacing ? "" : std::string(" from 0 to 32767")));
            }
            (spacing ? options.spacing : options.lineHeight) = value;
            ++i;
        } else if (arg.rfind("--", 0) == 0) {
            return Usage("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 4) {
        return Usage("expected FONT PIXELS CHARS OUTBASE");
    }
    options.fontPath = positional[0];
    if (!ParseInt(positional[1], 1, MaxPixels, options.pixels)) {
        return Usage("PIXELS must be a whole number from 1 to 1024");
    }
    std::string error;
    if (!ParseChars(positional[2], options.chars, error)) {
        return Usage(error);
    }
    options.outBase = positional[3];
    return Bake(options);
}
