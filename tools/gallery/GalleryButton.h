#pragma once
// GalleryButton: a four-state push button (normal, hover, pressed,
// disabled) drawn from a four-frame skin strip stretched as a nine-grid,
// with a centred title. It is the gallery's own control class, attached to
// the dialog like a program-defined control; it sends CN_PRESS when the
// left button goes down on it and CN_CLICK when the click completes.

#include "toolkit/core/MControlFont.h"

class GalleryButton : public DUI::MControlFont {
 public:
  GalleryButton(DUI::MObject* parent, DUI::UINT id, DUI::CRect rect, const wchar_t* title);

  void DrawControl(DUI::HDC& dc, DUI::CRect clip) override;
  int OnControlMouseMove(DUI::UINT flags, DUI::CPoint pt) override;
  int OnControlLButtonDown(DUI::UINT flags, DUI::CPoint pt) override;
  int OnControlLButtonUp(DUI::UINT flags, DUI::CPoint pt) override;
  void SetControlEnabled(int enabled) override;
  int GetState() const { return m_state; }

 private:
  void SetState(int state);

  int m_state = 0;  // 0 normal, 1 hover, 2 pressed, 3 disabled
  int m_frame = 8;  // nine-grid corner
};
