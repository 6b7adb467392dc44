#pragma once
// MText: a text label. It renders its title once into its cache (over a
// copy of what lies beneath) and copies the cache on every paint. A title
// with line breaks, or a title set multi-line, wraps within the rect.

#include "toolkit/core/MControlFont.h"

namespace DUI {

class MText : public MControlFont {
 public:
  MText(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect clip) override;
  void SetMultiLine(int multiLine);
  int IsMultiLine() const { return m_multiLine; }

 private:
  int m_multiLine = 0;
};

}  // namespace DUI
