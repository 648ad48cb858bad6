// QpkArchive: the reader of QPK2 archives. It turns an archive's table of contents into a
// list of checked entries and reads an entry's bytes back; merging into the game's directory
// tree is the FileSystem's business.
//
// The QPK2 format. All integers are little-endian; all names are UTF-16LE code units without a
// terminating 0.
//
//   "QPK2"                 4 bytes of magic
//   root record            u16 nameLength (at most 130), the root's name (ignored),
//                          u16 flags (bit 0 must be clear: the root is a directory),
//                          u32 count of the entries directly under the root,
//                          u32 reserved (ignored)
//   entries                `count` entry records, depth first
//   data                   the files' bytes, concatenated; its first byte is dataStart
//
// An entry record is u16 nameLength (1 to 259), the name, u16 flags, u32 a, u32 b. Flag bit 0
// set makes it a file, clear a directory; bit 8 (0x100) marks a file whose data is one zlib
// stream (header, deflate data, Adler-32 trailer: what zlib's compress writes); other bits are
// ignored. For a directory `a` counts the entries directly inside it, which follow at once, and
// `b` is ignored. For a file `a` is the offset of its data from dataStart and `b` its size after
// decompression (its plain size when stored).
//
// No stored size is recorded: a file occupies the bytes from its offset to the next file's
// offset in directory order, across directory boundaries, and the last file runs to the end of
// the archive. The data therefore lie in the order in which the directory lists the files.
//
// Nothing in an archive is trusted. An archive is rejected as a whole when its table of
// contents runs past the end of the file, when directories nest deeper than MaxDepth, when a
// name is empty, ".", "..", contains "/", "\", a 0 unit or an unpaired surrogate (so that no
// entry can name a place outside the folder the archive is unpacked or merged into), when
// offsets decrease or point past the end, or when a stored file's bytes are not exactly its
// size.
#pragma once

#include "io/MemoryStream.h"
#include "io/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace IO {

// A name that can stand for one file or folder inside another: not empty, not "." or "..",
// free of separators, 0 units and unpaired surrogates.
bool IsPlainName(std::u16string_view name);

class QpkArchive
{
public:
    static constexpr uint32_t MaxNameLength = 259;
    static constexpr uint32_t MaxRootNameLength = 130;
    // Deeper nesting is refused: no real archive comes near it, and it bounds every
    // recursive walk of the merged tree.
    static constexpr uint32_t MaxDepth = 256;
    static constexpr uint16_t FlagFile = 0x0001;
    static constexpr uint16_t FlagCompressed = 0x0100;

    struct Entry
    {
        std::u16string name;
        int32_t parent = -1; // index of the directory entry holding it; -1 for the root
        bool isDirectory = false;
        bool compressed = false;
        uint32_t offset = 0; // from dataStart
        uint32_t size = 0;   // after decompression
        uint32_t storedSize = 0;
    };

    // Reads and checks the whole table of contents, from the start of the stream. False when
    // the stream is not a sound QPK2 archive; the entry list is then empty.
    bool Read(Stream& archive);

    // Entries in directory order: a directory comes before what it holds.
    const std::vector<Entry>& Entries() const { return m_entries; }
    uint32_t DataStart() const { return m_dataStart; }
    // The entry's path below the archive's root, components joined by separator.
    std::u16string PathOf(size_t index, char16_t separator) const;

    // The file's bytes, decompressed, in a new owned memory stream at position 0. Null when
    // the data cannot be read whole or do not decompress to exactly `size` bytes.
    static std::unique_ptr<MemoryStream> ReadData(Stream& archive, uint32_t dataStart,
                                                  uint32_t offset, uint32_t storedSize,
                                                  uint32_t size, bool compressed);
    std::unique_ptr<MemoryStream> ReadData(Stream& archive, const Entry& entry) const
    {
        return ReadData(archive, m_dataStart, entry.offset, entry.storedSize, entry.size,
                        entry.compressed);
    }

private:
    std::vector<Entry> m_entries;
    uint32_t m_dataStart = 0;
};

} // namespace IO
