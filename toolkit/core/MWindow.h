#pragma once
// MWindow: one native top-level window and the object behind it. Every
// message of the window reaches the object's virtual OnWindowMessage.

#include "toolkit/core/CRect.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/WinTypes.h"

namespace DUI {

class MWindow {
 public:
  MWindow();
  virtual ~MWindow();
  MWindow(const MWindow&) = delete;
  MWindow& operator=(const MWindow&) = delete;

  // Virtual slots 1 to 7.
  virtual const wchar_t* GetWindowClassName() const { return L"MWindow"; }
  virtual const wchar_t* GetSuperClassName() const { return nullptr; }
  virtual int ShowWindow(int cmdShow);
  virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual int PreTranslateMessage(MSG* msg);
  virtual int OnInitDialog() { return 1; }
  virtual void OnDestroyMessage(HWND hwnd);

  // Creates the window (or returns the live one), then calls OnInitDialog.
  HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, CRect rect);
  HWND Create(HWND parent);
  HWND Create(HWND parent, CRect rect);
  int RegisterWindowClass() { return 1; }
  int RegisterSuperClass() { return GetSuperClassName() != nullptr ? 1 : 0; }

  // Runs the window modally; the result is the wParam of the WM_CLOSE that
  // closed it (1 DoOK, 2 DoCancel, 6 DoYes, 7 DoNo, 0 other means), or -1
  // (as UINT) without a window.
  UINT ShowModal(int cmdShow = SW_SHOW);
  void CenterWindow(MWindow* relative = nullptr);
  void BringToTop();

  int DestroyWindow();
  HWND GetSafeHwnd() const { return m_hWnd; }
  HWND GetHWND() const { return m_hWnd; }
  HWND GetParentHwnd() const { return m_hParent; }
  void SetIcon(HICON icon);
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  int ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  int ModifyExStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  CRect GetClientRect() const;
  CRect GetWindowRect() const;
  int SetWindowTextW(const wchar_t* text);
  CString GetWindowTextW() const;
  int GetWindowTextLengthW() const;
  int EnableWindow(int enable);
  int IsWindowEnabled() const;
  int IsWindowVisible() const;
  int IsIconic() const;
  int InvalidateRect(CRect rect, int erase);
  HWND SetCapture();
  int ReleaseCapture();
  HWND SetFocus();
  int SetTimer(UINT id, UINT elapse);
  int KillTimer(UINT id);
  int ClientToScreen(POINT* pt) const;
  int ClientToScreen(RECT* rect) const;
  int ScreenToClient(POINT* pt) const;
  int ScreenToClient(RECT* rect) const;
  int SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags);
  int MoveWindow(int x, int y, int cx, int cy, int repaint);
  int MoveWindow(const RECT* rect, int repaint);
  LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
  int PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);

  static LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  HWND m_hParent = nullptr;
  HWND m_hWnd = nullptr;
  WNDPROC m_prevProc = nullptr;
};

}  // namespace DUI
