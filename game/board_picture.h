// ZBoardPicture: wooden boards painted at run time for the screens the game adds (help page, confirmation).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/types.h"

class ZGraphics;
class ZSurface;

// A picture in the game's look made from the control bar's planks and the colours every palette of the
// game shares (0, 2..127, 255), so it shows true under the title's, a hunt's or the trophy room's
// palette. Lettering goes through the text service in the "Times" face, as in the trophy room.
class ZBoardPicture {
 public:
  // Colours asked for by their looks; each is drawn as the nearest colour of the shared block.
  static constexpr platform::COLORREF kPanel = 0x141A22;       // the dark panel behind the lettering
  static constexpr platform::COLORREF kEdgeDark = 0x0C1016;    // the panel's sunk top and left edges
  static constexpr platform::COLORREF kEdgeLight = 0x7898B2;   // its lit bottom and right edges
  static constexpr platform::COLORREF kBrassLight = 0x40B6DE;  // the name plate, top to bottom
  static constexpr platform::COLORREF kBrassDark = 0x2480AA;
  static constexpr platform::COLORREF kCarved = 0x141A22;      // letters cut into the plate
  static constexpr platform::COLORREF kCarvedEdge = 0xDCECF6;  // the light catching their upper edges
  static constexpr platform::COLORREF kGold = 0x40B6DE;        // headings on the panel
  static constexpr platform::COLORREF kCream = 0xD4F0FA;       // reading text on the panel
  static constexpr platform::COLORREF kShadow = 0x000000;
  static constexpr platform::COLORREF kPlainWood = 0x475F76;   // the boards when their planks are missing

  struct Lettering {
    int32_t height = 17;  // cell height in pixels
    bool bold = false;
    platform::COLORREF color = kCream;
    bool shadow = false;  // a black copy one pixel down and right, under the letters
    uint32_t format = 0x0010;  // DT_WORDBREAK
  };

  ZBoardPicture();
  ~ZBoardPicture();
  ZBoardPicture(const ZBoardPicture&) = delete;
  ZBoardPicture& operator=(const ZBoardPicture&) = delete;

  // A width x height surface covered in the control bar's planks (plain wood when that picture is
  // missing or damaged), with the shared colours attached for the lettering. False without a surface.
  bool Create(ZGraphics* graphics, int32_t width, int32_t height);
  ZSurface* GetSurface() const { return surface.get(); }
  // The surface's memory was lost (it must be painted again).
  bool IsLost() const;

  // The shared colour nearest to `color`.
  uint8_t Shared(platform::COLORREF color) const;
  void Fill(const platform::Rect& rect, uint8_t index);
  // An outline `width` pixels wide inside `rect`.
  void Outline(const platform::Rect& rect, uint8_t index, int32_t width);
  // The dark panel sunk behind its moulding, as in the trophy room's frame.
  void Panel(const platform::Rect& rect);
  // A brass plate with `title` cut into it, centred.
  void Plate(const platform::Rect& rect, const std::string& title, int32_t letterHeight);
  // Draws `text` in `rect` (word-wrapped unless the format says otherwise); returns its height.
  int32_t Text(const std::string& text, const platform::Rect& rect, const Lettering& how);
  // The height `text` takes in `rect` (word-wrapped as drawn), drawing nothing.
  int32_t Measure(const std::string& text, const platform::Rect& rect, const Lettering& how);

 private:
  void Planks(ZGraphics* graphics);
  int32_t Letters(const std::string& text, platform::Rect rect, const Lettering& how, platform::COLORREF color,
                  uint32_t extraFormat);

  std::unique_ptr<ZSurface> surface;
  std::array<platform::Rgb, 256> colors{};
};
