#pragma once
// PerformancePage: the performance page (container 55): the report rate,
// the lift-off distance, the sensor options, the button response time, the
// sleep time and power options, and a shortcut to the desktop's own mouse
// settings.
//
// Every change is stored in the current profile first and then sent by its
// write job (11 report rate, 12 lift-off and sensor, 13 power options and
// response time), which reads the store when it runs.
//
// Index
//   1. Building and layout
//   2. The worker's updates
//   3. Handlers
//   4. The desktop's mouse settings

#include <functional>
#include <optional>
#include <string>

#include "platform/shell/DesktopMouseSettings.h"
#include "ui/DevicePage.h"

namespace DUI {
class CCheckButton;
class CHelpButton;
class CImageButton;
class CRadioButton;
class MButton;
class MComboBox;
class MControl;
class MPicture;
class MText;
class NumberEdit;
class ReporteCtrl;
}  // namespace DUI

namespace ui {

class PerformancePage : public DevicePage {
 public:
  enum : DUI::UINT {
    kBackdrop = 150,
    kRateFrame = 121, kRateCaption, kRateHelp, kRateReset, kRates,
    kLiftFrame = 126, kLiftCaption, kLiftHelp, kLift1, kLift2,
    kSensorFrame = 131, kSensorCaption, kSensorHelp, kSensorSnap, kSensorRipple, kSensorSync,
    kResponseFrame = 137, kResponseCaption, kResponse,
    kSleepFrame = 140, kSleepCaption, kPowerCaption, kMoveWakeup, kMoveCloseLight, kSleep,
    kDesktopFrame = 146, kDesktopCaption, kDesktopIcon, kDesktopButton,
  };
  // The rates up to 1000 Hz, and all seven when the mouse offers seven.
  static constexpr int kBasicRates = 4;
  static constexpr int kAllRates = 7;

  using Launcher = std::function<bool(const platform::DesktopCommand&)>;

  explicit PerformancePage(DeviceMainDlg& dlg, MainPage& container);

  // --- 1. Building and layout ---------------------------------------------------------
  void Build() override;
  void Layout(DUI::CRect rect, float scale) override;
  bool OnNotify(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  void RefreshTexts() override;
  // The model's flags show or leave out the lift-off and sensor areas.
  void OnModelShown() override;
  void OnProfileChanged() override { RefreshDPI(); }

  // --- 2. The worker's updates ----------------------------------------------------------
  void RefreshDPI() override;
  void SetReportRateChoices(int choices) override;

  // --- 4. The desktop's mouse settings ---------------------------------------------------
  // Looks up the settings program again (the page does at its start, from
  // the process's environment) and enables button 149 accordingly.
  void FindDesktopSettings(std::string_view currentDesktop, std::string_view searchPath);
  const std::optional<platform::DesktopCommand>& DesktopSettings() const { return m_desktopSettings; }
  // What starts the program; tests record instead.
  void SetLauncher(Launcher launcher) { m_launcher = std::move(launcher); }

  // --- State for the tests -------------------------------------------------------------
  DUI::ReporteCtrl* Rates() const { return m_rates; }
  // The page's control with that id (121 to 149); null for another id.
  DUI::MControl* Control(DUI::UINT id) const;
  int ReportRateChoices() const { return m_choices; }

 private:
  // --- 3. Handlers ------------------------------------------------------------------------
  void OnRatePicked(int index);
  void OnRateReset();
  void OnLiftOff(int height);
  void OnSensorOption();
  void OnResponseEdited();
  void OnResponseCommitted();
  void OnSleepPicked();
  void OnPowerOption(DUI::CCheckButton* box, const wchar_t* key);
  void OnOpenDesktopSettings();

  void FillRates();
  void ShowDesktopButton();
  void Save(const std::wstring& key, int value);
  int Load(const std::wstring& key);
  void Queue(int job);

  DUI::MPicture* m_backdrop = nullptr;
  DUI::MPicture* m_frames[6] = {};
  DUI::MText* m_captions[6] = {};
  DUI::CHelpButton* m_rateHelp = nullptr;
  DUI::CHelpButton* m_liftHelp = nullptr;
  DUI::CHelpButton* m_sensorHelp = nullptr;
  DUI::CImageButton* m_rateReset = nullptr;
  DUI::ReporteCtrl* m_rates = nullptr;
  DUI::CRadioButton* m_lift[2] = {};
  DUI::CCheckButton* m_sensor[3] = {};
  DUI::NumberEdit* m_response = nullptr;
  DUI::MText* m_powerCaption = nullptr;
  DUI::CCheckButton* m_moveWakeup = nullptr;
  DUI::CCheckButton* m_moveCloseLight = nullptr;
  DUI::MComboBox* m_sleep = nullptr;
  DUI::MPicture* m_desktopIcon = nullptr;
  DUI::MButton* m_desktopButton = nullptr;

  int m_choices = kBasicRates;
  bool m_showLift = true;
  bool m_showSensor = true;
  std::optional<platform::DesktopCommand> m_desktopSettings;
  Launcher m_launcher;
};

}  // namespace ui
