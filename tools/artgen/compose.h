// Previews for people and for the setup dialog: scenery placed in panoramas, composed screens, PNGs.
#pragma once

#include <string>
#include <vector>

#include "tools/artgen/formats.h"
#include "tools/artgen/hunt_items.h"
#include "tools/artgen/scenes.h"

namespace artgen {

// The map library (1..3) of each hunt, in hunt order.
constexpr int kHuntMap[5] = {1, 3, 2, 1, 3};

// The panorama with the scenery of the items near `stand` drawn in, the way the hunt places it.
RgbaImage PlaceScenery(const AreaArt& area, const Stand& stand, const std::vector<HuntItem>& items);
// The setup dialog's strip picture of a hunt: the band around the horizon of the opening view.
RgbaImage PreviewOf(const RgbaImage& sceneWithScenery, const Stand& stand);

// Screens composed from the finished indexed art, with the controls where the game puts them.
IndexedImage ComposeTitle(const IndexedImage& title, const std::vector<MapSprite>& controls);
IndexedImage ComposeSetup(const IndexedImage& title, const IndexedImage& sign, const std::vector<MapSprite>& controls,
                          int chosenHunt);
IndexedImage ComposeHunt(const IndexedImage& view640x425, const IndexedImage& bar,
                         const std::vector<MapSprite>& controls, bool firing);
IndexedImage ComposeTrophyRoom(const IndexedImage& frame, const std::vector<MapSprite>& controls);

// The birds as the hunt shows them in one location: standing on its ground where the game would put
// them, shrunk to 15, 30 and 60 pixels tall by the game's own nearest-pixel stretch, and at full size.
IndexedImage BirdsAtSizes(const std::vector<MapSprite>& birds, const IndexedImage& panorama, int horizonY);

// The rock sprites (4, the big rock, and 8, the small stones) of one location on its ground, at full
// size and at half size.
IndexedImage RocksOnGround(const std::vector<MapSprite>& scenery, const IndexedImage& panorama, int horizonY);

// All frames of one sprite side by side on `background`, enlarged `scale` times, for a close look.
IndexedImage SpriteStrip(const MapSprite& sprite, int scale, uint8_t background);

// Draws `src` onto `dst` at (x, y) skipping `key`, clipped to dst and to rows above `clipBottom`.
void Paste(IndexedImage& dst, const IndexedImage& src, int x, int y, int key, int clipBottom = 1 << 30);

// Writes NAME.png files into one folder.
class ContactSheet {
 public:
  explicit ContactSheet(std::string dir) : dir_(std::move(dir)) {}
  void Add(const std::string& name, const IndexedImage& image, const Palette& palette);
  bool ok() const { return ok_; }

 private:
  std::string dir_;
  bool ok_ = true;
};

}  // namespace artgen
