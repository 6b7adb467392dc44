// The SDL2 backend: real windows on X11 or Wayland (or SDL's dummy and
// offscreen drivers). Pixels are presented through the window surface
// (SDL_GetWindowSurface + SDL_UpdateWindowSurfaceRects), never through an
// SDL_Renderer, which would start a GL context for nothing. ProcessEvent is
// the one place where SDL events become window-system input.
//
// Layered windows: the window surface has no alpha channel the desktop
// blends, and SDL2's shaped windows only cut a one-bit mask, so per-pixel
// alpha is not supported here. Layered pixels are shown over opaque black;
// the constant alpha of SetLayeredWindowAttributes becomes the window
// opacity (effective under a compositing window manager).
//
// Pop-ups (WS_POPUP with WS_EX_TOOLWINDOW or WS_EX_NOACTIVATE: menus,
// tooltips, on-screen messages) are SDL_WINDOW_POPUP_MENU windows, which the
// X11 driver makes override-redirect so they appear exactly where placed.

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Text.h"
#include "platform/window/KeyTable.h"
#include "platform/window/WindowBackend.h"

namespace platform {

namespace {
std::mutex g_windowClassLock;
std::string g_windowClass;  // guarded by g_windowClassLock
}  // namespace

void SetWindowClass(const std::string& name) {
  std::lock_guard lock(g_windowClassLock);
  g_windowClass = name;
}

}  // namespace platform

namespace platform::detail {

namespace {

// SDL reads the window class from the environment when it creates a window.
void ApplyWindowClass() {
  std::lock_guard lock(g_windowClassLock);
  if (g_windowClass.empty()) return;
  setenv("SDL_VIDEO_X11_WMCLASS", g_windowClass.c_str(), 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", g_windowClass.c_str(), 0);
}

SDL_Window* Native(const WindowRecord& w) { return static_cast<SDL_Window*>(w.native); }

HWND HwndOf(Uint32 windowId) {
  SDL_Window* win = SDL_GetWindowFromID(windowId);
  return win ? FindByNative(win) : nullptr;
}

SDL_SystemCursor SystemCursor(int idc) {
  switch (idc) {
    case IDC_IBEAM: return SDL_SYSTEM_CURSOR_IBEAM;
    case IDC_WAIT: return SDL_SYSTEM_CURSOR_WAIT;
    case IDC_CROSS: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case IDC_SIZENWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case IDC_SIZENESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case IDC_SIZEWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case IDC_SIZENS: return SDL_SYSTEM_CURSOR_SIZENS;
    case IDC_SIZEALL: return SDL_SYSTEM_CURSOR_SIZEALL;
    case IDC_NO: return SDL_SYSTEM_CURSOR_NO;
    case IDC_HAND: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
  }
}

class SdlBackend : public Backend {
 public:
  bool Start() override {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");  // capture follows SetCapture only
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    ApplyWindowClass();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    wakeEvent_ = SDL_RegisterEvents(1);
    thread_ = std::this_thread::get_id();
    start_ = std::chrono::steady_clock::now();
    // Text input stays off until an editor that takes text opens
    // (platform/window/TextInput.h); SDL would otherwise start it at once.
    SDL_StopTextInput();
    return true;
  }

  void Stop() override {
    for (auto& [id, c] : cursors_) SDL_FreeCursor(c);
    cursors_.clear();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  WindowBackend Kind() const override { return WindowBackend::Sdl; }

  bool CreateNative(WindowRecord& w) override {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (w.popup) {
      flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR |
               SDL_WINDOW_ALWAYS_ON_TOP;
    } else {
      if ((w.style & WS_CAPTION) != WS_CAPTION) flags |= SDL_WINDOW_BORDERLESS;
      if (w.style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
      if (w.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
      if (w.exStyle & WS_EX_TOOLWINDOW) flags |= SDL_WINDOW_SKIP_TASKBAR;
    }
    std::string title = ToUtf8(w.title);
    SDL_Window* win = SDL_CreateWindow(title.c_str(), w.rect.left, w.rect.top,
                                       std::max(1, w.rect.right - w.rect.left),
                                       std::max(1, w.rect.bottom - w.rect.top), flags);
    if (!win) return false;
    w.native = win;
    // Only headless keeps a surface of its own.
    w.surface.Reset();
    return true;
  }

  void DestroyNative(WindowRecord& w) override {
    if (w.native) SDL_DestroyWindow(Native(w));
    w.native = nullptr;
  }

  void SetBounds(WindowRecord& w) override {
    w.surface.Reset();
    SDL_SetWindowPosition(Native(w), w.rect.left, w.rect.top);
    SDL_SetWindowSize(Native(w), std::max(1, w.rect.right - w.rect.left),
                      std::max(1, w.rect.bottom - w.rect.top));
  }

  void SetVisible(WindowRecord& w, bool visible, bool activate) override {
    if (!visible) {
      SDL_HideWindow(Native(w));
      return;
    }
    SDL_ShowWindow(Native(w));
    if (SDL_GetWindowFlags(Native(w)) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(Native(w));
    if (activate) SDL_RaiseWindow(Native(w));
  }

  void SetTitle(WindowRecord& w) override { SDL_SetWindowTitle(Native(w), ToUtf8(w.title).c_str()); }
  void SetBordered(WindowRecord& w, bool bordered) override {
    SDL_SetWindowBordered(Native(w), bordered ? SDL_TRUE : SDL_FALSE);
  }
  void Raise(WindowRecord& w) override {
    if (w.visible) SDL_RaiseWindow(Native(w));
  }
  void Minimize(WindowRecord& w) override { SDL_MinimizeWindow(Native(w)); }
  void SetOpacity(WindowRecord& w, float opacity) override { SDL_SetWindowOpacity(Native(w), opacity); }

  void SetIcon(WindowRecord& w, const Bitmap& icon) override {
    if (icon.IsEmpty()) return;
    Bitmap straight = icon;
    for (int y = 0; y < straight.Height(); ++y)
      for (int x = 0; x < straight.Width(); ++x) straight.Row(y)[x] = Unpremultiply(straight.Row(y)[x]);
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(straight.Pixels(), straight.Width(), straight.Height(),
                                                        32, straight.Stride(), SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;
    SDL_SetWindowIcon(Native(w), s);
    SDL_FreeSurface(s);
  }

  void Present(WindowRecord& w, const Bitmap& src, const RECT& area, bool) override {
    // The surface has no alpha the desktop uses, so premultiplied pixels
    // show as if over black: exactly the opaque fallback.
    SDL_Surface* s = SDL_GetWindowSurface(Native(w));
    if (!s) return;
    RECT r = IntersectRect(area, RECT{0, 0, s->w, s->h});
    if (IsRectEmpty(r)) return;
    if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
    const uint8_t* from = reinterpret_cast<const uint8_t*>(src.Row(r.top) + r.left);
    uint8_t* to = static_cast<uint8_t*>(s->pixels) + size_t(r.top) * size_t(s->pitch) + size_t(r.left) * 4;
    const Uint32 format = s->format->format;
    if (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888) {
      for (int y = r.top; y < r.bottom; ++y) {
        std::memcpy(to, from, size_t(r.right - r.left) * 4);
        from += src.Stride();
        to += s->pitch;
      }
    } else {
      to = static_cast<uint8_t*>(s->pixels) + size_t(r.top) * size_t(s->pitch) +
           size_t(r.left) * s->format->BytesPerPixel;
      SDL_ConvertPixels(r.right - r.left, r.bottom - r.top, SDL_PIXELFORMAT_ARGB8888, from, src.Stride(),
                        format, to, s->pitch);
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    SDL_Rect rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_UpdateWindowSurfaceRects(Native(w), &rect, 1);
  }

  Bitmap Capture(WindowRecord& w) override {
    SDL_Surface* s = SDL_GetWindowSurface(Native(w));
    Bitmap out;
    if (!s || !out.Create(s->w, s->h)) return out;
    if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
    SDL_ConvertPixels(s->w, s->h, s->format->format, s->pixels, s->pitch, SDL_PIXELFORMAT_ARGB8888,
                      out.Pixels(), out.Stride());
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x) out.Row(y)[x] |= 0xFF000000u;
    return out;
  }

  void SetMouseCapture(bool on) override { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

  void SetCursor(int idc) override {
    SDL_SystemCursor id = SystemCursor(idc);
    auto it = cursors_.find(id);
    if (it == cursors_.end()) {
      SDL_Cursor* c = SDL_CreateSystemCursor(id);
      if (!c) return;
      it = cursors_.emplace(id, c).first;
    }
    SDL_SetCursor(it->second);
  }

  std::vector<MonitorInfo> Monitors() override {
    std::vector<MonitorInfo> list;
    int n = SDL_GetNumVideoDisplays();
    for (int i = 0; i < n; ++i) {
      SDL_Rect b, u;
      if (SDL_GetDisplayBounds(i, &b) != 0) continue;
      if (SDL_GetDisplayUsableBounds(i, &u) != 0) u = b;
      float dpi = 96.0f;
      float ddpi = 0;
      if (SDL_GetDisplayDPI(i, &ddpi, nullptr, nullptr) == 0 && ddpi > 0) dpi = ddpi;
      list.push_back(MonitorInfo{RECT{b.x, b.y, b.x + b.w, b.y + b.h}, RECT{u.x, u.y, u.x + u.w, u.y + u.h},
                                 dpi, i == 0});
    }
    return list;
  }

  bool PerPixelAlpha() override { return false; }

  uint64_t Now() override {
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now() - start_).count());
  }

  bool HasEventThread() const override { return true; }
  bool IsEventThread() const override { return std::this_thread::get_id() == thread_; }

  void Pump() override {
    SDL_Event e;
    while (SDL_PollEvent(&e)) ProcessEvent(e);
  }

  void Wait(int timeoutMs) override {
    if (timeoutMs < 0)
      SDL_WaitEvent(nullptr);
    else
      SDL_WaitEventTimeout(nullptr, timeoutMs);
  }

  void Wake() override {
    SDL_Event e;
    SDL_zero(e);
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
  }

 private:
  // Screen position of a pointer event. While a window is dragged by its
  // caption the window moves under the pointer, so window-relative
  // coordinates would lag: the global position is read instead.
  static POINT ScreenPoint(HWND hwnd, int x, int y) {
    if (IsDraggingWindow()) {
      int gx = 0, gy = 0;
      SDL_GetGlobalMouseState(&gx, &gy);
      return POINT{gx, gy};
    }
    POINT p{x, y};
    if (hwnd) ClientToScreen(hwnd, &p);
    return p;
  }

  static bool IsPopup(HWND hwnd) {
    return (GetWindowStyle(hwnd) & WS_POPUP) && (GetWindowExStyle(hwnd) & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE));
  }

  // Without a window manager SDL gives the keyboard focus to every window it
  // shows, pop-ups included. A pop-up never takes the activation: the focus
  // goes back to the window that had it, and the focus loss that showing
  // the pop-up caused is not a deactivation.
  void FocusGained(HWND hwnd, Uint32 windowId) {
    if (!IsPopup(hwnd)) {
      focusWindowId_ = windowId;
      InputActivate(hwnd, true);
      return;
    }
    if (SDL_Window* back = SDL_GetWindowFromID(focusWindowId_)) SDL_SetWindowInputFocus(back);
  }

  void FocusLost(HWND hwnd) {
    if (IsPopup(hwnd)) return;
    SDL_Window* now = SDL_GetKeyboardFocus();
    HWND to = now != nullptr ? FindByNative(now) : nullptr;
    if (to == hwnd || (to != nullptr && IsPopup(to))) return;
    // The focus may be on its way to one of our pop-ups still.
    SDL_PumpEvents();
    SDL_Event next[16];
    const int n = SDL_PeepEvents(next, 16, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < n; ++i) {
      if (next[i].window.event != SDL_WINDOWEVENT_FOCUS_GAINED) continue;
      HWND gaining = HwndOf(next[i].window.windowID);
      if (gaining == hwnd || (gaining != nullptr && IsPopup(gaining))) return;
    }
    InputActivate(hwnd, false);
  }

  void ProcessEvent(const SDL_Event& e) {
    switch (e.type) {
      case SDL_WINDOWEVENT: {
        HWND hwnd = HwndOf(e.window.windowID);
        if (!hwnd) return;
        switch (e.window.event) {
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_SHOWN:
            InputExposed(hwnd);
            break;
          case SDL_WINDOWEVENT_MOVED: {
            if (IsDraggingWindow()) break;  // our own moves, possibly stale
            RECT r;
            GetWindowRect(hwnd, &r);
            InputNativeBounds(hwnd, RECT{e.window.data1, e.window.data2, e.window.data1 + (r.right - r.left),
                                         e.window.data2 + (r.bottom - r.top)});
            break;
          }
          case SDL_WINDOWEVENT_SIZE_CHANGED: {
            RECT r;
            GetWindowRect(hwnd, &r);
            InputNativeBounds(hwnd, RECT{r.left, r.top, r.left + e.window.data1, r.top + e.window.data2});
            // SDL makes a new window surface after a resize, even one we asked
            // for: whatever was presented before is gone.
            InputExposed(hwnd);
            break;
          }
          case SDL_WINDOWEVENT_LEAVE:
            InputPointerLeft(hwnd);
            break;
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            FocusGained(hwnd, e.window.windowID);
            break;
          case SDL_WINDOWEVENT_FOCUS_LOST:
            FocusLost(hwnd);
            break;
          case SDL_WINDOWEVENT_CLOSE:
            InputCloseRequest(hwnd);
            break;
          case SDL_WINDOWEVENT_MINIMIZED:
            if (!IsIconic(hwnd)) ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
            break;
          case SDL_WINDOWEVENT_RESTORED:
            if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
            break;
          default:
            break;
        }
        break;
      }
      case SDL_MOUSEMOTION: {
        HWND hwnd = HwndOf(e.motion.windowID);
        InputMouseMove(hwnd, ScreenPoint(hwnd, e.motion.x, e.motion.y));
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        HWND hwnd = HwndOf(e.button.windowID);
        MouseButton b;
        switch (e.button.button) {
          case SDL_BUTTON_LEFT: b = MouseButton::Left; break;
          case SDL_BUTTON_RIGHT: b = MouseButton::Right; break;
          case SDL_BUTTON_MIDDLE: b = MouseButton::Middle; break;
          case SDL_BUTTON_X1: b = MouseButton::X1; break;
          case SDL_BUTTON_X2: b = MouseButton::X2; break;
          default: return;
        }
        InputMouseButton(hwnd, b, e.type == SDL_MOUSEBUTTONDOWN, ScreenPoint(hwnd, e.button.x, e.button.y),
                         EventTime(e.button.timestamp));
        break;
      }
      case SDL_MOUSEWHEEL: {
        HWND hwnd = HwndOf(e.wheel.windowID);
        // One notch is 120, as on Windows; finer devices give smaller deltas.
        float y = e.wheel.preciseY;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
        int delta = int(y * WHEEL_DELTA);
        if (delta == 0) return;
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        POINT p{gx, gy};
        if (SDL_GetCurrentVideoDriver() && std::strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0) {
          // Drivers without a global pointer report it relative to the window.
          SDL_GetMouseState(&gx, &gy);
          p = ScreenPoint(hwnd, gx, gy);
        }
        InputWheel(hwnd, delta, p);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        UINT vk = VirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.scancode);
        if (!vk) return;
        uint16_t scan = uint16_t(ScanCodeFromVirtualKey(vk));
        if (e.key.keysym.scancode == SDL_SCANCODE_KP_ENTER) scan = 0xE01C;
        InputKey(vk, scan, e.type == SDL_KEYDOWN, EventTime(e.key.timestamp));
        break;
      }
      case SDL_TEXTINPUT:
        InputText(FromUtf8(e.text.text));
        break;
      default:
        break;  // the wake-up event and everything else
    }
  }

  // An event's timestamp (SDL's milliseconds) on this backend's clock: as
  // long before now as SDL received it before now.
  uint64_t EventTime(Uint32 timestamp) {
    const uint64_t now = Now();
    const Uint32 age = SDL_GetTicks() - timestamp;
    return now > age ? now - age : 0;
  }

  Uint32 focusWindowId_ = 0;  // the last of our windows (not a pop-up) that had the focus
  Uint32 wakeEvent_ = 0;
  std::thread::id thread_;
  std::chrono::steady_clock::time_point start_;
  std::map<int, SDL_Cursor*> cursors_;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend() { return std::make_unique<SdlBackend>(); }

}  // namespace platform::detail
