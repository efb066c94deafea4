// The one current backend, set at start by the game, the replay driver or a test.
#include "platform/backend.h"

namespace platform {
namespace {
Backend* current = nullptr;
}  // namespace

void SetBackend(Backend* backend) { current = backend; }
Backend* GetBackend() { return current; }

}  // namespace platform
