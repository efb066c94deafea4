// The program's eighteen recordings, synthesised from their recipes and encoded as RIFF WAVE images.
#include "tools/artgen/sounds.h"

#include <cmath>

#include "tools/artgen/sound_recipes.h"
#include "tools/artgen/sound_synth.h"

namespace artgen {

namespace {

using recipes::Signal;

// Every recording peaks here: near full scale, with room for the 8-bit dither.
constexpr double kPeak = 0.97;

struct Format {
  uint16_t id;
  int channels;
  int rate;
  int bits;
  double seconds;
};

// Fits each channel to exactly the recording's length, normalises them together and encodes.
Recording Encode(const Format& f, std::vector<Signal> channels) {
  const size_t frames = static_cast<size_t>(std::lround(f.seconds * f.rate));
  std::vector<std::vector<double>> ch;
  double peak = 0;
  for (Signal& s : channels) {
    s.s.resize(frames, 0.0);
    peak = std::max(peak, synth::Peak(s.s));
    ch.push_back(std::move(s.s));
  }
  if (peak > 0) {
    for (auto& c : ch) {
      for (double& x : c) x *= kPeak / peak;
    }
  }
  Recording r;
  r.id = f.id;
  r.waveFile = synth::EncodeWave(ch, f.rate, f.bits, 7000 + f.id);
  return r;
}

Recording Mono(const Format& f, Signal s) {
  std::vector<Signal> v;
  v.push_back(std::move(s));
  return Encode(f, std::move(v));
}

}  // namespace

std::vector<Recording> SynthesizeRecordings() {
  using namespace recipes;
  std::vector<Recording> out;
  auto mono = [&](Format f, Signal (*make)(int, double)) { out.push_back(Mono(f, make(f.rate, f.seconds))); };

  mono({132, 1, 11025, 16, 0.97}, &WingFlaps);
  mono({138, 1, 22050, 16, 1.31}, &ShotgunBlast);
  mono({139, 1, 44100, 16, 0.03}, &ButtonClick);
  mono({140, 1, 44100, 16, 0.08}, &HighlightTick);
  mono({141, 1, 11025, 16, 3.00}, &CrowCaws);
  mono({142, 1, 11025, 16, 2.60}, &CardinalSong);
  mono({144, 1, 11025, 16, 2.50}, &WoodpeckerDrum);
  mono({146, 1, 11025, 16, 3.80}, &BarredOwl);
  mono({147, 1, 11025, 16, 1.66}, &FootstepsInLeaves);
  mono({148, 1, 11025, 16, 2.30}, &HawkScream);
  mono({149, 1, 11025, 16, 2.80}, &WrenSong);
  mono({150, 1, 11025, 16, 2.90}, &BobwhiteCall);
  mono({151, 1, 11025, 8, 13.37}, &WindAndInsectsLoop);
  mono({152, 1, 44100, 16, 0.56}, &ShotStrikesWoodAndEarth);
  {
    const Format f{153, 2, 11025, 8, 4.12};
    out.push_back(Encode(f, BoxCallYelps(f.rate, f.seconds)));
  }
  {
    const Format f{154, 2, 11025, 8, 2.90};
    out.push_back(Encode(f, MouthCallCluckPurr(f.rate, f.seconds)));
  }
  {
    // Two toms: the first deeper and longer, the second higher and quicker.
    const Format f{155, 1, 11128, 8, 1.64};
    out.push_back(Mono(f, Gobble(f.rate, f.seconds, 1050, 1.0, 155)));
    const Format g{156, 1, 11025, 16, 1.52};
    out.push_back(Mono(g, Gobble(g.rate, g.seconds, 1200, 0.9, 156)));
  }
  return out;
}

}  // namespace artgen
