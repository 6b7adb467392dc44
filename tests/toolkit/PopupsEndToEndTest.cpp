// End to end: the gallery's popups page in a real window under Xvfb, with
// no window manager and with one (twm), driven with xdotool. The screen is
// just taller than the window, so the combo box at the window's bottom
// edge must open its drop-down upward; the click on an item there must come
// back as the combo's CN_CLICK with that item's index, and a press on the
// free part of the window must close an open drop-down. Skipped, with the
// reason, when Xvfb, xdotool, the window manager or the gallery is missing.

#include <gtest/gtest.h>

#include <algorithm>

#include "TestEnv.h"
#include "XvfbSession.h"

namespace {

// The drop-down's geometry (toolkit/core/MComboBox.h): rows of 30 pixels,
// at most 8 shown, 6 pixels of padding above and below, 2 pixels from the
// combo.
constexpr int kRow = 30, kMaxRows = 8, kPad = 6, kGap = 2;

void OpenUpwardAndPick(const std::string& windowManager) {
  const xvfb::GalleryTools tools = xvfb::FindGalleryTools(testenv::BinDir());
  if (!tools.missing.empty()) GTEST_SKIP() << tools.missing;
  const std::string& xvfb = tools.xvfb;
  const std::string& xdotool = tools.xdotool;
  const std::filesystem::path& gallery = tools.gallery;
  std::string wm;
  if (!windowManager.empty()) {
    wm = xvfb::FindProgram(windowManager.c_str());
    if (wm.empty()) GTEST_SKIP() << windowManager << " is not installed (scripts/install-deps.sh installs it)";
  }

  // The gallery window is 600 high; the screen leaves 20 pixels above and
  // below it, far too little for a drop-down under its bottom combo.
  xvfb::Display display(xvfb, 1024, 640);
  ASSERT_TRUE(display.Ready()) << "Xvfb did not start on " << display.Name();
  const std::vector<std::string> env = display.Env();
  std::unique_ptr<xvfb::Child> manager;
  if (!wm.empty()) {
    manager = std::make_unique<xvfb::Child>(std::vector<std::string>{wm}, env, false);
    ASSERT_TRUE(manager->Started());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  xvfb::Child app({gallery.string(), "--page", "popups"}, env, true);
  ASSERT_TRUE(app.Started());
  const std::string ready = app.WaitForLine("ready combo=", 15000);
#if defined(__SANITIZE_THREAD__)
  if (ready.empty()) GTEST_SKIP() << "the gallery opens no X11 window in a ThreadSanitizer build";
#endif
  ASSERT_FALSE(ready.empty()) << "the gallery did not show its window";
  int x = 0, y = 0, top = 0, items = 0;
  ASSERT_EQ(std::sscanf(ready.c_str(), "ready combo=%d,%d top=%d items=%d", &x, &y, &top, &items), 4);
  ASSERT_GT(items, 2);
  const int height = std::min(items, kMaxRows) * kRow + 2 * kPad;
  const int bottom = 2 * y - top;  // the combo's bottom edge
  ASSERT_LT(640 - bottom - kGap, height) << "the drop-down would fit below the combo";
  // Above the combo: its bottom edge 2 pixels over the combo's top.
  const int dropTop = top - kGap - height;
  auto click = [&](int cx, int cy) {
    return xvfb::RunAndWait({xdotool, "mousemove", std::to_string(cx), std::to_string(cy), "sleep", "0.3", "click",
                             "1", "sleep", "0.4"},
                            env);
  };

  // Opened, then closed by a press on the window's free part; a press where
  // its first row was then lands on the window (a list still open would
  // report item 0).
  // Each step waits for the drop-down to be mapped or gone, so a slow
  // machine cannot make a click land before the window it aims at.
  auto dropDown = [&](bool shown) { return xvfb::WaitForWindow(xdotool, env, "ComboWnd", shown); };
  ASSERT_TRUE(click(x, y));
  ASSERT_TRUE(dropDown(true)) << "the drop-down did not open";
  ASSERT_TRUE(click(x + 250, dropTop + kPad + kRow / 2));
  ASSERT_TRUE(dropDown(false)) << "a press on the window did not close the drop-down";
  ASSERT_TRUE(click(x, dropTop + kPad + kRow / 2));
  // Opened again: the third item. Without a window manager, a focus change
  // the X server reports late (from the drop-down just destroyed) can still
  // dismiss the new list as it opens on a loaded machine; the user then
  // clicks again, and so does the test, once. Tracked as a known race.
  ASSERT_TRUE(click(x, y));
  if (!dropDown(true)) {
    ASSERT_TRUE(click(x, y));
    ASSERT_TRUE(dropDown(true)) << "the drop-down did not open again";
  }
  ASSERT_TRUE(click(x, dropTop + kPad + 2 * kRow + kRow / 2));
  const std::string pick = app.WaitForLine("notify id=604 code=CN_CLICK", 10000);
  EXPECT_EQ(pick, "notify id=604 code=CN_CLICK wparam=2 lparam=0");
  for (const std::string& line : app.Lines()) {
    EXPECT_EQ(line.find("notify id=604 code=CN_CLICK wparam=0"), std::string::npos) << "the dismissed list took a press";
  }
}

TEST(PopupsEndToEnd, WithoutAWindowManagerTheBottomComboOpensUpwardAndAPickComesBack) { OpenUpwardAndPick(""); }

TEST(PopupsEndToEnd, UnderAWindowManagerTheBottomComboOpensUpwardAndAPickComesBack) { OpenUpwardAndPick("twm"); }

}  // namespace
