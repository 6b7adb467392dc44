#include "toolkit/core/MTabCtrl.h"

#include <algorithm>

#include "platform/draw/Font.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MTabCtrl", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MTabCtrl(p, id, r, v, e);
})

namespace {

constexpr int kTitleHeight = 22;
constexpr int kSecondLineHeight = 16;

}  // namespace

MTabCtrl::MTabCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, nullptr, visible, enabled, 1) {
  m_hAlign = 1;
}

// --- 1. Items ------------------------------------------------------------------------------

int MTabCtrl::InsertItem(UINT id, const wchar_t* title, const wchar_t* iconFile, MControl* page, int frames,
                         int width) {
  TabItemInfo item;
  item.id = id;
  item.title = title != nullptr ? title : L"";
  item.page = page;
  item.frames = frames == -1 ? 3 : std::max(1, frames);
  if (m_manager != nullptr && iconFile != nullptr && *iconFile != 0) {
    if (const ImgResInfo* info = m_manager->AddImgResInfo(iconFile, item.frames)) {
      item.icon = info->image.get();
      item.frameWidth = info->frameWidth;
      item.height = info->height;
    }
  }
  item.width = width > 0 ? width : item.frameWidth;
  m_items.push_back(item);
  // A page belongs to its tab from now on: only the selected tab's shows.
  if (page != nullptr && page != GetItemPage(m_selected)) page->SetVisible(0);
  Layout();
  UpdateControl(1, 0);
  return int(m_items.size()) - 1;
}

UINT MTabCtrl::GetItemID(int index) const {
  return (index >= 0 && index < GetItemCount()) ? m_items[size_t(index)].id : 0;
}

int MTabCtrl::SetItemText(int index, CString text) {
  if (index < 0 || index >= GetItemCount()) return 0;
  m_items[size_t(index)].title = std::move(text);
  UpdateControl(1, 0);
  return 1;
}

CString MTabCtrl::GetItemText(int index) const {
  return (index >= 0 && index < GetItemCount()) ? m_items[size_t(index)].title : CString();
}

int MTabCtrl::SetItemVisible(int index, int visible) {
  if (index < 0 || index >= GetItemCount()) return 0;
  TabItemInfo& item = m_items[size_t(index)];
  if ((item.visible != 0) == (visible != 0)) return 1;
  item.visible = visible ? 1 : 0;
  if (m_hover == index) m_hover = -1;
  RefreshItems();
  return 1;
}

int MTabCtrl::IsItemVisible(int index) const {
  return (index >= 0 && index < GetItemCount()) ? m_items[size_t(index)].visible : 0;
}

int MTabCtrl::DeleteItem(int index) {
  if (index < 0 || index >= GetItemCount()) return 0;
  m_items.erase(m_items.begin() + index);
  m_hover = -1;
  if (m_previous == index) m_previous = -1;
  else if (m_previous > index) --m_previous;
  if (m_selected > index) --m_selected;
  else if (m_selected == index) m_selected = GetItemCount();  // gone: RefreshItems picks another
  RefreshItems();
  return 1;
}

int MTabCtrl::SetItemButton(int index, const wchar_t* file) {
  if (index < 0 || index >= GetItemCount() || m_manager == nullptr || file == nullptr) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, 2);
  if (info == nullptr) return 0;
  TabItemInfo& item = m_items[size_t(index)];
  item.button = info->image.get();
  item.buttonWidth = info->frameWidth;
  item.buttonHeight = info->height;
  UpdateControl(1, 0);
  return 1;
}

CRect MTabCtrl::GetItemRect(int index) const {
  return (index >= 0 && index < GetItemCount()) ? m_items[size_t(index)].rect : CRect();
}

CRect MTabCtrl::GetItemButtonRect(int index) const {
  if (index < 0 || index >= GetItemCount()) return CRect();
  const TabItemInfo& item = m_items[size_t(index)];
  if (item.button == nullptr || item.rect.IsRectEmpty()) return CRect();
  const int w = std::min(item.buttonWidth, item.rect.Width() / 2);
  const int h = std::min(item.buttonHeight, item.rect.Height() / 2);
  return CRect(item.rect.right - w - 2, item.rect.top + 2, item.rect.right - 2, item.rect.top + 2 + h);
}

MControl* MTabCtrl::GetItemPage(int index) const {
  return (index >= 0 && index < GetItemCount()) ? m_items[size_t(index)].page : nullptr;
}

// --- 2. Selection -------------------------------------------------------------------------------

int MTabCtrl::SetSelectItem(int index) {
  const int previous = m_selected;
  if (index == m_selected || index < 0 || index >= GetItemCount() || !m_items[size_t(index)].visible) {
    return previous;
  }
  m_previous = previous;
  m_selected = index;
  m_hover = -1;
  SyncStates();
  SendMessageW(CN_PRESS, WPARAM(index), 0);
  ShowPages();
  UpdateControl(1, 0);
  return previous;
}

void MTabCtrl::ShowPages() {
  for (int i = 0; i < GetItemCount(); ++i) {
    MControl* page = m_items[size_t(i)].page;
    if (page != nullptr && i != m_selected) page->SetVisible(0);
  }
  // Shown after the others are hidden, so that a page two tabs share stays.
  if (MControl* page = GetItemPage(m_selected)) page->SetVisible(1);
}

// --- 3. Layout ------------------------------------------------------------------------------------

int MTabCtrl::Share(int length, int n, int max, int min, int fallback) {
  if (max <= 0 && min <= 0) return fallback;
  const int share = n > 0 ? length / n : length;
  if (max > 0 && share >= max) return max;
  if (share < min) return min;
  return share;
}

void MTabCtrl::Layout() {
  int visible = 0;
  for (const TabItemInfo& item : m_items) visible += item.visible ? 1 : 0;
  const bool horizontal = m_layout == LayoutHorizontal;
  const int spanW = m_rect.Width() - m_padLeft - m_padRight;
  const int spanH = m_rect.Height() - m_padTop - m_padBottom;
  int x = m_rect.left + m_padLeft, y = m_rect.top + m_padTop;
  for (TabItemInfo& item : m_items) {
    if (!item.visible) {
      item.rect = CRect();
      continue;
    }
    // Along the strip the length is shared among the tabs; across it each
    // tab takes the strip's whole depth unless limited.
    const int ownW = horizontal ? (item.width > 0 ? item.width : spanW / std::max(1, visible)) : spanW;
    const int ownH = horizontal ? spanH : (item.height > 0 ? item.height : spanH / std::max(1, visible));
    const int w = Share(spanW, horizontal ? visible : 1, m_widthMax, m_widthMin, ownW);
    const int h = Share(spanH, horizontal ? 1 : visible, m_heightMax, m_heightMin, ownH);
    item.rect = CRect(x, y, x + w, y + h);
    if (horizontal) x += w;
    else y += h;
  }
}

void MTabCtrl::RefreshItems() {
  Layout();
  SyncStates();
  const bool valid = m_selected >= 0 && m_selected < GetItemCount() && m_items[size_t(m_selected)].visible;
  if (m_selected != -1 && !valid) {
    int last = -1;
    for (int i = 0; i < GetItemCount(); ++i) {
      if (m_items[size_t(i)].visible) last = i;
    }
    // The old index is no tab any more: the new one is a change.
    m_selected = -1;
    if (last >= 0) {
      SetSelectItem(last);
    } else {
      ShowPages();
    }
  }
  UpdateControl(1, 0);
}

void MTabCtrl::SetItemWidth(int max, int min, int refresh) {
  m_widthMax = max;
  m_widthMin = min;
  if (refresh) RefreshItems();
}

void MTabCtrl::SetItemHeight(int max, int min, int refresh) {
  m_heightMax = max;
  m_heightMin = min;
  if (refresh) RefreshItems();
}

void MTabCtrl::SetTabCtrlWidth(int width) {
  SetRect(CRect(m_rect.left, m_rect.top, m_rect.left + width, m_rect.bottom));
}

void MTabCtrl::SetTabCtrlHeight(int height) {
  SetRect(CRect(m_rect.left, m_rect.top, m_rect.right, m_rect.top + height));
}

void MTabCtrl::SetLeftRightPading(int left, int right) {
  m_padLeft = left;
  m_padRight = right;
  RefreshItems();
}

void MTabCtrl::SetTopBottomPading(int top, int bottom) {
  m_padTop = top;
  m_padBottom = bottom;
  RefreshItems();
}

void MTabCtrl::SetTabCtrlVisible(int visible) { SetVisible(visible); }

void MTabCtrl::SetLayoutType(LayoutType type) {
  if (type == m_layout) return;
  m_layout = type;
  RefreshItems();
}

int MTabCtrl::SetItemBkImage(const wchar_t* file, int frames) {
  if (m_manager == nullptr || file == nullptr || frames <= 0) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, frames);
  if (info == nullptr) return 0;
  m_itemBk = info->image.get();
  m_itemBkWidth = info->frameWidth;
  m_itemBkHeight = info->height;
  m_itemBkFrames = frames;
  UpdateControl(1, 0);
  return 1;
}

void MTabCtrl::SetItemTextColor(Color normal, Color hover, Color selected) {
  m_textNormal = normal;
  m_textHover = hover;
  m_textSelected = selected;
  UpdateControl(1, 0);
}

// --- 4. Overrides -------------------------------------------------------------------------------------

CString MTabCtrl::GetInspectState() {
  CString state = L"selected:" + std::to_wstring(m_selected);
  for (const TabItemInfo& item : m_items) {
    if (item.rect.IsRectEmpty()) continue;
    state += L";tab" + std::to_wstring(item.id) + L"=" + std::to_wstring(item.rect.left - m_rect.left) + L"," +
             std::to_wstring(item.rect.top - m_rect.top) + L"," + std::to_wstring(item.rect.Width()) + L"x" +
             std::to_wstring(item.rect.Height());
  }
  return state;
}

void MTabCtrl::SetControlRect(CRect rect) {
  m_rect = rect;
  Layout();
}

int MTabCtrl::ItemAt(CPoint pt) const {
  for (int i = 0; i < GetItemCount(); ++i) {
    const TabItemInfo& item = m_items[size_t(i)];
    if (item.visible && item.rect.PtInRect(pt)) return i;
  }
  return -1;
}

void MTabCtrl::SetHover(int index) {
  if (index == m_hover) return;
  m_hover = index;
  SyncStates();
  UpdateControl(1, 0);
}

void MTabCtrl::SyncStates() {
  for (int i = 0; i < GetItemCount(); ++i) m_items[size_t(i)].state = i == m_selected ? 2 : i == m_hover ? 1 : 0;
}

int MTabCtrl::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  SetHover(ItemAt(pt));
  return m_rect.PtInRect(pt) ? 1 : 0;
}

int MTabCtrl::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  const int at = ItemAt(pt);
  if (at < 0) return 0;
  if (GetItemButtonRect(at).PtInRect(pt)) {
    SendMessageW(CN_SUBCLICK, WPARAM(at), 0);
    return 1;
  }
  SetSelectItem(at);
  return 1;
}

int MTabCtrl::OnControlLButtonUp(UINT, CPoint) { return m_enabled ? 1 : 0; }

float MTabCtrl::TitleWidth(const CString& title) {
  if (m_manager != nullptr) GetFontFamily(m_fontName.c_str());
  platform::FontSpec font = FontSpecFor();
  if (m_fontFamily != nullptr) font.family = m_fontFamily->GetFamilyName();
  return platform::MeasureText(title, font).width;
}

void MTabCtrl::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    if (m_image != nullptr && m_imageWidth > 0) {
      MRender::DrawImage(m_cacheDC, m_image, CRect(0, 0, w, h), 0, 0, m_imageWidth, m_imageHeight);
    }
    for (int i = 0; i < GetItemCount(); ++i) {
      const TabItemInfo& item = m_items[size_t(i)];
      if (!item.visible || item.rect.IsRectEmpty()) continue;
      const int state = item.state;
      CRect r = item.rect;
      r.OffsetRect(-m_rect.left, -m_rect.top);
      CRect text = r;
      bool wrapTitle = false;
      if (m_itemBk != nullptr && m_itemBkWidth > 0) {
        const int frame = std::min(state, m_itemBkFrames - 1);
        MRender::DrawImage(m_cacheDC, m_itemBk, r, frame * m_itemBkWidth, 0, m_itemBkWidth, m_itemBkHeight);
      }
      if (item.icon != nullptr && item.frameWidth > 0) {
        const int frame = std::min(state, item.frames - 1);
        const int sx = frame * item.frameWidth;
        // An icon as large as the tab is its background; a smaller one sits
        // above the title.
        if (item.frameWidth >= r.Width() - 4 && item.height >= r.Height() - 4) {
          MRender::DrawImage(m_cacheDC, item.icon, r, sx, 0, item.frameWidth, item.height);
        } else {
          const bool titled = !item.title.empty() && r.Height() >= item.height + kTitleHeight;
          // A title wider than the tab takes a second line when the tab is
          // tall enough for it, instead of being cut at both ends.
          const bool twoLines = titled && r.Height() >= item.height + kTitleHeight + kSecondLineHeight &&
                                TitleWidth(item.title) > float(r.Width() - 4);
          const int block = item.height + (titled ? kTitleHeight : 0) + (twoLines ? kSecondLineHeight : 0);
          const int x = r.left + (r.Width() - item.frameWidth) / 2;
          const int y = r.top + (r.Height() - block) / 2;
          MRender::DrawImage(m_cacheDC, item.icon, CRect(x, y, x + item.frameWidth, y + item.height), sx, 0,
                             item.frameWidth, item.height);
          if (titled) text = CRect(r.left + 2, y + item.height, r.right - 2, y + block);
          else text = CRect();
          wrapTitle = twoLines;
        }
      }
      if (item.button != nullptr) {
        CRect b = GetItemButtonRect(i);
        b.OffsetRect(-m_rect.left, -m_rect.top);
        const int frame = (i == m_hover && item.button->Width() >= 2 * item.buttonWidth) ? 1 : 0;
        MRender::DrawImage(m_cacheDC, item.button, b, frame * item.buttonWidth, 0, item.buttonWidth,
                           item.buttonHeight);
      }
      const Color colour = state == 2 ? m_textSelected : state == 1 ? m_textHover : m_textNormal;
      if (!text.IsRectEmpty()) DrawControlText(m_cacheDC, text, item.title, colour, wrapTitle);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
