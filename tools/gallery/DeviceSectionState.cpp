#include "tools/gallery/DeviceSectionState.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "toolkit/controls/BatteryCtrl.h"
#include "toolkit/controls/CColorButton.h"
#include "toolkit/controls/CDeviceList.h"
#include "toolkit/controls/CDeviceState.h"
#include "toolkit/controls/LightSlider.h"
#include "toolkit/controls/MPalette.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/PaintManager.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

// Index
//   1. Ids and data
//   2. The section's panel (reactions)
//   3. Building the section
//   4. The page "device-state"

using namespace DUI;

namespace {

// --- 1. Ids and data -------------------------------------------------------------------------

enum : UINT {
  kPanel = 700,
  kDeviceFrame,
  kDeviceHeading,
  kDeviceList,
  kPrevious,
  kNext,
  kState,
  kBattery,
  kCharge,
  kColourFrame = 720,
  kColourHeading,
  kPalette,
  kPreview,
  kPreviewText,
  kPresetLabel,
  kSlotLabel,
  kBrightnessLabel,
  kBrightness,
  kSpeedLabel,
  kSpeed,
  kPresets = 740,  // 8 preset swatches
  kSlots = 750,    // 7 colour slots
};

struct Mouse {
  int key;
  const wchar_t* name;
  const wchar_t* picture;  // in the skin folder's device/
  int wired, wireless, charging, battery, version;
};
constexpr Mouse kMice[] = {
    {1, L"Veyra Air", L"veyra_air.png", 0, 1, 1, 64, 112},
    {2, L"Veyra Core", L"veyra_core.png", 1, 0, 0, 0, 105},
};

constexpr COLORREF kPresetColours[8] = {255, 16711920, 16714752, 16580352, 458496, 57087, 18687, 16777215};
constexpr COLORREF kSlotColours[7] = {255, 65280, 16711680, 16776960, 65535, 16711935, 16777215};

// --- 2. The section's panel --------------------------------------------------------------------

class StateSection : public MPanel {
 public:
  StateSection(MObject* parent, CRect rect) : MPanel(parent, kPanel, rect, 1) { SetEnableScroll(0); }

  CDeviceList* list = nullptr;
  CDeviceState* state = nullptr;
  BatteryCtrl* battery = nullptr;
  MPalette* palette = nullptr;
  CArea* preview = nullptr;
  MText* previewText = nullptr;
  MText* brightnessLabel = nullptr;
  MText* speedLabel = nullptr;
  CColorButton* presets[8] = {};
  CColorButton* slots[7] = {};

  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override {
    React(id, code);
    return MPanel::OnMessage(id, code, wParam, lParam);
  }

  // Shows the selected device's connection and battery beside the list.
  void ShowSelected() {
    if (list->GetOnlineDevCount() == 0) {
      state->SetTitle(L"No mouse connected");
      return;
    }
    const int key = list->GetSelectDevice();
    for (const Mouse& m : kMice) {
      if (m.key != key) continue;
      const bool wired = list->GetDeviceState(key, 0) > 0;
      state->SetTitle((std::wstring(m.name) + (wired ? L" · wired" : L" · wireless")).c_str());
      battery->SetVisible(wired ? 0 : 1);
    }
  }

  void ShowColour(COLORREF colour) {
    preview->SetTransparent(0, 0, colour);
    wchar_t text[48];
    std::swprintf(text, 48, L"R %u  G %u  B %u", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    previewText->SetTitle(text);
    for (CColorButton* slot : slots) {
      if (slot->GetCheck()) slot->SetColor(colour);
    }
  }

 private:
  void React(UINT id, UINT code) {
    if ((id == kPrevious || id == kNext) && code == CN_CLICK) {
      list->SetSelectIndex(id == kPrevious ? -1 : 1);
      ShowSelected();
    } else if (id == kDeviceList && code == CN_CLICK) {
      ShowSelected();
    } else if (id == kCharge && code == CN_CLICK) {
      const int charging = battery->GetCharging() != 0 ? 0 : 1;
      battery->SetBatteryInfo(battery->GetLevel(), charging);
      list->SetDeviceBattery(kMice[0].key, charging, battery->GetLevel());
    } else if (id == kPalette && (code == CN_COLOR || code == CN_CLICK)) {
      for (CColorButton* preset : presets) preset->SetCheck(0);
      ShowColour(palette->GetSelectColor());
    } else if (id >= kPresets && id < kPresets + 8 && code == CN_CLICK) {
      const COLORREF colour = presets[id - kPresets]->GetColor();
      palette->SetSelectColor(colour);
      ShowColour(colour);
    } else if (id >= kSlots && id < kSlots + 7 && code == CN_CLICK) {
      const COLORREF colour = slots[id - kSlots]->GetColor();
      palette->SetSelectColor(colour);
      ShowColour(colour);
    } else if (id == kBrightness && (code == CN_SCROLL || code == CN_CLICK)) {
      ShowBrightness();
    } else if (id == kSpeed && (code == CN_SCROLL || code == CN_CLICK)) {
      ShowSpeed();
    }
  }

 public:
  LightSlider* brightness = nullptr;
  LightSlider* speed = nullptr;

  void ShowBrightness() {
    static const wchar_t* const kPercent[] = {L"0%", L"25%", L"50%", L"75%", L"100%"};
    const int value = std::min(4, std::max(0, brightness->GetProgress()));
    brightnessLabel->SetTitle((std::wstring(L"Brightness: ") + kPercent[value]).c_str());
  }
  void ShowSpeed() { speedLabel->SetTitle((L"Speed: " + std::to_wstring(speed->GetProgress())).c_str()); }
};

template <typename T>
T* Make(MPanel* panel, const wchar_t* className, UINT id, CRect rect, const wchar_t* title = nullptr) {
  return dynamic_cast<T*>(panel->CreateControl(className, id, rect, title, 1, 1));
}

MText* Label(MPanel* panel, UINT id, CRect rect, const wchar_t* text, int size, ARGB colour) {
  auto* label = Make<MText>(panel, L"MText", id, rect, text);
  if (label == nullptr) return nullptr;
  label->SetFontWidth(size);
  label->SetTextColor(Color(colour));
  return label;
}

void Frame(MPanel* panel, UINT id, CRect rect, UINT headingId, const wchar_t* heading) {
  if (auto* frame = dynamic_cast<MPicture*>(panel->CreateArea(L"MPicture", id, rect, nullptr, 1, 1))) {
    frame->SetImage(L"img_area_content.png", 1);
    frame->SetShowMode(ShowModeFrame, 10);
  }
  Label(panel, headingId, CRect(rect.left + 14, rect.top + 8, rect.right - 14, rect.top + 32), heading, 15,
        0xFFFA373E);
}

}  // namespace

// --- 3. Building the section ----------------------------------------------------------------------

void BuildStateSection(GalleryDialog& dlg, CRect area) {
  auto* section = new StateSection(&dlg, area);
  dlg.GetPaintManager()->AttachControl(section, 1);
  const int l = area.left, t = area.top;

  // --- Device list, arrows, state label and battery gauge ----------------------------------
  const CRect devices(l, t, l + 300, area.bottom);
  Frame(section, kDeviceFrame, devices, kDeviceHeading, L"Device list");
  section->list = Make<CDeviceList>(section, L"CDeviceList", kDeviceList, CRect(l + 30, t + 42, l + 270, t + 342));
  CDeviceList* list = section->list;
  list->SetImage(L"area_device.png", 1);
  list->SetBatteryBkg(L"icon\\icon_battery_bkg.png");
  list->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
  list->SetDevModeImage(L"icon\\icon_devmode.png");
  list->SetVersionDesc(L"Firmware");
  for (const Mouse& m : kMice) {
    list->AddDevice(m.name, m.key, MRender::GetSkinFile(std::wstring(L"device\\") + m.picture));
    list->SetDeviceState(m.key, 0, m.wired);
    list->SetDeviceState(m.key, 1, m.wireless);
    list->SetDeviceBattery(m.key, m.charging, m.battery);
    list->SetDeviceVersion(m.key, m.version);
  }
  list->GetOnlineDevCount();
  list->SetSelectDevice(kMice[0].key);
  const struct {
    UINT id;
    const wchar_t* image;
    const wchar_t* tip;
    int x;
  } arrows[] = {{kPrevious, L"img_btn_pre.png", L"Previous mouse", l + 112},
                {kNext, L"img_btn_next.png", L"Next mouse", l + 164}};
  for (const auto& a : arrows) {
    if (auto* b = Make<CImageButton>(section, L"CImageButton", a.id, CRect(a.x, t + 352, a.x + 24, t + 376))) {
      b->SetImage(a.image, 4);
      b->SetTooltip(a.tip);
    }
  }
  // The gauge and the label come from the dialog's factory in the program;
  // here the section's panel adopts them.
  section->state = new CDeviceState(section, kState, CRect(l + 30, t + 390, l + 270, t + 420), L"", 1, 1);
  section->AttachControl(section->state, 1);
  section->state->SetImage(L"img_area.png", 1);
  section->state->SetTextColor(Color(0xFFDDE2E8));
  section->battery = new BatteryCtrl(section, kBattery, CRect(l + 30, t + 436, l + 140, t + 458), 1, 1);
  section->AttachControl(section->battery, 1);
  section->battery->SetImage(L"icon\\icon_battery_bkg.png", 1);
  section->battery->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
  section->battery->SetTextColor(Color(0xFF9FB4C8));
  section->battery->SetBatteryInfo(kMice[0].battery, kMice[0].charging);
  section->battery->AddMTimer();
  if (dlg.GetPaintManager()->GetTimerCount() == 0) dlg.SetMTimer(10);
  if (auto* charge = Make<MButton>(section, L"MButton", kCharge, CRect(l + 150, t + 431, l + 270, t + 463), L"Charging")) {
    charge->SetImage(L"img_button.png", 4);
    charge->SetTooltip(L"Plug or unplug the charging cable");
  }
  section->ShowSelected();

  // --- Palette, preview, swatches and sliders ----------------------------------------------------
  const int x0 = l + 316;
  const CRect colours(x0, t, area.right, area.bottom);
  Frame(section, kColourFrame, colours, kColourHeading, L"Colours and levels");
  section->palette = Make<MPalette>(section, L"MPalette", kPalette, CRect(x0 + 24, t + 42, x0 + 314, t + 192));
  section->palette->SetThumbImage(L"img_palette_thumb.png");
  section->preview = new CArea(section, kPreview, CRect(x0 + 334, t + 42, x0 + 424, t + 132), 1, 1);
  section->AttachControl(section->preview, 0);
  section->preview->SetFrame(1, Color(0xFF454B55));
  section->previewText = Label(section, kPreviewText, CRect(x0 + 334, t + 138, x0 + 530, t + 160), L"", 13, 0xFFB8BDC6);

  Label(section, kPresetLabel, CRect(x0 + 24, t + 206, x0 + 300, t + 228), L"Presets", 14, 0xFFDDE2E8);
  for (int i = 0; i < 8; ++i) {
    const int x = x0 + 24 + i * 38;
    auto* b = Make<CColorButton>(section, L"CColorButton", kPresets + UINT(i), CRect(x, t + 232, x + 28, t + 260));
    b->SetColor(kPresetColours[i]);
    b->SetGroupName(L"DEFAULTCOLOR");
    section->presets[i] = b;
  }
  Label(section, kSlotLabel, CRect(x0 + 24, t + 272, x0 + 300, t + 294), L"Colour slots", 14, 0xFFDDE2E8);
  for (int i = 0; i < 7; ++i) {
    const int x = x0 + 24 + i * 38;
    auto* b = Make<CColorButton>(section, L"CColorButton", kSlots + UINT(i), CRect(x, t + 298, x + 28, t + 326));
    b->SetColor(kSlotColours[i]);
    b->SetGroupName(L"COLORVALUE");
    section->slots[i] = b;
  }
  section->slots[0]->SetCheck(1);
  section->palette->SetSelectColor(kSlotColours[0]);
  section->ShowColour(kSlotColours[0]);

  section->brightnessLabel = Label(section, kBrightnessLabel, CRect(x0 + 24, t + 344, x0 + 300, t + 366), L"", 14,
                                   0xFFDDE2E8);
  section->brightness = Make<LightSlider>(section, L"LightSlider", kBrightness, CRect(x0 + 24, t + 370, x0 + 314, t + 392));
  section->brightness->SetMaxProgress(4);
  section->brightness->SetThumbImage(L"img_slider_bar.png");
  section->brightness->SetProgress(3);
  section->brightness->AddMTimer();
  section->ShowBrightness();
  section->speedLabel = Label(section, kSpeedLabel, CRect(x0 + 24, t + 408, x0 + 300, t + 430), L"", 14, 0xFFDDE2E8);
  section->speed = Make<LightSlider>(section, L"LightSlider", kSpeed, CRect(x0 + 24, t + 434, x0 + 314, t + 456));
  section->speed->SetMaxProgress(4);
  section->speed->SetMinProgress(1);
  section->speed->SetThumbImage(L"img_slider_bar.png");
  section->speed->SetProgress(2);
  section->speed->SetShowText(1);
  section->speed->SetTextColor(Color(0xFFB8BDC6));
  section->speed->AddMTimer();
  section->ShowSpeed();
}

// --- 4. The page "device-state" -------------------------------------------------------------------

namespace {

void BuildStatePage(GalleryDialog& dlg, CRect client) {
  if (auto* title = dynamic_cast<MText*>(dlg.CreateArea(L"MText", 690, CRect(24, 14, client.right - 24, 50),
                                                        L"Device list, battery and colour controls", 1, 1))) {
    title->SetFontWidth(22);
  }
  BuildStateSection(dlg, CRect(16, 62, client.right - 16, client.bottom - 16));
}

}  // namespace

REGISTER_GALLERY_PAGE("device-state", "device list with battery, state label, palette, swatches and light sliders",
                      BuildStatePage)
