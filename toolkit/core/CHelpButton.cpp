#include "toolkit/core/CHelpButton.h"

#include "platform/window/Window.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CHelpButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new CHelpButton(p, id, r, t, v, e);
})

CHelpButton::CHelpButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
  m_imageCount = 1;
  m_hAlign = DT_CENTER;
}

CHelpButton::~CHelpButton() = default;

void CHelpButton::ShowBubble() {
  if (m_manager == nullptr || m_manager->GetPaintWnd() == nullptr || m_title.empty()) return;
  if (m_bubble && m_bubble->IsShown()) return;
  if (!m_bubble) {
    m_bubble = std::make_unique<BubbleWnd>();
    if (!m_bubble->CreateBubble(m_manager->GetPaintWnd())) {
      m_bubble.reset();
      return;
    }
  }
  POINT corner{m_rect.left + 20, m_rect.top};
  platform::ClientToScreen(m_manager->GetPaintWnd(), &corner);
  m_bubble->ShowBubble(m_title, CPoint(corner));
}

void CHelpButton::HideBubble() {
  if (m_bubble) m_bubble->Hide();
}

int CHelpButton::OnControlMouseMove(UINT, CPoint pt) {
  // The window hands a move to (-1, -1) when the pointer leaves it or the
  // window is deactivated, so this also covers those.
  const bool inside = m_enabled && m_rect.PtInRect(pt);
  if (inside) ShowBubble();
  else HideBubble();
  return inside ? 1 : 0;
}

void CHelpButton::SetControlVisible(int visible) {
  MControlFont::SetControlVisible(visible);
  if (!visible) HideBubble();
}

void CHelpButton::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  if (!enabled) HideBubble();
}

void CHelpButton::SetControlTitle(const wchar_t* title) {
  MControlFont::SetControlTitle(title);
  // A bubble on screen shows the new text at once.
  if (m_bubble && m_bubble->IsShown()) {
    m_bubble->Hide();
    ShowBubble();
  }
}

void CHelpButton::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    if (m_image != nullptr && m_imageWidth > 0) {
      const CPoint at = MRender::GetOriginPoint(w, h, m_imageWidth, m_imageHeight, m_hAlign, m_vAlign);
      MRender::DrawImage(m_cacheDC, m_image, CRect(at.x, at.y, at.x + m_imageWidth, at.y + m_imageHeight), 0, 0,
                         m_imageWidth, m_imageHeight);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
