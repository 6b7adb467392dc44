#pragma once
// Internal to platform/window: the record of a window, the interface each
// backend implements, and the input entry points through which a backend's
// ProcessEvent hands native events to the shared routing in InputRouting.cpp.
// No native type appears here either.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/draw/Bitmap.h"
#include "platform/window/Window.h"

namespace platform::detail {

class MessageQueue;

struct WindowTimer {
  UINT elapse = 0;
  uint64_t due = 0;
};

struct WindowRecord {
  HWND hwnd = nullptr;
  std::shared_ptr<MessageQueue> queue;
  WNDPROC proc = nullptr;
  void* userData = nullptr;
  HWND owner = nullptr;
  std::wstring title;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect;         // screen; the client area
  RECT restoreRect;  // before maximising
  bool visible = false;
  bool enabled = true;
  bool minimized = false;
  bool maximized = false;
  bool topmost = false;
  bool destroying = false;
  bool popup = false;  // borderless, override-redirect, never activated
  bool dismissed = false;  // a pop-up told to close (WM_NCACTIVATE 0) since it was shown
  RECT invalid;        // bounding rectangle of the invalid region
  RECT painting;       // handed out with WM_PAINT, returned by BeginPaint
  std::map<UINT_PTR, WindowTimer> timers;
  // Mouse tracking requested with TrackMouseEvent.
  bool trackLeave = false;
  bool trackHover = false;
  UINT hoverTime = 400;
  uint64_t hoverStart = 0;
  POINT hoverAnchor;
  bool leavePendingOnRelease = false;
  BYTE alpha = 255;
  COLORREF colorKey = 0;
  DWORD layeredFlags = 0;
  void* native = nullptr;  // the backend's window
  Bitmap surface;          // what the window shows (headless)
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual bool Start() = 0;
  virtual void Stop() = 0;
  virtual WindowBackend Kind() const = 0;

  virtual bool CreateNative(WindowRecord& w) = 0;
  virtual void DestroyNative(WindowRecord& w) = 0;
  virtual void SetBounds(WindowRecord& w) = 0;
  virtual void SetVisible(WindowRecord& w, bool visible, bool activate) = 0;
  virtual void SetTitle(WindowRecord& w) = 0;
  virtual void SetBordered(WindowRecord& w, bool bordered) = 0;
  virtual void Raise(WindowRecord& w) = 0;
  virtual void Minimize(WindowRecord& w) = 0;
  virtual void SetOpacity(WindowRecord& w, float opacity) = 0;
  virtual void SetIcon(WindowRecord& w, const Bitmap& icon) = 0;
  // Copies area of a client-sized premultiplied bitmap to the window; opaque
  // shows it over black.
  virtual void Present(WindowRecord& w, const Bitmap& src, const RECT& area, bool opaque) = 0;
  virtual Bitmap Capture(WindowRecord& w) = 0;
  virtual void SetMouseCapture(bool on) = 0;
  virtual void SetCursor(int idc) = 0;
  virtual std::vector<MonitorInfo> Monitors() = 0;
  virtual bool PerPixelAlpha() = 0;
  virtual uint64_t Now() = 0;
  // True when time moves only on request (the headless clock), so waiting
  // for a timer would wait forever.
  virtual bool VirtualClock() const { return false; }

  // Native event delivery. A backend with an event thread translates its
  // events in Pump and blocks in Wait until an event, a Wake or the timeout
  // (milliseconds, -1 forever).
  virtual bool HasEventThread() const = 0;
  virtual bool IsEventThread() const = 0;
  virtual void Pump() = 0;
  virtual void Wait(int timeoutMs) = 0;
  virtual void Wake() = 0;
};

std::unique_ptr<Backend> MakeHeadlessBackend();
std::unique_ptr<Backend> MakeSdlBackend();
Backend* ActiveBackendObject();

// --- Input entry points (called by ProcessEvent and the headless injector) ---
// hint: the window the native system reported, or null to hit-test.
enum class MouseButton { Left, Right, Middle, X1, X2 };
// The time an input message is stamped with: kInputNow, or when the native
// system received the input (GetTickCount64's clock), so that a late event
// loop does not stretch the delays a macro recorder measures.
inline constexpr uint64_t kInputNow = ~uint64_t(0);
void InputMouseMove(HWND hint, POINT screen);
void InputMouseButton(HWND hint, MouseButton button, bool down, POINT screen, uint64_t time = kInputNow);
void InputWheel(HWND hint, int delta, POINT screen);
void InputPointerLeft(HWND window);  // the pointer left this window natively
void InputKey(UINT vk, uint16_t scanCode, bool down, uint64_t time = kInputNow);
void InputText(const std::wstring& text);
void InputActivate(HWND window, bool active);
void InputNativeBounds(HWND window, const RECT& rect);
void InputCloseRequest(HWND window);
void InputExposed(HWND window);
// Wakes every queue (the headless clock moved).
void WakeAllQueues();
// Window whose native handle is this (SDL window id lookup helpers use it).
HWND FindByNative(void* native);
// The drag-by-caption state; the backend needs global coordinates then.
bool IsDraggingWindow();

}  // namespace platform::detail
