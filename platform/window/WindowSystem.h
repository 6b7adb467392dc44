#pragma once
// Internal to platform/window: the state the window system's source files
// share (window records, per-thread message queues, the input state) and
// the helpers they call on one another. Only the window system's own files
// include this; backends see WindowBackend.h.
//
// Locking: one system mutex guards every record and the input state; each
// queue has its own mutex, always taken after the system mutex, never
// before it. Window procedures run with no lock held. Helpers named
// ...Locked expect the system mutex to be held by the caller.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/window/WindowBackend.h"

namespace platform::detail {

// --- Queues ------------------------------------------------------------------------------------------
struct SentItem {
  MSG msg;
  LRESULT result = 0;
  bool done = false;
  std::shared_ptr<MessageQueue> sender;
};

class MessageQueue {
 public:
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<SentItem>> sent;
  bool quit = false;
  int quitCode = 0;
  uint64_t generation = 0;
  bool eventThread = false;  // the backend's events are pumped on this thread
  std::thread::id thread;
  bool paintedLast = false;  // the last generated message was a paint (system mutex)
  uintptr_t lastPainted = 0;  // the window it painted, where the next search starts
};

// --- The system's state ------------------------------------------------------------------------------
struct System {
  std::mutex mutex;
  std::unique_ptr<Backend> backend;
  std::atomic<uint64_t> epoch{1};
  std::map<uintptr_t, std::shared_ptr<WindowRecord>> windows;
  uintptr_t nextId = 1;  // never reset, so handles are not reused in a run
  std::vector<HWND> zorder;  // front first
  std::map<std::thread::id, std::shared_ptr<MessageQueue>> queues;
  HWND capture = nullptr;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND pointerWindow = nullptr;  // the window under the pointer
  POINT cursor;
  uint8_t keys[256] = {};
  uint8_t toggles[256] = {};
  HWND lastClickWindow = nullptr;
  MouseButton lastClickButton = MouseButton::Left;
  uint64_t lastClickTime = 0;
  POINT lastClickPoint;
  HWND dragWindow = nullptr;
  POINT dragOffset;
  int cursorId = IDC_ARROW;
};

System& S();

constexpr uint64_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 2;  // half the 4-pixel double-click box
constexpr int kHoverSlop = 2;        // half the 4-pixel hover box

// --- Shared helpers ----------------------------------------------------------------------------------
// Window.cpp
uint64_t SteadyMs();
uint64_t NowLocked();
WindowRecord* Find(HWND hwnd);
RECT ClientOf(const WindowRecord& w);
bool OnOwnThread(const WindowRecord& w);

// MessageQueue.cpp
void Notify(MessageQueue& q);
// Wakes the queue's thread; for the backend's event thread that means a
// native wake-up, because it may be blocked in the backend's Wait.
void Wake(MessageQueue& q, Backend* backend);
std::shared_ptr<MessageQueue> CurrentQueueLocked();
std::shared_ptr<MessageQueue> CurrentQueue();
// Queues a message for the window's thread. Caller holds the system mutex.
void PostLocked(WindowRecord& w, UINT msg, WPARAM wParam, LPARAM lParam);
// The same with the message stamped at time (GetTickCount64's clock).
void PostLocked(WindowRecord& w, UINT msg, WPARAM wParam, LPARAM lParam, uint64_t time);
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Sends on the window's own thread, posts across threads: used for the
// notifications the system itself raises (activation, focus, size).
void Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void RunSent(MessageQueue& q);
// The retrieval loop behind GetMessage and PeekMessage. Returns false when
// nothing was ready and block is false.
bool NextMessage(MSG* out, bool block);

// InputRouting.cpp
WPARAM MouseKeyFlagsLocked();
LPARAM ClientPointParam(const WindowRecord& w, POINT screen);
HWND SetFocusImpl(HWND hwnd);
HWND SetActiveImpl(HWND hwnd, bool raiseNative);
// The window to activate when the active one goes away: its owner when that
// can take activation, else the front-most such window.
HWND SuccessorLocked(HWND leaving);
bool Captured(HWND hwnd);
// Moves a window to the front of its band (topmost windows and pop-ups above
// the others) and its owned windows above it.
void RaiseLocked(HWND hwnd, int depth = 0);
// Delivers WM_MOUSELEAVE to tracked windows the pointer is no longer over.
// A window holding the capture gets it when it releases the capture.
void CheckLeaveLocked();

// Popups.cpp: pop-ups that are dismissed (menus, drop-downs), see there.
bool IsDismissableStyle(DWORD style, DWORD exStyle);
// The open pop-ups a press in `pressed` (null: outside every window)
// dismisses. Caller holds the system mutex.
std::vector<HWND> PopupsToDismissForPressLocked(HWND pressed);
void DismissPopupsForPress(HWND pressed);
// Dismisses the open pop-ups owned, directly or through other windows, by
// owner: it was deactivated, hidden, minimised, moved or resized.
void DismissPopupsOwnedBy(HWND owner);
// Where keys for the focus window go: the front-most open pop-up over it,
// else the focus window itself.
HWND KeyTargetLocked(HWND focus);
// A dismissable pop-up's rectangle moved inside the work area; any other
// window's unchanged. Takes the system mutex.
RECT KeepPopupOnScreen(HWND hwnd, const RECT& to);

// WindowGeometry.cpp
// Moves and sizes a window and tells it what changed.
void ApplyBounds(HWND hwnd, RECT to, WPARAM sizeKind);

}  // namespace platform::detail
