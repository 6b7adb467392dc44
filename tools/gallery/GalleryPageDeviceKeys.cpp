// The gallery page "device-keys": the button map section alone.

#include "toolkit/core/MText.h"
#include "tools/gallery/DeviceSectionKeys.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

void BuildDeviceKeysPage(GalleryDialog& dlg, CRect client) {
  if (auto* title = static_cast<MText*>(
          dlg.CreateArea(L"MText", 10, CRect(24, 14, client.right - 24, 50), L"Qelt gallery: button map controls", 1, 1))) {
    title->SetFontWidth(22);
  }
  if (auto* hint = static_cast<MText*>(dlg.CreateArea(
          L"MText", 11, CRect(24, 48, client.right - 24, 72),
          L"Hover and click the callouts, the rows and the cards; notifications print on stdout.", 1, 1))) {
    hint->SetFontWidth(14);
    hint->SetTextColor(Color(0xFFB4B4B4));
  }
  BuildKeysSection(dlg, CRect(16, 84, client.right - 16, client.bottom - 12));
}

}  // namespace

REGISTER_GALLERY_PAGE("device-keys", "button map controls: callouts, key list, report rates", BuildDeviceKeysPage)
