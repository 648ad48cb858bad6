// boardtool autoplay: a simple bot plays a board from several seeds, to calibrate its target:
// it taps the cell whose turn completes the most points, at a fixed pace.
#include "Commands.h"
#include "HeadlessBoard.h"
#include "game/Random.h"
#include "game/Scoring.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Headless;

namespace {

const char* const AutoplayUsage =
    "usage: boardtool autoplay BOARD [--mode M] [--seeds N] [--moves-per-second R]\n"
    "A bot plays the board file BOARD in mode M (1 Arcade, 2 Classic, 3 Survival; default 1)\n"
    "once for each seed 1 to N (20), making a move every 1/R seconds (R default 1) when no\n"
    "turn or completion runs: the turn that completes the most points, else the one that\n"
    "brings most sides of one colour together. Prints the win rate, the mean final score and\n"
    "the mean time in seconds as JSON.\n";

// Games that the time limit cannot end (bonuses of extra minutes) stop after half an hour.
constexpr uint64_t MaxFrames = 30 * 60 * FramesPerSecond;

int Usage(const std::string& message)
{
    std::fprintf(stderr, "boardtool: %s\n%s", message.c_str(), AutoplayUsage);
    return ExitUsage;
}

struct Move
{
    bool found = false;
    size_t cell = 0;
    bool direction = true;
    uint32_t points = 0;    // of the cells the turn completes
    uint32_t closeness = 0; // of the cells it leaves incomplete
};

// For each cell: itself, then every other cell sharing a side with it (once each). A turn
// changes only these.
std::vector<std::vector<size_t>> TouchingCells(const Grid& grid)
{
    std::vector<std::vector<size_t>> cellsOfEdge(grid.edges.size());
    for (size_t c = 0; c < grid.cells.size(); ++c) {
        for (const uint32_t edge : grid.cells[c]->edges) {
            cellsOfEdge[edge].push_back(c);
        }
    }
    std::vector<std::vector<size_t>> touching(grid.cells.size());
    for (size_t c = 0; c < grid.cells.size(); ++c) {
        touching[c].push_back(c);
        for (const uint32_t edge : grid.cells[c]->edges) {
            for (const size_t other : cellsOfEdge[edge]) {
                if (std::find(touching[c].begin(), touching[c].end(), other) == touching[c].end()) {
                    touching[c].push_back(other);
                }
            }
        }
    }
    return touching;
}

bool IsComplete(const GridCell& cell, const std::vector<uint32_t>& colours)
{
    const uint32_t first = colours[cell.edges[0]];
    return first != Grey && std::all_of(cell.edges.begin(), cell.edges.end(),
                                        [&](uint32_t e) { return colours[e] == first; });
}

// The square of the largest number of the cell's sides that share one colour.
uint32_t Closeness(const GridCell& cell, const std::vector<uint32_t>& colours)
{
    uint32_t counts[ColourCount] = {};
    for (const uint32_t edge : cell.edges) {
        if (colours[edge] < ColourCount) {
            ++counts[colours[edge]];
        }
    }
    const uint32_t most = *std::max_element(std::begin(counts), std::end(counts));
    return most * most;
}

// Turns the cell's colours on the copy as the game does: direction false moves each colour to
// the next side, true to the previous one.
void Turn(const GridCell& cell, bool direction, std::vector<uint32_t>& colours)
{
    std::vector<uint32_t> sides;
    for (const uint32_t edge : cell.edges) {
        sides.push_back(colours[edge]);
    }
    if (direction) {
        std::rotate(sides.begin(), sides.begin() + 1, sides.end());
    } else {
        std::rotate(sides.rbegin(), sides.rbegin() + 1, sides.rend());
    }
    for (size_t k = 0; k < sides.size(); ++k) {
        colours[cell.edges[k]] = sides[k];
    }
}

// Every cell that a tap at its rounded centre reaches, both directions, from cell start on;
// ties go to the first found.
Move BestMove(Grid& grid, const std::vector<std::vector<size_t>>& touching, size_t start)
{
    std::vector<uint32_t> colours;
    for (const GridEdge& edge : grid.edges) {
        colours.push_back(edge.colour);
    }
    Move best;
    const size_t count = grid.cells.size();
    for (size_t k = 0; k < count; ++k) {
        const size_t c = (start + k) % count;
        const GridCell& cell = *grid.cells[c];
        if (CellAt(grid, std::round(cell.centreX), std::round(cell.centreY)) != &cell) {
            continue;
        }
        for (const bool direction : {true, false}) {
            std::vector<uint32_t> turned = colours;
            Turn(cell, direction, turned);
            Move move{true, c, direction, 0, 0};
            for (const size_t t : touching[c]) {
                const GridCell& other = *grid.cells[t];
                if (IsComplete(other, turned)) {
                    move.points += CellPoints(other.sides);
                } else {
                    move.closeness += Closeness(other, turned);
                }
            }
            if (!best.found || move.points > best.points ||
                (move.points == best.points && move.closeness > best.closeness)) {
                best = move;
            }
        }
    }
    return best;
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
    double seconds = 0.0;
};

Outcome PlayOnce(const std::string& bytes, uint32_t mode, uint32_t seed, uint64_t period,
                 const Graphics::TrigTable& trig, bool& playable)
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
    const std::vector<std::vector<size_t>> touching = TouchingCells(*session.GetGrid());
    uint64_t nextMove = 0;
    size_t start = 0;
    while (board.Frame() < MaxFrames) {
        if (board.Frame() >= nextMove && !session.TurningCell() &&
            session.CompletionList().empty()) {
            Grid& grid = *session.GetGrid();
            const Move move = BestMove(grid, touching, start);
            if (move.found) {
                Play(session, *grid.cells[move.cell], move.direction);
                start = (move.cell + 1) % grid.cells.size();
            }
            nextMove = board.Frame() + period;
        }
        board.Update();
        if (session.GetState() != BoardState::Playing) {
            break;
        }
        board.NextFrame();
    }
    Outcome outcome;
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
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(AutoplayUsage, stdout);
            return ExitOk;
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
    for (uint32_t seed = 1; seed <= seeds; ++seed) {
        bool playable = false;
        const Outcome outcome = PlayOnce(bytes, mode, seed, period, trig, playable);
        if (!playable) {
            std::fprintf(stderr, "boardtool: %s is not a board the game can play\n",
                         boardPath.c_str());
            return ExitFailed;
        }
        wins += outcome.won ? 1 : 0;
        scores += outcome.score;
        seconds += outcome.seconds;
    }
    std::printf("{\"board\":%s,\"mode\":%u,\"seeds\":%u,\"movesPerSecond\":%g,\"wins\":%u,"
                "\"winRate\":%.3f,\"meanScore\":%.1f,\"meanSeconds\":%.1f}\n",
                JsonText(boardPath).c_str(), mode, seeds, rate, wins, double(wins) / seeds,
                scores / seeds, seconds / seeds);
    return ExitOk;
}
