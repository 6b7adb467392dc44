#include "toolkit/core/FourStateInput.h"

#include "toolkit/core/PaintManager.h"

namespace DUI {

void FourStateInput::SetState(int state) {
  if (state == m_state) return;
  m_state = state;
  m_owner.UpdateControl(0, 0);
}

int FourStateInput::Move(CPoint pt) {
  if (!m_owner.IsEnabled() || m_owner.IsPressedInside()) return 0;
  const bool inside = m_owner.GetRect().PtInRect(pt);
  const int before = m_state;
  SetState(inside ? 1 : 0);
  if (m_handCursor && m_owner.GetManager() != nullptr) {
    // The arrow comes back only when the pointer leaves this button, so a
    // button the pointer is not over never takes the cursor from another.
    if (inside) m_owner.GetManager()->SetCursor(IDC_HAND);
    else if (before == 1) m_owner.GetManager()->SetCursor(IDC_ARROW);
  }
  return (before != m_state || inside) ? 1 : 0;
}

int FourStateInput::Press(CPoint pt) {
  if (!m_owner.IsEnabled() || !m_owner.GetRect().PtInRect(pt)) return 0;
  if (m_handCursor && m_owner.GetManager() != nullptr) m_owner.GetManager()->SetCursor(IDC_HAND);
  SetState(2);
  m_owner.SendMessageW(CN_PRESS, 0, 0);
  return 1;
}

FourStateInput::Release FourStateInput::Up(CPoint pt) {
  if (!m_owner.IsEnabled()) return Release::Ignored;
  const bool pressed = m_state == 2;
  if (!m_owner.GetRect().PtInRect(pt)) {
    SetState(0);
    return Release::Outside;
  }
  SetState(1);
  return pressed ? Release::InsideAfterPress : Release::Inside;
}

}  // namespace DUI
