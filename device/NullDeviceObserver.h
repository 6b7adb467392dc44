#pragma once
// NullDeviceObserver: a window side that shows nothing and answers every
// query with 0, for runs without a window (the command-line listing, the
// benchmarks). Derive from it to watch a few calls.

#include "device/DeviceObserver.h"

class NullDeviceObserver : public DeviceObserver {
 public:
  void SetAllDeviceState(int) override {}
  void SetDeviceState(int, int, int) override {}
  void SetDeviceVersion(int, int) override {}
  int GetOnlineDevCount() override { return 0; }
  void SetSelectDevice(int) override {}
  int GetSelectDevice() override { return 0; }
  void ClosePopups() override {}
  void ShowModel(int) override {}
  void ShowDeviceState(int) override {}
  void AppendJob(int) override {}
  void SetBatteryInfo(int, int) override {}
  void SetDeviceBattery(int, int, int) override {}
  void ShowDeviceList(bool) override {}
  void StopMacroRecording() override {}
  void SetSensorRow(const mouseproto::SensorRow&) override {}
  void SetReportRateChoices(int) override {}
  int ShownStageCount() override { return 0; }
  int ShownStage() override { return 0; }
  int StageDpi(int) override { return 0; }
  void SelectStageCount(int) override {}
  void SelectStage(int) override {}
  void SetStage(int, int, int) override {}
  void MoveSliderToDpi(int) override {}
  void ShowDpiMessage(int) override {}
  void RefreshKeyPage() override {}
  void RefreshMacroPage() override {}
  void RefreshDPI() override {}
  void RefreshLighting() override {}
  void ShowProfile(int, const std::wstring&) override {}
  void MacroTooLong(int, int) override {}
  void ShowFirmwareVersion(int) override {}
  void CheckOnlineVersion() override {}
  void CloseUpdateTip() override {}
};
