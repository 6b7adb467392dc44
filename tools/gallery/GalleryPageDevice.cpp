// The gallery's "device" page: every device control at once, with plausible
// values: the DPI stages and slider, the button map over a model's picture
// with the report-rate cards, the macro list with its events, and the
// device list, battery and colour controls. Each section is also a page of
// its own (device-dpi, device-keys, device-macros, device-state).

#include "toolkit/core/MText.h"
#include "tools/gallery/DeviceSectionDpi.h"
#include "tools/gallery/DeviceSectionKeys.h"
#include "tools/gallery/DeviceSectionMacros.h"
#include "tools/gallery/DeviceSectionState.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

constexpr int kWidth = 1560;
constexpr int kHeight = 1000;

void BuildDevicePage(GalleryDialog& dlg, CRect client) {
  if (auto* title = static_cast<MText*>(
          dlg.CreateArea(L"MText", 10, CRect(24, 14, client.right - 24, 50), L"Qelt gallery: device controls", 1, 1))) {
    title->SetFontWidth(22);
    title->SetTextColor(Color(0xFFFFFFFF));
  }
  if (auto* hint = static_cast<MText*>(dlg.CreateArea(
          L"MText", 11, CRect(24, 50, client.right - 24, 76),
          L"DPI stages and slider, the button map, macros and events, the device list, battery and colours; "
          L"notifications print on stdout.",
          1, 1))) {
    hint->SetFontWidth(14);
    hint->SetTextColor(Color(0xFFB4B4B4));
  }
  // Left, the DPI stages at their natural width over the button map and
  // the macros; right, the device list and the colour controls.
  const int split = 900;
  BuildDpiSection(dlg, CRect(16, 88, split - 16, 316));
  BuildKeysSection(dlg, CRect(16, 328, split - 16, 660));
  BuildMacrosSection(dlg, CRect(16, 672, split - 16, client.bottom - 12));
  BuildStateSection(dlg, CRect(split, 88, client.right - 16, client.bottom - 12));
  dlg.SetNotifyHook([&dlg](UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    HandleDpiSectionNotify(dlg, id, code, wParam, lParam);
  });
}

}  // namespace

REGISTER_GALLERY_PAGE_SIZED("device", "every device control: DPI, button map, macros, device list and colours",
                            BuildDevicePage, kWidth, kHeight)
