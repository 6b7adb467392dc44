// The macro page: the recorder (delay modes, late handling, long pauses,
// auto-repeat, held keys at the stop and at focus loss, the stop click, the
// event limit), insertion (place, stamps, the row limit, the keystroke
// dialog), the event editor, list editing, macros (new, delete, rename into
// the key records) and the macro stream the mouse stores once a button
// plays the macro.

#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "MainWindowFixture.h"
#include "device/MacroStream.h"
#include "platform/filechooser/ScriptedFileChooser.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/CRecordList.h"
#include "toolkit/controls/MacroList.h"
#include "toolkit/core/CIconButton.h"
#include "toolkit/core/CRadioButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MTabCtrl.h"
#include "toolkit/core/MenuItem.h"
#include "toolkit/core/MenuWnd.h"
#include "toolkit/core/Notify.h"
#include "ui/MacroPage.h"
#include "ui/RecordEditDlg.h"

namespace ui_test {
namespace {

using ui::MacroPage;
using ui::RawKeyEvent;

constexpr int kVkA = 'A';
constexpr int kVkB = 'B';

struct Row {
  std::wstring text;
  int type;
  int key;
  bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os) {
  std::string narrow;
  for (wchar_t c : r.text) narrow += c < 128 ? char(c) : (c == L'↓' ? 'v' : c == L'↑' ? '^' : '?');
  *os << "{\"" << narrow << "\", " << r.type << ", " << r.key << "}";
}

// An input event at a time relative to the start of the recording.
struct Input {
  int kind;  // RawKeyEvent::kMouse or kKeyboard
  int up;
  int code;
  const wchar_t* name;
  int at;
};
constexpr Input Down(int code, const wchar_t* name, int at) { return {RawKeyEvent::kKeyboard, 0, code, name, at}; }
constexpr Input Up(int code, const wchar_t* name, int at) { return {RawKeyEvent::kKeyboard, 1, code, name, at}; }
constexpr Input Press(int mask, const wchar_t* name, int at) { return {RawKeyEvent::kMouse, 0, mask, name, at}; }
constexpr Input Release(int mask, const wchar_t* name, int at) { return {RawKeyEvent::kMouse, 1, mask, name, at}; }

class MacroPageTest : public MainWindowTest {
 protected:
  void TearDown() override {
    SettingsStore::GetInstance().CloseDatabase();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    MainWindowTest::TearDown();
  }
  // The window with a cable mouse picked and a database of its own (which
  // holds the macros), on the macro tab.
  std::unique_ptr<DeviceMainDlg> OpenPage() {
    auto dlg = Open(1);
    folder_ = std::filesystem::temp_directory_path() / ("orvane-macropage-" + std::to_string(::getpid()) + "-" +
                                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    std::filesystem::create_directories(folder_);
    dlg->Store().SetDatabaseFolder(folder_);
    RunJobs(*dlg);
    Pick(*dlg, 2);
    RunJobs(*dlg);
    EXPECT_TRUE(dlg->Store().IsOpened());
    dlg->SetMessageBox([this](const wchar_t* text, HWND, const wchar_t* title, int) {
      messages_.push_back({title, text});
      return 1;
    });
    dlg->GetTabs()->SetSelectItem(3);
    // The pointer leaves the window and comes back: the window keeps a
    // hovered control while the pointer stays inside its rectangle, even
    // once it is hidden, and the home page (hidden now) covers the pages.
    platform::headless::InjectPointerExit();
    Pump();
    return dlg;
  }
  static MacroPage& Page(DeviceMainDlg& dlg) {
    return *static_cast<MacroPage*>(dlg.GetDevicePage(DeviceMainDlg::kMacroPage));
  }
  static void Click(DeviceMainDlg& dlg, MControl* control) {
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->IsVisible() && control->IsEnabled());
    const CPoint c = control->GetRect().CenterPoint();
    platform::headless::AdvanceTime(1000);
    platform::headless::InjectMouseMove(dlg.GetSafeHwnd(), c.x, c.y);
    Pump();
    platform::headless::InjectClick(dlg.GetSafeHwnd(), c.x, c.y);
    Pump();
  }
  static uint32_t Now() { return uint32_t(platform::GetTickCount64()); }
  static std::vector<Row> Rows(MacroPage& page) {
    std::vector<Row> rows;
    for (const RecordItem& item : page.GetRecordList()->GetRecordItems())
      rows.push_back({item.text, item.type, item.key});
    return rows;
  }
  static std::vector<int> Stamps(MacroPage& page) {
    std::vector<int> stamps;
    for (const RecordItem& item : page.GetRecordList()->GetRecordItems()) stamps.push_back(item.value);
    return stamps;
  }
  static std::vector<Row> StoredRows(DeviceMainDlg& dlg, int macroId) {
    std::vector<MacroEvent> events;
    dlg.Store().ListMacroEvents(macroId, events);
    std::vector<Row> rows;
    for (const MacroEvent& e : events) rows.push_back({e.desc, e.type, e.value});
    return rows;
  }
  // A new macro made with the page's button, selected and shown.
  int NewMacro(DeviceMainDlg& dlg) {
    Click(dlg, Page(dlg).Control(MacroPage::kNewMacro));
    return Page(dlg).SelectedMacro();
  }
  static void Feed(MacroPage& page, uint32_t base, const Input& in) {
    RawKeyEvent e;
    e.kind = in.kind;
    e.up = in.up;
    e.code = in.code;
    e.name = in.name;
    e.time = base + uint32_t(in.at);
    page.AddRecordedEvent(e);
  }
  static void Fill(MacroPage& page, const std::vector<std::tuple<const wchar_t*, int, int, int>>& rows) {
    for (const auto& [text, type, key, stamp] : rows) page.GetRecordList()->AddString(text, type, key, stamp);
    page.SaveEvents();
  }

  std::vector<std::pair<std::wstring, std::wstring>> messages_;  // title, text
  std::filesystem::path folder_;
};

// --- The recorder ---------------------------------------------------------------------------------

TEST_F(MacroPageTest, RecordingGivesEventsAndDelaysByMode) {
  struct Case {
    const char* name;
    UINT delayRadio;
    const wchar_t* fixed;  // the delay field in mode 2
    std::vector<Input> inputs;
    int stopAt;
    std::vector<Row> rows;
  };
  const Case cases[] = {
      {"recorded delays: the pause after the last event closes the macro",
       MacroPage::kDelayRecorded,
       nullptr,
       {Down(kVkA, L"A", 0), Up(kVkA, L"A", 120)},
       160,
       {{L"↓  A", 2, kVkA}, {L"120 ms", 1, 120}, {L"↑  A", 3, kVkA}, {L"40 ms", 1, 40}}},
      {"fixed 50 ms: none before the first event, one before every other and at the end",
       MacroPage::kDelayFixed,
       L"50",
       {Down(kVkA, L"A", 0), Up(kVkA, L"A", 7), Down(kVkB, L"B", 900), Up(kVkB, L"B", 901)},
       5000,
       {{L"↓  A", 2, kVkA},
        {L"50 ms", 1, 50},
        {L"↑  A", 3, kVkA},
        {L"50 ms", 1, 50},
        {L"↓  B", 2, kVkB},
        {L"50 ms", 1, 50},
        {L"↑  B", 3, kVkB},
        {L"50 ms", 1, 50}}},
      {"no delays",
       MacroPage::kDelayNone,
       nullptr,
       {Down(kVkA, L"A", 0), Up(kVkA, L"A", 300)},
       900,
       {{L"↓  A", 2, kVkA}, {L"↑  A", 3, kVkA}}},
      {"a pause of 45 s is cut to 31000 ms",
       MacroPage::kDelayRecorded,
       nullptr,
       {Down(kVkA, L"A", 0), Up(kVkA, L"A", 45000)},
       45000,
       {{L"↓  A", 2, kVkA}, {L"31000 ms", 1, 31000}, {L"↑  A", 3, kVkA}}},
      {"auto-repeat of a held key is not recorded",
       MacroPage::kDelayRecorded,
       nullptr,
       {Down(kVkA, L"A", 0), Down(kVkA, L"A", 30), Down(kVkA, L"A", 60), Up(kVkA, L"A", 100)},
       100,
       {{L"↓  A", 2, kVkA}, {L"100 ms", 1, 100}, {L"↑  A", 3, kVkA}}},
      {"the side buttons, by mask",
       MacroPage::kDelayNone,
       nullptr,
       {Press(8, L"Backward", 0), Release(8, L"Backward", 5), Press(16, L"Forward", 9), Release(16, L"Forward", 12)},
       20,
       {{L"↓  Backward", 4, 8}, {L"↑  Backward", 5, 8}, {L"↓  Forward", 4, 16}, {L"↑  Forward", 5, 16}}},
      {"a key held at the stop gets its release",
       MacroPage::kDelayRecorded,
       nullptr,
       {Down(kVkA, L"A", 0), Down(kVkB, L"B", 10)},
       50,
       {{L"↓  A", 2, kVkA},
        {L"10 ms", 1, 10},
        {L"↓  B", 2, kVkB},
        {L"40 ms", 1, 40},
        {L"↑  B", 3, kVkB},
        {L"↑  A", 3, kVkA}}},
      {"a release of a key pressed before the start is left out",
       MacroPage::kDelayRecorded,
       nullptr,
       {Up(kVkB, L"B", 0), Down(kVkA, L"A", 20), Up(kVkA, L"A", 30)},
       30,
       {{L"↓  A", 2, kVkA}, {L"10 ms", 1, 10}, {L"↑  A", 3, kVkA}}},
  };
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int macro = NewMacro(*dlg);
    ASSERT_GT(macro, 0);
    Click(*dlg, page.Control(c.delayRadio));
    if (c.fixed != nullptr) static_cast<MEdit*>(page.Control(MacroPage::kDelayField))->SetEditText(c.fixed);
    Click(*dlg, page.Control(MacroPage::kRecord));
    ASSERT_TRUE(page.IsRecording());
    EXPECT_EQ(dlg->GetRawInputMode(), ui::kRawInputRecord);
    EXPECT_TRUE(dlg->HasRawInputListener());
    EXPECT_EQ(page.GetMacroList()->IsEnabled(), 0) << "only the record button stays live";
    EXPECT_EQ(dlg->GetTabs()->IsEnabled(), 0);
    EXPECT_NE(page.Control(MacroPage::kRecord)->IsEnabled(), 0);
    // The pointer leaves the record button: clicks over it are not recorded.
    const CPoint away = page.GetRecordList()->GetRect().CenterPoint();
    platform::headless::InjectMouseMove(dlg->GetSafeHwnd(), away.x, away.y);
    Pump();
    const uint32_t start = Now();
    // The window is busy: every event is handled after the last was queued.
    platform::headless::AdvanceTime(uint32_t(c.stopAt));
    for (const Input& in : c.inputs) Feed(page, start, in);
    page.ToggleRecording();
    EXPECT_FALSE(page.IsRecording());
    EXPECT_FALSE(dlg->HasRawInputListener());
    EXPECT_NE(page.GetMacroList()->IsEnabled(), 0);
    EXPECT_NE(dlg->GetTabs()->IsEnabled(), 0);
    EXPECT_EQ(Rows(page), c.rows);
    EXPECT_EQ(StoredRows(*dlg, macro), c.rows) << "saved when the recording stopped";
    const std::vector<int> stamps = Stamps(page);
    EXPECT_EQ(std::set<int>(stamps.begin(), stamps.end()).size(), stamps.size()) << "recorded rows carry own stamps";
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MacroPageTest, TheStopClickIsNotRecordedAndEndsTheLastPause) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  MControl* record = page.Control(MacroPage::kRecord);
  Click(*dlg, record);
  ASSERT_TRUE(page.IsRecording());
  // A click elsewhere is an event of the macro.
  const CPoint away = page.GetRecordList()->GetRect().CenterPoint();
  platform::headless::InjectMouseMove(dlg->GetSafeHwnd(), away.x, away.y);
  Pump();
  const uint32_t start = Now();
  Feed(page, start, Press(1, L"LB", 0));
  Feed(page, start, Release(1, L"LB", 100));
  // The press and release over the record button stop the recording; the
  // window hands the press to the recorder before the button sees it. The
  // window is busy: the click is handled 400 ms after its press was queued.
  const CPoint c = record->GetRect().CenterPoint();
  platform::headless::InjectMouseMove(dlg->GetSafeHwnd(), c.x, c.y);
  Pump();
  platform::headless::AdvanceTime(start + 150 - Now());
  platform::headless::InjectButton(dlg->GetSafeHwnd(), platform::headless::Button::Left, true, c.x, c.y);
  platform::headless::AdvanceTime(400);
  platform::headless::InjectButton(dlg->GetSafeHwnd(), platform::headless::Button::Left, false, c.x, c.y);
  Pump();
  EXPECT_FALSE(page.IsRecording());
  const std::vector<Row> rows{{L"↓  LB", 4, 1}, {L"100 ms", 1, 100}, {L"↑  LB", 5, 1}, {L"50 ms", 1, 50}};
  EXPECT_EQ(Rows(page), rows);
  EXPECT_EQ(StoredRows(*dlg, macro), rows);
}

TEST_F(MacroPageTest, TheThirtiethEventStopsTheRecordingWithItsMessage) {
  struct Case {
    const char* name;
    int pairs;      // press-release pairs of A before the last press
    bool heldLast;  // a press of B left held when the limit is reached
  };
  const Case cases[] = {{"fifteen pairs", 15, false}, {"fourteen pairs and a held key", 14, true}};
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.clear();
    const int macro = NewMacro(*dlg);
    Click(*dlg, page.Control(MacroPage::kDelayNone));
    Click(*dlg, page.Control(MacroPage::kRecord));
    const uint32_t start = Now();
    for (int i = 0; i < c.pairs; ++i) {
      Feed(page, start, Down(kVkA, L"A", 2 * i));
      Feed(page, start, Up(kVkA, L"A", 2 * i + 1));
    }
    if (c.heldLast) Feed(page, start, Down(kVkB, L"B", 100));
    EXPECT_FALSE(page.IsRecording());
    EXPECT_EQ(messages_, (std::vector<std::pair<std::wstring, std::wstring>>{
                             {L"Recording", L"This macro has reached its maximum number of events."}}));
    // Nothing more is taken.
    Feed(page, start, Down(kVkB, L"B", 200));
    EXPECT_EQ(page.GetRecordList()->GetEventCount(), MacroPage::kEventLimit);
    const std::vector<Row> stored = StoredRows(*dlg, macro);
    ASSERT_EQ(int(stored.size()), MacroPage::kEventLimit);
    EXPECT_EQ(stored.back(), c.heldLast ? (Row{L"↑  B", 3, kVkB}) : (Row{L"↑  A", 3, kVkA}));
  }
}

TEST_F(MacroPageTest, AKeyHeldWhenTheWindowLosesTheFocusGetsItsRelease) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  Click(*dlg, page.Control(MacroPage::kRecord));
  const uint32_t start = Now();
  Feed(page, start, Down(kVkA, L"A", 0));
  platform::headless::AdvanceTime(70);
  dlg->SendMessageW(WM_NCACTIVATE, 0, 0);
  // The release the window never saw, and one coming back late, add nothing.
  Feed(page, start, Up(kVkA, L"A", 400));
  platform::headless::AdvanceTime(30);
  page.ToggleRecording();
  EXPECT_EQ(StoredRows(*dlg, macro),
            (std::vector<Row>{{L"↓  A", 2, kVkA}, {L"70 ms", 1, 70}, {L"↑  A", 3, kVkA}, {L"30 ms", 1, 30}}));
}

TEST_F(MacroPageTest, RecordingWithoutAMacroShowsTheMessageAndADeviceChangeStopsIt) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  ASSERT_EQ(page.SelectedMacro(), 0);
  Click(*dlg, page.Control(MacroPage::kRecord));
  EXPECT_FALSE(page.IsRecording());
  EXPECT_EQ(
      messages_,
      (std::vector<std::pair<std::wstring, std::wstring>>{{L"Start recording", L"Select or create a macro first."}}));

  const int macro = NewMacro(*dlg);
  Click(*dlg, page.Control(MacroPage::kRecord));
  ASSERT_TRUE(page.IsRecording());
  Feed(page, Now(), Down(kVkA, L"A", 0));
  dlg->StopMacroRecording();
  EXPECT_FALSE(page.IsRecording());
  EXPECT_FALSE(dlg->HasRawInputListener());
  EXPECT_EQ(StoredRows(*dlg, macro), (std::vector<Row>{{L"↓  A", 2, kVkA}, {L"↑  A", 3, kVkA}}));
}

// --- Insertion ------------------------------------------------------------------------------------------

TEST_F(MacroPageTest, InsertedEventsGoBehindTheSelectedDelayWithTheirStamps) {
  const std::vector<std::tuple<const wchar_t*, int, int, int>> base = {
      {L"↓  A", 2, kVkA, 1}, {L"10 ms", 1, 10, 2}, {L"↑  A", 3, kVkA, 3}, {L"20 ms", 1, 20, 4}, {L"↓  B", 2, kVkB, 5}};
  struct Case {
    const char* name;
    int select;  // -1: nothing
    int command;
    int at;  // where the new rows begin
    std::vector<Row> rows;
  };
  const Row lbDown{L"↓  LB", 4, 1}, lbUp{L"↑  LB", 5, 1}, d10{L"10 ms", 1, 10};
  const Case cases[] = {
      {"nothing selected: appended", -1, MacroPage::kInsertLeft, 5, {lbDown, d10, lbUp, d10}},
      {"a key row: behind the delay under it",
       0,
       MacroPage::kInsertMiddle,
       2,
       {{L"↓  MB", 4, 4}, d10, {L"↑  MB", 5, 4}, d10}},
      {"a delay row: behind itself", 3, MacroPage::kInsertRight, 4, {{L"↓  RB", 4, 2}, d10, {L"↑  RB", 5, 2}, d10}},
      {"below the last delay: appended", 4, MacroPage::kInsertLeft, 5, {lbDown, d10, lbUp, d10}},
      {"a delay goes in front of the delay found", 2, MacroPage::kInsertDelay, 3, {d10}},
      {"a keystroke from the dialog", -1, MacroPage::kInsertKey, 5, {{L"↓  K", 2, 'K'}, d10, {L"↑  K", 3, 'K'}, d10}},
  };
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  page.SetKeyDialog([](int& code, std::wstring& name) {
    code = 'K';
    name = L"K";
    return true;
  });
  page.SetTickSource([] { return 5000u; });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int macro = NewMacro(*dlg);
    Fill(page, base);
    page.GetRecordList()->SetCurSel(c.select);
    dlg->SendMessageW(DeviceMainDlg::kInsertMenu, 0, c.command);
    std::vector<Row> expected;
    for (const auto& [text, type, key, stamp] : base) expected.push_back({text, type, key});
    expected.insert(expected.begin() + c.at, c.rows.begin(), c.rows.end());
    EXPECT_EQ(Rows(page), expected);
    EXPECT_EQ(StoredRows(*dlg, macro), expected);
    const std::vector<int> stamps = Stamps(page);
    if (c.rows.size() == 4) {
      const int t = stamps[size_t(c.at)];
      EXPECT_EQ(t, 5000);
      EXPECT_EQ(std::vector<int>(stamps.begin() + c.at, stamps.begin() + c.at + 4),
                (std::vector<int>{t, t + 1, t, t + 2}))
          << "press and release share one stamp, the delays take the next two";
    } else {
      EXPECT_EQ(stamps[size_t(c.at)], 5000);
    }
  }
}

TEST_F(MacroPageTest, InsertionsInOneMillisecondKeepTheirStampsApart) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  page.SetTickSource([] { return 777u; });
  NewMacro(*dlg);
  for (int command :
       {MacroPage::kInsertLeft, MacroPage::kInsertLeft, MacroPage::kInsertDelay, MacroPage::kInsertRight}) {
    dlg->SendMessageW(DeviceMainDlg::kInsertMenu, 0, command);
  }
  ASSERT_EQ(page.GetRecordList()->GetItemCount(), 13);
  // Each pair shares one stamp; no stamp is shared across insertions.
  std::map<int, std::vector<int>> rowsOfStamp;
  const std::vector<int> stamps = Stamps(page);
  for (size_t i = 0; i < stamps.size(); ++i) rowsOfStamp[stamps[i]].push_back(int(i));
  EXPECT_EQ(rowsOfStamp.size(), 13u - 3u);
  for (const auto& [stamp, rows] : rowsOfStamp) {
    if (rows.size() == 1) continue;
    ASSERT_EQ(rows.size(), 2u) << "stamp " << stamp;
    EXPECT_EQ(rows[1] - rows[0], 2) << "only a press and its release share stamp " << stamp;
  }
  // Editing the first click's button changes that click only.
  page.GetRecordList()->SetCurSel(0);
  page.OnRowSelected();
  auto* buttons = static_cast<MComboBox*>(page.Control(MacroPage::kButtonSelector));
  buttons->SelectData(3);
  page.OnNotify(MacroPage::kButtonSelector, CN_CLICK, 0, 0);
  const std::vector<Row> rows = Rows(page);
  EXPECT_EQ(rows[0], (Row{L"↓  RB", 4, 2}));
  EXPECT_EQ(rows[2], (Row{L"↑  RB", 5, 2}));
  EXPECT_EQ(rows[4], (Row{L"↓  LB", 4, 1}));
  EXPECT_EQ(rows[6], (Row{L"↑  LB", 5, 1}));
}

TEST_F(MacroPageTest, TheListNeverGrowsTo200Rows) {
  struct Case {
    const char* name;
    int rows;
    int command;
    int after;
    bool refused;
  };
  const Case cases[] = {
      {"195 rows take a click", 195, MacroPage::kInsertLeft, 199, false},
      {"196 rows refuse a click", 196, MacroPage::kInsertLeft, 196, true},
      {"198 rows take a delay", 198, MacroPage::kInsertDelay, 199, false},
      {"199 rows refuse a delay", 199, MacroPage::kInsertDelay, 199, true},
  };
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.clear();
    NewMacro(*dlg);
    for (int i = 0; i < c.rows; ++i) page.GetRecordList()->AddString(L"10 ms", 1, 10, i + 1);
    dlg->SendMessageW(DeviceMainDlg::kInsertMenu, 0, c.command);
    EXPECT_EQ(page.GetRecordList()->GetItemCount(), c.after);
    EXPECT_EQ(messages_.size(), c.refused ? 1u : 0u);
    if (c.refused) {
      EXPECT_EQ(messages_[0].first, L"Insert");
    }
  }
  // A full list does not even open the menu.
  messages_.clear();
  Click(*dlg, page.Control(MacroPage::kInsert));
  EXPECT_EQ(page.GetOpenMenu(), nullptr);
  EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(MacroPageTest, TheKeystrokeCommandInsertsTheKeyPressedInTheDialog) {
  auto dlg = OpenPage();
  const int macro = NewMacro(*dlg);
  // Runs inside the dialog's modal loop.
  dlg->PostTask([] {
    HWND hwnd = platform::FindWindow(L"RecordEditDlg");
    ASSERT_NE(hwnd, nullptr);
    auto* edit = dynamic_cast<ui::RecordEditDlg*>(static_cast<MWindow*>(platform::GetWindowUserData(hwnd)));
    ASSERT_NE(edit, nullptr);
    platform::headless::InjectKeyPress('K');
    const CPoint ok = edit->GetControl(ui::RecordEditDlg::kConfirmId)->GetRect().CenterPoint();
    platform::headless::AdvanceTime(1000);
    platform::headless::InjectMouseMove(hwnd, ok.x, ok.y);
    platform::headless::InjectClick(hwnd, ok.x, ok.y);
  });
  dlg->SendMessageW(DeviceMainDlg::kInsertMenu, 0, MacroPage::kInsertKey);
  EXPECT_EQ(platform::FindWindow(L"RecordEditDlg"), nullptr);
  EXPECT_EQ(StoredRows(*dlg, macro),
            (std::vector<Row>{{L"↓  K", 2, 'K'}, {L"10 ms", 1, 10}, {L"↑  K", 3, 'K'}, {L"10 ms", 1, 10}}));
}

TEST_F(MacroPageTest, AKeystrokeDialogClosedWithoutAKeyInsertsNothing) {
  struct Case {
    const char* name;
    bool confirmed;
    int code;
  };
  const Case cases[] = {{"cancelled after a key", false, 'K'}, {"confirmed without a key", true, 0}};
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewMacro(*dlg);
    page.SetKeyDialog([&](int& code, std::wstring& name) {
      code = c.code;
      name = c.code != 0 ? L"K" : L"";
      return c.confirmed;
    });
    dlg->SendMessageW(DeviceMainDlg::kInsertMenu, 0, MacroPage::kInsertKey);
    EXPECT_EQ(page.GetRecordList()->GetItemCount(), 0);
  }
}

// --- The event editor -----------------------------------------------------------------------------------

TEST_F(MacroPageTest, TheDelayEditorClampsAndStoresTheDelay) {
  struct Case {
    const wchar_t* typed;
    int stored;
  };
  const Case cases[] = {{L"20000", 10000}, {L"0", 1}, {L"-5", 1}, {L"abc", 1}, {L"250", 250}, {L"10000", 10000}};
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  Fill(page, {{L"↓  A", 2, kVkA, 1}, {L"120 ms", 1, 120, 2}, {L"↑  A", 3, kVkA, 3}});
  page.GetRecordList()->SetCurSel(1);
  page.OnNotify(MacroPage::kRecordList, CN_CLICK, 0, 1);
  auto* field = static_cast<MEdit*>(page.Control(MacroPage::kValueField));
  ASSERT_NE(field->IsVisible(), 0);
  EXPECT_EQ(field->GetEditText(), L"120");
  EXPECT_EQ(static_cast<MComboBox*>(page.Control(MacroPage::kKindSelector))->GetCurData(), 3);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "typed " << std::string(c.typed, c.typed + wcslen(c.typed)));
    field->SetEditText(c.typed);
    page.OnNotify(MacroPage::kValueField, CN_EDITEND, 0, 0);
    const std::wstring shown = std::to_wstring(c.stored) + L" ms";
    EXPECT_EQ(field->GetEditText(), std::to_wstring(c.stored));
    const std::vector<Row> stored = StoredRows(*dlg, macro);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[1], (Row{shown, 1, c.stored}));
    EXPECT_EQ(page.GetRecordList()->GetRecrodTimeStamp(1), 2) << "the stamp stays";
  }
}

TEST_F(MacroPageTest, ADelayTypedOverItsRowIsClampedAndKeyRowsKeepTheirText) {
  struct Case {
    int row;
    const wchar_t* typed;
    Row after;
  };
  const Case cases[] = {
      {1, L"20000", {L"10000 ms", 1, 10000}},
      {1, L"75", {L"75 ms", 1, 75}},
      {1, L"7x", {L"75 ms", 1, 75}},
      {0, L"300", {L"↓  A", 2, kVkA}},
  };
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  Fill(page, {{L"↓  A", 2, kVkA, 1}, {L"120 ms", 1, 120, 2}});
  CRecordList* list = page.GetRecordList();
  for (const Case& c : cases) {
    ASSERT_EQ(list->ShowEdit(c.row), 1);
    list->GetEditor()->SetText(c.typed);
    list->CloseEdit();
    Pump();
    EXPECT_EQ(StoredRows(*dlg, macro).at(size_t(c.row)), c.after);
    EXPECT_EQ(Rows(page).at(size_t(c.row)), c.after);
  }
}

TEST_F(MacroPageTest, EditingARecordedKeyChangesThatRowOnly) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  Click(*dlg, page.Control(MacroPage::kDelayNone));
  Click(*dlg, page.Control(MacroPage::kRecord));
  Feed(page, Now(), Down(kVkA, L"A", 0));
  Feed(page, Now(), Up(kVkA, L"A", 5));
  page.ToggleRecording();

  page.GetRecordList()->SetCurSel(0);
  page.OnNotify(MacroPage::kRecordList, CN_CLICK, 0, 0);
  auto* field = static_cast<MEdit*>(page.Control(MacroPage::kValueField));
  EXPECT_EQ(field->GetEditText(), L"A");
  page.OnNotify(MacroPage::kValueField, CN_EDITBEGIN, 0, 0);
  EXPECT_EQ(dlg->GetRawInputMode(), ui::kRawInputEventEditor);
  ASSERT_TRUE(dlg->HasRawInputListener());
  RawKeyEvent b;
  b.kind = RawKeyEvent::kKeyboard;
  b.code = kVkB;
  b.name = L"B";
  page.OnEditorKey(b);
  EXPECT_EQ(field->GetEditText(), L"B");
  page.OnNotify(MacroPage::kValueField, CN_EDITEND, 0, 0);
  EXPECT_FALSE(dlg->HasRawInputListener());
  EXPECT_EQ(StoredRows(*dlg, macro), (std::vector<Row>{{L"↓  B", 2, kVkB}, {L"↑  A", 3, kVkA}}));
}

// --- List editing -------------------------------------------------------------------------------------------

TEST_F(MacroPageTest, MovingAndClearingRowsIsSaved) {
  const std::vector<std::tuple<const wchar_t*, int, int, int>> base = {
      {L"↓  A", 2, kVkA, 1}, {L"10 ms", 1, 10, 2}, {L"↑  A", 3, kVkA, 3}};
  const Row a{L"↓  A", 2, kVkA}, d{L"10 ms", 1, 10}, u{L"↑  A", 3, kVkA};
  struct Case {
    const char* name;
    int select;
    UINT message;  // 0: the move buttons' notification
    int command;
    std::vector<Row> rows;
    int selected;
  };
  const Case cases[] = {
      {"up", 1, 0, MacroPage::kMoveUp, {d, a, u}, 0},
      {"up at the top", 0, 0, MacroPage::kMoveUp, {a, d, u}, 0},
      {"down", 1, 0, MacroPage::kMoveDown, {a, u, d}, 2},
      {"down at the end", 2, 0, MacroPage::kMoveDown, {a, d, u}, 2},
      {"menu: top", 2, DeviceMainDlg::kRecordMenu, MacroPage::kRecordTop, {u, a, d}, 0},
      {"menu: up", 2, DeviceMainDlg::kRecordMenu, MacroPage::kRecordUp, {a, u, d}, 1},
      {"menu: down", 0, DeviceMainDlg::kRecordMenu, MacroPage::kRecordDown, {d, a, u}, 1},
      {"menu: bottom", 0, DeviceMainDlg::kRecordMenu, MacroPage::kRecordBottom, {d, u, a}, 2},
      {"menu: clear", 0, DeviceMainDlg::kRecordMenu, MacroPage::kRecordClear, {}, -1},
  };
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int macro = NewMacro(*dlg);
    Fill(page, base);
    page.GetRecordList()->SetCurSel(c.select);
    if (c.message == 0) {
      page.OnNotify(UINT(c.command), CN_CLICK, 0, 0);
    } else {
      dlg->SendMessageW(c.message, 0, c.command);
    }
    EXPECT_EQ(Rows(page), c.rows);
    EXPECT_EQ(StoredRows(*dlg, macro), c.rows);
    EXPECT_EQ(page.GetRecordList()->GetCurSel(), c.selected);
  }
}

// --- Macros --------------------------------------------------------------------------------------------------

TEST_F(MacroPageTest, NewMacrosAreNumberedAndDeletingShowsThePreviousOne) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  for (int i = 0; i < 3; ++i) NewMacro(*dlg);
  const int fourth = NewMacro(*dlg);
  MacroRecord record;
  ASSERT_TRUE(dlg->Store().GetMacro(fourth, record));
  EXPECT_EQ(record.name, L"Custom 4");
  EXPECT_EQ(page.GetMacroList()->GetItemText(3), L"Custom 4");
  EXPECT_EQ(page.GetMacroList()->GetCurSel(), 3);

  // The third macro has events; deleting the fourth shows them.
  const int third = int(page.GetMacroList()->GetItemData(2));
  MacroEvent e;
  e.type = 1, e.value = 33, e.delay_time = 9, e.desc = L"33 ms";
  dlg->Store().SaveMacroEvents(third, {e});
  Click(*dlg, page.Control(MacroPage::kDeleteMacro));
  EXPECT_FALSE(dlg->Store().GetMacro(fourth, record));
  EXPECT_EQ(page.GetMacroList()->GetItemCount(), 3);
  EXPECT_EQ(page.SelectedMacro(), third);
  EXPECT_EQ(Rows(page), (std::vector<Row>{{L"33 ms", 1, 33}}));
}

TEST_F(MacroPageTest, PlaySettingsAreClampedAndStored) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  auto* times = static_cast<MEdit*>(page.Control(MacroPage::kPlayTimesField));
  auto* delay = static_cast<MEdit*>(page.Control(MacroPage::kDelayField));
  ASSERT_LT(dlg->GetCurrentDeviceType(), 201);
  struct Case {
    UINT field;
    const wchar_t* typed;
    const wchar_t* shown;
    int playTimes, delayTime;
  };
  Click(*dlg, page.Control(MacroPage::kDelayFixed));
  const Case cases[] = {
      {MacroPage::kPlayTimesField, L"999", L"999", 999, 10}, {MacroPage::kPlayTimesField, L"0", L"1", 1, 10},
      {MacroPage::kPlayTimesField, L"300", L"300", 300, 10}, {MacroPage::kDelayField, L"20000", L"10000", 300, 10000},
      {MacroPage::kDelayField, L"0", L"1", 300, 1},
  };
  for (const Case& c : cases) {
    MEdit* field = c.field == MacroPage::kPlayTimesField ? times : delay;
    field->SetEditText(c.typed);
    page.OnNotify(c.field, CN_EDITEND, 0, 0);
    EXPECT_EQ(field->GetEditText(), c.shown);
    MacroRecord record;
    ASSERT_TRUE(dlg->Store().GetMacro(macro, record));
    EXPECT_EQ(record.play_type, 0);
    EXPECT_EQ(record.play_times, c.playTimes);
    EXPECT_EQ(record.delay_type, 2);
    EXPECT_EQ(record.delay_time, c.delayTime);
  }
  Click(*dlg, page.Control(MacroPage::kPlayToggle));
  Click(*dlg, page.Control(MacroPage::kDelayNone));
  MacroRecord record;
  ASSERT_TRUE(dlg->Store().GetMacro(macro, record));
  EXPECT_EQ(record.play_type, 2);
  EXPECT_EQ(record.delay_type, 0);
  EXPECT_EQ(times->IsEnabled(), 0);
  EXPECT_EQ(delay->IsEnabled(), 0);
}

TEST_F(MacroPageTest, ARenameReachesTheKeyRecordsOfEveryProfile) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  SettingsStore& store = dlg->Store();
  std::vector<ProfileRecord> profiles;
  store.ListProfiles(profiles);
  if (profiles.size() < 2) {
    store.AddProfile(ProfileRecord{0, L"P", 0, L"", 0});
    store.AddProfile(ProfileRecord{0, L"Q", 0, L"", 0});
    store.ListProfiles(profiles);
  }
  const int other = NewMacro(*dlg);
  const int renamed = NewMacro(*dlg);
  const auto key = [](int profile, int keyCode, int macroId, const wchar_t* desc) {
    KeyRecord k;
    k.profile = profile;
    k.key_code = keyCode;
    k.macro_type = 4;
    k.macro_value = macroId;
    k.macro_desc = desc;
    return k;
  };
  for (const ProfileRecord& p : profiles) {
    store.SaveKeyRecord(key(p.profile, 2, renamed, L"Custom 2"));
    store.SaveKeyRecord(key(p.profile, 3, other, L"Custom 1"));
  }
  // Renamed in place: a double click opens the editor over the name.
  MacroList* list = page.GetMacroList();
  ASSERT_EQ(list->ShowEdit(1), 1);
  list->GetEditor()->SetText(L"Combo");
  list->CloseEdit();
  Pump();
  MacroRecord record;
  ASSERT_TRUE(store.GetMacro(renamed, record));
  EXPECT_EQ(record.name, L"Combo");
  for (const ProfileRecord& p : profiles) {
    SCOPED_TRACE(testing::Message() << "profile " << p.profile);
    KeyRecord k;
    ASSERT_TRUE(store.GetKeyRecord(p.profile, 2, k));
    EXPECT_EQ(k.macro_desc, L"Combo");
    ASSERT_TRUE(store.GetKeyRecord(p.profile, 3, k));
    EXPECT_EQ(k.macro_desc, L"Custom 1");
  }
}

// --- The mouse -------------------------------------------------------------------------------------------------

TEST_F(MacroPageTest, TheMouseStoresTheRecordedMacroOnceAButtonPlaysIt) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  Click(*dlg, page.Control(MacroPage::kRecord));
  const uint32_t start = Now();
  platform::headless::AdvanceTime(160);
  Feed(page, start, Down(kVkA, L"A", 0));
  Feed(page, start, Up(kVkA, L"A", 120));
  page.ToggleRecording();

  KeyRecord k;
  k.profile = dlg->GetCurrentProfile();
  k.key_code = 2;
  k.macro_type = 4;
  k.macro_value = macro;
  k.macro_desc = L"Custom 1";
  dlg->Store().SaveKeyRecord(k);
  dlg->Worker().Sequences().SetPendingMacro(2);
  dlg->AppendJob(DeviceWorker::kJobButtonFunctions);
  RunJobs(*dlg);
  const mouseproto::MouseState state = bus_->Firmware(Model(2).mouse);
  ASSERT_EQ(state.settings.macros.count(2), 1u);
  // A down (usage 0x04), then its release 120 ms later; the closing 40 ms
  // go into the last event.
  EXPECT_EQ(state.settings.macros.at(2), (std::vector<mouseproto::MacroWireEvent>{
                                             {mouseproto::kMacroKeyDown, 120, 0x04},
                                             {mouseproto::kMacroKeyUp, 40, 0x04},
                                         }));
}

// --- Menus -----------------------------------------------------------------------------------------------

// The texts of an open menu's items, top to bottom.
std::vector<std::wstring> MenuTexts(MenuWnd& menu) {
  std::vector<std::wstring> texts;
  for (MControl* c : *menu.GetControls()) {
    if (auto* item = dynamic_cast<MenuItem*>(c)) texts.push_back(item->GetTitle());
  }
  return texts;
}

void ChooseItem(MenuWnd& menu, const std::wstring& text) {
  MenuItem* item = menu.FindItem(text);
  ASSERT_NE(item, nullptr);
  const CPoint c = item->GetRect().CenterPoint();
  platform::headless::AdvanceTime(1000);
  platform::headless::InjectMouseMove(menu.GetSafeHwnd(), c.x, c.y);
  platform::headless::InjectClick(menu.GetSafeHwnd(), c.x, c.y);
}

TEST_F(MacroPageTest, TheInsertMenuOpensAboveItsButtonAndInsertsTheChoice) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  MControl* insert = page.Control(MacroPage::kInsert);
  Click(*dlg, insert);
  MenuWnd* menu = page.GetOpenMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(menu->IsWindowVisible());
  EXPECT_EQ(menu->GetNotifyMessage(), DeviceMainDlg::kInsertMenu);
  POINT at{insert->GetRect().left, insert->GetRect().top - 140};
  platform::ClientToScreen(dlg->GetSafeHwnd(), &at);
  RECT r{};
  platform::GetWindowRect(menu->GetSafeHwnd(), &r);
  EXPECT_EQ(r.left, at.x);
  EXPECT_EQ(r.top, at.y);
  EXPECT_EQ(r.right - r.left, 170);
  EXPECT_EQ(MenuTexts(*menu),
            (std::vector<std::wstring>{L"Left click", L"Middle click", L"Right click", L"Keystroke", L"Delay"}));
  ChooseItem(*menu, L"Right click");
  Pump();
  EXPECT_EQ(StoredRows(*dlg, macro),
            (std::vector<Row>{{L"↓  RB", 4, 2}, {L"10 ms", 1, 10}, {L"↑  RB", 5, 2}, {L"10 ms", 1, 10}}));
}

TEST_F(MacroPageTest, TheRowMenuMovesTheRowItWasOpenedOn) {
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  Fill(page, {{L"↓  A", 2, kVkA, 1}, {L"10 ms", 1, 10, 2}, {L"↑  A", 3, kVkA, 3}});
  CRecordList* list = page.GetRecordList();
  // A click on the more button of the last row.
  const CRect more = page.GetRecordList()->GetMoreRect(2);
  ASSERT_FALSE(more.IsRectEmpty());
  list->SetCurSel(2);
  page.OnNotify(MacroPage::kRecordList, CN_SUBCLICK, 0, 2);
  MenuWnd* menu = page.GetOpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetNotifyMessage(), DeviceMainDlg::kRecordMenu);
  EXPECT_EQ(MenuTexts(*menu), (std::vector<std::wstring>{L"Move to top", L"Move up", L"Move down", L"Move to bottom"}));
  ChooseItem(*menu, L"Move to top");
  Pump();
  EXPECT_EQ(StoredRows(*dlg, macro), (std::vector<Row>{{L"↑  A", 3, kVkA}, {L"↓  A", 2, kVkA}, {L"10 ms", 1, 10}}));
}

TEST_F(MacroPageTest, AMacroExportedFromItsMenuImportsBackAsANewMacro) {
  platform::ScriptedFileChooser chooser;
  platform::FileChooser::SetCurrent(&chooser);
  auto dlg = OpenPage();
  MacroPage& page = Page(*dlg);
  const int macro = NewMacro(*dlg);
  Fill(page, {{L"↓  A", 2, kVkA, 1}, {L"120 ms", 1, 120, 2}, {L"↑  A", 3, kVkA, 3}});
  const std::filesystem::path file = folder_ / "reload.xml";
  chooser.Answer(file);
  page.OnNotify(MacroPage::kMacroList, CN_SUBCLICK, 0, 0);
  MenuWnd* menu = page.GetOpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetNotifyMessage(), DeviceMainDlg::kMacroMenu);
  EXPECT_EQ(MenuTexts(*menu), (std::vector<std::wstring>{L"Import", L"Export"}));
  ChooseItem(*menu, L"Export");
  Pump();
  ASSERT_TRUE(std::filesystem::exists(file));

  chooser.Answer(file);
  dlg->SendMessageW(DeviceMainDlg::kMacroMenu, 0, MacroPage::kMenuImportMacro);
  platform::FileChooser::SetCurrent(nullptr);
  std::vector<MacroRecord> macros;
  dlg->Store().ListMacros(macros);
  ASSERT_EQ(macros.size(), 2u);
  EXPECT_EQ(page.SelectedMacro(), macros[1].macro_id) << "the imported macro is shown";
  EXPECT_EQ(StoredRows(*dlg, macros[1].macro_id), StoredRows(*dlg, macro));
  EXPECT_EQ(Rows(page), StoredRows(*dlg, macro));
  const std::vector<platform::ScriptedFileChooser::Asked> asked = chooser.Requests();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_TRUE(asked[0].save);
  EXPECT_EQ(asked[0].request.suggestedName, L"Custom 1.xml");
  EXPECT_FALSE(asked[1].save);
}

TEST_F(MacroPageTest, ShownNamesUseTheLanguagesDefaultWords) {
  struct Case {
    const wchar_t* stored;
    const wchar_t* shown;
  } cases[] = {
      {L"Custom 3", L"Custom 3"},
      {L"自定义 3", L"Custom 3"},
      {L"Reload 复制", L"Reload  Copy"},
      {L"Reload", L"Reload"},
      {L"自定义 2 复制", L"Custom 2  Copy"},
  };
  for (const Case& c : cases) EXPECT_EQ(MacroPage::DisplayName(c.stored), c.shown);
}

}  // namespace
}  // namespace ui_test
