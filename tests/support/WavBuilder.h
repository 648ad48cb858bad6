// A builder of WAV files for the sound tests: canonical PCM files whose fields sit at fixed
// offsets, so that tests can also damage them byte by byte.
#pragma once

#include <cstdint>
#include <vector>

namespace Fixture {

inline void PutLittle(std::vector<uint8_t>& bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A canonical PCM WAV: RIFF size at 4, "fmt " at 12 (tag 20, channels 22, rate 24, block
// align 32, bits 34), "data" at 36 with its size at 40, samples from 44.
inline std::vector<uint8_t> Wav(uint16_t channels, uint16_t bits, uint32_t rate,
                                const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> b;
    const auto id = [&](const char* text) {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<uint8_t>(text[i]));
    };
    id("RIFF");
    PutLittle(b, static_cast<uint32_t>(36 + data.size()), 4);
    id("WAVE");
    id("fmt ");
    // Size 16; format tag 1 (PCM) and channels; rate; bytes per second; block align and bits.
    for (uint32_t v : {16u, 1u | channels << 16, rate, rate * channels * bits / 8,
                       channels * bits / 8u | static_cast<uint32_t>(bits) << 16})
        PutLittle(b, v, 4);
    id("data");
    PutLittle(b, static_cast<uint32_t>(data.size()), 4);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// 16-bit samples as the little-endian bytes of a WAV's data.
inline std::vector<uint8_t> Pcm16(const std::vector<int16_t>& values)
{
    std::vector<uint8_t> bytes;
    for (int16_t value : values)
        PutLittle(bytes, static_cast<uint16_t>(value), 2);
    return bytes;
}

} // namespace Fixture
