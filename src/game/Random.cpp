// A linear congruential generator: the same seed and the same calls give the same game.
#include "game/Random.h"

namespace {
uint32_t g_seed = 123;
}

void SeedRandom(uint32_t seed)
{
    g_seed = seed;
}

uint32_t RandomSeed()
{
    return g_seed;
}

uint32_t Random()
{
    g_seed = g_seed * 1103515245u + 12345u; // wraps modulo 2^32
    return (g_seed >> 16) & 0x7FFF;
}
