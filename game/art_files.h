// The contract of the art files and the program's own resources: file names, resource types and ids.
#pragma once

#include <cstdint>

namespace art {

// Resource libraries and data files of the installation directory.
inline constexpr const char* kControlsLibrary = "ctrls.dll";
inline constexpr const char* kAreaLibrary1 = "map1.dll";  // hunts 0 and 3
inline constexpr const char* kAreaLibrary2 = "map2.dll";  // hunt 2
inline constexpr const char* kAreaLibrary3 = "map3.dll";  // hunts 1 and 4
inline constexpr const char* kBirdSpriteFile = "goblers.dll";  // a sprite-map file, not a library
inline constexpr const char* kMapFile = "map1.map";
inline constexpr const char* kHelpFile = "fernholt.hlp";  // only ever closed

// Resource types and ids inside the libraries.
inline constexpr const char* kSpriteMapType = "SPRITEMAP";
inline constexpr const char* kWaveType = "WAVE";
inline constexpr uint16_t kSpriteMapId = 151;       // in ctrls.dll and every area library
inline constexpr uint16_t kAreaBackgroundId = 150;  // RT_BITMAP: the panorama of an area library

// The program's own resources.
inline constexpr uint16_t kTitleBitmapId = 133;
inline constexpr uint16_t kControlBarBitmapId = 135;
inline constexpr uint16_t kTrophyFrameBitmapId = 136;
inline constexpr uint16_t kSetupSignBitmapId = 137;
inline constexpr uint16_t kGameCursorId = 104;

// The program's WAVE resources, in the order the sound system is given them.
inline constexpr int32_t kSoundCount = 18;
inline constexpr int32_t kSoundIds[kSoundCount] = {132, 138, 139, 140, 148, 141, 144, 149, 146,
                                                   142, 147, 150, 151, 152, 153, 154, 155, 156};
inline constexpr int32_t kSoundButtonPressed = 139;
inline constexpr int32_t kSoundButtonHighlighted = 140;
inline constexpr int32_t kSoundMenuShown = 150;
inline constexpr int32_t kSoundAmbientLoop = 151;

// Library and area number of a hunt (areaIndex 0..4); null / 0 outside that range.
inline constexpr const char* AreaLibrary(int32_t areaIndex) {
  switch (areaIndex) {
    case 0: return kAreaLibrary1;
    case 1: return kAreaLibrary3;
    case 2: return kAreaLibrary2;
    case 3: return kAreaLibrary1;
    case 4: return kAreaLibrary3;
    default: return nullptr;
  }
}
inline constexpr int32_t AreaNumber(int32_t areaIndex) {
  return (areaIndex >= 0 && areaIndex <= 4) ? areaIndex + 1 : 0;
}

// The sprite of an area's sprite map that draws a scenery item of this type; -1 for a type without a
// sprite of its own (it borrows the one placed before it) and for the special types 18 to 20.
inline constexpr int32_t ScenerySpriteOfType(int32_t type) {
  switch (type) {
    case 0: return 5;
    case 1: return 6;
    case 2: return 7;
    case 3: return 8;
    case 5: return 0;
    case 6: return 1;
    case 8: return 2;
    case 9: return 3;
    case 10: return 4;
    default: return -1;
  }
}

}  // namespace art
