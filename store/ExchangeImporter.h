#pragma once
// ExchangeImporter: applies a macro or profile exchange file to the store.
// The file is read and checked whole first (ExchangeReader); then every
// change is made in one store transaction. A refused file, or any store
// operation failing half-way, leaves the database as it was.
//
// Imported macros are always new macros; existing ones are never replaced.
// A profile import replaces the current profile's settings; it never makes a
// profile.

#include <filesystem>
#include <string>
#include <vector>

#include "store/ExchangeModel.h"
#include "store/MacroRecord.h"

class SettingsStore;
struct MacroFileEntry;
struct ProfileFileData;

// What the caller shows after a macro import: the new macros (with their ids)
// in file order, for the macro list and the key page's macro selector.
struct MacroImportResult {
  bool ok = false;
  std::vector<MacroRecord> added;
  std::string error;  // why nothing was imported (English, for the log)
};

struct ProfileImportResult {
  bool ok = false;
  // The profile's new name, for the main window's profile label. The name
  // comes from the file name; when that gives none the name is kept, and
  // this holds the kept name.
  std::wstring name;
  // The profile changed: the caller queues the job that writes the whole
  // profile to the mouse (job 5).
  bool write_profile_to_device = false;
  // Buttons that kept their assignment because the macro the file assigns to
  // them is neither in the database under that id nor found by its name.
  std::vector<int> kept_buttons;
  std::string error;
};

class ExchangeImporter {
 public:
  explicit ExchangeImporter(SettingsStore& store) : store_(store) {}

  // The single-macro layout; one new macro.
  MacroImportResult ImportMacro(const std::filesystem::path& path);
  // The all-macros layout; one new macro per "macro_item".
  MacroImportResult ImportMacros(const std::filesystem::path& path);
  // The profile layout into the given (current) profile of the given model.
  ProfileImportResult ImportProfile(const std::filesystem::path& path, int profile, const ExchangeModel& model);

 private:
  MacroImportResult ApplyMacros(const std::vector<MacroFileEntry>& entries);
  bool ApplyProfile(const ProfileFileData& data, int profile, const std::wstring& name, ProfileImportResult& result);

  SettingsStore& store_;
};
