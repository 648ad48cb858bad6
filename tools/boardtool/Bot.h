// The autoplay bot: plays a board as a patient player would. A turn that completes cells at
// once comes first. Otherwise it looks for the cell it can complete in the fewest turns for its
// points, sticks with it while the plan gets shorter, and makes the plan's first turn; it
// stays away from colours it had on the board in its last turns, so that it never circles.
#pragma once

#include "game/Grid.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

struct BotMove
{
    bool found = false;
    size_t cell = 0;
    bool direction = true; // as the game's turn: true moves every colour one side back
};

class Bot
{
public:
    // The board's shape: which cells share which sides, and which cells a tap at their rounded
    // centre reaches. The grid must keep that shape while the bot plays it; only colours change.
    explicit Bot(Grid& grid);

    // The next turn for the grid's colours; not found when no cell can be tapped.
    BotMove Choose(const Grid& grid);

    // The estimated number of turns that make every side of the cell the colour, -1 when no
    // plan of at most MaxPlanTurns exists; with the plan's first turn.
    int32_t PlanTurns(const Grid& grid, size_t cell, uint32_t colour, BotMove& first);

    static constexpr int32_t MaxPlanTurns = 16;

private:
    struct Side
    {
        int32_t other = -1;     // the cell on the other side of it, -1 on the board's edge
        uint32_t otherSide = 0; // the side's index among that cell's sides
    };

    struct Plan
    {
        size_t cell = 0;
        uint32_t colour = 0;
        int32_t turns = 0;
        double value = 0.0; // the cell's points for the plan's length
        BotMove first;
    };

    // How many of the last turns' colours the bot keeps from coming back to.
    static constexpr size_t RecentTurns = 32;

    BotMove BestCompletingTurn(const Grid& grid);
    // A digest of the board's colours (as last read) after the turn.
    uint64_t ColoursAfter(const GridCell& cell, bool direction);
    bool Revisits(const Grid& grid, const BotMove& move);
    // Notes the colours the turn leads to, and returns it.
    BotMove Remember(const Grid& grid, const BotMove& move);

    std::vector<std::vector<Side>> m_sides;      // per cell, per side
    std::vector<std::vector<size_t>> m_touching; // per cell: itself and the cells sharing a side
    std::vector<bool> m_tappable;
    std::vector<uint32_t> m_colours; // scratch: the edge colours being tried
    std::vector<uint8_t> m_cost;     // scratch of the plan search, per set of finished sides
    std::vector<BotMove> m_firstTurn;
    std::vector<std::vector<uint32_t>> m_buckets;
    std::vector<Plan> m_plans;
    std::deque<uint64_t> m_recent;

    // The goal the bot works on and the length its plan had at the last turn.
    bool m_hasGoal = false;
    size_t m_goalCell = 0;
    uint32_t m_goalColour = 0;
    int32_t m_goalTurns = 0;
    size_t m_nextStir = 0; // the next cell to turn when there is no plan
};
