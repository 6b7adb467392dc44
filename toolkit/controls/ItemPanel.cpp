#include "toolkit/controls/ItemPanel.h"

#include <cmath>

namespace DUI {

ItemPanel::ItemPanel(MObject* parent, UINT id, CRect rect, int visible) : MPanel(parent, id, rect, visible) {}

ItemPanel::~ItemPanel() = default;

// --- 1. Selection, hover and scale ---------------------------------------------------------

void ItemPanel::SetSelectItem(int index) {
  {
    std::lock_guard guard(m_itemsLock);
    if (index == m_selected) return;
    m_selected = index;
  }
  Changed();
}

int ItemPanel::GetSelectItem() const {
  std::lock_guard guard(m_itemsLock);
  return m_selected;
}

int ItemPanel::GetHoverItem() const {
  std::lock_guard guard(m_itemsLock);
  return m_hover;
}

void ItemPanel::SetScaleValue(float scale) {
  {
    std::lock_guard guard(m_itemsLock);
    // A scale of zero or below would fold every item onto one point.
    if (!(scale > 0.0f) || scale == m_scale) return;
    m_scale = scale;
  }
  Changed();
}

float ItemPanel::GetScaleValue() const {
  std::lock_guard guard(m_itemsLock);
  return m_scale;
}

int ItemPanel::Scaled(float length) const { return int(std::lround(length * m_scale)); }

void ItemPanel::Changed() {
  m_update = 0;
  UpdateControl(1, 0);
}

void ItemPanel::ResetMarks() { m_hover = m_selected = -1; }

// --- 2. Hit testing ------------------------------------------------------------------------------

int ItemPanel::ItemAt(CPoint pt) const {
  std::lock_guard guard(m_itemsLock);
  if (!m_rect.PtInRect(pt)) return -1;
  const CPoint local(pt.x - m_rect.left, pt.y - m_rect.top);
  const int count = GetItemCount();
  if (m_hover >= 0 && m_hover < count && ItemHitRect(m_hover).PtInRect(local)) return m_hover;
  for (int i = 0; i < count; ++i) {
    if (ItemHitRect(i).PtInRect(local)) return i;
  }
  return -1;
}

void ItemPanel::TrackHover(CPoint pt) {
  const int at = ItemAt(pt);
  {
    std::lock_guard guard(m_itemsLock);
    if (at == m_hover) return;
    m_hover = at;
  }
  UpdateControl(1, 0);
}

int ItemPanel::OnControlMouseMove(UINT, CPoint pt) {
  TrackHover(pt);
  return m_rect.PtInRect(pt) ? 1 : 0;
}

int ItemPanel::OnControlLButtonDown(UINT, CPoint pt) {
  // The press acts on the item under it, also when no move came first.
  TrackHover(pt);
  int item;
  {
    std::lock_guard guard(m_itemsLock);
    item = m_hover;
    if (item >= 0) m_selected = item;
  }
  // The page's handler may call back into this control: no lock held here.
  if (item >= 0) SendMessageW(CN_PRESS, WPARAM(item), 0);
  UpdateControl(1, 0);
  return 1;
}

int ItemPanel::OnControlLButtonUp(UINT, CPoint pt) {
  // A release outside the control finds no item and completes nothing.
  TrackHover(pt);
  int item;
  {
    std::lock_guard guard(m_itemsLock);
    item = m_hover;
    if (item >= 0) m_selected = item;
  }
  if (item >= 0) SendMessageW(CN_CLICK, WPARAM(item), 0);
  UpdateControl(1, 0);
  return 1;
}

}  // namespace DUI
