// The screens in the game's own data, updated and drawn as the application does it: a frame of
// the options window while a volume slider is dragged with several moves per frame, each move
// throwing its burst of sparks; and a frame of the game screen on the board with the most
// sides, a cell always turning.
#include "app/GameContext.h"
#include "graphics/Surface16.h"
#include "platform/HeadlessHost.h"
#include "platform/ProgramFolder.h"
#include "states/GameState.h"
#include "states/LoadingState.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

namespace {

// The game's data in a folder of its own, so the players' file the run saves goes there.
class GameFolderCopy
{
public:
    GameFolderCopy()
    {
        char pattern[] = "/tmp/tavlo-bench-XXXXXX";
        if (mkdtemp(pattern)) {
            m_path = pattern;
            std::filesystem::create_symlink(std::filesystem::path(TAVLO_GAME_FOLDER) / "data.qpk",
                                            m_path / "data.qpk");
        }
    }
    ~GameFolderCopy()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

void Frame(GameContext& context, Graphics::Surface16& surface)
{
    context.ui->update();
    context.states->Update();
    context.states->Render(surface);
    context.renderer->target = nullptr;
}

void OptionsSliderDrag(benchmark::State& state)
{
    GameFolderCopy folder;
    Platform::SetProgramFolder(folder.Path().string());
    GameContext& context = GameContext::Instance();
    auto loading = std::make_unique<LoadingState>();
    loading->Update();
    context.playerData->AddPlayer(u"bench");
    context.playerData->SetCurrent(0);
    loading->Update();
    Graphics::Surface16 surface;
    surface.Create(240, 320, false);
    Frame(context, surface);
    UI::Window* options =
        context.menuWindow ? context.menuWindow->findChild(u"buttonOptions") : nullptr;
    UI::Window* slider =
        context.menuWindow ? context.menuWindow->findChild(u"Slider_Music") : nullptr;
    if (!options || !slider) {
        state.SkipWithError("the menu layout lacks the options");
        GameContext::Destroy();
        return;
    }
    const int32_t ox = options->absoluteX() + options->width() / 2;
    const int32_t oy = options->absoluteY() + options->height() / 2;
    context.ui->stylusDown(ox, oy);
    context.ui->stylusUp(ox, oy);
    Frame(context, surface);

    const int32_t left = slider->absoluteX();
    const int32_t y = slider->absoluteY() + slider->height() / 2;
    context.ui->stylusDown(left + 2, y);
    int32_t step = 0;
    for (auto _ : state) {
        // Four moves a frame, back and forth across the track.
        for (int move = 0; move < 4; ++move, ++step)
            context.ui->stylusMove(left + (step * 7) % slider->width(), y);
        Frame(context, surface);
        benchmark::ClobberMemory();
    }
    context.ui->stylusUp(left, y);
    state.counters["sparks"] = static_cast<double>(context.effects->ImageEffects().size());
    GameContext::Destroy();
}
BENCHMARK(OptionsSliderDrag)->Unit(benchmark::kMicrosecond);

// The board "26-triangle-field" (196 sides) in Arcade, smoothing on, the pictures under the
// cells off (range 0) or on (1). A tap on the middle cell every six frames keeps a turn on
// screen; the completions it brings add their sparks and numbers.
void GameFrame(benchmark::State& state)
{
    constexpr uint32_t Board = 26;
    GameFolderCopy folder;
    Platform::SetProgramFolder(folder.Path().string());
    Platform::HeadlessHost host; // the board's clock: still, so the time never runs out
    Platform::SetHost(&host);
    GameContext& context = GameContext::Instance();
    auto loading = std::make_unique<LoadingState>();
    loading->Update();
    context.playerData->AddPlayer(u"bench");
    context.playerData->SetCurrent(0);
    context.playerData->CurrentPlayer()->grid[0] = Board;
    loading->Update();
    context.settings.antialiasing = 1;
    context.settings.underCells = state.range(0) != 0;
    context.gameMode = 1;
    context.states->ChangeState(u"GameState", true);
    Graphics::Surface16 surface;
    surface.Create(240, 320, false);
    Frame(context, surface);
    auto* game = dynamic_cast<GameState*>(context.states->Current());
    const Grid* grid = game && game->Session() ? game->Session()->GetGrid() : nullptr;
    if (!grid || context.grids.size() < Board || !context.grids[Board - 1].starts_with(u"26-")) {
        state.SkipWithError("the game data lacks board 26-triangle-field");
        GameContext::Destroy();
        Platform::SetHost(nullptr);
        return;
    }
    state.counters["sides"] = static_cast<double>(grid->edges.size());
    const GridCell& middle = *grid->cells[grid->cells.size() / 2];
    const auto x = static_cast<int32_t>(middle.centreX);
    const auto y = static_cast<int32_t>(middle.centreY);
    uint32_t frame = 0;
    for (auto _ : state) {
        if (frame++ % 6 == 0) {
            context.ui->stylusDown(x, y);
            context.ui->stylusUp(x, y);
        }
        Frame(context, surface);
        benchmark::ClobberMemory();
    }
    GameContext::Destroy();
    Platform::SetHost(nullptr);
}
BENCHMARK(GameFrame)->Arg(0)->Arg(1)->ArgName("pictures")->Unit(benchmark::kMicrosecond);

} // namespace
