// End to end: the DPI message of the gallery's windows page in a real
// window under Xvfb (no window manager, so the work area is the screen):
// a click on the page's button maps it at the bottom-right corner, 2 pixels
// from the edges, and it unmaps by itself shortly after. Skipped, with the
// reason, when Xvfb, xdotool or the gallery is missing.

#include <gtest/gtest.h>

#include "TestEnv.h"
#include "XvfbSession.h"

namespace {

TEST(SmallWindowsEndToEnd, DpiMessageMapsAtTheBottomRightAndUnmaps) {
  const xvfb::GalleryTools tools = xvfb::FindGalleryTools(testenv::BinDir());
  if (!tools.missing.empty()) GTEST_SKIP() << tools.missing;
  const std::string& xvfb = tools.xvfb;
  const std::string& xdotool = tools.xdotool;
  const std::filesystem::path& gallery = tools.gallery;

  constexpr int kScreenW = 1280, kScreenH = 1024;
  xvfb::Display display(xvfb, kScreenW, kScreenH);
  ASSERT_TRUE(display.Ready()) << "Xvfb did not start on " << display.Name();
  const std::vector<std::string> env = display.Env();
  xvfb::Child app({gallery.string(), "--page", "windows"}, env, true);
  ASSERT_TRUE(app.Started());
  const std::string ready = app.WaitForLine("windows dpi=", 15000);
#if defined(__SANITIZE_THREAD__)
  if (ready.empty()) GTEST_SKIP() << "the gallery opens no X11 window in a ThreadSanitizer build";
#endif
  ASSERT_FALSE(ready.empty()) << "the gallery did not show its window";
  int x = 0, y = 0;
  ASSERT_EQ(std::sscanf(ready.c_str(), "windows dpi=%d,%d", &x, &y), 2);
  ASSERT_TRUE(xvfb::RunAndWait(
      {xdotool, "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.3", "click", "1"}, env));
  EXPECT_EQ(app.WaitForLine("dpi shown=", 10000), "dpi shown=400");
  ASSERT_TRUE(xvfb::WaitForWindow(xdotool, env, "DPIMsgDlg", true)) << "the DPI message did not map";

  xvfb::Child geometry({xdotool, "search", "--onlyvisible", "--name", "^DPIMsgDlg$", "getwindowgeometry"}, env, true);
  ASSERT_TRUE(geometry.Started());
  const std::string position = geometry.WaitForLine("  Position: ", 10000);
  const std::string size = geometry.WaitForLine("  Geometry: ", 10000);
  int left = 0, top = 0, w = 0, h = 0;
  ASSERT_EQ(std::sscanf(position.c_str(), "  Position: %d,%d", &left, &top), 2) << position;
  ASSERT_EQ(std::sscanf(size.c_str(), "  Geometry: %dx%d", &w, &h), 2) << size;
  EXPECT_EQ(left, kScreenW - 302);
  EXPECT_EQ(top, kScreenH - 132);
  EXPECT_EQ(w, 300);
  EXPECT_EQ(h, 130);
  // Hidden 2 s after the value: well within the wait's 10 s.
  EXPECT_TRUE(xvfb::WaitForWindow(xdotool, env, "DPIMsgDlg", false)) << "the DPI message stayed up";
}

}  // namespace
