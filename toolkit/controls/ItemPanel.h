#pragma once
// ItemPanel: the shared behaviour of the button map controls (MouseCtrl,
// MouseKeyCtrl, ReporteCtrl): a panel whose items are picked by clicking
// them.
//
// Index
//   1. Selection, hover and scale
//   2. Hit testing and the two notifications
//   3. What each control supplies
//
// Each item has a hit rectangle that the control computes while it draws,
// in control coordinates (relative to the control's top-left corner); so
// before the first paint no item can be hit. A left press on an item sends
// CN_PRESS and a release on one sends CN_CLICK, both with wParam = the item
// index, and the item becomes selected; every press and release then asks
// for a redraw with redraw 1. Items live in the subclass, guarded by the
// items lock, which every accessor and the drawing take.

#include <mutex>

#include "toolkit/core/MPanel.h"

namespace DUI {

class ItemPanel : public MPanel {
 public:
  ItemPanel(MObject* parent, UINT id, CRect rect, int visible);
  ~ItemPanel() override;

  // --- 1. Selection, hover and scale -------------------------------------------------
  // Selects index when it differs (not range-checked: an index without an
  // item highlights nothing) and redraws.
  void SetSelectItem(int index);
  int GetSelectItem() const;
  CString GetInspectState() override { return L"selected:" + std::to_wstring(GetSelectItem()); }
  int GetHoverItem() const;
  // Multiplies the controls' geometric constants; redraws.
  void SetScaleValue(float scale);
  float GetScaleValue() const;
  virtual int GetItemCount() const = 0;

  // --- 2. Hit testing ------------------------------------------------------------------
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;

 protected:
  // --- 3. What each control supplies ---------------------------------------------------
  // The hit rectangle of item index as last drawn, in control coordinates;
  // empty before the item was drawn. Called under the items lock.
  virtual CRect ItemHitRect(int index) const = 0;

  // The item under a point of the parent's coordinates: the hovered item
  // while its rectangle still holds the point, else the first item whose
  // rectangle does; -1 outside the control or every item.
  int ItemAt(CPoint pt) const;
  // Moves the hover to the item under pt; redraws on a change.
  void TrackHover(CPoint pt);
  // Whether item index is drawn highlighted (hovered or selected).
  bool IsHighlighted(int index) const { return index == m_hover || index == m_selected; }
  // Marks the rendering stale and asks for a redraw. The mark is made also
  // while the control is hidden, so that a control shown without a redraw
  // request does not show its old items.
  void Changed();
  // Forgets hover and selection (the items are gone).
  void ResetMarks();
  // A length of the layout at the current scale, in pixels.
  int Scaled(float length) const;

  mutable std::recursive_mutex m_itemsLock;
  int m_hover = -1;
  int m_selected = -1;
  float m_scale = 1.0f;
};

}  // namespace DUI
