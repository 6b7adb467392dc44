#pragma once
// MenuWnd: the toolkit's popup menu. A small frameless top-level window
// titled "Menu Window", owned by a dialog, that stacks MenuItem controls
// from top to bottom, closes itself when it is dismissed (WM_NCACTIVATE 0:
// a press in another window of the program, or its owner deactivated,
// hidden or moved) or when an item is clicked, and reports the clicked item
// to its owner window with the notify message the owner chose (lParam = the
// item id).
//
// Index
//   1. MObject and MWindow
//   2. Virtual slots 8 to 38
//   3. Building the menu
//   4. Fields
//
// Like MDialog it embeds a PaintManager, so painting, routing, tooltips and
// timers work as in a dialog. The platform keeps the window inside the work
// area of its monitor wherever it is placed or however tall it grows.

#include "toolkit/core/MObject.h"
#include "toolkit/core/MWindow.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

class MenuItem;

class MenuWnd : public MWindow, public MObject {
 public:
  static constexpr const wchar_t* kTitle = L"Menu Window";

  explicit MenuWnd(MObject* parent);
  ~MenuWnd() override;

  // --- 1. MObject and MWindow ------------------------------------------------------------
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override;
  const wchar_t* GetWindowClassName() const override { return L"MenuWnd"; }
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;
  int OnInitDialog() override;
  void OnDestroyMessage(HWND hwnd) override;

  // --- 2. Virtual slots 8 to 38 ------------------------------------------------------------
  virtual MObject* GetParent() { return m_parentObject; }
  virtual void InitUI(CRect client);
  virtual void UISize(CRect client);
  // Posts the notify message to the owner (wParam as given, lParam = the
  // item id); a click (CN_CLICK) then closes the menu.
  virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
  // Posts WM_CLOSE to the menu window.
  virtual void CloseWindow();
  virtual LRESULT OnCreate(CREATESTRUCTW* cs);
  virtual LRESULT OnSize(UINT type, int cx, int cy);
  virtual LRESULT OnMouseMove(UINT flags, CPoint pt);
  virtual LRESULT OnMouseLeave();
  virtual LRESULT OnMouseHover(UINT flags, CPoint pt);
  virtual LRESULT OnMouseWheel(UINT flags, int delta, CPoint pt);
  virtual LRESULT OnLButtonDown(UINT flags, CPoint pt);
  virtual LRESULT OnLButtonUp(UINT flags, CPoint pt);
  virtual LRESULT OnLButtonDblClk(UINT flags, CPoint pt);
  virtual LRESULT OnRButtonDown(UINT flags, CPoint pt);
  virtual LRESULT OnRButtonUp(UINT flags, CPoint pt);
  virtual LRESULT OnRButtonDblClk(UINT flags, CPoint pt);
  // Up and Down move the highlight over the items that can be chosen,
  // Enter chooses the highlighted one, Escape closes the menu without a
  // choice.
  virtual LRESULT OnKeyDown(UINT vk, UINT repeat, UINT flags);
  virtual LRESULT OnNcHitTest(CPoint pt);
  virtual LRESULT OnGetMinMaxInfo(MINMAXINFO* info);
  virtual LRESULT OnNcCalcSize(int calcValid, void* params);
  // Deactivation (0) closes the menu without any message to the owner.
  virtual LRESULT OnNcActivate(int active);
  virtual LRESULT OnWindowPosChanging(void* pos);
  virtual LRESULT OnWindowPosChanged(void* pos);
  virtual LRESULT OnPaint();
  virtual void OnTimer(UINT id);
  virtual LRESULT OnNcPaint();
  virtual LRESULT OnClose();
  virtual void PostNcDestroy();
  virtual LRESULT OnDestroy();

  // --- 3. Building the menu ---------------------------------------------------------------------
  // Creates the window at pt (screen) titled "Menu Window", width x width
  // at first; the layout then gives it its height. The caller shows it.
  // Returns 1 on success.
  int Create(HWND owner, CPoint pt, UINT notifyMessage, int width);
  int Create(HWND owner, CPoint pt, UINT notifyMessage, int width, CString backImage, enumBackMode mode,
             int frame);
  // Adds an item (image: a 4-frame strip, may be empty). Returns -1.
  int AddMenu(CString text, UINT id, CString image, int = 0, int = 0);
  int AddMenu(CString text, UINT id, int = 0, int = 0, int = 0);
  void AddSeparator(UINT id, CString text = CString());
  // Setters addressing an item by its text.
  int SetItemTitle(CString item, CString title);
  int SetItemVisible(CString item, int visible);
  int SetItemEnable(CString item, int enabled);
  int SetItemCheck(CString item, int check);
  MenuItem* FindItem(const CString& text);
  // The highlighted item (pointer or arrow keys), or null.
  MenuItem* GetHotItem();

  // Layout values; each lays the items out again.
  void SetItemFont(CString name, int size, int style);
  void SetItemHeight(int height);
  void SetItemIndent(int indent);
  void SetMenuWidth(int width);
  // A bottom padding of 0 becomes 2.
  void SetPadding(int top, int bottom);
  void SetItemColor(Color colour);
  void SetItemBkImage(CString file);
  void SetCheckImage(CString file);
  int GetItemHeight() const { return m_itemHeight; }
  int GetMenuWidth() const { return m_width; }
  int GetTopPadding() const { return m_topPadding; }
  int GetBottomPadding() const { return m_bottomPadding; }
  UINT GetNotifyMessage() const { return m_notifyMessage; }
  HWND GetOwnerWindow() const { return m_owner; }
  // Lays the items out and sizes the window to them at the point Create
  // was given (SetMenuPoint); the platform keeps it inside the work area.
  void SetMenuPoint();
  // The height the layout gives the window.
  int GetMenuHeight() const { return m_menuHeight; }

  MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                          int enabled);
  MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                       int enabled);
  MControl* GetControl(UINT id) { return m_manager.GetControl(id); }
  std::vector<MControl*>* GetControls() { return m_manager.GetControls(); }
  int LoadBKImage(CString file) { return m_manager.LoadBKImage(file); }
  void SetBackMode(enumBackMode mode, int frame) { m_manager.SetBackMode(mode, frame); }
  void SetLayeredWindow(int layered) { m_manager.SetLayeredWindow(layered); }
  void SetupBackTranslucent();
  void SetScrollResID(UINT vertical, UINT horizontal) { m_manager.SetScrollResID(vertical, horizontal); }
  PaintManager* GetPaintManager() { return &m_manager; }

 protected:
  void StyleItem(MenuItem* item);

  // --- 4. Fields ---------------------------------------------------------------------------------------
  PaintManager m_manager;
  COLORREF m_transparentColor = 0xFFFFFF;
  BYTE m_alpha = 255;
  MObject* m_parentObject = nullptr;
  UINT m_notifyMessage = 0;
  HWND m_owner = nullptr;
  CPoint m_point;  // where Create was asked to open the menu
  CString m_fontName = L"Arial";
  int m_fontSize = 14;
  int m_fontStyle = 0;
  int m_itemHeight = 25;
  int m_indent = 5;
  int m_width = 300;
  int m_topPadding = 6;
  int m_bottomPadding = 6;
  Color m_itemColor{0xFF3D5350};
  CString m_itemBkImage;
  CString m_checkImage;
  int m_menuHeight = 0;
  int m_closing = 0;
};

}  // namespace DUI
