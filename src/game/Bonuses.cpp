// Bonuses: the cycle that places one on a random cell and expires it, and what each kind does
// when its cell is completed.
#include "game/Bonuses.h"

#include "game/BoardSession.h"
#include "game/Random.h"
#include "resources/ResourceManager.h"

#include <algorithm>

namespace {

constexpr uint32_t MinuteSeconds = 60;
constexpr uint32_t SpeedBonusStep = 2;
constexpr uint32_t ScoreBonusPoints = 50;

// A random cell of 4 sides or more; null, drawing nothing, when the board has none (a search
// that could never end).
GridCell* PickBonusCell(Grid& grid)
{
    const bool any = std::any_of(grid.cells.begin(), grid.cells.end(),
                                 [](const auto& cell) { return cell->sides >= 4; });
    if (!any) {
        return nullptr;
    }
    const auto count = static_cast<uint32_t>(grid.cells.size());
    uint32_t i = Random() % count;
    while (grid.cells[i]->sides < 4) {
        i = Random() % count;
    }
    return grid.cells[i].get();
}

bool HasGreySide(const Grid& grid, const GridCell& cell)
{
    return std::any_of(cell.edges.begin(), cell.edges.end(),
                       [&](uint32_t edge) { return grid.edges[edge].colour == Grey; });
}

} // namespace

void BoardSession::ApplyBonus(GridCell& cell)
{
    switch (cell.bonus) {
    case Bonus::ExtraMinute:
        m_timeLimit += MinuteSeconds;
        break;
    case Bonus::LostMinute:
        m_timeLimit = m_timeLimit > MinuteSeconds ? m_timeLimit - MinuteSeconds : 0;
        break;
    case Bonus::Shuffle:
        // The new colours are drawn when the shuffle's animation ends.
        m_shuffleActive = true;
        for (GridEdge& edge : m_grid->edges) {
            if (edge.colour != Grey) {
                edge.marked = true;
            }
        }
        break;
    case Bonus::ExtraLife:
        ++m_lives;
        break;
    case Bonus::LostLife:
        m_lives = m_lives > 0 ? m_lives - 1 : 0;
        break;
    case Bonus::FastTurns:
        // One frame is the shortest turn: a third fast bonus within the countdown keeps it
        // instead of wrapping to a turn that never ends.
        m_turnFrames = std::max(m_turnFrames, 1 + SpeedBonusStep) - SpeedBonusStep;
        break;
    case Bonus::SlowTurns:
        m_turnFrames += SpeedBonusStep;
        break;
    case Bonus::Neighbours:
        AddNeighbours(cell);
        break;
    case Bonus::DoubleScore:
        m_score *= 2;
        break;
    case Bonus::AddFifty:
        m_score += ScoreBonusPoints;
        break;
    case Bonus::TakeFifty:
        m_score = m_score > ScoreBonusPoints ? m_score - ScoreBonusPoints : 0;
        break;
    case Bonus::HalveScore:
        m_score /= 2;
        break;
    default:
        return;
    }
    PlaySound(u"Snd_Bonus");
}

void BoardSession::AddNeighbours(const GridCell& cell)
{
    // A neighbour is listed once per side it shares with the bonus cell, even when it is
    // listed already; every listing is scored and resolved.
    for (const uint32_t side : cell.edges) {
        for (const auto& other : m_grid->cells) {
            if (other.get() == &cell ||
                std::find(other->edges.begin(), other->edges.end(), side) == other->edges.end() ||
                HasGreySide(*m_grid, *other)) {
                continue;
            }
            for (const uint32_t edge : other->edges) {
                m_grid->edges[edge].marked = true;
            }
            m_completionList.push_back(other.get());
        }
    }
}

void BoardSession::RemoveBonus()
{
    m_bonusCell->bonus = 0;
    m_bonusCell = nullptr;
    m_effects.RemoveKind(EffectKind::BonusAnimation);
}

void BoardSession::PlaceBonus(GridCell& cell, uint32_t kind)
{
    // One bonus at a time (the cycle only places one when there is none).
    if (m_bonusCell) {
        RemoveBonus();
    }
    m_bonusCell = &cell;
    cell.bonus = kind;
    const Graphics::Surface16* strip = nullptr;
    if (m_resources) {
        strip = m_resources->GetImage(m_grid->cellSize == 40.0f ? u"ani_bonuses2" : u"ani_bonuses");
    }
    const uint32_t w = strip ? strip->Width() : 0;
    const float half = static_cast<float>(w / 2);
    m_bonusEffect = m_effects.AddImageEffect(cell.centreX - half, cell.centreY - half, w, w, 0.0f,
                                             0.0f, 0.0f, 0.0f, BonusLifetime, BonusAnimationFrames,
                                             1, strip, EffectKind::BonusAnimation, OpaqueWhite);
}

void BoardSession::BonusCycleStep()
{
    if (m_bonusCycle >= BonusCycleFrames) {
        m_bonusAppearFrame = Random() % BonusLatestAppearance;
        m_bonusCycle = 0;
    }
    if (m_bonusCycle == m_bonusAppearFrame) {
        if (GridCell* cell = PickBonusCell(*m_grid)) {
            PlaceBonus(*cell, Random() % Bonus::KindCount + 1);
        }
    }
    if (m_bonusCycle == m_bonusAppearFrame + BonusLifetime && m_bonusCell) {
        RemoveBonus(); // expired
    }
    if (m_turnFrames != NormalTurnFrames) {
        ++m_speedBonusFrames;
        if (m_speedBonusFrames >= SpeedBonusDuration) {
            m_speedBonusFrames = 0;
            m_turnFrames = NormalTurnFrames;
        }
    }
}
