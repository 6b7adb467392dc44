#pragma once
// Shared set-up of the device tests: a virtual clock, a simulated bus, a
// device manager that knows the shipped catalog's modes, and the log lines.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/Clock.h"
#include "device/DeviceManager.h"
#include "device/simulator/SimulatedHid.h"
#include "shell/Log.h"

namespace devicetest {

constexpr uint16_t kVid = 0xF0A5;
constexpr uint16_t kAirCable = 0x5101;
constexpr uint16_t kAirReceiver = 0x5102;
constexpr uint16_t kCoreCable = 0x5201;
constexpr uint16_t kSwiftCable = 0x5301;
constexpr uint16_t kSwiftReceiver = 0x5302;

// The modes of data/config.xml, in catalog order.
inline std::vector<ModeEntry> CatalogModes() {
  return {
      {kVid, kAirCable, L"", 1, 0, L"VA01"},    {kVid, kAirReceiver, L"", 1, 1, L"VA01"},
      {kVid, kCoreCable, L"", 2, 0, L"VC02"},   {kVid, kSwiftCable, L"", 3, 0, L"VS08"},
      {kVid, kSwiftReceiver, L"", 3, 1, L"VS08"},
  };
}

// A mouse with the 50..24000 DPI sensor, 80 % battery and its factory settings.
inline mouseproto::MouseState Mouse(const char* devId) {
  mouseproto::MouseState state = mouseproto::MouseState::WithSensor(17, devId);
  state.identity.battery_level = 80;
  return state;
}

class DeviceFixture : public ::testing::Test {
 protected:
  DeviceFixture()
      : clock(std::make_shared<VirtualClock>()),
        bus(std::make_shared<SimulatedHid>(clock)),
        manager(std::make_unique<DeviceManager>(bus, clock)) {
    shell::SetLogSink([this](const std::string& line) { logLines.push_back(line); });
    AddModes(CatalogModes());
  }
  ~DeviceFixture() override { shell::SetLogSink({}); }

  void AddModes(const std::vector<ModeEntry>& modes) {
    for (const ModeEntry& m : modes) {
      manager->AddModeEntry(m.vendor_id, m.product_id, m.name, m.device_type, m.mode, m.dev_id);
    }
  }

  // Enumerates as a rescan does, selects a type and forgets what the
  // set-up cost, so that a test sees only its own pauses and requests.
  void Discover(int selectedType) {
    manager->Rescan(selectedType);
    clock->ClearRecord();
    bus->ClearRecord();
    Log().clear();
  }

  std::vector<std::string>& Log() { return logLines; }

  std::shared_ptr<VirtualClock> clock;
  std::shared_ptr<SimulatedHid> bus;
  std::unique_ptr<DeviceManager> manager;
  std::vector<std::string> logLines;  // written under the log's own lock
};

}  // namespace devicetest
