// The screens in the game's own data, updated and drawn as the application does it: a frame of
// the options window while a volume slider is dragged with several moves per frame, each move
// throwing its burst of sparks; and a frame of the game screen on the board with the most
// sides, a cell always turning.
#include "app/GameContext.h"
#include "game/Grid.h"
#include "graphics/Surface16.h"
#include "platform/HeadlessHost.h"
#include "platform/ProgramFolder.h"
#include "states/GameState.h"
#include "states/LoadingState.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

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

// The board of the game's list with the most sides (1-based, 0 when none loads), found by
// loading every board file.
uint32_t DensestBoard(const GameContext& context)
{
    IO::DirectoryNode* folder = IO::FileSystem::FindDirectory(context.files->GetRoot(), u"grids");
    uint32_t densest = 0;
    size_t most = 0;
    for (size_t i = 0; i < context.grids.size(); ++i) {
        Grid grid;
        if (LoadGrid(grid, folder, context.grids[i]) && grid.edges.size() > most) {
            most = grid.edges.size();
            densest = static_cast<uint32_t>(i + 1);
        }
    }
    return densest;
}

// The game screen as the player sees it, on the densest board in Arcade: background, the
// pictures under the cells off (range 0) or on (1), the sides smoothed, the effects, the bonus
// icon and the bar at the top. A tap on the middle cell every six frames keeps a turn on screen;
// the completions it brings add their sparks and numbers.
void GameFrame(benchmark::State& state)
{
    GameFolderCopy folder;
    Platform::SetProgramFolder(folder.Path().string());
    Platform::HeadlessHost host; // the board's clock: still, so the time never runs out
    Platform::SetHost(&host);
    GameContext& context = GameContext::Instance();
    auto loading = std::make_unique<LoadingState>();
    loading->Update();
    const uint32_t board = DensestBoard(context);
    context.playerData->AddPlayer(u"bench");
    context.playerData->SetCurrent(0);
    context.playerData->CurrentPlayer()->grid[0] = board;
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
    if (board == 0 || !grid) {
        state.SkipWithError("the game data holds no playable board");
        GameContext::Destroy();
        Platform::SetHost(nullptr);
        return;
    }
    state.SetLabel(std::string(context.grids[board - 1].begin(), context.grids[board - 1].end()));
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
