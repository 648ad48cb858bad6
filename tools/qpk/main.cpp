// qpk: the command-line tool for the game's QPK2 archives. It reads archives with the game's
// own reader and shows a folder merged exactly as the game mounts it.
#include "Pack.h"
#include "io/FileSystem.h"
#include "io/QpkArchive.h"
#include "io/Utf8.h"
#include "io/Win32FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char* const kUsageText = "usage: qpk pack ARCHIVE DIR [--store]   pack a folder\n"
                               "       qpk list ARCHIVE                 list the files\n"
                               "       qpk cat ARCHIVE PATH             print one file\n"
                               "       qpk unpack ARCHIVE DIR           extract every file\n"
                               "       qpk tree ROOT                    the folder as the game "
                               "sees it\n"
                               "PATH uses \"/\" between folders.\n";

int Fail(const std::string& message)
{
    std::fprintf(stderr, "qpk: %s\n", message.c_str());
    return kFailed;
}

// A host path as the game's wide path; false for a path the game's file layer cannot spell.
bool WidePath(const std::string& path, std::u16string& wide)
{
    return path.find('\\') == std::string::npos && IO::Utf8ToUtf16(path, wide);
}

bool WriteAll(int fd, const uint8_t* bytes, size_t count)
{
    while (count > 0) {
        ssize_t n = write(fd, bytes, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

class OpenArchive
{
public:
    // Opens and parses path; on failure `error` says why.
    bool Open(const std::string& path, std::string& error)
    {
        std::u16string wide;
        if (!WidePath(path, wide) || m_file.Open(wide, IO::FileMode::Read) != 0) {
            error = "cannot open " + path;
            return false;
        }
        if (!m_archive.Read(m_file)) {
            error = path + ": not a valid QPK2 archive";
            return false;
        }
        return true;
    }
    const IO::QpkArchive& Archive() const { return m_archive; }
    std::unique_ptr<IO::MemoryStream> Data(size_t index)
    {
        return m_archive.ReadData(m_file, m_archive.Entries()[index]);
    }
    std::string Path(size_t index) const { return IO::Utf16ToUtf8(m_archive.PathOf(index, u'/')); }

private:
    IO::Win32FileStream m_file;
    IO::QpkArchive m_archive;
};

int List(const std::string& archivePath)
{
    OpenArchive archive;
    std::string error;
    if (!archive.Open(archivePath, error))
        return Fail(error);
    const auto& entries = archive.Archive().Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].isDirectory)
            continue;
        std::printf("%s\t%u\t%u\t%c\n", archive.Path(i).c_str(), entries[i].size,
                    entries[i].storedSize, entries[i].compressed ? 'z' : '-');
    }
    return std::fflush(stdout) == 0 ? kOk : Fail("cannot write the listing");
}

int Cat(const std::string& archivePath, const std::string& path)
{
    OpenArchive archive;
    std::string error;
    if (!archive.Open(archivePath, error))
        return Fail(error);
    const auto& entries = archive.Archive().Entries();
    // The last of equal paths, as the game's merge keeps it.
    for (size_t i = entries.size(); i-- > 0;) {
        if (entries[i].isDirectory || archive.Path(i) != path)
            continue;
        auto data = archive.Data(i);
        if (!data)
            return Fail(path + ": damaged data");
        if (!WriteAll(STDOUT_FILENO, data->GetBuffer(), data->GetSize()))
            return Fail("cannot write to standard output");
        return kOk;
    }
    return Fail("no file " + path + " in " + archivePath);
}

// Creates folder (a real folder, not a link to elsewhere) unless it exists as one.
bool MakeFolder(const std::string& folder)
{
    struct stat info;
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
        return false;
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int Unpack(const std::string& archivePath, const std::string& folder)
{
    OpenArchive archive;
    std::string error;
    if (!archive.Open(archivePath, error))
        return Fail(error);
    if (!MakeFolder(folder))
        return Fail("cannot create folder " + folder);
    // The reader has checked every name, so each path stays inside folder; a folder's record
    // always comes before what it holds.
    const auto& entries = archive.Archive().Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string target = folder + "/" + archive.Path(i);
        if (entries[i].isDirectory) {
            if (!MakeFolder(target))
                return Fail("cannot create folder " + target);
            continue;
        }
        auto data = archive.Data(i);
        if (!data)
            return Fail(archive.Path(i) + ": damaged data");
        int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0)
            return Fail("cannot create " + target);
        const bool written = WriteAll(fd, data->GetBuffer(), data->GetSize());
        if (close(fd) != 0 || !written)
            return Fail("cannot write " + target);
    }
    return kOk;
}

void PrintTree(const IO::FileSystem& fs, const IO::DirectoryNode& node)
{
    for (const auto& file : node.files) {
        const std::u16string relative = IO::FileSystem::RelativePath(file.get());
        std::string path = IO::Utf16ToUtf8(relative);
        for (char& c : path) {
            if (c == '\\')
                c = '/';
        }
        uint64_t size = file->size;
        std::string source = "-";
        if (const IO::ArchiveRecord* record = fs.Archive(file->ArchiveNumber())) {
            source = IO::Utf16ToUtf8(record->path.substr(record->path.find_last_of(u"\\/") + 1));
        } else {
            struct stat info;
            const auto host = IO::Win32FileStream::HostPath(fs.RootPath() + relative);
            size = stat(host.c_str(), &info) == 0 ? uint64_t(info.st_size) : 0;
        }
        std::printf("%s\t%llu\t%s\n", path.c_str(), static_cast<unsigned long long>(size),
                    source.c_str());
    }
    for (const auto& dir : node.subdirs)
        PrintTree(fs, *dir);
}

int Tree(const std::string& root)
{
    std::u16string wide;
    IO::FileSystem fs;
    if (!WidePath(root, wide) || fs.Mount(wide) != 0)
        return Fail("cannot read folder " + root);
    PrintTree(fs, *fs.GetRoot());
    return std::fflush(stdout) == 0 ? kOk : Fail("cannot write the listing");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsageText, stdout);
        return kOk;
    }
    bool store = false;
    if (!args.empty() && args[0] == "pack" && args.size() == 4 && args[3] == "--store") {
        store = true;
        args.pop_back();
    }
    const std::string command = args.empty() ? "" : args[0];
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) == 0)
            args.clear(); // an unknown option
    }
    const size_t operands = args.empty() ? 0 : args.size() - 1;
    if (command == "pack" && operands == 2) {
        std::string error;
        return Qpk::PackFolder(args[1], args[2], store, error) ? kOk : Fail(error);
    }
    if (command == "list" && operands == 1)
        return List(args[1]);
    if (command == "cat" && operands == 2)
        return Cat(args[1], args[2]);
    if (command == "unpack" && operands == 2)
        return Unpack(args[1], args[2]);
    if (command == "tree" && operands == 1)
        return Tree(args[1]);
    std::fputs(kUsageText, stderr);
    return kUsage;
}
