#pragma once
// SimulatedMiceFile: the demo's simulated mice keep what their firmware holds
// (DPI stages, report rate, lift-off, sensor and power options, buttons,
// macros, lighting) in one text file, so that `orvane --simulate` meets the
// same mice on every run. The file is read once when the mice are plugged
// and written after each change, atomically. A file that cannot be read
// whole, or holds a value no firmware would, is ignored as a whole: the mice
// keep their factory settings and the caller logs the reason.
//
// The text is line based: a header line, then per mouse a block
//   mouse DEVICE_TYPE
//   KEY VALUE...          (one line per setting)
//   end
// keyed by the catalog's device type, so a catalog that gains a model keeps
// the state of the others.

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "device/simulator/MouseState.h"
#include "device/simulator/SimulatedCatalog.h"

class SimulatedMiceFile {
 public:
  using Entries = std::vector<std::pair<int, mouseproto::MouseSettings>>;  // device type, settings

  static constexpr const char* kFileName = "simulated-mice.txt";

  explicit SimulatedMiceFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& Path() const { return path_; }

  // Puts the saved settings into the bus's mice, by device type. A missing
  // file is not an error (fresh mice). False with *error for a damaged file;
  // then no mouse was changed.
  bool Load(SimulatedHid& bus, const std::vector<SimulatedModel>& models, std::string* error);
  // Writes the mice's settings when they differ from what the file holds.
  // Safe from any thread.
  bool SaveIfChanged(const SimulatedHid& bus, const std::vector<SimulatedModel>& models, std::string* error);

  static std::string Format(const Entries& entries);
  // False with *error (line number and reason) for any malformed line or
  // value out of range; out is then empty.
  static bool Parse(std::string_view text, Entries& out, std::string* error);

 private:
  std::filesystem::path path_;
  std::mutex lock_;
  std::string written_;  // the text the file holds, as far as this object knows
};
