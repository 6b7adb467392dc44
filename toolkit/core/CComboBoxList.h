#pragma once
// CComboBoxList: the list inside a combo box's drop-down (ComboWnd). Rows
// of 30 pixels, one per item of the combo, the chosen one marked; the
// pointer's row is highlighted in the accent colour. When the items do not
// fit, the list scrolls (6 steps of 10 pixels per wheel notch) and shows a
// thumb at its right edge that can be dragged. A release on a row sends
// CN_CLICK with wParam = the row's index and lParam = 19.

#include <vector>

#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MControlFont.h"

namespace DUI {

class CComboBoxList : public MControlFont {
 public:
  static constexpr int kRowHeight = MComboBox::kRowHeight;
  static constexpr int kWheelSteps = 6;
  static constexpr int kStep = 10;
  static constexpr int kThickness = 5;

  CComboBoxList(MObject* parent, UINT id, CRect rect, int visible);

  // Fills the list; the selected row is scrolled into view.
  void SetItems(std::vector<ComboItem> items, int selected);
  int GetItemCount() const { return int(m_items.size()); }
  int GetSelectedIndex() const { return m_selected; }
  int GetHoverIndex() const { return m_hover; }
  // Highlights a row (the keyboard's choice); -1 clears.
  void SetHoverIndex(int index, bool ensureVisible);
  void SetItemColors(Color normal, Color selected, Color disabled);

  // Scrolling, in pixels of content.
  int GetContentHeight() const { return GetItemCount() * kRowHeight; }
  int GetMaxScroll() const;
  int GetScrollPos() const { return m_scroll; }
  void SetScrollPos(int pos);
  bool IsScrollable() const { return GetMaxScroll() > 0; }
  // A row in window coordinates at the current scroll position.
  CRect GetRowRect(int index) const;
  // The row under a window point, -1 for none.
  int RowAt(CPoint pt) const;
  // The thumb in window coordinates; empty when everything fits.
  CRect GetThumbRect() const;

  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlScroll(int kind, UINT down, CPoint pt) override;

 private:
  void Render(HDC dc, int w, int h);
  int TrackHeight() const { return m_rect.Height(); }
  int ThumbHeight() const;

  std::vector<ComboItem> m_items;
  int m_selected = -1;
  int m_hover = -1;
  int m_scroll = 0;
  int m_dragging = 0;
  int m_grab = 0;
  Color m_normalText{0xFFFFFFFF};
  Color m_selectedText{0xFFFFFFFF};
  Color m_disabledText{0xFF808080};
  const Image* m_thumb = nullptr;
  int m_thumbWidth = 0, m_thumbHeight = 0;
};

}  // namespace DUI
