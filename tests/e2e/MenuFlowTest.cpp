// The menu screens played through the real binary with headless scripts: a first start that
// types a name on the on-screen keyboard and walks every screen, the cap of five players, and
// a clean end from every screen. The taps hit the controls where XML/MainMenu.xml puts them.
#include "e2e/GameFolder.h"
#include "e2e/ScreenPoints.h"
#include "support/Process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace ScreenPoints;

// A script of taps, one every three frames from frame 3, then the closing lines.
std::string Script(const std::vector<Point>& taps, const std::string& end)
{
    std::string script;
    int frame = 3;
    for (const Point& p : taps) {
        script += std::to_string(frame) + " down " + std::to_string(p.x) + " " +
                  std::to_string(p.y) + "\n";
        script += std::to_string(frame + 1) + " up " + std::to_string(p.x) + " " +
                  std::to_string(p.y) + "\n";
        frame += 3;
    }
    return script + std::to_string(frame + 5) + " " + end + "\n";
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t U32At(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
        value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
    return value;
}

// data.dat with these players on their first boards, empty tables and default options.
std::string SavedData(const std::vector<std::string>& names)
{
    std::string bytes;
    auto u32 = [&bytes](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes += char(v >> (8 * i));
    };
    u32(uint32_t(names.size()));
    u32(0);
    for (const std::string& name : names) {
        u32(uint32_t(name.size()));
        for (char c : name)
            bytes += std::string{c, '\0'};
        bytes += std::string(2, '\0');
        for (int mode = 0; mode < 3; ++mode) // lives 3, boards 1 and 1, scores 0 and 0
            bytes += std::string("\3\1\0\1\0\0\0\0\0", 9);
    }
    bytes += std::string(3, '\0');                              // three empty tables
    bytes += std::string("\1\x32\0\0\0\1\x32\0\0\0\1\1\1", 13); // options
    return bytes;
}

ProcessResult Play(const PlayableFolder& folder, const std::string& script)
{
    std::ofstream(folder.Path("script.txt"), std::ios::binary) << script;
    return RunProcess(GameBinary(), {"--headless", "--data", folder.Root().string(), "--script",
                                     folder.Path("script.txt")});
}

using MenuFlow = GameRunTest;

TEST_F(MenuFlow, AFirstStartAddsAPlayerAndWalksEveryScreen)
{
    const std::vector<Point> taps = {
        NameField,  Key(6, 2),  Key(2, 1), Key(1, 3), Key(10, 1), // "jez", Enter
        AddPlayer,  PlayersOk,                                    // into the menu
        Options,    KeysBox,    OptionsOk,                        // turn cells with the keys
        Help,       HelpNext,   HelpNext,  HelpOk,                // two pages on
        HighScores, ScoresBack, Exit,
    };
    const ProcessResult r = Play(folder, Script(taps, "close"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string data = ReadBytes(folder.Path("data.dat"));
    ASSERT_GE(data.size(), 32u);
    EXPECT_EQ(U32At(data, 0), 1u) << "one player";
    EXPECT_EQ(U32At(data, 4), 0u) << "and the current one";
    EXPECT_EQ(data.substr(8, 10), std::string("\3\0\0\0j\0e\0z\0", 10));
    EXPECT_EQ(data[data.size() - 3], '\0') << "keys, not the stylus";
}

TEST_F(MenuFlow, ASixthPlayerIsRefused)
{
    std::ofstream(folder.Path("data.dat"), std::ios::binary)
        << SavedData({"a", "b", "c", "d", "e"});
    const std::vector<Point> taps = {Players, NameField, Key(5, 1), AddPlayer, PlayersOk, Exit};
    const ProcessResult r = Play(folder, Script(taps, "close"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(U32At(ReadBytes(folder.Path("data.dat")), 0), 5u);
}

TEST_F(MenuFlow, EveryScreenClosesCleanly)
{
    struct Case
    {
        const char* screen;
        std::vector<Point> taps;
    };
    const Case cases[] = {
        {"players", {Players, NameField, Key(0, 1)}},
        {"menu", {}},
        {"question", {Arcade}},
        {"options", {Options, KeysBox}},
        {"help", {Help, HelpNext}},
        {"scores", {HighScores}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        PlayableFolder run;
        std::string saved = SavedData({"ann"});
        // Arcade on board 4 with points: the menu asks whether to continue.
        saved.replace(4 + 4 + 4 + 3 * 2 + 2 + 1, 2, std::string("\4\0", 2));
        std::ofstream(run.Path("data.dat"), std::ios::binary) << saved;
        const ProcessResult r = Play(run, Script(c.taps, "close"));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(U32At(ReadBytes(run.Path("data.dat")), 0), 1u);
    }
}

} // namespace
