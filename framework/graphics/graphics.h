// ZGraphics: the display system: mode, flipping surfaces, scratch surface, palette and dirty-rectangle redraw.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "framework/core/object.h"
#include "platform/types.h"

namespace platform {
class Display;
class Window;
}

class ZSurface;
class ZViewport;
class ZSpriteList;
class ZPalette;
class ZGraphicsInfo;

class ZGraphics : public ZObject {
  Z_DECLARE_CLASS(ZGraphics)

 public:
  static constexpr int32_t kScratchWidth = 800;
  static constexpr int32_t kScratchHeight = 1000;

  ZGraphics();  // inactive; reads the four system colours it will override
  ~ZGraphics() override;
  ZGraphics(const ZGraphics&) = delete;
  ZGraphics& operator=(const ZGraphics&) = delete;

  // Sets up the display: mode, front surface with one back buffer, scratch surface, game colours.
  // 1 on success; 0 with everything released on failure.
  int Init(platform::Window* window, int32_t width, int32_t height, int32_t depth);
  // Copies the four references of the bundle and ties both sprite lists to this object; 0 without one.
  int SetInfo(const ZGraphicsInfo* info);
  // Makes the palette current: realised on the front surface; the scratch key follows its transparent index.
  platform::HRESULT SetPalette(ZPalette* palette);

  // Records a dirty rectangle (screen coordinates) in one of the two lists.
  void AddPendingRect(const platform::Rect* rect);
  void AddFollowingRect(const platform::Rect* rect);
  // Redraws every pending rectangle into the back surface, then swaps the roles of the lists.
  void Flush();
  // Redraws one rectangle, or the whole view when rect is null.
  void RedrawRect(const platform::Rect* rect);

  // Gives the display back to the window system / takes it again.
  void Suspend();
  int Resume();
  void SetGameColors();
  void RestoreSystemColors();
  // Deletes the surfaces and the display object; restores the saved system colours first.
  void Release();
  // The one place every failing display result goes; returns it unchanged.
  platform::HRESULT ReportError(platform::HRESULT hr);
  // Shows the window system's surface (the front buffer becomes the visible one).
  platform::HRESULT FlipToGDISurface();

  platform::Display* GetDirectDraw() const { return directDraw.get(); }
  ZSurface* GetFrontSurface() const { return frontSurface.get(); }
  ZSurface* GetBackSurface() const { return backSurface.get(); }
  ZSurface* GetScratchSurface() const { return scratchSurface.get(); }
  ZViewport* GetMainViewport() const { return mainViewport; }
  ZViewport* GetSecondViewport() const { return secondViewport; }
  ZSpriteList* GetWorldSprites() const { return worldSprites; }
  ZSpriteList* GetOverlaySprites() const { return overlaySprites; }
  ZPalette* GetPalette() const { return palette; }
  int32_t GetWidth() const { return width; }
  int32_t GetHeight() const { return height; }
  int32_t GetDepth() const { return depth; }
  bool IsActive() const { return active; }
  bool IsBusy() const { return busy; }
  // Lets a test stand in for a deactivation in the middle of a flush.
  void SetActive(bool value) { active = value; }

  // The dirty lists, head first (read by tests and tools).
  const std::list<platform::Rect>& PendingRects() const { return rectLists[pendingIndex]; }
  const std::list<platform::Rect>& FollowingRects() const { return rectLists[1 - pendingIndex]; }
  void EmptyRectLists();

  // Number of failing results reported so far (for tests; the report itself has no effect).
  uint32_t ErrorCount() const { return errorCount; }

 private:
  static void AddRect(std::list<platform::Rect>* list, const platform::Rect* rect);
  void DeleteSurfaces();

  std::unique_ptr<platform::Display> directDraw;
  std::unique_ptr<ZSurface> frontSurface;
  std::unique_ptr<ZSurface> backSurface;
  std::unique_ptr<ZSurface> scratchSurface;
  ZViewport* mainViewport = nullptr;
  ZViewport* secondViewport = nullptr;
  ZSpriteList* worldSprites = nullptr;
  ZSpriteList* overlaySprites = nullptr;
  std::list<platform::Rect> rectLists[2];
  int pendingIndex = 0;  // the other list is the following list
  ZPalette* palette = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;
  platform::COLORREF savedColors[4] = {};
  platform::COLORREF gameColors[4] = {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000};
  int colorIndices[4] = {platform::COLOR_WINDOW, platform::COLOR_WINDOWTEXT, platform::COLOR_HIGHLIGHT,
                         platform::COLOR_HIGHLIGHTTEXT};
  bool active = false;
  bool busy = false;
  uint32_t errorCount = 0;
};
