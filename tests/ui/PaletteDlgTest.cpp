// MousePaletteDlg: what it shows on opening, each way of picking a colour
// (preset, palette, typed components with their 0 to 255 limit), and its
// result after OK, the close button and Escape.

#include <functional>
#include <optional>
#include <string>

#include "MainWindowFixture.h"
#include "UiFixture.h"
#include "toolkit/controls/CColorButton.h"
#include "toolkit/controls/MPalette.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/MEdit.h"
#include "ui/MousePaletteDlg.h"

namespace ui_test {
namespace {

using ui::MousePaletteDlg;

MousePaletteDlg* OpenPalette() {
  HWND hwnd = platform::FindWindow(MousePaletteDlg::kWindowName);
  if (hwnd == nullptr) return nullptr;
  return dynamic_cast<MousePaletteDlg*>(static_cast<MWindow*>(platform::GetWindowUserData(hwnd)));
}

void ClickAt(MWindow& window, CPoint p) {
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(window.GetSafeHwnd(), p.x, p.y);
  platform::headless::InjectClick(window.GetSafeHwnd(), p.x, p.y);
  platform::PumpPendingMessages();
}

void Click(MousePaletteDlg& dlg, UINT id) { ClickAt(dlg, dlg.GetControl(id)->GetRect().CenterPoint()); }

MEdit* Field(MousePaletteDlg& dlg, int i) { return dynamic_cast<MEdit*>(dlg.GetControl(MousePaletteDlg::kFieldId + UINT(i))); }

std::wstring Fields(MousePaletteDlg& dlg) {
  return Field(dlg, 0)->GetEditText() + L"," + Field(dlg, 1)->GetEditText() + L"," + Field(dlg, 2)->GetEditText();
}

// Replaces a field's text by typing, as a user does.
void Type(MousePaletteDlg& dlg, int field, const std::wstring& text) {
  Click(dlg, MousePaletteDlg::kFieldId + UINT(field));
  ASSERT_TRUE(Field(dlg, field)->IsEditFocused());
  platform::headless::InjectText(text);
  platform::PumpPendingMessages();
}

class PaletteDlgTest : public UiTest {
 protected:
  // Opens the dialog over a driver window with colour, runs steps inside
  // its modal loop and returns its answer.
  std::optional<COLORREF> Run(COLORREF colour, const std::function<void(MousePaletteDlg&)>& steps) {
    Driver owner;
    owner.Open();
    bool ran = false;
    owner.Post([&] {
      MousePaletteDlg* dlg = OpenPalette();
      ASSERT_NE(dlg, nullptr);
      ran = true;
      // Centred on its owner.
      RECT win{}, own{};
      platform::GetWindowRect(dlg->GetSafeHwnd(), &win);
      platform::GetWindowRect(owner.GetSafeHwnd(), &own);
      EXPECT_EQ(win.left - own.left, own.right - win.right);
      EXPECT_EQ(win.top - own.top, own.bottom - win.bottom);
      steps(*dlg);
    });
    const std::optional<COLORREF> answer = MousePaletteDlg::Pick(owner.GetSafeHwnd(), colour);
    EXPECT_TRUE(ran);
    EXPECT_EQ(platform::FindWindow(MousePaletteDlg::kWindowName), nullptr);
    owner.DestroyWindow();
    return answer;
  }
};

TEST_F(PaletteDlgTest, OpensWithItsColourAndOkKeepsIt) {
  const COLORREF colour = 0x336699;  // red 0x99, green 0x66, blue 0x33
  const auto answer = Run(colour, [&](MousePaletteDlg& dlg) {
    RECT client{};
    platform::GetClientRect(dlg.GetSafeHwnd(), &client);
    EXPECT_EQ(client.right, MousePaletteDlg::kWidth);
    EXPECT_EQ(client.bottom, MousePaletteDlg::kHeight);
    EXPECT_EQ(Fields(dlg), L"153,102,51");
    EXPECT_EQ(dynamic_cast<CArea*>(dlg.GetControl(MousePaletteDlg::kPreviewId))->GetColor(), colour);
    EXPECT_EQ(dlg.GetResult(), colour);
    // The palette holds the colour (its hue/lightness grid may round it).
    const COLORREF shown = dynamic_cast<MPalette*>(dlg.GetControl(MousePaletteDlg::kPaletteId))->GetSelectColor();
    for (int shift : {0, 8, 16}) EXPECT_NEAR(int((shown >> shift) & 0xFF), int((colour >> shift) & 0xFF), 3);
    Click(dlg, MousePaletteDlg::kOkId);
  });
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(*answer, colour);
}

TEST_F(PaletteDlgTest, EachWayOfPickingMakesTheResult) {
  struct Case {
    const char* name;
    std::function<void(MousePaletteDlg&)> pick;
    std::wstring fields;  // after the pick; empty: the palette's own colour
  } cases[] = {
      {"preset", [](MousePaletteDlg& dlg) { Click(dlg, MousePaletteDlg::kPresetId + 1); }, L"0,0,255"},
      {"typed red over the limit", [](MousePaletteDlg& dlg) { Type(dlg, 0, L"300"); }, L"255,0,0"},
      {"typed blue", [](MousePaletteDlg& dlg) { Type(dlg, 2, L"128"); }, L"1,0,128"},
      {"black", [](MousePaletteDlg& dlg) { Type(dlg, 0, L"0"); }, L"0,0,0"},
      {"palette",
       [](MousePaletteDlg& dlg) {
         const CRect field = dynamic_cast<MPalette*>(dlg.GetControl(MousePaletteDlg::kPaletteId))->GetFieldRect();
         ClickAt(dlg, CPoint(field.left + field.Width() / 3, field.top + field.Height() / 2));
       },
       L""},
  };
  for (const Case& c : cases) {
    COLORREF expected = 0;
    const auto answer = Run(0x000001, [&](MousePaletteDlg& dlg) {
      c.pick(dlg);
      if (c.fields.empty()) {
        expected = dynamic_cast<MPalette*>(dlg.GetControl(MousePaletteDlg::kPaletteId))->GetSelectColor() & 0xFFFFFF;
        EXPECT_NE(expected, 0x000001u) << c.name;
      } else {
        EXPECT_EQ(Fields(dlg), c.fields) << c.name;
      }
      // The fields, the preview and the result agree.
      const COLORREF fromFields = COLORREF(std::stoi(Field(dlg, 0)->GetEditText())) |
                                  COLORREF(std::stoi(Field(dlg, 1)->GetEditText())) << 8 |
                                  COLORREF(std::stoi(Field(dlg, 2)->GetEditText())) << 16;
      if (!c.fields.empty()) expected = fromFields;
      EXPECT_EQ(fromFields, expected) << c.name;
      EXPECT_EQ(dlg.GetResult(), expected) << c.name;
      EXPECT_EQ(dynamic_cast<CArea*>(dlg.GetControl(MousePaletteDlg::kPreviewId))->GetColor(), expected) << c.name;
      Click(dlg, MousePaletteDlg::kOkId);
    });
    ASSERT_TRUE(answer.has_value()) << c.name;
    EXPECT_EQ(*answer, expected) << c.name;
  }
}

TEST_F(PaletteDlgTest, CloseButtonAndEscapeCancelWhateverWasPicked) {
  struct Case {
    const char* name;
    std::function<void(MousePaletteDlg&)> close;
  } cases[] = {
      {"close button", [](MousePaletteDlg& dlg) { Click(dlg, MousePaletteDlg::kCloseId); }},
      {"Escape", [](MousePaletteDlg&) { platform::headless::InjectKeyPress(VK_ESCAPE); }},
  };
  for (const Case& c : cases) {
    const auto answer = Run(0x00FF00, [&](MousePaletteDlg& dlg) {
      Click(dlg, MousePaletteDlg::kPresetId);
      EXPECT_EQ(dlg.GetResult(), 255u) << c.name;
      c.close(dlg);
    });
    EXPECT_FALSE(answer.has_value()) << c.name;
  }
}

TEST_F(PaletteDlgTest, ComponentsAreLimitedToAByte) {
  struct Case {
    const wchar_t* text;
    int value;
  } cases[] = {{L"0", 0}, {L"255", 255}, {L"256", 255}, {L"300", 255}, {L"999", 255},
               {L"", 0},  {L"12", 12},   {L"007", 7},   {L"99999999999", 255}};
  for (const Case& c : cases) EXPECT_EQ(MousePaletteDlg::ClampComponent(c.text), c.value) << c.text;
}

class DefaultPickerTest : public MainWindowTest {};

// The window's colour picker is this dialog: it speaks 0xAARRGGBB to the
// pages and COLORREF to the dialog.
TEST_F(DefaultPickerTest, TheWindowPicksThroughTheDialog) {
  auto dlg = Open(1);
  struct Case {
    const char* name;
    UINT button;
    std::optional<std::uint32_t> answer;
  } cases[] = {
      {"OK keeps the colour", MousePaletteDlg::kOkId, 0xFF112233u},
      {"the close button cancels", MousePaletteDlg::kCloseId, std::nullopt},
  };
  for (const Case& c : cases) {
    std::wstring fields;
    dlg->PostTask([&] {
      MousePaletteDlg* palette = OpenPalette();
      ASSERT_NE(palette, nullptr) << c.name;
      fields = Fields(*palette);
      Click(*palette, c.button);
    });
    EXPECT_EQ(dlg->PickColour(0xFF112233u, CRect(10, 10, 20, 20)), c.answer) << c.name;
    EXPECT_EQ(fields, L"17,34,51") << c.name;
  }
}

}  // namespace
}  // namespace ui_test
