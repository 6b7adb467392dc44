// The popup menu (MenuWnd, MenuItem) and the combo boxes (MComboBox,
// MComboBox2) with their "ComboWnd" drop-down, on the headless backend:
// layout, choice, dismissal, reopening, upward opening near the bottom of
// the work area, keys, and what the windows show.

#include <functional>

#include "ToolkitFixture.h"
#include "toolkit/core/CComboBoxList.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/ComboWnd.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MComboBox2.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/ControlRegistry.h"
#include "platform/Text.h"
#include "toolkit/core/MenuItem.h"
#include "toolkit/core/MenuWnd.h"

namespace toolkit_test {
namespace {

constexpr UINT kMenuMessage = WM_USER + 300;

// A dialog that also records the menu's notify message.
class OwnerDialog : public RecordingDialog {
 public:
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == kMenuMessage) menuNotices.push_back({0, msg, wParam, lParam});
    return RecordingDialog::OnWindowMessage(msg, wParam, lParam);
  }
  std::vector<Notice> menuNotices;
};

class PopupsTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    platform::headless::SetMonitors({platform::MonitorInfo{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96, true}});
  }

  static void Click(HWND hwnd, int x, int y) {
    platform::headless::InjectMouseMove(hwnd, x, y);
    platform::headless::AdvanceTime(1000);
    platform::headless::InjectButton(hwnd, platform::headless::Button::Left, true, x, y);
    platform::headless::InjectButton(hwnd, platform::headless::Button::Left, false, x, y);
  }
  // Clicks a point given in screen coordinates, on whatever window is there.
  static void ClickScreen(MWindow& loop, HWND any, POINT screen) {
    POINT p = screen;
    platform::ScreenToClient(any, &p);
    Click(any, p.x, p.y);
    Pump(loop);
  }
  static void Key(MWindow& loop, UINT vk) {
    platform::headless::InjectKeyPress(vk);
    Pump(loop);
  }

  MComboBox* AddCombo(MDialog& dlg, UINT id, CRect rect, int items) {
    auto* combo = static_cast<MComboBox*>(dlg.CreateControl(L"MComboBox", id, rect, nullptr, 1, 1));
    EXPECT_NE(combo, nullptr);
    if (combo == nullptr) return nullptr;
    for (int i = 0; i < items; ++i) combo->AddItem((L"Item " + std::to_wstring(i)).c_str(), 100 + i);
    return combo;
  }
  static CRect ScreenRect(HWND hwnd) {
    RECT r{};
    platform::GetWindowRect(hwnd, &r);
    return CRect(r);
  }
  static HWND DropDownWindow() { return platform::FindWindow(ComboWnd::kTitle); }
};

// --- Menu ------------------------------------------------------------------------------------

TEST_F(PopupsTest, MenuHeightFollowsItemsSeparatorsAndPaddings) {
  const struct {
    int items, separators, top, bottom, itemHeight, height;
  } cases[] = {
      {3, 0, 6, 6, 25, 6 + 3 * 25 + 6},
      {3, 1, 6, 6, 25, 6 + 3 * 25 + 4 + 6},
      {1, 2, 6, 6, 25, 6 + 25 + 8 + 6},
      {2, 0, 10, 0, 30, 10 + 2 * 30 + 2},  // a bottom padding of 0 becomes 2
      {0, 0, 6, 6, 25, 12},
  };
  for (const auto& c : cases) {
    OwnerDialog dlg;
    Open(dlg);
    MenuWnd menu(&dlg);
    menu.SetPadding(c.top, c.bottom);
    menu.SetItemHeight(c.itemHeight);
    ASSERT_EQ(menu.Create(dlg.GetSafeHwnd(), CPoint(300, 300), kMenuMessage, 220), 1);
    for (int i = 0; i < c.items; ++i) {
      menu.AddMenu(L"Entry " + std::to_wstring(i), 10 + UINT(i));
      if (i < c.separators) menu.AddSeparator(50 + UINT(i));
    }
    for (int i = c.items; i < c.separators; ++i) menu.AddSeparator(60 + UINT(i));
    const CRect r = ScreenRect(menu.GetSafeHwnd());
    EXPECT_EQ(r.Height(), c.height) << c.items << " items, " << c.separators << " separators";
    EXPECT_EQ(r.Width(), 220);
    EXPECT_EQ(r.TopLeft(), CPoint(300, 300));
    // Items stack from the top padding at the item height, 2 pixels in.
    int y = c.top;
    for (MControl* item : *menu.GetControls()) {
      auto* mi = static_cast<MenuItem*>(item);
      if (mi->IsSeparator()) {
        EXPECT_EQ(mi->GetRect(), CRect(6, y + 1, 219, y + 2));
        y += 4;
      } else {
        EXPECT_EQ(mi->GetRect(), CRect(2, y, 218, y + c.itemHeight));
        y += c.itemHeight;
      }
    }
  }
}

TEST_F(PopupsTest, HiddenItemsTakeNoSpaceAndTheWindowShrinks) {
  OwnerDialog dlg;
  Open(dlg);
  MenuWnd menu(&dlg);
  ASSERT_EQ(menu.Create(dlg.GetSafeHwnd(), CPoint(300, 300), kMenuMessage, 200), 1);
  menu.AddMenu(L"Rename", 11);
  menu.AddMenu(L"Copy", 12);
  menu.AddMenu(L"Delete", 13);
  EXPECT_EQ(ScreenRect(menu.GetSafeHwnd()).Height(), 6 + 75 + 6);
  ASSERT_EQ(menu.SetItemVisible(L"Copy", 0), 1);
  EXPECT_EQ(ScreenRect(menu.GetSafeHwnd()).Height(), 6 + 50 + 6);
  EXPECT_TRUE(menu.GetControl(12)->GetRect().IsRectEmpty());
  EXPECT_EQ(menu.GetControl(13)->GetRect(), CRect(2, 31, 198, 56));
  EXPECT_EQ(menu.SetItemVisible(L"Paste", 0), 0);
}

TEST_F(PopupsTest, ClickingAnItemPostsTheItemIdToTheOwnerAndClosesTheMenu) {
  OwnerDialog dlg;
  Open(dlg);
  MenuWnd menu(&dlg);
  ASSERT_EQ(menu.Create(dlg.GetSafeHwnd(), CPoint(320, 200), kMenuMessage, 200), 1);
  menu.AddMenu(L"Rename", 11);
  menu.AddSeparator(19);
  menu.AddMenu(L"Copy", 12);
  menu.AddMenu(L"Delete", 13);
  menu.SetItemEnable(L"Delete", 0);
  menu.ShowWindow(SW_SHOW);
  Pump(dlg);
  HWND hwnd = menu.GetSafeHwnd();
  EXPECT_EQ(platform::FindWindow(MenuWnd::kTitle), hwnd);
  // The menu is a pop-up: the dialog stays active.
  EXPECT_EQ(platform::GetActiveWindow(), dlg.GetSafeHwnd());

  // Disabled items and separators choose nothing.
  const CRect disabled = menu.GetControl(13)->GetRect();
  Click(hwnd, disabled.CenterPoint().x, disabled.CenterPoint().y);
  Click(hwnd, 100, menu.GetControl(19)->GetRect().top);
  Pump(dlg);
  EXPECT_TRUE(dlg.menuNotices.empty());
  ASSERT_TRUE(platform::IsWindow(hwnd));

  const CRect copy = menu.GetControl(12)->GetRect();
  Click(hwnd, copy.CenterPoint().x, copy.CenterPoint().y);
  Pump(dlg);
  ASSERT_EQ(dlg.menuNotices.size(), 1u);
  EXPECT_EQ(dlg.menuNotices[0].lParam, 12);
  EXPECT_EQ(dlg.menuNotices[0].wParam, 0u);
  EXPECT_FALSE(platform::IsWindow(hwnd));
  EXPECT_EQ(menu.GetSafeHwnd(), nullptr);
}

TEST_F(PopupsTest, MenuClosesWithoutAMessageWhenDismissedOrOnEscape) {
  const struct {
    const char* name;
    std::function<void(OwnerDialog&, MenuWnd&)> act;
  } cases[] = {
      {"press in the owner", [](OwnerDialog& d, MenuWnd&) { Click(d.GetSafeHwnd(), 20, 20); }},
      {"owner deactivated", [](OwnerDialog&, MenuWnd&) { platform::SetActiveWindow(nullptr); }},
      {"owner moved", [](OwnerDialog& d, MenuWnd&) { d.MoveWindow(150, 140, 400, 300, 1); }},
      {"Escape", [](OwnerDialog&, MenuWnd&) { platform::headless::InjectKeyPress(VK_ESCAPE); }},
  };
  for (const auto& c : cases) {
    OwnerDialog dlg;
    Open(dlg);
    MenuWnd menu(&dlg);
    ASSERT_EQ(menu.Create(dlg.GetSafeHwnd(), CPoint(320, 200), kMenuMessage, 200), 1);
    menu.AddMenu(L"Rename", 11);
    menu.ShowWindow(SW_SHOW);
    Pump(dlg);
    HWND hwnd = menu.GetSafeHwnd();
    c.act(dlg, menu);
    Pump(dlg);
    EXPECT_FALSE(platform::IsWindow(hwnd)) << c.name;
    EXPECT_TRUE(dlg.menuNotices.empty()) << c.name;
  }
}

TEST_F(PopupsTest, ArrowKeysMoveOverChoosableItemsAndEnterChooses) {
  OwnerDialog dlg;
  Open(dlg);
  MenuWnd menu(&dlg);
  ASSERT_EQ(menu.Create(dlg.GetSafeHwnd(), CPoint(320, 200), kMenuMessage, 200), 1);
  menu.AddMenu(L"Rename", 11);
  menu.AddSeparator(19);
  menu.AddMenu(L"Export", 12);
  menu.AddMenu(L"Delete", 13);
  menu.SetItemEnable(L"Export", 0);
  menu.ShowWindow(SW_SHOW);
  Pump(dlg);
  const struct {
    UINT vk;
    UINT hot;
  } steps[] = {
      {VK_DOWN, 11}, {VK_DOWN, 13},  // over the separator and the disabled item
      {VK_DOWN, 11},                 // wrapping round
      {VK_UP, 13},
  };
  for (const auto& step : steps) {
    Key(dlg, step.vk);
    ASSERT_NE(menu.GetHotItem(), nullptr);
    EXPECT_EQ(menu.GetHotItem()->GetControlID(), step.hot);
  }
  HWND hwnd = menu.GetSafeHwnd();
  Key(dlg, VK_RETURN);
  ASSERT_EQ(dlg.menuNotices.size(), 1u);
  EXPECT_EQ(dlg.menuNotices[0].lParam, 13);
  EXPECT_FALSE(platform::IsWindow(hwnd));
}

TEST_F(PopupsTest, AMenuOpenedNearTheBottomGrowsUpward) {
  OwnerDialog dlg;
  Open(dlg);
  MenuWnd menu(&dlg);
  ASSERT_EQ(menu.Create(dlg.GetSafeHwnd(), CPoint(300, 1000), kMenuMessage, 200), 1);
  for (UINT id = 11; id < 15; ++id) menu.AddMenu(L"Entry", id);
  // 4 x 25 + 12 high: kept above the panel at 1040.
  EXPECT_EQ(ScreenRect(menu.GetSafeHwnd()), CRect(300, 1040 - 112, 500, 1040));
}

TEST_F(PopupsTest, MenuItemHighlightsUnderThePointer) {
  OwnerDialog dlg;
  Open(dlg);
  MenuWnd menu(&dlg);
  ASSERT_EQ(menu.Create(dlg.GetSafeHwnd(), CPoint(320, 200), kMenuMessage, 200), 1);
  menu.AddMenu(L"Rename", 11);
  menu.AddMenu(L"Copy", 12);
  menu.ShowWindow(SW_SHOW);
  Pump(dlg);
  auto* copy = static_cast<MenuItem*>(menu.GetControl(12));
  platform::headless::InjectMouseMove(menu.GetSafeHwnd(), 190, copy->GetRect().CenterPoint().y);
  Pump(dlg);
  EXPECT_EQ(copy->GetState(), 1);
  EXPECT_EQ(static_cast<MenuItem*>(menu.GetControl(11))->GetState(), 0);
  // The hovered band is the item colour; the other item shows the menu's
  // background.
  const platform::Bitmap shot = platform::CaptureWindow(menu.GetSafeHwnd());
  EXPECT_EQ(shot.PixelAt(195, copy->GetRect().CenterPoint().y) & 0xFFFFFF, 0x3D5350u);
  EXPECT_EQ(shot.PixelAt(195, menu.GetControl(11)->GetRect().CenterPoint().y) & 0xFFFFFF, 0x0B1715u);
}

// --- Combo box -----------------------------------------------------------------------------------

TEST_F(PopupsTest, TwelveItemsOpenAnEightRowDropDownThatScrolls) {
  RecordingDialog dlg;
  Open(dlg);
  MComboBox* combo = AddCombo(dlg, 7, CRect(20, 20, 220, 50), 12);
  Click(dlg.GetSafeHwnd(), 100, 35);
  Pump(dlg);
  ASSERT_TRUE(combo->IsDropDownOpen());
  HWND drop = DropDownWindow();
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(drop, combo->GetDropDown()->GetSafeHwnd());
  // Below the combo (screen 120..320, 150), 2 pixels apart, 8 rows of 30
  // plus 12: 252 high.
  EXPECT_EQ(ScreenRect(drop), CRect(120, 152, 320, 152 + 8 * 30 + 12));
  EXPECT_EQ(platform::GetActiveWindow(), dlg.GetSafeHwnd());
  CComboBoxList* list = combo->GetDropDown()->GetList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetItemCount(), 12);
  EXPECT_EQ(list->GetMaxScroll(), 12 * 30 - 8 * 30);
  EXPECT_FALSE(list->GetThumbRect().IsRectEmpty());
  // One wheel notch moves the bar 6 steps of 10 positions; the bar's range
  // is the content height, so the rows move 60 x (360 - 240) / 360 pixels.
  platform::headless::InjectMouseMove(drop, 60, 6 + 30 + 15);
  platform::headless::InjectWheel(drop, -120, 60, 6 + 30 + 15);
  Pump(dlg);
  EXPECT_EQ(list->GetScrollVertical()->GetScrollCurrentPos(), 60);
  EXPECT_EQ(list->GetScrollPos(), 20);
  platform::headless::InjectWheel(drop, -120, 60, 6 + 30 + 15);
  platform::headless::InjectWheel(drop, -120, 60, 6 + 30 + 15);
  Pump(dlg);
  EXPECT_EQ(list->GetScrollPos(), 60);

  // 45 pixels into the list, scrolled by 60: the fourth row, item 3.
  Click(drop, 60, 6 + 30 + 15);
  Pump(dlg);
  EXPECT_EQ(combo->GetCurSel(), 3);
  EXPECT_EQ(combo->GetTitle(), L"Item 3");
  EXPECT_EQ(combo->GetCurData(), 103);
  EXPECT_FALSE(combo->IsDropDownOpen());
  EXPECT_EQ(DropDownWindow(), nullptr);
  ASSERT_FALSE(dlg.notices.empty());
  EXPECT_EQ(dlg.notices.back().id, 7u);
  EXPECT_EQ(dlg.notices.back().code, CN_CLICK);
  EXPECT_EQ(dlg.notices.back().wParam, 3u);
}

TEST_F(PopupsTest, FewItemsNeedNoScrollingAndAnEmptyComboOpensNothing) {
  RecordingDialog dlg;
  Open(dlg);
  MComboBox* three = AddCombo(dlg, 7, CRect(20, 20, 220, 50), 3);
  MComboBox* empty = AddCombo(dlg, 8, CRect(20, 100, 220, 130), 0);
  Click(dlg.GetSafeHwnd(), 100, 35);
  Pump(dlg);
  ASSERT_TRUE(three->IsDropDownOpen());
  EXPECT_EQ(ScreenRect(DropDownWindow()).Height(), 3 * 30 + 12);
  EXPECT_EQ(three->GetDropDown()->GetList()->GetMaxScroll(), 0);
  EXPECT_TRUE(three->GetDropDown()->GetList()->GetThumbRect().IsRectEmpty());
  Click(dlg.GetSafeHwnd(), 100, 115);
  Pump(dlg);
  EXPECT_FALSE(three->IsDropDownOpen());
  EXPECT_FALSE(empty->IsDropDownOpen());
  EXPECT_EQ(DropDownWindow(), nullptr);
}

TEST_F(PopupsTest, APressOnTheComboClosesItsDropDownAndTheNextClickReopensIt) {
  RecordingDialog dlg;
  Open(dlg);
  MComboBox* combo = AddCombo(dlg, 7, CRect(20, 20, 220, 50), 12);
  combo->SetCurSel(2);
  Click(dlg.GetSafeHwnd(), 100, 35);
  Pump(dlg);
  ASSERT_TRUE(combo->IsDropDownOpen());
  HWND first = DropDownWindow();

  Click(dlg.GetSafeHwnd(), 100, 35);
  Pump(dlg);
  EXPECT_FALSE(combo->IsDropDownOpen());
  EXPECT_FALSE(platform::IsWindow(first));
  EXPECT_EQ(DropDownWindow(), nullptr);
  EXPECT_EQ(combo->GetCurSel(), 2);

  Click(dlg.GetSafeHwnd(), 100, 35);
  Pump(dlg);
  ASSERT_TRUE(combo->IsDropDownOpen());
  EXPECT_NE(DropDownWindow(), nullptr);
  EXPECT_EQ(combo->GetDropDown()->GetList()->GetSelectedIndex(), 2);
  // No pick was made: the parent heard of no choice.
  for (const Notice& n : dlg.notices) EXPECT_NE(n.code, CN_CLICK);
}

TEST_F(PopupsTest, TheDropDownClosesWhenItsOwnerMovesHidesOrIsDeactivated) {
  const struct {
    const char* name;
    std::function<void(RecordingDialog&)> act;
  } cases[] = {
      {"owner moved", [](RecordingDialog& d) { d.MoveWindow(130, 100, 400, 300, 1); }},
      {"owner resized", [](RecordingDialog& d) { d.MoveWindow(100, 100, 420, 300, 1); }},
      {"owner hidden", [](RecordingDialog& d) { d.ShowWindow(SW_HIDE); }},
      {"owner minimised", [](RecordingDialog& d) { d.ShowWindow(SW_MINIMIZE); }},
      {"owner deactivated", [](RecordingDialog&) { platform::SetActiveWindow(nullptr); }},
      {"press in another window", [](RecordingDialog& d) { Click(d.GetSafeHwnd(), 900, 700); }},
  };
  for (const auto& c : cases) {
    RecordingDialog dlg;
    Open(dlg);
    MComboBox* combo = AddCombo(dlg, 7, CRect(20, 20, 220, 50), 5);
    Click(dlg.GetSafeHwnd(), 100, 35);
    Pump(dlg);
    ASSERT_TRUE(combo->IsDropDownOpen()) << c.name;
    HWND drop = DropDownWindow();
    c.act(dlg);
    Pump(dlg);
    EXPECT_FALSE(combo->IsDropDownOpen()) << c.name;
    EXPECT_FALSE(platform::IsWindow(drop)) << c.name;
    EXPECT_EQ(combo->GetState(), 0) << c.name;
    EXPECT_EQ(combo->GetCurSel(), -1) << c.name;
  }
}

TEST_F(PopupsTest, NearTheBottomOfTheWorkAreaTheDropDownOpensUpward) {
  RecordingDialog dlg;
  HWND hwnd = dlg.Create(nullptr, L"test", WS_POPUP, 0, CRect(100, 700, 500, 1000));
  ASSERT_NE(hwnd, nullptr);
  dlg.ShowWindow(SW_SHOW);
  Pump(dlg);
  // Screen 120..320 x 960..990; 8 rows do not fit above the panel at 1040.
  MComboBox* combo = AddCombo(dlg, 7, CRect(20, 260, 220, 290), 12);
  Click(hwnd, 100, 275);
  Pump(dlg);
  ASSERT_TRUE(combo->IsDropDownOpen());
  const CRect drop = ScreenRect(DropDownWindow());
  EXPECT_EQ(drop, CRect(120, 960 - 2 - 252, 320, 960 - 2));
  // And a pick there works as below.
  ClickScreen(dlg, hwnd, POINT{200, drop.top + 6 + 15});
  EXPECT_EQ(combo->GetCurSel(), 0);
  EXPECT_FALSE(combo->IsDropDownOpen());
}

TEST_F(PopupsTest, KeysSteerTheOpenList) {
  RecordingDialog dlg;
  Open(dlg);
  MComboBox* combo = AddCombo(dlg, 7, CRect(20, 20, 220, 50), 12);
  combo->SetCurSel(9);
  Click(dlg.GetSafeHwnd(), 100, 35);
  Pump(dlg);
  ASSERT_TRUE(combo->IsDropDownOpen());
  CComboBoxList* list = combo->GetDropDown()->GetList();
  // The selection was scrolled into view.
  EXPECT_GT(list->GetScrollPos(), 0);
  platform::headless::InjectPointerExit();
  Pump(dlg);
  Key(dlg, VK_DOWN);
  Key(dlg, VK_DOWN);
  Key(dlg, VK_DOWN);  // stops at the last item
  EXPECT_EQ(list->GetHoverIndex(), 11);
  EXPECT_EQ(list->GetScrollPos(), list->GetMaxScroll());
  Key(dlg, VK_UP);
  Key(dlg, VK_RETURN);
  EXPECT_EQ(combo->GetCurSel(), 10);
  EXPECT_FALSE(combo->IsDropDownOpen());
  // Closed, the combo leaves the keys alone; Escape closes an open list.
  Key(dlg, VK_DOWN);
  EXPECT_EQ(combo->GetCurSel(), 10);
  Click(dlg.GetSafeHwnd(), 100, 35);
  Pump(dlg);
  Key(dlg, VK_ESCAPE);
  EXPECT_FALSE(combo->IsDropDownOpen());
  EXPECT_EQ(combo->GetCurSel(), 10);
}

TEST_F(PopupsTest, DestroyingTheComboOrItsDialogTakesTheDropDownAlong) {
  HWND drop = nullptr;
  {
    RecordingDialog dlg;
    Open(dlg);
    MComboBox* combo = AddCombo(dlg, 7, CRect(20, 20, 220, 50), 4);
    Click(dlg.GetSafeHwnd(), 100, 35);
    Pump(dlg);
    drop = DropDownWindow();
    ASSERT_NE(drop, nullptr);
    dlg.GetPaintManager()->RemoveControl(combo);
    EXPECT_FALSE(platform::IsWindow(drop));
    AddCombo(dlg, 8, CRect(20, 20, 220, 50), 4);
    Click(dlg.GetSafeHwnd(), 100, 35);
    Pump(dlg);
    drop = DropDownWindow();
    ASSERT_NE(drop, nullptr);
  }
  EXPECT_FALSE(platform::IsWindow(drop));
}

TEST_F(PopupsTest, ItemsSelectionAndBounds) {
  RecordingDialog dlg;
  Open(dlg);
  MComboBox* combo = AddCombo(dlg, 7, CRect(20, 20, 220, 50), 0);
  const struct {
    int index;
    const wchar_t* text;
    int result;
  } inserts[] = {
      {0, L"refused: no item 0 yet", -1}, {-1, L"B", 0}, {-2, L"refused", -1}, {0, L"A", 1},
      {2, L"refused: beyond the last", -1}, {-1, L"C", 2},
  };
  for (const auto& c : inserts) EXPECT_EQ(combo->InsertItem(c.index, c.text, long(c.text[0])), c.result) << c.index;
  ASSERT_EQ(combo->GetItemCount(), 3);
  EXPECT_EQ(combo->GetItemText(0), L"A");
  EXPECT_EQ(combo->SelectData(long(L'C')), 1);
  EXPECT_EQ(combo->GetCurSel(), 2);
  EXPECT_EQ(combo->GetTitle(), L"C");
  EXPECT_EQ(combo->SelectData(12345), 0);
  EXPECT_EQ(combo->GetCurSel(), 2);
  EXPECT_EQ(combo->SetCurSel(3), 0);
  EXPECT_EQ(combo->DeleteItem(0), 1);  // the selection follows its item
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(combo->SetItemText(1, L"C2"), 1);
  EXPECT_EQ(combo->GetTitle(), L"C2");
  EXPECT_EQ(combo->DeleteItem(1), 1);
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_EQ(combo->GetTitle(), L"");
  EXPECT_EQ(combo->GetCurData(), 0);
}

TEST_F(PopupsTest, CheckingAComboBox2UnchecksOnlyItsGroup) {
  RecordingDialog dlg;
  Open(dlg);
  auto make = [&](UINT id, const wchar_t* group) {
    auto* c = new MComboBox2(&dlg, id, CRect(20, 20 + int(id) * 35, 220, 50 + int(id) * 35), 1, 1);
    dlg.GetPaintManager()->AttachControl(c, 1);
    c->SetGroupName(group);
    return c;
  };
  MComboBox2* a1 = make(1, L"a");
  MComboBox2* a2 = make(2, L"a");
  MComboBox2* b1 = make(3, L"b");
  EXPECT_STREQ(a1->GetClassNameW(), L"MComboBox2");
  a1->SetCheck(1);
  b1->SetCheck(1);
  a2->SetCheck(1);
  EXPECT_EQ(a1->GetCheck(), 0);
  EXPECT_EQ(a2->GetCheck(), 1);
  EXPECT_EQ(b1->GetCheck(), 1);
  // Only the panel factory builds it.
  EXPECT_EQ(dlg.CreateControl(L"MComboBox2", 9, CRect(0, 0, 10, 10), nullptr, 1, 1), nullptr);
}

TEST_F(PopupsTest, TheComboAndItsListAreDrawnFromTheSkin) {
  RecordingDialog dlg;
  Open(dlg);
  MComboBox* combo = AddCombo(dlg, 7, CRect(20, 20, 220, 50), 5);
  combo->SetCurSel(1);
  ASSERT_NE(combo->GetImage(), nullptr) << "img_combobox.png is missing from the skin";
  dlg.GetPaintManager()->Invalidate();
  Pump(dlg);
  const platform::Bitmap face = platform::CaptureWindow(dlg.GetSafeHwnd());
  // The field's fill (not the dialog's background) inside the combo.
  EXPECT_NE(face.PixelAt(30, 35), face.PixelAt(10, 10));
  Click(dlg.GetSafeHwnd(), 100, 35);
  Pump(dlg);
  HWND drop = DropDownWindow();
  ASSERT_NE(drop, nullptr);
  platform::headless::InjectMouseMove(drop, 100, 6 + 3 * 30 + 15);
  Pump(dlg);
  EXPECT_EQ(combo->GetDropDown()->GetList()->GetHoverIndex(), 3);
  const platform::Bitmap shot = platform::CaptureWindow(drop);
  // The hovered row carries the accent colour, the others do not.
  const uint32_t hovered = shot.PixelAt(12, 6 + 3 * 30 + 15);
  const uint32_t plain = shot.PixelAt(12, 6 + 4 * 30 + 15);
  EXPECT_GT(int((hovered >> 16) & 0xFF), int((hovered >> 8) & 0xFF) + 60);
  EXPECT_LT(int((plain >> 16) & 0xFF), int((plain >> 8) & 0xFF) + 30);
}

TEST_F(PopupsTest, EachFactoryBuildsThePopupClassesItAccepts) {
  RecordingDialog dlg;
  Open(dlg);
  const struct {
    const wchar_t* name;
    bool dialog, panel;
    const wchar_t* className;
  } cases[] = {
      {L"MenuItem", true, true, L"MenuItem"},
      {L"MComboBox", true, true, L"MControl"},
      {L"MComboBox2", false, true, L"MComboBox2"},
      {L"CComboBoxList", true, false, L"MControl"},
  };
  for (const auto& c : cases) {
    for (FactoryKind kind : {FactoryKind::Dialog, FactoryKind::Panel}) {
      MControl* made = MakeRegisteredControl(kind, c.name, &dlg, 5, CRect(0, 0, 50, 20), L"x", 1, 1);
      const bool expected = kind == FactoryKind::Dialog ? c.dialog : c.panel;
      EXPECT_EQ(made != nullptr, expected) << platform::ToUtf8(c.name);
      if (made != nullptr) {
        EXPECT_STREQ(made->GetClassNameW(), c.className);
      }
      delete made;
    }
  }
}

TEST_F(PopupsTest, AComboInAScrolledPanelOpensUnderWhereItShows) {
  RecordingDialog dlg;
  Open(dlg);
  auto* panel = static_cast<MPanel*>(dlg.CreateControl(L"MTabLayout", 30, CRect(10, 10, 310, 110), nullptr, 1, 1));
  ASSERT_NE(panel, nullptr);
  auto* combo = static_cast<MComboBox*>(panel->CreateControl(L"MComboBox", 31, CRect(20, 150, 220, 180), nullptr, 1, 1));
  ASSERT_NE(combo, nullptr);
  combo->AddItem(L"One");
  panel->SetVirtualHeight(200);
  panel->EnsureVisible(combo->GetRect());
  const CRect shown = panel->ContentToWindow(combo->GetRect());
  ASSERT_NE(shown, combo->GetRect());
  ASSERT_EQ(combo->OpenDropDown(), 1);
  // Screen = client + (100, 100).
  EXPECT_EQ(ScreenRect(DropDownWindow()), CRect(shown.left + 100, shown.bottom + 102, shown.right + 100,
                                                shown.bottom + 102 + 30 + 12));
  combo->CloseDropDown();
  Pump(dlg);
}

}  // namespace
}  // namespace toolkit_test
