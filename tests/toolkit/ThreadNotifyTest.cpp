// Notifications sent from another thread (a multimedia timer step) reach
// the dialog on the window thread, in order, and never for a control that
// was destroyed before delivery.

#include <thread>

#include "ToolkitFixture.h"
#include "toolkit/core/PaintManager.h"

namespace toolkit_test {
namespace {

class ThreadNotifyTest : public ToolkitTest {};

// Records the thread each notification arrives on.
class ThreadRecordingDialog : public RecordingDialog {
 public:
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override {
    threads.push_back(std::this_thread::get_id());
    return RecordingDialog::OnMessage(id, code, wParam, lParam);
  }
  std::vector<std::thread::id> threads;
};

// Runs f on a thread of its own and waits for it.
template <typename F>
void OnOtherThread(F f) {
  std::thread t(f);
  t.join();
}

TEST_F(ThreadNotifyTest, NoticeFromAnotherThreadArrivesOnTheWindowThreadAtThePump) {
  ThreadRecordingDialog dlg;
  Open(dlg);
  Probe* p = dlg.AddProbe(7, CRect(0, 0, 50, 50));
  int queued = 0;
  OnOtherThread([&] { queued = p->PostNotify(CN_SCROLL, 321, 5); });
  EXPECT_EQ(queued, 1);
  // Nothing ran on the sending thread: the dialog hears of it only when the
  // window thread runs its messages.
  EXPECT_TRUE(dlg.notices.empty());
  EXPECT_EQ(dlg.GetPaintManager()->GetPendingNoticeCount(), 1);
  Pump(dlg);
  ASSERT_EQ(dlg.notices.size(), 1u);
  EXPECT_EQ(dlg.notices[0].id, 7u);
  EXPECT_EQ(dlg.notices[0].code, CN_SCROLL);
  EXPECT_EQ(dlg.notices[0].wParam, WPARAM(321));
  EXPECT_EQ(dlg.notices[0].lParam, LPARAM(5));
  EXPECT_EQ(dlg.threads[0], std::this_thread::get_id());
  EXPECT_EQ(dlg.GetPaintManager()->GetPendingNoticeCount(), 0);
}

TEST_F(ThreadNotifyTest, WindowThreadNoticeFollowsTheQueuedOnes) {
  ThreadRecordingDialog dlg;
  Open(dlg);
  Probe* p = dlg.AddProbe(7, CRect(0, 0, 50, 50));
  OnOtherThread([&] {
    p->PostNotify(CN_SCROLL, 10, 0);
    p->PostNotify(CN_SCROLL, 11, 0);
  });
  // A release on the window thread before the pump: its click must not
  // overtake the drag steps queued before it.
  p->PostNotify(CN_CLICK, 0, 0);
  ASSERT_EQ(dlg.notices.size(), 3u);
  EXPECT_EQ(dlg.notices[0].wParam, WPARAM(10));
  EXPECT_EQ(dlg.notices[1].wParam, WPARAM(11));
  EXPECT_EQ(dlg.notices[2].code, CN_CLICK);
  Pump(dlg);  // the wake-ups find the queue drained
  EXPECT_EQ(dlg.notices.size(), 3u);
}

TEST_F(ThreadNotifyTest, NoticeOfADestroyedControlIsDropped) {
  ThreadRecordingDialog dlg;
  Open(dlg);
  Probe* doomed = dlg.AddProbe(7, CRect(0, 0, 50, 50));
  Probe* kept = dlg.AddProbe(8, CRect(60, 0, 110, 50));
  OnOtherThread([&] {
    doomed->PostNotify(CN_SCROLL, 1, 0);
    kept->PostNotify(CN_SCROLL, 2, 0);
    doomed->PostNotify(CN_CLICK, 0, 0);
  });
  dlg.GetPaintManager()->RemoveControl(doomed);
  Pump(dlg);
  ASSERT_EQ(dlg.notices.size(), 1u);
  EXPECT_EQ(dlg.notices[0].id, 8u);
  EXPECT_EQ(dlg.notices[0].wParam, WPARAM(2));
}

// A child is destroyed with the control that owns it; its notice goes too.
// (It reports straight to the dialog, so a notice that survived would show.)
TEST_F(ThreadNotifyTest, NoticeOfAChildDestroyedWithItsOwnerIsDropped) {
  ThreadRecordingDialog dlg;
  Open(dlg);
  Probe* outer = dlg.AddProbe(7, CRect(0, 0, 100, 100));
  auto* inner = new Probe(&dlg, 9, CRect(10, 10, 40, 40));
  outer->AddChild(inner, 1);
  inner->SetManager(dlg.GetPaintManager());
  OnOtherThread([&] { inner->PostNotify(CN_SCROLL, 3, 0); });
  dlg.GetPaintManager()->RemoveControl(outer);
  Pump(dlg);
  EXPECT_TRUE(dlg.notices.empty());
}

}  // namespace
}  // namespace toolkit_test
