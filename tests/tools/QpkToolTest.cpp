// The qpk tool end to end: packing, listing, printing and unpacking a folder, the merged
// tree, deterministic output, and its exit codes.
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

namespace {

std::string Qpk()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return std::string(dir ? dir : ".") + "/qpk";
}

ProcessResult RunQpk(const std::vector<std::string>& args)
{
    return RunProcess(Qpk(), args);
}

void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

size_t ZlibSize(const std::string& plain)
{
    uLongf length = compressBound(plain.size());
    std::string out(length, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &length,
              reinterpret_cast<const Bytef*>(plain.data()), plain.size(), 9);
    return length;
}

// Every file and folder below root, by relative path ("/" for a folder).
std::map<std::string, std::string> Snapshot(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(item.path(), root).string();
        files[relative] = item.is_directory() ? "/" : ReadFile(item.path());
    }
    return files;
}

struct Fixture
{
    TempDir dir;
    fs::path source = dir.Root() / "src";
    std::string text, noise;

    Fixture()
    {
        for (int i = 0; i < 200; ++i)
            text += "<cell sides=\"" + std::to_string(i % 12) + "\"/>\n";
        uint32_t seed = 7;
        for (int i = 0; i < 300; ++i) {
            seed = seed * 1103515245 + 12345;
            noise += static_cast<char>(seed >> 24);
        }
        WriteFile(source / "XML" / "layout.xml", text);
        WriteFile(source / "Images" / "noise.bin", noise);
        WriteFile(source / "Images" / "deep" / "\xc3\xbc\xc3\xb1\xc3\xaf.txt", "hi\n");
        WriteFile(source / "empty", "");
        WriteFile(source / "\xc3\xa9t\xc3\xa9.txt", "summer");
        fs::create_directories(source / "Zones");
    }
};

} // namespace

TEST(QpkTool, PackedFolderListsPrintsAndUnpacksUnchanged)
{
    Fixture f;
    const std::string archive = f.dir.Path("data.qpk");
    ASSERT_EQ(RunQpk({"pack", archive, f.source.string()}).exitCode, 0);

    // Depth first, names in UTF-16 code-unit order: capitals before small letters before é.
    const std::string expected = "Images/deep/\xc3\xbc\xc3\xb1\xc3\xaf.txt\t3\t3\t-\n"
                                 "Images/noise.bin\t300\t300\t-\n"
                                 "XML/layout.xml\t" +
                                 std::to_string(f.text.size()) + "\t" +
                                 std::to_string(ZlibSize(f.text)) +
                                 "\tz\n"
                                 "empty\t0\t0\t-\n"
                                 "\xc3\xa9t\xc3\xa9.txt\t6\t6\t-\n";
    ProcessResult list = RunQpk({"list", archive});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, expected);

    const std::pair<const char*, std::string> files[] = {
        {"XML/layout.xml", f.text},
        {"Images/noise.bin", f.noise},
        {"empty", ""},
        {"Images/deep/\xc3\xbc\xc3\xb1\xc3\xaf.txt", "hi\n"},
    };
    for (const auto& [path, content] : files) {
        ProcessResult cat = RunQpk({"cat", archive, path});
        EXPECT_EQ(cat.exitCode, 0) << path;
        EXPECT_EQ(cat.out, content) << path;
    }

    const fs::path out = f.dir.Root() / "out";
    ASSERT_EQ(RunQpk({"unpack", archive, out.string()}).exitCode, 0);
    EXPECT_EQ(Snapshot(out), Snapshot(f.source));
}

TEST(QpkTool, TreeShowsTheMergedFolder)
{
    Fixture f;
    const fs::path game = f.dir.Root() / "game";
    fs::create_directories(game);
    ASSERT_EQ(RunQpk({"pack", (game / "data.qpk").string(), f.source.string()}).exitCode, 0);
    // Newer than the archive: it overrides the archived file. A directory's files come before
    // its subdirectories; the loose folder "XML" was scanned first.
    fs::last_write_time(game / "data.qpk",
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    WriteFile(game / "XML" / "layout.xml", "mine");
    ProcessResult tree = RunQpk({"tree", game.string()});
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    EXPECT_EQ(tree.out, "empty\t0\tdata.qpk\n"
                        "\xc3\xa9t\xc3\xa9.txt\t6\tdata.qpk\n"
                        "XML/layout.xml\t4\t-\n"
                        "Images/noise.bin\t300\tdata.qpk\n"
                        "Images/deep/\xc3\xbc\xc3\xb1\xc3\xaf.txt\t3\tdata.qpk\n");
}

TEST(QpkTool, SameFolderGivesSameBytes)
{
    Fixture f;
    ASSERT_EQ(RunQpk({"pack", f.dir.Path("one.qpk"), f.source.string()}).exitCode, 0);
    fs::copy(f.source, f.dir.Root() / "copy", fs::copy_options::recursive);
    ASSERT_EQ(RunQpk({"pack", f.dir.Path("two.qpk"), f.dir.Path("copy")}).exitCode, 0);
    EXPECT_EQ(ReadFile(f.dir.Path("one.qpk")), ReadFile(f.dir.Path("two.qpk")));

    ASSERT_EQ(RunQpk({"pack", f.dir.Path("s.qpk"), f.source.string(), "--store"}).exitCode, 0);
    ProcessResult cat = RunQpk({"cat", f.dir.Path("s.qpk"), "XML/layout.xml"});
    EXPECT_EQ(cat.out, f.text);
    EXPECT_EQ(RunQpk({"list", f.dir.Path("s.qpk")}).out.find("\tz\n"), std::string::npos);
}

TEST(QpkTool, ExitCodes)
{
    Fixture f;
    const std::string archive = f.dir.Path("data.qpk");
    ASSERT_EQ(RunQpk({"pack", archive, f.source.string()}).exitCode, 0);
    const std::string bytes = ReadFile(archive);
    WriteFile(f.dir.Root() / "cut.qpk", bytes.substr(0, 40));
    // Damage inside the compressed file's data; only the 6 bytes of the last file follow it.
    std::string corrupt = bytes;
    corrupt[bytes.size() - 6 - ZlibSize(f.text) + 4] ^= 0x55;
    WriteFile(f.dir.Root() / "bad.qpk", corrupt);

    const struct
    {
        std::vector<std::string> args;
        int exitCode;
    } cases[] = {
        {{}, 2},
        {{"list"}, 2},
        {{"list", archive, "extra"}, 2},
        {{"pack", archive}, 2},
        {{"pack", archive, f.source.string(), "--fast"}, 2},
        {{"explode", archive}, 2},
        {{"list", f.dir.Path("cut.qpk")}, 1},
        {{"unpack", f.dir.Path("cut.qpk"), f.dir.Path("out")}, 1},
        {{"cat", f.dir.Path("bad.qpk"), "XML/layout.xml"}, 1},
        {{"cat", archive, "XML/missing.xml"}, 1},
        {{"list", f.dir.Path("missing.qpk")}, 1},
        {{"tree", f.dir.Path("missing")}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        ProcessResult result = RunQpk(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err.rfind(c.exitCode == 2 ? "usage: qpk" : "qpk: ", 0), 0u) << result.err;
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
        }
    }
    EXPECT_FALSE(fs::exists(f.dir.Path("out") + "/XML"));
}
