#include "ui/DeviceMainDlg.h"

// Index
//   1. Page containers
//   2. Construction, running, the task queue
//   3. Building (InitUI) and layout (UISize)
//   4. Start (OnInitDialog) and the catalog's device list
//   5. Control notifications
//   6. Window messages, closing and quitting
//   7. Texts
//   8. The window side of the device worker
//   9. Firmware version and update
//  10. About window and animation timer

#include <cwchar>

#include "catalog/CatalogModelDefaults.h"
#include "catalog/ModelDescription.h"
#include "device/Clock.h"
#include "device/DeviceManager.h"
#include "device/DeviceObserverRelay.h"
#include "device/DeviceSession.h"
#include "device/DeviceWorker.h"
#include "device/InterfaceProbe.h"
#include "platform/draw/Image.h"
#include "platform/window/TextInput.h"
#include "platform/window/Window.h"
#include "shell/AppNames.h"
#include "shell/DisplayNames.h"
#include "shell/Environment.h"
#include "shell/Localisation.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/BatteryCtrl.h"
#include "toolkit/controls/CDeviceList.h"
#include "toolkit/controls/CDeviceState.h"
#include "toolkit/core/CIconButton.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/CTextButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/MTabCtrl.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/Notify.h"
#include "ui/DPIMsgDlg.h"
#include "ui/RawKeyDecoder.h"
#include "ui/MousePaletteDlg.h"
#include "ui/ProfileDlg.h"
#include "ui/ProfileExchange.h"
#include "ui/SaveWaitDlg.h"
#include "ui/ShowMessage.h"
#include "ui/UpdateNotice.h"
#include "ui/UpdateTipDlg.h"

namespace ui {

using namespace DUI;

namespace {

// Text ids of this window.
enum : int {
  kTextTitle = 1, kTextLink = 2, kTextClose = 5, kTextMinimize = 6, kTextMaximize = 7, kTextSettings = 11,
  kTextQuit = 12, kTextFirmware = 15, kTextVersion = 17, kTextNoDevice = 56, kTextNotLinked = 57,
  kTextProfile = 61, kTextPrevious = 85, kTextNext = 86, kTextFirmwareVersion = 551, kTextAction = 558,
  kTextNotice = 576, kTextAbout = 613, kTextSimulated = 614,
};
constexpr int kAnimationPeriodMs = 10;
// The message box's yes/no buttons; yes answers 1.
constexpr int kYesNoBox = 4;

constexpr UINT kPageIds[7] = {DeviceMainDlg::kHomePage,  DeviceMainDlg::kKeyPage,   DeviceMainDlg::kDpiPage,
                              DeviceMainDlg::kMacroPage, DeviceMainDlg::kLightPage, DeviceMainDlg::kPerformancePage,
                              DeviceMainDlg::kSettingsPage};

struct TabItem {
  UINT id;
  int text;
  const wchar_t* icon;
  int page;  // index into kPageIds
};
constexpr TabItem kTabItems[DeviceMainDlg::kTabCount] = {
    {1, 71, L"icon\\tab_home.png", 0},     {2, 72, L"icon\\tab_mousekey.png", 1},
    {3, 73, L"icon\\tab_mousedpi.png", 2}, {4, 74, L"icon\\tab_macro.png", 3},
    {5, 75, L"icon\\tab_light.png", 4},    {7, 76, L"icon\\tab_mouseset.png", 5},
};

struct SysButton {
  UINT id;
  const wchar_t* image;
  int tip;
  int fromRight;
};
constexpr SysButton kSysButtons[4] = {
    {DeviceMainDlg::kClose, L"sysbtn_close.png", kTextClose, 50},
    {DeviceMainDlg::kMinimize, L"sysbtn_min.png", kTextMinimize, 82},
    {DeviceMainDlg::kSettings, L"sysbtn_setting.png", kTextSettings, 114},
    {DeviceMainDlg::kMaximize, L"sysbtn_maximize.png", kTextMaximize, 146},
};

constexpr Color kTextWhite(0xFFFFFFFF);

// Creates a control and hands it to its parent: the window's manager or a
// page container.
template <typename T, typename... Args>
T* Attach(MDialog* dlg, MPanel* panel, Args&&... args) {
  T* control = new T(panel != nullptr ? static_cast<MObject*>(panel) : static_cast<MObject*>(dlg),
                     std::forward<Args>(args)...);
  if (panel != nullptr) {
    panel->AttachControl(control, 1);
  } else {
    dlg->GetPaintManager()->AttachControl(control, 1);
  }
  return control;
}

}  // namespace

// --- 1. Page containers --------------------------------------------------------------------

LRESULT MainPage::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (m_handler && m_handler(id, code, wParam, lParam)) return 1;
  return MTabLayout::OnMessage(id, code, wParam, lParam);
}

// The catalog's full read, told to the device list and the device manager.
class DeviceMainDlg::CatalogToWindow : public CatalogSink {
 public:
  explicit CatalogToWindow(DeviceMainDlg& dlg) : dlg_(dlg) {}
  void ClearList() override { dlg_.m_deviceList->ClearList(); }
  void AddDevice(const std::wstring& name, int deviceType, const std::filesystem::path& image) override {
    dlg_.m_deviceList->AddDevice(name, deviceType, image.wstring());
  }
  void ClearModeTable() override { dlg_.m_manager->ClearModeEntries(); }
  void AddModeEntry(int vid, int pid, const std::wstring& name, int deviceType, int mode,
                    const std::wstring& devId) override {
    dlg_.m_manager->AddModeEntry(vid, pid, name, deviceType, mode, devId);
  }
  // The footer's software version line.
  void SetVersionTitle(const std::wstring& title) override { dlg_.m_footerText->SetTitle(title.c_str()); }

 private:
  DeviceMainDlg& dlg_;
};

// --- 2. Construction, running, the task queue ------------------------------------------------

DeviceMainDlg::DeviceMainDlg(DeviceMainOptions options)
    : m_options(std::move(options)),
      m_store(m_options.store != nullptr ? *m_options.store : SettingsStore::GetInstance()),
      m_programFolder(m_options.programFolder.empty() ? shell::ProgramFolder() : m_options.programFolder) {
  if (!m_options.clock) m_options.clock = std::make_shared<RealClock>();
  m_manager = std::make_unique<DeviceManager>(m_options.backend, m_options.clock);
  m_relay = std::make_unique<DeviceObserverRelay>(*this, [this](DeviceObserverRelay::Task task) {
    PostTask(std::move(task));
  });
  m_relay->SetSnapshot([this](WindowMirror& mirror) { SnapshotForWorker(mirror); });
  // An arriving interface is connected when it is the mice's vendor one.
  std::shared_ptr<HidBackend> backend = m_options.backend;
  m_session = std::make_unique<DeviceSession>(*m_manager, *m_relay, [backend](const std::string& node) {
    return backend != nullptr && ProbeVendorInterface(*backend, node);
  });
  m_model = std::make_unique<CatalogModelDefaults>(m_catalog, m_store, m_programFolder);
  m_worker = std::make_unique<DeviceWorker>(*m_manager, *m_session, m_store, *m_relay, *m_model, *m_options.clock,
                                            [](int id) { return shell::GetText(id); });
  m_messageBox = [](const wchar_t* text, HWND parent, const wchar_t* title, int kind) {
    return ShowMessage(text, parent, title, kind);
  };
  // The version check answers on its own thread; its lines reach the pages
  // on this one, and a newer version comes back as message 1692.
  m_updateNotice = std::make_unique<UpdateNotice>(
      [this](UpdateNotice::Task task) { PostTask(std::move(task)); },
      [this](const UpdateLines& lines) { ForEachPage([&](DevicePage& page) { page.ShowUpdateLines(lines); }); },
      [this](const std::wstring&) { PostMessageW(kVersionResult, 2, 1); });
  // The colour dialog speaks COLORREF (red in the low byte); the pages
  // speak 0xAARRGGBB.
  m_colourPicker = [](HWND owner, std::uint32_t colour, CRect) -> std::optional<std::uint32_t> {
    const auto swap = [](std::uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
    const std::optional<COLORREF> picked = MousePaletteDlg::Pick(owner, swap(colour));
    if (!picked) return std::nullopt;
    return 0xFF000000u | swap(*picked);
  };
  m_exchange = std::make_unique<ProfileExchange>(*this);
  m_profileDialog = [this](CRect rect, int profile) {
    const shell::DisplayNames names = shell::DisplayNames::FromInstalledLanguages();
    ProfileDlg dialog(m_store, names);
    dialog.Run(m_hWnd, rect, profile);
  };
}

LightEffects DeviceMainDlg::GetLightEffects() const { return m_model->Effects(); }

DeviceMainDlg::~DeviceMainDlg() {
  // The worker goes first: a job still running may post to this window, or
  // wait for the answer to a query, so the window's tasks keep running
  // while the thread winds down.
  if (m_workerStarted) {
    while (!m_worker->Stop(10)) RunTasks();
    m_worker->Join();
  }
  RunTasks();
  // A check still running is cancelled; what it already posted does nothing.
  m_updateNotice.reset();
  RunTasks();
  m_closing = true;
  if (m_options.host != nullptr) m_options.host->RemoveTray();
  if (m_saveWait) m_saveWait->DestroyWindow();
  if (m_updateTip) m_updateTip->DestroyWindow();
  if (m_dpiMessage) m_dpiMessage->Close();
  if (m_animationTimer != 0) KillMTimer(m_animationTimer);
  DestroyWindow();
}

HWND DeviceMainDlg::CreateMain(int show) {
  std::wstring title = shell::ApplicationName();
  if (m_options.demo) title += L" (" + Text(kTextSimulated) + L")";
  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, shown by the loop.
  HWND hwnd = Create(nullptr, title.c_str(), 0x96000000 & ~WS_VISIBLE, 0, CRect(0, 0, kWidth, kHeight));
  if (hwnd == nullptr) return nullptr;
  CenterWindow(nullptr);
  if (show != 0) ShowWindow(SW_SHOWNORMAL);
  return hwnd;
}

UINT DeviceMainDlg::Run(int show) {
  if (CreateMain(show) == nullptr) return UINT(-1);
  return ShowModal(show != 0 ? SW_SHOWNORMAL : SW_HIDE);
}

void DeviceMainDlg::PostTask(std::function<void()> task) {
  bool first = false;
  {
    std::lock_guard<std::mutex> lock(m_tasksLock);
    first = m_tasks.empty();
    m_tasks.push_back(std::move(task));
  }
  // One message wakes the loop for every task queued until it runs.
  if (first && m_hWnd != nullptr) PostMessageW(kRunTasks, 0, 0);
}

void DeviceMainDlg::RunTasks() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> lock(m_tasksLock);
      if (m_tasks.empty()) return;
      task = std::move(m_tasks.front());
      m_tasks.pop_front();
    }
    task();
  }
}

void DeviceMainDlg::PostDeviceChange(platform::DeviceChangeEvent event) {
  PostTask([this, event] { m_session->UpdateUSBDevice(event); });
}

DevicePage* DeviceMainDlg::GetDevicePage(UINT containerId) const {
  for (const BuiltPage& p : m_devicePages) {
    if (p.container == containerId) return p.page.get();
  }
  return nullptr;
}

MainPage* DeviceMainDlg::GetPage(UINT containerId) const {
  for (int i = 0; i < 7; ++i) {
    if (kPageIds[i] == containerId) return m_pages[i];
  }
  return nullptr;
}

int DeviceMainDlg::GetVisibleTabCount() const {
  int count = 0;
  for (int i = 0; i < m_tabs->GetItemCount(); ++i) count += m_tabs->IsItemVisible(i) ? 1 : 0;
  return count;
}

// --- 3. Building (InitUI) and layout (UISize) ------------------------------------------------

void DeviceMainDlg::InitUI(CRect client) {
  MDialog::InitUI(client);
  const std::wstring font = L"Open Sans Semibold";

  m_background = Attach<MPicture>(this, nullptr, kBackground, client, 1, 1);
  m_background->SetImage(L"main_bkg.png", 1);
  m_background->SetShowMode(ShowModeFrame, 20);
  m_modelPicture = Attach<MPicture>(this, nullptr, kModelPicture, CRect(), 0, 1);
  m_captionBand = Attach<MPicture>(this, nullptr, kCaptionBand, CRect(), 1, 1);
  m_captionBand->SetImage(L"img_area_caption.png", 1);
  m_captionBand->SetShowMode(ShowModeStretch, 0);
  m_footerBand = Attach<MPicture>(this, nullptr, kFooterBand, CRect(), 1, 1);
  m_footerBand->SetImage(L"img_area_caption.png", 1);
  m_footerBand->SetShowMode(ShowModeStretch, 0);
  m_logo = Attach<MPicture>(this, nullptr, kLogo, CRect(), 1, 1);
  m_logo->SetImage(L"logo.png", 1);

  m_title = Attach<MText>(this, nullptr, kTitle, CRect(), L"", 1, 1);
  m_title->SetFont(font.c_str(), 18, 0);
  m_title->SetTextColor(kTextWhite);
  m_title->SetAlignment(DT_CENTER, DT_VCENTER);
  m_footerText = Attach<MText>(this, nullptr, kFooterText, CRect(), L"", 1, 1);
  m_footerText->SetTextColor(kTextWhite);
  m_link = Attach<CTextButton>(this, nullptr, kLink, CRect(), L"", 1, 1);

  for (int i = 0; i < 4; ++i) {
    m_sysButtons[i] = Attach<CImageButton>(this, nullptr, kSysButtons[i].id, CRect(), L"", 1, 1);
    m_sysButtons[i]->SetImage(kSysButtons[i].image, 4);
  }

  m_battery = Attach<BatteryCtrl>(this, nullptr, kBattery, CRect(), 0, 1);
  m_battery->SetImage(L"icon\\icon_battery_bkg.png", 1);
  m_battery->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
  m_battery->SetTextColor(Color(0xFF3E556D));
  m_battery->AddMTimer();
  m_deviceState = Attach<CDeviceState>(this, nullptr, kDeviceState, CRect(), L"", 0, 1);
  m_deviceState->SetImage(L"img_area.png", 1);
  m_deviceState->SetTextColor(kTextWhite);
  m_profileButton = Attach<CIconButton>(this, nullptr, kProfileButton, CRect(), L"", 0, 1);
  m_profileButton->SetImage(L"img_button.png", 4);
  m_profileButton->SetIconImage(L"icon\\icon_arrow_up.png", 4);
  m_actionButton = Attach<MButton>(this, nullptr, kActionButton, CRect(), L"", 0, 1);
  m_actionButton->SetImage(L"img_button.png", 4);

  m_tabBackground = Attach<MPicture>(this, nullptr, kTabBackground, CRect(), 0, 1);
  m_tabBackground->SetImage(L"img_tab_bkg.png", 1);
  m_tabBackground->SetShowMode(ShowModeStretch, 0);
  for (int i = 0; i < 7; ++i) {
    m_pages[i] = Attach<MainPage>(this, nullptr, kPageIds[i], CRect(), i == 0 ? 1 : 0);
  }
  m_tabs = Attach<MTabCtrl>(this, nullptr, kTabs, CRect(), 0, 1);
  m_tabs->SetLayoutType(MTabCtrl::LayoutVertical);
  m_tabs->SetItemBkImage(L"img_tabitem_bkg.png");
  m_tabs->SetTabCtrlWidth(70);
  m_tabs->SetItemWidth(70, 70, 0);
  m_tabs->SetItemHeight(70, 70, 0);
  m_tabs->SetLeftRightPading(0, 70);
  m_tabs->SetTopBottomPading(0, 420);
  m_tabs->SetFont(font.c_str(), 12, 0);
  m_tabs->SetItemTextColor(Color(0xFF9FB4C8), kTextWhite, kTextWhite);
  for (const TabItem& item : kTabItems) m_tabs->InsertItem(item.id, L"", item.icon, m_pages[item.page]);
  // The strip shows the page of its selected tab only: home to begin with.
  m_tabs->SetSelectItem(0);

  MainPage* home = m_pages[0];
  m_deviceList = Attach<CDeviceList>(this, home, kDeviceList, CRect(), 1, 0);
  m_deviceList->SetImage(L"area_device.png", 1);
  m_deviceList->SetBatteryBkg(L"icon\\icon_battery_bkg.png");
  m_deviceList->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
  m_deviceList->SetDevModeImage(L"icon\\icon_devmode.png");
  m_emptyPicture = Attach<MPicture>(this, home, kEmptyPicture, CRect(), 0, 1);
  m_emptyPicture->SetImage(L"img_area.png", 1);
  m_emptyPicture->SetShowMode(ShowModeStretch, 0);
  m_emptyText = Attach<MText>(this, home, kEmptyText, CRect(), L"", 0, 1);
  m_emptyText->SetTextColor(kTextWhite);
  m_emptyText->SetAlignment(DT_CENTER, DT_VCENTER);
  m_previous = Attach<CImageButton>(this, home, kPrevious, CRect(), L"", 1, 1);
  m_previous->SetImage(L"img_btn_pre.png", 4);
  m_next = Attach<CImageButton>(this, home, kNext, CRect(), L"", 1, 1);
  m_next->SetImage(L"img_btn_next.png", 4);

  // The configuration pages build their controls into their containers.
  using PageFactory = std::unique_ptr<DevicePage> (*)(DeviceMainDlg&, MainPage&);
  const std::pair<UINT, PageFactory> factories[] = {
      {kKeyPage, &MakeKeyPage},     {kDpiPage, &MakeDpiPage},
      {kMacroPage, &MakeMacroPage}, {kLightPage, &MakeLightPage},
      {kPerformancePage, &MakePerformancePage}, {kSettingsPage, &MakeSettingsPage},
  };
  for (const auto& [container, make] : factories) {
    MainPage* page = GetPage(container);
    std::unique_ptr<DevicePage> built = make(*this, *page);
    DevicePage* raw = built.get();
    page->SetHandler([raw](UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
      return raw->OnNotify(id, code, wParam, lParam);
    });
    m_devicePages.push_back({container, std::move(built)});
    raw->Build();
  }
  RefreshTexts();
  UISize(client);
}

void DeviceMainDlg::UISize(CRect client) {
  const int W = client.Width(), H = client.Height();
  if (H > 0) m_scale = float(H) / float(kHeight);
  if (m_background == nullptr) return;
  const auto scaled = [this](int v) { return int(float(v) * m_scale + 0.5f); };

  m_background->SetRect(CRect(0, 0, W, H));
  m_captionBand->SetRect(CRect(1, 1, W - 1, 50));
  m_footerBand->SetRect(CRect(1, H - 40, W - 1, H - 1));
  m_logo->SetRect(CRect(W / 2 - 250, 10, W / 2 - 220, 40));
  for (int i = 0; i < 4; ++i) {
    const int x = W - kSysButtons[i].fromRight;
    m_sysButtons[i]->SetRect(CRect(x, 10, x + 30, 40));
  }
  m_sysButtons[3]->SetImage(platform::IsZoomed(m_hWnd) ? L"sysbtn_restore.png" : L"sysbtn_maximize.png", 4);
  m_title->SetRect(CRect(W / 2 - 210, 10, W / 2 + 210, 40));
  m_deviceState->SetRect(CRect(25, 11, 125, 38));
  // Ten pixels wider than the gauge's design place, so that the level in
  // per cent fits beside the gauge and its charging mark.
  m_battery->SetRect(CRect(175, 8, 280, 38));
  m_footerText->SetRect(CRect(25, H - 38, 225, H - 12));
  m_link->SetRect(CRect(W / 2 - 400, H - 38, W / 2 + 400, H - 12));
  m_profileButton->SetRect(CRect(W - 170, H - 38, W - 20, H - 12));
  m_actionButton->SetRect(CRect(W - 340, H - 38, W - 190, H - 12));
  m_tabBackground->SetRect(CRect(1, 50, 120, H - 40));
  m_tabs->SetRect(CRect(25, 75, 95, 635));

  const CRect pageRect(180, 80, W - 20, H - 50);
  for (int i = 0; i < 6; ++i) {
    m_pages[i]->SetRect(i == 0 ? CRect(20, 50, W - 20, H - 40) : pageRect);
  }
  m_pages[6]->SetRect(CRect(1, 50, W - 1, H - 40));
  for (BuiltPage& p : m_devicePages) p.page->Layout(GetPage(p.container)->GetRect(), m_scale);

  m_deviceList->SetRect(CRect(300, 200, W - 300, H - 100));
  const int emptyW = scaled(500), emptyH = scaled(80), emptyTop = scaled(200);
  const CRect empty(W / 2 - emptyW / 2, emptyTop, W / 2 + emptyW / 2, emptyTop + emptyH);
  m_emptyPicture->SetRect(empty);
  m_emptyText->SetRect(empty);
  m_previous->SetRect(CRect(250, H / 2 - 12, 274, H / 2 + 12));
  m_next->SetRect(CRect(W - 274, H / 2 - 12, W - 250, H / 2 + 12));
}

// --- 4. Start (OnInitDialog) and the catalog's device list -------------------------------------

int DeviceMainDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  // The marker of the running instance is the single-instance socket,
  // claimed by start-up before this window exists.
  // The window keeps its own copy of the icon's pixels.
  const std::unique_ptr<platform::Image> icon(MRender::LoadIconFromFile(MRender::GetSkinFile(L"orvane.png")));
  if (icon != nullptr) SetIcon(icon.get());
  if (m_options.host != nullptr) m_options.host->AddTray(CurrentTrayTexts());
  // Created hidden; shown over everything, without the focus, per value.
  m_dpiMessage = std::make_unique<DPIMsgDlg>();
  m_dpiMessage->CreateMsg(m_hWnd);

  shell::WriteRegistryInt(L"DeviceType", 101);
  ReadCatalogIntoList();

  AppendJob(DeviceWorker::kJobStart);
  if (m_options.startWorker && !m_workerStarted) m_workerStarted = m_worker->Start(true, 2);
  UpdateAnimationTimer();
  return 1;
}

void DeviceMainDlg::ReadCatalogIntoList() {
  CatalogToWindow sink(*this);
  m_catalog = ReadDeviceList(m_programFolder, std::filesystem::path(MRender::GetSkinFolder()), sink,
                             [](int id) { return shell::GetText(id); });
  m_website = m_catalog.website;
  m_feedback = m_catalog.feedback;
  m_question = m_catalog.qa;
  m_version = m_catalog.version;
  std::vector<ModeEntry> modes;
  for (const CatalogEntry& mode : m_catalog.modes) {
    ModeEntry entry;
    entry.vendor_id = mode.vid;
    entry.product_id = mode.pid;
    entry.device_type = mode.device_type;
    entry.mode = mode.mode;
    entry.dev_id = mode.dev_id;
    modes.push_back(entry);
  }
  m_session->SetCatalogModes(std::move(modes));
  ShowDeviceList(m_deviceList->GetOnlineDevCount() > 0);
  m_relay->Publish();
}

// --- 5. Control notifications ------------------------------------------------------------------

LRESULT DeviceMainDlg::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (id == kTabs) {
    OnTabChange();
    return 1;
  }
  if (id < kBackground || id > kNext || code != CN_CLICK) return MDialog::OnMessage(id, code, wParam, lParam);
  switch (id) {
    case kLink:
      if (!m_website.empty()) m_options.host->OpenAddress(m_website);
      break;
    case kClose:
      CloseRequest();
      break;
    case kMinimize:
      OnMinimize();
      break;
    case kSettings:
      ShowSettingsPage();
      break;
    case kMaximize:
      OnMaximize();
      UISize(GetClientRect());
      break;
    case kProfileButton:
      OnProfileButton();
      break;
    case kDeviceList:
      OnDeviceSelected();
      break;
    case kPrevious:
      m_deviceList->SetSelectIndex(-1);
      break;
    case kNext:
      m_deviceList->SetSelectIndex(1);
      break;
    default:
      return MDialog::OnMessage(id, code, wParam, lParam);
  }
  return 1;
}

void DeviceMainDlg::OnTabChange() {
  const int index = m_tabs->GetSelectItem();
  const int id = int(m_tabs->GetItemID(index));
  if (m_pages[6]->IsVisible()) {
    m_pages[6]->SetVisible(0);
    for (CImageButton* button : m_sysButtons) button->SetVisible(1);
  }
  if (m_lastTabId == 1) m_modelPicture->SetVisible(1);
  m_battery->SetVisible(1);
  if (id == 1) {
    for (MControl* c : std::initializer_list<MControl*>{m_modelPicture, m_tabBackground, m_tabs, m_battery,
                                                         m_deviceState, m_profileButton, m_actionButton}) {
      c->SetVisible(0);
    }
  } else if (id >= 2 && id <= 7) {
    m_lastTabIndex = index;
  }
  m_lastTabId = id;
  for (BuiltPage& p : m_devicePages) p.page->OnShow(GetPage(p.container)->IsVisible() != 0);
}

void DeviceMainDlg::OnDeviceSelected() {
  if (m_deviceList->GetOnlineDevCount() == 0) return;
  const int type = m_deviceList->GetSelectDevice();
  if (type != m_currentDeviceType) {
    m_currentDeviceType = type;
    m_session->SetCurrentDeviceType(type);
    m_manager->SetSelectedType(type);
    shell::WriteRegistryInt(L"DeviceType", type);
    // The database switch is quick and never touches the mouse.
    m_model->LoadModel(type);
    ShowModel(type);
  }
  if (m_manager->ConnectionKind() == 1) {
    ShowDeviceState(DeviceSession::kTextReceiver);
    AppendJob(DeviceWorker::kJobReload);
  } else {
    ShowDeviceState(DeviceSession::kTextCable);
  }
  m_tabBackground->SetVisible(1);
  m_tabs->SetVisible(1);
  // The tab strip reports the selection (CN_PRESS), which runs the tab
  // change; selecting the current index again reports nothing, so the
  // change runs here in that case.
  const int before = m_tabs->GetSelectItem();
  m_tabs->SetSelectItem(m_lastTabIndex);
  if (m_tabs->GetSelectItem() == before) OnTabChange();
  for (MControl* c : std::initializer_list<MControl*>{m_modelPicture, m_deviceState, m_profileButton, m_actionButton}) {
    c->SetVisible(1);
  }
}

void DeviceMainDlg::OnProfileButton() {
  if (!m_session->Linked()) {
    m_messageBox(Text(kTextNotLinked).c_str(), m_hWnd, Text(kTextNotice).c_str(), 0);
    return;
  }
  if (!m_profileDialog) return;
  // The dialog spans the button's width, from 210 to 5 pixels above it.
  const CRect button = m_profileButton->GetRect();
  RECT r{button.left, button.top - 210, button.right, button.top - 5};
  ClientToScreen(&r);
  m_profileDialog(CRect(r.left, r.top, r.right, r.bottom), m_currentProfile);
}

void DeviceMainDlg::ShowSettingsPage() {
  for (MControl* c : std::initializer_list<MControl*>{m_tabBackground, m_tabs, m_modelPicture, m_battery,
                                                       m_sysButtons[2], m_sysButtons[3]}) {
    c->SetVisible(0);
  }
  m_pages[6]->SetVisible(1);
  if (DevicePage* settings = GetDevicePage(kSettingsPage)) settings->OnShow(true);
}

void DeviceMainDlg::CloseSettingsPage() {
  if (!m_pages[6]->IsVisible()) return;
  m_pages[6]->SetVisible(0);
  for (CImageButton* button : m_sysButtons) button->SetVisible(1);
  // Home shows no tab strip, model or battery; a configuration page does.
  if (m_lastTabId != 1) {
    for (MControl* c : std::initializer_list<MControl*>{m_tabBackground, m_tabs, m_modelPicture, m_battery}) {
      c->SetVisible(1);
    }
  }
  if (DevicePage* settings = GetDevicePage(kSettingsPage)) settings->OnShow(false);
}

bool DeviceMainDlg::IsSettingsPageShown() const { return m_pages[6]->IsVisible() != 0; }

void DeviceMainDlg::ShowSaveWait() {
  if (show_savetips == 0) return;
  if (!m_saveWait) {
    m_saveWait = std::make_unique<SaveWaitDlg>();
    m_saveWait->CreateWait(m_hWnd);
    return;
  }
  m_saveWait->Restart();
}

// --- 6. Window messages, closing and quitting ---------------------------------------------------

void DeviceMainDlg::SetRawInputListener(int mode, RawInputListener listener) {
  m_rawInputMode = mode;
  m_rawInputListener = std::move(listener);
  platform::StopTextInput();
}

bool DeviceMainDlg::TakeRawInput(UINT msg, WPARAM wParam, LPARAM lParam) {
  RawKeyEvent event;
  if (RawKeyDecoder::Decode(msg, wParam, lParam, platform::GetMessageTime(), event) && !event.name.empty()) {
    // The listener may end the capture (and so itself) while it runs.
    const RawInputListener listener = m_rawInputListener;
    listener(event);
  }
  return RawKeyDecoder::IsKeyMessage(msg);
}

int DeviceMainDlg::PreTranslateMessage(MSG* msg) {
  // While a capture runs, Tab and Alt+F4 are keys to capture: they skip the
  // toolkit's focus and closing keys and reach OnWindowMessage, which takes them.
  if (msg != nullptr && msg->hwnd == m_hWnd && m_rawInputListener && RawKeyDecoder::IsKeyMessage(msg->message))
    return 0;
  return MDialog::PreTranslateMessage(msg);
}

LRESULT DeviceMainDlg::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // From the window's destruction on, its controls are going.
  if (msg == WM_DESTROY || msg == WM_NCDESTROY) m_closing = true;
  const LRESULT result = HandleWindowMessage(msg, wParam, lParam);
  if (!m_closing) {
    // Whatever the message changed: the timer follows what animates now,
    // and the worker's queries see the window as it is now. Pointer moves
    // and painting change neither.
    UpdateAnimationTimer();
    if (msg != WM_MOUSEMOVE && msg != WM_PAINT && msg != WM_SETCURSOR && msg != kRunTasks) m_relay->Publish();
  }
  return result;
}

LRESULT DeviceMainDlg::HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_rawInputListener && (RawKeyDecoder::IsKeyMessage(msg) || RawKeyDecoder::IsButtonMessage(msg)) &&
      TakeRawInput(msg, wParam, lParam))
    return 0;
  switch (msg) {
    case kRunTasks:
      RunTasks();
      return 1;
    case WM_COMMAND:
      if (wParam == kCommandQuit) {
        QuitProgram();
        return 0;
      }
      if (wParam == kCommandAbout) {
        m_options.host->ShowAbout(m_hWnd);
        return 0;
      }
      break;
    case kTrayMessage:
      if (lParam == WM_LBUTTONDOWN || lParam == WM_LBUTTONDBLCLK) Activate();
      return 0;
    case kQuitMessage:
      if (lParam == kQuitCode) QuitProgram();
      return 0;
    case kVersionResult:
      if (wParam == 2) OfferUpdate();
      return 0;
    case kProfileCommand:
      if (wParam == 0) {
        SwitchProfile(int(lParam), true);
      } else if (wParam == 1) {
        m_exchange->StartImport();
      } else if (wParam == 2) {
        m_exchange->StartExport();
      }
      return 1;
    case kMacroMenu:
    case kInsertMenu:
    case kRecordMenu:
      // The macro page owns these menus.
      for (BuiltPage& p : m_devicePages) {
        if (p.page->OnWindowMessage(msg, wParam, lParam)) break;
      }
      return 1;
    case kRefreshTexts:
      RefreshTexts();
      break;
    default:
      break;
  }
  return MDialog::OnWindowMessage(msg, wParam, lParam);
}

void DeviceMainDlg::Activate() {
  platform::SetForegroundWindow(m_hWnd);
  ShowWindow(SW_SHOWNORMAL);
  InvalidateRect(GetClientRect(), 0);
  BringToTop();
}

LRESULT DeviceMainDlg::OnClose() {
  // The window manager's close is the close button's request, so exit mode
  // 1 keeps the program in the tray and never leaves a stray icon behind.
  CloseRequest();
  return 0;
}

void DeviceMainDlg::CloseRequest() {
  std::wstring text;
  if (!shell::ReadRegistryText(L"exit_mode", text)) {
    if (!shell::RegistryKeyExists()) shell::CreateRegistryKey();
    text.clear();
  }
  if (std::wcstol(text.c_str(), nullptr, 10) == 1) {
    ShowWindow(SW_HIDE);
    return;
  }
  QuitProgram();
}

void DeviceMainDlg::QuitProgram() {
  m_options.host->RemoveTray();
  m_options.host->Quit(0);
}

LRESULT DeviceMainDlg::OnNcActivate(int active) {
  ForEachPage([active](DevicePage& page) { page.OnWindowActivate(active != 0); });
  return 0;
}
void DeviceMainDlg::OnTimer(UINT) {}

// --- 7. Texts ------------------------------------------------------------------------------------

std::wstring DeviceMainDlg::Text(int id) const { return shell::GetText(id); }

TrayTexts DeviceMainDlg::CurrentTrayTexts() const {
  TrayTexts texts;
  texts.toolTip = shell::ApplicationName().substr(0, 256);
  texts.about = Text(kTextAbout);
  texts.quit = Text(kTextQuit);
  return texts;
}

void DeviceMainDlg::RefreshTexts() {
  if (m_title == nullptr) return;
  const std::wstring font = shell::FontName();
  for (MControlFont* c : std::initializer_list<MControlFont*>{m_title, m_footerText, m_link, m_deviceState,
                                                               m_profileButton, m_actionButton, m_tabs, m_emptyText}) {
    if (!font.empty()) c->SetFontName(font.c_str());
  }
  std::wstring caption = Text(kTextTitle);
  if (m_options.demo) caption += L" · " + Text(kTextSimulated);
  m_title->SetTitle(caption.c_str());
  m_link->SetTitle(Text(kTextLink).c_str());
  for (int i = 0; i < 4; ++i) m_sysButtons[i]->SetTooltip(Text(kSysButtons[i].tip).c_str());
  m_actionButton->SetTitle(Text(kTextAction).c_str());
  m_profileButton->SetTitle(ProfileLabel().c_str());
  for (int i = 0; i < kTabCount; ++i) m_tabs->SetItemText(i, Text(kTabItems[i].text));
  m_emptyText->SetTitle(Text(kTextNoDevice).c_str());
  m_previous->SetTooltip(Text(kTextPrevious).c_str());
  m_next->SetTooltip(Text(kTextNext).c_str());
  m_deviceList->SetVersionDesc(Text(kTextFirmware));
  m_deviceState->SetTitle(Text(m_deviceStateText).c_str());
  m_footerText->SetTitle(m_version.empty() ? L"" : (Text(kTextVersion) + L": v" + m_version).c_str());
  if (m_options.host != nullptr) m_options.host->SetTrayTexts(CurrentTrayTexts());
  ForEachPage([](DevicePage& page) { page.RefreshTexts(); });
}

// --- 8. The window side of the device worker ------------------------------------------------------

void DeviceMainDlg::AppendJob(int code) { m_worker->AppendJob(code); }

void DeviceMainDlg::SetAllDeviceState(int state) {
  m_deviceList->SetAllDeviceState(state);
  ShowDeviceList(m_deviceList->GetOnlineDevCount() > 0);
}

// What the worker's queries read, as this window shows it now.
void DeviceMainDlg::SnapshotForWorker(WindowMirror& mirror) {
  if (m_closing) return;
  if (m_deviceList != nullptr) {
    mirror.listKnown = true;
    mirror.devices.clear();
    for (int i = 0; i < m_deviceList->GetItemCount(); ++i) {
      const int type = m_deviceList->GetItemDeviceType(i);
      mirror.devices.push_back({type, m_deviceList->GetDeviceState(type, 0), m_deviceList->GetDeviceState(type, 1)});
    }
    mirror.select = m_deviceList->GetSelectItem();
  }
  mirror.stageCount = ShownStageCount();
  mirror.stage = ShownStage();
  for (int i = 0; i < WindowMirror::kStages; ++i) mirror.stageDpi[size_t(i)] = StageDpi(i);
}
void DeviceMainDlg::SetDeviceState(int type, int mode, int online) {
  m_deviceList->SetDeviceState(type, mode, online);
  ShowDeviceList(m_deviceList->GetOnlineDevCount() > 0);
}
void DeviceMainDlg::SetDeviceVersion(int type, int release) { m_deviceList->SetDeviceVersion(type, release); }
int DeviceMainDlg::GetOnlineDevCount() { return m_deviceList->GetOnlineDevCount(); }
void DeviceMainDlg::SetSelectDevice(int type) {
  m_deviceList->SetSelectDevice(type);
  ShowDeviceList(m_deviceList->GetOnlineDevCount() > 0);
}
int DeviceMainDlg::GetSelectDevice() { return m_deviceList->GetSelectDevice(); }
void DeviceMainDlg::ClosePopups() {}

void DeviceMainDlg::ShowModel(int deviceType) {
  m_currentDeviceType = deviceType;
  ++m_modelLoads;
  const CatalogEntry* entry = m_catalog.FindModel(deviceType);
  if (entry == nullptr) return;
  const std::optional<ModelDescription> model = ReadModelDescription(ModelDescriptionPath(m_programFolder, entry->device_attr));
  if (!model) return;
  if (model->picture) {
    const std::wstring file = L"device\\" + *model->picture;
    m_modelPicture->SetImage(file.c_str(), 1);
    std::unique_ptr<Image> image(MRender::LoadSkinImage(file));
    if (image && image->Width() > 1) {
      const int right = GetClientRect().Width() - kModelPictureRightMargin;
      m_modelPicture->SetRect(CRect(right - image->Width(), kModelPictureTop, right, kModelPictureTop + image->Height()));
    }
  }
  if (model->lighting) {
    m_lighting = *model->lighting ? 1 : 0;
    m_tabs->SetItemVisible(kLightingTabIndex, m_lighting);
    m_tabs->RefreshItems();
    UISize(GetClientRect());
  }
  if (model->custom) {
    show_dpitips = model->custom->show_dpitips;
    show_savetips = model->custom->show_savetips;
    show_lod = model->custom->show_lod;
    show_sensor = model->custom->show_sensor;
  }
  m_firmwareUrl = model->firmware_url.value_or(std::wstring());
  if (model->buttons) {
    m_defaultKeys = model->DefaultKeyRecords();
    m_modelButtons = *model->buttons;
  }
  ForEachPage([](DevicePage& page) { page.OnModelShown(); });
}

void DeviceMainDlg::ShowDeviceState(int titleTextId) {
  m_deviceStateText = titleTextId;
  m_deviceState->SetTitle(Text(titleTextId).c_str());
  const bool connected = titleTextId != DeviceSession::kTextNoMouse;
  if (connected == m_connected) return;
  m_connected = connected;
  // The next disconnection may tell the user again.
  if (connected) m_notLinkedShown = false;
  ForEachPage([=](DevicePage& page) { page.OnConnectionChanged(connected); });
}

void DeviceMainDlg::TellNotLinked() {
  if (m_notLinkedShown) return;
  m_notLinkedShown = true;
  ++m_notLinkedMessages;
  Message(Text(kTextNotLinked).c_str(), Text(kTextNotice).c_str(), 0);
}

void DeviceMainDlg::SetBatteryInfo(int level, int charging) {
  m_battery->SetBatteryInfo(level, charging);
  UpdateAnimationTimer();
}
void DeviceMainDlg::SetDeviceBattery(int type, int charging, int level) {
  m_deviceList->SetDeviceBattery(type, charging, level);
}

void DeviceMainDlg::ShowDeviceList(bool anyOnline) {
  m_deviceList->SetVisible(anyOnline ? 1 : 0);
  m_previous->SetVisible(anyOnline ? 1 : 0);
  m_next->SetVisible(anyOnline ? 1 : 0);
  m_emptyPicture->SetVisible(anyOnline ? 0 : 1);
  m_emptyText->SetVisible(anyOnline ? 0 : 1);
}


void DeviceMainDlg::SwitchProfile(int profile, bool send) {
  m_currentProfile = profile;
  m_store.SetCurrentProfile(m_currentProfile);
  m_worker->Sequences().SetCurrentProfile(profile);
  std::wstring name;
  m_store.GetProfileName(m_currentProfile, name);
  ShowProfile(m_currentProfile, name);
  if (send) AppendJob(DeviceWorker::kJobWriteProfile);
}

std::wstring DeviceMainDlg::ProfileLabel() const {
  if (m_profileName.empty()) return Text(kTextProfile) + L" " + std::to_wstring(m_currentProfile);
  // A default name ("Profile 2" in any installed language) is shown in the
  // current language, as the profile dialog lists it; a user's name as typed.
  return shell::DisplayNames::FromInstalledLanguages().ProfileName(m_profileName);
}

void DeviceMainDlg::ShowProfile(int profile, const std::wstring& name) {
  m_currentProfile = profile;
  m_profileName = name;
  m_profileButton->SetTitle(ProfileLabel().c_str());
  ForEachPage([](DevicePage& page) { page.OnProfileChanged(); });
}

// The pages' share of the observer: handed to every page in job order; a
// query is answered by the page that shows that state.
void DeviceMainDlg::StopMacroRecording() {
  ForEachPage([](DevicePage& page) { page.StopMacroRecording(); });
}
void DeviceMainDlg::SetSensorRow(const mouseproto::SensorRow& row) {
  ForEachPage([&](DevicePage& page) { page.SetSensorRow(row); });
}
void DeviceMainDlg::SetReportRateChoices(int choices) {
  ForEachPage([=](DevicePage& page) { page.SetReportRateChoices(choices); });
}
// Without a page that shows the DPI stages, the window answers with the
// current profile's values, which such a page would show.
int DeviceMainDlg::ShownStageCount() {
  int count = 0;
  for (BuiltPage& p : m_devicePages) {
    if (p.page->ShownStageCount(count)) return count;
  }
  return m_store.IsOpened() ? m_store.GetConfigInt(m_currentProfile, L"dpi_count") : 0;
}
int DeviceMainDlg::ShownStage() {
  int stage = 0;
  for (BuiltPage& p : m_devicePages) {
    if (p.page->ShownStage(stage)) return stage;
  }
  return m_store.IsOpened() ? m_store.GetConfigInt(m_currentProfile, L"dpi_index") : 0;
}
int DeviceMainDlg::StageDpi(int stage) {
  int dpi = 0;
  for (BuiltPage& p : m_devicePages) {
    if (p.page->StageDpi(stage, dpi)) return dpi;
  }
  if (!m_store.IsOpened() || stage < 0 || stage > 6) return 0;
  return m_store.GetConfigInt(m_currentProfile, L"dpi_group" + std::to_wstring(stage) + L"_value");
}
void DeviceMainDlg::SelectStageCount(int count) {
  ForEachPage([=](DevicePage& page) { page.SelectStageCount(count); });
}
void DeviceMainDlg::SelectStage(int stage) {
  ForEachPage([=](DevicePage& page) { page.SelectStage(stage); });
}
void DeviceMainDlg::SetStage(int stage, int dpi, int colour) {
  ForEachPage([=](DevicePage& page) { page.SetStage(stage, dpi, colour); });
}
void DeviceMainDlg::MoveSliderToDpi(int dpi) {
  ForEachPage([=](DevicePage& page) { page.MoveSliderToDpi(dpi); });
}
void DeviceMainDlg::ShowDpiMessage(int dpi) {
  if (show_dpitips != 0 && m_dpiMessage) m_dpiMessage->ShowValue(dpi);
}
void DeviceMainDlg::RefreshKeyPage() {
  ForEachPage([](DevicePage& page) { page.RefreshKeyPage(); });
}
void DeviceMainDlg::RefreshMacroPage() {
  ForEachPage([](DevicePage& page) { page.RefreshMacroPage(); });
}
void DeviceMainDlg::RefreshDPI() {
  ForEachPage([](DevicePage& page) { page.RefreshDPI(); });
}
void DeviceMainDlg::RefreshLighting() {
  ForEachPage([](DevicePage& page) { page.RefreshLighting(); });
}
void DeviceMainDlg::MacroTooLong(int keyCode, int macroId) {
  ForEachPage([=](DevicePage& page) { page.MacroTooLong(keyCode, macroId); });
}

// --- 9. Firmware version and update ---------------------------------------------------------------

void DeviceMainDlg::ShowFirmwareVersion(int release) {
  if (m_updateNotice) m_updateNotice->ShowFirmwareVersion(release);
  ForEachPage([=](DevicePage& page) { page.ShowFirmwareVersion(release); });
}

// The worker only hands the question over: the HTTP exchange runs on the
// notice's own thread, so neither this thread nor the next job waits for it.
void DeviceMainDlg::CheckOnlineVersion() {
  if (!m_options.onlineCheck || !m_updateNotice) return;
  m_updateNotice->SetFirmwareAddress(m_options.firmwareAddress.empty() ? m_firmwareUrl : m_options.firmwareAddress);
  m_updateNotice->StartCheck();
}

void DeviceMainDlg::CloseUpdateTip() {
  if (m_updateTip) m_updateTip->End();
}

const UpdateLines& DeviceMainDlg::GetUpdateLines() const { return m_updateNotice->Lines(); }

void DeviceMainDlg::OfferUpdate() {
  if (!m_updateNotice) return;
  const std::wstring server = m_updateNotice->ServerVersion();
  if (server.empty()) return;
  const std::wstring text = UpdateNotice::OfferText(server);
  if (Message(text.c_str(), Text(kTextFirmwareVersion).c_str(), kYesNoBox) != 1) return;
  AppendJob(DeviceWorker::kJobCloseUpdateTip);
  // A tip still up runs its own loop below this call: the job just queued
  // ends it, and a second one is not nested inside it.
  if (m_updateTip && m_updateTip->IsOpen()) return;
  m_updateTip = std::make_unique<UpdateTipDlg>();
  m_updateTip->Run(m_hWnd);
}

// --- 10. About window and animation timer ----------------------------------------------------------

int DeviceMainDlg::GetCableRelease() const {
  int release = 0;
  return m_manager->ReleaseOf(0, release) ? release : 0;
}

void DeviceMainDlg::UpdateAnimationTimer() {
  if (m_battery == nullptr) return;
  const bool animate = GetPaintManager()->AnyTimerClientAnimating();
  if (animate && m_animationTimer == 0) {
    m_animationTimer = SetMTimer(kAnimationPeriodMs);
  } else if (!animate && m_animationTimer != 0) {
    KillMTimer(m_animationTimer);
    m_animationTimer = 0;
  }
}

}  // namespace ui
