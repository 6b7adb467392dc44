#include "ui/DpiPage.h"

#include <algorithm>
#include <cwctype>

#include "device/DeviceWorker.h"
#include "device/ProfileMapping.h"
#include "shell/AppNames.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/DPIControl.h"
#include "toolkit/controls/DPISlider.h"
#include "toolkit/core/CHelpButton.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/Color.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Notify.h"
#include "ui/DeviceMainDlg.h"
#include "ui/PageParts.h"

using namespace DUI;

namespace ui {

namespace {

constexpr int kTextCaption = 250, kTextStages = 251, kTextStagesHelp = 252, kTextReset = 253, kTextApply = 254,
              kTextResetQuestion = 258, kTextCount = 260;
constexpr int kYesNo = 4;
constexpr int kAnswerYes = 1;

// The slider is drawn for this width at 100 %.
constexpr int kSliderDesignWidth = 1005;
constexpr int kSliderDesignHeight = 72;
constexpr int kStagesHeight = 92;
constexpr int kStagesWidth = (DpiPage::kMaxStages - 1) * DPIControl::kCardPitch + DPIControl::kCardWidth;

// The digits at the start of a typed value; nothing when there are none.
std::optional<int> TypedNumber(const std::wstring& text) {
  long value = 0;
  size_t digits = 0;
  for (wchar_t c : text) {
    if (!std::iswdigit(static_cast<wint_t>(c))) break;
    value = std::min(value * 10 + (c - L'0'), 1000000L);
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return int(value);
}

}  // namespace

std::unique_ptr<DevicePage> MakeDpiPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<DpiPage>(dlg, container);
}

// --- 1. Building and layout -------------------------------------------------------------------

void DpiPage::Build() {
  MainPage& p = m_container;
  m_backdrop = page::Backdrop(p, kBackdrop);
  m_background = page::Frame(p, kBackground, L"img_area_bkg.png", 12);
  m_captionBand = page::Frame(p, kCaptionBand, L"img_area_caption.png", 8);
  m_caption = page::Caption(p, kCaption, 18, page::kCaptionColour);
  m_content = page::Frame(p, kContent, L"img_area_content.png", 10);
  m_stagesCaption = page::Caption(p, kStagesCaption, 16, page::kCaptionColour);
  m_stagesHelp = page::Add<CHelpButton>(p, kStagesHelp, CRect(0, 0, 20, 20), L"", 1, 1);
  m_stagesHelp->SetImage(L"img_help.png", 1);
  m_reset = page::Add<CImageButton>(p, kReset, CRect(0, 0, 24, 24), L"", 1, 1);
  m_reset->SetImage(L"btn_reset.png", 4);

  m_stages = page::Add<DPIControl>(p, kStages, CRect(), 1, 1);
  m_stages->SetFontWidth(15);
  // The cards before any profile is read, as the page is first drawn.
  constexpr int kBuildStages[kMaxStages][2] = {{800, 2545},     {1600, 15690496}, {2400, 5043456},
                                               {3200, 2139135}, {6400, 16776960}, {26000, 13173135}};
  for (const auto& stage : kBuildStages) m_stages->AddItem(stage[0], stage[1]);

  m_slider = page::Add<DPISlider>(p, kSlider, CRect(), 1, 1);
  m_slider->SetBkgImage(L"img_area_bkg.png");
  m_slider->SetImage(L"img_dpi_bar.png", 4);
  m_slider->SetFontWidth(12);
  SetSensorRow(m_row);

  m_apply = page::Add<MButton>(p, kApply, CRect(), L"", 1, 1);
  m_apply->SetImage(L"img_button.png", 4);
  m_apply->SetFontWidth(14);
  m_apply->SetTextColor(Color(page::kCaptionColour));
  m_countText = page::Caption(p, kCountText, 14, page::kLabelColour);
  m_count = page::Add<MComboBox>(p, kCount, CRect(), 1, 1);
  m_count->SetFontWidth(14);
  for (int n = 1; n <= kMaxStages; ++n) m_count->AddItem(std::to_wstring(n).c_str(), n);
  m_count->SelectData(kMaxStages);
}

void DpiPage::Layout(CRect r, float scale) {
  if (m_background == nullptr) return;
  const auto S = [scale](int v) { return int(float(v) * scale + 0.5f); };
  m_backdrop->SetRect(r);
  m_background->SetRect(r);
  m_captionBand->SetRect(CRect(r.left, r.top, r.right, r.top + S(50)));
  m_caption->SetRect(CRect(r.left + S(24), r.top, r.right - S(24), r.top + S(50)));
  const CRect c(r.left + S(20), r.top + S(70), r.right - S(20), r.bottom - S(20));
  m_content->SetRect(c);

  m_stagesCaption->SetRect(CRect(c.left + S(24), c.top + S(18), c.right - S(80), c.top + S(50)));
  page::PlaceAfter(*m_stagesCaption, *m_stagesHelp, 10);
  m_reset->SetRect(CRect(c.right - S(24) - 24, c.top + S(22), c.right - S(24), c.top + S(22) + 24));

  // The stages, the slider and the row below share the height left under
  // the caption evenly.
  const int sliderWidth = std::min(kSliderDesignWidth, c.Width() - S(40));
  const int percent = std::max(10, sliderWidth * 100 / kSliderDesignWidth);
  const int sliderHeight = kSliderDesignHeight * percent / 100;
  constexpr int kRowHeight = 36;
  const int captionBottom = c.top + S(56);
  const int spare = c.bottom - S(28) - captionBottom - kStagesHeight - sliderHeight - kRowHeight;
  const int gap = std::max(S(16), spare / 3);

  const int stagesLeft = c.left + (c.Width() - kStagesWidth) / 2;
  const int stagesTop = captionBottom + gap;
  m_stages->SetRect(CRect(stagesLeft, stagesTop, stagesLeft + kStagesWidth, stagesTop + kStagesHeight));

  const int sliderLeft = c.left + (c.Width() - sliderWidth) / 2;
  const int sliderTop = stagesTop + kStagesHeight + gap;
  m_slider->SetScale(percent);
  m_slider->SetRect(CRect(sliderLeft, sliderTop, sliderLeft + sliderWidth, sliderTop + sliderHeight));

  const int rowTop = sliderTop + sliderHeight + gap;
  const int labelWidth = std::max(S(60), page::TextWidth(*m_countText) + 4);
  m_countText->SetRect(CRect(sliderLeft, rowTop, sliderLeft + labelWidth, rowTop + 32));
  m_count->SetRect(CRect(sliderLeft + labelWidth + S(12), rowTop, sliderLeft + labelWidth + S(12) + S(110), rowTop + 32));
  m_apply->SetRect(CRect(sliderLeft + sliderWidth - 120, rowTop - 2, sliderLeft + sliderWidth, rowTop + 34));
}

void DpiPage::RefreshTexts() {
  if (m_caption == nullptr) return;
  const std::wstring font = shell::FontName();
  for (MControlFont* c : std::initializer_list<MControlFont*>{m_caption, m_stagesCaption, m_apply, m_countText, m_count,
                                                               m_slider, m_stagesHelp}) {
    if (!font.empty()) c->SetFontName(font.c_str());
  }
  m_caption->SetTitle(page::Text(kTextCaption).c_str());
  m_stagesCaption->SetTitle(page::Text(kTextStages).c_str());
  m_stagesHelp->SetTitle(page::Text(kTextStagesHelp).c_str());
  m_reset->SetTooltip(page::Text(kTextReset).c_str());
  m_apply->SetTitle(page::Text(kTextApply).c_str());
  m_countText->SetTitle(page::Text(kTextCount).c_str());
  if (!m_stagesCaption->GetRect().IsRectEmpty()) page::PlaceAfter(*m_stagesCaption, *m_stagesHelp, 10);
}

bool DpiPage::OnNotify(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  switch (id) {
    case kStages:
      switch (code) {
        case CN_CLICK: OnStageSelected(); break;
        case CN_SUBCLICK: OnColourClicked(); break;
        case CN_EDITBEGIN: OnEditBegin(int(lParam)); break;
        case CN_EDITEND: OnEditEnd(int(lParam)); break;
        default: break;
      }
      return true;
    case kSlider:
      if (code == CN_SCROLL) OnSliderMoved(int(wParam));
      if (code == CN_CLICK) OnSliderReleased();
      return true;
    case kCount:
      if (code == CN_CLICK) OnCountPicked();
      return true;
    case kApply:
      if (code == CN_CLICK) {
        page::QueueWriteJob(m_dlg, DeviceWorker::kJobDpiStages);
        m_dlg.ShowSaveWait();
      }
      return true;
    case kReset:
      if (code == CN_CLICK) OnReset();
      return true;
    default:
      return false;
  }
}

// --- 2. The worker's updates -----------------------------------------------------------------------

void DpiPage::RefreshDPI() {
  // A model's database without the profile yet (a mouse shown before it
  // was connected) has nothing to show.
  std::wstring stored;
  if (m_stages == nullptr || !m_dlg.Store().GetConfigValue(Profile(), L"dpi_count", stored)) return;
  const int count = Load(L"dpi_count");
  if (m_count->SelectData(count) == 0) m_count->SelectData(kMaxStages);
  m_shownCount = int(m_count->GetCurData());
  RedrawStages();
  int stage = Load(L"dpi_index");
  if (stage < 0 || stage >= m_shownCount) stage = 0;
  m_shownStage = stage;
  m_stages->SetSelectItem(stage);
  MoveSliderToDpi(m_stages->GetDPIValue(stage));
}

void DpiPage::SetSensorRow(const mouseproto::SensorRow& row) {
  m_row = row;
  if (m_slider == nullptr) return;
  m_slider->SetMinProgress(1);
  m_slider->SetMaxProgress(std::max(0, row.slider_positions - 1));
  m_slider->SetDPIDesc(row.step_text, row.range_text);
  if (m_stages != nullptr && m_stages->GetItemCount() > 0) MoveSliderToDpi(m_stages->GetDPIValue(m_stages->GetSelectItem()));
}

bool DpiPage::ShownStageCount(int& count) {
  count = m_shownCount;
  return true;
}

bool DpiPage::ShownStage(int& stage) {
  stage = m_shownStage;
  return true;
}

bool DpiPage::StageDpi(int stage, int& dpi) {
  if (m_stages == nullptr) return false;
  dpi = m_stages->GetDPIValue(stage);
  return true;
}

void DpiPage::SelectStageCount(int count) {
  if (m_count == nullptr || m_count->SelectData(count) == 0) return;
  m_shownCount = count;
  RedrawStages();
}

void DpiPage::SelectStage(int stage) {
  if (m_stages == nullptr) return;
  m_shownStage = stage;
  m_stages->SetSelectItem(stage);
}

void DpiPage::SetStage(int stage, int dpi, int colour) {
  if (m_stages == nullptr) return;
  m_stages->SetDPIValue(stage, dpi);
  m_stages->SetDPIColorValue(stage, colour);
}

void DpiPage::MoveSliderToDpi(int dpi) {
  if (m_slider != nullptr) m_slider->SetProgress(mouseproto::SliderProgressForDpi(m_row, dpi));
}

// --- 3. Handlers ---------------------------------------------------------------------------------------

void DpiPage::OnStageSelected() {
  const int stage = m_stages->GetSelectItem();
  if (stage < 0 || stage >= m_stages->GetItemCount()) return;
  Save(L"dpi_index", stage);
  MoveSliderToDpi(m_stages->GetDPIValue(stage));
  if (!MakeShown(stage)) return;
  page::QueueWriteJob(m_dlg, DeviceWorker::kJobDpiStages);
  page::QueueWriteJob(m_dlg, DeviceWorker::kJobDpiColours);
  ShowDpiMessage(m_stages->GetDPIValue(stage));
  m_dlg.ShowSaveWait();
}

void DpiPage::OnColourClicked() {
  const int stage = m_stages->GetColorItem();
  if (stage < 0 || stage >= m_stages->GetItemCount()) return;
  // The press on the swatch has selected the card: it is the selected
  // stage from now on, whatever the dialog answers.
  OnStageSelected();
  const int before = m_stages->GetDPIColorValue(stage);
  const CRect card = m_stages->GetItemRect(stage);
  RECT anchor{card.left, card.top, card.right, card.top + DPIControl::kColorAreaHeight};
  m_dlg.ClientToScreen(&anchor);
  const std::optional<std::uint32_t> picked =
      m_dlg.PickColour(MRender::ToARGB(COLORREF(before)), CRect(anchor.left, anchor.top, anchor.right, anchor.bottom));
  if (!picked) return;
  const int colour = int(Color(ARGB(*picked)).ToCOLORREF());
  if (colour == before) return;
  m_stages->SetDPIColorValue(stage, colour);
  Save(ProfileMapping::StageColourKey(stage), colour);
  MoveSliderToDpi(m_stages->GetDPIValue(stage));
  page::QueueWriteJob(m_dlg, DeviceWorker::kJobDpiColours);
  m_dlg.ShowSaveWait();
}

void DpiPage::OnEditBegin(int stage) {
  if (stage < 0 || stage >= m_stages->GetItemCount()) return;
  Save(L"dpi_index", stage);
  MoveSliderToDpi(m_stages->GetDPIValue(stage));
  if (!MakeShown(stage)) return;
  page::QueueWriteJob(m_dlg, DeviceWorker::kJobDpiStages);
  ShowDpiMessage(m_stages->GetDPIValue(stage));
}

void DpiPage::OnEditEnd(int stage) {
  if (m_redrawing || stage < 0 || stage >= m_stages->GetItemCount()) return;
  const int before = m_stages->GetDPIValue(stage);
  const std::optional<int> typed = TypedNumber(m_stages->GetEditText());
  // An emptied field keeps the stage's value.
  const int dpi = typed ? mouseproto::SnapTypedDpi(m_row, *typed) : before;
  m_stages->SetEditText(std::to_wstring(dpi).c_str());
  m_stages->SetDPIValue(stage, dpi);
  MoveSliderToDpi(dpi);
  const bool shownNow = MakeShown(stage);
  if (dpi != before) {
    Save(ProfileMapping::StageValueKey(stage), dpi);
    page::QueueWriteJob(m_dlg, DeviceWorker::kJobDpiStages);
    page::QueueWriteJob(m_dlg, DeviceWorker::kJobDpiColours);
    m_dlg.ShowSaveWait();
  }
  if (shownNow) ShowDpiMessage(dpi);
}

void DpiPage::OnSliderMoved(int progress) {
  const int stage = m_stages->GetSelectItem();
  if (stage < 0 || stage >= m_stages->GetItemCount()) return;
  const int dpi = mouseproto::DpiForSliderProgress(m_row, progress);
  if (dpi == m_stages->GetDPIValue(stage)) return;
  m_stages->SetDPIValue(stage, dpi);
  Save(ProfileMapping::StageValueKey(stage), dpi);
  m_sliderMoved = true;
}

void DpiPage::OnSliderReleased() {
  if (!m_sliderMoved) return;
  m_sliderMoved = false;
  page::QueueWriteJob(m_dlg, DeviceWorker::kJobDpiStages);
  m_dlg.ShowSaveWait();
}

void DpiPage::OnCountPicked() {
  const int count = int(m_count->GetCurData());
  if (count < 1 || count == m_shownCount) return;
  Save(L"dpi_count", count);
  m_shownCount = count;
  RedrawStages();
  int stage = Load(L"dpi_index");
  if (stage < 0 || stage >= count) {
    stage = 0;
    Save(L"dpi_index", stage);
  }
  m_shownStage = stage;
  m_stages->SetSelectItem(stage);
  MoveSliderToDpi(m_stages->GetDPIValue(stage));
  page::QueueWriteJob(m_dlg, DeviceWorker::kJobDpiStages);
  m_dlg.ShowSaveWait();
}

void DpiPage::OnReset() {
  if (m_dlg.Message(page::Text(kTextResetQuestion).c_str(), page::Text(kTextReset).c_str(), kYesNo) != kAnswerYes) return;
  m_dlg.AppendJob(DeviceWorker::kJobDpiDefaults);
  m_dlg.ShowSaveWait();
}

// --- 4. Helpers ------------------------------------------------------------------------------------------

void DpiPage::RedrawStages() {
  // Closing an open value editor here must not store what it held: the
  // stages are being replaced from the profile.
  m_redrawing = true;
  m_stages->CloseEdit();
  m_stages->ClearList();
  const int count = std::clamp(int(m_count->GetCurData()), 1, kMaxStages);
  for (int stage = 0; stage < count; ++stage) {
    m_stages->AddItem(Load(ProfileMapping::StageValueKey(stage)), Load(ProfileMapping::StageColourKey(stage)));
  }
  int selected = Load(L"dpi_index");
  if (selected < 0 || selected >= count) selected = 0;
  m_stages->SetSelectItem(selected);
  m_redrawing = false;
}

bool DpiPage::MakeShown(int stage) {
  if (stage == m_shownStage) return false;
  m_shownStage = stage;
  return true;
}

void DpiPage::ShowDpiMessage(int dpi) {
  if (m_dlg.GetShowDpiTips() != 0) m_dlg.ShowDpiMessage(dpi);
}

int DpiPage::Profile() const { return m_dlg.GetCurrentProfile(); }

void DpiPage::Save(const std::wstring& key, int value) { m_dlg.Store().SetConfigInt(Profile(), key, value); }

int DpiPage::Load(const std::wstring& key) { return m_dlg.Store().GetConfigInt(Profile(), key); }

}  // namespace ui
