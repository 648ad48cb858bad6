// The game's one random number generator, shared by gameplay, effects and the menu's sparks.
#pragma once

#include <cstdint>

// Sets the generator's 32-bit seed (123 until the program sets it at start-up).
void SeedRandom(uint32_t seed);
// The next value, 0 to 32767. Callers reduce it by an unsigned remainder.
uint32_t Random();
// The generator's current seed, for tools that report the state of a replay.
uint32_t RandomSeed();
