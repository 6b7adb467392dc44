// Panels: the panel factory, the scroll bars' geometry and drag, and
// scrolling (bars shown only when the content does not fit, wheel, content
// coordinates for input, drawing at the scrolled offset, clipping, mapped
// redraw requests).

#include "ToolkitFixture.h"
#include "platform/Text.h"
#include "toolkit/core/CScrollHorizontal.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MText.h"

namespace toolkit_test {
namespace {

constexpr ARGB kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

class PanelsTest : public ToolkitTest {
 protected:
  static ARGB Pixel(RecordingDialog& dlg, int x, int y) {
    return platform::Unpremultiply(dlg.GetPaintManager()->GetPaintDC()->Bitmap().PixelAt(x, y));
  }
  // A visible panel attached to the dialog as a top-level control.
  static MPanel* AddPanel(RecordingDialog& dlg, UINT id, CRect rect) {
    auto* panel = new MPanel(&dlg, id, rect, 1);
    dlg.GetPaintManager()->AttachControl(panel, 1);
    return panel;
  }
  static Probe* AddChild(MPanel* panel, UINT id, CRect rect, ARGB colour) {
    auto* probe = new Probe(panel, id, rect, colour);
    panel->AttachControl(probe, 1);
    return probe;
  }
  static void Wheel(RecordingDialog& dlg, int delta, int x, int y) {
    platform::headless::InjectWheel(dlg.GetSafeHwnd(), delta, x, y);
    Pump(dlg);
  }
  static void Repaint(RecordingDialog& dlg) {
    dlg.GetPaintManager()->Invalidate();
    Pump(dlg);
  }
};

// A parent that records the redraw requests that reach it.
class RequestLog : public MObject {
 public:
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl*) override {
    requests.push_back({rect, redraw});
    return 0;
  }
  std::vector<std::pair<CRect, int>> requests;
};

// --- Factory -------------------------------------------------------------------------------

TEST_F(PanelsTest, FactoryBuildsPanelNamesAndRefusesDialogOnlyAndUnknownNames) {
  RecordingDialog dlg;
  Open(dlg);
  MPanel* panel = AddPanel(dlg, 50, CRect(0, 0, 300, 200));
  const struct {
    const wchar_t* name;
    bool built;
  } kCases[] = {
      {L"MText", true},
      {L"MPicture", true},
      {L"MTabLayout", true},
      {L"MTabCtrl", true},
      {L"DListBox", true},
      {L"MListBox", true},
      {L"MPanel", false},  // no factory lists the base class
      {L"Nope", false},
      {L"mtext", false},  // names are compared exactly
  };
  UINT id = 100;
  for (const auto& c : kCases) {
    MControl* made = panel->CreateControl(c.name, id, CRect(10, 10, 60, 30), L"x", 1, 1);
    EXPECT_EQ(made != nullptr, c.built) << platform::ToUtf8(c.name);
    if (made != nullptr) {
      EXPECT_EQ(made->GetParantObject(), panel);
      EXPECT_EQ(made->GetManager(), dlg.GetPaintManager());
      EXPECT_EQ(panel->GetControl(id), made);
    }
    ++id;
  }
  // Names only the dialog's factory accepts never come out of a panel, even
  // when a class of that name is registered.
  for (const wchar_t* name : {L"CComboBoxList", L"TextCheckButton", L"CDeviceState", L"BatteryCtrl", L"MProgress2"}) {
    EXPECT_FALSE(FactoryAccepts(FactoryKind::Panel, name)) << platform::ToUtf8(name);
    EXPECT_EQ(panel->CreateControl(name, 200, CRect(0, 0, 10, 10), nullptr, 1, 1), nullptr);
    if (FindControlClass(name) != nullptr) {
      EXPECT_NE(dlg.CreateControl(name, 200, CRect(0, 0, 10, 10), nullptr, 1, 1), nullptr);
    }
  }
}

TEST_F(PanelsTest, AreasAndControlsLandInTheirVectorsAndGetTheManagerWhenThePanelHasOne) {
  RecordingDialog dlg;
  Open(dlg);
  // A panel without a window leaves its children unattached...
  auto* panel = new MPanel(&dlg, 50, CRect(0, 0, 300, 200), 1);
  MControl* label = panel->CreateArea(L"MText", 10, CRect(5, 5, 100, 25), L"label", 1, 1);
  MControl* text = panel->CreateControl(L"MText", 11, CRect(5, 30, 100, 50), L"text", 1, 1);
  ASSERT_NE(label, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(label->GetManager(), nullptr);
  EXPECT_EQ(panel->GetAreas()->back(), label);
  EXPECT_EQ(panel->GetControls()->back(), text);
  // ...until the panel is attached: it passes the manager on to every child
  // and to its bars.
  dlg.GetPaintManager()->AttachControl(panel, 1);
  EXPECT_EQ(label->GetManager(), dlg.GetPaintManager());
  EXPECT_EQ(text->GetManager(), dlg.GetPaintManager());
  EXPECT_EQ(panel->GetScrollVertical()->GetManager(), dlg.GetPaintManager());
  EXPECT_EQ(panel->GetScrollHorizontal()->GetManager(), dlg.GetPaintManager());
}

TEST_F(PanelsTest, NotificationsOfChildrenClimbToTheDialog) {
  RecordingDialog dlg;
  Open(dlg);
  MPanel* outer = AddPanel(dlg, 50, CRect(0, 0, 300, 200));
  auto* inner = new MPanel(outer, 51, CRect(10, 10, 200, 150), 1);
  outer->AttachControl(inner, 1);
  AddChild(inner, 7, CRect(20, 20, 80, 60), kRed);
  Move(dlg, 30, 30);
  Button(dlg, true, 30, 30);
  Button(dlg, false, 30, 30);
  ASSERT_EQ(dlg.notices.size(), 2u);
  EXPECT_EQ(dlg.notices[0].id, 7u);
  EXPECT_EQ(dlg.notices[0].code, CN_PRESS);
  EXPECT_EQ(dlg.notices[1].code, CN_CLICK);
}

// --- Bars --------------------------------------------------------------------------------------

TEST_F(PanelsTest, BarsShowExactlyWhenTheContentDoesNotFit) {
  const struct {
    CRect child;  // in a panel at (10, 10)-(210, 110)
    bool vertical, horizontal;
  } kCases[] = {
      {CRect(10, 10, 210, 110), false, false},  // fills it exactly
      {CRect(20, 20, 60, 60), false, false},
      {CRect(20, 20, 60, 111), true, false},
      {CRect(20, 20, 211, 60), false, true},
      {CRect(20, 20, 400, 500), true, true},
  };
  for (const auto& c : kCases) {
    RecordingDialog dlg;
    Open(dlg);
    MPanel* panel = AddPanel(dlg, 50, CRect(10, 10, 210, 110));
    AddChild(panel, 7, c.child, kRed);
    CScrollVertical* v = panel->GetScrollVertical();
    CScrollHorizontal* h = panel->GetScrollHorizontal();
    ASSERT_NE(v, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(v->GetControlID(), 1u);
    EXPECT_EQ(h->GetControlID(), 2u);
    EXPECT_EQ(v->IsVisible() != 0, c.vertical) << c.child.bottom;
    EXPECT_EQ(h->IsVisible() != 0, c.horizontal) << c.child.right;
    EXPECT_EQ(v->GetScrollMaxRange(), c.child.bottom - 10);
    EXPECT_EQ(h->GetScrollMaxRange(), c.child.right - 10);
    // Along the right and the bottom edge, 5 pixels thick, sharing the corner.
    EXPECT_EQ(v->GetRect(), CRect(205, 10, 210, c.horizontal ? 105 : 110));
    EXPECT_EQ(h->GetRect(), CRect(10, 105, c.vertical ? 205 : 210, 110));
    // The same rule runs again when the panel is given a new rectangle.
    panel->SetRect(CRect(10, 10, 500, 600));
    EXPECT_FALSE(v->IsVisible());
    EXPECT_FALSE(h->IsVisible());
  }
}

TEST_F(PanelsTest, ThumbGeometryFollowsPageAndPosition) {
  // A vertical bar at (0, 0) of 5 x length pixels; the track is the length
  // less 5 at each end.
  const struct {
    int length, max, page, pos;
    int thumbTop, thumbLength;
  } kCases[] = {
      {300, 1000, 0, 0, 5, 100},        // automatic page 300: 87 px, raised to 100
      {300, 1000, 0, 500, 100, 100},    // halfway along the free 190 px
      {300, 1000, 0, 1000, 195, 100},   // at the end
      {300, 100000, 0, 0, 5, 100},      // page = max / 10 when the bar is short for it
      {1000, 1200, 0, 0, 5, 825},       // automatic page 1000 of 1200 on a 990 px track
      {1000, 1200, 600, 600, 252, 495},  // explicit page
      {60, 1000, 0, 0, 5, 8},           // a short track keeps a thumb that can be grabbed
  };
  for (const auto& c : kCases) {
    CScrollVertical bar(nullptr, 1, CRect(0, 0, 5, c.length), 1);
    bar.SetScrollInfo(c.max, c.pos, c.page, 10);
    const CRect thumb = bar.GetThumbRect();
    EXPECT_EQ(thumb.top, c.thumbTop) << c.length << " " << c.max << " " << c.pos;
    EXPECT_EQ(thumb.Height(), c.thumbLength) << c.length << " " << c.max << " " << c.pos;
    EXPECT_EQ(thumb.Width(), 5);
  }
}

TEST_F(PanelsTest, ScrollRowMovesByStepsWithinTheRange) {
  const struct {
    int pos, rows, step;
    int result, after;
  } kCases[] = {
      {0, 1, 10, 1, 10}, {0, -1, 10, 0, 0}, {995, 1, 10, 1, 1000}, {1000, 3, 10, 0, 1000},
      {500, -10, 10, 1, 400}, {50, -10, 10, 1, 0},
  };
  for (const auto& c : kCases) {
    CScrollVertical bar(nullptr, 1, CRect(0, 0, 5, 300), 1);
    bar.SetScrollInfo(1000, c.pos, 0, c.step);
    EXPECT_EQ(bar.ScrollRow(c.rows), c.result) << c.pos << " " << c.rows;
    EXPECT_EQ(bar.GetScrollCurrentPos(), c.after) << c.pos << " " << c.rows;
  }
}

// --- Scrolling -------------------------------------------------------------------------------------

// A panel at (10, 10)-(210, 110) holding three 200 x 100 rows: red, green,
// blue, so the content is 300 high and scrolls by up to 200 pixels.
struct ThreeRows {
  MPanel* panel;
  Probe* rows[3];
};

ThreeRows MakeThreeRows(RecordingDialog& dlg) {
  auto* panel = new MPanel(&dlg, 50, CRect(10, 10, 210, 110), 1);
  dlg.GetPaintManager()->AttachControl(panel, 1);
  ThreeRows t{panel, {}};
  const ARGB colours[] = {kRed, kGreen, kBlue};
  for (int i = 0; i < 3; ++i) {
    t.rows[i] = new Probe(panel, 20 + UINT(i), CRect(10, 10 + 100 * i, 210, 110 + 100 * i), colours[i]);
    t.rows[i]->handleScroll = 0;  // the wheel is the panel's
    panel->AttachControl(t.rows[i], 1);
  }
  return t;
}

TEST_F(PanelsTest, PanelThatFitsPassesUnscrolledPoints) {
  RecordingDialog dlg;
  Open(dlg);
  MPanel* panel = AddPanel(dlg, 50, CRect(10, 10, 210, 110));
  Probe* child = AddChild(panel, 7, CRect(20, 20, 100, 100), kRed);
  Wheel(dlg, -120, 50, 50);
  Move(dlg, 50, 50);
  Button(dlg, true, 50, 50);
  ASSERT_EQ(child->downs.size(), 1u);
  EXPECT_EQ(child->downs[0], CPoint(50, 50));
  EXPECT_EQ(panel->GetScrollOffset(), CPoint(0, 0));
  Button(dlg, false, 50, 50);
}

TEST_F(PanelsTest, WheelScrollsAndChildrenReceiveContentCoordinates) {
  RecordingDialog dlg;
  Open(dlg);
  ThreeRows t = MakeThreeRows(dlg);
  CScrollVertical* bar = t.panel->GetScrollVertical();
  ASSERT_TRUE(bar->IsVisible());
  ASSERT_EQ(bar->GetScrollMaxRange(), 300);

  // Each notch towards the user moves the position by the step (10); the
  // offset is position x (300 - 100) / 300.
  const struct {
    int delta, pos, offset;
  } kNotches[] = {{-120, 10, 6}, {-240, 30, 20}, {120, 20, 13}, {-120 * 40, 300, 200}, {120 * 40, 0, 0}};
  for (const auto& n : kNotches) {
    Wheel(dlg, n.delta, 100, 60);
    EXPECT_EQ(bar->GetScrollCurrentPos(), n.pos) << n.delta;
    EXPECT_EQ(t.panel->GetScrollOffset(), CPoint(0, n.offset)) << n.delta;
  }

  // Scrolled to the end: window y 60 shows content y 260, the blue row.
  Wheel(dlg, -120 * 40, 100, 60);
  Move(dlg, 100, 60);
  Button(dlg, true, 100, 60);
  Button(dlg, false, 100, 60);
  EXPECT_TRUE(t.rows[0]->downs.empty());
  EXPECT_TRUE(t.rows[1]->downs.empty());
  ASSERT_EQ(t.rows[2]->downs.size(), 1u);
  EXPECT_EQ(t.rows[2]->downs[0], CPoint(100, 260));
  ASSERT_EQ(t.rows[2]->ups.size(), 1u);
  EXPECT_EQ(t.rows[2]->ups[0], CPoint(100, 260));
}

TEST_F(PanelsTest, ContentIsDrawnAtTheOffsetAndClippedToThePanel) {
  RecordingDialog dlg;
  Open(dlg);
  ThreeRows t = MakeThreeRows(dlg);
  Repaint(dlg);
  const ARGB background = Pixel(dlg, 100, 150);
  EXPECT_EQ(Pixel(dlg, 100, 50), kRed);
  // The green row lies below the panel in content and is not drawn there.
  EXPECT_NE(Pixel(dlg, 100, 150), kGreen);

  Wheel(dlg, -120 * 15, 100, 60);  // position 150, offset 100
  ASSERT_EQ(t.panel->GetScrollOffset(), CPoint(0, 100));
  EXPECT_EQ(Pixel(dlg, 100, 50), kGreen);
  EXPECT_EQ(Pixel(dlg, 100, 150), background);
  EXPECT_NE(Pixel(dlg, 100, 5), kRed);  // the red row, scrolled up, stays inside

  // Offset 50: red's lower half above green's upper half.
  t.panel->GetScrollVertical()->SetScrollCurrentPos(75);
  Pump(dlg);
  ASSERT_EQ(t.panel->GetScrollOffset(), CPoint(0, 50));
  EXPECT_EQ(Pixel(dlg, 100, 30), kRed);    // content y 80
  EXPECT_EQ(Pixel(dlg, 100, 70), kGreen);  // content y 120
  // The thumb is drawn over the content at the right edge.
  EXPECT_NE(Pixel(dlg, 207, 60), kGreen);
}

TEST_F(PanelsTest, PointsBesideThePanelNeverReachChildrenScrolledOutOfView) {
  RecordingDialog dlg;
  Open(dlg);
  ThreeRows t = MakeThreeRows(dlg);
  // Every child hears of each move (to leave its hover look), but never at
  // a point inside itself: window y 150 is below the panel, where the green
  // row's rectangle lies, and x 207 is over the bar that covers the red row.
  auto inside = [](const Probe* p) {
    for (CPoint pt : p->moves) {
      if (p->GetRect().PtInRect(pt)) return true;
    }
    return false;
  };
  Move(dlg, 100, 150);
  Move(dlg, 120, 160);
  EXPECT_FALSE(inside(t.rows[1]));
  Move(dlg, 207, 60);
  Button(dlg, true, 207, 60);
  Button(dlg, false, 207, 60);
  EXPECT_TRUE(t.rows[0]->downs.empty());
  EXPECT_FALSE(inside(t.rows[0]));
  EXPECT_GT(t.panel->GetScrollVertical()->GetScrollCurrentPos(), 0);  // the press moved the thumb there
}

TEST_F(PanelsTest, DraggingTheThumbScrollsAndNotifiesThePosition) {
  RecordingDialog dlg;
  Open(dlg);
  ThreeRows t = MakeThreeRows(dlg);
  CScrollVertical* bar = t.panel->GetScrollVertical();
  // Track 15..105 (90 px), thumb min(100, 90 - 50) = 40 px: free 50 px.
  CRect thumb = bar->GetThumbRect();
  ASSERT_EQ(thumb, CRect(205, 15, 210, 55));
  Move(dlg, 207, 20);
  Button(dlg, true, 207, 20);
  EXPECT_TRUE(bar->IsChangeing());
  Move(dlg, 207, 45);  // 25 of 50 free pixels: position 150
  EXPECT_EQ(bar->GetScrollCurrentPos(), 150);
  EXPECT_EQ(t.panel->GetScrollOffset(), CPoint(0, 100));
  Button(dlg, false, 207, 45);
  EXPECT_FALSE(bar->IsChangeing());

  std::vector<WPARAM> scrolls;
  for (const Notice& n : dlg.notices) {
    EXPECT_EQ(n.id, 1u);
    if (n.code == CN_SCROLL) scrolls.push_back(n.wParam);
  }
  ASSERT_FALSE(scrolls.empty());
  EXPECT_EQ(scrolls.back(), 150u);
  EXPECT_EQ(Pixel(dlg, 100, 50), kGreen);

  // Dragged out past the panel's end and released there: the window stops
  // passing the moves on outside the panel, but the thumb ends at the end.
  ASSERT_EQ(bar->GetThumbRect(), CRect(205, 40, 210, 80));
  Move(dlg, 207, 50);
  Button(dlg, true, 207, 50);
  Move(dlg, 207, 60);  // thumb at 50: position 210
  ASSERT_EQ(bar->GetScrollCurrentPos(), 210);
  Move(dlg, 207, 280);
  Button(dlg, false, 207, 280);
  EXPECT_EQ(bar->GetScrollCurrentPos(), 300);
  EXPECT_EQ(t.panel->GetScrollOffset(), CPoint(0, 200));
}

TEST_F(PanelsTest, RedrawRequestsOfChildrenAreMappedToTheWindowAndClipped) {
  RequestLog log;
  MPanel panel(&log, 50, CRect(10, 10, 210, 110), 1);
  Probe* rows[3];
  for (int i = 0; i < 3; ++i) {
    rows[i] = new Probe(&panel, 20 + UINT(i), CRect(10, 10 + 100 * i, 210, 110 + 100 * i));
    panel.AttachControl(rows[i], 1);
  }
  panel.GetScrollVertical()->SetScrollCurrentPos(75);  // offset 50
  log.requests.clear();
  const struct {
    int row;
    bool reaches;
    CRect window;
  } kCases[] = {
      {0, true, CRect(10, 10, 210, 60)},    // red: its lower half shows
      {1, true, CRect(10, 60, 210, 110)},   // green: its upper half shows
      {2, false, CRect()},                  // blue: out of view, nothing to paint
  };
  for (const auto& c : kCases) {
    log.requests.clear();
    rows[c.row]->UpdateControl(1, 0);
    EXPECT_EQ(rows[c.row]->GetUpdate(), 0);
    ASSERT_EQ(log.requests.size(), c.reaches ? 1u : 0u) << c.row;
    if (c.reaches) {
      EXPECT_EQ(log.requests[0].first, c.window);
      EXPECT_EQ(log.requests[0].second, 0);
    }
  }
}

TEST_F(PanelsTest, ChildRedrawRepaintsAtTheScrolledPlace) {
  RecordingDialog dlg;
  Open(dlg);
  ThreeRows t = MakeThreeRows(dlg);
  t.panel->GetScrollVertical()->SetScrollCurrentPos(150);  // offset 100: green shows
  Pump(dlg);
  ASSERT_EQ(Pixel(dlg, 100, 50), kGreen);
  t.rows[1]->colour_ = 0xFFFFFF00;
  t.rows[1]->UpdateControl(1, 0);
  Pump(dlg);
  EXPECT_EQ(Pixel(dlg, 100, 50), 0xFFFFFF00u);
}

TEST_F(PanelsTest, NestedScrolledPanelsAddTheirOffsets) {
  RecordingDialog dlg;
  Open(dlg);
  // Outer: (10, 10)-(210, 210) holding 400 of content, scrolled by 100.
  // Inner (in the outer's content): (10, 110)-(210, 210) holding 300 of
  // content, scrolled by 100; its second row is green.
  MPanel* outer = AddPanel(dlg, 50, CRect(10, 10, 210, 210));
  auto* inner = new MPanel(outer, 51, CRect(10, 110, 210, 210), 1);
  outer->AttachControl(inner, 1);
  AddChild(outer, 52, CRect(10, 300, 210, 410), kBlue);  // makes the outer 400 high
  Probe* rows[3];
  const ARGB colours[] = {kRed, kGreen, kBlue};
  for (int i = 0; i < 3; ++i) {
    rows[i] = AddChild(inner, 20 + UINT(i), CRect(10, 110 + 100 * i, 210, 210 + 100 * i), colours[i]);
    rows[i]->handleScroll = 0;
  }
  ASSERT_EQ(outer->GetVirtualHeight(), 400);
  ASSERT_EQ(inner->GetVirtualHeight(), 300);
  outer->GetScrollVertical()->SetScrollCurrentPos(200);  // 200 x 200 / 400 = 100
  inner->GetScrollVertical()->SetScrollCurrentPos(150);  // 150 x 200 / 300 = 100
  ASSERT_EQ(outer->GetScrollOffset(), CPoint(0, 100));
  ASSERT_EQ(inner->GetScrollOffset(), CPoint(0, 100));
  Pump(dlg);

  // Window y 50 is outer content y 150, inner content y 250: the green row.
  EXPECT_EQ(Pixel(dlg, 100, 50), kGreen);
  Move(dlg, 100, 50);
  Button(dlg, true, 100, 50);
  Button(dlg, false, 100, 50);
  ASSERT_EQ(rows[1]->downs.size(), 1u);
  EXPECT_EQ(rows[1]->downs[0], CPoint(100, 250));
  // Below the inner panel's view (outer content y 210 on), the outer's own
  // blue child shows, not the inner's rows.
  EXPECT_EQ(Pixel(dlg, 100, 205), kBlue);
}

TEST_F(PanelsTest, WheelScrollsSidewaysWhenTheContentIsOnlyTooWide) {
  RecordingDialog dlg;
  Open(dlg);
  MPanel* panel = AddPanel(dlg, 50, CRect(10, 10, 210, 110));
  AddChild(panel, 7, CRect(10, 10, 410, 100), kRed)->handleScroll = 0;
  ASSERT_FALSE(panel->GetScrollVertical()->IsVisible());
  ASSERT_TRUE(panel->GetScrollHorizontal()->IsVisible());
  Wheel(dlg, -120 * 5, 100, 50);
  EXPECT_EQ(panel->GetScrollHorizontal()->GetScrollCurrentPos(), 50);
  EXPECT_EQ(panel->GetScrollOffset(), CPoint(50 * 200 / 400, 0));
}

TEST_F(PanelsTest, RemovedBarsComeBackAndRemoveContentKeepsThem) {
  RecordingDialog dlg;
  Open(dlg);
  ThreeRows t = MakeThreeRows(dlg);
  t.panel->RemoveContent();
  ASSERT_NE(t.panel->GetScrollVertical(), nullptr);
  EXPECT_FALSE(t.panel->GetScrollVertical()->IsVisible());
  EXPECT_EQ(t.panel->GetControls()->size(), 2u);

  t.panel->RemoveAllControl();
  EXPECT_EQ(t.panel->GetScrollVertical(), nullptr);
  AddChild(t.panel, 7, CRect(10, 10, 210, 400), kRed);
  ASSERT_NE(t.panel->GetScrollVertical(), nullptr);
  EXPECT_TRUE(t.panel->GetScrollVertical()->IsVisible());
  EXPECT_EQ(t.panel->GetScrollVertical()->GetManager(), dlg.GetPaintManager());
}

TEST_F(PanelsTest, DisabledScrollingShowsNoBarsAndIgnoresTheWheel) {
  RecordingDialog dlg;
  Open(dlg);
  ThreeRows t = MakeThreeRows(dlg);
  t.panel->SetEnableScroll(0);
  EXPECT_FALSE(t.panel->GetScrollVertical()->IsVisible());
  Wheel(dlg, -120, 100, 60);
  EXPECT_EQ(t.panel->GetScrollOffset(), CPoint(0, 0));
  t.panel->SetEnableScroll(1);
  EXPECT_TRUE(t.panel->GetScrollVertical()->IsVisible());
}

TEST_F(PanelsTest, BarThumbIsDrawnFromTheSkin) {
  RecordingDialog dlg;
  Open(dlg);
  ThreeRows t = MakeThreeRows(dlg);
  const Image* v = t.panel->GetScrollVertical()->GetImage();
  const Image* h = t.panel->GetScrollHorizontal()->GetImage();
  ASSERT_NE(v, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_GT(v->Height(), v->Width() / 4);  // upright thumb frames
  EXPECT_GT(h->Width() / 4, h->Height());  // lying thumb frames
}

}  // namespace
}  // namespace toolkit_test
