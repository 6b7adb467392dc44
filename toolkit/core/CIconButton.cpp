#include "toolkit/core/CIconButton.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CIconButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new CIconButton(p, id, r, t, v, e);
})

CIconButton::CIconButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
  m_hAlign = DT_CENTER;
  if (!enabled) m_input.InitState(3);
}

CIconButton::~CIconButton() = default;

int CIconButton::SetIconImage(const wchar_t* file, int count) {
  if (file == nullptr || count <= 0) return 0;
  // Skin names may use either separator ("icon\\icon_rec.png").
  std::unique_ptr<Image> icon(MRender::LoadSkinImage(file));
  if (!icon) return 0;
  m_icon = std::move(icon);
  m_iconCount = count;
  m_iconWidth = m_icon->Width() / count;
  m_iconHeight = m_icon->Height();
  if (m_visible) UpdateControl(1, 0);
  return 1;
}

void CIconButton::SetTextRect(CRect text, CRect icon) {
  m_textRect = text;
  m_iconRect = icon;
  if (m_visible) UpdateControl(1, 0);
}

void CIconButton::SetTextButtonColor(Color normal, Color hover, Color pressed, Color disabled) {
  m_colours[0] = normal;
  m_colours[1] = hover;
  m_colours[2] = pressed;
  m_colours[3] = disabled;
  if (m_visible) UpdateControl(1, 0);
}

void CIconButton::SetFrameSize(int frame) {
  if (frame == m_frameSize) return;
  m_frameSize = frame;
  if (m_visible) UpdateControl(1, 0);
}

void CIconButton::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  m_input.Enable(enabled);
}

int CIconButton::OnControlMouseMove(UINT, CPoint pt) { return m_input.Move(pt); }

int CIconButton::OnControlLButtonDown(UINT, CPoint pt) { return m_input.Press(pt); }

int CIconButton::OnControlLButtonUp(UINT, CPoint pt) {
  const FourStateInput::Release release = m_input.Up(pt);
  if (release == FourStateInput::Release::Ignored) return 0;
  if (release == FourStateInput::Release::InsideAfterPress) SendMessageW(CN_CLICK, 0, 0);
  return 1;
}

void CIconButton::RenderColumn(int i, int w, int h) {
  const int x0 = i * w;
  if (m_image != nullptr && m_imageWidth > 0) {
    const int frame = i >= m_imageCount ? m_imageCount - 1 : i;
    MRender::DrawImageFrame(m_cacheDC, m_image, CRect(x0, 0, x0 + w, h), frame * m_imageWidth, 0, m_imageWidth,
                            m_imageHeight, m_frameSize);
  }
  if (m_icon) {
    const int frame = m_iconCount > 1 ? (i < m_iconCount ? i : m_iconCount - 1) : 0;
    const int x = x0 + m_iconRect.left;
    const int y = (h - m_iconHeight) / 2;
    MRender::DrawImage(m_cacheDC, m_icon.get(), CRect(x, y, x + m_iconWidth, y + m_iconHeight), frame * m_iconWidth,
                       0, m_iconWidth, m_iconHeight);
  }
  CRect text = m_textRect.IsRectEmpty() ? CRect(0, 0, w, h) : m_textRect;
  text.OffsetRect(x0, 0);
  DrawControlText(m_cacheDC, text, m_title, m_colours[i]);
}

void CIconButton::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, 4 * w, h);
    for (int i = 0; i < 4; ++i) {
      MRender::BitBlt(m_cacheDC, i * w, 0, w, h, dc, m_rect.left, m_rect.top);
      platform::Canvas& canvas = m_cacheDC->Canvas();
      canvas.Save();
      canvas.ClipRect(RECT{i * w, 0, (i + 1) * w, h});
      RenderColumn(i, w, h);
      canvas.Restore();
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, m_input.State() * w, 0);
}

}  // namespace DUI
