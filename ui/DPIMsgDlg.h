#pragma once
// DPIMsgDlg: the on-screen DPI message. A 300 x 130 topmost notice at the
// bottom right of the primary screen's work area (2 pixels from its right
// and bottom edges) that shows the DPI of the stage just made current in
// large digits over a bar, and hides itself 2000 ms after the last value.
// It never takes the activation, so typing goes on in the window in use.
//
// The main window creates one at start-up (CreateMsg: created hidden) and
// calls ShowValue on the window thread each time a stage change should be
// shown; each call raises the notice, updates it and restarts the 2 s.
// Controls: close button 30 (hides), value 31, unit 32, bar 33 (0..16000,
// larger values fill it).

#include "toolkit/core/MDialog.h"

namespace DUI {
class MText;
class MProgress;
}  // namespace DUI

namespace ui {

class DPIMsgDlg : public DUI::MDialog {
 public:
  static constexpr DUI::UINT kCloseId = 30;
  static constexpr DUI::UINT kValueId = 31;
  static constexpr DUI::UINT kUnitId = 32;
  static constexpr DUI::UINT kBarId = 33;
  static constexpr DUI::UINT kHideTimer = 100;
  static constexpr DUI::UINT kShowMs = 2000;
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 130;
  static constexpr int kBarMaximum = 16000;

  // Creates the notice owned by owner (may be null), hidden, at its corner.
  HWND CreateMsg(HWND owner);
  // Shows dpi for 2000 ms from now, raised above other windows, without
  // activating; the place is taken from the work area again.
  void ShowValue(int dpi);
  // The corner place for a work area: (right - 302, bottom - 132) to
  // (right - 2, bottom - 2).
  static DUI::CRect CornerRect(const RECT& workArea);
  // Destroys the window; the bar's field is cleared first, so no late
  // redraw reaches a destroyed control.
  void Close();

  int GetValue() const { return m_value; }
  const DUI::CString& GetValueText() const { return m_valueText; }
  DUI::MControl* GetCloseButton() const { return m_close; }
  DUI::MText* GetValueArea() const { return m_valueArea; }
  DUI::MText* GetUnitArea() const { return m_unitArea; }
  DUI::MProgress* GetBar() const { return m_bar; }

  void InitUI(DUI::CRect client) override;
  void UISize(DUI::CRect client) override;
  int OnInitDialog() override;
  DUI::LRESULT OnMessage(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  void OnTimer(DUI::UINT id) override;

 private:
  void MoveToCorner();

  DUI::MControl* m_close = nullptr;
  DUI::MText* m_valueArea = nullptr;
  DUI::MText* m_unitArea = nullptr;
  DUI::MProgress* m_bar = nullptr;
  DUI::CString m_valueText;
  int m_value = 0;
};

}  // namespace ui
