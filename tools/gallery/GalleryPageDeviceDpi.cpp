// The gallery's "device-dpi" page: the DPI section of the device page on
// its own.

#include "toolkit/core/MText.h"
#include "tools/gallery/DeviceSectionDpi.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

void BuildDeviceDpiPage(GalleryDialog& dlg, CRect client) {
  if (auto* title = static_cast<MText*>(dlg.CreateArea(L"MText", 10, CRect(24, 14, client.right - 24, 50),
                                                        L"Qelt gallery: DPI stages and slider", 1, 1))) {
    title->SetFontWidth(22);
    title->SetTextColor(Color(0xFFFFFFFF));
  }
  if (auto* hint = static_cast<MText*>(dlg.CreateArea(
          L"MText", 11, CRect(24, 52, client.right - 24, 86),
          L"Click a stage, its swatch or its value (type, Enter); drag the slider. Notifications print on stdout.",
          1, 1))) {
    hint->SetFontWidth(14);
    hint->SetTextColor(Color(0xFFB4B4B4));
  }
  BuildDpiSection(dlg, CRect(16, 100, client.right - 16, 328));
  dlg.SetNotifyHook([&dlg](UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    HandleDpiSectionNotify(dlg, id, code, wParam, lParam);
  });
}

}  // namespace

REGISTER_GALLERY_PAGE("device-dpi", "DPI stage cards and the DPI slider", BuildDeviceDpiPage)
