// The "popups" page: the combo box and popup menu sections side by side.
// For a screenshot it opens the bottom combo's 12-item drop-down (upward)
// and the menu, which the gallery composes over the window; otherwise it prints where the bottom
// combo is ("ready combo=X,Y top=T items=N", screen coordinates of its
// centre and top edge) for scripts that open it.

#include <cstdio>

#include "platform/window/Headless.h"
#include "platform/window/Window.h"

#include "toolkit/core/CComboBoxList.h"
#include "toolkit/core/ComboWnd.h"
#include "toolkit/core/MComboBox.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryMenuButton.h"
#include "tools/gallery/GalleryPage.h"
#include "tools/gallery/GallerySections.h"

using namespace DUI;

namespace {

constexpr int kMargin = 24;

void BuildPopupsPage(GalleryDialog& dlg, CRect client) {
  const int half = client.Width() / 2;
  BuildComboSection(dlg, CRect(kMargin, kMargin, half - kMargin, client.bottom - kMargin));
  BuildMenuSection(dlg, CRect(half + kMargin, kMargin, client.right - kMargin, client.bottom - kMargin));
}

void PopupsShown(GalleryDialog& dlg, bool screenshot) {
  if (screenshot) {
    // On the headless screen, a work area that ends just below the window
    // makes the bottom combo open upward, as it would on a short screen.
    if (platform::ActiveBackend() == platform::WindowBackend::Headless) {
      const CRect window = dlg.GetWindowRect();
      platform::headless::SetMonitors({platform::MonitorInfo{RECT{0, 0, 1920, window.bottom + 10},
                                                             RECT{0, 0, 1920, window.bottom + 10}, 96, true}});
    }
    if (auto* profile = static_cast<MComboBox*>(dlg.GetControl(kGalleryProfileCombo))) {
      profile->SetCurSel(4);
      if (profile->OpenDropDown() && profile->GetDropDown()->GetList() != nullptr) {
        profile->GetDropDown()->GetList()->SetHoverIndex(6, true);
      }
    }
    auto* button = dynamic_cast<GalleryMenuButton*>(dlg.GetControl(kGalleryMenuButton));
    if (button != nullptr && button->OpenMenu()) {
      // The pointer over the first item shows its highlight (headless only:
      // elsewhere this does nothing).
      platform::PumpPendingMessages();
      if (MControl* first = button->GetMenu()->GetControl(11)) {
        const CPoint at = first->GetRect().CenterPoint();
        platform::headless::InjectMouseMove(button->GetMenu()->GetSafeHwnd(), at.x, at.y);
      }
    }
    return;
  }
  auto* bottom = static_cast<MComboBox*>(dlg.GetControl(kGalleryProfileCombo));
  if (bottom == nullptr) return;
  const CRect r = bottom->GetRect();
  POINT centre = r.CenterPoint(), top{r.left, r.top};
  dlg.ClientToScreen(&centre);
  dlg.ClientToScreen(&top);
  std::printf("ready combo=%d,%d top=%d items=%d\n", centre.x, centre.y, top.y, bottom->GetItemCount());
  std::fflush(stdout);
}

}  // namespace

REGISTER_GALLERY_PAGE_SHOWN("popups", "combo boxes with their drop-downs, the popup menu", BuildPopupsPage,
                            PopupsShown)
