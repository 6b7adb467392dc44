// AboutDlg: the firmware line rule, the layout over its 500 x 300 client
// area, and closing with the close button and Escape.

#include "UiFixture.h"
#include "shell/Localisation.h"
#include "toolkit/core/MText.h"
#include "ui/AboutDlg.h"

namespace ui_test {
namespace {

using ui::AboutDlg;

AboutDlg* OpenAbout() {
  HWND hwnd = platform::FindWindow(L"About Window");
  if (hwnd == nullptr) return nullptr;
  return dynamic_cast<AboutDlg*>(static_cast<MWindow*>(platform::GetWindowUserData(hwnd)));
}

class AboutTest : public UiTest {};

TEST_F(AboutTest, FirmwareLineTakesTheFirstAndLastTwoHexDigits) {
  struct Case {
    int release;
    const wchar_t* version;
  } cases[] = {
      {0x0231, L"v2.31"}, {0x0105, L"v1.05"}, {0x1234, L"v1.34"},  // middle digits dropped
      {0x00ab, L"va.ab"},                                          // lower-case hexadecimal
      {0, L"v0.0"},                                                // no cable mouse
      {0x7, L"v7.7"},
  };
  const std::wstring caption = shell::GetText(16);
  ASSERT_FALSE(caption.empty());
  for (const Case& c : cases) {
    EXPECT_EQ(AboutDlg::FirmwareLine(c.release), caption + L": " + c.version) << std::hex << c.release;
  }
}

TEST_F(AboutTest, LayoutAndClosing) {
  struct Case {
    const char* name;
    void (*close)(AboutDlg&);
  } cases[] = {
      {"close button",
       [](AboutDlg& about) {
         const CPoint c = about.GetControl(AboutDlg::kCloseId)->GetRect().CenterPoint();
         platform::headless::AdvanceTime(1000);
         platform::headless::InjectMouseMove(about.GetSafeHwnd(), c.x, c.y);
         platform::headless::InjectClick(about.GetSafeHwnd(), c.x, c.y);
       }},
      {"Escape", [](AboutDlg&) { platform::headless::InjectKeyPress(VK_ESCAPE); }},
  };
  for (const Case& c : cases) {
    Driver owner;
    owner.Open();
    bool checked = false;
    owner.Post([&] {
      AboutDlg* about = OpenAbout();
      ASSERT_NE(about, nullptr) << c.name;
      checked = true;
      RECT client{}, win{}, own{};
      platform::GetClientRect(about->GetSafeHwnd(), &client);
      EXPECT_EQ(client.right, 500);
      EXPECT_EQ(client.bottom, 300);
      // Centred on its owner (800 x 600 at 200, 200).
      platform::GetWindowRect(about->GetSafeHwnd(), &win);
      platform::GetWindowRect(owner.GetSafeHwnd(), &own);
      EXPECT_EQ(win.left - own.left, own.right - win.right);
      EXPECT_EQ(win.top - own.top, own.bottom - win.bottom);
      struct Place {
        UINT id;
        CRect rect;
      } places[] = {
          {AboutDlg::kCloseId, CRect(460, 15, 490, 45)},   {AboutDlg::kLogoId, CRect(120, 80, 380, 120)},
          {AboutDlg::kVersionTopId, CRect(150, 150, 350, 185)}, {AboutDlg::kVersionId, CRect(150, 185, 350, 220)},
          {AboutDlg::kTextId, CRect(10, 260, 490, 295)},
      };
      for (const Place& p : places) {
        MControl* control = about->GetControl(p.id);
        ASSERT_NE(control, nullptr) << p.id;
        EXPECT_EQ(control->GetRect(), p.rect) << p.id;
      }
      const CString line = AboutDlg::FirmwareLine(0x0130);
      EXPECT_EQ(static_cast<MText*>(about->GetControl(AboutDlg::kVersionId))->GetTitle(), line);
      EXPECT_EQ(static_cast<MText*>(about->GetControl(AboutDlg::kVersionTopId))->GetTitle(), line);
      EXPECT_EQ(static_cast<MText*>(about->GetControl(AboutDlg::kTextId))->GetTitle(), shell::GetText(2));
      c.close(*about);
    });
    AboutDlg::ShowAbout(owner.GetSafeHwnd(), 0x0130);
    EXPECT_TRUE(checked) << c.name;
    EXPECT_EQ(platform::FindWindow(L"About Window"), nullptr) << c.name;
    owner.DestroyWindow();
  }
}

}  // namespace
}  // namespace ui_test
