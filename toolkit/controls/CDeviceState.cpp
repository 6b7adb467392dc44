#include "toolkit/controls/CDeviceState.h"

#include <algorithm>

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CDeviceState", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new CDeviceState(p, id, r, t, v, e);
})

CDeviceState::CDeviceState(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 0) {
  m_gdiText = 1;
  m_hAlign = DT_CENTER;
  m_imageCount = 1;
}

void CDeviceState::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    if (m_image != nullptr && m_imageWidth > 0) {
      const int corner = std::min({kCorner, w / 2, h / 2, m_imageWidth / 2, m_imageHeight / 2});
      MRender::DrawImageFrame(m_cacheDC, m_image, CRect(0, 0, w, h), 0, 0, m_imageWidth, m_imageHeight, corner);
    }
    DrawControlText(m_cacheDC, CRect(kPadding, 0, std::max(kPadding, w - kPadding), h), m_title, m_textColor);
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
