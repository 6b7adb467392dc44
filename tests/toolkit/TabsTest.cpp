// MTabCtrl and its MTabLayout pages: selection and its notification, pages
// shown and hidden, hiding the selected tab, item sizes, mouse selection,
// the extra button, the state frames read back as pixels, and titles too
// wide for their tab on two lines.

#include <algorithm>

#include "ToolkitFixture.h"
#include "toolkit/core/MTabCtrl.h"
#include "toolkit/core/MTabLayout.h"

namespace toolkit_test {
namespace {

class TabsTest : public ToolkitTest {
 protected:
  static ARGB Pixel(RecordingDialog& dlg, int x, int y) {
    return platform::Unpremultiply(dlg.GetPaintManager()->GetPaintDC()->Bitmap().PixelAt(x, y));
  }
};

// A strip at (10, 10)-(330, 80) with three 100-wide tabs and a page each.
struct Strip {
  MTabCtrl* tabs;
  MTabLayout* pages[3];
};

Strip MakeStrip(RecordingDialog& dlg) {
  Strip s{};
  s.tabs = static_cast<MTabCtrl*>(dlg.CreateControl(L"MTabCtrl", 5, CRect(10, 10, 330, 80), nullptr, 1, 1));
  const wchar_t* icons[] = {L"img_tab_keys.png", L"img_tab_macro.png", L"img_tab_dpi.png"};
  for (int i = 0; i < 3; ++i) {
    s.pages[i] = static_cast<MTabLayout*>(
        dlg.CreateControl(L"MTabLayout", 60 + UINT(i), CRect(10, 90, 330, 290), nullptr, 1, 1));
    EXPECT_EQ(s.tabs->InsertItem(200 + UINT(i), L"Tab", icons[i], s.pages[i], -1, 100), i);
  }
  return s;
}

std::vector<int> PagesShown(const Strip& s) {
  std::vector<int> shown;
  for (int i = 0; i < 3; ++i) {
    if (s.pages[i]->IsVisible()) shown.push_back(i);
  }
  return shown;
}

TEST_F(TabsTest, SelectionNotifiesAndShowsOnlyItsPage) {
  RecordingDialog dlg;
  Open(dlg);
  Strip s = MakeStrip(dlg);
  EXPECT_EQ(s.tabs->GetSelectItem(), -1);
  EXPECT_EQ(PagesShown(s), std::vector<int>{});  // a page shows only with its tab
  const struct {
    int select;
    int returned;
    int selected;
    bool notifies;
  } kSteps[] = {
      {1, -1, 1, true},
      {1, 1, 1, false},  // the current tab: nothing changes, nothing is sent
      {5, 1, 1, false},  // out of range
      {-1, 1, 1, false},
      {0, 1, 0, true},
      {2, 0, 2, true},
  };
  for (const auto& step : kSteps) {
    dlg.notices.clear();
    EXPECT_EQ(s.tabs->SetSelectItem(step.select), step.returned) << step.select;
    EXPECT_EQ(s.tabs->GetSelectItem(), step.selected) << step.select;
    EXPECT_EQ(PagesShown(s), std::vector<int>{step.selected}) << step.select;
    ASSERT_EQ(dlg.notices.size(), step.notifies ? 1u : 0u) << step.select;
    if (step.notifies) {
      EXPECT_EQ(dlg.notices[0].id, 5u);
      EXPECT_EQ(dlg.notices[0].code, CN_PRESS);
      EXPECT_EQ(dlg.notices[0].wParam, WPARAM(step.selected));
    }
  }
  EXPECT_EQ(s.tabs->GetItemID(1), 201u);
  EXPECT_EQ(s.tabs->GetItemID(3), 0u);
  EXPECT_EQ(s.tabs->SetItemText(2, L"DPI"), 1);
  EXPECT_EQ(s.tabs->SetItemText(3, L"DPI"), 0);
  EXPECT_EQ(s.tabs->GetItemText(2), L"DPI");
}

TEST_F(TabsTest, HidingTheSelectedTabSelectsTheLastVisibleOne) {
  RecordingDialog dlg;
  Open(dlg);
  Strip s = MakeStrip(dlg);
  s.tabs->SetSelectItem(2);
  const struct {
    int tab, visible;
    int selected;
    std::vector<WPARAM> notified;
  } kSteps[] = {
      {0, 0, 2, {}},   // another tab: the selection stays
      {2, 0, 1, {1}},  // the selected one: the last visible takes over
      {1, 0, -1, {}},  // the last visible tab: nothing left to show
      {0, 1, -1, {}},  // showing a tab selects nothing by itself
  };
  for (const auto& step : kSteps) {
    dlg.notices.clear();
    EXPECT_EQ(s.tabs->SetItemVisible(step.tab, step.visible), 1);
    std::vector<WPARAM> notified;
    for (const Notice& n : dlg.notices) notified.push_back(n.wParam);
    EXPECT_EQ(s.tabs->GetSelectItem(), step.selected) << step.tab;
    EXPECT_EQ(notified, step.notified) << step.tab;
    const std::vector<int> shown = step.selected >= 0 ? std::vector<int>{step.selected} : std::vector<int>{};
    EXPECT_EQ(PagesShown(s), shown) << step.tab;
  }
  EXPECT_EQ(s.tabs->SetItemVisible(7, 0), 0);
}

TEST_F(TabsTest, HiddenTabsTakeNoSpace) {
  RecordingDialog dlg;
  Open(dlg);
  Strip s = MakeStrip(dlg);
  EXPECT_EQ(s.tabs->GetItemRect(1), CRect(110, 10, 210, 80));
  s.tabs->SetItemVisible(0, 0);
  EXPECT_TRUE(s.tabs->GetItemRect(0).IsRectEmpty());
  EXPECT_EQ(s.tabs->GetItemRect(1), CRect(10, 10, 110, 80));
  EXPECT_EQ(s.tabs->GetItemRect(2), CRect(110, 10, 210, 80));
  s.tabs->SetLeftRightPading(6, 0);
  s.tabs->SetTopBottomPading(4, 4);
  EXPECT_EQ(s.tabs->GetItemRect(1), CRect(16, 14, 116, 76));
}

TEST_F(TabsTest, ItemWidthIsTheShareWithinItsLimits) {
  // A 300-wide strip with paddings 10 and 10: 280 shared among 4 tabs = 70.
  const struct {
    int max, min;
    int width;
  } kCases[] = {{100, 50, 70}, {60, 20, 60}, {200, 90, 90}, {70, 70, 70}};
  for (const auto& c : kCases) {
    RecordingDialog dlg;
    Open(dlg);
    auto* tabs = static_cast<MTabCtrl*>(dlg.CreateControl(L"MTabCtrl", 5, CRect(0, 0, 300, 50), nullptr, 1, 1));
    for (int i = 0; i < 4; ++i) tabs->InsertItem(UINT(i), L"t", nullptr, nullptr, -1, 30);
    tabs->SetLeftRightPading(10, 10);
    tabs->SetItemWidth(c.max, c.min, 1);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(tabs->GetItemRect(i), CRect(10 + i * c.width, 0, 10 + (i + 1) * c.width, 50)) << c.max << " " << i;
    }
  }
  // Vertical strips share their height the same way.
  RecordingDialog dlg;
  Open(dlg);
  auto* tabs = static_cast<MTabCtrl*>(dlg.CreateControl(L"MTabCtrl", 5, CRect(0, 0, 70, 300), nullptr, 1, 1));
  tabs->SetLayoutType(MTabCtrl::LayoutVertical);
  for (int i = 0; i < 3; ++i) tabs->InsertItem(UINT(i), L"t", nullptr, nullptr, -1, 0);
  tabs->SetItemHeight(70, 40, 1);
  EXPECT_EQ(tabs->GetItemRect(2), CRect(0, 140, 70, 210));
}

TEST_F(TabsTest, PressSelectsAndTheExtraButtonSendsSubClick) {
  RecordingDialog dlg;
  Open(dlg);
  Strip s = MakeStrip(dlg);
  ASSERT_EQ(s.tabs->SetItemButton(1, L"img_tab_button.png"), 1);
  const CRect button = s.tabs->GetItemButtonRect(1);
  ASSERT_FALSE(button.IsRectEmpty());
  ASSERT_TRUE(s.tabs->GetItemRect(1).PtInRect(button.CenterPoint()));
  const struct {
    CPoint pt;
    UINT code;
    WPARAM wParam;
    int selected;
  } kCases[] = {
      {CPoint(60, 40), CN_PRESS, 0, 0},
      {button.CenterPoint(), CN_SUBCLICK, 1, 0},  // the button does not select its tab
      {CPoint(130, 60), CN_PRESS, 1, 1},
  };
  for (const auto& c : kCases) {
    dlg.notices.clear();
    Move(dlg, c.pt.x, c.pt.y);
    EXPECT_EQ(s.tabs->GetHoverItem(), (c.pt.x - 10) / 100) << c.pt.x;
    Button(dlg, true, c.pt.x, c.pt.y);
    Button(dlg, false, c.pt.x, c.pt.y);
    ASSERT_EQ(dlg.notices.size(), 1u);
    EXPECT_EQ(dlg.notices[0].code, c.code);
    EXPECT_EQ(dlg.notices[0].wParam, c.wParam);
    EXPECT_EQ(s.tabs->GetSelectItem(), c.selected);
  }
}

TEST_F(TabsTest, TabsSharingAPageKeepItShown) {
  RecordingDialog dlg;
  Open(dlg);
  auto* tabs = static_cast<MTabCtrl*>(dlg.CreateControl(L"MTabCtrl", 5, CRect(0, 0, 300, 50), nullptr, 1, 1));
  MControl* shared = dlg.CreateControl(L"MTabLayout", 60, CRect(0, 60, 300, 200), nullptr, 1, 1);
  MControl* own = dlg.CreateControl(L"MTabLayout", 61, CRect(0, 60, 300, 200), nullptr, 1, 1);
  tabs->InsertItem(1, L"a", nullptr, shared, -1, 80);
  tabs->SetSelectItem(0);
  tabs->InsertItem(2, L"b", nullptr, shared, -1, 80);
  tabs->InsertItem(3, L"c", nullptr, own, -1, 80);
  EXPECT_TRUE(shared->IsVisible());
  EXPECT_FALSE(own->IsVisible());
  tabs->SetSelectItem(1);
  EXPECT_TRUE(shared->IsVisible());
  tabs->SetSelectItem(2);
  EXPECT_FALSE(shared->IsVisible());
  EXPECT_TRUE(own->IsVisible());
}

TEST_F(TabsTest, EachTabDrawsTheIconFrameOfItsState) {
  RecordingDialog dlg;
  Open(dlg);
  Strip s = MakeStrip(dlg);
  s.tabs->SetSelectItem(0);
  Move(dlg, 260, 20);  // over tab 2
  Pump(dlg);
  // Each icon's centre square is the state's colour: the icon (32 high)
  // and the title (22) are centred together in the 70-high tab.
  const int y = 10 + (70 - 54) / 2 + 16;
  EXPECT_EQ(Pixel(dlg, 60, y), 0xFFFA373Eu);   // selected: accent
  EXPECT_EQ(Pixel(dlg, 160, y), 0xFFB8BDC6u);  // normal
  EXPECT_EQ(Pixel(dlg, 260, y), 0xFFFFFFFFu);  // hover

  // Behind the tabs, the item background's selected frame carries an
  // accent bar along its left edge; the other frames have none.
  const ARGB before = Pixel(dlg, 111, 45);
  ASSERT_EQ(s.tabs->SetItemBkImage(L"img_tabitem_bkg.png", 4), 1);
  Pump(dlg);
  EXPECT_EQ(Pixel(dlg, 11, 45), 0xFFFA373Eu);
  EXPECT_EQ(Pixel(dlg, 111, 45), before);
}

// The page under the pointer takes it even when the pointer has not moved
// off the page that was shown before: the tab switch hid that page.
TEST_F(TabsTest, APageShownUnderTheRestingPointerTakesTheMouse) {
  RecordingDialog dlg;
  Open(dlg);
  Strip s = MakeStrip(dlg);
  Probe* probes[2] = {};
  for (int i = 0; i < 2; ++i) {
    probes[i] = new Probe(s.pages[i], 70 + UINT(i), CRect(50, 150, 150, 200), 0xFF208040, 1);
    s.pages[i]->AttachControl(probes[i], 1);
  }
  s.tabs->SetSelectItem(0);
  Pump(dlg);
  Move(dlg, 100, 175);
  Button(dlg, true, 100, 175);
  Button(dlg, false, 100, 175);
  ASSERT_EQ(probes[0]->downs.size(), 1u);

  s.tabs->SetSelectItem(1);
  Pump(dlg);
  const struct {
    const char* what;
    bool moveFirst;
  } cases[] = {{"a move", true}, {"a press without a move", false}};
  for (const auto& c : cases) {
    const size_t downsBefore = probes[1]->downs.size();
    if (c.moveFirst) Move(dlg, 101, 176);
    Button(dlg, true, 101, 176);
    Button(dlg, false, 101, 176);
    EXPECT_EQ(probes[1]->downs.size(), downsBefore + 1) << c.what;
    EXPECT_EQ(probes[0]->downs.size(), 1u) << c.what;
    s.tabs->SetSelectItem(0);
    Pump(dlg);
    Move(dlg, 100, 175);
    s.tabs->SetSelectItem(1);
    Pump(dlg);
  }
}

// Bounds of the title's bright pixels under the icon of a 70 x 70 tab at
// (10, 10): rows and columns that hold any.
struct Ink {
  int top = 1 << 20, bottom = -1, left = 1 << 20, right = -1;
};

TEST_F(TabsTest, ATitleWiderThanTheTabTakesASecondLineInsteadOfBeingCut) {
  struct Case {
    const wchar_t* title;
    bool twoLines;
  } cases[] = {{L"DPI", false}, {L"Mouse settings", true}, {L"Einstellungen der Maus", true}};
  for (const Case& c : cases) {
    RecordingDialog dlg;
    Open(dlg);
    auto* tabs = static_cast<MTabCtrl*>(dlg.CreateControl(L"MTabCtrl", 5, CRect(10, 10, 80, 80), nullptr, 1, 1));
    tabs->SetItemWidth(70, 70, 0);
    tabs->SetItemHeight(70, 70, 0);
    tabs->SetFont(L"Open Sans Semibold", 12, 0);
    tabs->SetItemTextColor(Color(0xFFFFFFFF), Color(0xFFFFFFFF), Color(0xFFFFFFFF));
    ASSERT_EQ(tabs->InsertItem(1, c.title, L"icon\\tab_mouseset.png", nullptr, -1, 70), 0);
    tabs->SetSelectItem(-1);
    Pump(dlg);
    const int iconBottom = 10 + 34;  // below every icon of the strip's skin
    Ink ink;
    for (int y = iconBottom; y < 80; ++y) {
      for (int x = 10; x < 80; ++x) {
        const ARGB p = Pixel(dlg, x, y);
        if (((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) > 0xC0 && (p & 0xFF) > 0xC0) {
          ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
          ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
        }
      }
    }
    ASSERT_GE(ink.bottom, 0) << "no title drawn";
    const int height = ink.bottom - ink.top + 1;
    if (c.twoLines) {
      EXPECT_GT(height, 18) << "one line";
    } else {
      EXPECT_LE(height, 16) << "more than one line";
    }
    // Never cut at the tab's edges: the title keeps a margin on both sides.
    EXPECT_GE(ink.left, 12);
    EXPECT_LE(ink.right, 77);
    EXPECT_LT(ink.bottom, 80);
  }
}

}  // namespace
}  // namespace toolkit_test
