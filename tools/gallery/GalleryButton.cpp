#include "tools/gallery/GalleryButton.h"

using namespace DUI;

GalleryButton::GalleryButton(MObject* parent, UINT id, CRect rect, const wchar_t* title)
    : MControlFont(parent, id, rect, title, 1, 1, 1) {
  m_hAlign = 1;
  SetCursorEx(L"hand");
}

void GalleryButton::SetState(int state) {
  if (state == m_state) return;
  m_state = state;
  // The cache holds all four states: only another column is copied.
  UpdateControl(0, 0);
}

void GalleryButton::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  m_state = enabled ? 0 : 3;
  UpdateControl(0, 0);
}

int GalleryButton::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_enabled || m_pressedInside) return 0;
  const int before = m_state;
  SetState(m_rect.PtInRect(pt) ? 1 : 0);
  return before != m_state ? 1 : (m_state == 1 ? 1 : 0);
}

int GalleryButton::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled || !m_rect.PtInRect(pt)) return 0;
  SetState(2);
  SendMessageW(CN_PRESS, 0, 0);
  return 1;
}

int GalleryButton::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  const bool wasPressed = m_state == 2;
  if (m_rect.PtInRect(pt)) {
    SetState(1);
    if (wasPressed) SendMessageW(CN_CLICK, 0, 0);
  } else {
    SetState(0);
  }
  return 1;
}

void GalleryButton::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, 4 * w, h);
    for (int i = 0; i < 4; ++i) {
      MRender::BitBlt(m_cacheDC, i * w, 0, w, h, dc, m_rect.left, m_rect.top);
      if (m_image != nullptr) {
        MRender::DrawImageFrame(m_cacheDC, m_image, CRect(i * w, 0, (i + 1) * w, h), i * m_imageWidth, 0,
                                m_imageWidth, m_imageHeight, m_frame);
      }
      CRect text(i * w, 0, (i + 1) * w, h);
      if (i == 2) text.OffsetRect(1, 1);
      DrawControlText(m_cacheDC, text, m_title, i == 3 ? Color(0xFF808080) : m_textColor);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, m_state * w, 0);
}
