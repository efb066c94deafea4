// The shotgun held at the bottom of the view (sprite 16) and its muzzle flash and smoke (sprite 17).
#pragma once

#include "tools/artgen/controls.h"

namespace artgen {

// Frames: rest, pump half back, pump back, recoil. Hot spot (68, 227): bead 68 right of and 3 below the
// frame's corner, so a gun raised to about (320, 436) puts its bead at the view's centre.
SpriteArt DrawGunSprite();
constexpr int kGunBeadX = 68, kGunBeadY = 3;

// Frames: flash with smoke, smoke alone. Positioned at (gun x + 2, gun y - 120), the flash sits just
// above the bead.
SpriteArt DrawMuzzleSprite();
constexpr int kMuzzleW = 100, kMuzzleH = 184, kMuzzleHotX = 52, kMuzzleHotY = 178;

}  // namespace artgen
