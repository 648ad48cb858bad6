// The twelve bonuses that appear on cells, and the timing of the cycle that places them.
#pragma once

#include <cstdint>

// The kind of a bonus, the value of a cell's bonus field (0 for none), and what completing its
// cell does.
namespace Bonus {
constexpr uint32_t ExtraMinute = 1; // timeLimit + 60
constexpr uint32_t LostMinute = 2;  // timeLimit - 60
constexpr uint32_t Shuffle = 3;     // every side that is not grey gets a new colour
constexpr uint32_t ExtraLife = 4;   // lives + 1
constexpr uint32_t LostLife = 5;    // lives - 1
constexpr uint32_t FastTurns = 6;   // turnFrames - 2 for a while
constexpr uint32_t SlowTurns = 7;   // turnFrames + 2 for a while
constexpr uint32_t Neighbours = 8;  // the neighbours complete with the cell
constexpr uint32_t DoubleScore = 9; // score x 2
constexpr uint32_t AddFifty = 10;   // score + 50
constexpr uint32_t TakeFifty = 11;  // score - 50, not below 0
constexpr uint32_t HalveScore = 12; // score / 2
constexpr uint32_t KindCount = 12;
} // namespace Bonus

// One bonus per cycle of this many frames (none during the first cycle of a board), appearing at
// a random frame below BonusLatestAppearance and lasting BonusLifetime frames at most.
constexpr uint32_t BonusCycleFrames = 500;
constexpr uint32_t BonusLatestAppearance = 350;
constexpr uint32_t BonusLifetime = 150;
// The appearance frame of a new board: past the end of the first cycle, so it never comes.
constexpr uint32_t BonusFirstAppearance = 501;
// The frames of the bonus animation strip, one per frame of the game.
constexpr uint32_t BonusAnimationFrames = 11;
// Turns take this many frames, and a speed bonus restores it after SpeedBonusDuration frames.
constexpr uint32_t NormalTurnFrames = 5;
constexpr uint32_t SpeedBonusDuration = 250;
