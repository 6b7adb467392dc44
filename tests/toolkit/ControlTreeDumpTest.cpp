// The control-tree dump: order, class names, screen rectangles through
// scrolled panels, state and text, and the hop to the window thread.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ToolkitFixture.h"
#include "platform/Text.h"
#include "toolkit/controls/CRecordList.h"
#include "toolkit/controls/DPIControl.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/ControlTreeDump.h"
#include "toolkit/core/DListBox.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/MTabCtrl.h"

namespace toolkit_test {
namespace {

class ControlTreeDumpTest : public ToolkitTest {
 protected:
  // The dialog at (100, 100), 400 x 300:
  //   50 outer panel (10, 10)-(210, 210), 400 of content, scrolled by 100
  //     51 inner panel (10, 110)-(210, 210) in the outer's content, 300 of
  //        content, scrolled by 100; rows 20, 21, 22 of 100 each
  //     52 probe (10, 300)-(210, 410) that makes the outer 400 high
  //   60 check button "Sound" checked, 61 radio button disabled unchecked,
  //   62 list with "a" "b" "c", "b" selected, 63 edit holding a"b\n,
  //   64 tabs with two items, the second selected,
  //   70 hidden panel holding the visible probe 71.
  // Panels and lists carry their own bars, ids 1 and 2.
  void Build(RecordingDialog& dlg) {
    Open(dlg);
    outer = new MPanel(&dlg, 50, CRect(10, 10, 210, 210), 1);
    dlg.GetPaintManager()->AttachControl(outer, 1);
    inner = new MPanel(outer, 51, CRect(10, 110, 210, 210), 1);
    outer->AttachControl(inner, 1);
    outer->AttachControl(new Probe(outer, 52, CRect(10, 300, 210, 410)), 1);
    for (int i = 0; i < 3; ++i) {
      rows[i] = new Probe(inner, 20 + UINT(i), CRect(10, 110 + 100 * i, 210, 210 + 100 * i));
      inner->AttachControl(rows[i], 1);
    }
    outer->GetScrollVertical()->SetScrollCurrentPos(200);
    inner->GetScrollVertical()->SetScrollCurrentPos(150);
    ASSERT_EQ(outer->GetScrollOffset(), CPoint(0, 100));
    ASSERT_EQ(inner->GetScrollOffset(), CPoint(0, 100));

    auto* check = static_cast<CCheckButton*>(dlg.CreateControl(L"CCheckButton", 60, CRect(220, 10, 300, 30),
                                                               L"Sound", 1, 1));
    check->SetCheck(1);
    dlg.CreateControl(L"CRadioButton", 61, CRect(220, 40, 300, 60), L"Off", 1, 0);
    auto* list = static_cast<DListBox*>(dlg.CreateControl(L"DListBox", 62, CRect(220, 70, 300, 130), nullptr, 1, 1));
    for (const wchar_t* item : {L"a", L"b", L"c"}) list->AddString(item);
    list->SetCurSel(1);
    auto* edit = static_cast<MEdit*>(dlg.CreateControl(L"MEdit", 63, CRect(220, 140, 300, 160), nullptr, 1, 1));
    edit->SetEditText(L"a\"b\n");
    auto* tabs = static_cast<MTabCtrl*>(dlg.CreateControl(L"MTabCtrl", 64, CRect(220, 170, 380, 200), nullptr, 1, 1));
    tabs->InsertItem(1, L"One", nullptr, nullptr);
    tabs->InsertItem(2, L"Two", nullptr, nullptr);
    tabs->SetSelectItem(1);
    auto* hidden = new MPanel(&dlg, 70, CRect(10, 220, 110, 280), 0);
    dlg.GetPaintManager()->AttachControl(hidden, 1);
    hidden->AttachControl(new Probe(hidden, 71, CRect(20, 230, 60, 250)), 1);
    Pump(dlg);
  }

  static std::vector<std::string> Lines(RecordingDialog& dlg) {
    std::vector<std::string> lines;
    for (const ControlTreeEntry& e : ControlTreeDump::Collect(dlg)) {
      lines.push_back(platform::ToUtf8(ControlTreeDump::FormatLine(e)));
    }
    return lines;
  }

  MPanel* outer = nullptr;
  MPanel* inner = nullptr;
  Probe* rows[3] = {};
};

TEST_F(ControlTreeDumpTest, DumpListsEveryControlInTreeOrderWithScreenRectanglesStateAndText) {
  RecordingDialog dlg;
  Build(dlg);
  const CRect outerBar = outer->GetScrollVertical()->GetRect();
  const CRect innerBar = inner->GetScrollVertical()->GetRect();
  // The bars are laid out by the panels in the coordinates their panel sits
  // in; the dump moves them to the screen, never by their own panel's offset.
  // The inner bars are in the outer's content, so the outer's offset applies.
  ASSERT_EQ(outerBar, CRect(205, 10, 210, 210));
  ASSERT_EQ(innerBar, CRect(205, 110, 210, 210));

  // Window (100, 100). Outer content is shifted up by 100; inner content by
  // a further 100, so row 21 (inner content y 210) shows at window y 10.
  const std::vector<std::string> expected = {
      "id=50 class=MPanel path=50 pos=110,110 size=200x200 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "  id=1 class=CScrollVertical path=50/1 pos=305,110 size=5x200 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "  id=2 class=CScrollHorizontal path=50/2 pos=110,305 size=195x5 visible=0 shown=0 enabled=1 state=- text=\"\"",
      "  id=51 class=MPanel path=50/51 pos=110,110 size=200x100 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "    id=1 class=CScrollVertical path=50/51/1 pos=305,110 size=5x100 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "    id=2 class=CScrollHorizontal path=50/51/2 pos=110,205 size=195x5 visible=0 shown=0 enabled=1 state=- text=\"\"",
      "    id=20 class=toolkit_test::Probe path=50/51/20 pos=110,10 size=200x100 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "    id=21 class=toolkit_test::Probe path=50/51/21 pos=110,110 size=200x100 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "    id=22 class=toolkit_test::Probe path=50/51/22 pos=110,210 size=200x100 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "  id=52 class=toolkit_test::Probe path=50/52 pos=110,300 size=200x110 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "id=60 class=CCheckButton path=60 pos=320,110 size=80x20 visible=1 shown=1 enabled=1 state=checked text=\"Sound\"",
      "id=61 class=CRadioButton name=RadioButton path=61 pos=320,140 size=80x20 visible=1 shown=1 enabled=0 state=unchecked text=\"Off\"",
      "id=62 class=DListBox path=62 pos=320,170 size=80x60 visible=1 shown=1 enabled=1 state=selected:1 text=\"\"",
      "  id=1 class=CScrollVertical path=62/1 pos=395,170 size=5x60 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "  id=2 class=CScrollHorizontal path=62/2 pos=320,225 size=75x5 visible=0 shown=0 enabled=1 state=- text=\"\"",
      "id=63 class=MEdit path=63 pos=320,240 size=80x20 visible=1 shown=1 enabled=1 state=- text=\"a\\\"b\\n\"",
      "id=64 class=MTabCtrl path=64 pos=320,270 size=160x30 visible=1 shown=1 enabled=1 state=selected:1;tab1=0,0,80x30;tab2=80,0,80x30 text=\"\"",
      "id=70 class=MPanel path=70 pos=110,320 size=100x60 visible=0 shown=0 enabled=1 state=- text=\"\"",
      "  id=1 class=CScrollVertical path=70/1 pos=205,320 size=5x60 visible=0 shown=0 enabled=1 state=- text=\"\"",
      "  id=2 class=CScrollHorizontal path=70/2 pos=110,375 size=100x5 visible=0 shown=0 enabled=1 state=- text=\"\"",
      "  id=71 class=toolkit_test::Probe path=70/71 pos=120,330 size=40x20 visible=1 shown=0 enabled=1 state=- text=\"\"",
  };
  const std::vector<std::string> lines = Lines(dlg);
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i;
}

TEST_F(ControlTreeDumpTest, ScreenRectangleOfAScrolledControlIsWhereItTakesThePress) {
  RecordingDialog dlg;
  Build(dlg);
  for (Probe* row : rows) {
    SCOPED_TRACE(row->GetControlID());
    const auto entries = ControlTreeDump::Collect(dlg);
    const ControlTreeEntry* entry = nullptr;
    for (const ControlTreeEntry& e : entries) {
      if (e.path == L"50/51/" + std::to_wstring(row->GetControlID())) entry = &e;
    }
    ASSERT_NE(entry, nullptr);
    // The middle of the part that shows inside both panels' views.
    const int top = std::max<int>(entry->screen.top, 110), bottom = std::min<int>(entry->screen.bottom, 210);
    if (top >= bottom) {
      EXPECT_NE(row->GetControlID(), 21u) << "the middle row shows";
      continue;
    }
    POINT pt{(entry->screen.left + entry->screen.right) / 2, (top + bottom) / 2};
    dlg.ScreenToClient(&pt);
    const size_t before = row->downs.size();
    Move(dlg, pt.x, pt.y);
    Button(dlg, true, pt.x, pt.y);
    Button(dlg, false, pt.x, pt.y);
    EXPECT_EQ(row->downs.size(), before + 1);
  }
  EXPECT_EQ(rows[1]->downs.size(), 1u);
}

// Tabs are no controls of their own: the tab strip names where each sits, and
// a click there selects it; a hidden tab is not listed.
TEST_F(ControlTreeDumpTest, TabRectanglesInTheStateAreWhereTheTabsTakeTheClick) {
  RecordingDialog dlg;
  Build(dlg);
  auto* tabs = static_cast<MTabCtrl*>(dlg.GetControl(64));
  ASSERT_NE(tabs, nullptr);
  tabs->InsertItem(3, L"Three", nullptr, nullptr);
  tabs->SetItemVisible(1, 0);
  Pump(dlg);
  const ControlTreeEntry* entry = nullptr;
  const auto entries = ControlTreeDump::Collect(dlg);
  for (const ControlTreeEntry& e : entries) {
    if (e.path == L"64") entry = &e;
  }
  ASSERT_NE(entry, nullptr);
  const std::string state = platform::ToUtf8(entry->state);
  EXPECT_EQ(state.find(";tab2="), std::string::npos) << state;
  for (const UINT id : {1u, 3u}) {
    SCOPED_TRACE(id);
    const std::string key = ";tab" + std::to_string(id) + "=";
    const size_t at = state.find(key);
    ASSERT_NE(at, std::string::npos) << state;
    int dx = 0, dy = 0, w = 0, h = 0;
    ASSERT_EQ(std::sscanf(state.c_str() + at + key.size(), "%d,%d,%dx%d", &dx, &dy, &w, &h), 4) << state;
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    POINT pt{entry->screen.left + dx + w / 2, entry->screen.top + dy + h / 2};
    dlg.ScreenToClient(&pt);
    Move(dlg, pt.x, pt.y);
    Button(dlg, true, pt.x, pt.y);
    Button(dlg, false, pt.x, pt.y);
    EXPECT_EQ(tabs->GetItemID(tabs->GetSelectItem()), id);
  }
}

TEST_F(ControlTreeDumpTest, FormatStartsWithTheWindowLineAndCountsTheControls) {
  RecordingDialog dlg;
  Build(dlg);
  dlg.SetWindowTextW(L"Main \"window\"");
  const std::string text = platform::ToUtf8(ControlTreeDump::Format(dlg));
  const std::string first = text.substr(0, text.find('\n'));
  EXPECT_EQ(first,
            "window class=toolkit_test::RecordingDialog title=\"Main \\\"window\\\"\" pos=100,100 size=400x300 "
            "visible=1 enabled=1 controls=21");
  size_t newlines = 0;
  for (char c : text) newlines += c == '\n';
  EXPECT_EQ(newlines, 22u);
  EXPECT_EQ(text.back(), '\n');
}

// Controls built on the core report their selection through their own hook.
TEST_F(ControlTreeDumpTest, ControlsBuiltOnTheCoreReportTheirOwnSelection) {
  RecordingDialog dlg;
  Open(dlg);
  auto* page = new MPanel(&dlg, 15, CRect(0, 0, 400, 300), 1);
  dlg.GetPaintManager()->AttachControl(page, 1);
  auto* stages = dynamic_cast<DPIControl*>(page->CreateControl(L"DPIControl", 80, CRect(10, 10, 390, 80), nullptr, 1, 1));
  ASSERT_NE(stages, nullptr);
  for (int dpi : {800, 1600, 3200}) stages->AddItem(dpi, 0);
  auto* records = dynamic_cast<CRecordList*>(page->CreateControl(L"CRecordList", 81, CRect(10, 90, 390, 290), nullptr, 1, 1));
  ASSERT_NE(records, nullptr);
  for (const wchar_t* row : {L"A", L"B", L"C"}) records->AddString(row, 1, 4, 0);
  Pump(dlg);

  const struct {
    const char* what;
    std::function<void()> act;
    const char* stagesState;
    const char* recordsState;
  } cases[] = {
      {"as built", [] {}, "selected:0", "selected:-1"},
      {"both moved", [&] { stages->SetSelectItem(2); records->SetCurSel(1); }, "selected:2", "selected:1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.act();
    std::string stagesState, recordsState;
    for (const ControlTreeEntry& e : ControlTreeDump::Collect(dlg)) {
      if (e.path == L"15/80") stagesState = platform::ToUtf8(e.state);
      if (e.path == L"15/81") recordsState = platform::ToUtf8(e.state);
    }
    EXPECT_EQ(stagesState, c.stagesState);
    EXPECT_EQ(recordsState, c.recordsState);
  }
}

TEST_F(ControlTreeDumpTest, QuoteEscapesWhatWouldBreakTheLine) {
  const struct {
    const wchar_t* text;
    const char* quoted;
  } cases[] = {
      {L"", "\"\""},
      {L"plain text", "\"plain text\""},
      {L"a\"b", "\"a\\\"b\""},
      {L"back\\slash", "\"back\\\\slash\""},
      {L"two\nlines\tand tab", "\"two\\nlines\\tand tab\""},
      {L"bell\x07 del\x7F", "\"bell\\x07 del\\x7F\""},
      {L"\x4E2D\x6587", "\"\xE4\xB8\xAD\xE6\x96\x87\""},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::ToUtf8(ControlTreeDump::Quote(c.text)), c.quoted);
}

TEST_F(ControlTreeDumpTest, PostDumpRunsOnTheWindowThreadAndNotForAClosedWindow) {
  RecordingDialog dlg;
  Build(dlg);
  std::atomic<int> queued{-1};
  std::thread other([&] { queued = ControlTreeDump::PostDump(dlg, [&](CString text) {
    EXPECT_TRUE(dlg.GetPaintManager()->IsWindowThread());
    dlg.SetWindowTextW(text.c_str());
  }); });
  other.join();
  ASSERT_EQ(queued.load(), 1);
  // Nothing runs until the window thread takes its messages.
  EXPECT_EQ(platform::ToUtf8(dlg.GetWindowTextW()), "test");
  Pump(dlg);
  EXPECT_EQ(dlg.GetWindowTextW().rfind(L"window class=toolkit_test::RecordingDialog", 0), 0u);

  RecordingDialog never;
  bool called = false;
  EXPECT_EQ(ControlTreeDump::PostDump(never, [&](CString) { called = true; }), 0);
  EXPECT_FALSE(called);

  // A request still queued when its window goes is dropped unrun.
  RecordingDialog closing;
  Build(closing);
  EXPECT_EQ(ControlTreeDump::PostDump(closing, [&](CString) { called = true; }), 1);
  closing.DestroyWindow();
  Pump(dlg);
  EXPECT_FALSE(called);
}

}  // namespace
}  // namespace toolkit_test
