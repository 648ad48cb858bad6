// A stand-in for the sound library that logs what the game asks of it: "play NAME",
// "stop NAME", "pause NAME" and "resume NAME", naming each sample by its place in the sound list.
#pragma once

#include "resources/SoundManager.h"

#include <deque>
#include <string>
#include <vector>

class LoggingBackend : public SoundBackend
{
public:
    // names: the sounds of the list in their order; the log must outlive the backend.
    LoggingBackend(std::vector<std::string>& log, std::vector<std::string> names)
        : m_log(log), m_names(std::move(names)), m_samples(m_names.size())
    {}

    int Init(int, int, unsigned int) override { return 1; }
    Platform::FSOUND_SAMPLE* SampleLoad(int, const void*, unsigned int, int, int) override
    {
        return m_loaded < m_samples.size() ? &m_samples[m_loaded++] : nullptr;
    }
    void SampleFree(Platform::FSOUND_SAMPLE*) override {}
    int PlaySound(int, Platform::FSOUND_SAMPLE* sample) override
    {
        const auto index = size_t(sample - m_samples.data());
        m_log.push_back("play " + m_names[index]);
        return Channel + int(index);
    }
    int StopSound(int channel) override
    {
        m_log.push_back("stop " + m_names[size_t(channel - Channel)]);
        return 1;
    }
    int SetPaused(int channel, int paused) override
    {
        m_log.push_back((paused ? "pause " : "resume ") + m_names[size_t(channel - Channel)]);
        return 1;
    }
    int SetVolume(int, int) override { return 1; }
    int SetLoopMode(int, unsigned int) override { return 1; }

private:
    // A sound plays on the channel Channel + its place in the list.
    static constexpr int Channel = 100;

    std::vector<std::string>& m_log;
    std::vector<std::string> m_names;
    std::vector<Platform::FSOUND_SAMPLE> m_samples;
    size_t m_loaded = 0;
};
