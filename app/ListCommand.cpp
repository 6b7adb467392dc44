#include "app/ListCommand.h"

#include "app/SimulatedDemo.h"

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
#include "device/Commands.h"
#include "device/DeviceManager.h"
#include "device/NullDeviceObserver.h"
#include "device/DeviceSequences.h"
#include "device/DeviceSession.h"
#include "device/HidapiBackend.h"
#include "device/ModelDefaults.h"
#include "device/simulator/SimulatedCatalog.h"
#include "device/simulator/SimulatedHid.h"
#include "platform/Text.h"
#include "shell/Environment.h"
#include "store/SettingsStore.h"

namespace app {

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

// The listing reads each mouse the way a connection does, into a profile of
// a throw-away settings database, without a window: it prints what it read.
class NoModelDefaults : public ModelDefaults {
 public:
  ModelTraits Traits(int) override { return {}; }
  void ApplyModelDefaults(int, int, bool) override {}
};

// A stored colour (red in the low byte) as #RRGGBB.
std::string ColourText(int stored) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
  return text;
}

// A temporary folder for the throw-away database, removed with it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-list-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Reads the settings of the mouse of one device type and prints them below
// its interfaces. False when the mouse did not answer.
bool PrintSettings(DeviceManager& manager, int deviceType) {
  ScratchFolder folder;
  SettingsStore store;
  if (folder.Path().empty() || !store.OpenDatabase(folder.Path(), L"list")) {
    std::printf("    settings: no scratch database to read them into\n");
    return false;
  }
  NullDeviceObserver window;
  NoModelDefaults model;
  DeviceSession session(manager, window, nullptr);
  session.SetCurrentDeviceType(deviceType);
  manager.SetSelectedType(deviceType);
  DeviceSequences sequences(manager, session, store, window, model, manager.GetClock());
  sequences.EnsureProfiles();
  const int profile = sequences.CurrentProfile();
  // One light record per mode, so that the read has a place for the
  // brightness and speed of whichever mode the mouse reports.
  for (int mode = 0; mode <= 9; ++mode) {
    LightRecord light;
    light.profile = profile;
    light.mode = mode;
    store.AddLight(light);
  }
  if (!sequences.ReadDeviceSettings()) {
    std::printf("    settings: the mouse does not answer\n");
    return false;
  }
  const auto value = [&](const wchar_t* key) { return store.GetConfigInt(profile, key); };
  std::string stages;
  for (int i = 0; i < mouseproto::kDpiStageCount; ++i) {
    const std::wstring index = std::to_wstring(i);
    stages += (i == 0 ? "" : ", ") + std::to_string(value((L"dpi_group" + index + L"_value").c_str())) + " " +
              ColourText(value((L"dpi_group" + index + L"_rgb").c_str()));
  }
  std::printf("    DPI stages: %s\n", stages.c_str());
  std::printf("    selected stage %d of %d, report rate %d Hz, lift-off %d mm\n", value(L"dpi_index") + 1,
              value(L"dpi_count"), mouseproto::ReportRateHz(value(L"report_rate")), value(L"liftoff_height"));
  const int sensor = value(L"sensor_flag");
  std::printf("    sensor options: 0x08 %s, 0x04 %s\n", (sensor & 0x08) ? "on" : "off", (sensor & 0x04) ? "on" : "off");
  std::printf("    power options: sleep %d, close light %d, button response %d\n", value(L"sleep_light"),
              value(L"move_closelight"), value(L"button_respondtime"));
  LightRecord light;
  store.GetLight(profile, sequences.LightMode(), light);
  std::printf("    light mode %d, brightness %d, speed %d\n", sequences.LightMode(), light.brightness, light.speed);
  store.CloseDatabase();
  return true;
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
  const std::vector<ListedMode> modes = ReadCatalogModes(shell::ProgramFolder());
  if (modes.empty()) {
    std::printf("No supported models: %s names none.\n", (shell::ProgramFolder() / "config.xml").c_str());
    return 1;
  }
  std::vector<ModeEntry> entries;
  for (const ListedMode& mode : modes) entries.push_back(mode.entry);

  auto clock = std::make_shared<RealClock>();
  std::shared_ptr<HidBackend> backend;
  std::unique_ptr<SimulatedDemo> demo;
  if (simulate) {
    demo = std::make_unique<SimulatedDemo>(clock, entries, SimulatedDemo::DefaultStateFile());
    backend = demo->Bus();
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
  for (size_t i = 0; i < records.size(); ++i) {
    const DeviceRecord& record = records[i];
    const std::string id = record.device_id.empty() ? "-" : platform::ToUtf8(record.device_id);
    std::printf("%-18s %-9s device id %-5s device type %-4d release %X.%02X  online %d\n",
                ModelName(modes, record).c_str(), record.mode == 0 ? "cable" : "receiver", id.c_str(),
                record.device_type, (record.release_number >> 8) & 0xFF, record.release_number & 0xFF,
                record.online);
    // After the last interface of an identified mouse: what it holds.
    const bool lastOfType = i + 1 == records.size() || records[i + 1].device_type != record.device_type;
    if (record.device_type != 0 && lastOfType) PrintSettings(manager, record.device_type);
  }
  return 0;
}

}  // namespace app
