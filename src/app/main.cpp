// The program's entry: options, the game folder check, the platform host, the random seed,
// then the application.
#include "app/CommandLine.h"
#include "app/GameData.h"
#include "app/TavloApp.h"
#include "game/Random.h"
#include "platform/HeadlessHost.h"
#include "platform/ProgramFolder.h"
#include "platform/Screenshot.h"
#include "platform/SdlHost.h"
#include "platform/Signals.h"
#include "platform/SoundLibrary.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#ifndef TAVLO_VERSION
#define TAVLO_VERSION "unknown"
#endif

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

std::unique_ptr<Platform::Host> MakeHost(const CommandLine& options,
                                         std::vector<Platform::ScriptEvent> script)
{
    if (!options.headless) {
        // Only windowed runs play sound; headless ones stay silent by design.
        Platform::SetAudioAllowed(true);
        return std::make_unique<Platform::SdlHost>(Platform::SdlOptions{
            options.scale, options.fullscreen, options.frames, options.recordPath});
    }
    return std::make_unique<Platform::HeadlessHost>(std::move(script), options.frames);
}

// Runs the game on the host; the exit code of the run.
int RunGame(Platform::Host& host, const CommandLine& options,
            std::chrono::steady_clock::time_point started)
{
    SeedRandom(options.seed ? *options.seed : host.GetTickCount());
    auto app = std::make_unique<TavloApp>();
    app->SetStartTime(started);
    if (!app->Init(DisplayFlags::SkipRawFrameBuffer, "Tavlo"))
        return ExitFailure;
    app->SetParam(AppParam::FramesPerSecond, 30);
    app->Run();
    if (std::getenv("TAVLO_STATS")) {
        std::fprintf(stderr, "tavlo: %u frames, %u frames in the last whole second\n",
                     host.FramesRun(), app->GetMeasuredFps());
        if (const auto shown = app->FirstScreenTime())
            std::fprintf(stderr, "tavlo: first screen shown %lld ms after start\n",
                         static_cast<long long>(shown->count()));
    }
    return ExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    const auto started = std::chrono::steady_clock::now();
    CommandLine options;
    std::string error;
    if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "tavlo: %s\n%s", error.c_str(), CommandLineUsage());
        return ExitUsage;
    }
    if (options.help) {
        std::fputs(CommandLineUsage(), stdout);
        return ExitOk;
    }
    if (options.version) {
        std::printf("tavlo %s\n", TAVLO_VERSION);
        return ExitOk;
    }

    std::vector<Platform::ScriptEvent> script;
    if (!options.scriptPath.empty() && !Platform::LoadScript(options.scriptPath, script, error)) {
        std::fprintf(stderr, "tavlo: %s\n", error.c_str());
        return ExitUsage;
    }
    // Before the host exists: a bad folder must end the run with nothing opened or written (no
    // window, no lock file, no recording, no data.dat), headless or not.
    const GameDataPlace place = FindGameData(options.dataFolder, Platform::ProgramFolder());
    if (!place.problem.empty()) {
        std::fprintf(stderr, "tavlo: %s\n", place.problem.c_str());
        return ExitFailure;
    }
    // An installed game never writes into its install tree, whoever runs it.
    std::string saveFolder;
    if (place.installed) {
        saveFolder = Platform::UserDataFolder();
        if (saveFolder.empty()) {
            std::fputs("tavlo: no folder for the player's data: set HOME or XDG_DATA_HOME\n",
                       stderr);
            return ExitFailure;
        }
    }

    std::unique_ptr<Platform::Host> host = MakeHost(options, std::move(script));
    Platform::SetHost(host.get());
    Platform::InstallCloseSignalHandlers();
    Platform::SetProgramFolder(place.folder);
    Platform::SetSaveFolder(saveFolder);

    int exitCode = RunGame(*host, options, started);
    // The game context, and its sound manager with it, is gone: close the audio device before
    // the host shuts SDL down.
    Platform::FSOUND_Close();

    if (!options.screenshotPath.empty()) {
        if (!Platform::WriteScreenshot(options.screenshotPath, host->ScreenMemory(),
                                       Platform::ScreenWidth, Platform::ScreenHeight,
                                       Platform::ScreenWidth, error)) {
            std::fprintf(stderr, "tavlo: cannot write the screenshot: %s\n", error.c_str());
            exitCode = ExitFailure;
        }
    }
    if (!host->Finish() && exitCode == ExitOk)
        exitCode = ExitFailure;
    Platform::SetHost(nullptr);
    return exitCode;
}
