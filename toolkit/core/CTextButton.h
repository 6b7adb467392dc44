#pragma once
// CTextButton: a button that is only its title, drawn in one of four
// colours by state (normal, hover, pressed, disabled), as a link is. It
// follows the four-state input rules but leaves the cursor alone; CN_PRESS
// on a press, CN_CLICK on a completed click.

#include "toolkit/core/FourStateInput.h"
#include "toolkit/core/MControlFont.h"

namespace DUI {

class CTextButton : public MControlFont {
 public:
  CTextButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  // Until this is called the normal colour follows the text colour; hover
  // and pressed are the accent colour, disabled 0xFF808080.
  void SetTextButtonColor(Color normal, Color hover, Color pressed, Color disabled);
  Color GetStateColor(int state) const;
  int GetState() const { return m_input.State(); }

  void SetTextColor(Color colour) override;
  void SetControlEnabled(int enabled) override;
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;

 private:
  FourStateInput m_input{*this, false};
  Color m_colours[4];
  bool m_ownColours = false;
};

}  // namespace DUI
