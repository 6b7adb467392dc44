#include "device/DeviceSequences.h"

#include <algorithm>
#include <optional>

#include "device/DefaultLights.h"
#include "device/ProfileMapping.h"
#include "shell/Log.h"

// Index
//   1. Sequences
//   2. Group writes
//   3. State

using mouseproto::ReportFrame;

DeviceSequences::DeviceSequences(DeviceManager& manager, DeviceSession& session, SettingsStore& store,
                                 DeviceObserver& observer, ModelDefaults& model, Clock& clock, TextLookup text)
    : manager_(manager),
      session_(session),
      store_(store),
      observer_(observer),
      model_(model),
      clock_(clock),
      text_(std::move(text)) {}

// --- 1. Sequences ---------------------------------------------------------------------------

bool DeviceSequences::HasLighting() { return model_.Traits(CurrentType()).lighting; }

void DeviceSequences::RefreshLightingIfAny() {
  if (!HasLighting()) return;
  // The records are made here, not by the page, so that the reads and
  // writes after this refresh find them however late the window runs it.
  EnsureLights();
  observer_.RefreshLighting();
}

void DeviceSequences::EnsureLights() {
  CreateDefaultLights(store_, currentProfile_.load(), model_.Effects());
}

void DeviceSequences::RefreshPages(bool macroPage) {
  observer_.RefreshKeyPage();
  if (macroPage) observer_.RefreshMacroPage();
  observer_.RefreshDPI();
  RefreshLightingIfAny();
}

void DeviceSequences::EnsureProfiles() {
  const int type = CurrentType();
  const std::wstring word = text_ ? text_(kProfileNameTextId) : std::wstring();
  const int current = store_.EnsureProfiles(word, [&](int profile) {
    currentProfile_.store(profile);
    model_.ApplyModelDefaults(type, profile, false);
  });
  currentProfile_.store(current);
  std::wstring name;
  store_.GetProfileName(current, name);
  observer_.ShowProfile(current, name);
}

void DeviceSequences::ConnectSequence(int pauseMs) {
  clock_.Sleep(pauseMs);
  linkByte_.store(0);
  session_.Rescan();
  const int kind = manager_.ConnectionKind();
  if (kind == -1) return;
  EnsureProfiles();
  RefreshPages(true);
  if (ReadAndShow(kind)) observer_.CheckOnlineVersion();
}

bool DeviceSequences::ReadAndShow(int kind) {
  if (!ReadDeviceSettings()) {
    shell::Log("获取鼠标数据异常, 当前模式: %d", kind);
    return false;
  }
  RefreshPages(true);
  WriteBackIfUnsent();
  int release = 0;
  manager_.ReleaseOf(kind, release);
  observer_.ShowFirmwareVersion(release);
  return true;
}

void DeviceSequences::ReconnectSequence() {
  clock_.Sleep(kReconnectPauseMs);
  linkByte_.store(0);
  session_.Rescan();
  const int kind = manager_.ConnectionKind();
  if (kind == -1) return;
  ReadAndShow(kind);
}

void DeviceSequences::ReloadSequence() {
  EnsureProfiles();
  RefreshPages(true);
  if (!ReadDeviceSettings()) {
    shell::Log("获取鼠标数据异常");
    return;
  }
  RefreshPages(true);
  WriteBackIfUnsent();
  int release = 0;
  manager_.ReleaseOf(manager_.ConnectionKind(), release);
  observer_.ShowFirmwareVersion(release);
}

bool DeviceSequences::ReadDeviceSettings() {
  const int type = CurrentType();
  // Placeholders until the info reply tells: the level stays, the flags
  // say "unknown" as 100.
  observer_.SetBatteryInfo(batteryLevel_.load(), 100);
  observer_.SetDeviceBattery(type, chargeState_.load(), 100);
  linkByte_.store(0);

  DeviceManager::InfoReply info{};
  std::optional<mouseproto::DeviceInfo> decoded;
  if (manager_.ReadDeviceInfo(info, nullptr)) decoded = mouseproto::DecodeDeviceInfo(info);
  if (decoded) {
    const mouseproto::SensorRow row = decoded->Sensor();
    {
      std::lock_guard<std::mutex> hold(lock_);
      sensor_ = row;
    }
    observer_.SetSensorRow(row);
    reportRateChoices_.store(decoded->ReportRateChoices());
    observer_.SetReportRateChoices(reportRateChoices_.load());
    linkByte_.store(decoded->link);
    chargeState_.store(decoded->charge_state);
    batteryLevel_.store(decoded->battery_level);
    observer_.SetBatteryInfo(decoded->battery_level, decoded->charge_state);
    observer_.SetDeviceBattery(type, decoded->charge_state, decoded->battery_level);
  }
  if (linkByte_.load() == 0) {
    shell::Log("无线设备未连接");
    return false;
  }
  {
    std::lock_guard<std::mutex> hold(lock_);
    // After a write that never reached the mouse the profile holds what the
    // user set: it is written to the mouse (writeBack_), not overwritten by
    // what the mouse still has.
    if (unsentTypes_.erase(type) > 0) {
      readTypes_.insert(type);
      writeBack_ = true;
      return true;
    }
    if (!readTypes_.insert(type).second) return true;
  }

  const int profile = currentProfile_.load();
  // A read that brings no accepted reply gives an empty span, which every
  // decoder refuses; so does a reply too short for its layout.
  std::array<uint8_t, mouseproto::kFrameLength> buffer{};
  Read(mouseproto::kCmdReadDiscarded, buffer);
  if (auto code = mouseproto::DecodeReportRateReply(Read(mouseproto::kCmdReadReportRate, buffer))) {
    ProfileMapping::StoreReportRate(store_, profile, *code);
  }
  if (auto stages = mouseproto::DecodeDpiStagesReply(Read(mouseproto::kCmdReadDpiStages, buffer), Sensor().sensor_code)) {
    ProfileMapping::StoreDpiStages(store_, profile, *stages);
  }
  if (auto colours = mouseproto::DecodeDpiColoursReply(Read(mouseproto::kCmdReadDpiColours, buffer))) {
    ProfileMapping::StoreDpiColours(store_, profile, *colours);
  }
  if (auto light = mouseproto::DecodeLightingReply(Read(mouseproto::kCmdReadLighting, buffer))) {
    lightMode_.store(light->mode);
    store_.SetCurrentLightMode(profile, light->mode);
    LightRecord record;
    if (store_.GetLight(profile, light->mode, record)) {
      record.brightness = light->brightness;
      record.speed = light->speed;
      store_.UpdateLight(light->mode, record);
    }
  }
  if (auto liftOff = mouseproto::DecodeLiftOffReply(Read(mouseproto::kCmdReadLiftOff, buffer))) {
    ProfileMapping::StoreLiftOff(store_, profile, *liftOff);
  }
  if (auto power = mouseproto::DecodePowerOptionsReply(Read(mouseproto::kCmdReadPowerOptions, buffer))) {
    ProfileMapping::StorePower(store_, profile, *power);
  }
  return true;
}

void DeviceSequences::WriteProfile() {
  observer_.RefreshKeyPage();
  observer_.RefreshDPI();
  RefreshLightingIfAny();
  {
    std::lock_guard<std::mutex> hold(lock_);
    pendingMacro_ = false;
    pendingKey_ = -1;
  }
  const int profile = currentProfile_.load();
  std::vector<KeyRecord> keys;
  store_.ListKeyRecords(profile, keys);
  std::vector<MacroRecord> macros;
  store_.ListMacros(macros);
  for (const KeyRecord& key : keys) {
    if (key.macro_type != mouseproto::kFnMacro) continue;
    const bool exists = std::any_of(macros.begin(), macros.end(),
                                    [&](const MacroRecord& macro) { return macro.macro_id == key.macro_value; });
    if (exists) WriteMacro(key.key_code, key.macro_value);
  }
  clock_.Sleep(kGroupPauseMs);
  WriteButtonFunctions();
  clock_.Sleep(kGroupPauseMs);
  WriteDPIStages();
  clock_.Sleep(kGroupPauseMs);
  WriteDPIColours();
  clock_.Sleep(kGroupPauseMs);
  WriteReportRate();
  clock_.Sleep(kGroupPauseMs);
  WriteLiftOff();
  clock_.Sleep(kGroupPauseMs);
  WritePowerOptions();
  clock_.Sleep(kGroupPauseMs);
  if (HasLighting()) {
    AdoptStoredLightMode();
    WriteLighting();
  }
}

void DeviceSequences::AdoptStoredLightMode() {
  std::vector<LightRecord> lights;
  store_.ListLights(currentProfile_.load(), lights);
  for (const LightRecord& light : lights) {
    if (light.status == 1) lightMode_.store(light.mode);
  }
}

void DeviceSequences::WriteButtonFunctionsJob() {
  int pendingKey = -1;
  bool pending;
  {
    std::lock_guard<std::mutex> hold(lock_);
    pending = pendingMacro_;
    pendingKey = pendingKey_;
    pendingMacro_ = false;
    pendingKey_ = -1;
  }
  if (pending) {
    const int profile = currentProfile_.load();
    std::vector<KeyRecord> keys;
    store_.ListKeyRecords(profile, keys);
    for (const KeyRecord& key : keys) {
      if (key.macro_type != mouseproto::kFnMacro || key.key_code != pendingKey) continue;
      std::vector<MacroRecord> macros;
      store_.ListMacros(macros);
      const bool exists = std::any_of(macros.begin(), macros.end(),
                                      [&](const MacroRecord& macro) { return macro.macro_id == key.macro_value; });
      if (exists) {
        WriteMacro(pendingKey, key.macro_value);
        break;
      }
    }
  }
  WriteButtonFunctions();
}

void DeviceSequences::RestoreDPIDefaults() {
  const int profile = currentProfile_.load();
  model_.ApplyModelDefaults(CurrentType(), profile, true);
  // Stage 6 has a control slot but no place on the wire.
  constexpr int kControlStages = 7;
  for (int stage = 0; stage < kControlStages; ++stage) {
    observer_.SetStage(stage, store_.GetConfigInt(profile, ProfileMapping::StageValueKey(stage)),
                       store_.GetConfigInt(profile, ProfileMapping::StageColourKey(stage)));
  }
  const int count = store_.GetConfigInt(profile, L"dpi_count");
  observer_.SelectStageCount(count);
  int index = store_.GetConfigInt(profile, L"dpi_index");
  if (index < 0 || index >= count) index = 0;
  observer_.SelectStage(index);
  observer_.MoveSliderToDpi(store_.GetConfigInt(profile, ProfileMapping::StageValueKey(index)));
  clock_.Sleep(kDpiDefaultsPauseMs);
  WriteDPIStages();
  clock_.Sleep(kDpiDefaultsPauseMs);
  WriteDPIColours();
}

void DeviceSequences::RestoreFactory() {
  RestoreFactoryCommand();
  EnsureProfiles();
  // Profile ids 1 to 5 whether or not they exist: the program makes four.
  for (int profile = 1; profile <= 5; ++profile) store_.DeleteKeyRecords(profile);
  for (int profile = 1; profile <= 5; ++profile) store_.ResetDefaults(profile);
  RestoreDPIDefaults();
  WriteLiftOff();
  observer_.RefreshKeyPage();
  observer_.RefreshMacroPage();
  model_.ApplyModelDefaults(CurrentType(), currentProfile_.load(), false);
  observer_.RefreshDPI();
  clock_.Sleep(kFactoryPauseMs);
  if (HasLighting()) {
    for (int profile = 0; profile <= 5; ++profile) store_.DeleteLights(profile);
    EnsureLights();
    observer_.RefreshLighting();
    AdoptStoredLightMode();
    WriteLighting();
  }
}

// --- 2. Group writes ------------------------------------------------------------------------------

bool DeviceSequences::Send(const ReportFrame& frame) {
  ReportFrame request = frame;
  const uint8_t command = request.Command();
  const bool waits = mouseproto::CommandWaitsForReply(command);
  bool sent = false;
  const bool accepted = manager_.SendReport(request.MutableBytes().data(), request.Length(), waits, &sent) > 0;
  if (waits && !accepted) shell::Log("Command 0x%02X: no reply accepted", command);
  if (!sent) shell::Log("Command 0x%02X: not sent", command);
  if (!sent || (waits && !accepted)) {
    // The mouse may not hold what the profile says (it went away during
    // the write): the next connection writes the profile to it.
    std::lock_guard<std::mutex> hold(lock_);
    unsentTypes_.insert(CurrentType());
  }
  return accepted;
}

std::span<const uint8_t> DeviceSequences::Read(uint8_t command, std::array<uint8_t, mouseproto::kFrameLength>& buffer) {
  const ReportFrame request = mouseproto::BuildReadRequest(command);
  std::copy(request.Bytes().begin(), request.Bytes().end(), buffer.begin());
  const int got = manager_.SendReport(buffer.data(), buffer.size(), true);
  if (got <= 0) shell::Log("Command 0x%02X: no reply accepted", command);
  // Only the bytes read are the reply; behind them lies the request.
  return std::span<const uint8_t>(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

bool DeviceSequences::WriteReportRate() {
  return Send(mouseproto::BuildReportRateRequest(ProfileMapping::ReportRate(store_, currentProfile_.load())));
}

bool DeviceSequences::WriteDPIStages() {
  return Send(mouseproto::BuildDpiStagesRequest(ProfileMapping::DpiStages(store_, currentProfile_.load()), Sensor()));
}

bool DeviceSequences::WriteDPIColours() {
  return Send(mouseproto::BuildDpiColoursRequest(ProfileMapping::DpiColours(store_, currentProfile_.load())));
}

bool DeviceSequences::WriteLiftOff() {
  return Send(mouseproto::BuildLiftOffRequest(ProfileMapping::LiftOff(store_, currentProfile_.load())));
}

bool DeviceSequences::WritePowerOptions() {
  return Send(mouseproto::BuildPowerOptionsRequest(ProfileMapping::Power(store_, currentProfile_.load())));
}

bool DeviceSequences::WriteLighting() {
  const int profile = currentProfile_.load();
  const int mode = lightMode_.load();
  store_.SetCurrentLightMode(profile, mode);
  LightRecord record;
  if (!store_.GetLight(profile, mode, record)) return false;
  return Send(mouseproto::BuildLightingRequest(ProfileMapping::Light(record)));
}

bool DeviceSequences::MacroFits(int keyCode, int macroId) {
  std::vector<MacroEvent> events;
  store_.ListMacroEvents(macroId, events);
  const auto stream = mouseproto::BuildMacroStream(keyCode, ProfileMapping::MacroEvents(events));
  return !mouseproto::BuildMacroRequests(stream).empty();
}

bool DeviceSequences::WriteButtonFunctions() {
  std::vector<KeyRecord> keys;
  store_.ListKeyRecords(currentProfile_.load(), keys);
  std::vector<MacroRecord> macros;
  store_.ListMacros(macros);
  const auto functions = ProfileMapping::KeyFunctions(keys);
  const auto play = ProfileMapping::MacroPlay(macros);
  mouseproto::KeySlotTable table = mouseproto::BuildKeySlotTable(functions, play);

  const int type = CurrentType();
  mouseproto::KeySlotTable previous;
  {
    std::lock_guard<std::mutex> hold(lock_);
    const auto known = sentSlots_.find(type);
    if (known != sentSlots_.end()) previous = known->second;
  }
  for (const KeyRecord& key : keys) {
    if (key.macro_type != mouseproto::kFnMacro || !mouseproto::KeySlotTable::HasSlot(key.key_code)) continue;
    const bool exists = std::any_of(macros.begin(), macros.end(),
                                    [&](const MacroRecord& macro) { return macro.macro_id == key.macro_value; });
    if (exists && !MacroFits(key.key_code, key.macro_value)) {
      table.SetSlot(key.key_code, previous.Slot(key.key_code));
    }
  }
  const bool accepted = Send(mouseproto::BuildButtonFunctionsRequest(table));
  if (accepted) {
    std::lock_guard<std::mutex> hold(lock_);
    sentSlots_[type] = table;
  }
  return accepted;
}

bool DeviceSequences::WriteMacro(int keyCode, int macroId) {
  std::vector<MacroEvent> events;
  store_.ListMacroEvents(macroId, events);
  const auto stream = mouseproto::BuildMacroStream(keyCode, ProfileMapping::MacroEvents(events));
  const auto requests = mouseproto::BuildMacroRequests(stream);
  if (requests.empty()) {
    shell::Log("Macro %d for key %d: too long to send", macroId, keyCode);
    observer_.MacroTooLong(keyCode, macroId);
    return false;
  }
  bool all = true;
  for (const ReportFrame& request : requests) all = Send(request) && all;
  return all;
}

bool DeviceSequences::RestoreFactoryCommand() {
  const bool accepted = Send(mouseproto::BuildFactoryRestoreRequest());
  // The restore gives the mouse its default buttons back.
  std::lock_guard<std::mutex> hold(lock_);
  sentSlots_.erase(CurrentType());
  return accepted;
}

// --- 3. State -----------------------------------------------------------------------------------------

void DeviceSequences::SetPendingMacro(int keyCode) {
  std::lock_guard<std::mutex> hold(lock_);
  pendingMacro_ = true;
  pendingKey_ = keyCode;
}

bool DeviceSequences::PendingMacro(int& keyCode) const {
  std::lock_guard<std::mutex> hold(lock_);
  keyCode = pendingKey_;
  return pendingMacro_;
}

mouseproto::SensorRow DeviceSequences::Sensor() const {
  std::lock_guard<std::mutex> hold(lock_);
  return sensor_;
}

void DeviceSequences::WriteBackIfUnsent() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (!writeBack_) return;
    writeBack_ = false;
  }
  shell::Log("Writing the profile the mouse missed while it was away");
  WriteProfile();
}

bool DeviceSequences::HasUnsentWrites(int deviceType) const {
  std::lock_guard<std::mutex> hold(lock_);
  return unsentTypes_.count(deviceType) > 0;
}

void DeviceSequences::ClearReadTypes() {
  std::lock_guard<std::mutex> hold(lock_);
  readTypes_.clear();
}

bool DeviceSequences::WasRead(int deviceType) const {
  std::lock_guard<std::mutex> hold(lock_);
  return readTypes_.count(deviceType) != 0;
}
