#include "ui/LightPage.h"

// Index
//   1. Building and texts
//   2. Layout
//   3. Showing the lighting of the profile
//   4. Notifications
//   5. Colours

#include <algorithm>
#include <cwchar>
#include <vector>

#include "device/DefaultLights.h"
#include "device/DeviceWorker.h"
#include "shell/AppNames.h"
#include "shell/Localisation.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/CColorButton.h"
#include "toolkit/controls/LightSlider.h"
#include "toolkit/controls/MPalette.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Notify.h"
#include "ui/DeviceMainDlg.h"
#include "ui/PageParts.h"
#include "ui/MousePaletteDlg.h"

namespace ui {

using namespace DUI;

namespace {

enum : int {
  kTextCaption = 265, kTextMode = 266, kTextReset = 267, kTextResetTip = 268, kTextBrightness = 269,
  kTextSpeed = 270, kTextSlots = 271, kTextPresets = 272, kTextResetQuestion = 275, kTextResetCaption = 276,
  kTextBrightnessValue = 278, kTextSpeedValue = 279,
};

enum : int { kShowBrightness = 0x01, kShowSpeed = 0x02, kShowPicker = 0x10, kShowSlots = 0x800 };

constexpr COLORREF kPresetColours[LightPage::kPresetCount] = {255,    16711920, 16714752, 16580352,
                                                             458496, 57087,    18687,    16777215};
constexpr COLORREF kSlotColours[LightPage::kSlotCount] = {255, 65280, 16711680, 16776960, 65535, 16711935, 16777215};
constexpr const wchar_t* kComponentNames[3] = {L"R", L"G", L"B"};
constexpr int kLevels = 4;  // brightness and speed run from 0 to 4

const Color kWhite(0xFFFFFFFF);
const Color kLabel(0xFFB8BDC6);

using page::Make;
using page::MakeFrame;
using page::MakeText;

}  // namespace

// --- 1. Building and texts --------------------------------------------------------------------

void LightPage::Build() {
  MainPage& p = m_container;
  m_frames[0] = MakeFrame(p, kFrame, L"img_area_bkg.png", ShowModeFrame, 10);
  m_frames[1] = MakeFrame(p, kCaptionBand, L"img_area_caption.png", ShowModeStretch, 0);
  m_frames[2] = MakeFrame(p, kModeFrame, L"img_area_content.png", ShowModeFrame, 10);
  m_frames[3] = MakeFrame(p, kColourFrame, L"img_area_content.png", ShowModeFrame, 10);
  m_frames[4] = MakeFrame(p, kSliderFrame, L"img_area_content.png", ShowModeFrame, 10);
  m_caption = MakeText(p, kCaption, kWhite, 18);

  m_modeLabel = MakeText(p, kModeLabel, kLabel, 14);
  m_modeList = Make<MComboBox>(p, L"MComboBox", kModeList);
  if (m_modeList != nullptr) m_modeList->SetImage(L"img_combobox.png", 4);
  m_resetLabel = MakeText(p, kResetLabel, kLabel, 14);
  m_reset = Make<CImageButton>(p, L"CImageButton", kReset);
  if (m_reset != nullptr) m_reset->SetImage(L"btn_reset.png", 4);

  m_brightnessCaption = MakeText(p, kBrightnessCaption, kLabel, 14);
  m_brightnessLabel = MakeText(p, kBrightnessLabel, kWhite, 14);
  if (m_brightnessLabel != nullptr) m_brightnessLabel->SetAlignment(DT_RIGHT, DT_VCENTER);
  m_brightness = Make<LightSlider>(p, L"LightSlider", kBrightness);
  m_speedCaption = MakeText(p, kSpeedCaption, kLabel, 14);
  m_speedLabel = MakeText(p, kSpeedLabel, kWhite, 14);
  if (m_speedLabel != nullptr) m_speedLabel->SetAlignment(DT_RIGHT, DT_VCENTER);
  m_speed = Make<LightSlider>(p, L"LightSlider", kSpeed);
  const std::pair<LightSlider*, int> sliders[] = {{m_brightness, 3}, {m_speed, 2}};
  for (const auto& [slider, start] : sliders) {
    if (slider == nullptr) continue;
    slider->SetMaxProgress(kLevels);
    slider->SetThumbImage(L"img_slider_bar.png");
    slider->SetProgress(start);
    slider->AddMTimer();
  }

  m_presetLabel = MakeText(p, kPresetLabel, kLabel, 14);
  for (int i = 0; i < kPresetCount; ++i) {
    m_presets[i] = Make<CColorButton>(p, L"CColorButton", kPresets + UINT(i));
    if (m_presets[i] == nullptr) continue;
    m_presets[i]->SetColor(kPresetColours[i]);
    m_presets[i]->SetGroupName(L"DEFAULTCOLOR");
  }
  m_slotLabel = MakeText(p, kSlotLabel, kLabel, 14);
  for (int i = 0; i < kSlotCount; ++i) {
    m_slots[i] = Make<CColorButton>(p, L"CColorButton", kSlots + UINT(i));
    if (m_slots[i] == nullptr) continue;
    m_slots[i]->SetColor(kSlotColours[i]);
    m_slots[i]->SetGroupName(L"COLORVALUE");
  }

  m_colourText = MakeText(p, kColourText, kLabel, 13);
  m_palette = Make<MPalette>(p, L"MPalette", kPalette);
  if (m_palette != nullptr) {
    m_palette->SetThumbImage(L"img_palette_thumb.png");
    m_palette->SetPalletHeight(200);
  }
  m_preview = dynamic_cast<CArea*>(p.CreateControl(L"CArea", kPreview, CRect(), nullptr, 1, 1));
  if (m_preview != nullptr) m_preview->SetFrame(1, Color(0xFF454B55));
  for (int i = 0; i < 3; ++i) {
    m_componentLabels[i] = MakeText(p, kComponentLabels + UINT(i), kLabel, 14);
    if (m_componentLabels[i] != nullptr) m_componentLabels[i]->SetTitle(kComponentNames[i]);
    m_components[i] = Make<MEdit>(p, L"MEdit", kComponents + UINT(i));
    if (m_components[i] == nullptr) continue;
    m_components[i]->SetImage(L"img_edit.png", 4);
    m_components[i]->SetNumberOnly(1);
    m_components[i]->SetLimitText(3);
    m_components[i]->SetEditText(L"255");
  }
  ShowPreview(kSlotColours[0]);
  // Nothing to show until a profile's lighting is read.
  ShowGroup({m_brightnessCaption, m_brightnessLabel, m_brightness, m_speedCaption, m_speedLabel, m_speed, m_frames[4],
             m_slotLabel},
            false);
  for (CColorButton* slot : m_slots) ShowGroup({slot}, false);
}

void LightPage::RefreshTexts() {
  const std::wstring font = shell::FontName();
  for (MText* text : {m_caption, m_modeLabel, m_resetLabel, m_brightnessCaption, m_brightnessLabel, m_speedCaption,
                      m_speedLabel, m_presetLabel, m_slotLabel, m_colourText}) {
    if (text != nullptr && !font.empty()) text->SetFontName(font.c_str());
  }
  if (m_modeList != nullptr && !font.empty()) m_modeList->SetFontName(font.c_str());
  const std::pair<MText*, int> texts[] = {
      {m_caption, kTextCaption},         {m_modeLabel, kTextMode},       {m_resetLabel, kTextReset},
      {m_brightnessCaption, kTextBrightness}, {m_speedCaption, kTextSpeed}, {m_presetLabel, kTextPresets},
      {m_slotLabel, kTextSlots},
  };
  for (const auto& [text, id] : texts) {
    if (text != nullptr) text->SetTitle(shell::GetText(id).c_str());
  }
  if (m_reset != nullptr) m_reset->SetTooltip(shell::GetText(kTextResetTip).c_str());
  // The mode names and the value labels are language texts too.
  if (m_modeList != nullptr) {
    std::vector<LightRecord> lights;
    m_dlg.Store().ListLights(m_dlg.GetCurrentProfile(), lights);
    for (int i = 0; i < m_modeList->GetItemCount(); ++i) {
      for (const LightRecord& light : lights) {
        if (light.mode == int(m_modeList->GetItemData(i))) m_modeList->SetItemText(i, shell::GetText(light.reserved));
      }
    }
    m_modeList->SetCurSel(m_modeList->GetCurSel());
  }
  if (m_brightnessLabel != nullptr) m_brightnessLabel->SetTitle(BrightnessText(m_brightness->GetProgress()).c_str());
  if (m_speedLabel != nullptr) m_speedLabel->SetTitle(SpeedText(m_speed->GetProgress(), false).c_str());
}

std::wstring LightPage::BrightnessText(int value) {
  static const wchar_t* const kPercent[] = {L"0%", L"25%", L"50%", L"75%", L"100%"};
  const int level = std::clamp(value, 0, kLevels);
  return shell::GetText(kTextBrightnessValue) + L": " + kPercent[level];
}

std::wstring LightPage::SpeedText(int value, bool moving) {
  // A slider in motion shows the full-width colon.
  return shell::GetText(kTextSpeedValue) + (moving ? L"\uFF1A" : L": ") + std::to_wstring(value);
}

// --- 2. Layout -----------------------------------------------------------------------------------

void LightPage::Layout(CRect rect, float scale) {
  m_rect = rect;
  m_scale = scale;
  PlaceGroups();
}

void LightPage::PlaceGroups() {
  if (m_caption == nullptr || m_rect.Width() <= 0) return;
  const float s = m_scale;
  const int W = int(float(m_rect.Width()) / s), H = int(float(m_rect.Height()) / s);
  // Page coordinates (before the scale) to window coordinates.
  const auto at = [&](int l, int t, int r, int b) {
    return CRect(m_rect.left + int(float(l) * s + 0.5f), m_rect.top + int(float(t) * s + 0.5f),
                 m_rect.left + int(float(r) * s + 0.5f), m_rect.top + int(float(b) * s + 0.5f));
  };
  m_frames[0]->SetRect(at(0, 0, W, H));
  m_frames[1]->SetRect(at(0, 0, W, 50));
  m_caption->SetRect(at(20, 0, 400, 50));
  m_frames[2]->SetRect(at(10, 60, 212, H - 10));
  m_frames[3]->SetRect(at(220, 60, W - 10, H - 10));
  m_modeLabel->SetRect(at(24, 80, 200, 104));
  m_modeList->SetRect(at(24, 110, 200, 140));
  m_resetLabel->SetRect(at(24, 164, 166, 188));
  m_reset->SetRect(at(172, 164, 196, 188));

  // The colour area, from its fixed corner.
  const int x = kColourAreaX, y = kColourAreaY;
  m_palette->SetRect(at(x, y, x + 380, y + 200));
  m_preview->SetRect(at(x + 400, y, x + 480, y + 60));
  m_colourText->SetRect(at(x + 400, y + 64, x + 560, y + 86));
  for (int i = 0; i < 3; ++i) {
    const int top = y + 100 + i * 34;
    m_componentLabels[i]->SetRect(at(x + 400, top, x + 420, top + 26));
    m_components[i]->SetRect(at(x + 424, top, x + 500, top + 26));
  }
  m_presetLabel->SetRect(at(x, y + 216, x + 380, y + 238));
  for (int i = 0; i < kPresetCount; ++i) m_presets[i]->SetRect(at(x + i * 44, y + 244, x + i * 44 + 32, y + 276));
  m_slotLabel->SetRect(at(x, y + 292, x + 380, y + 314));
  for (int i = 0; i < kSlotCount; ++i) m_slots[i]->SetRect(at(x + i * 44, y + 320, x + i * 44 + 32, y + 352));

  // The slider groups sit below the picker, or in its place without it.
  const int sy = (m_config & kShowPicker) != 0 ? y + 380 : y;
  m_frames[4]->SetRect(at(x - 4, sy - 10, x + 396, sy + 132));
  m_brightnessCaption->SetRect(at(x, sy, x + 190, sy + 24));
  m_brightnessLabel->SetRect(at(x + 190, sy, x + 380, sy + 24));
  m_brightness->SetRect(at(x, sy + 30, x + 380, sy + 52));
  m_speedCaption->SetRect(at(x, sy + 70, x + 190, sy + 94));
  m_speedLabel->SetRect(at(x + 190, sy + 70, x + 380, sy + 94));
  m_speed->SetRect(at(x, sy + 100, x + 380, sy + 122));
  for (LightSlider* slider : {m_brightness, m_speed}) slider->SetScale(s);
}

void LightPage::ShowGroup(std::initializer_list<MControl*> controls, bool shown) {
  for (MControl* c : controls) {
    if (c != nullptr) c->SetVisible(shown ? 1 : 0);
  }
}

// --- 3. Showing the lighting of the profile --------------------------------------------------------

void LightPage::RefreshLighting() {
  SettingsStore& store = m_dlg.Store();
  const int profile = m_dlg.GetCurrentProfile();
  if (store.CountLights(profile) == 0) CreateDefaultLights(store, profile, m_dlg.GetLightEffects());
  ShowStoredLighting();
}

void LightPage::ShowStoredLighting() {
  if (m_modeList == nullptr) return;
  SettingsStore& store = m_dlg.Store();
  const int profile = m_dlg.GetCurrentProfile();
  std::vector<LightRecord> lights;
  store.ListLights(profile, lights);
  m_modeList->DelAllItems();
  for (const LightRecord& light : lights) m_modeList->AddItem(shell::GetText(light.reserved).c_str(), light.mode);
  if (lights.empty()) {
    m_mode = -1;
    m_config = 0;
    ShowMode(-1);
    return;
  }
  const int mode = store.GetCurrentLightMode(profile);
  m_dlg.Worker().Sequences().SetLightMode(mode);
  m_modeList->SelectData(mode);
  ShowMode(mode);
}

// A model just loaded has its database and light effects in place, so the
// page can make the records it lacks itself: a mouse on the cable is not
// read when it is picked, and its lighting still shows.
void LightPage::OnModelShown() {
  if (m_dlg.GetLighting()) RefreshLighting();
}

void LightPage::OnProfileChanged() {
  if (m_dlg.GetLighting()) RefreshLighting();
}

void LightPage::ShowMode(int mode) {
  LightRecord record;
  const bool found = mode >= 0 && m_dlg.Store().GetLight(m_dlg.GetCurrentProfile(), mode, record);
  m_mode = mode;
  m_config = found ? record.config_func : 0;
  const bool brightness = (m_config & kShowBrightness) != 0, speed = (m_config & kShowSpeed) != 0;
  const bool picker = (m_config & kShowPicker) != 0, slots = (m_config & kShowSlots) != 0;

  if (brightness) {
    m_brightness->SetProgress(record.brightness);
    m_brightnessLabel->SetTitle(BrightnessText(record.brightness).c_str());
  }
  ShowGroup({m_brightnessCaption, m_brightnessLabel, m_brightness}, brightness);
  if (speed) {
    m_speed->SetProgress(record.speed);
    m_speedLabel->SetTitle(SpeedText(record.speed, false).c_str());
  }
  ShowGroup({m_speedCaption, m_speedLabel, m_speed}, speed);
  ShowGroup({m_frames[4]}, brightness || speed);

  if (slots) {
    for (int i = 0; i < kSlotCount; ++i) m_slots[i]->SetColor(COLORREF(record.color_value[i]) & 0xFFFFFF);
    m_slots[0]->SetCheck(1);
  }
  ShowGroup({m_slotLabel}, slots);
  for (CColorButton* slot : m_slots) ShowGroup({slot}, slots);

  if (picker) {
    const COLORREF first = COLORREF(record.color_value[0]) & 0xFFFFFF;
    ShowComponents(first);
    ShowPreview(first);
    m_palette->SetSelectColor(first);
  }
  ShowGroup({m_palette, m_preview, m_colourText, m_presetLabel}, picker);
  for (int i = 0; i < 3; ++i) ShowGroup({m_componentLabels[i], m_components[i]}, picker);
  for (CColorButton* preset : m_presets) ShowGroup({preset}, picker);
  PlaceGroups();
}

// --- 4. Notifications -------------------------------------------------------------------------------

bool LightPage::OnNotify(UINT id, UINT code, WPARAM, LPARAM) {
  switch (id) {
    case kModeList:
      if (code != CN_CLICK) return false;
      {
        const int mode = int(m_modeList->GetCurData());
        ShowMode(mode);
        // Job 8 makes the mode the profile's light mode before it sends it.
        m_dlg.Worker().Sequences().SetLightMode(mode);
        Changed();
      }
      return true;
    case kBrightness:
      if (code == CN_SCROLL) m_brightnessLabel->SetTitle(BrightnessText(m_brightness->GetProgress()).c_str());
      if (code == CN_CLICK) SliderReleased(true);
      return code == CN_SCROLL || code == CN_CLICK;
    case kSpeed:
      if (code == CN_SCROLL) m_speedLabel->SetTitle(SpeedText(m_speed->GetProgress(), true).c_str());
      if (code == CN_CLICK) SliderReleased(false);
      return code == CN_SCROLL || code == CN_CLICK;
    case kReset:
      if (code == CN_CLICK) ResetLighting();
      return code == CN_CLICK;
    case kPalette:
      if (code != CN_COLOR && code != CN_CLICK) return false;
      {
        for (CColorButton* preset : m_presets) preset->SetCheck(0);
        const COLORREF colour = m_palette->GetSelectColor() & 0xFFFFFF;
        ShowComponents(colour);
        if (code == CN_CLICK) {
          ApplyColour(colour);
        } else {
          ShowPreview(colour);
        }
      }
      return true;
    default:
      break;
  }
  if (id >= kPresets && id < kPresets + kPresetCount) {
    if (code != CN_CLICK) return code == CN_PRESS;
    const COLORREF colour = m_presets[id - kPresets]->GetColor() & 0xFFFFFF;
    ShowComponents(colour);
    m_palette->SetSelectColor(colour);
    ApplyColour(colour);
    return true;
  }
  if (id >= kSlots && id < kSlots + kSlotCount) {
    // Picking a slot makes it the one the next colour goes into; the picker
    // shows its colour without changing anything.
    if (code != CN_CLICK) return code == CN_PRESS;
    const COLORREF colour = m_slots[id - kSlots]->GetColor() & 0xFFFFFF;
    if ((m_config & kShowPicker) != 0) {
      ShowComponents(colour);
      ShowPreview(colour);
      m_palette->SetSelectColor(colour);
    }
    return true;
  }
  if (id >= kComponents && id < kComponents + 3) {
    if (code == CN_EDITCHANGE) ComponentEdited(int(id - kComponents));
    return code == CN_EDITCHANGE;
  }
  return false;
}

void LightPage::Changed() {
  m_dlg.AppendJob(DeviceWorker::kJobLighting);
  m_dlg.ShowSaveWait();
}

void LightPage::SliderReleased(bool brightness) {
  LightRecord record;
  if (!m_dlg.Store().GetLight(m_dlg.GetCurrentProfile(), m_mode, record)) return;
  if (brightness) {
    record.brightness = m_brightness->GetProgress();
    m_brightnessLabel->SetTitle(BrightnessText(record.brightness).c_str());
  } else {
    record.speed = m_speed->GetProgress();
    m_speedLabel->SetTitle(SpeedText(record.speed, true).c_str());
  }
  if (!m_dlg.Store().UpdateLight(m_mode, record)) return;
  Changed();
}

void LightPage::ResetLighting() {
  const int answer = m_dlg.Message(shell::GetText(kTextResetQuestion).c_str(),
                                   shell::GetText(kTextResetCaption).c_str(), 4);
  if (answer != 1) return;
  m_dlg.Store().DeleteLights(m_dlg.GetCurrentProfile());
  RefreshLighting();
  Changed();
}

// --- 5. Colours ------------------------------------------------------------------------------------

void LightPage::ShowComponents(COLORREF colour) {
  m_showing = true;
  for (int i = 0; i < 3; ++i) m_components[i]->SetEditText(std::to_wstring((colour >> (8 * i)) & 0xFF).c_str());
  m_showing = false;
}

void LightPage::ShowPreview(COLORREF colour) {
  if (m_preview != nullptr) m_preview->SetTransparent(0, 0, colour);
  if (m_colourText != nullptr) {
    wchar_t hex[16];
    std::swprintf(hex, 16, L"#%02X%02X%02X", unsigned(colour & 0xFF), unsigned((colour >> 8) & 0xFF),
                  unsigned((colour >> 16) & 0xFF));
    m_colourText->SetTitle(hex);
  }
}

void LightPage::ComponentEdited(int component) {
  if (m_showing) return;
  COLORREF colour = 0;
  for (int i = 0; i < 3; ++i) {
    const CString text = m_components[i]->GetEditText();
    const int value = MousePaletteDlg::ClampComponent(text);
    if (i == component && !text.empty() && text != std::to_wstring(value)) {
      m_showing = true;
      m_components[i]->SetEditText(std::to_wstring(value).c_str());
      m_showing = false;
    }
    colour |= COLORREF(value) << (8 * i);
  }
  m_palette->SetSelectColor(colour);
  ApplyColour(colour);
}

void LightPage::ApplyColour(COLORREF colour) {
  ShowPreview(colour);
  LightRecord record;
  if (!m_dlg.Store().GetLight(m_dlg.GetCurrentProfile(), m_mode, record)) return;
  record.color_value[0] = int(colour);
  if ((record.config_func & kShowSlots) != 0) {
    for (CColorButton* slot : m_slots) {
      if (slot->GetCheck()) slot->SetColor(colour);
    }
    for (int i = 0; i < kSlotCount; ++i) record.color_value[i] = int(m_slots[i]->GetColor() & 0xFFFFFF);
  }
  if (!m_dlg.Store().UpdateLight(m_mode, record)) return;
  Changed();
}

std::unique_ptr<DevicePage> MakeLightPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<LightPage>(dlg, container);
}

}  // namespace ui
