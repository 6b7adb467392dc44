// Window timers on the virtual clock, and the periodic (multimedia) timer.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "WindowTestSupport.h"
#include "platform/timer/PeriodicTimer.h"

using namespace platform;
using wintest::Recorder;

namespace {

class WindowTimerTest : public wintest::HeadlessTest {};

TEST_F(WindowTimerTest, FiresAtItsPeriodAndStopsWhenKilled) {
  Recorder rec;
  HWND h = Make(rec);
  rec.Clear();
  ASSERT_TRUE(SetTimer(h, 0, 100));  // id 0 is a valid id
  ASSERT_TRUE(SetTimer(h, 239, 250));
  headless::AdvanceTime(99);
  PumpPendingMessages();
  EXPECT_EQ(rec.Count(WM_TIMER), 0);
  std::vector<WPARAM> ids;
  for (int step = 0; step < 5; ++step) {
    headless::AdvanceTime(step == 0 ? 1 : 100);
    PumpPendingMessages();
  }
  for (const auto& r : rec.Of(WM_TIMER)) ids.push_back(r.wParam);
  // Timer 0 fires at 100, 200, 300, 400, 500; timer 239 at 300 (due at 250,
  // it was late) and next at 550. Due timers come earliest first.
  EXPECT_EQ(ids, (std::vector<WPARAM>{0, 0, 239, 0, 0, 0}));
  ASSERT_TRUE(KillTimer(h, 0));
  EXPECT_FALSE(KillTimer(h, 0));
  rec.Clear();
  headless::AdvanceTime(500);
  PumpPendingMessages();
  ASSERT_EQ(rec.Count(WM_TIMER), 1);  // a late timer fires once, not per missed period
  EXPECT_EQ(rec.Of(WM_TIMER)[0].wParam, 239u);
}

TEST_F(WindowTimerTest, AWindowInvalidatedFasterThanItPaintsDoesNotStarveTimers) {
  // An animation that invalidates its window from another thread more often
  // than the window can paint keeps the window always invalid. The timers
  // of its queue (a notice's hide timer) and the paints of its other windows
  // must still come.
  Recorder rec;
  HWND h = Make(rec);
  Recorder other;
  HWND quiet = Make(other, {500, 100, 700, 300});
  // Hooked once both are made: making a window pumps its queue.
  rec.hook = [](Recorder&, HWND hwnd, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg != WM_PAINT) return 0;
    BeginPaint(hwnd);
    EndPaint(hwnd);
    InvalidateRect(hwnd, nullptr);  // the next frame is already due
    return 1;
  };
  InvalidateRect(h, nullptr);
  ASSERT_TRUE(SetTimer(h, 1, 100));
  ASSERT_TRUE(SetTimer(quiet, 2, 100));
  headless::AdvanceTime(100);
  other.Clear();
  InvalidateRect(quiet, nullptr);
  std::vector<WPARAM> fired;
  int paints = 0;
  MSG m;
  for (int i = 0; i < 50 && PeekMessage(&m); ++i) {
    if (m.message == WM_TIMER) fired.push_back(m.wParam);
    if (m.message == WM_PAINT) ++paints;
    DispatchMessage(&m);
  }
  std::sort(fired.begin(), fired.end());
  EXPECT_EQ(fired, (std::vector<WPARAM>{1, 2}));
  EXPECT_GT(paints, 2);  // and the window goes on painting
  EXPECT_EQ(other.Count(WM_PAINT), 1);  // the other window paints in between
}

TEST_F(WindowTimerTest, SettingAnExistingIdRestartsIt) {
  Recorder rec;
  HWND h = Make(rec);
  rec.Clear();
  SetTimer(h, 7, 100);
  headless::AdvanceTime(90);
  SetTimer(h, 7, 100);
  headless::AdvanceTime(90);
  PumpPendingMessages();
  EXPECT_EQ(rec.Count(WM_TIMER), 0);
  headless::AdvanceTime(10);
  PumpPendingMessages();
  EXPECT_EQ(rec.Count(WM_TIMER), 1);
}

TEST_F(WindowTimerTest, DestroyedWindowsTimersEnd) {
  Recorder rec;
  HWND h = Make(rec);
  SetTimer(h, 1, 10);
  DestroyWindow(h);
  headless::AdvanceTime(100);
  MSG m;
  EXPECT_FALSE(PeekMessage(&m));
}

TEST_F(WindowTimerTest, RealTimeClockRunsTimersWithoutAdvancing) {
  Recorder rec;
  HWND h = Make(rec);
  headless::AdvanceTime(1000);
  const uint64_t before = GetTickCount64();
  headless::UseRealTime(true);
  EXPECT_GE(GetTickCount64(), before);  // the clock does not jump back
  SetTimer(h, 4, 1);
  MSG m;
  while (GetMessage(&m)) {
    DispatchMessage(&m);
    if (m.message == WM_TIMER) break;
  }
  EXPECT_EQ(m.wParam, 4u);
  headless::UseRealTime(false);
}

TEST(PeriodicTimer, TicksOnItsOwnThreadUntilStopped) {
  PeriodicTimer timer;
  std::mutex mutex;
  std::condition_variable cv;
  int ticks = 0;
  std::thread::id tickThread;
  ASSERT_TRUE(timer.Start(1, [&] {
    std::lock_guard lock(mutex);
    ++ticks;
    tickThread = std::this_thread::get_id();
    cv.notify_all();
  }));
  EXPECT_FALSE(timer.Start(1, [] {}));  // already running
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(10), [&] { return ticks >= 5; }));
    EXPECT_NE(tickThread, std::this_thread::get_id());
  }
  timer.Stop();
  EXPECT_FALSE(timer.IsRunning());
  int stoppedAt;
  {
    std::lock_guard lock(mutex);
    stoppedAt = ticks;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::lock_guard lock(mutex);
  EXPECT_EQ(ticks, stoppedAt);
}

TEST(PeriodicTimer, StopFromInsideTheTickDoesNotDeadlock) {
  PeriodicTimer timer;
  std::atomic<int> ticks{0};
  ASSERT_TRUE(timer.Start(1, [&] {
    if (++ticks == 3) timer.Stop();
  }));
  for (int i = 0; i < 10000 && timer.IsRunning(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_FALSE(timer.IsRunning());
  EXPECT_EQ(ticks.load(), 3);
  // And it starts again afterwards.
  std::atomic<int> again{0};
  ASSERT_TRUE(timer.Start(1, [&] { ++again; }));
  for (int i = 0; i < 10000 && again < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  timer.Stop();
  EXPECT_GE(again.load(), 2);
}

TEST(PeriodicTimer, RefusesZeroPeriod) {
  PeriodicTimer timer;
  EXPECT_FALSE(timer.Start(0, [] {}));
  EXPECT_FALSE(timer.IsRunning());
}

}  // namespace
