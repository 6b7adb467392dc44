#include "toolkit/core/CCheckButton.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CCheckButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new CCheckButton(p, id, r, t, v, e);
})

namespace {
constexpr UINT kSpace = 32;
constexpr ARGB kDisabledText = 0xFF808080;
}  // namespace

CCheckButton::CCheckButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
  m_textColor = Color(0xFFC8C8C8);
  m_textBrush = m_textColor;
  m_imageCount = kColumns;
  m_vAlign = DT_VCENTER;
  if (!enabled) m_state = 3;
}

void CCheckButton::SetState(int state) {
  if (state == m_state) return;
  m_state = state;
  if (m_visible) UpdateControl(0, 0);
}

void CCheckButton::StoreCheck(int check) {
  const int before = m_check, beforeState = m_state;
  m_check = check ? 1 : 0;
  m_state = m_enabled ? RestState(false) : (m_check ? 7 : 3);
  if ((before != m_check || beforeState != m_state) && m_visible) UpdateControl(0, 0);
}

int CCheckButton::SetCheck(int check) {
  if (!m_enabled) return m_check;
  StoreCheck(check);
  return m_check;
}

void CCheckButton::Toggle() { StoreCheck(!m_check); }

void CCheckButton::SetCheckedTextColor(Color colour) {
  m_checkedColor = colour;
  if (m_visible) UpdateControl(1, 0);
}

void CCheckButton::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  m_pressed = 0;
  // A disabled box gives up its keyboard focus, so Space cannot reach it
  // once it is enabled again while another control has the focus.
  if (!enabled) m_keyFocus = 0;
  // A disabled box shows its disabled column, checked or not.
  SetState(enabled ? RestState(false) : (m_check ? 7 : 3));
}

int CCheckButton::SetControlFocus(int focus) {
  MControlFont::SetControlFocus(0);
  if (m_visible && m_enabled) {
    m_keyFocus = focus ? 1 : 0;
    UpdateControl(1, 0);
  }
  return 0;
}

// --- Input ------------------------------------------------------------------------------

int CCheckButton::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_enabled || m_pressed) return 0;
  const bool inside = m_rect.PtInRect(pt);
  SetState(RestState(inside));
  return inside ? 1 : 0;
}

int CCheckButton::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled || !m_rect.PtInRect(pt)) return 0;
  m_pressed = 1;
  if (m_check) {
    m_keyFocus = 1;
    SetState(6);
  } else {
    SetState(2);
  }
  return 1;
}

int CCheckButton::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  const bool pressed = m_pressed != 0;
  m_pressed = 0;
  if (pressed && m_rect.PtInRect(pt)) {
    Toggle();
    SendMessageW(CN_CLICK, 0, 0);
    SetState(RestState(true));
  } else {
    SetState(RestState(false));
  }
  return 1;
}

int CCheckButton::OnControlKeyDown(UINT vk, UINT, UINT modifiers) {
  if (vk != kSpace || modifiers != 0 || !m_keyFocus || !m_enabled) return 0;
  Toggle();
  SendMessageW(CN_CHECK, 0, m_check);
  return 1;
}

// --- Rendering ----------------------------------------------------------------------------

void CCheckButton::RenderColumn(int i, int w, int h) {
  const int x0 = i * w;
  int boxWidth = 0;
  if (m_image != nullptr && m_imageWidth > 0) {
    const int frame = i >= m_imageCount ? m_imageCount - 1 : i;
    boxWidth = m_imageWidth;
    const int y = (h - m_imageHeight) / 2;
    MRender::DrawImage(m_cacheDC, m_image, CRect(x0, y, x0 + m_imageWidth, y + m_imageHeight), frame * m_imageWidth,
                       0, m_imageWidth, m_imageHeight);
  }
  if (m_title.empty()) return;
  const Color colour = (i == 3 || i == 7) ? Color(kDisabledText) : i >= 4 ? m_checkedColor : m_textColor;
  const CSize text = MRender::GetTextBounds(FontSpecFor(), m_title);
  // The alignment places the title within the room right of the box.
  const int left = boxWidth + 8, right = w - 3;
  const int room = right - left;
  const int dx = m_hAlign == DT_CENTER ? (room - text.cx) / 2 : m_hAlign == DT_RIGHT ? room - text.cx : 0;
  const int dy = m_vAlign == DT_VCENTER ? (h - text.cy) / 2 : m_vAlign == DT_BOTTOM ? h - text.cy : 0;
  CRect box(x0 + left + (dx > 0 ? dx : 0), dy + 2, x0 + right, dy + 2 + text.cy);
  MRender::DrawTextARGB(m_cacheDC, box, m_title.c_str(), colour, GetGDIFont(),
                        DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void CCheckButton::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, kColumns * w, h);
    for (int i = 0; i < kColumns; ++i) {
      MRender::BitBlt(m_cacheDC, i * w, 0, w, h, dc, m_rect.left, m_rect.top);
      platform::Canvas& canvas = m_cacheDC->Canvas();
      canvas.Save();
      canvas.ClipRect(RECT{i * w, 0, (i + 1) * w, h});
      RenderColumn(i, w, h);
      canvas.Restore();
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, m_state * w, 0);
}

}  // namespace DUI
