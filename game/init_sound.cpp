// Sound set-up: the sound system with the program's eighteen recordings.
#include "framework/sound/dx_sound.h"
#include "game/art_files.h"
#include "game/turkey_game.h"

int32_t ZTurkeyGame::InitSound() {
  // The host has no system-wide sound player to purge: every sound of the game goes through `sound`.
  sound.reset();
  sound = std::make_unique<ZDXSound>();
  // The module argument is not used (recordings come from the program's own module), so none is passed.
  sound->Init(art::kSoundIds, art::kSoundCount, nullptr, ZDXSound::kBufferFlags, nullptr);
  sound->Enable(1);
  // Without a working sound device the game runs silently; that is not a set-up failure.
  return 1;
}
