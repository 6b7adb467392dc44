#pragma once
// MacroList: the list of stored macros on the macro page. A DListBox whose
// rows are drawn from a row strip (SetImage: normal, then selected or
// hovered) with the edit icon on every row, renamed in place with a double
// click.
//
// Index
//   1. Construction
//   2. Look: scale, row height
//   3. Renaming in place
//   4. Overrides
//
// Notifications (the list's id): CN_CLICK (wParam 0) when a left click is
// released on a row, CN_SUBCLICK (wParam 0) instead when the release falls
// on that row's edit icon; CN_RCLICK with the row (or -1) on a right click;
// CN_EDITBEGIN and CN_EDITCHANGE from the open editor, and CN_EDITEND
// (lParam = the row) when it closes with a changed name, which the row
// already shows. A name left unchanged, or left empty, closes silently.
//
// The list takes double clicks as such (a double click is not a second
// press): a double click on a row selects it and, when editing is enabled
// (EnableShowEdit(1)), opens the editor over the row's name.

#include "toolkit/core/DListBox.h"

namespace DUI {

class MacroList : public DListBox {
 public:
  MacroList(MObject* parent, UINT id, CRect rect, int visible);
  ~MacroList() override;

  // --- 2. Look ---------------------------------------------------------------------
  // SetImage(file, count) takes the row strip; SetImage(index, image) an
  // item's icon, as in DListBox.
  using DListBox::SetImage;
  using MControlFont::SetImage;
  // Multiplies the row height (and the edit icon with it); 1.0 by default.
  // Values of 0 or less are refused.
  void SetScaleValue(float scale);
  float GetScaleValue() const { return m_scale; }
  // The row height before scaling.
  void SetItemHeight(int height);
  int GetBaseItemHeight() const { return m_baseItemHeight; }

  // --- 3. Renaming in place ------------------------------------------------------------
  // Opens the editor over the row's name (see DListBox::ShowEdit); the list
  // then decides itself what its closing reports.
  int ShowEdit(int index) override;

  // --- 4. Overrides ----------------------------------------------------------------------
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDblClk(UINT flags, CPoint pt) override;

 protected:
  void DrawItem(HDC dc, int index, CRect row) override;

 private:
  // Applies the scale to the base height.
  void ApplyHeight();
  // What closing the editor does: a changed, non-empty name is stored and
  // reported; anything else restores the old one.
  void EditorClosed();

  float m_scale = 1.0f;
  int m_baseItemHeight = kDefaultItemHeight;
  CString m_nameBeforeEdit;
  // The row whose edit icon lies under the pointer (-1 for none).
  int m_iconHover = -1;
};

}  // namespace DUI
