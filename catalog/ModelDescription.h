#pragma once
// The model description <program folder>/device/<device attribute>.xml: what
// a model looks like and offers (picture, lighting tab, optional DPI-page
// elements, firmware address, buttons with their default functions, light
// effects) and the defaults a new profile of the model starts from.
//
// Index
//   ModelButton, ModelDescription   the parsed file, plain data
//   ReadModelDescription            the reader of the model load
//   LoadModelData                   the non-visual half of the model load
//   ApplyModelDefaults              "mouse_info" defaults -> current profile
//
// The children of "mouse" are found by forward search, so an element out of
// the documented order is not found and what it would set is left alone;
// the fields for such parts are optional and empty. The file is read anew
// every time; nothing of it is cached.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "store/KeyRecord.h"

class SettingsStore;

// Where the model picture goes on the 1300 x 788 design: its top edge, and
// the distance of its right edge from the right edge of the client area.
inline constexpr int kModelPictureTop = 120;
inline constexpr int kModelPictureRightMargin = 150;

// Number of light effects; effect k (from 1) is the light mode kLightEffectModes[k - 1].
inline constexpr int kLightEffectCount = 8;
inline constexpr int kLightEffectModes[kLightEffectCount] = {1, 2, 3, 4, 5, 6, 9, 0};

struct ModelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ModelPoint&) const = default;
};

// One "key" of "mouse_key". Text ids are kept as written (the default key
// record carries them as text); the numbers are read with _wtoi rules.
struct ModelButton {
  std::wstring name;       // text id of the button's name, as written
  int key_value = 0;       // the button's key_code
  int direction = 0;       // 1: label right of the picture, else left
  ModelPoint a;            // leader line ends (x1, y) and (x2, y)
  ModelPoint b;
  int func_type = 0;       // default macro_type
  int func_value = 0;      // default macro_value
  std::wstring func_desc;  // text id of the default function, as written

  int NameId() const;
  int FuncDescId() const;
  // key_code = layout_value = key_value, layout_desc = name, macro_type,
  // macro_value, macro_desc = func_desc; profile 0, everything else 0.
  KeyRecord DefaultKeyRecord() const;
};

// The four "custom" flags, each true when its attribute is "1".
struct ModelCustomFlags {
  bool show_dpitips = false;
  bool show_savetips = false;
  bool show_lod = false;
  bool show_sensor = false;
  bool operator==(const ModelCustomFlags&) const = default;
};

// What the model load takes from the file. An empty optional means the
// element was not found where the forward search looked, and the window
// keeps what the previous model set.
struct ModelDescription {
  std::optional<std::wstring> picture;        // "image_file" "mouse_img"
  std::optional<bool> lighting;               // "menu" "light" = 1
  std::optional<ModelCustomFlags> custom;     // "custom"
  std::optional<std::wstring> firmware_url;   // "firmware" "url"
  std::optional<std::vector<ModelButton>> buttons;  // "mouse_key"; present means replace
  // Effect k + 1 ("light_<k+1>" "enable" = 1); empty when its element is missing.
  std::array<std::optional<bool>, kLightEffectCount> effects{};

  std::vector<KeyRecord> DefaultKeyRecords() const;
  // The effect flags after this load: found flags replace, missing keep.
  std::array<bool, kLightEffectCount> MergeEffects(const std::array<bool, kLightEffectCount>& previous) const;
};

// programFolder/device/<attr>.xml; empty when the attribute cannot name a
// file in that folder (empty, "/", NUL, "." or "..").
std::filesystem::path ModelDescriptionPath(const std::filesystem::path& programFolder, const std::wstring& deviceAttr);

// Reads a model description. Nothing when the file cannot be read, is not
// well-formed or has no root "mouse".
std::optional<ModelDescription> ReadModelDescription(const std::filesystem::path& file);

// "x1#x2#y" -> (x1, y) and (x2, y). The text is split at the first "#" and
// at the next one; a part whose "#" is missing is the whole remaining text,
// so "120" gives (120, 120)-(120, 120) and "120#300" gives (120, 300)-(300, 300).
void SplitButtonRect(const std::wstring& rect, ModelPoint& a, ModelPoint& b);

// "#RRGGBB" -> red | green << 8 | blue << 16. Nothing for any other text,
// so a malformed colour never reaches the profile.
std::optional<int> ParseModelColour(const std::wstring& text);

// --- The model load, without the window ------------------------------------

struct LoadedModel {
  int device_type = 0;
  std::wstring name;         // empty without a catalog match
  std::wstring device_attr;  // empty without a catalog match
  bool database_opened = false;
  std::optional<ModelDescription> description;  // empty: keep the previous model's UI
};

// The first steps of the model load: the first catalog model of the device
// type gives the current name and attribute; the store is closed and opened
// for that attribute (whether or not the description can be read); then the
// description is read from programFolder.
LoadedModel LoadModelData(int deviceType, const Catalog& catalog, SettingsStore& store,
                          const std::filesystem::path& programFolder);
// The same for the stored device type (registry value "DeviceType", 0 when
// absent), the process-wide store and the program folder.
LoadedModel LoadModelData(const Catalog& catalog);

// --- Model defaults -> profile -------------------------------------------------

enum class ModelDefaultsMode { Full, DpiOnly };

// Number of report-rate choices a report-rate code needs: 7 for 8000 Hz
// (64), 6 for 4000 Hz (32), 5 for 2000 Hz (16), otherwise 4.
int ReportRateChoicesForCode(int code);

// Writes the "mouse_info" defaults of the model's description into the
// profile with SetConfigValue, values as written in the file: "dpi_info"
// gives dpi_index, dpi_flag then dpi_count, and stage k - 1 value and colour
// for each "dpi_k" found (missing stages keep theirs). Full mode then writes
// report_rate (not report_rate_wireless), sleep_light, move_wakeup and
// move_closelight, searched forward from "dpi_info", and sets
// *reportRateChoices (when given) to the choices the default rate needs.
// False, with nothing written, when the file cannot be read or parsed or
// holds no "mouse" with a "mouse_info".
bool ApplyModelDefaults(SettingsStore& store, int profile, const std::filesystem::path& programFolder,
                        const std::wstring& deviceAttr, ModelDefaultsMode mode, int* reportRateChoices);
// The report-rate code the model's "mouse_info" gives as its default
// ("report_rate" "default_value", the value ApplyModelDefaults writes), as
// written in the file; nothing when the file, the element or the value is
// missing.
std::optional<std::wstring> ReadModelReportRateDefault(const std::filesystem::path& programFolder,
                                                       const std::wstring& deviceAttr);
