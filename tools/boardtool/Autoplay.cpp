// boardtool autoplay: the bot plays a board from several seeds at a fixed pace, to calibrate
// the board's target.
#include "Bot.h"
#include "Commands.h"
#include "HeadlessBoard.h"
#include "game/Random.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

using namespace Headless;

namespace {

const char* const AutoplayUsage =
    "usage: boardtool autoplay BOARD [--mode M] [--seeds N] [--moves-per-second R]\n"
    "                          [--best-scores]\n"
    "A bot plays the board file BOARD in mode M (1 Arcade, 2 Classic, 3 Survival; default 1)\n"
    "once for each seed 1 to N (20), making a move every 1/R seconds (R default 1) when no\n"
    "turn or completion runs: a turn that completes cells, else the first turn of the\n"
    "shortest plan it finds to complete a cell, for the cell's points. Prints the win rate,\n"
    "the mean final score and the mean time in seconds as JSON.\n"
    "--best-scores plays every seed to the end of its time as if the target were out of\n"
    "reach and adds \"bestScores\", each seed's highest banked score: a target wins those\n"
    "seeds whose best score reaches it, since the bot's play does not depend on the target.\n";

// Games that the time limit cannot end (bonuses of extra minutes) stop after half an hour.
constexpr uint64_t MaxFrames = 30 * 60 * FramesPerSecond;

int Usage(const std::string& message)
{
    std::fprintf(stderr, "boardtool: %s\n%s", message.c_str(), AutoplayUsage);
    return ExitUsage;
}

// A tap at the cell's centre under key control: a held key turns it the other way.
void Play(BoardSession& session, const GridCell& cell, bool direction)
{
    const auto x = static_cast<int32_t>(std::lround(cell.centreX));
    const auto y = static_cast<int32_t>(std::lround(cell.centreY));
    if (!direction) {
        session.OnBoardKeyDown();
    }
    session.OnBoardStylusDown(x, y);
    session.OnBoardStylusUp(x, y);
    if (!direction) {
        session.OnBoardKeyUp();
    }
}

struct Outcome
{
    bool won = false;
    uint32_t score = 0;
    uint32_t bestScore = 0; // the highest score banked
    uint32_t target = 0;    // the board's own
    double seconds = 0.0;
};

// One game from the seed. Out of reach, the target never ends the board: it runs to the end
// of its time.
Outcome PlayOnce(const std::string& bytes, uint32_t mode, uint32_t seed, uint64_t period,
                 bool targetOutOfReach, const Graphics::TrigTable& trig, bool& playable)
{
    Options options;
    options.mode = mode;
    options.keys = true;
    HeadlessBoard board(bytes, options, trig);
    SeedRandom(seed);
    playable = board.Start();
    if (!playable) {
        return {};
    }
    BoardSession& session = board.Session();
    Bot bot(*session.GetGrid());
    Outcome outcome;
    outcome.target = session.GetGrid()->target;
    if (targetOutOfReach) {
        session.GetGrid()->target = std::numeric_limits<uint32_t>::max();
    }
    uint64_t nextMove = 0;
    while (board.Frame() < MaxFrames) {
        if (board.Frame() >= nextMove && !session.TurningCell() &&
            session.CompletionList().empty()) {
            Grid& grid = *session.GetGrid();
            const BotMove move = bot.Choose(grid);
            if (move.found) {
                Play(session, *grid.cells[move.cell], move.direction);
            }
            nextMove = board.Frame() + period;
        }
        // A chain's points are banked in the frame its count drops back to 0; only then is
        // the score compared with the target.
        const bool chain = session.ComboCount() > 0;
        board.Update();
        if (chain && session.ComboCount() == 0) {
            outcome.bestScore = std::max(outcome.bestScore, session.Score());
        }
        if (session.GetState() != BoardState::Playing) {
            break;
        }
        board.NextFrame();
    }
    outcome.won = session.GetState() == BoardState::Won;
    outcome.score =
        session.GetState() == BoardState::Playing ? session.Score() : session.Result().score;
    outcome.seconds = static_cast<double>(board.Frame() + 1) / FramesPerSecond;
    return outcome;
}

std::string JsonText(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

int RunAutoplay(const Arguments& args)
{
    std::string boardPath;
    uint32_t mode = GameMode::Arcade;
    uint32_t seeds = 20;
    double rate = 1.0;
    bool best = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(AutoplayUsage, stdout);
            return ExitOk;
        }
        if (arg == "--best-scores") {
            best = true;
            continue;
        }
        if (arg == "--mode" || arg == "--seeds" || arg == "--moves-per-second") {
            if (i + 1 == args.size()) {
                return Usage(arg + " needs a value");
            }
            const std::string& value = args[++i];
            bool ok = true;
            if (arg == "--mode") {
                ok = ParseNumber(value, 1, 3, mode);
            } else if (arg == "--seeds") {
                ok = ParseNumber(value, 1, 100000, seeds);
            } else {
                char* end = nullptr;
                rate = std::strtod(value.c_str(), &end);
                ok = !value.empty() && *end == '\0' && rate > 0.0 && rate <= 30.0;
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
    // Survival starts from half the target and Classic is won by greying the board: there the
    // target is part of the play.
    if (best && mode != GameMode::Arcade) {
        return Usage("--best-scores needs Arcade (--mode 1)");
    }
    std::string bytes;
    if (!ReadFile(boardPath, bytes)) {
        std::fprintf(stderr, "boardtool: cannot read %s\n", boardPath.c_str());
        return ExitFailed;
    }

    Graphics::TrigTable trig;
    LoadTrigTable(trig);
    const auto period = static_cast<uint64_t>(std::lround(FramesPerSecond / rate));
    uint32_t wins = 0;
    double scores = 0.0;
    double seconds = 0.0;
    std::string bestScores;
    for (uint32_t seed = 1; seed <= seeds; ++seed) {
        bool playable = false;
        const Outcome outcome = PlayOnce(bytes, mode, seed, period, best, trig, playable);
        if (!playable) {
            std::fprintf(stderr, "boardtool: %s is not a board the game can play\n",
                         boardPath.c_str());
            return ExitFailed;
        }
        if (best) {
            // Played past its target, the seed is won when its best score reached it.
            wins += outcome.bestScore >= outcome.target ? 1 : 0;
            if (!bestScores.empty()) {
                bestScores += ',';
            }
            bestScores += std::to_string(outcome.bestScore);
        } else {
            wins += outcome.won ? 1 : 0;
        }
        scores += outcome.score;
        seconds += outcome.seconds;
    }
    std::printf("{\"board\":%s,\"mode\":%u,\"seeds\":%u,\"movesPerSecond\":%g,\"wins\":%u,"
                "\"winRate\":%.3f,\"meanScore\":%.1f,\"meanSeconds\":%.1f",
                JsonText(boardPath).c_str(), mode, seeds, rate, wins, double(wins) / seeds,
                scores / seeds, seconds / seeds);
    if (best) {
        std::printf(",\"bestScores\":[%s]", bestScores.c_str());
    }
    std::printf("}\n");
    return ExitOk;
}
