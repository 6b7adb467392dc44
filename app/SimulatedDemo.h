#pragma once
// SimulatedDemo: the simulated mice of `--simulate`, one per catalog model,
// with their firmware state kept in the data folder across runs (see
// SimulatedMiceFile). Every command that runs with --simulate starts from
// the same mice: the window, --list and the settings commands.

#include <filesystem>
#include <memory>
#include <vector>

#include "device/Clock.h"
#include "device/ModeEntry.h"
#include "device/simulator/SimulatedCatalog.h"
#include "device/simulator/SimulatedHid.h"
#include "device/simulator/SimulatedMiceFile.h"

namespace app {

class SimulatedDemo {
 public:
  // Plugs the mice of the catalog's modes and loads their saved state from
  // stateFile (empty: no file, the mice start fresh and nothing is saved).
  // A damaged file is logged and leaves the mice fresh; the next change
  // writes a sound one over it.
  SimulatedDemo(std::shared_ptr<Clock> clock, const std::vector<ModeEntry>& modes, std::filesystem::path stateFile);
  ~SimulatedDemo();

  // The catalog of the program folder, and the file in the data folder.
  static std::unique_ptr<SimulatedDemo> ForProgram(std::shared_ptr<Clock> clock);
  static std::filesystem::path DefaultStateFile();

  const std::shared_ptr<SimulatedHid>& Bus() const { return bus_; }
  const std::vector<SimulatedModel>& Models() const { return models_; }
  // Writes the state now when it changed (the bus also does it after each
  // request).
  void Save();

 private:
  std::shared_ptr<SimulatedHid> bus_;
  std::vector<SimulatedModel> models_;
  std::unique_ptr<SimulatedMiceFile> file_;
};

// The catalog's connection modes (program folder).
std::vector<ModeEntry> CatalogModes();

}  // namespace app
