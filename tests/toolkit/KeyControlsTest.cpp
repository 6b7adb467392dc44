// The button map controls (MouseCtrl, MouseKeyCtrl, ReporteCtrl) on the
// headless backend: built by the panel factory, hit rectangles as drawn,
// the press and click notifications from injected input, selection by
// program, and their looks read back as pixels.

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "ToolkitFixture.h"
#include "platform/Text.h"
#include "toolkit/controls/MouseCtrl.h"
#include "toolkit/controls/MouseKeyCtrl.h"
#include "toolkit/controls/ReporteCtrl.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/PaintManager.h"

namespace toolkit_test {
namespace {

constexpr ARGB kSelect = 0xFFFA373E;
constexpr ARGB kWhite = 0xFFFFFFFF;
// Frame colours of the test strips.
constexpr ARGB kFrame[2] = {0xFF103050, 0xFF60A020};

// A two-frame strip of solid colours under the skin folder, removed when
// the test ends.
class Strip {
 public:
  Strip(const char* name, int frameWidth, int height) {
    folder_ = std::filesystem::path(platform::ToUtf8(MRender::GetSkinFolder())) / "qelt_keys_tests";
    std::filesystem::create_directories(folder_);
    platform::Bitmap bmp(2 * frameWidth, height);
    for (int i = 0; i < 2; ++i) bmp.FillRaw(RECT{i * frameWidth, 0, (i + 1) * frameWidth, height}, kFrame[i]);
    EXPECT_TRUE(bmp.SavePng(folder_ / name));
    relative_ = L"qelt_keys_tests/" + platform::FromUtf8(name);
  }
  ~Strip() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  const wchar_t* Name() const { return relative_.c_str(); }

 private:
  std::filesystem::path folder_;
  std::wstring relative_;
};

class KeyControlsTest : public ToolkitTest {
 protected:
  // Every control of these tests lives in a page panel over the whole
  // window; a control at (10, 10) has its control coordinates 10 pixels
  // off the window's.
  static MPanel* Page(RecordingDialog& dlg) {
    return static_cast<MPanel*>(dlg.CreateControl(L"MTabLayout", 5, CRect(0, 0, 400, 300), nullptr, 1, 1));
  }
  template <typename T>
  static T* Make(MPanel* page, const wchar_t* name, CRect rect, int visible = 1) {
    return dynamic_cast<T*>(page->CreateControl(name, 9, rect, nullptr, visible, 1));
  }
  static ARGB Pixel(RecordingDialog& dlg, int x, int y) {
    Pump(dlg);
    return platform::Unpremultiply(dlg.GetPaintManager()->GetPaintDC()->Bitmap().PixelAt(x, y));
  }
  static bool Near(ARGB a, ARGB b, int slack = 8) {
    for (int shift = 0; shift < 32; shift += 8) {
      const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
      if (d > slack || d < -slack) return false;
    }
    return true;
  }
  static void Click(RecordingDialog& dlg, int x, int y) {
    Move(dlg, x, y);
    Button(dlg, true, x, y);
    Button(dlg, false, x, y);
  }
  // The notifications of id 9 as (code, wParam) pairs.
  static std::vector<std::pair<UINT, WPARAM>> Sent(const RecordingDialog& dlg) {
    std::vector<std::pair<UINT, WPARAM>> sent;
    for (const Notice& n : dlg.notices) {
      if (n.id == 9) sent.push_back({n.code, n.wParam});
    }
    return sent;
  }
  using Pairs = std::vector<std::pair<UINT, WPARAM>>;
};

// --- Building and the shared contract ---------------------------------------------------------

TEST_F(KeyControlsTest, OnlyThePanelFactoryBuildsThem) {
  RecordingDialog dlg;
  Open(dlg);
  MPanel* page = Page(dlg);
  ASSERT_NE(page, nullptr);
  for (const wchar_t* name : {L"MouseCtrl", L"MouseKeyCtrl", L"ReporteCtrl"}) {
    MControl* made = page->CreateControl(name, 9, CRect(0, 0, 100, 100), nullptr, 1, 1);
    auto* item = dynamic_cast<ItemPanel*>(made);
    ASSERT_NE(item, nullptr) << platform::ToUtf8(name);
    EXPECT_NE(dynamic_cast<MPanel*>(made), nullptr);
    EXPECT_EQ(made->GetParantObject(), page);
    EXPECT_EQ(made->GetManager(), dlg.GetPaintManager());
    EXPECT_EQ(item->GetSelectItem(), -1);
    EXPECT_EQ(item->GetHoverItem(), -1);
    EXPECT_FLOAT_EQ(item->GetScaleValue(), 1.0f);
    EXPECT_TRUE(item->IsClass(L"MControl"));
    EXPECT_EQ(dlg.CreateControl(name, 10, CRect(0, 0, 100, 100), nullptr, 1, 1), nullptr) << platform::ToUtf8(name);
  }
}

TEST_F(KeyControlsTest, GettersOutOfRangeGiveZeroAndEmpty) {
  MouseCtrl mouse(nullptr, 9, CRect(0, 0, 300, 300), 1);
  MouseKeyCtrl keys(nullptr, 9, CRect(0, 0, 300, 300), 1);
  ReporteCtrl rates(nullptr, 9, CRect(0, 0, 300, 300), 1);
  EXPECT_EQ(mouse.AddItem(L"Left", 7, 0, CPoint(80, 20), CPoint(150, 20)), 0);
  EXPECT_EQ(mouse.AddItem(L"Right", 8, 1, CPoint(160, 20), CPoint(220, 20)), 1);
  EXPECT_EQ(keys.AddItem(L"Left", L"Left click", 7), 0);
  EXPECT_EQ(rates.AddItem(L"125Hz", 8, 67825), 0);
  struct Case {
    const char* what;
    std::function<int(int)> keyValue;
    std::function<CString(int)> name;
    int count;
  } const kCases[] = {
      {"MouseCtrl", [&](int i) { return mouse.GetItemKeyValue(i); }, [&](int i) { return mouse.GetItemText(i); }, 2},
      {"MouseKeyCtrl", [&](int i) { return keys.GetItemKeyValue(i); }, [&](int i) { return keys.GetItemKeyName(i); }, 1},
      {"ReporteCtrl", [&](int i) { return rates.GetItemKeyValue(i); }, [&](int i) { return rates.GetItemKeyName(i); }, 1},
  };
  for (const Case& c : kCases) {
    for (int index : {-1, c.count, 1000}) {
      EXPECT_EQ(c.keyValue(index), 0) << c.what << " " << index;
      EXPECT_EQ(c.name(index), L"") << c.what << " " << index;
    }
    EXPECT_NE(c.keyValue(0), 0) << c.what;
  }
  EXPECT_EQ(mouse.GetItemKeyValue(1), 8);
  EXPECT_EQ(keys.GetItemKeyDesc(0), L"Left click");
  EXPECT_EQ(mouse.GetItemCount(), 2);
}

TEST_F(KeyControlsTest, ItemsAddedWhileHiddenAreHitOnlyOnceDrawn) {
  RecordingDialog dlg;
  Open(dlg);
  MPanel* page = Page(dlg);
  auto* keys = Make<MouseKeyCtrl>(page, L"MouseKeyCtrl", CRect(10, 10, 210, 200), 0);
  ASSERT_NE(keys, nullptr);
  keys->AddItem(L"Left", L"Left click", 0);
  keys->AddItem(L"Right", L"Right click", 1);
  Pump(dlg);
  EXPECT_EQ(keys->GetItemRect(1), CRect());
  // Shown but not painted yet: a press finds nothing.
  keys->SetVisible(1, 0);
  Move(dlg, 50, 60);
  Button(dlg, true, 50, 60);
  EXPECT_EQ(Sent(dlg), Pairs{});
  EXPECT_EQ(keys->GetSelectItem(), -1);
  Button(dlg, false, 300, 250);
  // Painted: row 1 lies at y 40 to 70 of the control.
  Pump(dlg);
  EXPECT_EQ(keys->GetItemRect(1), CRect(0, 40, 200, 70));
  Click(dlg, 50, 60);
  EXPECT_EQ(Sent(dlg), (Pairs{{CN_PRESS, 1}, {CN_CLICK, 1}}));
  EXPECT_EQ(keys->GetSelectItem(), 1);
}

// A control painted once, hidden, given more items and shown again without
// a redraw request must not show its old rendering on the next paint.
TEST_F(KeyControlsTest, ItemsAddedWhileHiddenShowAfterTheNextPaint) {
  Strip rows("row.png", 30, 30);
  RecordingDialog dlg;
  Open(dlg);
  auto* keys = Make<MouseKeyCtrl>(Page(dlg), L"MouseKeyCtrl", CRect(10, 10, 210, 200));
  ASSERT_NE(keys, nullptr);
  ASSERT_EQ(keys->SetImage(rows.Name(), 2), 1);
  keys->AddItem(L"", L"", 0);
  EXPECT_EQ(Pixel(dlg, 100, 10 + 15), kFrame[0]);
  const ARGB empty = Pixel(dlg, 100, 10 + 55);
  ASSERT_NE(empty, kFrame[0]);
  keys->SetVisible(0, 0);
  keys->AddItem(L"", L"", 1);
  keys->SetVisible(1, 0);
  dlg.GetPaintManager()->Invalidate();
  EXPECT_EQ(Pixel(dlg, 100, 10 + 55), kFrame[0]);
  EXPECT_EQ(keys->GetItemRect(1), CRect(0, 40, 200, 70));
}

// Press and release on items, on nothing, and a press dragged to another
// item: the release names the item it ends on.
TEST_F(KeyControlsTest, PressAndReleaseNotifyTheItemUnderThem) {
  struct Step {
    bool down;
    int x, y;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    Pairs sent;
    int selected;
  } const kCases[] = {
      {"click on row 0", {{true, 50, 20}, {false, 50, 20}}, {{CN_PRESS, 0}, {CN_CLICK, 0}}, 0},
      {"click on row 2", {{true, 50, 100}, {false, 50, 100}}, {{CN_PRESS, 2}, {CN_CLICK, 2}}, 2},
      {"click on the gap", {{true, 50, 45}, {false, 50, 45}}, {}, -1},
      {"below the rows", {{true, 50, 180}, {false, 50, 180}}, {}, -1},
      {"dragged from 0 to 1", {{true, 50, 20}, {false, 50, 60}}, {{CN_PRESS, 0}, {CN_CLICK, 1}}, 1},
      {"released outside", {{true, 50, 20}, {false, 300, 20}}, {{CN_PRESS, 0}}, 0},
  };
  for (const Case& c : kCases) {
    RecordingDialog dlg;
    Open(dlg);
    auto* keys = Make<MouseKeyCtrl>(Page(dlg), L"MouseKeyCtrl", CRect(10, 10, 210, 200));
    ASSERT_NE(keys, nullptr);
    for (int i = 0; i < 3; ++i) keys->AddItem(L"Key", L"Function", 10 + i);
    Pump(dlg);
    for (const Step& s : c.steps) {
      Move(dlg, s.x, s.y);
      Button(dlg, s.down, s.x, s.y);
    }
    EXPECT_EQ(Sent(dlg), c.sent) << c.what;
    EXPECT_EQ(keys->GetSelectItem(), c.selected) << c.what;
  }
}

TEST_F(KeyControlsTest, SelectionByProgramRedrawsOnlyOnAChange) {
  RecordingDialog dlg;
  Open(dlg);
  auto* rates = Make<ReporteCtrl>(Page(dlg), L"ReporteCtrl", CRect(0, 0, 400, 40));
  ASSERT_NE(rates, nullptr);
  const int values[] = {8, 4, 2, 1};
  for (int v : values) rates->AddItem(L"rate", v, 0);
  Pump(dlg);
  struct Case {
    const char* what;
    std::function<void()> act;
    int selected;
    bool redraws;
  } const kCases[] = {
      {"select 2", [&] { rates->SetSelectItem(2); }, 2, true},
      {"select 2 again", [&] { rates->SetSelectItem(2); }, 2, false},
      {"value 4", [&] { rates->SetSelectItemValue(4); }, 1, true},
      {"a value no card has", [&] { rates->SetSelectItemValue(64); }, 1, true},
      {"beyond the cards", [&] { rates->SetSelectItem(9); }, 9, true},
      {"none", [&] { rates->SetSelectItem(-1); }, -1, true},
  };
  for (const Case& c : kCases) {
    Pump(dlg);
    ASSERT_EQ(rates->GetUpdate(), 1) << c.what;
    c.act();
    EXPECT_EQ(rates->GetSelectItem(), c.selected) << c.what;
    EXPECT_EQ(rates->GetUpdate() == 0, c.redraws) << c.what;
  }
  // No notification comes from a selection made by the program.
  EXPECT_EQ(Sent(dlg), Pairs{});
}

TEST_F(KeyControlsTest, TextSettersChangeOnlyWhatDiffers) {
  RecordingDialog dlg;
  Open(dlg);
  MPanel* page = Page(dlg);
  auto* mouse = Make<MouseCtrl>(page, L"MouseCtrl", CRect(0, 0, 300, 100));
  auto* keys = Make<MouseKeyCtrl>(page, L"MouseKeyCtrl", CRect(0, 100, 300, 200));
  ASSERT_TRUE(mouse != nullptr && keys != nullptr);
  mouse->AddItem(L"Left", 0, 0, CPoint(100, 20), CPoint(200, 20));
  keys->AddItem(L"Left", L"Left click", 0);
  struct Case {
    const char* what;
    MControl* control;
    std::function<void()> act;
    bool redraws;
  } const kCases[] = {
      {"same label", mouse, [&] { mouse->SetItemText(0, L"Left"); }, false},
      {"new label", mouse, [&] { mouse->SetItemText(0, L"Primary"); }, true},
      {"label out of range", mouse, [&] { mouse->SetItemText(3, L"x"); }, false},
      {"same description", keys, [&] { keys->SetItemKeyDesc(0, L"Left click"); }, false},
      {"new description", keys, [&] { keys->SetItemKeyDesc(0, L"DPI cycle"); }, true},
      {"new name", keys, [&] { keys->SetItemText(0, L"Primary"); }, true},
  };
  for (const Case& c : kCases) {
    Pump(dlg);
    ASSERT_EQ(c.control->GetUpdate(), 1) << c.what;
    c.act();
    EXPECT_EQ(c.control->GetUpdate() == 0, c.redraws) << c.what;
  }
  EXPECT_EQ(mouse->GetItemText(0), L"Primary");
  EXPECT_EQ(keys->GetItemKeyDesc(0), L"DPI cycle");
  EXPECT_EQ(keys->GetItemKeyName(0), L"Primary");
}

TEST_F(KeyControlsTest, DeleteAllItemsForgetsHoverAndSelection) {
  RecordingDialog dlg;
  Open(dlg);
  auto* keys = Make<MouseKeyCtrl>(Page(dlg), L"MouseKeyCtrl", CRect(10, 10, 210, 200));
  ASSERT_NE(keys, nullptr);
  keys->AddItem(L"Left", L"Left click", 0);
  keys->AddItem(L"Right", L"Right click", 1);
  Pump(dlg);
  Click(dlg, 50, 60);
  ASSERT_EQ(keys->GetSelectItem(), 1);
  ASSERT_EQ(keys->GetHoverItem(), 1);
  keys->DeleteAllItems();
  EXPECT_EQ(keys->GetItemCount(), 0);
  EXPECT_EQ(keys->GetSelectItem(), -1);
  EXPECT_EQ(keys->GetHoverItem(), -1);
  // A new item in the old place is not marked by the old selection.
  keys->AddItem(L"Wheel", L"Middle click", 2);
  EXPECT_EQ(keys->GetSelectItem(), -1);
  EXPECT_EQ(keys->GetItemKeyValue(0), 2);
}

// The program refreshes the descriptions from its worker thread while the
// window thread paints and routes input; the items lock keeps both sides
// consistent (run under the thread sanitizer too).
TEST_F(KeyControlsTest, DescriptionsChangeFromAnotherThreadWhilePainting) {
  RecordingDialog dlg;
  Open(dlg);
  auto* keys = Make<MouseKeyCtrl>(Page(dlg), L"MouseKeyCtrl", CRect(10, 10, 210, 200));
  ASSERT_NE(keys, nullptr);
  for (int i = 0; i < 3; ++i) keys->AddItem(L"Key", L"none", i);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int n = 0; n < 300; ++n) {
      keys->SetItemKeyDesc(n % 3, (L"function " + std::to_wstring(n)).c_str());
      keys->SetSelectItem(n % 3);
    }
    keys->AddItem(L"Extra", L"last", 3);
    done = true;
  });
  int paints = 0;
  while (!done) {
    Move(dlg, 50 + paints % 100, 30);
    ++paints;
  }
  worker.join();
  Pump(dlg);
  EXPECT_EQ(keys->GetItemKeyDesc(0), L"function 297");
  EXPECT_EQ(keys->GetItemKeyDesc(2), L"function 299");
  EXPECT_EQ(keys->GetSelectItem(), 2);
  EXPECT_EQ(keys->GetItemCount(), 4);
  EXPECT_EQ(keys->GetItemRect(3), CRect(0, 120, 200, 150));
}

// --- MouseCtrl -----------------------------------------------------------------------------------------

TEST_F(KeyControlsTest, MouseCtrlLabelRectangleBySideAndScale) {
  struct Case {
    int side;
    CPoint a, b;
    float scale;
    CRect label;
  } const kCases[] = {
      {1, {20, 50}, {100, 50}, 1.0f, {101, 37, 167, 63}},  // right of the second end
      {0, {100, 50}, {200, 50}, 1.0f, {33, 37, 97, 63}},   // left of the first end
      {2, {100, 50}, {200, 50}, 1.0f, {33, 37, 97, 63}},   // any side but 1 is the left
      {1, {20, 50}, {100, 50}, 2.0f, {202, 74, 334, 126}},
      {0, {100, 50}, {150, 50}, 0.5f, {17, 19, 49, 32}},
  };
  for (const Case& c : kCases) {
    RecordingDialog dlg;
    Open(dlg, 400, 300);
    auto* mouse = Make<MouseCtrl>(Page(dlg), L"MouseCtrl", CRect(10, 10, 390, 290));
    ASSERT_NE(mouse, nullptr);
    mouse->SetScaleValue(c.scale);
    mouse->AddItem(L"", 3, c.side, c.a, c.b);
    EXPECT_EQ(mouse->GetItemLabelRect(0), CRect()) << c.side << " " << c.scale;
    Pump(dlg);
    EXPECT_EQ(mouse->GetItemLabelRect(0), c.label) << c.side << " " << c.scale;
    EXPECT_EQ(MouseCtrl::LabelRectFor(c.side, c.a, c.b, c.scale), c.label);
    // The label is hit in window coordinates, 10 pixels off; the line is not.
    Click(dlg, 10 + c.label.left + 1, 10 + c.label.top + 1);
    Click(dlg, 10 + (c.a.x + c.b.x) / 2 * c.scale, 10 + c.a.y * c.scale);
    EXPECT_EQ(Sent(dlg), (Pairs{{CN_PRESS, 0}, {CN_CLICK, 0}})) << c.side << " " << c.scale;
  }
}

TEST_F(KeyControlsTest, MouseCtrlHighlightsTheHoveredAndSelectedCallout) {
  Strip box("key_box.png", 20, 26);
  RecordingDialog dlg;
  Open(dlg);
  auto* mouse = Make<MouseCtrl>(Page(dlg), L"MouseCtrl", CRect(10, 10, 390, 290));
  ASSERT_NE(mouse, nullptr);
  ASSERT_EQ(mouse->SetImage(box.Name(), 2), 1);
  // Callout 0: line y 50 from x 20 to 150, label on the right at x 151..217.
  // Callout 1: line y 150 from x 120 to 250, label on the left at x 53..117.
  mouse->AddItem(L"", 0, 1, CPoint(20, 50), CPoint(150, 50));
  mouse->AddItem(L"", 1, 0, CPoint(120, 150), CPoint(250, 150));
  const CPoint line0(10 + 80, 10 + 50), box0(10 + 160, 10 + 45), line1(10 + 200, 10 + 150), box1(10 + 60, 10 + 145);
  struct Case {
    const char* what;
    std::function<void()> act;
    ARGB line0, box0, line1, box1;
  } const kCases[] = {
      {"resting", [] {}, kWhite, kFrame[0], kWhite, kFrame[0]},
      {"hover 0", [&] { Move(dlg, box0.x, box0.y); }, kSelect, kFrame[1], kWhite, kFrame[0]},
      {"hover 1", [&] { Move(dlg, box1.x, box1.y); }, kWhite, kFrame[0], kSelect, kFrame[1]},
      {"away", [&] { Move(dlg, 300, 250); }, kWhite, kFrame[0], kWhite, kFrame[0]},
      {"selected 1", [&] { mouse->SetSelectItem(1); }, kWhite, kFrame[0], kSelect, kFrame[1]},
      {"1 selected, 0 hovered", [&] { Move(dlg, box0.x, box0.y); }, kSelect, kFrame[1], kSelect, kFrame[1]},
  };
  for (const Case& c : kCases) {
    c.act();
    EXPECT_TRUE(Near(Pixel(dlg, line0.x, line0.y), c.line0)) << c.what << std::hex << Pixel(dlg, line0.x, line0.y);
    EXPECT_EQ(Pixel(dlg, box0.x, box0.y), c.box0) << c.what;
    EXPECT_TRUE(Near(Pixel(dlg, line1.x, line1.y), c.line1)) << c.what << std::hex << Pixel(dlg, line1.x, line1.y);
    EXPECT_EQ(Pixel(dlg, box1.x, box1.y), c.box1) << c.what;
  }
  // The dot at the end on the mouse: callout 0 (right side) at its first end,
  // callout 1 (left side) at its second end.
  EXPECT_TRUE(Near(Pixel(dlg, 10 + 20 - 5, 10 + 50), kSelect, 80));
  EXPECT_TRUE(Near(Pixel(dlg, 10 + 250 + 5, 10 + 150), kSelect, 80));
  // Hovering moved the hover, never the selection.
  EXPECT_EQ(mouse->GetSelectItem(), 1);
  EXPECT_EQ(Sent(dlg), Pairs{});
}

TEST_F(KeyControlsTest, MouseCtrlLabelTextIsDarkOnTheHighlightedBox) {
  Strip box("key_box.png", 20, 26);
  RecordingDialog dlg;
  Open(dlg);
  auto* mouse = Make<MouseCtrl>(Page(dlg), L"MouseCtrl", CRect(0, 0, 400, 300));
  ASSERT_NE(mouse, nullptr);
  mouse->SetImage(box.Name(), 2);
  mouse->SetFontWidth(16);
  mouse->AddItem(L"MMMM", 0, 1, CPoint(20, 50), CPoint(150, 50));
  // How many pixels of the label are (nearly) the colour.
  auto count = [&](ARGB colour) {
    Pump(dlg);
    const CRect r = mouse->GetItemLabelRect(0);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += Near(Pixel(dlg, x, y), colour, 40) ? 1 : 0;
    return n;
  };
  EXPECT_GT(count(kWhite), 20);
  EXPECT_EQ(count(0xFF050505), 0);
  mouse->SetSelectItem(0);
  EXPECT_EQ(count(kWhite), 0);
  EXPECT_GT(count(0xFF050505), 20);
}

// --- MouseKeyCtrl ---------------------------------------------------------------------------------------

TEST_F(KeyControlsTest, MouseKeyCtrlRowsAndTheirBackgrounds) {
  Strip rows("row.png", 30, 30);
  struct Case {
    float scale;
    CRect row1;
    int rowsHeight3;
  } const kCases[] = {
      {1.0f, {0, 40, 200, 70}, 110},
      {2.0f, {0, 70, 200, 130}, 200},  // the 10-pixel gap does not scale
  };
  for (const Case& c : kCases) {
    RecordingDialog dlg;
    Open(dlg);
    auto* keys = Make<MouseKeyCtrl>(Page(dlg), L"MouseKeyCtrl", CRect(10, 10, 210, 290));
    ASSERT_NE(keys, nullptr);
    ASSERT_EQ(keys->SetImage(rows.Name(), 2), 1);
    keys->SetScaleValue(c.scale);
    for (int i = 0; i < 3; ++i) keys->AddItem(L"", L"", i);
    keys->SetSelectItem(2);
    Pump(dlg);
    EXPECT_EQ(keys->GetItemRect(1), c.row1) << c.scale;
    EXPECT_EQ(keys->GetRowsHeight(3), c.rowsHeight3) << c.scale;
    const int y0 = 10 + 5, y1 = 10 + c.row1.top + 5, y2 = 10 + c.row1.top + c.row1.Height() + 15;
    EXPECT_EQ(Pixel(dlg, 100, y0), kFrame[0]) << c.scale;
    EXPECT_EQ(Pixel(dlg, 100, y1), kFrame[0]) << c.scale;
    EXPECT_EQ(Pixel(dlg, 100, y2), kFrame[1]) << c.scale;  // selected
    Move(dlg, 100, y1);
    EXPECT_EQ(Pixel(dlg, 100, y1), kFrame[1]) << c.scale;  // hovered
    EXPECT_EQ(keys->GetHoverItem(), 1);
    // The gap between rows 0 and 1 shows what lies beneath.
    EXPECT_NE(Pixel(dlg, 100, 10 + c.row1.top - 5), kFrame[0]) << c.scale;
  }
}

// --- ReporteCtrl -------------------------------------------------------------------------------------------

TEST_F(KeyControlsTest, ReporteCtrlCardsAndTheGapsBetweenThem) {
  // The control at x 20: card i is hit from 20 + 10 + 120 i to 20 + 110 + 120 i.
  struct Case {
    int x;
    int card;  // -1: nothing
  } const kCases[] = {
      {29, -1}, {30, 0}, {80, 0}, {129, 0}, {130, -1}, {149, -1}, {150, 1}, {249, 1}, {260, -1}, {369, 2}, {370, -1},
  };
  for (const Case& c : kCases) {
    RecordingDialog dlg;
    Open(dlg);
    auto* rates = Make<ReporteCtrl>(Page(dlg), L"ReporteCtrl", CRect(20, 100, 390, 140));
    ASSERT_NE(rates, nullptr);
    for (const wchar_t* t : {L"125Hz", L"250Hz", L"500Hz"}) rates->AddItem(t, 1, 0);
    rates->SetSelectItem(2);
    Pump(dlg);
    Click(dlg, c.x, 120);
    const Pairs expected = c.card < 0 ? Pairs{} : Pairs{{CN_PRESS, WPARAM(c.card)}, {CN_CLICK, WPARAM(c.card)}};
    EXPECT_EQ(Sent(dlg), expected) << c.x;
    EXPECT_EQ(rates->GetSelectItem(), c.card < 0 ? 2 : c.card) << c.x;
  }
}

TEST_F(KeyControlsTest, ReporteCtrlOutlinesTheHoveredAndSelectedCards) {
  RecordingDialog dlg;
  Open(dlg);
  auto* rates = Make<ReporteCtrl>(Page(dlg), L"ReporteCtrl", CRect(0, 100, 400, 140));
  ASSERT_NE(rates, nullptr);
  for (const wchar_t* t : {L"125Hz", L"250Hz", L"500Hz"}) rates->AddItem(t, 1, 0);
  const ARGB card = ReporteCtrl::kCardColour;
  // A point on each card's left outline, and one inside its fill.
  auto edge = [&](int i) { return Pixel(dlg, 11 + 120 * i, 120); };
  auto fill = [&](int i) { return Pixel(dlg, 11 + 120 * i + 8, 104); };
  struct Case {
    const char* what;
    std::function<void()> act;
    ARGB edges[3];
  } const kCases[] = {
      {"resting", [] {}, {card, card, card}},
      {"value 1 selects the first card", [&] { rates->SetSelectItemValue(1); }, {kSelect, card, card}},
      {"hover 2", [&] { Move(dlg, 11 + 240 + 50, 120); }, {kSelect, card, kSelect}},
      {"away", [&] { Move(dlg, 390, 50); }, {kSelect, card, card}},
  };
  for (const Case& c : kCases) {
    c.act();
    for (int i = 0; i < 3; ++i) {
      EXPECT_TRUE(Near(edge(i), c.edges[i], 40)) << c.what << " card " << i << std::hex << " " << edge(i);
      EXPECT_TRUE(Near(fill(i), card)) << c.what << " card " << i;
    }
  }
}

}  // namespace
}  // namespace toolkit_test
