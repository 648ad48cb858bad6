// The merged tree of loose files and QPK2 archives: stored sizes, damaged archives, which
// source wins a name, lookups, decompression and writing. Archives are built here by a small
// writer of the test's own.
#include "io/FileSystem.h"

#include "io/Win32FileStream.h"
#include "support/QpkBuilder.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

using namespace IO;
using namespace Fixture;
namespace R = IO::StreamResult;

namespace {

std::string ReadHostFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::u16string Wide(const std::filesystem::path& path)
{
    return path.u16string();
}

// The whole content of a stream, or "<null>".
std::string Content(std::unique_ptr<Stream> stream)
{
    if (!stream)
        return "<null>";
    std::string bytes(stream->GetSize(), '\0');
    stream->Read(reinterpret_cast<uint8_t*>(bytes.data()), 0, uint32_t(bytes.size()));
    return bytes;
}

std::string ReadPath(FileSystem& fs, std::u16string_view path)
{
    return Content(fs.OpenEntry(FileSystem::FindFile(fs.GetRoot(), path), FileMode::Read));
}

} // namespace

TEST(FileSystem, StoredSizesRunToTheNextFileAndTheEnd)
{
    TempDir dir;
    const std::string toc = Toc(1, {{u"Images", 0, 2, 0}, {u"a", 1, 0, 100}, {u"b", 1, 100, 150}});
    std::string data(250, 'a');
    std::fill(data.begin() + 100, data.end(), 'b');
    WriteFile(dir.Root() / "data.qpk", toc + data);

    FileSystem fs;
    ASSERT_EQ(fs.Mount(Wide(dir.Root())), R::Ok);
    EXPECT_EQ(fs.Mount(Wide(dir.Root())), R::AlreadyMounted);
    ASSERT_EQ(fs.ArchiveCount(), 1u);
    EXPECT_EQ(fs.Archive(1)->dataStart, toc.size());
    EXPECT_TRUE(fs.GetRoot()->files.empty()); // the archive file itself is no entry
    FileEntry* a = FileSystem::FindFile(fs.GetRoot(), u"Images\\a");
    FileEntry* b = FileSystem::FindFile(fs.GetRoot(), u"Images\\b");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->storedSize, 100u);
    EXPECT_EQ(b->storedSize, 150u);
    EXPECT_EQ(b->offset, 100u);
    EXPECT_EQ(b->ArchiveNumber(), 1u);
    EXPECT_EQ(ReadPath(fs, u"Images\\b"), std::string(150, 'b'));
    EXPECT_EQ(fs.OpenEntry(b, FileMode::CreateNewReadWrite), nullptr);
}

TEST(FileSystem, DamagedArchivesAreSkippedWhole)
{
    const std::string ten(10, 'x');
    std::vector<Record> deep;
    for (int i = 0; i < 257; ++i)
        deep.push_back({u"d", 0, 1, 0});
    deep.push_back({u"f", 1, 0, 10});
    const struct
    {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"wrong magic", "QPK1" + Toc(1, {{u"f", 1, 0, 10}}).substr(4) + ten},
        {"root is a file", Toc(1, {{u"f", 1, 0, 10}}, u"Root", 1) + ten},
        {"root name of 131", Toc(1, {{u"f", 1, 0, 10}}, std::u16string(131, u'r')) + ten},
        {"name of 260", Toc(1, {{std::u16string(260, u'n'), 1, 0, 10}}) + ten},
        {"empty name", Toc(1, {{u"", 1, 0, 10}}) + ten},
        {"dot", Toc(1, {{u".", 0, 1, 0}, {u"f", 1, 0, 10}}) + ten},
        {"dot dot", Toc(1, {{u"..", 0, 1, 0}, {u"f", 1, 0, 10}}) + ten},
        {"slash", Toc(1, {{u"a/f", 1, 0, 10}}) + ten},
        {"backslash", Toc(1, {{u"..\\f", 1, 0, 10}}) + ten},
        {"nul unit", Toc(1, {{std::u16string(u"f\0g", 3), 1, 0, 10}}) + ten},
        {"lone surrogate", Toc(1, {{u"f\xD800", 1, 0, 10}}) + ten},
        {"huge root count", Toc(0xFFFFFFFF, {{u"f", 1, 0, 10}}) + ten},
        {"huge directory count", Toc(1, {{u"d", 0, 0x7FFFFFFF, 0}, {u"f", 1, 0, 10}}) + ten},
        {"table cut short", Toc(1, {{u"f", 1, 0, 10}}).substr(0, 30)},
        {"offsets decrease", Toc(2, {{u"f", 1, 5, 5}, {u"g", 1, 0, 5}}) + ten},
        {"offset past the end", Toc(1, {{u"f", 1, 11, 0}}) + ten},
        {"stored size above size", Toc(1, {{u"f", 1, 0, 9}}) + ten},
        {"size past the end", Toc(1, {{u"f", 1, 0, 11}}) + ten},
        {"nested too deep", Toc(1, deep) + ten},
        // A sound first part must not survive a damaged rest.
        {"damage after good entries",
         Toc(2, {{u"Images", 0, 1, 0}, {u"f", 1, 0, 10}, {u"g/h", 1, 10, 0}}) + ten},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WriteFile(dir.Root() / "bad.qpk", c.bytes);
        WriteFile(dir.Root() / "loose.txt", "kept");
        FileSystem fs;
        ASSERT_EQ(fs.Mount(Wide(dir.Root())), R::Ok);
        EXPECT_EQ(fs.ArchiveCount(), 0u);
        EXPECT_TRUE(fs.GetRoot()->subdirs.empty());
        ASSERT_EQ(fs.GetRoot()->files.size(), 1u);
        EXPECT_EQ(fs.GetRoot()->files[0]->name, u"loose.txt");
    }
}

TEST(FileSystem, CompressedEntriesMustInflateToExactlyTheirSize)
{
    const std::string plain = "tavlo tavlo tavlo tavlo tavlo tavlo tavlo!";
    const std::string packed = Zlib(plain);
    const uint32_t n = uint32_t(plain.size());
    const struct
    {
        const char* what;
        std::string data;
        uint32_t size;
        std::string expected;
    } cases[] = {
        {"valid", packed, n, plain},
        {"valid, padded after the stream", packed + "pad", n, plain},
        {"not zlib", std::string(packed.size(), 'z'), n, "<null>"},
        {"truncated stream", packed.substr(0, packed.size() - 5), n, "<null>"},
        {"size too small", packed, n - 1, "<null>"},
        {"size too large", packed, n + 1, "<null>"},
        {"impossible expansion", packed, 0xFFFFFFFF, "<null>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WriteFile(dir.Root() / "z.qpk", Toc(1, {{u"f", 0x101, 0, c.size}}) + c.data);
        FileSystem fs;
        fs.Mount(Wide(dir.Root()));
        ASSERT_NE(FileSystem::FindFile(fs.GetRoot(), u"f"), nullptr);
        EXPECT_TRUE(FileSystem::FindFile(fs.GetRoot(), u"f")->IsCompressed());
        EXPECT_EQ(ReadPath(fs, u"f"), c.expected);
    }
}

TEST(FileSystem, NewerSourceWinsAName)
{
    // Archives named to be scanned before ("A.qpk") and after ("z.qpk") the folder "XML".
    const struct
    {
        const char* archive;
        time_t archiveTime, looseTime;
        const char* expected;
    } cases[] = {
        {"A.qpk", kTime, kTime + 1, "loose"},
        {"z.qpk", kTime, kTime + 1, "loose"},
        {"A.qpk", kTime + 1, kTime, "archived"},
        {"z.qpk", kTime + 1, kTime, "archived"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.archive << " " << c.expected);
        TempDir dir;
        WriteFile(dir.Root() / c.archive,
                  Toc(1, {{u"XML", 0, 1, 0}, {u"a.xml", 1, 0, 8}}) + "archived", c.archiveTime);
        WriteFile(dir.Root() / "XML" / "a.xml", "loose", c.looseTime);
        FileSystem fs;
        fs.Mount(Wide(dir.Root()));
        EXPECT_EQ(ReadPath(fs, u"XML\\a.xml"), c.expected);
        EXPECT_EQ(fs.GetRoot()->subdirs.size(), 1u);
    }

    // Of two archives the newer wins, whichever is scanned first; directories merge.
    for (time_t firstTime : {kTime, kTime + 2}) {
        TempDir dir;
        WriteFile(dir.Root() / "a.qpk",
                  Toc(1, {{u"Images", 0, 2, 0}, {u"f", 1, 0, 1}, {u"x", 1, 1, 1}}) + "1x",
                  firstTime);
        WriteFile(dir.Root() / "b.qpk",
                  Toc(1, {{u"Images", 0, 2, 0}, {u"f", 1, 0, 1}, {u"y", 1, 1, 1}}) + "2y",
                  kTime + 1);
        WriteFile(dir.Root() / "Images" / "z", "z");
        FileSystem fs;
        fs.Mount(Wide(dir.Root()));
        EXPECT_EQ(ReadPath(fs, u"Images\\f"), firstTime > kTime + 1 ? "1" : "2");
        ASSERT_EQ(fs.GetRoot()->subdirs.size(), 1u);
        std::vector<std::u16string> names;
        for (const auto& file : fs.GetRoot()->subdirs[0]->files)
            names.push_back(file->name);
        EXPECT_EQ(names, (std::vector<std::u16string>{u"z", u"f", u"x", u"y"}));
    }
}

TEST(FileSystem, LookupsAreExactAndPathsRelative)
{
    TempDir dir;
    WriteFile(dir.Root() / "Images" / "backgrounds" / "sky.qim", "s");
    WriteFile(dir.Root() / "top.txt", "t");
    WriteFile(dir.Root() / "odd\\name", "skipped: holds the separator");
    WriteFile(dir.Root() / "\xff.bin", "skipped: not UTF-8");
    FileSystem fs;
    fs.Mount(Wide(dir.Root()));
    DirectoryNode* root = fs.GetRoot();
    const struct
    {
        std::u16string path;
        bool found;
    } files[] = {
        {u"Images\\backgrounds\\sky.qim", true},
        {u"top.txt", true},
        {u"images\\backgrounds\\sky.qim", false},
        {u"Images\\Backgrounds\\sky.qim", false},
        {u"Images\\backgrounds\\SKY.qim", false},
        {u"Images\\sky.qim", false},
        {u"\\top.txt", false},
        {u"odd\\name", false},
    };
    for (const auto& f : files) {
        FileEntry* entry = FileSystem::FindFile(root, f.path);
        EXPECT_EQ(entry != nullptr, f.found) << std::string(f.path.begin(), f.path.end());
        if (entry) {
            EXPECT_EQ(FileSystem::RelativePath(entry), f.path);
        }
    }
    EXPECT_EQ(root->files.size(), 1u);
    EXPECT_NE(FileSystem::FindDirectory(root, u"Images\\backgrounds"), nullptr);
    EXPECT_EQ(FileSystem::FindDirectory(root, u"Images\\"), nullptr);
    EXPECT_EQ(FileSystem::FindDirectory(root, u"IMAGES"), nullptr);
    FileEntry orphan;
    orphan.name = u"x";
    EXPECT_EQ(FileSystem::RelativePath(&orphan), u"");

    FileSystem missing;
    EXPECT_EQ(missing.Mount(Wide(dir.Root() / "nothing")), R::CannotOpen);
    EXPECT_EQ(missing.OpenForRead(missing.GetRoot(), u"top.txt"), nullptr);
}

TEST(FileSystem, WritingCreatesFoldersAndReplacesArchivedEntries)
{
    TempDir dir;
    WriteFile(dir.Root() / "d.qpk",
              Toc(1, {{u"Images", 0, 2, 0}, {u"a", 1, 0, 3}, {u"b", 1, 3, 3}}) + "oldbbb");
    FileSystem fs;
    fs.Mount(Wide(dir.Root()));
    DirectoryNode* images = FileSystem::FindDirectory(fs.GetRoot(), u"Images");
    FileEntry* archived = FileSystem::FindFile(images, u"a");
    ASSERT_NE(archived, nullptr);

    {
        auto writer = fs.OpenForWrite(images, u"a");
        ASSERT_NE(writer, nullptr);
        EXPECT_EQ(writer->WriteU32(0x0A77656E), R::Ok); // "new\n"
        EXPECT_EQ(writer->Flush(), R::Ok);
    }
    // The same entry, now a plain file at the end of its directory.
    EXPECT_EQ(FileSystem::FindFile(images, u"a"), archived);
    EXPECT_EQ(archived->ArchiveNumber(), 0u);
    EXPECT_EQ(images->files.back().get(), archived);
    EXPECT_EQ(ReadHostFile(dir.Root() / "Images" / "a"), "new\n");
    EXPECT_EQ(ReadPath(fs, u"Images\\a"), "new\n");

    FileEntry* b = FileSystem::FindFile(images, u"b");
    auto stream = fs.OpenEntry(b, FileMode::Write);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(b->ArchiveNumber(), 0u);
    stream.reset();
    EXPECT_EQ(ReadHostFile(dir.Root() / "Images" / "b"), "");

    auto save = fs.OpenForWrite(nullptr, u"saves\\deep\\data.dat");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->WriteU8('s'), R::Ok);
    save.reset();
    EXPECT_EQ(ReadHostFile(dir.Root() / "saves" / "deep" / "data.dat"), "s");
    EXPECT_EQ(ReadPath(fs, u"saves\\deep\\data.dat"), "s");

    for (std::u16string bad : {u"..\\escape", u"a\\\\b", u"", u"x\\.", u"a/../../b"}) {
        EXPECT_EQ(fs.OpenForWrite(fs.GetRoot(), bad), nullptr);
        EXPECT_EQ(fs.CreatePlainFile(bad), nullptr);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Root().parent_path() / "escape"));
}

TEST(FileSystem, ReplacingAFileKeepsTheReplacedEntryAndTheTreeTrue)
{
    TempDir dir;
    WriteFile(dir.Root() / "d.qpk", Toc(1, {{u"Saves", 0, 1, 0}, {u"data", 1, 0, 3}}) + "old");
    FileSystem fs;
    fs.Mount(Wide(dir.Root()));
    DirectoryNode* saves = FileSystem::FindDirectory(fs.GetRoot(), u"Saves");
    FileEntry* archived = FileSystem::FindFile(saves, u"data");
    ASSERT_NE(archived, nullptr);

    // Over an archived entry: the same object becomes the plain file, the temporary goes.
    fs.OpenForWrite(saves, u"data.tmp")->WriteU8('n');
    ASSERT_TRUE(fs.ReplacePlainFile(saves, u"data.tmp", u"data"));
    EXPECT_EQ(FileSystem::FindFile(saves, u"data"), archived);
    EXPECT_EQ(archived->ArchiveNumber(), 0u);
    EXPECT_EQ(FileSystem::FindFile(saves, u"data.tmp"), nullptr);
    EXPECT_EQ(ReadPath(fs, u"Saves\\data"), "n");
    EXPECT_FALSE(std::filesystem::exists(dir.Root() / "Saves" / "data.tmp"));

    // Onto a new name: the entry is renamed.
    fs.OpenForWrite(fs.GetRoot(), u"a")->WriteU8('a');
    ASSERT_TRUE(fs.ReplacePlainFile(fs.GetRoot(), u"a", u"b"));
    EXPECT_EQ(FileSystem::FindFile(fs.GetRoot(), u"a"), nullptr);
    EXPECT_EQ(ReadPath(fs, u"b"), "a");

    // A missing source, or names that leave the folder, change nothing.
    EXPECT_FALSE(fs.ReplacePlainFile(fs.GetRoot(), u"missing", u"b"));
    EXPECT_FALSE(fs.ReplacePlainFile(fs.GetRoot(), u"b", u"..\\b"));
    EXPECT_FALSE(fs.ReplacePlainFile(nullptr, u"b", u"c"));
    EXPECT_EQ(ReadPath(fs, u"b"), "a");

    fs.RemovePlainFile(fs.GetRoot(), u"b");
    EXPECT_EQ(FileSystem::FindFile(fs.GetRoot(), u"b"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.Root() / "b"));
}
