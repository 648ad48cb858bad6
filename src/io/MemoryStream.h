// MemoryStream: a stream over a block of memory, owned (and then growable by doubling) or
// borrowed.
#pragma once

#include "io/Stream.h"

#include <memory>

namespace IO {

class MemoryStream : public Stream
{
public:
    MemoryStream() = default;
    // Frees the block if owned.
    ~MemoryStream() override;

    // A new owned, writable, exposed block of size bytes (1024 by default).
    int32_t Create(uint32_t size = 1024);
    // Borrowed blocks; each fails with AlreadyOpen while a block is open.
    int32_t Open(uint8_t* buffer, uint32_t offset, uint32_t size, bool writable, bool exposed);
    int32_t Open(uint8_t* buffer, uint32_t offset, uint32_t size);
    int32_t Open(uint8_t* buffer, uint32_t size, bool writable);
    int32_t Open(uint8_t* buffer, uint32_t size);

    bool CanRead() override;
    bool CanWrite() override;
    uint32_t Tell() override;
    int32_t SetPosition(uint32_t position) override;
    uint32_t GetSize() override;
    int32_t SetSize(uint32_t size) override;
    int32_t Seek(int32_t offset, uint32_t origin) override;
    uint32_t Read(uint8_t* buffer, uint32_t offset, uint32_t count) override;
    int32_t ReadByte(uint8_t* out) override;
    uint32_t Write(const uint8_t* buffer, uint32_t offset, uint32_t count) override;
    int32_t WriteByte(uint8_t value) override;
    uint32_t Remaining() override;
    bool IsEOF() override;
    int32_t Close() override;
    int32_t Flush() override;

    // The block, when the stream owns or exposes it; null otherwise.
    uint8_t* GetBuffer();

private:
    // Moves an owned block to one of newSize bytes, keeping the first min(size, newSize) bytes
    // and the position.
    int32_t Reallocate(uint32_t newSize);
    // Doubles an owned block until at least `needed` bytes lie past the position.
    int32_t GrowFor(uint32_t needed);

    std::unique_ptr<uint8_t[]> m_block; // the block when owned
    uint8_t* m_base = nullptr;
    uint8_t* m_current = nullptr;
    uint32_t m_size = 0; // the capacity of a growable stream
    bool m_exposed = false;
    bool m_owned = false;
    bool m_writable = false;
};

} // namespace IO
