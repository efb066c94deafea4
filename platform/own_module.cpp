// The embedded own module's bounds, from the symbols of the generated assembly file.
#include "platform/own_module.h"

extern "C" const uint8_t bf_own_module_begin[];
extern "C" const uint8_t bf_own_module_end[];

namespace platform {

const uint8_t* OwnModuleData() { return bf_own_module_begin; }
size_t OwnModuleSize() { return static_cast<size_t>(bf_own_module_end - bf_own_module_begin); }

}  // namespace platform
