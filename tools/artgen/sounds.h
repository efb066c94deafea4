// The program's eighteen recordings, synthesised: each a complete RIFF WAVE image for a WAVE resource.
#pragma once

#include <cstdint>
#include <vector>

namespace artgen {

struct Recording {
  uint16_t id = 0;                 // the WAVE resource id (132, 138..156 as the sound table lists)
  std::vector<uint8_t> waveFile;   // "RIFF" ... "WAVE" "fmt " "data"
};

std::vector<Recording> SynthesizeRecordings();

}  // namespace artgen
