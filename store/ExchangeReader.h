#pragma once
// ExchangeReader: reads a macro or profile exchange file whole into plain
// records and checks every value before anything is stored. A file that
// cannot be read, is empty or too large, is not well-formed, has the wrong
// root or layout, or holds a value outside its range is refused as a whole,
// with the reason in *error (English, for the log).
//
// Elements are found the way every reader of these files finds them: by
// forward search among siblings, so they must stand in the layout's order.
// An empty attribute counts as a missing one.
//
// Index
//   1. Limits and names
//   2. Macro files
//   3. Profile files

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/ExchangeModel.h"
#include "store/ExchangeRecords.h"

class MarkupDocument;

class ExchangeReader {
 public:
  // --- 1. Limits and names -----------------------------------------------------
  static constexpr std::size_t kMaxFileBytes = 1u << 20;
  static constexpr std::size_t kMaxEventsPerMacro = 200;
  static constexpr std::size_t kMaxMacros = 500;
  static constexpr std::size_t kMaxKeyItems = 64;
  static constexpr std::size_t kMaxLightItems = 16;
  static constexpr std::size_t kMaxNameLength = 64;
  static constexpr std::size_t kMaxDescLength = 128;

  // A name as it may be stored: control characters removed, surrounding
  // blanks trimmed, cut to maxLength units.
  static std::wstring CleanName(std::wstring_view name, std::size_t maxLength = kMaxNameLength);
  // The profile name a file gives: its file name without a final ".xml" (any
  // case), cleaned; the whole file name for other extensions. May be empty.
  static std::wstring ProfileNameFromPath(const std::filesystem::path& path);

  // Reads the file's bytes (at most kMaxFileBytes) and parses them; false
  // for a missing, empty, oversized or ill-formed file.
  static bool LoadDocument(const std::filesystem::path& path, MarkupDocument& doc, std::string* error);

  // --- 2. Macro files ------------------------------------------------------------
  // The single-macro layout: exactly one macro. An all-macros file is refused.
  static bool ReadMacroFile(const std::filesystem::path& path, MacroFileEntry& out, std::string* error);
  // The all-macros layout: any number of macros up to kMaxMacros. A
  // single-macro file is refused.
  static bool ReadAllMacrosFile(const std::filesystem::path& path, std::vector<MacroFileEntry>& out,
                                std::string* error);

  // --- 3. Profile files --------------------------------------------------------------
  // The profile layout, checked against the current model. "Lightitems" is
  // read only when the model has lighting.
  static bool ReadProfileFile(const std::filesystem::path& path, const ExchangeModel& model, ProfileFileData& out,
                              std::string* error);
};
