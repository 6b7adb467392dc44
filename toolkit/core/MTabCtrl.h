#pragma once
// MTabCtrl: a strip of tabs, each with an icon strip (normal, hover,
// selected), a title, an id and the page control it shows.
//
// Index
//   1. Items
//   2. Selection
//   3. Layout: item sizes, paddings, direction
//   4. Overrides
//
// Selecting a tab sends CN_PRESS with its index, shows its page and hides
// the pages of every other tab. A press on a tab's extra button (when it has
// one) sends CN_SUBCLICK with the tab's index instead of selecting it.

#include <vector>

#include "toolkit/core/MControlFont.h"

namespace DUI {

struct TabItemInfo {
  int visible = 1;
  const Image* icon = nullptr;  // shared from the window's image cache
  int frameWidth = 0;
  int height = 0;
  int frames = 3;
  int width = 0;  // the item's own width (0: the icon's frame width)
  CRect rect;
  CString title;
  UINT id = 0;
  int state = 0;  // 0 normal, 1 hover, 2 selected
  MControl* page = nullptr;
  const Image* button = nullptr;  // the extra button's image (2 frames), or null
  int buttonWidth = 0;
  int buttonHeight = 0;
};

class MTabCtrl : public MControlFont {
 public:
  enum LayoutType { LayoutHorizontal = 0, LayoutVertical = 1 };

  MTabCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  // --- 1. Items ----------------------------------------------------------------
  // frames -1 means 3; width 0 means the icon's frame width. Returns the new
  // item's index. The page is not owned: it belongs to its own parent.
  int InsertItem(UINT id, const wchar_t* title, const wchar_t* iconFile, MControl* page, int frames = -1,
                 int width = 0);
  int GetItemCount() const { return int(m_items.size()); }
  UINT GetItemID(int index) const;
  int SetItemText(int index, CString text);
  CString GetItemText(int index) const;
  // Hiding the selected tab selects the last visible one.
  int SetItemVisible(int index, int visible);
  int IsItemVisible(int index) const;
  int DeleteItem(int index);
  // Gives a tab an extra button (an image of 2 frames: normal, hover) at its
  // top-right corner; 0 when out of range or the image cannot be loaded.
  int SetItemButton(int index, const wchar_t* file);
  CRect GetItemRect(int index) const;
  CRect GetItemButtonRect(int index) const;
  MControl* GetItemPage(int index) const;

  // --- 2. Selection ----------------------------------------------------------------
  // Returns the previous selection; the current index (or one out of range,
  // or a hidden tab) changes nothing and sends nothing.
  int SetSelectItem(int index);
  int GetSelectItem() const { return m_selected; }
  int GetPrevSelectItem() const { return m_previous; }
  int GetHoverItem() const { return m_hover; }

  // --- 3. Layout -------------------------------------------------------------------
  // Item size limits: each item gets the strip's length (less paddings)
  // shared among the visible items, bounded by max and min.
  void SetItemWidth(int max, int min, int refresh);
  void SetItemHeight(int max, int min, int refresh);
  void SetTabCtrlWidth(int width);
  void SetTabCtrlHeight(int height);
  void SetLeftRightPading(int left, int right);
  void SetTopBottomPading(int top, int bottom);
  void SetTabCtrlVisible(int visible);
  void SetLayoutType(LayoutType type);
  LayoutType GetLayoutType() const { return m_layout; }
  // An image drawn behind every tab, stretched to it: a strip of frames
  // normal, hover, selected (the third frame; a fourth, disabled, is not
  // used). 0 when it cannot be loaded.
  int SetItemBkImage(const wchar_t* file, int frames = 4);
  // Title colours by state: normal, hover, selected.
  void SetItemTextColor(Color normal, Color hover, Color selected);
  // Lays the items out again; a selected tab that is gone or hidden hands
  // the selection to the last visible tab.
  void RefreshItems();

  // --- 4. Overrides ------------------------------------------------------------------
  void DrawControl(HDC& dc, CRect clip) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  // "selected:N" and, for every laid-out tab, ";tabID=dx,dy,WxH": where the
  // tab sits relative to the control's own corner, so that a script driving
  // the real window can click a tab by its id.
  CString GetInspectState() override;

 private:
  int ItemAt(CPoint pt) const;
  void Layout();
  void SetHover(int index);
  // Each item's state from the selection and the hover.
  void SyncStates();
  void ShowPages();
  // The effective size along one direction: the share of length among n
  // items within [min, max], or fallback when no limits are set.
  static int Share(int length, int n, int max, int min, int fallback);
  // The title's one-line width in the strip's font.
  float TitleWidth(const CString& title);

  std::vector<TabItemInfo> m_items;
  int m_selected = -1;
  int m_hover = -1;
  int m_previous = -1;
  int m_widthMax = 0, m_widthMin = 0;
  int m_heightMax = 0, m_heightMin = 0;
  int m_padLeft = 0, m_padRight = 0, m_padTop = 0, m_padBottom = 0;
  Color m_textNormal{0xE1C8C8C8};
  Color m_textSelected{0xFF191919};
  Color m_textHover{0xFFCCCCCC};
  LayoutType m_layout = LayoutHorizontal;
  const Image* m_itemBk = nullptr;
  int m_itemBkWidth = 0;
  int m_itemBkHeight = 0;
  int m_itemBkFrames = 0;
};

}  // namespace DUI
