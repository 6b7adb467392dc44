#include "toolkit/core/MWindow.h"

#include <algorithm>

#include "platform/window/Window.h"

namespace DUI {

MWindow::MWindow() : m_prevProc(&platform::DefWindowProc) {}

MWindow::~MWindow() {
  // The window must not call back into a destroyed object.
  if (m_hWnd != nullptr && platform::IsWindow(m_hWnd)) {
    platform::SetWindowUserData(m_hWnd, nullptr);
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    platform::DestroyWindow(hwnd);
  }
}

int MWindow::ShowWindow(int cmdShow) {
  if (m_hWnd == nullptr) return 0;
  return platform::ShowWindow(m_hWnd, cmdShow) ? 1 : 0;
}

LRESULT MWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return m_prevProc(m_hWnd, msg, wParam, lParam);
}

int MWindow::PreTranslateMessage(MSG*) { return 0; }

void MWindow::OnDestroyMessage(HWND) {}

LRESULT MWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MWindow* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    self = cs != nullptr ? static_cast<MWindow*>(cs->lpCreateParams) : nullptr;
    if (self != nullptr) {
      self->m_hWnd = hwnd;
      platform::SetWindowUserData(hwnd, self);
    }
  } else {
    self = static_cast<MWindow*>(platform::GetWindowUserData(hwnd));
  }
  if (self == nullptr) return platform::DefWindowProc(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    const LRESULT result = self->OnWindowMessage(msg, wParam, lParam);
    platform::SetWindowUserData(hwnd, nullptr);
    self->m_hWnd = nullptr;
    self->OnDestroyMessage(hwnd);
    return result;
  }
  return self->OnWindowMessage(msg, wParam, lParam);
}

HWND MWindow::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, CRect rect) {
  if (m_hWnd != nullptr && platform::IsWindow(m_hWnd)) return m_hWnd;
  m_hParent = parent;
  platform::WindowDesc desc;
  desc.proc = &MWindow::WindowProc;
  desc.createParam = this;
  desc.owner = parent;
  desc.title = title != nullptr ? title : L"";
  desc.style = style;
  desc.exStyle = exStyle;
  desc.rect = rect;
  HWND hwnd = platform::CreateWindowEx(desc);
  if (hwnd == nullptr) {
    m_hWnd = nullptr;
    return nullptr;
  }
  m_hWnd = hwnd;
  OnInitDialog();
  return m_hWnd;
}

HWND MWindow::Create(HWND parent) { return Create(parent, L"MWindow", 0x0000080B, 0, CRect(0, 0, 800, 600)); }

HWND MWindow::Create(HWND parent, CRect rect) { return Create(parent, L"MWindow", 0x0000080B, 0, rect); }

UINT MWindow::ShowModal(int cmdShow) {
  if (m_hWnd == nullptr || !platform::IsWindow(m_hWnd)) return UINT(-1);
  HWND self = m_hWnd;
  HWND owner = platform::GetOwner(self);
  platform::ShowWindow(self, cmdShow);
  if (owner != nullptr) platform::EnableWindow(owner, false);
  UINT result = 0;
  bool quit = false;
  int quitCode = 0;
  MSG msg;
  while (platform::IsWindow(self)) {
    if (!platform::GetMessage(&msg)) {
      quit = true;
      quitCode = int(msg.wParam);
      break;
    }
    if (msg.message == WM_CLOSE && msg.hwnd == self) {
      result = UINT(msg.wParam);
      if (owner != nullptr) {
        platform::EnableWindow(owner, true);
        platform::SetFocus(owner);
      }
    }
    if (!PreTranslateMessage(&msg)) {
      platform::TranslateMessage(&msg);
      platform::DispatchMessage(&msg);
    }
  }
  if (owner != nullptr && platform::IsWindow(owner)) {
    platform::EnableWindow(owner, true);
    platform::SetFocus(owner);
  }
  if (quit) platform::PostQuitMessage(quitCode);
  return result;
}

void MWindow::CenterWindow(MWindow* relative) {
  if (m_hWnd == nullptr) return;
  HWND reference = relative != nullptr ? relative->GetSafeHwnd() : platform::GetOwner(m_hWnd);
  const CRect mine = GetWindowRect();
  bool usable = reference != nullptr && platform::IsWindow(reference) && platform::IsWindowVisible(reference) &&
                !platform::IsIconic(reference);
  const int monitor = usable ? platform::MonitorFromWindow(reference) : platform::MonitorFromWindow(m_hWnd);
  platform::MonitorInfo info;
  CRect bounds(0, 0, 1280, 720);
  if (platform::GetMonitorInfo(monitor, &info)) bounds = CRect(info.workArea);
  CRect over = bounds;
  if (usable) {
    RECT r{};
    platform::GetWindowRect(reference, &r);
    over = CRect(r);
  }
  const CPoint centre = over.CenterPoint();
  int x = centre.x - mine.Width() / 2;
  int y = centre.y - mine.Height() / 2;
  // Right and bottom edges stay inside, then left and top (which win).
  if (x + mine.Width() > bounds.right) x = bounds.right - mine.Width();
  if (y + mine.Height() > bounds.bottom) y = bounds.bottom - mine.Height();
  x = std::max(x, int(bounds.left));
  y = std::max(y, int(bounds.top));
  platform::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MWindow::BringToTop() {
  if (m_hWnd == nullptr) return;
  platform::SetForegroundWindow(m_hWnd);
  platform::ShowWindow(m_hWnd, platform::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW);
}

int MWindow::DestroyWindow() {
  if (m_hWnd == nullptr) return 0;
  return platform::DestroyWindow(m_hWnd) ? 1 : 0;
}

void MWindow::SetIcon(HICON icon) {
  if (m_hWnd == nullptr || icon == nullptr || icon->FrameCount() == 0) return;
  platform::SetWindowIcon(m_hWnd, icon->FrameBitmap(0));
}

DWORD MWindow::GetStyle() const { return m_hWnd != nullptr ? platform::GetWindowStyle(m_hWnd) : 0; }

DWORD MWindow::GetExStyle() const { return m_hWnd != nullptr ? platform::GetWindowExStyle(m_hWnd) : 0; }

int MWindow::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
  if (m_hWnd == nullptr) return 0;
  const DWORD old = GetStyle();
  const DWORD now = (old & ~remove) | add;
  if (now == old) return 0;
  platform::SetWindowStyle(m_hWnd, now);
  if (swpFlags != 0) {
    platform::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 1;
}

int MWindow::ModifyExStyle(DWORD remove, DWORD add, UINT swpFlags) {
  if (m_hWnd == nullptr) return 0;
  const DWORD old = GetExStyle();
  const DWORD now = (old & ~remove) | add;
  if (now == old) return 0;
  platform::SetWindowExStyle(m_hWnd, now);
  if (swpFlags != 0) {
    platform::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 1;
}

CRect MWindow::GetClientRect() const {
  RECT r{};
  if (m_hWnd != nullptr) platform::GetClientRect(m_hWnd, &r);
  return CRect(r);
}

CRect MWindow::GetWindowRect() const {
  RECT r{};
  if (m_hWnd != nullptr) platform::GetWindowRect(m_hWnd, &r);
  return CRect(r);
}

int MWindow::SetWindowTextW(const wchar_t* text) {
  if (m_hWnd == nullptr) return 0;
  return platform::SetWindowText(m_hWnd, text != nullptr ? text : L"") ? 1 : 0;
}

CString MWindow::GetWindowTextW() const { return m_hWnd != nullptr ? platform::GetWindowText(m_hWnd) : CString(); }

int MWindow::GetWindowTextLengthW() const { return int(GetWindowTextW().size()); }

int MWindow::EnableWindow(int enable) {
  return m_hWnd != nullptr && platform::EnableWindow(m_hWnd, enable != 0) ? 1 : 0;
}

int MWindow::IsWindowEnabled() const { return m_hWnd != nullptr && platform::IsWindowEnabled(m_hWnd) ? 1 : 0; }

int MWindow::IsWindowVisible() const { return m_hWnd != nullptr && platform::IsWindowVisible(m_hWnd) ? 1 : 0; }

int MWindow::IsIconic() const { return m_hWnd != nullptr && platform::IsIconic(m_hWnd) ? 1 : 0; }

int MWindow::InvalidateRect(CRect rect, int) {
  return m_hWnd != nullptr && platform::InvalidateRect(m_hWnd, &rect) ? 1 : 0;
}

HWND MWindow::SetCapture() { return m_hWnd != nullptr ? platform::SetCapture(m_hWnd) : nullptr; }

int MWindow::ReleaseCapture() { return m_hWnd != nullptr && platform::ReleaseCapture() ? 1 : 0; }

HWND MWindow::SetFocus() { return m_hWnd != nullptr ? platform::SetFocus(m_hWnd) : nullptr; }

int MWindow::SetTimer(UINT id, UINT elapse) {
  return m_hWnd != nullptr && platform::SetTimer(m_hWnd, id, elapse) ? 1 : 0;
}

int MWindow::KillTimer(UINT id) { return m_hWnd != nullptr && platform::KillTimer(m_hWnd, id) ? 1 : 0; }

int MWindow::ClientToScreen(POINT* pt) const {
  return m_hWnd != nullptr && pt != nullptr && platform::ClientToScreen(m_hWnd, pt) ? 1 : 0;
}

int MWindow::ClientToScreen(RECT* rect) const {
  if (m_hWnd == nullptr || rect == nullptr) return 0;
  POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
  platform::ClientToScreen(m_hWnd, &a);
  platform::ClientToScreen(m_hWnd, &b);
  *rect = RECT{a.x, a.y, b.x, b.y};
  return 1;
}

int MWindow::ScreenToClient(POINT* pt) const {
  return m_hWnd != nullptr && pt != nullptr && platform::ScreenToClient(m_hWnd, pt) ? 1 : 0;
}

int MWindow::ScreenToClient(RECT* rect) const {
  if (m_hWnd == nullptr || rect == nullptr) return 0;
  POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
  platform::ScreenToClient(m_hWnd, &a);
  platform::ScreenToClient(m_hWnd, &b);
  *rect = RECT{a.x, a.y, b.x, b.y};
  return 1;
}

int MWindow::SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
  return m_hWnd != nullptr && platform::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) ? 1 : 0;
}

int MWindow::MoveWindow(int x, int y, int cx, int cy, int repaint) {
  return m_hWnd != nullptr && platform::MoveWindow(m_hWnd, x, y, cx, cy, repaint != 0) ? 1 : 0;
}

int MWindow::MoveWindow(const RECT* rect, int repaint) {
  if (rect == nullptr) return 0;
  return MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

LRESULT MWindow::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
  return m_hWnd != nullptr ? platform::SendMessage(m_hWnd, msg, wParam, lParam) : 0;
}

int MWindow::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
  return m_hWnd != nullptr && platform::PostMessage(m_hWnd, msg, wParam, lParam) ? 1 : 0;
}

}  // namespace DUI
