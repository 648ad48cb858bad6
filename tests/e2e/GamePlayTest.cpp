// The game screen played through the real binary: boards won and lost in each mode, the end of
// a run with its high-score entry, the menu's new game and the menu button, all read back from
// data.dat; and a run in a real window replayed headless. The game folder of these tests is the
// built game's data unpacked, with three small boards of four squares in place of the game's,
// each won by a single completion.
#include "e2e/GameFolder.h"
#include "e2e/ScreenPoints.h"
#include "e2e/XvfbSession.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

using namespace ScreenPoints;

// The four squares of a test board lie in x 80 to 160, y 140 to 220. The points keep clear of
// the message's buttons (y 160 to 188 and 194 to 222), so taps still coming after a win land on
// its panel and start nothing.
constexpr Point Squares[] = {{100, 150}, {140, 150}, {100, 191}, {140, 191}};

// Three boards of 2 x 2 squares: few colours, so a completion comes soon, and target 1.
constexpr const char* BoardTable = "01-first 4.4.4.4 40 rect:80x80 1 shift=0.5,0.5\n"
                                   "02-second 4.4.4.4 40 rect:80x80 1 shift=0.5,0.5\n"
                                   "03-third 4.4.4.4 40 rect:80x80 1 shift=0.5,0.5\n";

// A mode's part of the player's profile.
struct ModeRun
{
    uint8_t lives = 3;
    uint16_t grid = 1, bestGrid = 1, score = 0, bestScore = 0;
};

struct Entry
{
    std::string name;
    uint16_t score = 0;

    bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& entry, std::ostream* out)
{
    *out << entry.name << " " << entry.score;
}

// data.dat of one player (names in ASCII), with the default options.
struct Saved
{
    std::string name = "ann";
    std::array<ModeRun, 3> runs; // Arcade, Classic, Survival
    std::array<std::vector<Entry>, 3> tables;
};

// The options at the end of every data.dat: sound on at 50, music on at 50, stylus, both looks.
const std::string Options("\1\x32\0\0\0\1\x32\0\0\0\1\1\1", 13);

class Bytes
{
public:
    void Put(uint32_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            text += char(value >> (8 * i));
    }
    void PutString(const std::string& s)
    {
        Put(uint32_t(s.size()), 4);
        for (char c : s)
            Put(uint8_t(c), 2);
        Put(0, 2);
    }
    std::string text;
};

std::string Encode(const Saved& saved)
{
    Bytes out;
    out.Put(1, 4);
    out.Put(0, 4);
    out.PutString(saved.name);
    for (const ModeRun& run : saved.runs) {
        out.Put(run.lives, 1);
        for (uint16_t field : {run.grid, run.bestGrid, run.score, run.bestScore})
            out.Put(field, 2);
    }
    for (const std::vector<Entry>& table : saved.tables) {
        out.Put(uint32_t(table.size()), 1);
        for (const Entry& entry : table) {
            out.PutString(entry.name);
            out.Put(entry.score, 2);
        }
    }
    return out.text + Options;
}

// Reads back what Encode writes; nothing unless the bytes hold exactly one player and end
// with the options.
std::optional<Saved> Decode(const std::string& bytes)
{
    size_t at = 0;
    bool ok = true;
    auto get = [&](int size) {
        uint32_t value = 0;
        ok = ok && at + size <= bytes.size();
        for (int i = 0; ok && i < size; ++i)
            value |= uint32_t(uint8_t(bytes[at++])) << (8 * i);
        return value;
    };
    auto getString = [&] {
        std::string s(get(4), '\0');
        for (char& c : s)
            c = char(get(2));
        ok = ok && get(2) == 0;
        return s;
    };
    Saved saved;
    if (get(4) != 1 || get(4) != 0)
        return std::nullopt;
    saved.name = getString();
    for (ModeRun& run : saved.runs) {
        run.lives = uint8_t(get(1));
        for (uint16_t* field : {&run.grid, &run.bestGrid, &run.score, &run.bestScore})
            *field = uint16_t(get(2));
    }
    for (std::vector<Entry>& table : saved.tables) {
        for (uint32_t count = get(1); ok && count > 0; --count) {
            Entry entry{getString()};
            entry.score = uint16_t(get(2));
            table.push_back(entry);
        }
    }
    if (!ok || bytes.substr(at) != Options)
        return std::nullopt;
    return saved;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A headless script: events are placed at a running frame number.
class Script
{
public:
    // Down in this frame, up in the next; the next event three frames on.
    Script& Tap(Point p)
    {
        Event(m_frame, "down", p);
        Event(m_frame + 1, "up", p);
        return Wait(3);
    }
    Script& Wait(int frames)
    {
        m_frame += frames;
        return *this;
    }
    // Turns of the test board's squares in a fixed, varied order: one tap every eight frames,
    // so that each turn (five frames) has ended before the next tap.
    Script& Turns(int count)
    {
        for (int i = 0; i < count; ++i) {
            m_random = m_random * 1103515245u + 12345u;
            const Point p = Squares[(m_random >> 16) % 4];
            Event(m_frame, "down", p);
            Event(m_frame + 1, "up", p);
            m_frame += 8;
        }
        return *this;
    }
    Script& Close()
    {
        m_text += std::to_string(m_frame) + " close\n";
        return *this;
    }
    const std::string& Text() const { return m_text; }

private:
    void Event(int frame, const char* what, Point p)
    {
        m_text += std::to_string(frame) + " " + what + " " + std::to_string(p.x) + " " +
                  std::to_string(p.y) + "\n";
    }

    std::string m_text;
    int m_frame = 3;
    uint32_t m_random = 1;
};

// Turns enough to win a test board, and well within its 180 seconds: 200 turns take 1600
// frames, 53 seconds; with the seeds used here each board is won within its first 26 seconds.
constexpr int WinningTurns = 200;

// The unpacked game data with the test boards, made once for all the tests here.
const TempDir& BaseFolder()
{
    static const TempDir base;
    return base;
}

// Why the test data could not be made; empty once it is in BaseFolder()/data.
const std::string& BaseProblem()
{
    static const std::string problem = []() -> std::string {
        const TempDir& base = BaseFolder();
        const std::string data = base.Path("data");
        const ProcessResult unpack =
            RunProcess(GameDir() + "/qpk", {"unpack", GameDir() + "/data.qpk", data});
        if (unpack.exitCode != 0)
            return "qpk unpack failed: " + unpack.err;
        std::error_code error;
        fs::remove_all(data + "/grids", error);
        std::ofstream(base.Path("boards.txt")) << BoardTable;
        const ProcessResult boards = RunProcess(GameDir() + "/../tools/boardgen/boardgen",
                                                {base.Path("boards.txt"), data + "/grids"});
        if (boards.exitCode != 0)
            return "boardgen failed: " + boards.err;
        return {};
    }();
    return problem;
}

// A copy of the test data for one run, which writes its data.dat there.
class GameCopy : public TempDir
{
public:
    explicit GameCopy(const std::optional<Saved>& saved = std::nullopt)
    {
        std::error_code error;
        fs::copy(BaseFolder().Root() / "data", Root(), fs::copy_options::recursive, error);
        if (saved)
            std::ofstream(Path("data.dat"), std::ios::binary) << Encode(*saved);
    }
    std::string Data() const { return ReadBytes(Path("data.dat")); }
    std::optional<Saved> Decoded() const { return Decode(Data()); }
};

std::vector<std::string> HeadlessArgs(const GameCopy& folder, const std::string& scriptText,
                                      uint32_t seed)
{
    const std::string script = folder.Path("script.txt");
    std::ofstream(script, std::ios::binary) << scriptText;
    return {"--headless", "--data", folder.Root().string(), "--script",
            script,       "--seed", std::to_string(seed)};
}

ProcessResult Play(const GameCopy& folder, const Script& script, uint32_t seed = 1)
{
    return RunProcess(GameBinary(), HeadlessArgs(folder, script.Text(), seed));
}

// Runs a script that does not end the game, and kills the game (no save at exit) as soon as
// its data.dat differs from what the test put there. What was on disk then; nothing when
// data.dat did not change within the time.
std::optional<std::string> DataSavedWhilePlaying(const GameCopy& folder, const Script& script)
{
    const std::string before = folder.Data();
    Process game(GameBinary(), HeadlessArgs(folder, script.Text(), 1));
    std::optional<std::string> saved;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!saved && game.Running() && std::chrono::steady_clock::now() < deadline) {
        if (std::string now = folder.Data(); now != before)
            saved = now;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const bool stillRunning = game.Running();
    game.Signal(SIGKILL);
    game.Wait(5);
    // Ending by itself would have saved at the exit: that proves nothing about the save.
    return stillRunning ? saved : std::nullopt;
}

class GamePlay : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!GameFolderNotReady().empty())
            GTEST_SKIP() << GameFolderNotReady();
        ASSERT_EQ(BaseProblem(), "");
    }
};

TEST_F(GamePlay, AWonBoardMovesTheRunToTheNextBoard)
{
    GameCopy folder(Saved{});
    Script script;
    script.Tap(Arcade).Wait(10).Turns(WinningTurns).Tap(Next).Wait(10).Close();
    const ProcessResult r = Play(folder, script);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::optional<Saved> saved = folder.Decoded();
    ASSERT_TRUE(saved);
    const ModeRun& arcade = saved->runs[0];
    EXPECT_EQ(arcade.grid, 2) << "the board was not won within " << WinningTurns << " turns";
    EXPECT_GT(arcade.score, 0);
    EXPECT_EQ(arcade.lives, 3);
    EXPECT_EQ(arcade.bestGrid, 1) << "the run goes on: no best yet";
    EXPECT_TRUE(saved->tables[0].empty());
}

TEST_F(GamePlay, WinningTheLastBoardEndsTheRunAndPlayAgainStartsBoardOne)
{
    Saved start;
    start.runs[0] = {.lives = 1, .grid = 3, .bestGrid = 3, .score = 400, .bestScore = 0};
    GameCopy folder(start);
    // Win board 3 of 3, "Play again", then win the board that starts.
    Script script;
    script.Tap(Arcade).Wait(10).Turns(WinningTurns).Tap(Next).Wait(10).Turns(WinningTurns);
    script.Wait(10).Close();
    const ProcessResult r = Play(folder, script, 2);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::optional<Saved> saved = folder.Decoded();
    ASSERT_TRUE(saved);
    const ModeRun& arcade = saved->runs[0];
    ASSERT_EQ(saved->tables[0].size(), 1u) << "the run ended and was entered";
    const Entry& entry = saved->tables[0][0];
    EXPECT_EQ(entry.name, "ann");
    EXPECT_GT(entry.score, 400);
    EXPECT_EQ(arcade.bestScore, entry.score);
    EXPECT_EQ(arcade.bestGrid, 4);
    // The fresh run won its board 1: its score is that board's alone, with fresh lives.
    EXPECT_EQ(arcade.grid, 2);
    EXPECT_GT(arcade.score, 0);
    EXPECT_LT(arcade.score, 400);
    EXPECT_EQ(arcade.lives, 3);
}

TEST_F(GamePlay, ABoardLostOnTimeCostsALifeAndIsSavedAtOnce)
{
    GameCopy folder(Saved{});
    // No turns: the 180 seconds run out after 5400 frames.
    Script script;
    script.Tap(Classic);
    const std::optional<std::string> bytes = DataSavedWhilePlaying(folder, script);
    ASSERT_TRUE(bytes) << "data.dat was not saved while the game ran";
    const std::optional<Saved> saved = Decode(*bytes);
    ASSERT_TRUE(saved);
    const ModeRun& classic = saved->runs[1];
    EXPECT_EQ(classic.lives, 2);
    EXPECT_EQ(classic.grid, 1) << "the same board is tried again";
    EXPECT_EQ(classic.score, 0);
    EXPECT_EQ(saved->runs[0].lives, 3) << "other modes untouched";
    EXPECT_EQ(saved->runs[2].lives, 3);
}

TEST_F(GamePlay, LosingWithNoLifeLeftEndsTheRunIntoAFullTable)
{
    struct Case
    {
        uint16_t score;
        uint16_t bestScore, bestGrid; // before the run ends
        bool entered;
        uint16_t newBestScore, newBestGrid;
    };
    const Case cases[] = {
        {121, 90, 1, true, 121, 2},
        {120, 200, 5, false, 200, 5},
    };
    std::vector<Entry> table;
    for (uint16_t s = 300; s >= 120; s -= 20)
        table.push_back({"p" + std::to_string(s), s});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.score);
        Saved start;
        start.runs[2] = {.lives = 0,
                         .grid = 2,
                         .bestGrid = c.bestGrid,
                         .score = c.score,
                         .bestScore = c.bestScore};
        start.tables[2] = table;
        GameCopy folder(start);
        // The menu asks about the saved run; the board then runs out of time.
        Script script;
        script.Tap(Survival).Wait(10).Tap(Continue).Wait(5500).Tap(Return).Wait(10);
        script.Tap(HighScores).Wait(10).Tap(ScoresBack).Wait(10).Tap(Exit).Wait(10).Close();
        const ProcessResult r = Play(folder, script);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::optional<Saved> saved = folder.Decoded();
        ASSERT_TRUE(saved);
        std::vector<Entry> expected = table;
        if (c.entered)
            expected.back() = {"ann", c.score};
        EXPECT_EQ(saved->tables[2], expected);
        const ModeRun& survival = saved->runs[2];
        EXPECT_EQ(survival.grid, 1);
        EXPECT_EQ(survival.score, 0);
        EXPECT_EQ(survival.lives, 3);
        EXPECT_EQ(survival.bestScore, c.newBestScore);
        EXPECT_EQ(survival.bestGrid, c.newBestGrid);
    }
}

TEST_F(GamePlay, NewGameEndsTheSavedRunOnDiskBeforeTheBoard)
{
    Saved start;
    start.runs[0] = {.lives = 2, .grid = 2, .bestGrid = 2, .score = 50, .bestScore = 0};
    GameCopy folder(start);
    Script script;
    script.Tap(Arcade).Wait(10).Tap(NewGame);
    const std::optional<std::string> bytes = DataSavedWhilePlaying(folder, script);
    ASSERT_TRUE(bytes) << "data.dat was not saved while the game ran";
    const std::optional<Saved> saved = Decode(*bytes);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->tables[0], (std::vector<Entry>{{"ann", 50}}));
    const ModeRun& arcade = saved->runs[0];
    EXPECT_EQ(arcade.grid, 1);
    EXPECT_EQ(arcade.score, 0);
    EXPECT_EQ(arcade.lives, 3);
    EXPECT_EQ(arcade.bestScore, 50);
    EXPECT_EQ(arcade.bestGrid, 2);
}

TEST_F(GamePlay, TheMenuButtonLeavesTheRunAsItWas)
{
    Saved start;
    start.runs[1] = {.lives = 1, .grid = 2, .bestGrid = 3, .score = 30, .bestScore = 70};
    start.tables[1] = {{"bo", 70}};
    GameCopy folder(start);
    const std::string before = folder.Data();
    // Continue the saved run, and leave in the middle of a turn.
    Script script;
    script.Tap(Classic).Wait(10).Tap(Continue).Wait(90).Tap(Squares[0]).Tap(MenuButton);
    script.Wait(10).Tap(Exit).Wait(10).Close();
    const ProcessResult r = Play(folder, script);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string after = folder.Data();
    ASSERT_GE(after.size(), Options.size());
    // The players and the tables; the options may be rewritten as they were.
    EXPECT_EQ(after.substr(0, after.size() - Options.size()),
              before.substr(0, before.size() - Options.size()));
}

// The screen of a shot as RGB bytes, 240 x 320; empty when it cannot be read.
std::vector<uint8_t> ReadShot(const std::string& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (image.width != 240 || image.height != 320 ||
        !png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        pixels.clear();
    png_image_free(&image);
    return pixels;
}

// The pixels of a rectangle of a screen, row after row.
std::vector<uint8_t> Area(const std::vector<uint8_t>& screen, int x, int y, int w, int h)
{
    std::vector<uint8_t> out;
    for (int row = y; row < y + h && !screen.empty(); ++row) {
        const auto from = screen.begin() + (row * 240 + x) * 3;
        out.insert(out.end(), from, from + w * 3);
    }
    return out;
}

// The frame of the first recorded event "what X Y"; -1 when there is none.
long RecordedFrame(const std::string& recording, const std::string& event)
{
    std::istringstream lines(recording);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t space = line.find(' ');
        if (space != std::string::npos && line.substr(space + 1) == event)
            return std::stol(line.substr(0, space));
    }
    return -1;
}

// A first start in a window: a player is created and plays Arcade a while, leaves with the
// menu button and exits. The recording, replayed headless with the same seed, gives the same
// data.dat, and shows the heads-up display counting down while the board is up.
TEST_F(GamePlay, AWindowedRunReplaysHeadlessAndShowsTheHud)
{
    XvfbSession x;
    if (!x.Problem().empty())
        GTEST_SKIP() << x.Problem();
    GameCopy window;
    TempDir out;
    const std::string record = out.Path("input.txt");
    ASSERT_TRUE(x.StartGame({"--data", window.Root().string(), "--seed", "7", "--record", record}))
        << x.Problem();
    x.WaitFrames(4);
    const auto tap = [&x](Point p, int wait = 3) {
        const bool ok = x.Tap(p.x, p.y);
        x.WaitFrames(wait);
        return ok;
    };
    ASSERT_TRUE(tap({80, 60})) << x.Problem(); // the name field
    for (const char* key : {"j", "e", "z", "Return"}) {
        ASSERT_TRUE(x.Key(key)) << x.Problem();
        x.WaitFrames(2);
    }
    ASSERT_TRUE(tap({200, 60}) && tap({120, 296})) << x.Problem(); // Add, OK
    ASSERT_TRUE(tap(Arcade, 120) && tap(MenuButton, 6) && tap(Exit)) << x.Problem();
    const ProcessResult end = x.WaitForExit();
    ASSERT_EQ(end.exitCode, 0) << end.err;
    const std::string windowData = window.Data();
    const std::optional<Saved> saved = Decode(windowData);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->name, "jez");

    const std::string recording = ReadBytes(record);
    const GameCopy replay;
    const ProcessResult again = RunProcess(GameBinary(), HeadlessArgs(replay, recording, 7));
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(replay.Data(), windowData);

    // Shots of the menu just before Arcade is tapped, and of the board soon after it starts
    // and two seconds later.
    const long arcade = RecordedFrame(recording, "up 120 107");
    const long menuButton = RecordedFrame(recording, "down 25 20");
    ASSERT_GT(arcade, 0) << recording;
    ASSERT_GT(menuButton, arcade + 70) << "too few frames on the board:\n" << recording;
    const GameCopy shots;
    const std::string menuShot = shots.Path("menu.png"), early = shots.Path("early.png"),
                      late = shots.Path("late.png");
    const std::string shotLines = std::to_string(arcade - 1) + " shot " + menuShot + "\n" +
                                  std::to_string(arcade + 5) + " shot " + early + "\n" +
                                  std::to_string(arcade + 65) + " shot " + late + "\n";
    const ProcessResult shot =
        RunProcess(GameBinary(), HeadlessArgs(shots, recording + shotLines, 7));
    ASSERT_EQ(shot.exitCode, 0) << shot.err;
    const std::vector<uint8_t> menu = ReadShot(menuShot), first = ReadShot(early),
                               second = ReadShot(late);
    ASSERT_FALSE(menu.empty() || first.empty() || second.empty());
    // The menu button of the display stands where the menu had something else; the time
    // label beside the clock counts down.
    const auto button = [](const std::vector<uint8_t>& screen) {
        return Area(screen, 4, 6, 42, 28);
    };
    const auto time = [](const std::vector<uint8_t>& screen) {
        return Area(screen, 207, 5, 31, 14);
    };
    EXPECT_TRUE(button(first) == button(second)) << "the menu button changed during play";
    EXPECT_TRUE(button(first) != button(menu)) << "no menu button over the board";
    EXPECT_TRUE(time(first) != time(second)) << "the time left did not change in two seconds";
}

} // namespace
