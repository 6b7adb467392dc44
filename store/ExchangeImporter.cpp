#include "store/ExchangeImporter.h"

#include <algorithm>
#include <optional>

#include "platform/Text.h"
#include "store/ExchangeReader.h"
#include "store/ExchangeRecords.h"
#include "store/SettingsStore.h"

// Index
//   1. Macros
//   2. Profiles

// --- 1. Macros ---------------------------------------------------------------------

MacroImportResult ExchangeImporter::ImportMacro(const std::filesystem::path& path) {
  std::vector<MacroFileEntry> entries(1);
  MacroImportResult result;
  if (!ExchangeReader::ReadMacroFile(path, entries.front(), &result.error)) return result;
  return ApplyMacros(entries);
}

MacroImportResult ExchangeImporter::ImportMacros(const std::filesystem::path& path) {
  std::vector<MacroFileEntry> entries;
  MacroImportResult result;
  if (!ExchangeReader::ReadAllMacrosFile(path, entries, &result.error)) return result;
  return ApplyMacros(entries);
}

MacroImportResult ExchangeImporter::ApplyMacros(const std::vector<MacroFileEntry>& entries) {
  MacroImportResult result;
  std::vector<MacroRecord> added;
  const bool ok = store_.ApplyInTransaction([&] {
    for (const MacroFileEntry& entry : entries) {
      MacroRecord macro = entry.macro;
      macro.macro_id = store_.AddMacro(macro);
      if (macro.macro_id <= 0) return false;
      for (MacroEvent event : entry.events) {
        event.macro_id = macro.macro_id;
        if (store_.AddMacroEvent(event) <= 0) return false;
      }
      added.push_back(std::move(macro));
    }
    return true;
  });
  if (!ok) {
    result.error = "the settings database refused the macros";
    return result;
  }
  result.ok = true;
  result.added = std::move(added);
  return result;
}

// --- 2. Profiles ------------------------------------------------------------------------

ProfileImportResult ExchangeImporter::ImportProfile(const std::filesystem::path& path, int profile,
                                                    const ExchangeModel& model) {
  ProfileImportResult result;
  ProfileFileData data;
  if (!ExchangeReader::ReadProfileFile(path, model, data, &result.error)) return result;
  const std::wstring name = ExchangeReader::ProfileNameFromPath(path);
  ProfileImportResult applied;
  if (!store_.ApplyInTransaction([&] { return ApplyProfile(data, profile, name, applied); })) {
    // A step that fails for a reason of its own names it; any other failing
    // statement is the database's.
    result.error = applied.error.empty() ? "the settings database refused the profile" : applied.error;
    return result;
  }
  applied.ok = true;
  applied.write_profile_to_device = true;
  return applied;
}

bool ExchangeImporter::ApplyProfile(const ProfileFileData& data, int profile, const std::wstring& name,
                                    ProfileImportResult& result) {
  result = ProfileImportResult{};
  std::wstring current;
  if (!store_.GetProfileName(profile, current)) {
    result.error = "the profile does not exist";
    return false;
  }
  // The name: from the file name, or the profile's own when that gives none.
  if (name.empty()) {
    result.name = current;
  } else {
    if (!store_.RenameProfile(profile, name)) return false;
    result.name = name;
  }

  // Buttons: every assignment goes, the file's come in. A macro assignment
  // keeps its id when that macro has the name the file shows, moves to the
  // macro of that name otherwise, and is left as it was when neither exists.
  std::vector<KeyRecord> before;
  store_.ListKeyRecords(profile, before);
  std::vector<MacroRecord> macros;
  store_.ListMacros(macros);
  if (!store_.DeleteKeyRecords(profile)) return false;
  for (KeyRecord key : data.keys) {
    key.profile = profile;
    key.fn_layer = 0;
    if (key.macro_type == 4) {
      const auto byId = std::find_if(macros.begin(), macros.end(), [&](const MacroRecord& m) {
        return m.macro_id == key.macro_value && (key.macro_desc.empty() || m.name == key.macro_desc);
      });
      const auto byName = std::find_if(macros.begin(), macros.end(), [&](const MacroRecord& m) {
        return !key.macro_desc.empty() && m.name == key.macro_desc;
      });
      if (byId == macros.end() && byName != macros.end()) key.macro_value = byName->macro_id;
      if (byId == macros.end() && byName == macros.end()) {
        result.kept_buttons.push_back(key.key_code);
        const auto old = std::find_if(before.begin(), before.end(), [&](const KeyRecord& k) {
          return k.key_code == key.key_code && k.fn_layer == 0;
        });
        if (old == before.end()) continue;  // it had its default, and keeps it
        key = *old;
      }
    }
    if (store_.SaveKeyRecord(key) <= 0) return false;
  }

  // Lights: the current mode only when the profile has a record of it, so a
  // profile never ends without a current light mode; values only into
  // records the profile has.
  if (data.has_lights) {
    LightRecord record;
    if (data.light_mode && store_.GetLight(profile, *data.light_mode, record) &&
        !store_.SetCurrentLightMode(profile, *data.light_mode))
      return false;
    for (const LightFileItem& item : data.lights) {
      if (!store_.GetLight(profile, item.mode, record)) continue;
      record.brightness = item.brightness.value_or(record.brightness);
      record.speed = item.speed.value_or(record.speed);
      record.direction = item.direction.value_or(record.direction);
      record.colorful = item.colorful.value_or(record.colorful);
      record.colorindex = item.colorindex.value_or(record.colorindex);
      for (int i = 0; i < 7; ++i) record.color_value[i] = item.color_value[i].value_or(record.color_value[i]);
      if (!store_.UpdateLight(item.mode, record)) return false;
    }
  }

  // Settings, with the selected DPI stage checked against the stage count
  // the profile will have: a file that selects a stage beyond it is refused;
  // a file that only lowers the count below the stored selection moves the
  // selection to the last stage in use.
  int count = store_.GetConfigInt(profile, L"dpi_count");
  std::optional<int> index;
  for (const auto& [key, value] : data.settings) {
    if (key == L"dpi_count") count = platform::WToI(value);
    if (key == L"dpi_index") index = platform::WToI(value);
  }
  if (index && *index >= count) {
    result.error = "the selected DPI stage is not below the stage count";
    return false;
  }
  for (const auto& [key, value] : data.settings)
    if (!store_.SetConfigValue(profile, key, value)) return false;
  if (!index && count >= 1 && store_.GetConfigInt(profile, L"dpi_index") >= count &&
      !store_.SetConfigInt(profile, L"dpi_index", count - 1))
    return false;
  return true;
}
