// The tray's picture is the skin's program icon, handed to the notification
// area as straight-alpha pixels.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/DesktopHost.h"
#include "platform/draw/Bitmap.h"
#include "platform/draw/Canvas.h"
#include "platform/tray/TrayIcon.h"

namespace {

TEST(TrayPicture, PixelsAreTheImageInStraightAlpha) {
  const std::filesystem::path file = std::filesystem::path(testing::TempDir()) / "tray_picture.png";
  platform::Bitmap picture(3, 2);
  {
    platform::Canvas c(picture);
    c.FillRect(platform::RectF{0, 0, 1, 1}, platform::Brush::SolidColor(0x80FF0000));  // half-transparent red
    c.FillRect(platform::RectF{2, 1, 1, 1}, platform::Brush::SolidColor(0xFF00FF00));  // opaque green
  }
  ASSERT_TRUE(picture.SavePng(file));
  platform::TrayOptions options;
  ASSERT_TRUE(app::LoadTrayPicture(file, options));
  EXPECT_EQ(options.iconWidth, 3);
  EXPECT_EQ(options.iconHeight, 2);
  ASSERT_EQ(options.iconPixels.size(), 6u);
  const std::uint32_t red = options.iconPixels[0];
  EXPECT_NEAR(int(red >> 24), 0x80, 1);
  EXPECT_NEAR(int((red >> 16) & 0xFF), 0xFF, 2);  // not darkened by the alpha
  EXPECT_EQ(red & 0xFFFF, 0u);
  EXPECT_EQ(options.iconPixels[5], 0xFF00FF00u);
  EXPECT_EQ(options.iconPixels[1] >> 24, 0u);
  std::filesystem::remove(file);
}

TEST(TrayPicture, AMissingFileLeavesTheOptionsAlone) {
  platform::TrayOptions options;
  options.iconWidth = 7;
  EXPECT_FALSE(app::LoadTrayPicture(std::filesystem::path(testing::TempDir()) / "no_such_icon.png", options));
  EXPECT_EQ(options.iconWidth, 7);
  EXPECT_TRUE(options.iconPixels.empty());
  EXPECT_EQ(options.iconName, "input-mouse");
}

TEST(TrayPicture, TheShippedIconLoads) {
  platform::TrayOptions options;
  ASSERT_TRUE(app::LoadTrayPicture(std::filesystem::path(ORVANE_BIN_DIR) / "skins/theme1/orvane.png", options));
  EXPECT_EQ(options.iconWidth, 64);
  EXPECT_EQ(options.iconHeight, 64);
  // The tile is opaque in the middle.
  EXPECT_EQ(options.iconPixels[32 * 64 + 5] >> 24, 0xFFu);
}

}  // namespace
