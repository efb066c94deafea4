// The C library generator the game's draws are specified against: RAND_MAX 32767, classic LCG.
#pragma once

#include <cstdint>

namespace platform {

constexpr int RAND_MAX_VALUE = 32767;

void srand(uint32_t seed);
int rand();  // 0..32767: state = state * 214013 + 2531011, result = (state >> 16) & 0x7FFF

}  // namespace platform
