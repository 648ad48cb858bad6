// The generated pictures and fonts of the build's content folder: names, sizes and kinds, side
// colours that colour-blind players can tell apart, cell pictures centred on their pivot.
#include "graphics/BitmapFont.h"
#include "graphics/Qim.h"
#include "graphics/TrigTable.h"
#include "io/FileReader.h"
#include "io/FileSystem.h"
#include "io/MemoryStream.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;
using Graphics::Surface16;

namespace {

fs::path ContentDir()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return dir ? fs::path(dir).parent_path() / "content" : fs::path();
}

#define REQUIRE_CONTENT()                                                                          \
    if (ContentDir().empty()) {                                                                    \
        GTEST_SKIP() << "TAVLO_GAME_DIR is set when the tests run through ctest";                  \
    }

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// An image of content/Images with the kind byte of its file.
struct Image
{
    std::unique_ptr<Surface16> surface;
    int kind = -1;
};

Image Load(const std::string& name)
{
    std::vector<uint8_t> bytes = ReadBytes(ContentDir() / "Images" / (name + ".qim"));
    Image image;
    if (bytes.size() < Graphics::QimHeaderSize) {
        return image;
    }
    image.kind = bytes[2];
    IO::MemoryStream stream;
    stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    image.surface = Graphics::DecodeQim(stream);
    return image;
}

uint8_t AlphaAt(const Surface16& s, int x, int y)
{
    return s.Alpha()[static_cast<size_t>(y) * s.Stride() + x];
}

uint16_t PixelAt(const Surface16& s, int x, int y)
{
    return s.Pixels()[static_cast<size_t>(y) * s.Stride() + x];
}

struct Rgb
{
    double r, g, b; // 0 to 255
};

Rgb Expand(uint16_t p)
{
    return {((p >> 11) & 31) * 255.0 / 31, ((p >> 5) & 63) * 255.0 / 63, (p & 31) * 255.0 / 31};
}

// --- Colour science: sRGB to CIELAB (D65), and dichromat simulation ---

double Linear(double c)
{
    c /= 255;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

struct Lab
{
    double l, a, b;
};

Lab LabFromLinear(double r, double g, double b)
{
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

using Matrix = std::array<std::array<double, 3>, 3>;
// Full-severity protanopia and deuteranopia in linear RGB (Machado, Oliveira and Fernandes,
// 2009).
constexpr Matrix Normal = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix Protanopia = {{{0.152286, 1.052583, -0.204868},
                                {0.114503, 0.786281, 0.099216},
                                {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix Deuteranopia = {{{0.367322, 0.860646, -0.227968},
                                  {0.280085, 0.672501, 0.047413},
                                  {-0.011820, 0.042940, 0.968881}}};

Lab Seen(const Rgb& c, const Matrix& m)
{
    const double in[3] = {Linear(c.r), Linear(c.g), Linear(c.b)};
    double out[3];
    for (int i = 0; i < 3; ++i) {
        out[i] = std::clamp(m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2], 0.0, 1.0);
    }
    return LabFromLinear(out[0], out[1], out[2]);
}

double DeltaE(const Lab& p, const Lab& q)
{
    return std::sqrt((p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) +
                     (p.b - q.b) * (p.b - q.b));
}

double MinimumDistance(const std::vector<Rgb>& colours, const Matrix& m)
{
    double least = 1e9;
    for (size_t i = 0; i < colours.size(); ++i) {
        for (size_t j = i + 1; j < colours.size(); ++j) {
            least = std::min(least, DeltaE(Seen(colours[i], m), Seen(colours[j], m)));
        }
    }
    return least;
}

// The colour on the middle line of each bar of a side strip.
std::vector<Rgb> BarColours(const Surface16& strip, int thickness)
{
    std::vector<Rgb> colours;
    for (int bar = 0; bar < 7; ++bar) {
        colours.push_back(Expand(
            PixelAt(strip, static_cast<int>(strip.Width()) / 2, bar * thickness + thickness / 2)));
    }
    return colours;
}

// --- The images ---

struct Expected
{
    std::string name;
    uint32_t width;
    uint32_t height;
    int kind;
};

std::vector<Expected> FixedSizeImages()
{
    std::vector<Expected> list = {
        {"loading", 240, 320, Graphics::QimKind::Opaque},
        {"cr30", 27, 63, Graphics::QimKind::WithAlpha},
        {"cr40", 33, 77, Graphics::QimKind::WithAlpha},
        {"Chain", 9, 9, Graphics::QimKind::WithAlpha},
        {"Chain2", 11, 11, Graphics::QimKind::WithAlpha},
        {"bonuses30", 22, 22 * 12, Graphics::QimKind::WithAlpha},
        {"bonuses40", 29, 29 * 12, Graphics::QimKind::WithAlpha},
        {"menu_bg", 240, 320, Graphics::QimKind::Opaque},
        {"menu_title", 184, 60, Graphics::QimKind::WithAlpha},
        {"help1", 200, 92, Graphics::QimKind::WithAlpha},
        {"help5", 6 * 26 + 5 * 8, 2 * 26 + 8, Graphics::QimKind::WithAlpha},
        {"hud", 240, 40, Graphics::QimKind::Opaque},
        {"hud_clock", 14, 14, Graphics::QimKind::WithAlpha},
        {"hud_life", 14, 14, Graphics::QimKind::WithAlpha},
    };
    return list;
}

TEST(ArtGen, EveryFixedSizeImageHasItsSizeAndKind)
{
    REQUIRE_CONTENT();
    for (const Expected& e : FixedSizeImages()) {
        const Image image = Load(e.name);
        ASSERT_TRUE(image.surface) << e.name;
        EXPECT_EQ(image.surface->Width(), e.width) << e.name;
        EXPECT_EQ(image.surface->Height(), e.height) << e.name;
        EXPECT_EQ(image.kind, e.kind) << e.name;
    }
}

// The HUD's three wells sit darker than the plain bar beside the menu button, the bar ends
// in a dark line over the board, and its icons are solid shapes on a clear ground.
TEST(ArtGen, TheHudShowsDarkWellsAndSolidIcons)
{
    REQUIRE_CONTENT();
    const Image hud = Load("hud");
    ASSERT_TRUE(hud.surface);
    // Channel sums averaged over a block; 4 pixels wide, a whole cycle of the dither.
    auto brightness = [&](int x0, int y0, int rows) {
        double sum = 0;
        for (int y = y0; y < y0 + rows; ++y) {
            for (int x = x0; x < x0 + 4; ++x) {
                const Rgb c = Expand(PixelAt(*hud.surface, x, y));
                sum += c.r + c.g + c.b;
            }
        }
        return sum / (4 * rows);
    };
    const double bar = brightness(20, 16, 4);
    for (const int wellMiddle : {66, 138, 213})
        EXPECT_LT(brightness(wellMiddle - 2, 16, 4), bar - 40) << "well at x " << wellMiddle;
    EXPECT_LT(brightness(20, 39, 1), brightness(20, 35, 1) - 40);

    for (const std::string name : {"hud_clock", "hud_life"}) {
        const Image icon = Load(name);
        ASSERT_TRUE(icon.surface && icon.surface->HasAlpha()) << name;
        EXPECT_EQ(AlphaAt(*icon.surface, 7, 7), 255) << name;
        for (const auto& [x, y] : {std::pair{0, 0}, {13, 0}, {0, 13}, {13, 13}})
            EXPECT_LT(AlphaAt(*icon.surface, x, y), 16) << name << " corner " << x << "," << y;
    }
}

TEST(ArtGen, AnimationsAreSquareFramesStackedVertically)
{
    REQUIRE_CONTENT();
    struct Strip
    {
        std::string name;
        uint32_t frames;
    };
    const Strip strips[] = {{"ani_bonuses", 11}, {"ani_bonuses2", 11}, {"ani1", 8}, {"ani2", 8},
                            {"ani3", 8},         {"ani4", 8},          {"ani5", 8}};
    for (const Strip& s : strips) {
        const Image image = Load(s.name);
        ASSERT_TRUE(image.surface) << s.name;
        const Surface16& strip = *image.surface;
        EXPECT_EQ(image.kind, Graphics::QimKind::WithAlpha) << s.name;
        const uint32_t w = strip.Width();
        EXPECT_EQ(strip.Height(), w * s.frames) << s.name;
        ASSERT_TRUE(strip.HasAlpha());
        // Every frame shows something and keeps its corners clear; what shows is light, so
        // a tint painted through the alpha is what the player sees either way.
        for (uint32_t f = 0; f < s.frames; ++f) {
            const int top = static_cast<int>(f * w);
            int lit = 0;
            for (uint32_t y = 0; y < w; ++y) {
                for (uint32_t x = 0; x < w; ++x) {
                    if (AlphaAt(strip, x, top + y) > 100) {
                        ++lit;
                        const Rgb c = Expand(PixelAt(strip, x, top + y));
                        EXPECT_GT(c.r + c.g + c.b, 600) << s.name << " frame " << f;
                    }
                }
            }
            EXPECT_GT(lit, 0) << s.name << " frame " << f;
            EXPECT_LT(AlphaAt(strip, 0, top), 16) << s.name << " frame " << f;
            EXPECT_LT(AlphaAt(strip, w - 1, top + w - 1), 16) << s.name << " frame " << f;
        }
    }
}

TEST(ArtGen, TheBonusPulseLeavesTheIconVisibleAndMoves)
{
    REQUIRE_CONTENT();
    for (const std::string name : {"ani_bonuses", "ani_bonuses2"}) {
        const Image image = Load(name);
        ASSERT_TRUE(image.surface) << name;
        const Surface16& strip = *image.surface;
        const int w = static_cast<int>(strip.Width());
        for (int f = 0; f < 11; ++f) {
            EXPECT_LT(AlphaAt(strip, w / 2, f * w + w / 2), 32) << name << " frame " << f;
        }
        // Consecutive frames differ: the ring moves.
        for (int f = 0; f + 1 < 11; ++f) {
            int changed = 0;
            for (int y = 0; y < w; ++y) {
                for (int x = 0; x < w; ++x) {
                    changed += AlphaAt(strip, x, f * w + y) != AlphaAt(strip, x, (f + 1) * w + y);
                }
            }
            EXPECT_GT(changed, w) << name << " frame " << f;
        }
    }
}

TEST(ArtGen, ParticlesFadeOverTheirLife)
{
    REQUIRE_CONTENT();
    for (int kind = 1; kind <= 5; ++kind) {
        const Image image = Load("ani" + std::to_string(kind));
        ASSERT_TRUE(image.surface);
        const Surface16& strip = *image.surface;
        const int w = static_cast<int>(strip.Width());
        auto total = [&](int frame) {
            long sum = 0;
            for (int y = 0; y < w; ++y) {
                for (int x = 0; x < w; ++x) {
                    sum += AlphaAt(strip, x, frame * w + y);
                }
            }
            return sum;
        };
        EXPECT_GT(total(0), 2 * total(7)) << "ani" << kind;
    }
}

TEST(ArtGen, SideStripsHaveSevenDistinctRoundedBars)
{
    REQUIRE_CONTENT();
    for (const auto& [name, thickness] : {std::pair{"cr30", 9}, std::pair{"cr40", 11}}) {
        const Image image = Load(name);
        ASSERT_TRUE(image.surface && image.surface->HasAlpha()) << name;
        const Surface16& strip = *image.surface;
        const int last = static_cast<int>(strip.Width()) - 1;
        for (int bar = 0; bar < 7; ++bar) {
            const int mid = bar * thickness + thickness / 2;
            EXPECT_EQ(AlphaAt(strip, last / 2, mid), 255) << name << " bar " << bar;
            // Round ends: the corners are clear, the ends of the middle line are not.
            EXPECT_LT(AlphaAt(strip, 0, bar * thickness), 64) << name << " bar " << bar;
            EXPECT_LT(AlphaAt(strip, last, bar * thickness + thickness - 1), 64) << name;
            EXPECT_GT(AlphaAt(strip, 0, mid), 100) << name << " bar " << bar;
            EXPECT_GT(AlphaAt(strip, last, mid), 100) << name << " bar " << bar;
            // Lit from above: the upper half is lighter than the lower half.
            const Rgb upper = Expand(PixelAt(strip, last / 2, bar * thickness + thickness / 4));
            const Rgb lower =
                Expand(PixelAt(strip, last / 2, bar * thickness + thickness - 1 - thickness / 4));
            EXPECT_GT(upper.r + upper.g + upper.b, lower.r + lower.g + lower.b) << name;
        }
        const std::vector<Rgb> colours = BarColours(strip, thickness);
        EXPECT_GT(MinimumDistance(colours, Normal), 20.0) << name;
    }
}

// The six colours and the grey, as players see them with full protanopia or deuteranopia:
// every pair stays at least 20 CIELAB units apart (about four times a just-noticeable step).
TEST(ArtGen, SideColoursStayApartForColourBlindPlayers)
{
    REQUIRE_CONTENT();
    for (const auto& [name, thickness] : {std::pair{"cr30", 9}, std::pair{"cr40", 11}}) {
        const Image image = Load(name);
        ASSERT_TRUE(image.surface) << name;
        const std::vector<Rgb> colours = BarColours(*image.surface, thickness);
        const double normal = MinimumDistance(colours, Normal);
        const double deuteranopia = MinimumDistance(colours, Deuteranopia);
        const double protanopia = MinimumDistance(colours, Protanopia);
        std::printf("%s minimum colour distance (CIE76): normal %.1f, deuteranopia %.1f, "
                    "protanopia %.1f\n",
                    name, normal, deuteranopia, protanopia);
        EXPECT_GE(normal, 20.0) << name;
        EXPECT_GE(deuteranopia, 20.0) << name;
        EXPECT_GE(protanopia, 20.0) << name;
    }
}

TEST(ArtGen, TheSimulationSeparatesWhatItShould)
{
    // Red and green that differ mostly along the red-green axis collapse for dichromats,
    // while blue and yellow stay apart: the check above can fail.
    const std::vector<Rgb> redGreen = {{200, 90, 60}, {110, 130, 60}};
    EXPECT_GT(MinimumDistance(redGreen, Normal), 30.0);
    EXPECT_LT(MinimumDistance(redGreen, Deuteranopia), 12.0);
    EXPECT_LT(MinimumDistance(redGreen, Protanopia), 15.0);
    const std::vector<Rgb> blueYellow = {{40, 110, 250}, {250, 224, 40}};
    EXPECT_GT(MinimumDistance(blueYellow, Deuteranopia), 50.0);
    EXPECT_GT(MinimumDistance(blueYellow, Protanopia), 50.0);
}

TEST(ArtGen, JointsAreRoundAndSolid)
{
    REQUIRE_CONTENT();
    for (const std::string name : {"Chain", "Chain2"}) {
        const Image image = Load(name);
        ASSERT_TRUE(image.surface && image.surface->HasAlpha()) << name;
        const Surface16& s = *image.surface;
        const int last = static_cast<int>(s.Width()) - 1;
        EXPECT_EQ(AlphaAt(s, last / 2, last / 2), 255) << name;
        for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
            EXPECT_LT(AlphaAt(s, x, y), 64) << name;
        }
    }
}

// The pivot the board drawing pins a cell picture to: the middle for an even side count, and
// for an odd one the middle column at the inradius from the top, computed with the game's
// trigonometry table.
std::pair<int, int> Pivot(const Graphics::TrigTable& trig, int sides, float cellSize, int width,
                          int height)
{
    if (sides % 2 == 0) {
        return {width / 2, height / 2};
    }
    const auto alpha = static_cast<uint16_t>(((sides - 2) * 32767 / sides) / 2);
    return {width / 2,
            static_cast<int>((cellSize / 2) * std::fabs(trig.Sin(alpha) / trig.Cos(alpha)))};
}

TEST(ArtGen, CellPicturesAreTranslucentPolygonsCentredOnTheirPivot)
{
    REQUIRE_CONTENT();
    std::vector<uint8_t> table = ReadBytes(ContentDir() / "trigo.dat");
    ASSERT_FALSE(table.empty());
    IO::MemoryStream stream;
    stream.Open(table.data(), static_cast<uint32_t>(table.size()));
    IO::FileReader reader(&stream);
    Graphics::TrigTable trig;
    ASSERT_EQ(trig.Read(reader), Graphics::TrigResult::Ok);

    constexpr double Pi = 3.14159265358979323846;
    for (const auto& [prefix, cellSize] : {std::pair{"Poly", 30}, std::pair{"Poly2_", 40}}) {
        for (int n = 3; n <= 12; ++n) {
            const std::string name = prefix + std::to_string(n);
            const Image image = Load(name);
            ASSERT_TRUE(image.surface) << name;
            const Surface16& s = *image.surface;
            EXPECT_EQ(image.kind, Graphics::QimKind::WithAlpha) << name;
            const int w = static_cast<int>(s.Width());
            const int h = static_cast<int>(s.Height());
            const auto [px, py] = Pivot(trig, n, static_cast<float>(cellSize), w, h);
            ASSERT_LT(py, h) << name;

            // Translucent at the centre, so the background shows through.
            const uint8_t centre = AlphaAt(s, px, py);
            EXPECT_GE(centre, 60) << name;
            EXPECT_LE(centre, 180) << name;

            // Mirror-symmetric about the pivot column.
            for (int y = 0; y < h; ++y) {
                for (int d = 1; px + d < w; ++d) {
                    EXPECT_NEAR(AlphaAt(s, px - d, y), AlphaAt(s, px + d, y), 24)
                        << name << " row " << y << " offset " << d;
                }
            }
            // From the pivot pixel's centre: the first side lies the inradius above, and the
            // far edge (a side for even n, a corner for odd n) the inradius or the
            // circumradius below.
            const double inner = cellSize / (2 * std::tan(Pi / n));
            const double outer = cellSize / (2 * std::sin(Pi / n));
            int top = h;
            int bottom = -1;
            int left = w;
            for (int y = 0; y < h; ++y) {
                if (AlphaAt(s, px, y) >= 48) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
                for (int x = 0; x < w; ++x) {
                    if (AlphaAt(s, x, y) >= 48) {
                        left = std::min(left, x);
                    }
                }
            }
            const double centreY = py + 0.5;
            EXPECT_NEAR(centreY - top, inner, 1.0) << name;
            EXPECT_NEAR(bottom + 1 - centreY, n % 2 == 0 ? inner : outer, 1.0) << name;
            // The widest point: the circumradius for n = 4k + 2, else a vertical side's.
            double halfWidth = 0;
            for (int k = 0; k < n; ++k) {
                halfWidth =
                    std::max(halfWidth, std::fabs(outer * std::cos(Pi / n * (2 * k + 1) - Pi / 2)));
            }
            EXPECT_NEAR(px + 0.5 - left, halfWidth, 1.0) << name;
        }
    }
}

TEST(ArtGen, BonusIconsAreTwelveDifferentBadges)
{
    REQUIRE_CONTENT();
    for (const auto& [name, size] : {std::pair{"bonuses30", 22}, std::pair{"bonuses40", 29}}) {
        const Image image = Load(name);
        ASSERT_TRUE(image.surface && image.surface->HasAlpha()) << name;
        const Surface16& s = *image.surface;
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(AlphaAt(s, size / 2, i * size + size / 2), 255) << name << " icon " << i;
            EXPECT_LT(AlphaAt(s, 0, i * size), 128) << name << " icon " << i; // round corners
        }
        for (int i = 0; i < 12; ++i) {
            for (int j = i + 1; j < 12; ++j) {
                int differing = 0;
                for (int y = 0; y < size; ++y) {
                    for (int x = 0; x < size; ++x) {
                        const Rgb p = Expand(PixelAt(s, x, i * size + y));
                        const Rgb q = Expand(PixelAt(s, x, j * size + y));
                        differing +=
                            std::fabs(p.r - q.r) + std::fabs(p.g - q.g) + std::fabs(p.b - q.b) >
                            120;
                    }
                }
                EXPECT_GT(differing, size) << name << " icons " << i + 1 << " and " << j + 1;
            }
        }
    }
}

TEST(ArtGen, BackgroundsAreCalmOpaqueScreensTheSidesStandOutOn)
{
    REQUIRE_CONTENT();
    const fs::path folder = ContentDir() / "Images" / "backgrounds";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".qim") {
            names.push_back(entry.path().stem().string());
        }
    }
    EXPECT_GE(names.size(), 8u);
    const Image strip = Load("cr30");
    ASSERT_TRUE(strip.surface);
    const std::vector<Rgb> sides = BarColours(*strip.surface, 9);
    for (const std::string& name : names) {
        const Image image = Load("backgrounds/" + name);
        ASSERT_TRUE(image.surface) << name;
        const Surface16& s = *image.surface;
        EXPECT_EQ(image.kind, Graphics::QimKind::Opaque) << name;
        EXPECT_EQ(s.Width(), 240u) << name;
        EXPECT_EQ(s.Height(), 320u) << name;
        // Dark and quiet: the mean lightness is low and no pixel is bright.
        double lightness = 0;
        double brightest = 0;
        for (uint32_t y = 0; y < 320; ++y) {
            for (uint32_t x = 0; x < 240; ++x) {
                const Rgb c = Expand(PixelAt(s, x, y));
                const double l = LabFromLinear(Linear(c.r), Linear(c.g), Linear(c.b)).l;
                lightness += l;
                brightest = std::max(brightest, l);
            }
        }
        lightness /= 240.0 * 320.0;
        EXPECT_LT(lightness, 25.0) << name;
        EXPECT_GT(lightness, 3.0) << name;
        EXPECT_LT(brightest, 40.0) << name;
        // Every side colour, the grey included, is far lighter than the background.
        for (const Rgb& side : sides) {
            const double l = LabFromLinear(Linear(side.r), Linear(side.g), Linear(side.b)).l;
            EXPECT_GT(l - lightness, 25.0) << name;
        }
    }
}

bool LoadFont(const std::u16string& name, Utils::BitmapFont& font)
{
    IO::FileSystem files;
    const std::string root = (ContentDir() / "Images").string();
    if (files.Mount(std::u16string(root.begin(), root.end())) != 0) {
        return false;
    }
    return font.Load(files.GetRoot(), name);
}

TEST(ArtGen, TheScreenFontsLoadFromTheImagesFolder)
{
    REQUIRE_CONTENT();
    Utils::BitmapFont title, ui, small, digits;
    ASSERT_TRUE(LoadFont(u"title", title));
    ASSERT_TRUE(LoadFont(u"ui", ui));
    ASSERT_TRUE(LoadFont(u"small", small));
    ASSERT_TRUE(LoadFont(u"digits", digits));
    for (const Utils::BitmapFont* font : {&title, &ui, &small}) {
        for (char16_t c : std::u16string(u" Az09~\u00E9\u00FC\u00C5")) {
            EXPECT_NE(font->GlyphIndex(c), Utils::BitmapFont::NoGlyph) << int(c);
        }
    }
    for (char16_t c : std::u16string(u"0123456789+-point")) {
        EXPECT_NE(digits.GlyphIndex(c), Utils::BitmapFont::NoGlyph) << int(c);
    }
    EXPECT_GT(title.LineHeight(), ui.LineHeight());
    EXPECT_GT(ui.LineHeight(), small.LineHeight());
}

} // namespace
