// One frame of a whole board session on a board of 64 squares kept busy: a cell turning or a
// completion animating in nearly every frame, with the bursts of the completed cells in flight.
#include "game/BoardSession.h"
#include "game/Random.h"
#include "graphics/TrigTable.h"
#include "io/FileReader.h"
#include "io/MemoryStream.h"
#include "resources/GameSettings.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr uint32_t Columns = 8;
constexpr uint32_t Rows = 8;
constexpr float Side = 28.0f;

void Put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>(v >> (8 * i));
    }
}

// A board file of Columns x Rows squares with a target no score reaches.
std::string SquareBoard()
{
    std::string out;
    Put32(out, std::bit_cast<uint32_t>(30.0f));
    Put32(out, 0); // no name
    Put32(out, 1'000'000'000);
    Put32(out, (Columns + 1) * (Rows + 1));
    for (uint32_t r = 0; r <= Rows; ++r) {
        for (uint32_t c = 0; c <= Columns; ++c) {
            Put32(out, std::bit_cast<uint32_t>(8.0f + Side * static_cast<float>(c)));
            Put32(out, std::bit_cast<uint32_t>(40.0f + Side * static_cast<float>(r)));
        }
    }
    Put32(out, Columns * Rows);
    for (uint32_t r = 0; r < Rows; ++r) {
        for (uint32_t c = 0; c < Columns; ++c) {
            const uint32_t topLeft = r * (Columns + 1) + c;
            Put32(out, 4);
            for (const uint32_t corner :
                 {topLeft, topLeft + 1, topLeft + Columns + 2, topLeft + Columns + 1}) {
                Put32(out, corner);
            }
        }
    }
    return out;
}

// Sine and cosine tables in the layout of the game's table file, so the bursts move.
void BM_SessionFrame(benchmark::State& state)
{
    Graphics::TrigTable trig;
    trig.Generate();
    std::string board = SquareBoard();
    GameSettings settings;
    EffectManager effects(&trig, nullptr);
    BoardSession session(settings, effects);
    session.SetMode(static_cast<uint32_t>(state.range(0)));
    session.SetBoardFiles({u"board"}, [&](Grid& grid, std::u16string_view) {
        IO::MemoryStream stream;
        stream.Open(reinterpret_cast<uint8_t*>(board.data()), static_cast<uint32_t>(board.size()));
        return LoadGrid(grid, stream);
    });
    session.SetClock([] { return uint64_t{0}; }, 30); // the time never runs out
    SeedRandom(123);
    session.StartBoard();

    uint32_t step = 0;
    uint64_t turns = 0;
    uint64_t completions = 0;
    for (auto _ : state) {
        // Lost minutes may end a board at last: the next one starts untimed.
        if (session.GetState() != BoardState::Playing) {
            state.PauseTiming();
            session.StartBoard();
            state.ResumeTiming();
        }
        Grid& grid = *session.GetGrid();
        // Whenever the board rests, a cell starts turning or another is painted complete, in
        // turn: a turn runs for six frames, a completion for eight, and its bursts fly on.
        if (!session.TurningCell() && session.CompletionList().empty()) {
            ++step;
            if (step % 2) {
                GridCell& turned = *grid.cells[(step * 13) % grid.cells.size()];
                const auto x = static_cast<int32_t>(turned.centreX) + 4;
                const auto y = static_cast<int32_t>(turned.centreY);
                session.OnBoardStylusDown(x, y);
                session.OnBoardStylusUp(x, step % 4 == 1 ? y - 4 : y + 4);
                turns += session.TurningCell() ? 1 : 0;
            } else {
                GridCell& completed = *grid.cells[(step * 7 + 3) % grid.cells.size()];
                for (const uint32_t edge : completed.edges) {
                    grid.edges[edge].colour = step % 6;
                }
            }
        }
        completions += session.CompletionFrame() == 1 ? 1 : 0;
        session.Update();
    }
    // Shares of the frames with a turn started or a completion begun, and the effects left.
    state.counters["turns"] =
        benchmark::Counter(static_cast<double>(turns), benchmark::Counter::kAvgIterations);
    state.counters["completions"] =
        benchmark::Counter(static_cast<double>(completions), benchmark::Counter::kAvgIterations);
    state.counters["effects"] = static_cast<double>(effects.ImageEffects().size());
}

} // namespace

// Arcade recolours completed cells; Classic greys them and tops colours up.
BENCHMARK(BM_SessionFrame)->Arg(1)->Arg(2)->ArgName("mode");
