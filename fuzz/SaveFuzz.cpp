// Fuzz target of the saved data: decodes arbitrary bytes as a data.dat image. A rejected image
// must leave the store as it was; an accepted one must save to the same bytes (up to a
// selection outside the players, which becomes -1), and survive a save and a reload through a
// real folder.
#include "resources/ProfileStore.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The folder holding data.dat, made once per process.
const std::string& SaveFolder()
{
    // Never destroyed: the exit handler that removes the folder still needs its name.
    static const std::string& folder = *new std::string([] {
        // In memory when the host offers it, so that the flushes of a save cost nothing.
        std::error_code error;
        const auto base = std::filesystem::is_directory("/dev/shm", error)
                              ? std::filesystem::path("/dev/shm")
                              : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tavlo-savefuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] { std::filesystem::remove_all(SaveFolder()); });
        return pattern;
    }());
    return folder;
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Options unlike the initial ones, so that a half-applied image would show.
GameSettings Sentinel()
{
    return GameSettings{7, 9, 1234, 5678, 11, 13, 17};
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Saves the store's image through a real folder, then loads it back into a fresh store.
void SaveAndReload(const std::vector<uint8_t>& image)
{
    const std::string path = SaveFolder() + "/data.dat";
    std::filesystem::remove(path);
    const std::u16string root = std::filesystem::path(SaveFolder()).u16string() + u"/";
    {
        IO::FileSystem files;
        Check(files.Mount(root) == IO::StreamResult::Ok);
        GameSettings settings = Sentinel();
        ProfileStore store(settings);
        Check(!store.Load(files.GetRoot(), u"data.dat")); // no file yet
        Check(store.Decode(image));
        Check(store.Save());
    }
    Check(ReadFile(path) == std::string(image.begin(), image.end()));

    IO::FileSystem files;
    Check(files.Mount(root) == IO::StreamResult::Ok);
    GameSettings settings = Sentinel();
    ProfileStore store(settings);
    Check(store.Load(files.GetRoot(), u"data.dat"));
    Check(store.Encode() == image);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    const std::span<const uint8_t> input(data, size);

    GameSettings settings = Sentinel();
    ProfileStore store(settings);
    store.AddPlayer(u"before");
    const std::vector<uint8_t> before = store.Encode();
    if (!store.Decode(input)) {
        Check(store.Encode() == before);
        Check(settings == Sentinel());
        return 0;
    }

    // Byte for byte the same, except a selection outside the players, saved as -1.
    const std::vector<uint8_t> image = store.Encode();
    Check(image.size() == size);
    for (size_t i = 0; i < size; ++i) {
        if (i >= 4 && i < 8 && image[i] != data[i])
            Check(store.Current() == -1 && image[i] == 0xFF);
        else
            Check(image[i] == data[i]);
    }
    Check(store.Current() >= -1 && store.Current() < static_cast<int32_t>(store.PlayerCount()));
    for (uint32_t mode = 1; mode <= GameModeCount; ++mode)
        Check(store.Table(mode).size() <= ProfileStore::TableSize);

    SaveAndReload(image);
    return 0;
}
