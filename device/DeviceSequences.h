#pragma once
// DeviceSequences: the larger device jobs as the worker thread runs them:
// connecting and reconnecting a mouse, reading its settings into the current
// profile, writing a whole profile, the button functions, the DPI defaults
// and the factory restore; and the single-group writes the pages ask for.
// It also holds the window's share of the device state these need (current
// profile, sensor row, link byte, battery, pending macro, light mode, and the
// device types whose settings were read since the program started).
//
// Index
//   1. Sequences      Connect, Reconnect, Reload, ReadDeviceSettings,
//                     WriteProfile, WriteButtonFunctionsJob,
//                     RestoreDPIDefaults, RestoreFactory, EnsureProfiles
//   2. Group writes   one request per setting group (0x02 .. 0x09)
//   3. State          shared with the window thread
//
// Every sequence runs on the worker thread; every pause goes through the
// Clock. The state accessors may be called from any thread.

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <span>

#include "device/Clock.h"
#include "device/DeviceManager.h"
#include "device/DeviceObserver.h"
#include "device/DeviceSession.h"
#include "device/DpiCodec.h"
#include "device/KeySlots.h"
#include "device/ModelDefaults.h"
#include "device/ReportFrame.h"
#include "store/SettingsStore.h"

class DeviceSequences {
 public:
  static constexpr int kGroupPauseMs = 100;
  static constexpr int kDpiDefaultsPauseMs = 10;
  static constexpr int kReconnectPauseMs = 500;
  static constexpr int kFactoryPauseMs = 500;
  static constexpr int kProfileNameTextId = 61;

  // The text of a language text id in the current language.
  using TextLookup = std::function<std::wstring(int textId)>;

  // text gives the profile word (text 61) new profiles are named after;
  // without it they are named by their number alone.
  DeviceSequences(DeviceManager& manager, DeviceSession& session, SettingsStore& store, DeviceObserver& observer,
                  ModelDefaults& model, Clock& clock, TextLookup text = {});

  // --- 1. Sequences --------------------------------------------------------------------
  // Job 1 (after the catalog reload, pause 0) and job 2 (pause 1).
  void ConnectSequence(int pauseMs);
  // Job 3: after an interface went away.
  void ReconnectSequence();
  // Job 4: the user picked another device in the device list.
  void ReloadSequence();
  // Reads the mouse's settings into the current profile the first time its
  // device type is connected. False when no mouse answers (link byte 0).
  bool ReadDeviceSettings();
  // Job 5: the whole current profile to the mouse.
  void WriteProfile();
  // Job 6: the pending macro, then the button functions.
  void WriteButtonFunctionsJob();
  // Job 18.
  void RestoreDPIDefaults();
  // Job 20.
  void RestoreFactory();
  // Makes sure the database has profiles and a current one, and shows it.
  void EnsureProfiles();
  // Creates the current profile's default light records when it has none,
  // from the model's light effects. The lighting page shows them later.
  void EnsureLights();

  // --- 2. Group writes -------------------------------------------------------------------
  // Each builds its request from the current profile and sends it; true when
  // the mouse accepted it (always false for the writes sent without waiting).
  bool WriteReportRate();
  bool WriteDPIStages();
  bool WriteDPIColours();
  bool WriteLiftOff();
  bool WritePowerOptions();
  // Makes the mode the profile's current light mode and sends its record;
  // nothing is sent without a record.
  bool WriteLighting();
  // A button whose macro is too long to send keeps the entry the mouse was
  // last given for it (its default before any), so that no button points at
  // a macro the mouse does not hold.
  bool WriteButtonFunctions();
  // Sends one macro's packets for the button; false when any packet failed
  // or the macro cannot be sent (too long: the observer is told).
  bool WriteMacro(int keyCode, int macroId);
  bool RestoreFactoryCommand();

  // --- 3. State ------------------------------------------------------------------------------
  int CurrentProfile() const { return currentProfile_.load(); }
  void SetCurrentProfile(int profile) { currentProfile_.store(profile); }
  // The light mode the lighting page shows; WriteLighting sends it.
  int LightMode() const { return lightMode_.load(); }
  void SetLightMode(int mode) { lightMode_.store(mode); }
  // Set by the key page when a macro was assigned to a button.
  void SetPendingMacro(int keyCode);
  bool PendingMacro(int& keyCode) const;
  mouseproto::SensorRow Sensor() const;
  int ReportRateChoices() const { return reportRateChoices_.load(); }
  int LinkByte() const { return linkByte_.load(); }
  int ChargeState() const { return chargeState_.load(); }
  int BatteryLevel() const { return batteryLevel_.load(); }
  // The factory restore of the settings page empties it, so that the next
  // connection reads the mouse again.
  void ClearReadTypes();
  bool WasRead(int deviceType) const;
  // A write to the device type was not accepted since its last connection:
  // its next connection writes the whole profile instead of reading.
  bool HasUnsentWrites(int deviceType) const;

 private:
  bool Send(const mouseproto::ReportFrame& frame);
  // A read request sent through buffer; the accepted reply as read (empty
  // when none came), a view into buffer.
  std::span<const uint8_t> Read(uint8_t command, std::array<uint8_t, mouseproto::kFrameLength>& buffer);
  void RefreshPages(bool macroPage);
  // Reads the mouse of the given connection into the current profile,
  // refreshes the pages and shows the firmware version. False (logged) when
  // the mouse did not answer.
  bool ReadAndShow(int kind);
  // After a connection that found unsent writes: the whole profile.
  void WriteBackIfUnsent();
  void RefreshLightingIfAny();
  // A profile switch or a reset brings the profile's own current light mode.
  void AdoptStoredLightMode();
  bool HasLighting();
  // Whether the macro's stream for the button fits the 15 packets.
  bool MacroFits(int keyCode, int macroId);
  int CurrentType() const { return session_.CurrentDeviceType(); }

  DeviceManager& manager_;
  DeviceSession& session_;
  SettingsStore& store_;
  DeviceObserver& observer_;
  ModelDefaults& model_;
  Clock& clock_;
  TextLookup text_;

  std::atomic<int> currentProfile_{1};
  std::atomic<int> lightMode_{1};
  std::atomic<int> reportRateChoices_{4};
  std::atomic<int> linkByte_{0};
  std::atomic<int> chargeState_{0};
  std::atomic<int> batteryLevel_{0};
  mutable std::mutex lock_;  // guards the fields below
  mouseproto::SensorRow sensor_ = mouseproto::DefaultSensorRow();
  bool pendingMacro_ = false;
  int pendingKey_ = -1;
  std::set<int> readTypes_;
  std::set<int> unsentTypes_;
  bool writeBack_ = false;
  // The key slot table each device type last accepted, as far as the
  // program knows it.
  std::map<int, mouseproto::KeySlotTable> sentSlots_;
};
