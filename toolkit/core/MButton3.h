#pragma once
// MButton3: a toggle button. Every release inside flips its check state
// (also without a press before it) and sends CN_CLICK; a press sends
// CN_PRESS. While checked it shows its pressed column.

#include "toolkit/core/MButton.h"

namespace DUI {

class MButton3 : public MButton {
 public:
  MButton3(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  void SetCheck(int check);
  int GetCheck() const { return m_check; }

 protected:
  int DisplayColumn() const override { return m_check ? 2 : MButton::DisplayColumn(); }
  void OnReleaseInside(bool pressed) override;
  bool ClickWithoutPress() const override { return true; }

  int m_check = 0;
};

}  // namespace DUI
