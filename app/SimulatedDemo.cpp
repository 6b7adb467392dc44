#include "app/SimulatedDemo.h"

#include "catalog/Catalog.h"
#include "shell/Environment.h"
#include "shell/Log.h"

namespace app {

std::vector<ModeEntry> CatalogModes() {
  NullCatalogSink sink;
  const Catalog catalog = ReadDeviceList(shell::ProgramFolder(), shell::ProgramFolder(), sink, nullptr);
  std::vector<ModeEntry> modes;
  for (const CatalogEntry& mode : catalog.modes) {
    ModeEntry entry;
    entry.vendor_id = mode.vid;
    entry.product_id = mode.pid;
    entry.device_type = mode.device_type;
    entry.mode = mode.mode;
    entry.dev_id = mode.dev_id;
    modes.push_back(entry);
  }
  return modes;
}

SimulatedDemo::SimulatedDemo(std::shared_ptr<Clock> clock, const std::vector<ModeEntry>& modes,
                             std::filesystem::path stateFile)
    : bus_(std::make_shared<SimulatedHid>(std::move(clock))) {
  models_ = PlugCatalogMice(*bus_, modes);
  if (stateFile.empty()) return;
  file_ = std::make_unique<SimulatedMiceFile>(std::move(stateFile));
  std::string error;
  if (!file_->Load(*bus_, models_, &error)) {
    shell::Log("simulated mice: %s; the mice start with their factory settings", error.c_str());
  }
  bus_->SetStateListener([this] { Save(); });
}

SimulatedDemo::~SimulatedDemo() {
  bus_->SetStateListener(nullptr);
  Save();
}

std::unique_ptr<SimulatedDemo> SimulatedDemo::ForProgram(std::shared_ptr<Clock> clock) {
  return std::make_unique<SimulatedDemo>(std::move(clock), CatalogModes(), DefaultStateFile());
}

std::filesystem::path SimulatedDemo::DefaultStateFile() {
  const std::filesystem::path folder = shell::DataFolder();
  return folder.empty() ? std::filesystem::path() : folder / SimulatedMiceFile::kFileName;
}

void SimulatedDemo::Save() {
  if (!file_) return;
  std::string error;
  if (!file_->SaveIfChanged(*bus_, models_, &error)) {
    shell::Log("simulated mice: cannot write %s: %s", file_->Path().c_str(), error.c_str());
  }
}

}  // namespace app
