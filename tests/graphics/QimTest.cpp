// Tests of the .qim reader and writer: files are put together byte by byte here, so every
// expected value comes from the file layout, not from the code under test.
#include "graphics/Qim.h"

#include "io/FileSystem.h"
#include "io/MemoryStream.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace Graphics;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Header(uint8_t kind, uint8_t paletteLast, uint16_t width, uint16_t height)
{
    return {0xB7,
            0xFE,
            kind,
            paletteLast,
            static_cast<uint8_t>(width),
            static_cast<uint8_t>(width >> 8),
            static_cast<uint8_t>(height),
            static_cast<uint8_t>(height >> 8)};
}

void AppendU16(Bytes& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

std::unique_ptr<Surface16> Decode(Bytes bytes)
{
    IO::MemoryStream stream;
    stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return DecodeQim(stream);
}

} // namespace

TEST(QimTest, DecodesAndEncodesEachKind)
{
    struct Case
    {
        Bytes file;
        bool paletted;
        std::vector<uint16_t> colours; // pixels, or the palette
        Bytes plane;                   // alpha or indices
    };
    std::vector<Case> cases(3);
    cases[0].file = Header(QimKind::WithAlpha, 0, 3, 2);
    cases[0].colours = {0x0001, 0xF800, 0x07E0, 0x001F, 0xFFFF, 0x1234};
    cases[0].plane = {0, 64, 128, 192, 255, 7};
    cases[1].file = Header(QimKind::Opaque, 0, 240, 320); // 8 + 153600 bytes
    for (uint32_t i = 0; i < 240 * 320; ++i) {
        cases[1].colours.push_back(static_cast<uint16_t>(i * 7));
    }
    cases[2].file = Header(QimKind::Paletted, 255, 4, 1); // 512 bytes of palette
    cases[2].paletted = true;
    for (uint32_t i = 0; i < 256; ++i) {
        cases[2].colours.push_back(static_cast<uint16_t>(0x100 + i));
    }
    cases[2].plane = {0, 255, 128, 1};
    for (Case& c : cases) {
        for (uint16_t v : c.colours) {
            AppendU16(c.file, v);
        }
        c.file.insert(c.file.end(), c.plane.begin(), c.plane.end());
    }
    ASSERT_EQ(cases[1].file.size(), 8u + 153600u);

    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.file[2]));
        auto s = Decode(c.file);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->IsPaletted(), c.paletted);
        EXPECT_EQ(s->HasAlpha(), c.file[2] == QimKind::WithAlpha);
        EXPECT_EQ(s->Alpha() != nullptr, !c.plane.empty());
        EXPECT_EQ(std::vector<uint16_t>(s->Pixels(), s->Pixels() + c.colours.size()), c.colours);
        EXPECT_EQ(Bytes(s->Alpha(), s->Alpha() + c.plane.size()), c.plane);
        EXPECT_EQ(EncodeQim(*s), c.file);
    }
}

TEST(QimTest, RejectsBadHeaders)
{
    struct Case
    {
        Bytes bytes;
        int32_t result;
    };
    std::vector<Case> cases = {
        {{0xFE, 0xB7, 1, 0, 1, 0, 1, 0, 0, 0}, QimResult::BadMagic}, // big-endian magic
        {{0xFE, 0xB7}, QimResult::BadMagic},
        {Header(3, 0, 1, 1), QimResult::UnknownKind},
        {Header(255, 0, 1, 1), QimResult::UnknownKind},
    };
    const Bytes good = Header(QimKind::Opaque, 0, 1, 1);
    for (size_t n = 0; n < good.size(); ++n) {
        cases.push_back({Bytes(good.begin(), good.begin() + n), QimResult::ShortHeader});
    }
    for (Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(Decode(c.bytes), nullptr);
        IO::MemoryStream stream;
        stream.Open(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        QimHeader header;
        EXPECT_EQ(ReadQimHeader(stream, header), c.result);
    }
    EXPECT_EQ(QimPlaneBytes({QimKind::Paletted, 9, 300, 2}), 10u * 2 + 600);
    EXPECT_EQ(QimPlaneBytes({QimKind::WithAlpha, 9, 300, 2}), 600u * 3);
}

TEST(QimTest, ShortPlanesLeaveTheRestZero)
{
    struct Case
    {
        const char* what;
        Bytes file;
        std::vector<uint16_t> colours;
        Bytes plane;
    };
    // Kind 0, 2 x 2, cut inside the pixels (half of the fourth one is there) and inside the
    // alpha plane; kind 2 cut inside its palette of four.
    std::vector<Case> cases = {
        {"pixels",
         Header(QimKind::WithAlpha, 0, 2, 2),
         {0x1111, 0x2222, 0x3333, 0x0044},
         {0, 0, 0, 0}},
        {"alpha",
         Header(QimKind::WithAlpha, 0, 2, 2),
         {0x1111, 0x2222, 0x3333, 0x4444},
         {9, 8, 0, 0}},
        {"palette", Header(QimKind::Paletted, 3, 2, 1), {0xABCD, 0, 0, 0}, {0, 0}},
    };
    for (uint16_t p : {0x1111, 0x2222, 0x3333}) {
        AppendU16(cases[0].file, p);
    }
    cases[0].file.push_back(0x44);
    for (uint16_t p : {0x1111, 0x2222, 0x3333, 0x4444}) {
        AppendU16(cases[1].file, p);
    }
    cases[1].file.insert(cases[1].file.end(), {9, 8});
    AppendU16(cases[2].file, 0xABCD);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto s = Decode(c.file);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(std::vector<uint16_t>(s->Pixels(), s->Pixels() + 4), c.colours);
        EXPECT_EQ(Bytes(s->Alpha(), s->Alpha() + c.plane.size()), c.plane);
    }
}

TEST(QimTest, ImagesTooLargeToAllocateFailCleanly)
{
    for (uint8_t kind : {QimKind::WithAlpha, QimKind::Opaque, QimKind::Paletted}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(Decode(Header(kind, 0, 65535, 65535)), nullptr);
    }
}

TEST(QimTest, PaletteIndicesPastThePaletteDrawNothing)
{
    Bytes file = Header(QimKind::Paletted, 1, 4, 1);
    AppendU16(file, 0xF800);
    AppendU16(file, 0x07E0);
    file.insert(file.end(), {0, 1, 2, 255});
    auto s = Decode(file);
    ASSERT_NE(s, nullptr);

    Surface16 dst;
    ASSERT_EQ(dst.Create(4, 1, false), SurfaceResult::Ok);
    std::fill_n(dst.Pixels(), 4, uint16_t{0x1111});
    dst.Blit(0, 0, *s);
    EXPECT_EQ(std::vector<uint16_t>(dst.Pixels(), dst.Pixels() + 4),
              (std::vector<uint16_t>{0xF800, 0x07E0, 0x1111, 0x1111}));
}

TEST(QimTest, EncodesTheRowsOfAView)
{
    Surface16 big;
    ASSERT_EQ(big.Create(4, 3, true), SurfaceResult::Ok);
    for (uint16_t i = 0; i < 12; ++i) {
        big.Pixels()[i] = static_cast<uint16_t>(0x100 + i);
        big.Alpha()[i] = static_cast<uint8_t>(i);
    }
    Surface16 view;
    ASSERT_EQ(Surface16::SubSurface(view, big, 1, 1, 2, 2), SurfaceResult::Ok);

    Bytes expected = Header(QimKind::WithAlpha, 0, 2, 2);
    for (uint16_t p : {0x105, 0x106, 0x109, 0x10A}) {
        AppendU16(expected, p);
    }
    expected.insert(expected.end(), {5, 6, 9, 10});
    EXPECT_EQ(EncodeQim(view), expected);
}

TEST(QimTest, RefusesToEncodeWhatTheFormatCannotHold)
{
    Surface16 empty;
    EXPECT_TRUE(EncodeQim(empty).empty());

    Surface16 wide;
    ASSERT_EQ(wide.Create(65536, 1, false), SurfaceResult::Ok);
    EXPECT_TRUE(EncodeQim(wide).empty());

    Surface16 noColours;
    ASSERT_EQ(noColours.CreatePaletted(1, 1, 0), SurfaceResult::Ok);
    EXPECT_TRUE(EncodeQim(noColours).empty());
}

TEST(QimTest, LoadsThroughTheFileSystem)
{
    TempDir dir;
    std::filesystem::create_directories(dir.Root() / "Images");
    Bytes file = Header(QimKind::Opaque, 0, 1, 1);
    AppendU16(file, 0x4321);
    std::ofstream(dir.Path("Images/dot.qim"), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));

    IO::FileSystem fs;
    const std::string root = dir.Root().string();
    ASSERT_EQ(fs.Mount(std::u16string(root.begin(), root.end())), 0);
    IO::DirectoryNode* images = IO::FileSystem::FindDirectory(fs.GetRoot(), u"Images");
    ASSERT_NE(images, nullptr);

    auto s = LoadQim(images, u"dot.qim");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Pixels()[0], 0x4321);
    EXPECT_EQ(LoadQim(images, u"missing.qim"), nullptr);
    EXPECT_EQ(LoadQim(nullptr, u"dot.qim"), nullptr);
}
