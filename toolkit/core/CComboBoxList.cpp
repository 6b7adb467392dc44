#include "toolkit/core/CComboBoxList.h"

#include <algorithm>

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CComboBoxList", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new CComboBoxList(p, id, r, v);
})

namespace {

constexpr int kMinThumb = 20;
constexpr int kTextPad = 10;

}  // namespace

CComboBoxList::CComboBoxList(MObject* parent, UINT id, CRect rect, int visible)
    : MControlFont(parent, id, rect, nullptr, visible, 1, 1) {
  m_hAlign = 1;
}

void CComboBoxList::InitControl(PaintManager* manager) {
  MControlFont::InitControl(manager);
  if (manager == nullptr) return;
  // The window's thumb resource when it names one, else the skin's.
  const ImgResInfo* info = nullptr;
  if (manager->GetScrollVID() != 0) info = manager->AddImgResInfo(manager->GetScrollVID(), L"PNG", 4, 0);
  if (info == nullptr) info = manager->AddImgResInfo(L"img_scroll_v.png", 4);
  m_thumb = info != nullptr ? info->image.get() : nullptr;
  m_thumbWidth = info != nullptr ? info->frameWidth : 0;
  m_thumbHeight = info != nullptr ? info->height : 0;
}

void CComboBoxList::SetItems(std::vector<ComboItem> items, int selected) {
  m_items = std::move(items);
  m_selected = (selected >= 0 && selected < GetItemCount()) ? selected : -1;
  m_hover = -1;
  m_scroll = 0;
  if (m_selected >= 0) {
    // The chosen row in the middle of the view where possible.
    SetScrollPos(m_selected * kRowHeight - (m_rect.Height() - kRowHeight) / 2);
  }
  if (m_visible) UpdateControl(1, 0);
}

void CComboBoxList::SetHoverIndex(int index, bool ensureVisible) {
  if (index < -1 || index >= GetItemCount()) index = -1;
  if (ensureVisible && index >= 0) {
    const int top = index * kRowHeight, bottom = top + kRowHeight;
    if (top < m_scroll) SetScrollPos(top);
    else if (bottom > m_scroll + m_rect.Height()) SetScrollPos(bottom - m_rect.Height());
  }
  if (index == m_hover) return;
  m_hover = index;
  if (m_visible) UpdateControl(1, 0);
}

void CComboBoxList::SetItemColors(Color normal, Color selected, Color disabled) {
  m_normalText = normal;
  m_selectedText = selected;
  m_disabledText = disabled;
  if (m_visible) UpdateControl(1, 0);
}

int CComboBoxList::GetMaxScroll() const { return std::max(0, GetContentHeight() - m_rect.Height()); }

void CComboBoxList::SetScrollPos(int pos) {
  pos = std::clamp(pos, 0, GetMaxScroll());
  if (pos == m_scroll) return;
  m_scroll = pos;
  if (m_visible) UpdateControl(1, 0);
}

CRect CComboBoxList::GetRowRect(int index) const {
  const int top = m_rect.top + index * kRowHeight - m_scroll;
  return CRect(m_rect.left, top, m_rect.right - (IsScrollable() ? kThickness + 2 : 0), top + kRowHeight);
}

int CComboBoxList::RowAt(CPoint pt) const {
  if (!m_rect.PtInRect(pt)) return -1;
  const int index = (pt.y - m_rect.top + m_scroll) / kRowHeight;
  return (index >= 0 && index < GetItemCount()) ? index : -1;
}

int CComboBoxList::ThumbHeight() const {
  const int content = GetContentHeight();
  if (content <= 0) return 0;
  return std::max(kMinThumb, TrackHeight() * m_rect.Height() / content);
}

CRect CComboBoxList::GetThumbRect() const {
  const int max = GetMaxScroll();
  if (max <= 0) return CRect();
  const int thumb = ThumbHeight();
  const int top = m_rect.top + (TrackHeight() - thumb) * m_scroll / max;
  return CRect(m_rect.right - kThickness - 1, top, m_rect.right - 1, top + thumb);
}

// --- Input ----------------------------------------------------------------------------------

int CComboBoxList::OnControlMouseMove(UINT, CPoint pt) {
  if (m_dragging) {
    const int max = GetMaxScroll();
    const int free = TrackHeight() - ThumbHeight();
    if (free > 0) SetScrollPos((pt.y - m_grab - m_rect.top) * max / free);
    return 1;
  }
  const CRect thumb = GetThumbRect();
  SetHoverIndex(thumb.PtInRect(pt) ? m_hover : RowAt(pt), false);
  return m_rect.PtInRect(pt) ? 1 : 0;
}

int CComboBoxList::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_rect.PtInRect(pt)) return 0;
  const CRect thumb = GetThumbRect();
  if (!thumb.IsRectEmpty() && pt.x >= thumb.left - 3) {
    // A press on the bar: grab the thumb, or jump a page towards the press.
    if (thumb.PtInRect(CPoint(thumb.left, pt.y))) {
      m_dragging = 1;
      m_grab = pt.y - thumb.top;
    } else {
      SetScrollPos(m_scroll + (pt.y < thumb.top ? -m_rect.Height() : m_rect.Height()));
    }
  }
  return 1;
}

int CComboBoxList::OnControlLButtonUp(UINT, CPoint pt) {
  if (m_dragging) {
    m_dragging = 0;
    return 1;
  }
  const CRect thumb = GetThumbRect();
  if (!thumb.IsRectEmpty() && pt.x >= thumb.left - 3) return 1;
  const int index = RowAt(pt);
  if (index >= 0) SendMessageW(CN_CLICK, WPARAM(index), MComboBox::kPickTag);
  return 1;
}

int CComboBoxList::OnControlScroll(int kind, UINT down, CPoint pt) {
  if (kind != 1 || !IsScrollable()) return 0;
  SetScrollPos(m_scroll + (down ? 1 : -1) * kWheelSteps * kStep);
  SetHoverIndex(RowAt(pt), false);
  return 1;
}

// --- Drawing -------------------------------------------------------------------------------------

void CComboBoxList::Render(HDC dc, int w, int h) {
  platform::Canvas& canvas = dc->Canvas();
  canvas.Save();
  canvas.ClipRect(RECT{0, 0, w, h});
  const int first = m_scroll / kRowHeight;
  const int last = std::min(GetItemCount() - 1, (m_scroll + h) / kRowHeight);
  const int textRight = w - (IsScrollable() ? kThickness + 2 : 0);
  for (int i = first; i <= last; ++i) {
    const ComboItem& item = m_items[size_t(i)];
    const CRect row(0, i * kRowHeight - m_scroll, textRight, (i + 1) * kRowHeight - m_scroll);
    if (i == m_hover) {
      CRect band = row;
      band.DeflateRect(4, 2);
      const Color accent = Manager::GetSelectColor();
      canvas.FillRoundRect(platform::RectF::FromRect(band), 3, 3,
                           platform::Brush::SolidColor((accent.GetValue() & 0x00FFFFFF) | 0xB0000000));
    } else if (i == m_selected) {
      CRect band = row;
      band.DeflateRect(4, 2);
      canvas.FillRoundRect(platform::RectF::FromRect(band), 3, 3, platform::Brush::SolidColor(0x26FFFFFF));
    }
    CRect text = row;
    text.DeflateRect(kTextPad, 0);
    if (!item.icon.empty() && m_manager != nullptr) {
      if (const ImgResInfo* icon = m_manager->AddImgResInfo(item.icon.c_str(), 1)) {
        const int y = row.top + (kRowHeight - icon->height) / 2;
        MRender::DrawImage(dc, icon->image.get(), CRect(text.left, y, text.left + icon->frameWidth, y + icon->height),
                           0, 0, icon->frameWidth, icon->height);
        text.left += icon->frameWidth + 6;
      }
    }
    Color colour = i == m_selected ? m_selectedText : m_normalText;
    // An item's own colour wins over the list's normal colour.
    if (i != m_selected && item.colour != Color(0xFFFFFFFF)) colour = item.colour;
    DrawControlText(dc, text, item.text, colour);
  }
  canvas.Restore();
  const CRect thumb = GetThumbRect();
  if (thumb.IsRectEmpty()) return;
  CRect local = thumb;
  local.OffsetRect(-m_rect.left, -m_rect.top);
  const int frame = m_dragging ? 2 : 0;
  if (m_thumb != nullptr && m_thumbWidth > 0) {
    MRender::DrawImageFrame(dc, m_thumb, local, frame * m_thumbWidth, 0, m_thumbWidth, m_thumbHeight,
                            std::min(2, m_thumbWidth / 2));
  } else {
    canvas.FillRoundRect(platform::RectF::FromRect(local), 2, 2, platform::Brush::SolidColor(0xFF6A707C));
  }
}

void CComboBoxList::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    Render(m_cacheDC, w, h);
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
