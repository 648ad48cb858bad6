// The software mixer behind the sound library: up to 32 channels of decoded samples summed
// into 16-bit stereo. It knows nothing of devices or threads; its owner serialises the calls.
#pragma once

#include "platform/SoundSample.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Platform {

class SoundMixer
{
public:
    static constexpr int MaxChannels = 32;
    static constexpr int MaxVolume = 250;

    explicit SoundMixer(int channelCount = MaxChannels);

    // Starts the sample on the lowest free channel, not looping, at full volume, paused or not.
    // A channel started paused is silent until its settings are made and it is resumed.
    // Returns the channel's handle, or -1 when every channel is busy (playing or paused) or the
    // sample is null or empty. A handle is the channel number plus MaxChannels times the
    // number of sounds that channel has ended, so the first 32 sounds get 0 to 31; it stays
    // valid only until its sound ends, and calls with a handle whose sound has ended do
    // nothing, so stopping a finished effect never stops whatever took its channel since.
    int Play(const SoundSample* sample, bool paused = false);
    // Each returns false, changing nothing, when the handle's sound has ended.
    bool Stop(int handle);
    // A paused channel keeps its place in the sample and stays busy.
    bool SetPaused(int handle, bool paused);
    // Linear, from 0 (silent) to MaxVolume (as recorded); values outside are clamped.
    bool SetVolume(int handle, int volume);
    // A looping channel restarts the sample at its end instead of ending.
    bool SetLooping(int handle, bool looping);
    // Ends every sound playing the sample, before the sample goes away.
    void StopSample(const SoundSample* sample);
    // True while the handle's sound has not ended, paused or not.
    bool IsBusy(int handle) const;

    // Writes frames interleaved stereo frames (2 x frames values) to out and advances every
    // unpaused channel by as many frames. Each value is the sum over the channels of
    // sample x volume, divided by MaxVolume (truncated toward zero), saturated to 16 bits.
    void Mix(int16_t* out, size_t frames);

private:
    struct Channel
    {
        const SoundSample* sample = nullptr; // null when the channel is free
        size_t position = 0;                 // the next frame to mix
        int volume = MaxVolume;
        bool paused = false;
        bool looping = false;
        uint32_t endings = 0; // sounds ended on this channel, the upper part of its handle
    };

    Channel* Find(int handle);
    const Channel* Find(int handle) const;
    void End(Channel& channel);
    // Adds up to frames frames of the channel, scaled by its volume, to sums.
    void Accumulate(Channel& channel, int32_t* sums, size_t frames);

    std::vector<Channel> m_channels;
};

} // namespace Platform
