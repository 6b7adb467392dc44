#include "toolkit/core/CTextButton.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CTextButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new CTextButton(p, id, r, t, v, e);
})

CTextButton::CTextButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1),
      m_colours{m_textColor, Manager::GetSelectColor(), Manager::GetSelectColor(), Color(0xFF808080)} {
  if (!enabled) m_input.InitState(3);
}

void CTextButton::SetTextButtonColor(Color normal, Color hover, Color pressed, Color disabled) {
  m_colours[0] = normal;
  m_colours[1] = hover;
  m_colours[2] = pressed;
  m_colours[3] = disabled;
  m_ownColours = true;
  if (m_visible) UpdateControl(1, 0);
}

Color CTextButton::GetStateColor(int state) const { return m_colours[state & 3]; }

void CTextButton::SetTextColor(Color colour) {
  MControlFont::SetTextColor(colour);
  if (!m_ownColours) m_colours[0] = colour;
}

void CTextButton::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  m_input.Enable(enabled);
}

int CTextButton::OnControlMouseMove(UINT, CPoint pt) { return m_input.Move(pt); }

int CTextButton::OnControlLButtonDown(UINT, CPoint pt) { return m_input.Press(pt); }

int CTextButton::OnControlLButtonUp(UINT, CPoint pt) {
  const FourStateInput::Release release = m_input.Up(pt);
  if (release == FourStateInput::Release::Ignored) return 0;
  if (release == FourStateInput::Release::InsideAfterPress) SendMessageW(CN_CLICK, 0, 0);
  return 1;
}

void CTextButton::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, 4 * w, h);
    for (int i = 0; i < 4; ++i) {
      MRender::BitBlt(m_cacheDC, i * w, 0, w, h, dc, m_rect.left, m_rect.top);
      CRect box(i * w, 0, (i + 1) * w, h);
      if (!m_title.empty()) {
        MRender::DrawTextARGB(m_cacheDC, box, m_title.c_str(), m_colours[i], GetGDIFont(),
                              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS);
      }
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, m_input.State() * w, 0);
}

}  // namespace DUI
