// Tests of the trigonometry table against the C library, of its loading, and of the file the
// trigogen tool writes into the build's content folder.
#include "graphics/TrigTable.h"

#include "io/FileReader.h"
#include "io/FileSystem.h"
#include "io/MemoryStream.h"
#include "io/Utf8.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <vector>

using namespace Graphics;

namespace {

constexpr double Pi = std::numbers::pi;

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// The table file built from its generation rules, written here independently of the tool.
std::vector<uint8_t> GeneratedTables()
{
    const float pi = 3.14159265358979323846f;
    std::vector<uint8_t> out;
    std::vector<float> sines;
    for (int k = 0; k < 8193; ++k) {
        sines.push_back(
            static_cast<float>(std::sin(double{static_cast<float>(k) * 0x1p-15f * pi})));
        Put(out, std::bit_cast<uint32_t>(sines.back()), 4);
    }
    for (const float s : sines) {
        Put(out, std::bit_cast<uint32_t>(static_cast<float>(std::sqrt(double{1.0f - s * s}))), 4);
    }
    for (int k = 0; k < 10432; ++k) {
        Put(out, static_cast<uint16_t>(std::atan(k / 10431.0) * (8192 / (pi / 4))), 2);
    }
    for (int k = 0; k < 8193; ++k) {
        Put(out, static_cast<uint16_t>(std::acos((4096 - k) * 0x1p-12) * (32768 / pi)), 2);
    }
    return out;
}

int32_t ReadFrom(TrigTable& table, std::vector<uint8_t> bytes)
{
    IO::MemoryStream stream;
    stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    IO::FileReader reader(&stream);
    return table.Read(reader);
}

const TrigTable& Table()
{
    static const TrigTable table = [] {
        TrigTable t;
        EXPECT_EQ(ReadFrom(t, GeneratedTables()), TrigResult::Ok);
        return t;
    }();
    return table;
}

// Distance between two 16-bit angles around the circle.
int Distance(uint32_t a, uint32_t b)
{
    const int d = static_cast<int>((a - b) & 0xFFFF);
    return std::min(d, 65536 - d);
}

TEST(TrigTable, SinAndCosMatchTheCLibraryAllRound)
{
    const TrigTable& t = Table();
    EXPECT_EQ(t.Sin(0), 0.0f);
    EXPECT_EQ(t.Sin(16384), 1.0f);
    EXPECT_EQ(t.Cos(32768), -1.0f);
    EXPECT_EQ(t.Sin(49152), -1.0f);
    // Every angle, so every octant map entry and both ends of each octant are read.
    for (uint32_t a = 0; a < 65536; ++a) {
        ASSERT_NEAR(t.Sin(static_cast<uint16_t>(a)), std::sin(a * Pi / 32768), 1e-5) << a;
        ASSERT_NEAR(t.Cos(static_cast<uint16_t>(a)), std::cos(a * Pi / 32768), 1e-5) << a;
    }
    EXPECT_EQ(t.Acos(1.0f), 0);
    EXPECT_LE(std::abs(t.Acos(0.0f) - 16384), 1);
}

TEST(TrigTable, Atan2MatchesTheCLibraryInAllQuadrants)
{
    const TrigTable& t = Table();
    const uint32_t diagonal = t.AtanTable()[10431]; // the entry for 45 degrees
    struct Case
    {
        float y, x;
        uint32_t expected;
    };
    for (const Case& c :
         {Case{0, 5, 0}, Case{5, 0, 16384}, Case{0, -5, 32768}, Case{-5, 0, 49152},
          Case{1, 1, diagonal}, Case{1, -1, 32768 - diagonal}, Case{-1, -1, 32768 + diagonal},
          Case{-1, 1, 65536 - diagonal}, Case{0, 0, 0}, Case{NAN, 1, 0}}) {
        EXPECT_EQ(t.Atan2(c.y, c.x), c.expected) << c.y << ", " << c.x;
    }
    // The ratio picks the nearest entry: k + 0.25 rounds down, k + 0.75 up (k where they differ).
    int k = 3000;
    while (t.AtanTable()[k] == t.AtanTable()[k + 1]) {
        ++k;
    }
    EXPECT_EQ(t.Atan2(k + 0.25f, 10431.0f), t.AtanTable()[k]);
    EXPECT_EQ(t.Atan2(k + 0.75f, 10431.0f), t.AtanTable()[k + 1]);
    // An entry is about one unit from the next; truncation and the rounded index add one more.
    for (int i = 0; i < 720; ++i) {
        const double radians = i * Pi / 360 + 0.001;
        for (const double length : {1.0, 1000.0}) {
            const float x = static_cast<float>(length * std::cos(radians));
            const float y = static_cast<float>(length * std::sin(radians));
            const auto expected = static_cast<uint32_t>(std::lround(radians * 32768 / Pi));
            EXPECT_LE(Distance(t.Atan2(y, x), expected), 2) << y << ", " << x;
        }
    }
}

TEST(TrigTable, ShortOrMissingFilesLeaveTheTableEmpty)
{
    const std::vector<uint8_t> full = GeneratedTables();
    // Cut inside each table, at the first table's end, and nothing at all.
    for (const size_t size : {0, 100, 32772, 32779, 65546, 86410, 102793}) {
        TrigTable t;
        ReadFrom(t, full);
        EXPECT_EQ(ReadFrom(t, {full.begin(), full.begin() + size}), TrigResult::ShortTable);
        EXPECT_FALSE(t.IsLoaded());
        EXPECT_EQ(t.Sin(16384), 0.0f);
    }

    TempDir dir;
    std::ofstream(dir.Path("trigo.dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(full.data()),
               static_cast<std::streamsize>(full.size()));
    std::ofstream(dir.Path("short.dat"), std::ios::binary).write("abcd", 4);
    std::u16string root;
    ASSERT_TRUE(IO::Utf8ToUtf16(dir.Root().string(), root));
    IO::FileSystem files;
    ASSERT_EQ(files.Mount(root), 0);
    TrigTable t;
    EXPECT_EQ(t.Load(files.GetRoot(), u"missing.dat"), TrigResult::CannotOpen);
    EXPECT_EQ(t.Load(nullptr, u"trigo.dat"), TrigResult::CannotOpen);
    EXPECT_EQ(t.Load(files.GetRoot(), u"short.dat"), TrigResult::ShortTable);
    EXPECT_EQ(t.Load(files.GetRoot(), u"trigo.dat"), TrigResult::Ok);
    EXPECT_EQ(t.Sin(16384), 1.0f);
}

// The file the build generates, found beside the game folder when run through ctest.
TEST(TrigTable, GeneratedFileFollowsTheGenerationRules)
{
    const char* gameDir = std::getenv("TAVLO_GAME_DIR");
    if (!gameDir) {
        GTEST_SKIP() << "TAVLO_GAME_DIR is set when the tests run through ctest";
    }
    std::ifstream in(std::string(gameDir) + "/../content/trigo.dat", std::ios::binary);
    ASSERT_TRUE(in) << "content/trigo.dat is missing: build the trigo_data target";
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(bytes.size(), 102794u);
    EXPECT_TRUE(bytes == GeneratedTables());
    TrigTable t;
    ASSERT_EQ(ReadFrom(t, bytes), TrigResult::Ok);
    for (int k = 0; k <= 8192; k += 512) {
        EXPECT_NEAR(t.SinTable()[k], std::sin(k * Pi / 32768), 1e-6) << k;
        EXPECT_NEAR(t.CosTable()[k], std::cos(k * Pi / 32768), 1e-6) << k;
        EXPECT_NEAR(t.AcosTable()[k], std::acos(1 - k / 4096.0) * 32768 / Pi, 1.0) << k;
        EXPECT_NEAR(t.AtanTable()[k], std::atan(k / 10431.0) * 32768 / Pi, 1.0) << k;
    }
    // The float pi is a little above pi, so the 45-degree entry truncates to just below 8192.
    EXPECT_EQ(t.AtanTable()[10431], 8191);
}

} // namespace
