// Fuzz target of board files: loads arbitrary bytes as the board of a session, plays a few
// seconds of taps on its cells and draws it, the way the game plays a board a player added.
//
// The whole input is the board file; its size picks the mode and the control, so that seeds
// are plain board files.
#include "game/BoardDrawing.h"
#include "game/BoardFile.h"
#include "game/BoardSession.h"
#include "game/EffectManager.h"
#include "game/Grid.h"
#include "graphics/TrigTable.h"
#include "io/MemoryStream.h"
#include "resources/GameSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

const Graphics::TrigTable& Trig()
{
    static const Graphics::TrigTable& table = *[] {
        auto* t = new Graphics::TrigTable;
        if (t->Generate() != Graphics::TrigResult::Ok)
            std::abort();
        return t;
    }();
    return table;
}

void Fill(Graphics::Surface16& surface, uint16_t seed)
{
    for (uint32_t i = 0; i < surface.Stride() * surface.Height(); ++i)
        surface.Pixels()[i] = static_cast<uint16_t>(seed + i * 40503u);
    if (surface.HasAlpha()) {
        for (uint32_t i = 0; i < surface.Width() * surface.Height(); ++i)
            surface.Alpha()[i] = static_cast<uint8_t>(i * 37);
    }
}

// The images of a cell size 30 board: small synthetic ones of the sizes the drawing expects,
// with alpha where the game's have it, so every blending path reads real pixels.
struct Images
{
    Images()
    {
        target.Create(240, 320, false);
        background.Create(240, 320, false);
        strip.Create(27, 7 * 9, true);
        joint.Create(9, 9, true);
        icons.Create(22, 12 * 22, true);
        cell.Create(31, 29, true);
        Fill(background, 1);
        Fill(strip, 2);
        Fill(joint, 3);
        Fill(icons, 4);
        Fill(cell, 5);
    }
    Graphics::Surface16 target, background, strip, joint, icons, cell;
};

Images& SharedImages()
{
    static Images& images = *new Images;
    return images;
}

void Draw(const BoardSession& session, bool antialiasing)
{
    Images& images = SharedImages();
    BoardPicture picture(Trig());
    picture.target = &images.target;
    picture.background = &images.background;
    picture.sideImage = &images.strip;
    picture.jointImage = &images.joint;
    picture.bonusIconImage = &images.icons;
    picture.cellImages.fill(&images.cell);
    ShowSession(picture, session);
    picture.antialiasing = antialiasing;
    DrawBoard(picture);
    DrawBonusIcon(picture);
}

// A screen point of the cell: its centre clamped to the 16 bits window messages carry.
int32_t ScreenCoordinate(float value)
{
    if (!(value >= 0.0f))
        return 0;
    return value > 65535.0f ? 65535 : static_cast<int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 18))
        return 0;
    std::vector<uint8_t> bytes(data, data + size);

    // The reader alone: a file that ends too early says where, inside the file.
    {
        IO::MemoryStream stream;
        stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
        BoardFile file;
        uint32_t shortAt = 0;
        const bool whole = ReadBoardFile(stream, file, &shortAt);
        Check(whole || shortAt <= size);
    }

    GameSettings settings;
    settings.stylus = (size / 3) % 2;
    EffectManager effects(&Trig(), nullptr);
    BoardSession session(settings, effects);
    uint64_t frame = 0;
    session.SetClock([&frame] { return frame; }, 30);
    session.SetMode(static_cast<uint32_t>(size % 3) + 1);
    session.SetBackgroundCount(1);
    bool loaded = false;
    session.SetBoardFiles({u"board"}, [&](Grid& grid, std::u16string_view) {
        IO::MemoryStream stream;
        stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
        loaded = LoadGrid(grid, stream);
        return loaded;
    });
    session.StartBoard();
    const Grid* grid = session.GetGrid();
    if (!loaded || !grid) {
        Draw(session, true);
        return 0;
    }
    Check(grid->cells.size() >= MinBoardCells && grid->minSides >= MinCellSides);

    // A tap on each of the first cells in turn, a frame down and a frame up, with the frames
    // between letting the turns and completions run; a bonus on the first cell.
    const size_t cellCount = grid->cells.size();
    session.PlaceBonus(*session.GetGrid()->cells[0], static_cast<uint32_t>(size % 12) + 1);
    for (uint32_t step = 0; step < 48 && session.GetState() == BoardState::Playing; ++step) {
        const GridCell& cell = *session.GetGrid()->cells[(step / 4) % cellCount];
        const int32_t x = ScreenCoordinate(cell.centreX);
        const int32_t y = ScreenCoordinate(cell.centreY);
        if (step % 4 == 0)
            session.OnBoardStylusDown(x, y);
        else if (step % 4 == 1)
            session.OnBoardStylusUp(x, y);
        if (step % 16 == 5)
            session.OnBoardKeyDown();
        if (step % 16 == 9)
            session.OnBoardKeyUp();
        session.Update();
        if (step % 8 == 2 && session.GetGrid())
            Draw(session, step % 16 == 2);
        ++frame;
    }
    // Past the time limit (a bonus may have moved it) the board is lost and its grid released.
    frame += (uint64_t{session.TimeLimit()} + 1) * 30;
    session.Update();
    Check(session.GetState() != BoardState::Playing);
    Check(session.GetGrid() == nullptr);
    return 0;
}
