// TrigTable: sine, cosine, arctangent and arccosine of 16-bit binary angles (65536 = one turn),
// looked up in the precomputed tables of "trigo.dat" instead of computed at run time.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace IO {
class DirectoryNode;
class FileReader;
} // namespace IO

namespace Graphics {

// Result codes of loading the table file.
namespace TrigResult {
constexpr int32_t Ok = 0;
constexpr int32_t ShortTable = -7;
constexpr int32_t CannotOpen = -9;
} // namespace TrigResult

class TrigTable
{
public:
    // Entries of the first-octant sine and cosine tables: angles 0 to 8192 (45 degrees).
    static constexpr uint32_t octantSize = 8193;
    // Entries of the arctangent table: atan(k / 10431) for ratios 0 to 1.
    static constexpr uint32_t atanSize = 10432;
    // Entries of the arccosine table: acos(1 - k / 4096) for cosines 1 down to -1.
    static constexpr uint32_t acosSize = 8193;
    // Bytes of "trigo.dat": the four tables back to back, floats first.
    static constexpr uint32_t fileSize = octantSize * 4 * 2 + atanSize * 2 + acosSize * 2;

    static constexpr float pi = 3.14159265358979323846f;
    static constexpr float halfPi = pi / 2;
    static constexpr float quarterPi = pi / 4;

    // Opens name in folder through the folder's file system and reads it. CannotOpen when the
    // file is missing, ShortTable when it ends inside a table.
    int32_t Load(IO::DirectoryNode* folder, std::u16string_view name);
    // Reads the four tables in file order. On failure the table is left empty.
    int32_t Read(IO::FileReader& reader);
    // The bytes of "trigo.dat" from the rules its tables follow. trigogen writes them; tests and
    // benchmarks that must not depend on generated content fill a table from them.
    static std::vector<uint8_t> GenerateFile();
    // Reads the tables from GenerateFile().
    int32_t Generate();
    // Frees the tables; the lookups then return 0.
    void Release();
    bool IsLoaded() const { return !m_sinTable.empty(); }

    // Sine and cosine of a 16-bit angle (0 before the tables are loaded).
    float Sin(uint16_t angle) const;
    float Cos(uint16_t angle) const;
    // The angle of the vector (x, y) from the positive x axis towards the positive y axis.
    // The zero vector (and any vector with a non-number in it) gives 0.
    uint16_t Atan2(float y, float x) const;
    // The angle, 0 to 32768, whose cosine is value; values outside -1..1 are clamped.
    uint16_t Acos(float value) const;

    const std::vector<float>& SinTable() const { return m_sinTable; }
    const std::vector<float>& CosTable() const { return m_cosTable; }
    const std::vector<uint16_t>& AtanTable() const { return m_atanTable; }
    const std::vector<uint16_t>& AcosTable() const { return m_acosTable; }

private:
    std::vector<float> m_sinTable;
    std::vector<float> m_cosTable;
    std::vector<uint16_t> m_atanTable;
    std::vector<uint16_t> m_acosTable;
};

} // namespace Graphics
