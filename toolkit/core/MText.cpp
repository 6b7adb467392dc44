#include "toolkit/core/MText.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MText", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new MText(p, id, r, t, v, e);
})

MText::MText(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 0) {}

void MText::SetMultiLine(int multiLine) {
  if (m_multiLine == multiLine) return;
  m_multiLine = multiLine;
  if (m_visible) UpdateControl(1, 0);
}

void MText::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    const bool multi = m_multiLine || m_title.find(L'\n') != CString::npos;
    DrawControlText(m_cacheDC, CRect(0, 0, w, h), m_title, m_textColor, multi);
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
