#pragma once
// CCheckButton: a check box with its title to the right of the box image.
// Eight states select the cache column: 0 to 3 unchecked (normal, hover,
// pressed, disabled), 4 to 7 checked in the same order, each rendered from
// the same frame of an eight-frame strip. A completed click flips the check
// and sends CN_CLICK; Space while the box has the keyboard focus flips it
// and sends CN_CHECK with the new state. SetCheck sends nothing.

#include "toolkit/core/MControlFont.h"

namespace DUI {

class CCheckButton : public MControlFont {
 public:
  CCheckButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  // Ignored while disabled; returns the check state.
  virtual int SetCheck(int check);
  int GetCheck() const { return m_check; }
  int GetState() const { return m_state; }
  int HasKeyFocus() const { return m_keyFocus; }
  void SetCheckedTextColor(Color colour);
  Color GetCheckedTextColor() const { return m_checkedColor; }

  void SetControlEnabled(int enabled) override;
  int SetControlFocus(int focus) override;
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) override;

  static constexpr int kColumns = 8;

 protected:
  // What a click or Space does to the check: a check box flips it.
  virtual void Toggle();
  // Stores the check and shows its resting column, without notifying.
  void StoreCheck(int check);
  void SetState(int state);
  int RestState(bool hover) const { return (m_check ? 4 : 0) + (hover ? 1 : 0); }
  void RenderColumn(int i, int w, int h);

  int m_check = 0;
  int m_state = 0;
  int m_pressed = 0;
  // The keyboard focus of the box itself. It is not the base's "focused"
  // flag, which would route every key of the parent to this control.
  int m_keyFocus = 0;
  Color m_checkedColor{0xFFFFFFFF};
};

}  // namespace DUI
