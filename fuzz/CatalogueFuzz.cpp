// Fuzz target of the game's catalogues: writes arbitrary bytes as "resources.xml", "sounds.xml"
// and "Strings.xml" of a game folder, mounts it and loads them the way the game starts: the
// resource groups loaded, unloaded and loaded again, the sounds loaded and played, the strings
// looked up. The folder also holds a small image, a font and a sound the catalogues may name.
#include "graphics/Qim.h"
#include "resources/ResourceManager.h"
#include "resources/SoundManager.h"
#include "resources/StringTable.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void WriteFile(const std::string& path, const void* data, size_t size)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size))
        std::abort();
    close(fd);
}

// A font of the two glyphs 'A' and 'B', each three columns of its sheet.
const uint8_t FontMetrics[] = {1, 0, 0, 0, 2, 0, 'A', 0,       // one range
                               2, 0, 0, 0, 3, 0, 3,   0, 6, 0, // two glyphs
                               0, 0, 0, 0, 0, 0,               // no kerning
                               0, 0, 0, 0, 8, 0};              // spacing, top, line height

// The game folder, made once per process: XML/ for the catalogues, Images/ with "pic.qim" and
// the font "font", Sounds/ with "beep.wav".
const std::string& GameFolder()
{
    // Never destroyed: the exit handler that removes the folder still needs its name.
    static const std::string& folder = *new std::string([] {
        // In memory when the host offers it: rewriting a file on a disk file system can wait
        // for the disk at every input.
        std::error_code error;
        const auto base = std::filesystem::is_directory("/dev/shm", error)
                              ? std::filesystem::path("/dev/shm")
                              : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tavlo-cataloguefuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        for (const char* sub : {"/XML", "/Images", "/Sounds"})
            std::filesystem::create_directory(pattern + sub);
        Graphics::Surface16 image;
        image.Create(6, 4, true);
        for (uint32_t i = 0; i < 6 * 4; ++i) {
            image.Pixels()[i] = static_cast<uint16_t>(0xFFFF - i);
            image.Alpha()[i] = static_cast<uint8_t>(i * 11);
        }
        const std::vector<uint8_t> qim = Graphics::EncodeQim(image);
        WriteFile(pattern + "/Images/pic.qim", qim.data(), qim.size());
        WriteFile(pattern + "/Images/font.qim", qim.data(), qim.size());
        WriteFile(pattern + "/Images/font.fnt", FontMetrics, sizeof FontMetrics);
        WriteFile(pattern + "/Sounds/beep.wav", "RIFF", 4);
        std::atexit([] { std::filesystem::remove_all(GameFolder()); });
        return pattern;
    }());
    return folder;
}

// Stands in for the sound library: accepts every sample and hands out channels in turn.
class FakeSounds : public SoundBackend
{
public:
    int Init(int, int, unsigned int) override { return 1; }
    Platform::FSOUND_SAMPLE* SampleLoad(int, const void* data, unsigned int, int,
                                        int length) override
    {
        Check(data != nullptr && length > 0);
        return &m_sample;
    }
    void SampleFree(Platform::FSOUND_SAMPLE* sample) override { Check(sample == &m_sample); }
    int PlaySound(int, Platform::FSOUND_SAMPLE* sample) override
    {
        Check(sample == &m_sample);
        return static_cast<int>(m_next++ % 32);
    }
    int StopSound(int channel) override { return CheckChannel(channel); }
    int SetPaused(int channel, int) override { return CheckChannel(channel); }
    int SetVolume(int channel, int volume) override
    {
        Check(volume >= 0 && volume <= 250);
        return CheckChannel(channel);
    }
    int SetLoopMode(int channel, unsigned int) override { return CheckChannel(channel); }

private:
    static int CheckChannel(int channel)
    {
        Check(channel >= 0 && channel < 32);
        return 1;
    }

    Platform::FSOUND_SAMPLE m_sample{};
    uint32_t m_next = 0;
};

void LoadResources(IO::FileSystem& files)
{
    IO::DirectoryNode* xml = IO::FileSystem::FindDirectory(files.GetRoot(), u"XML");
    IO::DirectoryNode* images = IO::FileSystem::FindDirectory(files.GetRoot(), u"Images");
    ResourceManager resources;
    resources.LoadCatalogue(xml, images);
    // Groups are loaded by name, so a later group of the same name is never loaded.
    for (const ResourceGroup& group : resources.Groups())
        resources.LoadGroup(group.name);
    for (const ResourceGroup& group : resources.Groups()) {
        Check(group.imageHandles.size() == group.imageDescs.size() || !group.registered);
        for (const ResourceDesc& desc : group.imageDescs)
            resources.GetImage(desc.name);
        for (const ResourceDesc& desc : group.fontDescs) {
            if (Utils::BitmapFont* font = resources.GetFont(desc.name))
                Check(font->IsLoaded());
        }
    }
    for (const ResourceGroup& group : resources.Groups())
        resources.UnloadGroup(group.name);
    if (!resources.Groups().empty())
        resources.LoadGroup(resources.Groups().back().name);
}

void LoadSounds(IO::FileSystem& files)
{
    SoundManager sounds(std::make_unique<FakeSounds>());
    sounds.Init(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"));
    sounds.LoadSamples(IO::FileSystem::FindDirectory(files.GetRoot(), u"Sounds"));
    std::vector<std::u16string> names;
    for (const SoundEntry& entry : sounds.Sounds())
        names.push_back(entry.name);
    for (size_t i = 0; i < names.size(); ++i)
        sounds.Play(names[i], i % 2 == 1);
    sounds.SetMusicOn(false);
    sounds.SetSoundOn(false);
    sounds.SetMusicVolume(100);
    sounds.SetMusicOn(true);
    for (const std::u16string& name : names) {
        sounds.Pause(name);
        sounds.Resume(name);
        sounds.Stop(name);
    }
}

void LoadStrings(IO::FileSystem& files)
{
    StringTable strings;
    strings.Load(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"));
    // A lookup finds an entry of the table or gives "invalid", never anything else.
    const int32_t index = strings.FindIndex(u"Str_Ok");
    Check(index >= -1 && index < static_cast<int32_t>(strings.Count()));
    Check(strings.GetByIndex(static_cast<int32_t>(strings.Count())) == u"invalid");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    for (const char* name : {"/XML/resources.xml", "/XML/sounds.xml", "/XML/Strings.xml"})
        WriteFile(GameFolder() + name, data, size);
    IO::FileSystem files;
    std::u16string root(GameFolder().begin(), GameFolder().end());
    Check(files.Mount(root) == IO::StreamResult::Ok);
    LoadResources(files);
    LoadSounds(files);
    LoadStrings(files);
    return 0;
}
