#pragma once
// DeviceWorker: the worker thread of the main window. The window thread
// appends job codes; each step of the thread takes the first code and runs
// its job, or, with nothing queued and a device present, polls the mouse for
// the reports it sends on its own (link state with battery, DPI changes).
//
// Job codes:
//   1  catalog reload and enumeration, then connect (pause 0)
//   2  connect (pause 1 ms)                3  reconnect after 500 ms
//   4  reload the picked device            5  write the whole profile
//   6  pending macro and button functions  8  lighting
//   9  DPI stages   10 DPI colours   11 report rate   12 lift-off and sensor
//   13 power options   18 DPI defaults   20 factory restore
//   27 close the update tip between two 100 ms pauses
// Any other code (23 and 24 among them) is taken and dropped.

#include "device/CThreadBasic.h"
#include "device/DeviceSequences.h"
#include "device/JobQueue.h"

class DeviceWorker : public CThreadBasic {
 public:
  static constexpr int kJobStart = 1;
  static constexpr int kJobConnect = 2;
  static constexpr int kJobReconnect = 3;
  static constexpr int kJobReload = 4;
  static constexpr int kJobWriteProfile = 5;
  static constexpr int kJobButtonFunctions = 6;
  static constexpr int kJobLighting = 8;
  static constexpr int kJobDpiStages = 9;
  static constexpr int kJobDpiColours = 10;
  static constexpr int kJobReportRate = 11;
  static constexpr int kJobLiftOff = 12;
  static constexpr int kJobPowerOptions = 13;
  static constexpr int kJobDpiDefaults = 18;
  static constexpr int kJobFactoryRestore = 20;
  static constexpr int kJobCloseUpdateTip = 27;
  static constexpr int kUpdateTipPauseMs = 100;
  static constexpr int kNoMouseTextId = 50;

  // The session loads models through model from now on (SetModelLoader);
  // text gives the profile word new profiles are named after.
  DeviceWorker(DeviceManager& manager, DeviceSession& session, SettingsStore& store, DeviceObserver& observer,
               ModelDefaults& model, Clock& clock, DeviceSequences::TextLookup text);
  ~DeviceWorker() override;

  // Appends a job code; never waits. Any thread.
  void AppendJob(int code);
  JobQueue& Jobs() { return jobs_; }
  DeviceSequences& Sequences() { return sequences_; }

  // One step of the thread: a job, or the notification poll.
  void Step() override;
  void RunJob(int code);
  // One read of the mouse's own reports and their handling.
  void PollNotifications();

 private:
  void OnDpiChange(uint8_t value);
  void OnLinkChange(const DeviceManager::InfoReply& report, int polledType);

  DeviceManager& manager_;
  DeviceSession& session_;
  SettingsStore& store_;
  DeviceObserver& observer_;
  ModelDefaults& model_;
  Clock& clock_;
  JobQueue jobs_;
  DeviceSequences sequences_;
};
