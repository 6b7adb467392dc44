#pragma once
// CDeviceState: the connection-state label of the main window: its title
// drawn as a single line (ellipsis when it does not fit) over its image,
// which is stretched as a nine-grid when set. It takes no input.

#include "toolkit/core/MControlFont.h"

namespace DUI {

class CDeviceState : public MControlFont {
 public:
  CDeviceState(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect clip) override;

  static constexpr int kCorner = 8;   // of the background nine-grid
  static constexpr int kPadding = 8;  // text inset from the sides
};

}  // namespace DUI
