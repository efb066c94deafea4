// ZBoardPicture: planks from the control bar's picture, the panel, the brass plate and the lettering.
#include "game/board_picture.h"

#include <algorithm>
#include <cstring>

#include "framework/graphics/graphics.h"
#include "framework/graphics/image.h"
#include "framework/graphics/surface.h"
#include "game/art_files.h"
#include "platform/module.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace {

constexpr uint8_t kTransparentIndex = 1;
constexpr int kFirstPictureIndex = 128;  // 128..254 belong to the picture whose palette is in force
constexpr int kLastPictureIndex = 254;

bool SharedIndex(int i) { return i == 0 || (i >= 2 && i < kFirstPictureIndex) || i == 255; }

platform::COLORREF ToColorRef(const platform::Rgb& c) {
  return static_cast<platform::COLORREF>(c.r) | (static_cast<platform::COLORREF>(c.g) << 8) |
         (static_cast<platform::COLORREF>(c.b) << 16);
}

// 4 x 4 ordered dither thresholds, 0..15, for the plate's gradient.
constexpr uint8_t kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

}  // namespace

ZBoardPicture::ZBoardPicture() = default;
ZBoardPicture::~ZBoardPicture() = default;

bool ZBoardPicture::Create(ZGraphics* graphics, int32_t width, int32_t height) {
  surface.reset();
  colors.fill(platform::Rgb{});
  auto made = std::make_unique<ZSurface>();
  if (graphics == nullptr || made->Create(graphics, width, height) == 0) return false;
  surface = std::move(made);
  Planks(graphics);
  // The lettering is mapped to the nearest colour of the attached palette: only the shared block is
  // offered, so nothing lands on an index whose colour changes with the picture in force.
  std::array<platform::Rgb, 256> offered = colors;
  for (int i = 0; i < 256; ++i) {
    if (!SharedIndex(i)) offered[static_cast<size_t>(i)] = colors[0];
  }
  if (platform::Surface* s = surface->GetSurface2()) s->SetPalette(std::make_shared<platform::Palette>(0, offered.data()));
  return true;
}

bool ZBoardPicture::IsLost() const { return surface == nullptr || surface->IsLost(); }

void ZBoardPicture::Planks(ZGraphics* graphics) {
  ZImage wood;
  const bool haveWood = wood.Load(art::kControlBarBitmapId, platform::GetOwnModule()) != 0 && wood.GetWidth() > 0 &&
                        wood.GetHeight() > 0 && wood.GetPixelAddress(0, 0) != nullptr;
  if (haveWood) {
    std::array<ZPaletteEntry, 256> entries{};
    if (wood.GetPaletteEntries(0, 256, entries.data()) != 0) {
      for (size_t i = 0; i < 256; ++i) colors[i] = platform::Rgb{entries[i].red, entries[i].green, entries[i].blue};
    }
  } else if (graphics->GetFrontSurface() != nullptr && graphics->GetFrontSurface()->GetSurface2() != nullptr &&
             graphics->GetFrontSurface()->GetSurface2()->GetPalette() != nullptr) {
    // The shared block is the same in every palette the game sets, the screen's included.
    colors = graphics->GetFrontSurface()->GetSurface2()->GetPalette()->Entries();
  }
  const int32_t w = surface->GetWidth();
  const int32_t h = surface->GetHeight();
  if (!haveWood) {
    Fill(platform::Rect{0, 0, w, h}, Shared(kPlainWood));
    return;
  }
  ZSurfaceLock lock(surface.get());
  if (!lock.Ok()) return;
  const int32_t ww = wood.GetWidth();
  const int32_t wh = wood.GetHeight();
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* from = wood.GetPixelAddress(0, y % wh);
    // The whole row must lie in the picture's memory, not just its first pixel.
    if (from == nullptr || wood.GetPixelAddress(ww - 1, y % wh) != from + ww - 1) continue;
    uint8_t* to = lock.Desc().bits + static_cast<ptrdiff_t>(y) * lock.Desc().pitch;
    for (int32_t x = 0; x < w; x += ww) std::memcpy(to + x, from, static_cast<size_t>(std::min(ww, w - x)));
  }
}

uint8_t ZBoardPicture::Shared(platform::COLORREF color) const {
  const int r = static_cast<int>(color & 0xFF);
  const int g = static_cast<int>((color >> 8) & 0xFF);
  const int b = static_cast<int>((color >> 16) & 0xFF);
  int best = 0;
  int bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    if (!SharedIndex(i)) continue;
    const platform::Rgb& c = colors[static_cast<size_t>(i)];
    const int d = (r - c.r) * (r - c.r) + (g - c.g) * (g - c.g) + (b - c.b) * (b - c.b);
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return static_cast<uint8_t>(best);
}

void ZBoardPicture::Fill(const platform::Rect& rect, uint8_t index) {
  if (surface == nullptr || rect.IsEmpty()) return;
  surface->Fill(&rect, index);
}

void ZBoardPicture::Outline(const platform::Rect& r, uint8_t index, int32_t width) {
  Fill(platform::Rect{r.left, r.top, r.right, r.top + width}, index);
  Fill(platform::Rect{r.left, r.bottom - width, r.right, r.bottom}, index);
  Fill(platform::Rect{r.left, r.top, r.left + width, r.bottom}, index);
  Fill(platform::Rect{r.right - width, r.top, r.right, r.bottom}, index);
}

void ZBoardPicture::Panel(const platform::Rect& r) {
  Fill(r, Shared(kPanel));
  // A moulding two pixels wide: in shadow along the top and left, lit along the bottom and right.
  const uint8_t dark = Shared(kEdgeDark);
  const uint8_t light = Shared(kEdgeLight);
  Fill(platform::Rect{r.left - 2, r.top - 2, r.right, r.top}, dark);
  Fill(platform::Rect{r.left - 2, r.top - 2, r.left, r.bottom}, dark);
  Fill(platform::Rect{r.left - 2, r.bottom, r.right + 2, r.bottom + 2}, light);
  Fill(platform::Rect{r.right, r.top - 2, r.right + 2, r.bottom + 2}, light);
}

void ZBoardPicture::Plate(const platform::Rect& r, const std::string& title, int32_t letterHeight) {
  if (surface == nullptr || r.IsEmpty()) return;
  const uint8_t top = Shared(kBrassLight);
  const uint8_t bottom = Shared(kBrassDark);
  {
    ZSurfaceLock lock(surface.get());
    if (!lock.Ok()) return;
    platform::Rect clip;
    platform::IntersectRect(&clip, r, platform::Rect{0, 0, surface->GetWidth(), surface->GetHeight()});
    for (int32_t y = clip.top; y < clip.bottom; ++y) {
      // Light at the top shading to dark at the bottom, dithered, as a polished plate catches the light.
      const int32_t shade = r.Height() > 1 ? (y - r.top) * 16 / (r.Height() - 1) : 0;
      uint8_t* row = lock.Desc().bits + static_cast<ptrdiff_t>(y) * lock.Desc().pitch;
      for (int32_t x = clip.left; x < clip.right; ++x) row[x] = kBayer4[y & 3][x & 3] < shade ? bottom : top;
    }
  }
  Outline(r, Shared(kEdgeDark), 2);
  if (title.empty()) return;
  Lettering cut;
  cut.height = letterHeight;
  cut.bold = true;
  cut.format = 0x0001 | 0x0004 | 0x0020;  // DT_CENTER | DT_VCENTER | DT_SINGLELINE
  // Cut letters: the light on their upper edges, the brass's shadow below, the cut itself on top.
  Letters(title, platform::Rect{r.left - 1, r.top - 1, r.right - 1, r.bottom - 1}, cut, kCarvedEdge, 0);
  Letters(title, platform::Rect{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1}, cut, kBrassDark, 0);
  Letters(title, r, cut, kCarved, 0);
}

int32_t ZBoardPicture::Letters(const std::string& text, platform::Rect rect, const Lettering& how,
                               platform::COLORREF color, uint32_t extraFormat) {
  if (surface == nullptr) return 0;
  platform::DeviceContext dc;
  if (platform::Failed(surface->GetDC(&dc))) return 0;
  std::unique_ptr<platform::Font> font = platform::CreateFont(
      how.height, 0, 0, 0, how.bold ? platform::FW_BOLD : platform::FW_NORMAL, false, false, false,
      platform::DEFAULT_CHARSET, platform::OUT_DEFAULT_PRECIS, platform::CLIP_DEFAULT_PRECIS, platform::PROOF_QUALITY,
      platform::DEFAULT_PITCH, "Times");
  platform::Font* old = platform::SelectObject(&dc, font.get());
  platform::SetBkMode(&dc, platform::TRANSPARENT);
  // The exact colour of the shared entry, so the lettering takes that entry and no other.
  platform::SetTextColor(&dc, ToColorRef(colors[Shared(color)]));
  const int32_t drawn = platform::DrawText(&dc, text, &rect, how.format | extraFormat | platform::DT_NOPREFIX);
  platform::SelectObject(&dc, old);
  surface->ReleaseDC(&dc);
  return drawn;
}

int32_t ZBoardPicture::Text(const std::string& text, const platform::Rect& rect, const Lettering& how) {
  if (how.shadow) Letters(text, platform::Rect{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1}, how, kShadow, 0);
  return Letters(text, rect, how, how.color, 0);
}

int32_t ZBoardPicture::Measure(const std::string& text, const platform::Rect& rect, const Lettering& how) {
  return Letters(text, rect, how, how.color, platform::DT_CALCRECT);
}
