#include "toolkit/core/DListBox.h"

#include <algorithm>

#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MImageList.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"DListBox", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new DListBox(p, id, r, v);
})

namespace {

// Rows fade out over this many pixels where more content lies beyond an edge.
constexpr int kFadeBand = 16;
constexpr int kTextPadding = 12;

}  // namespace

DListBox::DListBox(MObject* parent, UINT id, CRect rect, int visible)
    : MPanel(parent, id, rect, visible),
      m_hoverColor(Manager::m_select_color),
      m_selectColor(Manager::m_select_color) {}

DListBox::~DListBox() = default;

// --- 1. Items ----------------------------------------------------------------------------

void DListBox::Relayout() {
  for (size_t i = 0; i < m_items.size(); ++i) {
    const int top = m_rect.top + int(i) * m_itemHeight;
    m_items[i].rect = CRect(m_rect.left, top, m_rect.right, top + m_itemHeight);
  }
  m_virtualHeight = int(m_items.size()) * m_itemHeight;
  m_virtualWidth = 0;
  UpdateScrollBars();
}

int DListBox::AddString(const wchar_t* text, long data, int image) {
  return InsertString(-1, text, image, data);
}

int DListBox::InsertString(int index, const wchar_t* text, int image, long data) {
  const int count = GetItemCount();
  if (index < -1 || index > count - 1) return -1;
  ListItem item;
  item.text = text != nullptr ? text : L"";
  item.data = data;
  item.image = image;
  if (index == -1) {
    m_items.push_back(std::move(item));
  } else {
    m_items.insert(m_items.begin() + index, std::move(item));
    // Selection and hover stay with the items they marked.
    if (m_selected >= index) ++m_selected;
    if (m_hover >= index) ++m_hover;
    if (m_editIndex >= index) ++m_editIndex;
  }
  Relayout();
  UpdateControl(1, 0);
  return GetItemCount() - 1;
}

CString DListBox::GetItemText(int index) const {
  return (index >= 0 && index < GetItemCount()) ? m_items[size_t(index)].text : CString();
}

long DListBox::GetItemData(int index) const {
  return (index >= 0 && index < GetItemCount()) ? m_items[size_t(index)].data : 0;
}

int DListBox::SetItemData(int index, long data) {
  if (index < 0 || index >= GetItemCount()) return 0;
  m_items[size_t(index)].data = data;
  return 1;
}

int DListBox::ModifyItemString(int index, const wchar_t* text) {
  if (index < 0 || index >= GetItemCount()) return 0;
  m_items[size_t(index)].text = text != nullptr ? text : L"";
  UpdateControl(1, 0);
  return 1;
}

int DListBox::FindString(const wchar_t* text) const {
  if (text == nullptr) return -1;
  for (size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].text == text) return int(i);
  }
  return -1;
}

int DListBox::FindItemData(long data) const {
  for (size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].data == data) return int(i);
  }
  return -1;
}

int DListBox::DeleteItem(int index) {
  if (index < 0 || index >= GetItemCount()) return 0;
  if (m_editIndex == index) CloseEdit();
  m_items.erase(m_items.begin() + index);
  auto follow = [index](int& marked) {
    if (marked == index) marked = -1;
    else if (marked > index) --marked;
  };
  follow(m_selected);
  follow(m_hover);
  follow(m_editIndex);
  Relayout();
  UpdateControl(1, 0);
  return 1;
}

void DListBox::DeleteAllItems() {
  if (m_editIndex >= 0) CloseEdit();
  m_items.clear();
  m_selected = m_hover = m_editIndex = -1;
  Relayout();
  UpdateControl(1, 0);
}

int DListBox::SwapItem(int a, int b) {
  const int count = GetItemCount();
  if (a < 0 || b < 0 || a >= count || b >= count) return 0;
  if (a == b) return 1;
  std::swap(m_items[size_t(a)].text, m_items[size_t(b)].text);
  std::swap(m_items[size_t(a)].data, m_items[size_t(b)].data);
  std::swap(m_items[size_t(a)].image, m_items[size_t(b)].image);
  auto follow = [a, b](int& marked) {
    if (marked == a) marked = b;
    else if (marked == b) marked = a;
  };
  follow(m_selected);
  follow(m_editIndex);
  UpdateControl(1, 0);
  return 1;
}

CRect DListBox::GetItemRect(int index) const {
  return (index >= 0 && index < GetItemCount()) ? m_items[size_t(index)].rect : CRect();
}

// --- 2. Selection --------------------------------------------------------------------------

int DListBox::SetCurSel(int index) { return Select(index, true); }

int DListBox::Select(int index, bool reveal) {
  if (index < -1 || index >= GetItemCount()) return 0;
  if (index == m_selected) return 1;
  m_selected = index;
  // A selection made by the program is brought into view; one made with
  // the mouse is already under the pointer and must stay there.
  if (index >= 0 && reveal) EnsureVisible(GetItemRect(index));
  UpdateControl(1, 0);
  return 1;
}

int DListBox::GetFirstVisible() const {
  const int count = GetItemCount();
  return count > 0 ? std::min(count - 1, GetScrollOffset().y / m_itemHeight) : -1;
}

int DListBox::GetLastVisible() const {
  const int count = GetItemCount();
  if (count == 0 || m_rect.Height() <= 0) return -1;
  return std::min(count - 1, (GetScrollOffset().y + m_rect.Height() - 1) / m_itemHeight);
}

long DListBox::GetCurData() const { return GetItemData(m_selected); }

int DListBox::SetCurData(long data) {
  const int index = FindItemData(data);
  if (index < 0) return -1;
  SetCurSel(index);
  return index;
}

// --- 3. Look ---------------------------------------------------------------------------------

void DListBox::SetItemHeight(int height) {
  if (height <= 0 || height == m_itemHeight) return;
  m_itemHeight = height;
  Relayout();
  UpdateControl(1, 0);
}

void DListBox::SetImageList(MImageList* images) {
  m_imageList = images;
  UpdateControl(1, 0);
}

int DListBox::SetImage(int index, int image) {
  if (index < 0 || index >= GetItemCount()) return 0;
  m_items[size_t(index)].image = image;
  UpdateControl(1, 0);
  return 1;
}

int DListBox::SetEditImage(const wchar_t* file, int count) {
  if (m_manager == nullptr || file == nullptr || count <= 0) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, count);
  if (info == nullptr) return 0;
  m_editImage = info->image.get();
  m_editWidth = info->frameWidth;
  m_editHeight = info->height;
  UpdateControl(1, 0);
  return 1;
}

CRect DListBox::GetEditRect(int index) const {
  if (m_editImage == nullptr || index < 0 || index >= GetItemCount()) return CRect();
  const CRect row = m_items[size_t(index)].rect;
  const int h = std::min(m_editHeight, row.Height());
  const int w = m_editHeight > 0 ? m_editWidth * h / m_editHeight : 0;
  const int right = row.right - kTextPadding + 4 - m_thickness;
  const int top = row.top + (row.Height() - h) / 2;
  return CRect(right - w, top, right, top + h);
}

void DListBox::SetHoverColor(Color colour) {
  m_hoverColor = colour;
  UpdateControl(1, 0);
}

void DListBox::SetSelectColor(Color colour) {
  m_selectColor = colour;
  UpdateControl(1, 0);
}

// --- 4. The in-place editor's hooks ------------------------------------------------------------

int DListBox::ShowEdit(int index) {
  if (!m_showEdit || index < 0 || index >= GetItemCount() || m_manager == nullptr) return 0;
  CloseEdit();
  if (!m_editor) {
    m_editor = std::make_unique<TextEditor>();
    m_editor->onChange = [this] { SendMessageW(CN_EDITCHANGE, 0, 0); };
    m_editor->onClose = [this] {
      const int edited = m_editIndex;
      m_editIndex = -1;
      if (edited >= 0 && edited < GetItemCount()) m_items[size_t(edited)].text = m_editor->GetText();
      UpdateControl(1, 0);
      SendMessageW(CN_EDITEND, 0, LPARAM(edited));
    };
  }
  EnsureVisible(GetItemRect(index));
  // Over the row's text: right of its icon, left of its edit icon.
  CRect text = GetItemRect(index);
  text.DeflateRect(kTextPadding - 2, 4, kTextPadding - 2 + m_thickness, 4);
  if (m_imageList != nullptr && m_items[size_t(index)].image >= 0) {
    const CSize size = m_imageList->GetImageSize();
    const int h = std::min(size.cy, m_itemHeight - 8);
    text.left += (size.cy > 0 ? size.cx * h / size.cy : 0) + 8;
  }
  const CRect icon = GetEditRect(index);
  if (!icon.IsRectEmpty()) text.right = icon.left - 6;
  platform::FontSpec font = FontSpecFor();
  if (GetFontFamily(m_fontName.c_str()) != nullptr) font.family = m_fontFamily->GetFamilyName();
  m_editor->SetFont(font);
  m_editor->SetLimit(120);
  m_editor->SetColors(m_textColor, Color(0xFF1A1D22), Manager::GetSelectColor());
  m_editIndex = index;
  if (!m_editor->Open(this, ContentToWindow(text), m_items[size_t(index)].text)) {
    m_editIndex = -1;
    return 0;
  }
  SendMessageW(CN_EDITBEGIN, 0, LPARAM(index));
  return 1;
}

void DListBox::CloseEdit() {
  if (m_editor && m_editor->IsOpen()) m_editor->Close();
  m_editIndex = -1;
}

// --- 5. Overrides ----------------------------------------------------------------------------------

void DListBox::SetControlRect(CRect rect) {
  MPanel::SetControlRect(rect);
  Relayout();
}

int DListBox::ItemAt(CPoint pt) {
  if (!GetViewRect().PtInRect(pt)) return -1;
  const int index = (pt.y - m_rect.top) / m_itemHeight;
  return (pt.y >= m_rect.top && index < GetItemCount()) ? index : -1;
}

void DListBox::SetHover(int index) {
  if (index == m_hover) return;
  m_hover = index;
  UpdateControl(1, 0);
}

int DListBox::OnControlMouseMove(UINT, CPoint pt) {
  const bool inside = GetViewRect().PtInRect(pt);
  const CPoint offset = GetScrollOffset();
  m_lastWindowPoint = inside ? CPoint(pt.x - offset.x, pt.y - offset.y) : CPoint(-1, -1);
  SetHover(ItemAt(pt));
  return inside ? 1 : 0;
}

int DListBox::OnControlLButtonDown(UINT, CPoint pt) {
  SetHover(ItemAt(pt));
  if (m_hover >= 0) {
    CloseEdit();
    Select(m_hover, false);
  }
  return 1;
}

int DListBox::OnControlLButtonUp(UINT, CPoint pt) {
  const int at = ItemAt(pt);
  SetHover(at);
  if (at < 0) return 1;
  Select(at, false);
  const bool onEditIcon = GetEditRect(at).PtInRect(pt);
  SendMessageW(onEditIcon ? CN_SUBCLICK : CN_CLICK, 0, 0);
  return 1;
}

int DListBox::OnControlRButtonDown(UINT, CPoint) { return 1; }

int DListBox::OnControlRButtonUp(UINT, CPoint pt) {
  const int at = ItemAt(pt);
  SetHover(at);
  Select(at, false);
  if (GetViewRect().PtInRect(pt)) SendMessageW(CN_RCLICK, WPARAM(at), 0);
  return 1;
}

int DListBox::OnControlScroll(int kind, UINT down, CPoint) {
  if (kind != 1 || !m_enableScroll || m_virtualHeight <= m_rect.Height()) return 0;
  CloseEdit();
  CScrollVertical* bar = GetScrollVertical();
  if (bar == nullptr) return 0;
  bar->ScrollRow(down ? m_wheelRows : -m_wheelRows);
  // The row under a pointer that stayed put is another one now.
  if (m_lastWindowPoint.x >= 0) SetHover(ItemAt(WindowToContent(m_lastWindowPoint)));
  return 1;
}

LRESULT DListBox::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  const bool fromBar = id == kScrollVerticalId || id == kScrollHorizontalId;
  if (fromBar && code == CN_SCROLL) CloseEdit();
  if (fromBar && (code == CN_SCROLL || ((code == CN_PRESS || code == CN_CLICK) && wParam == CN_SCROLL))) {
    UpdateControl(1, 0);
  }
  return MPanel::OnMessage(id, code, wParam, lParam);
}

void DListBox::DrawItem(HDC dc, int index, CRect row) {
  const ListItem& item = m_items[size_t(index)];
  if (index == m_selected) {
    MRender::DrawColor(dc, row, m_selectColor);
  } else if (index == m_hover) {
    // The hover look is the select colour, faint.
    MRender::DrawColor(dc, row, Color((m_hoverColor.GetValue() & 0x00FFFFFF) | 0x40000000));
  }
  MRender::DrawColor(dc, CRect(row.left + kTextPadding, row.bottom - 1, row.right - kTextPadding, row.bottom),
                     Color(0x18FFFFFF));
  CRect text(row.left + kTextPadding, row.top, row.right - kTextPadding, row.bottom);
  // The open editor shows this row's text.
  const bool editing = index == m_editIndex && m_editor && m_editor->IsOpen();
  if (m_imageList != nullptr && item.image >= 0 && item.image < m_imageList->GetImageCount()) {
    const CSize size = m_imageList->GetImageSize();
    const int h = std::min(size.cy, row.Height() - 8);
    const int w = size.cy > 0 ? size.cx * h / size.cy : 0;
    const int top = row.top + (row.Height() - h) / 2;
    m_imageList->Draw(dc, item.image, CRect(text.left, top, text.left + w, top + h));
    text.left += w + 8;
  }
  if (m_editImage != nullptr && (index == m_hover || index == m_selected)) {
    CRect icon = GetEditRect(index);
    // The edit icon's rectangle is in content coordinates; here rows are
    // drawn at (row.left, row.top).
    icon.OffsetRect(row.left - m_items[size_t(index)].rect.left, row.top - m_items[size_t(index)].rect.top);
    const int frame = (index == m_hover && m_editWidth * 2 <= m_editImage->Width()) ? 1 : 0;
    MRender::DrawImage(dc, m_editImage, icon, frame * m_editWidth, 0, m_editWidth, m_editHeight);
    text.right = icon.left - 8;
  }
  // One line, ended with an ellipsis when the name is longer than the row.
  if (!editing) {
    MRender::DrawTextARGB(dc, text, item.text.c_str(), m_textColor, GetGDIFont(),
                          m_hAlign | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}

void DListBox::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    UpdateAnimateDC(dc, w, h);
    // The background goes into both buffers: the cache keeps it to fade the
    // rows into, the animation buffer gets the rows on top.
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    if (m_image != nullptr && m_imageWidth > 0) {
      MRender::DrawImageFrame(m_cacheDC, m_image, CRect(0, 0, w, h), 0, 0, m_imageWidth, m_imageHeight,
                              m_backCorner);
    }
    MRender::BitBlt(m_animateDC, 0, 0, w, h, m_cacheDC, 0, 0);
    const int offset = GetScrollOffset().y;
    const int last = GetLastVisible();
    for (int i = GetFirstVisible(); i >= 0 && i <= last; ++i) {
      const int top = i * m_itemHeight - offset;
      DrawItem(m_animateDC, i, CRect(0, top, w, top + m_itemHeight));
    }
    // Where more rows lie beyond an edge, the rows fade out towards it.
    const int band = std::min(kFadeBand, h / 4);
    const bool fadeTop = offset > 0 && band > 0;
    const bool fadeBottom = offset + h < m_virtualHeight && band > 0;
    const int from = fadeTop ? band : 0, to = fadeBottom ? h - band : h;
    MRender::BitBlt(m_cacheDC, 0, from, w, to - from, m_animateDC, 0, from);
    if (fadeTop) {
      MRender::DrawVerticalTransition(m_cacheDC, m_animateDC, CRect(0, 0, w, band), CRect(0, 0, w, band), 70, 0);
    }
    if (fadeBottom) {
      MRender::DrawVerticalTransition(m_cacheDC, m_animateDC, CRect(0, h - band, w, h), CRect(0, h - band, w, h), 0,
                                      70);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
  if (m_editor && m_editor->IsOpen()) m_editor->Draw(dc);
}

}  // namespace DUI
