#pragma once
// LongPressButton: a push button that repeats while held. Each time more
// than 300 ms have passed since the press (or the last repeat) with the
// button still pressed, it sends CN_REPEAT; the check runs on a window
// timer that lives only as long as the press.

#include <cstdint>

#include "toolkit/core/MButton.h"

namespace DUI {

class LongPressButton : public MButton {
 public:
  LongPressButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
  ~LongPressButton() override;

  static constexpr uint64_t kRepeatMs = 300;
  static constexpr UINT kCheckMs = 50;

  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlTimer() override;
  void SetControlEnabled(int enabled) override;
  void SetControlVisible(int visible) override;

 private:
  void StopTimer();

  uint64_t m_since = 0;
  bool m_timing = false;
};

}  // namespace DUI
