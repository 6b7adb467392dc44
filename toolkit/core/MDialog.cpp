#include "toolkit/core/MDialog.h"

#include "platform/window/Window.h"

namespace DUI {

MDialog::MDialog() = default;

MDialog::~MDialog() {
  // Destroy the window while the whole object still stands, so that the
  // closing messages reach it; then free what the manager holds.
  if (m_hWnd != nullptr && platform::IsWindow(m_hWnd)) platform::DestroyWindow(m_hWnd);
  m_manager.DestroyData();
}

// --- MObject ---------------------------------------------------------------------------

LRESULT MDialog::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return OnMessage(id, code, wParam, lParam);
}

LRESULT MDialog::OnControlUpdate(CRect rect, int redraw, MControl* control) {
  return m_manager.OnControlUpdate(rect, redraw, control);
}

// --- MWindow ---------------------------------------------------------------------------

LRESULT MDialog::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const UINT flags = UINT(wParam);
  switch (msg) {
    case WM_CREATE: OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_SIZE: OnSize(UINT(wParam), LOWORD(uintptr_t(lParam)), HIWORD(uintptr_t(lParam))); break;
    case WM_PAINT: OnPaint(); break;
    case WM_CLOSE: OnClose(); break;
    case WM_ERASEBKGND: return 1;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(reinterpret_cast<void*>(lParam)); break;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(reinterpret_cast<void*>(lParam)); break;
    case WM_NCACTIVATE: OnNcActivate(int(wParam)); break;
    case WM_TIMER: OnTimer(UINT(wParam)); break;
    case WM_MOUSEMOVE: OnMouseMove(flags, pt); break;
    case WM_MOUSELEAVE: OnMouseLeave(); break;
    case WM_MOUSEHOVER: OnMouseHover(flags, pt); break;
    case WM_MOUSEWHEEL: OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), pt); break;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, pt); break;
    case WM_LBUTTONUP: OnLButtonUp(flags, pt); break;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, pt); break;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, pt); break;
    case WM_RBUTTONUP: OnRButtonUp(flags, pt); break;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(flags, pt); break;
    case WM_KEYDOWN: OnKeyDown(UINT(wParam), UINT(lParam & 0xFFFF), UINT(lParam >> 16)); break;
    case WM_USERCLOSE: return OnUserCloseWindow(wParam, lParam);
    default: break;
  }
  const LRESULT handled = m_manager.OnWindowMessage(msg, wParam, lParam);
  if (handled != 0) return handled;
  return m_prevProc(m_hWnd, msg, wParam, lParam);
}

int MDialog::PreTranslateMessage(MSG* msg) { return m_manager.PreTranslateMessage(msg); }

int MDialog::OnInitDialog() {
  m_manager.Init(m_hWnd, this);
  m_clientRect = GetClientRect();
  InitUI(m_clientRect);
  return 1;
}

void MDialog::OnDestroyMessage(HWND) { PostNcDestroy(); }

// --- Virtual slots ------------------------------------------------------------------------

POINT MDialog::GetAirBladderPoint(MControl*, UINT) { return POINT{}; }

void MDialog::OnMinimize() { ShowWindow(SW_MINIMIZE); }

void MDialog::OnMaximize() {
  if (m_hWnd == nullptr) return;
  ShowWindow(platform::IsZoomed(m_hWnd) ? SW_RESTORE : SW_MAXIMIZE);
}

void MDialog::InitUI(CRect) {}
void MDialog::UISize(CRect) {}
LRESULT MDialog::OnMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

LRESULT MDialog::OnUserCloseWindow(WPARAM wParam, LPARAM lParam) {
  PostMessageW(WM_CLOSE, wParam, lParam);
  return 1;
}

LRESULT MDialog::OnCreate(CREATESTRUCTW*) {
  // No system frame: the dialog draws everything itself.
  if (m_hWnd != nullptr) {
    platform::SetWindowStyle(m_hWnd, (platform::GetWindowStyle(m_hWnd) & 0xFF3BFFFF) | 0x06000008);
  }
  return 0;
}

LRESULT MDialog::OnSize(UINT type, int, int) {
  if (type != SIZE_MINIMIZED) SetupBackTranslucent();
  m_clientRect = GetClientRect();
  if (m_clientRect.Width() > 1 && m_clientRect.Height() > 1) {
    UISize(m_clientRect);
    m_manager.SetCaptionRect(m_clientRect);
  }
  InvalidateRect(m_clientRect, 0);
  return 0;
}

LRESULT MDialog::OnMouseMove(UINT, CPoint) { return 0; }
LRESULT MDialog::OnMouseLeave() { return 0; }
LRESULT MDialog::OnMouseHover(UINT, CPoint) { return 0; }
LRESULT MDialog::OnMouseWheel(UINT, int, CPoint) { return 0; }
LRESULT MDialog::OnLButtonDown(UINT, CPoint) { return 0; }
LRESULT MDialog::OnLButtonUp(UINT, CPoint) { return 0; }
LRESULT MDialog::OnLButtonDblClk(UINT, CPoint) { return 0; }
LRESULT MDialog::OnRButtonDown(UINT, CPoint) { return 0; }
LRESULT MDialog::OnRButtonUp(UINT, CPoint) { return 0; }
LRESULT MDialog::OnRButtonDblClk(UINT, CPoint) { return 0; }
LRESULT MDialog::OnKeyDown(UINT, UINT, UINT) { return 0; }
LRESULT MDialog::OnNcHitTest(CPoint) { return 0; }
LRESULT MDialog::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
LRESULT MDialog::OnNcCalcSize(int, void*) { return 0; }
LRESULT MDialog::OnNcActivate(int) { return 0; }
LRESULT MDialog::OnWindowPosChanging(void*) { return 1; }
LRESULT MDialog::OnWindowPosChanged(void*) { return 1; }
LRESULT MDialog::OnPaint() { return 0; }
void MDialog::OnTimer(UINT) {}
LRESULT MDialog::OnNcPaint() { return 0; }
LRESULT MDialog::OnClose() { return 1; }
LRESULT MDialog::OnDestroy() { return 0; }
void MDialog::PostNcDestroy() {}

// --- Controls ---------------------------------------------------------------------------------

MControl* MDialog::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled) {
  return m_manager.CreateControl(1, this, className, id, rect, title, visible, enabled);
}

MControl* MDialog::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                              int enabled) {
  return m_manager.CreateControl(0, this, className, id, rect, title, visible, enabled);
}

void MDialog::SetFocusControl(MControl* control) {
  MControl* old = m_manager.GetFocusControl();
  if (old == control) return;
  if (old != nullptr) old->SetControlFocus(0);
  if (control != nullptr) control->SetControlFocus(1);
  m_manager.SetFocusControl(control);
}

// --- Closing ----------------------------------------------------------------------------------------

void MDialog::DoOK() { PostMessageW(WM_USERCLOSE, IDOK, 0); }
void MDialog::DoCancel() { PostMessageW(WM_USERCLOSE, IDCANCEL, 0); }
void MDialog::DoClose() { PostMessageW(WM_USERCLOSE, IDCANCEL, 0); }
void MDialog::DoYes() { PostMessageW(WM_USERCLOSE, IDYES, 0); }
void MDialog::DoNo() { PostMessageW(WM_USERCLOSE, IDNO, 0); }

void MDialog::SetupBackTranslucent() {
  if (m_hWnd == nullptr) return;
  if (m_alpha != 255) {
    ModifyExStyle(0, WS_EX_LAYERED);
    platform::SetLayeredWindowAttributes(m_hWnd, 0, m_alpha, LWA_ALPHA);
  } else if (m_transparentColor != 0xFFFFFF) {
    ModifyExStyle(0, WS_EX_LAYERED);
    platform::SetLayeredWindowAttributes(m_hWnd, m_transparentColor, 255, LWA_COLORKEY);
  }
}

}  // namespace DUI
