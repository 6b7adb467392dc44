#pragma once
// MDialog: a window that owns controls. It embeds the PaintManager that
// routes input to its controls and paints them, and it is the MObject at the
// top of their tree: notifications arrive in OnMessage, redraw requests go
// to the manager. Program windows derive from it, build their controls in
// InitUI, lay them out in UISize and act in OnMessage.

#include "toolkit/core/MObject.h"
#include "toolkit/core/MWindow.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

// The message DoOK and its siblings post (WM_USER + 66).
constexpr UINT WM_USERCLOSE = WM_USER + 66;

class MDialog : public MWindow, public MObject {
 public:
  MDialog();
  ~MDialog() override;

  // --- MObject -----------------------------------------------------------------
  const wchar_t* GetClassNameW() const override { return L"MDialog"; }
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override;

  // --- MWindow -----------------------------------------------------------------
  const wchar_t* GetWindowClassName() const override { return L"MDialog"; }
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;
  int OnInitDialog() override;
  void OnDestroyMessage(HWND hwnd) override;

  // --- Virtual slots 8 to 39 ------------------------------------------------------
  virtual POINT GetAirBladderPoint(MControl* control, UINT index);
  virtual void OnMinimize();
  virtual void OnMaximize();
  virtual void InitUI(CRect client);
  virtual void UISize(CRect client);
  virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
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
  virtual LRESULT OnKeyDown(UINT vk, UINT repeat, UINT flags);
  virtual LRESULT OnNcHitTest(CPoint pt);
  virtual LRESULT OnGetMinMaxInfo(MINMAXINFO* info);
  virtual LRESULT OnNcCalcSize(int calcValid, void* params);
  virtual LRESULT OnNcActivate(int active);
  virtual LRESULT OnWindowPosChanging(void* pos);
  virtual LRESULT OnWindowPosChanged(void* pos);
  virtual LRESULT OnPaint();
  virtual void OnTimer(UINT id);
  virtual LRESULT OnNcPaint();
  virtual LRESULT OnClose();
  virtual LRESULT OnDestroy();
  virtual void PostNcDestroy();

  // --- Controls --------------------------------------------------------------------
  MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                          int enabled);
  MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                       int enabled);
  MControl* GetControl(UINT id) { return m_manager.GetControl(id); }
  std::vector<MControl*>* GetControls() { return m_manager.GetControls(); }
  void SetFocusControl(MControl* control);
  UINT SetMTimer(UINT interval) { return m_manager.SetMTimer(interval); }
  void KillMTimer(UINT id) { m_manager.KillMTimer(id); }

  // --- Closing: post WM_USERCLOSE with the result in wParam ------------------------------
  void DoOK();
  void DoCancel();
  void DoClose();
  void DoYes();
  void DoNo();

  // --- Look -----------------------------------------------------------------------------
  int LoadBKImage(CString file) { return m_manager.LoadBKImage(file); }
  int LoadBKImage(UINT resourceId, CString type) { return m_manager.LoadBKImage(resourceId, type); }
  void SetBackMode(enumBackMode mode, int frame) { m_manager.SetBackMode(mode, frame); }
  void SetLayeredWindow(int layered) { m_manager.SetLayeredWindow(layered); }
  void SetupBackTranslucent();
  void SetTransparentColor(COLORREF colour) { m_transparentColor = colour; }
  void SetWindowAlpha(BYTE alpha) { m_alpha = alpha; }
  void SetCaptionRect(CRect rect) { m_manager.SetCaptionRect(rect); }
  void EnableWndDrag(int enable) { m_manager.EnableWndDrag(enable); }
  void SetTooltip(CString text, CRect rect) { m_manager.SetTooltip(text.c_str(), rect); }
  void ClearTooltip() { m_manager.ClearTooltip(); }
  void SetScrollResID(UINT vertical, UINT horizontal) { m_manager.SetScrollResID(vertical, horizontal); }

  PaintManager* GetPaintManager() { return &m_manager; }
  CRect GetDialogClientRect() const { return m_clientRect; }

 protected:
  PaintManager m_manager;
  COLORREF m_transparentColor = 0xFFFFFF;
  BYTE m_alpha = 255;
  CRect m_clientRect;
};

}  // namespace DUI
