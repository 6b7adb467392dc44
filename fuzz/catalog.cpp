// libFuzzer target for the catalog readers: the input is written as the
// config.xml of a program folder and read by the early read and the full
// read. What the full read tells its sink must agree with what it returns.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "catalog/Catalog.h"

namespace {

// Checks the order and content of the sink calls as they arrive.
class CheckingSink : public CatalogSink {
 public:
  void ClearList() override { Expect(calls_++ == 0); }
  void ClearModeTable() override { Expect(calls_++ == 1); }
  void AddDevice(const std::wstring& name, int deviceType, const std::filesystem::path& image) override {
    Expect(calls_++ >= 2 && !titled_);
    devices.push_back(CatalogEntry{name, deviceType, {}, image, 0, 0, 0, {}});
  }
  void AddModeEntry(int vid, int pid, const std::wstring& name, int deviceType, int mode,
                    const std::wstring& devId) override {
    // Modes belong to the model announced last and never carry a name.
    Expect(calls_++ >= 2 && !titled_ && !devices.empty() && name.empty());
    Expect(deviceType == devices.back().device_type);
    modes.push_back(CatalogEntry{devices.back().name, deviceType, {}, {}, mode, vid, pid, devId});
  }
  void SetVersionTitle(const std::wstring& title) override {
    Expect(calls_++ >= 2 && !titled_);
    titled_ = true;
    this->title = title;
  }

  std::vector<CatalogEntry> devices;
  std::vector<CatalogEntry> modes;
  std::wstring title;
  bool titled() const { return titled_; }

  static void Expect(bool condition) {
    if (!condition) __builtin_trap();
  }

 private:
  int calls_ = 0;
  bool titled_ = false;
};

const std::filesystem::path& ProgramFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path path = std::filesystem::temp_directory_path() / ("fuzz_catalog_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path& folder = ProgramFolder();
  std::FILE* f = std::fopen((folder / "config.xml").c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  const CatalogStart start = ReadLanguagesAndName(folder);
  (void)start;

  CheckingSink sink;
  const Catalog catalog =
      ReadDeviceList(folder, folder / "skins", sink, [](int id) { return id == 17 ? std::wstring(L"V") : L"?"; });
  CheckingSink::Expect(sink.devices.size() == catalog.models.size());
  CheckingSink::Expect(sink.modes.size() == catalog.modes.size());
  for (std::size_t i = 0; i < catalog.models.size(); ++i) {
    const CatalogEntry& model = catalog.models[i];
    CheckingSink::Expect(model.name == sink.devices[i].name && model.device_type == sink.devices[i].device_type &&
                         model.image_path == sink.devices[i].image_path);
    CheckingSink::Expect(model.mode == 0 && model.vid == 0 && model.pid == 0 && model.dev_id.empty());
    // Lookups by device type find the first model of that type.
    const CatalogEntry* found = catalog.FindModel(model.device_type);
    CheckingSink::Expect(found != nullptr && found->device_type == model.device_type && found <= &model);
  }
  for (std::size_t i = 0; i < catalog.modes.size(); ++i) {
    const CatalogEntry& mode = catalog.modes[i];
    const CatalogEntry& told = sink.modes[i];
    CheckingSink::Expect(mode.name == told.name && mode.device_type == told.device_type && mode.mode == told.mode &&
                         mode.vid == told.vid && mode.pid == told.pid && mode.dev_id == told.dev_id);
  }
  // The title is "%s: v%s" with text 17 and the version, told once when
  // "software" was found; the addresses come only from inside "software".
  if (sink.titled()) {
    CheckingSink::Expect(sink.title == L"V: v" + catalog.version);
  } else {
    CheckingSink::Expect(catalog.version.empty() && catalog.website.empty() && catalog.feedback.empty() &&
                         catalog.qa.empty());
  }
  return 0;
}
