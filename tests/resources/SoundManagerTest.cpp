// The sound manager against a recording backend: which library calls each operation makes,
// the effect and music switches, volumes, and lists or files that are missing or unusable.
#include "resources/SoundManager.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// What the recording backend was asked and how it answers; it outlives the manager, so the
// calls made at destruction are seen too.
struct Recording
{
    int initResult = 1;
    bool channelsBusy = false;
    std::vector<std::string> calls;
    // The bytes of each SampleLoad, in call order.
    std::vector<std::string> loadedBytes;

    // The calls logged since the last Take.
    std::vector<std::string> Take() { return std::exchange(calls, {}); }
};

// Stands in for the sound library: hands out samples and channels and logs every call.
class RecordingBackend : public SoundBackend
{
public:
    explicit RecordingBackend(Recording& log) : m_log(log) {}

    int Init(int mixRate, int maxChannels, unsigned int flags) override
    {
        Log("Init", mixRate, maxChannels, static_cast<int>(flags));
        return m_log.initResult;
    }
    Platform::FSOUND_SAMPLE* SampleLoad(int index, const void* data, unsigned int mode, int offset,
                                        int length) override
    {
        Log("SampleLoad", index, static_cast<int>(mode), offset, length);
        const std::string bytes(static_cast<const char*>(data), static_cast<size_t>(length));
        m_log.loadedBytes.push_back(bytes);
        if (bytes.starts_with("BAD"))
            return nullptr;
        m_samples.push_back(std::make_unique<Platform::FSOUND_SAMPLE>());
        return m_samples.back().get();
    }
    void SampleFree(Platform::FSOUND_SAMPLE* sample) override { Log("SampleFree", Index(sample)); }
    int PlaySound(int channel, Platform::FSOUND_SAMPLE* sample) override
    {
        Log("PlaySound", channel, Index(sample));
        return m_log.channelsBusy ? -1 : m_nextChannel++;
    }
    int StopSound(int channel) override { return Log("StopSound", channel); }
    int SetPaused(int channel, int paused) override { return Log("SetPaused", channel, paused); }
    int SetVolume(int channel, int volume) override { return Log("SetVolume", channel, volume); }
    int SetLoopMode(int channel, unsigned int mode) override
    {
        return Log("SetLoopMode", channel, static_cast<int>(mode));
    }

private:
    template <typename... Args>
    int Log(const char* name, Args... args)
    {
        std::string call = name;
        ((call += " " + std::to_string(args)), ...);
        m_log.calls.push_back(call);
        return 1;
    }
    // Samples are logged by their load order, starting at 0; -1 for an unknown one.
    int Index(const Platform::FSOUND_SAMPLE* sample) const
    {
        for (size_t i = 0; i < m_samples.size(); ++i) {
            if (m_samples[i].get() == sample)
                return static_cast<int>(i);
        }
        return -1;
    }

    Recording& m_log;
    std::vector<std::unique_ptr<Platform::FSOUND_SAMPLE>> m_samples;
    int m_nextChannel = 100;
};

using Calls = std::vector<std::string>;

const char* const kSoundsXml = "<?xml version=\"1.0\"?>\n"
                               "<Sounds>\n"
                               "  <Sound name=\"Snd_Move\" file=\"move.wav\" LoadRaw=\"0\"/>\n"
                               "  <Music name=\"Msc_Menu\" file=\"music\\menu.wav\" "
                               "music=\"no\"/>\n"
                               "  <Sound name=\"Snd_Missing\" file=\"missing.wav\"/>\n"
                               "  <Sound name=\"Snd_Broken\" file=\"broken.wav\"/>\n"
                               "  <Sound name=\"Snd_Win\" file=\"win.wav\"/>\n"
                               "</Sounds>\n";

// A mounted game folder with XML/sounds.xml (unless xml is null) and the files of the list
// above in Sounds, and a manager on a recording backend after Init and LoadSamples.
struct SoundFixture
{
    explicit SoundFixture(const char* xml = kSoundsXml, int initResult = 1)
    {
        namespace fs = std::filesystem;
        fs::create_directories(dir.Root() / "XML");
        fs::create_directories(dir.Root() / "Sounds" / "music");
        if (xml)
            std::ofstream(dir.Root() / "XML" / "sounds.xml", std::ios::binary) << xml;
        std::ofstream(dir.Root() / "Sounds" / "move.wav", std::ios::binary) << "move bytes";
        std::ofstream(dir.Root() / "Sounds" / "music" / "menu.wav", std::ios::binary) << "menu";
        std::ofstream(dir.Root() / "Sounds" / "broken.wav", std::ios::binary) << "BAD data";
        std::ofstream(dir.Root() / "Sounds" / "win.wav", std::ios::binary) << "win";
        files.Mount(dir.Root().u16string() + u"/");

        log.initResult = initResult;
        sounds = std::make_unique<SoundManager>(std::make_unique<RecordingBackend>(log));
        sounds->Init(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"));
        sounds->LoadSamples(IO::FileSystem::FindDirectory(files.GetRoot(), u"Sounds"));
    }

    uint32_t State(std::u16string_view name) const { return sounds->Find(name)->state; }

    TempDir dir;
    IO::FileSystem files;
    Recording log;
    std::unique_ptr<SoundManager> sounds;
};

} // namespace

TEST(SoundManager, ReadsTheListAndHandsEachFileToTheLibrary)
{
    SoundFixture f;
    // Samples 0, 1 and 2 are move, menu and win; "broken" is refused and "missing" absent.
    EXPECT_EQ(f.log.Take(),
              (Calls{"Init 22050 32 0", "SampleLoad -2 32768 0 10", "SampleLoad -2 32768 0 4",
                     "SampleLoad -2 32768 0 8", "SampleLoad -2 32768 0 3"}));
    EXPECT_EQ(f.log.loadedBytes,
              (std::vector<std::string>{"move bytes", "menu", "BAD data", "win"}));
    EXPECT_TRUE(f.sounds->IsActive());

    const std::vector<SoundEntry>& list = f.sounds->Sounds();
    ASSERT_EQ(list.size(), 5u);
    const std::u16string names[] = {u"Snd_Move", u"Msc_Menu", u"Snd_Missing", u"Snd_Broken",
                                    u"Snd_Win"};
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i].name, names[i]);
    // Only the presence of "music" and "LoadRaw" counts, whatever their values.
    EXPECT_EQ(list[0].loadRaw, 1);
    EXPECT_EQ(list[0].music, 0);
    EXPECT_EQ(list[0].effect, 1);
    EXPECT_EQ(list[1].music, 1);
    EXPECT_EQ(list[1].effect, 0);
    EXPECT_EQ(list[1].file, u"music\\menu.wav");
    // The file bytes stay with the sample; a missing or refused file leaves the entry unloaded.
    EXPECT_EQ(std::string(list[0].data.begin(), list[0].data.end()), "move bytes");
    EXPECT_EQ(list[0].state, SoundState::Stopped);
    for (size_t i : {2u, 3u}) {
        EXPECT_EQ(list[i].state, SoundState::NotLoaded) << i;
        EXPECT_EQ(list[i].sample, nullptr) << i;
        EXPECT_TRUE(list[i].data.empty()) << i;
    }

    // Unloaded entries and unknown names play nothing and touch no channel.
    for (const char16_t* name : {u"Snd_Missing", u"Snd_Broken", u"Snd_Nope", u"snd_move"}) {
        EXPECT_EQ(f.sounds->Play(name, true), 0);
        f.sounds->Pause(name);
        f.sounds->Resume(name);
        f.sounds->Stop(name);
    }
    EXPECT_EQ(f.log.Take(), Calls{});

    // Freeing hands every sample back once, so the destructor has nothing left to free.
    f.sounds->FreeSamples();
    EXPECT_EQ(f.log.Take(), (Calls{"SampleFree 0", "SampleFree 1", "SampleFree 2"}));
    EXPECT_EQ(f.State(u"Snd_Move"), SoundState::NotLoaded);
    EXPECT_TRUE(f.sounds->Find(u"Snd_Move")->data.empty());
    EXPECT_EQ(f.sounds->Play(u"Snd_Move", false), 0);
    f.sounds.reset();
    EXPECT_EQ(f.log.Take(), Calls{});
}

TEST(SoundManager, SoundOffSilencesEffectsButNotMusic)
{
    SoundFixture f;
    f.log.Take();
    EXPECT_EQ(f.sounds->Play(u"Snd_Move", false), 0);
    EXPECT_EQ(f.sounds->Play(u"Msc_Menu", true), 0);
    EXPECT_EQ(f.log.Take(), (Calls{"PlaySound -1 0", "SetVolume 100 125", "PlaySound -1 1",
                                   "SetVolume 101 125", "SetLoopMode 101 2"}));

    // Turning effects off stops the playing effect and leaves the music alone.
    f.sounds->SetSoundOn(false);
    EXPECT_EQ(f.log.Take(), Calls{"StopSound 100"});
    EXPECT_EQ(f.State(u"Snd_Move"), SoundState::Stopped);
    EXPECT_EQ(f.State(u"Msc_Menu"), SoundState::Playing);

    EXPECT_EQ(f.sounds->Play(u"Snd_Win", false), 0);
    EXPECT_EQ(f.log.Take(), Calls{});
    EXPECT_EQ(f.State(u"Snd_Win"), SoundState::Stopped);

    f.sounds->SetSoundOn(true);
    f.sounds->Play(u"Snd_Win", false);
    EXPECT_EQ(f.log.Take(), (Calls{"PlaySound -1 2", "SetVolume 102 125"}));
}

TEST(SoundManager, MusicOffPausesItAndOnResumesIt)
{
    SoundFixture f;
    f.sounds->Play(u"Msc_Menu", true);
    f.sounds->Play(u"Snd_Move", false);
    f.log.Take();

    f.sounds->SetMusicOn(false);
    EXPECT_EQ(f.log.Take(), Calls{"SetPaused 100 1"});
    EXPECT_EQ(f.State(u"Msc_Menu"), SoundState::Paused);
    EXPECT_EQ(f.State(u"Snd_Move"), SoundState::Playing);

    // Resumed on the same channel, not restarted.
    f.sounds->SetMusicOn(true);
    EXPECT_EQ(f.log.Take(), Calls{"SetPaused 100 0"});
    EXPECT_EQ(f.State(u"Msc_Menu"), SoundState::Playing);

    // Stopped music stays stopped when music comes back on.
    f.sounds->Stop(u"Msc_Menu");
    f.sounds->SetMusicOn(false);
    f.sounds->SetMusicOn(true);
    EXPECT_EQ(f.log.Take(), Calls{"StopSound 100"});
    EXPECT_EQ(f.State(u"Msc_Menu"), SoundState::Stopped);
}

TEST(SoundManager, LoopedSoundsStartedWhileMusicIsOffStartPaused)
{
    SoundFixture f;
    f.sounds->SetMusicOn(false);
    f.log.Take();

    f.sounds->Play(u"Msc_Menu", true);
    f.sounds->Play(u"Snd_Move", true);
    f.sounds->Play(u"Snd_Win", false); // not looped: plays
    EXPECT_EQ(f.log.Take(),
              (Calls{"PlaySound -1 1", "SetVolume 100 125", "SetLoopMode 100 2", "SetPaused 100 1",
                     "PlaySound -1 0", "SetVolume 101 125", "SetLoopMode 101 2", "SetPaused 101 1",
                     "PlaySound -1 2", "SetVolume 102 125"}));
    EXPECT_EQ(f.State(u"Msc_Menu"), SoundState::Paused);
    EXPECT_EQ(f.State(u"Snd_Move"), SoundState::Paused);
    EXPECT_EQ(f.State(u"Snd_Win"), SoundState::Playing);

    // Turning music on resumes the music only.
    f.sounds->SetMusicOn(true);
    EXPECT_EQ(f.log.Take(), Calls{"SetPaused 100 0"});
}

TEST(SoundManager, MusicVolumeAppliesAtOnceEffectVolumeFromTheNextPlay)
{
    SoundFixture f;
    f.sounds->Play(u"Msc_Menu", true);
    f.sounds->Play(u"Snd_Move", false);
    f.log.Take();

    f.sounds->SetSoundVolume(100);
    EXPECT_EQ(f.log.Take(), Calls{});
    f.sounds->Play(u"Snd_Win", false);
    EXPECT_EQ(f.log.Take(), (Calls{"PlaySound -1 2", "SetVolume 102 250"}));

    // Playing and paused music both follow; the effects keep theirs.
    f.sounds->SetMusicVolume(40);
    f.sounds->SetMusicOn(false);
    f.sounds->SetMusicVolume(20);
    EXPECT_EQ(f.log.Take(), (Calls{"SetVolume 100 100", "SetPaused 100 1", "SetVolume 100 50"}));

    // A stopped music's old channel may belong to another sound by now: it is left alone.
    f.sounds->Stop(u"Msc_Menu");
    f.log.Take();
    f.sounds->SetMusicVolume(60);
    EXPECT_EQ(f.log.Take(), Calls{});

    // Volume v becomes v x 250 / 100, rounded down; above 100 plays at full volume.
    const std::pair<uint32_t, int> volumes[] = {
        {0, 0}, {1, 2}, {50, 125}, {99, 247}, {100, 250}, {101, 250}, {4000000000u, 250}};
    for (auto [volume, expected] : volumes) {
        f.sounds->SetSoundVolume(volume);
        f.sounds->Play(u"Snd_Win", false);
        const Calls calls = f.log.Take();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[1].substr(calls[1].rfind(' ') + 1), std::to_string(expected)) << volume;
    }
}

TEST(SoundManager, StopPauseAndResumeFollowTheEntryState)
{
    SoundFixture f;
    f.sounds->Play(u"Snd_Move", false);
    f.log.Take();

    f.sounds->Resume(u"Snd_Move"); // playing: nothing to resume
    f.sounds->Pause(u"Snd_Move");
    f.sounds->Pause(u"Snd_Move");
    EXPECT_EQ(f.State(u"Snd_Move"), SoundState::Paused);
    f.sounds->Resume(u"Snd_Move");
    EXPECT_EQ(f.State(u"Snd_Move"), SoundState::Playing);
    f.sounds->Stop(u"Snd_Move");
    // Once stopped, the old channel is not the entry's any more.
    f.sounds->Stop(u"Snd_Move");
    f.sounds->Pause(u"Snd_Move");
    f.sounds->Resume(u"Snd_Move");
    EXPECT_EQ(f.log.Take(), (Calls{"SetPaused 100 1", "SetPaused 100 0", "StopSound 100"}));
    EXPECT_EQ(f.State(u"Snd_Move"), SoundState::Stopped);

    // With every channel busy the sound is dropped and the entry stays as it was.
    f.sounds->Play(u"Snd_Win", false);
    f.log.channelsBusy = true;
    EXPECT_EQ(f.sounds->Play(u"Snd_Win", true), 0);
    EXPECT_EQ(f.log.Take(), (Calls{"PlaySound -1 2", "SetVolume 101 125", "PlaySound -1 2"}));
    EXPECT_EQ(f.sounds->Find(u"Snd_Win")->channel, 101);
    f.sounds->Stop(u"Snd_Win");
    EXPECT_EQ(f.log.Take(), Calls{"StopSound 101"});

    // The manager frees the samples it holds when it goes.
    f.sounds.reset();
    EXPECT_EQ(f.log.Take(), (Calls{"SampleFree 0", "SampleFree 1", "SampleFree 2"}));
}

TEST(SoundManager, UnusableSoundListsGiveNoSounds)
{
    const char* cases[] = {
        nullptr,                                                    // no sounds.xml
        "<Sound><S name=\"Snd_Move\" file=\"move.wav\"/></Sound>",  // wrong root
        "<Sounds><S name=\"Snd_Move\" file=\"move.wav\"></Sounds>", // does not parse
    };
    for (const char* xml : cases) {
        SoundFixture f(xml);
        const std::string label = xml ? xml : "(no file)";
        EXPECT_TRUE(f.sounds->Sounds().empty()) << label;
        // The library still starts; there is just nothing to load or play.
        EXPECT_EQ(f.log.Take(), Calls{"Init 22050 32 0"}) << label;
        EXPECT_TRUE(f.sounds->IsActive()) << label;
        EXPECT_EQ(f.sounds->Play(u"Snd_Move", false), 0) << label;
        EXPECT_EQ(f.log.Take(), Calls{}) << label;
    }
}

TEST(SoundManager, WithoutTheLibraryEveryOperationDoesNothing)
{
    SoundFixture f(kSoundsXml, 0);
    EXPECT_FALSE(f.sounds->IsActive());
    // The list is read, but no file is loaded.
    EXPECT_EQ(f.sounds->Sounds().size(), 5u);
    EXPECT_EQ(f.log.Take(), Calls{"Init 22050 32 0"});

    EXPECT_EQ(f.sounds->Play(u"Snd_Move", false), SoundManager::PlayInactive);
    EXPECT_EQ(f.sounds->Play(u"Msc_Menu", true), SoundManager::PlayInactive);
    EXPECT_EQ(f.sounds->Play(u"Snd_Nope", true), SoundManager::PlayInactive);
    f.sounds->Stop(u"Msc_Menu");
    f.sounds->Pause(u"Msc_Menu");
    f.sounds->Resume(u"Msc_Menu");
    f.sounds->SetSoundVolume(10);
    f.sounds->SetMusicVolume(10);
    f.sounds->SetSoundOn(false);
    f.sounds->SetMusicOn(false);
    f.sounds->LoadSamples(IO::FileSystem::FindDirectory(f.files.GetRoot(), u"Sounds"));
    f.sounds->FreeSamples();
    EXPECT_EQ(f.log.Take(), Calls{});
    for (const SoundEntry& entry : f.sounds->Sounds())
        EXPECT_EQ(entry.state, SoundState::NotLoaded);

    // The real library refuses to start in tests, which never open an audio device.
    SoundManager real;
    real.Init(nullptr);
    EXPECT_FALSE(real.IsActive());
    EXPECT_EQ(real.Play(u"Snd_Move", false), SoundManager::PlayInactive);
}
