// The autoplay bot. Its plans use a simple picture of the board: to complete a cell in one
// colour, every side must get that colour, and a side gets it either from the cell's own turns
// (which only move its colours round) or from the cell across the side, turned until one of its
// sides of that colour arrives there. The search looks for the cheapest mix of the two; the
// neighbours' colours are read as they are now. After every turn the bot plans again from the
// real board.
#include "Bot.h"

#include "game/Scoring.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint8_t Unreached = 255;

bool IsComplete(const GridCell& cell, const std::vector<uint32_t>& colours)
{
    const uint32_t first = colours[cell.edges[0]];
    return first != Grey && std::all_of(cell.edges.begin(), cell.edges.end(),
                                        [&](uint32_t e) { return colours[e] == first; });
}

// Turns the cell's colours as the game does: direction true gives every side the colour of the
// next side, false the colour of the previous one.
void Turn(const GridCell& cell, bool direction, std::vector<uint32_t>& colours)
{
    const size_t n = cell.edges.size();
    if (direction) {
        const uint32_t saved = colours[cell.edges[0]];
        for (size_t k = 0; k + 1 < n; ++k) {
            colours[cell.edges[k]] = colours[cell.edges[k + 1]];
        }
        colours[cell.edges[n - 1]] = saved;
    } else {
        const uint32_t saved = colours[cell.edges[n - 1]];
        for (size_t k = n - 1; k > 0; --k) {
            colours[cell.edges[k]] = colours[cell.edges[k - 1]];
        }
        colours[cell.edges[0]] = saved;
    }
}

} // namespace

Bot::Bot(Grid& grid)
{
    const size_t count = grid.cells.size();
    std::vector<std::vector<std::pair<size_t, uint32_t>>> cellsOfEdge(grid.edges.size());
    for (size_t c = 0; c < count; ++c) {
        const std::vector<uint32_t>& edges = grid.cells[c]->edges;
        for (uint32_t k = 0; k < edges.size(); ++k) {
            cellsOfEdge[edges[k]].emplace_back(c, k);
        }
    }
    m_sides.resize(count);
    m_touching.resize(count);
    m_tappable.resize(count);
    for (size_t c = 0; c < count; ++c) {
        const GridCell& cell = *grid.cells[c];
        m_tappable[c] = CellAt(grid, std::round(cell.centreX), std::round(cell.centreY)) == &cell;
        m_touching[c].push_back(c);
        for (const uint32_t edge : cell.edges) {
            Side side;
            for (const auto& [other, otherSide] : cellsOfEdge[edge]) {
                if (other == c) {
                    continue;
                }
                side = {static_cast<int32_t>(other), otherSide};
                if (std::find(m_touching[c].begin(), m_touching[c].end(), other) ==
                    m_touching[c].end()) {
                    m_touching[c].push_back(other);
                }
            }
            m_sides[c].push_back(side);
        }
    }
    m_buckets.resize(MaxPlanTurns + 1);
}

BotMove Bot::BestCompletingTurn(const Grid& grid)
{
    m_colours.clear();
    for (const GridEdge& edge : grid.edges) {
        m_colours.push_back(edge.colour);
    }
    BotMove best;
    uint32_t bestGain = 0;
    for (size_t c = 0; c < grid.cells.size(); ++c) {
        if (!m_tappable[c]) {
            continue;
        }
        const GridCell& cell = *grid.cells[c];
        for (const bool direction : {true, false}) {
            Turn(cell, direction, m_colours);
            // Cells completed together are banked as one chain: their points times their number.
            uint32_t points = 0;
            uint32_t completed = 0;
            for (const size_t t : m_touching[c]) {
                const GridCell& other = *grid.cells[t];
                if (IsComplete(other, m_colours)) {
                    points += CellPoints(other.sides);
                    ++completed;
                }
            }
            Turn(cell, !direction, m_colours);
            if (points * completed > bestGain) {
                bestGain = points * completed;
                best = {true, c, direction};
            }
        }
    }
    return best;
}

int32_t Bot::PlanTurns(const Grid& grid, size_t cell, uint32_t colour, BotMove& first)
{
    const GridCell& target = *grid.cells[cell];
    const auto n = static_cast<uint32_t>(target.edges.size());
    if (n == 0 || n > 16) {
        return -1;
    }
    const uint32_t full = (1u << n) - 1;
    uint32_t start = 0;
    for (uint32_t k = 0; k < n; ++k) {
        if (grid.edges[target.edges[k]].colour == colour) {
            start |= 1u << k;
        }
    }

    // What it costs to bring the colour onto each side from across it, and the first turn.
    std::vector<uint32_t> supply(n, Unreached);
    std::vector<BotMove> supplyTurn(n);
    bool anySupply = false;
    for (uint32_t k = 0; k < n; ++k) {
        const Side& side = m_sides[cell][k];
        if (side.other < 0 || !m_tappable[side.other]) {
            continue;
        }
        const GridCell& other = *grid.cells[side.other];
        const auto m = static_cast<uint32_t>(other.edges.size());
        const uint32_t j = side.otherSide;
        for (uint32_t i = 0; i < m; ++i) {
            if (i == j || grid.edges[other.edges[i]].colour != colour) {
                continue;
            }
            // t turns with direction true bring the colour of side j + t onto side j.
            const uint32_t back = (i + m - j) % m;
            const uint32_t forth = (j + m - i) % m;
            const uint32_t turns = std::min(back, forth);
            if (turns < supply[k]) {
                supply[k] = turns;
                supplyTurn[k] = {true, static_cast<size_t>(side.other), back <= forth};
                anySupply = true;
            }
        }
    }
    if (start == full) {
        return 0;
    }
    // The cell's own turns only move its colours round: without help from across it never
    // gets more sides of the colour.
    if (!anySupply) {
        return -1;
    }

    // The cheapest way to the full set of sides, over sets of sides that have the colour.
    m_cost.assign(size_t(full) + 1, Unreached);
    m_firstTurn.assign(size_t(full) + 1, BotMove{});
    for (std::vector<uint32_t>& bucket : m_buckets) {
        bucket.clear();
    }
    m_cost[start] = 0;
    m_buckets[0].push_back(start);
    const bool turnable = m_tappable[cell];
    for (int32_t cost = 0; cost <= MaxPlanTurns; ++cost) {
        for (size_t index = 0; index < m_buckets[cost].size(); ++index) {
            const uint32_t mask = m_buckets[cost][index];
            if (m_cost[mask] != cost) {
                continue;
            }
            if (mask == full) {
                first = m_firstTurn[mask];
                return cost;
            }
            const auto reach = [&](uint32_t next, uint32_t turns, const BotMove& turn) {
                const auto total = static_cast<int32_t>(cost + turns);
                if (total <= MaxPlanTurns && total < m_cost[next]) {
                    m_cost[next] = static_cast<uint8_t>(total);
                    m_firstTurn[next] = mask == start ? turn : m_firstTurn[mask];
                    m_buckets[total].push_back(next);
                }
            };
            if (turnable) {
                // Direction true moves every colour one side back, false one side on.
                reach((mask >> 1) | ((mask & 1u) << (n - 1)), 1, {true, cell, true});
                reach(((mask << 1) & full) | (mask >> (n - 1)), 1, {true, cell, false});
            }
            for (uint32_t k = 0; k < n; ++k) {
                if ((mask & (1u << k)) == 0 && supply[k] != Unreached) {
                    reach(mask | (1u << k), supply[k], supplyTurn[k]);
                }
            }
        }
    }
    return -1;
}

uint64_t Bot::ColoursAfter(const GridCell& cell, bool direction)
{
    Turn(cell, direction, m_colours);
    // FNV-1a over the colours.
    uint64_t hash = 14695981039346656037ull;
    for (const uint32_t colour : m_colours) {
        hash = (hash ^ colour) * 1099511628211ull;
    }
    Turn(cell, !direction, m_colours);
    return hash;
}

bool Bot::Revisits(const Grid& grid, const BotMove& move)
{
    const uint64_t hash = ColoursAfter(*grid.cells[move.cell], move.direction);
    return std::find(m_recent.begin(), m_recent.end(), hash) != m_recent.end();
}

BotMove Bot::Choose(const Grid& grid)
{
    const BotMove completing = BestCompletingTurn(grid);
    if (completing.found) {
        return Remember(grid, completing);
    }

    // Keep to the goal while its plan gets shorter; a plan that does not has met the board's
    // real colours, and the goal is left for this turn's choice.
    bool dropped = false;
    const size_t droppedCell = m_goalCell;
    const uint32_t droppedColour = m_goalColour;
    if (m_hasGoal) {
        BotMove first;
        const int32_t turns = PlanTurns(grid, m_goalCell, m_goalColour, first);
        if (turns > 0 && turns < m_goalTurns && !Revisits(grid, first)) {
            m_goalTurns = turns;
            return Remember(grid, first);
        }
        m_hasGoal = false;
        dropped = true;
    }

    // The most points per turn, divided once more by the plan's length: new colours from
    // other completions break long plans more often. Among equals the shorter plan, then the
    // first cell and colour.
    // A plan whose first turn leads back to colours of the last few turns goes round in a
    // circle: the plans' picture of the board is simpler than the board, and two plans can
    // undo each other's turns.
    m_plans.clear();
    for (size_t c = 0; c < grid.cells.size(); ++c) {
        for (uint32_t colour = 0; colour < ColourCount; ++colour) {
            if (dropped && c == droppedCell && colour == droppedColour) {
                continue;
            }
            Plan plan{c, colour, 0, 0.0, {}};
            plan.turns = PlanTurns(grid, c, colour, plan.first);
            if (plan.turns > 0) {
                const double turns = plan.turns;
                plan.value = double(CellPoints(grid.cells[c]->sides)) / (turns * turns);
                m_plans.push_back(plan);
            }
        }
    }
    std::stable_sort(m_plans.begin(), m_plans.end(), [](const Plan& a, const Plan& b) {
        return a.value > b.value || (a.value == b.value && a.turns < b.turns);
    });
    for (const Plan& plan : m_plans) {
        if (!Revisits(grid, plan.first)) {
            m_hasGoal = true;
            m_goalCell = plan.cell;
            m_goalColour = plan.colour;
            m_goalTurns = plan.turns;
            return Remember(grid, plan.first);
        }
    }

    // No plan at all: turn the cells that can be tapped in turn, to bring new colours together.
    const size_t count = grid.cells.size();
    for (size_t k = 0; k < count; ++k) {
        const size_t c = (m_nextStir + k) % count;
        if (m_tappable[c]) {
            m_nextStir = c + 1;
            return Remember(grid, {true, c, true});
        }
    }
    return {};
}

BotMove Bot::Remember(const Grid& grid, const BotMove& move)
{
    if (m_recent.size() == RecentTurns) {
        m_recent.pop_front();
    }
    m_recent.push_back(ColoursAfter(*grid.cells[move.cell], move.direction));
    return move;
}
