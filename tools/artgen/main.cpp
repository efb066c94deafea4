// artgen ART_DIR RUN_DIR: draws every picture and sound of the game and writes the files it reads.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/artgen/compose.h"
#include "tools/artgen/controls.h"
#include "tools/artgen/draw.h"
#include "tools/artgen/formats.h"
#include "tools/artgen/hunt_items.h"
#include "tools/artgen/palette.h"
#include "tools/artgen/pe_writer.h"
#include "tools/artgen/program_art.h"
#include "tools/artgen/scenes.h"
#include "tools/artgen/sounds.h"

using namespace artgen;

namespace {

bool MakeDir(const std::string& path) { return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST; }

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (WriteFileBytes(path, bytes)) return true;
  std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
  return false;
}

MapSprite ToMapSprite(Quantiser& q, const SpriteFrames& frames, Dither dither) {
  MapSprite s;
  for (const RgbaImage& f : frames) s.push_back({q.Quantise(f, dither), 0, 0});
  return s;
}

MapSprite ToMapSprite(Quantiser& q, const SpriteArt& art, Dither dither) {
  MapSprite s;
  for (size_t i = 0; i < art.frames.size(); ++i) s.push_back({q.Quantise(art.frames[i], dither), art.hotX[i], art.hotY[i]});
  return s;
}

// The horizon row of a location's panorama: that of the first hunt played there.
int AreaHorizon(int mapNumber) {
  for (int hunt = 0; hunt < 5; ++hunt)
    if (kHuntMap[hunt] == mapNumber) return kStands[hunt].horizonY;
  return kStands[0].horizonY;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: artgen ART_DIR RUN_DIR\n");
    return 2;
  }
  const auto started = std::chrono::steady_clock::now();
  const std::string artDir = argv[1], runDir = argv[2];
  const std::string contactDir = runDir + "/contact", soundDir = artDir + "/sounds";
  if (!MakeDir(artDir) || !MakeDir(runDir) || !MakeDir(contactDir) || !MakeDir(soundDir)) {
    std::fprintf(stderr, "artgen: cannot create the output folders under %s and %s\n", artDir.c_str(), runDir.c_str());
    return 1;
  }
  bool ok = true;
  // Stage times on stdout, so a slow painter or quantiser shows where it is.
  auto last = started;
  auto stage = [&last](const char* what) {
    const auto now = std::chrono::steady_clock::now();
    std::printf("artgen: %-28s %6.2f s\n", what, std::chrono::duration<double>(now - last).count());
    last = now;
  };
  ContactSheet sheet(contactDir);
  const std::vector<HuntItem> items = LayOutHuntItems();
  ok &= Write(runDir + "/map1.map", MakeMapFile(items));

  // The three location libraries; each panorama shares its palette with its scenery.
  std::vector<AreaArt> areas;
  std::vector<Palette> areaPalettes;
  std::vector<IndexedImage> panoramas;
  for (int m = 1; m <= 3; ++m) {
    areas.push_back(DrawArea(m));
    stage(("painting area " + std::to_string(m)).c_str());
    const AreaArt& art = areas.back();
    std::vector<const RgbaImage*> pictures{&art.panorama};
    for (const SpriteFrames& s : art.scenery)
      for (const RgbaImage& f : s) pictures.push_back(&f);
    const Palette palette = BuildPicturePalette(pictures);
    areaPalettes.push_back(palette);
    Quantiser q(palette, WithoutBlack(PictureIndices()));
    std::vector<MapSprite> scenery;
    for (const SpriteFrames& s : art.scenery) scenery.push_back(ToMapSprite(q, s, Dither::Ordered));
    const SpriteMapImage map = BuildSpriteMap(scenery, palette, pal::kTransparent);
    const IndexedImage panorama = q.Quantise(art.panorama, Dither::Ordered, ramp::kGreys[0]);
    ResourceModuleWriter dll;
    dll.Add("SPRITEMAP", 151, map.bytes);
    dll.Add(kRtBitmap, 150, MakeBitmapResource(panorama, palette));
    ok &= Write(runDir + "/map" + std::to_string(m) + ".dll", dll.Build());
    sheet.Add("map" + std::to_string(m) + "_sprites", map.packed, palette);
    sheet.Add("map" + std::to_string(m) + "_panorama", panorama, palette);
    sheet.Add("map" + std::to_string(m) + "_rocks", RocksOnGround(scenery, panorama, AreaHorizon(m)), palette);
    panoramas.push_back(panorama);
    stage(("writing area " + std::to_string(m)).c_str());
  }

  // The birds: a sprite map file, common colours only.
  Quantiser common(CommonPalette(), CommonIndices());
  {
    std::vector<MapSprite> birds;
    const std::vector<SpriteFrames> painted = DrawGobblerSprites();
    stage("painting birds");
    for (const SpriteFrames& s : painted) birds.push_back(ToMapSprite(common, s, Dither::Ordered));
    const SpriteMapImage map = BuildSpriteMap(birds, CommonPalette(), pal::kTransparent);
    ok &= Write(runDir + "/goblers.dll", map.bytes);
    sheet.Add("goblers", map.packed, CommonPalette());
    for (int m = 1; m <= 3; ++m)
      sheet.Add("map" + std::to_string(m) + "_birds", BirdsAtSizes(birds, panoramas[m - 1], AreaHorizon(m)),
                areaPalettes[m - 1]);
  }
  stage("writing birds");

  // The controls: previews of the five hunts are drawn from their areas with their scenery placed.
  std::vector<RgbaImage> previews, views;
  for (int hunt = 0; hunt < 5; ++hunt) {
    const int mapIndex = kHuntMap[hunt] - 1;
    RgbaImage scene = PlaceScenery(areas[mapIndex], kStands[hunt], items);
    previews.push_back(PreviewOf(scene, kStands[hunt]));
    if (hunt == 0 || hunt == 2) views.push_back(std::move(scene));
  }
  std::vector<RgbaImage> trophies;
  for (int i = 0; i < 5; ++i) trophies.push_back(DrawTrophyPicture(i, ctlsize::kTrophyW - 10, ctlsize::kTrophyH - 10));
  stage("previews and trophy birds");
  std::vector<MapSprite> controls;
  {
    const std::vector<SpriteArt> art = DrawControlSprites(previews, trophies);
    for (size_t id = 0; id < art.size(); ++id) {
      const bool painted = id == ctl::kPreview || id == ctl::kTrophy || id == ctl::kGun || id == ctl::kMuzzle;
      controls.push_back(ToMapSprite(common, art[id], painted ? Dither::Ordered : Dither::None));
    }
    const SpriteMapImage map = BuildSpriteMap(controls, CommonPalette(), pal::kTransparent);
    ResourceModuleWriter dll;
    dll.Add("SPRITEMAP", 151, map.bytes);
    ok &= Write(runDir + "/ctrls.dll", dll.Build());
    sheet.Add("ctrls", map.packed, CommonPalette());
    sheet.Add("ctrls_gun", SpriteStrip(controls[ctl::kGun], 2, ramp::kSky[4]), CommonPalette());
    sheet.Add("ctrls_muzzle", SpriteStrip(controls[ctl::kMuzzle], 2, ramp::kSky[4]), CommonPalette());
    sheet.Add("ctrls_hunts", SpriteStrip(controls[ctl::kHuntFirst + 3], 3, ramp::kWood[2]), CommonPalette());
    sheet.Add("ctrls_hunt_button", SpriteStrip(controls[ctl::kHunt], 2, ramp::kWood[2]), CommonPalette());
    sheet.Add("ctrls_trophies", SpriteStrip(controls[ctl::kTrophy], 3, ramp::kDarkBrown[1]), CommonPalette());
  }
  stage("controls");

  // The program's own resources.
  {
    const RgbaImage titleRgba = DrawTitleScreen(DrawTitleLandscape());
    const Palette titlePalette = BuildPicturePalette({&titleRgba});
    const IndexedImage title = Quantise(titleRgba, titlePalette, WithoutBlack(PictureIndices()), Dither::Ordered);
    const IndexedImage bar = common.Quantise(DrawControlBarStrip(), Dither::None);
    Quantiser noBlack(CommonPalette(), WithoutBlack(CommonIndices()));
    const IndexedImage frame = noBlack.Quantise(DrawTrophyFrame(), Dither::None);
    const IndexedImage sign = common.Quantise(DrawSetupSign(), Dither::None);
    const IndexedImage cursor = common.Quantise(DrawCursor(), Dither::None);
    ResourceModuleWriter own;
    own.Add(kRtBitmap, 133, MakeBitmapResource(title, titlePalette));
    own.Add(kRtBitmap, 135, MakeBitmapResource(bar, CommonPalette()));
    own.Add(kRtBitmap, 136, MakeBitmapResource(frame, CommonPalette()));
    own.Add(kRtBitmap, 137, MakeBitmapResource(sign, CommonPalette()));
    const CursorResources cur = MakeCursor(cursor, CommonPalette(), pal::kTransparent, 1, 1, 1);
    own.Add(kRtCursor, 1, cur.cursor);
    own.Add(kRtGroupCursor, 104, cur.group);
    for (const Recording& r : SynthesizeRecordings()) {
      own.Add("WAVE", r.id, r.waveFile);
      char name[32];
      std::snprintf(name, sizeof name, "/%03u.wav", static_cast<unsigned>(r.id));
      ok &= Write(soundDir + name, r.waveFile);
    }
    ok &= Write(artDir + "/brushfeather-res.dll", own.Build());
    sheet.Add("bitmap133_title", title, titlePalette);
    sheet.Add("bitmap135_bar", bar, CommonPalette());
    sheet.Add("bitmap136_trophy_frame", frame, CommonPalette());
    sheet.Add("bitmap137_setup_sign", sign, CommonPalette());
    sheet.Add("cursor104", cursor, CommonPalette());

    // Composed screens, as the game lays them out, for people to judge the whole.
    sheet.Add("screen_title_menu", ComposeTitle(title, controls), titlePalette);
    sheet.Add("screen_setup", ComposeSetup(title, sign, controls, 0), titlePalette);
    sheet.Add("screen_setup_hunt3", ComposeSetup(title, sign, controls, 3), titlePalette);
    const IndexedImage view = Quantise(views[0], areaPalettes[0], WithoutBlack(PictureIndices()), Dither::Ordered, ramp::kGreys[0]);
    sheet.Add("screen_hunt", ComposeHunt(view, bar, controls, false), areaPalettes[0]);
    sheet.Add("screen_hunt_firing", ComposeHunt(view, bar, controls, true), areaPalettes[0]);
    const IndexedImage view2 = Quantise(views[1], areaPalettes[1], WithoutBlack(PictureIndices()), Dither::Ordered, ramp::kGreys[0]);
    sheet.Add("screen_hunt_colorado", ComposeHunt(view2, bar, controls, false), areaPalettes[1]);
    sheet.Add("screen_trophy_room", ComposeTrophyRoom(frame, controls), CommonPalette());
  }
  stage("program resources and sheet");
  ok &= sheet.ok();

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("artgen: art written to %s and %s in %.2f s\n", runDir.c_str(), artDir.c_str(), seconds);
  // Let go of cairo's and fontconfig's caches, so leak checkers see only our own mistakes.
  cairo_debug_reset_static_data();
  FcFini();
  return ok ? 0 : 1;
}
