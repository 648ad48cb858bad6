// FileReader and FileWriter: forwarding to the stream, and the typed reads and writes, which
// copy the host's little-endian bytes as they are.
#include "io/FileReader.h"

#include <bit>
#include <cstring>

namespace IO {

static_assert(std::endian::native == std::endian::little,
              "files are little-endian and are read and written as raw bytes");

namespace {

template <typename T>
int32_t ReadExactly(FileReader& reader, T* out)
{
    if (!reader.GetStream())
        return StreamResult::NoHandle;
    if (!out)
        return StreamResult::NullDestination;
    uint8_t bytes[sizeof(T)];
    if (reader.Read(bytes, sizeof(T)) != sizeof(T))
        return StreamResult::ReadFailed;
    std::memcpy(out, bytes, sizeof(T));
    return StreamResult::Ok;
}

template <typename T>
int32_t WriteExactly(FileWriter& writer, T value)
{
    if (!writer.GetStream())
        return StreamResult::NoHandle;
    uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    return writer.Write(bytes, sizeof(T)) == sizeof(T) ? StreamResult::Ok
                                                       : StreamResult::WriteFailed;
}

} // namespace

FileReader::FileReader(std::unique_ptr<Stream> stream)
    : m_owned(std::move(stream)), m_stream(m_owned.get()), m_borrowed(false)
{}

FileReader::FileReader(Stream* borrowed) : m_stream(borrowed), m_borrowed(true) {}

FileReader::~FileReader()
{
    Close();
}

int32_t FileReader::Close()
{
    if (!m_borrowed && m_stream)
        return m_stream->Close();
    m_stream = nullptr;
    return StreamResult::Ok;
}

uint32_t FileReader::GetSize()
{
    return m_stream ? m_stream->GetSize() : static_cast<uint32_t>(StreamResult::NotAccessible);
}

int32_t FileReader::Seek(int32_t offset, uint32_t origin)
{
    return m_stream ? m_stream->Seek(offset, origin) : StreamResult::NoHandle;
}

int32_t FileReader::ReadByte(uint8_t* out)
{
    return m_stream ? m_stream->ReadByte(out) : StreamResult::NoHandle;
}

uint32_t FileReader::Read(uint8_t* buffer, uint32_t count)
{
    return m_stream ? m_stream->Read(buffer, 0, count)
                    : static_cast<uint32_t>(StreamResult::NotAccessible);
}

int32_t FileReader::ReadU8(uint8_t* out)
{
    return ReadExactly(*this, out);
}

int32_t FileReader::ReadU16(uint16_t* out)
{
    return ReadExactly(*this, out);
}

int32_t FileReader::ReadU32(uint32_t* out)
{
    return ReadExactly(*this, out);
}

int32_t FileReader::ReadWString(std::u16string& out)
{
    out.clear();
    for (;;) {
        uint16_t unit;
        if (int32_t result = ReadU16(&unit); result != StreamResult::Ok)
            return result;
        if (unit == 0)
            return StreamResult::Ok;
        out.push_back(static_cast<char16_t>(unit));
    }
}

FileWriter::FileWriter(std::unique_ptr<Stream> stream)
    : m_owned(std::move(stream)), m_stream(m_owned.get()), m_borrowed(false)
{}

FileWriter::FileWriter(Stream* borrowed) : m_stream(borrowed), m_borrowed(true) {}

FileWriter::~FileWriter()
{
    Close();
}

int32_t FileWriter::Close()
{
    if (!m_borrowed && m_stream)
        return m_stream->Close();
    m_stream = nullptr;
    return StreamResult::Ok;
}

int32_t FileWriter::Seek(int32_t offset, uint32_t origin)
{
    return m_stream ? m_stream->Seek(offset, origin) : StreamResult::NoHandle;
}

uint32_t FileWriter::Write(const uint8_t* buffer, uint32_t count)
{
    return m_stream ? m_stream->Write(buffer, 0, count)
                    : static_cast<uint32_t>(StreamResult::NotAccessible);
}

int32_t FileWriter::WriteByte(uint8_t value)
{
    return m_stream ? m_stream->WriteByte(value) : StreamResult::NoHandle;
}

int32_t FileWriter::WriteU8(uint8_t value)
{
    return WriteExactly(*this, value);
}

int32_t FileWriter::WriteU16(uint16_t value)
{
    return WriteExactly(*this, value);
}

int32_t FileWriter::WriteU32(uint32_t value)
{
    return WriteExactly(*this, value);
}

int32_t FileWriter::WriteWString(const std::u16string& text)
{
    if (!m_stream)
        return StreamResult::NoHandle;
    // The units and the terminating 0 unit that c_str() guarantees, in one write.
    const uint32_t bytes = static_cast<uint32_t>((text.size() + 1) * sizeof(char16_t));
    return Write(reinterpret_cast<const uint8_t*>(text.c_str()), bytes) == bytes
               ? StreamResult::Ok
               : StreamResult::WriteFailed;
}

int32_t FileWriter::Flush()
{
    return m_stream ? m_stream->Flush() : StreamResult::NoHandle;
}

} // namespace IO
