// FileSystem: the one directory tree all game data is read through. The program's folder and
// every ".qpk" archive in it (QPK2 format, see QpkArchive.h) merge into it; of two files with
// the same path the newer source wins.
#pragma once

#include "io/FileReader.h"
#include "io/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace IO {

class FileSystem;
class DirectoryNode;

// FileEntry::source: the archive number in the low 16 bits (0 = a plain file on disk), and
// this bit when the archived data is one zlib stream.
constexpr uint32_t EntryCompressed = 0x80000000u;

struct FileEntry
{
    DirectoryNode* parent = nullptr;
    uint32_t source = 0;
    uint32_t offset = 0;     // from the archive's dataStart
    uint32_t storedSize = 0; // bytes occupied in the archive
    uint32_t size = 0;       // bytes after decompression
    std::u16string name;

    uint32_t ArchiveNumber() const { return source & 0xFFFF; }
    bool IsCompressed() const { return (source & EntryCompressed) != 0; }
};

class DirectoryNode
{
public:
    DirectoryNode(std::u16string name, FileSystem* owner, DirectoryNode* parent)
        : name(std::move(name)), owner(owner), parent(parent)
    {}

    std::u16string name;
    FileSystem* owner;
    DirectoryNode* parent;
    // Both in insertion order; looked up by a linear scan with exact, case-sensitive names.
    std::vector<std::unique_ptr<FileEntry>> files;
    std::vector<std::unique_ptr<DirectoryNode>> subdirs;

    FileEntry* FindFileNamed(std::u16string_view name) const;
    DirectoryNode* FindSubdirNamed(std::u16string_view name) const;
};

struct ArchiveRecord
{
    uint32_t timeLow = 0; // the archive's time stamp as a 64-bit file time
    uint32_t timeHigh = 0;
    std::u16string path;
    uint32_t dataStart = 0; // file offset of the first data byte
};

class FileSystem
{
public:
    FileSystem() = default;
    ~FileSystem();
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;

    // Builds the tree from rootPath (empty: the program's folder). AlreadyMounted on a second
    // call; CannotOpen, with an empty tree, when the folder cannot be read.
    int32_t Mount(const std::u16string& rootPath = {});
    DirectoryNode* GetRoot() const { return m_root.get(); }
    const std::u16string& RootPath() const { return m_rootPath; }

    // "\"-separated lookups; null as soon as a component is missing.
    static DirectoryNode* FindDirectory(DirectoryNode* from, std::u16string_view path);
    static FileEntry* FindFile(DirectoryNode* from, std::u16string_view path);
    // The entry's path below the root, components joined by "\".
    static std::u16string RelativePath(const FileEntry* entry);

    std::unique_ptr<Stream> OpenEntry(FileEntry* entry, uint32_t mode);
    std::unique_ptr<FileReader> OpenForRead(DirectoryNode* from, std::u16string_view path);
    std::unique_ptr<FileWriter> OpenForWrite(DirectoryNode* from, std::u16string_view path);
    // Creates (or replaces) a plain file at a path below the root, with its folders and
    // directory nodes (and the root folder itself when it does not exist yet), and returns a
    // stream writing it.
    std::unique_ptr<Stream> CreatePlainFile(std::u16string_view relativePath);
    // Puts the plain file `from` of the folder in the place of `to` in one step, as a rename
    // on disk, then makes the folder's list of names durable. The tree follows: an existing
    // entry of `to` stays the same object, as callers may hold it. False, with nothing
    // changed, when the rename fails.
    bool ReplacePlainFile(DirectoryNode* folder, std::u16string_view from, std::u16string_view to);
    // Deletes the plain file of the folder and its entry.
    void RemovePlainFile(DirectoryNode* folder, std::u16string_view name);

    uint32_t ArchiveCount() const { return m_archiveCount; }
    const ArchiveRecord* Archive(uint32_t number) const;

private:
    // Where the names of the folders being mounted lie, for the duration of a mount.
    struct MountIndex;

    // Adds the contents of the folder at rootPath + folder ("" or ending in "\") to node.
    // ancestors holds the (device, inode) of the folders being scanned, so that a link back
    // to one of them cannot recurse forever.
    void ScanFolder(const std::u16string& folder, DirectoryNode* node,
                    std::vector<std::pair<uint64_t, uint64_t>>& ancestors, MountIndex& index);
    void MountArchive(const std::u16string& path, DirectoryNode* node, uint64_t time,
                      MountIndex& index);
    // Adds a file under the duplicate rule: an existing entry of the same name stays only
    // when its time is later than `time`.
    void AddFile(DirectoryNode* node, std::unique_ptr<FileEntry> entry, uint64_t time,
                 MountIndex& index);
    // The time of the entry's source: its archive's, or the plain file's on disk.
    uint64_t EntryTime(const FileEntry& entry) const;

    uint32_t m_archiveCount = 0;
    std::u16string m_rootPath;
    std::unique_ptr<DirectoryNode> m_root;
    std::vector<ArchiveRecord> m_archives; // indexed by archive number; slot 0 unused
};

} // namespace IO
