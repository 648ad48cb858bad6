// boardtool sim: plays a board headlessly as the game screen would, with scripted stylus and
// key input, and prints the play fields as JSON lines.
#include "Commands.h"
#include "HeadlessBoard.h"
#include "ScriptInput.h"
#include "game/Random.h"
#include "platform/Script.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace Headless;

namespace {

const char* const SimUsage =
    "usage: boardtool sim BOARD [--seed N] [--mode M] [--lives L] [--board-number K]\n"
    "                     [--backgrounds B] [--keys] [--script FILE] [--frames F] [--trace]\n"
    "Plays the board file BOARD as the game does from the seed N (default 123), in mode M\n"
    "(1 Arcade, 2 Classic, 3 Survival) with L lives (3) as board number K (1), drawing its\n"
    "background from B (1). --keys turns the stylus control off. The script's lines are\n"
    "'FRAME down X Y', 'FRAME up X Y', 'FRAME keydown CODE' and 'FRAME keyup CODE', delivered\n"
    "before that frame. Frame k runs at k/30 s; the run ends after the frame that wins or\n"
    "loses the board, or after F frames. Prints the play fields after the last frame as JSON,\n"
    "or after every frame with --trace.\n";

int Usage(const std::string& message)
{
    std::fprintf(stderr, "boardtool: %s\n%s", message.c_str(), SimUsage);
    return ExitUsage;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "boardtool: %s\n", message.c_str());
    return ExitFailed;
}

const char* StateName(BoardState state)
{
    switch (state) {
    case BoardState::Won:
        return "won";
    case BoardState::Lost:
        return "lost";
    default:
        return "playing";
    }
}

void PrintLine(uint64_t frame, BoardState state, const BoardSnapshot& s, uint32_t seed)
{
    std::string edges;
    edges.reserve(s.edgeColours.size());
    for (const uint8_t colour : s.edgeColours) {
        edges += static_cast<char>('0' + colour);
    }
    std::printf("{\"frame\":%llu,\"state\":\"%s\",\"score\":%u,\"pending\":%u,\"combo\":%u,"
                "\"lives\":%u,\"timeLimit\":%u,\"turnFrames\":%u,\"bonusCell\":%d,\"bonus\":%u,"
                "\"seed\":%u,\"edges\":\"%s\"}\n",
                static_cast<unsigned long long>(frame), StateName(state), s.score, s.pendingPoints,
                s.comboCount, s.lives, s.timeLimit, s.turnFrames, s.bonusCell, s.bonus, seed,
                edges.c_str());
}

} // namespace

int RunSim(const Arguments& args)
{
    std::string boardPath;
    std::string scriptPath;
    uint32_t seed = 123;
    uint32_t frames = 0; // 0: until the board ends
    bool trace = false;
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(SimUsage, stdout);
            return ExitOk;
        }
        if (arg == "--keys") {
            options.keys = true;
            continue;
        }
        if (arg == "--trace") {
            trace = true;
            continue;
        }
        const bool takesValue = arg == "--seed" || arg == "--mode" || arg == "--lives" ||
                                arg == "--board-number" || arg == "--backgrounds" ||
                                arg == "--script" || arg == "--frames";
        if (takesValue) {
            if (i + 1 == args.size()) {
                return Usage(arg + " needs a value");
            }
            const std::string& value = args[++i];
            bool ok = true;
            if (arg == "--seed") {
                ok = ParseNumber(value, 0, UINT32_MAX, seed);
            } else if (arg == "--mode") {
                ok = ParseNumber(value, 1, 3, options.mode);
            } else if (arg == "--lives") {
                ok = ParseNumber(value, 0, UINT32_MAX, options.lives);
            } else if (arg == "--board-number") {
                ok = ParseNumber(value, 1, MaxBoardNumber, options.boardNumber);
            } else if (arg == "--backgrounds") {
                ok = ParseNumber(value, 0, UINT32_MAX, options.backgrounds);
            } else if (arg == "--frames") {
                ok = ParseNumber(value, 1, UINT32_MAX, frames);
            } else {
                scriptPath = value;
            }
            if (!ok) {
                return Usage("bad value '" + value + "' for " + arg);
            }
            continue;
        }
        if (arg.starts_with("-") || !boardPath.empty()) {
            return Usage("unexpected argument '" + arg + "'");
        }
        boardPath = arg;
    }
    if (boardPath.empty()) {
        return Usage("no board file given");
    }

    std::vector<Platform::ScriptEvent> events;
    if (!scriptPath.empty()) {
        std::string error;
        const int status = ReadBoardScript(scriptPath, events, error);
        if (status != ExitOk) {
            return status == ExitUsage ? Usage(error) : Fail(error);
        }
    }
    std::string bytes;
    if (!ReadFile(boardPath, bytes)) {
        return Fail("cannot read " + boardPath);
    }

    Graphics::TrigTable trig;
    LoadTrigTable(trig);
    HeadlessBoard board(std::move(bytes), options, trig);
    SeedRandom(seed);
    if (!board.Start()) {
        return Fail(boardPath + " is not a board the game can play");
    }
    BoardSession& session = board.Session();
    size_t next = 0;
    for (uint64_t frame = 0; frames == 0 || frame < frames; ++frame) {
        for (; next < events.size() && events[next].frame == frame; ++next) {
            DeliverScriptEvent(events[next], session);
        }
        board.Update();
        const BoardState state = session.GetState();
        const bool last = state != BoardState::Playing || frame + 1 == frames;
        if (trace || last) {
            PrintLine(frame, state,
                      state == BoardState::Playing ? session.Snapshot() : session.FinalSnapshot(),
                      RandomSeed());
        }
        if (last) {
            break;
        }
        board.NextFrame();
    }
    return ExitOk;
}
