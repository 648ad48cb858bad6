// The sound library through a real SDL audio device: SDL's "dummy" driver for the calls and
// their results, its "disk" driver to hear what a played sample puts out.
#include "platform/SoundLibrary.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

using namespace Platform;

namespace {

constexpr int MixRate = 22050;

// A 16-bit mono PCM WAV at the mixing rate holding frames copies of value.
std::vector<uint8_t> ConstantWav(int16_t value, uint32_t frames)
{
    return Fixture::Wav(1, 16, MixRate, Fixture::Pcm16(std::vector<int16_t>(frames, value)));
}

FSOUND_SAMPLE* Load(const std::vector<uint8_t>& wav, int index = FSOUND_UNMANAGED,
                    unsigned int mode = FSOUND_LOADMEMORY, int offset = 0, int length = -2)
{
    return FSOUND_Sample_Load(index, wav.data(), mode, offset,
                              length == -2 ? static_cast<int>(wav.size()) : length);
}

// Each test picks SDL's audio driver before the library opens the device, and leaves the
// library closed and audio disallowed as it found them.
class SoundDevice : public ::testing::Test
{
protected:
    void Open(const char* driver, int channels = 32)
    {
        setenv("SDL_AUDIODRIVER", driver, 1);
        SetAudioAllowed(true);
        ASSERT_EQ(FSOUND_Init(MixRate, channels, 0), 1);
    }

    void TearDown() override
    {
        FSOUND_Close();
        SetAudioAllowed(false);
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }
};

} // namespace

TEST_F(SoundDevice, InitNeedsPermissionADeviceAndSaneArguments)
{
    const std::vector<uint8_t> wav = ConstantWav(100, 10);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(FSOUND_Init(MixRate, 32, 0), 0); // audio not allowed yet
    EXPECT_EQ(Load(wav), nullptr);
    SetAudioAllowed(true);
    EXPECT_EQ(FSOUND_Init(0, 32, 0), 0);
    EXPECT_EQ(FSOUND_Init(MixRate, 33, 0), 0);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(FSOUND_Init(MixRate, 32, 0), 0);

    Open("dummy");
    // Only a whole file from memory, as an unmanaged sample, is offered.
    EXPECT_NE(Load(wav), nullptr);
    EXPECT_EQ(Load(wav, FSOUND_FREE), nullptr);
    EXPECT_EQ(Load(wav, FSOUND_UNMANAGED, 0), nullptr);
    EXPECT_EQ(Load(wav, FSOUND_UNMANAGED, FSOUND_LOADMEMORY, 4), nullptr);
    EXPECT_EQ(Load(wav, FSOUND_UNMANAGED, FSOUND_LOADMEMORY, 0, -1), nullptr);
    EXPECT_EQ(Load(wav, FSOUND_UNMANAGED, FSOUND_LOADMEMORY, 0, int(wav.size()) - 1), nullptr);
}

TEST_F(SoundDevice, FreeingASampleEndsItsChannelsAndRetiresTheHandle)
{
    Open("dummy", 4);
    // Long enough to be still playing when the calls below run, however slow the machine.
    const std::vector<uint8_t> wav = ConstantWav(100, MixRate * 20);
    FSOUND_SAMPLE* freed = Load(wav);
    FSOUND_SAMPLE* kept = Load(wav);
    ASSERT_TRUE(freed && kept);
    std::vector<int> channels;
    for (FSOUND_SAMPLE* sample : {freed, kept, freed, kept, kept})
        channels.push_back(FSOUND_PlaySound(FSOUND_FREE, sample));
    EXPECT_EQ(channels, (std::vector<int>{0, 1, 2, 3, -1})); // four channels asked for
    EXPECT_EQ(FSOUND_SetPaused(2, 1), 1);

    FSOUND_Sample_Free(freed); // ends channels 0 and 2, paused or not
    EXPECT_EQ(FSOUND_StopSound(0) + FSOUND_SetPaused(2, 0), 0);
    EXPECT_EQ(FSOUND_SetVolume(1, 10) + FSOUND_SetLoopMode(3, FSOUND_LOOP_NORMAL), 2);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, freed), -1);    // a freed handle is refused
    FSOUND_Sample_Free(freed);                              // and freeing it again is harmless
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, kept), 0 + 32); // channel 0's second sound
}

TEST_F(SoundDevice, APlayedSampleReachesTheDeviceWhole)
{
    TempDir dir;
    const std::string output = dir.Path("out.raw");
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    Open("disk");
    constexpr int16_t Value = 12000;
    constexpr uint32_t Frames = MixRate / 10;
    FSOUND_SAMPLE* sample = Load(ConstantWav(Value, Frames));

    // The disk driver writes 16-bit stereo in real time, a device buffer (512 frames) at a
    // time, through a stdio buffer. Wait until the whole sound must be in the file, with room
    // for the buffer being mixed when it started and for what stdio holds back.
    auto size = [&] {
        std::error_code error;
        const uintmax_t bytes = std::filesystem::file_size(output, error);
        return error ? 0 : bytes;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const uintmax_t needed = size() + (Frames + 2 * 512) * 4 + 16 * 1024;
    ASSERT_GE(FSOUND_PlaySound(FSOUND_FREE, sample), 0);
    while (size() < needed && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    FSOUND_Close(); // flushes and closes the file
    ASSERT_GE(size(), needed) << "the disk driver wrote too little in time";

    // Silence, then the sample's frames at full volume on both sides, then silence.
    std::ifstream file(output, std::ios::binary);
    std::vector<int16_t> values;
    for (int low, high; (low = file.get()) != EOF && (high = file.get()) != EOF;)
        values.push_back(static_cast<int16_t>(low | high << 8));
    const auto first = std::find_if(values.begin(), values.end(), [](int16_t v) { return v; });
    const auto end = std::find_if(first, values.end(), [](int16_t v) { return v != Value; });
    EXPECT_EQ(end - first, std::ptrdiff_t{2 * Frames});
    EXPECT_EQ(std::count(end, values.end(), 0), values.end() - end);
}
