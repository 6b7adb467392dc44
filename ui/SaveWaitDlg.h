#pragma once
// SaveWaitDlg: the modeless "saving" notice shown for two seconds after a
// change is sent to the mouse: the logo (id 31), a line of text (id 32)
// and a running progress bar (id 33) on the window's multimedia timer.
// Each Restart shows it again for 2000 ms from then, so changes in quick
// succession keep it up until two seconds after the last. It is created
// once and reused; hidden, it costs no wake-ups (its window's timers stand
// still).

#include "toolkit/core/MDialog.h"

namespace DUI {
class MPicture;
class MText;
class MProgress2;
}  // namespace DUI

namespace ui {

class SaveWaitDlg : public DUI::MDialog {
 public:
  static constexpr DUI::UINT kLogoId = 31;
  static constexpr DUI::UINT kTextId = 32;
  static constexpr DUI::UINT kProgressId = 33;
  static constexpr DUI::UINT kHideTimer = 200;
  static constexpr DUI::UINT kShowMs = 2000;
  static constexpr DUI::UINT kProgressPeriodMs = 2;
  static constexpr int kWidth = 360;
  static constexpr int kHeight = 160;
  // The language file's text the notice shows.
  static constexpr int kLanguageTextId = 21;

  // Creates the window, owned by owner and centred on it, and shows it
  // (the first showing lasts 2000 ms like every restart).
  HWND CreateWait(HWND owner);
  // Restarts the progress and shows the window for 2000 ms from now.
  void Restart();
  int GetRestartCount() const { return m_restarts; }
  // The multimedia timer that runs the progress.
  DUI::UINT GetProgressTimer() const { return m_progressTimer; }

  DUI::MPicture* GetLogo() const { return m_logo; }
  DUI::MText* GetText() const { return m_text; }
  DUI::MProgress2* GetProgress() const { return m_progress; }

  void InitUI(DUI::CRect client) override;
  int OnInitDialog() override;
  void OnTimer(DUI::UINT id) override;

 private:
  DUI::MPicture* m_logo = nullptr;
  DUI::MText* m_text = nullptr;
  DUI::MProgress2* m_progress = nullptr;
  int m_restarts = 0;
  DUI::UINT m_progressTimer = 0;
};

}  // namespace ui
