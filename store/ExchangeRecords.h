#pragma once
// The plain records an exchange file is read into before anything is stored:
// a macro with its events, and the parts of a profile file. Every value in
// them has been checked; a part the file does not carry is absent.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/KeyRecord.h"
#include "store/MacroEvent.h"
#include "store/MacroRecord.h"

// One macro of a macro file; macro_id and the events' ids are not set.
struct MacroFileEntry {
  MacroRecord macro;
  std::vector<MacroEvent> events;
};

// One "item" of "Lightitems": the light mode and the values the file gives.
struct LightFileItem {
  int mode = 0;
  std::optional<int> brightness, speed, direction, colorful, colorindex;
  std::optional<int> color_value[7];
};

struct ProfileFileData {
  // Button assignments in file order (profile and key_id not set). Items
  // whose macro_value and macro_value2 are both 0 are left out: they mean
  // "the model's default", which the deleted assignments give anyway.
  std::vector<KeyRecord> keys;
  // "Lightitems": the light mode to make current and the records' values.
  bool has_lights = false;
  std::optional<int> light_mode;
  std::vector<LightFileItem> lights;
  // Profile settings in the order the file gives them, values in "%d" form.
  std::vector<std::pair<std::wstring, std::wstring>> settings;
};
