// The gobbler as a few shaded 3D shapes: poses, the model built from a pose, and its renderer.
#pragma once

#include <vector>

#include "tools/artgen/art_types.h"
#include "tools/artgen/painter_canvas.h"
#include "tools/artgen/vec3.h"

namespace artgen::turkey {

using artgen::Vec3;

// How one pose of the bird stands. Bird space: x forward, y up, z toward the bird's right side;
// units are about a centimetre, the origin is the ground under the body.
struct Pose {
  double bodyPitch = 0.26;   // radians, breast up
  double bodyY = 55;         // height of the body centre
  double bodyX = 0;
  double puff = 1.0;         // feathers raised in display
  Vec3 head{33, 104, 0};     // centre of the head: held high, the alert bird's tall neck
  double headPitch = 0;      // beak up when positive
  double headTurn = 0;       // beak toward the bird's right when positive
  Vec3 footL{2, 0, -7}, footR{-2, 0, 7};
  double toeCurlL = 0, toeCurlR = 0;  // 0 flat, 1 curled (foot lifted)
  double wingOpen = 0;       // 0 folded, 1 spread
  double wingDrop = 0;       // 1: dropped to drag the ground (strut)
  double fan = 0;            // 0 closed tail, 1 full fan
  double roll = 0;           // whole bird rolled about its length (falling), radians
  double lift = 0;           // whole bird raised off the ground
  bool keepOnGround = true;  // shift the bird so its lowest point is on the ground
  double snood = 1.0;        // snood length factor (long in display)
};

// Tail-tip colour of the fan (the field bird uses the chestnut of the Eastern bird).
struct Look {
  paint::Rgb tipBand{0.55, 0.30, 0.13};
  double wingWhite = 1.0;  // how white the wing bars are (Osceola darker)
};
Look LookForSubspecies(int subspecies);

// Camera: orthographic, yaw turns the bird (0: profile facing right, positive: toward the viewer),
// pitch looks down on it from above.
struct View {
  double yaw = 0;
  double pitch = 0.16;
};

enum class Mat {
  Body, Breast, Thigh, Wing, Feather, FeatherTip, Covert, NeckFeather, NeckSkin, Head, Snood, Wattle,
  Beak, Eye, Beard, Leg, Caruncle
};

struct Part {
  Vec3 c;       // centre
  Vec3 a[3];    // orthonormal axes: length, up, side
  double r[3];  // radii along them
  Mat mat;
  int index = 0;  // feather number etc., for the pattern
};

std::vector<Part> BuildBird(const Pose& pose, const Look& look);

// Screen-space bounds of a model under a view, in model units (x right, y up).
struct Bounds {
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  void Add(const Bounds& b);
  double Width() const { return maxX - minX; }
  double Height() const { return maxY - minY; }
};
Bounds Measure(const std::vector<Part>& parts, const View& view);

// Renders into a width x height picture where model point (originX, originY) (screen space, units)
// lands at pixel (0, 0) and each unit is `pixelsPerUnit` pixels; y grows downward in the picture.
// Edges are crisp: a pixel is opaque when at least half of it is covered.
RgbaImage Render(const std::vector<Part>& parts, const View& view, const Look& look, int width, int height,
                 double originX, double originY, double pixelsPerUnit);

}  // namespace artgen::turkey
