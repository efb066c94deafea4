// The registry of pump hooks, tolerant of hooks that add or remove hooks while they run.
#include "platform/pump.h"

#include <vector>

namespace platform {
namespace {

struct Hook {
  int id;
  std::function<void()> fn;
};

std::vector<Hook>& Hooks() {
  static std::vector<Hook> hooks;
  return hooks;
}
int nextId = 1;
bool running = false;

}  // namespace

int AddPumpHook(std::function<void()> hook) {
  if (!hook) return 0;
  int id = nextId++;
  Hooks().push_back(Hook{id, std::move(hook)});
  return id;
}

void RemovePumpHook(int id) {
  auto& hooks = Hooks();
  for (auto it = hooks.begin(); it != hooks.end(); ++it) {
    if (it->id == id) {
      if (running) {
        it->fn = nullptr;  // erased after the pass, so the running loop's positions stay valid
      } else {
        hooks.erase(it);
      }
      return;
    }
  }
}

void RunPumpHooks() {
  if (running) return;  // a hook that pumps messages does not run the hooks again
  running = true;
  auto& hooks = Hooks();
  const size_t count = hooks.size();
  for (size_t i = 0; i < count && i < hooks.size(); ++i) {
    if (hooks[i].fn) {
      auto fn = hooks[i].fn;  // a copy: the hook may remove itself
      fn();
    }
  }
  std::erase_if(hooks, [](const Hook& h) { return !h.fn; });
  running = false;
}

}  // namespace platform
