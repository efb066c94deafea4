// The recipes of the program's recordings, one function per sound, grouped by kind in sound_*.cpp.
#pragma once

#include <functional>
#include <vector>

#include "tools/artgen/sound_synth.h"

namespace artgen::recipes {

using synth::Signal;

// Adds a harmonic tone over [start, start + length): frequency and amplitude are functions of the
// position u in 0..1 inside the tone. Harmonics fade out towards 0.45 of the rate and are left out above it (no aliasing).
void AddTone(Signal* s, double start, double length, const std::function<double(double)>& freq,
             const std::function<double(double)>& amp, const std::vector<double>& harmonics, double roughness = 0.0,
             uint64_t seed = 1);
// Adds white noise through a band-pass, shaped by an envelope of absolute time.
void AddBandNoise(Signal* s, double freq, double q, const std::function<double(double)>& env, uint64_t seed);
// Adds a struck resonator: an impulse at `at` ringing at `freq` for about `decay` seconds.
void AddStrike(Signal* s, double at, double freq, double decay, double gain);

// Turkeys and the hunter's calls (sound_turkey.cpp).
Signal Gobble(int rate, double seconds, double startPitch, double rattleLength, uint64_t seed);
std::vector<Signal> BoxCallYelps(int rate, double seconds);
std::vector<Signal> MouthCallCluckPurr(int rate, double seconds);
Signal WingFlaps(int rate, double seconds);

// The gun, the shot striking, the buttons (sound_shots.cpp).
Signal ShotgunBlast(int rate, double seconds);
Signal ShotStrikesWoodAndEarth(int rate, double seconds);
Signal ButtonClick(int rate, double seconds);
Signal HighlightTick(int rate, double seconds);

// Birds and small animals of the hunting areas (sound_wildlife.cpp).
Signal CrowCaws(int rate, double seconds);
Signal CardinalSong(int rate, double seconds);
Signal WoodpeckerDrum(int rate, double seconds);
Signal BarredOwl(int rate, double seconds);
Signal HawkScream(int rate, double seconds);
Signal WrenSong(int rate, double seconds);
Signal BobwhiteCall(int rate, double seconds);
Signal FootstepsInLeaves(int rate, double seconds);

// The seamless background of wind and insects (sound_ambience.cpp).
Signal WindAndInsectsLoop(int rate, double seconds);

}  // namespace artgen::recipes
