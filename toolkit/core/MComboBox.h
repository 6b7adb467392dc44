#pragma once
// MComboBox: a closed field that shows the chosen item's text and opens a
// drop-down list of its items (a "ComboWnd" popup window holding a
// CComboBoxList) when clicked. A pick in the drop-down selects the item and
// sends CN_CLICK with wParam = its index.
//
// Index
//   1. Items
//   2. Selection
//   3. Look
//   4. The drop-down
//   5. Input and drawing
//   6. Fields
//
// The drop-down opens below the combo, or above it when the work area of
// the monitor has no room below. It closes after a pick, when it is
// dismissed (a press in another window of the program, the owner
// deactivated, hidden or moved), or when the combo goes away. A press on the
// combo itself while its drop-down is open only closes it. While the list
// is open it takes the keys: Up and Down move its highlight, Enter picks,
// Escape closes.

#include <mutex>
#include <vector>

#include "toolkit/core/MControlFont.h"

namespace DUI {

class ComboWnd;

struct ComboItem {
  CString text;
  CString icon;  // skin file name, may be empty
  Color colour{0xFFFFFFFF};
  long data = 0;
  CRect rect;
};

class MComboBox : public MControlFont {
 public:
  // Rows of the drop-down, and how many it shows before it scrolls.
  static constexpr int kRowHeight = 30;
  static constexpr int kVisibleRows = 8;
  static constexpr int kListPadding = 12;  // above and below the rows together
  static constexpr int kGap = 2;           // between the combo and its drop-down
  // What the drop-down's list reports a pick with (lParam) and what the
  // drop-down reports its dismissal with (code).
  static constexpr LPARAM kPickTag = 19;
  static constexpr UINT kDropDownClosed = 22;

  MComboBox(MObject* parent, UINT id, CRect rect, int visible, int enabled);
  ~MComboBox() override;

  // --- 1. Items ---------------------------------------------------------------------------
  // Returns the index of the last item.
  int AddItem(const wchar_t* text, long data = 0, const wchar_t* icon = nullptr, Color colour = Color(0xFFFFFFFF));
  // -1 appends; an index below -1 or beyond the last item inserts nothing
  // and returns -1. Otherwise the index of the last item.
  int InsertItem(int index, const wchar_t* text, long data = 0, const wchar_t* icon = nullptr,
                 Color colour = Color(0xFFFFFFFF));
  void DelAllItems();
  int DeleteItem(int index);
  int GetItemCount() const;
  int SetItemText(int index, CString text);
  CString GetItemText(int index) const;
  int SetItemData(int index, long data);
  long GetItemData(int index) const;
  // Index of the first item with this data, or -1.
  int FindData(long data) const;
  std::vector<ComboItem> GetItems() const;

  // --- 2. Selection -------------------------------------------------------------------------
  // Shows the item's text as the title; -1 empties it. 0 when out of range.
  int SetCurSel(int index);
  int GetCurSel() const { return m_selected; }
  // 1 when an item with that data was found and selected.
  int SelectData(long data);
  // Data of the selected item; 0 without a selection.
  long GetCurData() const;

  // --- 3. Look ------------------------------------------------------------------------------
  // The drop-down's background (a nine-grid image); default
  // "img_combobox_bkg.png".
  void SetBackImage(const wchar_t* file);
  void SetBackImage(UINT resourceId, CString type);
  CString GetBackImage() const { return m_backImage; }
  UINT GetBackImageID() const { return m_backImageId; }
  CString GetBackImageType() const { return m_backImageType; }
  // Item text colours of the drop-down: normal and selected.
  void SetTextColorEx(Color normal, Color selected);
  Color GetItemTextColor() const { return m_itemTextColor; }
  Color GetSelectedTextColor() const { return m_selectedTextColor; }
  Color GetDisabledTextColor() const { return m_disabledTextColor; }
  // Border widths of the four-border nine-grid the combo is drawn with.
  void SetShowModeMID(int left, int top, int right, int bottom);
  // Where the title goes, relative to the combo's top-left corner; empty
  // means between the left border and the arrow.
  void SetTextRect(CRect rect);
  CRect GetTextRect() const;
  // Scroll bar images the drop-down's list uses.
  void SetScrollResID(UINT vertical, UINT horizontal);
  UINT GetScrollVID() const { return m_scrollV; }
  UINT GetScrollHID() const { return m_scrollH; }
  // 0 normal, 1 hover, 2 pressed (3 is drawn when disabled).
  int GetState() const { return m_state; }

  // --- 4. The drop-down ---------------------------------------------------------------------
  // Opens the drop-down unless it is open or the combo is not in a window.
  int OpenDropDown();
  // Closes it without a pick.
  void CloseDropDown();
  int IsDropDownOpen() const { return m_dropDown != nullptr ? 1 : 0; }
  ComboWnd* GetDropDown() const { return m_dropDown; }
  // The screen rectangle the drop-down takes for the current items.
  CRect DropDownRect() const;
  // The drop-down window is going away (called by it).
  void DropDownDestroyed(ComboWnd* dropDown);

  // --- 5. Input and drawing --------------------------------------------------------------------
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect clip) override;
  void SetControlEnabled(int enabled) override;
  void SetControlVisible(int visible) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  // The drop-down's reports: a pick (CN_CLICK with lParam kPickTag) and
  // its dismissal (kDropDownClosed).
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

 protected:
  void SetState(int state);
  void ShowSelectedTitle();
  // Selects, closes the drop-down and tells the parent.
  void Pick(int index);
  virtual void DrawFace(HDC dc, int state, CRect cell);

  // --- 6. Fields ------------------------------------------------------------------------------------
  std::vector<ComboItem> m_items;
  mutable std::recursive_mutex m_itemsLock;
  int m_selected = -1;
  int m_state = 0;
  ComboWnd* m_dropDown = nullptr;
  // Set when a press on the combo dismissed its drop-down: the release of
  // that press must not open it again.
  int m_swallowRelease = 0;
  CString m_backImage = L"img_combobox_bkg.png";
  UINT m_backImageId = 0;
  CString m_backImageType;
  Color m_itemTextColor{0xFFFFFFFF};
  Color m_selectedTextColor{0xFFFFFFFF};
  Color m_disabledTextColor{0xFF808080};
  int m_borderLeft = 4, m_borderTop = 4, m_borderRight = 35, m_borderBottom = 4;
  CRect m_textRect;
  UINT m_scrollV = 0, m_scrollH = 0;
};

}  // namespace DUI
