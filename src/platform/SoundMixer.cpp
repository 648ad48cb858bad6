// Channel bookkeeping and the mixing loop of the software mixer.
#include "platform/SoundMixer.h"

#include <algorithm>
#include <array>

namespace Platform {

namespace {

// Handles repeat after this many endings on one channel; it keeps them positive and far
// below the range of an int.
constexpr uint32_t HandleGenerations = 1u << 20;

// Frames mixed per pass, so the sums fit in a small buffer on the stack.
constexpr size_t PassFrames = 256;

} // namespace

SoundMixer::SoundMixer(int channelCount)
    : m_channels(static_cast<size_t>(std::clamp(channelCount, 1, MaxChannels)))
{}

SoundMixer::Channel* SoundMixer::Find(int handle)
{
    return const_cast<Channel*>(static_cast<const SoundMixer*>(this)->Find(handle));
}

const SoundMixer::Channel* SoundMixer::Find(int handle) const
{
    if (handle < 0)
        return nullptr;
    const size_t index = static_cast<size_t>(handle % MaxChannels);
    const uint32_t generation = static_cast<uint32_t>(handle / MaxChannels);
    if (index >= m_channels.size())
        return nullptr;
    const Channel& channel = m_channels[index];
    if (!channel.sample || channel.endings % HandleGenerations != generation)
        return nullptr;
    return &channel;
}

int SoundMixer::Play(const SoundSample* sample, bool paused)
{
    if (!sample || sample->FrameCount() == 0)
        return -1;
    for (size_t index = 0; index < m_channels.size(); ++index) {
        Channel& channel = m_channels[index];
        if (channel.sample)
            continue;
        const uint32_t endings = channel.endings;
        channel = Channel{};
        channel.sample = sample;
        channel.paused = paused;
        channel.endings = endings;
        return static_cast<int>(index) +
               MaxChannels * static_cast<int>(endings % HandleGenerations);
    }
    return -1;
}

void SoundMixer::End(Channel& channel)
{
    channel.sample = nullptr;
    ++channel.endings;
}

bool SoundMixer::Stop(int handle)
{
    Channel* channel = Find(handle);
    if (!channel)
        return false;
    End(*channel);
    return true;
}

bool SoundMixer::SetPaused(int handle, bool paused)
{
    Channel* channel = Find(handle);
    if (!channel)
        return false;
    channel->paused = paused;
    return true;
}

bool SoundMixer::SetVolume(int handle, int volume)
{
    Channel* channel = Find(handle);
    if (!channel)
        return false;
    channel->volume = std::clamp(volume, 0, MaxVolume);
    return true;
}

bool SoundMixer::SetLooping(int handle, bool looping)
{
    Channel* channel = Find(handle);
    if (!channel)
        return false;
    channel->looping = looping;
    return true;
}

void SoundMixer::StopSample(const SoundSample* sample)
{
    for (Channel& channel : m_channels) {
        if (sample && channel.sample == sample)
            End(channel);
    }
}

bool SoundMixer::IsBusy(int handle) const
{
    return Find(handle) != nullptr;
}

void SoundMixer::Accumulate(Channel& channel, int32_t* sums, size_t frames)
{
    size_t done = 0;
    while (done < frames && channel.sample) {
        const std::vector<int16_t>& data = channel.sample->frames;
        const size_t count =
            std::min(frames - done, channel.sample->FrameCount() - channel.position);
        const int16_t* from = data.data() + channel.position * 2;
        int32_t* to = sums + done * 2;
        for (size_t i = 0; i < count * 2; ++i)
            to[i] += from[i] * channel.volume;
        done += count;
        channel.position += count;
        if (channel.position == channel.sample->FrameCount()) {
            if (channel.looping)
                channel.position = 0;
            else
                End(channel);
        }
    }
}

void SoundMixer::Mix(int16_t* out, size_t frames)
{
    // At most 32 x 32768 x 250 in magnitude: the sums fit in 32 bits.
    std::array<int32_t, PassFrames * 2> sums;
    while (frames > 0) {
        const size_t pass = std::min(frames, PassFrames);
        std::fill_n(sums.begin(), pass * 2, 0);
        for (Channel& channel : m_channels) {
            if (channel.sample && !channel.paused)
                Accumulate(channel, sums.data(), pass);
        }
        for (size_t i = 0; i < pass * 2; ++i)
            out[i] = static_cast<int16_t>(std::clamp(sums[i] / MaxVolume, -32768, 32767));
        out += pass * 2;
        frames -= pass;
    }
}

} // namespace Platform
