// Memory and file streams and the reader/writer handles: growth, seeks, short transfers, open
// modes and the result codes callers rely on.
#include "io/FileReader.h"
#include "io/MemoryStream.h"
#include "io/Win32FileStream.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

using namespace IO;
namespace R = IO::StreamResult;

namespace {

std::string ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteHostFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::u16string Wide(const std::string& ascii)
{
    return {ascii.begin(), ascii.end()};
}

} // namespace

TEST(MemoryStream, OwnedBlockDoublesAndKeepsItsBytes)
{
    MemoryStream stream;
    ASSERT_EQ(stream.Create(), R::Ok);
    EXPECT_EQ(stream.Create(), R::AlreadyOpen);
    std::vector<uint8_t> data(3000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7);
    EXPECT_EQ(stream.Write(data.data(), 0, 3000), 3000u);
    EXPECT_EQ(stream.Tell(), 3000u);
    EXPECT_EQ(stream.GetSize(), 4096u);
    EXPECT_EQ(stream.Remaining(), UINT32_MAX);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), stream.GetBuffer()));

    // An empty creation still grows: 1, 2, 4, 4, 8 after each byte.
    MemoryStream small;
    ASSERT_EQ(small.Create(0), R::Ok);
    const uint32_t capacities[] = {1, 2, 4, 4, 8};
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(small.WriteByte(static_cast<uint8_t>(10 + i)), R::Ok);
        EXPECT_EQ(small.GetSize(), capacities[i]);
    }
    const uint8_t expected[] = {10, 11, 12, 13, 14};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), small.GetBuffer()));
}

TEST(MemoryStream, SetSizeRules)
{
    uint8_t borrowed[4] = {};
    MemoryStream notOwned;
    notOwned.Open(borrowed, 4, true);
    EXPECT_EQ(notOwned.SetSize(8), R::NotOwned);

    MemoryStream stream;
    stream.Create(8);
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    stream.Write(bytes, 0, 5);
    uint8_t* block = stream.GetBuffer();
    EXPECT_EQ(stream.SetSize(8), R::Ok);
    EXPECT_EQ(stream.GetBuffer(), block);
    EXPECT_EQ(stream.SetSize(4), R::BelowPosition);
    EXPECT_EQ(stream.SetSize(5), R::Ok);
    EXPECT_EQ(stream.GetSize(), 5u);
    EXPECT_EQ(stream.Tell(), 5u);
    EXPECT_TRUE(stream.IsEOF());
    EXPECT_TRUE(std::equal(std::begin(bytes), std::end(bytes), stream.GetBuffer()));
}

TEST(MemoryStream, SeeksStayInsideTheBlock)
{
    const struct
    {
        int32_t offset;
        uint32_t origin;
        int32_t result;
        uint32_t position; // starting from 4 in a 10-byte block
    } cases[] = {
        {10, SeekOrigin::Begin, R::Ok, 10},
        {11, SeekOrigin::Begin, R::SeekOutside, 4},
        {-1, SeekOrigin::Begin, R::SeekOutside, 4},
        {-4, SeekOrigin::Current, R::Ok, 0},
        {-5, SeekOrigin::Current, R::SeekOutside, 4},
        {6, SeekOrigin::Current, R::Ok, 10},
        {7, SeekOrigin::Current, R::SeekOutside, 4},
        {-10, SeekOrigin::End, R::Ok, 0},
        {-11, SeekOrigin::End, R::SeekOutside, 4},
        {1, SeekOrigin::End, R::SeekOutside, 4},
        {INT32_MIN, SeekOrigin::End, R::SeekOutside, 4},
        {3, 7, R::Ok, 4}, // an unknown origin changes nothing
    };
    uint8_t block[10] = {};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << " from " << c.origin);
        MemoryStream stream;
        stream.Open(block, 10);
        ASSERT_EQ(stream.SetPosition(4), R::Ok);
        EXPECT_EQ(stream.Seek(c.offset, c.origin), c.result);
        EXPECT_EQ(stream.Tell(), c.position);
        EXPECT_EQ(stream.IsEOF(), c.position == 10);
    }
}

TEST(MemoryStream, BorrowedBlocksTransferOnlyWhatFits)
{
    uint8_t block[10] = {0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    MemoryStream writer;
    ASSERT_EQ(writer.Open(block, 2, 8, true, false), R::Ok);
    EXPECT_EQ(writer.GetBuffer(), nullptr);
    const uint8_t ten[10] = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(writer.Write(ten, 0, 10), 8u);
    EXPECT_EQ(block[1], 0);
    EXPECT_EQ(block[9], 9);
    EXPECT_EQ(writer.WriteByte(1), R::EndOfStream);
    EXPECT_EQ(writer.Remaining(), 0u);
    EXPECT_EQ(writer.Flush(), R::Ok);
    EXPECT_EQ(writer.Tell(), 0u);

    MemoryStream reader;
    reader.Open(block, 10);
    EXPECT_FALSE(reader.CanWrite());
    EXPECT_EQ(reader.Write(ten, 0, 1), uint32_t(R::NotAccessible));
    EXPECT_EQ(reader.WriteByte(1), R::NotWritable);
    reader.Seek(-3, SeekOrigin::End);
    uint8_t out[5] = {};
    EXPECT_EQ(reader.Read(out, 1, 5), 3u);
    EXPECT_EQ(out[1], 9);
    EXPECT_EQ(reader.Read(out, 0, 5), 0u);
    EXPECT_EQ(reader.ReadByte(out), R::EndOfStream);
    reader.Seek(0, SeekOrigin::Begin);
    EXPECT_EQ(reader.ReadByte(nullptr), R::NullDestination);
    EXPECT_EQ(reader.Close(), R::Ok);
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(Win32FileStream, OpenModes)
{
    TempDir dir;
    const struct
    {
        uint32_t mode;
        bool exists;
        int32_t result;
        bool canRead, canWrite;
        const char* contentAfter; // null: the file must not exist
    } cases[] = {
        {FileMode::Read, true, R::Ok, true, false, "old"},
        {FileMode::Read, false, R::CannotOpen, false, false, nullptr},
        {FileMode::CreateNewWrite, true, R::Ok, false, true, ""},
        {FileMode::CreateNewWrite, false, R::Ok, false, true, ""},
        {FileMode::Write, true, R::Ok, false, true, ""},
        {FileMode::Write, false, R::Ok, false, true, ""},
        {FileMode::CreateNewReadWrite, true, R::Ok, true, true, ""},
        {4, true, R::UnknownMode, false, false, "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << (c.exists ? " existing" : ""));
        const std::string path = dir.Path("f.bin");
        std::filesystem::remove(path);
        if (c.exists)
            WriteHostFile(path, "old");
        Win32FileStream stream;
        ASSERT_EQ(stream.Open(Wide(path), c.mode), c.result);
        EXPECT_EQ(stream.IsOpen(), c.result == R::Ok);
        if (c.result == R::Ok) {
            EXPECT_EQ(stream.CanRead(), c.canRead);
            EXPECT_EQ(stream.CanWrite(), c.canWrite);
        }
        stream.Close();
        EXPECT_EQ(std::filesystem::exists(path), c.contentAfter != nullptr);
        if (c.contentAfter) {
            EXPECT_EQ(ReadHostFile(path), c.contentAfter);
        }
    }
}

TEST(Win32FileStream, ReadsWritesAndReportsFailures)
{
    TempDir dir;
    std::filesystem::create_directory(dir.Root() / "sub");
    // The program's separator reaches the host folder.
    const std::u16string path = Wide(dir.Path("sub")) + u"\\data.bin";
    Win32FileStream out;
    ASSERT_EQ(out.Open(path, FileMode::Write), R::Ok);
    const uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(out.Write(bytes, 1, 5), 5u);
    EXPECT_EQ(out.WriteByte(7), R::Ok);
    uint8_t buffer[8] = {};
    EXPECT_EQ(out.Read(buffer, 0, 4), 5u); // write-only: a failure is count + 1
    EXPECT_EQ(out.Flush(), R::Ok);
    EXPECT_EQ(out.Close(), R::Ok);
    EXPECT_EQ(ReadHostFile(dir.Path("sub/data.bin")), std::string("\2\3\4\5\6\7"));

    Win32FileStream in;
    ASSERT_EQ(in.Open(path, FileMode::Read), R::Ok);
    EXPECT_EQ(in.GetSize(), 6u);
    EXPECT_EQ(in.SetSize(2), R::NotSupported);
    EXPECT_EQ(in.SetPosition(2), R::Ok);
    EXPECT_EQ(in.SetPosition(1), R::Ok); // relative to the current position
    EXPECT_EQ(in.Tell(), 3u);
    EXPECT_EQ(in.Remaining(), 3u);
    EXPECT_EQ(in.Read(buffer, 2, 8), 3u);
    EXPECT_EQ(buffer[2], 5);
    EXPECT_TRUE(in.IsEOF());
    EXPECT_EQ(in.ReadByte(buffer), R::ReadFailed);
    EXPECT_EQ(in.WriteByte(1), R::WriteFailed);
    EXPECT_EQ(in.Seek(-1, SeekOrigin::Begin), R::SystemFailed);
    EXPECT_EQ(in.Close(), R::Ok);

    EXPECT_EQ(in.Close(), R::NoHandle);
    EXPECT_EQ(in.Seek(0, SeekOrigin::Begin), R::NoHandle);
    EXPECT_EQ(in.SetPosition(0), R::NoHandle);
    EXPECT_EQ(in.Tell(), UINT32_MAX);
    EXPECT_EQ(in.Read(buffer, 0, 4), 5u);
    EXPECT_EQ(in.Flush(), R::NoHandle);
    // A folder is not a file.
    EXPECT_EQ(in.Open(Wide(dir.Path("sub")), FileMode::Read), R::CannotOpen);
}

TEST(FileReader, TypedReadsTouchOnlyTheirBytes)
{
    uint8_t bytes[] = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAB};
    MemoryStream stream;
    stream.Open(bytes, sizeof bytes);
    FileReader reader(&stream);
    uint32_t wide = 0xFFFFFFFF;
    EXPECT_EQ(reader.ReadU16(reinterpret_cast<uint16_t*>(&wide)), R::Ok);
    EXPECT_EQ(wide, 0xFFFF1234u);
    uint32_t value = 0;
    EXPECT_EQ(reader.ReadU32(&value), R::Ok);
    EXPECT_EQ(value, 0x12345678u);
    value = 5;
    EXPECT_EQ(reader.ReadU32(&value), R::ReadFailed);
    EXPECT_EQ(value, 5u);

    FileReader none(static_cast<Stream*>(nullptr));
    uint8_t byte;
    EXPECT_EQ(none.ReadU8(&byte), R::NoHandle);
    EXPECT_EQ(none.Read(&byte, 1), uint32_t(R::NotAccessible));
    EXPECT_EQ(none.GetSize(), uint32_t(R::NotAccessible));
    EXPECT_EQ(none.Seek(0, 0), R::NoHandle);
}

TEST(FileReader, WritesAndReadsBackLittleEndianValuesAndStrings)
{
    MemoryStream stream;
    stream.Create(2);
    {
        FileWriter writer(&stream);
        EXPECT_EQ(writer.WriteU8(0xAA), R::Ok);
        EXPECT_EQ(writer.WriteU16(0x1234), R::Ok);
        EXPECT_EQ(writer.WriteU32(0xA1B2C3D4), R::Ok);
        EXPECT_EQ(writer.WriteWString(u"h\u00e9"), R::Ok);
    }
    const uint8_t expected[] = {0xAA, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1, 'h', 0, 0xE9, 0, 0, 0};
    ASSERT_EQ(stream.Tell(), sizeof expected);
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), stream.GetBuffer()));

    stream.Seek(7, SeekOrigin::Begin);
    FileReader reader(&stream);
    std::u16string text;
    EXPECT_EQ(reader.ReadWString(text), R::Ok);
    EXPECT_EQ(text, u"h\u00e9");
    uint8_t unterminated[] = {'a', 0, 'b'};
    MemoryStream cut;
    cut.Open(unterminated, sizeof unterminated);
    EXPECT_EQ(FileReader(&cut).ReadWString(text), R::ReadFailed);

    uint8_t three[3];
    MemoryStream full;
    full.Open(three, 3, true);
    FileWriter writer(&full);
    EXPECT_EQ(writer.WriteU32(1), R::WriteFailed);
    full.Flush();
    EXPECT_EQ(writer.WriteWString(u""), R::Ok);
    EXPECT_EQ(writer.WriteU16(1), R::WriteFailed);
}

TEST(FileReader, BorrowedStreamOutlivesTheHandleAndOwnedOneIsClosed)
{
    MemoryStream borrowed;
    borrowed.Create(4);
    {
        FileReader reader(&borrowed);
        EXPECT_EQ(reader.Close(), R::Ok);
        EXPECT_EQ(reader.GetStream(), nullptr);
    }
    EXPECT_NE(borrowed.GetBuffer(), nullptr);
    EXPECT_EQ(borrowed.WriteByte(1), R::Ok);

    auto owned = std::make_unique<MemoryStream>();
    owned->Create(4);
    MemoryStream* stream = owned.get();
    FileWriter writer(std::move(owned));
    EXPECT_EQ(writer.Close(), R::Ok);
    EXPECT_EQ(stream->GetBuffer(), nullptr);
}
