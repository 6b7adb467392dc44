#include "toolkit/core/LongPressButton.h"

#include "platform/window/Window.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"LongPressButton",
                      [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
                        return new LongPressButton(p, id, r, t, v, e);
                      })

namespace {
constexpr UINT kTimerKey = 1;
}  // namespace

LongPressButton::LongPressButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled)
    : MButton(parent, id, rect, title, visible, enabled) {}

LongPressButton::~LongPressButton() { StopTimer(); }

void LongPressButton::StopTimer() {
  if (m_timing && m_manager != nullptr) m_manager->KillTimer(this, kTimerKey);
  m_timing = false;
}

int LongPressButton::OnControlLButtonDown(UINT flags, CPoint pt) {
  const int handled = MButton::OnControlLButtonDown(flags, pt);
  if (handled && m_manager != nullptr) {
    m_since = platform::GetTickCount64();
    m_timing = m_manager->SetTimer(this, kTimerKey, kCheckMs) != 0 || m_timing;
  }
  return handled;
}

int LongPressButton::OnControlLButtonUp(UINT flags, CPoint pt) {
  StopTimer();
  return MButton::OnControlLButtonUp(flags, pt);
}

int LongPressButton::OnControlTimer() {
  if (GetState() != 2) {
    StopTimer();
    return 0;
  }
  const uint64_t now = platform::GetTickCount64();
  if (now - m_since <= kRepeatMs) return 0;
  m_since = now;
  SendMessageW(CN_REPEAT, 0, 0);
  return 1;
}

void LongPressButton::SetControlEnabled(int enabled) {
  if (!enabled) StopTimer();
  MButton::SetControlEnabled(enabled);
}

void LongPressButton::SetControlVisible(int visible) {
  if (!visible) StopTimer();
  MButton::SetControlVisible(visible);
}

}  // namespace DUI
