// End to end: the gallery's edit page in a real window under Xvfb (SDL's
// X11 driver, no window manager), typed into with xdotool. Characters come
// from the X server's text input (one needs a keysym remapped for it), so
// what arrives is what the desktop's input would deliver. Skipped, with the
// reason, when Xvfb, xdotool or the gallery is missing.

#include <gtest/gtest.h>

#include "TestEnv.h"
#include "XvfbSession.h"

namespace {

TEST(EditEndToEnd, TextTypedWithXdotoolArrivesInTheField) {
  const xvfb::GalleryTools tools = xvfb::FindGalleryTools(testenv::BinDir());
  if (!tools.missing.empty()) GTEST_SKIP() << tools.missing;
  const std::string& xvfb = tools.xvfb;
  const std::string& xdotool = tools.xdotool;
  const std::filesystem::path& gallery = tools.gallery;

  xvfb::Display display(xvfb, 1280, 1024);
  ASSERT_TRUE(display.Ready()) << "Xvfb did not start on " << display.Name();
  std::vector<std::string> env = display.Env();
  env.push_back("LANG=C.UTF-8");
  xvfb::Child app({gallery.string(), "--page", "edit"}, env, true);
  ASSERT_TRUE(app.Started());
  const std::string ready = app.WaitForLine("ready edit=", 15000);
#if defined(__SANITIZE_THREAD__)
  if (ready.empty()) GTEST_SKIP() << "the gallery opens no X11 window in a ThreadSanitizer build";
#endif
  ASSERT_FALSE(ready.empty()) << "the gallery did not show its window";
  int x = 0, y = 0;
  ASSERT_EQ(std::sscanf(ready.c_str(), "ready edit=%d,%d", &x, &y), 2);

  // A click opens the editor with the text selected; typing replaces it.
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.3", "click",
                                "1"},
                               env));
  EXPECT_FALSE(app.WaitForLine("notify id=7 code=CN_EDITBEGIN", 10000).empty());
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "sleep", "0.3", "type", "--delay", "120", "é中"}, env));
  EXPECT_EQ(app.WaitForLine("edit id=7 text=é中", 10000), "edit id=7 text=é中");
  ASSERT_TRUE(xvfb::RunAndWait({xdotool, "key", "Return"}, env));
  EXPECT_FALSE(app.WaitForLine("notify id=7 code=CN_EDITEND", 10000).empty());
  EXPECT_EQ(app.WaitForLine("edit id=7 text=", 10000), "edit id=7 text=é中");
}

}  // namespace
