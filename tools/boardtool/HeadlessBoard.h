// A board played without window or sound, for boardtool's sim, autoplay and render: the game's
// own session on a virtual clock of 30 frames a second, with a player profile on the board.
#pragma once

#include "Commands.h"
#include "game/BoardSession.h"
#include "game/Grid.h"
#include "graphics/TrigTable.h"
#include "io/FileSystem.h"
#include "io/MemoryStream.h"
#include "resources/GameSettings.h"
#include "resources/ProfileStore.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace Headless {

constexpr uint32_t FramesPerSecond = 30;
// Board numbers are given by copies of one board name: a limit keeps that list small.
constexpr uint32_t MaxBoardNumber = 100000;

// A decimal number from min to max, the whole text.
inline bool ParseNumber(const std::string& text, uint32_t min, uint32_t max, uint32_t& value)
{
    uint64_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed < min || parsed > max) {
        return false;
    }
    value = static_cast<uint32_t>(parsed);
    return true;
}

inline bool ReadFile(const std::string& path, std::string& bytes)
{
    // Reading a folder through a stream throws inside the library: refuse anything but a file.
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

// The trigonometry table from the game folder beside the tool, so that the effects move as in
// the game. Without it they still exist for a frame and draw from the random generator alike.
inline void LoadTrigTable(Graphics::TrigTable& trig)
{
    IO::FileSystem files;
    if (files.Mount() == 0) {
        trig.Load(files.GetRoot(), u"trigo.dat");
    }
}

struct Options
{
    uint32_t mode = GameMode::Arcade;
    uint32_t lives = ProfileStore::StartLives;
    uint32_t boardNumber = 1;
    uint32_t backgrounds = 1;
    bool keys = false; // stylus control off
};

class HeadlessBoard
{
public:
    // The board file's bytes are played as board number options.boardNumber, the last of that
    // many boards. With resources the effects and the bonus animation have their images.
    HeadlessBoard(std::string bytes, const Options& options, const Graphics::TrigTable& trig,
                  const ResourceManager* resources = nullptr)
        : m_bytes(std::move(bytes)), m_profiles(m_settings), m_effects(&trig, resources),
          m_session(m_settings, m_effects)
    {
        m_session.SetResources(resources);
        m_settings.stylus = options.keys ? 0 : 1;
        m_profiles.AddPlayer(u"boardtool");
        m_profiles.SetCurrent(0);
        PlayerProfile& player = *m_profiles.CurrentPlayer();
        player.lives[options.mode - 1] = options.lives;
        player.grid[options.mode - 1] = options.boardNumber;
        m_session.SetProfiles(&m_profiles);
        m_session.SetMode(options.mode);
        m_session.SetBackgroundCount(options.backgrounds);
        m_session.SetClock([this] { return m_frame; }, FramesPerSecond);
        m_session.SetBoardFiles(std::vector<std::u16string>(options.boardNumber, u"board"),
                                [this](Grid& grid, std::u16string_view) {
                                    IO::MemoryStream stream;
                                    stream.Open(reinterpret_cast<uint8_t*>(m_bytes.data()),
                                                static_cast<uint32_t>(m_bytes.size()));
                                    m_loaded = LoadGrid(grid, stream);
                                    return m_loaded;
                                });
    }

    // Starts the board at virtual time 0; false when the file is not a board the game plays.
    bool Start()
    {
        m_frame = 0;
        m_session.StartBoard();
        return m_loaded;
    }
    // One frame's update at virtual time frame / 30 seconds.
    void Update() { m_session.Update(); }
    void NextFrame() { ++m_frame; }

    uint64_t Frame() const { return m_frame; }
    BoardSession& Session() { return m_session; }
    EffectManager& Effects() { return m_effects; }

private:
    std::string m_bytes;
    GameSettings m_settings;
    ProfileStore m_profiles;
    EffectManager m_effects;
    BoardSession m_session;
    uint64_t m_frame = 0;
    bool m_loaded = false;
};

} // namespace Headless
