// End to end: the gallery's device-macros page in a real window under Xvfb
// (SDL's X11 driver, no window manager), driven with xdotool. A double
// click from the X server renames a macro in place and opens the record
// list's editor on a delay row. Skipped, with the reason, when Xvfb,
// xdotool or the gallery is missing.

#include <gtest/gtest.h>

#include "TestEnv.h"
#include "XvfbSession.h"

namespace {

TEST(MacroListsEndToEnd, DoubleClicksRenameAMacroAndEditADelay) {
  const xvfb::GalleryTools tools = xvfb::FindGalleryTools(testenv::BinDir());
  if (!tools.missing.empty()) GTEST_SKIP() << tools.missing;
  const std::string& xvfb = tools.xvfb;
  const std::string& xdotool = tools.xdotool;
  const std::filesystem::path& gallery = tools.gallery;

  xvfb::Display display(xvfb, 1280, 1024);
  ASSERT_TRUE(display.Ready()) << "Xvfb did not start on " << display.Name();
  std::vector<std::string> env = display.Env();
  env.push_back("LANG=C.UTF-8");
  xvfb::Child app({gallery.string(), "--page", "device-macros"}, env, true);
  ASSERT_TRUE(app.Started());
  const std::string ready = app.WaitForLine("ready macro=", 15000);
#if defined(__SANITIZE_THREAD__)
  if (ready.empty()) GTEST_SKIP() << "the gallery opens no X11 window in a ThreadSanitizer build";
#endif
  ASSERT_FALSE(ready.empty()) << "the gallery did not show its window";
  int mx = 0, my = 0, rx = 0, ry = 0;
  ASSERT_EQ(std::sscanf(ready.c_str(), "ready macro=%d,%d record=%d,%d", &mx, &my, &rx, &ry), 4);

  // The macro list: a double click opens the editor on the third macro,
  // the typed name replaces the selected one, Enter reports the row.
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "mousemove", std::to_string(mx), std::to_string(my), "sleep", "0.3",
                                "click", "--repeat", "2", "--delay", "120", "1"},
                               env));
  EXPECT_FALSE(app.WaitForLine("notify id=1356 code=CN_EDITBEGIN wparam=0 lparam=2", 10000).empty());
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "sleep", "0.3", "type", "--delay", "120", "Boss"}, env));
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "key", "Return"}, env));
  EXPECT_FALSE(app.WaitForLine("notify id=1356 code=CN_EDITEND wparam=0 lparam=2", 10000).empty());

  // The record list: a double click on the delay row opens its editor;
  // Enter closes it and reports that row.
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "mousemove", std::to_string(rx), std::to_string(ry), "sleep", "0.3",
                                "click", "--repeat", "2", "--delay", "120", "1"},
                               env));
  EXPECT_FALSE(app.WaitForLine("notify id=1366 code=CN_EDITBEGIN", 10000).empty());
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "sleep", "0.3", "type", "--delay", "120", "75"}, env));
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "key", "Return"}, env));
  EXPECT_FALSE(app.WaitForLine("notify id=1366 code=CN_EDITEND wparam=0 lparam=1", 10000).empty());
}

}  // namespace
