// boardtool render: a board drawn to a PNG as the game screen draws it, with the images, the
// catalogue and the trigonometry table of a game folder.
#include "Commands.h"
#include "HeadlessBoard.h"
#include "ScriptInput.h"
#include "app/GameData.h"
#include "game/BoardDrawing.h"
#include "game/Random.h"
#include "graphics/Qim.h"
#include "platform/ProgramFolder.h"
#include "platform/Screenshot.h"
#include "resources/ResourceManager.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace Headless;

namespace {

constexpr uint32_t ScreenWidth = 240;
constexpr uint32_t ScreenHeight = 320;

const char* const RenderUsage =
    "usage: boardtool render BOARD OUT.png [--data DIR] [--seed N] [--frames K] [--no-aa]\n"
    "                        [--no-under-cells] [--script FILE]\n"
    "Draws the board file BOARD as the game does into a 240x320 PNG, with the images of the\n"
    "game folder DIR (default: the one the game beside the tool finds). N (default 123) seeds\n"
    "the colouring and the choice of background; K (default 0) frames of the board run before\n"
    "the picture is taken, playing the stylus and key events of FILE (the script format of\n"
    "boardtool sim).\n";

int Usage()
{
    std::fputs(RenderUsage, stderr);
    return ExitUsage;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "boardtool: %s\n", message.c_str());
    return ExitFailed;
}

void Warn(const std::string& message)
{
    std::fprintf(stderr, "boardtool: warning: %s\n", message.c_str());
}

struct RenderOptions
{
    std::string board;
    std::string output;
    std::optional<std::string> data;
    uint32_t seed = 123; // the generator's seed before the game sets its own
    uint32_t frames = 0;
    std::string script; // input events played during those frames, as boardtool sim plays them
    bool antialiasing = true;
    bool underCells = true;
};

bool ParseOptions(const Arguments& args, RenderOptions& options)
{
    std::vector<std::string> positional;
    bool seedSeen = false;
    bool framesSeen = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--data" && hasValue && !options.data) {
            options.data = args[++i];
        } else if (arg == "--seed" && hasValue && !seedSeen) {
            if (!ParseNumber(args[++i], 0, UINT32_MAX, options.seed)) {
                return false;
            }
            seedSeen = true;
        } else if (arg == "--frames" && hasValue && !framesSeen) {
            if (!ParseNumber(args[++i], 0, UINT32_MAX, options.frames)) {
                return false;
            }
            framesSeen = true;
        } else if (arg == "--script" && hasValue && options.script.empty()) {
            options.script = args[++i];
        } else if (arg == "--no-aa") {
            options.antialiasing = false;
        } else if (arg == "--no-under-cells") {
            options.underCells = false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) {
        return false;
    }
    options.board = positional[0];
    options.output = positional[1];
    return true;
}

} // namespace

int RunRender(const Arguments& args)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(RenderUsage, stdout);
        return ExitOk;
    }
    RenderOptions options;
    if (!ParseOptions(args, options)) {
        return Usage();
    }

    // The game folder is found and mounted as the game finds and mounts its own, so that an
    // installed tool draws with the installed game's data.
    if (options.data) {
        Platform::SetProgramFolder(*options.data);
    } else if (const GameDataPlace place = FindGameData({}, Platform::ProgramFolder());
               place.problem.empty()) {
        Platform::SetProgramFolder(place.folder);
    }
    IO::FileSystem files;
    if (files.Mount() != 0) {
        return Fail(Platform::ProgramFolder() + ": cannot read the game folder");
    }
    IO::DirectoryNode* root = files.GetRoot();
    IO::DirectoryNode* images = IO::FileSystem::FindDirectory(root, u"Images");
    Graphics::TrigTable trig;
    if (trig.Load(root, u"trigo.dat") != Graphics::TrigResult::Ok) {
        return Fail(Platform::ProgramFolder() + ": no readable trigo.dat");
    }
    ResourceManager resources;
    resources.LoadCatalogue(IO::FileSystem::FindDirectory(root, u"XML"), images);
    if (!resources.FindGroup(u"Game")) {
        Warn("the catalogue has no \"Game\" group; the board is drawn without its images");
    }
    resources.LoadGroup(u"Game");
    // Backgrounds are counted in the order the folder lists them, as the loading screen does.
    IO::DirectoryNode* backgrounds = IO::FileSystem::FindDirectory(images, u"backgrounds");
    const uint32_t backgroundCount =
        backgrounds ? static_cast<uint32_t>(backgrounds->files.size()) : 0;

    // The board plays as a new Arcade board of the game: the colouring while it loads, then
    // the draw of its background, all from the seed.
    std::string bytes;
    if (!ReadFile(options.board, bytes)) {
        return Fail(options.board + ": cannot read");
    }
    Options play;
    play.backgrounds = backgroundCount;
    HeadlessBoard board(std::move(bytes), play, trig, &resources);
    SeedRandom(options.seed);
    if (!board.Start()) {
        return Fail(options.board + ": not a playable board file");
    }
    BoardSession& session = board.Session();
    std::string error;
    std::vector<Platform::ScriptEvent> events;
    if (!options.script.empty()) {
        const int status = ReadBoardScript(options.script, events, error);
        if (status != ExitOk) {
            std::fprintf(stderr, "boardtool: %s\n", error.c_str());
            return status;
        }
    }
    size_t next = 0;
    for (uint32_t frame = 0; frame < options.frames; ++frame, board.NextFrame()) {
        for (; next < events.size() && events[next].frame == frame; ++next) {
            DeliverScriptEvent(events[next], session);
        }
        board.Update();
        if (session.GetState() != BoardState::Playing) {
            Warn("the board was " +
                 std::string(session.GetState() == BoardState::Won ? "won" : "lost") +
                 " in frame " + std::to_string(frame) + "; the picture shows what follows it");
            break;
        }
    }

    std::unique_ptr<Graphics::Surface16> background;
    if (session.BackgroundIndex() >= 0) {
        background =
            Graphics::LoadQim(backgrounds, backgrounds->files[session.BackgroundIndex()]->name);
    }
    Graphics::Surface16 screen;
    if (screen.Create(ScreenWidth, ScreenHeight, false) != 0) {
        return Fail("out of memory");
    }
    // The game screen's order: clear, board, effects, bonus icon (the windows are left out).
    screen.Clear();
    BoardPicture picture(trig);
    const Grid* grid = session.GetGrid();
    if (grid) {
        PickBoardImages(picture, resources, grid->cellSize);
    }
    picture.target = &screen;
    picture.background = background.get();
    ShowSession(picture, session);
    picture.underCells = options.underCells;
    picture.antialiasing = options.antialiasing;
    DrawBoard(picture);
    board.Effects().DrawImageEffects(screen);
    board.Effects().DrawTextEffects(screen);
    DrawBonusIcon(picture);

    if (!Platform::WriteScreenshot(options.output, screen.Pixels(), screen.Width(), screen.Height(),
                                   screen.Stride(), error)) {
        return Fail(error);
    }
    return ExitOk;
}
