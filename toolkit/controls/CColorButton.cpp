#include "toolkit/controls/CColorButton.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/SiblingGroup.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CColorButton", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new CColorButton(p, id, r, v, e);
})

namespace {
constexpr int kColumns = 4;
constexpr ARGB kOutlineWhite = 0xFFFFFFFF;
constexpr ARGB kOutlineGrey = 0xFF808080;
}  // namespace

CColorButton::CColorButton(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, nullptr, visible, enabled, 1) {}

void CColorButton::SetColor(COLORREF colour) {
  colour &= 0xFFFFFF;
  if (colour == m_colour) return;
  m_colour = colour;
  UpdateControl(1, 0);
}

int CColorButton::SetCheck(int check) {
  if (!m_enabled) return m_check;
  const int before = m_check;
  m_check = check != 0 ? 1 : 0;
  m_state = m_check ? 2 : 0;
  if (m_check != before) {
    ResetGroupCheck();
    UpdateControl(0, 0);
  }
  return m_check;
}

void CColorButton::SetGroupName(const wchar_t* name) { m_groupName = name != nullptr ? name : L""; }

void CColorButton::SetVisibleBorder(bool visible) {
  const int border = visible ? 1 : 0;
  if (border == m_border) return;
  m_border = border;
  UpdateControl(1, 0);
}

int CColorButton::GetShownColumn() const {
  if (!m_enabled) return 3;
  return m_check ? 2 : m_state;
}

void CColorButton::SetState(int state) {
  if (state == m_state) return;
  m_state = state;
  UpdateControl(0, 0);
}

void CColorButton::ResetGroupCheck() {
  ForEachSameClassSibling(*this, [&](MControl* sibling) {
    auto* swatch = dynamic_cast<CColorButton*>(sibling);
    if (swatch == nullptr || swatch->m_groupName != m_groupName || !swatch->m_check) return;
    swatch->m_check = 0;
    swatch->m_state = 0;
    swatch->UpdateControl(0, 0);
  });
}

int CColorButton::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  if (!m_pressed) SetState(m_rect.PtInRect(pt) ? 1 : 0);
  return m_rect.PtInRect(pt) ? 1 : 0;
}

int CColorButton::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled || !m_rect.PtInRect(pt)) return 0;
  m_pressed = true;
  m_state = 2;
  m_check = 1;
  ResetGroupCheck();
  UpdateControl(0, 0);
  SendMessageW(CN_PRESS, 0, 0);
  return 1;
}

int CColorButton::OnControlLButtonUp(UINT, CPoint pt) {
  const bool wasPressed = m_pressed;
  m_pressed = false;
  const bool inside = m_rect.PtInRect(pt) != 0;
  SetState(inside ? 1 : 0);
  if (wasPressed && inside && m_enabled) SendMessageW(CN_CLICK, 0, 0);
  return wasPressed ? 1 : 0;
}

void CColorButton::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w * kColumns, h);
    COLORREF fill = m_colour;
    MRender::CheckAlphaColor(fill);
    for (int column = 0; column < kColumns; ++column) {
      const int x = column * w;
      MRender::FillSolidRect(m_cacheDC, x, 0, w, h, fill);
      if (column == 0 || !m_border) continue;
      // A 2-pixel pen centred on (1, 1, w - 2, h - 2) covers the swatch's
      // outer two pixels.
      const ARGB outline = column == 3 ? kOutlineGrey : kOutlineWhite;
      MRender::DrawRectangle(m_cacheDC, CRect(x + 1, 1, x + w - 1, h - 1), Color(outline), 2.0f);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, GetShownColumn() * w, 0);
}

}  // namespace DUI
