// WAV decoding: the file's layout is checked here, SDL decodes the PCM and resamples it to the
// mixing rate.
#include "platform/SoundSample.h"

#include <SDL.h>

#include <climits>
#include <cstring>
#include <optional>

namespace Platform {

namespace {

constexpr uint16_t PcmFormatTag = 1;
constexpr uint32_t MinRate = 1000;
constexpr uint32_t MaxRate = 192000;

// What a WAV header says of its PCM data once the layout has been checked.
struct WavLayout
{
    uint32_t channels = 0;
    uint32_t bits = 0;
    uint32_t rate = 0;
    uint32_t blockAlign = 0;
    uint32_t dataSize = 0;
};

uint16_t ReadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(ReadU16(p)) | static_cast<uint32_t>(ReadU16(p + 2)) << 16;
}

bool HasId(const uint8_t* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

// A WAV file is a RIFF container: "RIFF", the byte count of what follows, "WAVE", then chunks
// of a four-letter id, a 32-bit size and a body padded to an even length. The "fmt " chunk
// (format tag, channels, rate, byte rate, block align, bits per sample) comes before "data".
// The file counts as whole only if the RIFF size and every chunk up to the data fit in the
// bytes given: SDL on its own would play what is left of a truncated file.
std::optional<WavLayout> CheckWavLayout(const uint8_t* bytes, size_t size)
{
    if (size < 12 || !HasId(bytes, "RIFF") || !HasId(bytes + 8, "WAVE"))
        return std::nullopt;
    const uint32_t riffSize = ReadU32(bytes + 4);
    if (riffSize < 4 || riffSize > size - 8)
        return std::nullopt;
    const size_t end = static_cast<size_t>(riffSize) + 8;
    std::optional<WavLayout> layout;
    size_t pos = 12;
    while (pos <= end && end - pos >= 8) {
        const uint8_t* chunk = bytes + pos;
        const uint32_t chunkSize = ReadU32(chunk + 4);
        const size_t body = pos + 8;
        if (chunkSize > end - body)
            return std::nullopt;
        if (HasId(chunk, "fmt ")) {
            if (chunkSize < 16)
                return std::nullopt;
            const uint8_t* format = bytes + body;
            WavLayout found;
            found.channels = ReadU16(format + 2);
            found.rate = ReadU32(format + 4);
            found.blockAlign = ReadU16(format + 12);
            found.bits = ReadU16(format + 14);
            if (ReadU16(format) != PcmFormatTag || (found.channels != 1 && found.channels != 2) ||
                (found.bits != 8 && found.bits != 16) || found.rate < MinRate ||
                found.rate > MaxRate || found.blockAlign != found.channels * found.bits / 8)
                return std::nullopt;
            layout = found;
        } else if (HasId(chunk, "data")) {
            if (!layout || chunkSize == 0 || chunkSize % layout->blockAlign != 0)
                return std::nullopt;
            layout->dataSize = chunkSize;
            return layout;
        }
        pos = body + chunkSize + (chunkSize & 1);
    }
    return std::nullopt;
}

// PCM as 16-bit stereo. 8-bit samples are unsigned around 128 and widen by 256, so 0x80 is
// silence and the 8-bit range maps exactly onto the top byte of the 16-bit one.
std::vector<int16_t> ToStereo16(const uint8_t* pcm, const WavLayout& layout)
{
    const size_t bytesPerSample = layout.bits / 8;
    const size_t count = layout.dataSize / bytesPerSample;
    std::vector<int16_t> frames;
    frames.reserve(count * 2 / layout.channels);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = pcm + i * bytesPerSample;
        const int16_t value = layout.bits == 8 ? static_cast<int16_t>((p[0] - 128) * 256)
                                               : static_cast<int16_t>(ReadU16(p));
        frames.push_back(value);
        if (layout.channels == 1)
            frames.push_back(value);
    }
    return frames;
}

// Converts stereo frames from one rate to another with SDL's resampler.
bool Resample(std::vector<int16_t>& frames, int fromRate, int toRate)
{
    SDL_AudioStream* stream =
        SDL_NewAudioStream(AUDIO_S16SYS, 2, fromRate, AUDIO_S16SYS, 2, toRate);
    if (!stream)
        return false;
    std::vector<int16_t> converted;
    bool ok = SDL_AudioStreamPut(stream, frames.data(),
                                 static_cast<int>(frames.size() * sizeof(int16_t))) == 0 &&
              SDL_AudioStreamFlush(stream) == 0;
    if (ok) {
        const int available = SDL_AudioStreamAvailable(stream);
        converted.resize(static_cast<size_t>(available) / sizeof(int16_t));
        const int got = SDL_AudioStreamGet(stream, converted.data(), available);
        ok = got >= 0;
        // Whole stereo frames only.
        converted.resize(ok ? static_cast<size_t>(got) / sizeof(int16_t) / 2 * 2 : 0);
    }
    SDL_FreeAudioStream(stream);
    if (ok)
        frames.swap(converted);
    return ok;
}

} // namespace

std::unique_ptr<SoundSample> SoundSample::FromWav(const uint8_t* bytes, size_t size, int mixRate)
{
    if (!bytes || size > INT_MAX || mixRate <= 0)
        return nullptr;
    const std::optional<WavLayout> layout = CheckWavLayout(bytes, size);
    if (!layout || layout->dataSize / layout->blockAlign > MaxSeconds * layout->rate)
        return nullptr;

    SDL_AudioSpec spec;
    Uint8* pcm = nullptr;
    Uint32 pcmSize = 0;
    SDL_RWops* source = SDL_RWFromConstMem(bytes, static_cast<int>(size));
    if (!source || !SDL_LoadWAV_RW(source, 1, &spec, &pcm, &pcmSize))
        return nullptr;
    // SDL must have read the same format and the whole data chunk that the check found.
    const SDL_AudioFormat expected = layout->bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    const bool same = spec.format == expected && spec.channels == layout->channels &&
                      spec.freq == static_cast<int>(layout->rate) && pcmSize == layout->dataSize;
    std::vector<int16_t> frames;
    if (same)
        frames = ToStereo16(pcm, *layout);
    SDL_FreeWAV(pcm);
    if (!same)
        return nullptr;

    if (static_cast<int>(layout->rate) != mixRate &&
        !Resample(frames, static_cast<int>(layout->rate), mixRate))
        return nullptr;
    if (frames.empty())
        return nullptr;
    auto sample = std::make_unique<SoundSample>();
    sample->frames = std::move(frames);
    return sample;
}

} // namespace Platform
