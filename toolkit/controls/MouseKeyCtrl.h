#pragma once
// MouseKeyCtrl: the mouse's buttons as a vertical list of rows, each with
// the button's name and the description of its current function. Clicking
// a row picks the button (ItemPanel's notifications).
//
// Row i lies at y = i x (30s + 10) and is 30s high over the full width (s
// the scale value; rows are 10 pixels apart). Its background is the
// control's image (SetImage), a strip of two frames stretched over the row:
// 0 normal, 1 hovered or selected. The name is drawn in white from x 10s to
// 80s, the description from 80s on, in the control's text colour.

#include <vector>

#include "toolkit/controls/ItemPanel.h"

namespace DUI {

struct MouseKeyItem {
  CString name;
  CString description;
  int keyValue = 0;
  CRect rowRect;  // computed while drawing, control coordinates
};

class MouseKeyCtrl : public ItemPanel {
 public:
  static constexpr int kRowHeight = 30;
  static constexpr int kRowGap = 10;
  static constexpr ARGB kTextColour = 0xFFB8D3EF;

  MouseKeyCtrl(MObject* parent, UINT id, CRect rect, int visible);
  ~MouseKeyCtrl() override;

  // Appends a row; returns its index. Redraws.
  int AddItem(CString name, CString description, int keyValue);
  void DeleteAllItems();
  int GetItemCount() const override;
  // Empty when out of range.
  CString GetItemKeyName(int index) const;
  CString GetItemKeyDesc(int index) const;
  // 0 when out of range.
  int GetItemKeyValue(int index) const;
  // The description and the name; each redraws when it changes.
  void SetItemKeyDesc(int index, CString description);
  void SetItemText(int index, CString name);
  // The row rectangle as last drawn, in control coordinates (empty when out
  // of range or not drawn yet).
  CRect GetItemRect(int index) const;
  // The height count rows take at the current scale (no gap after the last),
  // for a page that sizes the list by its buttons.
  int GetRowsHeight(int count) const;

  void DrawControl(HDC& dc, CRect clip) override;

 protected:
  CRect ItemHitRect(int index) const override;

 private:
  std::vector<MouseKeyItem> m_items;
};

}  // namespace DUI
