// The game in a real window on a virtual display: it starts on a built game folder, takes the
// pointer and the keyboard as its stylus and keys, and a close request ends it cleanly.
#include "e2e/GameFolder.h"
#include "e2e/XvfbSession.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// The events of a recorded script without their frame numbers; false when the frames go
// backwards.
bool RecordedEvents(const std::string& path, std::vector<std::string>& events)
{
    std::ifstream in(path);
    std::string line;
    long last = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        long frame = -1;
        fields >> frame >> std::ws;
        if (frame < last)
            return false;
        last = frame;
        std::string rest;
        std::getline(fields, rest);
        events.push_back(rest);
    }
    return true;
}

} // namespace

TEST_F(GameRunTest, WindowTakesTheStylusAndKeysAndClosesCleanly)
{
    XvfbSession x;
    if (!x.Problem().empty())
        GTEST_SKIP() << x.Problem();
    // The game records what reaches it, in game screen coordinates.
    TempDir out;
    const std::string record = out.Path("input.txt");
    ASSERT_TRUE(x.StartGame({"--data", folder.Root().string(), "--record", record}, 3))
        << x.Problem();
    // The screen's corners, at scale 3: the first and the last window pixels of a screen
    // pixel must both land on it, so the taps go to its middle and the edges are exact.
    ASSERT_TRUE(x.Tap(0, 0)) << x.Problem();
    ASSERT_TRUE(x.Tap(239, 319)) << x.Problem();
    ASSERT_TRUE(x.Press(30, 40) && x.MoveTo(35, 41) && x.Release(35, 41)) << x.Problem();
    ASSERT_TRUE(x.Key("F1")) << x.Problem();
    x.WaitFrames(3);
    ASSERT_TRUE(x.GameRunning());

    ProcessResult end = x.Close();
    EXPECT_EQ(end.exitCode, 0) << end.err;
    EXPECT_EQ(end.err, "");
    std::vector<std::string> events;
    ASSERT_TRUE(RecordedEvents(record, events));
    const std::vector<std::string> expected = {
        "down 0 0",   "up 0 0",   "down 239 319", "up 239 319", "down 30 40",
        "move 35 41", "up 35 41", "keydown 112",  "keyup 112",  "close",
    };
    EXPECT_EQ(events, expected);
    // The exit ran as for the window's close button: the player's data was saved.
    EXPECT_TRUE(std::filesystem::exists(folder.Path("data.dat")));
}

// A first start in the window, as a player does it: the name typed on the device's keys into
// the field, Enter, Add, OK into the menu, then Exit.
TEST_F(GameRunTest, AFirstStartInTheWindowCreatesThePlayer)
{
    XvfbSession x;
    if (!x.Problem().empty())
        GTEST_SKIP() << x.Problem();
    ASSERT_TRUE(x.StartGame({"--data", folder.Root().string()})) << x.Problem();
    x.WaitFrames(4);
    const auto tap = [&x](int px, int py) {
        const bool ok = x.Tap(px, py);
        x.WaitFrames(3);
        return ok;
    };
    ASSERT_TRUE(tap(80, 60)) << x.Problem(); // the name field
    for (const char* key : {"j", "e", "z", "Return"}) {
        ASSERT_TRUE(x.Key(key)) << x.Problem();
        x.WaitFrames(2);
    }
    ASSERT_TRUE(tap(200, 60) && tap(120, 296)) << x.Problem(); // Add, OK
    ASSERT_TRUE(tap(120, 299)) << x.Problem();                 // Exit, in the menu
    const ProcessResult end = x.WaitForExit();
    EXPECT_EQ(end.exitCode, 0) << end.err;
    std::ifstream in(folder.Path("data.dat"), std::ios::binary);
    const std::string data{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GE(data.size(), 18u);
    EXPECT_EQ(data.substr(0, 18), std::string("\1\0\0\0\0\0\0\0\3\0\0\0j\0e\0z\0", 18));
}
