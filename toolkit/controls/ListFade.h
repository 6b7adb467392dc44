#pragma once
// ListFade: the fading edges of the device lists. The rows are drawn into a
// buffer of their own over a copy of the background; the cache then takes
// them unchanged in the middle and blended more and more faintly over a
// band at each edge beyond which more rows lie.

#include "toolkit/core/MDC.h"

namespace DUI {

class ListFade {
 public:
  // Pixels of the band at each edge (at most a quarter of the list height).
  static constexpr int kBand = 16;

  // Copies rows (w x h, origin 0,0) into cache, which already holds the
  // background, fading towards the top and/or bottom edge.
  static void Compose(HDC cache, HDC rows, int w, int h, bool fadeTop, bool fadeBottom);
};

}  // namespace DUI
