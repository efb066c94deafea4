// Hooks the message pump runs on every PeekMessage pass (presentation of a changed front surface).
#pragma once

#include <functional>

namespace platform {

// Registers a hook; returns its id (> 0). Hooks run in registration order, on the game's thread.
int AddPumpHook(std::function<void()> hook);
// Removes a hook; unknown ids are ignored. Safe to call from inside a hook.
void RemovePumpHook(int id);
// Runs every registered hook once (PeekMessage calls this; a hook added meanwhile waits for the next pass).
void RunPumpHooks();

}  // namespace platform
