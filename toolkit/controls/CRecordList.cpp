#include "toolkit/controls/CRecordList.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "toolkit/controls/ListFade.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CRecordList", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new CRecordList(p, id, r, v);
})

namespace {

// Columns of a row at scale 1, from the row's left edge.
constexpr int kIndexLeft = 15, kIndexRight = 65;
constexpr int kIconLeft = 65, kIconRight = 190;
constexpr int kTextLeft = 190, kTextRight = 340;
constexpr int kMorePadding = 8;

}  // namespace

// --- 1. Construction and images -----------------------------------------------------------

CRecordList::CRecordList(MObject* parent, UINT id, CRect rect, int visible) : MPanel(parent, id, rect, visible) {
  // Editing a row needs the double click itself, not a second press.
  SetDblClk(1);
  m_imageCount = 8;
}

CRecordList::~CRecordList() {
  // The editor must not call back into a list that is going away.
  if (m_editor) m_editor->Detach();
}

int CRecordList::SetItemImage(const wchar_t* file, int count) {
  if (m_manager == nullptr || file == nullptr || count <= 0) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, count);
  if (info == nullptr) return 0;
  m_rowImage = info->image.get();
  m_rowWidth = info->frameWidth;
  m_rowHeight = info->height;
  m_rowCount = info->count;
  UpdateControl(1, 0);
  return 1;
}

int CRecordList::SetMoreImage(const wchar_t* file, int count) {
  if (m_manager == nullptr || file == nullptr || count <= 0) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, count);
  if (info == nullptr) return 0;
  m_moreImage = info->image.get();
  m_moreWidth = info->frameWidth;
  m_moreHeight = info->height;
  m_moreCount = info->count;
  UpdateControl(1, 0);
  return 1;
}

// --- 2. Rows -------------------------------------------------------------------------------

int CRecordList::RowHeight() const { return std::max(1, int(std::lround(float(m_itemHeight) * m_scale))); }

int CRecordList::Scaled(int x) const { return int(std::lround(float(x) * m_scale)); }

void CRecordList::Relayout() {
  {
    std::lock_guard lock(m_itemsLock);
    const int h = RowHeight();
    for (size_t i = 0; i < m_items.size(); ++i) {
      const int top = m_rect.top + int(i) * h;
      m_items[i]->rect = CRect(m_rect.left, top, m_rect.right, top + h);
    }
    m_virtualHeight = int(m_items.size()) * h;
    m_virtualWidth = 0;
  }
  // Painting takes the panel's controls lock before the rows' lock; the
  // bars are placed under the controls lock, so never with the rows' held.
  UpdateScrollBars();
}

void CRecordList::FollowInsert(int index) {
  for (int* marked : {&m_selected, &m_hover, &m_editIndex, &m_moreHover}) {
    if (*marked >= index) ++*marked;
  }
}

void CRecordList::FollowRemove(int index) {
  for (int* marked : {&m_selected, &m_hover, &m_editIndex, &m_moreHover}) {
    if (*marked == index) *marked = -1;
    else if (*marked > index) --*marked;
  }
  if (m_selected < 0) m_partnerOn = false;
}

int CRecordList::AddString(CString text, int type, int key, int value) {
  return InsertString(-1, std::move(text), type, key, value);
}

int CRecordList::InsertString(int index, CString text, int type, int key, int value) {
  int last;
  {
    std::lock_guard lock(m_itemsLock);
    const int count = int(m_items.size());
    if (index < -1 || index > count) return -1;
    if (index == -1) index = count;
    auto item = std::make_unique<RecordItem>();
    item->text = std::move(text);
    item->type = type;
    item->key = key;
    item->value = value;
    m_items.insert(m_items.begin() + index, std::move(item));
    FollowInsert(index);
    last = int(m_items.size()) - 1;
  }
  Relayout();
  UpdateControl(1, 0);
  return last;
}

int CRecordList::DeleteItem(int index) {
  {
    std::lock_guard lock(m_itemsLock);
    if (index < 0 || index >= int(m_items.size())) return 0;
  }
  if (m_editIndex == index) CloseEdit();
  {
    std::lock_guard lock(m_itemsLock);
    if (index >= int(m_items.size())) return 0;
    m_items.erase(m_items.begin() + index);
    FollowRemove(index);
  }
  Relayout();
  UpdateControl(1, 0);
  return 1;
}

int CRecordList::DeleteAllItems() {
  CloseEdit();
  int removed;
  {
    std::lock_guard lock(m_itemsLock);
    removed = int(m_items.size());
    m_items.clear();
    m_selected = m_hover = m_editIndex = m_moreHover = -1;
    m_partnerOn = false;
  }
  Relayout();
  UpdateControl(1, 0);
  return removed;
}

int CRecordList::GetItemCount() const {
  std::lock_guard lock(m_itemsLock);
  return int(m_items.size());
}

int CRecordList::GetEventCount() const {
  std::lock_guard lock(m_itemsLock);
  return int(std::count_if(m_items.begin(), m_items.end(), [](const auto& r) { return r->type != 1; }));
}

bool CRecordList::GetRecordInfo(int index, CString& text, int& type, int& key, int& value) const {
  std::lock_guard lock(m_itemsLock);
  if (index < 0 || index >= int(m_items.size())) return false;
  const RecordItem& r = *m_items[size_t(index)];
  text = r.text;
  type = r.type;
  key = r.key;
  value = r.value;
  return true;
}

int CRecordList::SetRecordInfo(int index, CString text, int type, int key, int value) {
  {
    std::lock_guard lock(m_itemsLock);
    if (index < 0 || index >= int(m_items.size())) return 0;
    RecordItem& r = *m_items[size_t(index)];
    r.text = std::move(text);
    r.type = type;
    r.key = key;
    r.value = value;
    if (index == m_selected) m_selectValue = value;
  }
  UpdateControl(1, 0);
  return 1;
}

std::vector<RecordItem> CRecordList::GetRecordItems() const {
  std::lock_guard lock(m_itemsLock);
  std::vector<RecordItem> rows;
  rows.reserve(m_items.size());
  for (const auto& r : m_items) rows.push_back(*r);
  return rows;
}

CRect CRecordList::GetItemRect(int index) const {
  std::lock_guard lock(m_itemsLock);
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)]->rect : CRect();
}

CRect CRecordList::GetMoreRect(int index) const {
  if (m_moreImage == nullptr || m_moreHeight <= 0) return CRect();
  const CRect row = GetItemRect(index);
  if (row.IsRectEmpty()) return CRect();
  const int h = std::min(Scaled(m_moreHeight), row.Height());
  const int w = m_moreWidth * h / m_moreHeight;
  const int right = row.right - Scaled(kMorePadding) - m_thickness;
  const int top = row.top + (row.Height() - h) / 2;
  return CRect(right - w, top, right, top + h);
}

CRect CRecordList::TextRect(int index) const {
  const CRect row = GetItemRect(index);
  if (row.IsRectEmpty()) return CRect();
  CRect text(row.left + Scaled(kTextLeft), row.top, row.left + Scaled(kTextRight), row.bottom);
  const CRect more = GetMoreRect(index);
  if (!more.IsRectEmpty()) text.right = std::min(text.right, more.left - Scaled(kMorePadding));
  text.right = std::min(text.right, row.right - m_thickness);
  if (text.right < text.left) text.right = text.left;
  return text;
}

// --- 3. Rows by stamp -----------------------------------------------------------------------

int CRecordList::SetRecordInfo(int value, int type, CString text, int key) {
  int changed = 0;
  {
    std::lock_guard lock(m_itemsLock);
    for (auto& r : m_items) {
      if (r->value != value || r->type != type) continue;
      r->text = text;
      r->key = key;
      ++changed;
    }
  }
  if (changed > 0) UpdateControl(1, 0);
  return changed;
}

int CRecordList::GetRecrodTimeStamp(int index) const {
  std::lock_guard lock(m_itemsLock);
  return (index >= 0 && index < int(m_items.size())) ? m_items[size_t(index)]->value : 0;
}

bool CRecordList::UpdateDelayTime(int value) {
  {
    std::lock_guard lock(m_itemsLock);
    if (m_items.empty()) return false;
    m_items.back()->value = value;
    if (m_selected == int(m_items.size()) - 1) m_selectValue = value;
  }
  UpdateControl(1, 0);
  return true;
}

void CRecordList::UpdateTimeStamp(int type, int key, int value) {
  const int press = type == 3 ? 2 : type == 5 ? 4 : 0;
  {
    std::lock_guard lock(m_itemsLock);
    for (int i = int(m_items.size()) - 1; i >= 0; --i) {
      RecordItem& r = *m_items[size_t(i)];
      if (r.key != key) continue;
      if (r.type == type) {
        r.value = value;
      } else if (press != 0 && r.type == press) {
        r.value = value;
        break;
      }
    }
    if (m_selected >= 0) m_selectValue = m_items[size_t(m_selected)]->value;
  }
  UpdateControl(1, 0);
}

int CRecordList::DeleteTimeStamp(int value) {
  CloseEdit();
  int removed;
  {
    std::lock_guard lock(m_itemsLock);
    const size_t before = m_items.size();
    std::erase_if(m_items, [value](const auto& r) { return r->value == value; });
    removed = int(before - m_items.size());
    m_hover = m_selected = m_moreHover = -1;
    m_partnerOn = false;
  }
  Relayout();
  UpdateControl(1, 0);
  return removed;
}

void CRecordList::SetTimeStampSelect(int value) {
  {
    std::lock_guard lock(m_itemsLock);
    m_selectValue = value;
    m_partnerOn = true;
  }
  UpdateControl(1, 0);
}

// --- 4. Order ---------------------------------------------------------------------------------

void CRecordList::MoveRow(int from, int to) {
  auto row = std::move(m_items[size_t(from)]);
  m_items.erase(m_items.begin() + from);
  m_items.insert(m_items.begin() + to, std::move(row));
  m_hover = m_moreHover = -1;
}

void CRecordList::MoveTop(int index) {
  if (index < 0 || index >= GetItemCount()) return;
  CloseEdit();
  {
    std::lock_guard lock(m_itemsLock);
    MoveRow(index, 0);
    m_selected = -1;
  }
  Relayout();
  Select(0, true);
  UpdateControl(1, 0);
}

void CRecordList::MoveBottom(int index) {
  const int count = GetItemCount();
  if (index < 0 || index >= count) return;
  CloseEdit();
  {
    std::lock_guard lock(m_itemsLock);
    MoveRow(index, count - 1);
    m_selected = -1;
  }
  Relayout();
  Select(count - 1, true);
  UpdateControl(1, 0);
}

int CRecordList::SwapItem(int a, int b) {
  {
    std::lock_guard lock(m_itemsLock);
    const int count = int(m_items.size());
    if (a < 0 || b < 0 || a >= count || b >= count) return 0;
    if (a == b) return 1;
    std::swap(m_items[size_t(a)], m_items[size_t(b)]);
    for (int* marked : {&m_selected, &m_editIndex}) {
      if (*marked == a) *marked = b;
      else if (*marked == b) *marked = a;
    }
  }
  Relayout();
  UpdateControl(1, 0);
  return 1;
}

// --- 5. Selection -------------------------------------------------------------------------------

int CRecordList::GetCurSel() const {
  std::lock_guard lock(m_itemsLock);
  return m_selected;
}

int CRecordList::SetCurSel(int index) { return Select(index, true); }

int CRecordList::Select(int index, bool reveal) {
  CRect show;
  {
    std::lock_guard lock(m_itemsLock);
    if (index < -1 || index >= int(m_items.size())) return 0;
    const bool partner = index >= 0;
    const int value = partner ? m_items[size_t(index)]->value : 0;
    if (index == m_selected && partner == m_partnerOn && value == m_selectValue) return 1;
    m_selected = index;
    m_partnerOn = partner;
    m_selectValue = value;
    if (partner && reveal) show = m_items[size_t(index)]->rect;
  }
  // A selection made by the program is brought into view; one made with
  // the mouse is already under the pointer and must stay there.
  if (!show.IsRectEmpty()) EnsureVisible(show);
  UpdateControl(1, 0);
  return 1;
}

int CRecordList::GetSelectEvent() const {
  std::lock_guard lock(m_itemsLock);
  if (m_selected < 0) return -1;
  for (int i = m_selected; i < int(m_items.size()); ++i) {
    if (m_items[size_t(i)]->type == 1) return i;
  }
  return -1;
}

bool CRecordList::IsPartner(int index) const {
  return m_partnerOn && index >= 0 && index < int(m_items.size()) && m_items[size_t(index)]->value == m_selectValue;
}

bool CRecordList::IsRowHighlighted(int index) const {
  std::lock_guard lock(m_itemsLock);
  return index >= 0 && index < int(m_items.size()) && (index == m_selected || index == m_hover || IsPartner(index));
}

// --- 6. The in-place editor ------------------------------------------------------------------------

void CRecordList::SetEditText(CString text) {
  m_editText = text;
  if (m_editor && m_editor->IsOpen()) m_editor->SetText(text);
  UpdateControl(1, 0);
}

CString CRecordList::GetEditText() const {
  return (m_editor && m_editor->IsOpen()) ? m_editor->GetText() : m_editText;
}

int CRecordList::ShowEdit(int index) {
  if (m_manager == nullptr || index < 0 || index >= GetItemCount()) return 0;
  CloseEdit();
  if (!m_editor) {
    m_editor = std::make_unique<TextEditor>();
    m_editor->onChange = [this] {
      m_editText = m_editor->GetText();
      SendMessageW(CN_EDITCHANGE, 0, 0);
    };
    m_editor->onClose = [this] { EditorClosed(); };
  }
  Select(index, false);
  EnsureVisible(GetItemRect(index));
  m_editor->SetFont(FontSpecFor());
  m_editor->SetColors(Color(kEditorText), Color(kEditorBack), Manager::GetSelectColor());
  m_editText.clear();
  m_editIndex = index;
  if (!m_editor->Open(this, ContentToWindow(TextRect(index)), CString())) {
    m_editIndex = -1;
    return 0;
  }
  UpdateControl(1, 0);
  SendMessageW(CN_EDITBEGIN, 0, LPARAM(index));
  return 1;
}

void CRecordList::CloseEdit() {
  if (m_editor && m_editor->IsOpen()) m_editor->Close();
  m_editIndex = -1;
}

void CRecordList::EditorClosed() {
  const int edited = m_editIndex;
  m_editIndex = -1;
  m_editText = m_editor->GetText();
  UpdateControl(1, 0);
  SendMessageW(CN_EDITEND, 0, LPARAM(edited));
}

// --- 7. Look --------------------------------------------------------------------------------------------

void CRecordList::SetItemHeight(int height) {
  if (height <= 0 || height == m_itemHeight) return;
  CloseEdit();
  m_itemHeight = height;
  Relayout();
  UpdateControl(1, 0);
}

void CRecordList::SetScaleValue(float scale) {
  if (!(scale > 0.0f) || scale == m_scale) return;
  CloseEdit();
  m_scale = scale;
  Relayout();
  UpdateControl(1, 0);
}

void CRecordList::SetIndexColor(Color colour) {
  m_indexColor = colour;
  UpdateControl(1, 0);
}

int CRecordList::GetFirstVisible() const {
  const int count = GetItemCount();
  return count > 0 ? std::min(count - 1, GetScrollOffset().y / RowHeight()) : -1;
}

int CRecordList::GetLastVisible() const {
  const int count = GetItemCount();
  if (count == 0 || m_rect.Height() <= 0) return -1;
  return std::min(count - 1, (GetScrollOffset().y + m_rect.Height() - 1) / RowHeight());
}

int CRecordList::IconFrame(int type, bool highlighted) {
  int frame = 2;
  if (type == 1) frame = 6;
  else if (type >= 4 && type <= 7) frame = 4;
  else if (type >= 8 && type <= 12) frame = 0;
  return frame + (highlighted ? 1 : 0);
}

// --- 8. Overrides ------------------------------------------------------------------------------------------

void CRecordList::SetControlRect(CRect rect) {
  CloseEdit();
  MPanel::SetControlRect(rect);
  Relayout();
}

int CRecordList::ItemAt(CPoint pt) {
  if (!GetViewRect().PtInRect(pt)) return -1;
  const int index = (pt.y - m_rect.top) / RowHeight();
  return (pt.y >= m_rect.top && index < GetItemCount()) ? index : -1;
}

void CRecordList::SetHover(int index) {
  if (index == m_hover) return;
  m_hover = index;
  UpdateControl(1, 0);
}

int CRecordList::OnControlMouseMove(UINT, CPoint pt) {
  const bool inside = GetViewRect().PtInRect(pt);
  const CPoint offset = GetScrollOffset();
  m_lastWindowPoint = inside ? CPoint(pt.x - offset.x, pt.y - offset.y) : CPoint(-1, -1);
  const int at = ItemAt(pt);
  SetHover(at);
  const int more = (at >= 0 && GetMoreRect(at).PtInRect(pt)) ? at : -1;
  if (more != m_moreHover) {
    m_moreHover = more;
    UpdateControl(1, 0);
  }
  return inside ? 1 : 0;
}

int CRecordList::OnControlLButtonDown(UINT, CPoint pt) {
  CloseEdit();
  const int at = ItemAt(pt);
  SetHover(at);
  Select(at, false);
  SendMessageW(CN_PRESS, WPARAM(at), 0);
  return 1;
}

int CRecordList::OnControlLButtonUp(UINT, CPoint pt) {
  const int at = ItemAt(pt);
  SetHover(at);
  if (at < 0) return 1;
  Select(at, false);
  const bool onMore = GetMoreRect(at).PtInRect(pt);
  SendMessageW(onMore ? CN_SUBCLICK : CN_CLICK, WPARAM(at), 0);
  return 1;
}

int CRecordList::OnControlLButtonDblClk(UINT, CPoint pt) {
  const int at = ItemAt(pt);
  SetHover(at);
  // The more button answers the click's release; the rest of the row is
  // the place to edit.
  if (at >= 0 && !GetMoreRect(at).PtInRect(pt)) ShowEdit(at);
  return 1;
}

int CRecordList::OnControlRButtonDown(UINT, CPoint) {
  CloseEdit();
  return 1;
}

int CRecordList::OnControlRButtonUp(UINT, CPoint pt) {
  const int at = ItemAt(pt);
  SetHover(at);
  Select(at, false);
  if (GetViewRect().PtInRect(pt)) SendMessageW(CN_RCLICK, WPARAM(at), 0);
  return 1;
}

int CRecordList::OnControlScroll(int kind, UINT down, CPoint) {
  if (kind != 1 || !m_enableScroll || m_virtualHeight <= m_rect.Height()) return 0;
  CloseEdit();
  CScrollVertical* bar = GetScrollVertical();
  if (bar == nullptr) return 0;
  bar->ScrollRow(down ? kWheelRows : -kWheelRows);
  // The row under a pointer that stayed put is another one now.
  if (m_lastWindowPoint.x >= 0) SetHover(ItemAt(WindowToContent(m_lastWindowPoint)));
  UpdateControl(1, 0);
  return 1;
}

LRESULT CRecordList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  const bool fromBar = id == kScrollVerticalId || id == kScrollHorizontalId;
  if (fromBar && code == CN_SCROLL) CloseEdit();
  if (fromBar && (code == CN_SCROLL || ((code == CN_PRESS || code == CN_CLICK) && wParam == CN_SCROLL))) {
    UpdateControl(1, 0);
  }
  return MPanel::OnMessage(id, code, wParam, lParam);
}

void CRecordList::DrawItem(HDC dc, int index, CRect row) {
  const RecordItem& item = *m_items[size_t(index)];
  const bool marked = index == m_selected || IsPartner(index);
  const bool editing = index == m_editIndex && m_editor && m_editor->IsOpen();
  if (m_rowImage != nullptr && m_rowWidth > 0) {
    int frame = (marked || index == m_hover) ? 1 : 0;
    // A two-frame strip has no frame of its own for the row being edited.
    if (editing) frame = m_rowCount >= 3 ? 2 : 1;
    if (frame >= m_rowCount) frame = 0;
    MRender::DrawImage(dc, m_rowImage, row, frame * m_rowWidth, 0, m_rowWidth, m_rowHeight);
  } else if (marked || editing) {
    MRender::DrawColor(dc, row, Manager::GetSelectColor());
  } else if (index == m_hover) {
    MRender::DrawColor(dc, row, Color((Manager::GetSelectColor().GetValue() & 0x00FFFFFF) | 0x40000000));
  }
  CRect number(row.left + Scaled(kIndexLeft), row.top, row.left + Scaled(kIndexRight), row.bottom);
  MRender::DrawTextARGB(dc, number, std::to_wstring(index).c_str(), m_indexColor, GetGDIFont(),
                        DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (m_image != nullptr && m_imageWidth > 0) {
    const int frame = IconFrame(item.type, marked);
    if ((frame + 1) * m_imageWidth <= m_image->Width()) {
      const int h = std::min(Scaled(m_imageHeight), row.Height());
      const int w = m_imageHeight > 0 ? m_imageWidth * h / m_imageHeight : 0;
      const int columnLeft = row.left + Scaled(kIconLeft), columnRight = row.left + Scaled(kIconRight);
      const int left = columnLeft + (columnRight - columnLeft - w) / 2;
      const int top = row.top + (row.Height() - h) / 2;
      MRender::DrawImage(dc, m_image, CRect(left, top, left + w, top + h), frame * m_imageWidth, 0, m_imageWidth,
                         m_imageHeight);
    }
  }
  const CRect content = item.rect;
  auto toRow = [&](CRect r) {
    r.OffsetRect(row.left - content.left, row.top - content.top);
    return r;
  };
  if (m_moreImage != nullptr && (index == m_hover || index == m_selected)) {
    const int frame = (index == m_moreHover && m_moreCount >= 2) ? 1 : 0;
    MRender::DrawImage(dc, m_moreImage, toRow(GetMoreRect(index)), frame * m_moreWidth, 0, m_moreWidth,
                       m_moreHeight);
  }
  if (!editing) {
    CRect text = toRow(TextRect(index));
    MRender::DrawTextARGB(dc, text, item.text.c_str(), m_textColor, GetGDIFont(),
                          DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}

void CRecordList::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    std::lock_guard lock(m_itemsLock);
    UpdateMemDC(dc, w, h);
    UpdateAnimateDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    MRender::BitBlt(m_animateDC, 0, 0, w, h, m_cacheDC, 0, 0);
    const int offset = GetScrollOffset().y;
    const int rh = RowHeight();
    const int last = GetLastVisible();
    for (int i = GetFirstVisible(); i >= 0 && i <= last; ++i) {
      const int top = i * rh - offset;
      DrawItem(m_animateDC, i, CRect(0, top, w, top + rh));
    }
    ListFade::Compose(m_cacheDC, m_animateDC, w, h, offset > 0, offset + h < m_virtualHeight);
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
  if (m_editor && m_editor->IsOpen()) m_editor->Draw(dc);
}

}  // namespace DUI
