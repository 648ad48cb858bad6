// Shared pieces of the board session tests: boards made for the purpose, a session on a virtual
// clock of 30 ticks a second, the sounds it plays by name, and the generator replayed by hand.
#pragma once

#include "game/BoardSession.h"
#include "game/Random.h"
#include "graphics/TrigTable.h"
#include "resources/GameSettings.h"
#include "resources/ProfileStore.h"
#include "resources/SoundManager.h"
#include "support/BoardBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace SessionTest {

// The generator's formula outside the game: the first count values after seeding.
inline std::vector<uint32_t> Draws(uint32_t seed, size_t count)
{
    std::vector<uint32_t> values;
    for (size_t i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        values.push_back((seed >> 16) & 0x7FFF);
    }
    return values;
}

// The game's trigonometry table, generated in memory, for effects that should move.
inline const Graphics::TrigTable& Trig()
{
    static const Graphics::TrigTable table = [] {
        Graphics::TrigTable t;
        EXPECT_EQ(t.Generate(), Graphics::TrigResult::Ok);
        return t;
    }();
    return table;
}

// Regular polygons that share no side, cell i with sides[i] corners on a circle of radius 20
// around (30 + 60 (i % 4), 30 + 60 (i / 4)), listed clockwise on screen. Changing one cell's
// colours never touches another.
inline Fixture::Board IsolatedCells(const std::vector<uint32_t>& sides, uint32_t target = 1000)
{
    Fixture::Board board;
    board.target = target;
    for (size_t i = 0; i < sides.size(); ++i) {
        const double cx = 30.0 + 60.0 * double(i % 4);
        const double cy = 30.0 + 60.0 * double(i / 4);
        std::vector<uint32_t> corners;
        for (uint32_t k = 0; k < sides[i]; ++k) {
            const double angle = 2.0 * 3.14159265358979 * k / sides[i]; // y down: clockwise
            corners.push_back(uint32_t(board.points.size()));
            board.points.emplace_back(float(cx + 20.0 * std::cos(angle)),
                                      float(cy + 20.0 * std::sin(angle)));
        }
        board.cells.push_back(corners);
    }
    return board;
}

// Names the sample of each sound by the order of the sound list.
const std::vector<std::string> SoundNames = {"Snd_Move",  "Snd_Animation", "Snd_BigAnimation",
                                             "Snd_Bonus", "Snd_Win",       "Snd_Loose"};

// Stands in for the sound library and logs "play NAME" and "stop NAME": a sound plays on the
// channel 100 + its place in the list.
class NamingBackend : public SoundBackend
{
public:
    explicit NamingBackend(std::vector<std::string>& log) : m_log(log) {}

    int Init(int, int, unsigned int) override { return 1; }
    Platform::FSOUND_SAMPLE* SampleLoad(int, const void*, unsigned int, int, int) override
    {
        return &m_samples.at(m_loaded++);
    }
    void SampleFree(Platform::FSOUND_SAMPLE*) override {}
    int PlaySound(int, Platform::FSOUND_SAMPLE* sample) override
    {
        const auto index = size_t(sample - m_samples.data());
        m_log.push_back("play " + SoundNames[index]);
        return 100 + int(index);
    }
    int StopSound(int channel) override
    {
        m_log.push_back("stop " + SoundNames[size_t(channel - 100)]);
        return 1;
    }
    int SetPaused(int, int) override { return 1; }
    int SetVolume(int, int) override { return 1; }
    int SetLoopMode(int, unsigned int) override { return 1; }

private:
    std::vector<std::string>& m_log;
    std::array<Platform::FSOUND_SAMPLE, 6> m_samples{};
    size_t m_loaded = 0;
};

// A sound manager with the game's sounds on the naming backend.
struct Sounds
{
    Sounds()
    {
        namespace fs = std::filesystem;
        fs::create_directories(dir.Root() / "XML");
        fs::create_directories(dir.Root() / "Sounds");
        std::ofstream xml(dir.Root() / "XML" / "sounds.xml", std::ios::binary);
        xml << "<Sounds>\n";
        for (const std::string& name : SoundNames) {
            xml << "<Sound name=\"" << name << "\" file=\"" << name << ".wav\"/>\n";
            std::ofstream(dir.Root() / "Sounds" / (name + ".wav"), std::ios::binary) << name;
        }
        xml << "</Sounds>\n";
        xml.close();
        files.Mount(dir.Root().u16string() + u"/");
        manager = std::make_unique<SoundManager>(std::make_unique<NamingBackend>(log));
        manager->Init(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"));
        manager->LoadSamples(IO::FileSystem::FindDirectory(files.GetRoot(), u"Sounds"));
    }

    // The sounds logged since the last Take.
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    TempDir dir;
    IO::FileSystem files;
    std::vector<std::string> log;
    std::unique_ptr<SoundManager> manager;
};

// A session playing one board of the given mode, seeded with seed just before the board is
// loaded. Every board name loads the same board. The clock counts frames, 30 to a second.
struct Play
{
    explicit Play(const Fixture::Board& board, uint32_t mode = GameMode::Arcade, uint32_t seed = 1,
                  uint32_t boardCount = 1)
        : bytes(board.Bytes()), session(settings, effects)
    {
        session.SetMode(mode);
        session.SetBoardFiles(
            std::vector<std::u16string>(boardCount, u"board"),
            [this](Grid& grid, std::u16string_view) { return Fixture::LoadBoard(grid, bytes); });
        session.SetClock([this] { return clock; }, 30);
        SeedRandom(seed);
    }

    void Start() { session.StartBoard(); }
    void Frame()
    {
        session.Update();
        ++clock;
    }
    void Frames(uint32_t count)
    {
        for (uint32_t i = 0; i < count; ++i) {
            Frame();
        }
    }

    Grid& grid() { return *session.GetGrid(); }
    GridCell& cell(size_t i) { return *grid().cells[i]; }
    // The colours of a cell's sides in side order.
    std::vector<uint32_t> Colours(size_t i)
    {
        std::vector<uint32_t> colours;
        for (uint32_t edge : cell(i).edges) {
            colours.push_back(grid().edges[edge].colour);
        }
        return colours;
    }
    void Paint(size_t i, const std::vector<uint32_t>& colours)
    {
        for (size_t k = 0; k < colours.size(); ++k) {
            grid().edges[cell(i).edges[k]].colour = colours[k];
        }
    }
    // Every side the same colour: the cell completes in the next frame.
    void Complete(size_t i, uint32_t colour = 0)
    {
        Paint(i, std::vector<uint32_t>(cell(i).sides, colour));
    }
    // Sides coloured 0, 1, 2, ...: far from complete.
    void Mix(size_t i)
    {
        std::vector<uint32_t> colours;
        for (uint32_t k = 0; k < cell(i).sides; ++k) {
            colours.push_back(k % ColourCount);
        }
        Paint(i, colours);
    }
    // A stylus drag starting 5 pixels right of the cell's centre, going up (anticlockwise on
    // screen: direction true) or down (clockwise: direction false).
    void Turn(size_t i, bool direction)
    {
        const auto x = int32_t(std::lround(cell(i).centreX)) + 5;
        const auto y = int32_t(std::lround(cell(i).centreY));
        session.OnBoardStylusDown(x, y);
        session.OnBoardStylusUp(x, direction ? y - 5 : y + 5);
    }

    std::string bytes;
    GameSettings settings;
    EffectManager effects;
    BoardSession session;
    uint64_t clock = 0;
};

} // namespace SessionTest
