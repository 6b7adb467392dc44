// The Qelt gallery: opens a dialog with the toolkit core's controls and
// pictures, on the SDL backend (a real window) or headless.
//
//   qelt_gallery [--headless] [--page NAME] [--screenshot FILE]
//   qelt_gallery --pages      (lists the pages)
//
// With --screenshot the window is painted once, saved as PNG and closed.
// Otherwise it runs until closed, printing the notifications it receives.
// It prints "ready apply=X,Y" (screen coordinates of the Apply button's
// centre) once its window is shown, for scripts that click it.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/window/Window.h"
#include "toolkit/core/Manager.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

int main(int argc, char** argv) {
  std::string screenshot;
  std::string page = "core";
  bool headless = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      screenshot = argv[++i];
    } else if (std::strcmp(argv[i], "--page") == 0 && i + 1 < argc) {
      page = argv[++i];
    } else if (std::strcmp(argv[i], "--pages") == 0) {
      for (const GalleryPage& p : GalleryPages()) std::printf("%-10s %s\n", p.name, p.description);
      return 0;
    } else if (std::strcmp(argv[i], "--headless") == 0) {
      headless = true;
    } else {
      std::fprintf(stderr, "usage: %s [--headless] [--page NAME] [--screenshot FILE] | --pages\n", argv[0]);
      return 2;
    }
  }
  if (!platform::InitWindowSystem(headless ? platform::WindowBackend::Headless : platform::WindowBackend::Auto)) {
    std::fprintf(stderr, "gallery: no window system\n");
    return 1;
  }
  if (FindGalleryPage(page.c_str()) == nullptr) {
    std::fprintf(stderr, "gallery: no page \"%s\" (see --pages)\n", page.c_str());
    return 2;
  }
  Manager::SetDeviceName(L"Qelt gallery");

  GalleryDialog dlg;
  dlg.SetPage(page);
  if (dlg.Create(nullptr, L"Qelt gallery", WS_POPUP, 0,
                 CRect(0, 0, GalleryDialog::kWidth, GalleryDialog::kHeight)) == nullptr) {
    std::fprintf(stderr, "gallery: cannot create the window\n");
    return 1;
  }
  dlg.CenterWindow(nullptr);
  dlg.ShowWindow(SW_SHOW);
  platform::SetForegroundWindow(dlg.GetSafeHwnd());

  if (!screenshot.empty()) {
    dlg.GetPaintManager()->Invalidate();
    platform::PumpPendingMessages();
    const bool ok = platform::SaveWindowScreenshot(dlg.GetSafeHwnd(), screenshot);
    std::printf("%s %s\n", ok ? "screenshot written:" : "screenshot failed:", screenshot.c_str());
    dlg.DestroyWindow();
    platform::ShutdownWindowSystem();
    return ok ? 0 : 1;
  }

  platform::PumpPendingMessages();
  CRect apply = dlg.ControlRect(GalleryDialog::kApplyId);
  POINT centre = apply.CenterPoint();
  dlg.ClientToScreen(&centre);
  std::printf("ready apply=%d,%d\n", centre.x, centre.y);
  std::fflush(stdout);

  const UINT result = dlg.ShowModal(SW_SHOW);
  std::printf("closed result=%u\n", result);
  platform::ShutdownWindowSystem();
  return 0;
}
