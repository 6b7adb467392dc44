#pragma once
// ProfileMapping: the one place where the stored profile (settings keys, key,
// macro and light records of SettingsStore) meets the command encodings of
// mouseproto. Readers build the structs a request is made from; writers
// store a decoded reply into the profile, each value as "%d".

#include <array>
#include <vector>

#include "device/Commands.h"
#include "device/KeySlots.h"
#include "device/Lighting.h"
#include "device/MacroStream.h"
#include "store/SettingsStore.h"

class ProfileMapping {
 public:
  // --- Profile -> request structs ---------------------------------------------------
  static int ReportRate(SettingsStore& store, int profile);
  static mouseproto::DpiStages DpiStages(SettingsStore& store, int profile);
  static std::array<int, mouseproto::kDpiStageCount> DpiColours(SettingsStore& store, int profile);
  static mouseproto::LiftOffOptions LiftOff(SettingsStore& store, int profile);
  static mouseproto::PowerOptions Power(SettingsStore& store, int profile);
  static std::vector<mouseproto::KeyFunction> KeyFunctions(const std::vector<KeyRecord>& records);
  static std::vector<mouseproto::MacroPlayInfo> MacroPlay(const std::vector<MacroRecord>& macros);
  static std::vector<mouseproto::MacroEventRecord> MacroEvents(const std::vector<MacroEvent>& events);
  static mouseproto::LightParams Light(const LightRecord& record);

  // --- Decoded reply -> profile ---------------------------------------------------------
  // report_rate and report_rate_wireless.
  static void StoreReportRate(SettingsStore& store, int profile, int code);
  // dpi_flag, dpi_count, dpi_index, then the stage values that were kept.
  static void StoreDpiStages(SettingsStore& store, int profile, const mouseproto::DpiStagesReply& reply);
  static void StoreDpiColours(SettingsStore& store, int profile,
                              const std::array<int, mouseproto::kDpiStageCount>& colours);
  // liftoff_height and the two sensor option bits of sensor_flag.
  static void StoreLiftOff(SettingsStore& store, int profile, const mouseproto::LiftOffReply& reply);
  static void StorePower(SettingsStore& store, int profile, const mouseproto::PowerOptionsReply& reply);

  // dpi_group<stage>_value and dpi_group<stage>_rgb.
  static std::wstring StageValueKey(int stage);
  static std::wstring StageColourKey(int stage);
};
