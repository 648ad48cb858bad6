// End-to-end runs of the real game binary: headless runs with scripts and screenshots, the
// command line's errors, bad game folders, signals, and the single-instance rule of windowed
// runs.
#include "e2e/GameFolder.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

namespace fs = std::filesystem;

ProcessResult RunGame(const std::vector<std::string>& args,
                      const std::vector<std::string>& environment = {})
{
    return RunProcess(GameBinary(), args, environment);
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool IsScreenPng(const std::string& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    bool ok = image.width == 240 && image.height == 320 && (image.format & PNG_FORMAT_FLAG_COLOR) &&
              !(image.format & PNG_FORMAT_FLAG_ALPHA);
    png_image_free(&image);
    return ok;
}

// The frame count a run reports on stderr when TAVLO_STATS is set.
int FramesRun(const ProcessResult& result)
{
    int frames = -1;
    size_t at = result.err.find("tavlo: ");
    if (at != std::string::npos)
        std::sscanf(result.err.c_str() + at, "tavlo: %d frames", &frames);
    return frames;
}

} // namespace

TEST_F(GameRunTest, HeadlessRunWritesAScreenshot)
{
    const PlayableFolder& dir = folder;
    const std::string shot = dir.Path("out.png");
    ProcessResult r = RunGame(
        {"--headless", "--data", dir.Root().string(), "--frames", "3", "--screenshot", shot});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(IsScreenPng(shot));
}

TEST_F(GameRunTest, ClosingSavesThePlayersDataFile)
{
    // A game folder without data.dat: no players, empty tables, the default options.
    const PlayableFolder& dir = folder;
    ProcessResult r = RunGame({"--headless", "--data", dir.Root().string(), "--frames", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::ifstream in(dir.Path("data.dat"), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string expected = std::string("\0\0\0\0"         // no players
                                             "\xFF\xFF\xFF\xFF" // none selected
                                             "\0\0\0",          // three empty tables
                                             11) +
                                 std::string("\x01\x32\0\0\0" // sound on, volume 50
                                             "\x01\x32\0\0\0" // music on, volume 50
                                             "\x01\x01\x01",  // stylus, smoothing, pictures
                                             13);
    EXPECT_EQ(bytes, expected);
}

TEST_F(GameRunTest, ScriptedCloseEndsTheRunAfterItsFrame)
{
    const PlayableFolder& dir = folder;
    WriteFile(dir.Path("close.txt"),
              "# close before frame 2\n2 close\n1 shot " + dir.Path("one.png") + "\n");
    ProcessResult r =
        RunGame({"--headless", "--data", dir.Root().string(), "--script", dir.Path("close.txt")},
                {"TAVLO_STATS=1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(FramesRun(r), 3) << r.err; // frames 0, 1 and 2, which exits
    EXPECT_TRUE(IsScreenPng(dir.Path("one.png")));
}

TEST(GameBinary, BadInputIsRefusedWithUsageErrors)
{
    TempDir dir;
    WriteFile(dir.Path("bad.txt"), "0 down 1 2\n1 wiggle 3 4\n");
    const struct
    {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--headless", "--script", dir.Path("bad.txt")}, "bad.txt:2: unknown event 'wiggle'"},
        {{"--headless", "--script", dir.Path("missing.txt")}, "missing.txt: cannot open"},
        {{"--headless", "--script", dir.Root().string()}, "cannot open the script"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--scale", "0"}, "option '--scale' needs a whole number from 1 to 8, not '0'"},
        {{"--scale=9x"}, "option '--scale'"},
        {{"--seed", "-3"}, "option '--seed'"},
        {{"--frames"}, "option '--frames' needs a value"},
        {{"--headless=yes"}, "option '--headless' takes no value"},
        {{"--script", dir.Path("bad.txt")}, "option '--script' needs '--headless'"},
    };
    for (const auto& c : cases) {
        ProcessResult r = RunGame(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n') >= 1, true);
    }
    ProcessResult usage = RunGame({"--bogus"});
    EXPECT_NE(usage.err.find("usage: tavlo"), std::string::npos);
    ProcessResult help = RunGame({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--screenshot FILE"), std::string::npos);
}

TEST_F(GameRunTest, SigtermClosesAHeadlessRunCleanly)
{
    // Without a frame limit a headless run goes on forever on its virtual clock.
    const PlayableFolder& dir = folder;
    Process game(GameBinary(), {"--headless", "--data", dir.Root().string(), "--screenshot",
                                dir.Path("end.png")});
    ASSERT_TRUE(game.Started());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(game.Running());
    game.Signal(SIGTERM);
    ProcessResult r = game.Wait(30);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(IsScreenPng(dir.Path("end.png")));
}

TEST_F(GameRunTest, SecondWindowedInstanceExitsWithCode1)
{
    const PlayableFolder& dir = folder;
    const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy",
                                          "XDG_RUNTIME_DIR=" + dir.Root().string()};
    Process first(GameBinary(), {"--data", dir.Root().string()}, env);
    ASSERT_TRUE(first.Started());

    // Wait until the first instance holds its lock.
    const std::string lockPath = dir.Path("Kestrune_00000000.lock");
    bool held = false;
    for (int i = 0; i < 100 && !held && first.Running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        int fd = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            held = flock(fd, LOCK_EX | LOCK_NB) != 0;
            close(fd);
        }
    }
    ASSERT_TRUE(held) << first.Wait(5).err;

    ProcessResult second = RunGame({"--data", dir.Root().string()}, env);
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_NE(second.err.find("already open"), std::string::npos) << second.err;

    ASSERT_TRUE(first.Running());
    first.Signal(SIGINT);
    ProcessResult r = first.Wait(30);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(GameRunTest, InputBeforeAnyScreenAndRepeatedClosesEndCleanly)
{
    // The UI system exists from the loading screen's second frame on, with no root window yet:
    // taps and keys then hit nothing. Closes that arrive after the exit has begun must not
    // bring the game back to life.
    const PlayableFolder& dir = folder;
    // Saved options that differ from the defaults: a new context would save the defaults.
    const std::string saved = std::string("\0\0\0\0\xFF\xFF\xFF\xFF\0\0\0", 11) +
                              std::string("\0\x07\0\0\0\x01\x32\0\0\0\0\x01\x01", 13);
    WriteFile(dir.Path("data.dat"), saved);
    std::string script;
    for (int frame = 0; frame <= 12; ++frame) {
        script += std::to_string(frame) + " down 120 160\n" + std::to_string(frame) +
                  " move 130 170\n" + std::to_string(frame) + " up 130 170\n" +
                  std::to_string(frame) + " keydown 13\n" + std::to_string(frame) + " keyup 13\n";
    }
    script += "12 close\n13 close\n14 close\n";
    WriteFile(dir.Path("input.txt"), script);
    ProcessResult r =
        RunGame({"--headless", "--data", dir.Root().string(), "--script", dir.Path("input.txt")},
                {"TAVLO_STATS=1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(FramesRun(r), 13) << r.err; // frames 0 to 12, which exits
    std::ifstream in(dir.Path("data.dat"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), saved);
}

TEST(GameBinary, BadGameFolderEndsTheRunBeforeAnythingIsWritten)
{
    // Windowed runs included: the check comes before the window, the single-instance lock and
    // the input recording.
    TempDir dir;
    TempDir runtime;
    fs::create_directory(dir.Root() / "empty");
    WriteFile(dir.Path("file"), "not a folder");
    const struct
    {
        std::string folder;
        const char* reason;
    } cases[] = {
        {dir.Path("missing"), "no such folder"},
        {dir.Path("file"), "not a folder"},
        {dir.Path("empty"), "missing XML/resources.xml, "},
    };
    const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy",
                                          "XDG_RUNTIME_DIR=" + runtime.Root().string()};
    for (const auto& c : cases) {
        for (bool headless : {true, false}) {
            std::vector<std::string> args = {"--data", c.folder, "--frames", "2"};
            args.push_back(headless ? "--headless" : "--record=" + dir.Path("input.txt"));
            ProcessResult r = RunGame(args, env);
            const std::string label = c.folder + (headless ? " headless" : " windowed");
            EXPECT_EQ(r.exitCode, 1) << label << r.err;
            EXPECT_TRUE(r.err.starts_with("tavlo: game folder '" + c.folder + "': " + c.reason))
                << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_TRUE(r.err.ends_with("\n")) << r.err;
            EXPECT_TRUE(r.out.empty()) << r.out;
        }
    }
    // Nothing was written: not in the folders, not the recording, not a lock file.
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Root()))
        names.push_back(entry.path().lexically_relative(dir.Root()).string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"empty", "file"}));
    std::ifstream in(dir.Path("file"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not a folder");
    EXPECT_TRUE(fs::is_empty(runtime.Root()));
}
