// The sound library over SDL: the audio device, the samples the library owns, and the mixer
// that the device's callback runs on SDL's audio thread.
#include "platform/SoundLibrary.h"

#include "platform/SoundMixer.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace Platform {

namespace {

constexpr int MinMixRate = 8000;
constexpr int MaxMixRate = 48000;
// Frames per device callback: about 23 ms at 22050 Hz, so an effect starts promptly.
constexpr Uint16 DeviceBufferFrames = 512;
constexpr int BytesPerFrame = 2 * sizeof(int16_t);

// Holds the device's callback off while the main thread changes the mixer.
class DeviceLock
{
public:
    explicit DeviceLock(SDL_AudioDeviceID device) : m_device(device)
    {
        SDL_LockAudioDevice(m_device);
    }
    ~DeviceLock() { SDL_UnlockAudioDevice(m_device); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID m_device;
};

// Sends what the process writes to stderr to /dev/null for as long as it lives. Without a
// sound card the audio systems SDL tries in turn (PulseAudio, ALSA, JACK, ...) each print
// their own failures there, a screen of lines for one missing device; the game says it once.
class QuietStderr
{
public:
    QuietStderr()
    {
        std::fflush(stderr);
        m_saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStderr()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_saved = -1;
};

// The process-wide state behind the FSOUND calls. The mixer is shared with the audio thread
// and only touched under the device lock; the rest belongs to the calling thread.
class SoundLibrary
{
public:
    ~SoundLibrary() { Close(); }

    void SetAllowed(bool allowed) { m_allowed = allowed; }

    bool Init(int mixRate, int maxChannels)
    {
        Close();
        if (!m_allowed || mixRate < MinMixRate || mixRate > MaxMixRate || maxChannels < 1 ||
            maxChannels > SoundMixer::MaxChannels)
            return false;
        if (!OpenDevice(mixRate, maxChannels)) {
            if (!m_silenceSaid)
                std::fprintf(stderr, "tavlo: no sound device; playing silently\n");
            m_silenceSaid = true;
            return false;
        }
        m_mixRate = mixRate;
        SDL_PauseAudioDevice(m_device, 0);
        return true;
    }

    void Close()
    {
        if (m_device == 0)
            return;
        // Returns once the audio thread has stopped, so the mixer can go.
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
        m_mixer.reset();
        m_samples.clear();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    SoundSample* Load(const uint8_t* bytes, size_t size)
    {
        if (!m_mixer)
            return nullptr;
        std::unique_ptr<SoundSample> sample = SoundSample::FromWav(bytes, size, m_mixRate);
        if (!sample)
            return nullptr;
        m_samples.push_back(std::move(sample));
        return m_samples.back().get();
    }

    void Free(SoundSample* sample)
    {
        auto owned = Owned(sample);
        if (owned == m_samples.end())
            return;
        WithMixer([&](SoundMixer& mixer) {
            mixer.StopSample(sample);
            return true;
        });
        m_samples.erase(owned);
    }

    int Play(SoundSample* sample, bool paused)
    {
        if (Owned(sample) == m_samples.end())
            return -1;
        int channel = -1;
        WithMixer([&](SoundMixer& mixer) {
            channel = mixer.Play(sample, paused);
            return true;
        });
        return channel;
    }

    // Runs action(mixer) with the audio thread held off; false when the library is not ready.
    template <typename Action>
    bool WithMixer(Action action)
    {
        if (!m_mixer)
            return false;
        DeviceLock lock(m_device);
        return action(*m_mixer);
    }

private:
    // Starts SDL's audio and opens its default device, saying nothing on failure.
    bool OpenDevice(int mixRate, int maxChannels)
    {
        QuietStderr quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        m_mixer = std::make_unique<SoundMixer>(maxChannels);
        SDL_AudioSpec wanted{};
        wanted.freq = mixRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = DeviceBufferFrames;
        wanted.callback = &SoundLibrary::Fill;
        wanted.userdata = m_mixer.get();
        // No changes allowed: SDL converts to whatever the hardware wants.
        m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (m_device == 0) {
            m_mixer.reset();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        return true;
    }

    // The device's callback; SDL holds the device lock while it runs.
    static void Fill(void* mixer, Uint8* stream, int length)
    {
        static_cast<SoundMixer*>(mixer)->Mix(reinterpret_cast<int16_t*>(stream),
                                             static_cast<size_t>(length / BytesPerFrame));
    }

    std::vector<std::unique_ptr<SoundSample>>::iterator Owned(const SoundSample* sample)
    {
        return std::find_if(m_samples.begin(), m_samples.end(),
                            [&](const auto& owned) { return sample && owned.get() == sample; });
    }

    bool m_allowed = false;
    bool m_silenceSaid = false; // "no sound device" is said once a run
    SDL_AudioDeviceID m_device = 0;
    int m_mixRate = 0;
    std::unique_ptr<SoundMixer> m_mixer;
    std::vector<std::unique_ptr<SoundSample>> m_samples;
};

SoundLibrary& Library()
{
    static SoundLibrary library;
    return library;
}

// A channel call's result: 1 when it acted, 0 when the channel's sound has ended or the
// library is not ready.
template <typename Action>
int OnChannel(Action action)
{
    return Library().WithMixer(action) ? 1 : 0;
}

} // namespace

void SetAudioAllowed(bool allowed)
{
    Library().SetAllowed(allowed);
}

int FSOUND_Init(int mixRate, int maxChannels, unsigned int)
{
    return Library().Init(mixRate, maxChannels) ? 1 : 0;
}

void FSOUND_Close()
{
    Library().Close();
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const void* data, unsigned int mode, int offset,
                                  int length)
{
    if (index != FSOUND_UNMANAGED || !(mode & FSOUND_LOADMEMORY) || !data || offset != 0 ||
        length <= 0)
        return nullptr;
    return Library().Load(static_cast<const uint8_t*>(data), static_cast<size_t>(length));
}

void FSOUND_Sample_Free(FSOUND_SAMPLE* sample)
{
    Library().Free(sample);
}

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample)
{
    return FSOUND_PlaySoundEx(channel, sample, 0);
}

int FSOUND_PlaySoundEx(int channel, FSOUND_SAMPLE* sample, int startPaused)
{
    return channel == FSOUND_FREE ? Library().Play(sample, startPaused != 0) : -1;
}

int FSOUND_StopSound(int channel)
{
    return OnChannel([&](SoundMixer& mixer) { return mixer.Stop(channel); });
}

int FSOUND_SetPaused(int channel, int paused)
{
    return OnChannel([&](SoundMixer& mixer) { return mixer.SetPaused(channel, paused != 0); });
}

int FSOUND_SetVolume(int channel, int volume)
{
    return OnChannel([&](SoundMixer& mixer) { return mixer.SetVolume(channel, volume); });
}

int FSOUND_SetLoopMode(int channel, unsigned int loopMode)
{
    return OnChannel([&](SoundMixer& mixer) {
        return mixer.SetLooping(channel, loopMode == FSOUND_LOOP_NORMAL);
    });
}

} // namespace Platform
