// Fuzz target of the QPK2 reader: parses arbitrary bytes from memory and reads every entry back,
// then mounts the same bytes as an archive beside a loose folder and opens every file of the
// merged tree, the way the game does.
#include "io/FileSystem.h"
#include "io/MemoryStream.h"
#include "io/QpkArchive.h"
#include "io/Win32FileStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// A folder holding "data.qpk" and a loose "Images/loose.txt", made once per process.
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
        std::string pattern = (base / "tavlo-archivefuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        std::filesystem::create_directory(pattern + "/Images");
        int fd = open((pattern + "/Images/loose.txt").c_str(), O_WRONLY | O_CREAT, 0644);
        if (fd < 0 || write(fd, "loose", 5) != 5)
            std::abort();
        close(fd);
        std::atexit([] { std::filesystem::remove_all(GameFolder()); });
        return pattern;
    }());
    return folder;
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void ReadMemory(const uint8_t* data, size_t size)
{
    IO::MemoryStream stream;
    stream.Open(const_cast<uint8_t*>(data), static_cast<uint32_t>(size));
    IO::QpkArchive archive;
    if (!archive.Read(stream)) {
        Check(archive.Entries().empty());
        return;
    }
    const uint64_t dataLength = size - archive.DataStart();
    for (size_t i = 0; i < archive.Entries().size(); ++i) {
        const auto& entry = archive.Entries()[i];
        Check(IO::IsPlainName(entry.name));
        Check(entry.parent < static_cast<int32_t>(i));
        if (entry.isDirectory)
            continue;
        Check(uint64_t{entry.offset} + entry.storedSize <= dataLength);
        auto content = archive.ReadData(stream, entry);
        Check(!content || content->GetSize() == entry.size);
        Check(entry.compressed || content);
    }
}

void Walk(IO::FileSystem& fs, IO::DirectoryNode& node)
{
    for (const auto& file : node.files) {
        auto stream = fs.OpenEntry(file.get(), IO::FileMode::Read);
        if (file->ArchiveNumber() != 0) {
            Check(!stream || stream->GetSize() == file->size);
            Check(fs.OpenEntry(file.get(), IO::FileMode::CreateNewReadWrite) == nullptr);
        }
        Check(IO::FileSystem::FindFile(fs.GetRoot(), IO::FileSystem::RelativePath(file.get())) ==
              file.get());
    }
    for (const auto& dir : node.subdirs)
        Walk(fs, *dir);
}

void MountFolder(const uint8_t* data, size_t size)
{
    const std::string path = GameFolder() + "/data.qpk";
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size))
        std::abort();
    close(fd);
    IO::FileSystem fs;
    std::u16string root(GameFolder().begin(), GameFolder().end());
    Check(fs.Mount(root) == IO::StreamResult::Ok);
    Walk(fs, *fs.GetRoot());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    ReadMemory(data, size);
    MountFolder(data, size);
    return 0;
}
