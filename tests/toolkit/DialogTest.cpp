// Windows and dialogs: modal results, the control factory, window timers,
// the multimedia timer, centring and size limits.

#include <chrono>
#include <thread>
#include <vector>

#include "ToolkitFixture.h"
#include "toolkit/core/MPanel.h"
#include "platform/Text.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"

namespace toolkit_test {
namespace {

class DialogTest : public ToolkitTest {};

TEST_F(DialogTest, ModalResultIsTheCloseReason) {
  struct Case {
    const char* name;
    void (*close)(RecordingDialog&);
    UINT result;
  } cases[] = {
      {"DoOK", [](RecordingDialog& d) { d.DoOK(); }, 1},
      {"DoCancel", [](RecordingDialog& d) { d.DoCancel(); }, 2},
      {"DoClose", [](RecordingDialog& d) { d.DoClose(); }, 2},
      {"DoYes", [](RecordingDialog& d) { d.DoYes(); }, 6},
      {"DoNo", [](RecordingDialog& d) { d.DoNo(); }, 7},
      {"closed by the system",
       [](RecordingDialog& d) { platform::headless::InjectCloseRequest(d.GetSafeHwnd()); }, 0},
  };
  for (const Case& k : cases) {
    RecordingDialog dlg;
    ASSERT_NE(dlg.Create(nullptr, L"modal", WS_POPUP, 0, CRect(0, 0, 200, 100)), nullptr);
    k.close(dlg);
    EXPECT_EQ(dlg.ShowModal(SW_SHOW), k.result) << k.name;
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr) << k.name;
  }
}

TEST_F(DialogTest, ModalWithoutAWindowReturnsMinusOne) {
  RecordingDialog dlg;
  EXPECT_EQ(dlg.ShowModal(SW_SHOW), UINT(-1));
}

TEST_F(DialogTest, ModalDisablesTheOwnerAndEnablesItAgain) {
  RecordingDialog owner;
  Open(owner);
  RecordingDialog dlg;
  ASSERT_NE(dlg.Create(owner.GetSafeHwnd(), L"child", WS_POPUP, 0, CRect(0, 0, 200, 100)), nullptr);
  // The owner is disabled while the loop runs: check from inside it.
  bool disabledInside = false;
  class Closer : public MControlFont {
   public:
    Closer(MDialog* d, HWND owner, bool* seen)
        : MControlFont(d, 1, CRect(), nullptr, 1, 1, 1), dlg_(d), owner_(owner), seen_(seen) {}
    void DrawControl(HDC&, CRect) override {}
    int OnControlTimer() override {
      *seen_ = !platform::IsWindowEnabled(owner_);
      dlg_->DoOK();
      return 1;
    }
    MDialog* dlg_;
    HWND owner_;
    bool* seen_;
  };
  auto* closer = new Closer(&dlg, owner.GetSafeHwnd(), &disabledInside);
  dlg.GetPaintManager()->AttachControl(closer, 1);
  ASSERT_EQ(dlg.GetPaintManager()->SetTimer(closer, 1, 10), 1);
  platform::headless::AdvanceTime(20);
  EXPECT_EQ(dlg.ShowModal(SW_SHOW), 1u);
  EXPECT_TRUE(disabledInside);
  EXPECT_TRUE(platform::IsWindowEnabled(owner.GetSafeHwnd()));
}

TEST_F(DialogTest, FactoryBuildsKnownClassesAndReturnsNullForOthers) {
  RecordingDialog dlg;
  Open(dlg);
  MControl* text = dlg.CreateControl(L"MText", 5, CRect(0, 0, 50, 20), L"Hi", 1, 1);
  MControl* picture = dlg.CreateArea(L"MPicture", 6, CRect(0, 0, 50, 20), nullptr, 1, 1);
  ASSERT_NE(text, nullptr);
  ASSERT_NE(picture, nullptr);
  EXPECT_NE(dynamic_cast<MText*>(text), nullptr);
  EXPECT_NE(dynamic_cast<MPicture*>(picture), nullptr);
  EXPECT_EQ(text->GetManager(), dlg.GetPaintManager());
  EXPECT_EQ(text->GetParantObject(), static_cast<MObject*>(&dlg));
  EXPECT_EQ(dlg.GetControls()->size(), 1u);
  EXPECT_EQ(dlg.GetControl(6), picture);
  // Case matters; names of panels' classes and unknown names give null.
  for (const wchar_t* name : {L"mtext", L"DPIControl", L"NoSuchControl", L""}) {
    EXPECT_EQ(dlg.CreateControl(name, 9, CRect(), nullptr, 1, 1), nullptr);
  }
  EXPECT_EQ(dlg.GetControls()->size(), 1u);
  EXPECT_EQ(dlg.GetControl(9), nullptr);
}

// The factories only build names they accept, and build them through the
// class registry: a class registered later (as the device controls and the
// program do) replaces what the factories build for its name, and is never
// built by a factory that does not accept that name.
namespace {
class StandIn : public MText {
 public:
  using MText::MText;
};
MControl* MakeStandIn(MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) {
  return new StandIn(p, id, r, t, v, e);
}
}  // namespace

TEST_F(DialogTest, FactoryLooksRegisteredClassesUp) {
  RecordingDialog dlg;
  Open(dlg);
  const ControlConstructor original = FindControlClass(L"CPhotoFrame");
  const ControlConstructor originalNumber = FindControlClass(L"NumberEdit");
  ASSERT_NE(original, nullptr);
  ASSERT_TRUE(RegisterControlClass(L"CPhotoFrame", MakeStandIn));
  ASSERT_TRUE(RegisterControlClass(L"NumberEdit", MakeStandIn));
  MControl* built = dlg.CreateControl(L"CPhotoFrame", 7, CRect(0, 0, 10, 10), nullptr, 1, 1);
  EXPECT_NE(dynamic_cast<StandIn*>(built), nullptr);
  // NumberEdit is a panel factory name: the dialog factory refuses it.
  EXPECT_EQ(dlg.CreateControl(L"NumberEdit", 8, CRect(0, 0, 10, 10), nullptr, 1, 1), nullptr);
  RegisterControlClass(L"CPhotoFrame", original);
  if (originalNumber != nullptr) RegisterControlClass(L"NumberEdit", originalNumber);
  EXPECT_EQ(dynamic_cast<StandIn*>(dlg.CreateControl(L"CPhotoFrame", 9, CRect(0, 0, 10, 10), nullptr, 1, 1)),
            nullptr);
  EXPECT_TRUE(FactoryAccepts(FactoryKind::Panel, L"NumberEdit"));
  EXPECT_FALSE(FactoryAccepts(FactoryKind::Panel, L"BatteryCtrl"));
  EXPECT_TRUE(FactoryAccepts(FactoryKind::Dialog, L"BatteryCtrl"));
  EXPECT_FALSE(FactoryAccepts(FactoryKind::Dialog, L"NoSuchControl"));
  EXPECT_EQ(FindControlClass(L"NoSuchControl"), nullptr);
}

// No name either factory accepts is left without a class: each builds a
// control in the factory of its kind, attached to the dialog or the panel.
TEST_F(DialogTest, EveryAcceptedNameIsBuiltByItsFactory) {
  RecordingDialog dlg;
  Open(dlg);
  auto* panel = static_cast<MPanel*>(dlg.CreateControl(L"MTabLayout", 50, CRect(0, 0, 300, 200), nullptr, 1, 1));
  ASSERT_NE(panel, nullptr);
  UINT id = 100;
  for (FactoryKind kind : {FactoryKind::Dialog, FactoryKind::Panel}) {
    const std::vector<const wchar_t*> names = FactoryNames(kind);
    EXPECT_EQ(names.size(), kind == FactoryKind::Dialog ? 43u : 55u);
    for (const wchar_t* name : names) {
      SCOPED_TRACE(platform::ToUtf8(name));
      MControl* built = kind == FactoryKind::Dialog
                            ? dlg.CreateControl(name, id, CRect(0, 0, 40, 20), nullptr, 1, 1)
                            : panel->CreateControl(name, id, CRect(0, 0, 40, 20), nullptr, 1, 1);
      ASSERT_NE(built, nullptr);
      EXPECT_EQ(built->GetControlID(), id);
      EXPECT_EQ(built->GetManager(), dlg.GetPaintManager());
      ++id;
    }
  }
}

TEST_F(DialogTest, ClassNames) {
  RecordingDialog dlg;
  Open(dlg);
  MControl* text = dlg.CreateControl(L"MText", 5, CRect(0, 0, 50, 20), L"Hi", 1, 1);
  EXPECT_EQ(text->IsClass(L"MControl"), 1);
  EXPECT_EQ(text->IsClass(L"mcontrol"), 0);
  EXPECT_EQ(text->IsClass(L"RadioButton"), 0);
  EXPECT_EQ(dlg.IsClass(L"MDialog"), 1);
  MObject plain;
  EXPECT_EQ(plain.GetClassNameW(), nullptr);
  EXPECT_EQ(plain.IsClass(L"MControl"), 0);
}

TEST_F(DialogTest, WindowTimerIdsStartAt17SkipTheManagersAndWrapAt240) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* p = dlg.AddProbe(3, CRect(0, 0, 10, 10));
  PaintManager* pm = dlg.GetPaintManager();
  std::vector<UINT> ids;
  for (UINT key = 0; key < 230; ++key) {
    ASSERT_EQ(pm->SetTimer(p, key, 1000), 1);
    ids.push_back(pm->GetTimerSystemId(p, key));
  }
  EXPECT_EQ(ids[0], 17u);  // (4096 + 1) % 240
  EXPECT_EQ(ids[1], 18u);
  EXPECT_EQ(ids[48], 65u);
  EXPECT_EQ(ids[49], 67u);  // 66 is the manager's own
  // 17..239 less 66, 88, 99 is 220 ids; then the count wraps to 0.
  EXPECT_EQ(ids[219], 239u);
  EXPECT_EQ(ids[220], 0u);
  EXPECT_EQ(ids[229], 9u);
  for (UINT id : ids) EXPECT_TRUE(id != 66 && id != 88 && id != 99 && id < 240);

  // A live timer is not started twice; a killed one comes back with its id.
  EXPECT_EQ(pm->SetTimer(p, 5, 1000), 0);
  EXPECT_EQ(pm->KillTimer(p, 5), 1);
  EXPECT_EQ(pm->SetTimer(p, 5, 1000), 1);
  EXPECT_EQ(pm->GetTimerSystemId(p, 5), ids[5]);
  EXPECT_EQ(pm->KillTimer(p, 999), 0);
}

TEST_F(DialogTest, WindowTimerTicksReachTheControlUntilKilled) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* p = dlg.AddProbe(3, CRect(0, 0, 10, 10));
  PaintManager* pm = dlg.GetPaintManager();
  ASSERT_EQ(pm->SetTimer(p, 1, 100), 1);
  platform::headless::AdvanceTime(100);
  Pump(dlg);
  EXPECT_EQ(p->timerTicks.load(), 1);
  pm->KillTimer(p, 1);
  platform::headless::AdvanceTime(500);
  Pump(dlg);
  EXPECT_EQ(p->timerTicks.load(), 1);
}

TEST_F(DialogTest, DestroyingAControlForgetsItsTimersFocusAndHover) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* p = dlg.AddProbe(3, CRect(0, 0, 100, 100));
  PaintManager* pm = dlg.GetPaintManager();
  Move(dlg, 10, 10);
  dlg.SetFocusControl(p);
  pm->SetTimer(p, 1, 100);
  pm->AddMTimer(p);
  ASSERT_EQ(pm->GetHoverControl(), p);
  pm->RemoveControl(p);
  EXPECT_EQ(pm->GetHoverControl(), nullptr);
  EXPECT_EQ(pm->GetFocusControl(), nullptr);
  EXPECT_EQ(pm->DeleteTimer(p), 0);
  platform::headless::AdvanceTime(200);
  Pump(dlg);  // the dead control's timer must not fire
}

TEST_F(DialogTest, MultimediaTimerTicksRegisteredVisibleControls) {
  RecordingDialog dlg;
  Open(dlg);
  Probe* running = dlg.AddProbe(3, CRect(0, 0, 10, 10));
  Probe* idle = dlg.AddProbe(4, CRect(0, 0, 10, 10));
  Probe* hidden = dlg.AddProbe(5, CRect(0, 0, 10, 10));
  for (Probe* p : {running, idle, hidden}) p->AddMTimer();
  running->SetRunTimer(1);
  hidden->SetRunTimer(1);
  hidden->SetVisible(0);
  ASSERT_NE(dlg.SetMTimer(10), 0u);
  // Waits for ticks on the timer thread; the figure asserted is a count,
  // not a time.
  for (int i = 0; i < 400 && running->timerTicks.load() < 3; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  dlg.GetPaintManager()->KillMTimer();
  EXPECT_GE(running->timerTicks.load(), 3);
  EXPECT_EQ(idle->timerTicks.load(), 0);
  EXPECT_EQ(hidden->timerTicks.load(), 0);
}

TEST_F(DialogTest, CenterWindowCentresInTheWorkAreaAndKeepsInside) {
  platform::MonitorInfo mon;
  mon.bounds = RECT{0, 0, 1920, 1080};
  mon.workArea = RECT{0, 0, 1920, 1040};
  mon.primary = true;
  platform::headless::SetMonitors({mon});
  RecordingDialog dlg;
  ASSERT_NE(dlg.Create(nullptr, L"c", WS_POPUP, 0, CRect(5, 5, 405, 305)), nullptr);
  dlg.CenterWindow(nullptr);
  EXPECT_EQ(dlg.GetWindowRect(), CRect(760, 370, 1160, 670));

  RecordingDialog big;
  ASSERT_NE(big.Create(nullptr, L"b", WS_POPUP, 0, CRect(0, 0, 2000, 1200)), nullptr);
  big.CenterWindow(nullptr);
  EXPECT_EQ(big.GetWindowRect().TopLeft(), CPoint(0, 0));  // left and top win
}

TEST_F(DialogTest, MaximisedSizeIsTheWorkAreaAndLimitsApply) {
  platform::MonitorInfo mon;
  mon.bounds = RECT{0, 0, 1920, 1080};
  mon.workArea = RECT{0, 0, 1920, 1040};
  mon.primary = true;
  platform::headless::SetMonitors({mon});
  RecordingDialog dlg;
  Open(dlg);
  PaintManager* pm = dlg.GetPaintManager();
  pm->SetWindowMixSize(300, 200);
  pm->SetWindowMaxSize(1000, 0);
  MINMAXINFO info{};
  pm->OnGetMinMaxInfo(&info);
  EXPECT_EQ(info.ptMinTrackSize.x, 300);
  EXPECT_EQ(info.ptMinTrackSize.y, 200);
  EXPECT_EQ(info.ptMaxTrackSize.x, 1000);
  EXPECT_EQ(info.ptMaxTrackSize.y, 0);
  EXPECT_EQ(info.ptMaxSize.x, 1920);
  EXPECT_EQ(info.ptMaxSize.y, 1040);
  EXPECT_EQ(info.ptMaxPosition.x, 0);
}

TEST_F(DialogTest, DialogHasNoSystemFrame) {
  RecordingDialog dlg;
  ASSERT_NE(dlg.Create(nullptr, L"s", WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0, CRect(0, 0, 100, 100)),
            nullptr);
  const DWORD style = dlg.GetStyle();
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0u);
  EXPECT_EQ(style & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS | 0x8), WS_CLIPCHILDREN | WS_CLIPSIBLINGS | 0x8);
}

}  // namespace
}  // namespace toolkit_test
