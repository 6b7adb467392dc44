#include "toolkit/core/CRoundArea.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MRender.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CRoundArea", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new CRoundArea(p, id, r, v, e);
})

CRoundArea::CRoundArea(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControl(parent, id, rect, visible, enabled, 0) {}

void CRoundArea::SetColor(Color colour) {
  if (colour == m_colour) return;
  m_colour = colour;
  if (m_visible) UpdateControl(1, 0);
}

void CRoundArea::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    MRender::DrawColor(m_cacheDC, CRect(0, 0, w, h), m_colour);
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
