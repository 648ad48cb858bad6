// The menu screens in the game's own data: a frame of the options window while a volume slider
// is dragged with several moves per frame, each move throwing its burst of sparks, updated and
// drawn as the application does it.
#include "app/GameContext.h"
#include "graphics/Surface16.h"
#include "platform/ProgramFolder.h"
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

} // namespace
