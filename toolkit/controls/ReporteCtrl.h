#pragma once
// ReporteCtrl: a row of cards, one per report rate. Clicking a card picks
// it (ItemPanel's notifications).
//
// Card i is hit from x = 11 + 120 i - 1 to 11 + 120 i + 99 over the full
// height (the cards are 20 pixels apart, and a click between them picks
// nothing). It draws as a rounded rectangle filled with a dark colour,
// outlined in the accent colour when hovered or selected, with its title
// centred in the control's text colour. The scale value multiplies the
// horizontal layout.

#include <vector>

#include "toolkit/controls/ItemPanel.h"

namespace DUI {

struct ReporteItem {
  CString title;
  int value = 0;
  int extra = 0;  // stored with the item for the program; never drawn
  CRect cardRect;  // computed while drawing, control coordinates
};

class ReporteCtrl : public ItemPanel {
 public:
  static constexpr int kFirstLeft = 11;
  static constexpr int kStride = 120;
  static constexpr int kCardWidth = 100;
  static constexpr ARGB kCardColour = 0xFF231C14;

  ReporteCtrl(MObject* parent, UINT id, CRect rect, int visible);
  ~ReporteCtrl() override;

  // Appends a card; returns its index. Redraws.
  int AddItem(CString title, int value, int extra);
  void DeleteAllItems();
  int GetItemCount() const override;
  // 0 when out of range.
  int GetItemKeyValue(int index) const;
  // The title; empty when out of range.
  CString GetItemKeyName(int index) const;
  void SetItemText(int index, CString title);
  // Selects the first card whose value equals value (the selection stays
  // when none does), then redraws.
  void SetSelectItemValue(int value);
  // The card rectangle as last drawn, in control coordinates.
  CRect GetItemRect(int index) const;
  // The width count cards take at the current scale.
  int GetCardsWidth(int count) const;

  void DrawControl(HDC& dc, CRect clip) override;

 protected:
  CRect ItemHitRect(int index) const override;

 private:
  std::vector<ReporteItem> m_items;
};

}  // namespace DUI
