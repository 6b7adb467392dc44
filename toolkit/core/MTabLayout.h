#pragma once
// MTabLayout: a page of a tab strip. A panel that draws nothing itself, only
// its children; the program builds a page's contents through its factory.

#include "toolkit/core/MPanel.h"

namespace DUI {

class MTabLayout : public MPanel {
 public:
  MTabLayout(MObject* parent, UINT id, CRect rect, int visible);

  void DrawControl(HDC& dc, CRect clip) override;
};

}  // namespace DUI
