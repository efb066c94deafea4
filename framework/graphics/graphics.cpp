// ZGraphics: display set-up, dirty-rectangle lists, the two-phase redraw, palette and suspend/resume.
#include "framework/graphics/graphics.h"

#include <iterator>

#include "framework/core/graphics_info.h"
#include "framework/graphics/palette.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/sprite_list.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/viewport.h"
#include "platform/display.h"
#include "platform/window.h"

Z_IMPLEMENT_CLASS(ZGraphics, ZObject)

using platform::HRESULT;
using platform::Rect;

ZGraphics::ZGraphics() {
  for (int i = 0; i < 4; ++i) savedColors[i] = platform::GetSysColor(colorIndices[i]);
}

ZGraphics::~ZGraphics() {
  Release();
  EmptyRectLists();
}

void ZGraphics::DeleteSurfaces() {
  // The back buffer and the front surface belong to the display; the objects go first.
  scratchSurface.reset();
  backSurface.reset();
  frontSurface.reset();
}

void ZGraphics::EmptyRectLists() {
  rectLists[0].clear();
  rectLists[1].clear();
}

int ZGraphics::Init(platform::Window* window, int32_t w, int32_t h, int32_t d) {
  DeleteSurfaces();
  directDraw.reset();
  EmptyRectLists();
  active = false;

  auto fail = [this](HRESULT hr) {
    if (platform::Failed(hr)) ReportError(hr);
    DeleteSurfaces();
    directDraw.reset();
    return 0;
  };

  HRESULT hr = platform::Display::Create(&directDraw);
  if (platform::Failed(hr) || directDraw == nullptr) return fail(hr);
  hr = directDraw->SetCooperativeLevel(
      window, platform::DDSCL_EXCLUSIVE | platform::DDSCL_FULLSCREEN | platform::DDSCL_ALLOWREBOOT);
  if (platform::Failed(hr)) return fail(hr);
  // Filled and kept by the original; nothing here reads them.
  platform::DisplayCaps driverCaps;
  platform::DisplayCaps emulationCaps;
  driverCaps.size = emulationCaps.size = 364;
  hr = directDraw->GetCaps(&driverCaps, &emulationCaps);
  if (platform::Failed(hr)) return fail(hr);
  hr = directDraw->SetDisplayMode(w, h, d, 0, 0);
  if (platform::Failed(hr)) return fail(hr);
  width = w;
  height = h;
  depth = d;

  frontSurface = std::make_unique<ZSurface>();
  backSurface = std::make_unique<ZSurface>();
  scratchSurface = std::make_unique<ZSurface>();
  if (frontSurface->Create(this, 0, 0) == 0) return fail(0);
  if (backSurface->AttachBackBuffer(frontSurface.get()) == 0) return fail(0);
  if (scratchSurface->Create(this, kScratchWidth, kScratchHeight) == 0) return fail(0);

  SetGameColors();
  active = true;
  return 1;
}

int ZGraphics::SetInfo(const ZGraphicsInfo* info) {
  if (info == nullptr) return 0;
  worldSprites = info->worldSprites;
  overlaySprites = info->overlaySprites;
  mainViewport = info->mainViewport;
  secondViewport = info->secondViewport;
  if (worldSprites != nullptr) worldSprites->SetGraphics(this);
  if (overlaySprites != nullptr) overlaySprites->SetGraphics(this);
  return 1;
}

HRESULT ZGraphics::SetPalette(ZPalette* newPalette) {
  palette = newPalette;
  if (newPalette == nullptr) return platform::E_FAIL;
  HRESULT hr = newPalette->Realize(frontSurface.get());
  if (scratchSurface != nullptr) scratchSurface->SetColorKey(newPalette->GetTransparentIndex());
  return hr;
}

void ZGraphics::AddRect(std::list<Rect>* list, const Rect* rect) {
  if (list == nullptr || rect == nullptr || rect->IsEmpty()) return;
  // Merged with the first rectangle it meets from the head, and no further.
  for (Rect& r : *list) {
    Rect overlap;
    if (platform::IntersectRect(&overlap, r, *rect)) {
      Rect merged;
      platform::UnionRect(&merged, r, *rect);
      r = merged;
      return;
    }
  }
  list->push_front(*rect);
}

void ZGraphics::AddPendingRect(const Rect* rect) { AddRect(&rectLists[pendingIndex], rect); }

void ZGraphics::AddFollowingRect(const Rect* rect) { AddRect(&rectLists[1 - pendingIndex], rect); }

void ZGraphics::Flush() {
  busy = true;
  if (active) {
    std::list<Rect>& pending = rectLists[pendingIndex];
    while (!pending.empty()) {
      Rect r = pending.front();
      pending.pop_front();
      RedrawRect(&r);
      if (!active) break;
    }
  }
  busy = false;
  // Every change went into both lists: this one is done for this buffer, the other one is next.
  pendingIndex = 1 - pendingIndex;
}

void ZGraphics::RedrawRect(const Rect* rect) {
  if (mainViewport == nullptr || worldSprites == nullptr) return;
  Rect view;
  mainViewport->GetViewRect(&view);
  Rect clip;
  if (rect == nullptr) {
    mainViewport->Draw();
    clip = view;
  } else {
    if (!platform::IntersectRect(&clip, *rect, view)) return;
    Rect source = *rect;
    mainViewport->ToSource(&source);
    mainViewport->DrawPart(&source);
    mainViewport->NarrowClip(&clip);
  }
  ZSurface* scratch = scratchSurface.get();

  // World sprites, deepest (tail) first.
  const std::list<ZSprite*>& sprites = worldSprites->Sprites();
  auto it = sprites.rbegin();
  ZSprite* first = nullptr;
  // Phase one: still scenery lies in the background already; find the first moving sprite that draws.
  for (; it != sprites.rend(); ++it) {
    ZSprite* s = *it;
    if (s == nullptr || s->kind < 2) continue;
    if (s->Draw(&clip, scratch, 1) != 0) {
      first = s;
      ++it;
      break;
    }
  }
  if (first != nullptr && it != sprites.rend()) {
    auto clippedScreenRect = [&](ZSprite* s) {
      Rect r;
      s->GetRect(&r);
      mainViewport->ToScreen(&r);
      Rect c;
      platform::IntersectRect(&c, r, clip);
      return c;
    };
    Rect cover = clippedScreenRect(first);
    // Phase two: still scenery is repainted only where it lies over a moving sprite drawn before it.
    for (; it != sprites.rend(); ++it) {
      ZSprite* s = *it;
      if (s == nullptr) continue;
      if (s->kind >= 2) {
        s->Draw(&clip, scratch, 1);
        Rect c = clippedScreenRect(s);
        Rect merged;
        if (platform::UnionRect(&merged, cover, c)) cover = merged;
      } else {
        s->Draw(&cover, scratch, 1);
      }
    }
  }
  mainViewport->RestoreClip();

  if (overlaySprites != nullptr) {
    const std::list<ZSprite*>& overlay = overlaySprites->Sprites();
    for (auto o = overlay.rbegin(); o != overlay.rend(); ++o) {
      if (*o != nullptr) (*o)->Draw(&clip, scratch, 1);
    }
  }
}

void ZGraphics::Suspend() {
  active = false;
  // One thread: a flush in progress has already stopped after its rectangle when control is here.
  EmptyRectLists();
  if (directDraw != nullptr) {
    HRESULT hr = directDraw->FlipToGDISurface();
    if (platform::Failed(hr)) ReportError(hr);
  }
  RestoreSystemColors();
  if (directDraw != nullptr) {
    HRESULT hr = directDraw->RestoreDisplayMode();
    if (platform::Failed(hr)) ReportError(hr);
  }
}

int ZGraphics::Resume() {
  if (directDraw == nullptr || frontSurface == nullptr || backSurface == nullptr) return 0;
  HRESULT hr = directDraw->SetDisplayMode(width, height, depth, 0, 0);
  if (platform::Failed(hr)) {
    ReportError(hr);
    return 0;
  }
  if (frontSurface->GetSurface2() == nullptr) return 0;
  hr = frontSurface->GetSurface2()->Restore();
  if (platform::Failed(hr)) {
    ReportError(hr);
    return 0;
  }
  if (backSurface->AttachBackBuffer(frontSurface.get()) == 0) return 0;
  if (scratchSurface != nullptr && scratchSurface->IsLost()) scratchSurface->Restore();

  // Still scenery is painted back into the background surface it lives in.
  if (worldSprites != nullptr) {
    for (ZSprite* s : worldSprites->Sprites()) {
      if (s == nullptr || s->kind >= 2) continue;
      s->placed = 0;
      s->Draw(nullptr, scratchSurface.get(), 0);
      s->placed = 1;
    }
  }
  frontSurface->Fill(nullptr, 0);
  backSurface->Fill(nullptr, 0);
  SetGameColors();
  if (mainViewport == nullptr) return 0;
  Rect view;
  mainViewport->GetViewRect(&view);
  AddFollowingRect(&view);
  AddPendingRect(&view);
  active = true;
  return 1;
}

void ZGraphics::SetGameColors() { platform::SetSysColors(4, colorIndices, gameColors); }

void ZGraphics::RestoreSystemColors() { platform::SetSysColors(4, colorIndices, savedColors); }

void ZGraphics::Release() {
  RestoreSystemColors();
  active = false;
  DeleteSurfaces();
  directDraw.reset();
}

HRESULT ZGraphics::ReportError(HRESULT hr) {
  ++errorCount;
  return hr;
}

HRESULT ZGraphics::FlipToGDISurface() {
  if (directDraw == nullptr) return platform::E_FAIL;
  HRESULT hr = directDraw->FlipToGDISurface();
  if (platform::Failed(hr)) ReportError(hr);
  return hr;
}
