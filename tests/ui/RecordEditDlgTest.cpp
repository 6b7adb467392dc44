// RecordEditDlg: the key or button captured by its field from the dialog's
// own input, a mouse button only over the field, and the results of its
// two ways out.

#include <string>
#include <vector>

#include "UiFixture.h"
#include "toolkit/core/MEdit.h"
#include "ui/RecordEditDlg.h"

namespace ui_test {
namespace {

using ui::RecordEditDlg;

RecordEditDlg* OpenDialog() {
  HWND hwnd = platform::FindWindow(L"RecordEditDlg");
  if (hwnd == nullptr) return nullptr;
  return dynamic_cast<RecordEditDlg*>(static_cast<MWindow*>(platform::GetWindowUserData(hwnd)));
}

void ClickAt(CPoint p) {
  RecordEditDlg* dlg = OpenDialog();
  ASSERT_NE(dlg, nullptr);
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(dlg->GetSafeHwnd(), p.x, p.y);
  platform::headless::InjectClick(dlg->GetSafeHwnd(), p.x, p.y);
}

void ClickControl(UINT id) {
  RecordEditDlg* dlg = OpenDialog();
  ASSERT_NE(dlg, nullptr);
  ClickAt(dlg->GetControl(id)->GetRect().CenterPoint());
}

class RecordEditDlgTest : public UiTest {};

TEST_F(RecordEditDlgTest, CapturesAKeyOrAClickOnTheFieldAndAnswersByItsButtons) {
  struct Case {
    const char* name;
    void (*input)();
    bool confirmed;
    int code;
    const wchar_t* shown;  // null: any name
  };
  const Case cases[] = {
      {"a key, confirmed",
       [] {
         platform::headless::InjectKeyPress('A');
         ClickControl(RecordEditDlg::kConfirmId);
       },
       true, 'A', L"A"},
      {"the last of two keys counts",
       [] {
         platform::headless::InjectKeyPress('A');
         platform::headless::InjectKeyPress('B');
         ClickControl(RecordEditDlg::kConfirmId);
       },
       true, 'B', L"B"},
      {"Escape is a key to capture, not a way out",
       [] {
         platform::headless::InjectKeyPress(VK_ESCAPE);
         ClickControl(RecordEditDlg::kConfirmId);
       },
       true, VK_ESCAPE, nullptr},
      {"a key, then the close button",
       [] {
         platform::headless::InjectKeyPress('A');
         ClickControl(RecordEditDlg::kCloseId);
       },
       false, 'A', L"A"},
      {"a click beside the field is not captured",
       [] {
         ClickAt(CPoint(60, 120));
         ClickControl(RecordEditDlg::kConfirmId);
       },
       true, 0, L""},
      {"a click on the field is",
       [] {
         ClickControl(RecordEditDlg::kFieldId);
         ClickControl(RecordEditDlg::kConfirmId);
       },
       true, 1, L"LB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Driver owner;
    owner.Open();
    bool listening = false;
    owner.Post([&] {
      RecordEditDlg* dlg = OpenDialog();
      ASSERT_NE(dlg, nullptr);
      listening = dlg->IsListening();
      c.input();
    });
    int code = -1;
    std::wstring name;
    const bool confirmed = RecordEditDlg::Run(owner.GetSafeHwnd(), code, name);
    EXPECT_TRUE(listening) << "the field is entered and listens from the start";
    EXPECT_EQ(confirmed, c.confirmed);
    EXPECT_EQ(code, c.code);
    if (c.shown != nullptr) {
      EXPECT_EQ(name, c.shown);
    } else {
      EXPECT_FALSE(name.empty());
    }
    EXPECT_EQ(platform::FindWindow(L"RecordEditDlg"), nullptr) << "destroyed after the run";
    owner.DestroyWindow();
    Pump();
  }
}

TEST_F(RecordEditDlgTest, IsA360By150PopupWithItsControlsInPlace) {
  Driver owner;
  owner.Open();
  RecordEditDlg dlg;
  ASSERT_NE(dlg.CreateDlg(owner.GetSafeHwnd()), nullptr);
  Pump();
  RECT r{};
  platform::GetWindowRect(dlg.GetSafeHwnd(), &r);
  EXPECT_EQ(r.right - r.left, RecordEditDlg::kWidth);
  EXPECT_EQ(r.bottom - r.top, RecordEditDlg::kHeight);
  struct Place {
    UINT id;
    CRect rect;
  } places[] = {
      {RecordEditDlg::kTitleId, CRect(80, 10, 280, 40)},      {RecordEditDlg::kCloseId, CRect(320, 15, 350, 45)},
      {RecordEditDlg::kCaptionId, CRect(25, 60, 125, 90)},    {RecordEditDlg::kFieldId, CRect(125, 60, 325, 90)},
      {RecordEditDlg::kConfirmId, CRect(160, 100, 280, 130)},
  };
  for (const Place& p : places) {
    ASSERT_NE(dlg.GetControl(p.id), nullptr) << p.id;
    EXPECT_EQ(dlg.GetControl(p.id)->GetRect(), p.rect) << p.id;
  }
  // Outside the field's edit the dialog does not listen.
  dlg.GetField()->CloseEditor();
  EXPECT_FALSE(dlg.IsListening());
  ui::RawKeyEvent key;
  key.kind = ui::RawKeyEvent::kKeyboard;
  key.code = 'Q';
  key.name = L"Q";
  dlg.OnRawKey(key);
  EXPECT_EQ(dlg.GetCode(), 0);
  dlg.DestroyWindow();
  owner.DestroyWindow();
}

}  // namespace
}  // namespace ui_test
