#include "toolkit/core/CArea.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MRender.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CArea", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new CArea(p, id, r, v, e);
})

CArea::CArea(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControl(parent, id, rect, visible, enabled, 0) {}

void CArea::SetTransparent(int from, int to, COLORREF colour) {
  m_from = from;
  m_to = to;
  m_colour = colour;
  if (m_visible) UpdateControl(1, 0);
}

void CArea::SetFrame(int frame, Color frameColour, int) {
  m_frame = frame;
  m_frameColour = frameColour;
  if (m_visible) UpdateControl(1, 0);
}

void CArea::SetDirection(int vertical) {
  m_vertical = vertical ? 1 : 0;
  if (m_visible) UpdateControl(1, 0);
}

void CArea::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    const Color fill(MRender::ToARGB(m_colour, 254));
    const CRect all(0, 0, w, h);
    if (m_from != 0 || m_to != 0) {
      MDC layer(w, h);
      HDC src = &layer;
      MRender::FillRectRaw(src, all, fill);
      if (m_vertical) MRender::DrawVerticalTransition(m_cacheDC, src, all, all, m_from, m_to);
      else MRender::DrawHorizontalTransition(m_cacheDC, src, all, all, m_from, m_to);
    } else if (m_frame) {
      MRender::FillRectRaw(m_cacheDC, all, m_frameColour);
      MRender::FillRectRaw(m_cacheDC, CRect(1, 1, w - 1, h - 1), fill);
    } else {
      MRender::FillRectRaw(m_cacheDC, all, fill);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
