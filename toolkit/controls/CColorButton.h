#pragma once
// CColorButton: a swatch that shows one colour and is checked as one of a
// group of swatches (the preset and slot colours of the lighting page and
// the colour dialog). A press checks it and unchecks every sibling swatch
// of the same group name; swatches of another group or another parent are
// never touched. Class name "ColorButton".
//
// Its cache holds four columns, each the whole swatch in the colour:
// normal, hover (white outline), checked or pressed (white outline) and
// disabled (grey outline). Notifications: code 1 on press, code 2 on a
// release inside after the press.

#include "toolkit/core/MControlFont.h"

namespace DUI {

class CColorButton : public MControlFont {
 public:
  CColorButton(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  const wchar_t* GetClassNameW() const override { return L"ColorButton"; }

  // The colour as COLORREF (0x00BBGGRR); a change asks for a redraw.
  void SetColor(COLORREF colour);
  COLORREF GetColor() const { return m_colour; }
  // Enabled only: stores the check (state pressed or normal) and, when it
  // changed, unchecks the group. Returns the check.
  int SetCheck(int check);
  int GetCheck() const { return m_check; }
  void SetGroupName(const wchar_t* name);
  CString GetGroupName() const { return m_groupName; }
  // Without the border the columns show the bare colour in every state.
  void SetVisibleBorder(bool visible);
  int GetState() const { return m_state; }
  // The column of the cache shown now.
  int GetShownColumn() const;

  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;

 private:
  void SetState(int state);
  // Unchecks every sibling swatch of this group (not this one).
  void ResetGroupCheck();

  COLORREF m_colour = 0xFFFFFF;
  int m_check = 0;
  int m_state = 0;  // 0 normal, 1 hover, 2 pressed
  CString m_groupName;
  int m_border = 1;
  bool m_pressed = false;
};

}  // namespace DUI
