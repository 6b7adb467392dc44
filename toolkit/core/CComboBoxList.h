#pragma once
// CComboBoxList: the list inside a combo box's drop-down (ComboWnd), a
// panel. Rows of 30 pixels, one per item of the combo, the chosen one
// marked; the pointer's (or the arrow keys') row is highlighted in the
// accent colour. When the items do not fit, the panel's vertical bar shows
// and the wheel scrolls 6 steps per notch. A release on a row sends
// CN_CLICK with wParam = the row's index and lParam = 19.
//
// Rows are in content coordinates, like every panel's children: the panel
// hands input points over already moved by the scroll offset.

#include <vector>

#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MPanel.h"

namespace DUI {

class CComboBoxList : public MPanel {
 public:
  static constexpr int kRowHeight = MComboBox::kRowHeight;
  static constexpr int kWheelSteps = 6;

  CComboBoxList(MObject* parent, UINT id, CRect rect, int visible);

  // Fills the list; the selected row is scrolled into view.
  void SetItems(std::vector<ComboItem> items, int selected);
  int GetItemCount() const { return int(m_items.size()); }
  int GetSelectedIndex() const { return m_selected; }
  int GetHoverIndex() const { return m_hover; }
  // Highlights a row (the keyboard's choice), scrolling it into view when
  // asked; -1 clears.
  void SetHoverIndex(int index, bool ensureVisible);
  void SetItemColors(Color normal, Color selected, Color disabled);

  // How far the rows are scrolled, in pixels, and how far they can be.
  int GetScrollPos() const { return GetScrollOffset().y; }
  int GetMaxScroll() const;
  // A row in content coordinates.
  CRect GetRowRect(int index) const;
  // The row under a content point, -1 for none (the bar is no row).
  int RowAt(CPoint pt) const;
  // The bar's thumb in window coordinates; empty when everything fits.
  CRect GetThumbRect() const;

  void SetControlRect(CRect rect) override;
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlScroll(int kind, UINT down, CPoint pt) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

 private:
  void Relayout();
  void DrawRow(HDC dc, int index, CRect row);

  std::vector<ComboItem> m_items;
  int m_selected = -1;
  int m_hover = -1;
  // The last pointer position in window coordinates, to find the row under
  // it again after the wheel scrolled; (-1, -1) when outside.
  CPoint m_lastWindowPoint{-1, -1};
  Color m_normalText{0xFFFFFFFF};
  Color m_selectedText{0xFFFFFFFF};
  Color m_disabledText{0xFF808080};
};

}  // namespace DUI
