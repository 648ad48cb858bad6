// MemoryStream: reads and writes within a block of memory; an owned block doubles when a write
// needs more room.
#include "io/MemoryStream.h"

#include <cstring>
#include <new>

namespace IO {

namespace {
// A growable block starts from this capacity when created empty, so that doubling can work.
constexpr uint32_t kFirstCapacity = 1;
} // namespace

MemoryStream::~MemoryStream() = default;

int32_t MemoryStream::Create(uint32_t size)
{
    if (m_base)
        return StreamResult::AlreadyOpen;
    if (size == 0)
        size = kFirstCapacity;
    // Zeroed, so that the unwritten part of a fresh block never shows stale heap bytes.
    m_block.reset(new (std::nothrow) uint8_t[size]());
    if (!m_block)
        return StreamResult::OutOfMemory;
    m_base = m_current = m_block.get();
    m_size = size;
    m_owned = m_writable = m_exposed = true;
    return StreamResult::Ok;
}

int32_t MemoryStream::Open(uint8_t* buffer, uint32_t offset, uint32_t size, bool writable,
                           bool exposed)
{
    if (m_base)
        return StreamResult::AlreadyOpen;
    m_base = m_current = buffer ? buffer + offset : nullptr;
    m_size = buffer ? size : 0;
    m_owned = false;
    m_writable = writable;
    m_exposed = exposed;
    return StreamResult::Ok;
}

int32_t MemoryStream::Open(uint8_t* buffer, uint32_t offset, uint32_t size)
{
    return Open(buffer, offset, size, false, false);
}

int32_t MemoryStream::Open(uint8_t* buffer, uint32_t size, bool writable)
{
    return Open(buffer, 0, size, writable, false);
}

int32_t MemoryStream::Open(uint8_t* buffer, uint32_t size)
{
    return Open(buffer, 0, size, false, false);
}

bool MemoryStream::CanRead()
{
    return true;
}

bool MemoryStream::CanWrite()
{
    return m_writable;
}

uint32_t MemoryStream::Tell()
{
    return static_cast<uint32_t>(m_current - m_base);
}

int32_t MemoryStream::SetPosition(uint32_t position)
{
    return Seek(static_cast<int32_t>(position), SeekOrigin::Begin);
}

uint32_t MemoryStream::GetSize()
{
    return m_size;
}

int32_t MemoryStream::Reallocate(uint32_t newSize)
{
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[newSize]());
    if (!block)
        return StreamResult::OutOfMemory;
    const uint32_t position = Tell();
    std::memcpy(block.get(), m_base, newSize < m_size ? newSize : m_size);
    m_block = std::move(block);
    m_base = m_block.get();
    m_current = m_base + position;
    m_size = newSize;
    return StreamResult::Ok;
}

int32_t MemoryStream::GrowFor(uint32_t needed)
{
    uint64_t capacity = m_size;
    while (capacity - Tell() < needed)
        capacity = capacity ? capacity * 2 : kFirstCapacity;
    if (capacity > UINT32_MAX)
        return StreamResult::OutOfMemory;
    return Reallocate(static_cast<uint32_t>(capacity));
}

int32_t MemoryStream::SetSize(uint32_t size)
{
    if (!m_owned)
        return StreamResult::NotOwned;
    if (Tell() > size)
        return StreamResult::BelowPosition;
    if (size == m_size)
        return StreamResult::Ok;
    return Reallocate(size);
}

int32_t MemoryStream::Seek(int32_t offset, uint32_t origin)
{
    int64_t target;
    switch (origin) {
    case SeekOrigin::Begin:
        target = offset;
        break;
    case SeekOrigin::Current:
        target = int64_t{Tell()} + offset;
        break;
    case SeekOrigin::End:
        if (offset > 0)
            return StreamResult::SeekOutside;
        target = int64_t{m_size} + offset;
        break;
    default:
        return StreamResult::Ok;
    }
    if (target < 0 || target > m_size)
        return StreamResult::SeekOutside;
    m_current = m_base + target;
    return StreamResult::Ok;
}

uint32_t MemoryStream::Read(uint8_t* buffer, uint32_t offset, uint32_t count)
{
    if (!buffer)
        return static_cast<uint32_t>(StreamResult::NotAccessible);
    const uint32_t available = m_size - Tell();
    const uint32_t n = count < available ? count : available;
    if (n > 0)
        std::memcpy(buffer + offset, m_current, n);
    m_current += n;
    return n;
}

int32_t MemoryStream::ReadByte(uint8_t* out)
{
    if (!out)
        return StreamResult::NullDestination;
    if (IsEOF())
        return StreamResult::EndOfStream;
    *out = *m_current++;
    return StreamResult::Ok;
}

uint32_t MemoryStream::Write(const uint8_t* buffer, uint32_t offset, uint32_t count)
{
    if (!m_writable || !buffer)
        return static_cast<uint32_t>(StreamResult::NotAccessible);
    uint32_t n = count;
    if (m_size - Tell() < count) {
        if (!m_owned)
            n = m_size - Tell();
        else if (GrowFor(count) != StreamResult::Ok)
            return 0;
    }
    if (n > 0)
        std::memcpy(m_current, buffer + offset, n);
    m_current += n;
    return n;
}

int32_t MemoryStream::WriteByte(uint8_t value)
{
    if (!m_writable)
        return StreamResult::NotWritable;
    if (IsEOF()) {
        if (!m_owned)
            return StreamResult::EndOfStream;
        if (int32_t result = GrowFor(1); result != StreamResult::Ok)
            return result;
    }
    *m_current++ = value;
    return StreamResult::Ok;
}

uint32_t MemoryStream::Remaining()
{
    if (!m_base)
        return 0;
    if (m_owned)
        return UINT32_MAX; // grows on demand
    return m_size - Tell();
}

bool MemoryStream::IsEOF()
{
    return m_current == m_base + m_size;
}

int32_t MemoryStream::Close()
{
    m_block.reset();
    m_base = m_current = nullptr;
    m_size = 0;
    m_exposed = m_owned = m_writable = false;
    return StreamResult::Ok;
}

int32_t MemoryStream::Flush()
{
    m_current = m_base;
    return StreamResult::Ok;
}

uint8_t* MemoryStream::GetBuffer()
{
    return m_exposed || m_owned ? m_base : nullptr;
}

} // namespace IO
