// Parsing and checking of QPK2 tables of contents, and reading an entry's data back.
#include "io/QpkArchive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace IO {

namespace {

// Deflate emits at least two bits per 258 output bytes, so no zlib stream expands more than
// this; a larger claimed size cannot be right and is refused before anything is allocated.
constexpr uint64_t kMaxExpansion = 1032;

// Sequential little-endian reads over a stream, a block at a time, so that a table of contents
// costs a few system reads rather than four per entry.
class TocReader
{
public:
    explicit TocReader(Stream& stream) : m_stream(stream) {}

    bool Bytes(uint8_t* out, size_t count)
    {
        while (count > 0) {
            if (m_next == m_end && !Refill())
                return false;
            size_t n = std::min(count, m_end - m_next);
            std::memcpy(out, m_buffer + m_next, n);
            m_next += n;
            m_consumed += n;
            out += n;
            count -= n;
        }
        return true;
    }
    bool U16(uint16_t& value)
    {
        uint8_t b[2];
        if (!Bytes(b, 2))
            return false;
        value = static_cast<uint16_t>(b[0] | b[1] << 8);
        return true;
    }
    bool U32(uint32_t& value)
    {
        uint8_t b[4];
        if (!Bytes(b, 4))
            return false;
        value = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
        return true;
    }
    bool Name(uint16_t length, std::u16string& name)
    {
        name.resize(length);
        for (auto& unit : name) {
            uint16_t value;
            if (!U16(value))
                return false;
            unit = static_cast<char16_t>(value);
        }
        return true;
    }
    uint64_t Consumed() const { return m_consumed; }

private:
    bool Refill()
    {
        uint32_t n = m_stream.Read(m_buffer, 0, sizeof m_buffer);
        if (n == 0 || n > sizeof m_buffer) // nothing left, or a failed read
            return false;
        m_next = 0;
        m_end = n;
        return true;
    }

    Stream& m_stream;
    uint8_t m_buffer[4096];
    size_t m_next = 0;
    size_t m_end = 0;
    uint64_t m_consumed = 0;
};

// Moves to an absolute position of up to 4 GiB with the stream's signed 32-bit seeks.
bool SeekTo(Stream& stream, uint32_t position)
{
    if (stream.Seek(0, SeekOrigin::Begin) != StreamResult::Ok)
        return false;
    while (position > 0) {
        const uint32_t step = std::min<uint32_t>(position, INT32_MAX);
        if (stream.Seek(static_cast<int32_t>(step), SeekOrigin::Current) != StreamResult::Ok)
            return false;
        position -= step;
    }
    return true;
}

} // namespace

bool IsPlainName(std::u16string_view name)
{
    if (name.empty() || name == u"." || name == u"..")
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i];
        if (unit == u'/' || unit == u'\\' || unit == 0)
            return false;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF)
                return false;
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

bool QpkArchive::Read(Stream& archive)
{
    m_entries.clear();
    m_dataStart = 0;
    std::vector<Entry> entries;
    if (archive.Seek(0, SeekOrigin::Begin) != StreamResult::Ok)
        return false;
    TocReader toc(archive);

    uint8_t magic[4];
    if (!toc.Bytes(magic, 4) || std::memcmp(magic, "QPK2", 4) != 0)
        return false;
    uint16_t rootNameLength, rootFlags;
    uint32_t rootCount, reserved;
    std::u16string name;
    if (!toc.U16(rootNameLength) || rootNameLength > MaxRootNameLength ||
        !toc.Name(rootNameLength, name) || !toc.U16(rootFlags) || (rootFlags & FlagFile) != 0 ||
        !toc.U32(rootCount) || !toc.U32(reserved))
        return false;

    // Directories still being read, with the number of their entries not read yet. The walk
    // is iterative and every level costs a record read, so neither a deep nesting nor a huge
    // count can exhaust the stack or the heap before the stream runs out.
    std::vector<std::pair<int32_t, uint32_t>> open{{-1, rootCount}};
    int32_t previousFile = -1;
    while (!open.empty()) {
        if (open.back().second == 0) {
            open.pop_back();
            continue;
        }
        --open.back().second;
        Entry entry;
        entry.parent = open.back().first;
        uint16_t nameLength, flags;
        uint32_t a, b;
        if (!toc.U16(nameLength) || nameLength > MaxNameLength ||
            !toc.Name(nameLength, entry.name) || !IsPlainName(entry.name) || !toc.U16(flags) ||
            !toc.U32(a) || !toc.U32(b))
            return false;
        const int32_t index = static_cast<int32_t>(entries.size());
        if (flags & FlagFile) {
            entry.compressed = (flags & FlagCompressed) != 0;
            entry.offset = a;
            entry.size = b;
            if (previousFile >= 0) {
                Entry& previous = entries[previousFile];
                if (a < previous.offset)
                    return false;
                previous.storedSize = a - previous.offset;
            }
            previousFile = index;
        } else {
            entry.isDirectory = true;
            if (open.size() > MaxDepth)
                return false;
            open.emplace_back(index, a);
        }
        entries.push_back(std::move(entry));
    }

    const uint64_t dataStart = toc.Consumed();
    const uint32_t length = archive.GetSize();
    if (dataStart > length)
        return false;
    const uint32_t dataLength = length - static_cast<uint32_t>(dataStart);
    if (previousFile >= 0) {
        Entry& last = entries[previousFile];
        if (last.offset > dataLength)
            return false;
        last.storedSize = dataLength - last.offset;
    }
    for (const Entry& entry : entries) {
        if (!entry.isDirectory && !entry.compressed && entry.storedSize != entry.size)
            return false;
    }
    m_entries = std::move(entries);
    m_dataStart = static_cast<uint32_t>(dataStart);
    return true;
}

std::u16string QpkArchive::PathOf(size_t index, char16_t separator) const
{
    std::u16string path = m_entries[index].name;
    for (int32_t up = m_entries[index].parent; up >= 0; up = m_entries[up].parent)
        path = m_entries[up].name + separator + path;
    return path;
}

std::unique_ptr<MemoryStream> QpkArchive::ReadData(Stream& archive, uint32_t dataStart,
                                                   uint32_t offset, uint32_t storedSize,
                                                   uint32_t size, bool compressed)
{
    const uint64_t start = uint64_t{dataStart} + offset;
    if (start + storedSize > archive.GetSize())
        return nullptr;
    if (compressed ? size > storedSize * kMaxExpansion : storedSize != size)
        return nullptr;
    if (!SeekTo(archive, static_cast<uint32_t>(start)))
        return nullptr;

    auto stream = std::make_unique<MemoryStream>();
    if (stream->Create(size) != StreamResult::Ok)
        return nullptr;
    // An empty entry still needs a block to be open; its size must read as 0.
    if (size == 0 && stream->SetSize(0) != StreamResult::Ok)
        return nullptr;
    uint8_t* block = stream->GetBuffer();

    if (!compressed) {
        if (archive.Read(block, 0, storedSize) != storedSize)
            return nullptr;
        return stream;
    }
    std::unique_ptr<uint8_t[]> packed(new (std::nothrow) uint8_t[storedSize ? storedSize : 1]);
    if (!packed || archive.Read(packed.get(), 0, storedSize) != storedSize)
        return nullptr;
    // zlib writes at most `size` bytes and reports a stream that would need more as an error.
    // A stream that ends before `size` bytes is refused too, not handed out short or padded:
    // the table and the data disagree, so the entry is cut or is not the file the table names,
    // and its reader would take a damaged file for a whole one. The packing tool always
    // records the exact size.
    uLongf produced = size;
    if (uncompress(block, &produced, packed.get(), storedSize) != Z_OK || produced != size)
        return nullptr;
    return stream;
}

} // namespace IO
