#pragma once
// UpdateTipDlg: the short "update under way" notice shown modally after the
// user agrees to a firmware update: text 596 in red (id 31), a second line
// (id 32) and a progress bar (id 33) over the "img_upgrade_bkg.png"
// background, 391 x 130, centred on its parent. The worker's job 27 ends it
// (End, its OK action), so it is up only briefly.

#include "toolkit/core/MDialog.h"

namespace DUI {
class MProgress;
}  // namespace DUI

namespace ui {

class UpdateTipDlg : public DUI::MDialog {
 public:
  static constexpr DUI::UINT kTextId = 31;
  static constexpr DUI::UINT kStateId = 32;
  static constexpr DUI::UINT kProgressId = 33;
  static constexpr int kWidth = 391;
  static constexpr int kHeight = 130;

  static constexpr DUI::UINT kProgressPeriodMs = 10;

  // Creates the notice centred on parent and shows it (no modal loop).
  HWND CreateTip(HWND parent);
  // Creates the notice centred on parent and runs it modally until End.
  // Returns the modal result (1 after End, 0 when closed otherwise).
  int Run(HWND parent);
  // Ends a running notice with its OK action; does nothing when none runs.
  void End();
  bool IsOpen() const { return m_open; }

  void InitUI(DUI::CRect client) override;
  int OnInitDialog() override;

 private:
  bool m_open = false;
};

}  // namespace ui
