// Stream: the byte stream every file of the game is read or written through, and the result
// codes shared by the streams and the file system. Files are little-endian; streams copy raw
// bytes without conversion.
#pragma once

#include <cstdint>

namespace IO {

// Result codes of the streams and the file system.
namespace StreamResult {
constexpr int32_t Ok = 0;
constexpr int32_t NotAccessible = -1; // not readable / writable, no stream, delete failed
constexpr int32_t NotReadable = -3;
constexpr int32_t NotWritable = -4;
constexpr int32_t NotSupported = -5;
constexpr int32_t UnknownMode = -6;
constexpr int32_t NotOwned = -7;
constexpr int32_t BelowPosition = -9;
constexpr int32_t SeekOutside = -10;
constexpr int32_t EndOfStream = -11;
constexpr int32_t NullDestination = -12;
constexpr int32_t AlreadyOpen = -13;
constexpr int32_t OutOfMemory = -14;
constexpr int32_t NoHandle = -16;
constexpr int32_t SystemFailed = -17;
constexpr int32_t WriteFailed = -18;
constexpr int32_t ReadFailed = -19;
constexpr int32_t CannotOpen = -23;
constexpr int32_t AlreadyMounted = -24;
} // namespace StreamResult

// Seek origins.
namespace SeekOrigin {
constexpr uint32_t Begin = 0;
constexpr uint32_t Current = 1;
constexpr uint32_t End = 2;
} // namespace SeekOrigin

class Stream
{
public:
    virtual ~Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    virtual bool CanRead() = 0;
    virtual bool CanWrite() = 0;
    // Current position from the start.
    virtual uint32_t Tell() = 0;
    virtual int32_t SetPosition(uint32_t position) = 0;
    virtual uint32_t GetSize() = 0;
    virtual int32_t SetSize(uint32_t size) = 0;
    virtual int32_t Seek(int32_t offset, uint32_t origin) = 0;
    // Copies up to count bytes to buffer + offset; returns the number copied.
    virtual uint32_t Read(uint8_t* buffer, uint32_t offset, uint32_t count) = 0;
    virtual int32_t ReadByte(uint8_t* out) = 0;
    // Copies count bytes from buffer + offset; returns the number written.
    virtual uint32_t Write(const uint8_t* buffer, uint32_t offset, uint32_t count) = 0;
    virtual int32_t WriteByte(uint8_t value) = 0;
    // Bytes left before the end.
    virtual uint32_t Remaining() = 0;
    virtual bool IsEOF() = 0;
    // Releases the underlying resource; the object stays.
    virtual int32_t Close() = 0;
    virtual int32_t Flush() = 0;

protected:
    Stream() = default;
};

} // namespace IO
