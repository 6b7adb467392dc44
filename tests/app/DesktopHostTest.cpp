// DesktopHost: the tray's About item opens the About window, modal, with the
// cable mouse's firmware from the release source it was given.

#include <string>

#include "UiFixture.h"
#include "app/DesktopHost.h"
#include "shell/Localisation.h"
#include "toolkit/core/MText.h"
#include "ui/AboutDlg.h"

namespace ui_test {
namespace {

class DesktopHostTest : public UiTest {};

TEST_F(DesktopHostTest, ShowAboutOpensTheAboutWindowWithTheCableMousesFirmware) {
  shell::SetLanguage(1033);
  struct Case {
    bool withSource;
    int release;
    const wchar_t* version;
  } cases[] = {{true, 0x0231, L": v2.31"}, {false, 0, L": v0.0"}};
  for (const Case& c : cases) {
    Driver owner;
    owner.Open();
    app::DesktopHost host;
    if (c.withSource) host.SetCableRelease([&] { return c.release; });
    std::wstring line;
    bool open = false;
    owner.Post([&] {
      HWND about = platform::FindWindow(L"About Window");
      open = about != nullptr;
      if (!open) return;
      auto* dlg = static_cast<MDialog*>(static_cast<MWindow*>(platform::GetWindowUserData(about)));
      line = static_cast<MText*>(dlg->GetControl(ui::AboutDlg::kVersionId))->GetTitle();
      platform::headless::InjectKeyPress(VK_ESCAPE);
    });
    // Returns once the window is closed.
    host.ShowAbout(owner.GetSafeHwnd());
    EXPECT_TRUE(open);
    EXPECT_EQ(line, shell::GetText(16) + c.version);
    EXPECT_EQ(platform::FindWindow(L"About Window"), nullptr);
    owner.DestroyWindow();
  }
}

}  // namespace
}  // namespace ui_test
