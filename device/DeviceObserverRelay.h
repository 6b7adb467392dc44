#pragma once
// DeviceObserverRelay: hands every call of the worker to the window thread,
// in the order the worker makes them, and answers the worker's queries
// (GetSelectDevice, ShownStageCount, ...) without waiting for that thread.
//
// The window gives a post function that queues a task on its own thread
// (its message queue); each notification becomes one task and the worker
// goes on at once. For the queries the relay keeps a mirror of the state
// they read (WindowMirror): the window publishes it after each relayed task
// and whenever it changes by itself (input), and the relay applies to a copy
// of it every change it has posted since, so an answer reflects every update
// posted before it, whether or not the window thread has run it yet. A page
// refresh (RefreshDPI) shows in the answers once the window has run it.
//
// post must keep the order of the tasks it is given. CheckOnlineVersion is
// a notification like the others: the window runs the HTTP exchange away
// from its own thread.

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "device/DeviceObserver.h"
#include "device/WindowMirror.h"

class DeviceObserverRelay : public DeviceObserver {
 public:
  using Task = std::function<void()>;
  using Post = std::function<void(Task)>;
  // Fills the mirror with what the window shows now (window thread). The
  // default asks the window's own DPI queries and keeps the device list as
  // the relayed changes built it.
  using Snapshot = std::function<void(WindowMirror&)>;

  // window is called on the window thread only. windowThread is the thread
  // post runs tasks on; the window makes the relay there, hence the default.
  DeviceObserverRelay(DeviceObserver& window, Post post, std::thread::id windowThread = std::this_thread::get_id())
      : window_(window), post_(std::move(post)), windowThread_(windowThread) {}

  // Window thread, before the worker starts.
  void SetSnapshot(Snapshot snapshot) { snapshot_ = std::move(snapshot); }
  // Window thread: takes the window's state now, as of the tasks run so far.
  void Publish();
  // What the queries answer now (any thread).
  WindowMirror Current();

  // DeviceEvents
  void SetAllDeviceState(int state) override;
  void SetDeviceState(int type, int mode, int online) override;
  void SetDeviceVersion(int type, int release) override { Tell([=, this] { window_.SetDeviceVersion(type, release); }); }
  int GetOnlineDevCount() override { return Answer().OnlineCount(); }
  void SetSelectDevice(int type) override;
  int GetSelectDevice() override { return Answer().SelectedType(); }
  void ClosePopups() override { Tell([this] { window_.ClosePopups(); }); }
  void ShowModel(int type) override { Tell([=, this] { window_.ShowModel(type); }); }
  void ShowDeviceState(int text) override { Tell([=, this] { window_.ShowDeviceState(text); }); }
  void AppendJob(int code) override { Tell([=, this] { window_.AppendJob(code); }); }

  // DeviceObserver
  void SetBatteryInfo(int level, int charging) override { Tell([=, this] { window_.SetBatteryInfo(level, charging); }); }
  void SetDeviceBattery(int type, int charging, int level) override {
    Tell([=, this] { window_.SetDeviceBattery(type, charging, level); });
  }
  void ShowDeviceList(bool any) override { Tell([=, this] { window_.ShowDeviceList(any); }); }
  void StopMacroRecording() override { Tell([this] { window_.StopMacroRecording(); }); }
  void SetSensorRow(const mouseproto::SensorRow& row) override { Tell([=, this] { window_.SetSensorRow(row); }); }
  void SetReportRateChoices(int choices) override { Tell([=, this] { window_.SetReportRateChoices(choices); }); }
  int ShownStageCount() override { return Answer().stageCount; }
  int ShownStage() override { return Answer().stage; }
  int StageDpi(int stage) override;
  void SelectStageCount(int count) override;
  void SelectStage(int stage) override;
  void SetStage(int stage, int dpi, int colour) override;
  void MoveSliderToDpi(int dpi) override { Tell([=, this] { window_.MoveSliderToDpi(dpi); }); }
  void ShowDpiMessage(int dpi) override { Tell([=, this] { window_.ShowDpiMessage(dpi); }); }
  void RefreshKeyPage() override { Tell([this] { window_.RefreshKeyPage(); }); }
  void RefreshMacroPage() override { Tell([this] { window_.RefreshMacroPage(); }); }
  void RefreshDPI() override { Tell([this] { window_.RefreshDPI(); }); }
  void RefreshLighting() override { Tell([this] { window_.RefreshLighting(); }); }
  void ShowProfile(int profile, const std::wstring& name) override {
    Tell([=, this] { window_.ShowProfile(profile, name); });
  }
  void MacroTooLong(int keyCode, int macroId) override {
    Tell([=, this] { window_.MacroTooLong(keyCode, macroId); });
  }
  void ShowFirmwareVersion(int release) override { Tell([=, this] { window_.ShowFirmwareVersion(release); }); }
  void CheckOnlineVersion() override { Tell([this] { window_.CheckOnlineVersion(); }); }
  void CloseUpdateTip() override { Tell([this] { window_.CloseUpdateTip(); }); }

 private:
  using Change = std::function<void(WindowMirror&)>;

  // Posts task; change is what it will do to the mirrored state.
  void Tell(Task task, Change change = nullptr);
  // A query's answer: on the window thread the window is published first.
  WindowMirror Answer();

  DeviceObserver& window_;
  Post post_;
  std::thread::id windowThread_;
  Snapshot snapshot_;

  // Held while a task is numbered and posted, so the numbers follow the
  // order of the window's queue (recursive: a post may run its task at once).
  std::recursive_mutex postLock_;
  std::uint64_t posted_ = 0;

  std::mutex stateLock_;  // guards the fields below
  WindowMirror published_;
  std::uint64_t applied_ = 0;                             // tasks the window has run
  std::deque<std::pair<std::uint64_t, Change>> pending_;  // posted, not yet published
};
