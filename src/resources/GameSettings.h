// GameSettings: the options the player sets on the options screen, kept in the game context
// and saved with the profiles in "data.dat".
#pragma once

#include <cstdint>

struct GameSettings
{
    uint8_t soundOn = 1;
    uint8_t musicOn = 1;
    uint32_t soundVolume = 50; // 0 to 100
    uint32_t musicVolume = 50; // 0 to 100
    uint8_t stylus = 1;        // stylus control rather than the keys
    uint8_t antialiasing = 1;  // antialiased drawing of the board
    uint8_t underCells = 1;    // pictures under the cells

    bool operator==(const GameSettings&) const = default;
};
