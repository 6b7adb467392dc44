#pragma once
// AboutDlg: the About window opened from the tray menu: the logo, the
// firmware version of the cable mouse and a line of text, closed with its
// close button (id 30) or Escape. 500 x 300, centred, modal.
//
// Controls: close 30, logo 32, firmware line 34 and 33, text 35.

#include "toolkit/core/MDialog.h"

namespace ui {

class AboutDlg : public DUI::MDialog {
 public:
  static constexpr DUI::UINT kCloseId = 30;
  static constexpr DUI::UINT kLogoId = 32;
  static constexpr DUI::UINT kVersionId = 33;
  static constexpr DUI::UINT kVersionTopId = 34;
  static constexpr DUI::UINT kTextId = 35;
  static constexpr int kWidth = 500;
  static constexpr int kHeight = 300;

  // release: the release number of the first cable-mode device record
  // (DeviceManager::ReleaseOf(0, ...)); 0 when there is none.
  explicit AboutDlg(int release);

  // Opens the window owned by owner (may be null), centred on it, and
  // returns when it is closed.
  static void ShowAbout(HWND owner, int release);

  // The firmware line: text 16, ": v", the first hexadecimal digit of the
  // release, ".", its last two digits. 0x0105 gives "...: v1.05", 0x1234
  // "...: v1.34", 0 "...: v0.0".
  static DUI::CString FirmwareLine(int release);

  void InitUI(DUI::CRect client) override;
  int OnInitDialog() override;
  DUI::LRESULT OnMessage(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;

 private:
  int m_release = 0;
};

}  // namespace ui
