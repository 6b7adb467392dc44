#include "catalog/CatalogModelDefaults.h"

#include "catalog/ModelDescription.h"
#include "store/SettingsStore.h"

CatalogModelDefaults::CatalogModelDefaults(const Catalog& catalog, SettingsStore& store,
                                           std::filesystem::path programFolder)
    : catalog_(catalog), store_(store), program_folder_(std::move(programFolder)) {}

ModelTraits CatalogModelDefaults::Traits(int deviceType) {
  ModelTraits traits;
  const CatalogEntry* model = catalog_.FindModel(deviceType);
  if (model == nullptr) return traits;
  const auto description = ReadModelDescription(ModelDescriptionPath(program_folder_, model->device_attr));
  if (!description) return traits;
  if (description->lighting) traits.lighting = *description->lighting;
  if (description->custom) traits.show_dpitips = description->custom->show_dpitips;
  return traits;
}

void CatalogModelDefaults::LoadModel(int deviceType) {
  const LoadedModel loaded = LoadModelData(deviceType, catalog_, store_, program_folder_);
  if (!loaded.description) return;
  static_assert(kModelLightEffects == kLightEffectCount);
  std::lock_guard<std::mutex> hold(lock_);
  effects_ = loaded.description->MergeEffects(effects_);
}

LightEffects CatalogModelDefaults::Effects() {
  std::lock_guard<std::mutex> hold(lock_);
  return effects_;
}

void CatalogModelDefaults::ApplyModelDefaults(int deviceType, int profile, bool dpiOnly) {
  const CatalogEntry* model = catalog_.FindModel(deviceType);
  const std::wstring attr = model != nullptr ? model->device_attr : std::wstring();
  int choices = 0;
  if (::ApplyModelDefaults(store_, profile, program_folder_, attr,
                           dpiOnly ? ModelDefaultsMode::DpiOnly : ModelDefaultsMode::Full, &choices) &&
      !dpiOnly) {
    report_rate_choices_ = choices;
  }
}
