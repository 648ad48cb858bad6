// trigogen: generates "trigo.dat", the sine, cosine, arctangent and arccosine tables the game
// reads instead of computing trigonometry at run time. Usage: trigogen OUT
#include "graphics/TrigTable.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

using Graphics::TrigTable;

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

// The four tables in file order, little-endian. The mix of float and double below is part of the
// format: the table values depend on it to the last bit.
std::vector<uint8_t> BuildTables()
{
    std::vector<uint8_t> out;
    out.reserve(TrigTable::fileSize);

    // Sine of k units (pi / 32768 each): the angle is a float product, its sine a double.
    std::vector<float> sines(TrigTable::octantSize);
    for (uint32_t k = 0; k < TrigTable::octantSize; ++k) {
        const float angle = static_cast<float>(k) * (1.0f / 32768.0f) * TrigTable::pi;
        sines[k] = static_cast<float>(std::sin(static_cast<double>(angle)));
        PutFloat(out, sines[k]);
    }
    // Cosine from the stored sine: 1 - s * s in float, the root in double.
    for (const float s : sines) {
        const float square = 1.0f - s * s;
        PutFloat(out, static_cast<float>(std::sqrt(static_cast<double>(square))));
    }
    // atan(k / 10431) in angle units (8192 per eighth of a turn), truncated.
    const float atanScale = 8192 / TrigTable::quarterPi;
    for (uint32_t k = 0; k < TrigTable::atanSize; ++k) {
        const double ratio = static_cast<float>(k) / 10431.0;
        PutU16(out, static_cast<uint16_t>(std::atan(ratio) * atanScale));
    }
    // acos(1 - k / 4096) in angle units (32768 per half turn), truncated.
    const float acosScale = 32768 / TrigTable::pi;
    for (uint32_t k = 0; k < TrigTable::acosSize; ++k) {
        const double cosine = (4096.0 - k) * (1.0 / 4096.0);
        PutU16(out, static_cast<uint16_t>(std::acos(cosine) * acosScale));
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: trigogen OUT\n");
        return 2;
    }
    const std::vector<uint8_t> bytes = BuildTables();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::fprintf(stderr, "trigogen: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::remove(argv[1]);
        std::fprintf(stderr, "trigogen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
