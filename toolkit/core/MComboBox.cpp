#include "toolkit/core/MComboBox.h"

#include <algorithm>

#include "platform/window/PopupPlacement.h"
#include "platform/window/Window.h"
#include "toolkit/core/ComboWnd.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MComboBox", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MComboBox(p, id, r, v, e);
})

namespace {

constexpr int kFaceStates = 4;  // normal, hover, pressed, disabled

}  // namespace

MComboBox::MComboBox(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, nullptr, visible, enabled, 1) {
  m_hAlign = 1;
}

MComboBox::~MComboBox() {
  if (m_dropDown != nullptr) {
    ComboWnd* dropDown = m_dropDown;
    m_dropDown = nullptr;
    dropDown->DetachCombo();
    // It deletes itself when its window is gone.
    dropDown->DestroyWindow();
  }
}

// --- 1. Items -------------------------------------------------------------------------------------

int MComboBox::AddItem(const wchar_t* text, long data, const wchar_t* icon, Color colour) {
  std::lock_guard guard(m_itemsLock);
  m_items.push_back(ComboItem{text != nullptr ? text : L"", icon != nullptr ? icon : L"", colour, data, CRect()});
  return int(m_items.size()) - 1;
}

int MComboBox::InsertItem(int index, const wchar_t* text, long data, const wchar_t* icon, Color colour) {
  std::lock_guard guard(m_itemsLock);
  if (index != -1 && (index < 0 || index >= int(m_items.size()))) return -1;
  ComboItem item{text != nullptr ? text : L"", icon != nullptr ? icon : L"", colour, data, CRect()};
  if (index == -1) {
    m_items.push_back(std::move(item));
  } else {
    m_items.insert(m_items.begin() + index, std::move(item));
    // The selection follows its item.
    if (m_selected >= index) ++m_selected;
  }
  return int(m_items.size()) - 1;
}

void MComboBox::DelAllItems() {
  {
    std::lock_guard guard(m_itemsLock);
    m_items.clear();
  }
  CloseDropDown();
  SetCurSel(-1);
}

int MComboBox::DeleteItem(int index) {
  bool selectionGone = false;
  {
    std::lock_guard guard(m_itemsLock);
    if (index < 0 || index >= int(m_items.size())) return 0;
    m_items.erase(m_items.begin() + index);
    if (m_selected == index) selectionGone = true;
    else if (m_selected > index) --m_selected;
  }
  // The open list would show a stale row.
  CloseDropDown();
  if (selectionGone) SetCurSel(-1);
  return 1;
}

int MComboBox::GetItemCount() const {
  std::lock_guard guard(m_itemsLock);
  return int(m_items.size());
}

int MComboBox::SetItemText(int index, CString text) {
  {
    std::lock_guard guard(m_itemsLock);
    if (index < 0 || index >= int(m_items.size())) return 0;
    m_items[size_t(index)].text = std::move(text);
  }
  if (index == m_selected) ShowSelectedTitle();
  return 1;
}

CString MComboBox::GetItemText(int index) const {
  std::lock_guard guard(m_itemsLock);
  if (index < 0 || index >= int(m_items.size())) return CString();
  return m_items[size_t(index)].text;
}

int MComboBox::SetItemData(int index, long data) {
  std::lock_guard guard(m_itemsLock);
  if (index < 0 || index >= int(m_items.size())) return 0;
  m_items[size_t(index)].data = data;
  return 1;
}

long MComboBox::GetItemData(int index) const {
  std::lock_guard guard(m_itemsLock);
  if (index < 0 || index >= int(m_items.size())) return 0;
  return m_items[size_t(index)].data;
}

int MComboBox::FindData(long data) const {
  std::lock_guard guard(m_itemsLock);
  for (size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].data == data) return int(i);
  }
  return -1;
}

std::vector<ComboItem> MComboBox::GetItems() const {
  std::lock_guard guard(m_itemsLock);
  return m_items;
}

// --- 2. Selection ---------------------------------------------------------------------------------------

int MComboBox::SetCurSel(int index) {
  {
    std::lock_guard guard(m_itemsLock);
    if (index < -1 || index >= int(m_items.size())) return 0;
    m_selected = index;
  }
  ShowSelectedTitle();
  return 1;
}

void MComboBox::ShowSelectedTitle() {
  SetTitle(GetItemText(m_selected).c_str());
}

int MComboBox::SelectData(long data) {
  const int index = FindData(data);
  if (index < 0) return 0;
  return SetCurSel(index);
}

long MComboBox::GetCurData() const { return GetItemData(m_selected); }

// --- 3. Look ----------------------------------------------------------------------------------------------

void MComboBox::SetBackImage(const wchar_t* file) {
  m_backImage = file != nullptr ? file : L"";
  m_backImageId = 0;
  m_backImageType.clear();
}

void MComboBox::SetBackImage(UINT resourceId, CString type) {
  m_backImageId = resourceId;
  m_backImageType = std::move(type);
  m_backImage.clear();
}

void MComboBox::SetTextColorEx(Color normal, Color selected) {
  m_itemTextColor = normal;
  m_selectedTextColor = selected;
}

void MComboBox::SetShowModeMID(int left, int top, int right, int bottom) {
  m_borderLeft = left;
  m_borderTop = top;
  m_borderRight = right;
  m_borderBottom = bottom;
  if (m_visible) UpdateControl(1, 0);
}

void MComboBox::SetTextRect(CRect rect) {
  m_textRect = rect;
  if (m_visible) UpdateControl(1, 0);
}

CRect MComboBox::GetTextRect() const {
  if (!m_textRect.IsRectEmpty()) return m_textRect;
  return CRect(m_borderLeft + 6, 0, std::max(m_borderLeft + 6, m_rect.Width() - m_borderRight), m_rect.Height());
}

void MComboBox::SetScrollResID(UINT vertical, UINT horizontal) {
  m_scrollV = vertical;
  m_scrollH = horizontal;
}

// --- 4. The drop-down ---------------------------------------------------------------------------------------

CRect MComboBox::DropDownRect() const {
  // Inside scrolled panels the combo shows moved by each panel's offset.
  CRect anchor = m_rect;
  for (MObject* p = m_parent; p != nullptr;) {
    const auto* panel = dynamic_cast<const MPanel*>(p);
    if (panel == nullptr) break;
    anchor = panel->ContentToWindow(anchor);
    p = panel->GetParantObject();
  }
  if (m_manager != nullptr && m_manager->GetPaintWnd() != nullptr) {
    POINT a{anchor.left, anchor.top}, b{anchor.right, anchor.bottom};
    platform::ClientToScreen(m_manager->GetPaintWnd(), &a);
    platform::ClientToScreen(m_manager->GetPaintWnd(), &b);
    anchor = CRect(a.x, a.y, b.x, b.y);
  }
  const int rows = std::min(GetItemCount(), kVisibleRows);
  return CRect(platform::PlaceDropDown(anchor, anchor.Width(), rows * kRowHeight + kListPadding, kGap));
}

int MComboBox::OpenDropDown() {
  if (m_dropDown != nullptr || m_manager == nullptr || m_manager->GetPaintWnd() == nullptr) return 0;
  // An empty list has nothing to choose from.
  if (GetItemCount() == 0) return 0;
  auto* dropDown = new ComboWnd(this);
  if (!dropDown->Open(m_manager->GetPaintWnd(), DropDownRect())) {
    delete dropDown;
    return 0;
  }
  m_dropDown = dropDown;
  return 1;
}

void MComboBox::CloseDropDown() {
  if (m_dropDown == nullptr) return;
  ComboWnd* dropDown = m_dropDown;
  m_dropDown = nullptr;
  dropDown->DetachCombo();
  dropDown->Dismiss();
  SetState(0);
}

void MComboBox::DropDownDestroyed(ComboWnd* dropDown) {
  if (m_dropDown != dropDown) return;
  m_dropDown = nullptr;
  SetState(0);
}

void MComboBox::Pick(int index) {
  SetCurSel(index);
  CloseDropDown();
  SendMessageW(CN_CLICK, WPARAM(index), 0);
}

LRESULT MComboBox::OnMessage(UINT, UINT code, WPARAM wParam, LPARAM lParam) {
  if (code == CN_CLICK && lParam == kPickTag) {
    const int index = int(wParam);
    if (index >= 0 && index < GetItemCount()) Pick(index);
    else CloseDropDown();
    return 1;
  }
  if (code == kDropDownClosed) {
    // When the press that dismissed the list is on this combo, its release
    // must not open the list again.
    POINT cursor{};
    HWND hwnd = m_manager != nullptr ? m_manager->GetPaintWnd() : nullptr;
    if (hwnd != nullptr && platform::GetKeyState(VK_LBUTTON) < 0 && platform::GetCursorPos(&cursor) &&
        platform::ScreenToClient(hwnd, &cursor) && m_rect.PtInRect(CPoint(cursor.x, cursor.y))) {
      m_swallowRelease = 1;
    }
    CloseDropDown();
    SetState(0);
    return 1;
  }
  return 0;
}

// --- 5. Input and drawing ---------------------------------------------------------------------------------------

void MComboBox::InitControl(PaintManager* manager) {
  MControlFont::InitControl(manager);
  if (m_image == nullptr && manager != nullptr) SetImage(L"img_combobox.png", kFaceStates);
}

void MComboBox::SetState(int state) {
  if (!m_enabled) state = 3;
  if (state == m_state) return;
  m_state = state;
  UpdateControl(0, 0);
}

void MComboBox::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  m_swallowRelease = 0;
  if (!enabled) CloseDropDown();
  m_state = enabled ? 0 : 3;
}

void MComboBox::SetControlVisible(int visible) {
  MControlFont::SetControlVisible(visible);
  m_swallowRelease = 0;
  if (!visible) CloseDropDown();
}

int MComboBox::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  if (m_pressedInside || m_dropDown != nullptr) return m_rect.PtInRect(pt) ? 1 : 0;
  SetState(m_rect.PtInRect(pt) ? 1 : 0);
  return m_state == 1 ? 1 : 0;
}

int MComboBox::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled || !m_rect.PtInRect(pt)) return 0;
  SetState(2);
  return 1;
}

int MComboBox::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  const bool swallow = m_swallowRelease != 0;
  m_swallowRelease = 0;
  if (!m_rect.PtInRect(pt)) {
    SetState(0);
    return 1;
  }
  SetState(1);
  if (!swallow) OpenDropDown();
  return 1;
}

void MComboBox::DrawFace(HDC dc, int state, CRect cell) {
  if (m_image != nullptr && m_imageWidth > 0) {
    MRender::DrawImageFrameMID(dc, m_image, cell, state * m_imageWidth, 0, m_imageWidth, m_imageHeight,
                               m_borderLeft, m_borderTop, m_borderRight, m_borderBottom);
  } else {
    // Without a skin image: a plain field with a chevron.
    const ARGB fill = state == 2 ? 0xFF30343D : state == 1 ? 0xFF2A2E36 : 0xFF23262D;
    dc->Canvas().FillRoundRect(platform::RectF::FromRect(cell), 4, 4, platform::Brush::SolidColor(fill));
    platform::Path chevron;
    const float cx = float(cell.right - m_borderRight / 2), cy = float(cell.top + cell.Height() / 2);
    chevron.MoveTo(cx - 5, cy - 2);
    chevron.LineTo(cx, cy + 3);
    chevron.LineTo(cx + 5, cy - 2);
    platform::Pen pen;
    pen.color = state == 3 ? m_disabledTextColor.GetValue() : 0xFFC8C8C8;
    pen.width = 2;
    dc->Canvas().DrawPath(chevron, pen);
  }
  CRect text = GetTextRect();
  text.OffsetRect(cell.left, cell.top);
  DrawControlText(dc, text, m_title, state == 3 ? m_disabledTextColor : m_textColor);
}

void MComboBox::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, kFaceStates * w, h);
    for (int i = 0; i < kFaceStates; ++i) {
      MRender::BitBlt(m_cacheDC, i * w, 0, w, h, dc, m_rect.left, m_rect.top);
      DrawFace(m_cacheDC, i, CRect(i * w, 0, (i + 1) * w, h));
    }
  }
  const int column = m_enabled ? std::clamp(m_state, 0, 2) : 3;
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, column * w, 0);
}

}  // namespace DUI
