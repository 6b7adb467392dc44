// libFuzzer target for the three exchange-file importers. The input is
// written as a file and imported as a single macro, as all macros and as a
// profile (for a model with lighting and one without) into a store in a
// temporary folder. After each import the store must hold what the import
// reported, the profile must stay consistent, and whatever an import stored
// must export to a file that reads back the same.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "device/ButtonFunctionCheck.h"
#include "store/ExchangeImporter.h"
#include "store/ExchangeReader.h"
#include "store/ExchangeRecords.h"
#include "store/ExchangeWriter.h"
#include "store/SettingsStore.h"

namespace {

constexpr int kProfile = 1;

struct Bench {
  std::filesystem::path folder;
  SettingsStore store;
  ExchangeModel lit;
  ExchangeModel plain;
};

Bench& GetBench() {
  static Bench* bench = [] {
    auto* b = new Bench;
    // On a memory file system when there is one: every export ends with
    // fsync, which would otherwise bound the run at a few dozen inputs a second.
    std::error_code ec;
    const bool shm = std::filesystem::is_directory("/dev/shm", ec);
    std::string tmpl = shm ? "/dev/shm/fuzz_exchange_XXXXXX" : "/tmp/fuzz_exchange_XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) __builtin_trap();
    b->folder = tmpl;
    if (!b->store.OpenDatabase(b->folder, L"fuzz")) __builtin_trap();
    b->store.AddProfile(ProfileRecord{0, L"Profile 1", 0, L"", 0});
    for (int mode : {1, 2, 3, 9}) {
      LightRecord light;
      light.profile = kProfile;
      light.mode = mode;
      light.brightness = mode;
      b->store.AddLight(light);
    }
    b->store.SetCurrentLightMode(kProfile, 1);
    b->store.AddMacro(L"Burst");
    b->lit.buttons = {0, 1, 2, 3, 4, 5, 6};
    b->lit.has_lighting = true;
    b->lit.report_rates = {1, 2, 4, 8};
    b->lit.is_button_function = mouseproto::IsButtonFunction;
    b->plain = b->lit;
    b->plain.has_lighting = false;
    return b;
  }();
  return *bench;
}

int MacroCount(SettingsStore& store) {
  std::vector<MacroRecord> macros;
  return store.ListMacros(macros);
}

bool SameEntry(const MacroFileEntry& a, const MacroFileEntry& b) {
  if (a.macro.name != b.macro.name || a.macro.play_type != b.macro.play_type ||
      a.macro.play_times != b.macro.play_times || a.macro.delay_type != b.macro.delay_type ||
      a.macro.delay_time != b.macro.delay_time || a.events.size() != b.events.size())
    return false;
  for (std::size_t i = 0; i < a.events.size(); ++i)
    if (a.events[i].type != b.events[i].type || a.events[i].value != b.events[i].value ||
        a.events[i].delay_time != b.events[i].delay_time || a.events[i].desc != b.events[i].desc)
      return false;
  return true;
}

// The macros an import added: as many as reported, each exporting to a file
// that reads back as the macro stored; then they go again.
void CheckAndDropMacros(Bench& b, const MacroImportResult& result, int countBefore, const std::filesystem::path& out) {
  if (!result.ok && !result.added.empty()) __builtin_trap();
  if (MacroCount(b.store) != countBefore + static_cast<int>(result.added.size())) __builtin_trap();
  ExchangeWriter writer(b.store);
  for (const MacroRecord& macro : result.added) {
    MacroFileEntry stored, reread;
    if (!b.store.GetMacro(macro.macro_id, stored.macro)) __builtin_trap();
    b.store.ListMacroEvents(macro.macro_id, stored.events);
    std::string error;
    if (!writer.ExportMacro(macro.macro_id, stored.macro.name, out) ||
        !ExchangeReader::ReadMacroFile(out, reread, &error) || !SameEntry(stored, reread))
      __builtin_trap();
    b.store.DeleteMacro(macro.macro_id);
  }
}

void CheckProfile(Bench& b, const ExchangeModel& model, const ProfileImportResult& result,
                  const std::filesystem::path& out) {
  if (result.ok != result.write_profile_to_device) __builtin_trap();
  std::wstring name;
  if (!b.store.GetProfileName(kProfile, name) || name.empty()) __builtin_trap();
  const int mode = b.store.GetCurrentLightMode(kProfile);
  if (mode != 1 && mode != 2 && mode != 3 && mode != 9) __builtin_trap();
  if (b.store.GetConfigInt(kProfile, L"dpi_index") >= b.store.GetConfigInt(kProfile, L"dpi_count")) __builtin_trap();
  // What the profile holds now is a file the importer accepts.
  ProfileFileData reread;
  std::string error;
  if (!ExchangeWriter(b.store).ExportProfile(kProfile, name, model.has_lighting, out) ||
      !ExchangeReader::ReadProfileFile(out, model, reread, &error))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bench& b = GetBench();
  const std::filesystem::path in = b.folder / "Input.xml";
  const std::filesystem::path out = b.folder / "out.xml";
  if (FILE* f = std::fopen(in.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }
  ExchangeImporter importer(b.store);
  int before = MacroCount(b.store);
  CheckAndDropMacros(b, importer.ImportMacro(in), before, out);
  before = MacroCount(b.store);
  CheckAndDropMacros(b, importer.ImportMacros(in), before, out);
  CheckProfile(b, b.lit, importer.ImportProfile(in, kProfile, b.lit), out);
  CheckProfile(b, b.plain, importer.ImportProfile(in, kProfile, b.plain), out);
  return 0;
}
