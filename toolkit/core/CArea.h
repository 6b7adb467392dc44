#pragma once
// CArea: a plain filled rectangle. With transparency percentages (the
// default 80/80) its colour is blended over what lies beneath, the alpha
// moving linearly from one end to the other, vertically by default;
// without them it is filled solid, optionally inside a 1-pixel frame.

#include "toolkit/core/Color.h"
#include "toolkit/core/MControl.h"

namespace DUI {

class CArea : public MControl {
 public:
  CArea(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  // The fill colour and the transparency percentages at the two ends.
  void SetTransparent(int from, int to, COLORREF colour);
  // A nonzero frame draws a 1-pixel frame in frameColour (only without
  // transparency); the third argument has no effect.
  void SetFrame(int frame, Color frameColour, int unused = 0);
  // 1 blends row by row (top to bottom), 0 column by column.
  void SetDirection(int vertical);
  COLORREF GetColor() const { return m_colour; }

  void DrawControl(HDC& dc, CRect clip) override;

 private:
  COLORREF m_colour = 0xFFFFFF;
  int m_from = 80;
  int m_to = 80;
  int m_vertical = 1;
  int m_frame = 0;
  Color m_frameColour{0xFE050505};
};

}  // namespace DUI
