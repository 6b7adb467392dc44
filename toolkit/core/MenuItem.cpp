#include "toolkit/core/MenuItem.h"

#include <algorithm>

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MenuItem", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new MenuItem(p, id, r, t, v, e);
})

namespace {

constexpr int kStates = 3;  // normal, hover, disabled
constexpr ARGB kDisabledText = 0xFF808080;
constexpr int kCheckBox = 12;

}  // namespace

MenuItem::MenuItem(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
  m_state = enabled ? 0 : 2;
}

// --- State -----------------------------------------------------------------------------

void MenuItem::SetSeparator(int separator) {
  if ((separator != 0) == (m_separator != 0)) return;
  m_separator = separator ? 1 : 0;
  // A separator is a line, not something to press.
  m_mouseResponse = m_separator ? 0 : 1;
  if (m_visible) UpdateControl(1, 0);
}

void MenuItem::SetCheck(int check) {
  if ((check != 0) == (m_check != 0)) return;
  m_check = check ? 1 : 0;
  if (m_visible) UpdateControl(1, 0);
}

void MenuItem::SetIndent(int indent) {
  if (indent == m_indent) return;
  m_indent = indent;
  if (m_visible) UpdateControl(1, 0);
}

void MenuItem::SetTextOffset(int offset) {
  if (offset == m_textOffset) return;
  m_textOffset = offset;
  if (m_visible) UpdateControl(1, 0);
}

void MenuItem::SetItemColor(Color colour) {
  if (colour == m_itemColor) return;
  m_itemColor = colour;
  if (m_visible) UpdateControl(1, 0);
}

void MenuItem::SetItemBkImage(const wchar_t* file) {
  const ImgResInfo* info = (m_manager != nullptr && file != nullptr && *file != 0)
                               ? m_manager->AddImgResInfo(file, kStates)
                               : nullptr;
  m_bkImage = info != nullptr ? info->image.get() : nullptr;
  m_bkWidth = info != nullptr ? info->frameWidth : 0;
  m_bkHeight = info != nullptr ? info->height : 0;
  if (m_visible) UpdateControl(1, 0);
}

void MenuItem::SetCheckImage(const wchar_t* file) {
  const ImgResInfo* info =
      (m_manager != nullptr && file != nullptr && *file != 0) ? m_manager->AddImgResInfo(file, 2) : nullptr;
  m_checkImage = info != nullptr ? info->image.get() : nullptr;
  m_checkWidth = info != nullptr ? info->frameWidth : 0;
  m_checkHeight = info != nullptr ? info->height : 0;
  if (m_visible) UpdateControl(1, 0);
}

void MenuItem::SetState(int state) {
  if (state == m_state) return;
  m_state = state;
  // Every state is in the cache: only another column is shown.
  UpdateControl(0, 0);
}

void MenuItem::SetHot(int hot) {
  if (!m_enabled || m_separator) return;
  SetState(hot ? 1 : 0);
}

void MenuItem::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  m_state = enabled ? 0 : 2;
}

// --- Input ------------------------------------------------------------------------------

int MenuItem::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_enabled || m_separator) return 0;
  SetState(m_rect.PtInRect(pt) ? 1 : 0);
  return m_state == 1 ? 1 : 0;
}

int MenuItem::OnControlLButtonDown(UINT, CPoint pt) {
  return (m_enabled && !m_separator && m_rect.PtInRect(pt)) ? 1 : 0;
}

int MenuItem::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_enabled || m_separator) return 0;
  if (!m_rect.PtInRect(pt)) {
    SetState(0);
    return 1;
  }
  SendMessageW(CN_CLICK, 0, 0);
  return 1;
}

// --- Drawing -----------------------------------------------------------------------------

void MenuItem::RenderState(HDC dc, int state, CRect cell) {
  const int h = cell.Height();
  if (m_separator) {
    MRender::FillRectRaw(dc, CRect(cell.left, cell.top, cell.right, cell.top + 1), m_itemColor);
    return;
  }
  if (m_bkImage != nullptr) {
    MRender::DrawImageFrame(dc, m_bkImage, cell, state * m_bkWidth, 0, m_bkWidth, m_bkHeight, 4);
  } else if (state == 1) {
    dc->Canvas().FillRoundRect(platform::RectF::FromRect(cell), 4.0f, 4.0f,
                               platform::Brush::SolidColor(m_itemColor.GetValue()));
  }
  int x = cell.left + m_indent;
  if (m_image != nullptr && m_imageWidth > 0) {
    // Frames: normal, hover, pressed, disabled.
    const int frame = state == 2 ? 3 : state;
    const int y = cell.top + (h - m_imageHeight) / 2;
    MRender::DrawImage(dc, m_image, CRect(x, y, x + m_imageWidth, y + m_imageHeight), frame * m_imageWidth, 0,
                       m_imageWidth, m_imageHeight);
  }
  x += std::max(m_textOffset, m_image != nullptr ? m_imageWidth + 6 : 0);
  const Color text = state == 2 ? Color(kDisabledText) : m_textColor;
  CRect textRect(x, cell.top, cell.right - (kCheckBox + 10), cell.bottom);
  DrawControlText(dc, textRect, m_title, text);
  if (!m_check) return;
  const int cx = cell.right - kCheckBox - 6, cy = cell.top + (h - kCheckBox) / 2;
  if (m_checkImage != nullptr) {
    MRender::DrawImage(dc, m_checkImage, CRect(cx, cy, cx + m_checkWidth, cy + m_checkHeight), m_checkWidth, 0,
                       m_checkWidth, m_checkHeight);
    return;
  }
  // A drawn tick in the accent colour.
  platform::Path tick;
  tick.MoveTo(float(cx + 1), float(cy + kCheckBox / 2));
  tick.LineTo(float(cx + kCheckBox / 2 - 1), float(cy + kCheckBox - 2));
  tick.LineTo(float(cx + kCheckBox), float(cy + 1));
  platform::Pen pen;
  pen.color = (state == 2 ? Color(kDisabledText) : Manager::GetSelectColor()).GetValue();
  pen.width = 2.0f;
  dc->Canvas().DrawPath(tick, pen);
}

void MenuItem::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, kStates * w, h);
    for (int i = 0; i < kStates; ++i) {
      MRender::BitBlt(m_cacheDC, i * w, 0, w, h, dc, m_rect.left, m_rect.top);
      RenderState(m_cacheDC, i, CRect(i * w, 0, (i + 1) * w, h));
    }
  }
  const int column = m_separator ? 0 : m_state;
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, column * w, 0);
}

}  // namespace DUI
