#pragma once
// DevicePage: one configuration page of the main window. The window creates
// the pages (DevicePages.cpp) after its own controls, each with its page
// container; a page builds its controls into the container, lays them out,
// takes its controls' notifications (the container hands them over before
// the window sees them, since ids repeat across pages) and follows the
// worker's updates, which the window hands to every page in job order on
// the window thread.
//
// Every hook has a default that does nothing, so a page overrides only what
// concerns it. The queries answer false when the page does not show that
// state.

#include <memory>
#include <string>
#include <vector>

#include "device/DpiCodec.h"
#include "toolkit/core/CRect.h"
#include "toolkit/core/WinTypes.h"

namespace ui {

class DeviceMainDlg;
class MainPage;

class DevicePage {
 public:
  DevicePage(DeviceMainDlg& dlg, MainPage& container) : m_dlg(dlg), m_container(container) {}
  virtual ~DevicePage() = default;
  DevicePage(const DevicePage&) = delete;
  DevicePage& operator=(const DevicePage&) = delete;

  // --- Window life --------------------------------------------------------------
  // Builds the page's controls into its container (from the window's InitUI).
  virtual void Build() {}
  // Places the controls; rect is the container's, scale the window's.
  virtual void Layout(DUI::CRect rect, float scale) {
    (void)rect;
    (void)scale;
  }
  // A notification of one of this page's controls; true when taken.
  virtual bool OnNotify(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) {
    (void)id, (void)code, (void)wParam, (void)lParam;
    return false;
  }
  // A window message the window hands on (menus of the macro page, input
  // while a capture runs); true when taken.
  virtual bool OnWindowMessage(DUI::UINT msg, DUI::WPARAM wParam, DUI::LPARAM lParam) {
    (void)msg, (void)wParam, (void)lParam;
    return false;
  }
  // The page's tab was selected (true) or left (false).
  virtual void OnShow(bool shown) { (void)shown; }
  virtual void RefreshTexts() {}
  // A model was shown: the window's model flags, default keys and lighting
  // flag are current (the selected device type is GetCurrentDeviceType()).
  virtual void OnModelShown() {}
  // The current profile changed or was re-read: show the store's values.
  virtual void OnProfileChanged() {}

  // --- The worker's updates (window thread, job order) ------------------------------------
  virtual void RefreshKeyPage() {}
  virtual void RefreshMacroPage() {}
  virtual void RefreshDPI() {}
  virtual void RefreshLighting() {}
  virtual void StopMacroRecording() {}
  virtual void SetSensorRow(const mouseproto::SensorRow& row) { (void)row; }
  virtual void SetReportRateChoices(int choices) { (void)choices; }
  virtual bool ShownStageCount(int& count) {
    (void)count;
    return false;
  }
  virtual bool ShownStage(int& stage) {
    (void)stage;
    return false;
  }
  virtual bool StageDpi(int stage, int& dpi) {
    (void)stage, (void)dpi;
    return false;
  }
  virtual void SelectStageCount(int count) { (void)count; }
  virtual void SelectStage(int stage) { (void)stage; }
  virtual void SetStage(int stage, int dpi, int colour) { (void)stage, (void)dpi, (void)colour; }
  virtual void MoveSliderToDpi(int dpi) { (void)dpi; }
  virtual void MacroTooLong(int keyCode, int macroId) { (void)keyCode, (void)macroId; }
  virtual void ShowFirmwareVersion(int release) { (void)release; }
  // The outcome of the online update check: the state line to show and
  // whether a newer firmware can be fetched.
  virtual void ShowUpdateState(const std::wstring& text, bool newerFirmware) { (void)text, (void)newerFirmware; }

 protected:
  DeviceMainDlg& m_dlg;
  MainPage& m_container;
};

// One factory per page, each defined in its page's own file.
std::unique_ptr<DevicePage> MakeKeyPage(DeviceMainDlg& dlg, MainPage& container);
std::unique_ptr<DevicePage> MakeDpiPage(DeviceMainDlg& dlg, MainPage& container);
std::unique_ptr<DevicePage> MakeMacroPage(DeviceMainDlg& dlg, MainPage& container);
std::unique_ptr<DevicePage> MakeLightPage(DeviceMainDlg& dlg, MainPage& container);
std::unique_ptr<DevicePage> MakePerformancePage(DeviceMainDlg& dlg, MainPage& container);
std::unique_ptr<DevicePage> MakeSettingsPage(DeviceMainDlg& dlg, MainPage& container);

}  // namespace ui
