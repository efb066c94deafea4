// The classic C-library generator, so the game's draws match across machines.
#include "platform/rand.h"

namespace platform {
namespace {
uint32_t state = 1;  // the C library starts as if srand(1) had been called
}  // namespace

void srand(uint32_t seed) { state = seed; }

int rand() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFFu);
}

}  // namespace platform
