// A sound is never heard louder than its volume: the library's backend over a real mixer that
// mixes a block between any two of the backend's calls, as the device's thread may.
#include "platform/SoundMixer.h"
#include "resources/SoundManager.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

constexpr int16_t Loud = 10000;

// The library's own StartSound, with the library's calls redirected to a mixer of its own.
class InterleavedBackend : public LibrarySoundBackend
{
public:
    explicit InterleavedBackend(int& peak) : m_peak(peak)
    {
        m_sample.frames.assign(2 * 22050, Loud);
    }

    int Init(int, int, unsigned int) override { return 1; }
    Platform::FSOUND_SAMPLE* SampleLoad(int, const void*, unsigned int, int, int) override
    {
        return &m_sample;
    }
    void SampleFree(Platform::FSOUND_SAMPLE* sample) override { m_mixer.StopSample(sample); }
    int PlaySound(int, Platform::FSOUND_SAMPLE* sample) override
    {
        return Mixed(m_mixer.Play(sample));
    }
    int PlaySoundEx(int, Platform::FSOUND_SAMPLE* sample, int startPaused) override
    {
        return Mixed(m_mixer.Play(sample, startPaused != 0));
    }
    int StopSound(int channel) override { return Mixed(m_mixer.Stop(channel)); }
    int SetPaused(int channel, int paused) override
    {
        return Mixed(m_mixer.SetPaused(channel, paused != 0));
    }
    int SetVolume(int channel, int volume) override
    {
        return Mixed(m_mixer.SetVolume(channel, volume));
    }
    int SetLoopMode(int channel, unsigned int mode) override
    {
        return Mixed(m_mixer.SetLooping(channel, mode == Platform::FSOUND_LOOP_NORMAL));
    }

private:
    // The device's thread runs a little after each call; the loudest value it put out is kept.
    int Mixed(int result)
    {
        int16_t out[2 * 32];
        m_mixer.Mix(out, 32);
        for (const int16_t value : out)
            m_peak = std::max(m_peak, std::abs(int{value}));
        return result;
    }

    int& m_peak;
    Platform::SoundMixer m_mixer;
    Platform::FSOUND_SAMPLE m_sample;
};

} // namespace

TEST(SoundStart, ASoundIsHeardAtItsVolumeFromItsFirstFrame)
{
    TempDir dir;
    std::filesystem::create_directories(dir.Root() / "XML");
    std::filesystem::create_directories(dir.Root() / "Sounds");
    std::ofstream(dir.Root() / "XML" / "sounds.xml")
        << "<Sounds><Sound name='click' file='a.wav'/><Music name='tune' file='a.wav' "
           "music=''/></Sounds>";
    std::ofstream(dir.Root() / "Sounds" / "a.wav") << "bytes";
    IO::FileSystem files;
    files.Mount(dir.Root().u16string() + u"/");
    int peak = 0;
    SoundManager sounds(std::make_unique<InterleavedBackend>(peak));
    sounds.Init(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"));
    sounds.LoadSamples(IO::FileSystem::FindDirectory(files.GetRoot(), u"Sounds"));
    sounds.SetSoundVolume(20);
    sounds.SetMusicVolume(40);

    // Volume 20 of 100 is a fifth of the recorded level.
    sounds.Play(u"click", false);
    EXPECT_EQ(peak, Loud / 5);
    sounds.Stop(u"click");
    // Music started while music is off is not heard at all until music comes on.
    peak = 0;
    sounds.SetMusicOn(false);
    sounds.Play(u"tune", true);
    EXPECT_EQ(peak, 0);
    sounds.SetMusicOn(true);
    EXPECT_EQ(peak, Loud * 2 / 5);
}
