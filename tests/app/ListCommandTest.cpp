// "orvane --simulate --list" reads every simulated mouse through the
// connection's read path and prints what it holds.

#include <gtest/gtest.h>

#include <string>

#include "app/ListCommand.h"

namespace {

TEST(ListCommandTest, SimulatedMiceAreListedWithTheSettingsReadFromThem) {
  ::testing::internal::CaptureStdout();
  const int code = app::RunListCommand(true);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(code, 0);
  // One settings block per identified model, after its last interface.
  size_t blocks = 0;
  for (size_t at = out.find("DPI stages:"); at != std::string::npos; at = out.find("DPI stages:", at + 1)) ++blocks;
  EXPECT_EQ(blocks, 3u) << out;
  // Factory stages with their colours (red in the low byte shows as #FF0000);
  // the cable-only model's sensor tops out at 16000.
  EXPECT_NE(out.find("DPI stages: 800 #FF0000, 1200 #00FF00, 2000 #0000FF, 5000 #FF00FF, 8000 #FFFF00, 16000 #00FFFF"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("selected stage 2 of 6, report rate 8000 Hz, lift-off 2 mm"), std::string::npos) << out;
  EXPECT_NE(out.find("power options: sleep 30, close light 1, button response 8"), std::string::npos) << out;
  EXPECT_NE(out.find("light mode 1, brightness 10, speed 3"), std::string::npos) << out;
}

}  // namespace
