#pragma once
// The window system: top-level windows, per-thread message queues, input
// routing, timers, capture, hover and leave tracking, focus and activation,
// cursors, monitors and presenting pixels. Two backends stand behind it:
// SDL2 (real windows) and headless (in-memory surfaces; tests inject input
// through platform/window/Headless.h).
//
// Index
//   1. Start and stop
//   2. Creating and destroying windows
//   3. Messages and the loop
//   4. Geometry, visibility, state
//   5. Input state: focus, activation, capture, tracking, keys, cursor
//   6. Timers and time
//   7. Painting and presenting
//   8. Monitors
//
// Threading. A window belongs to the thread that created it; its messages
// are dispatched there. PostMessage, PostQuitMessage (own thread),
// InvalidateRect and IsWindow may be called from any thread. SendMessage
// runs the procedure at once on the window's thread, and from another thread
// waits until the window's thread has run it inside its GetMessage or
// PeekMessage. Every other call is made on the window's thread. With the
// SDL backend every window lives on the thread that called
// InitWindowSystem. Window procedures are called with no platform lock held,
// so they may call back into this API.
//
// Windows have no non-client area: the window rectangle is the client
// rectangle in screen coordinates.

#include <filesystem>
#include <string>

#include "platform/draw/Bitmap.h"
#include "platform/window/WinTypes.h"

namespace platform {

// --- 1. Start and stop ----------------------------------------------------------
enum class WindowBackend {
  Auto,      // SDL unless ORVANE_HEADLESS=1; headless when SDL cannot start
  Sdl,
  Headless,
};

// Starts the window system once per process (later calls return true and keep
// the first backend). False when the requested backend cannot start.
bool InitWindowSystem(WindowBackend backend = WindowBackend::Auto);
// Destroys every remaining window and returns to the state before Init.
void ShutdownWindowSystem();
WindowBackend ActiveBackend();  // Auto when not started
// The desktop's name for the program's windows (the X11 WM_CLASS and the
// Wayland app id), which the launcher's desktop entry names to match its
// windows and icon. Set before InitWindowSystem; a value given in the
// environment (SDL_VIDEO_X11_WMCLASS, SDL_VIDEO_WAYLAND_WMCLASS) wins.
void SetWindowClass(const std::string& name);

// --- 2. Creating and destroying windows -------------------------------------------
struct WindowDesc {
  WNDPROC proc = nullptr;
  void* createParam = nullptr;  // CREATESTRUCTW::lpCreateParams
  HWND owner = nullptr;         // owned windows stay above their owner
  std::wstring title;
  // WS_POPUP with WS_EX_TOOLWINDOW or WS_EX_NOACTIVATE makes a borderless
  // pop-up placed exactly where asked that never takes the activation.
  // With WS_EX_TOOLWINDOW alone it is a menu or drop-down: dismissed with
  // WM_NCACTIVATE 0 by a press elsewhere or when its owner is deactivated,
  // hidden, moved or resized, given the keys while open, and kept inside
  // the work area (Popups.cpp). WS_VISIBLE shows the window.
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect;          // screen rectangle
};

// Creates the window: sends WM_NCCREATE (0 fails), WM_CREATE (-1 fails), then
// WM_SIZE and WM_MOVE; shows it when WS_VISIBLE is set. Null on failure.
HWND CreateWindowEx(const WindowDesc& desc);
// Destroys owned windows first, then sends WM_DESTROY and WM_NCDESTROY.
// Only on the window's thread; false otherwise or for a dead handle.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void SetWindowUserData(HWND hwnd, void* data);
void* GetWindowUserData(HWND hwnd);
HWND GetOwner(HWND hwnd);
DWORD GetWindowStyle(HWND hwnd);
DWORD GetWindowExStyle(HWND hwnd);
void SetWindowStyle(HWND hwnd, DWORD style);  // a WS_CAPTION decides the border
void SetWindowExStyle(HWND hwnd, DWORD exStyle);
bool SetWindowText(HWND hwnd, const std::wstring& text);
std::wstring GetWindowText(HWND hwnd);
HWND FindWindow(const std::wstring& title);  // first live window with this title
void SetWindowIcon(HWND hwnd, const Bitmap& icon);

// --- 3. Messages and the loop ---------------------------------------------------------
// Order of retrieval: messages sent from other threads (run inside the call),
// then posted messages and input in posting order, then WM_QUIT once the
// posted queue is empty, then WM_PAINT, then WM_MOUSEHOVER and WM_TIMER.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Waits for the next message of the calling thread. False on WM_QUIT (the
// message is still stored in msg, exit code in wParam).
bool GetMessage(MSG* msg);
// Takes the next message without waiting; false when none is ready.
bool PeekMessage(MSG* msg);
// Keyboard messages become character messages in the backend; kept for the
// shape of the loop.
void TranslateMessage(const MSG* msg);
// Calls the window's procedure; 0 for a dead window or a thread message.
LRESULT DispatchMessage(const MSG* msg);
// Dispatches every message that is ready without waiting; returns how many.
// WM_QUIT is left in the queue and stops the run.
int PumpPendingMessages();
// Wakes a thread blocked in GetMessage without giving it a message.
void WakeThread(HWND anyWindowOfThatThread);

// --- 4. Geometry, visibility, state --------------------------------------------------------
bool GetWindowRect(HWND hwnd, RECT* rect);  // screen
bool GetClientRect(HWND hwnd, RECT* rect);  // (0, 0, width, height)
bool ClientToScreen(HWND hwnd, POINT* pt);
bool ScreenToClient(HWND hwnd, POINT* pt);
// Sends WM_MOVE and WM_SIZE (SIZE_RESTORED) for what changed and
// invalidates the window when its size changed. insertAfter: HWND_TOP raises,
// HWND_TOPMOST / HWND_NOTOPMOST change the topmost flag.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool repaint);
// SW_ values. Showing activates unless the command or the window's style says
// otherwise. SW_MAXIMIZE fills the work area of the window's monitor. Returns
// whether the window was visible before.
bool ShowWindow(HWND hwnd, int cmdShow);
bool IsWindowVisible(HWND hwnd);
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);
// A disabled window receives no mouse or keyboard input. Sends WM_ENABLE.
bool EnableWindow(HWND hwnd, bool enable);
bool IsWindowEnabled(HWND hwnd);

// --- 5. Input state ------------------------------------------------------------------------
// Activation sends WM_NCACTIVATE and WM_ACTIVATE to the old and the new
// window, then moves the focus (WM_KILLFOCUS, WM_SETFOCUS). Null deactivates.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND hwnd);  // raises and activates
HWND GetForegroundWindow();
HWND SetFocus(HWND hwnd);  // activates the window when it is not active
HWND GetFocus();
// While captured, every mouse message goes to the capture window with
// coordinates relative to it, even outside it. WM_CAPTURECHANGED goes to the
// window losing the capture. A pending leave is delivered on release when the
// pointer is outside.
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();
// Arms WM_MOUSELEAVE (pointer left the window) and WM_MOUSEHOVER (pointer
// rested within a 4 x 4 pixel box for the hover time, default 400 ms). Both
// fire once per request.
bool TrackMouseEvent(TRACKMOUSEEVENT* tme);
// High bit set while the key (VK_ value, mouse buttons included) is down,
// low bit toggled by each press; left/right keys also set the generic ones.
int16_t GetKeyState(int vk);
bool GetCursorPos(POINT* pt);
void SetCursor(int idc);  // IDC_ value; unknown ids show the arrow
int GetCursor();

// --- 6. Timers and time ---------------------------------------------------------------------------
// Periodic WM_TIMER (wParam = id) to the window; setting an existing id
// restarts it with the new period. Ids are any value, 0 included.
bool SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs);
bool KillTimer(HWND hwnd, UINT_PTR id);
// Milliseconds of the window system's clock: the steady clock with SDL, a
// virtual clock moved by headless::AdvanceTime with the headless backend.
uint64_t GetTickCount64();
// When the message last taken by this thread's GetMessage or PeekMessage
// was queued (GetTickCount64's clock, truncated as Windows' is); 0 before
// any. Input messages are queued as the backend receives the input.
uint32_t GetMessageTime();

// --- 7. Painting and presenting ---------------------------------------------------------------------
// The invalid region is kept as its bounding rectangle. A null rect
// invalidates the whole client area. Any thread.
bool InvalidateRect(HWND hwnd, const RECT* rect);
bool ValidateRect(HWND hwnd, const RECT* rect);
// The area to paint for the WM_PAINT being handled (clears it); empty when
// nothing is invalid.
RECT BeginPaint(HWND hwnd);
void EndPaint(HWND hwnd);
// Copies area of a client-sized premultiplied back buffer to the window and
// shows it.
bool PresentBitmap(HWND hwnd, const Bitmap& backBuffer, const RECT& area);
// Constant window alpha (LWA_ALPHA) and colour key (LWA_COLORKEY). SDL
// applies the constant alpha through the window opacity and ignores the key.
bool SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
// Shows a whole client-sized bitmap with its per-pixel alpha. Where the
// display cannot blend windows (SupportsPerPixelAlpha false) the pixels are
// shown over opaque black instead.
bool UpdateLayeredWindow(HWND hwnd, const Bitmap& pixels);
bool SupportsPerPixelAlpha();
// What the window shows (straight alpha in the PNG). Both backends.
bool SaveWindowScreenshot(HWND hwnd, const std::filesystem::path& file);
Bitmap CaptureWindow(HWND hwnd);  // premultiplied; empty for a dead window

// --- 8. Monitors ------------------------------------------------------------------------------------
struct MonitorInfo {
  RECT bounds;
  RECT workArea;  // bounds less panels and docks
  float dpi = 96.0f;
  bool primary = false;
};
int GetMonitorCount();
bool GetMonitorInfo(int index, MonitorInfo* info);
int MonitorFromPoint(POINT pt);       // nearest monitor
int MonitorFromRect(const RECT& r);   // largest overlap, else nearest
int MonitorFromWindow(HWND hwnd);
// Work area of the primary monitor.
bool GetWorkArea(RECT* rect);

}  // namespace platform
