// Where a gobble is heard from (see gobble_placement.h).
#include "game/gobble_placement.h"

#include <algorithm>
#include <cmath>

#include "framework/graphics/viewport.h"
#include "framework/sound/dx_sound.h"
#include "game/hunter.h"
#include "game/scene.h"
#include "game/turkey_game.h"
#include "platform/types.h"

bool gobblesFromTheirBirds = true;

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kRefused = -10000;  // below this the sound system refuses the volume
}  // namespace

GobblePlacement PlaceGobble(double degrees, int32_t designed) {
  GobblePlacement p;
  p.volume = designed;
  if (!std::isfinite(degrees)) return p;
  degrees = std::remainder(degrees, 360.0);  // -180..180
  const double side = degrees >= 0.0 ? 1.0 : -1.0;
  const double off = std::min(std::fabs(degrees), 180.0);
  if (off <= 90.0) {
    p.pan = static_cast<int32_t>(std::lround(side * kGobbleSidePan * std::sin(off * kPi / 180.0)));
    return p;
  }
  p.pan = static_cast<int32_t>(side * kGobbleSidePan);
  if (designed >= kRefused) {
    const int32_t quieter = static_cast<int32_t>(std::lround(kGobbleBehindQuieter * (off - 90.0) / 90.0));
    p.volume = std::max(kRefused, designed - quieter);
  }
  return p;
}

double DegreesFromView(const ZTurkeyGame& game, const ZPoint& bird) {
  if (game.hunter == nullptr) return 0.0;
  const double width = game.scene != nullptr && game.scene->panoramaWidth > 0 ? game.scene->panoramaWidth : 2560;
  // The panorama runs clockwise: its column falls as the bearing (atan2) rises.
  const ZPoint& at = game.hunter->position;
  const double bearing = std::atan2(bird.y - at.y, bird.x - at.x);
  const double column = width - width * bearing / (2.0 * kPi);
  double centre = width / 2.0;
  if (game.mainViewport != nullptr) {
    platform::Rect view{};
    game.mainViewport->GetViewRect(&view);
    centre = game.mainViewport->GetScrollX() + (view.right - view.left) / 2.0;
  }
  return std::remainder(column - centre, width) * 360.0 / width;
}

void PlayGobble(ZTurkeyGame* game, const ZPoint& bird, int32_t soundId, int32_t designedVolume) {
  if (game == nullptr || game->sound == nullptr) return;
  int32_t volume = designedVolume;
  if (gobblesFromTheirBirds) {
    const GobblePlacement p = PlaceGobble(DegreesFromView(*game, bird), designedVolume);
    game->sound->SetPan(soundId, p.pan);
    volume = p.volume;
  }
  game->sound->PlayAdjusted(soundId, ZDXSound::kAdjustVolume, volume, 0);
}
