#include "platform/draw/Color.h"

#include <algorithm>

namespace platform {

namespace {
// Rounded (c * a) / 255 without division, exact for 8-bit operands.
inline uint32_t MulDiv255(uint32_t c, uint32_t a) {
  uint32_t t = c * a + 128;
  return (t + (t >> 8)) >> 8;
}
}  // namespace

ARGB Premultiply(ARGB c) {
  uint32_t a = ArgbA(c);
  if (a == 255) return c;
  if (a == 0) return 0;
  return MakeArgb(BYTE(a), BYTE(MulDiv255(ArgbR(c), a)), BYTE(MulDiv255(ArgbG(c), a)),
                  BYTE(MulDiv255(ArgbB(c), a)));
}

ARGB Unpremultiply(ARGB c) {
  uint32_t a = ArgbA(c);
  if (a == 255) return c;
  if (a == 0) return 0;
  auto un = [a](uint32_t v) { return BYTE(std::min<uint32_t>(255, (v * 255 + a / 2) / a)); };
  return MakeArgb(BYTE(a), un(ArgbR(c)), un(ArgbG(c)), un(ArgbB(c)));
}

}  // namespace platform
