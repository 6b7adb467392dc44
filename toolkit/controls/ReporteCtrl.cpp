#include "toolkit/controls/ReporteCtrl.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"ReporteCtrl", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new ReporteCtrl(p, id, r, v);
})

namespace {

constexpr float kCornerFactor = 10.0f;
constexpr float kOutline = 2.0f;

}  // namespace

ReporteCtrl::ReporteCtrl(MObject* parent, UINT id, CRect rect, int visible) : ItemPanel(parent, id, rect, visible) {}

ReporteCtrl::~ReporteCtrl() = default;

int ReporteCtrl::AddItem(CString title, int value, int extra) {
  int index;
  {
    std::lock_guard guard(m_itemsLock);
    m_items.push_back(ReporteItem{std::move(title), value, extra, CRect()});
    index = int(m_items.size()) - 1;
  }
  Changed();
  return index;
}

void ReporteCtrl::DeleteAllItems() {
  {
    std::lock_guard guard(m_itemsLock);
    m_items.clear();
    ResetMarks();
  }
  Changed();
}

int ReporteCtrl::GetItemCount() const {
  std::lock_guard guard(m_itemsLock);
  return int(m_items.size());
}

int ReporteCtrl::GetItemKeyValue(int index) const {
  std::lock_guard guard(m_itemsLock);
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].value : 0;
}

CString ReporteCtrl::GetItemKeyName(int index) const {
  std::lock_guard guard(m_itemsLock);
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].title : CString();
}

void ReporteCtrl::SetItemText(int index, CString title) {
  {
    std::lock_guard guard(m_itemsLock);
    if (index < 0 || index >= int(m_items.size()) || m_items[size_t(index)].title == title) return;
    m_items[size_t(index)].title = std::move(title);
  }
  Changed();
}

void ReporteCtrl::SetSelectItemValue(int value) {
  {
    std::lock_guard guard(m_itemsLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
      if (m_items[i].value == value) {
        m_selected = int(i);
        break;
      }
    }
  }
  Changed();
}

CRect ReporteCtrl::GetItemRect(int index) const {
  std::lock_guard guard(m_itemsLock);
  return ItemHitRect(index);
}

CRect ReporteCtrl::ItemHitRect(int index) const {
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)].cardRect : CRect();
}

int ReporteCtrl::GetCardsWidth(int count) const {
  std::lock_guard guard(m_itemsLock);
  if (count <= 0) return 0;
  return Scaled(float(kFirstLeft + (count - 1) * kStride + kCardWidth));
}

void ReporteCtrl::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    const Color accent = Manager::m_select_color;
    std::lock_guard guard(m_itemsLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
      ReporteItem& item = m_items[i];
      const int left = Scaled(float(kFirstLeft + kStride * int(i)));
      // The hit rectangle reaches one pixel past the card on either side,
      // so that its outline counts as the card.
      item.cardRect = CRect(left - 1, 0, left + Scaled(kCardWidth) - 1, h);
      const Color outline = IsHighlighted(int(i)) ? accent : Color(kCardColour);
      MRender::DrawRoundRectange(m_cacheDC, float(left), 1.0f, float(Scaled(kCardWidth - 2)), float(h - 2),
                                 kCornerFactor, outline, kOutline, true, Color(kCardColour));
      CRect text(left, 0, left + Scaled(kCardWidth - 2), h);
      MRender::DrawTextARGB(m_cacheDC, text, item.title.c_str(), m_textColor, GetGDIFont(),
                            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
