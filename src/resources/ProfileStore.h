// ProfileStore: the player profiles with their progress in each game mode, the high-score
// tables and the options, kept between runs in "data.dat".
#pragma once

#include "io/FileSystem.h"
#include "resources/GameSettings.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Game modes are numbered 1 Arcade, 2 Classic, 3 Survival; per-mode arrays use mode - 1.
constexpr uint32_t GameModeCount = 3;

struct PlayerProfile
{
    std::u16string name;
    std::array<uint32_t, GameModeCount> lives{3, 3, 3}; // tries left in the run
    std::array<uint32_t, GameModeCount> score{};        // the run's total
    std::array<uint32_t, GameModeCount> bestScore{};
    std::array<uint32_t, GameModeCount> grid{1, 1, 1}; // the board the run is on
    std::array<uint32_t, GameModeCount> bestGrid{1, 1, 1};

    bool operator==(const PlayerProfile&) const = default;
};

struct ScoreEntry
{
    std::u16string name;
    uint32_t score = 0;

    bool operator==(const ScoreEntry&) const = default;
};

class ProfileStore
{
public:
    static constexpr size_t TableSize = 10; // entries of a high-score table at most
    static constexpr uint32_t StartLives = 3;

    // The store reads the options into settings and saves them from there; settings must
    // outlive the store, which saves on destruction.
    explicit ProfileStore(GameSettings& settings);
    // Saves first when Load ran (see Load).
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    // Reads fileName in root, and from then on saves there on destruction. False when the
    // file is missing or rejected. A file that is short, damaged or holds impossible values
    // changes nothing in the store or the settings; it is copied beside itself as
    // fileName + ".bad" (or ".bad.1" to ".bad.9", the first name free) so that the next save
    // cannot destroy what it held. A file that exists
    // but cannot be read, or a rejected one that cannot be copied, is never overwritten: not
    // on destruction, and not by Save.
    bool Load(IO::DirectoryNode* root, const std::u16string& fileName);
    // Writes the whole store to a temporary file beside the old one and renames it over it,
    // so that a failure at any point leaves the old file whole. False, with one line on
    // stderr, when the file could not be replaced. Also false, writing nothing, when Load
    // found a file it could neither read nor keep a copy of: that file may hold the player's
    // progress, and no save of this run replaces it (said on stderr at the first refusal).
    bool Save();

    // The data.dat image of the store; values wider than their field are saved saturated.
    std::vector<uint8_t> Encode() const;
    // Replaces the store's contents with a data.dat image. False, changing nothing, unless
    // the whole image is valid.
    bool Decode(std::span<const uint8_t> bytes);

    // Appends a profile with a fresh run in every mode; duplicate names are allowed.
    void AddPlayer(std::u16string name);
    // Removes the profile at index, the later ones moving down; the current selection follows
    // its player, or becomes -1 when that player is removed.
    void RemovePlayer(int32_t index);
    size_t PlayerCount() const { return m_players.size(); }
    // The profile at index; null outside the list.
    PlayerProfile* Player(int32_t index);
    const PlayerProfile* Player(int32_t index) const;

    // Index of the selected player, -1 when none. SetCurrent stores -1 for an index outside
    // the list.
    int32_t Current() const { return m_current; }
    void SetCurrent(int32_t index);
    PlayerProfile* CurrentPlayer() { return Player(m_current); }

    // The high-score table of a mode (1 to 3), best first; empty for any other number.
    const std::vector<ScoreEntry>& Table(uint32_t mode) const;

    // Progress of a player in mode (1 to 3); another mode number changes nothing.
    // A won board: the run moves to the next board, adds boardScore and keeps the lives shown
    // on screen. Returns the number of the board that was won (0 for a bad mode).
    uint32_t RecordWin(PlayerProfile& player, uint32_t mode, uint32_t boardScore, uint32_t lives);
    // A lost board: true with one life less, or false when no life was left (the run is over
    // and EndRun should follow).
    bool TakeLife(PlayerProfile& player, uint32_t mode);
    // Ends the run: enters it into the high-score table, keeps the bests and starts afresh.
    void EndRun(PlayerProfile& player, uint32_t mode);
    // Enters the player's run score into the mode's table before the first lower score (so
    // equal scores keep their order of arrival), or at the end while there is room. True
    // when entered.
    bool InsertHighScore(const PlayerProfile& player, uint32_t mode);

    bool SaveOnExit() const { return m_saveOnExit; }

private:
    // Load met a file that must outlive this run: no save, on exit or asked for, replaces it.
    void KeepOldFile();
    // Replaces name in the root folder by bytes through a flushed temporary file. Null on
    // success, else what failed.
    const char* WriteAtomically(const std::u16string& name, std::span<const uint8_t> bytes);

    GameSettings& m_settings;
    int32_t m_current = -1;
    std::vector<std::unique_ptr<PlayerProfile>> m_players; // stable addresses for callers
    std::array<std::vector<ScoreEntry>, GameModeCount> m_tables;
    IO::DirectoryNode* m_root = nullptr;
    std::u16string m_fileName = u"data.dat";
    bool m_saveOnExit = false;
    // Load found a file it must not replace; Save refuses, and has said so once m_refusalSaid.
    bool m_keepOldFile = false;
    bool m_refusalSaid = false;
};
