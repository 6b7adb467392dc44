#pragma once
// ModelDefaults: what the device sequences need of a model description.
// The catalog's model reader implements it; tests give fixed answers.

#include <array>

// Flags of a model description that change what the worker does.
struct ModelTraits {
  bool lighting = true;      // "menu" "light" = 1: the model has lighting
  bool show_dpitips = true;  // "custom" "show_dpitips" = 1: DPI changes show the DPI message
};

// The light effects a model offers: effect k (from 1) at [k - 1], standing
// for the light modes 1, 2, 3, 4, 5, 6, 9 and 0 in this order.
inline constexpr int kModelLightEffects = 8;
inline constexpr int kModelLightEffectModes[kModelLightEffects] = {1, 2, 3, 4, 5, 6, 9, 0};
using LightEffects = std::array<bool, kModelLightEffects>;

class ModelDefaults {
 public:
  virtual ~ModelDefaults() = default;

  // The flags of the device type's model description (the defaults above
  // when it has none).
  virtual ModelTraits Traits(int deviceType) = 0;

  // Copies the model description's defaults into a profile of the current
  // settings database: everything the description gives (full), or only
  // the DPI stages, their colours, the stage count and the selected stage.
  virtual void ApplyModelDefaults(int deviceType, int profile, bool dpiOnly) = 0;

  // The part of loading a model that the device sequences depend on, run
  // on the worker before the window is told to show the model: the
  // settings database is switched to the model of the device type, and the
  // light effects its description offers are taken (an effect it does not
  // mention keeps its flag). A model source without databases of its own,
  // such as the listing's scratch database, keeps this default.
  virtual void LoadModel(int /*deviceType*/) {}
  // The light effects as the loads so far have left them; new profiles get
  // one default light record per offered effect.
  virtual LightEffects Effects() { return {}; }
};
