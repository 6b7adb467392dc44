#include "platform/draw/Geometry.h"

#include <algorithm>

namespace platform {

RECT IntersectRect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (IsRectEmpty(r)) return RECT{};
  return r;
}

RECT UnionRect(const RECT& a, const RECT& b) {
  if (IsRectEmpty(a)) return IsRectEmpty(b) ? RECT{} : b;
  if (IsRectEmpty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

}  // namespace platform
