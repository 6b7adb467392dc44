#pragma once
// DeviceObserver: everything the device worker does to the window side, in
// one interface: the device list and battery, the DPI controls and the DPI
// message, the page refreshes, the profile label, the firmware version and
// the update check. It extends DeviceEvents, which discovery uses.
//
// Every call is made on the worker thread, in the order the jobs issue
// them. The window implements the interface by handing each call to its own
// thread in that order (DeviceObserverRelay does exactly that); the few
// queries (the Get/Shown calls) are answered from the relay's mirror of the
// window, so the worker never waits for the window thread. Tests record
// the calls.

#include <string>

#include "device/DeviceEvents.h"
#include "device/DpiCodec.h"

class DeviceObserver : public DeviceEvents {
 public:
  // --- Caption band and device list -------------------------------------------------
  // The battery indicator (level in percent, charging flag).
  virtual void SetBatteryInfo(int level, int charging) = 0;
  // The battery of a device in the device list control.
  virtual void SetDeviceBattery(int deviceType, int charging, int level) = 0;
  // After a mouse went off line: the device list when any device is still
  // on line, otherwise the no-device picture and text.
  virtual void ShowDeviceList(bool anyOnline) = 0;
  // Stops a running macro recording (the mouse it was for is gone).
  virtual void StopMacroRecording() = 0;

  // --- DPI page ---------------------------------------------------------------------
  // The sensor's row: the DPI slider runs from 1 to row.slider_positions and
  // shows the row's range and step texts.
  virtual void SetSensorRow(const mouseproto::SensorRow& row) = 0;
  // How many report rates the page offers (4 to 7).
  virtual void SetReportRateChoices(int choices) = 0;
  // The stage count and selected stage the DPI controls show.
  virtual int ShownStageCount() = 0;
  virtual int ShownStage() = 0;
  // The DPI value of a stage as the DPI control holds it.
  virtual int StageDpi(int stage) = 0;
  // Selects the count in the stage-count box and redraws the stages.
  virtual void SelectStageCount(int count) = 0;
  // Selects a stage in the DPI control.
  virtual void SelectStage(int stage) = 0;
  // Puts a value and a colour into one stage of the DPI control.
  virtual void SetStage(int stage, int dpi, int colour) = 0;
  // Moves the DPI slider to the position of a DPI value.
  virtual void MoveSliderToDpi(int dpi) = 0;
  // Shows a DPI value in the on-screen DPI message.
  virtual void ShowDpiMessage(int dpi) = 0;

  // --- Pages and profile ----------------------------------------------------------------
  // Each page reads the current profile again into its controls.
  virtual void RefreshKeyPage() = 0;
  virtual void RefreshMacroPage() = 0;
  virtual void RefreshDPI() = 0;
  // Also creates the profile's default light records when it has none.
  virtual void RefreshLighting() = 0;
  // The current profile and its name for the profile label.
  virtual void ShowProfile(int profile, const std::wstring& name) = 0;
  // The macro assigned to a button is too long for the mouse (more than 15
  // packets): it was not sent, and the button keeps the function the mouse
  // had for it. The key page tells the user.
  virtual void MacroTooLong(int keyCode, int macroId) = 0;

  // --- Firmware ---------------------------------------------------------------------------
  // The connected interface's release number (the firmware version).
  virtual void ShowFirmwareVersion(int release) = 0;
  // Asks the model's web address for a newer firmware. The window runs the
  // HTTP exchange on a thread of its own; the worker goes on at once.
  virtual void CheckOnlineVersion() = 0;
  // Closes the update tip dialog when it exists (its OK action).
  virtual void CloseUpdateTip() = 0;
};
