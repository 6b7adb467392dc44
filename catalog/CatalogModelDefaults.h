#pragma once
// CatalogModelDefaults: the device sequences' view of the model descriptions,
// read from the program folder for the catalog's models. Every call reads
// the description anew, so an edited file takes effect at the next use.

#include <filesystem>
#include <mutex>

#include "catalog/Catalog.h"
#include "device/ModelDefaults.h"

class SettingsStore;

class CatalogModelDefaults : public ModelDefaults {
 public:
  // The catalog and the store must outlive this object.
  CatalogModelDefaults(const Catalog& catalog, SettingsStore& store, std::filesystem::path programFolder);

  ModelTraits Traits(int deviceType) override;
  void ApplyModelDefaults(int deviceType, int profile, bool dpiOnly) override;
  // Switches the store to the device type's database and merges the light
  // effects of its description (LoadModelData).
  void LoadModel(int deviceType) override;
  LightEffects Effects() override;

  // Report-rate choices the last full application asked for (0 before any).
  int ReportRateChoices() const { return report_rate_choices_; }

 private:
  const Catalog& catalog_;
  SettingsStore& store_;
  std::filesystem::path program_folder_;
  int report_rate_choices_ = 0;
  std::mutex lock_;  // guards effects_
  LightEffects effects_{};
};
