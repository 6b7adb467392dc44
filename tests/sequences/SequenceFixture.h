#pragma once
// Shared set-up of the worker and sequence tests: the device fixture's
// virtual clock, simulated bus and device manager, plus a settings store in
// a temporary folder, a recording window side, a fixed model description,
// the discovery session and the worker (whose thread is not started: tests
// run its steps and jobs themselves).

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "device/DeviceObserver.h"
#include "device/DeviceSession.h"
#include "device/DeviceWorker.h"
#include "device/ModelDefaults.h"
#include "device/ProfileMapping.h"
#include "shell/Environment.h"
#include "store/SettingsStore.h"
#include "tests/device/DeviceFixture.h"

namespace seqtest {

using devicetest::kAirCable;
using devicetest::kAirReceiver;
using devicetest::kCoreCable;
using devicetest::kVid;
using devicetest::Mouse;

// Records every call as text. The DPI controls and the device list keep
// just enough state to answer the queries. Like the real window, it only
// shows: the settings database and the light records are the worker's.
class RecordingObserver : public DeviceObserver {
 public:
  // DeviceEvents
  void SetAllDeviceState(int state) override {
    {
      std::lock_guard<std::mutex> hold(lock);
      listed.clear();
    }
    Add("SetAllDeviceState " + N(state));
  }
  void SetDeviceState(int type, int mode, int online) override {
    {
      std::lock_guard<std::mutex> hold(lock);
      if (online == 1) listed.push_back(type);
    }
    Add("SetDeviceState " + N(type) + " " + N(mode) + " " + N(online));
  }
  void SetDeviceVersion(int type, int release) override { Add("SetDeviceVersion " + N(type) + " " + N(release)); }
  int GetOnlineDevCount() override {
    Add("GetOnlineDevCount");
    std::lock_guard<std::mutex> hold(lock);
    return online;
  }
  void SetSelectDevice(int type) override {
    Add("SetSelectDevice " + N(type));
    std::lock_guard<std::mutex> hold(lock);
    selected = listed.empty() ? 0 : listed.front();
    for (int t : listed) {
      if (t == type) selected = t;
    }
  }
  int GetSelectDevice() override {
    Add("GetSelectDevice");
    std::lock_guard<std::mutex> hold(lock);
    return selected;
  }
  void ClosePopups() override { Add("ClosePopups"); }
  void ShowModel(int type) override { Add("ShowModel " + N(type)); }
  void ShowDeviceState(int text) override { Add("ShowDeviceState " + N(text)); }
  void AppendJob(int code) override { Add("AppendJob " + N(code)); }

  // DeviceObserver
  void SetBatteryInfo(int level, int charging) override { Add("SetBatteryInfo " + N(level) + " " + N(charging)); }
  void SetDeviceBattery(int type, int charging, int level) override {
    Add("SetDeviceBattery " + N(type) + " " + N(charging) + " " + N(level));
  }
  void ShowDeviceList(bool any) override { Add(std::string("ShowDeviceList ") + (any ? "1" : "0")); }
  void StopMacroRecording() override { Add("StopMacroRecording"); }
  void SetSensorRow(const mouseproto::SensorRow& row) override { Add("SetSensorRow " + N(row.slider_positions)); }
  void SetReportRateChoices(int choices) override { Add("SetReportRateChoices " + N(choices)); }
  int ShownStageCount() override {
    std::lock_guard<std::mutex> hold(lock);
    return shownCount;
  }
  int ShownStage() override {
    std::lock_guard<std::mutex> hold(lock);
    return shownStage;
  }
  int StageDpi(int stage) override {
    std::lock_guard<std::mutex> hold(lock);
    return stageDpi.at(stage);
  }
  void SelectStageCount(int count) override {
    {
      std::lock_guard<std::mutex> hold(lock);
      shownCount = count;
    }
    Add("SelectStageCount " + N(count));
  }
  void SelectStage(int stage) override {
    {
      std::lock_guard<std::mutex> hold(lock);
      shownStage = stage;
    }
    Add("SelectStage " + N(stage));
  }
  void SetStage(int stage, int dpi, int colour) override {
    {
      std::lock_guard<std::mutex> hold(lock);
      stageDpi.at(stage) = dpi;
    }
    Add("SetStage " + N(stage) + " " + N(dpi) + " " + N(colour));
  }
  void MoveSliderToDpi(int dpi) override { Add("MoveSliderToDpi " + N(dpi)); }
  void ShowDpiMessage(int dpi) override { Add("ShowDpiMessage " + N(dpi)); }
  void RefreshKeyPage() override { Add("RefreshKeyPage"); }
  void RefreshMacroPage() override { Add("RefreshMacroPage"); }
  void RefreshDPI() override { Add("RefreshDPI"); }
  void RefreshLighting() override { Add("RefreshLighting"); }
  void ShowProfile(int profile, const std::wstring&) override { Add("ShowProfile " + N(profile)); }
  void MacroTooLong(int keyCode, int macroId) override { Add("MacroTooLong " + N(keyCode) + " " + N(macroId)); }
  void ShowFirmwareVersion(int release) override { Add("ShowFirmwareVersion " + N(release)); }
  void CheckOnlineVersion() override { Add("CheckOnlineVersion"); }
  void CloseUpdateTip() override { Add("CloseUpdateTip"); }

  std::vector<std::string> Calls() const {
    std::lock_guard<std::mutex> hold(lock);
    return calls;
  }
  bool Called(const std::string& call) const {
    const auto all = Calls();
    return std::find(all.begin(), all.end(), call) != all.end();
  }
  void Clear() {
    std::lock_guard<std::mutex> hold(lock);
    calls.clear();
  }

  mutable std::mutex lock;
  std::vector<std::string> calls;
  std::vector<int> listed;
  int selected = 0;
  int online = 1;
  int shownCount = 6;
  int shownStage = 1;
  std::array<int, 7> stageDpi{800, 1600, 2400, 3200, 6400, 22000, 26000};

 private:
  static std::string N(int value) { return std::to_string(value); }
  void Add(std::string call) {
    std::lock_guard<std::mutex> hold(lock);
    calls.push_back(std::move(call));
  }
};

// A model description with its own DPI defaults, so that a test can tell
// them from the store's fixed defaults and the mouse's factory settings,
// and the light effects of modes 1, 2, 3, 6 and 0. Its model load opens
// the database of the device type in the database folder, when one is set.
class FixedModel : public ModelDefaults {
 public:
  static constexpr std::array<int, 6> kStages = {400, 900, 1800, 3600, 7200, 12000};
  static constexpr std::array<int, 6> kColours = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x0A0B0C};
  static constexpr int kCount = 5;
  static constexpr int kIndex = 2;

  ModelTraits Traits(int) override { return traits; }
  void LoadModel(int deviceType) override {
    {
      std::lock_guard<std::mutex> hold(lock);
      loaded.push_back(deviceType);
    }
    if (store != nullptr && !databaseFolder.empty()) {
      store->OpenDatabase(databaseFolder, L"type" + std::to_wstring(deviceType));
    }
  }
  LightEffects Effects() override { return effects; }
  void ApplyModelDefaults(int deviceType, int profile, bool dpiOnly) override {
    applied.push_back({deviceType, profile, dpiOnly});
    if (store == nullptr) return;
    store->SetConfigInt(profile, L"dpi_index", kIndex);
    store->SetConfigInt(profile, L"dpi_flag", kCount);
    store->SetConfigInt(profile, L"dpi_count", kCount);
    for (int i = 0; i < 6; ++i) {
      store->SetConfigInt(profile, ProfileMapping::StageValueKey(i), kStages[i]);
      store->SetConfigInt(profile, ProfileMapping::StageColourKey(i), kColours[i]);
    }
    if (dpiOnly) return;
    store->SetConfigInt(profile, L"report_rate", 1);
    store->SetConfigInt(profile, L"sleep_light", 10);
    store->SetConfigInt(profile, L"move_wakeup", 0);
    store->SetConfigInt(profile, L"move_closelight", 0);
  }

  struct Applied {
    int deviceType;
    int profile;
    bool dpiOnly;
  };
  ModelTraits traits;
  std::vector<Applied> applied;
  SettingsStore* store = nullptr;
  std::filesystem::path databaseFolder;  // empty: the model load keeps the store as it is
  LightEffects effects = {true, true, true, false, false, true, false, true};
  std::mutex lock;
  std::vector<int> loaded;  // device types, in load order
};

// One program state: store, window side, session and worker over the
// fixture's bus. A second state over the same bus is a program restart.
struct ProgramState {
  ProgramState(DeviceManager& manager, Clock& clock, const std::filesystem::path& databaseFolder)
      : session(manager, observer, nullptr),
        worker(manager, session, store, observer, model, clock, [](int textId) {
          return textId == DeviceSequences::kProfileNameTextId ? std::wstring(L"Profile") : std::wstring();
        }) {
    store.OpenDatabase(databaseFolder, L"sim");
    model.store = &store;
    session.SetCatalogModes(devicetest::CatalogModes());
  }

  SettingsStore store;
  RecordingObserver observer;
  FixedModel model;
  DeviceSession session;
  DeviceWorker worker;
};

class SequenceFixture : public devicetest::DeviceFixture {
 protected:
  SequenceFixture() {
    shell::CreateRegistryKey();
    shell::WriteRegistryInt(L"DeviceType", 101);
    state = std::make_unique<ProgramState>(*manager, *clock, databases.Path());
  }

  // Forgets the pauses, requests, calls and log lines so far.
  void Forget() {
    clock->ClearRecord();
    bus->ClearRecord();
    state->observer.Clear();
    Log().clear();
  }

  // The commands written to a plug, in order.
  std::vector<int> Commands(int plug) const {
    std::vector<int> commands;
    for (const auto& request : bus->Requests(plug)) commands.push_back(request.at(1));
    return commands;
  }

  int Profile() { return state->worker.Sequences().CurrentProfile(); }
  SettingsStore& Store() { return state->store; }
  RecordingObserver& Observer() { return state->observer; }
  DeviceWorker& Worker() { return state->worker; }

  testenv::FreshUserFolders home;
  testenv::TempDir databases;
  std::unique_ptr<ProgramState> state;
};

}  // namespace seqtest

namespace seqtest {

// Virtual-key codes used by the macros below.
constexpr int kVkA = 65;

inline MacroEvent Event(int macroId, int type, int value) {
  MacroEvent event;
  event.macro_id = macroId;
  event.type = type;
  event.value = value;
  return event;
}

inline KeyRecord Key(int profile, int keyCode, int type, int value, int value2 = 0) {
  KeyRecord record;
  record.profile = profile;
  record.key_code = keyCode;
  record.layout_value = keyCode;
  record.macro_type = type;
  record.macro_value = value;
  record.macro_value2 = value2;
  return record;
}

// What FillProfile puts into a profile, as the mouse should hold it.
struct FilledProfile {
  int macro_a = 0;  // key down A, 50 ms, key up A; on button 2, played once
  int macro_b = 0;  // seven key events (two packets); on button 4, repeat mode
};

// A full profile: every setting group away from its defaults, button 1 as
// Ctrl+C, two macros on buttons 2 and 4, button 3 on a macro that no longer
// exists, and light mode 3 with its own colour, brightness and speed. The
// profile must already have its light records.
inline FilledProfile FillProfile(SettingsStore& store, int profile) {
  const std::array<int, 6> stages = {500, 1000, 2000, 4000, 8000, 16000};
  const std::array<int, 6> colours = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0x654321, 0xABCDEF};
  store.SetConfigInt(profile, L"dpi_flag", 4);
  store.SetConfigInt(profile, L"dpi_count", 4);
  store.SetConfigInt(profile, L"dpi_index", 3);
  for (int i = 0; i < 6; ++i) {
    store.SetConfigInt(profile, ProfileMapping::StageValueKey(i), stages[i]);
    store.SetConfigInt(profile, ProfileMapping::StageColourKey(i), colours[i]);
  }
  store.SetConfigInt(profile, L"report_rate", 4);
  store.SetConfigInt(profile, L"liftoff_height", 2);
  store.SetConfigInt(profile, L"sensor_flag", 0x08 | 0x04 | 0x01);
  store.SetConfigInt(profile, L"sleep_light", 60);
  store.SetConfigInt(profile, L"move_wakeup", 0);
  store.SetConfigInt(profile, L"move_closelight", 0);
  store.SetConfigInt(profile, L"button_respondtime", 12);

  FilledProfile filled;
  filled.macro_a = store.AddMacro(L"Press A");
  store.SaveMacroEvents(filled.macro_a,
                        {Event(filled.macro_a, 2, kVkA), Event(filled.macro_a, 1, 50), Event(filled.macro_a, 3, kVkA)});
  MacroRecord loop;
  loop.name = L"Type ABCD";
  loop.play_type = 1;
  filled.macro_b = store.AddMacro(loop);
  std::vector<MacroEvent> typing;
  for (int key = 0; key < 4; ++key) {
    typing.push_back(Event(filled.macro_b, 2, kVkA + key));
    if (key < 3) typing.push_back(Event(filled.macro_b, 3, kVkA + key));
  }
  store.SaveMacroEvents(filled.macro_b, typing);

  store.SaveKeyRecord(Key(profile, 1, 2, 0x06, 0x01));  // Ctrl+C
  store.SaveKeyRecord(Key(profile, 2, 4, filled.macro_a));
  store.SaveKeyRecord(Key(profile, 3, 4, 9999));  // its macro was deleted
  store.SaveKeyRecord(Key(profile, 4, 4, filled.macro_b));

  LightRecord light;
  store.GetLight(profile, 3, light);
  light.brightness = 12;
  light.speed = 5;
  light.color_value[0] = 0x3366CC;
  store.UpdateLight(3, light);
  store.SetCurrentLightMode(profile, 3);
  return filled;
}

}  // namespace seqtest
