// Rectangle helpers with the screen-rectangle rules: right and bottom exclusive, empty is empty.
#include <algorithm>

#include "platform/types.h"

namespace platform {

bool IntersectRect(Rect* out, const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  bool nonEmpty = !a.IsEmpty() && !b.IsEmpty() && !r.IsEmpty();
  if (out != nullptr) *out = nonEmpty ? r : Rect{};
  return nonEmpty;
}

bool UnionRect(Rect* out, const Rect& a, const Rect& b) {
  Rect r;
  if (a.IsEmpty() && b.IsEmpty()) {
    r = Rect{};
  } else if (a.IsEmpty()) {
    r = b;
  } else if (b.IsEmpty()) {
    r = a;
  } else {
    r = Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
             std::max(a.bottom, b.bottom)};
  }
  if (out != nullptr) *out = r;
  return !r.IsEmpty();
}

void OffsetRect(Rect* r, int32_t dx, int32_t dy) {
  if (r == nullptr) return;
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
}

}  // namespace platform
