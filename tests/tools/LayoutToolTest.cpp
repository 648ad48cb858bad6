// The layout tool end to end: the JSON it prints for a layout, the binary form it writes read
// back to the same tree, skin elements, and its exit codes for refused files and bad usage.
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string LayoutTool()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return std::string(dir ? dir : ".") + "/layouttool";
}

ProcessResult RunLayoutTool(const std::vector<std::string>& args)
{
    return RunProcess(LayoutTool(), args);
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const char* const Layout =
    "<Window name=\"top\" width=\"100\" height=\"50\" element=\"panel\">"
    "<Window name=\"q&quot;\\&#9;\xC3\xA9\" x=\"-3\" visible=\"0\" ghost=\"1\" maxX=\"10\"/>"
    "<Knob name=\"skipped\"/>"
    "</Window>";

const char* const Skin = "<UISystem><UIStyle name=\"s\"><Element name=\"panel\">"
                         "<State name=\"default\"/></Element></UIStyle></UISystem>";

std::string Line(int depth, const char* rest)
{
    return "{\"depth\":" + std::to_string(depth) + ",\"class\":\"Window\"," + rest + "}\n";
}

const std::string TopWithout =
    Line(0, "\"width\":100,\"height\":50,\"x\":0,\"y\":0,\"visible\":true,\"enabled\":true,"
            "\"alwaysOnTop\":false,\"overlapped\":true,\"minX\":-65535,\"maxX\":65535,"
            "\"minY\":-65535,\"maxY\":65535,\"name\":\"top\",\"ghost\":false,\"captured\":false,"
            "\"canActivate\":false,\"clipChildren\":false,\"element\":null");
const std::string Child =
    Line(1, "\"width\":0,\"height\":0,\"x\":-3,\"y\":0,\"visible\":false,\"enabled\":true,"
            "\"alwaysOnTop\":false,\"overlapped\":true,\"minX\":-65535,\"maxX\":10,"
            "\"minY\":-65535,\"maxY\":65535,\"name\":\"q\\\"\\\\\\u0009\xC3\xA9\",\"ghost\":true,"
            "\"captured\":false,\"canActivate\":false,\"clipChildren\":false,\"element\":null");

} // namespace

TEST(LayoutToolTest, DumpsEveryWindowAndReadsItsBinaryFormAlike)
{
    TempDir dir;
    const std::string xml = dir.Path("layout.xml");
    const std::string bin = dir.Path("layout.bin");
    const std::string skin = dir.Path("uiconfig.xml");
    WriteText(xml, Layout);
    WriteText(skin, Skin);

    ProcessResult dump = RunLayoutTool({"dump", xml});
    EXPECT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_EQ(dump.out, TopWithout + Child);

    std::string topWith = TopWithout;
    topWith.replace(topWith.find("\"element\":null"), 14, "\"element\":\"panel\"");
    ProcessResult skinned = RunLayoutTool({"dump", "--skin", skin, xml});
    EXPECT_EQ(skinned.exitCode, 0) << skinned.err;
    EXPECT_EQ(skinned.out, topWith + Child);

    ProcessResult written = RunLayoutTool({"bin", xml, bin});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.out, "");
    ProcessResult binary = RunLayoutTool({"dump", bin, "--binary", "--skin", skin});
    EXPECT_EQ(binary.exitCode, 0) << binary.err;
    EXPECT_EQ(binary.out, skinned.out);
}

TEST(LayoutToolTest, RefusedFilesAndBadUsage)
{
    TempDir dir;
    const std::string xml = dir.Path("layout.xml");
    const std::string bin = dir.Path("layout.bin");
    WriteText(xml, Layout);
    ASSERT_EQ(RunLayoutTool({"bin", xml, bin}).exitCode, 0);
    const std::string full = ReadText(bin);
    WriteText(dir.Path("cut.bin"), full.substr(0, full.size() - 4));
    WriteText(dir.Path("broken.xml"), "<Window name=\"a\">");
    WriteText(dir.Path("other.xml"), "<Strings><Window/></Strings>");
    WriteText(dir.Path("skin.xml"), "<NotASkin/>");

    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {{"dump", dir.Path("broken.xml")}, 1},
        {{"dump", dir.Path("other.xml")}, 1},
        {{"dump", dir.Path("missing.xml")}, 1},
        {{"dump", dir.Path("cut.bin"), "--binary"}, 1},
        {{"dump", xml, "--binary"}, 1},
        {{"dump", xml, "--skin", dir.Path("skin.xml")}, 1},
        {{"bin", dir.Path("broken.xml"), dir.Path("out.bin")}, 1},
        {{}, 2},
        {{"dump"}, 2},
        {{"dump", xml, "--skin"}, 2},
        {{"dump", xml, "--verbose"}, 2},
        {{"dump", xml, xml}, 2},
        {{"bin", xml}, 2},
        {{"show", xml}, 2},
    };
    for (const Case& c : cases) {
        std::string label;
        for (const std::string& arg : c.args)
            label += arg + " ";
        SCOPED_TRACE(label);
        ProcessResult result = RunLayoutTool(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, "");
        if (c.exitCode == 1)
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        else
            EXPECT_NE(result.err.find("usage:"), std::string::npos);
    }
    // A refused conversion leaves no output file behind.
    EXPECT_FALSE(std::ifstream(dir.Path("out.bin")).good());
}
