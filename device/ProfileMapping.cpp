#include "device/ProfileMapping.h"

#include <string>

std::wstring ProfileMapping::StageValueKey(int stage) { return L"dpi_group" + std::to_wstring(stage) + L"_value"; }

std::wstring ProfileMapping::StageColourKey(int stage) { return L"dpi_group" + std::to_wstring(stage) + L"_rgb"; }

// --- Profile -> request structs ---------------------------------------------------------

int ProfileMapping::ReportRate(SettingsStore& store, int profile) { return store.GetConfigInt(profile, L"report_rate"); }

mouseproto::DpiStages ProfileMapping::DpiStages(SettingsStore& store, int profile) {
  mouseproto::DpiStages stages;
  stages.dpi_index = store.GetConfigInt(profile, L"dpi_index");
  stages.dpi_count = store.GetConfigInt(profile, L"dpi_count");
  for (int i = 0; i < mouseproto::kDpiStageCount; ++i) {
    stages.dpi_group_value[i] = store.GetConfigInt(profile, StageValueKey(i));
  }
  return stages;
}

std::array<int, mouseproto::kDpiStageCount> ProfileMapping::DpiColours(SettingsStore& store, int profile) {
  std::array<int, mouseproto::kDpiStageCount> colours{};
  for (int i = 0; i < mouseproto::kDpiStageCount; ++i) colours[i] = store.GetConfigInt(profile, StageColourKey(i));
  return colours;
}

mouseproto::LiftOffOptions ProfileMapping::LiftOff(SettingsStore& store, int profile) {
  mouseproto::LiftOffOptions options;
  options.liftoff_height = store.GetConfigInt(profile, L"liftoff_height");
  options.sensor_flag = store.GetConfigInt(profile, L"sensor_flag");
  return options;
}

mouseproto::PowerOptions ProfileMapping::Power(SettingsStore& store, int profile) {
  mouseproto::PowerOptions options;
  options.sleep_light = store.GetConfigInt(profile, L"sleep_light");
  options.move_wakeup = store.GetConfigInt(profile, L"move_wakeup");
  options.move_closelight = store.GetConfigInt(profile, L"move_closelight");
  options.button_respondtime = store.GetConfigInt(profile, L"button_respondtime");
  return options;
}

std::vector<mouseproto::KeyFunction> ProfileMapping::KeyFunctions(const std::vector<KeyRecord>& records) {
  std::vector<mouseproto::KeyFunction> functions;
  for (const KeyRecord& record : records) {
    functions.push_back({record.key_code, record.macro_type, record.macro_value, record.macro_value2});
  }
  return functions;
}

std::vector<mouseproto::MacroPlayInfo> ProfileMapping::MacroPlay(const std::vector<MacroRecord>& macros) {
  std::vector<mouseproto::MacroPlayInfo> play;
  for (const MacroRecord& macro : macros) play.push_back({macro.macro_id, macro.play_type, macro.play_times});
  return play;
}

std::vector<mouseproto::MacroEventRecord> ProfileMapping::MacroEvents(const std::vector<MacroEvent>& events) {
  std::vector<mouseproto::MacroEventRecord> records;
  for (const MacroEvent& event : events) records.push_back({event.type, event.value, event.record_index});
  return records;
}

mouseproto::LightParams ProfileMapping::Light(const LightRecord& record) {
  mouseproto::LightParams light;
  light.mode = record.mode;
  light.brightness = record.brightness;
  light.speed = record.speed;
  for (int i = 0; i < mouseproto::kLightColourCount; ++i) light.color_value[i] = record.color_value[i];
  return light;
}

// --- Decoded reply -> profile -----------------------------------------------------------

void ProfileMapping::StoreReportRate(SettingsStore& store, int profile, int code) {
  store.SetConfigInt(profile, L"report_rate", code);
  store.SetConfigInt(profile, L"report_rate_wireless", code);
}

void ProfileMapping::StoreDpiStages(SettingsStore& store, int profile, const mouseproto::DpiStagesReply& reply) {
  store.SetConfigInt(profile, L"dpi_flag", reply.dpi_flag);
  store.SetConfigInt(profile, L"dpi_count", reply.dpi_count);
  store.SetConfigInt(profile, L"dpi_index", reply.dpi_index);
  for (int i = 0; i < mouseproto::kDpiStageCount; ++i) {
    if (reply.dpi_group_value[i]) store.SetConfigInt(profile, StageValueKey(i), *reply.dpi_group_value[i]);
  }
}

void ProfileMapping::StoreDpiColours(SettingsStore& store, int profile,
                                     const std::array<int, mouseproto::kDpiStageCount>& colours) {
  for (int i = 0; i < mouseproto::kDpiStageCount; ++i) store.SetConfigInt(profile, StageColourKey(i), colours[i]);
}

void ProfileMapping::StoreLiftOff(SettingsStore& store, int profile, const mouseproto::LiftOffReply& reply) {
  store.SetConfigInt(profile, L"liftoff_height", reply.liftoff_height);
  store.SetConfigInt(profile, L"sensor_flag", reply.MergeSensorFlag(store.GetConfigInt(profile, L"sensor_flag")));
}

void ProfileMapping::StorePower(SettingsStore& store, int profile, const mouseproto::PowerOptionsReply& reply) {
  store.SetConfigInt(profile, L"sleep_light", reply.sleep_light);
  store.SetConfigInt(profile, L"move_closelight", reply.move_closelight);
  store.SetConfigInt(profile, L"button_respondtime", reply.button_respondtime);
}
