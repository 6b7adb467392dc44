// NumberEdit: stepping within 0..20 through its inner buttons (clicked with
// injected input), the bounds that send nothing, typing with the editor,
// and the notifications that pass on.

#include <algorithm>

#include "ToolkitFixture.h"
#include "platform/Text.h"
#include "toolkit/core/NumberEdit.h"

namespace toolkit_test {
namespace {

constexpr UINT kId = 8;

class NumberEditTest : public ToolkitTest {
 public:
  void SetUp() override {
    ToolkitTest::SetUp();
    Open(dlg);
    number = new NumberEdit(&dlg, kId, CRect(40, 40, 140, 70), 1);
    dlg.GetPaintManager()->AttachControl(number, 1);
  }
  void TearDown() override { dlg.DestroyWindow(); }

  void ClickAt(CPoint p) {
    Move(dlg, p.x, p.y);
    Button(dlg, true, p.x, p.y);
    Button(dlg, false, p.x, p.y);
  }
  void ClickStepper(UINT id) { ClickAt(number->GetControl(id)->GetRect().CenterPoint()); }
  int Count(UINT id, UINT code) const {
    return int(std::count_if(dlg.notices.begin(), dlg.notices.end(),
                             [&](const Notice& n) { return n.id == id && n.code == code; }));
  }

  RecordingDialog dlg;
  NumberEdit* number = nullptr;
};

TEST_F(NumberEditTest, SteppingStaysWithinTheBounds) {
  struct Case {
    const wchar_t* start;
    UINT button;
    const wchar_t* expected;
    int clicks;  // CN_CLICK sent by the field
  } cases[] = {
      {L"20", NumberEdit::kIncreaseId, L"20", 0},  {L"0", NumberEdit::kDecreaseId, L"0", 0},
      {L"5", NumberEdit::kIncreaseId, L"6", 1},    {L"5", NumberEdit::kDecreaseId, L"4", 1},
      {L"19", NumberEdit::kIncreaseId, L"20", 1},  {L"1", NumberEdit::kDecreaseId, L"0", 1},
      {L"7 dpi", NumberEdit::kIncreaseId, L"8", 1},  // the number at the start of the text
      {L"", NumberEdit::kIncreaseId, L"1", 1},     {L"25", NumberEdit::kIncreaseId, L"20", 1},
  };
  for (const Case& c : cases) {
    number->SetEditText(c.start);
    dlg.notices.clear();
    ClickStepper(c.button);
    EXPECT_EQ(number->GetEditText(), c.expected) << "from \"" << platform::ToUtf8(c.start) << "\"";
    EXPECT_EQ(Count(kId, CN_CLICK), c.clicks) << "from \"" << platform::ToUtf8(c.start) << "\"";
    // The button's own press passes on under its id.
    EXPECT_EQ(Count(c.button, CN_PRESS), 1);
    EXPECT_EQ(Count(c.button, CN_CLICK), 0) << "the field consumes its buttons' clicks";
  }
}

TEST_F(NumberEditTest, TypedNumberIsKeptInRange) {
  struct Case {
    const wchar_t* typed;
    const wchar_t* expected;
  } cases[] = {{L"15", L"15"}, {L"99", L"20"}, {L"ab", L"0"}, {L"7x", L"7"}};
  for (const Case& c : cases) {
    number->SetEditText(L"3");
    dlg.notices.clear();
    ClickAt(number->GetTextRect().CenterPoint());
    ASSERT_TRUE(number->IsEditFocused());
    Key(dlg, VK_BACK, true);
    Key(dlg, VK_BACK, false);
    platform::headless::InjectText(c.typed);
    Pump(dlg);
    Key(dlg, VK_RETURN, true);
    Key(dlg, VK_RETURN, false);
    EXPECT_FALSE(number->IsEditFocused());
    EXPECT_EQ(number->GetEditText(), c.expected) << platform::ToUtf8(c.typed);
    EXPECT_EQ(Count(kId, CN_EDITBEGIN), 1);
    EXPECT_EQ(Count(kId, CN_EDITEND), 1);
    ASSERT_FALSE(dlg.notices.empty());
    EXPECT_EQ(dlg.notices.back().code, CN_EDITEND);
  }
}

TEST_F(NumberEditTest, StepperImagesComeFromTheSkin) {
  for (UINT id : {NumberEdit::kIncreaseId, NumberEdit::kDecreaseId}) {
    auto* button = dynamic_cast<MControlFont*>(number->GetControl(id));
    ASSERT_NE(button, nullptr);
    EXPECT_NE(button->GetImage(), nullptr) << id;
    EXPECT_TRUE(number->GetRect().PtInRect(button->GetRect().CenterPoint()));
  }
  EXPECT_FALSE(number->GetTextRect().Intersects(number->GetControl(NumberEdit::kIncreaseId)->GetRect()));
}

}  // namespace
}  // namespace toolkit_test
