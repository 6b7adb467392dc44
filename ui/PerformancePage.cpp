#include "ui/PerformancePage.h"

#include <algorithm>

#include "catalog/Catalog.h"
#include "catalog/ModelDescription.h"
#include "device/DeviceWorker.h"
#include "platform/Text.h"
#include "shell/AppNames.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/ReporteCtrl.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/CHelpButton.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/CRadioButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Notify.h"
#include "toolkit/core/NumberEdit.h"
#include "ui/DeviceMainDlg.h"
#include "ui/PageParts.h"

using namespace DUI;

namespace ui {

namespace {

enum Area { kRateArea, kLiftArea, kSensorArea, kResponseArea, kSleepArea, kDesktopArea, kAreaCount };

constexpr UINT kFrameIds[kAreaCount] = {PerformancePage::kRateFrame,     PerformancePage::kLiftFrame,
                                        PerformancePage::kSensorFrame,   PerformancePage::kResponseFrame,
                                        PerformancePage::kSleepFrame,    PerformancePage::kDesktopFrame};
constexpr UINT kCaptionIds[kAreaCount] = {PerformancePage::kRateCaption,     PerformancePage::kLiftCaption,
                                          PerformancePage::kSensorCaption,   PerformancePage::kResponseCaption,
                                          PerformancePage::kSleepCaption,    PerformancePage::kDesktopCaption};
constexpr int kCaptionTexts[kAreaCount] = {255, 501, 503, 525, 531, 535};

constexpr int kTextRateHelp = 256, kTextRateReset = 257, kTextLiftHelp = 502, kTextPower = 532, kTextMoveWakeup = 533,
              kTextMoveCloseLight = 534, kTextOpen = 536, kTextMinutes = 537, kTextNoDesktopSettings = 538;
constexpr int kSensorTexts[3] = {515, 516, 517};
constexpr int kSensorBits[3] = {0x04, 0x08, 0x10};
constexpr int kSensorBitsAll = 0x04 | 0x08 | 0x10;
// The sensor help: a heading, then each option's lines, then the closing notes.
constexpr int kSensorHelpLines[][2] = {{503, 0}, {505, 506}, {509, 0}, {507, 508}, {511, 512}};

struct Rate {
  const wchar_t* title;
  int code;
  int extra;
};
constexpr Rate kRateItems[PerformancePage::kAllRates] = {
    {L"125Hz", 8, 67825},       {L"250Hz", 4, 15559424},  {L"500Hz", 2, 5109248},   {L"1000Hz", 1, 2139135},
    {L"2000Hz", 16, 13173035},  {L"4000Hz", 32, 16776960}, {L"8000Hz", 64, 16777215},
};
constexpr int kSleepMinutes[] = {1, 2, 3, 5, 10, 20, 30};

constexpr int kCheckHeight = 24;

}  // namespace

std::unique_ptr<DevicePage> MakePerformancePage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<PerformancePage>(dlg, container);
}

PerformancePage::PerformancePage(DeviceMainDlg& dlg, MainPage& container)
    : DevicePage(dlg, container),
      m_launcher([](const platform::DesktopCommand& command) { return platform::StartDetached(command); }) {}

// --- 1. Building and layout -------------------------------------------------------------------

void PerformancePage::Build() {
  MainPage& p = m_container;
  m_backdrop = page::Backdrop(p, kBackdrop);
  for (int a = 0; a < kAreaCount; ++a) {
    m_frames[a] = page::Frame(p, kFrameIds[a], L"img_area_content.png", 10);
    m_captions[a] = page::Caption(p, kCaptionIds[a], 16, page::kCaptionColour);
  }
  const auto help = [&p](UINT id) {
    auto* button = page::Add<CHelpButton>(p, id, CRect(0, 0, 20, 20), L"", 1, 1);
    button->SetImage(L"img_help.png", 1);
    return button;
  };
  m_rateHelp = help(kRateHelp);
  m_liftHelp = help(kLiftHelp);
  m_sensorHelp = help(kSensorHelp);
  m_rateReset = page::Add<CImageButton>(p, kRateReset, CRect(0, 0, 24, 24), L"", 1, 1);
  m_rateReset->SetImage(L"btn_reset.png", 4);
  m_rates = page::Add<ReporteCtrl>(p, kRates, CRect(), 1);
  m_rates->SetFontWidth(14);
  FillRates();

  const wchar_t* lift[2] = {L"1.0mm", L"2.0mm"};
  for (int i = 0; i < 2; ++i) {
    m_lift[i] = page::Add<CRadioButton>(p, UINT(kLift1 + i), CRect(), lift[i], 1, 1);
    m_lift[i]->SetImage(L"btn_radiobox.png", 8);
    m_lift[i]->SetGroupName(L"IDC_PER_STC_LOD");
    m_lift[i]->SetFontWidth(14);
  }
  m_lift[0]->SetCheck(1);
  for (int i = 0; i < 3; ++i) {
    m_sensor[i] = page::Add<CCheckButton>(p, UINT(kSensorSnap + i), CRect(), L"", 1, 1);
    m_sensor[i]->SetImage(L"btn_checkbox.png", 8);
    m_sensor[i]->SetFontWidth(14);
  }
  m_sensor[2]->SetCheck(1);

  m_response = page::Add<NumberEdit>(p, kResponse, CRect(), 1);
  m_response->SetImage(L"img_edit.png", 4);
  m_response->SetFontWidth(15);
  m_response->SetEditText(L"0");

  m_sleep = page::Add<MComboBox>(p, kSleep, CRect(), 1, 1);
  m_sleep->SetFontWidth(14);
  for (int minutes : kSleepMinutes) m_sleep->AddItem(L"", minutes);
  m_powerCaption = page::Caption(p, kPowerCaption, 14, page::kLabelColour);
  m_moveWakeup = page::Add<CCheckButton>(p, kMoveWakeup, CRect(), L"", 1, 1);
  m_moveCloseLight = page::Add<CCheckButton>(p, kMoveCloseLight, CRect(), L"", 1, 1);
  for (CCheckButton* box : {m_moveWakeup, m_moveCloseLight}) {
    box->SetImage(L"btn_checkbox.png", 8);
    box->SetFontWidth(14);
  }

  m_desktopIcon = page::Add<MPicture>(p, kDesktopIcon, CRect(), 1, 1);
  m_desktopIcon->SetImage(L"icon//icon_windows.png", 1);
  m_desktopButton = page::Add<MButton>(p, kDesktopButton, CRect(), L"", 1, 1);
  m_desktopButton->SetImage(L"img_button.png", 4);
  m_desktopButton->SetFontWidth(14);
  m_desktopButton->SetTextColor(Color(page::kCaptionColour));
  m_desktopSettings = platform::InstalledMouseSettings();
}

void PerformancePage::Layout(CRect r, float scale) {
  if (m_rates == nullptr) return;
  const auto S = [scale](int v) { return int(float(v) * scale + 0.5f); };
  const int gap = S(16);
  const int half = (r.Width() - gap) / 2;
  // The model may leave out the lift-off choice or the sensor options: the
  // other one of the pair takes the whole row, and without either the row
  // goes. The rows of paired areas share the height the report rate and
  // the desktop's settings leave.
  const bool showLift = m_showLift, showSensor = m_showSensor;
  const int pairRows = (showLift || showSensor) ? 2 : 1;
  const int rateH = S(136), desktopH = S(96);
  const int rowH = std::max(S(150), (r.Height() - rateH - desktopH - (pairRows + 1) * gap) / pairRows);
  const CRect rate(r.left, r.top, r.right, r.top + rateH);
  int top = rate.bottom + gap;
  CRect lift, sensor;
  if (pairRows == 2) {
    const CRect row(r.left, top, r.right, top + rowH);
    if (showLift && showSensor) {
      lift = CRect(row.left, row.top, row.left + half, row.bottom);
      sensor = CRect(lift.right + gap, row.top, row.right, row.bottom);
    } else {
      (showLift ? lift : sensor) = row;
    }
    top = row.bottom + gap;
  }
  const CRect response(r.left, top, r.left + half, top + rowH);
  const CRect sleep(response.right + gap, response.top, r.right, response.bottom);
  const CRect desktop(r.left, response.bottom + gap, r.right, std::max(r.bottom, response.bottom + gap + S(64)));
  const CRect areas[kAreaCount] = {rate, lift, sensor, response, sleep, desktop};
  m_backdrop->SetRect(r);
  const int inset = S(24);
  for (int a = 0; a < kAreaCount; ++a) {
    m_frames[a]->SetRect(areas[a]);
    if (a != kDesktopArea) {
      m_captions[a]->SetRect(CRect(areas[a].left + inset, areas[a].top + S(12), areas[a].right - S(60),
                                   areas[a].top + S(44)));
    }
  }
  page::PlaceAfter(*m_captions[kRateArea], *m_rateHelp, 10);
  page::PlaceAfter(*m_captions[kLiftArea], *m_liftHelp, 10);
  page::PlaceAfter(*m_captions[kSensorArea], *m_sensorHelp, 10);
  m_rateReset->SetRect(CRect(rate.right - inset - 24, rate.top + S(16), rate.right - inset, rate.top + S(16) + 24));

  // The cards keep their size; a narrow window shrinks the row to fit.
  const int ratesWidth = rate.Width() - 2 * inset + ReporteCtrl::kFirstLeft;
  m_rates->SetScaleValue(1.0f);
  const int natural = m_rates->GetCardsWidth(kAllRates) + ReporteCtrl::kFirstLeft;
  if (natural > ratesWidth) m_rates->SetScaleValue(float(ratesWidth) / float(natural));
  const int ratesLeft = rate.left + inset - ReporteCtrl::kFirstLeft;
  m_rates->SetRect(CRect(ratesLeft, rate.top + S(64), ratesLeft + ratesWidth, rate.top + S(64) + 46));

  const auto row = [&](const CRect& area, int line) { return area.top + S(62) + line * S(36); };
  for (int i = 0; i < 2; ++i) {
    m_lift[i]->SetRect(CRect(lift.left + inset, row(lift, i), lift.right - inset, row(lift, i) + kCheckHeight));
  }
  for (int i = 0; i < 3; ++i) {
    m_sensor[i]->SetRect(CRect(sensor.left + inset, row(sensor, i), sensor.right - inset, row(sensor, i) + kCheckHeight));
  }
  m_response->SetRect(CRect(response.left + inset, row(response, 0), response.left + inset + 110, row(response, 0) + 30));

  m_sleep->SetRect(CRect(sleep.left + inset, row(sleep, 0) - 2, sleep.left + inset + S(150), row(sleep, 0) + 30));
  const int powerTop = row(sleep, 1) + S(8);
  m_powerCaption->SetRect(CRect(sleep.left + inset, powerTop, sleep.right - inset, powerTop + kCheckHeight));
  const int checksTop = powerTop + S(32);
  const int checkWidth = (sleep.Width() - 2 * inset) / 2;
  m_moveWakeup->SetRect(CRect(sleep.left + inset, checksTop, sleep.left + inset + checkWidth, checksTop + kCheckHeight));
  m_moveCloseLight->SetRect(
      CRect(sleep.left + inset + checkWidth, checksTop, sleep.right - inset, checksTop + kCheckHeight));

  const int middle = (desktop.top + desktop.bottom) / 2;
  m_desktopIcon->SetRect(CRect(desktop.left + inset, middle - 16, desktop.left + inset + 32, middle + 16));
  m_captions[kDesktopArea]->SetRect(CRect(desktop.left + inset + 48, middle - 16, desktop.right - 180, middle + 16));
  m_desktopButton->SetRect(CRect(desktop.right - inset - 120, middle - 18, desktop.right - inset, middle + 18));
}

void PerformancePage::OnModelShown() {
  m_showLift = m_dlg.GetShowLod() != 0;
  m_showSensor = m_dlg.GetShowSensor() != 0;
  for (MControl* c : std::initializer_list<MControl*>{m_frames[kLiftArea], m_captions[kLiftArea], m_liftHelp,
                                                       m_lift[0], m_lift[1]}) {
    c->SetVisible(m_showLift ? 1 : 0);
  }
  for (MControl* c : std::initializer_list<MControl*>{m_frames[kSensorArea], m_captions[kSensorArea], m_sensorHelp,
                                                       m_sensor[0], m_sensor[1], m_sensor[2]}) {
    c->SetVisible(m_showSensor ? 1 : 0);
  }
  Layout(m_container.GetRect(), m_dlg.GetScale());
  RefreshDPI();
}

void PerformancePage::RefreshTexts() {
  if (m_rates == nullptr) return;
  const std::wstring font = shell::FontName();
  std::vector<MControlFont*> texts(std::begin(m_captions), std::end(m_captions));
  for (MControlFont* c : std::initializer_list<MControlFont*>{m_rateHelp, m_liftHelp, m_sensorHelp, m_lift[0], m_lift[1],
                                                               m_sensor[0], m_sensor[1], m_sensor[2], m_sleep,
                                                               m_powerCaption, m_moveWakeup, m_moveCloseLight,
                                                               m_desktopButton}) {
    texts.push_back(c);
  }
  for (MControlFont* c : texts) {
    if (!font.empty()) c->SetFontName(font.c_str());
  }
  for (int a = 0; a < kAreaCount; ++a) m_captions[a]->SetTitle(page::Text(kCaptionTexts[a]).c_str());
  m_rateHelp->SetTitle(page::Text(kTextRateHelp).c_str());
  m_rateReset->SetTooltip(page::Text(kTextRateReset).c_str());
  m_liftHelp->SetTitle(page::Text(kTextLiftHelp).c_str());
  std::wstring sensorHelp;
  for (const auto& line : kSensorHelpLines) {
    if (!sensorHelp.empty()) sensorHelp += L"\n";
    sensorHelp += page::Text(line[0]);
    if (line[1] != 0) sensorHelp += L" " + page::Text(line[1]);
  }
  m_sensorHelp->SetTitle(sensorHelp.c_str());
  for (int i = 0; i < 3; ++i) m_sensor[i]->SetTitle(page::Text(kSensorTexts[i]).c_str());
  const std::wstring minutes = page::Text(kTextMinutes);
  for (int i = 0; i < int(std::size(kSleepMinutes)); ++i) {
    m_sleep->SetItemText(i, std::to_wstring(kSleepMinutes[i]) + L" " + minutes);
  }
  m_sleep->SetCurSel(m_sleep->GetCurSel());
  m_powerCaption->SetTitle(page::Text(kTextPower).c_str());
  m_moveWakeup->SetTitle(page::Text(kTextMoveWakeup).c_str());
  m_moveCloseLight->SetTitle(page::Text(kTextMoveCloseLight).c_str());
  m_desktopButton->SetTitle(page::Text(kTextOpen).c_str());
  ShowDesktopButton();
  for (auto [caption, follower] : {std::pair{kRateArea, static_cast<MControl*>(m_rateHelp)},
                                   std::pair{kLiftArea, static_cast<MControl*>(m_liftHelp)},
                                   std::pair{kSensorArea, static_cast<MControl*>(m_sensorHelp)}}) {
    if (!m_captions[caption]->GetRect().IsRectEmpty()) page::PlaceAfter(*m_captions[caption], *follower, 10);
  }
}

bool PerformancePage::OnNotify(UINT id, UINT code, WPARAM wParam, LPARAM) {
  const bool toggled = code == CN_CLICK || code == CN_CHECK;
  switch (id) {
    case kRates:
      if (code == CN_CLICK) OnRatePicked(int(wParam));
      return true;
    case kRateReset:
      if (code == CN_CLICK) OnRateReset();
      return true;
    case kLift1:
    case kLift2:
      if (toggled) OnLiftOff(id == kLift1 ? 1 : 2);
      return true;
    case kSensorSnap:
    case kSensorRipple:
    case kSensorSync:
      if (toggled) OnSensorOption();
      return true;
    case kResponse:
      if (code == CN_EDITEND) OnResponseEdited();
      if (code == CN_CLICK) OnResponseCommitted();
      return true;
    case kSleep:
      if (code == CN_CLICK) OnSleepPicked();
      return true;
    case kMoveWakeup:
      if (toggled) OnPowerOption(m_moveWakeup, L"move_wakeup");
      return true;
    case kMoveCloseLight:
      if (toggled) OnPowerOption(m_moveCloseLight, L"move_closelight");
      return true;
    case kDesktopButton:
      if (code == CN_CLICK) OnOpenDesktopSettings();
      return true;
    default:
      return false;
  }
}

// --- 2. The worker's updates -----------------------------------------------------------------------

void PerformancePage::RefreshDPI() {
  // A model's database without the profile yet (a mouse shown before it
  // was connected) has nothing to show.
  std::wstring stored;
  if (m_rates == nullptr ||
      !m_dlg.Store().GetConfigValue(m_dlg.GetCurrentProfile(), L"report_rate", stored)) {
    return;
  }
  m_response->SetEditText(std::to_wstring(Load(L"button_respondtime")).c_str());
  FillRates();
  const int flag = Load(L"sensor_flag");
  for (int i = 0; i < 3; ++i) m_sensor[i]->SetCheck((flag & kSensorBits[i]) != 0 ? 1 : 0);
  m_lift[Load(L"liftoff_height") == 2 ? 1 : 0]->SetCheck(1);
  m_sleep->SelectData(Load(L"sleep_light"));
  m_moveWakeup->SetCheck(Load(L"move_wakeup") == 1 ? 1 : 0);
  m_moveCloseLight->SetCheck(Load(L"move_closelight") == 1 ? 1 : 0);
}

void PerformancePage::SetReportRateChoices(int choices) {
  m_choices = choices;
  if (m_rates != nullptr) FillRates();
}

void PerformancePage::FillRates() {
  m_rates->DeleteAllItems();
  const int shown = m_choices == kAllRates ? kAllRates : kBasicRates;
  for (int i = 0; i < shown; ++i) m_rates->AddItem(kRateItems[i].title, kRateItems[i].code, kRateItems[i].extra);
  m_rates->SetSelectItemValue(Load(L"report_rate"));
}

// --- 3. Handlers ---------------------------------------------------------------------------------------

void PerformancePage::OnRatePicked(int index) {
  if (index < 0 || index >= m_rates->GetItemCount()) return;
  const int code = m_rates->GetItemKeyValue(index);
  if (Load(L"report_rate") == code && Load(L"report_rate_wireless") == code) return;
  Save(L"report_rate", code);
  Save(L"report_rate_wireless", code);
  Queue(DeviceWorker::kJobReportRate);
}

void PerformancePage::OnRateReset() {
  const CatalogEntry* model = m_dlg.GetCatalog().FindModel(m_dlg.GetCurrentDeviceType());
  const std::optional<std::wstring> rate =
      model != nullptr ? ReadModelReportRateDefault(m_dlg.GetProgramFolder(), model->device_attr) : std::nullopt;
  if (rate) {
    const int code = platform::WToI(*rate);
    m_dlg.Store().SetConfigValue(m_dlg.GetCurrentProfile(), L"report_rate", *rate);
    m_dlg.Store().SetConfigValue(m_dlg.GetCurrentProfile(), L"report_rate_wireless", *rate);
    m_rates->SetSelectItemValue(code);
  }
  // Without a description the mouse gets the profile's rate again.
  Queue(DeviceWorker::kJobReportRate);
}

void PerformancePage::OnLiftOff(int height) {
  if (Load(L"liftoff_height") == height) return;
  Save(L"liftoff_height", height);
  Queue(DeviceWorker::kJobLiftOff);
}

void PerformancePage::OnSensorOption() {
  // The bits the page does not show are the mouse's own and are kept.
  int flag = Load(L"sensor_flag") & ~kSensorBitsAll;
  for (int i = 0; i < 3; ++i) flag |= m_sensor[i]->GetCheck() ? kSensorBits[i] : 0;
  Save(L"sensor_flag", flag);
  Queue(DeviceWorker::kJobLiftOff);
}

void PerformancePage::OnResponseEdited() {
  const int value = std::clamp(m_response->GetValue(), NumberEdit::kMinimum, NumberEdit::kMaximum);
  m_response->SetEditText(std::to_wstring(value).c_str());
  const bool changed = Load(L"button_respondtime") != value;
  Save(L"button_respondtime", value);
  // A typed value is as final as a stepped one: it is sent too.
  if (changed) Queue(DeviceWorker::kJobPowerOptions);
}

void PerformancePage::OnResponseCommitted() {
  const int value = std::clamp(m_response->GetValue(), NumberEdit::kMinimum, NumberEdit::kMaximum);
  Save(L"button_respondtime", value);
  Queue(DeviceWorker::kJobPowerOptions);
}

void PerformancePage::OnSleepPicked() {
  const int minutes = int(m_sleep->GetCurData());
  if (minutes <= 0 || Load(L"sleep_light") == minutes) return;
  Save(L"sleep_light", minutes);
  Queue(DeviceWorker::kJobPowerOptions);
}

void PerformancePage::OnPowerOption(CCheckButton* box, const wchar_t* key) {
  Save(key, box->GetCheck() ? 1 : 0);
  Queue(DeviceWorker::kJobPowerOptions);
}

// --- 4. The desktop's mouse settings -------------------------------------------------------------------

void PerformancePage::FindDesktopSettings(std::string_view currentDesktop, std::string_view searchPath) {
  m_desktopSettings = platform::InstalledMouseSettings(currentDesktop, searchPath);
  ShowDesktopButton();
}

void PerformancePage::ShowDesktopButton() {
  if (m_desktopButton == nullptr) return;
  m_desktopButton->SetEnabled(m_desktopSettings ? 1 : 0);
  if (m_desktopSettings) {
    m_desktopButton->SetTooltip(L"");
  } else {
    m_desktopButton->SetTooltip(page::Text(kTextNoDesktopSettings).c_str());
  }
}

void PerformancePage::OnOpenDesktopSettings() {
  if (!m_desktopSettings || !m_launcher) return;
  if (!m_launcher(*m_desktopSettings)) {
    // Gone since the page looked: say so the next time the pointer comes.
    m_desktopSettings.reset();
    ShowDesktopButton();
  }
}

// --- Helpers ---------------------------------------------------------------------------------------------

MControl* PerformancePage::Control(UINT id) const {
  for (int a = 0; a < kAreaCount; ++a) {
    if (id == kFrameIds[a]) return m_frames[a];
    if (id == kCaptionIds[a]) return m_captions[a];
  }
  MControl* const controls[] = {m_rateHelp,  m_rateReset, m_rates,    m_liftHelp,      m_lift[0],       m_lift[1],
                                m_sensorHelp, m_sensor[0], m_sensor[1], m_sensor[2],   m_response,      m_powerCaption,
                                m_moveWakeup, m_moveCloseLight, m_sleep, m_desktopIcon, m_desktopButton};
  for (MControl* c : controls) {
    if (c != nullptr && c->GetControlID() == id) return c;
  }
  return nullptr;
}

void PerformancePage::Save(const std::wstring& key, int value) {
  m_dlg.Store().SetConfigInt(m_dlg.GetCurrentProfile(), key, value);
}

int PerformancePage::Load(const std::wstring& key) { return m_dlg.Store().GetConfigInt(m_dlg.GetCurrentProfile(), key); }

void PerformancePage::Queue(int job) {
  page::QueueWriteJob(m_dlg, job);
  m_dlg.ShowSaveWait();
}

}  // namespace ui
