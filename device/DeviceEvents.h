#pragma once
// DeviceEvents: what device discovery asks of the main window. The worker
// thread calls these in order; the window implements them by handing each
// call to its own thread (the queries wait for the answer). Tests record them.

class DeviceEvents {
 public:
  virtual ~DeviceEvents() = default;

  // The device list control.
  virtual void SetAllDeviceState(int state) = 0;
  virtual void SetDeviceState(int deviceType, int mode, int online) = 0;
  virtual void SetDeviceVersion(int deviceType, int release) = 0;
  virtual int GetOnlineDevCount() = 0;
  virtual void SetSelectDevice(int deviceType) = 0;
  virtual int GetSelectDevice() = 0;

  // The main window.
  virtual void ClosePopups() = 0;
  // Shows the model of a device type: its picture, lighting tab, DPI-page
  // elements, firmware address and button lists. The worker has already
  // switched the settings database to that model (ModelDefaults::LoadModel),
  // so the window never has to answer the worker before it goes on.
  virtual void ShowModel(int deviceType) = 0;
  // Shows the device state title (text 50 no mouse, 51 cable, 52 receiver)
  // with the page layout that goes with it.
  virtual void ShowDeviceState(int titleTextId) = 0;
  virtual void AppendJob(int code) = 0;
};
