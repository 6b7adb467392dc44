// Message queue: ordering, the toolkit's numeric values passing through,
// sending, cross-thread posting and sending, quitting, destroying.

#include <atomic>
#include <thread>

#include "WindowTestSupport.h"

using namespace platform;
using wintest::Recorder;

namespace {

class MessageQueueTest : public wintest::HeadlessTest {};

TEST_F(MessageQueueTest, PostedMessagesArriveInOrderWithValuesUnchanged) {
  Recorder rec;
  HWND h = Make(rec);
  rec.Clear();
  // The private values of the toolkit and the program, and WM_USER + n.
  const struct {
    UINT msg;
    WPARAM w;
    LPARAM l;
  } cases[] = {
      {1090, IDOK, 0}, {1690, 3, 0x12345678}, {1691, 0, 610}, {1705, 0xFFFFFFFF, -1},
      {2022, 7, 8},    {WM_USER + 66, 2, 0},  {WM_CLOSE + 0x2000, 1, 2},
  };
  for (const auto& c : cases) ASSERT_TRUE(PostMessage(h, c.msg, c.w, c.l));
  EXPECT_EQ(PumpPendingMessages(), int(std::size(cases)));
  ASSERT_EQ(rec.log.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(rec.log[i].msg, cases[i].msg) << i;
    EXPECT_EQ(rec.log[i].wParam, cases[i].w) << i;
    EXPECT_EQ(rec.log[i].lParam, cases[i].l) << i;
  }
}

TEST_F(MessageQueueTest, PostedBeforeQuitBeforePaintBeforeTimer) {
  Recorder rec;
  HWND h = Make(rec);
  rec.Clear();
  ASSERT_TRUE(SetTimer(h, 5, 10));
  headless::AdvanceTime(10);
  InvalidateRect(h, nullptr);
  PostQuitMessage(3);
  PostMessage(h, WM_USER + 1, 0, 0);
  MSG m;
  std::vector<UINT> order;
  for (int i = 0; i < 4 && PeekMessage(&m); ++i) {
    order.push_back(m.message);
    if (m.message == WM_QUIT) {
      EXPECT_EQ(m.wParam, 3u);
      continue;
    }
    if (m.message == WM_PAINT) BeginPaint(h);
    DispatchMessage(&m);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_QUIT, WM_PAINT, WM_TIMER}));
  EXPECT_FALSE(PeekMessage(&m));
}

TEST_F(MessageQueueTest, GetMessageReturnsFalseOnQuit) {
  PostQuitMessage(9);
  MSG m;
  EXPECT_FALSE(GetMessage(&m));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 9u);
}

TEST_F(MessageQueueTest, SendOnWindowThreadRunsAtOnceAheadOfPosted) {
  Recorder rec;
  rec.hook = [](Recorder&, HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT {
    return msg == WM_USER + 7 ? LRESULT(w * 2) : 0;
  };
  HWND h = Make(rec);
  rec.Clear();
  PostMessage(h, WM_USER + 1, 0, 0);
  EXPECT_EQ(SendMessage(h, WM_USER + 7, 21, 0), 42);
  ASSERT_EQ(rec.log.size(), 1u);  // the posted one waits for the loop
  EXPECT_EQ(rec.log[0].msg, WM_USER + 7u);
}

TEST_F(MessageQueueTest, PostFromAnotherThreadWakesBlockedLoop) {
  Recorder rec;
  HWND h = Make(rec);
  rec.Clear();
  std::thread poster([h] {
    for (int i = 0; i < 100; ++i) PostMessage(h, WM_USER + 2, WPARAM(i), 0);
    PostMessage(h, WM_USER + 3, 0, 0);
  });
  MSG m;
  while (GetMessage(&m)) {
    DispatchMessage(&m);
    if (m.message == WM_USER + 3) break;
  }
  poster.join();
  auto got = rec.Of(WM_USER + 2);
  ASSERT_EQ(got.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(got[size_t(i)].wParam, WPARAM(i));
}

TEST_F(MessageQueueTest, RedrawRequestFromTimerThreadWakesLoopWithPaint) {
  // The multimedia timer thread only invalidates; the window thread must wake
  // up and paint exactly the requested area.
  Recorder rec;
  HWND h = Make(rec, RECT{0, 0, 200, 100});
  rec.Clear();
  std::thread timerThread([h] {
    RECT r{10, 20, 30, 40};
    InvalidateRect(h, &r);
  });
  MSG m;
  ASSERT_TRUE(GetMessage(&m));
  timerThread.join();
  EXPECT_EQ(m.message, WM_PAINT);
  EXPECT_EQ(m.hwnd, h);
  RECT area = BeginPaint(h);
  EXPECT_EQ(area.left, 10);
  EXPECT_EQ(area.top, 20);
  EXPECT_EQ(area.right, 30);
  EXPECT_EQ(area.bottom, 40);
}

TEST_F(MessageQueueTest, SendFromAnotherThreadRunsOnWindowThread) {
  static std::thread::id seenOn;
  Recorder rec;
  rec.hook = [](Recorder&, HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT {
    if (msg != WM_USER + 9) return 0;
    seenOn = std::this_thread::get_id();
    return LRESULT(w + 1);
  };
  HWND h = Make(rec);
  std::atomic<LRESULT> result{0};
  std::thread sender([&] {
    result = SendMessage(h, WM_USER + 9, 41, 0);
    PostMessage(h, WM_USER + 10, 0, 0);
  });
  MSG m;
  while (GetMessage(&m)) {
    DispatchMessage(&m);
    if (m.message == WM_USER + 10) break;
  }
  sender.join();
  EXPECT_EQ(result.load(), 42);
  EXPECT_EQ(seenOn, std::this_thread::get_id());
}

TEST_F(MessageQueueTest, WindowsOnTwoThreadsSendToEachOtherWithoutDeadlock) {
  // The worker owns a window and sends to ours while we send to it.
  Recorder mine;
  mine.hook = [](Recorder&, HWND, UINT msg, WPARAM, LPARAM) -> LRESULT { return msg == WM_USER ? 5 : 0; };
  HWND main = Make(mine);
  std::atomic<HWND> other{nullptr};
  std::atomic<LRESULT> workerGot{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    Recorder theirs;
    theirs.hook = [](Recorder&, HWND, UINT msg, WPARAM, LPARAM) -> LRESULT { return msg == WM_USER ? 6 : 0; };
    WindowDesc d;
    d.proc = wintest::RecordingProc;
    d.createParam = &theirs;
    d.rect = RECT{0, 0, 10, 10};
    other = CreateWindowEx(d);
    workerGot = SendMessage(main, WM_USER, 0, 0);
    MSG m;
    while (!done && GetMessage(&m)) DispatchMessage(&m);
    DestroyWindow(other);
  });
  while (!other) std::this_thread::yield();
  EXPECT_EQ(SendMessage(other, WM_USER, 0, 0), 6);
  MSG m;
  while (workerGot == 0 && PeekMessage(&m)) DispatchMessage(&m);
  // Our own send above ran the worker's incoming send while waiting, or the
  // loop below does.
  while (workerGot == 0) {
    if (PeekMessage(&m)) DispatchMessage(&m);
    std::this_thread::yield();
  }
  EXPECT_EQ(workerGot.load(), 5);
  done = true;
  PostMessage(other, WM_NULL, 0, 0);
  worker.join();
}

TEST_F(MessageQueueTest, DestroySendsDestroyMessagesAndStaleHandlesFail) {
  Recorder owner, owned;
  HWND a = Make(owner);
  HWND b = Make(owned, RECT{0, 0, 50, 50}, WS_VISIBLE | WS_POPUP, WS_EX_TOOLWINDOW, a);
  owner.Clear();
  owned.Clear();
  PostMessage(a, WM_USER + 1, 0, 0);
  ASSERT_TRUE(DestroyWindow(a));
  // Owned windows go first; each gets WM_DESTROY then WM_NCDESTROY last.
  EXPECT_FALSE(IsWindow(a));
  EXPECT_FALSE(IsWindow(b));
  ASSERT_GE(owned.log.size(), 2u);
  EXPECT_EQ(owned.log.back().msg, WM_NCDESTROY);
  ASSERT_GE(owner.log.size(), 2u);
  EXPECT_EQ(owner.log.back().msg, WM_NCDESTROY);
  EXPECT_EQ(owner.log[owner.log.size() - 2].msg, WM_DESTROY);
  // The message posted before destruction is dropped, and the stale handle
  // is refused everywhere.
  owner.Clear();
  PumpPendingMessages();
  EXPECT_TRUE(owner.log.empty());
  EXPECT_FALSE(PostMessage(a, WM_USER, 0, 0));
  EXPECT_EQ(SendMessage(a, WM_USER, 0, 0), 0);
  EXPECT_FALSE(SetTimer(a, 1, 10));
  // A new window never gets an old handle back.
  Recorder again;
  HWND c = Make(again);
  EXPECT_NE(c, a);
  EXPECT_NE(c, b);
}

TEST_F(MessageQueueTest, CloseThroughDefaultProcedureDestroys) {
  Recorder rec;
  HWND h = Make(rec);
  headless::InjectCloseRequest(h);
  PumpPendingMessages();
  EXPECT_FALSE(IsWindow(h));
  auto closes = rec.Of(WM_CLOSE);
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0].wParam, 0u);  // closed by the system: result 0 for a modal loop
}

TEST_F(MessageQueueTest, CreationSequenceAndFailedCreate) {
  Recorder rec;
  HWND h = Make(rec, RECT{10, 20, 110, 70}, 0);
  ASSERT_TRUE(h);
  auto msgs = rec.Messages();
  ASSERT_GE(msgs.size(), 4u);
  EXPECT_EQ((std::vector<UINT>(msgs.begin(), msgs.begin() + 4)),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
  EXPECT_EQ(rec.log[2].lParam, MAKELPARAM(100, 50));
  EXPECT_EQ(rec.log[3].lParam, MAKELPARAM(10, 20));
  EXPECT_FALSE(IsWindowVisible(h));

  Recorder refuses;
  refuses.hook = [](Recorder&, HWND, UINT msg, WPARAM, LPARAM) -> LRESULT { return msg == WM_CREATE ? -1 : 0; };
  EXPECT_EQ(Make(refuses), nullptr);
  EXPECT_EQ(refuses.log.back().msg, WM_NCDESTROY);
}

}  // namespace
