#pragma once
// Shared pieces of the toolkit tests: the headless window system, a dialog
// that records its notifications and window messages, a probe control that
// records what reaches it, and a pump that runs messages the way the modal
// loop does (PreTranslateMessage first).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/window/Headless.h"
#include "platform/window/Window.h"
#include "toolkit/core/MControlFont.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/Manager.h"

namespace toolkit_test {

using namespace DUI;

struct Notice {
  UINT id, code;
  WPARAM wParam;
  LPARAM lParam;
};

// A control that paints its rect in one colour through its cache and
// records the input that reaches it. What its hooks answer is settable.
class Probe : public MControlFont {
 public:
  Probe(MObject* parent, UINT id, CRect rect, ARGB colour = 0xFF208040, int mouseResponse = 1)
      : MControlFont(parent, id, rect, nullptr, 1, 1, mouseResponse), colour_(colour) {}

  void DrawControl(HDC& dc, CRect) override {
    const int w = m_rect.Width(), h = m_rect.Height();
    if (!m_update) {
      UpdateMemDC(dc, w, h);
      MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
      if (rawPixels) m_cacheDC->Bitmap().FillRaw(CRect(0, 0, w, h), colour_);
      else if (overBlend) MRender::DrawColor(m_cacheDC, CRect(0, 0, w, h), Color(colour_));
      else MRender::FillRectRaw(m_cacheDC, CRect(0, 0, w, h), Color(colour_));
      ++renders;
    }
    MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
    ++draws;
  }
  // Like the real controls, a disabled probe ignores the mouse.
  int OnControlMouseMove(UINT, CPoint pt) override {
    moves.push_back(pt);
    return m_enabled ? 1 : 0;
  }
  int OnControlLButtonDown(UINT, CPoint pt) override {
    downs.push_back(pt);
    SendMessageW(CN_PRESS, 0, 0);
    return handleDown;
  }
  int OnControlLButtonUp(UINT, CPoint pt) override {
    ups.push_back(pt);
    if (m_rect.PtInRect(pt)) SendMessageW(CN_CLICK, 0, 0);
    return 1;
  }
  int OnControlRButtonDown(UINT, CPoint pt) override {
    rdowns.push_back(pt);
    return 1;
  }
  int OnControlScroll(int kind, UINT down, CPoint) override {
    scrolls.push_back(kind == 1 ? int(down) : -1);
    return handleScroll;
  }
  int OnControlKeyDown(UINT vk, UINT, UINT modifiers) override {
    keys.push_back({vk, modifiers});
    return handleKey;
  }
  int SetControlFocus(int focus) override {
    focusCalls.push_back(focus);
    MControl::SetControlFocus(focus);
    return 0;
  }
  int OnControlTimer() override {
    ++timerTicks;
    return 1;
  }

  ARGB colour_;
  bool overBlend = false;  // paint over the copied background instead of replacing it
  bool rawPixels = false;  // write colour_ as a pixel value, as GDI fills did (alpha 0)
  int handleDown = 1;
  int handleScroll = 1;
  int handleKey = 0;
  int renders = 0;
  int draws = 0;
  std::vector<CPoint> moves, downs, ups, rdowns;
  std::vector<int> scrolls, focusCalls;
  std::vector<std::pair<UINT, UINT>> keys;
  std::atomic<int> timerTicks{0};
};

// A dialog that records notifications and selected window messages.
class RecordingDialog : public MDialog {
 public:
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override {
    notices.push_back({id, code, wParam, lParam});
    return 0;
  }
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_NCLBUTTONDOWN) ++captionPresses;
    return MDialog::OnWindowMessage(msg, wParam, lParam);
  }
  // Adds a probe as a top-level control.
  Probe* AddProbe(UINT id, CRect rect, ARGB colour = 0xFF208040, int mouseResponse = 1) {
    auto* p = new Probe(this, id, rect, colour, mouseResponse);
    m_manager.AttachControl(p, 1);
    return p;
  }

  std::vector<Notice> notices;
  int captionPresses = 0;
};

// Starts the headless backend once for the test program; each test creates
// its windows and destroys them.
class ToolkitTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(platform::InitWindowSystem(platform::WindowBackend::Headless));
    Manager::SetPaintPause(0);
  }
  void SetUp() override { platform::headless::InjectPointerExit(); }

  // Creates and shows a dialog of the given client size at (100, 100).
  HWND Open(RecordingDialog& dlg, int w = 400, int h = 300) {
    HWND hwnd = dlg.Create(nullptr, L"test", WS_POPUP, 0, CRect(100, 100, 100 + w, 100 + h));
    EXPECT_NE(hwnd, nullptr);
    dlg.ShowWindow(SW_SHOW);
    platform::SetActiveWindow(hwnd);
    Pump(dlg);
    return hwnd;
  }

  // Runs every ready message as the modal loop would.
  static void Pump(MWindow& wnd) {
    MSG msg;
    while (platform::PeekMessage(&msg)) {
      if (msg.message == WM_QUIT) break;
      if (!wnd.PreTranslateMessage(&msg)) {
        platform::TranslateMessage(&msg);
        platform::DispatchMessage(&msg);
      }
    }
  }

  static void Move(RecordingDialog& dlg, int x, int y) {
    platform::headless::InjectMouseMove(dlg.GetSafeHwnd(), x, y);
    Pump(dlg);
  }
  // Each press comes well after the last one, so that it is never taken for
  // the second half of a double click.
  static void Button(RecordingDialog& dlg, bool down, int x, int y) {
    if (down) platform::headless::AdvanceTime(1000);
    platform::headless::InjectButton(dlg.GetSafeHwnd(), platform::headless::Button::Left, down, x, y);
    Pump(dlg);
  }
  static void Key(RecordingDialog& dlg, UINT vk, bool down) {
    platform::headless::InjectKey(vk, down);
    Pump(dlg);
  }
};

}  // namespace toolkit_test
