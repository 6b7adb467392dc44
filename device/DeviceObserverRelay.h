#pragma once
// DeviceObserverRelay: hands every call of the worker to the window thread,
// in the order the worker makes them. The window gives a post function that
// queues a task on its own thread (its message queue); each notification
// becomes one task and the worker goes on at once; each query (GetSelectDevice,
// ShownStageCount, ...) becomes a task the worker waits for, so its answer
// reflects every update posted before it.
//
// post must run every task it is given: a query waits for its task. A query
// made on the window thread itself is answered there at once instead, since
// waiting for a task queued behind the running one could never end; it then
// sees the window as it stands, not the updates still queued. A query must
// not be made while the window thread waits for the worker.
// CheckOnlineVersion may take seconds (an HTTP exchange); a window that
// does not want it on its own thread derives from the relay and overrides
// it to run the check on the worker.

#include <functional>
#include <future>
#include <string>
#include <thread>

#include "device/DeviceObserver.h"

class DeviceObserverRelay : public DeviceObserver {
 public:
  using Task = std::function<void()>;
  using Post = std::function<void(Task)>;

  // window is called on the window thread only; post must keep the order of
  // the tasks it is given. windowThread is the thread post runs tasks on;
  // the window makes the relay there, hence the default.
  DeviceObserverRelay(DeviceObserver& window, Post post, std::thread::id windowThread = std::this_thread::get_id())
      : window_(window), post_(std::move(post)), windowThread_(windowThread) {}

  // DeviceEvents
  void SetAllDeviceState(int state) override { Tell([=, this] { window_.SetAllDeviceState(state); }); }
  void SetDeviceState(int type, int mode, int online) override {
    Tell([=, this] { window_.SetDeviceState(type, mode, online); });
  }
  void SetDeviceVersion(int type, int release) override { Tell([=, this] { window_.SetDeviceVersion(type, release); }); }
  int GetOnlineDevCount() override { return Ask([this] { return window_.GetOnlineDevCount(); }); }
  void SetSelectDevice(int type) override { Tell([=, this] { window_.SetSelectDevice(type); }); }
  int GetSelectDevice() override { return Ask([this] { return window_.GetSelectDevice(); }); }
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
  int ShownStageCount() override { return Ask([this] { return window_.ShownStageCount(); }); }
  int ShownStage() override { return Ask([this] { return window_.ShownStage(); }); }
  int StageDpi(int stage) override { return Ask([=, this] { return window_.StageDpi(stage); }); }
  void SelectStageCount(int count) override { Tell([=, this] { window_.SelectStageCount(count); }); }
  void SelectStage(int stage) override { Tell([=, this] { window_.SelectStage(stage); }); }
  void SetStage(int stage, int dpi, int colour) override { Tell([=, this] { window_.SetStage(stage, dpi, colour); }); }
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
  void Tell(Task task) { post_(std::move(task)); }

  template <typename Query>
  int Ask(Query query) {
    if (std::this_thread::get_id() == windowThread_) return query();
    auto answer = std::make_shared<std::promise<int>>();
    std::future<int> result = answer->get_future();
    post_([answer, query] { answer->set_value(query()); });
    return result.get();
  }

  DeviceObserver& window_;
  Post post_;
  std::thread::id windowThread_;
};
