#include "base/crt_rand.h"

namespace {
uint32_t g_RandState = 1;
bool g_SeedFixed = false;
uint32_t g_FixedSeed = 0;
}  // namespace

void CrtSrand(uint32_t seed) {
    g_RandState = seed;
}

int32_t CrtRand() {
    g_RandState = g_RandState * 214013u + 2531011u;
    return static_cast<int32_t>((g_RandState >> 16) & 0x7FFF);
}

uint32_t CrtRandState() {
    return g_RandState;
}

void SetFixedSeed(bool fixed, uint32_t seed) {
    g_SeedFixed = fixed;
    g_FixedSeed = seed;
}

uint32_t GameSeed(uint32_t tickCount) {
    return g_SeedFixed ? g_FixedSeed : tickCount;
}
