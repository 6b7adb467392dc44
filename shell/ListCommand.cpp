#include "shell/ListCommand.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "device/DeviceManager.h"
#include "device/HidapiBackend.h"
#include "device/simulator/SimulatedCatalog.h"
#include "device/simulator/SimulatedHid.h"
#include "platform/Text.h"
#include "shell/Environment.h"

namespace shell {

namespace {

struct ListedMode {
  std::wstring model;
  ModeEntry entry;
};

// The catalog's connection modes with their model names.
std::vector<ListedMode> ReadCatalogModes(const std::filesystem::path& programFolder) {
  NullCatalogSink sink;
  const Catalog catalog = ReadDeviceList(programFolder, programFolder, sink, nullptr);
  std::vector<ListedMode> modes;
  for (const CatalogEntry& mode : catalog.modes) {
    ListedMode listed;
    listed.model = mode.name;
    listed.entry.vendor_id = mode.vid;
    listed.entry.product_id = mode.pid;
    listed.entry.device_type = mode.device_type;
    listed.entry.mode = mode.mode;
    listed.entry.dev_id = mode.dev_id;
    modes.push_back(listed);
  }
  return modes;
}

std::string ModelName(const std::vector<ListedMode>& modes, const DeviceRecord& record) {
  for (const ListedMode& mode : modes) {
    if (record.device_type != 0 && mode.entry.device_type == record.device_type) return platform::ToUtf8(mode.model);
  }
  for (const ListedMode& mode : modes) {
    if (mode.entry.vendor_id == record.vendor_id && mode.entry.product_id == record.product_id) {
      return platform::ToUtf8(mode.model);
    }
  }
  return "unknown model";
}

// Supported vendor interfaces that exist but cannot be opened: the usual
// sign of a missing udev rule.
int UnopenableInterfaces(DeviceManager& manager) {
  std::vector<HidInterfaceInfo> interfaces;
  manager.Backend().Enumerate(interfaces);
  int count = 0;
  for (const HidInterfaceInfo& info : interfaces) {
    if (!manager.IsSupported(info.vendor_id, info.product_id)) continue;
    HidDevice* device = manager.Backend().Open(info.path);
    if (device == nullptr) {
      ++count;
    } else {
      manager.Backend().Close(device);
    }
  }
  return count;
}

int InaccessibleHidraw() {
  int count = 0;
  DIR* dir = opendir("/dev");
  if (dir == nullptr) return 0;
  while (dirent* entry = readdir(dir)) {
    if (std::strncmp(entry->d_name, "hidraw", 6) != 0) continue;
    const std::string node = std::string("/dev/") + entry->d_name;
    if (access(node.c_str(), R_OK | W_OK) != 0) ++count;
  }
  closedir(dir);
  return count;
}

}  // namespace

bool IsListCommand(int argc, char** argv, bool& simulate) {
  bool list = false;
  simulate = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--list") == 0) list = true;
    if (std::strcmp(argv[i], "--simulate") == 0) simulate = true;
  }
  return list;
}

int RunListCommand(bool simulate) {
  const std::vector<ListedMode> modes = ReadCatalogModes(ProgramFolder());
  if (modes.empty()) {
    std::printf("No supported models: %s names none.\n", (ProgramFolder() / "config.xml").c_str());
    return 1;
  }
  std::vector<ModeEntry> entries;
  for (const ListedMode& mode : modes) entries.push_back(mode.entry);

  auto clock = std::make_shared<RealClock>();
  std::shared_ptr<HidBackend> backend;
  if (simulate) {
    auto bus = std::make_shared<SimulatedHid>(clock);
    PlugCatalogMice(*bus, entries);
    backend = bus;
  } else {
    backend = std::make_shared<HidapiBackend>();
  }
  DeviceManager manager(backend, clock);
  for (const ModeEntry& entry : entries) {
    manager.AddModeEntry(entry.vendor_id, entry.product_id, std::wstring(), entry.device_type, entry.mode, entry.dev_id);
  }
  manager.EnumerateDevice();
  manager.SetOpenFlag(1);
  manager.IdentifyRemaining();

  std::vector<DeviceRecord> records;
  manager.ListRecords(records);
  if (records.empty()) {
    std::printf("No supported mouse found.\n");
    const int unopenable = UnopenableInterfaces(manager);
    if (unopenable > 0) {
      std::printf("%d supported HID interface(s) exist but cannot be opened: install the udev rule "
                  "(README, \"Device access\") and plug the mouse in again.\n", unopenable);
    } else if (!simulate && InaccessibleHidraw() > 0) {
      std::printf("Some /dev/hidraw devices cannot be opened by this user; if a supported mouse is plugged in, "
                  "install the udev rule (README, \"Device access\").\n");
    }
    return 1;
  }

  // Identified interfaces by model and then cable before receiver; the
  // unidentified ones last.
  std::stable_sort(records.begin(), records.end(), [](const DeviceRecord& a, const DeviceRecord& b) {
    const bool aKnown = a.device_type != 0, bKnown = b.device_type != 0;
    if (aKnown != bKnown) return aKnown;
    if (a.device_type != b.device_type) return a.device_type < b.device_type;
    return a.mode < b.mode;
  });
  for (const DeviceRecord& record : records) {
    const std::string id = record.device_id.empty() ? "-" : platform::ToUtf8(record.device_id);
    std::printf("%-18s %-9s device id %-5s device type %-4d release %X.%02X  online %d\n",
                ModelName(modes, record).c_str(), record.mode == 0 ? "cable" : "receiver", id.c_str(),
                record.device_type, (record.release_number >> 8) & 0xFF, record.release_number & 0xFF,
                record.online);
  }
  return 0;
}

}  // namespace shell
