#pragma once
// CIconButton: a four-state button with a background strip (nine-grid), an
// icon strip and a title, each state with its own text colour. The icon's
// left edge comes from the icon rectangle and it is centred vertically; the
// title is drawn in the text rectangle (the whole button when empty) with
// the control's alignment, centred by default. Hover shows the hand cursor;
// CN_PRESS on a press, CN_CLICK on a completed click.

#include <memory>

#include "toolkit/core/FourStateInput.h"
#include "toolkit/core/MControlFont.h"

namespace DUI {

class CIconButton : public MControlFont {
 public:
  CIconButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
  ~CIconButton() override;

  // The icon strip (owned by the button): frame width = width / count.
  int SetIconImage(const wchar_t* file, int count);
  // The text rectangle and the rectangle whose left edge places the icon,
  // both relative to the control.
  void SetTextRect(CRect text, CRect icon);
  // Defaults: white, white, white, 0xFF323232.
  void SetTextButtonColor(Color normal, Color hover, Color pressed, Color disabled);
  Color GetStateColor(int state) const { return m_colours[state & 3]; }
  void SetFrameSize(int frame);
  int GetState() const { return m_input.State(); }
  const Image* GetIconImage() const { return m_icon.get(); }

  void SetControlEnabled(int enabled) override;
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;

 private:
  void RenderColumn(int i, int w, int h);

  FourStateInput m_input{*this, true};
  std::unique_ptr<Image> m_icon;
  int m_iconWidth = 0;
  int m_iconHeight = 0;
  int m_iconCount = 1;
  CRect m_textRect;
  CRect m_iconRect;
  Color m_colours[4] = {Color(0xFFFFFFFF), Color(0xFFFFFFFF), Color(0xFFFFFFFF), Color(0xFF323232)};
  int m_frameSize = 8;
};

}  // namespace DUI
