#include "toolkit/core/MButton.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new MButton(p, id, r, t, v, e);
})

MButton::MButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
  if (!enabled) m_input.InitState(3);
}

MButton::~MButton() = default;

int MButton::SetIconImage(const wchar_t* file, int count) {
  if (file == nullptr || count <= 0) return 0;
  std::unique_ptr<Image> icon(MRender::LoadImageFromFile(MRender::GetSkinFolder() + file));
  if (!icon) return 0;
  m_icon = std::move(icon);
  m_iconCount = count;
  m_iconWidth = m_icon->Width() / count;
  m_iconHeight = m_icon->Height();
  if (m_visible) UpdateControl(1, 0);
  return 1;
}

void MButton::SetTextRect(CRect text) {
  m_textRect = text;
  if (m_visible) UpdateControl(1, 0);
}

void MButton::SetFrameSize(int frame) {
  if (frame == m_frameSize) return;
  m_frameSize = frame;
  if (m_visible) UpdateControl(1, 0);
}

void MButton::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  m_input.Enable(enabled);
}

// --- Input ----------------------------------------------------------------------------

int MButton::OnControlMouseMove(UINT, CPoint pt) { return m_input.Move(pt); }

int MButton::OnControlLButtonDown(UINT, CPoint pt) { return m_input.Press(pt); }

void MButton::OnReleaseInside(bool) {}

int MButton::OnControlLButtonUp(UINT, CPoint pt) {
  using Release = FourStateInput::Release;
  const Release release = m_input.Up(pt);
  if (release == Release::Ignored) return 0;
  if (release != Release::Outside) {
    const bool pressed = release == Release::InsideAfterPress;
    OnReleaseInside(pressed);
    if (pressed || ClickWithoutPress()) SendMessageW(CN_CLICK, 0, ClickParam());
  }
  return 1;
}

// --- Rendering --------------------------------------------------------------------------

void MButton::DrawBackground(int i, CRect box) {
  if (m_image == nullptr || m_imageWidth <= 0 || m_imageHeight <= 0) return;
  // A strip with fewer frames than states repeats its last frame.
  const int frame = m_imageCount > 0 && i >= m_imageCount ? m_imageCount - 1 : i;
  MRender::DrawImageFrame(m_cacheDC, m_image, box, frame * m_imageWidth, 0, m_imageWidth, m_imageHeight,
                          m_frameSize);
}

void MButton::DrawCentredTitle(CRect box, Color colour) {
  if (m_title.empty()) return;
  // The title is always centred, whatever alignment the control carries.
  const UINT h = m_hAlign, v = m_vAlign;
  m_hAlign = DT_CENTER;
  m_vAlign = DT_VCENTER;
  DrawControlText(m_cacheDC, box, m_title, colour);
  m_hAlign = h;
  m_vAlign = v;
}

void MButton::RenderColumn(int i, int w, int h) {
  const CRect column(i * w, 0, (i + 1) * w, h);
  DrawBackground(i, column);
  if (m_icon) {
    const int x = column.left + (w - m_iconWidth) / 2;
    const int y = (h - m_iconHeight) / 2;
    MRender::DrawImage(m_cacheDC, m_icon.get(), CRect(x, y, x + m_iconWidth, y + m_iconHeight),
                       IconFrame(i) * m_iconWidth, 0, m_iconWidth, m_iconHeight);
  }
  CRect text = m_textRect.IsRectEmpty() ? CRect(0, 0, w, h) : m_textRect;
  text.OffsetRect(column.left, 0);
  if (i == 2) text.OffsetRect(1, 1);
  DrawCentredTitle(text, i == 3 ? Color(0xFF808080) : m_textColor);
}

void MButton::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, kColumns * w, h);
    for (int i = 0; i < kColumns; ++i) {
      MRender::BitBlt(m_cacheDC, i * w, 0, w, h, dc, m_rect.left, m_rect.top);
      // Nothing of one state may spill into the next column.
      platform::Canvas& canvas = m_cacheDC->Canvas();
      canvas.Save();
      canvas.ClipRect(RECT{i * w, 0, (i + 1) * w, h});
      RenderColumn(i, w, h);
      canvas.Restore();
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, DisplayColumn() * w, 0);
}

}  // namespace DUI
