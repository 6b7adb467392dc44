// DListBox: items and their bounds, selection by program and by mouse,
// hover, right click, the wheel in content coordinates, the edit icon, and
// the rows' look read back as pixels.

#include "ToolkitFixture.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/DListBox.h"
#include "toolkit/core/MListBox.h"

namespace toolkit_test {
namespace {

constexpr ARGB kSelect = 0xFFFA373E;

class ListsTest : public ToolkitTest {
 protected:
  static ARGB Pixel(RecordingDialog& dlg, int x, int y) {
    return platform::Unpremultiply(dlg.GetPaintManager()->GetPaintDC()->Bitmap().PixelAt(x, y));
  }
  // A list at (20, 20)-(220, 200): 180 high, five rows of 36 fit.
  static DListBox* AddList(RecordingDialog& dlg, int items) {
    auto* list = static_cast<DListBox*>(dlg.CreateControl(L"DListBox", 9, CRect(20, 20, 220, 200), nullptr, 1, 1));
    for (int i = 0; i < items; ++i) list->AddString((L"item " + std::to_wstring(i)).c_str(), 100 + i, -1);
    return list;
  }
  static std::vector<CString> Texts(const DListBox& list) {
    std::vector<CString> texts;
    for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(list.GetItemText(i));
    return texts;
  }
  static void Wheel(RecordingDialog& dlg, int delta, int x, int y) {
    platform::headless::InjectWheel(dlg.GetSafeHwnd(), delta, x, y);
    Pump(dlg);
  }
  static void Right(RecordingDialog& dlg, bool down, int x, int y) {
    if (down) platform::headless::AdvanceTime(1000);
    platform::headless::InjectButton(dlg.GetSafeHwnd(), platform::headless::Button::Right, down, x, y);
    Pump(dlg);
  }
};

TEST_F(ListsTest, BothFactoriesBuildTheLists) {
  RecordingDialog dlg;
  Open(dlg);
  EXPECT_NE(dynamic_cast<DListBox*>(dlg.CreateControl(L"DListBox", 9, CRect(0, 0, 100, 100), nullptr, 1, 1)), nullptr);
  EXPECT_NE(dynamic_cast<MListBox*>(dlg.CreateControl(L"MListBox", 10, CRect(0, 0, 100, 100), nullptr, 1, 1)), nullptr);
  auto* page = static_cast<MPanel*>(dlg.CreateControl(L"MTabLayout", 11, CRect(0, 0, 300, 300), nullptr, 1, 1));
  ASSERT_NE(page, nullptr);
  auto* inner = dynamic_cast<DListBox*>(page->CreateControl(L"DListBox", 12, CRect(0, 0, 100, 100), nullptr, 1, 1));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->GetParantObject(), page);
  EXPECT_EQ(inner->GetItemHeight(), 36);
  EXPECT_EQ(inner->GetCurSel(), -1);
  EXPECT_EQ(inner->GetHoverIndex(), -1);
}

TEST_F(ListsTest, InsertStringBounds) {
  const struct {
    int index;
    int result;
    std::vector<CString> after;
  } kCases[] = {
      {-1, 3, {L"a", L"b", L"c", L"new"}},  // appends
      {0, 3, {L"new", L"a", L"b", L"c"}},
      {2, 3, {L"a", L"b", L"new", L"c"}},
      {3, -1, {L"a", L"b", L"c"}},  // beyond the last item: only -1 appends
      {-2, -1, {L"a", L"b", L"c"}},
  };
  for (const auto& c : kCases) {
    DListBox list(nullptr, 9, CRect(0, 0, 200, 200), 1);
    EXPECT_EQ(list.AddString(L"a", 1, -1), 0);
    EXPECT_EQ(list.AddString(L"b", 2, -1), 1);
    EXPECT_EQ(list.AddString(L"c", 3, -1), 2);
    list.SetCurSel(1);
    EXPECT_EQ(list.InsertString(c.index, L"new", -1, 9), c.result) << c.index;
    EXPECT_EQ(Texts(list), c.after) << c.index;
    // The selection stays on "b".
    EXPECT_EQ(list.GetItemText(list.GetCurSel()), L"b") << c.index;
  }
}

TEST_F(ListsTest, SelectionByProgram) {
  DListBox list(nullptr, 9, CRect(0, 0, 200, 200), 1);
  for (long d : {10L, 0L, 30L}) list.AddString(L"x", d, -1);
  // Without a selection the data is 0, as for the item whose data is 0.
  EXPECT_EQ(list.GetCurData(), 0);
  const struct {
    const char* step;
    int result;
    int selected;
  } kSteps[] = {
      {"SetCurSel(2)", 1, 2}, {"SetCurSel(3)", 0, 2}, {"SetCurSel(-2)", 0, 2}, {"SetCurData(99)", -1, 2},
      {"SetCurData(10)", 0, 0}, {"SetCurSel(-1)", 1, -1}, {"SetCurData(0)", 1, 1},
  };
  for (const auto& s : kSteps) {
    const std::string step = s.step;
    int result = 0;
    if (step == "SetCurSel(2)") result = list.SetCurSel(2);
    if (step == "SetCurSel(3)") result = list.SetCurSel(3);
    if (step == "SetCurSel(-2)") result = list.SetCurSel(-2);
    if (step == "SetCurData(99)") result = list.SetCurData(99);
    if (step == "SetCurData(10)") result = list.SetCurData(10);
    if (step == "SetCurSel(-1)") result = list.SetCurSel(-1);
    if (step == "SetCurData(0)") result = list.SetCurData(0);
    EXPECT_EQ(result, s.result) << step;
    EXPECT_EQ(list.GetCurSel(), s.selected) << step;
  }
  EXPECT_EQ(list.GetCurData(), 0);  // item 1 has data 0
  list.SetCurSel(2);
  EXPECT_EQ(list.GetCurData(), 30);
  EXPECT_EQ(list.GetItemData(7), 0);
  EXPECT_EQ(list.GetItemText(7), L"");
}

TEST_F(ListsTest, DeleteAndSwapKeepTheSelectionOnItsItem) {
  const struct {
    const char* op;
    int a, b;
    int result;
    std::vector<CString> after;
    int selected;  // "c" was selected
  } kCases[] = {
      {"delete", 0, 0, 1, {L"b", L"c", L"d"}, 1},
      {"delete", 2, 0, 1, {L"a", L"b", L"d"}, -1},
      {"delete", 3, 0, 1, {L"a", L"b", L"c"}, 2},
      {"delete", 4, 0, 0, {L"a", L"b", L"c", L"d"}, 2},
      {"swap", 2, 0, 1, {L"c", L"b", L"a", L"d"}, 0},
      {"swap", 1, 3, 1, {L"a", L"d", L"c", L"b"}, 2},
      {"swap", 1, 4, 0, {L"a", L"b", L"c", L"d"}, 2},
  };
  for (const auto& c : kCases) {
    DListBox list(nullptr, 9, CRect(0, 0, 200, 200), 1);
    for (const wchar_t* t : {L"a", L"b", L"c", L"d"}) list.AddString(t, 0, -1);
    list.SetCurSel(2);
    const int result = std::string(c.op) == "delete" ? list.DeleteItem(c.a) : list.SwapItem(c.a, c.b);
    EXPECT_EQ(result, c.result) << c.op << c.a;
    EXPECT_EQ(Texts(list), c.after) << c.op << c.a;
    EXPECT_EQ(list.GetCurSel(), c.selected) << c.op << c.a;
  }
  DListBox list(nullptr, 9, CRect(0, 0, 200, 200), 1);
  list.AddString(L"a", 5, -1);
  list.AddString(L"b", 6, -1);
  EXPECT_EQ(list.FindString(L"b"), 1);
  EXPECT_EQ(list.FindString(L"B"), -1);
  EXPECT_EQ(list.FindItemData(5), 0);
  EXPECT_EQ(list.ModifyItemString(1, L"z"), 1);
  EXPECT_EQ(list.ModifyItemString(2, L"z"), 0);
  EXPECT_EQ(list.GetItemText(1), L"z");
  list.DeleteAllItems();
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.GetCurSel(), -1);
}

TEST_F(ListsTest, ClickSelectsAndNotifiesOnlyWhenReleasedOnARow) {
  RecordingDialog dlg;
  Open(dlg);
  DListBox* list = AddList(dlg, 3);  // rows at y 20, 56, 92; empty below 128
  const struct {
    CPoint down, up;
    int selected;
    bool click;
  } kCases[] = {
      {CPoint(60, 60), CPoint(60, 62), 1, true},
      {CPoint(60, 100), CPoint(300, 250), 2, false},  // pressed, released outside
      {CPoint(60, 25), CPoint(60, 100), 2, true},     // released on another row: that one
      {CPoint(60, 150), CPoint(60, 150), 2, false},   // below the rows
  };
  for (const auto& c : kCases) {
    dlg.notices.clear();
    Move(dlg, c.down.x, c.down.y);
    Button(dlg, true, c.down.x, c.down.y);
    Move(dlg, c.up.x, c.up.y);
    Button(dlg, false, c.up.x, c.up.y);
    EXPECT_EQ(list->GetCurSel(), c.selected) << c.down.y;
    ASSERT_EQ(dlg.notices.size(), c.click ? 1u : 0u) << c.down.y;
    if (c.click) {
      EXPECT_EQ(dlg.notices[0].id, 9u);
      EXPECT_EQ(dlg.notices[0].code, CN_CLICK);
      EXPECT_EQ(dlg.notices[0].wParam, 0u);
    }
  }
}

TEST_F(ListsTest, HoverFollowsThePointerAndLeavesWithIt) {
  RecordingDialog dlg;
  Open(dlg);
  DListBox* list = AddList(dlg, 3);
  const struct {
    CPoint pt;
    int hover;
  } kMoves[] = {{CPoint(60, 30), 0}, {CPoint(60, 91), 1}, {CPoint(60, 92), 2}, {CPoint(60, 150), -1},
                {CPoint(60, 60), 1}, {CPoint(300, 60), -1}};
  for (const auto& m : kMoves) {
    Move(dlg, m.pt.x, m.pt.y);
    EXPECT_EQ(list->GetHoverIndex(), m.hover) << m.pt.y;
  }
}

TEST_F(ListsTest, RightClickSelectsTheRowUnderThePointerOrNone) {
  RecordingDialog dlg;
  Open(dlg);
  DListBox* list = AddList(dlg, 3);
  const struct {
    CPoint pt;
    int selected;
    WPARAM wParam;
  } kCases[] = {{CPoint(60, 60), 1, 1}, {CPoint(60, 100), 2, 2}, {CPoint(60, 150), -1, WPARAM(-1)}};
  for (const auto& c : kCases) {
    dlg.notices.clear();
    Move(dlg, c.pt.x, c.pt.y);
    Right(dlg, true, c.pt.x, c.pt.y);
    Right(dlg, false, c.pt.x, c.pt.y);
    EXPECT_EQ(list->GetCurSel(), c.selected) << c.pt.y;
    ASSERT_EQ(dlg.notices.size(), 1u) << c.pt.y;
    EXPECT_EQ(dlg.notices[0].code, CN_RCLICK);
    EXPECT_EQ(dlg.notices[0].wParam, c.wParam);
  }
}

TEST_F(ListsTest, WheelScrollsTenStepsAndRowsAnswerInContentCoordinates) {
  RecordingDialog dlg;
  Open(dlg);
  DListBox* list = AddList(dlg, 20);  // 720 high in a 180 high list
  CScrollVertical* bar = list->GetScrollVertical();
  ASSERT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollMaxRange(), 720);
  Move(dlg, 60, 30);
  EXPECT_EQ(list->GetHoverIndex(), 0);
  Wheel(dlg, -120, 60, 30);
  EXPECT_EQ(bar->GetScrollCurrentPos(), 100);
  // Offset 100 x (720 - 180) / 720 = 75: window y 30 is content y 105,
  // 85 below the list's top: row 2.
  EXPECT_EQ(list->GetScrollOffset(), CPoint(0, 75));
  EXPECT_EQ(list->GetHoverIndex(), 2);  // the pointer stayed, the rows moved
  Button(dlg, true, 60, 30);
  Button(dlg, false, 60, 30);
  EXPECT_EQ(list->GetCurSel(), 2);
  Wheel(dlg, -120 * 20, 60, 30);
  EXPECT_EQ(bar->GetScrollCurrentPos(), 720);
  Move(dlg, 60, 190);  // content y 710: the last row
  EXPECT_EQ(list->GetHoverIndex(), 19);
  // At offset 540 rows 15 to 19 show.
  EXPECT_EQ(list->GetFirstVisible(), 15);
  EXPECT_EQ(list->GetLastVisible(), 19);

  // A list can move fewer steps per notch (a drop-down's moves 6).
  list->SetWheelRows(6);
  Wheel(dlg, 120, 60, 190);
  EXPECT_EQ(bar->GetScrollCurrentPos(), 720 - 60);
}

TEST_F(ListsTest, SetCurSelBringsTheRowIntoView) {
  RecordingDialog dlg;
  Open(dlg);
  DListBox* list = AddList(dlg, 20);
  for (int row : {19, 7, 0, 12}) {
    list->SetCurSel(row);
    const CRect shown = list->ContentToWindow(list->GetItemRect(row));
    EXPECT_GE(shown.top, 20) << row;
    EXPECT_LE(shown.bottom, 200) << row;
  }
}

TEST_F(ListsTest, SelectedAndHoveredRowsAreHighlighted) {
  RecordingDialog dlg;
  Open(dlg);
  DListBox* list = AddList(dlg, 4);
  dlg.GetPaintManager()->Invalidate();
  Pump(dlg);
  const ARGB plain = Pixel(dlg, 24, 150);  // row 3, neither
  list->SetCurSel(1);
  Move(dlg, 150, 110);  // row 2
  Pump(dlg);
  EXPECT_EQ(Pixel(dlg, 24, 70), kSelect);
  const ARGB hover = Pixel(dlg, 24, 110);
  EXPECT_NE(hover, plain);
  EXPECT_NE(hover, kSelect);
  EXPECT_EQ(Pixel(dlg, 24, 150), plain);
  // The text is drawn on the rows: some pixel of row 0 differs from the
  // row's background.
  bool text = false;
  for (int x = 32; x < 100 && !text; ++x) {
    for (int y = 28; y < 48 && !text; ++y) text = Pixel(dlg, x, y) != Pixel(dlg, 24, 38);
  }
  EXPECT_TRUE(text);
}

TEST_F(ListsTest, RowsFadeTowardsAnEdgeWithMoreRowsBeyond) {
  RecordingDialog dlg;
  Open(dlg);
  DListBox* list = AddList(dlg, 20);
  list->GetScrollVertical()->SetScrollCurrentPos(288);  // offset 216: rows 6..10 show, row 6 at the top
  list->SetCurSel(6);
  dlg.GetPaintManager()->Invalidate();
  Pump(dlg);
  ASSERT_EQ(list->GetScrollOffset(), CPoint(0, 216));
  EXPECT_EQ(list->GetFirstVisible(), 6);
  EXPECT_EQ(Pixel(dlg, 24, 50), kSelect);  // inside the row, past the band
  EXPECT_NE(Pixel(dlg, 24, 20), kSelect);  // the top edge fades
  // At the top of the list nothing lies beyond the upper edge: no fade there.
  list->GetScrollVertical()->SetScrollCurrentPos(0);
  list->SetCurSel(0);
  Pump(dlg);
  EXPECT_EQ(Pixel(dlg, 24, 20), kSelect);
}

TEST_F(ListsTest, ReleaseOnTheEditIconSendsSubClick) {
  RecordingDialog dlg;
  Open(dlg);
  DListBox* list = AddList(dlg, 3);
  ASSERT_EQ(list->SetEditImage(L"img_list_edit.png", 2), 1);
  const CRect icon = list->GetEditRect(1);
  ASSERT_FALSE(icon.IsRectEmpty());
  const struct {
    CPoint pt;
    UINT code;
  } kCases[] = {{icon.CenterPoint(), CN_SUBCLICK}, {CPoint(60, 70), CN_CLICK}};
  for (const auto& c : kCases) {
    dlg.notices.clear();
    Move(dlg, c.pt.x, c.pt.y);
    Button(dlg, true, c.pt.x, c.pt.y);
    Button(dlg, false, c.pt.x, c.pt.y);
    ASSERT_EQ(dlg.notices.size(), 1u);
    EXPECT_EQ(dlg.notices[0].code, c.code);
    EXPECT_EQ(list->GetCurSel(), 1);
  }
  // Editing is off by default, and no editor opens while it is.
  EXPECT_EQ(list->IsShowEdit(), 0);
  EXPECT_EQ(list->ShowEdit(1), 0);
}

}  // namespace
}  // namespace toolkit_test
