// Unplugging and replugging the mouse while the window is open, on the
// simulated bus with its hot-plug events handed to the window: a write cut
// off by the unplug leaves the store as the user set it and reaches the
// mouse at the next connection; a replug without lost writes neither reads
// nor writes the settings again; the window shows the disconnection and
// tells the user about it once.

#include <memory>
#include <vector>

#include "MainWindowFixture.h"
#include "toolkit/controls/CDeviceState.h"

namespace ui_test {
namespace {

class ReplugTest : public MainWindowTest {
 protected:
  // The window with the bus's arrivals and removals handed to it, as the
  // program does, after its first connection.
  std::unique_ptr<DeviceMainDlg> OpenConnected() {
    OnlyFirstCableMouse(0x0130);
    auto dlg = OpenWindow();
    DeviceMainDlg* raw = dlg.get();
    bus_->SetChangeListener([raw](const platform::DeviceChangeEvent& e) { raw->PostDeviceChange(e); });
    raw->SetMessageBox([this](const wchar_t*, HWND, const wchar_t*, int) { return ++messages_, 1; });
    RunJobs(*dlg);
    EXPECT_TRUE(dlg->IsConnected());
    EXPECT_EQ(dlg->GetCurrentDeviceType(), cableType_);
    return dlg;
  }
  void TearDown() override {
    bus_->SetChangeListener(nullptr);
    MainWindowTest::TearDown();
  }
  static std::wstring StateText(DeviceMainDlg& dlg) {
    return std::wstring(dynamic_cast<DUI::CDeviceState*>(dlg.GetControl(DeviceMainDlg::kDeviceState))->GetTitle());
  }
  static int CountCommand(const std::vector<std::vector<uint8_t>>& requests, uint8_t command) {
    int n = 0;
    for (const auto& r : requests) n += r.size() > 1 && r[1] == command ? 1 : 0;
    return n;
  }
  int messages_ = 0;
};

TEST_F(ReplugTest, UnplugDuringAProfileWriteKeepsTheStoreAndTheReplugWritesIt) {
  auto dlg = OpenConnected();
  const int mouse = Model(cableType_).mouse;
  const int profile = dlg->GetCurrentProfile();
  SettingsStore& store = dlg->Store();
  const mouseproto::MouseSettings before = bus_->Firmware(mouse).settings;
  // What the user set on the pages, then the whole profile goes out (a
  // profile switch); the mouse is pulled out at its first request.
  const int lift = before.liftoff_height == 1 ? 2 : 1;
  const int sleep = before.sleep_light == 10 ? 20 : 10;
  store.SetConfigInt(profile, L"liftoff_height", lift);
  store.SetConfigInt(profile, L"sleep_light", sleep);
  bus_->InjectFault(cablePlug_, SimulatedHid::Fault::UnplugMidExchange);
  dlg->AppendJob(DeviceWorker::kJobWriteProfile);
  RunJobs(*dlg);

  // The store is as the user left it; the mouse never got it.
  EXPECT_EQ(store.GetConfigInt(profile, L"liftoff_height"), lift);
  EXPECT_EQ(store.GetConfigInt(profile, L"sleep_light"), sleep);
  EXPECT_EQ(bus_->Firmware(mouse).settings.liftoff_height, before.liftoff_height);
  EXPECT_TRUE(dlg->Worker().Sequences().HasUnsentWrites(cableType_));
  // The window shows the disconnection: no mouse in the caption, none listed.
  EXPECT_FALSE(dlg->IsConnected());
  EXPECT_EQ(StateText(*dlg), shell::GetText(DeviceSession::kTextNoMouse));
  EXPECT_EQ(dlg->GetDeviceList()->GetOnlineDevCount(), 0);
  EXPECT_FALSE(dlg->Session().Linked());
  // Nothing told the user on its own; a page asking three times tells once.
  EXPECT_EQ(messages_, 0);
  for (int i = 0; i < 3; ++i) dlg->TellNotLinked();
  EXPECT_EQ(messages_, 1);

  // Plugged in again: the profile is written, not read over.
  bus_->ClearRecord();
  bus_->Replug(cablePlug_);
  Pump();
  RunJobs(*dlg);
  EXPECT_TRUE(dlg->IsConnected());
  EXPECT_EQ(bus_->Firmware(mouse).settings.liftoff_height, lift);
  EXPECT_EQ(bus_->Firmware(mouse).settings.sleep_light, sleep);
  EXPECT_EQ(store.GetConfigInt(profile, L"liftoff_height"), lift);
  EXPECT_EQ(store.GetConfigInt(profile, L"sleep_light"), sleep);
  EXPECT_FALSE(dlg->Worker().Sequences().HasUnsentWrites(cableType_));
  const auto requests = bus_->Requests(cablePlug_);
  EXPECT_EQ(CountCommand(requests, 0x16), 0) << "the lift-off was read over the user's";
  EXPECT_EQ(CountCommand(requests, 0x06), 1);

  // The next disconnection may tell the user once more.
  bus_->Unplug(cablePlug_);
  Pump();
  RunJobs(*dlg);
  EXPECT_FALSE(dlg->IsConnected());
  dlg->TellNotLinked();
  dlg->TellNotLinked();
  EXPECT_EQ(messages_, 2);
}

TEST_F(ReplugTest, AReplugWithNothingLostNeitherReadsNorWritesTheSettings) {
  auto dlg = OpenConnected();
  const int mouse = Model(cableType_).mouse;
  const int profile = dlg->GetCurrentProfile();
  const int stored = dlg->Store().GetConfigInt(profile, L"liftoff_height");
  bus_->Unplug(cablePlug_);
  Pump();
  RunJobs(*dlg);
  EXPECT_FALSE(dlg->IsConnected());
  // Changed on another computer meanwhile: the profile stands for the mouse.
  bus_->UpdateFirmware(mouse, [&](mouseproto::MouseState& s) { s.settings.liftoff_height = stored == 1 ? 2 : 1; });
  bus_->ClearRecord();
  bus_->Replug(cablePlug_);
  Pump();
  RunJobs(*dlg);
  EXPECT_TRUE(dlg->IsConnected());
  EXPECT_EQ(dlg->Store().GetConfigInt(profile, L"liftoff_height"), stored);
  const auto requests = bus_->Requests(cablePlug_);
  ASSERT_FALSE(requests.empty()) << "the replug was not connected";
  EXPECT_EQ(CountCommand(requests, 0x16), 0);
  EXPECT_EQ(CountCommand(requests, 0x06), 0);
  EXPECT_EQ(messages_, 0);
}

}  // namespace
}  // namespace ui_test
