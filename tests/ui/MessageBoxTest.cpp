// ShowMessage and CUIMessageBox: every kind with every way of answering,
// the layout of the Part's ids, the language texts of the buttons, and the
// box's window (title, size, centred on its owner, active, topmost).

#include <string>

#include "UiFixture.h"
#include "shell/Localisation.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MText.h"
#include "ui/CUIMessageBox.h"
#include "ui/ShowMessage.h"

namespace ui_test {
namespace {

using ui::CUIMessageBox;

CUIMessageBox* OpenBox() {
  HWND hwnd = platform::FindWindow(L"MessageBox");
  if (hwnd == nullptr) return nullptr;
  return dynamic_cast<CUIMessageBox*>(static_cast<MWindow*>(platform::GetWindowUserData(hwnd)));
}

// Clicks the centre of a control of the open box.
void ClickButton(UINT id) {
  CUIMessageBox* box = OpenBox();
  ASSERT_NE(box, nullptr);
  MControl* button = box->GetControl(id);
  ASSERT_NE(button, nullptr) << "no control " << id;
  const CPoint c = button->GetRect().CenterPoint();
  HWND hwnd = box->GetSafeHwnd();
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(hwnd, c.x, c.y);
  platform::headless::InjectButton(hwnd, platform::headless::Button::Left, true, c.x, c.y);
  platform::headless::InjectButton(hwnd, platform::headless::Button::Left, false, c.x, c.y);
}

class MessageBoxTest : public UiTest {};

TEST_F(MessageBoxTest, EveryKindAndAnswerGivesItsResult) {
  struct Case {
    const char* name;
    int kind;
    void (*answer)();
    int result;
  } cases[] = {
      {"one button, clicked", 0, [] { ClickButton(33); }, 1},
      {"one button, Enter", 0, [] { platform::headless::InjectKeyPress(VK_RETURN); }, 1},
      {"one button, Escape", 0, [] { platform::headless::InjectKeyPress(VK_ESCAPE); }, 1},
      {"one button, closed by the system", 0,
       [] { platform::headless::InjectCloseRequest(OpenBox()->GetSafeHwnd()); }, 0},
      {"two buttons, first", 4, [] { ClickButton(33); }, 1},
      {"two buttons, second", 4, [] { ClickButton(34); }, 2},
      {"two buttons, Enter", 4, [] { platform::headless::InjectKeyPress(VK_RETURN); }, 1},
      {"two buttons, Escape", 4, [] { platform::headless::InjectKeyPress(VK_ESCAPE); }, 2},
      {"two buttons, closed by the system", 4,
       [] { platform::headless::InjectCloseRequest(OpenBox()->GetSafeHwnd()); }, 0},
      // Without buttons only the system closes the box; keys do nothing.
      {"no button, closed by the system", 7,
       [] {
         platform::headless::InjectKeyPress(VK_RETURN);
         platform::headless::InjectKeyPress(VK_ESCAPE);
         platform::headless::InjectCloseRequest(OpenBox()->GetSafeHwnd());
       },
       0},
  };
  for (const Case& c : cases) {
    Driver owner;
    owner.Open();
    bool seen = false;
    owner.Post([&] {
      seen = OpenBox() != nullptr;
      c.answer();
    });
    EXPECT_EQ(ui::ShowMessage(L"Saved.", owner.GetSafeHwnd(), L"Title", c.kind), c.result) << c.name;
    EXPECT_TRUE(seen) << c.name;
    EXPECT_EQ(platform::FindWindow(L"MessageBox"), nullptr) << c.name << ": the box outlived the call";
    EXPECT_TRUE(platform::IsWindowEnabled(owner.GetSafeHwnd())) << c.name;
    owner.DestroyWindow();
  }
}

TEST_F(MessageBoxTest, LayoutTextsAndWindow) {
  struct Case {
    int kind;
    std::vector<std::pair<UINT, int>> buttons;  // id and language text id
  } cases[] = {
      {0, {{33, 20}}},
      {4, {{33, 23}, {34, 25}}},
      {2, {}},
  };
  for (const Case& c : cases) {
    Driver owner;
    owner.Open();
    owner.Post([&] {
      CUIMessageBox* box = OpenBox();
      ASSERT_NE(box, nullptr);
      HWND hwnd = box->GetSafeHwnd();
      EXPECT_EQ(platform::GetActiveWindow(), hwnd) << "kind " << c.kind;
      RECT r{}, o{};
      platform::GetWindowRect(hwnd, &r);
      platform::GetWindowRect(owner.GetSafeHwnd(), &o);
      EXPECT_EQ(r.right - r.left, 430);
      EXPECT_EQ(r.bottom - r.top, 230);
      EXPECT_EQ((r.left + r.right) / 2, (o.left + o.right) / 2);
      EXPECT_EQ((r.top + r.bottom) / 2, (o.top + o.bottom) / 2);
      auto* title = dynamic_cast<MText*>(box->GetControl(31));
      auto* message = dynamic_cast<MText*>(box->GetControl(32));
      ASSERT_NE(title, nullptr);
      ASSERT_NE(message, nullptr);
      EXPECT_EQ(title->GetTitle(), L"Änderung");
      EXPECT_EQ(message->GetTitle(), L"");  // a null message counts as empty
      EXPECT_EQ(title->GetRect(), CRect(20, 15, 410, 45));
      EXPECT_EQ(message->GetRect(), CRect(20, 50, 410, 180));
      for (const auto& [id, textId] : c.buttons) {
        auto* button = dynamic_cast<MButton*>(box->GetControl(id));
        ASSERT_NE(button, nullptr) << "kind " << c.kind << " button " << id;
        EXPECT_FALSE(shell::GetText(textId).empty());
        EXPECT_EQ(button->GetTitle(), shell::GetText(textId));
        EXPECT_NE(button->GetImage(), nullptr) << "img_button.png";
      }
      if (c.kind == 0) {
        EXPECT_EQ(box->GetControl(33)->GetRect(), CRect(60, 180, 370, 216));
      }
      if (c.kind == 4) {
        EXPECT_EQ(box->GetControl(33)->GetRect(), CRect(95, 180, 195, 216));
        EXPECT_EQ(box->GetControl(34)->GetRect(), CRect(235, 180, 335, 216));
      }
      if (c.buttons.empty()) {
        EXPECT_EQ(box->GetControl(33), nullptr);
        EXPECT_EQ(box->GetControl(34), nullptr);
      }
      platform::headless::InjectCloseRequest(hwnd);
    });
    ui::ShowMessage(nullptr, owner.GetSafeHwnd(), L"Änderung", c.kind);
    owner.DestroyWindow();
  }
}

TEST_F(MessageBoxTest, BoxIsDrawnFromTheSkin) {
  Driver owner;
  owner.Open();
  owner.Post([&] {
    CUIMessageBox* box = OpenBox();
    ASSERT_NE(box, nullptr);
    platform::PumpPendingMessages();  // paints
    const platform::Bitmap shot = platform::CaptureWindow(box->GetSafeHwnd());
    ASSERT_EQ(shot.Width(), 430);
    // The nine-grid background covers the client area: its centre is not
    // the plain window colour, and the corners are drawn (not transparent).
    const uint32_t centre = shot.Row(100)[215];
    EXPECT_NE(centre >> 24, 0u);
    // The button's title in white.
    int white = 0;
    const CRect button = box->GetControl(33)->GetRect();
    for (int y = button.top; y < button.bottom; ++y)
      for (int x = button.left; x < button.right; ++x)
        if ((shot.Row(y)[x] & 0x00FFFFFF) >= 0x00E0E0E0) ++white;
    EXPECT_GT(white, 10);
    platform::headless::InjectKeyPress(VK_RETURN);
  });
  EXPECT_EQ(ui::ShowMessage(L"Message", owner.GetSafeHwnd(), L"Title", 0), 1);
  owner.DestroyWindow();
}

}  // namespace
}  // namespace ui_test
