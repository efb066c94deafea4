// The on-screen controls' art (sprites 0..18 of the controls sprite map) and where the game puts them.
#pragma once

#include <string>
#include <vector>

#include "tools/artgen/art_types.h"

namespace artgen {

// One sprite before quantising: its frames and each frame's hot spot.
struct SpriteArt {
  std::vector<RgbaImage> frames;
  std::vector<int> hotX, hotY;
  void Add(RgbaImage image, int hx = 0, int hy = 0) {
    frames.push_back(std::move(image));
    hotX.push_back(hx);
    hotY.push_back(hy);
  }
};

// Sprite ids of the controls sprite map.
namespace ctl {
constexpr int kCall1 = 0, kCall2 = 1, kCancel = 2, kReset = 3, kExit = 4, kReturn = 5, kAim = 6;
constexpr int kHuntFirst = 7;  // 7..11: the five hunts
constexpr int kTrophyRoom = 12, kOk = 13, kHunt = 14, kPreview = 15, kGun = 16, kMuzzle = 17, kTrophy = 18;
constexpr int kCount = 19;
// Frame counts by state mask: 14 highlighted, normal, pressed; 10 normal, pressed; 6 highlighted, normal.
constexpr int kGunFrames = 4;  // rest, pump half back, pump back, recoil
// The gun's hot spot: raised at about (320, 436) its bead (68, 3 from its corner) is at the view's centre.
constexpr int kGunHotX = 68, kGunHotY = 227;
}  // namespace ctl

// Sizes shared by the art and its checks.
namespace ctlsize {
constexpr int kMenuW = 250, kMenuH = 52;      // hunt, trophy room, exit on the title's sign
constexpr int kDialogW = 140, kDialogH = 42;  // OK, Cancel, reset
constexpr int kCallW = 108, kCallH = 44;
constexpr int kAimW = 150, kAimH = 44;
constexpr int kReturnW = 112, kReturnH = 38;
constexpr int kHuntW = 104, kHuntH = 68;
constexpr int kPreviewW = 380, kPreviewH = 56;
constexpr int kTrophyW = 68, kTrophyH = 56;
constexpr int kGunW = 250, kGunH = 232;
}  // namespace ctlsize

// The hunts' names on their buttons, in hunt order: the subspecies, and the location under it in
// fewer words where the subspecies already says it (the Eastern bird of the Eastern woodlands).
struct HuntName {
  const char* subspecies;
  const char* location;
};
extern const HuntName kHuntNames[5];

// Draws sprites 0..18. `previews` are the five area pictures (kPreviewW x kPreviewH), `trophies` the five
// trophy birds (transparent around, any size up to the plaque's inside).
std::vector<SpriteArt> DrawControlSprites(const std::vector<RgbaImage>& previews,
                                          const std::vector<RgbaImage>& trophies);

// Button faces, exposed for the program's own pictures and for tests.
enum class Look { Highlighted, Normal, Pressed };
RgbaImage DrawPlankButton(int w, int h, const std::vector<std::string>& lines, double fontSize, Look look,
                          uint32_t seed);

}  // namespace artgen
