// The gallery, headless, answering "inspect" like the program does: the
// control tree arrives in another process, and the rectangle it gives the
// Apply button holds the point the gallery itself prints for that button.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "TestEnv.h"
#include "XvfbSession.h"
#include "platform/Text.h"
#include "platform/instance/InstanceLock.h"

namespace {

using xvfb::Child;

TEST(GalleryInspect, HeadlessGalleryDescribesItsWindowToAnotherProcess) {
  const std::filesystem::path gallery = testenv::BinDir() / "qelt_gallery";
  ASSERT_TRUE(std::filesystem::exists(gallery)) << gallery;
  const std::string app = "GalleryInspect" + std::to_string(::getpid());
  Child child({gallery.string(), "--headless", "--page", "buttons", "--inspect-server", app}, {}, true);
  ASSERT_TRUE(child.Started());
  const std::string ready = child.WaitForLine("ready apply=", 15000);
  ASSERT_FALSE(ready.empty()) << "the gallery did not show its window";
  int x = 0, y = 0;
  ASSERT_EQ(std::sscanf(ready.c_str(), "ready apply=%d,%d", &x, &y), 2);

  std::string text;
  ASSERT_EQ(platform::InstanceLock::SendInspect(platform::FromUtf8(app), text),
            platform::InstanceLock::Delivery::Delivered);
  std::istringstream lines(text);
  std::string line;
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line.rfind("window class=GalleryDialog title=\"Qelt gallery\" ", 0), 0u) << line;
  int controls = 0, applyLines = 0;
  while (std::getline(lines, line)) {
    ++controls;
    // The Apply button (id 3, inside one of the page's panels); ids repeat
    // across panels, so the text picks it.
    const size_t start = line.find_first_not_of(' ');
    if (line.compare(start, 5, "id=3 ") != 0 || line.find(" text=\"Apply") == std::string::npos) continue;
    ++applyLines;
    int left = 0, top = 0, width = 0, height = 0;
    const size_t pos = line.find(" pos=");
    ASSERT_NE(pos, std::string::npos) << line;
    ASSERT_EQ(std::sscanf(line.c_str() + pos, " pos=%d,%d size=%dx%d", &left, &top, &width, &height), 4) << line;
    EXPECT_TRUE(x >= left && x < left + width && y >= top && y < top + height) << line << " vs " << x << "," << y;
    EXPECT_NE(line.find(" shown=1 enabled=1 "), std::string::npos) << line;
  }
  EXPECT_EQ(applyLines, 1) << text;
  EXPECT_GT(controls, 5) << text;
  EXPECT_NE(text.find("controls=" + std::to_string(controls) + "\n"), std::string::npos) << text;
}

}  // namespace
