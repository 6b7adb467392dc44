#pragma once
// The default light records of a profile: one per light effect the model
// offers, each with the effect's name, page layout (config_func) and the
// text id of its name, and the same starting brightness, speed and colours.
// The worker creates them before it reads or sends the lighting, so that
// neither depends on the window's lighting page having run; the page's own
// reset uses the same records.

#include "device/ModelDefaults.h"
#include "store/LightRecord.h"

class SettingsStore;

// The record an effect starts with for a profile (effect from 0, in the
// order of kModelLightEffectModes).
LightRecord DefaultLightRecord(int profile, int effect);

// When the profile has no light record: adds the records of the offered
// effects in effect order and makes light mode 1 the profile's current
// mode. Returns the number of records added (0 when it had records). Safe
// to call from the worker and the window at once.
int CreateDefaultLights(SettingsStore& store, int profile, const LightEffects& effects);
