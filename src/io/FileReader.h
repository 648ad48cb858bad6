// FileReader and FileWriter: the handles the file system hands out, with the typed reads and
// writes of the saved data. A handle owns its stream unless it was made over a borrowed one.
#pragma once

#include "io/Stream.h"

#include <memory>
#include <string>

namespace IO {

class FileReader
{
public:
    explicit FileReader(std::unique_ptr<Stream> stream); // owns the stream
    explicit FileReader(Stream* borrowed);               // never closes it
    // Closes and frees an owned stream.
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    int32_t Close();
    uint32_t GetSize();
    int32_t Seek(int32_t offset, uint32_t origin);
    int32_t ReadByte(uint8_t* out);
    uint32_t Read(uint8_t* buffer, uint32_t count);
    // Exactly 1, 2 or 4 bytes into the destination, nothing else of it touched; ReadFailed
    // when fewer arrive.
    int32_t ReadU8(uint8_t* out);
    int32_t ReadU16(uint16_t* out);
    int32_t ReadU32(uint32_t* out);
    // UTF-16 units up to and including a 0 unit (the 0 is not stored).
    int32_t ReadWString(std::u16string& out);

    Stream* GetStream() const { return m_stream; }
    bool IsBorrowed() const { return m_borrowed; }

private:
    std::unique_ptr<Stream> m_owned; // the stream, unless borrowed
    Stream* m_stream;
    bool m_borrowed;
};

class FileWriter
{
public:
    explicit FileWriter(std::unique_ptr<Stream> stream);
    explicit FileWriter(Stream* borrowed);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    int32_t Close();
    int32_t Seek(int32_t offset, uint32_t origin);
    uint32_t Write(const uint8_t* buffer, uint32_t count);
    int32_t WriteByte(uint8_t value);
    // WriteFailed unless exactly 1, 2 or 4 bytes were written.
    int32_t WriteU8(uint8_t value);
    int32_t WriteU16(uint16_t value);
    int32_t WriteU32(uint32_t value);
    // The string's UTF-16 units and one 0 unit.
    int32_t WriteWString(const std::u16string& text);
    int32_t Flush();

    Stream* GetStream() const { return m_stream; }

private:
    std::unique_ptr<Stream> m_owned; // the stream, unless borrowed
    Stream* m_stream;
    bool m_borrowed;
};

} // namespace IO
