#pragma once
// DListBox: a scrolling list of text rows, each with optional data, icon and
// edit icon.
//
// Index
//   1. Items
//   2. Selection
//   3. Look: row height, icons, the edit icon
//   4. The in-place editor's hooks
//   5. Overrides
//
// Rows are laid out top to bottom from the list's top, item height (36)
// each, in content coordinates; the vertical bar scrolls them (its range is
// item count x item height). Moving the mouse sets the hover row; a left
// press selects the hovered row, and a release inside on it selects it and
// sends CN_CLICK (wParam 0), or CN_SUBCLICK when the release falls on the
// row's edit icon (only when an edit icon is set). A right release selects
// the row under the pointer (possibly none) and sends CN_RCLICK with its
// index (-1 for none). SetCurSel and the other setters send nothing.

#include <memory>
#include <vector>

#include "toolkit/core/MPanel.h"
#include "toolkit/core/TextEditor.h"

namespace DUI {

class MImageList;

struct ListItem {
  CString text;
  long data = 0;
  int image = -1;  // index into the list's image list; -1 for none
  CRect rect;      // content coordinates
};

class DListBox : public MPanel {
 public:
  static constexpr int kDefaultItemHeight = 36;
  // Steps of the bar one wheel notch moves by default (10 x 10 positions).
  static constexpr int kWheelRows = 10;

  DListBox(MObject* parent, UINT id, CRect rect, int visible);
  ~DListBox() override;

  // --- 1. Items ----------------------------------------------------------------
  // Appends; returns the index of the last item.
  int AddString(const wchar_t* text, long data = 0, int image = -1);
  // Inserts before index (-1 appends); returns the index of the last item,
  // or -1 (and inserts nothing) when index is below -1 or beyond the last
  // item.
  int InsertString(int index, const wchar_t* text, int image = -1, long data = 0);
  CString GetItemText(int index) const;
  long GetItemData(int index) const;
  int SetItemData(int index, long data);
  int ModifyItemString(int index, const wchar_t* text);
  // First item whose text equals text exactly, or -1.
  int FindString(const wchar_t* text) const;
  int FindItemData(long data) const;
  int GetItemCount() const { return int(m_items.size()); }
  int DeleteItem(int index);
  void DeleteAllItems();
  // Exchanges two items; the selection and hover stay with the items.
  int SwapItem(int a, int b);
  // The item's rectangle in content coordinates (empty when out of range);
  // ContentToWindow gives where it shows now.
  CRect GetItemRect(int index) const;

  // --- 2. Selection ----------------------------------------------------------------
  int GetCurSel() const { return m_selected; }
  // -1 clears; 0 when out of range, else 1. Redraws only on a change.
  int SetCurSel(int index);
  // The selected item's data; 0 without a selection.
  long GetCurData() const;
  // Selects the first item with that data and returns its index; -1 (and
  // the selection unchanged) when none has it.
  int SetCurData(long data);
  int GetHoverIndex() const { return m_hover; }
  // The rows that show at the present scroll offset (-1 when none).
  int GetFirstVisible() const;
  int GetLastVisible() const;

  // --- 3. Look ---------------------------------------------------------------------
  void SetItemHeight(int height);
  int GetItemHeight() const { return m_itemHeight; }
  // Steps of the bar per wheel notch (lists in drop-downs move fewer).
  void SetWheelRows(int rows) { m_wheelRows = rows > 0 ? rows : kWheelRows; }
  int GetWheelRows() const { return m_wheelRows; }
  void SetImageList(MImageList* images);
  MImageList* GetImageList() const { return m_imageList; }
  // Sets an item's icon index; 0 when out of range.
  int SetImage(int index, int image);
  // The control's own image setters stay callable beside the row one.
  using MControlFont::SetImage;
  // The edit icon drawn at the right of the hovered and selected rows (a
  // strip of count frames: normal, hover); 0 when it cannot be loaded.
  int SetEditImage(const wchar_t* file, int count = 2);
  // The edit icon's rectangle for a row, in content coordinates (empty
  // without an edit icon).
  CRect GetEditRect(int index) const;
  void SetHoverColor(Color colour);
  void SetSelectColor(Color colour);

  // --- 4. The in-place editor's hooks --------------------------------------------------
  // Whether items may be renamed in place (off by default).
  void EnableShowEdit(int enable) { m_showEdit = enable ? 1 : 0; }
  int IsShowEdit() const { return m_showEdit; }
  // Opens the toolkit's text editor over an item's text when editing is
  // enabled (the row scrolled into view, its text selected); 1 when it
  // opened. CN_EDITBEGIN, CN_EDITCHANGE and CN_EDITEND (lParam = the
  // item's index) follow; the item takes the edited text when the editor
  // closes (Escape keeps the old one). Scrolling the list closes it.
  virtual int ShowEdit(int index);
  // Closes an open editor, keeping its text (a press on a row does).
  virtual void CloseEdit();
  int GetEditIndex() const { return m_editIndex; }
  // The editor, created by the first ShowEdit (null before).
  TextEditor* GetEditor() const { return m_editor.get(); }

  // --- 5. Overrides ------------------------------------------------------------------------
  void DrawControl(HDC& dc, CRect clip) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlRButtonDown(UINT flags, CPoint pt) override;
  int OnControlRButtonUp(UINT flags, CPoint pt) override;
  int OnControlScroll(int kind, UINT down, CPoint pt) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

 protected:
  // The row under a content point inside the list's view, or -1.
  int ItemAt(CPoint pt);
  // Lays the rows out again and gives the bar the new range.
  void Relayout();
  void SetHover(int index);
  // Selects; reveal scrolls the row into view.
  int Select(int index, bool reveal);
  // Draws one row into the cache at (0, y).
  virtual void DrawItem(HDC dc, int index, CRect row);

  std::vector<ListItem> m_items;
  int m_hover = -1;
  int m_selected = -1;
  int m_itemHeight = kDefaultItemHeight;
  int m_wheelRows = kWheelRows;
  Color m_hoverColor;
  Color m_selectColor;
  MImageList* m_imageList = nullptr;
  const Image* m_editImage = nullptr;
  int m_editWidth = 0;
  int m_editHeight = 0;
  int m_showEdit = 0;
  int m_editIndex = -1;
  CPoint m_lastWindowPoint{-1, -1};
  std::unique_ptr<TextEditor> m_editor;
};

}  // namespace DUI
