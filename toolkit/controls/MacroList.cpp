#include "toolkit/controls/MacroList.h"

#include <algorithm>
#include <cmath>

#include "toolkit/controls/ListFade.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MImageList.h"
#include "toolkit/core/MRender.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MacroList", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MacroList(p, id, r, v);
})

namespace {

constexpr int kTextPadding = 12;

bool IsBlank(const CString& text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000; });
}

}  // namespace

// --- 1. Construction ---------------------------------------------------------------------

MacroList::MacroList(MObject* parent, UINT id, CRect rect, int visible) : DListBox(parent, id, rect, visible) {
  // Renaming needs the double click itself, not a second press.
  SetDblClk(1);
  m_imageCount = 2;
}

MacroList::~MacroList() {
  // The editor must not call back into a list that is going away.
  if (GetEditor() != nullptr) GetEditor()->Detach();
}

// --- 2. Look -----------------------------------------------------------------------------

void MacroList::ApplyHeight() {
  const int height = std::max(1, int(std::lround(float(m_baseItemHeight) * m_scale)));
  DListBox::SetItemHeight(height);
}

void MacroList::SetScaleValue(float scale) {
  if (!(scale > 0.0f)) return;
  m_scale = scale;
  ApplyHeight();
}

void MacroList::SetItemHeight(int height) {
  if (height <= 0) return;
  m_baseItemHeight = height;
  ApplyHeight();
}

// --- 3. Renaming in place -----------------------------------------------------------------

int MacroList::ShowEdit(int index) {
  const CString before = GetItemText(index);
  if (!DListBox::ShowEdit(index)) return 0;
  m_nameBeforeEdit = before;
  GetEditor()->onClose = [this] { EditorClosed(); };
  return 1;
}

void MacroList::EditorClosed() {
  const int edited = m_editIndex;
  m_editIndex = -1;
  bool changed = false;
  if (edited >= 0 && edited < GetItemCount()) {
    const CString name = GetEditor()->GetText();
    // An emptied name would leave a macro nobody can find again: the old
    // name stays.
    if (!IsBlank(name) && name != m_items[size_t(edited)].text) {
      m_items[size_t(edited)].text = name;
      changed = true;
    }
  }
  UpdateControl(1, 0);
  if (changed) SendMessageW(CN_EDITEND, 0, LPARAM(edited));
}

// --- 4. Overrides ---------------------------------------------------------------------------

int MacroList::OnControlMouseMove(UINT flags, CPoint pt) {
  const int result = DListBox::OnControlMouseMove(flags, pt);
  const int icon = (m_hover >= 0 && GetEditRect(m_hover).PtInRect(pt)) ? m_hover : -1;
  if (icon != m_iconHover) {
    m_iconHover = icon;
    UpdateControl(1, 0);
  }
  return result;
}

int MacroList::OnControlLButtonDblClk(UINT, CPoint pt) {
  const int at = ItemAt(pt);
  SetHover(at);
  if (at < 0) return 1;
  Select(at, false);
  // The edit icon answers the click's release; the name is the place to
  // rename.
  if (!GetEditRect(at).PtInRect(pt)) ShowEdit(at);
  return 1;
}

void MacroList::DrawItem(HDC dc, int index, CRect row) {
  const ListItem& item = m_items[size_t(index)];
  const bool lit = index == m_selected || index == m_hover;
  if (m_image != nullptr && m_imageWidth > 0) {
    const int frame = (lit && m_imageCount >= 2) ? 1 : 0;
    MRender::DrawImage(dc, m_image, row, frame * m_imageWidth, 0, m_imageWidth, m_imageHeight);
  } else if (index == m_selected) {
    MRender::DrawColor(dc, row, m_selectColor);
  } else if (index == m_hover) {
    MRender::DrawColor(dc, row, Color((m_hoverColor.GetValue() & 0x00FFFFFF) | 0x40000000));
  }
  CRect text(row.left + kTextPadding, row.top, row.right - kTextPadding, row.bottom);
  if (m_imageList != nullptr && item.image >= 0 && item.image < m_imageList->GetImageCount()) {
    const CSize size = m_imageList->GetImageSize();
    const int h = std::min(size.cy, row.Height() - 8);
    const int w = size.cy > 0 ? size.cx * h / size.cy : 0;
    const int top = row.top + (row.Height() - h) / 2;
    m_imageList->Draw(dc, item.image, CRect(text.left, top, text.left + w, top + h));
    text.left += w + 8;
  }
  if (m_editImage != nullptr) {
    // Every row carries its edit icon; the one under the pointer lights up.
    CRect icon = GetEditRect(index);
    icon.OffsetRect(row.left - item.rect.left, row.top - item.rect.top);
    const int frame = (index == m_iconHover && m_editWidth * 2 <= m_editImage->Width()) ? 1 : 0;
    MRender::DrawImage(dc, m_editImage, icon, frame * m_editWidth, 0, m_editWidth, m_editHeight);
    text.right = icon.left - 8;
  }
  const bool editing = index == m_editIndex && GetEditor() != nullptr && GetEditor()->IsOpen();
  if (!editing) {
    MRender::DrawTextARGB(dc, text, item.text.c_str(), m_textColor, GetGDIFont(),
                          m_hAlign | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}

void MacroList::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    UpdateAnimateDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    MRender::BitBlt(m_animateDC, 0, 0, w, h, m_cacheDC, 0, 0);
    const int offset = GetScrollOffset().y;
    const int last = GetLastVisible();
    for (int i = GetFirstVisible(); i >= 0 && i <= last; ++i) {
      const int top = i * m_itemHeight - offset;
      DrawItem(m_animateDC, i, CRect(0, top, w, top + m_itemHeight));
    }
    ListFade::Compose(m_cacheDC, m_animateDC, w, h, offset > 0, offset + h < m_virtualHeight);
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
  if (GetEditor() != nullptr && GetEditor()->IsOpen()) GetEditor()->Draw(dc);
}

}  // namespace DUI
