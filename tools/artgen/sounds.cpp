// Placeholder: no recordings yet; the synthesiser replaces this.
#include "tools/artgen/sounds.h"

namespace artgen {

std::vector<Recording> SynthesizeRecordings() { return {}; }

}  // namespace artgen
