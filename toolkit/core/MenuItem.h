#pragma once
// MenuItem: one line of a popup menu (MenuWnd). It highlights while the
// pointer is over it, may show a 4-frame image at its left edge and a check
// mark, or be a separator line. A left release inside an enabled item sends
// CN_CLICK to the menu. The menu hands every item its layout values
// (indent, colours, images).

#include "toolkit/core/MControlFont.h"

namespace DUI {

class MenuItem : public MControlFont {
 public:
  MenuItem(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  const wchar_t* GetClassNameW() const override { return L"MenuItem"; }

  void SetSeparator(int separator);
  int IsSeparator() const { return m_separator; }
  void SetCheck(int check);
  int GetCheck() const { return m_check; }
  // The text starts this many pixels after the image column.
  void SetIndent(int indent);
  int GetIndent() const { return m_indent; }
  // Room before the text for the menu's image column, so that texts line up
  // whether or not their item has an image.
  void SetTextOffset(int offset);
  // The fill of the highlighted state when the item has no background image.
  void SetItemColor(Color colour);
  Color GetItemColor() const { return m_itemColor; }
  // A background strip of 3 frames (normal, hover, disabled) drawn as a
  // nine-grid, and a check image (2 frames: unchecked, checked).
  void SetItemBkImage(const wchar_t* file);
  void SetCheckImage(const wchar_t* file);
  // 0 normal, 1 hover, 2 disabled.
  int GetState() const { return m_state; }
  // Highlights the item as the pointer does (the menu's arrow keys).
  void SetHot(int hot);
  // Whether the item can be chosen: visible, enabled, not a separator.
  bool IsChoosable() const { return m_visible && m_enabled && !m_separator; }

  void DrawControl(HDC& dc, CRect clip) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;

 private:
  void SetState(int state);
  void RenderState(HDC dc, int state, CRect cell);

  int m_separator = 0;
  int m_check = 0;
  int m_indent = 5;
  int m_textOffset = 0;
  int m_state = 0;
  Color m_itemColor{0xFF3D5350};
  const Image* m_bkImage = nullptr;
  int m_bkWidth = 0, m_bkHeight = 0;
  const Image* m_checkImage = nullptr;
  int m_checkWidth = 0, m_checkHeight = 0;
};

}  // namespace DUI
