// Requests of the setting groups, byte for byte.

#include <gtest/gtest.h>

#include "ByteTable.h"
#include "device/Commands.h"

using namespace mouseproto;
using bytetable::Hex;
using bytetable::Padded;

TEST(Requests, DpiStagesWithTheDefaultSensorRow) {
  DpiStages stages;
  stages.dpi_index = 1;
  stages.dpi_count = 6;
  stages.dpi_group_value = {800, 1600, 2400, 3200, 6400, 22000};
  const ReportFrame frame = BuildDpiStagesRequest(stages, DefaultSensorRow());
  const auto expected = Padded({
      0x00,                    // report id
      0x03,                    // command: DPI stages
      0x00,                    //
      0x01,                    // packet field: single packet
      38,                      // stated length
      0x00,                    // byte 5
      0x16,                    // (index 1 << 4) | count 6
      0x0F, 0x00, 0x0F, 0x00,  // stage 0:   800 -> raw 15, twice
      0x1F, 0x00, 0x1F, 0x00,  // stage 1:  1600 -> raw 31
      0x2F, 0x00, 0x2F, 0x00,  // stage 2:  2400 -> raw 47
      0x3F, 0x00, 0x3F, 0x00,  // stage 3:  3200 -> raw 63
      0x7F, 0x00, 0x7F, 0x00,  // stage 4:  6400 -> raw 127
      0xB7, 0x01, 0xB7, 0x01,  // stage 5: 22000 -> raw 439
      0x00,                    // byte 31
      0xBC,                    // checksum
  }, 33);
  EXPECT_EQ(Hex(frame.Bytes()), Hex(expected));
  EXPECT_FALSE(CommandWaitsForReply(frame.Command()));
}

TEST(Requests, DpiStagesAreClampedToTheSensorRange) {
  DpiStages stages;
  stages.dpi_index = 0;
  stages.dpi_count = 2;
  stages.dpi_group_value = {30, 99999, 0, -7, 26000, 10000};
  const ReportFrame frame = BuildDpiStagesRequest(stages, DefaultSensorRow());
  const auto expected = Padded({
      0x00, 0x03, 0x00, 0x01, 38,
      0x00,                    // byte 5
      0x02,                    // (index 0 << 4) | count 2
      0x00, 0x00, 0x00, 0x00,  // stage 0:    30 -> 50 -> raw 0
      0x07, 0x02, 0x07, 0x02,  // stage 1: 99999 -> 26000 -> raw 519
      0x00, 0x00, 0x00, 0x00,  // stage 2:     0 -> 50
      0x00, 0x00, 0x00, 0x00,  // stage 3:    -7 -> 50
      0x07, 0x02, 0x07, 0x02,  // stage 4: 26000 -> raw 519
      0xC7, 0x00, 0xC7, 0x00,  // stage 5: 10000 -> raw 199
      0x00,
      0xB4,                    // checksum: 2 + 2 * 18 + 2 * 199 = 0x1B4
  }, 33);
  EXPECT_EQ(Hex(frame.Bytes()), Hex(expected));

  // With sensor 4 (100..8000) the same stored values clamp differently.
  const ReportFrame four = BuildDpiStagesRequest(stages, SensorRowFor(4));
  EXPECT_EQ(four[7], 1) << "30 -> 100 -> raw 1";
  EXPECT_EQ(four[11], 80) << "99999 -> 8000 -> raw 80";
}

TEST(Requests, DpiStagesFieldsKeepToTheirNibbles) {
  DpiStages stages;
  stages.dpi_index = 0x12;  // only the low 4 bits fit
  stages.dpi_count = 0x1F;
  stages.dpi_group_value = {800, 800, 800, 800, 800, 800};
  EXPECT_EQ(BuildDpiStagesRequest(stages, DefaultSensorRow())[6], 0x2F);
}

TEST(Requests, DpiColoursTravelAsRedGreenBlue) {
  const std::array<int, 6> colours = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x00FFFF, 0x123456};
  const ReportFrame frame = BuildDpiColoursRequest(colours);
  const auto expected = Padded({
      0x00, 0x04, 0x00, 0x01,
      18,                // stated length
      0xFF, 0x00, 0x00,  // stage 0: stored 0x0000FF = red
      0x00, 0xFF, 0x00,  // stage 1: green
      0x00, 0x00, 0xFF,  // stage 2: blue
      0xFF, 0x00, 0xFF,  // stage 3
      0xFF, 0xFF, 0x00,  // stage 4
      0x56, 0x34, 0x12,  // stage 5: low byte first
  }, 33);
  auto withChecksum = expected;
  withChecksum[32] = 0x95;  // 7 * 0xFF + 0x56 + 0x34 + 0x12 = 0x795
  EXPECT_EQ(Hex(frame.Bytes()), Hex(withChecksum));
}

TEST(Requests, SmallWrites) {
  struct Case {
    const char* what;
    ReportFrame frame;
    std::vector<std::uint8_t> expected;
  };
  const Case cases[] = {
      {"report rate 1000 Hz", BuildReportRateRequest(1),
       Padded({0x00, 0x02, 0x00, 0x01, 1, /*code*/ 0x01}, 33)},
      {"report rate 8000 Hz", BuildReportRateRequest(64),
       Padded({0x00, 0x02, 0x00, 0x01, 1, /*code*/ 0x40}, 33)},
      {"factory restore", BuildFactoryRestoreRequest(),
       Padded({0x00, 0x0F, 0x00, 0x01, 1, /*marker*/ 0xFF}, 33)},
      {"lift-off 2 mm, sensor flag 0x0C", BuildLiftOffRequest({2, 0x0C}),
       Padded({0x00, 0x06, 0x00, 0x01, 5,
               0x02,   // lift-off code
               0x01,   // sensor_flag has 0x08
               0x01,   // sensor_flag has 0x04
               0x00, 0x00}, 65)},
      {"lift-off 1 mm, sensor flag 53 (0x35)", BuildLiftOffRequest({1, 53}),
       Padded({0x00, 0x06, 0x00, 0x01, 5, 0x01, /*no 0x08*/ 0x00, /*0x04*/ 0x01}, 65)},
      {"power options", BuildPowerOptionsRequest({30, 0, 1, 0x108}),
       Padded({0x00, 0x07, 0x00, 0x01, 4,
               30,     // sleep_light
               0,      // move_wakeup
               1,      // move_closelight
               0x08},  // button_respondtime, low 8 bits of 0x108
              65)},
  };
  for (const Case& c : cases) {
    auto expected = c.expected;
    std::uint8_t sum = 0;
    for (std::size_t i = 5; i < 32; ++i) sum = static_cast<std::uint8_t>(sum + expected[i]);
    expected[32] = sum;
    EXPECT_EQ(Hex(c.frame.Bytes()), Hex(expected)) << c.what;
  }
}

TEST(Requests, FrameLengthAndReplyWaitPerCommand) {
  struct Case {
    std::uint8_t command;
    std::size_t length;
    bool waits;
  };
  const Case cases[] = {
      {0x02, 33, false}, {0x03, 33, false}, {0x04, 33, false}, {0x05, 65, true},
      {0x06, 65, true},  {0x07, 65, true},  {0x08, 33, true},  {0x09, 33, true},
      {0x0F, 33, true},  {0x11, 33, true},  {0x12, 33, true},  {0x13, 33, true},
      {0x14, 33, true},  {0x15, 33, true},  {0x16, 33, true},  {0x17, 33, true},
      {0x30, 33, true},  {0x18, 33, false}, {0x10, 33, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandFrameLength(c.command), c.length) << int(c.command);
    EXPECT_EQ(CommandWaitsForReply(c.command), c.waits) << int(c.command);
  }
}
