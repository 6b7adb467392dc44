#include "tools/gallery/DeviceSectionDpi.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "toolkit/controls/DPIControl.h"
#include "toolkit/controls/DPISlider.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "tools/gallery/GalleryDialog.h"

using namespace DUI;

namespace gallery_dpi {

namespace {

constexpr int kStep = 50;
constexpr int kLowest = 50;
constexpr int kHighest = 26000;

// Stage colours (COLORREF 0x00BBGGRR) a swatch click steps through.
constexpr int kColours[] = {0x003C3CF0, 0x00208CFF, 0x0028DCF0, 0x0050C850, 0x00E6C83C, 0x00C850C8, 0x00F0F0F0};

DPIControl* Stages(GalleryDialog& dlg) { return dynamic_cast<DPIControl*>(dlg.GetControl(kStagesId)); }
DPISlider* Slider(GalleryDialog& dlg) { return dynamic_cast<DPISlider*>(dlg.GetControl(kSliderId)); }

void ShowStage(GalleryDialog& dlg) {
  DPIControl* stages = Stages(dlg);
  auto* text = dynamic_cast<MText*>(dlg.GetControl(kValueTextId));
  if (stages == nullptr || text == nullptr) return;
  const int stage = stages->GetSelectItem();
  // For scripts that drive the page.
  std::printf("dpi stage=%d value=%d colour=%06X\n", stage, stages->GetDPIValue(stage),
              unsigned(stages->GetDPIColorValue(stage)));
  std::fflush(stdout);
  const std::wstring line = L"Stage " + std::to_wstring(stage + 1) + L": " +
                            std::to_wstring(stages->GetDPIValue(stage)) + L" DPI";
  text->SetTitle(line.c_str());
}

void SliderToStage(GalleryDialog& dlg) {
  DPIControl* stages = Stages(dlg);
  DPISlider* slider = Slider(dlg);
  if (stages == nullptr || slider == nullptr) return;
  slider->SetProgress(ProgressForDpi(stages->GetDPIValue(stages->GetSelectItem())));
  ShowStage(dlg);
}

}  // namespace

int DpiForProgress(int progress) { return std::clamp(progress * kStep, kLowest, kHighest); }

int ProgressForDpi(int dpi) { return dpi / kStep; }

int SnapTypedDpi(int typed) { return std::clamp(typed / kStep * kStep, kLowest, kHighest); }

}  // namespace gallery_dpi

using namespace gallery_dpi;

void BuildDpiSection(GalleryDialog& dlg, CRect area) {
  auto* frame = static_cast<MPicture*>(dlg.CreateArea(L"MPicture", kPanelId + 50, area, nullptr, 1, 1));
  if (frame != nullptr) {
    frame->SetImage(L"img_area_content.png", 1);
    frame->SetShowMode(ShowModeFrame, 8);
  }
  if (auto* caption = static_cast<MText*>(dlg.CreateArea(
          L"MText", kCaptionId, CRect(area.left + 14, area.top + 8, area.left + 420, area.top + 36),
          L"Sensitivity stages (DPIControl, DPISlider)", 1, 1))) {
    caption->SetFontWidth(15);
    caption->SetTextColor(Color(0xFFFA373E));
  }
  if (auto* value = static_cast<MText*>(dlg.CreateArea(
          L"MText", kValueTextId, CRect(area.right - 260, area.top + 8, area.right - 14, area.top + 36), L"", 1, 1))) {
    value->SetFontWidth(14);
    value->SetTextColor(Color(0xFFE0E0E0));
    value->SetAlignment(2, 4);
  }

  // Six stages, 760 pixels wide: the cards sit in a panel, as on the page.
  constexpr int kStagesWidth = 5 * DPIControl::kCardPitch + DPIControl::kCardWidth;
  const int left = area.left + (area.Width() - kStagesWidth) / 2;
  const CRect stagesRect(left, area.top + 44, left + kStagesWidth, area.top + 44 + 92);
  auto* panel = new MPanel(&dlg, kPanelId, stagesRect, 1);
  dlg.GetPaintManager()->AttachControl(panel, 1);
  if (auto* stages = dynamic_cast<DPIControl*>(panel->CreateControl(L"DPIControl", kStagesId, stagesRect, nullptr, 1, 1))) {
    const int values[] = {400, 800, 1600, 3200, 6400, 12800};
    for (int i = 0; i < 6; ++i) stages->AddItem(values[i], kColours[i]);
    stages->SetFontWidth(15);
    stages->SetSelectItem(2);
  }

  // The slider as wide as the section allows; its geometry is laid out for
  // 1005 pixels and scales down to fit.
  const int sliderWidth = area.Width() - 16;
  const int percent = std::min(100, sliderWidth * 100 / 1005);
  const int sliderHeight = 72 * percent / 100;
  const CRect sliderRect(area.left + 8, stagesRect.bottom + 16, area.left + 8 + sliderWidth,
                         stagesRect.bottom + 16 + sliderHeight);
  if (auto* slider = dynamic_cast<DPISlider*>(dlg.CreateControl(L"DPISlider", kSliderId, sliderRect, nullptr, 1, 1))) {
    slider->SetBkgImage(L"img_area_bkg.png");
    slider->SetImage(L"img_dpi_bar.png", 4);
    slider->SetScale(percent);
    slider->SetFontWidth(12);
    slider->SetMinProgress(1);
    slider->SetMaxProgress(ProgressForDpi(26000) - 1);
    slider->SetDPIDesc(L"50", L"26000");
  }
  SliderToStage(dlg);
  // The slider's drag step runs on the multimedia timer.
  if (dlg.GetPaintManager()->GetTimerCount() == 0) dlg.SetMTimer(10);
}

bool HandleDpiSectionNotify(GalleryDialog& dlg, UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  DPIControl* stages = Stages(dlg);
  if (stages == nullptr) return false;
  if (id == kStagesId) {
    switch (code) {
      case CN_CLICK:
      case CN_EDITBEGIN:
        SliderToStage(dlg);
        return true;
      case CN_SUBCLICK: {
        // The program opens its colour dialog here; the gallery steps on.
        const int stage = stages->GetColorItem();
        const int current = stages->GetDPIColorValue(stage);
        const int* at = std::find(std::begin(kColours), std::end(kColours), current);
        const size_t next = at == std::end(kColours) ? 0 : size_t(at - kColours + 1) % std::size(kColours);
        stages->SetDPIColorValue(stage, kColours[next]);
        SliderToStage(dlg);
        return true;
      }
      case CN_EDITEND: {
        const int stage = int(lParam);
        const CString typed = stages->GetEditText();
        const int dpi = SnapTypedDpi(int(std::wcstol(typed.c_str(), nullptr, 10)));
        stages->SetEditText(std::to_wstring(dpi).c_str());
        stages->SetDPIValue(stage, dpi);
        SliderToStage(dlg);
        return true;
      }
      default:
        return true;
    }
  }
  if (id == kSliderId && code == CN_SCROLL) {
    stages->SetDPIValue(stages->GetSelectItem(), DpiForProgress(int(wParam)));
    ShowStage(dlg);
    return true;
  }
  return id == kSliderId;
}
