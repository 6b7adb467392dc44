#pragma once
// DeviceMainDlg: the program's one top-level window. It owns the caption
// band, the tab strip with its page containers, the home page's device list,
// the worker thread with its job queue, and talks to the process around it
// (tray, quitting) through MainWindowHost.
//
// Index
//   MainPage            a page container that sees its own controls' notifications first
//   DeviceMainOptions   what the start-up code (or a test) hands the window
//   DeviceMainDlg       the window: building, layout, notifications, messages,
//                       the window side of the device worker
//
// Threads: everything here runs on the window thread. The worker reaches the
// window only through a DeviceObserverRelay, which posts each call as a task
// into this window's queue (kRunTasks), so the calls land in job order and
// the window never waits for the mouse. The window publishes to the relay
// what the worker's queries read (SnapshotForWorker) after each task and
// each message that may change it, so the worker never waits for the window.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "catalog/ModelDescription.h"
#include "device/DeviceObserver.h"
#include "device/ModelDefaults.h"
#include "platform/DeviceChange.h"
#include "store/KeyRecord.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/MTabLayout.h"
#include "ui/DevicePage.h"
#include "ui/MainWindowHost.h"
#include "ui/RawKeyEvent.h"

class Clock;
class HidBackend;
class DeviceManager;
class DeviceSession;
class DeviceWorker;
class DeviceObserverRelay;
struct WindowMirror;
class CatalogModelDefaults;
class SettingsStore;

namespace DUI {
class MPicture;
class MText;
class CTextButton;
class CImageButton;
class CIconButton;
class MButton;
class MTabCtrl;
class BatteryCtrl;
class CDeviceState;
class CDeviceList;
}  // namespace DUI

namespace ui {

class SaveWaitDlg;
class DPIMsgDlg;
class UpdateNotice;
class UpdateTipDlg;
struct UpdateLines;
class ProfileExchange;

// A page container. The configuration pages reuse control ids, so a
// notification is routed by the page that owns the control: the page's
// handler sees it first, and only what it leaves goes up to the window.
class MainPage : public DUI::MTabLayout {
 public:
  using Handler = std::function<bool(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam)>;

  MainPage(DUI::MObject* parent, DUI::UINT id, DUI::CRect rect, int visible) : MTabLayout(parent, id, rect, visible) {}
  // The page's own reaction; returns true when it took the notification.
  void SetHandler(Handler handler) { m_handler = std::move(handler); }
  DUI::LRESULT OnMessage(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;

 private:
  Handler m_handler;
};

struct DeviceMainOptions {
  std::shared_ptr<HidBackend> backend;  // real interfaces or the simulated mice
  std::shared_ptr<Clock> clock;
  MainWindowHost* host = nullptr;       // required
  SettingsStore* store = nullptr;       // null: the process-wide store
  std::filesystem::path programFolder;  // empty: shell::ProgramFolder()
  // Tests run the jobs themselves and leave the thread unstarted.
  bool startWorker = true;
  // The demo on simulated mice: the caption says so.
  bool demo = false;
  // Whether a connected mouse's firmware is looked up on the model's web
  // address (off for a screenshot).
  bool onlineCheck = true;
  // Asked instead of the model's firmware address when not empty (a local
  // update server).
  std::wstring firmwareAddress;
};

class DeviceMainDlg : public DUI::MDialog, public DeviceObserver {
 public:
  // --- Ids of this window's controls --------------------------------------------------
  enum : DUI::UINT {
    kBackground = 30, kModelPicture, kCaptionBand, kFooterBand, kLogo, kTitle, kFooterText, kLink,
    kClose, kMinimize, kSettings, kMaximize,
    kBattery = 43, kDeviceState, kProfileButton, kActionButton, kTabBackground, kTabs,
    kHomePage = 49, kKeyPage = 50, kDpiPage = 52, kMacroPage, kLightPage, kPerformancePage, kSettingsPage,
    kDeviceList = 57, kEmptyPicture, kEmptyText, kPrevious, kNext,
  };
  // --- Window messages --------------------------------------------------------------
  static constexpr DUI::UINT kTrayMessage = 1690;
  static constexpr DUI::UINT kQuitMessage = 1691;
  static constexpr DUI::UINT kVersionResult = 1692;
  static constexpr DUI::UINT kProfileCommand = 1705;
  static constexpr DUI::UINT kMacroMenu = 1709;
  static constexpr DUI::UINT kInsertMenu = 1710;
  static constexpr DUI::UINT kRecordMenu = 1711;
  static constexpr DUI::UINT kRefreshTexts = 2022;
  static constexpr DUI::UINT kRunTasks = WM_USER + 700;  // the relay's queued calls
  static constexpr DUI::WPARAM kCommandQuit = 100;
  static constexpr DUI::WPARAM kCommandAbout = 102;
  static constexpr DUI::LPARAM kQuitCode = 610;
  // --- Geometry -----------------------------------------------------------------
  static constexpr int kWidth = 1300;
  static constexpr int kHeight = 788;
  static constexpr int kTabCount = 6;
  static constexpr int kLightingTabIndex = 4;

  explicit DeviceMainDlg(DeviceMainOptions options);
  ~DeviceMainDlg() override;

  // Creates the window (InitUI, OnInitDialog), centres it and runs its loop;
  // show 0 creates everything but shows nothing (the "-hide" start).
  DUI::UINT Run(int show);
  // Creates and centres the window without entering the loop (tests, the
  // screenshot run).
  HWND CreateMain(int show);

  // --- What the pages and the start-up code use -----------------------------------
  void AppendJob(int code) override;
  void ShowSaveWait();
  void RefreshTexts();
  // Brings the window up as a tray click does (also a second start).
  void Activate();
  // Leaves the system settings page for the page shown before it.
  void CloseSettingsPage();
  bool IsSettingsPageShown() const;
  // A hot-plug event from any thread; handled on the window thread.
  void PostDeviceChange(platform::DeviceChangeEvent event);
  // A task for the window thread, run in the order given (any thread).
  void PostTask(std::function<void()> task);

  // --- State for the pages and the tests --------------------------------------------
  DeviceWorker& Worker() { return *m_worker; }
  DeviceSession& Session() { return *m_session; }
  DeviceManager& Manager() { return *m_manager; }
  // What the worker calls: the relay to this window.
  DeviceObserverRelay& Relay() { return *m_relay; }
  const Catalog& GetCatalog() const { return m_catalog; }
  const std::filesystem::path& GetProgramFolder() const { return m_programFolder; }
  DUI::MTabCtrl* GetTabs() const { return m_tabs; }
  DUI::CIconButton* GetProfileButton() const { return m_profileButton; }
  DUI::CDeviceList* GetDeviceList() const { return m_deviceList; }
  MainPage* GetPage(DUI::UINT containerId) const;
  int GetLastTabId() const { return m_lastTabId; }
  int GetLastTabIndex() const { return m_lastTabIndex; }
  int GetCurrentDeviceType() const { return m_currentDeviceType; }
  int GetCurrentProfile() const { return m_currentProfile; }
  // Makes the profile current (store, profile button, pages); send queues
  // the write of the whole profile to the mouse (job 5).
  void SwitchProfile(int profile, bool send);
  // The text of the profile button: the current profile's shown name.
  std::wstring ProfileLabel() const;
  // The profile export and import (the profile dialog's commands 1 and 2).
  ProfileExchange& Exchange() { return *m_exchange; }
  int GetModelLoadCount() const { return m_modelLoads; }
  int GetVisibleTabCount() const;
  bool GetLighting() const { return m_lighting != 0; }
  // The light effects the current model offers (its description's flags).
  LightEffects GetLightEffects() const;
  int GetShowDpiTips() const { return show_dpitips; }
  int GetShowSaveTips() const { return show_savetips; }
  int GetShowLod() const { return show_lod; }
  int GetShowSensor() const { return show_sensor; }
  const std::vector<KeyRecord>& GetDefaultKeys() const { return m_defaultKeys; }
  // The shown model's buttons with their places on the picture ("mouse_key").
  const std::vector<ModelButton>& GetModelButtons() const { return m_modelButtons; }
  const std::wstring& GetFirmwareUrl() const { return m_firmwareUrl; }
  // The process around the window (browser, tray); never null once built.
  MainWindowHost* Host() const { return m_options.host; }
  float GetScale() const { return m_scale; }
  SaveWaitDlg* GetSaveWait() const { return m_saveWait.get(); }
  DPIMsgDlg* GetDpiMessage() const { return m_dpiMessage.get(); }
  // The firmware and update lines the settings page shows, as last reported.
  const UpdateLines& GetUpdateLines() const;
  UpdateNotice& GetUpdateNotice() { return *m_updateNotice; }
  UpdateTipDlg* GetUpdateTip() const { return m_updateTip.get(); }
  // The release number of the first cable interface (0 without one), the
  // firmware version the About window shows.
  int GetCableRelease() const;
  // Whether a mouse is connected, as the caption's state text shows it.
  bool IsConnected() const { return m_connected; }
  // Tells the user that the mouse does not answer (text 57), once per
  // disconnection however often a page asks: a page whose changes cannot
  // reach the mouse calls it instead of a message box of its own.
  void TellNotLinked();
  int GetNotLinkedMessages() const { return m_notLinkedMessages; }
  // Starts or stops the 10 ms animation timer as the registered controls
  // need it: a window with nothing moving gets no timer wake-ups.
  void UpdateAnimationTimer();
  bool IsAnimationTimerRunning() const { return m_animationTimer != 0; }
  // The message box of a device action asked for while the mouse does not
  // answer; the message box is modal, so tests replace it.
  void SetMessageBox(std::function<int(const wchar_t* text, HWND, const wchar_t* title, int kind)> box) {
    m_messageBox = std::move(box);
  }
  // Opens the profile dialog over the button (ProfileDlg, modal); tests
  // replace it.
  void SetProfileDialog(std::function<void(DUI::CRect screenRect, int profile)> open) { m_profileDialog = std::move(open); }

  // --- The pages ------------------------------------------------------------------------
  // The page built into a container (50, 52 .. 56); null for the home page.
  DevicePage* GetDevicePage(DUI::UINT containerId) const;
  SettingsStore& Store() { return m_store; }
  // Asks a yes/no or information box through the replaceable message box.
  int Message(const wchar_t* text, const wchar_t* title, int kind) { return m_messageBox(text, m_hWnd, title, kind); }

  // --- Key capture from the window's own input ------------------------------------------------
  // While a listener is set, the window's key and mouse-button messages are
  // decoded into raw key events and handed to it before the toolkit's focus
  // and Tab handling sees them; mode says what they are for. Setting a
  // listener replaces the previous one.
  // Key messages are taken from the window while a listener is set; button
  // messages are handed to it and then go on to the controls, so the
  // recorder's own buttons stay usable. The input method is off meanwhile.
  using RawInputListener = std::function<void(const RawKeyEvent&)>;
  void SetRawInputListener(int mode, RawInputListener listener);
  void ClearRawInputListener() { m_rawInputListener = nullptr; }
  bool HasRawInputListener() const { return static_cast<bool>(m_rawInputListener); }
  int GetRawInputMode() const { return m_rawInputMode; }

  // --- Colours ----------------------------------------------------------------------------
  // The program's colour dialog over anchor (screen coordinates), starting
  // from colour (0xAARRGGBB); nothing when cancelled. MousePaletteDlg by
  // default; tests replace it.
  using ColourPicker = std::function<std::optional<std::uint32_t>(HWND owner, std::uint32_t colour, DUI::CRect anchor)>;
  void SetColourPicker(ColourPicker picker) { m_colourPicker = std::move(picker); }
  std::optional<std::uint32_t> PickColour(std::uint32_t colour, DUI::CRect anchor) {
    if (!m_colourPicker) return std::nullopt;
    return m_colourPicker(m_hWnd, colour, anchor);
  }

  // --- MDialog ----------------------------------------------------------------------
  DUI::LRESULT OnWindowMessage(DUI::UINT msg, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;
  int OnInitDialog() override;
  void InitUI(DUI::CRect client) override;
  void UISize(DUI::CRect client) override;
  DUI::LRESULT OnMessage(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  DUI::LRESULT OnNcActivate(int active) override;
  void OnTimer(DUI::UINT id) override;
  DUI::LRESULT OnClose() override;

  // --- DeviceObserver (window thread, through the relay) ---------------------------------
  void SetAllDeviceState(int state) override;
  void SetDeviceState(int deviceType, int mode, int online) override;
  void SetDeviceVersion(int deviceType, int release) override;
  int GetOnlineDevCount() override;
  void SetSelectDevice(int deviceType) override;
  int GetSelectDevice() override;
  void ClosePopups() override;
  void ShowModel(int deviceType) override;
  void ShowDeviceState(int titleTextId) override;
  void SetBatteryInfo(int level, int charging) override;
  void SetDeviceBattery(int deviceType, int charging, int level) override;
  void ShowDeviceList(bool anyOnline) override;
  void StopMacroRecording() override;
  void SetSensorRow(const mouseproto::SensorRow& row) override;
  void SetReportRateChoices(int choices) override;
  int ShownStageCount() override;
  int ShownStage() override;
  int StageDpi(int stage) override;
  void SelectStageCount(int count) override;
  void SelectStage(int stage) override;
  void SetStage(int stage, int dpi, int colour) override;
  void MoveSliderToDpi(int dpi) override;
  void ShowDpiMessage(int dpi) override;
  void RefreshKeyPage() override;
  void RefreshMacroPage() override;
  void RefreshDPI() override;
  void RefreshLighting() override;
  void ShowProfile(int profile, const std::wstring& name) override;
  void MacroTooLong(int keyCode, int macroId) override;
  void ShowFirmwareVersion(int release) override;
  void CheckOnlineVersion() override;
  void CloseUpdateTip() override;

 private:
  class CatalogToWindow;

  void ReadCatalogIntoList();
  void OnTabChange();
  void OnDeviceSelected();
  void OnProfileButton();
  void CloseRequest();
  void QuitProgram();
  void ShowSettingsPage();
  void RunTasks();
  void OfferUpdate();
  void SnapshotForWorker(WindowMirror& mirror);
  DUI::LRESULT HandleWindowMessage(DUI::UINT msg, DUI::WPARAM wParam, DUI::LPARAM lParam);
  // Hands a key or button message to the raw-input listener; true when the
  // message is taken from the window.
  bool TakeRawInput(DUI::UINT msg, DUI::WPARAM wParam, DUI::LPARAM lParam);
  TrayTexts CurrentTrayTexts() const;
  std::wstring Text(int id) const;

  DeviceMainOptions m_options;
  SettingsStore& m_store;
  std::filesystem::path m_programFolder;

  // The device side, in construction order.
  std::unique_ptr<DeviceManager> m_manager;
  std::unique_ptr<DeviceObserverRelay> m_relay;
  std::unique_ptr<DeviceSession> m_session;
  std::unique_ptr<CatalogModelDefaults> m_model;
  std::unique_ptr<DeviceWorker> m_worker;
  bool m_workerStarted = false;

  std::mutex m_tasksLock;
  std::deque<std::function<void()>> m_tasks;

  Catalog m_catalog;
  int m_lastTabId = 1;
  int m_lastTabIndex = 1;
  std::wstring m_website, m_feedback, m_question;
  std::wstring m_version, m_firmwareUrl;
  int m_currentDeviceType = 0;
  int m_currentProfile = 1;
  int m_deviceStateText = 50;
  float m_scale = 1.0f;
  int show_dpitips = 1, show_savetips = 1, show_lod = 0, show_sensor = 0;
  int m_lighting = 1;
  int m_modelLoads = 0;
  std::vector<KeyRecord> m_defaultKeys;
  std::vector<ModelButton> m_modelButtons;
  std::wstring m_profileName;

  // Controls of this window (DeviceMainDef's share of them).
  DUI::MPicture* m_background = nullptr;
  DUI::MPicture* m_modelPicture = nullptr;
  DUI::MPicture* m_captionBand = nullptr;
  DUI::MPicture* m_footerBand = nullptr;
  DUI::MPicture* m_logo = nullptr;
  DUI::MText* m_title = nullptr;
  DUI::MText* m_footerText = nullptr;
  DUI::CTextButton* m_link = nullptr;
  DUI::CImageButton* m_sysButtons[4] = {};  // close, minimise, settings, maximise
  DUI::BatteryCtrl* m_battery = nullptr;
  DUI::CDeviceState* m_deviceState = nullptr;
  DUI::CIconButton* m_profileButton = nullptr;
  DUI::MButton* m_actionButton = nullptr;
  DUI::MPicture* m_tabBackground = nullptr;
  DUI::MTabCtrl* m_tabs = nullptr;
  MainPage* m_pages[7] = {};  // 49, 50, 52 .. 56
  DUI::CDeviceList* m_deviceList = nullptr;
  DUI::MPicture* m_emptyPicture = nullptr;
  DUI::MText* m_emptyText = nullptr;
  DUI::CImageButton* m_previous = nullptr;
  DUI::CImageButton* m_next = nullptr;

  // The dialogs built beside this window.
  std::unique_ptr<DPIMsgDlg> m_dpiMessage;
  std::unique_ptr<SaveWaitDlg> m_saveWait;
  std::unique_ptr<UpdateNotice> m_updateNotice;
  std::unique_ptr<UpdateTipDlg> m_updateTip;
  DUI::UINT m_animationTimer = 0;
  bool m_closing = false;
  bool m_connected = false;
  bool m_notLinkedShown = false;
  int m_notLinkedMessages = 0;

  std::function<int(const wchar_t*, HWND, const wchar_t*, int)> m_messageBox;
  std::function<void(DUI::CRect, int)> m_profileDialog;
  std::unique_ptr<ProfileExchange> m_exchange;

  // The configuration pages, with the container each is built into.
  struct BuiltPage {
    DUI::UINT container;
    std::unique_ptr<DevicePage> page;
  };
  std::vector<BuiltPage> m_devicePages;
  template <typename F>
  void ForEachPage(F&& f) {
    for (BuiltPage& p : m_devicePages) f(*p.page);
  }

  RawInputListener m_rawInputListener;
  int m_rawInputMode = kRawInputNone;
  ColourPicker m_colourPicker;
};

}  // namespace ui
