#include "toolkit/controls/MouseKeyCtrl.h"

#include <algorithm>

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MouseKeyCtrl", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MouseKeyCtrl(p, id, r, v);
})

namespace {

constexpr ARGB kNameColour = 0xFFFFFFFF;
constexpr UINT kTextFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS;

}  // namespace

MouseKeyCtrl::MouseKeyCtrl(MObject* parent, UINT id, CRect rect, int visible) : ItemPanel(parent, id, rect, visible) {
  m_imageCount = 2;
  m_textColor = Color(kTextColour);
  m_textBrush = m_textColor;
}

MouseKeyCtrl::~MouseKeyCtrl() = default;

int MouseKeyCtrl::AddItem(CString name, CString description, int keyValue) {
  int index;
  {
    std::lock_guard guard(m_itemsLock);
    m_items.push_back(MouseKeyItem{std::move(name), std::move(description), keyValue, CRect()});
    index = int(m_items.size()) - 1;
  }
  Changed();
  return index;
}

void MouseKeyCtrl::DeleteAllItems() {
  {
    std::lock_guard guard(m_itemsLock);
    m_items.clear();
    ResetMarks();
  }
  Changed();
}

int MouseKeyCtrl::GetItemCount() const {
  std::lock_guard guard(m_itemsLock);
  return int(m_items.size());
}

CString MouseKeyCtrl::GetItemKeyName(int index) const {
  std::lock_guard guard(m_itemsLock);
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].name : CString();
}

CString MouseKeyCtrl::GetItemKeyDesc(int index) const {
  std::lock_guard guard(m_itemsLock);
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].description : CString();
}

int MouseKeyCtrl::GetItemKeyValue(int index) const {
  std::lock_guard guard(m_itemsLock);
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].keyValue : 0;
}

void MouseKeyCtrl::SetItemKeyDesc(int index, CString description) {
  {
    std::lock_guard guard(m_itemsLock);
    if (index < 0 || index >= int(m_items.size()) || m_items[size_t(index)].description == description) return;
    m_items[size_t(index)].description = std::move(description);
  }
  Changed();
}

void MouseKeyCtrl::SetItemText(int index, CString name) {
  {
    std::lock_guard guard(m_itemsLock);
    if (index < 0 || index >= int(m_items.size()) || m_items[size_t(index)].name == name) return;
    m_items[size_t(index)].name = std::move(name);
  }
  Changed();
}

CRect MouseKeyCtrl::GetItemRect(int index) const {
  std::lock_guard guard(m_itemsLock);
  return ItemHitRect(index);
}

CRect MouseKeyCtrl::ItemHitRect(int index) const {
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].rowRect : CRect();
}

int MouseKeyCtrl::GetRowsHeight(int count) const {
  std::lock_guard guard(m_itemsLock);
  if (count <= 0) return 0;
  return (count - 1) * (Scaled(kRowHeight) + kRowGap) + Scaled(kRowHeight);
}

void MouseKeyCtrl::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    const bool twoFrames = m_image != nullptr && m_imageWidth > 0 && m_image->Width() >= 2 * m_imageWidth;
    std::lock_guard guard(m_itemsLock);
    const int rowHeight = Scaled(kRowHeight);
    const int nameLeft = Scaled(10), nameRight = Scaled(80);
    for (size_t i = 0; i < m_items.size(); ++i) {
      MouseKeyItem& item = m_items[i];
      const int top = int(i) * (rowHeight + kRowGap);
      item.rowRect = CRect(0, top, w, top + rowHeight);
      if (top >= h) continue;
      if (m_image != nullptr && m_imageWidth > 0) {
        const int frame = (IsHighlighted(int(i)) && twoFrames) ? 1 : 0;
        MRender::DrawImage(m_cacheDC, m_image, item.rowRect, frame * m_imageWidth, 0, m_imageWidth, m_imageHeight);
      }
      CRect name(nameLeft, top, nameRight, top + rowHeight);
      MRender::DrawTextARGB(m_cacheDC, name, item.name.c_str(), Color(kNameColour), GetGDIFont(), kTextFormat);
      // The description keeps the name's margin from the right edge.
      CRect desc(nameRight, top, std::max(nameRight, w - nameLeft), top + rowHeight);
      MRender::DrawTextARGB(m_cacheDC, desc, item.description.c_str(), m_textColor, GetGDIFont(), kTextFormat);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
