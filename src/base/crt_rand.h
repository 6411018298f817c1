#pragma once
#include <cstdint>

// The C runtime's pseudo-random generator of the original platform, reproduced exactly so that
// a seed gives the same game everywhere: state = state * 214013 + 2531011, result bits 16-30.
constexpr int32_t kCrtRandMax = 32767;
void CrtSrand(uint32_t seed);
int32_t CrtRand();  // 0 .. 32767
uint32_t CrtRandState();

// The seed game start uses: the tick count, unless a fixed seed was given (--seed).
void SetFixedSeed(bool fixed, uint32_t seed);
uint32_t GameSeed(uint32_t tickCount);
