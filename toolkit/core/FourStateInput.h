#pragma once
// FourStateInput: the input rules every four-state button shares (0 normal,
// 1 hover, 2 pressed, 3 disabled), kept apart from the drawing so that
// buttons of different bases (MButton, CTextButton, CIconButton) follow
// them alike.
//   - A move while enabled and not pressed: hover inside, normal outside.
//   - A left press inside while enabled: pressed, CN_PRESS.
//   - A left release while enabled: hover inside, normal outside; the
//     owner decides what a release inside completes.
// A disabled button ignores all of it. State changes ask for redraw 0: the
// owner's cache holds every state, only another column is copied.

#include "toolkit/core/MControl.h"

namespace DUI {

class FourStateInput {
 public:
  enum class Release { Ignored, Outside, Inside, InsideAfterPress };

  FourStateInput(MControl& owner, bool handCursor) : m_owner(owner), m_handCursor(handCursor) {}

  int State() const { return m_state; }
  void SetState(int state);
  // Sets the state without a redraw request (at construction).
  void InitState(int state) { m_state = state; }
  // Disabling shows state 3, enabling state 0.
  void Enable(int enabled) { SetState(enabled ? 0 : 3); }

  // Each returns what the control's hook returns: 1 when handled.
  int Move(CPoint pt);
  int Press(CPoint pt);
  Release Up(CPoint pt);

 private:
  MControl& m_owner;
  bool m_handCursor;
  int m_state = 0;
};

}  // namespace DUI
