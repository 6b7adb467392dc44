// The headless backend: windows are in-memory surfaces, time is a virtual
// clock, and input arrives through platform/window/Headless.h. Per-pixel
// alpha is kept as drawn, so screenshots of layered windows show it.

#include <atomic>
#include <chrono>

#include "platform/window/Headless.h"
#include "platform/window/KeyTable.h"
#include "platform/window/WindowBackend.h"

namespace platform {

namespace detail {

namespace {

std::vector<MonitorInfo> DefaultMonitors() {
  return {MonitorInfo{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96.0f, true}};
}

class HeadlessBackend : public Backend {
 public:
  bool Start() override { return true; }
  void Stop() override {}
  WindowBackend Kind() const override { return WindowBackend::Headless; }

  bool CreateNative(WindowRecord&) override { return true; }
  void DestroyNative(WindowRecord&) override {}
  void SetBounds(WindowRecord&) override {}
  void SetVisible(WindowRecord&, bool, bool) override {}
  void SetTitle(WindowRecord&) override {}
  void SetBordered(WindowRecord&, bool) override {}
  void Raise(WindowRecord&) override {}
  void Minimize(WindowRecord&) override {}
  void SetOpacity(WindowRecord&, float) override {}
  void SetIcon(WindowRecord&, const Bitmap&) override {}

  void Present(WindowRecord& w, const Bitmap& src, const RECT& area, bool opaque) override {
    w.surface.CopyFrom(src, area.left, area.top, area);
    if (!opaque) return;
    for (int y = area.top; y < area.bottom && y < w.surface.Height(); ++y) {
      uint32_t* row = w.surface.Row(y);
      for (int x = area.left; x < area.right && x < w.surface.Width(); ++x) row[x] |= 0xFF000000u;
    }
  }

  Bitmap Capture(WindowRecord& w) override { return w.surface; }
  void SetMouseCapture(bool) override {}
  void SetCursor(int) override {}
  std::vector<MonitorInfo> Monitors() override { return monitors; }
  bool PerPixelAlpha() override { return perPixelAlpha; }
  uint64_t Now() override {
    if (!realTime.load()) return now.load();
    return now.load() + uint64_t(SteadyMs() - realStart.load());
  }
  bool VirtualClock() const override { return !realTime.load(); }

  bool HasEventThread() const override { return false; }
  bool IsEventThread() const override { return false; }
  void Pump() override {}
  void Wait(int) override {}
  void Wake() override {}

  std::atomic<uint64_t> now{0};
  std::atomic<bool> realTime{false};
  std::atomic<int64_t> realStart{SteadyMs()};

  static int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
  std::vector<MonitorInfo> monitors = DefaultMonitors();
  bool perPixelAlpha = true;
};

HeadlessBackend* Headless() {
  Backend* b = ActiveBackendObject();
  if (!b || b->Kind() != WindowBackend::Headless) return nullptr;
  return static_cast<HeadlessBackend*>(b);
}

POINT ToScreen(HWND hwnd, int x, int y) {
  POINT p{x, y};
  if (hwnd) ClientToScreen(hwnd, &p);
  return p;
}

}  // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace detail

namespace headless {

using namespace detail;

void InjectMouseMove(HWND hwnd, int x, int y) {
  if (!Headless()) return;
  InputMouseMove(nullptr, ToScreen(hwnd, x, y));
}

void InjectButton(HWND hwnd, Button button, bool down, int x, int y) {
  if (!Headless()) return;
  MouseButton b = button == Button::Left    ? MouseButton::Left
                  : button == Button::Right ? MouseButton::Right
                                            : MouseButton::Middle;
  POINT p = ToScreen(hwnd, x, y);
  // A press always happens where the pointer is, so the pointer moves first.
  POINT cursor;
  GetCursorPos(&cursor);
  if (cursor.x != p.x || cursor.y != p.y) InputMouseMove(nullptr, p);
  InputMouseButton(nullptr, b, down, p);
}

void InjectClick(HWND hwnd, int x, int y) {
  InjectButton(hwnd, Button::Left, true, x, y);
  InjectButton(hwnd, Button::Left, false, x, y);
}

void InjectWheel(HWND hwnd, int delta, int x, int y) {
  if (!Headless()) return;
  InputWheel(nullptr, delta, ToScreen(hwnd, x, y));
}

void InjectPointerExit() {
  if (!Headless()) return;
  // Far outside every monitor.
  InputMouseMove(nullptr, POINT{-100000, -100000});
}

void InjectKey(UINT vk, bool down) {
  if (!Headless()) return;
  InputKey(vk, uint16_t(ScanCodeFromVirtualKey(vk)), down);
}

void InjectKeyScan(UINT vk, uint16_t scanCode, bool down) {
  if (!Headless()) return;
  InputKey(vk, scanCode, down);
}

void InjectKeyPress(UINT vk) {
  InjectKey(vk, true);
  InjectKey(vk, false);
}

void InjectText(const std::wstring& text) {
  if (!Headless()) return;
  InputText(text);
}

void InjectCloseRequest(HWND hwnd) {
  if (!Headless()) return;
  InputCloseRequest(hwnd);
}

void AdvanceTime(uint32_t ms) {
  HeadlessBackend* b = Headless();
  if (!b) return;
  b->now.fetch_add(ms);
  WakeAllQueues();
}

void UseRealTime(bool real) {
  HeadlessBackend* b = Headless();
  if (!b || b->realTime.load() == real) return;
  // The clock keeps its value across the switch.
  uint64_t current = b->Now();
  b->realStart.store(HeadlessBackend::SteadyMs());
  b->now.store(current);
  b->realTime.store(real);
  WakeAllQueues();
}

void SetMonitors(const std::vector<MonitorInfo>& monitors) {
  if (HeadlessBackend* b = Headless()) b->monitors = monitors.empty() ? DefaultMonitors() : monitors;
}

void SetPerPixelAlpha(bool supported) {
  if (HeadlessBackend* b = Headless()) b->perPixelAlpha = supported;
}

}  // namespace headless

}  // namespace platform
