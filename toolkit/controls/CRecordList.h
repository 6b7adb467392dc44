#pragma once
// CRecordList: the recorded events of the selected macro, one row per key
// or button event or delay: the row's number, an icon for the event type,
// its description, and a "more" button on the hovered and selected rows.
//
// Index
//   1. Construction and images
//   2. Rows
//   3. Rows by stamp
//   4. Order
//   5. Selection
//   6. The in-place editor
//   7. Look
//   8. Overrides
//
// Rows are laid out top to bottom, item height x scale each, in content
// coordinates; the panel's vertical bar scrolls them (range = row count x
// row height, shown only when that exceeds the list's height). Rows that
// share the selected row's stamp are highlighted with it.
//
// Images: SetImage takes the event icon strip (pairs of frames, normal and
// highlighted: other events, keys, mouse buttons, delays), SetItemImage the
// row background strip (normal; selected, partner or hovered; the row
// being edited, which falls back to the second frame on a two-frame
// strip), SetMoreImage the more button (normal, hover).
//
// Notifications (the list's id): CN_PRESS with the selected row (or -1)
// when the left button goes down inside the list, also on free space;
// CN_CLICK with the row when the click is released on it, or CN_SUBCLICK
// with the row instead when the release falls on its more button;
// CN_RCLICK with the row (or -1) on a right click; CN_EDITBEGIN when a
// double click opens the editor on a row, CN_EDITCHANGE as its text
// changes, CN_EDITEND (lParam = the row) when it closes. The editor's text
// is the page's to read (GetEditText); the rows keep theirs.
//
// The rows live in a vector guarded by the list's own lock: any thread may
// read or change them; painting and input run on the window thread.

#include <memory>
#include <mutex>
#include <vector>

#include "toolkit/controls/RecordItem.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/TextEditor.h"

namespace DUI {

class CRecordList : public MPanel {
 public:
  static constexpr int kDefaultItemHeight = 36;
  // Bar steps one wheel notch moves (10 x 10 pixels).
  static constexpr int kWheelRows = 10;
  // Background of the open editor and its text, ARGB.
  static constexpr ARGB kEditorBack = 0xFF050505;
  static constexpr ARGB kEditorText = 0xFFFFFFFF;

  CRecordList(MObject* parent, UINT id, CRect rect, int visible);
  ~CRecordList() override;

  // --- 1. Images ---------------------------------------------------------------------
  // Each returns 1 when the image loaded, 0 when it did not or the list is
  // not in a window yet.
  int SetItemImage(const wchar_t* file, int count);
  int SetMoreImage(const wchar_t* file, int count);

  // --- 2. Rows -------------------------------------------------------------------------
  // Appends a row; returns the index of the last row.
  int AddString(CString text, int type, int key, int value);
  // Inserts a row before index (index = row count appends, as does -1);
  // returns the index of the last row, or -1 (nothing inserted) for an
  // index outside -1 .. row count.
  int InsertString(int index, CString text, int type, int key, int value);
  // 1 when the row was removed, 0 for an index out of range.
  int DeleteItem(int index);
  // Returns the number of rows removed.
  int DeleteAllItems();
  int GetItemCount() const;
  // Rows that are not delays (type 1).
  int GetEventCount() const;
  // Reads a row; the outputs stay untouched for an index out of range
  // (returns false then).
  bool GetRecordInfo(int index, CString& text, int& type, int& key, int& value) const;
  // Rewrites a row; 0 for an index out of range.
  int SetRecordInfo(int index, CString text, int type, int key, int value);
  // A snapshot of the rows in list order.
  std::vector<RecordItem> GetRecordItems() const;
  // The row's rectangle in content coordinates (empty when out of range);
  // ContentToWindow gives where it shows now.
  CRect GetItemRect(int index) const;
  // The more button's rectangle for a row, in content coordinates (empty
  // without a more image).
  CRect GetMoreRect(int index) const;

  // --- 3. Rows by stamp -----------------------------------------------------------------
  // Every row of this stamp and type takes text and key; returns how many.
  int SetRecordInfo(int value, int type, CString text, int key);
  // The row's stamp; 0 when out of range.
  int GetRecrodTimeStamp(int index) const;
  // Gives the last row the stamp; false when the list is empty.
  bool UpdateDelayTime(int value);
  // From the last row upwards every row of this type and key takes the
  // stamp. For a release (3, or 5) the scan ends at the first press (2, or
  // 4) of that key, which takes it too.
  void UpdateTimeStamp(int type, int key, int value);
  // Deletes every row of the stamp; clears hover and selection. Returns the
  // number of rows deleted.
  int DeleteTimeStamp(int value);
  // Highlights the rows of a stamp as partners, whatever is selected.
  void SetTimeStampSelect(int value);

  // --- 4. Order ------------------------------------------------------------------------------
  // Moves the row to the top and selects it there (row 0).
  void MoveTop(int index);
  // Moves the row to the end and selects it there.
  void MoveBottom(int index);
  // Exchanges two rows; 0 when either is out of range.
  int SwapItem(int a, int b);

  // --- 5. Selection ----------------------------------------------------------------------------
  int GetCurSel() const;
  CString GetInspectState() override { return L"selected:" + std::to_wstring(GetCurSel()); }
  // -1 clears; 0 when out of range, else 1. Sends nothing.
  int SetCurSel(int index);
  // From the selected row down, the first delay row; -1 without a
  // selection or when there is none.
  int GetSelectEvent() const;
  int GetHoverIndex() const { return m_hover; }
  // Whether the row is drawn highlighted (selected, a partner, or hovered).
  bool IsRowHighlighted(int index) const;

  // --- 6. The in-place editor -----------------------------------------------------------------
  void SetEditText(CString text);
  // The open editor's text, or the text it closed with.
  CString GetEditText() const;
  int GetEditIndex() const { return m_editIndex; }
  // Opens the editor over the row's text column, empty; 1 when it opened.
  int ShowEdit(int index);
  void CloseEdit();
  TextEditor* GetEditor() const { return m_editor.get(); }

  // --- 7. Look ------------------------------------------------------------------------------------
  void SetItemHeight(int height);
  int GetItemHeight() const { return m_itemHeight; }
  // Multiplies the row height and the columns; 1.0 by default. Values of 0
  // or less are refused.
  void SetScaleValue(float scale);
  float GetScaleValue() const { return m_scale; }
  // Colour of the row numbers.
  void SetIndexColor(Color colour);
  // The rows that show at the present scroll offset (-1 when none).
  int GetFirstVisible() const;
  int GetLastVisible() const;
  // The event icon's frame for a row of this type: 6 delays, 4 mouse
  // buttons and their kin (4 to 7), 0 other events (8 to 12), 2 keys; plus
  // 1 when highlighted.
  static int IconFrame(int type, bool highlighted);

  // --- 8. Overrides -----------------------------------------------------------------------------------
  void DrawControl(HDC& dc, CRect clip) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlLButtonDblClk(UINT flags, CPoint pt) override;
  int OnControlRButtonDown(UINT flags, CPoint pt) override;
  int OnControlRButtonUp(UINT flags, CPoint pt) override;
  int OnControlScroll(int kind, UINT down, CPoint pt) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

 private:
  int RowHeight() const;
  int Scaled(int x) const;
  // Lays the rows out again and gives the bar the new range.
  void Relayout();
  // The row under a content point inside the list's view, or -1.
  int ItemAt(CPoint pt);
  void SetHover(int index);
  // Selects, records the row's stamp for the partner highlight; reveal
  // scrolls the row into view.
  int Select(int index, bool reveal);
  bool IsPartner(int index) const;
  void DrawItem(HDC dc, int index, CRect row);
  // The text column of a row (content coordinates).
  CRect TextRect(int index) const;
  void EditorClosed();
  // Keeps hover, selection and the edited row on their rows when row
  // `index` is inserted (+1) or removed (-1).
  void FollowInsert(int index);
  void FollowRemove(int index);
  // Moves row from to position to; the selection goes with it.
  void MoveRow(int from, int to);

  mutable std::recursive_mutex m_itemsLock;
  std::vector<std::unique_ptr<RecordItem>> m_items;
  int m_hover = -1;
  int m_selected = -1;
  // The stamp whose rows are partners, valid while m_partnerOn.
  int m_selectValue = 0;
  bool m_partnerOn = false;
  int m_itemHeight = kDefaultItemHeight;
  float m_scale = 1.0f;
  Color m_indexColor{0xFFB4B4B4};
  const Image* m_rowImage = nullptr;
  int m_rowWidth = 0, m_rowHeight = 0, m_rowCount = 0;
  const Image* m_moreImage = nullptr;
  int m_moreWidth = 0, m_moreHeight = 0, m_moreCount = 0;
  int m_moreHover = -1;  // the row whose more button lies under the pointer
  std::unique_ptr<TextEditor> m_editor;
  int m_editIndex = -1;
  CString m_editText;
  CPoint m_lastWindowPoint{-1, -1};
};

}  // namespace DUI
