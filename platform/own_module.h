// The program's own resource module: a PE resource image embedded in the executable at build time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Bytes of the embedded image; size 0 when the program was built without its resources.
const uint8_t* OwnModuleData();
size_t OwnModuleSize();

}  // namespace platform
