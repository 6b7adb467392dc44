// Hot-plug: the matching rules of the device-change handler, the probe, the
// udev path parsing, and the monitor on a machine without udev.

#include <string>
#include <vector>

#include "DeviceFixture.h"
#include "device/DeviceSession.h"
#include "device/HotplugMatch.h"
#include "device/InterfaceProbe.h"
#include "platform/HotplugMonitor.h"

namespace devicetest {
namespace {

TEST(HotplugMatch, RulesForArrivalAndRemoval) {
  struct Case {
    const char* name;
    std::string path;
    bool arrival;
    bool present;
    bool probePasses;
    int job;
    bool matched;
    int lastMode;
    int probes;
  } cases[] = {
      {"vendor interface arrives", "sim/hidraw2?VID_F0A5&PID_5101&MI_02", true, false, true, 2, true, 0, 1},
      {"receiver arrives, lower-case path", "/dev/hidraw7?vid_f0a5&pid_5302&mi_02", true, true, true, 2, true, 1, 1},
      {"pointer interface fails the probe", "sim/hidraw0?VID_F0A5&PID_5101&MI_00", true, false, false, 0, true, 0, 1},
      {"unknown ids are not probed", "sim/hidraw9?VID_1234&PID_5678&MI_02", true, false, true, 0, false, 0, 0},
      {"vendor removal while present", "sim/hidraw2?VID_F0A5&PID_5101&MI_02", false, true, true, 3, true, 1, 0},
      {"receiver removal gives its device type", "sim/hidraw6?VID_F0A5&PID_5302&MI_02", false, true, true, 3, true, 3, 0},
      {"removal without a device present", "sim/hidraw2?VID_F0A5&PID_5101&MI_02", false, false, true, 0, false, 0, 0},
      {"removal of another interface", "sim/hidraw1?VID_F0A5&PID_5101&MI_01", false, true, true, 0, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int probes = 0;
    const HotplugDecision decision = MatchDeviceChange(CatalogModes(), c.path, c.arrival, c.present, [&] {
      ++probes;
      return c.probePasses;
    });
    EXPECT_EQ(decision.job, c.job);
    EXPECT_EQ(decision.matched, c.matched);
    if (c.matched) {
      EXPECT_EQ(decision.last_event_mode, c.lastMode);
    }
    EXPECT_EQ(probes, c.probes);
  }
}

TEST(HotplugMatch, ScanStopsAtTheFirstItemWithTheIds) {
  // Two catalog items share the ids; a failed probe of the first ends the scan.
  const std::vector<ModeEntry> items = {{kVid, kAirCable, L"", 1, 0, L"VA01"}, {kVid, kAirCable, L"", 4, 1, L"VA04"}};
  int probes = 0;
  const HotplugDecision decision = MatchDeviceChange(items, "x?VID_F0A5&PID_5101&MI_00", true, false, [&] {
    ++probes;
    return false;
  });
  EXPECT_EQ(probes, 1);
  EXPECT_EQ(decision.job, 0);
  EXPECT_EQ(decision.last_event_mode, 0);
}

TEST(HotplugMatch, LogsTheUpperCasedPath) {
  std::vector<std::string> lines;
  shell::SetLogSink([&](const std::string& line) { lines.push_back(line); });
  MatchDeviceChange(CatalogModes(), "/dev/hidraw3?vid_f0a5&pid_5101&mi_02", false, false, {});
  shell::SetLogSink({});
  EXPECT_EQ(lines, std::vector<std::string>{"UpdateUSBDevice path: /DEV/HIDRAW3?VID_F0A5&PID_5101&MI_02"});
}

class ProbeTest : public DeviceFixture {};

TEST_F(ProbeTest, OnlyTheOpenableVendorInterfacePasses) {
  const int plug = bus->PlugCable(bus->AddMouse(Mouse("VA01")), kVid, kAirCable);
  EXPECT_FALSE(ProbeVendorInterface(*bus, bus->Node(plug, 0)));  // pointer
  EXPECT_FALSE(ProbeVendorInterface(*bus, bus->Node(plug, 1)));  // keyboard
  EXPECT_TRUE(ProbeVendorInterface(*bus, bus->Node(plug, 2)));
  EXPECT_FALSE(ProbeVendorInterface(*bus, bus->Node(plug, 3)));  // vendor page, other usage
  EXPECT_FALSE(ProbeVendorInterface(*bus, "sim/hidraw999"));
  bus->DenyOpen(plug, true);
  EXPECT_FALSE(ProbeVendorInterface(*bus, bus->Node(plug, 2)));
  EXPECT_EQ(bus->OpenHandles(), 0);
}

TEST(HotplugMonitorPaths, ReadsIdsAndInterfaceFromSysfsPath) {
  struct Case {
    const char* devpath;
    bool ok;
    int vid, pid, mi;
  } cases[] = {
      {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.2/0003:F0A5:5101.0004/hidraw/hidraw3", true, 0xF0A5, 0x5101, 2},
      {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2.4/1-2.4:1.0/0003:046D:C52B.0001/hidraw/hidraw0", true, 0x046D,
       0xC52B, 0},
      {"/devices/pci0000:00/usb3/3-1/3-1:1.12/0003:f0a5:5302.000A/hidraw/hidraw11", true, 0xF0A5, 0x5302, 12},
      {"/devices/virtual/misc/uhid/0003:F0A5:5102.0007/hidraw/hidraw5", true, 0xF0A5, 0x5102, 0},
      {"/devices/virtual/misc/tty", false, 0, 0, 0},
      {"", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.devpath);
    int vid = -1, pid = -1, mi = -1;
    ASSERT_EQ(platform::HotplugMonitor::ParseHidrawDevpath(c.devpath, vid, pid, mi), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(vid, c.vid);
    EXPECT_EQ(pid, c.pid);
    EXPECT_EQ(mi, c.mi);
  }
  EXPECT_EQ(platform::DeviceChangePath("/dev/hidraw3", 0xF0A5, 0x5101, 2), "/dev/hidraw3?VID_F0A5&PID_5101&MI_02");
}

TEST(HotplugMonitorPaths, StartsOrLogsWhyNot) {
  // Without a running udev (containers, this build machine) the monitor
  // refuses and the reason is logged once; with one it runs until stopped.
  std::vector<std::string> lines;
  shell::SetLogSink([&](const std::string& line) { lines.push_back(line); });
  platform::HotplugMonitor monitor;
  const bool started = DeviceSession::StartHotplug(monitor, [](const platform::DeviceChangeEvent&) {});
  shell::SetLogSink({});
  EXPECT_EQ(monitor.Running(), started);
  if (started) {
    EXPECT_TRUE(lines.empty());
    monitor.Stop();
  } else {
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Hot-plug: ", 0), 0u) << lines[0];
  }
  EXPECT_FALSE(monitor.Running());
}

}  // namespace
}  // namespace devicetest
