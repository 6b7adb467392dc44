#pragma once
// Shared pieces of the program-window tests: the headless window system,
// and a driver window that runs scripted steps from inside a modal loop (a
// step is posted before the loop starts and runs when the loop fetches it).

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "platform/window/Headless.h"
#include "platform/window/Window.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/Manager.h"

namespace ui_test {

using namespace DUI;

class Driver : public MDialog {
 public:
  static constexpr UINT kRunStep = WM_USER + 500;

  HWND Open() {
    HWND hwnd = Create(nullptr, L"driver", WS_POPUP, 0, CRect(200, 200, 1000, 800));
    ShowWindow(SW_SHOW);
    platform::SetActiveWindow(hwnd);
    return hwnd;
  }
  // Runs step when the thread's loop next fetches messages.
  void Post(std::function<void()> step) {
    m_step = std::move(step);
    PostMessageW(kRunStep, 0, 0);
  }
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == kRunStep && m_step) {
      auto step = std::move(m_step);
      m_step = nullptr;
      step();
      return 1;
    }
    return MDialog::OnWindowMessage(msg, wParam, lParam);
  }

 private:
  std::function<void()> m_step;
};

class UiTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(platform::InitWindowSystem(platform::WindowBackend::Headless));
    Manager::SetPaintPause(0);
  }
  void SetUp() override { platform::headless::InjectPointerExit(); }

  static void Pump() { platform::PumpPendingMessages(); }
};

}  // namespace ui_test
