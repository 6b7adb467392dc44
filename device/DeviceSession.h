#pragma once
// DeviceSession: discovery as the main window runs it. It holds the window's
// share of the device state (catalog mode items, current device type, the
// device-present and link flags, the mode of the last hot-plug event) and
// runs the catalog reload of job 1, the rescan of jobs 1 to 3 and the
// hot-plug handler, talking to the window through DeviceEvents.
//
// Reload and Rescan run on the worker thread, UpdateUSBDevice on the window
// thread; the flags are atomic so both may read them.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/DeviceEvents.h"
#include "device/DeviceManager.h"
#include "device/ModeEntry.h"
#include "device/ModelDefaults.h"
#include "platform/DeviceChange.h"
#include "platform/HotplugMonitor.h"

class DeviceSession {
 public:
  // Job codes this part of the program appends.
  static constexpr int kJobConnect = 2;
  static constexpr int kJobReconnect = 3;
  // Device state titles.
  static constexpr int kTextNoMouse = 50;
  static constexpr int kTextCable = 51;
  static constexpr int kTextReceiver = 52;

  // probe tells whether an arrived interface node is the vendor interface.
  DeviceSession(DeviceManager& manager, DeviceEvents& events, std::function<bool(const std::string&)> probe);

  // What loads a model when the rescan picks a device type: the settings
  // database and the light effects follow it before the window is told to
  // show it. DeviceWorker hands its model source over; without one only the
  // window is told.
  void SetModelLoader(ModelDefaults* model) { model_ = model; }

  // The catalog's mode items, in catalog order.
  void SetCatalogModes(std::vector<ModeEntry> items);
  std::vector<ModeEntry> CatalogModes() const;

  // Job 1's discovery: re-registers the catalog modes with the device
  // manager, enumerates, loads the model of the stored device type, then
  // rescans.
  void Reload();
  // The same without the final rescan, for a caller that rescans next.
  void ReloadCatalog();
  // Rebuilds the device list and brings the window up to date with it.
  void Rescan();
  // The device-change handler; appends job 2 or 3 when the rules say so.
  void UpdateUSBDevice(const platform::DeviceChangeEvent& event);
  // Starts watching for interfaces that come and go; deliver receives each
  // change on the monitor's thread and hands it to the window thread, which
  // calls UpdateUSBDevice. Without udev the reason goes to the log and the
  // program runs without hot-plug.
  static bool StartHotplug(platform::HotplugMonitor& monitor, platform::HotplugMonitor::Listener deliver);

  int CurrentDeviceType() const { return currentType_.load(); }
  void SetCurrentDeviceType(int deviceType) { currentType_.store(deviceType); }
  bool DevicePresent() const { return present_.load(); }
  bool Linked() const { return linked_.load(); }
  void SetLinked(bool linked) { linked_.store(linked); }
  int LastEventMode() const { return lastEventMode_.load(); }

 private:
  // Loads the model on this thread, then has the window show it.
  void LoadModel(int deviceType);

  DeviceManager& manager_;
  DeviceEvents& events_;
  std::function<bool(const std::string&)> probe_;
  ModelDefaults* model_ = nullptr;  // set before the worker thread starts
  mutable std::mutex itemsLock_;
  std::vector<ModeEntry> items_;
  std::atomic<int> currentType_{0};
  std::atomic<bool> present_{false};
  std::atomic<bool> linked_{false};
  std::atomic<int> lastEventMode_{0};
};
