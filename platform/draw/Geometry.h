#pragma once
// Plain geometry records shared by the window and drawing layers. RECT,
// POINT and SIZE keep the integer layout of the toolkit's value types
// (left, top, right, bottom as 32-bit signed); the float forms serve
// anti-aliased drawing.

#include <cstdint>

struct POINT {
  int32_t x = 0;
  int32_t y = 0;
};

struct SIZE {
  int32_t cx = 0;
  int32_t cy = 0;
};

struct RECT {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

namespace platform {

struct PointF {
  float x = 0;
  float y = 0;
};

struct SizeF {
  float width = 0;
  float height = 0;
};

struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;

  static RectF FromRect(const RECT& r) {
    return {float(r.left), float(r.top), float(r.right - r.left), float(r.bottom - r.top)};
  }
};

inline bool IsRectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline bool PtInRect(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
// Intersection; an empty result is returned as all zeros.
RECT IntersectRect(const RECT& a, const RECT& b);
// Smallest rectangle holding both; an empty operand is ignored.
RECT UnionRect(const RECT& a, const RECT& b);

}  // namespace platform
