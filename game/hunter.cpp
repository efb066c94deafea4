// ZHunter: level updates from the calls and the view's movement, and the gun operations.
#include "game/hunter.h"

#include <algorithm>

#include "game/hunting_map.h"
#include "game/shotgun.h"
#include "game/turkey_game.h"
#include "platform/clock.h"

Z_IMPLEMENT_CLASS(ZHunter, ZPlayer)

ZHunter::ZHunter(ZTurkeyGame* owner, platform::Window* mainWindow) : game(owner), window(mainWindow) {
  position = ZPoint(5000.0, 5000.0);
}

ZHunter::~ZHunter() = default;

void ZHunter::Reset() {
  attraction = 0;
  alarm = 0;
  minAttraction = 100;
  minAlarm = 200;
  callCount1 = 0;
  callCount2 = 0;
  heading = ZVector(0.0, 1.0);
  lastLevelUpdate = platform::timeGetTime();
}

void ZHunter::Tick(int32_t walk) {
  const uint32_t now = platform::timeGetTime();
  if (weapon != nullptr && walk == 0 && game != nullptr && game->timer.frameDue != 0) weapon->Step();
  // Levels move 30 times a second in fast time and once a second in real time.
  const double scale = map != nullptr ? map->timeScale : ZHuntingMap::kRealTimeScale;
  if (static_cast<double>(now - lastLevelUpdate) > 1000.0 / scale) UpdateLevels(now);
}

void ZHunter::UpdateLevels(uint32_t now) {
  const uint32_t c1 = callCount1;
  const uint32_t c2 = callCount2;
  auto calling = [](uint32_t c, uint32_t low) { return c >= low && c <= 40; };
  if (calling(c1, 20)) {
    attraction += 5;
  } else if (c1 >= 60) {
    alarm += 10;  // too many clicks: the call is noise
  }
  if (calling(c2, 10)) {
    attraction += 5;
  } else if (c2 >= 60) {
    alarm += 10;
  }
  if (calling(c1, 10) && calling(c2, 10)) attraction += 25;
  if (viewMovement >= 4 && map != nullptr && map->birdNear != 0) alarm += kViewMovementAlarm;
  if (alarm >= minAlarm && alarm > 0) --alarm;
  if (attraction >= minAttraction && attraction > 0) --attraction;
  callCount1 = std::min(c1 > 0 ? c1 - 1 : c1, kCallCountCap);
  callCount2 = std::min(c2 > 0 ? c2 - 1 : c2, kCallCountCap);
  attraction = std::clamp(attraction, minAttraction, std::max(minAttraction, kLevelCeiling));
  alarm = std::clamp(alarm, minAlarm, std::max(minAlarm, kLevelCeiling));
  lastLevelUpdate = now;
}

void ZHunter::UseCall1() { callCount1 += kCallClick; }
void ZHunter::UseCall2() { callCount2 += kCallClick; }

int32_t ZHunter::EquipShotgun() {
  weapon.reset();
  weapon = std::make_unique<ZShotgun>(game, window, game != nullptr ? game->sound.get() : nullptr);
  return 1;
}

void ZHunter::DropWeapon() { weapon.reset(); }

int32_t ZHunter::RaiseWeapon() {
  if (weapon == nullptr) return 0;
  alarm += kRaiseAlarm;
  weapon->Raise();
  return 1;
}

int32_t ZHunter::LowerWeapon() {
  if (weapon == nullptr) return 0;
  weapon->Lower();
  return 1;
}

int32_t ZHunter::Fire() {
  if (weapon == nullptr) return 0;
  weapon->Fire();
  alarm += kFireAlarm;
  return 1;
}

int32_t ZHunter::WeaponDown() const { return (weapon == nullptr || weapon->state == ZHuntingWeapon::Down) ? 1 : 0; }

int32_t ZHunter::WeaponAiming() const {
  return (weapon != nullptr && weapon->state == ZHuntingWeapon::Aiming) ? 1 : 0;
}
