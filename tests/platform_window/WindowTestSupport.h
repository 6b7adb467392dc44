#pragma once
// A headless window system per test and a window procedure that records
// every message it receives.

#include <gtest/gtest.h>

#include <vector>

#include "platform/window/Headless.h"
#include "platform/window/Window.h"

namespace wintest {

struct Received {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// The recorder is the window's creation parameter and user data.
struct Recorder {
  std::vector<Received> log;
  LRESULT (*hook)(Recorder&, HWND, UINT, WPARAM, LPARAM) = nullptr;
  std::vector<HWND> windows;

  Recorder() = default;
  Recorder(const Recorder&) = delete;
  // Windows may outlive the recorder (the fixture shuts down after the test
  // body): they stop recording then.
  ~Recorder() {
    for (HWND h : windows)
      if (platform::GetWindowUserData(h) == this) platform::SetWindowUserData(h, nullptr);
  }

  std::vector<UINT> Messages() const {
    std::vector<UINT> m;
    for (const Received& r : log) m.push_back(r.msg);
    return m;
  }
  // Received entries of one message, in order.
  std::vector<Received> Of(UINT msg) const {
    std::vector<Received> out;
    for (const Received& r : log)
      if (r.msg == msg) out.push_back(r);
    return out;
  }
  int Count(UINT msg) const { return int(Of(msg).size()); }
  void Clear() { log.clear(); }
};

inline LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
    platform::SetWindowUserData(hwnd, cs->lpCreateParams);
    if (cs->lpCreateParams) static_cast<Recorder*>(cs->lpCreateParams)->windows.push_back(hwnd);
  }
  auto* rec = static_cast<Recorder*>(platform::GetWindowUserData(hwnd));
  if (rec) {
    rec->log.push_back({msg, w, l});
    if (rec->hook) {
      LRESULT r = rec->hook(*rec, hwnd, msg, w, l);
      if (r) return r;
    }
  }
  return platform::DefWindowProc(hwnd, msg, w, l);
}

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(platform::InitWindowSystem(platform::WindowBackend::Headless)); }
  void TearDown() override { platform::ShutdownWindowSystem(); }

  HWND Make(Recorder& rec, RECT rect = {100, 100, 400, 300}, DWORD style = WS_VISIBLE, DWORD exStyle = 0,
            HWND owner = nullptr) {
    platform::WindowDesc d;
    d.proc = RecordingProc;
    d.createParam = &rec;
    d.rect = rect;
    d.style = style;
    d.exStyle = exStyle;
    d.owner = owner;
    d.title = L"test";
    HWND h = platform::CreateWindowEx(d);
    platform::PumpPendingMessages();
    return h;
  }
};

}  // namespace wintest
