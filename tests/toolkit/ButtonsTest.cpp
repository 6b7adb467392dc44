// Buttons, check boxes, radio buttons, areas and progress bars on the
// headless backend: input injected through the window, state read from the
// controls, looks read from the back buffer's pixels.

#include <filesystem>
#include <thread>

#include "ToolkitFixture.h"
#include "platform/Text.h"
#include "platform/draw/Canvas.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/CHelpButton.h"
#include "toolkit/core/CIconButton.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/CRadioButton.h"
#include "toolkit/core/CRoundArea.h"
#include "toolkit/core/CSelectButton.h"
#include "toolkit/core/CSwitchButton.h"
#include "toolkit/core/CTextButton.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/LongPressButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MButton2.h"
#include "toolkit/core/MButton3.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MProgress.h"
#include "toolkit/core/MProgress2.h"
#include "toolkit/core/PaintManager.h"

namespace toolkit_test {
namespace {

// Frame colours of the test strips: frame i is filled with kFrame[i].
constexpr ARGB kFrame[8] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF400000,
                            0xFF500000, 0xFF600000, 0xFF700000, 0xFF800000};

// A strip of solid frames written under the skin folder (frame i in
// kFrame[first + i]), removed again when the test ends.
class Strip {
 public:
  Strip(const char* name, int frames, int frameWidth, int height, int first = 0) {
    folder_ = std::filesystem::path(platform::ToUtf8(MRender::GetSkinFolder())) / "qelt_buttons_tests";
    std::filesystem::create_directories(folder_);
    platform::Bitmap bmp(frames * frameWidth, height);
    for (int i = 0; i < frames; ++i) {
      bmp.FillRaw(RECT{i * frameWidth, 0, (i + 1) * frameWidth, height}, kFrame[first + i]);
    }
    EXPECT_TRUE(bmp.SavePng(folder_ / name));
    relative_ = L"qelt_buttons_tests/" + platform::FromUtf8(name);
  }
  ~Strip() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  const wchar_t* Name() const { return relative_.c_str(); }

 private:
  std::filesystem::path folder_;
  std::wstring relative_;
};

// A plain container, as a panel is for its children: it draws nothing of
// its own and passes its children's notifications up.
class Box : public MControlFont {
 public:
  Box(MObject* parent, UINT id, CRect rect) : MControlFont(parent, id, rect, nullptr, 1, 1, 1) {}
  void DrawControl(HDC&, CRect) override {}
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override {
    return m_parent != nullptr ? m_parent->OnBaseMessage(id, code, wParam, lParam) : 0;
  }
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override {
    if (redraw) control->SetUpdate(0);
    return m_parent != nullptr ? m_parent->OnControlUpdate(rect, 0, this) : 0;
  }
  // Builds a child the way the panel factory does.
  template <typename T>
  T* Make(const wchar_t* className, UINT id, CRect rect, const wchar_t* title = nullptr) {
    MControl* c = MakeRegisteredControl(FactoryKind::Panel, className, this, id, rect, title, 1, 1);
    if (c == nullptr) return nullptr;
    c->SetManager(m_manager);
    AddChild(c, 1);
    return dynamic_cast<T*>(c);
  }
};

class ButtonsTest : public ToolkitTest {
 protected:
  static ARGB Pixel(RecordingDialog& dlg, int x, int y) {
    Pump(dlg);
    return platform::Unpremultiply(dlg.GetPaintManager()->GetPaintDC()->Bitmap().PixelAt(x, y));
  }
  static void Click(RecordingDialog& dlg, int x, int y) {
    Move(dlg, x, y);
    Button(dlg, true, x, y);
    Button(dlg, false, x, y);
  }
  static Box* AddBox(RecordingDialog& dlg, UINT id, CRect rect) {
    auto* box = new Box(&dlg, id, rect);
    dlg.GetPaintManager()->AttachControl(box, 1);
    return box;
  }
  template <typename T>
  static T* Create(RecordingDialog& dlg, const wchar_t* className, UINT id, CRect rect, const wchar_t* title = nullptr) {
    return dynamic_cast<T*>(dlg.CreateControl(className, id, rect, title, 1, 1));
  }
  static std::vector<UINT> Codes(const RecordingDialog& dlg, UINT id) {
    std::vector<UINT> codes;
    for (const Notice& n : dlg.notices) {
      if (n.id == id) codes.push_back(n.code);
    }
    return codes;
  }
  // Whether two colours differ by at most `slack` in every channel.
  static bool Near(ARGB a, ARGB b, int slack = 2) {
    for (int shift = 0; shift < 32; shift += 8) {
      const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
      if (d > slack || d < -slack) return false;
    }
    return true;
  }
};

// --- Factories and class names ----------------------------------------------------------

TEST_F(ButtonsTest, FactoriesBuildEveryClassWithItsClassName) {
  RecordingDialog dlg;
  Open(dlg);
  struct Case {
    const wchar_t* name;
    bool dialog, panel;  // which factories accept it
    const wchar_t* className;
  } const cases[] = {
      {L"MButton", true, true, L"MControl"},         {L"CImageButton", true, true, L"MControl"},
      {L"CTextButton", true, true, L"MControl"},     {L"CIconButton", true, true, L"MControl"},
      {L"CHelpButton", true, true, L"MControl"},     {L"CCheckButton", true, true, L"MControl"},
      {L"CRadioButton", true, true, L"RadioButton"}, {L"CArea", true, true, L"MControl"},
      {L"MProgress", true, true, L"MControl"},       {L"MProgress2", true, false, L"MControl"},
      {L"MButton2", false, true, L"MButton2"},       {L"MButton3", false, true, L"MControl"},
      {L"CRoundArea", false, true, L"MControl"},     {L"LongPressButton", false, true, L"MControl"},
      {L"CSwitchButton", true, true, L"MControl"},   {L"CSelectButton", true, true, L"CSelectButton"},
      {L"CTimerButton", true, true, L"MControl"},    {L"TextCheckButton", true, false, L"MControl"},
      {L"UpgradeButton", false, true, L"MControl"},  {L"DownloadButton", false, true, L"MControl"},
      {L"ColorButtonEx", false, true, L"ColorButtonEx"},
  };
  Box* box = AddBox(dlg, 900, CRect(0, 0, 10, 10));
  UINT id = 10;
  for (const Case& k : cases) {
    MControl* inDialog = dlg.CreateControl(k.name, id++, CRect(0, 0, 20, 20), L"t", 1, 1);
    EXPECT_EQ(inDialog != nullptr, k.dialog) << platform::ToUtf8(k.name);
    MControl* inPanel = box->Make<MControl>(k.name, id++, CRect(0, 0, 20, 20));
    ASSERT_EQ(inPanel != nullptr, k.panel) << platform::ToUtf8(k.name);
    MControl* built = inDialog != nullptr ? inDialog : inPanel;
    EXPECT_STREQ(built->GetClassNameW(), k.className) << platform::ToUtf8(k.name);
    EXPECT_EQ(built->IsClass(L"RadioButton"), std::wstring(k.name) == L"CRadioButton" ? 1 : 0);
  }
}

// --- The four-state buttons -----------------------------------------------------------------

// The same press, move and release rules for every four-state button.
TEST_F(ButtonsTest, PushButtonsClickOnlyWhenReleasedInside) {
  struct Kind {
    const wchar_t* name;
    int (*state)(MControl*);
  } const kinds[] = {
      {L"MButton", [](MControl* c) { return static_cast<MButton*>(c)->GetState(); }},
      {L"CImageButton", [](MControl* c) { return static_cast<MButton*>(c)->GetState(); }},
      {L"CTextButton", [](MControl* c) { return static_cast<CTextButton*>(c)->GetState(); }},
      {L"CIconButton", [](MControl* c) { return static_cast<CIconButton*>(c)->GetState(); }},
  };
  struct Script {
    const char* what;
    bool enabled;
    CPoint releaseAt;
    std::vector<UINT> codes;
    int hoverState, pressedState, finalState;
  } const scripts[] = {
      {"click", true, CPoint(60, 30), {CN_PRESS, CN_CLICK}, 1, 2, 1},
      {"release outside", true, CPoint(300, 200), {CN_PRESS}, 1, 2, 0},
      {"disabled", false, CPoint(60, 30), {}, 3, 3, 3},
  };
  for (const Kind& kind : kinds) {
    for (const Script& s : scripts) {
      RecordingDialog dlg;
      Open(dlg);
      MControl* b = dlg.CreateControl(kind.name, 7, CRect(20, 10, 120, 50), L"OK", 1, s.enabled);
      ASSERT_NE(b, nullptr);
      const std::string label = platform::ToUtf8(kind.name) + " " + s.what;
      Move(dlg, 60, 30);
      EXPECT_EQ(kind.state(b), s.hoverState) << label;
      Button(dlg, true, 60, 30);
      EXPECT_EQ(kind.state(b), s.pressedState) << label;
      // While held, moving out keeps the pressed look.
      Move(dlg, s.releaseAt.x, s.releaseAt.y);
      EXPECT_EQ(kind.state(b), s.pressedState) << label;
      Button(dlg, false, s.releaseAt.x, s.releaseAt.y);
      EXPECT_EQ(kind.state(b), s.finalState) << label;
      EXPECT_EQ(Codes(dlg, 7), s.codes) << label;
    }
  }
}

TEST_F(ButtonsTest, ButtonShowsTheFrameOfItsState) {
  const Strip strip("push.png", 4, 20, 20);
  RecordingDialog dlg;
  Open(dlg);
  auto* b = Create<MButton>(dlg, L"MButton", 7, CRect(20, 10, 120, 50));
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->SetImage(strip.Name(), 4), 1);
  const CPoint centre(70, 30), away(300, 250);
  EXPECT_EQ(Pixel(dlg, 70, 30), kFrame[0]);
  Move(dlg, centre.x, centre.y);
  EXPECT_EQ(Pixel(dlg, 70, 30), kFrame[1]);
  Button(dlg, true, centre.x, centre.y);
  EXPECT_EQ(Pixel(dlg, 70, 30), kFrame[2]);
  Button(dlg, false, away.x, away.y);
  EXPECT_EQ(Pixel(dlg, 70, 30), kFrame[0]);
  b->SetEnabled(0);
  EXPECT_EQ(Pixel(dlg, 70, 30), kFrame[3]);
  // A disabled button takes no hover.
  Move(dlg, centre.x, centre.y);
  EXPECT_EQ(Pixel(dlg, 70, 30), kFrame[3]);
}

TEST_F(ButtonsTest, ImageButtonDrawsItsFrameAtNaturalSizeAndTheHandCursor) {
  const Strip strip("image.png", 4, 16, 16);
  RecordingDialog dlg;
  Open(dlg);
  auto* b = Create<CImageButton>(dlg, L"CImageButton", 7, CRect(20, 10, 60, 50), L"not drawn");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->SetImage(strip.Name(), 4), 1);
  Move(dlg, 25, 15);
  EXPECT_EQ(Pixel(dlg, 25, 15), kFrame[1]);
  EXPECT_EQ(platform::GetCursor(), IDC_HAND);
  // Beyond the frame's 16 pixels lies the window background.
  EXPECT_EQ(Pixel(dlg, 40, 40), 0xFE0A0B0Cu);
  Move(dlg, 300, 250);
  EXPECT_EQ(platform::GetCursor(), IDC_ARROW);
}

TEST_F(ButtonsTest, TextButtonDrawsItsTitleInTheStateColour) {
  RecordingDialog dlg;
  Open(dlg);
  auto* b = Create<CTextButton>(dlg, L"CTextButton", 7, CRect(20, 10, 220, 50), L"Official website");
  ASSERT_NE(b, nullptr);
  const ARGB colours[4] = {0xFF00FF00, 0xFF0000FF, 0xFFFF00FF, 0xFF808080};
  b->SetTextButtonColor(Color(colours[0]), Color(colours[1]), Color(colours[2]), Color(colours[3]));
  // How many pixels of the button show (nearly) each state's colour.
  auto count = [&](ARGB colour) {
    Pump(dlg);
    const platform::Bitmap& bmp = dlg.GetPaintManager()->GetPaintDC()->Bitmap();
    int n = 0;
    for (int y = 10; y < 50; ++y) {
      for (int x = 20; x < 220; ++x) n += Near(platform::Unpremultiply(bmp.PixelAt(x, y)), colour, 24) ? 1 : 0;
    }
    return n;
  };
  struct Case {
    const char* what;
    void (*act)(RecordingDialog&);
    int state;
  } const cases[] = {
      {"normal", [](RecordingDialog&) {}, 0},
      {"hover", [](RecordingDialog& d) { Move(d, 120, 30); }, 1},
      {"pressed", [](RecordingDialog& d) { Button(d, true, 120, 30); }, 2},
  };
  for (const Case& k : cases) {
    k.act(dlg);
    EXPECT_EQ(b->GetState(), k.state) << k.what;
    for (int s = 0; s < 3; ++s) {
      if (s == k.state) EXPECT_GT(count(colours[s]), 20) << k.what;
      else EXPECT_EQ(count(colours[s]), 0) << k.what << " shows state " << s;
    }
  }
  // A text button leaves the cursor alone.
  EXPECT_NE(platform::GetCursor(), IDC_HAND);
}

TEST_F(ButtonsTest, IconButtonDrawsTheIconFrameOfEachState) {
  const Strip background("icon_bkg.png", 4, 40, 40);
  const Strip icon("icon.png", 4, 10, 10, 4);
  RecordingDialog dlg;
  Open(dlg);
  auto* b = Create<CIconButton>(dlg, L"CIconButton", 7, CRect(20, 10, 140, 50), nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->SetImage(background.Name(), 4), 1);
  ASSERT_EQ(b->SetIconImage(icon.Name(), 4), 1);
  // The icon's left edge from the icon rectangle, centred vertically.
  b->SetTextRect(CRect(40, 0, 120, 40), CRect(6, 0, 16, 40));
  const CPoint inIcon(20 + 6 + 5, 10 + 20), inBackground(100, 30);
  struct Case {
    const char* what;
    void (*act)(RecordingDialog&, CIconButton*);
    int state;
  } const cases[] = {
      {"normal", [](RecordingDialog&, CIconButton*) {}, 0},
      {"hover", [](RecordingDialog& d, CIconButton*) { Move(d, 100, 30); }, 1},
      {"pressed", [](RecordingDialog& d, CIconButton*) { Button(d, true, 100, 30); }, 2},
      {"disabled", [](RecordingDialog& d, CIconButton* c) {
         Button(d, false, 100, 30);
         c->SetEnabled(0);
       }, 3},
  };
  for (const Case& k : cases) {
    k.act(dlg, b);
    EXPECT_EQ(b->GetState(), k.state) << k.what;
    EXPECT_EQ(Pixel(dlg, inIcon.x, inIcon.y), kFrame[4 + k.state]) << k.what;
    EXPECT_EQ(Pixel(dlg, inBackground.x, inBackground.y), kFrame[k.state]) << k.what;
  }
  // Left of the icon lies the background, above it too.
  EXPECT_EQ(Pixel(dlg, 20 + 3, 30), kFrame[3]);
  EXPECT_EQ(Pixel(dlg, inIcon.x, 10 + 12), kFrame[3]);
}

TEST_F(ButtonsTest, GroupedButtonsUncheckTheirGroupOnlyAmongSiblings) {
  RecordingDialog dlg;
  Open(dlg, 500, 300);
  Box* left = AddBox(dlg, 50, CRect(0, 0, 250, 300));
  Box* right = AddBox(dlg, 51, CRect(250, 0, 500, 300));
  auto* a1 = left->Make<MButton2>(L"MButton2", 1, CRect(10, 10, 90, 40));
  auto* a2 = left->Make<MButton2>(L"MButton2", 2, CRect(10, 50, 90, 80));
  auto* b1 = left->Make<MButton2>(L"MButton2", 3, CRect(10, 90, 90, 120));
  auto* other = right->Make<MButton2>(L"MButton2", 4, CRect(260, 10, 340, 40));
  ASSERT_TRUE(a1 && a2 && b1 && other);
  b1->SetGroupName(L"Other");
  EXPECT_EQ(a1->GetGroupName(), L"MouseFunction");
  b1->SetCheck(1);
  other->SetCheck(1);
  Click(dlg, 50, 25);
  EXPECT_EQ(a1->GetCheck(), 1);
  Click(dlg, 50, 65);
  EXPECT_EQ(a1->GetCheck(), 0);
  EXPECT_EQ(a2->GetCheck(), 1);
  EXPECT_EQ(b1->GetCheck(), 1);     // another group
  EXPECT_EQ(other->GetCheck(), 1);  // another parent
  EXPECT_EQ(Codes(dlg, 2), (std::vector<UINT>{CN_PRESS, CN_CLICK}));
}

TEST_F(ButtonsTest, GroupedAndToggleButtonsShowThePressedColumnWhileChecked) {
  // Wide enough frames for the grouped button's 10-pixel nine-grid corners.
  const Strip strip("toggle.png", 4, 40, 40);
  RecordingDialog dlg;
  Open(dlg, 400, 300);
  Box* box = AddBox(dlg, 50, CRect(0, 0, 400, 300));
  auto* toggle = box->Make<MButton3>(L"MButton3", 1, CRect(10, 10, 90, 40));
  auto* grouped = box->Make<MButton2>(L"MButton2", 2, CRect(10, 50, 90, 80));
  ASSERT_TRUE(toggle && grouped);
  ASSERT_EQ(toggle->SetImage(strip.Name(), 4), 1);
  ASSERT_EQ(grouped->SetImage(strip.Name(), 4), 1);
  Click(dlg, 50, 25);
  EXPECT_EQ(toggle->GetCheck(), 1);
  Move(dlg, 300, 250);
  EXPECT_EQ(Pixel(dlg, 50, 25), kFrame[2]);
  Click(dlg, 50, 25);
  EXPECT_EQ(toggle->GetCheck(), 0);
  Move(dlg, 300, 250);
  EXPECT_EQ(Pixel(dlg, 50, 25), kFrame[0]);
  grouped->SetCheck(1);
  EXPECT_EQ(Pixel(dlg, 50, 65), kFrame[2]);
  EXPECT_EQ(Codes(dlg, 1), (std::vector<UINT>{CN_PRESS, CN_CLICK, CN_PRESS, CN_CLICK}));
}

TEST_F(ButtonsTest, ToggleButtonClicksOnAReleaseWithoutAPress) {
  RecordingDialog dlg;
  Open(dlg);
  Box* box = AddBox(dlg, 50, CRect(0, 0, 400, 300));
  auto* toggle = box->Make<MButton3>(L"MButton3", 1, CRect(10, 10, 90, 40));
  auto* push = box->Make<MButton>(L"MButton", 2, CRect(10, 50, 90, 80));
  ASSERT_TRUE(toggle && push);
  // A release that reaches a button whose press began elsewhere.
  toggle->OnLButtonUp(0, CPoint(50, 25));
  push->OnLButtonUp(0, CPoint(50, 65));
  EXPECT_EQ(toggle->GetCheck(), 1);
  EXPECT_EQ(Codes(dlg, 1), (std::vector<UINT>{CN_CLICK}));
  EXPECT_TRUE(Codes(dlg, 2).empty());
}

TEST_F(ButtonsTest, SwitchSendsItsNewStateAndSelectButtonsGroupOnlyWithTheirKind) {
  RecordingDialog dlg;
  Open(dlg);
  auto* sw = Create<CSwitchButton>(dlg, L"CSwitchButton", 1, CRect(10, 10, 90, 40), L"Lights");
  auto* s1 = Create<CSelectButton>(dlg, L"CSelectButton", 2, CRect(10, 50, 90, 80), L"A");
  auto* s2 = Create<CSelectButton>(dlg, L"CSelectButton", 3, CRect(10, 90, 90, 120), L"B");
  Box* box = AddBox(dlg, 50, CRect(200, 0, 400, 300));
  auto* grouped = box->Make<MButton2>(L"MButton2", 4, CRect(210, 10, 290, 40));
  auto* s3 = box->Make<CSelectButton>(L"CSelectButton", 5, CRect(210, 50, 290, 80), L"C");
  ASSERT_TRUE(sw && s1 && s2 && grouped && s3);
  Click(dlg, 50, 25);
  Click(dlg, 50, 25);
  std::vector<LPARAM> states;
  for (const Notice& n : dlg.notices) {
    if (n.id == 1 && n.code == CN_CLICK) states.push_back(n.lParam);
  }
  EXPECT_EQ(states, (std::vector<LPARAM>{1, 0}));
  // Same default group name, but only CSelectButton siblings are touched.
  grouped->SetCheck(1);
  Click(dlg, 50, 65);
  Click(dlg, 50, 105);
  EXPECT_EQ(s1->GetCheck(), 0);
  EXPECT_EQ(s2->GetCheck(), 1);
  Click(dlg, 250, 65);
  EXPECT_EQ(s3->GetCheck(), 1);
  EXPECT_EQ(grouped->GetCheck(), 1);
  EXPECT_EQ(s2->GetCheck(), 1);
}

TEST_F(ButtonsTest, LongPressButtonRepeatsWhileHeld) {
  RecordingDialog dlg;
  Open(dlg);
  Box* box = AddBox(dlg, 50, CRect(0, 0, 400, 300));
  auto* b = box->Make<LongPressButton>(L"LongPressButton", 1, CRect(10, 10, 90, 40));
  ASSERT_NE(b, nullptr);
  auto advance = [&](int ms) {
    for (int t = 0; t < ms; t += 10) {
      platform::headless::AdvanceTime(10);
      Pump(dlg);
    }
  };
  // A quick click repeats nothing.
  Click(dlg, 50, 25);
  EXPECT_EQ(Codes(dlg, 1), (std::vector<UINT>{CN_PRESS, CN_CLICK}));
  dlg.notices.clear();
  Button(dlg, true, 50, 25);
  advance(300);
  EXPECT_EQ(Codes(dlg, 1), (std::vector<UINT>{CN_PRESS}));  // 300 ms is not more than 300
  advance(100);
  EXPECT_EQ(Codes(dlg, 1), (std::vector<UINT>{CN_PRESS, CN_REPEAT}));
  advance(350);
  EXPECT_EQ(Codes(dlg, 1), (std::vector<UINT>{CN_PRESS, CN_REPEAT, CN_REPEAT}));
  // Released outside: no click, and the repeats stop.
  Button(dlg, false, 300, 250);
  advance(1000);
  EXPECT_EQ(Codes(dlg, 1), (std::vector<UINT>{CN_PRESS, CN_REPEAT, CN_REPEAT}));
}

TEST_F(ButtonsTest, HelpButtonShowsItsTitleInABubbleWhileTheMouseIsOverIt) {
  RecordingDialog dlg;
  Open(dlg);
  auto* help = Create<CHelpButton>(dlg, L"CHelpButton", 7, CRect(40, 30, 60, 50), L"Sensor lift-off distance");
  ASSERT_NE(help, nullptr);
  EXPECT_FALSE(help->IsBubbleShown());
  Move(dlg, 50, 40);
  ASSERT_TRUE(help->IsBubbleShown());
  EXPECT_EQ(help->GetBubble()->GetText(), L"Sensor lift-off distance");
  // 20 pixels right of the button's top-left corner, in screen coordinates.
  const CRect bubble = help->GetBubble()->GetWindowRect();
  EXPECT_EQ(bubble.left, 100 + 40 + 20);
  EXPECT_EQ(bubble.top, 100 + 30);
  Move(dlg, 200, 200);
  EXPECT_FALSE(help->IsBubbleShown());
  Move(dlg, 50, 40);
  EXPECT_TRUE(help->IsBubbleShown());
  dlg.GetPaintManager()->OnNcActivate(0);
  EXPECT_FALSE(help->IsBubbleShown());
  EXPECT_TRUE(dlg.notices.empty());
}

// --- Check boxes and radio buttons ---------------------------------------------------------

TEST_F(ButtonsTest, CheckBoxTogglesOnClickAndSpace) {
  struct Step {
    const char* what;
    enum { Click, ReleaseOutside, Space, ShiftSpace, SetCheck, Disable } action;
    int checkAfter;
    std::vector<UINT> codesAfter;
  } const steps[] = {
      {"click ticks", Step::Click, 1, {CN_CLICK}},
      {"space unticks", Step::Space, 0, {CN_CLICK, CN_CHECK}},
      {"shift+space does nothing", Step::ShiftSpace, 0, {CN_CLICK, CN_CHECK}},
      {"release outside does nothing", Step::ReleaseOutside, 0, {CN_CLICK, CN_CHECK}},
      {"click ticks again", Step::Click, 1, {CN_CLICK, CN_CHECK, CN_CLICK}},
      {"disabled ignores SetCheck", Step::Disable, 1, {CN_CLICK, CN_CHECK, CN_CLICK}},
      {"disabled ignores clicks", Step::Click, 1, {CN_CLICK, CN_CHECK, CN_CLICK}},
  };
  RecordingDialog dlg;
  Open(dlg);
  auto* box = Create<CCheckButton>(dlg, L"CCheckButton", 7, CRect(20, 20, 220, 44), L"Angle snapping");
  ASSERT_NE(box, nullptr);
  for (const Step& s : steps) {
    switch (s.action) {
      case Step::Click: Click(dlg, 30, 30); break;
      case Step::ReleaseOutside:
        Move(dlg, 30, 30);
        Button(dlg, true, 30, 30);
        Button(dlg, false, 300, 200);
        break;
      case Step::Space: Key(dlg, VK_SPACE, true); Key(dlg, VK_SPACE, false); break;
      case Step::ShiftSpace:
        Key(dlg, VK_SHIFT, true);
        Key(dlg, VK_SPACE, true);
        Key(dlg, VK_SPACE, false);
        Key(dlg, VK_SHIFT, false);
        break;
      case Step::SetCheck: break;
      case Step::Disable:
        box->SetEnabled(0);
        EXPECT_EQ(box->SetCheck(0), 1) << s.what;
        break;
    }
    EXPECT_EQ(box->GetCheck(), s.checkAfter) << s.what;
    EXPECT_EQ(Codes(dlg, 7), s.codesAfter) << s.what;
  }
  // The keyboard notice carries the new check state.
  ASSERT_GE(dlg.notices.size(), 2u);
  EXPECT_EQ(dlg.notices[1].code, CN_CHECK);
  EXPECT_EQ(dlg.notices[1].lParam, 0);
}

TEST_F(ButtonsTest, CheckBoxShowsEightColumnsWithTheirTextColours) {
  const Strip strip("check.png", 8, 18, 18);
  RecordingDialog dlg;
  Open(dlg);
  auto* box = Create<CCheckButton>(dlg, L"CCheckButton", 7, CRect(20, 20, 220, 44), L"Motion sync");
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->SetImage(strip.Name(), 8), 1);
  const ARGB plain = 0xFF00FF00, checked = 0xFF0000FF, disabled = 0xFF808080;
  box->SetTextColor(Color(plain));
  box->SetCheckedTextColor(Color(checked));
  // How many pixels of the title (right of the box) show a colour.
  auto textPixels = [&](ARGB colour) {
    Pump(dlg);
    const platform::Bitmap& bmp = dlg.GetPaintManager()->GetPaintDC()->Bitmap();
    int n = 0;
    for (int y = 20; y < 44; ++y) {
      for (int x = 46; x < 220; ++x) n += Near(platform::Unpremultiply(bmp.PixelAt(x, y)), colour, 24) ? 1 : 0;
    }
    return n;
  };
  const CPoint inBox(29, 32);  // the 18 x 18 box is centred vertically at the left edge
  struct Case {
    const char* what;
    void (*act)(RecordingDialog&, CCheckButton*);
    int state;
    ARGB text;
  } const cases[] = {
      {"normal", [](RecordingDialog&, CCheckButton*) {}, 0, plain},
      {"hover", [](RecordingDialog& d, CCheckButton*) { Move(d, 29, 32); }, 1, plain},
      {"pressed", [](RecordingDialog& d, CCheckButton*) { Button(d, true, 29, 32); }, 2, plain},
      {"checked hover", [](RecordingDialog& d, CCheckButton*) { Button(d, false, 29, 32); }, 5, checked},
      {"checked", [](RecordingDialog& d, CCheckButton*) { Move(d, 300, 250); }, 4, checked},
      {"checked pressed", [](RecordingDialog& d, CCheckButton*) {
         Move(d, 29, 32);
         Button(d, true, 29, 32);
       }, 6, checked},
      {"checked disabled", [](RecordingDialog& d, CCheckButton* b) {
         Button(d, false, 300, 250);
         b->SetEnabled(0);
       }, 7, disabled},
      {"disabled", [](RecordingDialog&, CCheckButton* b) {
         b->SetEnabled(1);
         b->SetCheck(0);
         b->SetEnabled(0);
       }, 3, disabled},
  };
  for (const Case& k : cases) {
    k.act(dlg, box);
    EXPECT_EQ(box->GetState(), k.state) << k.what;
    EXPECT_EQ(Pixel(dlg, inBox.x, inBox.y), kFrame[k.state]) << k.what;
    for (ARGB colour : {plain, checked, disabled}) {
      if (colour == k.text) EXPECT_GT(textPixels(colour), 10) << k.what;
      else EXPECT_EQ(textPixels(colour), 0) << k.what;
    }
  }
}

TEST_F(ButtonsTest, RadioGroupsInADialogAndInAPanelNeverTouchEachOther) {
  RecordingDialog dlg;
  Open(dlg, 500, 300);
  auto* d1 = Create<CRadioButton>(dlg, L"CRadioButton", 1, CRect(10, 10, 150, 30), L"1.0 mm");
  auto* d2 = Create<CRadioButton>(dlg, L"CRadioButton", 2, CRect(10, 40, 150, 60), L"2.0 mm");
  auto* d3 = Create<CRadioButton>(dlg, L"CRadioButton", 3, CRect(10, 70, 150, 90), L"other group");
  auto* check = Create<CCheckButton>(dlg, L"CCheckButton", 4, CRect(10, 100, 150, 120), L"a check box");
  Box* box = AddBox(dlg, 50, CRect(250, 0, 500, 300));
  auto* p1 = box->Make<CRadioButton>(L"CRadioButton", 5, CRect(260, 10, 400, 30), L"in panel");
  auto* p2 = box->Make<CRadioButton>(L"CRadioButton", 6, CRect(260, 40, 400, 60), L"in panel too");
  ASSERT_TRUE(d1 && d2 && d3 && check && p1 && p2);
  for (CRadioButton* r : {d1, d2, p1, p2}) r->SetGroupName(L"IDC_PER_STC_LOD");
  d3->SetGroupName(L"IDC_SET_STC_EXITMODE");
  d3->SetCheck(1);
  check->SetCheck(1);
  p1->SetCheck(1);

  Click(dlg, 20, 20);
  EXPECT_EQ(d1->GetCheck(), 1);
  EXPECT_EQ(p1->GetCheck(), 1);
  Click(dlg, 20, 50);
  EXPECT_EQ(d1->GetCheck(), 0);
  EXPECT_EQ(d2->GetCheck(), 1);
  EXPECT_EQ(d3->GetCheck(), 1);
  EXPECT_EQ(check->GetCheck(), 1);
  EXPECT_EQ(p1->GetCheck(), 1);
  // Clicking a checked radio button keeps it checked and still notifies.
  Click(dlg, 20, 50);
  EXPECT_EQ(d2->GetCheck(), 1);
  EXPECT_EQ(Codes(dlg, 2), (std::vector<UINT>{CN_CLICK, CN_CLICK}));
  // In the panel, Space on the focused radio button checks it.
  Click(dlg, 270, 50);
  EXPECT_EQ(p2->GetCheck(), 1);
  EXPECT_EQ(p1->GetCheck(), 0);
  EXPECT_EQ(d2->GetCheck(), 1);
  // SetCheck(0) also unchecks the rest of the group.
  d1->SetCheck(1);
  EXPECT_EQ(d2->GetCheck(), 0);
  d2->SetCheck(0);
  EXPECT_EQ(d1->GetCheck(), 0);
  EXPECT_EQ(d3->GetCheck(), 1);
}

// The same in a real scrolling panel: its factory builds the panel-only
// classes, its radio buttons and grouped buttons group among themselves,
// and a click on scrolled content reaches the button under the pointer.
TEST_F(ButtonsTest, PanelChildrenGroupInThePanelAndClickWhenScrolled) {
  const Strip strip("scrolled.png", 4, 40, 40);
  RecordingDialog dlg;
  Open(dlg, 500, 300);
  auto* outside = Create<CRadioButton>(dlg, L"CRadioButton", 1, CRect(10, 10, 150, 30), L"in the dialog");
  auto* panel = new MPanel(&dlg, 50, CRect(200, 0, 500, 200), 1);
  dlg.GetPaintManager()->AttachControl(panel, 1);
  auto* r1 = dynamic_cast<CRadioButton*>(panel->CreateControl(L"CRadioButton", 2, CRect(210, 10, 350, 30), L"a", 1, 1));
  auto* r2 = dynamic_cast<CRadioButton*>(panel->CreateControl(L"CRadioButton", 3, CRect(210, 40, 350, 60), L"b", 1, 1));
  auto* g1 = dynamic_cast<MButton2*>(panel->CreateControl(L"MButton2", 4, CRect(210, 80, 290, 110), nullptr, 1, 1));
  auto* g2 = dynamic_cast<MButton2*>(panel->CreateControl(L"MButton2", 5, CRect(300, 80, 380, 110), nullptr, 1, 1));
  // Far below the panel's bottom: reachable only by scrolling.
  auto* low = dynamic_cast<MButton*>(panel->CreateControl(L"MButton", 6, CRect(210, 400, 330, 440), L"low", 1, 1));
  ASSERT_TRUE(outside && r1 && r2 && g1 && g2 && low);
  EXPECT_NE(panel->CreateControl(L"CRoundArea", 7, CRect(400, 10, 450, 30), nullptr, 1, 1), nullptr);
  EXPECT_EQ(dlg.CreateControl(L"CRoundArea", 8, CRect(400, 10, 450, 30), nullptr, 1, 1), nullptr);
  outside->SetCheck(1);
  r1->SetCheck(1);
  Click(dlg, 220, 50);
  EXPECT_EQ(r2->GetCheck(), 1);
  EXPECT_EQ(r1->GetCheck(), 0);
  EXPECT_EQ(outside->GetCheck(), 1);
  Click(dlg, 250, 95);
  Click(dlg, 340, 95);
  EXPECT_EQ(g1->GetCheck(), 0);
  EXPECT_EQ(g2->GetCheck(), 1);
  // The panel's notifications climb to the dialog.
  EXPECT_EQ(Codes(dlg, 5), (std::vector<UINT>{CN_PRESS, CN_CLICK}));

  panel->SetVirtualHeight(460);
  ASSERT_EQ(panel->EnsureVisible(low->GetRect()), 1);
  const CRect shown = panel->ContentToWindow(low->GetRect());
  ASSERT_LT(shown.bottom, 201);
  ASSERT_EQ(low->SetImage(strip.Name(), 4), 1);
  Click(dlg, shown.CenterPoint().x, shown.CenterPoint().y);
  EXPECT_EQ(Codes(dlg, 6), (std::vector<UINT>{CN_PRESS, CN_CLICK}));
  // Drawn where it is shown, in its hover look (away from its title).
  EXPECT_EQ(Pixel(dlg, shown.left + 12, shown.top + 20), kFrame[1]);
  EXPECT_EQ(Pixel(dlg, shown.left + 12, shown.top - 4), 0xFE0A0B0Cu);
}

TEST_F(ButtonsTest, SpaceChecksAFocusedRadioButtonAndSendsItsState) {
  RecordingDialog dlg;
  Open(dlg);
  auto* r1 = Create<CRadioButton>(dlg, L"CRadioButton", 1, CRect(10, 10, 150, 30), L"One");
  auto* r2 = Create<CRadioButton>(dlg, L"CRadioButton", 2, CRect(10, 40, 150, 60), L"Two");
  ASSERT_TRUE(r1 && r2);
  r1->SetCheck(1);
  dlg.SetFocusControl(r2);
  EXPECT_EQ(r2->HasKeyFocus(), 1);
  Key(dlg, VK_SPACE, true);
  EXPECT_EQ(r2->GetCheck(), 1);
  EXPECT_EQ(r1->GetCheck(), 0);
  ASSERT_EQ(Codes(dlg, 2), (std::vector<UINT>{CN_CHECK}));
  EXPECT_EQ(dlg.notices.back().lParam, 1);
  // Without the focus Space does nothing.
  dlg.SetFocusControl(r1);
  EXPECT_EQ(r2->HasKeyFocus(), 0);
  r2->SetCheck(0);
  Key(dlg, VK_SPACE, false);
  Key(dlg, VK_SPACE, true);
  EXPECT_EQ(Codes(dlg, 2).size(), 1u);
}

// --- Areas -----------------------------------------------------------------------------------

TEST_F(ButtonsTest, AreaBlendsFillsAndFrames) {
  RecordingDialog dlg;
  Open(dlg, 400, 300);
  // The window background is 0x0A0B0C; white at the default 80/80 covers
  // it with a constant alpha of 51.
  auto* blend = dynamic_cast<CArea*>(dlg.CreateArea(L"CArea", 1, CRect(10, 10, 110, 110), nullptr, 1, 1));
  auto* framed = dynamic_cast<CArea*>(dlg.CreateArea(L"CArea", 2, CRect(150, 10, 250, 110), nullptr, 1, 1));
  auto* fade = dynamic_cast<CArea*>(dlg.CreateArea(L"CArea", 3, CRect(10, 150, 110, 250), nullptr, 1, 1));
  ASSERT_TRUE(blend && framed && fade);
  framed->SetTransparent(0, 0, RGB(0x20, 0x40, 0x60));
  framed->SetFrame(1, Color(0xFF00FF00));
  fade->SetTransparent(0, 100, RGB(0xFF, 0, 0));
  auto over = [](int bg, int fg, int alpha) { return bg + (fg - bg) * alpha / 255; };
  const ARGB blended = 0xFF000000u | ARGB(over(0x0A, 0xFF, 51)) << 16 | ARGB(over(0x0B, 0xFF, 51)) << 8 |
                       ARGB(over(0x0C, 0xFF, 51));
  struct Case {
    int x, y;
    ARGB colour;
  } const cases[] = {
      {12, 12, blended}, {60, 100, blended},
      {150, 10, 0xFF00FF00}, {249, 60, 0xFF00FF00}, {200, 60, 0xFE204060},
      {60, 150, 0xFEFF0000},  // the fade starts opaque at the top row
  };
  for (const Case& k : cases) {
    const ARGB got = Pixel(dlg, k.x, k.y);
    EXPECT_TRUE(Near(got | 0xFF000000u, k.colour | 0xFF000000u)) << k.x << "," << k.y << " " << std::hex << got;
  }
  // ... and lets the background through at the bottom.
  EXPECT_TRUE(Near(Pixel(dlg, 60, 249) | 0xFF000000u, 0xFF0A0B0Cu, 4)) << std::hex << Pixel(dlg, 60, 249);
}

TEST_F(ButtonsTest, RoundAreaFillsWithItsColour) {
  RecordingDialog dlg;
  Open(dlg);
  Box* box = AddBox(dlg, 50, CRect(0, 0, 400, 300));
  auto* area = box->Make<CRoundArea>(L"CRoundArea", 1, CRect(10, 10, 110, 60));
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->GetColor(), Color(0xC82B2B2B));
  dlg.GetPaintManager()->Invalidate();
  // The default is translucent: between the background and its own grey.
  const ARGB dim = Pixel(dlg, 50, 30);
  EXPECT_GT((dim >> 16) & 0xFF, 0x0Au);
  EXPECT_LT((dim >> 16) & 0xFF, 0x2Bu);
  area->SetColor(Color(0xFF336699));
  EXPECT_EQ(Pixel(dlg, 50, 30), 0xFF336699u);
}

// --- Progress bars ---------------------------------------------------------------------------

TEST_F(ButtonsTest, ProgressIsClampedAndNegativeValuesChangeNothing) {
  RecordingDialog dlg;
  Open(dlg);
  auto* bar = Create<MProgress>(dlg, L"MProgress", 1, CRect(10, 10, 210, 30));
  ASSERT_NE(bar, nullptr);
  struct Case {
    int set, expected;
  } const cases[] = {{40, 40}, {150, 100}, {-1, 100}, {0, 0}, {100, 100}, {-50, 100}};
  for (const Case& k : cases) EXPECT_EQ(bar->SetProgress(k.set), k.expected) << k.set;
  bar->SetMaximum(16000);
  EXPECT_EQ(bar->SetProgress(12000), 12000);
  bar->SetEnabled(0);
  EXPECT_EQ(bar->SetProgress(5), 12000);
  EXPECT_EQ(bar->SetRun(1, 3), 0);
}

TEST_F(ButtonsTest, RunningProgressStepsEveryThirdTickAndWraps) {
  RecordingDialog dlg;
  Open(dlg);
  auto* running = Create<MProgress2>(dlg, L"MProgress2", 1, CRect(10, 10, 210, 30));
  auto* still = Create<MProgress>(dlg, L"MProgress", 2, CRect(10, 40, 210, 60));
  ASSERT_TRUE(running && still);
  EXPECT_EQ(running->IsRun(), 1);
  EXPECT_EQ(running->IsRunTimer(), 1);
  EXPECT_EQ(still->IsRunTimer(), 0);
  running->SetProgress(98);
  still->SetProgress(98);
  const int expected[] = {98, 98, 99, 99, 99, 0, 0, 0, 1};
  for (int want : expected) {
    running->OnTimer();
    still->OnTimer();
    EXPECT_EQ(running->GetProgress(), want);
    EXPECT_EQ(still->GetProgress(), 98);
  }
  // Stopped, it holds; SetRun takes a progress in range only.
  EXPECT_EQ(running->SetRun(0, 50), 0);
  EXPECT_EQ(running->GetProgress(), 50);
  EXPECT_EQ(running->SetRun(0, 101), 0);
  EXPECT_EQ(running->GetProgress(), 50);
  for (int i = 0; i < 6; ++i) running->OnTimer();
  EXPECT_EQ(running->GetProgress(), 50);
}

TEST_F(ButtonsTest, ProgressDrawsLineStripOrImages) {
  const Strip strip("progress.png", 2, 20, 14);
  const Strip track("track.png", 1, 30, 20, 4);
  const Strip fill("fill.png", 1, 30, 20, 5);
  RecordingDialog dlg;
  Open(dlg, 400, 300);
  auto* line = Create<MProgress>(dlg, L"MProgress", 1, CRect(0, 10, 200, 30));
  auto* strips = Create<MProgress>(dlg, L"MProgress", 2, CRect(0, 50, 200, 70));
  auto* images = Create<MProgress>(dlg, L"MProgress", 3, CRect(0, 100, 200, 120));
  ASSERT_TRUE(line && strips && images);
  ASSERT_EQ(strips->SetImage(strip.Name(), 2), 1);
  ASSERT_TRUE(images->SetBackGroundImage(CString(track.Name())));
  ASSERT_TRUE(images->SetForeGroundImage(CString(fill.Name())));
  for (MProgress* p : {line, strips, images}) p->SetProgress(50);
  const ARGB accent = Manager::GetSelectColor().GetValue();
  struct Case {
    const char* what;
    int x, y;
    ARGB colour;
  } const cases[] = {
      {"bar over the line", 50, 28, accent},
      {"strip fill", 50, 57, kFrame[1]},
      {"strip track", 150, 57, kFrame[0]},
      {"below the 14-pixel strip", 150, 68, 0xFE0A0B0C},
      {"fill image", 50, 110, kFrame[5]},
      {"track image", 150, 110, kFrame[4]},
  };
  for (const Case& k : cases) EXPECT_EQ(Pixel(dlg, k.x, k.y), k.colour) << k.what;
  EXPECT_NE(Pixel(dlg, 150, 28), accent) << "the line beyond the bar";
  EXPECT_NE(Pixel(dlg, 150, 28), 0xFE0A0B0Cu) << "the line beyond the bar";
  // A fill narrower than the 12-pixel borders is not drawn.
  images->SetProgress(5);
  EXPECT_EQ(Pixel(dlg, 4, 110), kFrame[4]);
  images->SetProgress(7);
  EXPECT_EQ(Pixel(dlg, 4, 110), kFrame[5]);
}

// The multimedia timer thread advances a running bar while the window
// thread sets it and paints: each side's values stay within range.
TEST_F(ButtonsTest, RunningProgressIsSafeToTickFromTheTimerThread) {
  RecordingDialog dlg;
  Open(dlg);
  auto* bar = Create<MProgress2>(dlg, L"MProgress2", 1, CRect(10, 10, 210, 30));
  ASSERT_NE(bar, nullptr);
  bar->AddMTimer();
  PaintManager* pm = dlg.GetPaintManager();
  std::atomic<bool> stop{false};
  std::thread timer([&] {
    for (int i = 0; i < 3000 && !stop; ++i) pm->OnMTimer(1);
  });
  for (int i = 0; i < 200; ++i) {
    bar->SetProgress(i % 100);
    dlg.GetPaintManager()->Invalidate();
    Pump(dlg);
    const int p = bar->GetProgress();
    EXPECT_TRUE(p >= 0 && p < 100) << p;
  }
  stop = true;
  timer.join();
  const int p = bar->GetProgress();
  EXPECT_TRUE(p >= 0 && p < 100) << p;
}

}  // namespace
}  // namespace toolkit_test
