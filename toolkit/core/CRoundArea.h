#pragma once
// CRoundArea: a rectangle filled with one ARGB colour over what lies
// beneath (default 0xC82B2B2B, a translucent dark grey).

#include "toolkit/core/Color.h"
#include "toolkit/core/MControl.h"

namespace DUI {

class CRoundArea : public MControl {
 public:
  CRoundArea(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  void SetColor(Color colour);
  Color GetColor() const { return m_colour; }

  void DrawControl(HDC& dc, CRect clip) override;

 private:
  Color m_colour{0xC82B2B2B};
};

}  // namespace DUI
