#include "ui/SettingsPage.h"

// Index
//   1. Building and texts
//   2. Layout
//   3. The options as stored
//   4. Notifications
//   5. Firmware and update state

#include <cwchar>

#include "device/DeviceSession.h"
#include "device/DeviceWorker.h"
#include "platform/autostart/AutostartEntry.h"
#include "shell/AppNames.h"
#include "shell/Environment.h"
#include "shell/Localisation.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/CRadioButton.h"
#include "toolkit/core/CRoundArea.h"
#include "toolkit/core/CTextButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/Notify.h"
#include "ui/DeviceMainDlg.h"
#include "ui/PageParts.h"
#include "ui/UpdateNotice.h"

namespace ui {

using namespace DUI;

namespace {

enum : int {
  kTextCopyright = 2, kTextWebsite = 3, kTextClose = 5, kTextSoftwareVersion = 17, kTextNotLinked = 57, kTextCaption = 76,
  kTextFirmware = 551, kTextOnlineUpdate = 552, kTextCheck = 558, kTextRestoreCaption = 570,
  kTextRestoreQuestion = 571, kTextNotice = 576, kTextUpdateFirmware = 578, kTextUpToDate = 580,
  kTextLanguage = 600, kTextStart = 603, kTextAutostart = 604, kTextStartMinimised = 605, kTextClosing = 607,
  kTextCloseToTray = 608, kTextCloseExits = 609, kTextRestore = 611, kTextUpdateSoftware = 612,
  kTextFeedback = 615, kTextQuestion = 616,
};

struct LanguageItem {
  const wchar_t* name;
  int id;
};
constexpr LanguageItem kLanguages[SettingsPage::kLanguageCount] = {
    {L"简体中文", shell::kLangChineseSimplified}, {L"English", shell::kLangEnglish},
    {L"繁体中文", shell::kLangChineseTraditional}, {L"日本語にほんご", shell::kLangJapanese},
    {L"한국어", shell::kLangKorean},                {L"Українська Мова", shell::kLangUkrainian},
};

constexpr const wchar_t* kAutorunMinimize = L"autorun_minimize";
constexpr const wchar_t* kExitMode = L"exit_mode";
constexpr const wchar_t* kExitModeGroup = L"IDC_SET_STC_EXITMODE";

const Color kWhite(0xFFFFFFFF);
const Color kLabel(0xFFB8BDC6);
const Color kGreen(4278241280u);  // opaque green
constexpr COLORREF kSeparatorColour = 15132390;

using page::Make;
using page::MakeFrame;
using page::MakeText;

MButton* MakeButton(MainPage& page, UINT id) {
  auto* button = Make<MButton>(page, L"MButton", id, L"");
  if (button != nullptr) {
    button->SetImage(L"img_button.png", 4);
    button->SetFontWidth(16);
  }
  return button;
}

// Writes a program option; the per-user key is made first when missing.
void StoreOption(const wchar_t* name, bool on) {
  if (!shell::RegistryKeyExists()) shell::CreateRegistryKey();
  shell::WriteRegistryText(name, on ? L"1" : L"0");
}

bool StoredAsOne(const wchar_t* name) {
  std::wstring text;
  return shell::ReadRegistryText(name, text) && std::wcstol(text.c_str(), nullptr, 10) == 1;
}

}  // namespace

// --- 1. Building and texts --------------------------------------------------------------------

void SettingsPage::Build() {
  MainPage& p = m_container;
  // The page covers the configuration page under it entirely.
  m_cover = dynamic_cast<CRoundArea*>(p.CreateArea(L"CRoundArea", 0, CRect(), nullptr, 1, 1));
  if (m_cover != nullptr) m_cover->SetColor(Color(0xFF101215));
  m_frames[0] = MakeFrame(p, kFrame, L"img_area_bkg.png", ShowModeFrame, 10);
  m_frames[1] = MakeFrame(p, kCaptionBand, L"img_area_caption.png", ShowModeStretch, 0);
  m_frames[2] = MakeFrame(p, kDeviceFrame, L"img_area_content.png", ShowModeFrame, 10);
  m_frames[3] = MakeFrame(p, kProgramFrame, L"img_area_content.png", ShowModeFrame, 10);
  m_back = Make<CImageButton>(p, L"CImageButton", kBack);
  if (m_back != nullptr) m_back->SetImage(L"img_return.png", 4);
  m_caption = MakeText(p, kCaption, kWhite, 18);

  const UINT areas[3] = {kFirmwareArea, kUpdateArea, kRestoreArea};
  for (int i = 0; i < 3; ++i) m_areas[i] = Make<CRoundArea>(p, L"CRoundArea", areas[i]);
  m_firmwareLine = MakeText(p, kFirmwareLine, kWhite, 15);
  m_firmwareHint = MakeText(p, kFirmwareHint, kGreen, 13);
  if (m_firmwareHint != nullptr) m_firmwareHint->SetVisible(0);
  m_firmwareUpdate = MakeButton(p, kFirmwareUpdate);
  // The update check enables it when a newer firmware exists.
  if (m_firmwareUpdate != nullptr) m_firmwareUpdate->SetEnabled(0);
  m_updateCaption = MakeText(p, kUpdateCaption, kWhite, 15);
  m_updateState = MakeText(p, kUpdateState, kLabel, 13);
  m_checkUpdate = MakeButton(p, kCheckUpdate);
  m_restoreCaption = MakeText(p, kRestoreCaption, kWhite, 15);
  m_deviceRestore = MakeButton(p, kDeviceRestore);

  m_softwareLine = MakeText(p, kSoftwareLine, kWhite, 15);
  m_softwareState = MakeText(p, kSoftwareState, kGreen, 13);
  m_softwareUpdate = MakeButton(p, kSoftwareUpdate);
  m_restore = MakeButton(p, kRestore);
  for (int i = 0; i < 2; ++i) {
    m_separators[i] = dynamic_cast<CArea*>(p.CreateControl(L"CArea", kSeparator1 + UINT(i), CRect(), nullptr, 1, 1));
    if (m_separators[i] != nullptr) m_separators[i]->SetTransparent(0, 0, kSeparatorColour);
  }
  m_languageLabel = MakeText(p, kLanguageLabel, kLabel, 14);
  m_language = Make<MComboBox>(p, L"MComboBox", kLanguage);
  if (m_language != nullptr) {
    m_language->SetImage(L"img_combobox.png", 4);
    for (const LanguageItem& item : kLanguages) m_language->AddItem(item.name, item.id);
  }
  m_startLabel = MakeText(p, kStartLabel, kLabel, 14);
  m_autostart = Make<CCheckButton>(p, L"CCheckButton", kAutostart, L"");
  m_startMinimised = Make<CCheckButton>(p, L"CCheckButton", kStartMinimised, L"");
  for (CCheckButton* box : {m_autostart, m_startMinimised}) {
    if (box != nullptr) box->SetImage(L"btn_checkbox.png", 8);
  }
  m_closeLabel = MakeText(p, kCloseLabel, kLabel, 14);
  m_closeToTray = Make<CRadioButton>(p, L"CRadioButton", kCloseToTray, L"");
  m_closeExits = Make<CRadioButton>(p, L"CRadioButton", kCloseExits, L"");
  for (CRadioButton* radio : {m_closeToTray, m_closeExits}) {
    if (radio == nullptr) continue;
    radio->SetImage(L"btn_radiobox.png", 8);
    radio->SetGroupName(kExitModeGroup);
  }
  m_linksLabel = MakeText(p, kLinksLabel, kLabel, 13);
  const UINT links[3] = {kWebsite, kFeedback, kQuestion};
  for (int i = 0; i < 3; ++i) {
    m_links[i] = Make<CTextButton>(p, L"CTextButton", links[i], L"");
    if (m_links[i] != nullptr) m_links[i]->SetFontWidth(20);
  }
  ReadOptions();
}

void SettingsPage::RefreshTexts() {
  if (m_caption == nullptr) return;
  const std::wstring font = shell::FontName();
  if (!font.empty()) {
    for (MControl* c : *m_container.GetControls()) {
      if (auto* f = dynamic_cast<MControlFont*>(c)) f->SetFontName(font.c_str());
    }
  }
  const std::pair<MControlFont*, int> texts[] = {
      {m_caption, kTextCaption},           {m_firmwareHint, kTextUpdateFirmware},
      {m_firmwareUpdate, kTextUpdateFirmware}, {m_updateCaption, kTextOnlineUpdate},
      {m_checkUpdate, kTextCheck},         {m_restoreCaption, kTextRestoreCaption},
      {m_deviceRestore, kTextRestore},     {m_softwareState, kTextUpToDate},
      {m_softwareUpdate, kTextUpdateSoftware}, {m_restore, kTextRestore},
      {m_languageLabel, kTextLanguage},    {m_startLabel, kTextStart},
      {m_autostart, kTextAutostart},       {m_startMinimised, kTextStartMinimised},
      {m_closeLabel, kTextClosing},        {m_closeToTray, kTextCloseToTray},
      {m_closeExits, kTextCloseExits},     {m_linksLabel, kTextCopyright},
      {m_links[0], kTextWebsite},          {m_links[1], kTextFeedback},
      {m_links[2], kTextQuestion},
  };
  for (const auto& [control, id] : texts) {
    if (control != nullptr) control->SetTitle(shell::GetText(id).c_str());
  }
  m_firmwareLine->SetTitle(m_release < 0 ? shell::GetText(kTextFirmware).c_str() : FirmwareLine(m_release).c_str());
  m_updateState->SetTitle(m_updateText.empty() ? shell::GetText(kTextUpToDate).c_str() : m_updateText.c_str());
  ShowSoftwareVersion();
  if (m_back != nullptr) m_back->SetTooltip(shell::GetText(kTextClose).c_str());
}

void SettingsPage::ShowSoftwareVersion() {
  const std::wstring& version = m_dlg.GetCatalog().version;
  m_softwareLine->SetTitle(
      version.empty() ? L"" : (shell::GetText(kTextSoftwareVersion) + L": v" + version).c_str());
}

// The catalog with the software version is read after the page is built.
void SettingsPage::OnShow(bool shown) {
  if (shown && m_softwareLine != nullptr) ShowSoftwareVersion();
}

// --- 2. Layout -----------------------------------------------------------------------------------

void SettingsPage::Layout(CRect rect, float s) {
  if (m_caption == nullptr || rect.Width() <= 0) return;
  const int W = int(float(rect.Width()) / s), H = int(float(rect.Height()) / s);
  const auto at = [&](int l, int t, int r, int b) {
    return CRect(rect.left + int(float(l) * s + 0.5f), rect.top + int(float(t) * s + 0.5f),
                 rect.left + int(float(r) * s + 0.5f), rect.top + int(float(b) * s + 0.5f));
  };
  if (m_cover != nullptr) m_cover->SetRect(rect);
  m_frames[0]->SetRect(at(20, 10, W - 20, H - 10));
  m_frames[1]->SetRect(at(20, 10, W - 20, 60));
  m_back->SetRect(at(32, 19, 64, 51));
  m_caption->SetRect(at(76, 10, 600, 60));

  // The device area: firmware, online update, factory restore.
  const int mid = W / 2;
  m_frames[2]->SetRect(at(40, 80, mid - 10, H - 30));
  const int dl = 60, dr = mid - 30, textRight = dr - 190, buttonLeft = dr - 180, buttonRight = dr - 20;
  const int rows[3] = {100, 186, 272};
  for (int i = 0; i < 3; ++i) m_areas[i]->SetRect(at(dl, rows[i], dr, rows[i] + 70));
  m_firmwareLine->SetRect(at(dl + 20, rows[0] + 8, textRight, rows[0] + 34));
  m_firmwareHint->SetRect(at(dl + 20, rows[0] + 36, textRight, rows[0] + 60));
  m_firmwareUpdate->SetRect(at(buttonLeft, rows[0] + 18, buttonRight, rows[0] + 52));
  m_updateCaption->SetRect(at(dl + 20, rows[1] + 8, textRight, rows[1] + 34));
  m_updateState->SetRect(at(dl + 20, rows[1] + 36, textRight, rows[1] + 60));
  m_checkUpdate->SetRect(at(buttonLeft, rows[1] + 18, buttonRight, rows[1] + 52));
  m_restoreCaption->SetRect(at(dl + 20, rows[2] + 8, textRight, rows[2] + 60));
  m_deviceRestore->SetRect(at(buttonLeft, rows[2] + 18, buttonRight, rows[2] + 52));

  // The program area.
  m_frames[3]->SetRect(at(mid + 10, 80, W - 40, H - 30));
  const int x0 = mid + 34, xv = mid + 250, right = W - 64;
  m_softwareLine->SetRect(at(x0, 100, right - 170, 124));
  m_softwareState->SetRect(at(x0, 126, right - 170, 150));
  m_softwareUpdate->SetRect(at(right - 150, 108, right, 142));
  m_separators[0]->SetRect(at(x0, 170, right, 171));
  m_languageLabel->SetRect(at(x0, 190, xv - 10, 220));
  m_language->SetRect(at(xv, 190, xv + 240, 220));
  m_startLabel->SetRect(at(x0, 240, xv - 10, 264));
  m_autostart->SetRect(at(xv, 240, right, 264));
  m_startMinimised->SetRect(at(xv, 272, right, 296));
  m_closeLabel->SetRect(at(x0, 316, xv - 10, 340));
  m_closeToTray->SetRect(at(xv, 316, right, 340));
  m_closeExits->SetRect(at(xv, 348, right, 372));
  m_separators[1]->SetRect(at(x0, 392, right, 393));
  m_restore->SetRect(at(xv, 412, xv + 150, 446));
  m_linksLabel->SetRect(at(x0, H - 100, right, H - 76));
  for (int i = 0; i < 3; ++i) m_links[i]->SetRect(at(x0 + i * 170, H - 72, x0 + i * 170 + 160, H - 44));
}

// --- 3. The options as stored ----------------------------------------------------------------------

void SettingsPage::ReadOptions() {
  if (m_language != nullptr) m_language->SelectData(shell::CurrentLanguage());
  const bool autostart = platform::AutostartEntry(shell::ApplicationName()).Exists();
  m_autostart->SetCheck(autostart ? 1 : 0);
  m_startMinimised->SetCheck(autostart && StoredAsOne(kAutorunMinimize) ? 1 : 0);
  m_startMinimised->SetEnabled(autostart ? 1 : 0);
  if (StoredAsOne(kExitMode)) {
    m_closeToTray->SetCheck(1);
  } else {
    m_closeExits->SetCheck(1);
  }
}

// --- 4. Notifications -------------------------------------------------------------------------------

bool SettingsPage::OnNotify(UINT id, UINT code, WPARAM, LPARAM) {
  // Space on a box or a radio button reports CN_CHECK instead of a click.
  const bool toggled = code == CN_CLICK || code == CN_CHECK;
  switch (id) {
    case kLanguage:
      if (code == CN_CLICK) PickLanguage();
      return code == CN_CLICK;
    case kAutostart:
      if (toggled) AutostartClicked();
      return toggled;
    case kStartMinimised:
      if (toggled) StoreOption(kAutorunMinimize, m_startMinimised->GetCheck() != 0);
      return toggled;
    case kCloseToTray:
    case kCloseExits:
      if (toggled) StoreOption(kExitMode, m_closeToTray->GetCheck() != 0);
      return toggled;
    default:
      break;
  }
  if (code != CN_CLICK) return false;
  switch (id) {
    case kBack: m_dlg.CloseSettingsPage(); break;
    case kDeviceRestore:
    case kRestore: FactoryRestore(); break;
    case kFirmwareUpdate: FirmwareUpdate(); break;
    case kCheckUpdate:
    case kSoftwareUpdate: Inform(kTextOnlineUpdate, kTextUpToDate); break;
    case kWebsite: Open(m_dlg.GetCatalog().website); break;
    case kFeedback: Open(m_dlg.GetCatalog().feedback); break;
    case kQuestion: Open(m_dlg.GetCatalog().qa); break;
    default: return false;
  }
  return true;
}

void SettingsPage::PickLanguage() {
  const int language = int(m_language->GetCurData());
  if (language == 0) return;
  // Stores the language and the font name, and tells whoever listens.
  shell::SetLanguage(language);
  Manager::SetFontName(shell::FontName());
  // Every text of the window, of every page and of the tray menu.
  m_dlg.RefreshTexts();
}

void SettingsPage::AutostartClicked() {
  const platform::AutostartEntry entry(shell::ApplicationName());
  if (m_autostart->GetCheck()) {
    // An entry that cannot be written leaves the box as it was, so that it
    // never claims a start the desktop will not make.
    if (!entry.Create(platform::AutostartEntry::RunningExecutable())) {
      m_autostart->SetCheck(0);
      return;
    }
    m_startMinimised->SetEnabled(1);
    return;
  }
  m_startMinimised->SetCheck(0);
  m_startMinimised->SetEnabled(0);
  StoreOption(kAutorunMinimize, false);
  if (!entry.Remove()) m_autostart->SetCheck(1);
}

void SettingsPage::FactoryRestore() {
  if (!m_dlg.Session().Linked()) {
    Inform(kTextNotice, kTextNotLinked);
    return;
  }
  const int answer = m_dlg.Message(shell::GetText(kTextRestoreQuestion).c_str(),
                                   shell::GetText(kTextRestoreCaption).c_str(), 4);
  if (answer != 1) return;
  // Every mouse is read again after the restore.
  m_dlg.Worker().Sequences().ClearReadTypes();
  m_dlg.AppendJob(DeviceWorker::kJobFactoryRestore);
  m_dlg.ShowSaveWait();
}

void SettingsPage::FirmwareUpdate() {
  const std::wstring& address = m_dlg.GetFirmwareUrl();
  if (address.empty()) {
    Inform(kTextFirmware, kTextUpToDate);
    return;
  }
  // The firmware is fetched from the maker's page; the mouse is not touched.
  Open(address);
}

void SettingsPage::Inform(int captionId, int textId) {
  m_dlg.Message(shell::GetText(textId).c_str(), shell::GetText(captionId).c_str(), 0);
}

void SettingsPage::Open(const std::wstring& address) {
  if (!address.empty() && m_dlg.Host() != nullptr) m_dlg.Host()->OpenAddress(address);
}

// --- 5. Firmware and update state --------------------------------------------------------------------

std::wstring SettingsPage::FirmwareLine(int release) {
  wchar_t hex[16];
  std::swprintf(hex, 16, L"%x", unsigned(release));
  const std::wstring digits = hex;
  const std::wstring minor = digits.size() > 2 ? digits.substr(digits.size() - 2) : digits;
  return shell::GetText(kTextFirmware) + L": v" + digits.substr(0, 1) + L"." + minor;
}

void SettingsPage::ShowFirmwareVersion(int release) {
  m_release = release;
  if (m_firmwareLine != nullptr) m_firmwareLine->SetTitle(FirmwareLine(release).c_str());
}

void SettingsPage::ShowUpdateLines(const UpdateLines& lines) {
  ShowUpdateState(lines.stateLine, lines.updateButtonEnabled);
}

void SettingsPage::ShowUpdateState(const std::wstring& text, bool newerFirmware) {
  m_updateText = text;
  if (m_updateState == nullptr) return;
  m_updateState->SetTitle(text.empty() ? shell::GetText(kTextUpToDate).c_str() : text.c_str());
  m_firmwareUpdate->SetEnabled(newerFirmware ? 1 : 0);
  m_firmwareHint->SetVisible(newerFirmware ? 1 : 0);
}

std::unique_ptr<DevicePage> MakeSettingsPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<SettingsPage>(dlg, container);
}

}  // namespace ui
