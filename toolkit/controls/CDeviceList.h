#pragma once
// CDeviceList: the main window's list of the catalogue's mice. It holds
// every device with its picture, its two connection states (wired and
// wireless, say), battery and firmware version, and shows the selected
// online device: its picture, name, version, battery gauge and connection
// mode. The arrows beside it step through the online devices.
//
// A device is online when either state is above 0. The online list is
// rebuilt by GetOnlineDevCount, as the device layer calls it after each
// round of state changes; the selection indexes it.
//
// Two layouts: a card (picture above the text) when the list is at least
// as tall as it is wide, a row (picture at the left) otherwise.
//
// Notifications: a left release on the shown device sends code 2
// (wParam 0); everything else passes to the parent as in any panel.

#include <memory>
#include <mutex>
#include <vector>

#include "toolkit/core/MPanel.h"

namespace DUI {

class CDeviceList : public MPanel {
 public:
  struct Device {
    CString name;
    int key = 0;      // the catalogue's device number
    int state0 = 0;   // first connection state (wired)
    int state1 = 0;   // second connection state (wireless)
    int charging = 0;
    int battery = 0;
    int version = 0;
    std::unique_ptr<Image> picture;
    int pictureWidth = 0;
    int pictureHeight = 0;
    CRect rect;  // where it is drawn; empty while not shown
  };

  static constexpr float kFactor = 0.8f;  // pictures are drawn at this scale

  CDeviceList(MObject* parent, UINT id, CRect rect, int visible, int unused);
  ~CDeviceList() override;

  // Appends a device (states, battery and version 0); the picture is read
  // from the full path at its natural size (none when missing). Returns
  // the index of the last device.
  int AddDevice(CString name, int key, CString picture);
  void ClearList();
  // For the first device with the key; which 0 = state 0, 1 = state 1.
  void SetDeviceState(int key, int which, int value);
  void SetAllDeviceState(int value);
  void SetDeviceBattery(int key, int charging, int level);
  void SetDeviceVersion(int key, int version);
  // Rebuilds the online list from the devices in order; returns its size.
  int GetOnlineDevCount();
  // Selects the online device with the key, else the first online device,
  // else none (-1).
  void SetSelectDevice(int key);
  // The key of the selected online device; 0 when none is online (the
  // caller checks GetOnlineDevCount first).
  int GetSelectDevice();
  // selection += step, wrapping at both ends of the online list.
  void SetSelectIndex(int step);
  void SetVersionDesc(CString caption);
  CString GetVersionDesc() const { return m_versionDesc; }
  int SetBatteryBkg(const wchar_t* file);
  int SetBatteryIcon(const wchar_t* fill, const wchar_t* charging);
  // The connection mode strip: frame 0 wired, frame 1 wireless.
  int SetDevModeImage(CString file);

  // -1 for a key that is not listed.
  int GetDeviceState(int key, int which);
  // The key of device `index` (all devices), -1 out of range.
  int GetItemDeviceType(int index);
  // The selection as an index into the online list.
  void SetSelectItem(int index);
  int GetSelectItem() const { return m_select; }
  CString GetInspectState() override { return L"selected:" + std::to_wstring(m_select); }
  int GetItemCount();
  int GetHoverIndex() const { return m_hover; }
  // The rectangle of the shown device (empty when none is shown).
  CRect GetShownRect();

  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Picture {
    const Image* image = nullptr;
    int width = 0;
    int height = 0;
  };
  bool Load(Picture& picture, const wchar_t* file, int count);
  Device* FindDevice(int key);
  // Gives the shown device its rectangle (the whole list) and every other
  // device an empty one. Takes the list lock.
  void LayoutItems();
  void DrawDevice(HDC dc, const Device& device);
  void DrawBattery(HDC dc, const Device& device, int x, int y);
  void Redraw();

  std::recursive_mutex m_listLock;  // devices and online list
  std::vector<std::unique_ptr<Device>> m_devices;
  std::vector<Device*> m_online;
  int m_hover = -1;
  int m_select = 0;
  CString m_versionDesc = L"Version";
  Picture m_batteryBkg;
  Picture m_batteryFill;
  Picture m_batteryCharge;
  Picture m_modeImage;
};

}  // namespace DUI
