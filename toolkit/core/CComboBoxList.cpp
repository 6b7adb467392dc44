#include "toolkit/core/CComboBoxList.h"

#include <algorithm>

#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CComboBoxList", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new CComboBoxList(p, id, r, v);
})

namespace {

constexpr int kTextPad = 10;

}  // namespace

CComboBoxList::CComboBoxList(MObject* parent, UINT id, CRect rect, int visible) : MPanel(parent, id, rect, visible) {
  m_hAlign = 1;
}

// --- Items and rows ------------------------------------------------------------------------------

void CComboBoxList::Relayout() {
  for (size_t i = 0; i < m_items.size(); ++i) m_items[i].rect = GetRowRect(int(i));
  m_virtualHeight = GetItemCount() * kRowHeight;
  m_virtualWidth = 0;
  UpdateScrollBars();
}

void CComboBoxList::SetControlRect(CRect rect) {
  MPanel::SetControlRect(rect);
  Relayout();
}

void CComboBoxList::SetItems(std::vector<ComboItem> items, int selected) {
  m_items = std::move(items);
  m_selected = (selected >= 0 && selected < GetItemCount()) ? selected : -1;
  m_hover = -1;
  Relayout();
  if (CScrollVertical* bar = GetScrollVertical()) bar->SetScrollCurrentPos(0);
  if (m_selected >= 0) EnsureVisible(GetRowRect(m_selected));
  if (m_visible) UpdateControl(1, 0);
}

void CComboBoxList::SetHoverIndex(int index, bool ensureVisible) {
  if (index < -1 || index >= GetItemCount()) index = -1;
  const bool moved = ensureVisible && index >= 0 && EnsureVisible(GetRowRect(index));
  if (index == m_hover && !moved) return;
  m_hover = index;
  if (m_visible) UpdateControl(1, 0);
}

void CComboBoxList::SetItemColors(Color normal, Color selected, Color disabled) {
  m_normalText = normal;
  m_selectedText = selected;
  m_disabledText = disabled;
  if (m_visible) UpdateControl(1, 0);
}

int CComboBoxList::GetMaxScroll() const { return std::max(0, m_virtualHeight - m_rect.Height()); }

CRect CComboBoxList::GetRowRect(int index) const {
  const int top = m_rect.top + index * kRowHeight;
  return CRect(m_rect.left, top, m_rect.right, top + kRowHeight);
}

int CComboBoxList::RowAt(CPoint pt) const {
  if (!GetViewRect().PtInRect(pt) || pt.y < m_rect.top) return -1;
  const int index = (pt.y - m_rect.top) / kRowHeight;
  return index < GetItemCount() ? index : -1;
}

CRect CComboBoxList::GetThumbRect() const {
  CScrollVertical* bar = const_cast<CComboBoxList*>(this)->GetScrollVertical();
  return (bar != nullptr && bar->IsVisible()) ? bar->GetThumbRect() : CRect();
}

// --- Input -----------------------------------------------------------------------------------------

int CComboBoxList::OnControlMouseMove(UINT, CPoint pt) {
  const bool inside = GetViewRect().PtInRect(pt);
  const CPoint offset = GetScrollOffset();
  m_lastWindowPoint = inside ? CPoint(pt.x - offset.x, pt.y - offset.y) : CPoint(-1, -1);
  // Leaving the list keeps the keyboard's row; only another row replaces it.
  if (inside) SetHoverIndex(RowAt(pt), false);
  return inside ? 1 : 0;
}

int CComboBoxList::OnControlLButtonDown(UINT, CPoint pt) {
  if (GetViewRect().PtInRect(pt)) SetHoverIndex(RowAt(pt), false);
  return 1;
}

int CComboBoxList::OnControlLButtonUp(UINT, CPoint pt) {
  const int index = RowAt(pt);
  if (index >= 0) SendMessageW(CN_CLICK, WPARAM(index), MComboBox::kPickTag);
  return 1;
}

int CComboBoxList::OnControlScroll(int kind, UINT down, CPoint) {
  if (kind != 1 || !m_enableScroll || m_virtualHeight <= m_rect.Height()) return 0;
  CScrollVertical* bar = GetScrollVertical();
  if (bar == nullptr) return 0;
  bar->ScrollRow(down ? kWheelSteps : -kWheelSteps);
  // The row under a pointer that stayed put is another one now.
  if (m_lastWindowPoint.x >= 0) SetHoverIndex(RowAt(WindowToContent(m_lastWindowPoint)), false);
  UpdateControl(1, 0);
  return 1;
}

LRESULT CComboBoxList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  // The bar moved (dragged): the rows show another part.
  if (id == kScrollVerticalId && (code == CN_SCROLL || ((code == CN_PRESS || code == CN_CLICK) && wParam == CN_SCROLL))) {
    UpdateControl(1, 0);
    return 0;
  }
  return MPanel::OnMessage(id, code, wParam, lParam);
}

// --- Drawing ---------------------------------------------------------------------------------------------

void CComboBoxList::DrawRow(HDC dc, int index, CRect row) {
  const ComboItem& item = m_items[size_t(index)];
  platform::Canvas& canvas = dc->Canvas();
  CRect band = row;
  band.DeflateRect(4, 2);
  if (index == m_hover) {
    const ARGB accent = Manager::GetSelectColor().GetValue();
    canvas.FillRoundRect(platform::RectF::FromRect(band), 3, 3,
                         platform::Brush::SolidColor((accent & 0x00FFFFFF) | 0xB0000000));
  } else if (index == m_selected) {
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
  Color colour = index == m_selected ? m_selectedText : m_normalText;
  // An item's own colour wins over the list's normal colour.
  if (index != m_selected && item.colour != Color(0xFFFFFFFF)) colour = item.colour;
  DrawControlText(dc, text, item.text, colour);
}

void CComboBoxList::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    const int offset = GetScrollOffset().y;
    const int rowRight = GetViewRect().Width();
    m_cacheDC->Canvas().Save();
    m_cacheDC->Canvas().ClipRect(RECT{0, 0, w, h});
    const int count = GetItemCount();
    const int first = std::min(count - 1, offset / kRowHeight);
    const int last = std::min(count - 1, (offset + h - 1) / kRowHeight);
    for (int i = std::max(0, first); i <= last; ++i) {
      const int top = i * kRowHeight - offset;
      DrawRow(m_cacheDC, i, CRect(0, top, rowRight, top + kRowHeight));
    }
    m_cacheDC->Canvas().Restore();
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
