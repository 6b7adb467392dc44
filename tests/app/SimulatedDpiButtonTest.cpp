// The demonstration's DPI button: each press steps every simulated mouse to
// its next stage and sends the DPI-change report; SIGUSR1 presses it.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "app/SimulatedDpiButton.h"
#include "device/Clock.h"
#include "device/ReportFrame.h"
#include "device/simulator/SimulatedHid.h"

namespace {

using app::SimulatedDpiButton;

constexpr uint16_t kVid = 0xF0A5;

struct Bus {
  std::shared_ptr<SimulatedHid> hid = std::make_shared<SimulatedHid>(std::make_shared<VirtualClock>());
  std::vector<int> mice;

  int Add(int index, int count) {
    mouseproto::MouseState state = mouseproto::MouseState::WithSensor(1);
    state.settings.dpi_index = index;
    state.settings.dpi_count = count;
    const int mouse = hid->AddMouse(state);
    hid->PlugCable(mouse, kVid, uint16_t(0x5100 + mouse));
    mice.push_back(mouse);
    return mouse;
  }
  int Stage(int mouse) const { return hid->Firmware(mouse).settings.dpi_index; }
};

TEST(SimulatedDpiButton, EachPressStepsEveryMouseToItsNextStageAndWrapsAfterTheLast) {
  struct Case {
    int index, count, expected;
  } cases[] = {
      {0, 6, 1},
      {4, 6, 5},
      {5, 6, 0},  // the last stage wraps to the first
      {1, 2, 0},
      {0, 1, 0},  // a single stage stays
  };
  Bus bus;
  for (const Case& c : cases) bus.Add(c.index, c.count);
  SimulatedDpiButton::Press(*bus.hid, bus.mice);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(bus.Stage(bus.mice[i]), cases[i].expected);
    EXPECT_EQ(bus.hid->Firmware(bus.mice[i]).settings.dpi_count, cases[i].count);
  }
}

TEST(SimulatedDpiButton, PressSendsTheDpiChangeReportOnTheVendorInterface) {
  Bus bus;
  const int mouse = bus.Add(2, 6);
  std::vector<HidInterfaceInfo> interfaces;
  ASSERT_TRUE(bus.hid->Enumerate(interfaces));
  HidDevice* vendor = nullptr;
  for (const HidInterfaceInfo& info : interfaces) {
    if (info.interface_number == SimulatedHid::kVendorInterface) vendor = bus.hid->Open(info.path);
  }
  ASSERT_NE(vendor, nullptr);
  SimulatedDpiButton::Press(*bus.hid, bus.mice);
  uint8_t report[64] = {};
  ASSERT_GT(bus.hid->ReadTimeout(vendor, report, sizeof report, 100), 0);
  EXPECT_EQ(report[0], mouseproto::kDpiNotification);
  EXPECT_EQ(report[1], uint8_t((3 << 4) | 6)) << "stage 3 of 6";
  EXPECT_EQ(bus.Stage(mouse), 3);
  bus.hid->Close(vendor);
}

// The signal arrives asynchronously: the test waits for its effect (bounded),
// it measures no time.
TEST(SimulatedDpiButton, SignalPressesTheButtonWhileTheObjectLives) {
  Bus bus;
  const int mouse = bus.Add(0, 4);
  const auto waitForStage = [&](int stage) {
    for (int i = 0; i < 500 && bus.Stage(mouse) != stage; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return bus.Stage(mouse) == stage;
  };
  {
    SimulatedDpiButton button(bus.hid, bus.mice);
    ASSERT_TRUE(button.Listening());
    // One object holds the signal at a time.
    SimulatedDpiButton second(bus.hid, bus.mice);
    EXPECT_FALSE(second.Listening());
    ASSERT_EQ(raise(SIGUSR1), 0);
    EXPECT_TRUE(waitForStage(1));
    ASSERT_EQ(raise(SIGUSR1), 0);
    EXPECT_TRUE(waitForStage(2));
  }
  // Gone: the previous disposition is back, and a fresh object takes the
  // signal again.
  SimulatedDpiButton again(bus.hid, bus.mice);
  ASSERT_TRUE(again.Listening());
  ASSERT_EQ(raise(SIGUSR1), 0);
  EXPECT_TRUE(waitForStage(3));
}

}  // namespace
