// BoardSession: starting a board, the order of one frame's update, the timer, and the end of a
// board with what it changes in the player's run.
#include "game/BoardSession.h"

#include "game/BoardRules.h"
#include "game/Bonuses.h"
#include "game/Random.h"
#include "resources/GameSettings.h"
#include "resources/ProfileStore.h"
#include "resources/SoundManager.h"

#include <chrono>
#include <utility>

namespace {

// A completion animates for this many frames and is resolved in the next one.
constexpr uint32_t CompletionFrames = 7;
constexpr uint32_t BoardSeconds = 180;
// Boards 1 to 4 drain one point every 200 frames in Survival; later boards faster.
constexpr uint32_t SlowestDrain = 200;
constexpr uint32_t TimeBonusDivisor = 3;

uint64_t SteadyMicroseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

} // namespace

BoardTimer::BoardTimer() : m_frequency(1'000'000), m_counter(SteadyMicroseconds) {}

void BoardTimer::SetSource(Counter counter, uint32_t frequency)
{
    m_counter = std::move(counter);
    m_frequency = frequency != 0 ? frequency : 1;
}

int64_t BoardTimer::Now() const
{
    return m_counter ? static_cast<int64_t>(m_counter() / m_frequency) : 0;
}

void BoardTimer::Start()
{
    m_start = Now();
    m_stop = 0;
    m_frozen = 0;
    m_started = true;
}

int64_t BoardTimer::Elapsed() const
{
    if (m_frozen != 0) {
        return m_frozen;
    }
    if (m_stop == 0 && m_started) {
        return Now() - m_start;
    }
    return m_stop - m_start;
}

BoardLoader FolderBoardLoader(IO::DirectoryNode* folder)
{
    return [folder](Grid& grid, std::u16string_view name) { return LoadGrid(grid, folder, name); };
}

BoardSession::BoardSession(const GameSettings& settings, EffectManager& effects)
    : m_settings(settings), m_effects(effects)
{}

BoardSession::~BoardSession() = default;

void BoardSession::SetMode(uint32_t mode)
{
    m_mode = (mode == GameMode::Classic || mode == GameMode::Survival) ? mode : GameMode::Arcade;
}

void BoardSession::SetBoardFiles(std::vector<std::u16string> names, BoardLoader loader)
{
    m_boardNames = std::move(names);
    m_loader = std::move(loader);
}

void BoardSession::SetClock(BoardTimer::Counter counter, uint32_t frequency)
{
    m_timer.SetSource(std::move(counter), frequency);
}

std::u16string BoardSession::GridFileName()
{
    PlayerProfile* player = m_profiles ? m_profiles->CurrentPlayer() : nullptr;
    uint32_t number = player ? player->grid[m_mode - 1] : 1;
    const size_t count = m_boardNames.size();
    if (number == 0 || number > count) {
        // Board files removed since the profile was saved: the run goes on from board 1 (a
        // profile is left alone when no board file is found at all).
        number = 1;
        if (player && count > 0) {
            player->grid[m_mode - 1] = 1;
        }
    }
    m_boardNumber = number;
    if (number < 5) {
        m_drainPeriod = SlowestDrain;
    } else {
        const uint32_t q = number / 5;
        m_drainPeriod = static_cast<uint32_t>(200.0 / (1.2 * q));
        // Past board 834 the formula gives 0, which would drain every mode every frame.
        if (m_drainPeriod == 0) {
            m_drainPeriod = 1;
        }
    }
    return count > 0 ? m_boardNames[number - 1] : std::u16string();
}

void BoardSession::StartBoard()
{
    const std::u16string name = GridFileName();
    m_grid = std::make_unique<Grid>();
    if (m_loader && !m_boardNames.empty()) {
        m_loader(*m_grid, name);
    }
    ResetBoardState();
    m_timer.Start();
    // No background to choose from: no draw either, so the board's random sequence stays the
    // same.
    m_backgroundIndex =
        m_backgroundCount > 0 ? static_cast<int32_t>(Random() % m_backgroundCount) : -1;

    PlayerProfile* player = m_profiles ? m_profiles->CurrentPlayer() : nullptr;
    if (m_mode == GameMode::Survival) {
        m_scoreBar = 0.5f;
        m_score = m_grid->target / 2;
    } else {
        m_scoreBar = 0.0f;
    }
    m_lives = player ? player->lives[m_mode - 1] : ProfileStore::StartLives;
    m_result = BoardResult{};
    m_result.boardNumber = m_boardNumber;
    m_state = BoardState::Playing;
}

void BoardSession::ResetBoardState()
{
    m_turningCell = nullptr;
    if (m_bonusCell) {
        m_effects.RemoveKind(EffectKind::BonusAnimation);
        m_bonusCell = nullptr;
    }
    m_completionList.clear();
    m_turnFrame = 0;
    m_completionFrame = 0;
    m_turnAngle = 0;
    m_spinAngle = 0;
    m_score = 0;
    m_pendingPoints = 0;
    m_comboCount = 0;
    m_drainCounter = 0;
    m_bonusAppearFrame = BonusFirstAppearance;
    m_bonusCycle = 0;
    m_speedBonusFrames = 0;
    m_timeLimit = BoardSeconds;
    m_lives = 0;
    m_turnFrames = NormalTurnFrames;
    m_keyDirection = true;
    m_direction = true;
    m_shuffleActive = false;
    m_pressX = -1.0f;
    m_pressY = -1.0f;
    m_pressedCell = nullptr;
    m_bonusEffect = -1;
}

void BoardSession::Update()
{
    if (m_state != BoardState::Playing) {
        return;
    }
    // The search for complete cells comes before the banking, so that a cascade found in this
    // frame keeps its chain's points pending.
    if (!m_turningCell && m_completionList.empty()) {
        StartCompletion();
    }
    if (m_completionList.empty() && m_pendingPoints != 0) {
        BankPoints();
    }
    // A banking that fills the bar wins in the same frame, before the time can run out.
    if (m_scoreBar >= 1.0f) {
        WinBoard();
        return;
    }
    if (static_cast<int64_t>(m_timeLimit) - m_timer.Elapsed() < 1) {
        LoseBoard();
        return;
    }
    if (m_drainPeriod <= m_drainCounter) {
        if (m_score > 0) {
            --m_score;
        }
        m_drainCounter = 0;
        SetScoreBar(static_cast<float>(m_score) / static_cast<float>(m_grid->target));
    }
    if (m_mode == GameMode::Survival) {
        ++m_drainCounter;
    }
    // The commit of a turn and the resolution of a completion are tested before this frame's
    // steps advance them.
    if (m_turnFrames <= m_turnFrame) {
        FinishTurn();
    }
    if (m_completionFrame >= CompletionFrames) {
        ResolveCompletion();
        // A Classic board whose last side turned grey is won there; the chain's points are
        // left unbanked.
        if (m_state != BoardState::Playing) {
            return;
        }
    }
    BonusCycleStep();
    ++m_bonusCycle;
    if (m_turningCell) {
        StepTurn();
    }
    StepCompletion();
    m_effects.UpdateImageEffects();
    m_effects.UpdateTextEffects();
}

void BoardSession::EndPlay()
{
    m_grid.reset();
    ResetBoardState();
    m_state = BoardState::Idle;
}

void BoardSession::WinBoard()
{
    PlaySound(u"Snd_Win");
    // Bonus 2 may have taken the limit below the time already used: no bonus then.
    const int64_t left = static_cast<int64_t>(m_timeLimit) - m_timer.Elapsed();
    const uint32_t timeBonus = left > 0 ? static_cast<uint32_t>(left / TimeBonusDivisor) : 0;
    m_score += timeBonus;
    m_result.score = m_score;
    m_result.timeBonus = timeBonus;
    if (PlayerProfile* player = m_profiles ? m_profiles->CurrentPlayer() : nullptr) {
        const uint32_t previous = m_profiles->RecordWin(*player, m_mode, m_score, m_lives);
        m_result.total = player->score[m_mode - 1];
        if (previous == m_boardNames.size()) {
            m_profiles->EndRun(*player, m_mode);
            m_result.runEnded = true;
        }
    }
    EndBoard(BoardState::Won);
}

void BoardSession::LoseBoard()
{
    PlaySound(u"Snd_Loose");
    m_result.score = m_score;
    if (PlayerProfile* player = m_profiles ? m_profiles->CurrentPlayer() : nullptr) {
        m_result.total = player->score[m_mode - 1];
        player->lives[m_mode - 1] = m_lives;
        if (!m_profiles->TakeLife(*player, m_mode)) {
            m_profiles->EndRun(*player, m_mode);
            m_result.runEnded = true;
        }
    }
    EndBoard(BoardState::Lost);
}

void BoardSession::EndBoard(BoardState state)
{
    m_finalSnapshot = Snapshot();
    m_grid.reset();
    ResetBoardState();
    m_state = state;
}

BoardSnapshot BoardSession::Snapshot() const
{
    BoardSnapshot s;
    s.score = m_score;
    s.pendingPoints = m_pendingPoints;
    s.comboCount = m_comboCount;
    s.lives = m_lives;
    s.timeLimit = m_timeLimit;
    s.turnFrames = m_turnFrames;
    if (m_bonusCell && m_grid) {
        s.bonus = m_bonusCell->bonus;
        for (size_t i = 0; i < m_grid->cells.size(); ++i) {
            if (m_grid->cells[i].get() == m_bonusCell) {
                s.bonusCell = static_cast<int32_t>(i);
            }
        }
    }
    if (m_grid) {
        s.edgeColours.reserve(m_grid->edges.size());
        for (const GridEdge& edge : m_grid->edges) {
            s.edgeColours.push_back(static_cast<uint8_t>(edge.colour));
        }
    }
    return s;
}

void BoardSession::PlaySound(std::u16string_view name)
{
    if (m_sounds) {
        m_sounds->Play(name, false);
    }
}

void BoardSession::RestartSound(std::u16string_view name)
{
    if (m_sounds) {
        m_sounds->Stop(name);
        m_sounds->Play(name, false);
    }
}
