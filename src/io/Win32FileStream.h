// Win32FileStream: a stream over an operating-system file (POSIX calls behind the handheld
// platform's file interface). Paths are the program's wide paths with "\" separators.
#pragma once

#include "io/Stream.h"

#include <string>

namespace IO {

// Open modes.
namespace FileMode {
constexpr uint32_t Read = 0;
constexpr uint32_t CreateNewWrite = 1; // delete first (failing if that fails), create new
constexpr uint32_t Write = 2;          // delete first (result ignored), create always
constexpr uint32_t CreateNewReadWrite = 3;
} // namespace FileMode

class Win32FileStream : public Stream
{
public:
    Win32FileStream() = default;
    // Closes the file if one is open.
    ~Win32FileStream() override;

    int32_t Open(const std::u16string& path, uint32_t mode);

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
    // Flushes the file to the disk (fsync), so a save survives a crash of the machine.
    int32_t Flush() override;

    bool IsOpen() const { return m_fd >= 0; }

    // The program's wide "\"-separated path as a host path: "/" separators, UTF-8.
    static std::string HostPath(const std::u16string& path);

private:
    int m_fd = -1;
    uint32_t m_mode = FileMode::Read;
    // The folder of a file opened for writing: Flush syncs it too, so that a newly created
    // file's name is as durable as its bytes.
    std::string m_folder;
};

} // namespace IO
