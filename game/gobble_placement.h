// Where a gobble is heard from: each bird's gobble panned by where it stands from the centre of the view.
#pragma once

#include <cstdint>

#include "framework/core/point.h"

class ZTurkeyGame;

// The pan and volume of one gobble.
struct GobblePlacement {
  int32_t pan = 0;     // -10000 (left) .. 10000 (right), as the sound system takes it
  int32_t volume = 0;  // hundredths of a decibel
};

// Pan of a bird straight to the side: its far ear hears it 20 dB down.
constexpr int32_t kGobbleSidePan = 2000;
// A bird straight behind sounds this much quieter (hundredths of a decibel) than one in front.
constexpr int32_t kGobbleBehindQuieter = 600;

// A bird `degrees` from the centre of the view (-180..180, right positive) heard at the `designed`
// volume: in front, panned by the sine of the angle; behind, held on its own side and quieter the
// further round it is. A volume the sound system takes stays one it takes (never below -10000), and
// one it refuses stays refused, so whether a gobble is heard, and for how long, is as designed.
GobblePlacement PlaceGobble(double degrees, int32_t designed);
// Where `bird` stands from the centre of the main view, in degrees (-180..180], right positive, as
// the panorama shows it (2560 columns all round).
double DegreesFromView(const ZTurkeyGame& game, const ZPoint& bird);
// Plays gobble `soundId` once for a bird at `bird`, at the designed volume, from where it stands.
void PlayGobble(ZTurkeyGame* game, const ZPoint& bird, int32_t soundId, int32_t designedVolume);

// On in the game; tests turn it off to compare with the gobbles heard from the centre.
extern bool gobblesFromTheirBirds;
