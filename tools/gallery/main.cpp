// The Qelt gallery: opens a dialog with the toolkit core's controls and
// pictures, on the SDL backend (a real window) or headless.
//
//   qelt_gallery [--headless] [--page NAME] [--screenshot FILE] [--inspect-server APP]
//   qelt_gallery --pages      (lists the pages)
//
// With --screenshot the window is painted once, saved as PNG (with the
// menus and drop-downs the page opened for it, each where it lies on the
// screen) and closed.
// Otherwise it runs until closed, printing the notifications it receives.
// It prints "ready apply=X,Y" (screen coordinates of the Apply button's
// centre) once its window is shown, for scripts that click it.
// With --inspect-server it holds the single instance of application name
// APP and answers "inspect" requests with its control tree, as the program
// does for "orvane --inspect".

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <algorithm>
#include <memory>

#include "platform/Text.h"
#include "platform/draw/Bitmap.h"
#include "platform/instance/InstanceLock.h"
#include "platform/window/Window.h"
#include "toolkit/core/ControlTreeDump.h"
#include "toolkit/core/Manager.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

// The window and the popups it has open, in one picture of the screen area
// they cover. Popups are found by the titles the toolkit gives them.
bool SaveScreenshot(GalleryDialog& dlg, const std::string& file) {
  HWND self = dlg.GetSafeHwnd();
  std::vector<HWND> popups;
  for (const wchar_t* title : {L"ComboWnd", L"Menu Window", L"DPIMsgDlg", L"About Window", L"UpdateTipDlg"}) {
    HWND h = platform::FindWindow(title);
    if (h != nullptr && platform::IsWindowVisible(h) && platform::GetOwner(h) == self) popups.push_back(h);
  }
  if (popups.empty()) return platform::SaveWindowScreenshot(self, file);
  RECT bounds{};
  platform::GetWindowRect(self, &bounds);
  const RECT base = bounds;
  for (HWND h : popups) {
    RECT r{};
    platform::GetWindowRect(h, &r);
    bounds = RECT{std::min(bounds.left, r.left), std::min(bounds.top, r.top), std::max(bounds.right, r.right),
                  std::max(bounds.bottom, r.bottom)};
  }
  platform::Bitmap picture(bounds.right - bounds.left, bounds.bottom - bounds.top);
  auto place = [&](HWND h, const RECT& at) {
    const platform::Bitmap shot = platform::CaptureWindow(h);
    picture.CopyFrom(shot, at.left - bounds.left, at.top - bounds.top, RECT{0, 0, shot.Width(), shot.Height()});
  };
  place(self, base);
  for (HWND h : popups) {
    RECT r{};
    platform::GetWindowRect(h, &r);
    place(h, r);
  }
  // Windows are opaque on the screen whatever alpha their buffers hold.
  for (int y = 0; y < picture.Height(); ++y) {
    uint32_t* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) row[x] |= 0xFF000000;
  }
  return picture.SavePng(file);
}

}  // namespace

int main(int argc, char** argv) {
  std::string screenshot;
  std::string page = "core";
  bool headless = false;
  std::string inspectApp;
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
    } else if (std::strcmp(argv[i], "--inspect-server") == 0 && i + 1 < argc) {
      inspectApp = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--headless] [--page NAME] [--screenshot FILE] [--inspect-server APP] | --pages\n",
                   argv[0]);
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
  const GalleryPage* chosen = FindGalleryPage(page.c_str());
  const int width = chosen->width > 0 ? chosen->width : GalleryDialog::kWidth;
  const int height = chosen->height > 0 ? chosen->height : GalleryDialog::kHeight;
  if (dlg.Create(nullptr, L"Qelt gallery", WS_POPUP, 0, CRect(0, 0, width, height)) == nullptr) {
    std::fprintf(stderr, "gallery: cannot create the window\n");
    return 1;
  }
  dlg.CenterWindow(nullptr);
  dlg.ShowWindow(SW_SHOW);
  platform::SetForegroundWindow(dlg.GetSafeHwnd());

  const GalleryPage* shownPage = FindGalleryPage(page.c_str());
  if (!screenshot.empty()) {
    dlg.GetPaintManager()->Invalidate();
    platform::PumpPendingMessages();
    if (shownPage->shown != nullptr) {
      shownPage->shown(dlg, true);
      platform::PumpPendingMessages();
    }
    const bool ok = SaveScreenshot(dlg, screenshot);
    std::printf("%s %s\n", ok ? "screenshot written:" : "screenshot failed:", screenshot.c_str());
    dlg.DestroyWindow();
    platform::ShutdownWindowSystem();
    return ok ? 0 : 1;
  }

  std::unique_ptr<platform::InstanceLock> instance;
  if (!inspectApp.empty()) {
    instance = std::make_unique<platform::InstanceLock>(platform::FromUtf8(inspectApp));
    if (instance->TryClaim() != platform::InstanceLock::Claim::First) {
      std::fprintf(stderr, "gallery: \"%s\" is already running\n", inspectApp.c_str());
      return 1;
    }
    instance->SetInspector([&dlg](std::shared_ptr<platform::WindowDumpReply> reply) {
      ControlTreeDump::PostDump(dlg, [reply](CString text) { reply->Answer(platform::ToUtf8(text)); });
    });
  }

  platform::PumpPendingMessages();
  if (shownPage->shown != nullptr) shownPage->shown(dlg, false);
  CRect apply = dlg.ControlRect(GalleryDialog::kApplyId);
  POINT centre = apply.CenterPoint();
  dlg.ClientToScreen(&centre);
  std::printf("ready apply=%d,%d\n", centre.x, centre.y);
  std::fflush(stdout);

  const UINT result = dlg.ShowModal(SW_SHOW);
  if (instance != nullptr) instance->SetInspector({});
  std::printf("closed result=%u\n", result);
  platform::ShutdownWindowSystem();
  return 0;
}
