// The game's window in a desktop session: closed from outside while in the background, made
// full screen and back, started where there is no display, and started without a sound device.
#include "e2e/GameFolder.h"
#include "e2e/XvfbSession.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

TEST_F(GameRunTest, ASignalEndsTheGameWhileItsWindowIsInTheBackground)
{
    XvfbSession x;
    if (!x.Problem().empty())
        GTEST_SKIP() << x.Problem();
    for (bool minimised : {false, true}) {
        SCOPED_TRACE(minimised ? "window unmapped" : "focus on another window");
        ASSERT_TRUE(x.StartGame({"--data", folder.Root().string()})) << x.Problem();
        x.WaitFrames(10);
        ASSERT_TRUE(minimised ? x.HideWindow() : x.FocusElsewhere()) << x.Problem();
        x.WaitFrames(5);
        ASSERT_TRUE(x.GameRunning());
        // A logout or a kill: the exit path runs, and the player's data is saved.
        const ProcessResult end = x.Close(1);
        EXPECT_EQ(end.exitCode, 0) << end.err;
        EXPECT_TRUE(fs::exists(folder.Path("data.dat")));
        fs::remove(folder.Path("data.dat"));
    }
}

TEST_F(GameRunTest, TheWindowShowsTheScreenAgainAfterFullScreenAndBack)
{
    XvfbSession x;
    if (!x.Problem().empty())
        GTEST_SKIP() << x.Problem();
    ASSERT_TRUE(x.StartGame({"--data", folder.Root().string()})) << x.Problem();
    // The player selection of a first start stands still once shown.
    x.WaitFrames(30);
    int width = 0, height = 0;
    const std::vector<uint32_t> before = x.WindowPixels(width, height);
    ASSERT_EQ(before.size(), 480u * 640u) << x.Problem();
    ASSERT_NE(std::count(before.begin(), before.end(), 0u), std::ptrdiff_t(before.size()));

    // Without a window manager nothing else repaints the window.
    for (int toggle = 0; toggle < 2; ++toggle) {
        ASSERT_TRUE(x.Key("F11")) << x.Problem();
        x.WaitFrames(15);
    }
    const std::vector<uint32_t> after = x.WindowPixels(width, height);
    ASSERT_EQ(after.size(), before.size()) << width << " x " << height;
    const auto same = std::mismatch(before.begin(), before.end(), after.begin());
    EXPECT_EQ(same.first, before.end())
        << "first difference at pixel " << (same.first - before.begin()) << ": " << std::hex
        << *same.first << " became " << *same.second;
    EXPECT_EQ(x.Close().exitCode, 0);
}

TEST_F(GameRunTest, WithoutADisplayTheGameSaysSoInsteadOfRunningUnseen)
{
    TempDir runtime;
    // No display of any kind, as over a plain SSH login.
    const std::vector<std::string> noDisplay = {
        "DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=", "SDL_AUDIODRIVER=dummy",
        "XDG_RUNTIME_DIR=" + runtime.Root().string()};
    const ProcessResult r =
        RunProcess(GameBinary(), {"--data", folder.Root().string()}, noDisplay, 10);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.err, "tavlo: no display to open a window on; use --headless to run without one\n");
    EXPECT_FALSE(fs::exists(folder.Path("data.dat")));

    // A driver the user names is the user's choice, invisible or not.
    std::vector<std::string> named = noDisplay;
    named.push_back("SDL_VIDEODRIVER=dummy");
    std::erase(named, "SDL_VIDEODRIVER=");
    const ProcessResult chosen =
        RunProcess(GameBinary(), {"--data", folder.Root().string(), "--frames", "5"}, named, 30);
    EXPECT_EQ(chosen.exitCode, 0) << chosen.err;
}

TEST_F(GameRunTest, WithoutASoundDeviceTheGameSaysSoInOneLineAndPlaysSilently)
{
    TempDir runtime;
    // No such audio system; and ALSA asked for a card the machine does not have, whose library
    // reports each failed step on stderr by itself.
    const std::vector<std::vector<std::string>> cases = {
        {"SDL_AUDIODRIVER=no-such-driver"},
        {"SDL_AUDIODRIVER=alsa", "AUDIODEV=hw:99,0"},
    };
    for (const auto& audio : cases) {
        SCOPED_TRACE(audio.back());
        std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy",
                                        "XDG_RUNTIME_DIR=" + runtime.Root().string()};
        env.insert(env.end(), audio.begin(), audio.end());
        const ProcessResult r =
            RunProcess(GameBinary(), {"--data", folder.Root().string(), "--frames", "20"}, env, 30);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "tavlo: no sound device; playing silently\n");
    }
}
