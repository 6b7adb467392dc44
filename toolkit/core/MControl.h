#pragma once
// MControl: the base of every self-drawn control.
//
// Index
//   1. Construction, identity and the child tree
//   2. Geometry and state
//   3. Redraw requests and the cached rendering
//   4. Input entry points (routing down the tree)
//   5. Virtual hooks that concrete controls override
//   6. Fields
//
// A control paints only inside its window's paint cycle, into its own cache
// canvas that it then copies to the window's back buffer. It reports events
// to its parent with SendMessageW (notification codes in Notify.h) and asks
// to be redrawn through the parent's OnControlUpdate.

#include <atomic>
#include <mutex>
#include <vector>

#include "toolkit/core/MDC.h"
#include "toolkit/core/MObject.h"
#include "toolkit/core/Notify.h"

namespace DUI {

class PaintManager;

class MControl : public MObject {
 public:
  // --- 1. Construction, identity and the child tree --------------------------
  MControl(MObject* parent, UINT id, CRect rect, int visible, int enabled, int mouseResponse);
  ~MControl() override;

  const wchar_t* GetClassNameW() const override { return L"MControl"; }

  UINT GetControlID() const { return m_id; }
  MObject* GetParantObject() const { return m_parent; }
  void SetParent(MObject* parent) { m_parent = parent; }
  PaintManager* GetManager() const { return m_manager; }
  // Stores the manager and calls InitControl.
  void SetManager(PaintManager* manager);

  std::vector<MControl*>* GetControls() { return &m_controls; }
  std::vector<MControl*>* GetAreas() { return &m_areas; }
  std::recursive_mutex& ControlsLock() { return m_controlsLock; }
  std::recursive_mutex& AreasLock() { return m_areasLock; }
  // Depth first through controls (each child, then its subtree), then areas.
  MControl* GetControl(UINT id);
  // Appends an owned child to controls (kind 1) or areas (kind 0).
  void AddChild(MControl* child, UINT kind);
  int RemoveControl(MControl* control);
  void RemoveAllControl();
  MControl* GetHotChild() const { return m_hotChild; }

  // --- 2. Geometry and state -------------------------------------------------
  void SetRect(CRect rect);
  void SetRect(int x, int y, int width, int height);
  CRect GetRect() const { return m_rect; }
  void SetVisible(int visible);
  void SetVisible(int show, int update);
  int IsVisible() const { return m_visible; }
  int IsParentVisible() const;
  void SetEnabled(int enabled);
  int IsEnabled() const { return m_enabled; }

  void OnFocus(int focus) { SetControlFocus(focus); }
  int IsFocusControl() const;
  int IsFocused() const { return m_focused; }

  void AddMTimer();
  void SetRunTimer(int run) { m_runTimer = run; }
  int IsRunTimer() const { return m_runTimer; }
  void SetTabStop(int tabStop) { m_tabStop = tabStop; }
  int IsTabStop() const { return m_tabStop; }
  void SetRresponse(int response) { m_mouseResponse = response; }
  int GetRresponse() const { return m_mouseResponse; }
  int GetDblClk() const { return m_dblClk; }
  void SetDblClk(int distinct) { m_dblClk = distinct; }
  int IsKeyDown() const { return m_keyDown; }
  int GetUpdate() const { return m_update.load(); }
  int IsPressedInside() const { return m_pressedInside; }
  int GetAnimation() const { return m_animation; }

  // Tooltips: the text shown the next time the mouse enters the control.
  void SetTooltip(const wchar_t* text);
  // Shows text at once through the window's tooltip, owned by this control.
  void SetTooltip(CString text, CRect rect);
  void ClearTooltip();
  CString GetTooltip() const;

  // "arrow", "wait", "cross", "sizewe", "sizens", "hand", "help"; any other
  // name leaves the cursor unchanged. Returns 0.
  int SetCursorEx(const wchar_t* name);
  HCURSOR GetCursor() const { return m_cursor; }

  // Notifies the parent: parent->OnBaseMessage(id, code, wParam, lParam).
  LRESULT SendMessageW(UINT code, WPARAM wParam, LPARAM lParam);
  // The same from any thread: the notification reaches the parent on the
  // window thread (PaintManager::NotifyParent). A step of the multimedia
  // timer notifies this way, so no page handler runs on the timer thread.
  // Returns 1 when sent or queued.
  int PostNotify(UINT code, WPARAM wParam, LPARAM lParam);

  // --- 3. Redraw requests and the cached rendering ---------------------------
  void UpdateControl(int redraw, int force);
  void UpdateControl(CRect rect, int force, int redraw);
  void UpdateAControl(int a, int force);
  // Makes the cache canvas width x height (kept when the size is unchanged)
  // and marks it valid.
  void UpdateMemDC(HDC& dc, int width, int height);
  void UpdateAnimateDC(HDC& dc, int width, int height);
  HDC GetCacheDC() const { return m_cacheDC; }
  HDC GetAnimateDC() const { return m_animateDC; }
  CSize GetCacheSize() const { return m_cacheSize; }

  // Draws areas beneath, the control, then its interactive children.
  void Draw(HDC& dc, CRect clip);

  // --- 4. Input entry points -------------------------------------------------
  int OnMouseMove(UINT flags, CPoint pt);
  int OnLButtonDown(UINT flags, CPoint pt);
  int OnLButtonUp(UINT flags, CPoint pt);
  int OnLButtonDblClk(UINT flags, CPoint pt);
  int OnRButtonDown(UINT flags, CPoint pt);
  int OnRButtonUp(UINT flags, CPoint pt);
  int OnRButtonDblClk(UINT flags, CPoint pt);
  int OnScroll(int kind, UINT down, CPoint pt);
  int OnKeyDown(UINT vk, UINT repeat, UINT modifiers);
  int OnKeyUp(UINT, UINT, UINT) { return 0; }
  int OnTimer();

  // --- 5. Virtual hooks --------------------------------------------------------
  virtual void InitControl(PaintManager* manager);
  virtual int PtInRect(CPoint pt);
  virtual void DrawControl(HDC& dc, CRect clip) = 0;
  virtual int DrawSubControls(HDC& dc, CRect clip);
  // Draws the decoration children beneath the control (Draw's first step).
  // A scrolling panel draws them with its content instead.
  virtual void DrawAreas(HDC& dc, CRect clip);
  virtual int IsDraw(CPoint pt);
  virtual void SetUpdate(int valid, COLORREF colour = 0);
  virtual int SetControlFocus(int focus);
  virtual void InitUI(CRect rect);
  virtual int OnMousePointChange(CPoint& pt);
  virtual int OnCheckMouseResponse(UINT flags, CPoint pt);
  virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
  virtual void SetControlRect(CRect rect);
  virtual void SetControlVisible(int visible);
  virtual void SetControlWndVisible(int visible);
  virtual void SetControlEnabled(int enabled);
  virtual int OnControlTimer();
  // Whether the control needs the window's multimedia timer now (it is
  // registered with AddMTimer and something of it moves). Registered
  // controls that do not say otherwise always do.
  virtual bool IsAnimating() const;
  virtual HDC GetControlDropBitmap();
  virtual int OnControlMouseMove(UINT flags, CPoint pt);
  virtual int OnControlSetCursor(UINT flags, CPoint pt);
  virtual int OnControlLButtonDown(UINT flags, CPoint pt);
  virtual int OnControlLButtonUp(UINT flags, CPoint pt);
  virtual int OnControlLButtonDblClk(UINT flags, CPoint pt);
  virtual int OnControlScroll(int kind, UINT down, CPoint pt);
  virtual int OnControlRButtonDown(UINT flags, CPoint pt);
  virtual int OnControlRButtonUp(UINT flags, CPoint pt);
  virtual int OnControlRButtonDblClk(UINT flags, CPoint pt);
  virtual int OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers);
  virtual void OnPositionChange();
  // Invalidates this control's rect in the window (the whole window when it
  // is layered); the argument is ignored.
  virtual void InvalidateRect(const RECT* rect, int erase);
  // The control's own state as "orvane --inspect" prints it ("checked",
  // "selected:N"); empty when it has none or the dump knows the class
  // itself (ControlTreeDump). Controls built on the core override it.
  virtual CString GetInspectState() { return CString(); }

 protected:
  // Runs f on each child of v under lock; positions are checked each step so
  // a handler that removes a child cannot make the walk read past the end.
  template <typename F>
  static void ForEach(std::vector<MControl*>& v, std::recursive_mutex& lock, F f) {
    std::lock_guard guard(lock);
    for (size_t i = 0; i < v.size(); ++i) {
      if (!f(v[i])) break;
    }
  }
  void FreeCache();
  // The shared part of a button press: records whether the press is inside
  // and picks the child that takes it (nullptr when this control does).
  MControl* RoutePress(CPoint incoming, CPoint pt);
  // Moves the keyboard focus to this control.
  void TakeFocus();

  // --- 6. Fields ---------------------------------------------------------------
  MObject* m_parent = nullptr;
  PaintManager* m_manager = nullptr;
  UINT m_id = 0;
  CRect m_rect;
  int m_visible = 0;
  int m_enabled = 0;
  int m_dragSource = 0;
  int m_mouseResponse = 0;
  int m_tabStop = 0;
  int m_dblClk = 0;
  int m_pressedInside = 0;
  int m_keyDown = 0;
  int m_focused = 0;
  UINT m_accelKey = 0;
  UINT m_accelModifiers = 0;
  // The cache-valid flag; the multimedia timer thread clears it through
  // redraw requests while the window thread paints, hence atomic.
  std::atomic<int> m_update{0};
  int m_animation = 0;
  int m_runTimer = 0;
  int m_imageColorManagement = 0;
  std::vector<MControl*> m_areas;
  std::vector<MControl*> m_controls;
  std::recursive_mutex m_areasLock;
  std::recursive_mutex m_controlsLock;
  MControl* m_hotChild = nullptr;
  CSize m_cacheSize;
  HDC m_cacheDC = nullptr;
  CSize m_animateSize;
  HDC m_animateDC = nullptr;
  CString m_tooltip;
  HCURSOR m_cursor = 0;
  int m_mouseOutside = 1;
};

}  // namespace DUI
