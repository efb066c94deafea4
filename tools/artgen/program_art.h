// The program's own pictures: title sign, control-bar strip, trophy-room frame, setup sign, cursor.
#pragma once

#include "tools/artgen/art_types.h"

namespace artgen {

// Where the three menu buttons sit on the title's blank sign.
namespace titlesign {
constexpr int kLeft = 290, kTop = 175, kRight = 620, kBottom = 392;
}

// Bitmap 133: the landscape with the game's name board and the blank plank sign for the menu buttons.
RgbaImage DrawTitleScreen(const RgbaImage& landscape);
// Bitmap 135: 640 x 56 strip of weathered wood.
RgbaImage DrawControlBarStrip();
// Bitmap 136: 640 x 480 wooden frame with a dark inner panel and the room's name.
RgbaImage DrawTrophyFrame();
// Bitmap 137: 529 x 395 plank sign, transparent around it: heading, three dark rows, grey preview box.
RgbaImage DrawSetupSign();
// Cursor 104: 32 x 32 arrow, hot spot at its tip (0, 0).
RgbaImage DrawCursor();

}  // namespace artgen
