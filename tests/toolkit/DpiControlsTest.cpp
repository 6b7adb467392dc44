// DPIControl and DPISlider: the stage getters at their bounds, clicks on a
// card's value and swatch, the in-place value editor's notifications, the
// cards' look as pixels; the slider's value rules, track clicks, drags and
// the drag step of the multimedia timer on the virtual clock.

#include <chrono>
#include <cwchar>
#include <thread>

#include "ToolkitFixture.h"
#include "toolkit/controls/DPIControl.h"
#include "toolkit/controls/DPISlider.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/PaintManager.h"
#include "toolkit/core/TextEditor.h"

namespace toolkit_test {
namespace {

constexpr UINT kStagesId = 16;
constexpr UINT kSliderId = 17;
// The stage control fills a panel at (10, 10), 100 high: card i spans
// x 10 + 130 i to 10 + 130 i + 110.
const CRect kStagesRect(10, 10, 780, 110);
constexpr int kColours[] = {0x003C3CF0, 0x00208CFF, 0x0028DCF0, 0x0050C850};
constexpr int kValues[] = {400, 800, 1600, 3200};

int CardLeft(int i) { return kStagesRect.left + 130 * i; }
// A point on card i's swatch, on its lower part (outside the value
// rectangle), and inside its value rectangle.
CPoint OnSwatch(int i) { return CPoint(CardLeft(i) + 55, kStagesRect.top + 20); }
CPoint OnLowerPart(int i) { return CPoint(CardLeft(i) + 55, kStagesRect.top + 88); }
CPoint OnValue(int i) { return CPoint(CardLeft(i) + 55, kStagesRect.top + 60); }

class DpiControlsTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    Open(dlg, 1100, 300);
  }
  void TearDown() override {
    if (dlg.GetSafeHwnd() != nullptr) dlg.DestroyWindow();
  }

  // Four stages in a panel, as the page builds them.
  DPIControl* AddStages() {
    auto* panel = new MPanel(&dlg, 15, kStagesRect, 1);
    dlg.GetPaintManager()->AttachControl(panel, 1);
    auto* stages = dynamic_cast<DPIControl*>(panel->CreateControl(L"DPIControl", kStagesId, kStagesRect, nullptr, 1, 1));
    EXPECT_NE(stages, nullptr);
    if (stages == nullptr) return nullptr;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(stages->AddItem(kValues[i], kColours[i]), i);
    Pump(dlg);
    return stages;
  }
  // A slider at (20, 150), 1010 x 72, as designed (track 100 to 856).
  DPISlider* AddSlider() {
    auto* slider = dynamic_cast<DPISlider*>(dlg.CreateControl(L"DPISlider", kSliderId, CRect(20, 150, 1030, 222), nullptr, 1, 1));
    EXPECT_NE(slider, nullptr);
    if (slider != nullptr) {
      EXPECT_EQ(slider->SetImage(L"img_dpi_bar.png", 4), 1);
    }
    Pump(dlg);
    return slider;
  }
  void Click(CPoint pt) {
    Move(dlg, pt.x, pt.y);
    Button(dlg, true, pt.x, pt.y);
    Button(dlg, false, pt.x, pt.y);
  }
  std::vector<UINT> Codes(UINT id) const {
    std::vector<UINT> codes;
    for (const Notice& n : dlg.notices) {
      if (n.id == id) codes.push_back(n.code);
    }
    return codes;
  }
  std::vector<WPARAM> ScrollValues() const {
    std::vector<WPARAM> values;
    for (const Notice& n : dlg.notices) {
      if (n.id == kSliderId && n.code == CN_SCROLL) values.push_back(n.wParam);
    }
    return values;
  }
  ARGB Pixel(int x, int y) {
    return platform::Unpremultiply(dlg.GetPaintManager()->GetPaintDC()->Bitmap().PixelAt(x, y));
  }
  // The first x at which the pointer lands on a position (default geometry:
  // control left 20, track 80 to 836, range 520).
  static int XForPosition(int position) { return 20 + 80 + (position * 756 + 519) / 520; }

  static void PressKey(DpiControlsTest& t, UINT vk) {
    platform::headless::InjectKeyPress(vk);
    Pump(t.dlg);
  }

  RecordingDialog dlg;
};

// --- DPIControl -----------------------------------------------------------------------------

TEST_F(DpiControlsTest, FactoriesBuildTheDpiControlsByName) {
  auto* panel = new MPanel(&dlg, 15, kStagesRect, 1);
  dlg.GetPaintManager()->AttachControl(panel, 1);
  const struct {
    const char* where;
    const wchar_t* name;
    bool dialog;  // else the panel's factory
    bool built;
  } cases[] = {
      {"panel", L"DPIControl", false, true},
      {"dialog", L"DPIControl", true, false},  // a panel-only class
      {"panel", L"DPISlider", false, true},
      {"dialog", L"DPISlider", true, true},
  };
  UINT id = 40;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    MControl* made = c.dialog ? dlg.CreateControl(c.name, id, CRect(0, 0, 200, 80), nullptr, 1, 1)
                              : panel->CreateControl(c.name, id, CRect(0, 0, 200, 80), nullptr, 1, 1);
    ++id;
    EXPECT_EQ(made != nullptr, c.built);
    if (made == nullptr) continue;
    const bool rightClass = std::wcscmp(c.name, L"DPIControl") == 0 ? dynamic_cast<DPIControl*>(made) != nullptr
                                                                     : dynamic_cast<DPISlider*>(made) != nullptr;
    EXPECT_TRUE(rightClass);
    EXPECT_EQ(made->GetManager(), dlg.GetPaintManager());
    EXPECT_TRUE(made->IsClass(L"MControl"));
  }
}

TEST_F(DpiControlsTest, StageGettersAtTheirBounds) {
  DPIControl* stages = AddStages();
  ASSERT_NE(stages, nullptr);
  const struct {
    int index;
    int dpi;
    int colour;
  } cases[] = {
      {-5, 50, 0}, {-1, 50, 0}, {0, 400, kColours[0]}, {3, 3200, kColours[3]}, {4, 26000, 0}, {100, 26000, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(stages->GetDPIValue(c.index), c.dpi);
    EXPECT_EQ(stages->GetDPIColorValue(c.index), c.colour);
  }
  EXPECT_EQ(stages->GetItemCount(), 4);  // the getters did not touch the list

  // Setters out of range change nothing; in range they change one stage.
  stages->SetDPIValue(4, 999);
  stages->SetDPIValue(-1, 999);
  stages->SetDPIColorValue(4, 0x123456);
  stages->SetDPIColorValue(-1, 0x123456);
  EXPECT_EQ(stages->GetItemCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(stages->GetDPIValue(i), kValues[i]);
    EXPECT_EQ(stages->GetDPIColorValue(i), kColours[i]);
  }
  stages->SetDPIValue(2, 2450);
  stages->SetDPIColorValue(2, 0x00FF00FF);
  EXPECT_EQ(stages->GetDPIValue(2), 2450);
  EXPECT_EQ(stages->GetDPIColorValue(2), 0x00FF00FF);

  // Selection is not range-checked; clearing resets it.
  stages->SetSelectItem(7);
  EXPECT_EQ(stages->GetSelectItem(), 7);
  stages->ClearList();
  EXPECT_EQ(stages->GetItemCount(), 0);
  EXPECT_EQ(stages->GetSelectItem(), 0);
  EXPECT_EQ(stages->GetHoverItem(), -1);
  EXPECT_EQ(stages->GetDPIValue(0), 26000);
}

TEST_F(DpiControlsTest, ClickOnACardsSwatchOrBodySendsNineOrTwo) {
  DPIControl* stages = AddStages();
  ASSERT_NE(stages, nullptr);
  const struct {
    const char* what;
    CPoint pt;
    UINT code;
    int selected;
    int colorItem;  // after the click
  } cases[] = {
      {"swatch of stage 2", OnSwatch(1), CN_SUBCLICK, 1, 1},
      {"lower part of stage 4", OnLowerPart(3), CN_CLICK, 3, 1},
      {"swatch of stage 1", OnSwatch(0), CN_SUBCLICK, 0, 0},
      {"lower part of stage 3", OnLowerPart(2), CN_CLICK, 2, 0},
      {"the gap between stages 1 and 2", CPoint(CardLeft(0) + 120, kStagesRect.top + 50), 0, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dlg.notices.clear();
    Click(c.pt);
    const std::vector<UINT> expected = c.code != 0 ? std::vector<UINT>{c.code} : std::vector<UINT>{};
    EXPECT_EQ(Codes(kStagesId), expected);
    for (const Notice& n : dlg.notices) EXPECT_EQ(n.wParam, WPARAM(0));
    EXPECT_EQ(stages->GetSelectItem(), c.selected);
    EXPECT_EQ(stages->GetColorItem(), c.colorItem);
    EXPECT_FALSE(stages->IsEditing());
  }
}

TEST_F(DpiControlsTest, ValueEditorOpensChangesAndClosesWhenAnotherCardIsClicked) {
  DPIControl* stages = AddStages();
  ASSERT_NE(stages, nullptr);
  Click(OnValue(1));
  ASSERT_TRUE(stages->IsEditing());
  EXPECT_EQ(stages->GetEditItem(), 1);
  EXPECT_EQ(stages->GetSelectItem(), 1);
  ASSERT_FALSE(Codes(kStagesId).empty());
  EXPECT_EQ(Codes(kStagesId).front(), CN_EDITBEGIN);
  EXPECT_EQ(dlg.notices.front().lParam, LPARAM(1));
  EXPECT_EQ(stages->GetEditText(), L"800");  // opened with the value, all selected

  dlg.notices.clear();
  platform::headless::InjectText(L"24x5");  // digits only
  Pump(dlg);
  EXPECT_EQ(stages->GetEditText(), L"245");
  EXPECT_EQ(Codes(kStagesId), (std::vector<UINT>{CN_EDITCHANGE, CN_EDITCHANGE, CN_EDITCHANGE}));

  // A click on another card closes the editor first, then selects.
  dlg.notices.clear();
  Click(OnLowerPart(3));
  EXPECT_EQ(Codes(kStagesId), (std::vector<UINT>{CN_EDITEND, CN_CLICK}));
  EXPECT_EQ(dlg.notices.front().lParam, LPARAM(1));  // the stage that was edited
  EXPECT_FALSE(stages->IsEditing());
  EXPECT_EQ(stages->GetEditText(), L"245");  // kept for the page to read
  EXPECT_EQ(stages->GetDPIValue(1), 800);    // the page snaps and sets it
  EXPECT_EQ(stages->GetSelectItem(), 3);
}

TEST_F(DpiControlsTest, ValueEditorClosesOnEnterEscapeAndSelection) {
  DPIControl* stages = AddStages();
  ASSERT_NE(stages, nullptr);
  const struct {
    const char* what;
    void (*close)(DpiControlsTest&, DPIControl*);
    const wchar_t* text;
  } cases[] = {
      {"Enter keeps the text",
       [](DpiControlsTest& t, DPIControl*) { PressKey(t, VK_RETURN); },
       L"77"},
      {"Escape restores it",
       [](DpiControlsTest& t, DPIControl*) { PressKey(t, VK_ESCAPE); },
       L"1600"},
      {"SetSelectItem closes it", [](DpiControlsTest&, DPIControl* s) { s->SetSelectItem(0); }, L"77"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Click(OnValue(2));
    ASSERT_TRUE(stages->IsEditing());
    platform::headless::InjectText(L"77");
    Pump(dlg);
    dlg.notices.clear();
    c.close(*this, stages);
    EXPECT_FALSE(stages->IsEditing());
    ASSERT_FALSE(Codes(kStagesId).empty());
    EXPECT_EQ(Codes(kStagesId).back(), CN_EDITEND);
    EXPECT_EQ(stages->GetEditText(), c.text);
  }
}

TEST_F(DpiControlsTest, CardsShowColourSelectionAndHover) {
  DPIControl* stages = AddStages();
  ASSERT_NE(stages, nullptr);
  stages->SetSelectItem(1);
  Pump(dlg);
  const ARGB highlight = Manager::GetSelectColor().GetValue();
  // The swatch in the stage's colour (left of the centred label); the
  // outline's left edge in the highlight colour only on the selected card.
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Pixel(CardLeft(i) + 5, kStagesRect.top + 20), MRender::ToARGB(COLORREF(kColours[i])));
    const ARGB edge = Pixel(CardLeft(i) + 1, kStagesRect.top + 70);
    EXPECT_EQ(edge, i == 1 ? highlight : 0xFF231C14u);
  }

  // Hovering lifts the swatch towards white.
  const ARGB before = Pixel(CardLeft(2) + 5, kStagesRect.top + 20);
  Move(dlg, OnLowerPart(2).x, OnLowerPart(2).y);
  EXPECT_EQ(stages->GetHoverItem(), 2);
  const ARGB hovered = Pixel(CardLeft(2) + 5, kStagesRect.top + 20);
  for (int shift : {16, 8, 0}) {
    const unsigned was = (before >> shift) & 0xFF, now = (hovered >> shift) & 0xFF;
    if (was < 255) {
      EXPECT_GT(now, was) << "channel " << shift;
    }
  }
  Move(dlg, 850, 250);  // off the cards
  EXPECT_EQ(stages->GetHoverItem(), -1);
  EXPECT_EQ(Pixel(CardLeft(2) + 5, kStagesRect.top + 20), before);

  // A changed colour shows.
  stages->SetDPIColorValue(3, 0x00FF0000);
  Pump(dlg);
  EXPECT_EQ(Pixel(CardLeft(3) + 5, kStagesRect.top + 20), 0xFF0000FFu);
}

// --- DPISlider --------------------------------------------------------------------------------

TEST_F(DpiControlsTest, SliderSetProgressRejectsAndClamps) {
  DPISlider* slider = AddSlider();
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->GetMinProgress(), 1);
  EXPECT_EQ(slider->GetMaxProgress(), 520);
  EXPECT_EQ(slider->GetProgress(), 1);
  const struct {
    int value;
    int returned;
    int progress;  // afterwards
  } cases[] = {
      {0, -1, 1},      // below the minimum: rejected
      {300, 299, 300}, {-40, -41, 300}, {1000, 520, 521},  // above: the last position
      {521, 520, 521}, {1, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    const CRect thumbBefore = slider->GetThumbRect();
    const int positionBefore = slider->GetPosition();
    EXPECT_EQ(slider->SetProgress(c.value), c.returned);
    EXPECT_EQ(slider->GetProgress(), c.progress);
    if (slider->GetPosition() == positionBefore) {
      EXPECT_EQ(slider->GetThumbRect(), thumbBefore);
    }
  }
  EXPECT_TRUE(dlg.notices.empty());  // setting the value tells nobody

  // The thumb's centre follows the position along the track.
  slider->SetProgress(261);  // position 260, half way
  const CRect thumb = slider->GetThumbRect();
  EXPECT_EQ(thumb.CenterPoint().x, 20 + 80 + 378);
  EXPECT_EQ(thumb.top, 150 + 50);
  EXPECT_EQ(thumb.Height(), 13);
  EXPECT_EQ(thumb.Width(), 16);

  // A range that shrinks keeps the position within it.
  slider->SetMaxProgress(100);
  EXPECT_EQ(slider->GetProgress(), 101);
  slider->SetMaxProgress(0);
  EXPECT_EQ(slider->GetProgress(), 1);
  EXPECT_EQ(slider->GetThumbRect().CenterPoint().x, 20 + 80);
}

TEST_F(DpiControlsTest, SliderTrackClickJumpsThenReleases) {
  DPISlider* slider = AddSlider();
  ASSERT_NE(slider, nullptr);
  // On the track, above the thumb's row, far from the thumb.
  const int x = XForPosition(400);
  Move(dlg, x, 185);
  Button(dlg, true, x, 185);
  EXPECT_EQ(slider->GetPosition(), 400);
  EXPECT_FALSE(slider->IsDragging());  // the thumb is not under the pointer
  Button(dlg, false, x, 185);
  EXPECT_EQ(Codes(kSliderId), (std::vector<UINT>{CN_SCROLL, CN_CLICK}));
  EXPECT_EQ(ScrollValues(), (std::vector<WPARAM>{401}));
  EXPECT_EQ(slider->GetState(), DPISlider::StateNormal);

  // A press on the thumb where it stands moves nothing and sends only the
  // release.
  dlg.notices.clear();
  const CPoint centre(XForPosition(400), slider->GetThumbRect().CenterPoint().y);
  ASSERT_TRUE(slider->GetThumbRect().PtInRect(centre));
  Move(dlg, centre.x, centre.y);
  EXPECT_EQ(slider->GetState(), DPISlider::StateHover);
  Button(dlg, true, centre.x, centre.y);
  EXPECT_EQ(slider->GetState(), DPISlider::StateDragging);
  Button(dlg, false, centre.x, centre.y);
  EXPECT_EQ(Codes(kSliderId), (std::vector<UINT>{CN_CLICK}));
  EXPECT_EQ(slider->GetState(), DPISlider::StateHover);

  // The wheel is swallowed.
  dlg.notices.clear();
  platform::headless::InjectWheel(dlg.GetSafeHwnd(), -120, centre.x, centre.y);
  Pump(dlg);
  EXPECT_EQ(slider->GetPosition(), 400);
  EXPECT_TRUE(dlg.notices.empty());
}

TEST_F(DpiControlsTest, SliderDragFollowsThePointerAndClampsAtTheEnds) {
  DPISlider* slider = AddSlider();
  ASSERT_NE(slider, nullptr);
  slider->SetProgress(101);
  Pump(dlg);
  const CPoint centre(XForPosition(100), slider->GetThumbRect().CenterPoint().y);
  Move(dlg, centre.x, centre.y);
  Button(dlg, true, centre.x, centre.y);
  ASSERT_TRUE(slider->IsDragging());
  EXPECT_TRUE(dlg.notices.empty());
  // Moves within the control, below the thumb's row; beyond the track's
  // ends the value stops at the ends.
  const struct {
    int x;
    int progress;
  } steps[] = {
      {XForPosition(200), 201}, {XForPosition(200) + 1, 201}, {1025, 521}, {25, 1}, {XForPosition(50), 51},
  };
  std::vector<WPARAM> expected;
  for (const auto& s : steps) {
    SCOPED_TRACE(s.x);
    const int before = slider->GetProgress();
    Move(dlg, s.x, 218);
    EXPECT_EQ(slider->GetProgress(), s.progress);
    if (s.progress != before) expected.push_back(WPARAM(s.progress));
  }
  EXPECT_EQ(ScrollValues(), expected);
  Button(dlg, false, XForPosition(50), 218);
  EXPECT_FALSE(slider->IsDragging());
  EXPECT_EQ(Codes(kSliderId).back(), CN_CLICK);

  // Thumb frames: the pressed frame while dragging differs from normal.
  Pump(dlg);
  const CPoint at = slider->GetThumbRect().CenterPoint();
  const ARGB normal = Pixel(at.x, at.y);
  Move(dlg, at.x, at.y);
  Button(dlg, true, at.x, at.y);
  EXPECT_NE(Pixel(at.x, at.y), normal);
  Button(dlg, false, at.x, at.y);
}

TEST_F(DpiControlsTest, SliderDragStepEverySixtyMillisecondsOnTheTimerThread) {
  DPISlider* slider = AddSlider();
  ASSERT_NE(slider, nullptr);
  const CPoint centre = slider->GetThumbRect().CenterPoint();
  Move(dlg, centre.x, centre.y);
  Button(dlg, true, centre.x, centre.y);
  ASSERT_TRUE(slider->IsDragging());
  dlg.notices.clear();
  // The pointer leaves the control upwards: the window does not hand a
  // held control moves outside it, so only the timer step brings the thumb
  // along (and the move is not even handled before the steps).
  platform::headless::InjectMouseMove(dlg.GetSafeHwnd(), XForPosition(300), 100);
  auto tick = [&] {
    std::thread timer([&] { slider->OnTimer(); });
    timer.join();
  };
  const struct {
    uint32_t advance;
    int position;
  } steps[] = {{30, 0}, {30, 0}, {1, 300}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.advance);
    platform::headless::AdvanceTime(s.advance);
    tick();
    EXPECT_EQ(slider->GetPosition(), s.position);
  }
  // The step's notification waits for the window thread.
  EXPECT_TRUE(dlg.notices.empty());
  EXPECT_EQ(dlg.GetPaintManager()->GetPendingNoticeCount(), 1);
  Pump(dlg);
  EXPECT_EQ(ScrollValues(), (std::vector<WPARAM>{301}));

  // Not dragging: the timer does nothing.
  EXPECT_EQ(slider->GetPosition(), 300);  // the pumped move changed nothing
  Button(dlg, false, XForPosition(300), 100);
  EXPECT_EQ(Codes(kSliderId).back(), CN_CLICK);
  platform::headless::InjectMouseMove(dlg.GetSafeHwnd(), XForPosition(10), 100);
  platform::headless::AdvanceTime(200);
  tick();
  EXPECT_EQ(slider->GetPosition(), 300);
  Pump(dlg);
}

// The same with the window's real multimedia timer: its thread steps the
// drag while the window thread pumps and paints; the page still hears of
// every step on the window thread.
TEST_F(DpiControlsTest, SliderDragStepWithTheRealTimerNotifiesOnTheWindowThread) {
  DPISlider* slider = AddSlider();
  ASSERT_NE(slider, nullptr);
  const CPoint centre(XForPosition(0), slider->GetThumbRect().CenterPoint().y);
  Move(dlg, centre.x, centre.y);
  Button(dlg, true, centre.x, centre.y);
  ASSERT_TRUE(slider->IsDragging());
  dlg.notices.clear();
  platform::headless::InjectMouseMove(dlg.GetSafeHwnd(), XForPosition(250), 100);
  platform::headless::AdvanceTime(100);
  ASSERT_NE(dlg.SetMTimer(10), 0u);
  // Waits for the step on the timer thread; what is asserted is the
  // outcome, not a time.
  for (int i = 0; i < 400 && ScrollValues().empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Pump(dlg);
  }
  dlg.GetPaintManager()->KillMTimer();
  Pump(dlg);
  EXPECT_EQ(slider->GetPosition(), 250);
  EXPECT_EQ(ScrollValues(), (std::vector<WPARAM>{251}));
  Button(dlg, false, XForPosition(250), 100);
  EXPECT_EQ(Codes(kSliderId).back(), CN_CLICK);
}

TEST_F(DpiControlsTest, SliderDrawsTicksLabelsAndThumb) {
  DPISlider* slider = AddSlider();
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->SetBkgImage(L"img_area_bkg.png"), 1);
  EXPECT_EQ(slider->SetBkgImage(L"no_such_image.png"), 0);
  Pump(dlg);
  // Ticks: white at 80 + 18 i, background between.
  for (int i : {0, 1, 21, 42}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Pixel(20 + 80 + 18 * i, 150 + 38), 0xFFFFFFFFu);
  }
  EXPECT_NE(Pixel(20 + 80 + 9, 150 + 38), 0xFFFFFFFFu);
  // The thumb moves with the value.
  const CPoint at = slider->GetThumbRect().CenterPoint();
  const ARGB onThumb = Pixel(at.x, at.y);
  slider->SetProgress(300);
  Pump(dlg);
  EXPECT_NE(Pixel(at.x, at.y), onThumb);
  const CPoint now = slider->GetThumbRect().CenterPoint();
  EXPECT_EQ(Pixel(now.x, now.y), onThumb);
}

}  // namespace
}  // namespace toolkit_test
