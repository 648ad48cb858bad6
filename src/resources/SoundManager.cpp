// The sound manager: the sound list, sample loading, and playing by name through the backend.
#include "resources/SoundManager.h"

#include "resources/XmlFile.h"
#include "xml/XmlDocument.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr int MixRate = 22050;
constexpr int MaxChannels = 32;
constexpr uint32_t MaxVolume = 100;
constexpr uint32_t LibraryMaxVolume = 250;
constexpr size_t InitialCapacity = 10;

// The first entry of that exact name in a const or mutable list, or null.
template <typename Entries>
auto FindIn(Entries& entries, std::u16string_view name) -> decltype(entries.data())
{
    for (auto& entry : entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

bool IsActiveState(uint32_t state)
{
    return state == SoundState::Playing || state == SoundState::Paused;
}

// The whole file behind reader; false when it cannot be read completely.
bool ReadWhole(IO::FileReader& reader, std::vector<uint8_t>& bytes)
{
    const uint32_t size = reader.GetSize();
    bytes.assign(size, 0);
    return reader.Read(bytes.data(), size) == size;
}

} // namespace

int SoundBackend::StartSound(Platform::FSOUND_SAMPLE* sample, int volume, bool loop, bool paused)
{
    const int channel = PlaySound(Platform::FSOUND_FREE, sample);
    if (channel < 0)
        return channel;
    SetVolume(channel, volume);
    if (loop)
        SetLoopMode(channel, Platform::FSOUND_LOOP_NORMAL);
    if (paused)
        SetPaused(channel, 1);
    return channel;
}

int LibrarySoundBackend::Init(int mixRate, int maxChannels, unsigned int flags)
{
    return Platform::FSOUND_Init(mixRate, maxChannels, flags);
}

Platform::FSOUND_SAMPLE* LibrarySoundBackend::SampleLoad(int index, const void* data,
                                                         unsigned int mode, int offset, int length)
{
    return Platform::FSOUND_Sample_Load(index, data, mode, offset, length);
}

void LibrarySoundBackend::SampleFree(Platform::FSOUND_SAMPLE* sample)
{
    Platform::FSOUND_Sample_Free(sample);
}

int LibrarySoundBackend::PlaySound(int channel, Platform::FSOUND_SAMPLE* sample)
{
    return Platform::FSOUND_PlaySound(channel, sample);
}

int LibrarySoundBackend::PlaySoundEx(int channel, Platform::FSOUND_SAMPLE* sample, int startPaused)
{
    return Platform::FSOUND_PlaySoundEx(channel, sample, startPaused);
}

int LibrarySoundBackend::StartSound(Platform::FSOUND_SAMPLE* sample, int volume, bool loop,
                                    bool paused)
{
    const int channel = PlaySoundEx(Platform::FSOUND_FREE, sample, 1);
    if (channel < 0)
        return channel;
    SetVolume(channel, volume);
    if (loop)
        SetLoopMode(channel, Platform::FSOUND_LOOP_NORMAL);
    if (!paused)
        SetPaused(channel, 0);
    return channel;
}

int LibrarySoundBackend::StopSound(int channel)
{
    return Platform::FSOUND_StopSound(channel);
}

int LibrarySoundBackend::SetPaused(int channel, int paused)
{
    return Platform::FSOUND_SetPaused(channel, paused);
}

int LibrarySoundBackend::SetVolume(int channel, int volume)
{
    return Platform::FSOUND_SetVolume(channel, volume);
}

int LibrarySoundBackend::SetLoopMode(int channel, unsigned int loopMode)
{
    return Platform::FSOUND_SetLoopMode(channel, loopMode);
}

SoundManager::SoundManager() : SoundManager(std::make_unique<LibrarySoundBackend>()) {}

SoundManager::SoundManager(std::unique_ptr<SoundBackend> backend) : m_backend(std::move(backend))
{
    m_sounds.reserve(InitialCapacity);
}

SoundManager::~SoundManager()
{
    FreeSamples();
}

void SoundManager::Init(IO::DirectoryNode* xmlFolder)
{
    // A second Init starts over rather than listing every sound twice.
    FreeSamples();
    m_sounds.clear();

    XmlDocument document;
    if (ReadXmlFile(xmlFolder, u"sounds.xml", document)) {
        const XmlElement* root = document.RootElement();
        if (root && std::strcmp(root->Name(), "Sounds") == 0) {
            // Any child element is a sound; of "LoadRaw" and "music" only the presence counts.
            for (const XmlElement* child = root->FirstChildElement(); child;
                 child = child->NextSiblingElement()) {
                SoundEntry entry;
                entry.name = WidenBytes(child->Attribute("name"));
                entry.file = WidenBytes(child->Attribute("file"));
                entry.loadRaw = child->Attribute("LoadRaw") ? 1 : 0;
                entry.music = child->Attribute("music") ? 1 : 0;
                entry.effect = entry.music ? 0 : 1;
                m_sounds.push_back(std::move(entry));
            }
        }
    }
    m_active = m_backend->Init(MixRate, MaxChannels, 0) != 0 ? 1 : 0;
}

void SoundManager::LoadSamples(IO::DirectoryNode* soundsFolder)
{
    if (!m_active)
        return;
    FreeSamples();
    if (!soundsFolder || !soundsFolder->owner)
        return;
    for (SoundEntry& entry : m_sounds) {
        std::unique_ptr<IO::FileReader> reader =
            soundsFolder->owner->OpenForRead(soundsFolder, entry.file);
        if (!reader)
            continue;
        std::vector<uint8_t> bytes;
        const bool complete = ReadWhole(*reader, bytes);
        reader.reset();
        // An entry counts as loaded only once the library holds its sample, so a file that is
        // empty, unreadable or undecodable stays silent rather than "playing" nothing.
        if (!complete || bytes.empty() || bytes.size() > INT_MAX)
            continue;
        Platform::FSOUND_SAMPLE* sample =
            m_backend->SampleLoad(Platform::FSOUND_UNMANAGED, bytes.data(),
                                  Platform::FSOUND_LOADMEMORY, 0, static_cast<int>(bytes.size()));
        if (!sample)
            continue;
        entry.data = std::move(bytes);
        entry.sample = sample;
        entry.state = SoundState::Stopped;
        entry.channel = -1;
    }
}

int SoundManager::Play(std::u16string_view name, bool loop)
{
    if (!m_active)
        return PlayInactive;
    SoundEntry* entry = FindEntry(name);
    if (!entry || !entry->sample)
        return 0;
    if (!m_soundOn && entry->effect)
        return 0;
    // A looped sound started while music is off waits paused for music to come on.
    const bool paused = loop && !m_musicOn;
    const int channel = m_backend->StartSound(entry->sample, ChannelVolume(*entry), loop, paused);
    // Every channel busy: the sound is dropped, and the entry keeps the channel it had.
    if (channel < 0)
        return 0;
    entry->channel = channel;
    entry->state = paused ? SoundState::Paused : SoundState::Playing;
    return 0;
}

// Stop, Pause and Resume touch the entry's channel only while it plays or is paused: once
// stopped, the library may have handed that channel to another sound.
void SoundManager::Stop(std::u16string_view name)
{
    if (!m_active)
        return;
    SoundEntry* entry = FindEntry(name);
    if (!entry || !IsActiveState(entry->state))
        return;
    if (entry->channel >= 0)
        m_backend->StopSound(entry->channel);
    entry->state = SoundState::Stopped;
}

void SoundManager::Pause(std::u16string_view name)
{
    if (!m_active)
        return;
    SoundEntry* entry = FindEntry(name);
    if (!entry || entry->state != SoundState::Playing || entry->channel < 0)
        return;
    m_backend->SetPaused(entry->channel, 1);
    entry->state = SoundState::Paused;
}

void SoundManager::Resume(std::u16string_view name)
{
    if (!m_active)
        return;
    SoundEntry* entry = FindEntry(name);
    if (!entry || entry->state != SoundState::Paused || entry->channel < 0)
        return;
    m_backend->SetPaused(entry->channel, 0);
    entry->state = SoundState::Playing;
}

void SoundManager::SetSoundVolume(uint32_t volume)
{
    if (!m_active)
        return;
    m_soundVolume = volume;
}

void SoundManager::SetMusicVolume(uint32_t volume)
{
    if (!m_active)
        return;
    m_musicVolume = volume;
    for (const SoundEntry& entry : m_sounds) {
        if (entry.music && IsActiveState(entry.state) && entry.channel >= 0)
            m_backend->SetVolume(entry.channel, ChannelVolume(entry));
    }
}

void SoundManager::SetSoundOn(bool on)
{
    if (!m_active)
        return;
    if (!on) {
        for (SoundEntry& entry : m_sounds) {
            if (entry.effect && entry.state == SoundState::Playing) {
                if (entry.channel >= 0)
                    m_backend->StopSound(entry.channel);
                entry.state = SoundState::Stopped;
            }
        }
    }
    m_soundOn = on ? 1 : 0;
}

void SoundManager::SetMusicOn(bool on)
{
    if (!m_active)
        return;
    for (SoundEntry& entry : m_sounds) {
        if (!entry.music || entry.channel < 0)
            continue;
        if (!on && entry.state == SoundState::Playing) {
            m_backend->SetPaused(entry.channel, 1);
            entry.state = SoundState::Paused;
        } else if (on && entry.state == SoundState::Paused) {
            m_backend->SetPaused(entry.channel, 0);
            entry.state = SoundState::Playing;
        }
    }
    m_musicOn = on ? 1 : 0;
}

void SoundManager::FreeSamples()
{
    for (SoundEntry& entry : m_sounds) {
        // The library ends the sample's channels as it frees it.
        if (entry.sample)
            m_backend->SampleFree(entry.sample);
        entry.sample = nullptr;
        entry.data = {};
        entry.state = SoundState::NotLoaded;
        entry.channel = -1;
    }
}

const SoundEntry* SoundManager::Find(std::u16string_view name) const
{
    return FindIn(m_sounds, name);
}

SoundEntry* SoundManager::FindEntry(std::u16string_view name)
{
    return FindIn(m_sounds, name);
}

int SoundManager::ChannelVolume(const SoundEntry& entry) const
{
    // Stored volumes may come from a saved file; anything above 100 plays at full volume.
    const uint32_t volume = std::min(entry.effect ? m_soundVolume : m_musicVolume, MaxVolume);
    return static_cast<int>(volume * LibraryMaxVolume / MaxVolume);
}
