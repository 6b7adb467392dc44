// services_window_dump_host NAME
//
// Holds the single instance for NAME like the program does and registers a
// small headless dialog as the window to inspect:
//   40 panel (10, 10)-(210, 110) at window (200, 150), 300 of content
//      scrolled by 100, holding 41 "Row" (10, 150)-(210, 200)
//   50 check button "Sound", checked
// It writes "ready" to stdout once the dialog is up and ends with code 0 on
// message 1691 with lParam 610 (code 3 after 60 s without it).


#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/SingleInstance.h"
#include "platform/Text.h"
#include "platform/window/Window.h"
#include "shell/AppNames.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MText.h"

namespace {

using namespace DUI;

class HostDialog : public MDialog, public platform::InstanceEvents {
 public:
  void InitUI(CRect) override {
    auto* panel = new MPanel(this, 40, CRect(10, 10, 210, 110), 1);
    m_manager.AttachControl(panel, 1);
    panel->CreateControl(L"MText", 41, CRect(10, 150, 210, 200), L"Row", 1, 1);
    panel->CreateControl(L"MText", 42, CRect(10, 260, 210, 310), L"Last", 1, 1);
    panel->GetScrollVertical()->SetScrollCurrentPos(150);  // 150 x (300 - 100) / 300 = 100 pixels
    auto* check = static_cast<CCheckButton*>(CreateControl(L"CCheckButton", 50, CRect(220, 10, 300, 30), L"Sound", 1, 1));
    check->SetCheck(1);
  }
  void OnActivate() override {}
  void OnPostedMessage(std::uint32_t message, std::uint64_t, std::int64_t lParam) override {
    // Listener thread: PostMessage is safe from any thread.
    if (app::IsQuitRequest(message, lParam)) PostMessageW(WM_USERCLOSE, 0, 0);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s NAME\n", argv[0]);
    return 2;
  }
  shell::SetApplicationName(platform::FromUtf8(argv[1]));
  app::SingleInstance instance;
  if (!instance.Claim()) return 0;
  if (!platform::InitWindowSystem(platform::WindowBackend::Headless)) return 4;

  HostDialog dialog;
  if (dialog.Create(nullptr, L"Inspect host", WS_POPUP, 0, CRect(200, 150, 520, 390)) == nullptr) return 5;
  instance.SetEvents(&dialog);
  instance.SetInspectedWindow(&dialog);
  std::thread timeout([] {
    std::this_thread::sleep_for(std::chrono::seconds(60));
    std::_Exit(3);
  });
  timeout.detach();
  std::printf("ready\n");
  std::fflush(stdout);
  dialog.ShowModal(SW_SHOW);
  instance.SetInspectedWindow(nullptr);
  instance.SetEvents(nullptr);
  return 0;
}
