// The gallery's "device-macros" page: the macro lists of the device page
// on their own.

#include <cstdio>

#include "toolkit/controls/CRecordList.h"
#include "toolkit/controls/MacroList.h"
#include "toolkit/core/MText.h"
#include "tools/gallery/DeviceSectionMacros.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

void BuildDeviceMacrosPage(GalleryDialog& gallery, CRect client) {
  MDialog& dlg = gallery;
  if (auto* title = static_cast<MText*>(dlg.CreateArea(L"MText", 1290, CRect(24, 14, client.right - 24, 44),
                                                       L"Qelt gallery: macro lists", 1, 1))) {
    title->SetFontWidth(22);
  }
  if (auto* hint = static_cast<MText*>(dlg.CreateArea(
          L"MText", 1291, CRect(24, 46, client.right - 24, 72),
          L"Choose a macro; double-click to rename it, or a delay to type a new one. Notifications print on stdout.",
          1, 1))) {
    hint->SetFontWidth(13);
    hint->SetTextColor(Color(0xFFB4B4B4));
  }
  BuildMacrosSection(gallery, CRect(16, 84, client.right - 16, client.bottom - 16));
}

// The screenshot shows a rename in progress. A live window tells scripts
// where to point: "ready macro=X,Y record=X,Y", the screen centres of the
// third macro's name and of the second event's text (a delay).
void ShownDeviceMacrosPage(GalleryDialog& dlg, bool screenshot) {
  auto* macros = dynamic_cast<MacroList*>(dlg.GetControl(kGalleryMacroList));
  auto* records = dynamic_cast<CRecordList*>(dlg.GetControl(kGalleryRecordList));
  if (macros == nullptr || records == nullptr) return;
  if (screenshot) {
    macros->ShowEdit(2);
    return;
  }
  const CRect name = macros->ContentToWindow(macros->GetItemRect(2));
  POINT macro{name.left + 50, name.top + name.Height() / 2};
  const CRect row = records->ContentToWindow(records->GetItemRect(1));
  POINT record{row.left + 220, row.top + row.Height() / 2};
  dlg.ClientToScreen(&macro);
  dlg.ClientToScreen(&record);
  std::printf("ready macro=%d,%d record=%d,%d\n", int(macro.x), int(macro.y), int(record.x), int(record.y));
  std::fflush(stdout);
}

}  // namespace

REGISTER_GALLERY_PAGE_SHOWN("device-macros", "the macro list and the record list of the device page",
                            BuildDeviceMacrosPage, ShownDeviceMacrosPage)
