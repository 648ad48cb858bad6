// boardtool sim and autoplay end to end: the JSON lines and their keys, the generator's seed,
// a scripted tap turning a cell, replays, the end of a board, and bad arguments.
#include "support/BoardBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

std::string BoardTool()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return std::string(dir ? dir : ".") + "/boardtool";
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The members of a one-line JSON object whose texts hold no commas, in order: each key with
// its value as written, a text without its quotes.
std::vector<std::pair<std::string, std::string>> Members(const std::string& line)
{
    std::vector<std::pair<std::string, std::string>> members;
    if (line.size() < 2 || line.front() != '{' || line.back() != '}') {
        return members;
    }
    std::istringstream in(line.substr(1, line.size() - 2));
    for (std::string member; std::getline(in, member, ',');) {
        const size_t colon = member.find("\":");
        if (member.size() < 2 || member[0] != '"' || colon == std::string::npos) {
            return {};
        }
        std::string value = member.substr(colon + 2);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        members.emplace_back(member.substr(1, colon - 1), value);
    }
    return members;
}

std::vector<std::string> Keys(const std::string& line)
{
    std::vector<std::string> keys;
    for (const auto& member : Members(line)) {
        keys.push_back(member.first);
    }
    return keys;
}

std::string Field(const std::string& line, const std::string& key)
{
    for (const auto& [name, value] : Members(line)) {
        if (name == key) {
            return value;
        }
    }
    return "";
}

bool IsNumber(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789.") == std::string::npos;
}

// Nine squares of side 30 from the origin; its 24 sides are made in cell order, cell 0's
// top, right, bottom and left being sides 0 to 3.
struct SimFixture
{
    SimFixture()
    {
        board = dir.Path("board.grid");
        std::ofstream(board, std::ios::binary) << Fixture::SquareGrid(3, 3).Bytes();
    }
    ProcessResult Sim(std::vector<std::string> args, const std::string& script = "")
    {
        if (!script.empty()) {
            std::ofstream(dir.Path("script.txt")) << script;
            args.push_back("--script");
            args.push_back(dir.Path("script.txt"));
        }
        args.insert(args.begin(), {"sim", board});
        return RunProcess(BoardTool(), args);
    }

    TempDir dir;
    std::string board;
};

TEST(BoardToolSim, PrintsTheLastFrameOrEveryFrameAsJson)
{
    SimFixture f;
    const ProcessResult last = f.Sim({"--frames", "10"});
    ASSERT_EQ(last.exitCode, 0) << last.err;
    const std::vector<std::string> lines = Lines(last.out);
    ASSERT_EQ(lines.size(), 1u) << last.out;
    EXPECT_EQ(Keys(lines[0]), (std::vector<std::string>{"frame", "state", "score", "pending",
                                                        "combo", "lives", "timeLimit", "turnFrames",
                                                        "bonusCell", "bonus", "seed", "edges"}))
        << lines[0];
    const std::pair<const char*, const char*> expected[] = {
        {"frame", "9"},      {"state", "playing"}, {"score", "0"},       {"pending", "0"},
        {"combo", "0"},      {"lives", "3"},       {"timeLimit", "180"}, {"turnFrames", "5"},
        {"bonusCell", "-1"}, {"bonus", "0"}};
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(Field(lines[0], key), value) << key;
    }
    EXPECT_TRUE(IsNumber(Field(lines[0], "seed")));
    const std::string edges = Field(lines[0], "edges");
    EXPECT_EQ(edges.size(), 24u);
    EXPECT_EQ(edges.find_first_not_of("012345"), std::string::npos) << edges;

    const ProcessResult trace = f.Sim({"--frames", "10", "--trace", "--lives", "2", "--mode", "3"});
    const std::vector<std::string> traced = Lines(trace.out);
    ASSERT_EQ(traced.size(), 10u);
    for (size_t k = 0; k < traced.size(); ++k) {
        EXPECT_EQ(Field(traced[k], "frame"), std::to_string(k));
        EXPECT_EQ(Field(traced[k], "lives"), "2");
        EXPECT_EQ(Field(traced[k], "score"), "500"); // Survival starts at half the target
    }
}

TEST(BoardToolSim, ReportsTheGeneratorsSeed)
{
    // Seed 5 colours the nine squares without a complete one: 24 draws for the sides, then one
    // for the background, and nothing during the first frames.
    SimFixture f;
    const std::string line = Lines(f.Sim({"--seed", "5", "--frames", "3"}).out).at(0);
    uint32_t seed = 5;
    std::string colours;
    for (int i = 0; i < 25; ++i) {
        seed = seed * 1103515245u + 12345u;
        if (i < 24) {
            colours += char('0' + ((seed >> 16) & 0x7FFF) % 6);
        }
    }
    ASSERT_EQ(Field(line, "edges"), colours) << "the first colouring was kept";
    EXPECT_EQ(Field(line, "seed"), std::to_string(seed));
}

TEST(BoardToolSim, AScriptedTapTurnsTheCellPressed)
{
    // A drag up on the left of cell 0's centre (15, 15) is clockwise on screen: each colour
    // moves to the next side. Under key control with no key held the turn goes the other way.
    struct Case
    {
        bool keys;
        int order[4]; // the side whose old colour each of sides 0 to 3 gets
    };
    for (const Case& c : {Case{false, {3, 0, 1, 2}}, Case{true, {1, 2, 3, 0}}}) {
        SimFixture f;
        std::vector<std::string> args = {"--frames", "6", "--trace"};
        if (c.keys) {
            args.push_back("--keys");
        }
        const ProcessResult r = f.Sim(args, "# tap\n0 down 10 15\n\n0 up 10 5\n");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::vector<std::string> lines = Lines(r.out);
        ASSERT_EQ(lines.size(), 6u);
        const std::string before = Field(lines[4], "edges");
        EXPECT_EQ(Field(lines[0], "edges"), before) << "the colours wait for the commit";
        std::string expected = before;
        for (int k = 0; k < 4; ++k) {
            expected[size_t(k)] = before[size_t(c.order[k])];
        }
        EXPECT_EQ(Field(lines[5], "edges"), expected) << (c.keys ? "keys" : "stylus");
    }
}

TEST(BoardToolSim, TheSameSeedAndScriptGiveTheSameTrace)
{
    SimFixture f;
    const std::string script = "0 down 10 15\n0 up 10 5\n"
                               "40 keydown 32\n41 down 45 40\n41 up 45 40\n42 keyup 32\n"
                               "80 down 75 75\n80 move 70 70\n80 up 70 60\n";
    const ProcessResult first = f.Sim({"--seed", "99", "--frames", "700", "--trace"}, script);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(Lines(first.out).size(), 700u);
    EXPECT_EQ(f.Sim({"--seed", "99", "--frames", "700", "--trace"}, script).out, first.out);
    EXPECT_NE(f.Sim({"--seed", "98", "--frames", "700", "--trace"}, script).out, first.out);
}

TEST(BoardToolSim, RunsUntilTheBoardIsLost)
{
    SimFixture f;
    const std::vector<std::string> lines = Lines(f.Sim({"--backgrounds", "0"}).out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Field(lines[0], "frame"), "5400"); // 180 seconds at 30 frames a second
    EXPECT_EQ(Field(lines[0], "state"), "lost");
    EXPECT_EQ(Field(lines[0], "edges").size(), 24u) << "the sides before the grid went";
}

TEST(BoardToolSim, RejectsBadArgumentsAndScripts)
{
    SimFixture f;
    const ProcessResult badLine = f.Sim({}, "0 down 1 2\n3 jump\n");
    EXPECT_EQ(badLine.exitCode, 2);
    EXPECT_NE(badLine.err.find("script.txt:2"), std::string::npos) << badLine.err;
    EXPECT_EQ(f.Sim({"--mode", "4"}).exitCode, 2);
    EXPECT_EQ(f.Sim({"--frames", "0"}).exitCode, 2);
    EXPECT_EQ(RunProcess(BoardTool(), {"sim"}).exitCode, 2);
    EXPECT_EQ(RunProcess(BoardTool(), {"sim", f.dir.Path("missing.grid")}).exitCode, 1);
    std::ofstream(f.dir.Path("short.grid"), std::ios::binary) << "abc";
    EXPECT_EQ(RunProcess(BoardTool(), {"sim", f.dir.Path("short.grid")}).exitCode, 1);
    // A folder where a file belongs is refused, not read as nothing (or thrown on).
    for (const char* command : {"sim", "autoplay", "info"})
        EXPECT_EQ(RunProcess(BoardTool(), {command, f.dir.Root().string()}).exitCode, 1) << command;
    EXPECT_EQ(f.Sim({"--script", f.dir.Root().string()}).exitCode, 1);
}

TEST(BoardToolAutoplay, ReportsTheBotsResultsAsJson)
{
    SimFixture f;
    const ProcessResult r =
        RunProcess(BoardTool(), {"autoplay", f.board, "--seeds", "2", "--moves-per-second", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 1u) << r.out;
    EXPECT_EQ(Keys(lines[0]),
              (std::vector<std::string>{"board", "mode", "seeds", "movesPerSecond", "wins",
                                        "winRate", "meanScore", "meanSeconds"}));
    EXPECT_EQ(Field(lines[0], "board"), f.board);
    EXPECT_EQ(Field(lines[0], "seeds"), "2");
    EXPECT_EQ(Field(lines[0], "movesPerSecond"), "3");
    for (const char* key : {"wins", "winRate", "meanScore", "meanSeconds"}) {
        EXPECT_TRUE(IsNumber(Field(lines[0], key))) << key;
    }
}

// The numbers of a JSON member holding a number or an array of numbers.
std::vector<uint32_t> Numbers(const std::string& line, const std::string& key)
{
    std::smatch match;
    if (!std::regex_search(line, match, std::regex("\"" + key + "\":\\[?([0-9,]*)"))) {
        return {};
    }
    std::vector<uint32_t> numbers;
    std::istringstream in(match[1].str());
    for (std::string number; std::getline(in, number, ',');) {
        numbers.push_back(uint32_t(std::stoul(number)));
    }
    return numbers;
}

TEST(BoardToolAutoplay, BestScoresTellWhichSeedsATargetWins)
{
    TempDir dir;
    const std::string board = dir.Path("board.grid");
    Fixture::Board shape = Fixture::SquareGrid(3, 3);
    const auto autoplay = [&](uint32_t target, std::vector<std::string> extra) {
        shape.target = target;
        std::ofstream(board, std::ios::binary | std::ios::trunc) << shape.Bytes();
        std::vector<std::string> args{"autoplay", board, "--seeds", "6", "--moves-per-second", "2"};
        args.insert(args.end(), extra.begin(), extra.end());
        const ProcessResult r = RunProcess(BoardTool(), args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    };

    const std::string unreachable = autoplay(1000000, {"--best-scores"});
    const std::vector<uint32_t> best = Numbers(unreachable, "bestScores");
    ASSERT_EQ(best.size(), 6u) << unreachable;
    EXPECT_EQ(Numbers(unreachable, "wins"), std::vector<uint32_t>{0});

    // A target between the seeds' best scores: the games that stop at it are won exactly by
    // the seeds whose best score reaches it.
    std::vector<uint32_t> sorted = best;
    std::sort(sorted.begin(), sorted.end());
    const uint32_t target = std::max(sorted[3], 1u);
    const auto reached = uint32_t(
        std::count_if(best.begin(), best.end(), [&](uint32_t score) { return score >= target; }));
    const std::string played = autoplay(target, {});
    EXPECT_EQ(Numbers(played, "wins"), std::vector<uint32_t>{reached}) << played;
    const std::string again = autoplay(target, {"--best-scores"});
    EXPECT_EQ(Numbers(again, "wins"), std::vector<uint32_t>{reached}) << again;
    EXPECT_EQ(Numbers(again, "bestScores"), best) << "the target does not change the play";

    // In Classic and Survival the target is part of the play.
    for (const char* mode : {"2", "3"}) {
        EXPECT_EQ(
            RunProcess(BoardTool(), {"autoplay", board, "--best-scores", "--mode", mode}).exitCode,
            2);
    }
}

} // namespace
