// FileSystem: builds the merged tree of the program's folder and its archives, looks paths up
// in it and opens its entries for reading or writing.
#include "io/FileSystem.h"

#include "io/QpkArchive.h"
#include "io/Utf8.h"
#include "io/Win32FileStream.h"
#include "platform/ProgramFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace IO {

namespace {

constexpr char16_t kSeparator = u'\\';
// FileEntry::source keeps the archive number in 16 bits.
constexpr uint32_t kMaxArchives = 0xFFFF;

// A file's time stamp: its last modification, in nanoseconds, so that a file written a
// moment after an archive counts as newer.
uint64_t FileTime(const struct stat& info)
{
    return uint64_t(info.st_mtim.tv_sec) * 1'000'000'000u + uint64_t(info.st_mtim.tv_nsec);
}

// Names of the nodes from below the root down to node, each followed by a separator.
std::u16string DirectoryPrefix(const DirectoryNode* node)
{
    std::u16string path;
    for (; node && node->parent; node = node->parent)
        path = node->name + kSeparator + path;
    return path;
}

bool IsArchiveName(std::u16string_view name)
{
    const size_t dot = name.rfind(u'.');
    return dot != std::u16string_view::npos && name.substr(dot) == u".qpk";
}

DirectoryNode* SubdirFor(DirectoryNode* node, std::u16string_view name)
{
    if (DirectoryNode* existing = node->FindSubdirNamed(name))
        return existing;
    node->subdirs.push_back(
        std::make_unique<DirectoryNode>(std::u16string(name), node->owner, node));
    return node->subdirs.back().get();
}

} // namespace

// The position of every name in the folders a mount has touched, so that merging a folder or
// an archive of many entries takes time growing with their number rather than its square.
// Only the mount changes the tree while it runs, so the positions stay true.
struct FileSystem::MountIndex
{
    struct Folder
    {
        std::unordered_map<std::u16string, size_t> files; // index in DirectoryNode::files
        std::unordered_map<std::u16string, DirectoryNode*> subdirs;
    };

    Folder& Of(DirectoryNode* node)
    {
        const auto [folder, added] = folders.try_emplace(node);
        if (added) {
            // The first of equal names, as a search in order would find.
            for (size_t i = 0; i < node->files.size(); ++i)
                folder->second.files.try_emplace(node->files[i]->name, i);
            for (const auto& dir : node->subdirs)
                folder->second.subdirs.try_emplace(dir->name, dir.get());
        }
        return folder->second;
    }

    DirectoryNode* Subdir(DirectoryNode* node, const std::u16string& name)
    {
        const auto [found, added] = Of(node).subdirs.try_emplace(name, nullptr);
        if (added) {
            node->subdirs.push_back(std::make_unique<DirectoryNode>(name, node->owner, node));
            found->second = node->subdirs.back().get();
        }
        return found->second;
    }

    std::unordered_map<DirectoryNode*, Folder> folders;
};

FileSystem::~FileSystem() = default;

int32_t FileSystem::Mount(const std::u16string& rootPath)
{
    if (m_root)
        return StreamResult::AlreadyMounted;
    m_root = std::make_unique<DirectoryNode>(u"Root", this, nullptr);
    m_rootPath = rootPath;
    if (m_rootPath.empty() && !Utf8ToUtf16(Platform::ProgramFolder(), m_rootPath))
        return StreamResult::CannotOpen;
    if (!m_rootPath.empty() && m_rootPath.back() != kSeparator && m_rootPath.back() != u'/')
        m_rootPath.push_back(kSeparator);

    struct stat info;
    const std::string host = Win32FileStream::HostPath(m_rootPath);
    if (stat(host.empty() ? "." : host.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return StreamResult::CannotOpen;
    std::vector<std::pair<uint64_t, uint64_t>> ancestors;
    MountIndex index;
    ScanFolder(u"", m_root.get(), ancestors, index);
    return StreamResult::Ok;
}

void FileSystem::ScanFolder(const std::u16string& folder, DirectoryNode* node,
                            std::vector<std::pair<uint64_t, uint64_t>>& ancestors,
                            MountIndex& index)
{
    std::string host = Win32FileStream::HostPath(m_rootPath + folder);
    if (host.empty())
        host = "./";
    struct stat info;
    if (stat(host.c_str(), &info) != 0)
        return;
    const std::pair<uint64_t, uint64_t> self{info.st_dev, info.st_ino};
    if (std::find(ancestors.begin(), ancestors.end(), self) != ancestors.end())
        return;

    struct Item
    {
        std::u16string name;
        std::string hostName;
    };
    std::vector<Item> items;
    DIR* dir = opendir(host.c_str());
    if (!dir)
        return;
    while (const dirent* d = readdir(dir)) {
        Item item{{}, d->d_name};
        // A name the tree cannot hold faithfully (not UTF-8, or holding the program's "\"
        // separator) is left out rather than shown under another spelling.
        if (!Utf8ToUtf16(item.hostName, item.name) || !IsPlainName(item.name))
            continue;
        items.push_back(std::move(item));
    }
    closedir(dir);
    // Sorted, so that the tree (and which of two equal-time duplicates wins) does not depend
    // on the order in which the host lists a folder.
    std::sort(items.begin(), items.end(),
              [](const Item& a, const Item& b) { return a.name < b.name; });

    ancestors.push_back(self);
    for (const Item& item : items) {
        if (stat((host + item.hostName).c_str(), &info) != 0)
            continue;
        const std::u16string path = folder + item.name;
        if (S_ISDIR(info.st_mode)) {
            ScanFolder(path + kSeparator, index.Subdir(node, item.name), ancestors, index);
        } else if (!S_ISREG(info.st_mode)) {
            continue; // pipes, sockets and devices are no game data
        } else if (IsArchiveName(item.name)) {
            MountArchive(m_rootPath + path, node, FileTime(info), index);
        } else {
            auto entry = std::make_unique<FileEntry>();
            entry->parent = node;
            entry->name = item.name;
            AddFile(node, std::move(entry), FileTime(info), index);
        }
    }
    ancestors.pop_back();
}

void FileSystem::MountArchive(const std::u16string& path, DirectoryNode* node, uint64_t time,
                              MountIndex& index)
{
    if (m_archiveCount >= kMaxArchives)
        return;
    QpkArchive archive;
    {
        Win32FileStream file;
        if (file.Open(path, FileMode::Read) != StreamResult::Ok || !archive.Read(file))
            return;
    }
    // The whole table of contents is known to be sound before the tree is touched.
    const uint32_t number = ++m_archiveCount;
    if (m_archives.empty())
        m_archives.emplace_back(); // number 0 stands for plain files
    ArchiveRecord record;
    record.timeLow = static_cast<uint32_t>(time);
    record.timeHigh = static_cast<uint32_t>(time >> 32);
    record.path = path;
    record.dataStart = archive.DataStart();
    m_archives.push_back(std::move(record));

    const auto& entries = archive.Entries();
    std::vector<DirectoryNode*> nodes(entries.size(), nullptr);
    for (size_t i = 0; i < entries.size(); ++i) {
        const QpkArchive::Entry& e = entries[i];
        DirectoryNode* parent = e.parent < 0 ? node : nodes[e.parent];
        if (e.isDirectory) {
            nodes[i] = index.Subdir(parent, e.name);
            continue;
        }
        auto entry = std::make_unique<FileEntry>();
        entry->parent = parent;
        entry->source = number | (e.compressed ? EntryCompressed : 0);
        entry->offset = e.offset;
        entry->storedSize = e.storedSize;
        entry->size = e.size;
        entry->name = e.name;
        AddFile(parent, std::move(entry), time, index);
    }
}

void FileSystem::AddFile(DirectoryNode* node, std::unique_ptr<FileEntry> entry, uint64_t time,
                         MountIndex& index)
{
    const auto [found, added] = index.Of(node).files.try_emplace(entry->name, node->files.size());
    if (added) {
        node->files.push_back(std::move(entry));
        return;
    }
    std::unique_ptr<FileEntry>& slot = node->files[found->second];
    if (EntryTime(*slot) <= time)
        slot = std::move(entry);
}

uint64_t FileSystem::EntryTime(const FileEntry& entry) const
{
    if (const ArchiveRecord* record = Archive(entry.ArchiveNumber()))
        return uint64_t{record->timeHigh} << 32 | record->timeLow;
    struct stat info;
    const std::string host = Win32FileStream::HostPath(m_rootPath + RelativePath(&entry));
    return stat(host.c_str(), &info) == 0 ? FileTime(info) : 0;
}

const ArchiveRecord* FileSystem::Archive(uint32_t number) const
{
    if (number == 0 || number >= m_archives.size())
        return nullptr;
    return &m_archives[number];
}

DirectoryNode* FileSystem::FindDirectory(DirectoryNode* from, std::u16string_view path)
{
    DirectoryNode* node = from;
    while (node) {
        const size_t end = path.find(kSeparator);
        node = node->FindSubdirNamed(path.substr(0, end));
        if (end == std::u16string_view::npos)
            return node;
        path.remove_prefix(end + 1);
    }
    return nullptr;
}

FileEntry* FileSystem::FindFile(DirectoryNode* from, std::u16string_view path)
{
    const size_t last = path.rfind(kSeparator);
    DirectoryNode* dir =
        last == std::u16string_view::npos ? from : FindDirectory(from, path.substr(0, last));
    if (!dir)
        return nullptr;
    return dir->FindFileNamed(last == std::u16string_view::npos ? path : path.substr(last + 1));
}

std::u16string FileSystem::RelativePath(const FileEntry* entry)
{
    if (!entry || !entry->parent)
        return {};
    return DirectoryPrefix(entry->parent) + entry->name;
}

std::unique_ptr<Stream> FileSystem::OpenEntry(FileEntry* entry, uint32_t mode)
{
    if (!entry)
        return nullptr;
    if (entry->ArchiveNumber() == 0) {
        // A plain file that cannot be opened gives null rather than a stream that reads
        // nothing, so that callers see the failure where they check for one.
        auto stream = std::make_unique<Win32FileStream>();
        if (stream->Open(m_rootPath + RelativePath(entry), mode) != StreamResult::Ok)
            return nullptr;
        return stream;
    }
    const ArchiveRecord* record = Archive(entry->ArchiveNumber());
    if (!record)
        return nullptr;
    switch (mode) {
    case FileMode::Read: {
        Win32FileStream file;
        if (file.Open(record->path, FileMode::Read) != StreamResult::Ok)
            return nullptr;
        return QpkArchive::ReadData(file, record->dataStart, entry->offset, entry->storedSize,
                                    entry->size, entry->IsCompressed());
    }
    case FileMode::CreateNewWrite:
    case FileMode::Write:
        // Archives are never written: the entry becomes a plain file on disk.
        return CreatePlainFile(RelativePath(entry));
    default:
        return nullptr;
    }
}

std::unique_ptr<FileReader> FileSystem::OpenForRead(DirectoryNode* from, std::u16string_view path)
{
    auto stream = OpenEntry(FindFile(from, path), FileMode::Read);
    if (!stream)
        return nullptr;
    return std::make_unique<FileReader>(std::move(stream));
}

std::unique_ptr<FileWriter> FileSystem::OpenForWrite(DirectoryNode* from, std::u16string_view path)
{
    // The folder's prefix ends in a separator, or is empty at the root.
    std::u16string full = DirectoryPrefix(from);
    full += path;
    auto stream = CreatePlainFile(full);
    if (!stream)
        return nullptr;
    return std::make_unique<FileWriter>(std::move(stream));
}

std::unique_ptr<Stream> FileSystem::CreatePlainFile(std::u16string_view relativePath)
{
    if (!m_root)
        return nullptr;
    // Every component must be a plain name, so that no path reaches outside the folder.
    std::vector<std::u16string_view> components;
    for (std::u16string_view rest = relativePath;;) {
        const size_t end = rest.find(kSeparator);
        components.push_back(rest.substr(0, end));
        if (!IsPlainName(components.back()))
            return nullptr;
        if (end == std::u16string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }

    // A root that does not exist yet (a save folder before its first save) is made with its
    // missing parents, private to the user as a user's data folder should be.
    struct stat info;
    const std::string hostRoot = Win32FileStream::HostPath(m_rootPath);
    if (!hostRoot.empty() && stat(hostRoot.c_str(), &info) != 0) {
        for (size_t end = hostRoot.find('/', 1); end != std::string::npos;
             end = hostRoot.find('/', end + 1))
            mkdir(hostRoot.substr(0, end).c_str(), 0700); // an existing folder is fine
    }

    std::u16string folder = m_rootPath;
    for (size_t i = 0; i + 1 < components.size(); ++i) {
        folder.append(components[i]);
        folder.push_back(kSeparator);
        mkdir(Win32FileStream::HostPath(folder).c_str(), 0755); // an existing folder is fine
    }
    auto stream = std::make_unique<Win32FileStream>();
    if (stream->Open(m_rootPath + std::u16string(relativePath), FileMode::Write) !=
        StreamResult::Ok)
        return nullptr;

    DirectoryNode* node = m_root.get();
    for (size_t i = 0; i + 1 < components.size(); ++i)
        node = SubdirFor(node, components[i]);
    const std::u16string_view name = components.back();
    // An entry of that name moves to the end of the list as a plain file. It is the same
    // object, so a caller that still holds it sees the plain file rather than freed memory.
    std::unique_ptr<FileEntry> entry;
    auto existing = std::find_if(node->files.begin(), node->files.end(),
                                 [&](const auto& file) { return file->name == name; });
    if (existing != node->files.end()) {
        entry = std::move(*existing);
        node->files.erase(existing);
    } else {
        entry = std::make_unique<FileEntry>();
        entry->name = name;
    }
    entry->parent = node;
    entry->source = entry->offset = entry->storedSize = entry->size = 0;
    node->files.push_back(std::move(entry));
    return stream;
}

bool FileSystem::ReplacePlainFile(DirectoryNode* folder, std::u16string_view from,
                                  std::u16string_view to)
{
    if (!folder || folder->owner != this || !IsPlainName(from) || !IsPlainName(to))
        return false;
    const std::u16string prefix = m_rootPath + DirectoryPrefix(folder);
    const std::string fromPath = Win32FileStream::HostPath(prefix + std::u16string(from));
    const std::string toPath = Win32FileStream::HostPath(prefix + std::u16string(to));
    if (std::rename(fromPath.c_str(), toPath.c_str()) != 0)
        return false;
    // A failure to sync still leaves either the old or the new file whole: not reported.
    const size_t slash = toPath.rfind('/');
    const std::string hostFolder = slash == std::string::npos ? std::string(".")
                                   : slash == 0               ? std::string("/")
                                                              : toPath.substr(0, slash);
    const int fd = open(hostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }

    FileEntry* moved = folder->FindFileNamed(from);
    FileEntry* replaced = folder->FindFileNamed(to);
    if (replaced) {
        replaced->source = replaced->offset = replaced->storedSize = replaced->size = 0;
        std::erase_if(folder->files, [&](const auto& file) { return file->name == from; });
    } else if (moved) {
        moved->name = to;
        moved->source = moved->offset = moved->storedSize = moved->size = 0;
    } else {
        auto entry = std::make_unique<FileEntry>();
        entry->parent = folder;
        entry->name = to;
        folder->files.push_back(std::move(entry));
    }
    return true;
}

void FileSystem::RemovePlainFile(DirectoryNode* folder, std::u16string_view name)
{
    if (!folder || folder->owner != this || !IsPlainName(name))
        return;
    unlink(Win32FileStream::HostPath(m_rootPath + DirectoryPrefix(folder) + std::u16string(name))
               .c_str());
    std::erase_if(folder->files, [&](const auto& file) { return file->name == name; });
}

} // namespace IO
