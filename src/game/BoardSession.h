// BoardSession: one board in play without any window: the grid and the play fields, input,
// the per-frame update (turns, completions, chains, bonuses, drain, timer) and what winning or
// losing changes in the player's run. The game screen owns one and adds the windows; boardtool
// runs the same code headless.
#pragma once

#include "game/EffectManager.h"
#include "game/Grid.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct GameSettings;
class ProfileStore;
class ResourceManager;
class SoundManager;
namespace IO {
class DirectoryNode;
}

// Game modes are numbered 1 to 3 everywhere; per-mode arrays are indexed by mode - 1.
namespace GameMode {
constexpr uint32_t Arcade = 1;
constexpr uint32_t Classic = 2;
constexpr uint32_t Survival = 3;
} // namespace GameMode

enum class BoardState
{
    Idle, // no board yet, or the board was left unfinished
    Playing,
    Won,
    Lost
};

// Seconds since the board started, read from a counter of the given frequency. The game gives
// it the host's high-resolution counter; tests and tools a virtual one.
class BoardTimer
{
public:
    using Counter = std::function<uint64_t()>;

    BoardTimer();
    void SetSource(Counter counter, uint32_t frequency);
    // Starts counting from now, in whole seconds.
    void Start();
    // Whole seconds since Start; 0 before it.
    int64_t Elapsed() const;

private:
    int64_t Now() const;

    int64_t m_start = 0;
    int64_t m_stop = 0;
    int64_t m_frozen = 0;
    uint32_t m_frequency = 1;
    // A start at counter time 0 is a start too: the flag, not a zero start, says "not started".
    bool m_started = false;
    Counter m_counter;
};

// The play fields a trace shows, and the colours of the sides in edge order.
struct BoardSnapshot
{
    uint32_t score = 0;
    uint32_t pendingPoints = 0;
    uint32_t comboCount = 0;
    uint32_t lives = 0;
    uint32_t timeLimit = 0;
    uint32_t turnFrames = 0;
    int32_t bonusCell = -1; // index in cells order, -1 for none
    uint32_t bonus = 0;
    std::vector<uint8_t> edgeColours;

    bool operator==(const BoardSnapshot&) const = default;
};

// How the last board ended: what the message after it needs.
struct BoardResult
{
    uint32_t boardNumber = 0;
    uint32_t score = 0;     // the board's score, with the time bonus of a win
    uint32_t timeBonus = 0; // a third of the seconds left, 0 for a lost board
    uint32_t total = 0;     // the run's total score in the profile after the board
    // The run is over: the last board was won, or a board was lost with no life left. The
    // next board is then board 1 of a fresh run.
    bool runEnded = false;
};

// Fills an empty grid with the board file of that name; false when it cannot be read.
using BoardLoader = std::function<bool(Grid& grid, std::u16string_view name)>;
// Loads board files from a folder of the virtual file system.
BoardLoader FolderBoardLoader(IO::DirectoryNode* folder);

class BoardSession
{
public:
    // The settings and the effects must outlive the session.
    BoardSession(const GameSettings& settings, EffectManager& effects);
    ~BoardSession();
    BoardSession(const BoardSession&) = delete;
    BoardSession& operator=(const BoardSession&) = delete;

    // Optional collaborators: without sounds the board is silent, without a profile store the
    // board is number 1 with 3 lives and nothing is recorded, without resources the bonus
    // animation has no image.
    void SetSounds(SoundManager* sounds) { m_sounds = sounds; }
    void SetProfiles(ProfileStore* profiles) { m_profiles = profiles; }
    void SetResources(const ResourceManager* resources) { m_resources = resources; }
    // 1 Arcade (also for any number out of range), 2 Classic, 3 Survival; read by StartBoard.
    void SetMode(uint32_t mode);
    // The board files in play order and how one is loaded.
    void SetBoardFiles(std::vector<std::u16string> names, BoardLoader loader);
    // The number of background images the board's background is drawn from.
    void SetBackgroundCount(uint32_t count) { m_backgroundCount = count; }
    void SetClock(BoardTimer::Counter counter, uint32_t frequency);

    // Starts the current player's board of the mode: a fresh grid loaded from its file, the
    // play fields reset, the timer started, a background drawn and the mode set up. A board
    // file that cannot be loaded leaves an empty grid that runs until the time is out.
    void StartBoard();
    // The play fields of a new board; removes the bonus and its animation.
    void ResetBoardState();
    // The board number from the profile (board 1 past the last file) with its drain period;
    // returns the file's name, empty when there are no board files.
    std::u16string GridFileName();
    // One frame while the board is playing; nothing after it was won or lost.
    void Update();
    // Leaves the board unfinished: the grid and its bonus go, nothing is recorded.
    void EndPlay();

    // Input of the game window, in its pixels. Ignored unless the board is playing.
    void OnBoardStylusDown(int32_t x, int32_t y);
    void OnBoardStylusUp(int32_t x, int32_t y);
    // Any key held turns the next turn of key control the other way (direction false).
    void OnBoardKeyDown();
    void OnBoardKeyUp();

    // Puts a bonus of kind 1 to 12 on a cell of the grid as the bonus cycle does, with its
    // animation, in place of any bonus lying elsewhere; for tests and tools. The cycle still
    // expires it at its usual frame.
    void PlaceBonus(GridCell& cell, uint32_t kind);

    BoardState GetState() const { return m_state; }
    // The grid while the board is playing; null after it ended.
    const Grid* GetGrid() const { return m_grid.get(); }
    Grid* GetGrid() { return m_grid.get(); }
    const GridCell* TurningCell() const { return m_turningCell; }
    const std::vector<GridCell*>& CompletionList() const { return m_completionList; }
    const GridCell* BonusCell() const { return m_bonusCell; }
    const GridCell* PressedCell() const { return m_pressedCell; }
    uint32_t TurnFrame() const { return m_turnFrame; }
    uint32_t CompletionFrame() const { return m_completionFrame; }
    uint32_t TurnFrames() const { return m_turnFrames; }
    uint16_t TurnAngle() const { return m_turnAngle; }
    uint16_t SpinAngle() const { return m_spinAngle; }
    bool ShuffleActive() const { return m_shuffleActive; }
    bool Direction() const { return m_direction; }
    bool KeyDirection() const { return m_keyDirection; }
    float PressX() const { return m_pressX; }
    float PressY() const { return m_pressY; }
    uint32_t Score() const { return m_score; }
    uint32_t PendingPoints() const { return m_pendingPoints; }
    uint32_t ComboCount() const { return m_comboCount; }
    uint32_t Lives() const { return m_lives; }
    uint32_t TimeLimit() const { return m_timeLimit; }
    uint32_t DrainPeriod() const { return m_drainPeriod; }
    uint32_t DrainCounter() const { return m_drainCounter; }
    uint32_t BonusCycle() const { return m_bonusCycle; }
    uint32_t BonusAppearFrame() const { return m_bonusAppearFrame; }
    uint32_t SpeedBonusFrames() const { return m_speedBonusFrames; }
    int32_t BonusEffect() const { return m_bonusEffect; }
    // The score bar's value, 0 to 1; a full bar wins the board. Hidden (and 0) in Classic.
    float ScoreBar() const { return m_scoreBar; }
    bool ScoreBarVisible() const { return m_mode != GameMode::Classic; }
    uint32_t Mode() const { return m_mode; }
    uint32_t BoardNumber() const { return m_boardNumber; }
    // The background drawn for the board, -1 when there are no backgrounds.
    int32_t BackgroundIndex() const { return m_backgroundIndex; }
    int64_t ElapsedSeconds() const { return m_timer.Elapsed(); }
    const BoardResult& Result() const { return m_result; }

    BoardSnapshot Snapshot() const;
    // The snapshot taken when the last board ended, before its grid was released.
    const BoardSnapshot& FinalSnapshot() const { return m_finalSnapshot; }

private:
    // Board rules (BoardRules.cpp).
    void StepTurn();
    void FinishTurn();
    void StartCompletion();
    void StepCompletion();
    void ResolveCompletion();
    void ResolveShuffle();
    void MarkTurning(bool on);
    void MarkCompletion(bool on);
    bool IsListed(const GridCell* cell) const;
    // Scoring (Scoring.cpp).
    void ScoreCell(const GridCell& cell);
    void BankPoints();
    void SetScoreBar(float value);
    // Bonuses (Bonuses.cpp).
    void ApplyBonus(GridCell& cell);
    void AddNeighbours(const GridCell& cell);
    void RemoveBonus();
    void BonusCycleStep();
    // The end of a board.
    void WinBoard();
    void LoseBoard();
    void EndBoard(BoardState state);
    void PlaySound(std::u16string_view name);
    void RestartSound(std::u16string_view name);

    const GameSettings& m_settings;
    EffectManager& m_effects;
    SoundManager* m_sounds = nullptr;
    ProfileStore* m_profiles = nullptr;
    const ResourceManager* m_resources = nullptr;
    uint32_t m_mode = GameMode::Arcade;
    std::vector<std::u16string> m_boardNames;
    BoardLoader m_loader;
    uint32_t m_backgroundCount = 0;
    BoardState m_state = BoardState::Idle;

    // The play fields.
    std::unique_ptr<Grid> m_grid;
    uint32_t m_turnFrame = 0;
    uint32_t m_completionFrame = 0;
    uint32_t m_drainCounter = 0;
    uint32_t m_bonusAppearFrame = 501;
    uint32_t m_bonusCycle = 0;
    uint32_t m_speedBonusFrames = 0;
    uint32_t m_drainPeriod = 200;
    GridCell* m_turningCell = nullptr;
    std::vector<GridCell*> m_completionList;
    GridCell* m_bonusCell = nullptr;
    uint16_t m_turnAngle = 0;
    uint16_t m_spinAngle = 0;
    uint32_t m_score = 0;
    uint32_t m_pendingPoints = 0;
    uint32_t m_comboCount = 0;
    uint32_t m_timeLimit = 180;
    uint32_t m_turnFrames = 5;
    uint32_t m_lives = 0;
    bool m_keyDirection = true;
    bool m_direction = true;
    BoardTimer m_timer;
    bool m_shuffleActive = false;
    float m_pressX = -1.0f;
    float m_pressY = -1.0f;
    GridCell* m_pressedCell = nullptr;
    int32_t m_bonusEffect = -1;
    float m_scoreBar = 0.0f;

    uint32_t m_boardNumber = 1;
    int32_t m_backgroundIndex = -1;
    BoardResult m_result;
    BoardSnapshot m_finalSnapshot;
};
