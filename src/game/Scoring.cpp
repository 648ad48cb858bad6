// Scoring: the points of each completed cell gather over a chain and are banked together,
// multiplied by the number of cells, when the chain ends.
#include "game/Scoring.h"

#include "game/BoardSession.h"

#include <string>

void BoardSession::ScoreCell(const GridCell& cell)
{
    m_pendingPoints += CellPoints(cell.sides);
    m_comboCount += 1;
    m_effects.CellBurst(cell.sides, cell.centreX, cell.centreY);
}

void BoardSession::BankPoints()
{
    const uint32_t gained = m_pendingPoints * m_comboCount;
    m_score += gained;
    // The floating texts of the chain's bursts show the gain.
    const std::string digits = std::to_string(gained);
    std::u16string text(digits.begin(), digits.end());
    text += u"point";
    m_effects.SetAllTexts(text);
    m_pendingPoints = 0;
    m_comboCount = 0;
    if (m_mode != GameMode::Classic) {
        SetScoreBar(static_cast<float>(m_score) / static_cast<float>(m_grid->target));
    }
}

void BoardSession::SetScoreBar(float value)
{
    // Held to 0..1 like the bar that shows it; a board without a target (0 / 0) shows 0.
    if (!(value > 0.0f)) {
        value = 0.0f;
    } else if (value > 1.0f) {
        value = 1.0f;
    }
    m_scoreBar = value;
}
