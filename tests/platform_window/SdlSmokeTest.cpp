// The SDL backend with a real (or SDL's dummy) video driver: a window opens,
// shows presented pixels, and the loop runs posted messages and timers.

#include <cstdlib>
#include <thread>

#include "WindowTestSupport.h"

using namespace platform;
using wintest::Recorder;

namespace {

TEST(SdlBackend, OpensWindowPresentsAndRunsLoop) {
  if (!std::getenv("SDL_VIDEODRIVER") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    GTEST_SKIP() << "no video: set SDL_VIDEODRIVER=dummy or run under Xvfb";
  if (!InitWindowSystem(WindowBackend::Sdl))
    GTEST_SKIP() << "SDL video could not start with driver "
                 << (std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "(default)");
  ASSERT_EQ(ActiveBackend(), WindowBackend::Sdl);
  EXPECT_FALSE(SupportsPerPixelAlpha());
  EXPECT_GE(GetMonitorCount(), 1);

  Recorder rec;
  WindowDesc d;
  d.proc = wintest::RecordingProc;
  d.createParam = &rec;
  d.rect = RECT{20, 20, 180, 120};
  d.style = WS_VISIBLE | WS_POPUP;
  d.title = L"smoke";
  HWND h = CreateWindowEx(d);
  ASSERT_TRUE(h);
  EXPECT_TRUE(IsWindowVisible(h));

  Bitmap back(160, 100);
  back.FillRaw(RECT{0, 0, 160, 100}, 0xFF2040C0);
  ASSERT_TRUE(PresentBitmap(h, back, RECT{0, 0, 160, 100}));
  Bitmap shown = CaptureWindow(h);
  ASSERT_FALSE(shown.IsEmpty());
  EXPECT_EQ(shown.PixelAt(80, 50), 0xFF2040C0u);

  // A post from another thread and a 10 ms window timer both reach the loop.
  std::thread poster([h] { PostMessage(h, WM_USER + 5, 0, 0); });
  SetTimer(h, 3, 10);
  MSG m;
  bool posted = false, timer = false;
  while (!(posted && timer) && GetMessage(&m)) {
    DispatchMessage(&m);
    posted |= m.message == WM_USER + 5;
    timer |= m.message == WM_TIMER && m.wParam == 3;
  }
  poster.join();
  EXPECT_TRUE(posted);
  EXPECT_TRUE(timer);
  EXPECT_TRUE(DestroyWindow(h));
  ShutdownWindowSystem();
}

}  // namespace
