// The key assignment page on the headless window against the simulated
// mice: assignments reach the store, job 6 and the mouse's key slots.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "device/ButtonCodes.h"
#include "platform/Text.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/MouseCtrl.h"
#include "toolkit/controls/MouseKeyCtrl.h"
#include "toolkit/core/MButton2.h"
#include "toolkit/core/MButton3.h"
#include "toolkit/core/MComboBox2.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Notify.h"
#include "ui/KeyPage.h"

namespace ui_test {
namespace {

using ui::KeyPage;

struct Asked {
  std::wstring text, title;
  int kind;
};

class KeyPageTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // Each test's own database files, opened by the model load.
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "keypage" /
                                         (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    SettingsStore::GetInstance().SetDatabaseFolder(folder);
  }

  std::unique_ptr<DeviceMainDlg> OpenKeys() {
    auto dlg = Open(1);
    RunJobs(*dlg);
    Pick(*dlg, kType);
    RunJobs(*dlg);
    dlg->GetTabs()->SetSelectItem(1);
    Pump();
    dlg->SetMessageBox([this](const wchar_t* text, HWND, const wchar_t* title, int kind) {
      asked.push_back({text, title, kind});
      return answer;
    });
    EXPECT_TRUE(dlg->GetPage(DeviceMainDlg::kKeyPage)->IsVisible());
    return dlg;
  }

  static KeyPage& Page(DeviceMainDlg& dlg) { return *dynamic_cast<KeyPage*>(dlg.GetDevicePage(DeviceMainDlg::kKeyPage)); }
  static DUI::MControl* Control(DeviceMainDlg& dlg, DUI::UINT id) {
    return dlg.GetPage(DeviceMainDlg::kKeyPage)->GetControl(id);
  }
  static DUI::MouseKeyCtrl* List(DeviceMainDlg& dlg) {
    return dynamic_cast<DUI::MouseKeyCtrl*>(Control(dlg, KeyPage::kKeyList));
  }

  static void ClickAt(DeviceMainDlg& dlg, DUI::CPoint p) {
    platform::headless::AdvanceTime(1000);
    platform::headless::InjectMouseMove(dlg.GetSafeHwnd(), p.x, p.y);
    platform::headless::InjectClick(dlg.GetSafeHwnd(), p.x, p.y);
    Pump();
  }
  static void Click(DeviceMainDlg& dlg, DUI::UINT id) {
    DUI::MControl* c = Control(dlg, id);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(c->IsVisible()) << id;
    ClickAt(dlg, c->GetRect().CenterPoint());
  }
  // Clicks the button's row in the list, as a user picks it.
  static void SelectKey(DeviceMainDlg& dlg, int keyCode) {
    DUI::MouseKeyCtrl* list = List(dlg);
    for (int i = 0; i < list->GetItemCount(); ++i) {
      if (list->GetItemKeyValue(i) != keyCode) continue;
      DUI::CRect row = list->GetItemRect(i);
      ASSERT_FALSE(row.IsRectEmpty());
      ClickAt(dlg, DUI::CPoint(list->GetRect().left + row.CenterPoint().x, list->GetRect().top + row.CenterPoint().y));
      ASSERT_EQ(Page(dlg).GetCurrentKey(), keyCode);
      return;
    }
    FAIL() << "no button " << keyCode;
  }
  // Picks an item of a selector as its drop-down list does.
  static void PickData(DeviceMainDlg& dlg, DUI::UINT boxId, long data) {
    DUI::MComboBox2* box = Page(dlg).Box(boxId);
    ASSERT_NE(box, nullptr);
    const int index = box->FindData(data);
    ASSERT_GE(index, 0) << data;
    box->OnMessage(box->GetControlID(), DUI::CN_CLICK, WPARAM(index), DUI::MComboBox::kPickTag);
    Pump();
  }
  static std::vector<KeyRecord> Stored(DeviceMainDlg& dlg) {
    std::vector<KeyRecord> list;
    dlg.Store().ListKeyRecords(dlg.GetCurrentProfile(), list);
    return list;
  }
  mouseproto::SlotBytes Slot(int keyCode) const { return bus_->Firmware(Model(kType).mouse).settings.key_slots.Slot(keyCode); }
  std::wstring Description(DeviceMainDlg& dlg, int keyCode) {
    DUI::MouseKeyCtrl* list = List(dlg);
    for (int i = 0; i < list->GetItemCount(); ++i) {
      if (list->GetItemKeyValue(i) == keyCode) return list->GetItemKeyDesc(i);
    }
    return L"?";
  }

  static constexpr int kType = 1;
  std::vector<Asked> asked;
  int answer = 1;
};

TEST_F(KeyPageTest, ChoosingFromASelectorStoresSendsAndDescribes) {
  struct Row {
    int keyCode;
    DUI::UINT box;
    long data;
    int type;
    std::wstring desc;
    mouseproto::SlotBytes entry;
  } rows[] = {
      {3, KeyPage::kDpiBox, 2, 5, L"DPI -", {0x50, 0x03, 0x00}},
      {4, KeyPage::kMediaBox, 8, 3, shell::GetText(119), {0x90, 0xE2, 0x00}},
      {2, KeyPage::kSystemBox, 9, 8, shell::GetText(31), {0x80, 0x01, 0x06}},
      {1, KeyPage::kMouseBox, 4, 1, shell::GetText(180), {0x40, 0x32, 0x03}},
  };
  auto dlg = OpenKeys();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.keyCode);
    SelectKey(*dlg, r.keyCode);
    const int jobs = CountJobs(*dlg, DeviceWorker::kJobButtonFunctions);
    PickData(*dlg, r.box, r.data);
    KeyRecord record;
    ASSERT_TRUE(dlg->Store().GetKeyRecord(dlg->GetCurrentProfile(), r.keyCode, record));
    EXPECT_EQ(record.macro_type, r.type);
    EXPECT_EQ(record.macro_value, r.data);
    EXPECT_EQ(record.macro_value2, 0);
    EXPECT_EQ(record.macro_desc, r.desc);
    EXPECT_EQ(Description(*dlg, r.keyCode), r.desc);
    EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobButtonFunctions), jobs + 1);
    EXPECT_TRUE(Page(*dlg).Box(r.box)->GetCheck());
    RunJobs(*dlg);
    EXPECT_EQ(Slot(r.keyCode), r.entry);
  }
}

// Captures a key in the combination field with the given modifier buttons.
class KeyCombinationTest : public KeyPageTest {
 protected:
  void OpenField(DeviceMainDlg& dlg) {
    Click(dlg, KeyPage::kComboOpen);
    ASSERT_TRUE(Control(dlg, KeyPage::kComboPanel)->IsVisible());
    Click(dlg, KeyPage::kComboKey);
    ASSERT_TRUE(dlg.HasRawInputListener());
    ASSERT_EQ(dlg.GetRawInputMode(), ui::kRawInputKeyCapture);
  }
};

TEST_F(KeyCombinationTest, ModifiersAndTheCapturedKeyMakeAKeyboardFunction) {
  struct Row {
    const char* what;
    std::vector<DUI::UINT> modifiers;
    UINT key;  // 0: none pressed
    int value, value2;
    const wchar_t* desc;
    mouseproto::SlotBytes entry;
  } rows[] = {
      {"Ctrl+Shift+A", {KeyPage::kCtrl, KeyPage::kShift}, 'A', 0x04, 0x03, L"Shift+ Ctrl + A", {0x80, 0x03, 0x04}},
      {"Win alone", {KeyPage::kWin}, 0, 0, 0x08, L"Win", {0x80, 0x08, 0x00}},
      {"F5 alone", {}, VK_F1 + 4, 0x3E, 0, L"F5", {0x80, 0x00, 0x3E}},
      {"all four and Tab", {KeyPage::kCtrl, KeyPage::kWin, KeyPage::kAlt, KeyPage::kShift}, VK_TAB, 0x2B, 0x0F,
       L"Shift+ Ctrl+ Win+ Alt + Tab", {0x80, 0x0F, 0x2B}},
  };
  auto dlg = OpenKeys();
  SelectKey(*dlg, 4);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    OpenField(*dlg);
    if (r.key != 0) {
      platform::headless::InjectKeyPress(r.key);
      Pump();
    }
    for (DUI::UINT m : r.modifiers) Click(*dlg, m);
    Click(*dlg, KeyPage::kComboApply);
    EXPECT_FALSE(dlg->HasRawInputListener());  // the field lost the focus
    KeyRecord record;
    ASSERT_TRUE(dlg->Store().GetKeyRecord(dlg->GetCurrentProfile(), 4, record));
    EXPECT_EQ(record.macro_type, 2);
    EXPECT_EQ(record.macro_value, r.value);
    EXPECT_EQ(record.macro_value2, r.value2);
    EXPECT_EQ(record.macro_desc, r.desc);
    EXPECT_EQ(Description(*dlg, 4), r.desc);
    // The panel stays open for another try.
    EXPECT_TRUE(Control(*dlg, KeyPage::kComboPanel)->IsVisible());
    RunJobs(*dlg);
    EXPECT_EQ(Slot(4), r.entry);
  }
}

// The panels are drawn where the page puts them, one at a time, and the
// captured key's name shows in the field.
TEST_F(KeyCombinationTest, ThePanelsAreDrawnBelowThePictureOneAtATime) {
  auto dlg = OpenKeys();
  SelectKey(*dlg, 3);
  Pump();
  const DUI::CRect panel = Control(*dlg, KeyPage::kComboPanel)->GetRect();
  const auto changed = [&](const platform::Bitmap& a, const platform::Bitmap& b, DUI::CRect r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += a.PixelAt(x, y) != b.PixelAt(x, y) ? 1 : 0;
    }
    return n;
  };
  const platform::Bitmap closed = platform::CaptureWindow(dlg->GetSafeHwnd());
  OpenField(*dlg);
  platform::headless::InjectKeyPress('K');
  Pump();
  const platform::Bitmap combination = platform::CaptureWindow(dlg->GetSafeHwnd());
  combination.SavePng(std::filesystem::path(::testing::TempDir()) / "keypage-combination.png");
  EXPECT_GT(changed(closed, combination, panel), panel.Width() * panel.Height() / 4);
  // The field's text is drawn: its middle differs from an empty field.
  auto* field = dynamic_cast<DUI::MEdit*>(Control(*dlg, KeyPage::kComboKey));
  ASSERT_EQ(field->GetEditText(), L"K");

  Click(*dlg, KeyPage::kRepeatOpen);
  EXPECT_FALSE(Control(*dlg, KeyPage::kComboPanel)->IsVisible());
  EXPECT_FALSE(field->IsVisible());
  EXPECT_FALSE(dlg->HasRawInputListener());
  const platform::Bitmap repeat = platform::CaptureWindow(dlg->GetSafeHwnd());
  repeat.SavePng(std::filesystem::path(::testing::TempDir()) / "keypage-repeat.png");
  EXPECT_GT(changed(combination, repeat, field->GetRect()), 0);

  // Assigning from a selector closes the panel again.
  PickData(*dlg, KeyPage::kDpiBox, 1);
  Pump();
  const platform::Bitmap after = platform::CaptureWindow(dlg->GetSafeHwnd());
  EXPECT_EQ(changed(closed, after, panel), 0);
}

TEST_F(KeyCombinationTest, TheFieldCapturesKeysTheWindowWouldOtherwiseActOn) {
  struct Row {
    const char* what;
    UINT vk;
    uint16_t scan;  // 0: the key's own
    int code;       // 0: nothing captured
    const wchar_t* name;
  } rows[] = {
      {"left Shift", VK_LSHIFT, 0, 0, L""},
      {"right Ctrl", VK_RCONTROL, 0, 0, L""},
      {"left Alt", VK_LMENU, 0, 0, L""},
      {"keypad 7, NumLock off", VK_HOME, 0x47, 103, L"Num 7"},
      {"keypad Enter", VK_RETURN, 0xE01C, 108, L"Num Enter"},
      {"Tab", VK_TAB, 0, 9, L"Tab"},
      {"Esc", VK_ESCAPE, 0, 27, nullptr},
      {"Backspace", VK_BACK, 0, 8, nullptr},
      {"F10", VK_F10, 0, 121, L"F10"},
      {"left Win", VK_LWIN, 0, 91, L"Windows"},
  };
  auto dlg = OpenKeys();
  SelectKey(*dlg, 3);
  OpenField(*dlg);
  auto* field = dynamic_cast<DUI::MEdit*>(Control(*dlg, KeyPage::kComboKey));
  ASSERT_NE(field, nullptr);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    // Start from a captured key, to see whether this one replaces it.
    platform::headless::InjectKeyPress('Q');
    Pump();
    ASSERT_EQ(Page(*dlg).GetCapturedKey(), 'Q');
    if (r.scan != 0) {
      platform::headless::InjectKeyScan(r.vk, r.scan, true);
      platform::headless::InjectKeyScan(r.vk, r.scan, false);
    } else {
      platform::headless::InjectKeyPress(r.vk);
    }
    Pump();
    const int expected = r.code != 0 ? r.code : 'Q';
    EXPECT_EQ(Page(*dlg).GetCapturedKey(), expected);
    if (r.name != nullptr && r.code != 0) {
      EXPECT_EQ(Page(*dlg).GetCapturedName(), r.name);
    }
    EXPECT_EQ(field->GetEditText(), Page(*dlg).GetCapturedName());
    // Nothing acted: the field is still being edited and the window is up.
    EXPECT_TRUE(field->IsEditFocused());
    EXPECT_TRUE(dlg->HasRawInputListener());
    EXPECT_TRUE(platform::IsWindowVisible(dlg->GetSafeHwnd()));
  }
  EXPECT_EQ(mouseproto::KeyUsage(103), 0x5F);
  EXPECT_TRUE(asked.empty());
}

TEST_F(KeyCombinationTest, NeitherKeyNorModifierStoresNothing) {
  auto dlg = OpenKeys();
  SelectKey(*dlg, 3);
  OpenField(*dlg);
  platform::headless::InjectKeyPress(VK_LSHIFT);
  Pump();
  Click(*dlg, KeyPage::kComboApply);
  KeyRecord record;
  EXPECT_FALSE(dlg->Store().GetKeyRecord(dlg->GetCurrentProfile(), 3, record));
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobButtonFunctions), 0);
  EXPECT_TRUE(asked.empty());
}

TEST_F(KeyPageTest, TheLeftButtonRefusesEveryAssignment) {
  auto dlg = OpenKeys();
  SelectKey(*dlg, 0);
  const std::vector<KeyRecord> before = Stored(*dlg);
  const std::wstring description = Description(*dlg, 0);
  struct Attempt {
    const char* what;
    std::function<void()> run;
  } attempts[] = {
      {"mouse box", [&] { PickData(*dlg, KeyPage::kMouseBox, 3); }},
      {"media box", [&] { PickData(*dlg, KeyPage::kMediaBox, 2); }},
      {"system box", [&] { PickData(*dlg, KeyPage::kSystemBox, 1); }},
      {"DPI box", [&] { PickData(*dlg, KeyPage::kDpiBox, 1); }},
      {"special box", [&] { PickData(*dlg, KeyPage::kSpecialBox, 1); }},
      {"key combination", [&] { Click(*dlg, KeyPage::kComboOpen); }},
      {"repeat", [&] { Click(*dlg, KeyPage::kRepeatOpen); }},
      {"disable", [&] { Click(*dlg, KeyPage::kDisable); }},
  };
  for (const Attempt& a : attempts) {
    SCOPED_TRACE(a.what);
    asked.clear();
    a.run();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, shell::GetText(175));
    EXPECT_EQ(asked[0].title, shell::GetText(177));
    EXPECT_EQ(asked[0].kind, 0);  // one button
    EXPECT_FALSE(Control(*dlg, KeyPage::kComboPanel)->IsVisible());
    EXPECT_FALSE(Control(*dlg, KeyPage::kRepeatPanel)->IsVisible());
    for (DUI::UINT id : {KeyPage::kComboOpen, KeyPage::kRepeatOpen, KeyPage::kDisable}) {
      EXPECT_FALSE(dynamic_cast<DUI::MButton2*>(Control(*dlg, id))->GetCheck()) << id;
    }
  }
  EXPECT_EQ(Stored(*dlg).size(), before.size());
  EXPECT_EQ(Description(*dlg, 0), description);
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobButtonFunctions), 0);
  // The mouse-button box shows the left click again, not the refused pick.
  EXPECT_EQ(Page(*dlg).Box(KeyPage::kMouseBox)->GetCurData(), 1);
}

TEST_F(KeyPageTest, RepeatFieldsClampWhenLeftAndTheRepeatIsStored) {
  struct Row {
    DUI::UINT field;
    const wchar_t* typed;
    const wchar_t* shown;
  } rows[] = {
      {KeyPage::kIntervalEdit, L"3", L"5"},   {KeyPage::kIntervalEdit, L"300", L"255"},
      {KeyPage::kCountEdit, L"-4", L"0"},     {KeyPage::kCountEdit, L"12", L"12"},
      {KeyPage::kIntervalEdit, L"", L"5"},    {KeyPage::kCountEdit, L"999", L"255"},
  };
  auto dlg = OpenKeys();
  SelectKey(*dlg, 3);
  Click(*dlg, KeyPage::kRepeatOpen);
  ASSERT_TRUE(Control(*dlg, KeyPage::kRepeatPanel)->IsVisible());
  for (const Row& r : rows) {
    SCOPED_TRACE(r.typed);
    auto* field = dynamic_cast<DUI::MEdit*>(Control(*dlg, r.field));
    Click(*dlg, r.field);
    ASSERT_TRUE(field->IsEditFocused());
    platform::headless::InjectKeyPress(VK_BACK);  // the whole text was selected
    platform::headless::InjectText(r.typed);
    Pump();
    // Leaving the field: a click on the panel's title.
    Click(*dlg, KeyPage::kRepeatTitle);
    EXPECT_FALSE(field->IsEditFocused());
    EXPECT_EQ(field->GetEditText(), r.shown);
  }
  Click(*dlg, KeyPage::kRepeatApply);
  KeyRecord record;
  ASSERT_TRUE(dlg->Store().GetKeyRecord(dlg->GetCurrentProfile(), 3, record));
  EXPECT_EQ(record.macro_type, 7);
  EXPECT_EQ(record.macro_value, 5);     // the interval field
  EXPECT_EQ(record.macro_value2, 255);  // the clicks field
  EXPECT_EQ(record.macro_desc, shell::GetText(182));
  RunJobs(*dlg);
  EXPECT_EQ(Slot(3), (mouseproto::SlotBytes{0x40, 5, 255}));
}

TEST_F(KeyPageTest, DisableAndBothResetsWithTheirQuestions) {
  auto dlg = OpenKeys();
  SelectKey(*dlg, 2);
  Click(*dlg, KeyPage::kDisable);
  KeyRecord record;
  ASSERT_TRUE(dlg->Store().GetKeyRecord(dlg->GetCurrentProfile(), 2, record));
  EXPECT_EQ(record.macro_type, 9);
  EXPECT_EQ(record.macro_value, 1);
  EXPECT_EQ(Description(*dlg, 2), shell::GetText(139));
  auto* disable = dynamic_cast<DUI::MButton2*>(Control(*dlg, KeyPage::kDisable));
  EXPECT_TRUE(disable->GetCheck());
  Click(*dlg, KeyPage::kRepeatOpen);
  EXPECT_TRUE(disable->GetCheck());
  EXPECT_TRUE(dynamic_cast<DUI::MButton2*>(Control(*dlg, KeyPage::kRepeatOpen))->GetCheck());
  Click(*dlg, KeyPage::kRepeatClose);
  EXPECT_FALSE(dynamic_cast<DUI::MButton2*>(Control(*dlg, KeyPage::kRepeatOpen))->GetCheck());
  SelectKey(*dlg, 5);
  EXPECT_FALSE(disable->GetCheck());
  PickData(*dlg, KeyPage::kDpiBox, 1);
  ASSERT_EQ(Stored(*dlg).size(), 2u);
  RunJobs(*dlg);
  EXPECT_EQ(Slot(2), (mouseproto::SlotBytes{0x20, 0x00, 0x00}));

  // Declining the question, or closing the box, changes nothing.
  SelectKey(*dlg, 2);
  for (int declined : {2, 0}) {
    for (DUI::UINT reset : {KeyPage::kResetKey, KeyPage::kResetAll}) {
      SCOPED_TRACE(reset);
      asked.clear();
      answer = declined;
      Click(*dlg, reset);
      ASSERT_EQ(asked.size(), 1u);
      EXPECT_EQ(asked[0].text, shell::GetText(170));
      EXPECT_EQ(asked[0].title, shell::GetText(171));
      EXPECT_EQ(asked[0].kind, 4);  // two buttons
      EXPECT_EQ(Stored(*dlg).size(), 2u);
      EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobButtonFunctions), 0);
    }
  }

  // Accepted: the row goes and the default is shown and sent.
  answer = 1;
  Click(*dlg, KeyPage::kResetKey);
  EXPECT_FALSE(dlg->Store().GetKeyRecord(dlg->GetCurrentProfile(), 2, record));
  EXPECT_EQ(Description(*dlg, 2), shell::GetText(108));
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobButtonFunctions), 1);
  RunJobs(*dlg);
  EXPECT_EQ(Slot(2), (mouseproto::SlotBytes{0x20, 0x04, 0x00}));

  Click(*dlg, KeyPage::kResetAll);
  EXPECT_TRUE(Stored(*dlg).empty());
  EXPECT_EQ(Page(*dlg).GetCurrentKey(), 0);
  EXPECT_EQ(Description(*dlg, 5), shell::GetText(141));
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobButtonFunctions), 1);
}

TEST_F(KeyPageTest, ARefreshSelectsTheSecondButtonAndShowsStoredFunctions) {
  auto dlg = OpenKeys();
  KeyRecord r;
  r.profile = dlg->GetCurrentProfile();
  r.key_code = 4;
  r.macro_type = 2;
  r.macro_value = 0x06;
  r.macro_value2 = 0x01;
  r.macro_desc = L"Ctrl + C";
  ASSERT_GT(dlg->Store().SaveKeyRecord(r), 0);
  SelectKey(*dlg, 0);
  dlg->RefreshKeyPage();
  Pump();
  EXPECT_EQ(Page(*dlg).GetCurrentKey(), 1);
  EXPECT_EQ(List(*dlg)->GetSelectItem(), 1);
  EXPECT_EQ(dynamic_cast<DUI::MouseCtrl*>(Control(*dlg, KeyPage::kMouse))->GetSelectItem(), 1);
  EXPECT_EQ(Description(*dlg, 4), L"Ctrl + C");
  EXPECT_EQ(Description(*dlg, 3), shell::GetText(110));

  // The selectors show a button's function: its default while none is stored.
  struct Shown {
    int keyCode;
    DUI::UINT box;  // 0: none marked
    long data;
  } shown[] = {
      {5, KeyPage::kDpiBox, 3},    // the model's DPI cycle
      {6, KeyPage::kMediaBox, 6},  // the model's volume up
      {3, KeyPage::kMouseBox, 6},  // the model's back
      {4, 0, 0},                   // a key combination: no selector
  };
  for (const Shown& s : shown) {
    SCOPED_TRACE(s.keyCode);
    SelectKey(*dlg, s.keyCode);
    for (DUI::UINT id : {KeyPage::kMouseBox, KeyPage::kMediaBox, KeyPage::kMacroBox, KeyPage::kSystemBox,
                         KeyPage::kDpiBox, KeyPage::kSpecialBox}) {
      const bool marked = id == s.box || (s.box == 0 && id == KeyPage::kMouseBox);
      EXPECT_EQ(Page(*dlg).Box(id)->GetCheck() != 0, marked) << id;
    }
    if (s.box != 0) {
      EXPECT_EQ(Page(*dlg).Box(s.box)->GetCurData(), s.data);
    }
  }
}

TEST_F(KeyPageTest, PickingACalloutSelectsTheButtonInTheList) {
  auto dlg = OpenKeys();
  auto* mouse = dynamic_cast<DUI::MouseCtrl*>(Control(*dlg, KeyPage::kMouse));
  ASSERT_NE(mouse, nullptr);
  for (int index : {4, 6, 2}) {
    SCOPED_TRACE(index);
    const DUI::CRect label = mouse->GetItemLabelRect(index);
    ASSERT_FALSE(label.IsRectEmpty());
    ClickAt(*dlg, DUI::CPoint(mouse->GetRect().left + label.CenterPoint().x, mouse->GetRect().top + label.CenterPoint().y));
    EXPECT_EQ(mouse->GetSelectItem(), index);
    EXPECT_EQ(List(*dlg)->GetSelectItem(), index);
    EXPECT_EQ(Page(*dlg).GetCurrentKey(), mouse->GetItemKeyValue(index));
    EXPECT_EQ(dynamic_cast<DUI::MText*>(Control(*dlg, KeyPage::kKeyName))->GetTitle(), List(*dlg)->GetItemKeyName(index));
  }
}

TEST_F(KeyPageTest, ALanguageChangeRenamesButtonsFunctionsAndChoices) {
  auto dlg = OpenKeys();
  SelectKey(*dlg, 3);
  PickData(*dlg, KeyPage::kMediaBox, 8);
  shell::SetLanguage(2052);
  dlg->RefreshTexts();
  Pump();
  const KeyRecord& right = dlg->GetDefaultKeys()[1];
  EXPECT_EQ(List(*dlg)->GetItemKeyName(1), shell::GetText(std::stoi(right.layout_desc)));
  EXPECT_EQ(Description(*dlg, 1), shell::GetText(107));
  EXPECT_EQ(Description(*dlg, 3), shell::GetText(119));  // a stored function, in the new language
  EXPECT_NE(shell::GetText(119), shell::GetLanguageText(1033, 119));
  DUI::MComboBox2* media = Page(*dlg).Box(KeyPage::kMediaBox);
  EXPECT_EQ(media->GetItemText(media->FindData(8)), shell::GetText(119));
  EXPECT_EQ(dynamic_cast<DUI::MText*>(Control(*dlg, KeyPage::kListTitle))->GetTitle(), shell::GetText(100));
  shell::SetLanguage(1033);
}

TEST_F(KeyPageTest, AMacroTooLongForTheMouseIsRefusedAndTheButtonKeepsItsFunction) {
  auto dlg = OpenKeys();
  const int shortMacro = dlg->Store().AddMacro(L"Short");
  const int longMacro = dlg->Store().AddMacro(L"Long");
  ASSERT_GT(shortMacro, 0);
  ASSERT_GT(longMacro, 0);
  const auto events = [](int macroId, int presses) {
    std::vector<MacroEvent> list;
    for (int i = 0; i < presses; ++i) {
      for (int type : {2, 3}) {
        MacroEvent e;
        e.macro_id = macroId;
        e.type = type;
        e.record_index = int(list.size());
        e.value = 'A';
        e.desc = L"A";
        list.push_back(e);
      }
    }
    return list;
  };
  dlg->Store().AddMacroEvents(events(shortMacro, 1));
  dlg->Store().AddMacroEvents(events(longMacro, 200));
  dlg->RefreshMacroPage();
  Pump();

  SelectKey(*dlg, 3);
  PickData(*dlg, KeyPage::kMacroBox, longMacro);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, shell::GetText(KeyPage::kTextMacroTooLong));
  KeyRecord record;
  EXPECT_FALSE(dlg->Store().GetKeyRecord(dlg->GetCurrentProfile(), 3, record));
  EXPECT_EQ(Description(*dlg, 3), shell::GetText(110));
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobButtonFunctions), 0);
  int pendingKey = -1;
  EXPECT_FALSE(dlg->Worker().Sequences().PendingMacro(pendingKey));

  // A macro that fits is assigned and downloaded before the table.
  PickData(*dlg, KeyPage::kMacroBox, shortMacro);
  ASSERT_TRUE(dlg->Store().GetKeyRecord(dlg->GetCurrentProfile(), 3, record));
  EXPECT_EQ(record.macro_type, 4);
  EXPECT_EQ(record.macro_value, shortMacro);
  EXPECT_EQ(record.macro_desc, L"Short");
  EXPECT_TRUE(dlg->Worker().Sequences().PendingMacro(pendingKey));
  EXPECT_EQ(pendingKey, 3);
  EXPECT_EQ(CountJobs(*dlg, DeviceWorker::kJobButtonFunctions), 1);
  RunJobs(*dlg);
  EXPECT_EQ(Slot(3)[0], 0xA0);
  EXPECT_EQ(bus_->Firmware(Model(kType).mouse).settings.macros.count(3), 1u);
}

TEST(KeyPageNamesTest, MacroNamesOnTheKeyPageFollowTheLanguage) {
  shell::SetLanguage(1033);
  struct Row {
    const wchar_t* stored;
    int lcid;
    std::wstring shown;
  } rows[] = {
      {L"Custom 2", 1033, L"Custom 2"},
      {L"\u81EA\u5B9A\u4E49 2", 1033, shell::GetText(351) + L" 2"},
      {L"\u30AB\u30B9\u30BF\u30E0 3", 1033, shell::GetText(351) + L" 3"},
      {L"Custom 2 \u590D\u5236", 1033, L"Custom 2 Copy"},
      {L"Custom 2 Copy", 2052, shell::GetText(351) + L" 2 \u590D\u5236"},
      {L"Reload \u8907\u88FD", 1033, L"Reload Copy"},
      {L"Reload \u8907\u88FD", 1041, L"Reload \u8907\u88FD"},  // the same word in both
      {L"Reload \u8907\u88FD", 1049, L"Reload \u8907\u88FD"},  // not a word Russian names know
      {L"Reload Copy", 1049, L"Reload \u041A\u043E\u043F\u0438\u0440\u043E\u0432\u0430\u0442\u044C"},
      {L"Custom 2 Copy", 1058, L"Custom 2 Copy"},  // a language without these rules
      {L"Copyist", 2052, L"Copyist"},              // the word only counts at the end
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.lcid);
    EXPECT_EQ(KeyPage::MacroKeyName(r.stored, r.lcid), r.shown) << platform::ToUtf8(r.stored);
  }
}

TEST(KeyPageNamesTest, MacroNamesInTheSelector) {
  shell::SetLanguage(1033);
  struct Row {
    const wchar_t* stored;
    std::wstring shown;
  } rows[] = {
      {L"Custom 4", shell::GetText(351) + L" 4"},
      {L"\u81EA\u5B9A\u4E49 4", shell::GetText(351) + L" 4"},
      {L"Custom 4 Copy", shell::GetText(351) + L" 4  " + shell::GetText(31)},  // the space before stays
      {L"Sniper", L"Sniper"},
  };
  for (const Row& r : rows) EXPECT_EQ(KeyPage::MacroListName(r.stored), r.shown) << platform::ToUtf8(r.stored);
}

TEST(KeyPageNamesTest, CombinationTextsAndClamps) {
  struct Combination {
    int bits;
    const wchar_t* key;
    const wchar_t* text;
  } combinations[] = {
      {0x03, L"A", L"Shift+ Ctrl + A"}, {0x08, L"", L"Win"},        {0x00, L"F5", L"F5"},
      {0x04, L"Tab", L"Alt + Tab"},     {0x0C, L"", L"Win+ Alt"},   {0x00, L"", L""},
  };
  for (const Combination& c : combinations) EXPECT_EQ(KeyPage::CombinationText(c.bits, c.key), c.text) << c.bits;
  struct Clamp {
    const wchar_t* text;
    int low, high, value;
  } clamps[] = {{L"3", 5, 255, 5}, {L"300", 5, 255, 255}, {L"-4", 0, 255, 0}, {L"", 5, 255, 5},
                {L"12x", 0, 255, 12}, {L"99999999999999999999", 0, 255, 255}};
  for (const Clamp& c : clamps) EXPECT_EQ(KeyPage::ClampedNumber(c.text, c.low, c.high), c.value) << c.text;
}

}  // namespace
}  // namespace ui_test
