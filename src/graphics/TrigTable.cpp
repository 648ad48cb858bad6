// TrigTable: generating and reading "trigo.dat", and the octant and quadrant maps that extend the
// first-octant tables to the whole circle.
#include "graphics/TrigTable.h"

#include "io/FileReader.h"
#include "io/FileSystem.h"
#include "io/MemoryStream.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <memory>
#include <type_traits>

namespace Graphics {
namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutFloat(std::vector<uint8_t>& out, float f)
{
    const uint32_t v = std::bit_cast<uint32_t>(f);
    PutU16(out, static_cast<uint16_t>(v));
    PutU16(out, static_cast<uint16_t>(v >> 16));
}

using namespace TrigResult;

// How one octant (angle >> 13) reads the first-octant tables: table[(base +/- angle) mod 65536],
// negated when not positive. The mod-65536 index of every map lands in 0..8192.
struct OctantEntry
{
    bool positive;
    bool useSinTable;
    uint16_t base;
    bool add;
};

constexpr std::array<OctantEntry, 8> SinOctants = {{
    {true, true, 0, true},
    {true, false, 16384, false},
    {true, false, 49152, true},
    {true, true, 32768, false},
    {false, true, 32768, true},
    {false, false, 49152, false},
    {false, false, 16384, true},
    {false, true, 0, false},
}};

constexpr std::array<OctantEntry, 8> CosOctants = {{
    {true, false, 0, true},
    {true, true, 16384, false},
    {false, true, 49152, true},
    {false, false, 32768, false},
    {false, false, 32768, true},
    {false, true, 49152, false},
    {true, true, 16384, true},
    {true, false, 0, false},
}};

// The value of one octant's entry at angle.
float FromOctant(const OctantEntry& e, uint16_t angle, const std::vector<float>& sinTable,
                 const std::vector<float>& cosTable)
{
    const uint16_t index = static_cast<uint16_t>(e.add ? e.base + angle : e.base - angle);
    const float value = e.useSinTable ? sinTable[index] : cosTable[index];
    return e.positive ? value : -value;
}

// The arctangent of a vector from the table entry t of its smaller-over-larger ratio: base + t or
// base - t. Indexed by (y is the larger component) << 2 | (x < 0) << 1 | (y < 0).
struct QuadrantEntry
{
    uint16_t base;
    bool add;
};

constexpr std::array<QuadrantEntry, 8> AtanQuadrants = {{
    {0, true},      // |x| >= |y|: first quadrant
    {0, false},     // y < 0
    {32768, false}, // x < 0
    {32768, true},  // x < 0, y < 0
    {16384, false}, // |y| > |x|: first quadrant
    {49152, true},  // y < 0
    {16384, true},  // x < 0
    {49152, false}, // x < 0, y < 0
}};

// Index into a table of size entries for a value already scaled to 0..size - 1, rounded half up.
// Anything that is not a number in range (0 / 0, infinities) is clamped.
uint32_t RoundedIndex(float scaled, uint32_t size)
{
    const float f = scaled + 0.5f;
    if (!(f >= 0.0f)) {
        return 0;
    }
    if (f >= static_cast<float>(size)) {
        return size - 1;
    }
    return static_cast<uint32_t>(f);
}

// Reads count little-endian values of T (4-byte floats or 2-byte integers) into table.
template <typename T>
bool ReadTable(IO::FileReader& reader, std::vector<T>& table, uint32_t count)
{
    using Bits = std::conditional_t<sizeof(T) == 4, uint32_t, uint16_t>;
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * sizeof(T));
    const uint32_t wanted = static_cast<uint32_t>(bytes.size());
    // A failing file read reports a count other than the one asked for, never a negative one.
    if (reader.Read(bytes.data(), wanted) != wanted) {
        return false;
    }
    table.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        Bits bits = 0;
        for (size_t b = 0; b < sizeof(T); ++b) {
            bits = static_cast<Bits>(bits | (Bits{bytes[i * sizeof(T) + b]} << (8 * b)));
        }
        table[i] = std::bit_cast<T>(bits);
    }
    return true;
}

} // namespace

int32_t TrigTable::Load(IO::DirectoryNode* folder, std::u16string_view name)
{
    if (!folder || !folder->owner) {
        return CannotOpen;
    }
    const std::unique_ptr<IO::FileReader> reader = folder->owner->OpenForRead(folder, name);
    if (!reader) {
        return CannotOpen;
    }
    return Read(*reader);
}

int32_t TrigTable::Read(IO::FileReader& reader)
{
    Release();
    // A half-read table would give plausible-looking wrong angles, so it is dropped whole.
    if (!ReadTable(reader, m_sinTable, octantSize) || !ReadTable(reader, m_cosTable, octantSize) ||
        !ReadTable(reader, m_atanTable, atanSize) || !ReadTable(reader, m_acosTable, acosSize)) {
        Release();
        return ShortTable;
    }
    return Ok;
}

// The four tables in file order, little-endian. The mix of float and double below is part of the
// format: the table values depend on it to the last bit.
std::vector<uint8_t> TrigTable::GenerateFile()
{
    std::vector<uint8_t> out;
    out.reserve(fileSize);

    // Sine of k units (pi / 32768 each): the angle is a float product, its sine a double.
    std::vector<float> sines(octantSize);
    for (uint32_t k = 0; k < octantSize; ++k) {
        const float angle = static_cast<float>(k) * (1.0f / 32768.0f) * pi;
        sines[k] = static_cast<float>(std::sin(static_cast<double>(angle)));
        PutFloat(out, sines[k]);
    }
    // Cosine from the stored sine: 1 - s * s in float, the root in double.
    for (const float s : sines) {
        const float square = 1.0f - s * s;
        PutFloat(out, static_cast<float>(std::sqrt(static_cast<double>(square))));
    }
    // atan(k / 10431) in angle units (8192 per eighth of a turn), truncated.
    const float atanScale = 8192 / quarterPi;
    for (uint32_t k = 0; k < atanSize; ++k) {
        const double ratio = static_cast<float>(k) / 10431.0;
        PutU16(out, static_cast<uint16_t>(std::atan(ratio) * atanScale));
    }
    // acos(1 - k / 4096) in angle units (32768 per half turn), truncated.
    const float acosScale = 32768 / pi;
    for (uint32_t k = 0; k < acosSize; ++k) {
        const double cosine = (4096.0 - k) * (1.0 / 4096.0);
        PutU16(out, static_cast<uint16_t>(std::acos(cosine) * acosScale));
    }
    return out;
}

int32_t TrigTable::Generate()
{
    std::vector<uint8_t> bytes = GenerateFile();
    IO::MemoryStream stream;
    stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    IO::FileReader reader(&stream);
    return Read(reader);
}

void TrigTable::Release()
{
    m_sinTable = {};
    m_cosTable = {};
    m_atanTable = {};
    m_acosTable = {};
}

float TrigTable::Sin(uint16_t angle) const
{
    return IsLoaded() ? FromOctant(SinOctants[angle >> 13], angle, m_sinTable, m_cosTable) : 0.0f;
}

float TrigTable::Cos(uint16_t angle) const
{
    return IsLoaded() ? FromOctant(CosOctants[angle >> 13], angle, m_sinTable, m_cosTable) : 0.0f;
}

// The ratio of the smaller to the larger component picks the table entry, so it never exceeds
// one; the quadrant map turns that first-octant angle into the vector's own.
uint16_t TrigTable::Atan2(float y, float x) const
{
    if (!IsLoaded() || std::isnan(x) || std::isnan(y)) {
        return 0;
    }
    const bool negY = y < 0.0f;
    const bool negX = x < 0.0f;
    const float ay = negY ? -y : y;
    const float ax = negX ? -x : x;
    if (ax == 0.0f && ay == 0.0f) {
        return 0;
    }
    const bool yMajor = ay > ax;
    const float ratio = yMajor ? ax / ay : ay / ax;
    const uint16_t t =
        m_atanTable[RoundedIndex(ratio * static_cast<float>(atanSize - 1), atanSize)];
    const QuadrantEntry& q = AtanQuadrants[(yMajor ? 4 : 0) | (negX ? 2 : 0) | (negY ? 1 : 0)];
    return static_cast<uint16_t>(q.add ? q.base + t : q.base - t);
}

uint16_t TrigTable::Acos(float value) const
{
    if (!IsLoaded()) {
        return 0;
    }
    return m_acosTable[RoundedIndex((1.0f - value) * 4096.0f, acosSize)];
}

} // namespace Graphics
