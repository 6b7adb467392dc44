#pragma once
// MouseCtrl: callouts over the picture of a mouse, one per button: a leader
// line from a point on the picture to a label box with the button's text.
// Clicking a label picks the button (ItemPanel's notifications).
//
// The control draws no picture itself; it lies over one and shows it
// through its transparent parts. Its image (SetImage) is the label box, a
// strip of two frames: 0 normal, 1 hovered or selected, drawn as a
// nine-grid with corner 6. Points are in control coordinates; the scale
// value multiplies them and every length of the callout.

#include <vector>

#include "toolkit/controls/ItemPanel.h"

namespace DUI {

struct MouseCtrlItem {
  CString text;
  int keyValue = 0;
  int side = 0;  // 1: label on the right of the line, otherwise on the left
  CPoint a;      // the line's first end
  CPoint b;      // the line's second end
  CRect labelRect;  // computed while drawing, control coordinates
};

class MouseCtrl : public ItemPanel {
 public:
  MouseCtrl(MObject* parent, UINT id, CRect rect, int visible);
  ~MouseCtrl() override;

  // Appends a callout; returns its index. Redraws.
  int AddItem(CString text, int keyValue, int side, CPoint a, CPoint b);
  void DeleteAllItems();
  int GetItemCount() const override;
  // 0 when out of range.
  int GetItemKeyValue(int index) const;
  // Empty when out of range.
  CString GetItemText(int index) const;
  // Changes the label when it differs; redraws.
  void SetItemText(int index, CString text);
  // The label rectangle as last drawn, in control coordinates (empty when
  // out of range or not drawn yet).
  CRect GetItemLabelRect(int index) const;

  // The label rectangle of a callout at scale s (where the drawing puts it).
  static CRect LabelRectFor(int side, CPoint a, CPoint b, float s);

  void DrawControl(HDC& dc, CRect clip) override;

 protected:
  CRect ItemHitRect(int index) const override;

 private:
  std::vector<MouseCtrlItem> m_items;
};

}  // namespace DUI
