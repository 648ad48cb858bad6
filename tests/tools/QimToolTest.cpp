// The qim tool end to end: PNG to .qim and back for each kind, the info line, the choice of
// kind, and its exit codes for bad usage and damaged files.
#include "graphics/Qim.h"
#include "io/MemoryStream.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

namespace {

using Bytes = std::vector<uint8_t>;

struct Rgba
{
    uint32_t width = 0;
    uint32_t height = 0;
    Bytes pixels; // R, G, B, A per pixel

    bool operator==(const Rgba&) const = default;
};

std::string Qim()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return std::string(dir ? dir : ".") + "/qim";
}

ProcessResult RunQim(const std::vector<std::string>& args)
{
    return RunProcess(Qim(), args);
}

bool WritePng(const std::string& path, const Rgba& image)
{
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) != 0;
}

Rgba ReadPng(const std::string& path)
{
    Rgba image;
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        return image;
    }
    png.format = PNG_FORMAT_RGBA;
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        image.width = png.width;
        image.height = png.height;
    }
    return image;
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<Graphics::Surface16> DecodeFile(const std::string& path)
{
    Bytes bytes = ReadFile(path);
    IO::MemoryStream stream;
    stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return Graphics::DecodeQim(stream);
}

// The RGB565 colour of 8-bit channels, each truncated.
uint16_t To565(const uint8_t* p)
{
    return static_cast<uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
}

// An 8-bit channel value made by repeating the top bits of a 5- or 6-bit one; such values come
// back unchanged from RGB565.
uint8_t Replicated5(uint32_t v)
{
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}
uint8_t Replicated6(uint32_t v)
{
    return static_cast<uint8_t>((v << 2) | (v >> 4));
}

bool OneLineError(const ProcessResult& r)
{
    return r.err.rfind("qim: ", 0) == 0 && r.err.find('\n') == r.err.size() - 1;
}

} // namespace

TEST(QimToolTest, RoundTripsEachKind)
{
    // Six pixels whose channels survive RGB565 unchanged.
    Rgba opaque{3, 2, {}};
    const uint32_t levels[6][3] = {{0, 0, 0},   {31, 63, 31}, {16, 1, 30},
                                   {1, 62, 17}, {9, 33, 5},   {31, 0, 0}};
    for (const auto& l : levels) {
        opaque.pixels.insert(opaque.pixels.end(),
                             {Replicated5(l[0]), Replicated6(l[1]), Replicated5(l[2]), 255});
    }
    Rgba translucent = opaque;
    const uint8_t alphas[6] = {0, 1, 127, 128, 254, 255};
    for (size_t i = 0; i < 6; ++i) {
        translucent.pixels[i * 4 + 3] = alphas[i];
    }

    struct Case
    {
        const char* what;
        Rgba image;
        std::vector<std::string> extra;
        std::string info;
    };
    const Case cases[] = {
        {"translucent: kind 0 by default", translucent, {}, "0 3 2\n"},
        {"opaque: kind 1 by default", opaque, {}, "1 3 2\n"},
        {"opaque as kind 0", opaque, {"--kind", "0"}, "0 3 2\n"},
        {"paletted", opaque, {"--kind", "2"}, "2 3 2 6\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        ASSERT_TRUE(WritePng(dir.Path("in.png"), c.image));
        std::vector<std::string> args = {"frompng", dir.Path("in.png"), dir.Path("out.qim")};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        ProcessResult made = RunQim(args);
        ASSERT_EQ(made.exitCode, 0) << made.err;

        ProcessResult info = RunQim({"info", dir.Path("out.qim")});
        EXPECT_EQ(info.exitCode, 0);
        EXPECT_EQ(info.out, c.info);
        EXPECT_EQ(info.err, "");

        ASSERT_EQ(RunQim({"topng", dir.Path("out.qim"), dir.Path("back.png")}).exitCode, 0);
        EXPECT_EQ(ReadPng(dir.Path("back.png")), c.image);
    }
}

TEST(QimToolTest, TruncatesColoursToRgb565)
{
    TempDir dir;
    // Low bits that RGB565 cannot hold, and alpha kept as it is.
    Rgba image{2, 1, {0x87, 0x45, 0xFF, 200, 0x07, 0x03, 0x0C, 255}};
    ASSERT_TRUE(WritePng(dir.Path("in.png"), image));
    ASSERT_EQ(RunQim({"frompng", dir.Path("in.png"), dir.Path("out.qim")}).exitCode, 0);

    auto s = DecodeFile(dir.Path("out.qim"));
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->HasAlpha());
    EXPECT_EQ(s->Pixels()[0], To565(&image.pixels[0]));
    EXPECT_EQ(s->Pixels()[1], To565(&image.pixels[4]));
    EXPECT_EQ(s->Alpha()[0], 200);
    EXPECT_EQ(s->Alpha()[1], 255);

    // Back to PNG, each channel is its truncated value with the top bits repeated below it.
    ASSERT_EQ(RunQim({"topng", dir.Path("out.qim"), dir.Path("back.png")}).exitCode, 0);
    Rgba back = ReadPng(dir.Path("back.png"));
    const Bytes expected = {
        Replicated5(0x87 >> 3), Replicated6(0x45 >> 2), 0xFF, 200, Replicated5(0x07 >> 3),
        Replicated6(0x03 >> 2), Replicated5(0x0C >> 3), 255};
    EXPECT_EQ(back.pixels, expected);
}

TEST(QimToolTest, PalettesHoldAtMost256Colours)
{
    // Colours that differ only in bits RGB565 drops are one palette entry.
    Rgba close{8, 1, {}};
    for (uint8_t i = 0; i < 8; ++i) {
        close.pixels.insert(close.pixels.end(), {i, static_cast<uint8_t>(i / 2), i, 255});
    }
    // 256 and 257 different RGB565 colours.
    auto distinct = [](uint32_t n) {
        Rgba image{n, 1, {}};
        for (uint32_t i = 0; i < n; ++i) {
            image.pixels.insert(image.pixels.end(), {static_cast<uint8_t>((i & 31) << 3),
                                                     static_cast<uint8_t>((i >> 5) << 2), 0, 255});
        }
        return image;
    };

    TempDir dir;
    ASSERT_TRUE(WritePng(dir.Path("close.png"), close));
    ASSERT_TRUE(WritePng(dir.Path("256.png"), distinct(256)));
    ASSERT_TRUE(WritePng(dir.Path("257.png"), distinct(257)));

    ASSERT_EQ(
        RunQim({"frompng", dir.Path("close.png"), dir.Path("close.qim"), "--kind", "2"}).exitCode,
        0);
    EXPECT_EQ(RunQim({"info", dir.Path("close.qim")}).out, "2 8 1 1\n");

    ASSERT_EQ(RunQim({"frompng", "--kind", "2", dir.Path("256.png"), dir.Path("256.qim")}).exitCode,
              0);
    EXPECT_EQ(RunQim({"info", dir.Path("256.qim")}).out, "2 256 1 256\n");

    ProcessResult tooMany =
        RunQim({"frompng", dir.Path("257.png"), dir.Path("257.qim"), "--kind", "2"});
    EXPECT_EQ(tooMany.exitCode, 1);
    EXPECT_TRUE(OneLineError(tooMany)) << tooMany.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("257.qim")));
}

TEST(QimToolTest, ShowsImagesAsTheGameReadsThem)
{
    TempDir dir;
    // Kind 2 with one colour (pure green) and the indices 0 and 7: 7 draws nothing.
    WriteFile(dir.Path("p.qim"), {0xB7, 0xFE, 2, 0, 2, 0, 1, 0, 0xE0, 0x07, 0, 7});
    ASSERT_EQ(RunQim({"topng", dir.Path("p.qim"), dir.Path("p.png")}).exitCode, 0);
    EXPECT_EQ(ReadPng(dir.Path("p.png")), (Rgba{2, 1, {0, 255, 0, 255, 0, 0, 0, 0}}));

    // Kind 1, 2 x 1, cut after the first pixel (white): the rest is black, with a warning.
    WriteFile(dir.Path("short.qim"), {0xB7, 0xFE, 1, 0, 2, 0, 1, 0, 0xFF, 0xFF});
    ProcessResult info = RunQim({"info", dir.Path("short.qim")});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out, "1 2 1\n");
    EXPECT_NE(info.err.find("warning"), std::string::npos);
    ASSERT_EQ(RunQim({"topng", dir.Path("short.qim"), dir.Path("short.png")}).exitCode, 0);
    EXPECT_EQ(ReadPng(dir.Path("short.png")), (Rgba{2, 1, {255, 255, 255, 255, 0, 0, 0, 255}}));
}

TEST(QimToolTest, FailsOnDamagedFiles)
{
    TempDir dir;
    WriteFile(dir.Path("magic.qim"), {0xFE, 0xB7, 1, 0, 1, 0, 1, 0, 0, 0});
    WriteFile(dir.Path("header.qim"), {0xB7, 0xFE, 1, 0, 1});
    WriteFile(dir.Path("kind.qim"), {0xB7, 0xFE, 3, 0, 1, 0, 1, 0, 0, 0});
    WriteFile(dir.Path("huge.qim"), {0xB7, 0xFE, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    WriteFile(dir.Path("notpng.png"), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'});
    ASSERT_TRUE(WritePng(dir.Path("wide.png"), Rgba{65536, 1, Bytes(65536 * 4, 255)}));
    const std::vector<std::vector<std::string>> runs = {
        {"info", dir.Path("missing.qim")},
        {"info", dir.Path("magic.qim")},
        {"info", dir.Path("header.qim")},
        {"info", dir.Path("kind.qim")},
        {"topng", dir.Path("magic.qim"), dir.Path("out.png")},
        {"topng", dir.Path("kind.qim"), dir.Path("out.png")},
        {"topng", dir.Path("huge.qim"), dir.Path("out.png")},
        {"frompng", dir.Path("notpng.png"), dir.Path("out.qim")},
        {"frompng", dir.Path("missing.png"), dir.Path("out.qim")},
        {"frompng", dir.Path("wide.png"), dir.Path("out.qim")}, // wider than 65535
    };
    for (const auto& args : runs) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        ProcessResult r = RunQim(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(OneLineError(r)) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.qim")));
}

TEST(QimToolTest, RejectsBadUsage)
{
    const std::vector<std::vector<std::string>> runs = {
        {},
        {"info"},
        {"info", "a.qim", "b.qim"},
        {"convert", "a.qim"},
        {"topng", "a.qim"},
        {"topng", "a.qim", "b.png", "--kind", "1"},
        {"frompng", "a.png", "b.qim", "--kind"},
        {"frompng", "a.png", "b.qim", "--kind", "3"},
        {"frompng", "a.png", "b.qim", "--kind", "1", "--kind", "2"},
        {"frompng", "a.png", "b.qim", "--colours"},
    };
    for (const auto& args : runs) {
        ProcessResult r = RunQim(args);
        EXPECT_EQ(r.exitCode, 2) << testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage: qim"), std::string::npos);
    }
    ProcessResult help = RunQim({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: qim"), std::string::npos);
}
