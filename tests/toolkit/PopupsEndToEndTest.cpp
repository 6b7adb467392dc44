// End to end: the gallery's popups page in a real window under Xvfb (no
// window manager), driven with xdotool. The screen is just taller than the
// window, so the combo box at the window's bottom edge must open its
// drop-down upward; the click on an item there must come back as the
// combo's CN_CLICK with that item's index. Skipped, with the reason, when
// Xvfb, xdotool or the gallery is missing.

#include <gtest/gtest.h>

#include <algorithm>

#include "TestEnv.h"
#include "XvfbSession.h"

namespace {

// The drop-down's geometry (toolkit/core/MComboBox.h): rows of 30 pixels,
// at most 8 shown, 6 pixels of padding above and below, 2 pixels from the
// combo.
constexpr int kRow = 30, kMaxRows = 8, kPad = 6, kGap = 2;

TEST(PopupsEndToEnd, ComboAtTheBottomOpensUpwardAndAPickComesBack) {
  const std::string xvfb = xvfb::FindProgram("Xvfb");
  const std::string xdotool = xvfb::FindProgram("xdotool");
  const std::filesystem::path gallery = testenv::BinDir() / "qelt_gallery";
  if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps.sh installs xvfb)";
  if (xdotool.empty()) GTEST_SKIP() << "xdotool is not installed (scripts/install-deps.sh installs it)";
  if (!std::filesystem::exists(gallery)) GTEST_SKIP() << "the gallery is not built: " << gallery;

  // The gallery window is 600 high; the screen leaves 20 pixels above and
  // below it, far too little for a drop-down under its bottom combo.
  xvfb::Display display(xvfb, 1024, 640);
  ASSERT_TRUE(display.Ready()) << "Xvfb did not start on " << display.Name();
  const std::vector<std::string> env = display.Env();
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

  ASSERT_TRUE(xvfb::RunAndWait(
      {xdotool, "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.3", "click", "1"}, env));
  // Above the combo: its bottom edge 2 pixels over the combo's top.
  const int dropTop = top - kGap - height;
  const int itemY = dropTop + kPad + 2 * kRow + kRow / 2;  // the third item
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "sleep", "0.5", "mousemove", std::to_string(x), std::to_string(itemY),
                                "sleep", "0.3", "click", "1"},
                               env));
  const std::string pick = app.WaitForLine("notify id=604 code=CN_CLICK", 10000);
  EXPECT_EQ(pick, "notify id=604 code=CN_CLICK wparam=2 lparam=0");
}

}  // namespace
