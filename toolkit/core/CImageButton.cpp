#include "toolkit/core/CImageButton.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CImageButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new CImageButton(p, id, r, t, v, e);
})

CImageButton::CImageButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton(parent, id, rect, title, visible, enabled) {}

void CImageButton::RenderColumn(int i, int w, int h) {
  const int x0 = i * w;
  if (m_image != nullptr && m_imageWidth > 0) {
    const int frame = i >= m_imageCount ? m_imageCount - 1 : i;
    MRender::DrawImage(m_cacheDC, m_image, CRect(x0, 0, x0 + m_imageWidth, m_imageHeight), frame * m_imageWidth, 0,
                       m_imageWidth, m_imageHeight);
  }
  if (m_icon) {
    const int x = x0 + (w - m_iconWidth) / 2 + 2;
    const int y = (h - m_iconHeight) / 2 - 4;
    MRender::DrawImage(m_cacheDC, m_icon.get(), CRect(x, y, x + m_iconWidth, y + m_iconHeight),
                       IconFrame(i) * m_iconWidth, 0, m_iconWidth, m_iconHeight);
  }
}

}  // namespace DUI
