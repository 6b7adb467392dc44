#pragma once
// ModelDefaults: what the device sequences need of a model description.
// The catalog's model reader implements it; tests give fixed answers.

// Flags of a model description that change what the worker does.
struct ModelTraits {
  bool lighting = true;      // "menu" "light" = 1: the model has lighting
  bool show_dpitips = true;  // "custom" "show_dpitips" = 1: DPI changes show the DPI message
};

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
};
