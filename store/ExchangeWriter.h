#pragma once
// ExchangeWriter: writes the macro and profile exchange files from the store.
// Files are UTF-8 without byte-order mark, one element per line with CR LF
// line ends, every value in an attribute, attributes in the layout's order,
// and are written through the atomic file write, so a failed export leaves
// any earlier file at the path untouched.
//
// Each export has a builder that returns the document's text, for callers
// (and tests) that want it without a file.

#include <filesystem>
#include <optional>
#include <string>

class SettingsStore;

class ExchangeWriter {
 public:
  explicit ExchangeWriter(SettingsStore& store) : store_(store) {}

  // The single-macro layout for one macro, under the name the macro list
  // shows. Nothing when the macro does not exist.
  std::optional<std::wstring> BuildMacro(int macroId, const std::wstring& shownName);
  // The all-macros layout: every macro of the database in table order.
  // Nothing when the store is closed.
  std::optional<std::wstring> BuildAllMacros();
  // The profile layout for the profile, under the name the main window
  // shows; "Lightitems" only for a model with lighting. Nothing when the
  // profile does not exist.
  std::optional<std::wstring> BuildProfile(int profile, const std::wstring& shownName, bool hasLighting);

  bool ExportMacro(int macroId, const std::wstring& shownName, const std::filesystem::path& path);
  bool ExportAllMacros(const std::filesystem::path& path);
  bool ExportProfile(int profile, const std::wstring& shownName, bool hasLighting, const std::filesystem::path& path);

 private:
  SettingsStore& store_;
};
