// The macro page's lists. MacroList: release on a row versus its edit icon,
// right click, distinct double clicks, renaming in place (a name that does
// not change reports nothing), the row strip and edit icons as pixels.
// CRecordList: rows and their bounds, queries, updates by stamp, partner
// highlighting, deleting a press/release pair, ordering, the more button,
// scrolling past the rows that fit, and its editor.

#include <atomic>
#include <thread>

#include "ToolkitFixture.h"
#include "toolkit/controls/CRecordList.h"
#include "toolkit/controls/MacroList.h"
#include "platform/Text.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MPanel.h"

namespace toolkit_test {
namespace {

constexpr UINT kMacrosId = 156;
constexpr UINT kRecordsId = 166;

class MacroListsTest : public ToolkitTest {
 public:
  struct Row {
    const wchar_t* text;
    int type, key, value;
  };

 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    Open(dlg, 500, 460);
    // The program creates both lists inside a page panel.
    page = static_cast<MPanel*>(dlg.CreateControl(L"MTabLayout", 900, CRect(0, 0, 500, 460), nullptr, 1, 1));
    ASSERT_NE(page, nullptr);
  }
  void TearDown() override { dlg.DestroyWindow(); }

  ARGB Pixel(int x, int y) {
    return platform::Unpremultiply(dlg.GetPaintManager()->GetPaintDC()->Bitmap().PixelAt(x, y));
  }
  void Repaint() {
    dlg.GetPaintManager()->Invalidate();
    Pump(dlg);
  }
  void Click(CPoint pt) {
    Button(dlg, true, pt.x, pt.y);
    Button(dlg, false, pt.x, pt.y);
  }
  void RightClick(CPoint pt) {
    platform::headless::AdvanceTime(1000);
    platform::headless::InjectButton(dlg.GetSafeHwnd(), platform::headless::Button::Right, true, pt.x, pt.y);
    Pump(dlg);
    platform::headless::InjectButton(dlg.GetSafeHwnd(), platform::headless::Button::Right, false, pt.x, pt.y);
    Pump(dlg);
  }
  // Two clicks at one point in quick succession: the window reports the
  // second press as a double click.
  void DoubleClick(CPoint pt) {
    Click(pt);
    platform::headless::InjectButton(dlg.GetSafeHwnd(), platform::headless::Button::Left, true, pt.x, pt.y);
    Pump(dlg);
    platform::headless::InjectButton(dlg.GetSafeHwnd(), platform::headless::Button::Left, false, pt.x, pt.y);
    Pump(dlg);
  }
  void Press(UINT vk) {
    Key(dlg, vk, true);
    Key(dlg, vk, false);
  }
  void Type(const std::wstring& text) {
    platform::headless::InjectText(text);
    Pump(dlg);
  }
  std::vector<Notice> From(UINT id) const {
    std::vector<Notice> out;
    for (const Notice& n : dlg.notices) {
      if (n.id == id) out.push_back(n);
    }
    return out;
  }
  std::vector<UINT> CodesFrom(UINT id) const {
    std::vector<UINT> out;
    for (const Notice& n : From(id)) out.push_back(n.code);
    return out;
  }
  int Count(UINT id, UINT code) const {
    int n = 0;
    for (const Notice& x : From(id)) n += x.code == code;
    return n;
  }

  // --- MacroList: (20, 20)-(320, 200), five rows of 36 show.
  MacroList* AddMacros(int count = 8) {
    auto* list =
        static_cast<MacroList*>(page->CreateControl(L"MacroList", kMacrosId, CRect(20, 20, 320, 200), nullptr, 1, 1));
    EXPECT_NE(list, nullptr);
    EXPECT_EQ(list->SetImage(L"img_list_bkg.png", 2), 1);
    EXPECT_EQ(list->SetEditImage(L"btn_more.png", 4), 1);
    for (int i = 0; i < count; ++i) list->AddString((L"Macro " + std::to_wstring(i + 1)).c_str(), 500 + i, -1);
    list->EnableShowEdit(1);
    return list;
  }
  static CPoint NameOf(MacroList* list, int row) {
    const CRect r = list->ContentToWindow(list->GetItemRect(row));
    return CPoint(r.left + 40, r.top + r.Height() / 2);
  }
  static CPoint IconOf(MacroList* list, int row) {
    return list->ContentToWindow(list->GetEditRect(row)).CenterPoint();
  }

  // --- CRecordList: (20, 220)-(420, 400), five rows of 36 show.
  CRecordList* AddRecords(std::initializer_list<Row> rows) {
    auto* list = static_cast<CRecordList*>(
        page->CreateControl(L"CRecordList", kRecordsId, CRect(20, 220, 420, 400), nullptr, 1, 1));
    EXPECT_NE(list, nullptr);
    EXPECT_EQ(list->SetImage(L"icon\\icon_list.png", 8), 1);
    EXPECT_EQ(list->SetItemImage(L"img_list_bkg.png", 2), 1);
    EXPECT_EQ(list->SetMoreImage(L"btn_more.png", 4), 1);
    for (const Row& r : rows) list->AddString(r.text, r.type, r.key, r.value);
    return list;
  }
  static CPoint TextOf(CRecordList* list, int row) {
    const CRect r = list->ContentToWindow(list->GetItemRect(row));
    return CPoint(r.left + 220, r.top + r.Height() / 2);
  }
  static CPoint MoreOf(CRecordList* list, int row) {
    return list->ContentToWindow(list->GetMoreRect(row)).CenterPoint();
  }
  static std::vector<CString> Texts(const CRecordList* list) {
    std::vector<CString> out;
    for (const RecordItem& r : list->GetRecordItems()) out.push_back(r.text);
    return out;
  }
  static std::vector<int> Stamps(const CRecordList* list) {
    std::vector<int> out;
    for (const RecordItem& r : list->GetRecordItems()) out.push_back(r.value);
    return out;
  }

  RecordingDialog dlg;
  MPanel* page = nullptr;
};

// A recording: A down, 50 ms, B down, A up, 30 ms, B up; each its own stamp.
const std::initializer_list<MacroListsTest::Row> kRecording = {
    {L"↓  A", 2, 65, 100}, {L"50 ms", 1, 50, 101}, {L"↓  B", 2, 66, 102},
    {L"↑  A", 3, 65, 103}, {L"30 ms", 1, 30, 104}, {L"↑  B", 3, 66, 105},
};

// ===== MacroList =====================================================================================

TEST_F(MacroListsTest, MacroReleaseOnARowOrOnItsEditIcon) {
  MacroList* list = AddMacros();
  struct Case {
    const char* name;
    int row;
    bool onIcon;
    UINT code;
  } cases[] = {
      {"name of row 2", 2, false, CN_CLICK},
      {"edit icon of row 2", 2, true, CN_SUBCLICK},
      {"edit icon of row 4, not hovered before", 4, true, CN_SUBCLICK},
      {"name of row 0", 0, false, CN_CLICK},
  };
  for (const Case& c : cases) {
    dlg.notices.clear();
    Click(c.onIcon ? IconOf(list, c.row) : NameOf(list, c.row));
    ASSERT_FALSE(From(kMacrosId).empty()) << c.name;
    const Notice last = From(kMacrosId).back();
    EXPECT_EQ(last.code, c.code) << c.name;
    EXPECT_EQ(last.wParam, 0u) << c.name;
    EXPECT_EQ(list->GetCurSel(), c.row) << c.name;
    EXPECT_EQ(Count(kMacrosId, c.code == CN_CLICK ? CN_SUBCLICK : CN_CLICK), 0) << c.name;
  }
}

TEST_F(MacroListsTest, MacroRightClickReportsTheRow) {
  MacroList* list = AddMacros();
  RightClick(NameOf(list, 3));
  ASSERT_EQ(CodesFrom(kMacrosId), std::vector<UINT>{CN_RCLICK});
  EXPECT_EQ(From(kMacrosId)[0].wParam, 3u);
  EXPECT_EQ(list->GetCurSel(), 3);
  EXPECT_EQ(list->GetEditIndex(), -1) << "a right click renames nothing";
}

TEST_F(MacroListsTest, MacroSelectionByProgramSendsNothing) {
  MacroList* list = AddMacros(4);
  struct Case {
    int index, result, selected;
  } cases[] = {{2, 1, 2}, {4, 0, 2}, {-2, 0, 2}, {-1, 1, -1}, {0, 1, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(list->SetCurSel(c.index), c.result) << c.index;
    EXPECT_EQ(list->GetCurSel(), c.selected) << c.index;
  }
  EXPECT_TRUE(From(kMacrosId).empty());
}

TEST_F(MacroListsTest, MacroDoubleClickOpensTheEditorOnlyWhereItShould) {
  struct Case {
    const char* name;
    int editing;
    bool onIcon;
    bool opens;
  } cases[] = {
      {"editing on, on the name", 1, false, true},
      {"editing off, on the name", 0, false, false},
      {"editing on, on the edit icon", 1, true, false},
  };
  for (const Case& c : cases) {
    MacroList* list = AddMacros(3);
    EXPECT_EQ(list->GetDblClk(), 1) << "the list takes double clicks as such";
    list->EnableShowEdit(c.editing);
    dlg.notices.clear();
    DoubleClick(c.onIcon ? IconOf(list, 1) : NameOf(list, 1));
    EXPECT_EQ(list->GetCurSel(), 1) << c.name;
    EXPECT_EQ(list->GetEditIndex(), c.opens ? 1 : -1) << c.name;
    EXPECT_EQ(list->GetEditor() != nullptr && list->GetEditor()->IsOpen(), c.opens) << c.name;
    EXPECT_EQ(Count(kMacrosId, CN_EDITBEGIN), c.opens ? 1 : 0) << c.name;
    if (c.opens) {
      EXPECT_EQ(list->GetEditor()->GetText(), L"Macro 2") << c.name;
      Press(VK_ESCAPE);
    }
    page->RemoveControl(list);
  }
}

TEST_F(MacroListsTest, MacroRenameReportsOnlyAChangedName) {
  struct Case {
    const char* name;
    std::wstring typed;  // replaces the selected name; empty: type nothing
    bool backspace;      // erase the whole name
    UINT close;          // VK_RETURN, VK_ESCAPE, or 0 for a press on another row
    const wchar_t* after;
    bool reported;
  } cases[] = {
      {"new name, Enter", L"Boss fight", false, VK_RETURN, L"Boss fight", true},
      {"new name, press elsewhere", L"Reload 装填", false, 0, L"Reload 装填", true},
      {"new name, Escape", L"Boss fight", false, VK_ESCAPE, L"Macro 3", false},
      {"nothing typed, Enter", L"", false, VK_RETURN, L"Macro 3", false},
      {"same name typed again", L"Macro 3", false, VK_RETURN, L"Macro 3", false},
      {"name erased", L"", true, VK_RETURN, L"Macro 3", false},
      {"only spaces", L"   ", false, VK_RETURN, L"Macro 3", false},
  };
  for (const Case& c : cases) {
    MacroList* list = AddMacros(5);
    DoubleClick(NameOf(list, 2));
    ASSERT_EQ(list->GetEditIndex(), 2) << c.name;
    dlg.notices.clear();
    if (c.backspace) Press(VK_BACK);
    if (!c.typed.empty()) Type(c.typed);
    if (c.close != 0) Press(c.close);
    else Click(NameOf(list, 4));
    EXPECT_EQ(list->GetEditIndex(), -1) << c.name;
    EXPECT_EQ(list->GetItemText(2), c.after) << c.name;
    EXPECT_EQ(Count(kMacrosId, CN_EDITEND), c.reported ? 1 : 0) << c.name;
    if (c.reported) {
      for (const Notice& n : From(kMacrosId)) {
        if (n.code == CN_EDITEND) {
          EXPECT_EQ(n.lParam, 2) << c.name;
        }
      }
    }
    page->RemoveControl(list);
  }
}

TEST_F(MacroListsTest, MacroRowsShowTheStripAndAnEditIconOnEveryRow) {
  MacroList* list = AddMacros(4);
  list->SetCurSel(1);
  Move(dlg, 200, NameOf(list, 2).y);  // hover row 2
  Repaint();
  const ARGB plain = Pixel(22, NameOf(list, 3).y);
  const ARGB selected = Pixel(22, NameOf(list, 1).y);
  EXPECT_NE(selected, plain) << "the selected row uses the strip's second frame";
  EXPECT_EQ(Pixel(22, NameOf(list, 2).y), selected) << "so does the hovered row";
  // Row 3 is neither hovered nor selected and still shows its edit icon.
  const CRect icon = list->ContentToWindow(list->GetEditRect(3));
  ASSERT_FALSE(icon.IsRectEmpty());
  int differing = 0;
  for (int y = icon.top; y < icon.bottom; ++y) {
    for (int x = icon.left; x < icon.right; ++x) differing += Pixel(x, y) != Pixel(icon.left - 4, y);
  }
  EXPECT_GT(differing, icon.Width() * icon.Height() / 20);
}

TEST_F(MacroListsTest, MacroScaleMultipliesTheRowHeight) {
  MacroList* list = AddMacros(3);
  list->SetScaleValue(1.5f);
  EXPECT_EQ(list->GetItemRect(1).top - list->GetItemRect(0).top, 54);
  list->SetItemHeight(30);
  EXPECT_EQ(list->GetItemHeight(), 45);
  list->SetScaleValue(0.0f);
  EXPECT_EQ(list->GetScaleValue(), 1.5f) << "a scale of 0 is refused";
}

// ===== CRecordList: rows and queries =====================================================================

TEST_F(MacroListsTest, RecordInsertBounds) {
  CRecordList* list = AddRecords({{L"a", 2, 65, 1}, {L"b", 3, 65, 1}});
  list->SetCurSel(1);
  struct Case {
    int index;
    int result;
    std::vector<CString> texts;
    int selected;
  } cases[] = {
      {-2, -1, {L"a", L"b"}, 1},
      {3, -1, {L"a", L"b"}, 1},
      {2, 2, {L"a", L"b", L"x"}, 1},
      {0, 3, {L"x", L"a", L"b", L"x"}, 2},
      {-1, 4, {L"x", L"a", L"b", L"x", L"x"}, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(list->InsertString(c.index, L"x", 1, 10, 7), c.result) << c.index;
    EXPECT_EQ(Texts(list), c.texts) << c.index;
    EXPECT_EQ(list->GetCurSel(), c.selected) << "the selection stays on its row, " << c.index;
  }
}

TEST_F(MacroListsTest, RecordCountsAndTheDelayBelowTheSelection) {
  CRecordList* delays = AddRecords({{L"10 ms", 1, 10, 1}, {L"20 ms", 1, 20, 2}});
  EXPECT_EQ(delays->GetItemCount(), 2);
  EXPECT_EQ(delays->GetEventCount(), 0);
  page->RemoveControl(delays);

  CRecordList* list = AddRecords(kRecording);
  EXPECT_EQ(list->GetEventCount(), 4);
  struct Case {
    int selected, delay;
  } cases[] = {{-1, -1}, {0, 1}, {1, 1}, {2, 4}, {4, 4}, {5, -1}};
  for (const Case& c : cases) {
    list->SetCurSel(c.selected);
    EXPECT_EQ(list->GetSelectEvent(), c.delay) << c.selected;
  }
}

TEST_F(MacroListsTest, RecordReadsOutOfRangeChangeNothing) {
  CRecordList* list = AddRecords(kRecording);
  EXPECT_EQ(list->GetRecrodTimeStamp(-1), 0);
  EXPECT_EQ(list->GetRecrodTimeStamp(6), 0);
  EXPECT_EQ(list->GetRecrodTimeStamp(2), 102);
  CString text = L"keep";
  int type = -7, key = -8, value = -9;
  EXPECT_FALSE(list->GetRecordInfo(6, text, type, key, value));
  EXPECT_EQ(text, L"keep");
  EXPECT_EQ(std::vector<int>({type, key, value}), std::vector<int>({-7, -8, -9}));
  EXPECT_TRUE(list->GetRecordInfo(3, text, type, key, value));
  EXPECT_EQ(text, L"↑  A");
  EXPECT_EQ(std::vector<int>({type, key, value}), std::vector<int>({3, 65, 103}));
  EXPECT_EQ(list->SetRecordInfo(6, L"x", 1, 1, 1), 0);
  EXPECT_EQ(list->DeleteItem(-1), 0);
  EXPECT_EQ(list->GetItemCount(), 6);
  EXPECT_TRUE(list->UpdateDelayTime(900));
  EXPECT_EQ(list->GetRecrodTimeStamp(5), 900);
  list->DeleteAllItems();
  EXPECT_FALSE(list->UpdateDelayTime(901));
}

// ===== CRecordList: stamps ===================================================================================

TEST_F(MacroListsTest, RecordUpdateTimeStampStopsAtThePress) {
  struct Case {
    const char* name;
    int type, key;
    std::vector<int> stamps;
  } cases[] = {
      // Rows: A down, A up, A down, B up, A up, A up.
      {"A release: the latest releases and their press", 3, 65, {1, 2, 9, 4, 9, 9}},
      {"B release: its own row, no press of B above", 3, 66, {1, 2, 3, 9, 5, 6}},
      {"A press: every press of A", 2, 65, {9, 2, 9, 4, 5, 6}},
      {"a key not in the list", 3, 67, {1, 2, 3, 4, 5, 6}},
  };
  for (const Case& c : cases) {
    CRecordList* list = AddRecords(
        {{L"↓  A", 2, 65, 1}, {L"↑  A", 3, 65, 2}, {L"↓  A", 2, 65, 3}, {L"↑  B", 3, 66, 4}, {L"↑  A", 3, 65, 5},
         {L"↑  A", 3, 65, 6}});
    list->UpdateTimeStamp(c.type, c.key, 9);
    EXPECT_EQ(Stamps(list), c.stamps) << c.name;
    page->RemoveControl(list);
  }
  // Mouse buttons pair as 4 and 5.
  CRecordList* list = AddRecords({{L"↓  LB", 4, 1, 1}, {L"↓  LB", 4, 1, 2}, {L"↑  LB", 5, 1, 3}});
  list->UpdateTimeStamp(5, 1, 9);
  EXPECT_EQ(Stamps(list), (std::vector<int>{1, 9, 9}));
}

TEST_F(MacroListsTest, RecordSetRecordInfoByStampRewritesTheRowsOfOneType) {
  CRecordList* list = AddRecords({{L"↓  LB", 4, 1, 200}, {L"10 ms", 1, 10, 201}, {L"↑  LB", 5, 1, 200},
                                  {L"↓  LB", 4, 1, 300}});
  EXPECT_EQ(list->SetRecordInfo(200, 4, L"↓  RB", 2), 1);
  EXPECT_EQ(list->SetRecordInfo(200, 5, L"↑  RB", 2), 1);
  EXPECT_EQ(list->SetRecordInfo(999, 4, L"nothing", 2), 0);
  EXPECT_EQ(Texts(list), (std::vector<CString>{L"↓  RB", L"10 ms", L"↑  RB", L"↓  LB"}));
  CString text;
  int type = 0, key = 0, value = 0;
  list->GetRecordInfo(3, text, type, key, value);
  EXPECT_EQ(key, 1) << "the row of another stamp keeps its button";
}

TEST_F(MacroListsTest, RecordPressHighlightsThePartnerRows) {
  CRecordList* list = AddRecords({{L"↓  LB", 4, 1, 200}, {L"10 ms", 1, 10, 201}, {L"↑  LB", 5, 1, 200}});
  Repaint();
  const ARGB plainRow = Pixel(24, TextOf(list, 2).y);
  Button(dlg, true, TextOf(list, 0).x, TextOf(list, 0).y);
  ASSERT_EQ(CodesFrom(kRecordsId), std::vector<UINT>{CN_PRESS});
  EXPECT_EQ(From(kRecordsId)[0].wParam, 0u);
  Button(dlg, false, TextOf(list, 0).x, TextOf(list, 0).y);
  EXPECT_EQ(CodesFrom(kRecordsId), (std::vector<UINT>{CN_PRESS, CN_CLICK}));
  EXPECT_EQ(From(kRecordsId)[1].wParam, 0u);
  Move(dlg, 460, 440);  // off the list: only selection and partners stay lit
  Pump(dlg);
  EXPECT_TRUE(list->IsRowHighlighted(0));
  EXPECT_FALSE(list->IsRowHighlighted(1));
  EXPECT_TRUE(list->IsRowHighlighted(2)) << "the release shares the press's stamp";
  EXPECT_NE(Pixel(24, TextOf(list, 2).y), plainRow);
  EXPECT_EQ(Pixel(24, TextOf(list, 2).y), Pixel(24, TextOf(list, 0).y));
  EXPECT_EQ(Pixel(24, TextOf(list, 1).y), plainRow);

  // A press on free space below the rows selects nothing and says so.
  dlg.notices.clear();
  Button(dlg, true, 200, 380);
  ASSERT_EQ(CodesFrom(kRecordsId), std::vector<UINT>{CN_PRESS});
  EXPECT_EQ(From(kRecordsId)[0].wParam, WPARAM(-1));
  Button(dlg, false, 200, 380);
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_FALSE(list->IsRowHighlighted(2));
}

TEST_F(MacroListsTest, RecordIconFrameByTypeAndHighlight) {
  struct Case {
    int type;
    int plain;
  } cases[] = {{1, 6}, {2, 2}, {3, 2}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {8, 0}, {12, 0}, {13, 2}, {0, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(CRecordList::IconFrame(c.type, false), c.plain) << c.type;
    EXPECT_EQ(CRecordList::IconFrame(c.type, true), c.plain + 1) << c.type;
  }
}

TEST_F(MacroListsTest, RecordDeletingAPressReleasePairKeepsTheRest) {
  CRecordList* list = AddRecords({{L"↓  A", 2, 65, 100}, {L"10 ms", 1, 10, 101}, {L"↓  LB", 4, 1, 200},
                                  {L"10 ms", 1, 10, 201}, {L"↑  LB", 5, 1, 200}, {L"10 ms", 1, 10, 202},
                                  {L"↑  A", 3, 65, 102}});
  ASSERT_TRUE(list->GetScrollVertical()->IsVisible()) << "seven rows do not fit in five";
  Move(dlg, TextOf(list, 2).x, TextOf(list, 2).y);
  list->SetCurSel(4);
  EXPECT_EQ(list->DeleteTimeStamp(200), 2);
  EXPECT_EQ(Texts(list), (std::vector<CString>{L"↓  A", L"10 ms", L"10 ms", L"10 ms", L"↑  A"}));
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_EQ(list->GetHoverIndex(), -1);
  EXPECT_FALSE(list->GetScrollVertical()->IsVisible()) << "five rows fit";
  EXPECT_EQ(list->DeleteTimeStamp(200), 0);
}

// ===== CRecordList: order ==========================================================================================

TEST_F(MacroListsTest, RecordMovesAndSwaps) {
  struct Case {
    const char* name;
    char op;  // 't' MoveTop, 'b' MoveBottom, 's' SwapItem(a, b)
    int a, b;
    std::vector<CString> texts;
    int selected;
  } cases[] = {
      {"top of the first row", 't', 0, 0, {L"0", L"1", L"2", L"3"}, 0},
      {"row 2 to the top", 't', 2, 0, {L"2", L"0", L"1", L"3"}, 0},
      {"row 1 to the bottom", 'b', 1, 0, {L"0", L"2", L"3", L"1"}, 3},
      {"bottom of the last row", 'b', 3, 0, {L"0", L"1", L"2", L"3"}, 3},
      {"out of range to the top", 't', 4, 0, {L"0", L"1", L"2", L"3"}, 1},
      {"swap 0 and 3, selection follows its row", 's', 1, 3, {L"0", L"3", L"2", L"1"}, 3},
      {"swap out of range", 's', 1, 4, {L"0", L"1", L"2", L"3"}, 1},
  };
  for (const Case& c : cases) {
    CRecordList* list = AddRecords({{L"0", 2, 1, 1}, {L"1", 1, 10, 2}, {L"2", 3, 1, 3}, {L"3", 1, 10, 4}});
    list->SetCurSel(1);
    if (c.op == 't') list->MoveTop(c.a);
    else if (c.op == 'b') list->MoveBottom(c.a);
    else list->SwapItem(c.a, c.b);
    EXPECT_EQ(Texts(list), c.texts) << c.name;
    EXPECT_EQ(list->GetCurSel(), c.selected) << c.name;
    page->RemoveControl(list);
  }
}

// ===== CRecordList: input ===========================================================================================

TEST_F(MacroListsTest, RecordMoreButtonSendsSubClick) {
  CRecordList* list = AddRecords(kRecording);
  struct Case {
    const char* name;
    int row;
    bool onMore;
    UINT code;
  } cases[] = {{"text of row 2", 2, false, CN_CLICK}, {"more of row 2", 2, true, CN_SUBCLICK},
               {"more of row 4", 4, true, CN_SUBCLICK}};
  for (const Case& c : cases) {
    Move(dlg, TextOf(list, c.row).x, TextOf(list, c.row).y);
    const CPoint at = c.onMore ? MoreOf(list, c.row) : TextOf(list, c.row);
    dlg.notices.clear();
    Click(at);
    EXPECT_EQ(CodesFrom(kRecordsId), (std::vector<UINT>{CN_PRESS, c.code})) << c.name;
    EXPECT_EQ(From(kRecordsId).back().wParam, WPARAM(c.row)) << c.name;
    EXPECT_EQ(list->GetCurSel(), c.row) << c.name;
  }
  dlg.notices.clear();
  RightClick(TextOf(list, 3));
  EXPECT_EQ(CodesFrom(kRecordsId), std::vector<UINT>{CN_RCLICK});
  EXPECT_EQ(From(kRecordsId).back().wParam, 3u);
}

TEST_F(MacroListsTest, RecordScrollsPastTheRowsThatFit) {
  CRecordList* list = AddRecords({});
  for (int i = 0; i < 25; ++i) list->AddString((L"row " + std::to_wstring(i)).c_str(), i % 2 ? 1 : 2, 65, i);
  CScrollVertical* bar = list->GetScrollVertical();
  ASSERT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollMaxRange(), 25 * 36);
  const int x = 240, y = 240;  // 20 pixels into the list
  Move(dlg, x, y);
  EXPECT_EQ(list->GetHoverIndex(), 0);
  for (int notch = 0; notch < 7; ++notch) {
    platform::headless::InjectWheel(dlg.GetSafeHwnd(), -120, x, y);
    Pump(dlg);
  }
  // 7 notches of 10 bar steps move the bar to 700 of 900, which shows
  // the rows from 700 x (900 - 180) / 900 = 560 pixels down.
  EXPECT_EQ(bar->GetScrollCurrentPos(), 700);
  EXPECT_EQ(list->GetScrollOffset().y, 560);
  const int expected = (560 + 20) / 36;  // row 16
  EXPECT_EQ(list->GetHoverIndex(), expected) << "the row under the pointer follows the wheel";
  dlg.notices.clear();
  Click(CPoint(x, y));
  EXPECT_EQ(CodesFrom(kRecordsId), (std::vector<UINT>{CN_PRESS, CN_CLICK}));
  EXPECT_EQ(From(kRecordsId)[0].wParam, WPARAM(expected));
  EXPECT_EQ(list->GetCurSel(), expected);
  // Scrolled to the end the last row shows whole at the bottom.
  list->SetCurSel(24);
  const CRect last = list->ContentToWindow(list->GetItemRect(24));
  EXPECT_LE(last.bottom, 400);
  EXPECT_GE(last.top, 220);
  EXPECT_EQ(list->GetLastVisible(), 24);
}

TEST_F(MacroListsTest, RecordDoubleClickOpensAnEmptyEditor) {
  CRecordList* list = AddRecords(kRecording);
  EXPECT_EQ(list->GetDblClk(), 1);
  DoubleClick(TextOf(list, 1));
  ASSERT_EQ(list->GetEditIndex(), 1);
  TextEditor* editor = list->GetEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->IsOpen());
  EXPECT_EQ(editor->GetText(), L"");
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_EQ(Count(kRecordsId, CN_EDITBEGIN), 1);
  const CRect shown = list->ContentToWindow(list->GetItemRect(1));
  EXPECT_TRUE(shown.PtInRect(editor->GetRect().CenterPoint()));
  Repaint();
  const CPoint inside(editor->GetRect().right - 3, editor->GetRect().CenterPoint().y);
  EXPECT_EQ(Pixel(inside.x, inside.y), CRecordList::kEditorBack);

  Type(L"120");
  EXPECT_EQ(Count(kRecordsId, CN_EDITCHANGE), 3);
  EXPECT_EQ(list->GetEditText(), L"120");
  list->SetEditText(L"250");
  EXPECT_EQ(editor->GetText(), L"250");
  dlg.notices.clear();
  Press(VK_RETURN);
  ASSERT_EQ(CodesFrom(kRecordsId), std::vector<UINT>{CN_EDITEND});
  EXPECT_EQ(From(kRecordsId)[0].lParam, 1);
  EXPECT_FALSE(editor->IsOpen());
  EXPECT_EQ(list->GetEditIndex(), -1);
  EXPECT_EQ(list->GetEditText(), L"250") << "the page reads the text after closing";
  EXPECT_EQ(Texts(list)[1], L"50 ms") << "the row keeps its own text";

  // A press on another row closes an open editor first.
  DoubleClick(TextOf(list, 3));
  ASSERT_TRUE(editor->IsOpen());
  dlg.notices.clear();
  Button(dlg, true, TextOf(list, 0).x, TextOf(list, 0).y);
  EXPECT_FALSE(editor->IsOpen());
  ASSERT_GE(From(kRecordsId).size(), 2u);
  EXPECT_EQ(From(kRecordsId)[0].code, CN_EDITEND);
  EXPECT_EQ(From(kRecordsId)[0].lParam, 3);
  EXPECT_EQ(From(kRecordsId).back().code, CN_PRESS);
  Button(dlg, false, TextOf(list, 0).x, TextOf(list, 0).y);
}

TEST_F(MacroListsTest, RecordRowsFadeOnlyTowardsAnEdgeWithMoreRowsBeyond) {
  // Five rows fill the list exactly; a sixth lies beyond the bottom edge.
  struct Case {
    int rows;
    bool fades;
  } cases[] = {{5, false}, {6, true}};
  std::vector<ARGB> edge, inside;
  for (const Case& c : cases) {
    CRecordList* list = AddRecords({});
    for (int i = 0; i < c.rows; ++i) list->AddString(L"10 ms", 1, 10, i);
    list->SetCurSel(4);  // the row along the bottom edge, 364 to 400
    EXPECT_EQ(list->GetScrollVertical()->IsVisible() != 0, c.fades) << c.rows;
    Repaint();
    edge.push_back(Pixel(22, 397));
    inside.push_back(Pixel(22, 370));
    page->RemoveControl(list);
  }
  EXPECT_EQ(inside[0], inside[1]) << "above the band the row shows in full either way";
  EXPECT_NE(edge[0], edge[1]) << "the last pixels fade when a row lies beyond";
}

TEST_F(MacroListsTest, ListsAreBuiltByThePanelFactoryOnly) {
  for (const wchar_t* name : {L"MacroList", L"CRecordList"}) {
    EXPECT_TRUE(FactoryAccepts(FactoryKind::Panel, name)) << platform::ToUtf8(name);
    EXPECT_FALSE(FactoryAccepts(FactoryKind::Dialog, name)) << platform::ToUtf8(name);
    EXPECT_EQ(dlg.CreateControl(name, 800, CRect(0, 0, 100, 100), nullptr, 1, 1), nullptr);
    for (int visible : {0, 1}) {
      MControl* made = page->CreateControl(name, 801, CRect(0, 0, 100, 100), nullptr, visible, 1);
      ASSERT_NE(made, nullptr) << platform::ToUtf8(name);
      EXPECT_EQ(made->IsVisible(), visible);
      EXPECT_EQ(made->GetManager(), dlg.GetPaintManager());
      EXPECT_EQ(made->GetDblClk(), 1);
      page->RemoveControl(made);
    }
  }
}

TEST_F(MacroListsTest, RecordRowsReadFromAnotherThreadWhileTheWindowChangesThem) {
  CRecordList* list = AddRecords(kRecording);
  std::atomic<bool> done{false};
  std::atomic<int> torn{0}, snapshots{0};
  // A job reading the rows while the page records: every snapshot is a
  // whole list of whole rows.
  std::thread reader([&] {
    while (!done.load()) {
      for (const RecordItem& r : list->GetRecordItems()) {
        const bool delay = r.type == 1 && r.text == std::to_wstring(r.key) + L" ms";
        const bool event = r.type != 1 && !r.text.empty();
        if (!delay && !event) ++torn;
      }
      list->GetEventCount();
      ++snapshots;
    }
  });
  for (int i = 0; i < 150; ++i) {
    list->AddString(L"10 ms", 1, 10, 1000 + i);
    if (i % 3 == 0) list->DeleteItem(0);
    if (i % 10 == 0) Repaint();
  }
  while (snapshots.load() < 3) std::this_thread::yield();
  done = true;
  reader.join();
  EXPECT_EQ(torn.load(), 0);
  EXPECT_EQ(list->GetItemCount(), 6 + 150 - 50);
  EXPECT_EQ(list->GetScrollVertical()->GetScrollMaxRange(), list->GetItemCount() * 36);
}

}  // namespace
}  // namespace toolkit_test
