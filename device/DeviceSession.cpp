#include "device/DeviceSession.h"

#include "device/HotplugMatch.h"
#include "shell/Environment.h"
#include "shell/Log.h"

DeviceSession::DeviceSession(DeviceManager& manager, DeviceEvents& events,
                             std::function<bool(const std::string&)> probe)
    : manager_(manager), events_(events), probe_(std::move(probe)) {}

void DeviceSession::SetCatalogModes(std::vector<ModeEntry> items) {
  std::lock_guard<std::mutex> hold(itemsLock_);
  items_ = std::move(items);
}

std::vector<ModeEntry> DeviceSession::CatalogModes() const {
  std::lock_guard<std::mutex> hold(itemsLock_);
  return items_;
}

void DeviceSession::Reload() {
  ReloadCatalog();
  Rescan();
}

void DeviceSession::ReloadCatalog() {
  manager_.ClearModeEntries();
  for (const ModeEntry& item : CatalogModes()) {
    manager_.AddModeEntry(item.vendor_id, item.product_id, std::wstring(), item.device_type, item.mode, item.dev_id);
  }
  manager_.ClearActiveCache();
  manager_.CloseAll();
  manager_.EnumerateDevice();
  manager_.SetOpenFlag(1);
  // Before any rescan the model is the one last used, so the window and
  // the settings database show it even while no mouse answers.
  LoadModel(shell::ReadRegistryInt(L"DeviceType"));
}

void DeviceSession::LoadModel(int deviceType) {
  if (model_ != nullptr) model_->LoadModel(deviceType);
  events_.ShowModel(deviceType);
}

void DeviceSession::Rescan() {
  events_.ClosePopups();
  const int stored = shell::ReadRegistryInt(L"DeviceType");
  const std::vector<DeviceRecord> records = manager_.Rescan(stored);

  events_.SetAllDeviceState(0);
  bool identified = false;
  for (const DeviceRecord& record : records) {
    if (record.device_type <= 0) continue;
    identified = true;
    events_.SetDeviceState(record.device_type, record.mode, record.online);
    events_.SetDeviceVersion(record.device_type, record.release_number);
  }

  if (identified) {
    events_.GetOnlineDevCount();
    events_.SetSelectDevice(stored);
    const int chosen = events_.GetSelectDevice();
    currentType_.store(chosen);
    manager_.SetSelectedType(chosen);
    shell::WriteRegistryInt(L"DeviceType", chosen);
    LoadModel(chosen);
  }

  if (records.empty()) {
    present_.store(false);
    linked_.store(false);
    events_.ShowDeviceState(kTextNoMouse);
    return;
  }
  present_.store(true);
  switch (manager_.ConnectionKind()) {
    case 0:
      linked_.store(true);
      events_.ShowDeviceState(kTextCable);
      break;
    case 1:
      linked_.store(true);
      events_.ShowDeviceState(kTextReceiver);
      break;
    default:
      linked_.store(false);
      events_.ShowDeviceState(kTextNoMouse);
      break;
  }
}

void DeviceSession::UpdateUSBDevice(const platform::DeviceChangeEvent& event) {
  const std::string node = event.node;
  const HotplugDecision decision =
      MatchDeviceChange(CatalogModes(), event.path, event.arrival, present_.load(),
                        [&] { return probe_ && probe_(node); });
  if (decision.matched) lastEventMode_.store(decision.last_event_mode);
  if (decision.job != 0) events_.AppendJob(decision.job);
}

bool DeviceSession::StartHotplug(platform::HotplugMonitor& monitor, platform::HotplugMonitor::Listener deliver) {
  std::string reason;
  if (monitor.Start(std::move(deliver), reason)) return true;
  shell::Log("Hot-plug: %s", reason.c_str());
  return false;
}
