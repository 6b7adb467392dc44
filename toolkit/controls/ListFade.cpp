#include "toolkit/controls/ListFade.h"

#include <algorithm>

#include "toolkit/core/MRender.h"

namespace DUI {

void ListFade::Compose(HDC cache, HDC rows, int w, int h, bool fadeTop, bool fadeBottom) {
  if (cache == nullptr || rows == nullptr || w <= 0 || h <= 0) return;
  const int band = std::min(kBand, h / 4);
  fadeTop = fadeTop && band > 0;
  fadeBottom = fadeBottom && band > 0;
  const int from = fadeTop ? band : 0, to = fadeBottom ? h - band : h;
  MRender::BitBlt(cache, 0, from, w, to - from, rows, 0, from);
  // Transparency in percent: 70 at the edge, none where the band meets the
  // rows that show in full.
  if (fadeTop) MRender::DrawVerticalTransition(cache, rows, CRect(0, 0, w, band), CRect(0, 0, w, band), 70, 0);
  if (fadeBottom) {
    MRender::DrawVerticalTransition(cache, rows, CRect(0, h - band, w, h), CRect(0, h - band, w, h), 0, 70);
  }
}

}  // namespace DUI
