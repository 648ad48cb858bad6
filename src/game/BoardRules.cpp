// The board rules: from stylus and keys to a turn, the turn's animation and commit, and the
// completion cycle with each mode's rule for completed cells.
#include "game/BoardRules.h"

#include "game/BoardSession.h"
#include "game/Bonuses.h"
#include "game/Random.h"
#include "resources/GameSettings.h"

#include <algorithm>
#include <array>

namespace {

// Spin of completed sides and of shuffled sides per frame, in 16-bit angle units.
constexpr uint16_t CompletionSpin = 2340;
constexpr uint16_t ShuffleSpin = 4681;

} // namespace

uint32_t PlayableColours(const Grid& grid)
{
    const uint32_t fewer = static_cast<uint32_t>(grid.cells.size()) - 1;
    return std::max(1u, std::min(ColourCount, fewer));
}

void ShiftColours(Grid& grid, const GridCell& cell, bool direction)
{
    const std::vector<uint32_t>& e = cell.edges;
    const size_t n = e.size();
    if (n == 0) {
        return;
    }
    if (!direction) {
        const uint32_t saved = grid.edges[e[n - 1]].colour;
        for (size_t k = n - 1; k >= 1; --k) {
            grid.edges[e[k]].colour = grid.edges[e[k - 1]].colour;
        }
        grid.edges[e[0]].colour = saved;
    } else {
        const uint32_t saved = grid.edges[e[0]].colour;
        for (size_t k = 0; k + 1 < n; ++k) {
            grid.edges[e[k]].colour = grid.edges[e[k + 1]].colour;
        }
        grid.edges[e[n - 1]].colour = saved;
    }
}

bool DragDirection(float pressX, float pressY, float upX, float upY, float centreX, float centreY)
{
    // The cross product of (press - centre) and (release - press), term by term in float.
    const float fromCentreX = pressX - centreX;
    const float fromCentreY = pressY - centreY;
    const float dragX = upX - pressX;
    const float dragY = upY - pressY;
    const float cross = fromCentreX * dragY - dragX * fromCentreY;
    return cross < 0.0f;
}

void GreyAndRebalance(Grid& grid, const GridCell& cell)
{
    for (const uint32_t edge : cell.edges) {
        grid.edges[edge].colour = Grey;
    }
    // Counted once, before any topping up: a colour topped up earlier in the loop does not
    // change the counts of the colours after it.
    std::array<uint32_t, Grey + 1> counts{};
    for (const GridEdge& edge : grid.edges) {
        if (edge.colour <= Grey) {
            ++counts[edge.colour];
        }
    }
    for (uint32_t colour = 0; colour < ColourCount; ++colour) {
        const uint32_t count = counts[colour];
        // A colour that is gone stays gone.
        if (count > 0 && count < grid.minSides) {
            RecolourGrey(grid, grid.minSides - count, colour);
        }
    }
}

void RecolourGrey(Grid& grid, uint32_t count, uint32_t colour)
{
    std::vector<uint32_t> grey;
    for (uint32_t i = 0; i < grid.edges.size(); ++i) {
        if (grid.edges[i].colour == Grey) {
            grey.push_back(i);
        }
    }
    count = std::min(count, static_cast<uint32_t>(grey.size()));
    for (uint32_t n = 0; n < count; ++n) {
        const uint32_t i = Random() % static_cast<uint32_t>(grey.size());
        grid.edges[grey[i]].colour = colour;
        grey.erase(grey.begin() + i);
    }
}

void BoardSession::OnBoardStylusDown(int32_t x, int32_t y)
{
    if (m_state != BoardState::Playing || m_turningCell || !m_completionList.empty()) {
        return;
    }
    m_pressX = static_cast<float>(x);
    m_pressY = static_cast<float>(y);
    m_pressedCell = CellAt(*m_grid, m_pressX, m_pressY);
}

void BoardSession::OnBoardStylusUp(int32_t x, int32_t y)
{
    if (m_state != BoardState::Playing || m_turningCell || !m_completionList.empty() ||
        !m_pressedCell) {
        return;
    }
    if (!m_settings.stylus) {
        m_direction = m_keyDirection;
    } else if (m_pressX != -1.0f && m_pressY != -1.0f) {
        m_direction =
            DragDirection(m_pressX, m_pressY, static_cast<float>(x), static_cast<float>(y),
                          m_pressedCell->centreX, m_pressedCell->centreY);
    }
    m_turningCell = m_pressedCell;
    MarkTurning(true);
    RestartSound(u"Snd_Move");
    m_pressedCell = nullptr;
    m_pressX = -1.0f;
    m_pressY = -1.0f;
}

void BoardSession::OnBoardKeyDown()
{
    if (m_state == BoardState::Playing) {
        m_keyDirection = false;
    }
}

void BoardSession::OnBoardKeyUp()
{
    if (m_state == BoardState::Playing) {
        m_keyDirection = true;
    }
}

void BoardSession::MarkTurning(bool on)
{
    m_turningCell->turning = on;
    for (const uint32_t index : m_turningCell->edges) {
        GridEdge& edge = m_grid->edges[index];
        edge.moving = on;
        edge.a->moving = on;
        edge.b->moving = on;
    }
}

void BoardSession::MarkCompletion(bool on)
{
    for (GridCell* cell : m_completionList) {
        for (const uint32_t index : cell->edges) {
            m_grid->edges[index].marked = on;
        }
        cell->complete = on;
    }
}

bool BoardSession::IsListed(const GridCell* cell) const
{
    return std::find(m_completionList.begin(), m_completionList.end(), cell) !=
           m_completionList.end();
}

void BoardSession::StepTurn()
{
    ++m_turnFrame;
    // A cell of n sides turns by about 1/n of a full turn over turnFrames frames.
    const uint32_t frames = m_turnFrames * m_turningCell->sides;
    const auto step = static_cast<uint16_t>(frames != 0 ? 65535u / frames : 0);
    m_turnAngle = static_cast<uint16_t>(m_direction ? m_turnAngle + step : m_turnAngle - step);
}

void BoardSession::FinishTurn()
{
    if (!m_turningCell) {
        return;
    }
    ShiftColours(*m_grid, *m_turningCell, m_direction);
    MarkTurning(false);
    m_turnFrame = 0;
    m_turningCell = nullptr;
    m_turnAngle = 0;
}

void BoardSession::StartCompletion()
{
    if (!FindCompleteCells(*m_grid)) {
        return;
    }
    for (const auto& cell : m_grid->cells) {
        if (cell->complete) {
            m_completionList.push_back(cell.get());
        }
    }
    MarkCompletion(true);
    if (m_completionList.size() == 1 && m_completionList[0]->sides < 6) {
        RestartSound(u"Snd_Animation");
    } else {
        RestartSound(u"Snd_BigAnimation");
    }
    // The neighbours of bonus 8 join this completion at once.
    if (m_bonusCell && m_bonusCell->bonus == Bonus::Neighbours && IsListed(m_bonusCell)) {
        ApplyBonus(*m_bonusCell);
        RemoveBonus();
    }
}

void BoardSession::StepCompletion()
{
    if (!m_completionList.empty()) {
        ++m_completionFrame;
        m_spinAngle = static_cast<uint16_t>(m_spinAngle + CompletionSpin);
    }
    if (m_shuffleActive) {
        ++m_completionFrame;
        m_spinAngle = static_cast<uint16_t>(m_spinAngle + ShuffleSpin);
    }
}

void BoardSession::ResolveCompletion()
{
    if (m_shuffleActive) {
        ResolveShuffle();
        return;
    }
    for (const GridCell* cell : m_completionList) {
        ScoreCell(*cell);
    }
    for (GridCell* cell : m_completionList) {
        if (m_mode != GameMode::Classic) {
            RecolourCell(*m_grid, *cell);
        } else if (cell == m_bonusCell && cell->bonus == Bonus::Shuffle) {
            // Its sides stay grey through the shuffle, which rebalances the colours after it.
            for (const uint32_t edge : cell->edges) {
                m_grid->edges[edge].colour = Grey;
            }
        } else {
            GreyAndRebalance(*m_grid, *cell);
        }
    }
    MarkCompletion(false);
    if (m_bonusCell && m_bonusCell->bonus != Bonus::Neighbours && IsListed(m_bonusCell)) {
        ApplyBonus(*m_bonusCell);
        // A shuffle keeps its cell until the shuffle itself is resolved.
        if (!m_shuffleActive) {
            RemoveBonus();
        }
    }
    m_completionList.clear();
    m_completionFrame = 0;
    m_spinAngle = 0;
    if (AllGrey(*m_grid)) {
        WinBoard();
    }
}

void BoardSession::ResolveShuffle()
{
    m_shuffleActive = false;
    m_spinAngle = 0;
    m_completionFrame = 0;
    const uint32_t k = PlayableColours(*m_grid);
    for (GridEdge& edge : m_grid->edges) {
        edge.marked = false;
        if (edge.colour != Grey) {
            edge.colour = Random() % k;
        }
    }
    // The bonus may have expired while the shuffle animated: then no cell is left to grey.
    if (m_mode == GameMode::Classic && m_bonusCell) {
        GreyAndRebalance(*m_grid, *m_bonusCell);
    }
    // The cell keeps its bonus value; without a bonus cell it is never used again.
    m_bonusCell = nullptr;
    m_effects.RemoveKind(EffectKind::BonusAnimation);
}
