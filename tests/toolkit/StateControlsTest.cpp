// The device list, battery gauge, state label and colour controls on the
// headless backend: input injected through the window, state read from the
// controls, looks read from the back buffer's pixels.

#include <chrono>
#include <filesystem>
#include <thread>

#include "ToolkitFixture.h"
#include "platform/Text.h"
#include "toolkit/controls/BatteryCtrl.h"
#include "toolkit/controls/CColorButton.h"
#include "toolkit/controls/CDeviceList.h"
#include "toolkit/controls/CDeviceState.h"
#include "toolkit/controls/LightSlider.h"
#include "toolkit/controls/MPalette.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/PaintManager.h"

namespace toolkit_test {
namespace {

constexpr ARGB kBackground = 0xFE0A0B0C;

// Solid images written under the skin folder for one test, removed after.
class SkinFiles {
 public:
  SkinFiles() {
    folder_ = std::filesystem::path(platform::ToUtf8(MRender::GetSkinFolder())) / "qelt_state_tests";
    std::filesystem::create_directories(folder_);
  }
  ~SkinFiles() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  // A frames x (frameWidth x height) strip, frame i in colours[i].
  std::wstring Add(const char* name, int frameWidth, int height, std::vector<ARGB> colours) {
    platform::Bitmap bmp(frameWidth * int(colours.size()), height);
    for (size_t i = 0; i < colours.size(); ++i) {
      bmp.FillRaw(RECT{int(i) * frameWidth, 0, int(i + 1) * frameWidth, height}, colours[i]);
    }
    EXPECT_TRUE(bmp.SavePng(folder_ / name));
    return L"qelt_state_tests/" + platform::FromUtf8(name);
  }
  // The full path of a file added with Add.
  std::wstring FullPath(const char* name) const { return platform::FromUtf8((folder_ / name).string()); }

 private:
  std::filesystem::path folder_;
};

class StateControlsTest : public ToolkitTest {
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
  template <typename T>
  static T* Create(RecordingDialog& dlg, const wchar_t* className, UINT id, CRect rect, const wchar_t* title = nullptr) {
    return dynamic_cast<T*>(dlg.CreateControl(className, id, rect, title, 1, 1));
  }
  static std::vector<Notice> Notices(const RecordingDialog& dlg, UINT id) {
    std::vector<Notice> out;
    for (const Notice& n : dlg.notices) {
      if (n.id == id) out.push_back(n);
    }
    return out;
  }
  static std::vector<UINT> Codes(const RecordingDialog& dlg, UINT id) {
    std::vector<UINT> codes;
    for (const Notice& n : Notices(dlg, id)) codes.push_back(n.code);
    return codes;
  }
  static bool Near(ARGB a, ARGB b, int slack) {
    for (int shift = 0; shift < 32; shift += 8) {
      const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
      if (d > slack || d < -slack) return false;
    }
    return true;
  }
};

// --- Factories -------------------------------------------------------------------------------

TEST_F(StateControlsTest, FactoriesBuildEachClassWhereItIsAccepted) {
  RecordingDialog dlg;
  Open(dlg);
  auto* panel = new MPanel(&dlg, 90, CRect(0, 0, 400, 300), 1);
  dlg.GetPaintManager()->AttachControl(panel, 1);
  struct Case {
    const wchar_t* name;
    bool dialog, panel;
    const wchar_t* className;
  } const cases[] = {
      {L"CDeviceList", true, true, L"MControl"},   {L"BatteryCtrl", true, false, L"MControl"},
      {L"CDeviceState", true, false, L"MControl"}, {L"MPalette", true, true, L"MControl"},
      {L"CColorButton", true, true, L"ColorButton"}, {L"LightSlider", true, true, L"MControl"},
  };
  UINT id = 10;
  for (const Case& k : cases) {
    MControl* inDialog = dlg.CreateControl(k.name, id++, CRect(0, 0, 50, 20), L"t", 1, 1);
    MControl* inPanel = panel->CreateControl(k.name, id++, CRect(0, 0, 50, 20), L"t", 1, 1);
    EXPECT_EQ(inDialog != nullptr, k.dialog) << platform::ToUtf8(k.name);
    EXPECT_EQ(inPanel != nullptr, k.panel) << platform::ToUtf8(k.name);
    MControl* built = inDialog != nullptr ? inDialog : inPanel;
    ASSERT_NE(built, nullptr);
    EXPECT_STREQ(built->GetClassNameW(), k.className);
    EXPECT_EQ(built->GetManager(), dlg.GetPaintManager());
  }
}

// --- CDeviceList -------------------------------------------------------------------------------

TEST_F(StateControlsTest, DeviceListSelectionFollowsTheOnlineDevices) {
  RecordingDialog dlg;
  Open(dlg);
  auto* list = Create<CDeviceList>(dlg, L"CDeviceList", 57, CRect(20, 20, 260, 280));
  ASSERT_NE(list, nullptr);
  // Keys 7, 3, 9, 4; the picture paths do not exist, so no pictures.
  int index = 0;
  for (int key : {7, 3, 9, 4}) {
    EXPECT_EQ(list->AddDevice(L"Mouse " + std::to_wstring(key), key, L"/nonexistent.png"), index++);
  }
  EXPECT_EQ(list->GetOnlineDevCount(), 0);
  EXPECT_EQ(list->GetSelectDevice(), 0) << "nothing online answers 0, like a device key 0";
  list->SetSelectDevice(3);
  EXPECT_EQ(list->GetSelectItem(), -1);
  EXPECT_EQ(list->GetSelectDevice(), 0);
  EXPECT_EQ(list->GetSelectItem(), 0) << "a negative selection is set to 0 first";
  list->SetSelectIndex(-1);  // nothing to step through: no change, no crash
  EXPECT_EQ(list->GetSelectDevice(), 0);

  list->SetDeviceState(3, 0, 1);  // wired
  list->SetDeviceState(9, 1, 2);  // wireless
  list->SetDeviceState(4, 1, 1);
  list->SetDeviceState(42, 0, 1);  // not listed: nothing changes
  EXPECT_EQ(list->GetDeviceState(42, 0), -1);
  EXPECT_EQ(list->GetDeviceState(9, 1), 2);
  ASSERT_EQ(list->GetOnlineDevCount(), 3);  // 3, 9, 4 in list order

  struct Step {
    const char* what;
    int selectKey;  // SetSelectDevice before the step, or -1
    int step;
    int expectedKey;
  } const steps[] = {
      {"select an online key", 9, 0, 9},
      {"an offline key selects the first online", 7, 0, 3},
      {"back from the first wraps to the last", -1, -1, 4},
      {"on from the last wraps to the first", -1, 1, 3},
      {"forward", -1, 1, 9},
      {"two back wraps once", -1, -2, 4},
  };
  for (const Step& s : steps) {
    if (s.selectKey >= 0) list->SetSelectDevice(s.selectKey);
    if (s.step != 0) list->SetSelectIndex(s.step);
    EXPECT_EQ(list->GetSelectDevice(), s.expectedKey) << s.what;
  }

  // A device going off line shortens the list; a selection past its end
  // falls back to the first.
  list->SetSelectDevice(4);
  list->SetDeviceState(4, 1, 0);
  EXPECT_EQ(list->GetOnlineDevCount(), 2);
  EXPECT_EQ(list->GetSelectDevice(), 3);
  list->SetAllDeviceState(0);
  EXPECT_EQ(list->GetOnlineDevCount(), 0);
  list->ClearList();
  EXPECT_EQ(list->GetItemCount(), 0);
  EXPECT_EQ(list->GetItemDeviceType(0), -1);
}

TEST_F(StateControlsTest, DeviceListRedrawsEvenForAnUnknownKey) {
  RecordingDialog dlg;
  Open(dlg);
  auto* list = Create<CDeviceList>(dlg, L"CDeviceList", 57, CRect(20, 20, 260, 280));
  ASSERT_NE(list, nullptr);
  list->AddDevice(L"A", 1, L"");
  dlg.GetPaintManager()->Invalidate();
  Pump(dlg);
  ASSERT_EQ(list->GetUpdate(), 1);
  list->SetDeviceState(99, 0, 1);
  EXPECT_EQ(list->GetUpdate(), 0);
  EXPECT_EQ(list->GetDeviceState(1, 0), 0);
}

TEST_F(StateControlsTest, DeviceListShowsTheSelectedDeviceAndReportsAClickOnIt) {
  SkinFiles files;
  files.Add("red.png", 100, 100, {0xFFE01010});
  files.Add("blue.png", 100, 100, {0xFF1010E0});
  RecordingDialog dlg;
  Open(dlg, 400, 300);
  auto* list = Create<CDeviceList>(dlg, L"CDeviceList", 57, CRect(20, 20, 220, 280));
  ASSERT_NE(list, nullptr);
  list->AddDevice(L"Red", 1, files.FullPath("red.png"));
  list->AddDevice(L"Blue", 2, files.FullPath("blue.png"));
  // Nothing online: nothing drawn, and a click there reports nothing.
  EXPECT_EQ(Pixel(dlg, 120, 100), kBackground);
  Click(dlg, 120, 100);
  EXPECT_TRUE(Codes(dlg, 57).empty());

  list->SetDeviceState(1, 0, 1);
  list->SetDeviceState(2, 1, 1);
  list->GetOnlineDevCount();
  list->SetSelectDevice(2);
  // The card layout: the picture (0.8 of 100 pixels) centred in the box
  // above the text.
  const CRect shown = list->GetShownRect();
  EXPECT_EQ(shown, CRect(20, 20, 220, 280));
  const ARGB centre = Pixel(dlg, 120, 100);
  EXPECT_TRUE(Near(centre, 0xFF1010E0, 2)) << std::hex << centre;
  list->SetSelectIndex(1);
  EXPECT_TRUE(Near(Pixel(dlg, 120, 100), 0xFFE01010, 2));
  EXPECT_EQ(Pixel(dlg, 120 + 45, 100), kBackground) << "the picture is drawn at 0.8 of its size";

  Click(dlg, 120, 100);
  const auto notices = Notices(dlg, 57);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, CN_CLICK);
  EXPECT_EQ(notices[0].wParam, 0u);
  EXPECT_EQ(list->GetSelectDevice(), 1);
  // Wider than tall, the list shows the picture at the left of the text:
  // its box is (34, 34)-(182, 126), the 80-pixel picture centred in it.
  list->SetRect(CRect(20, 20, 380, 140));
  dlg.GetPaintManager()->Invalidate();
  EXPECT_TRUE(Near(Pixel(dlg, 70, 42), 0xFFE01010, 2));
  EXPECT_TRUE(Near(Pixel(dlg, 146, 118), 0xFFE01010, 2));
  EXPECT_FALSE(Near(Pixel(dlg, 66, 80), 0xFFE01010, 2));
  EXPECT_FALSE(Near(Pixel(dlg, 200, 80), 0xFFE01010, 2));
  list->SetRect(CRect(20, 20, 220, 280));
  // A release outside the list ends the press without a click.
  Move(dlg, 120, 100);
  Button(dlg, true, 120, 100);
  Button(dlg, false, 300, 100);
  EXPECT_EQ(Notices(dlg, 57).size(), 1u);
}

TEST_F(StateControlsTest, DeviceListDrawsTheConnectionModeAndTheBattery) {
  SkinFiles files;
  const std::wstring mode = files.Add("mode.png", 24, 24, {0xFF2060A0, 0xFF60A020});
  const std::wstring bkg = files.Add("bkg.png", 42, 22, {0xFF303030});
  const std::wstring fill = files.Add("fill.png", 30, 14, {0xFF20C040});
  const std::wstring mark = files.Add("mark.png", 12, 18, {0xFFF0D020});
  RecordingDialog dlg;
  Open(dlg, 400, 300);
  auto* list = Create<CDeviceList>(dlg, L"CDeviceList", 57, CRect(20, 20, 220, 280));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->SetDevModeImage(mode), 1);
  ASSERT_EQ(list->SetBatteryBkg(bkg.c_str()), 1);
  ASSERT_EQ(list->SetBatteryIcon(fill.c_str(), mark.c_str()), 1);
  EXPECT_EQ(list->SetDevModeImage(L"qelt_state_tests/none.png"), 0);
  list->AddDevice(L"A", 5, L"");
  // The bottom row of the card starts at y 244, centred under the text;
  // without a battery report it holds only the mode mark (x 104 to 128),
  // with one the mark at x 60 and the gauge at (92, 245); the charging
  // mark widens the row by 14 pixels.
  struct Case {
    const char* what;
    int wired, wireless, charging, level;
    int modeX;
    ARGB mode;
    ARGB fillStart, pastFill, markColour;
  } const cases[] = {
      {"wired, no battery report", 1, 0, 0, 0, 116, 0xFF2060A0, 0, 0, 0},
      {"wireless at half", 0, 1, 0, 50, 72, 0xFF60A020, 0xFF20C040, 0xFF303030, 0},
      {"wired and charging", 1, 1, 1, 50, 65, 0xFF2060A0, 0xFF20C040, 0xFF303030, 0xFFF0D020},
  };
  for (const Case& k : cases) {
    list->SetDeviceState(5, 0, k.wired);
    list->SetDeviceState(5, 1, k.wireless);
    list->SetDeviceBattery(5, k.charging, k.level);
    ASSERT_EQ(list->GetOnlineDevCount(), 1);
    list->SetSelectDevice(5);
    EXPECT_EQ(Pixel(dlg, k.modeX, 256), k.mode) << k.what;
    if (k.fillStart == 0) continue;
    // With the charging mark the row is 14 pixels wider, so it starts 7
    // further left.
    const int gauge = k.charging ? 92 - 7 : 92;
    EXPECT_EQ(Pixel(dlg, gauge + 4 + 1, 245 + 8), k.fillStart) << k.what;
    EXPECT_EQ(Pixel(dlg, gauge + 4 + 16, 245 + 8), k.pastFill) << k.what;
    if (k.markColour != 0) {
      EXPECT_EQ(Pixel(dlg, gauge + 42 + 2 + 6, 245 + 11), k.markColour) << k.what;
    }
  }
}

// --- BatteryCtrl -------------------------------------------------------------------------------

TEST_F(StateControlsTest, BatteryAnimatesEveryFifthTickWhileCharging) {
  RecordingDialog dlg;
  Open(dlg);
  auto* battery = Create<BatteryCtrl>(dlg, L"BatteryCtrl", 43, CRect(10, 10, 110, 32));
  ASSERT_NE(battery, nullptr);
  EXPECT_EQ(battery->IsRunTimer(), 1);
  battery->SetBatteryInfo(5, 0);
  for (int i = 0; i < 10; ++i) battery->OnTimer();
  EXPECT_EQ(battery->GetShownLevel(), 5) << "not charging: the real level, no animation";
  EXPECT_EQ(battery->GetAnimatedLevel(), 0);

  battery->SetBatteryInfo(5, 1);
  // Ticks 1..15: every 5th grows the shown level by 2; 0, 2, 4, then 6
  // reaches 5 and starts again from 0.
  const int expected[] = {0, 0, 0, 0, 2, 2, 2, 2, 2, 4, 4, 4, 4, 4, 0};
  for (size_t i = 0; i < std::size(expected); ++i) {
    dlg.GetPaintManager()->Invalidate();
    Pump(dlg);
    const int before = battery->GetUpdate();
    battery->OnTimer();
    EXPECT_EQ(battery->GetShownLevel(), expected[i]) << "tick " << i + 1;
    EXPECT_EQ(battery->GetUpdate(), (i + 1) % 5 == 0 ? 0 : before) << "a redraw on each step only, tick " << i + 1;
  }
}

TEST_F(StateControlsTest, BatterySetToTheSameValuesDoesNotRedraw) {
  RecordingDialog dlg;
  Open(dlg);
  auto* battery = Create<BatteryCtrl>(dlg, L"BatteryCtrl", 43, CRect(10, 10, 110, 32));
  ASSERT_NE(battery, nullptr);
  struct Case {
    int level, charging;
    bool redraw;
  } const cases[] = {
      {100, 0, false},  // the initial values
      {80, 0, true}, {80, 0, false}, {80, 1, true}, {80, 1, false}, {60, 1, true},
  };
  for (const Case& k : cases) {
    dlg.GetPaintManager()->Invalidate();
    Pump(dlg);
    ASSERT_EQ(battery->GetUpdate(), 1);
    battery->SetBatteryInfo(k.level, k.charging);
    EXPECT_EQ(battery->GetUpdate() == 0, k.redraw) << k.level << "/" << k.charging;
    EXPECT_EQ(battery->GetLevel(), k.level);
    EXPECT_EQ(battery->GetCharging(), k.charging);
  }
}

TEST_F(StateControlsTest, BatteryDrawsTheFillCutToTheLevelAndTheMarkWhileCharging) {
  SkinFiles files;
  const std::wstring bkg = files.Add("bkg.png", 42, 22, {0xFF303030});
  const std::wstring fill = files.Add("fill.png", 30, 14, {0xFF20C040});
  const std::wstring mark = files.Add("mark.png", 12, 18, {0xFFF0D020});
  RecordingDialog dlg;
  Open(dlg);
  auto* battery = Create<BatteryCtrl>(dlg, L"BatteryCtrl", 43, CRect(10, 10, 70, 32));
  ASSERT_NE(battery, nullptr);
  ASSERT_EQ(battery->SetImage(bkg.c_str(), 1), 1);
  ASSERT_EQ(battery->SetBatteryIcon(fill.c_str(), mark.c_str()), 1);
  EXPECT_EQ(battery->SetBatteryIcon(L"qelt_state_tests/none.png", mark.c_str()), 0);
  ASSERT_EQ(battery->SetBatteryIcon(fill.c_str(), mark.c_str()), 1);
  battery->SetBatteryInfo(50, 0);
  // The fill starts at (4, 4) of the gauge and is 15 of its 30 pixels wide.
  struct Case {
    const char* what;
    int x, y;
    ARGB colour;
  } const cases[] = {
      {"gauge border", 10 + 1, 10 + 1, 0xFF303030},
      {"fill start", 10 + 4, 10 + 8, 0xFF20C040},
      {"fill end", 10 + 4 + 14, 10 + 8, 0xFF20C040},
      {"past the level", 10 + 4 + 16, 10 + 8, 0xFF303030},
      {"no mark when not charging", 10 + 42 + 2 + 6, 10 + 11, kBackground},
  };
  for (const Case& k : cases) EXPECT_EQ(Pixel(dlg, k.x, k.y), k.colour) << k.what;
  battery->SetBatteryInfo(50, 1);
  EXPECT_EQ(Pixel(dlg, 10 + 42 + 2 + 6, 10 + 11), 0xFFF0D020u) << "the charging mark beside the gauge";
  EXPECT_EQ(Pixel(dlg, 10 + 4 + 2, 10 + 8), 0xFF303030u) << "the animation starts from an empty gauge";
}

// The real 10 ms multimedia timer animates the gauge on its own thread
// while the window thread sets and paints it.
TEST_F(StateControlsTest, BatteryAnimationRunsOnTheRealTimer) {
  RecordingDialog dlg;
  Open(dlg);
  auto* battery = Create<BatteryCtrl>(dlg, L"BatteryCtrl", 43, CRect(10, 10, 110, 32));
  ASSERT_NE(battery, nullptr);
  battery->AddMTimer();
  battery->SetBatteryInfo(100, 1);
  PaintManager* pm = dlg.GetPaintManager();
  ASSERT_NE(pm->SetMTimer(10), 0u);
  int highest = 0;
  // Bounded by steps, not by time: each round paints and may change the
  // values; the test ends as soon as the gauge has advanced four steps.
  for (int round = 0; round < 4000 && highest < 8; ++round) {
    battery->SetBatteryInfo(100, round % 50 == 49 ? 2 : 1);
    pm->Invalidate();
    Pump(dlg);
    const int shown = battery->GetShownLevel();
    EXPECT_TRUE(shown >= 0 && shown <= 100) << shown;
    highest = std::max(highest, shown);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  pm->KillMTimer();
  EXPECT_GE(highest, 8);
}

// --- CDeviceState ------------------------------------------------------------------------------

TEST_F(StateControlsTest, DeviceStateDrawsItsTitleOverItsImage) {
  SkinFiles files;
  const std::wstring area = files.Add("area.png", 40, 40, {0xFF404850});
  RecordingDialog dlg;
  Open(dlg);
  auto* state = Create<CDeviceState>(dlg, L"CDeviceState", 44, CRect(10, 10, 210, 40), L"");
  ASSERT_NE(state, nullptr);
  ASSERT_EQ(state->SetImage(area.c_str(), 1), 1);
  EXPECT_EQ(state->GetGDIText(), 1);
  auto textPixels = [&] {
    Pump(dlg);
    const platform::Bitmap& bmp = dlg.GetPaintManager()->GetPaintDC()->Bitmap();
    int n = 0;
    for (int y = 12; y < 38; ++y) {
      for (int x = 12; x < 208; ++x) n += platform::Unpremultiply(bmp.PixelAt(x, y)) != 0xFF404850u ? 1 : 0;
    }
    return n;
  };
  EXPECT_EQ(textPixels(), 0);
  state->SetTitle(L"Wireless connected");
  EXPECT_GT(textPixels(), 40);
  EXPECT_EQ(state->OnCheckMouseResponse(0, CPoint(20, 20)), 1);
  EXPECT_EQ(state->GetRresponse(), 0) << "a label takes no input";
}

// --- CColorButton ------------------------------------------------------------------------------

TEST_F(StateControlsTest, ColorButtonsCheckWithinTheirGroupOnly) {
  RecordingDialog dlg;
  Open(dlg);
  CColorButton* b[4] = {};
  const wchar_t* groups[4] = {L"DEFAULTCOLOR", L"DEFAULTCOLOR", L"DEFAULTCOLOR", L"COLORVALUE"};
  for (int i = 0; i < 4; ++i) {
    b[i] = Create<CColorButton>(dlg, L"CColorButton", UINT(209 + i), CRect(10 + i * 40, 10, 40 + i * 40, 40));
    ASSERT_NE(b[i], nullptr);
    b[i]->SetGroupName(groups[i]);
  }
  EXPECT_EQ(b[3]->SetCheck(1), 1);
  Click(dlg, 25, 25);  // b[0]
  EXPECT_EQ(b[0]->GetCheck(), 1);
  EXPECT_EQ(b[3]->GetCheck(), 1) << "another group stays checked";
  Click(dlg, 65, 25);  // b[1]
  EXPECT_EQ(b[0]->GetCheck(), 0);
  EXPECT_EQ(b[1]->GetCheck(), 1);
  EXPECT_EQ(b[3]->GetCheck(), 1);
  EXPECT_EQ(Codes(dlg, 209), (std::vector<UINT>{CN_PRESS, CN_CLICK}));
  // SetCheck unchecks the group too; disabled, it changes nothing.
  EXPECT_EQ(b[2]->SetCheck(1), 1);
  EXPECT_EQ(b[1]->GetCheck(), 0);
  b[0]->SetEnabled(0);
  EXPECT_EQ(b[0]->SetCheck(1), 0);
  // A release outside after the press: checked at the press, no click.
  Move(dlg, 65, 25);
  Button(dlg, true, 65, 25);
  Button(dlg, false, 300, 200);
  EXPECT_EQ(b[1]->GetCheck(), 1);
  EXPECT_EQ(Codes(dlg, 210), (std::vector<UINT>{CN_PRESS, CN_CLICK, CN_PRESS}));
}

TEST_F(StateControlsTest, ColorButtonShowsItsColourAndItsStateOutline) {
  RecordingDialog dlg;
  Open(dlg);
  auto* b = Create<CColorButton>(dlg, L"CColorButton", 40, CRect(10, 10, 40, 40));
  auto* black = Create<CColorButton>(dlg, L"CColorButton", 41, CRect(60, 10, 90, 40));
  ASSERT_TRUE(b && black);
  EXPECT_EQ(b->GetColor(), 0xFFFFFFu);
  b->SetColor(0x0000FF);  // red as COLORREF
  black->SetColor(0x000000);
  EXPECT_EQ(Pixel(dlg, 25, 25), 0xFFFF0000u);
  EXPECT_EQ(Pixel(dlg, 10, 10), 0xFFFF0000u) << "no outline in the normal state";
  EXPECT_EQ(Pixel(dlg, 75, 25), 0xFF010000u) << "black survives as 0x000001";
  Move(dlg, 25, 25);
  EXPECT_EQ(b->GetState(), 1);
  EXPECT_EQ(Pixel(dlg, 10, 10), 0xFFFFFFFFu) << "white outline on hover";
  EXPECT_EQ(Pixel(dlg, 25, 25), 0xFFFF0000u);
  Move(dlg, 200, 200);
  EXPECT_EQ(b->SetCheck(1), 1);
  EXPECT_EQ(b->GetShownColumn(), 2);
  EXPECT_EQ(Pixel(dlg, 11, 11), 0xFFFFFFFFu) << "white outline while checked";
  b->SetEnabled(0);
  EXPECT_EQ(Pixel(dlg, 11, 11), 0xFF808080u) << "grey outline while disabled";
  // The same colour again asks for no redraw.
  Pump(dlg);
  b->SetColor(0x0000FF);
  EXPECT_EQ(b->GetUpdate(), 1);
  b->SetColor(0x00FF00);
  EXPECT_EQ(b->GetUpdate(), 0);
}

// --- LightSlider ---------------------------------------------------------------------------------

TEST_F(StateControlsTest, LightSliderStoresOnlyPositionsInRange) {
  RecordingDialog dlg;
  Open(dlg);
  auto* s = Create<LightSlider>(dlg, L"LightSlider", 204, CRect(10, 10, 230, 30));
  ASSERT_NE(s, nullptr);
  struct Case {
    int minimum, set, position;
  } const cases[] = {
      {0, 3, 3}, {0, 11, 10}, {0, -1, 10}, {0, 0, 0}, {0, 10, 10},
      {1, 4, 3}, {1, 0, 3}, {1, 1, 0}, {1, 99, 10},
  };
  for (const Case& k : cases) {
    s->SetMinProgress(k.minimum);
    EXPECT_EQ(s->SetProgress(k.set), k.position) << k.minimum << " " << k.set;
    EXPECT_EQ(s->GetProgress(), k.minimum + k.position);
  }
  s->SetMaxProgress(0);
  EXPECT_EQ(s->GetMaxProgress(), 1) << "a range of 0 is raised to 1";
  EXPECT_EQ(s->GetPosition(), 1);
}

TEST_F(StateControlsTest, LightSliderGivesEachValueAnEqualSliceOfTheTrack) {
  RecordingDialog dlg;
  Open(dlg);
  // Track from 20 to 240 (the thumb's half width in from each side):
  // 220 pixels for values 0..4, 44 pixels each.
  auto* s = Create<LightSlider>(dlg, L"LightSlider", 204, CRect(10, 10, 250, 30));
  ASSERT_NE(s, nullptr);
  s->SetMaxProgress(4);
  EXPECT_EQ(s->GetTrackRect(), CRect(20, 10, 240, 30));
  struct Case {
    int x, position;
  } const cases[] = {{0, 0}, {19, 0}, {20, 0}, {63, 0}, {64, 1}, {151, 2}, {152, 3}, {239, 4}, {240, 4}, {400, 4}};
  for (const Case& k : cases) EXPECT_EQ(s->PositionAt(k.x), k.position) << k.x;
  s->SetProgress(2);
  EXPECT_EQ(s->GetThumbRect(), CRect(120, 10, 140, 30));
  s->SetProgress(4);
  EXPECT_EQ(s->GetThumbRect(), CRect(230, 10, 250, 30));
}

TEST_F(StateControlsTest, LightSliderReportsMovesThenTheRelease) {
  RecordingDialog dlg;
  Open(dlg);
  auto* s = Create<LightSlider>(dlg, L"LightSlider", 207, CRect(10, 10, 250, 30));
  ASSERT_NE(s, nullptr);
  s->SetMaxProgress(4);
  s->SetMinProgress(1);
  s->SetProgress(1);  // position 0
  // A press on the track far from the thumb moves it there (code 8) and,
  // the thumb (175 to 195 for value 3) now being under the pointer, starts
  // a drag.
  Move(dlg, 190, 20);
  Button(dlg, true, 190, 20);
  EXPECT_TRUE(s->IsDragging());
  Move(dlg, 200, 20);
  Move(dlg, 205, 20);  // the same slice: nothing new
  Move(dlg, 400, 20);  // clamped to the last value
  Button(dlg, false, 400, 20);
  EXPECT_FALSE(s->IsDragging());
  const auto notices = Notices(dlg, 207);
  struct Want {
    UINT code;
    WPARAM value;
  } const want[] = {{CN_SCROLL, 1 + 3}, {CN_SCROLL, 1 + 4}, {CN_CLICK, 1 + 4}};
  ASSERT_EQ(notices.size(), std::size(want));
  for (size_t i = 0; i < notices.size(); ++i) {
    EXPECT_EQ(notices[i].code, want[i].code) << i;
    EXPECT_EQ(notices[i].wParam, want[i].value) << i;
  }
  // The wheel is swallowed.
  platform::headless::InjectWheel(dlg.GetSafeHwnd(), -120, 100, 20);
  Pump(dlg);
  EXPECT_EQ(s->GetProgress(), 5);
}

TEST_F(StateControlsTest, LightSliderThumbShowsItsStateFrame) {
  SkinFiles files;
  const std::wstring thumb = files.Add("thumb.png", 20, 20, {0xFF101010, 0xFF202020, 0xFF303030, 0xFF404040});
  RecordingDialog dlg;
  Open(dlg);
  auto* s = Create<LightSlider>(dlg, L"LightSlider", 204, CRect(10, 10, 250, 30));
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->SetThumbImage(thumb.c_str()), 1);
  EXPECT_EQ(s->SetThumbImage(L"qelt_state_tests/none.png"), 0);
  // Position 0: the thumb covers x 10 to 30.
  EXPECT_EQ(Pixel(dlg, 20, 20), 0xFF101010u) << "normal";
  Move(dlg, 20, 20);
  EXPECT_EQ(Pixel(dlg, 20, 20), 0xFF202020u) << "hover";
  Button(dlg, true, 20, 20);
  EXPECT_EQ(s->GetState(), 2);
  EXPECT_EQ(Pixel(dlg, 20, 20), 0xFF303030u) << "dragging";
  Button(dlg, false, 20, 20);
  EXPECT_EQ(Pixel(dlg, 20, 20), 0xFF202020u) << "released on the thumb";
  Move(dlg, 200, 20);
  EXPECT_EQ(Pixel(dlg, 20, 20), 0xFF101010u) << "the pointer left the thumb";
  s->SetEnabled(0);
  EXPECT_EQ(Pixel(dlg, 20, 20), 0xFF404040u) << "disabled";
}

// While dragging, the timer's step follows the cursor even without move
// events, at most every 60 ms, and its notification arrives on the window
// thread, never on the timer's.
TEST_F(StateControlsTest, LightSliderTimerStepRunsOnTheWindowThread) {
  RecordingDialog dlg;
  HWND hwnd = Open(dlg);
  auto* s = Create<LightSlider>(dlg, L"LightSlider", 204, CRect(10, 10, 250, 30));
  ASSERT_NE(s, nullptr);
  s->SetMaxProgress(4);
  Move(dlg, 20, 20);
  Button(dlg, true, 20, 20);
  ASSERT_TRUE(s->IsDragging());
  const size_t before = dlg.notices.size();
  // The pointer moves, but its move event is lost: only the cursor
  // position knows.
  platform::headless::InjectMouseMove(hwnd, 150, 20);
  MSG msg;
  std::vector<MSG> kept;
  while (platform::PeekMessage(&msg)) {
    if (msg.message != WM_MOUSEMOVE) kept.push_back(msg);
  }
  for (MSG& m : kept) platform::DispatchMessage(&m);
  ASSERT_EQ(s->GetPosition(), 0);

  auto tickOnTimerThread = [&] {
    std::thread timer([&] { s->OnTimer(); });
    timer.join();
  };
  platform::headless::AdvanceTime(59);
  tickOnTimerThread();
  Pump(dlg);
  EXPECT_EQ(s->GetPosition(), 0) << "59 ms after the press: no step yet";
  platform::headless::AdvanceTime(1);
  tickOnTimerThread();
  EXPECT_EQ(dlg.notices.size(), before) << "the timer thread sent nothing itself";
  EXPECT_EQ(s->GetPosition(), 0);
  Pump(dlg);
  EXPECT_EQ(s->GetPosition(), 2);
  ASSERT_EQ(dlg.notices.size(), before + 1);
  EXPECT_EQ(dlg.notices.back().code, CN_SCROLL);
  EXPECT_EQ(dlg.notices.back().wParam, 2u);
  Button(dlg, false, 150, 20);
  platform::headless::AdvanceTime(100);
  tickOnTimerThread();
  Pump(dlg);
  EXPECT_EQ(dlg.notices.back().code, CN_CLICK) << "no step after the release";
}

// --- MPalette ------------------------------------------------------------------------------------

TEST_F(StateControlsTest, PaletteColourRoundTrip) {
  RecordingDialog dlg;
  Open(dlg);
  auto* p = Create<MPalette>(dlg, L"MPalette", 226, CRect(10, 10, 298, 160));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetSelectColor(), MPalette::HslToColor(0.5, 1.0, 0.6)) << "the initial values";
  struct Case {
    COLORREF colour;
    int slack;  // hue is kept in whole degrees, the others in halves of a per cent
  } const cases[] = {
      {0x0000FF, 0}, {0x00FF00, 0}, {0xFF0000, 0}, {0xFFFFFF, 0}, {0x000000, 0},
      {0x00FFFF, 0}, {0xFF00FF, 0}, {0x808080, 1}, {0x4CB200, 6}, {0x123456, 6}, {0xE0F0FF, 6},
  };
  for (const Case& k : cases) {
    p->SetSelectColor(k.colour);
    const COLORREF back = p->GetSelectColor();
    EXPECT_TRUE(Near(back, k.colour, k.slack)) << std::hex << k.colour << " came back as " << back;
  }
  EXPECT_TRUE(dlg.notices.empty()) << "SetSelectColor sends nothing";
}

TEST_F(StateControlsTest, PaletteBlackPutsTheThumbAtTheFieldTop) {
  RecordingDialog dlg;
  Open(dlg);
  auto* p = Create<MPalette>(dlg, L"MPalette", 226, CRect(10, 10, 298, 160));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetFieldRect(), CRect(10, 10, 260, 160));
  EXPECT_EQ(p->GetBarRect(), CRect(266, 10, 298, 160));
  p->SetSelectColor(0x000000);
  EXPECT_EQ(p->GetLightness(), 0);
  EXPECT_EQ(p->GetThumbPoint().y, 0);
  p->SetSelectColor(0x0000FF);  // red: hue 0, lightness 100
  EXPECT_EQ(p->GetThumbPoint(), CPoint(0, (100 - 20) * 150 / 180));
  p->SetSelectColor(0xFF0000);  // blue: hue 240
  EXPECT_EQ(p->GetThumbPoint().x, 250 * 240 / 360);
}

TEST_F(StateControlsTest, PalettePressReportsANewColourAndTheReleaseAlways) {
  RecordingDialog dlg;
  Open(dlg);
  auto* p = Create<MPalette>(dlg, L"MPalette", 226, CRect(10, 10, 298, 160));
  ASSERT_NE(p, nullptr);
  // Field (10, 10)-(260, 160): x 10 + 125 is hue 180, y 10 + 75 lightness 110.
  Click(dlg, 135, 85);
  EXPECT_EQ(p->GetHue(), 180);
  EXPECT_EQ(p->GetLightness(), 110);
  const COLORREF picked = p->GetSelectColor();
  auto notices = Notices(dlg, 226);
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].code, CN_COLOR);
  EXPECT_EQ(notices[0].wParam, WPARAM(picked));
  EXPECT_EQ(notices[1].code, CN_CLICK);
  EXPECT_EQ(notices[1].wParam, WPARAM(picked));
  // The same point again: no code 27, but the release still reports.
  Click(dlg, 135, 85);
  EXPECT_EQ(Codes(dlg, 226), (std::vector<UINT>{CN_COLOR, CN_CLICK, CN_CLICK}));

  // Dragging in the bar reports code 27 with 0 on each move; the release
  // the final colour.
  dlg.notices.clear();
  Move(dlg, 282, 10);
  Button(dlg, true, 282, 10);  // top of the bar: saturation 0, a grey
  EXPECT_EQ(p->GetSaturation(), 0);
  Move(dlg, 282, 85);
  EXPECT_EQ(p->GetSaturation(), 100);
  Move(dlg, 282, 159);  // the bar's last row
  EXPECT_EQ(p->GetSaturation(), 149 * 200 / 150);
  Button(dlg, false, 282, 159);
  notices = Notices(dlg, 226);
  ASSERT_EQ(notices.size(), 4u);
  EXPECT_EQ(notices[0].code, CN_COLOR);
  EXPECT_EQ(notices[0].wParam, WPARAM(MPalette::HslToColor(0.5, 0.0, 110 / 200.0)));
  for (int i : {1, 2}) {
    EXPECT_EQ(notices[size_t(i)].code, CN_COLOR);
    EXPECT_EQ(notices[size_t(i)].wParam, 0u);
  }
  EXPECT_EQ(notices[3].code, CN_CLICK);
  EXPECT_EQ(notices[3].wParam, WPARAM(p->GetSelectColor()));
}

TEST_F(StateControlsTest, PaletteFieldShowsHueAcrossAndLightnessDown) {
  RecordingDialog dlg;
  Open(dlg, 400, 300);
  // A field 360 x 200 maps one pixel to one column and row of the bitmap.
  auto* p = Create<MPalette>(dlg, L"MPalette", 226, CRect(10, 10, 408, 210));
  ASSERT_NE(p, nullptr);
  p->SetPalletHeight(200);
  p->SetThumbImage(L"qelt_state_tests/none.png");
  struct Case {
    int column, row;
  } const cases[] = {{0, 100}, {120, 100}, {240, 100}, {60, 50}, {300, 150}};
  for (const Case& k : cases) {
    const ARGB want = MRender::ToARGB(MPalette::HslToColor(k.column / 360.0, 1.0, k.row / 200.0));
    const ARGB got = Pixel(dlg, 10 + k.column, 10 + k.row);
    EXPECT_TRUE(Near(got, want, 8)) << k.column << "," << k.row << std::hex << " got " << got << " want " << want;
  }
  EXPECT_TRUE(Near(Pixel(dlg, 10 + 180, 10 + 1), 0xFF000001, 8)) << "the top row is black";
}

}  // namespace
}  // namespace toolkit_test
