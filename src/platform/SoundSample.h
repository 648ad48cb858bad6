// A decoded sound ready for mixing, and its decoding from the bytes of a WAV file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Platform {

struct SoundSample
{
    // Interleaved 16-bit stereo frames (left, right) at the mixing rate.
    std::vector<int16_t> frames;

    size_t FrameCount() const { return frames.size() / 2; }

    // The longest sound accepted, so that a damaged header cannot ask for gigabytes.
    static constexpr size_t MaxSeconds = 600;

    // Decodes a whole WAV file of 8-bit unsigned or 16-bit signed PCM, mono or stereo, at any
    // rate from 1000 to 192000 Hz, to stereo at mixRate. Null for a damaged, truncated or
    // unsupported file and for one without frames.
    static std::unique_ptr<SoundSample> FromWav(const uint8_t* bytes, size_t size, int mixRate);
};

} // namespace Platform
