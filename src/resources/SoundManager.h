// SoundManager: plays the effects and the music named in "sounds.xml" through the sound
// library, honouring the player's on/off switches and volumes for each kind.
#pragma once

#include "io/FileSystem.h"
#include "platform/SoundLibrary.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The sound library calls the manager makes. The default backend forwards them to the
// platform's FSOUND_* functions; tests substitute one that records them.
class SoundBackend
{
public:
    virtual ~SoundBackend() = default;

    virtual int Init(int mixRate, int maxChannels, unsigned int flags) = 0;
    virtual Platform::FSOUND_SAMPLE* SampleLoad(int index, const void* data, unsigned int mode,
                                                int offset, int length) = 0;
    virtual void SampleFree(Platform::FSOUND_SAMPLE* sample) = 0;
    virtual int PlaySound(int channel, Platform::FSOUND_SAMPLE* sample) = 0;
    virtual int StopSound(int channel) = 0;
    virtual int SetPaused(int channel, int paused) = 0;
    virtual int SetVolume(int channel, int volume) = 0;
    virtual int SetLoopMode(int channel, unsigned int loopMode) = 0;

    // Starts the sample on a free channel at volume (0 to 250), looping or not, paused or
    // playing: the channel handle, or -1 when none is free. No frame of it may be heard before
    // the volume and the loop mode apply. This default makes the calls one after the other,
    // which suits a backend that plays nothing between them (a test's stand-in); a backend that
    // mixes on another thread must start the channel paused.
    virtual int StartSound(Platform::FSOUND_SAMPLE* sample, int volume, bool loop, bool paused);
};

// Forwards every call to the platform's sound library.
class LibrarySoundBackend : public SoundBackend
{
public:
    int Init(int mixRate, int maxChannels, unsigned int flags) override;
    Platform::FSOUND_SAMPLE* SampleLoad(int index, const void* data, unsigned int mode, int offset,
                                        int length) override;
    void SampleFree(Platform::FSOUND_SAMPLE* sample) override;
    int PlaySound(int channel, Platform::FSOUND_SAMPLE* sample) override;
    int StopSound(int channel) override;
    int SetPaused(int channel, int paused) override;
    int SetVolume(int channel, int volume) override;
    int SetLoopMode(int channel, unsigned int loopMode) override;
    // Starts the channel paused, sets it up, then lets it play.
    int StartSound(Platform::FSOUND_SAMPLE* sample, int volume, bool loop, bool paused) override;
    // FSOUND_PlaySoundEx; StartSound reaches the library through these calls only.
    virtual int PlaySoundEx(int channel, Platform::FSOUND_SAMPLE* sample, int startPaused);
};

// The states of a sound entry.
namespace SoundState {
constexpr uint32_t NotLoaded = 0;
constexpr uint32_t Stopped = 1; // loaded, not playing
constexpr uint32_t Playing = 2;
constexpr uint32_t Paused = 3;
} // namespace SoundState

struct SoundEntry
{
    SoundEntry() = default;
    SoundEntry(SoundEntry&&) = default;
    SoundEntry& operator=(SoundEntry&&) = default;
    // The sample handle is owned through the manager; a copy would free it twice.
    SoundEntry(const SoundEntry&) = delete;
    SoundEntry& operator=(const SoundEntry&) = delete;

    std::u16string name;
    std::u16string file; // relative to the sounds folder
    // The whole sound file, kept for as long as the sample exists; empty when not loaded.
    std::vector<uint8_t> data;
    uint32_t state = SoundState::NotLoaded;
    int32_t channel = -1; // the channel of the last Play; negative when none
    Platform::FSOUND_SAMPLE* sample = nullptr;
    uint8_t loadRaw = 0;
    uint8_t music = 0;
    uint8_t effect = 1; // the opposite of music
};

class SoundManager
{
public:
    // Play's result while the sound library is not running.
    static constexpr int PlayInactive = 1;

    SoundManager();
    explicit SoundManager(std::unique_ptr<SoundBackend> backend);
    // Frees every sample.
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Reads the sound list from "sounds.xml" in xmlFolder (a missing file or a root other than
    // "Sounds" gives no sounds), then starts the sound library. Until the library has started,
    // every other operation does nothing.
    void Init(IO::DirectoryNode* xmlFolder);
    // Loads each entry's file from soundsFolder and hands it to the library. A missing or
    // undecodable file leaves its entry silent.
    void LoadSamples(IO::DirectoryNode* soundsFolder);
    // Starts the named sound on a free channel: 0, or PlayInactive without a running library.
    // An effect does not start while effects are off; a looped sound started while music is
    // off starts paused.
    int Play(std::u16string_view name, bool loop);
    void Stop(std::u16string_view name);
    void Pause(std::u16string_view name);
    void Resume(std::u16string_view name);

    // The volumes run from 0 to 100. Effects take a new volume from their next Play; music
    // playing or paused takes it at once.
    void SetSoundVolume(uint32_t volume);
    void SetMusicVolume(uint32_t volume);
    // Turning effects off stops the playing ones; turning music off pauses the playing music
    // and turning it on resumes what was paused.
    void SetSoundOn(bool on);
    void SetMusicOn(bool on);

    // Frees every sample and its file bytes; the entries stay, not loaded.
    void FreeSamples();

    bool IsActive() const { return m_active != 0; }
    const std::vector<SoundEntry>& Sounds() const { return m_sounds; }
    // The first entry of that exact name, or null.
    const SoundEntry* Find(std::u16string_view name) const;

private:
    SoundEntry* FindEntry(std::u16string_view name);
    // The library volume (0 to 250) of the entry's kind.
    int ChannelVolume(const SoundEntry& entry) const;

    std::unique_ptr<SoundBackend> m_backend;
    std::vector<SoundEntry> m_sounds;
    uint8_t m_active = 0;
    uint32_t m_soundVolume = 50;
    uint32_t m_musicVolume = 50;
    uint8_t m_soundOn = 1;
    uint8_t m_musicOn = 1;
};
