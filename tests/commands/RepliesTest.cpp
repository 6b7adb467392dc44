// Reply decoding: the layouts of the read commands, and what happens to
// short, rejected and garbage replies (nothing is decoded, so the caller
// leaves the stored values alone).

#include <gtest/gtest.h>

#include "ByteTable.h"
#include "device/Commands.h"
#include "device/Lighting.h"

using namespace mouseproto;
using bytetable::Reply;

TEST(Replies, ReportRate) {
  EXPECT_EQ(DecodeReportRateReply(Reply(0x12, 0, {/*code*/ 0x10})), 16);
  EXPECT_EQ(DecodeReportRateReply(Reply(0x12, 0, {0x08})), 8);
  EXPECT_EQ(DecodeReportRateReply(Reply(0x12, 0, {0x03})), std::nullopt) << "not a rate code";
  EXPECT_EQ(DecodeReportRateReply(Reply(0x12, 0, {0x00})), std::nullopt);
}

TEST(Replies, DpiStagesDefaultSensor) {
  const auto bytes = Reply(0x13, 0, {
      0x26,        // byte 4: (index 2 << 4) | count 6
      0xAA, 0xAA,  // bytes 5-6: not read
      0x0F, 0x00,  // bytes 7-8: stage 0 raw 15 -> 800
      0x1F, 0x00,  // bytes 9-10: stage 1 raw 31 -> 1600
      0xEE, 0xEE,  // bytes 11-12: not read
      0x00, 0x00,  // bytes 13-14: stage 2 raw 0 -> 50
      0xEE, 0xEE,
      0x07, 0x02,  // bytes 17-18: stage 3 raw 519 -> 26000
      0xEE, 0xEE,
      0xB7, 0x01,  // bytes 21-22: stage 4 raw 439 -> 22000
      0xEE, 0xEE,
      0x3F, 0x00,  // bytes 25-26: stage 5 raw 63 -> 3200
  });
  const auto decoded = DecodeDpiStagesReply(bytes, 0);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->dpi_flag, 6);
  EXPECT_EQ(decoded->dpi_count, 6);
  EXPECT_EQ(decoded->dpi_index, 2);
  const std::array<std::optional<int>, 6> expected = {800, 1600, 50, 26000, 22000, 3200};
  EXPECT_EQ(decoded->dpi_group_value, expected);
}

TEST(Replies, DpiStagesBelowFiftyAreNotStored) {
  // Sensor 4 decodes raw 0 to 0: that stage is left out; the others stay.
  auto bytes = Reply(0x13, 0, {0x03}, 33);
  bytes[7] = 0;    // stage 0 raw 0 -> 0
  bytes[9] = 12;   // stage 1 raw 12 -> 1200
  bytes[13] = 80;  // stage 2 raw 80 -> 8000
  const auto decoded = DecodeDpiStagesReply(bytes, 4);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->dpi_group_value[0], std::nullopt);
  EXPECT_EQ(decoded->dpi_group_value[1], 1200);
  EXPECT_EQ(decoded->dpi_group_value[2], 8000);
  EXPECT_EQ(decoded->dpi_group_value[3], std::nullopt);
}

TEST(Replies, DpiColours) {
  const auto bytes = Reply(0x14, 0, {
      0xFF, 0x00, 0x00,  // stage 0: red   -> 0x0000FF
      0x00, 0xFF, 0x00,  // stage 1: green -> 0x00FF00
      0x00, 0x00, 0xFF,  // stage 2: blue  -> 0xFF0000
      0x56, 0x34, 0x12,  // stage 3        -> 0x123456
      0x01, 0xFF, 0xFF,  // stage 4        -> 0xFFFF01
      0x00, 0x00, 0x00,  // stage 5        -> 0
  });
  const auto colours = DecodeDpiColoursReply(bytes);
  ASSERT_TRUE(colours);
  const std::array<int, 6> expected = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xFFFF01, 0};
  EXPECT_EQ(*colours, expected);
}

TEST(Replies, Lighting) {
  const auto light = DecodeLightingReply(Reply(0x15, 0, {/*mode*/ 6, /*brightness 9, speed 4*/ 0x94}));
  ASSERT_TRUE(light);
  EXPECT_EQ(light->mode, 6);
  EXPECT_EQ(light->brightness, 9);
  EXPECT_EQ(light->speed, 4);
}

TEST(Replies, LiftOffAndSensorOptions) {
  struct Case {
    std::uint8_t lift, bit3, bit2;
    int liftoff, merged;  // merged into a stored sensor_flag of 0x35
  };
  const Case cases[] = {
      {0x02, 1, 0, 2, 0x39},  // 0x08 set, 0x04 cleared, other bits kept
      {0x01, 0, 1, 1, 0x35},
      {0xFF, 0, 0, 1, 0x31},  // 0xFF reads as lift-off 1
      {0x01, 1, 1, 1, 0x3D},
      {0x01, 2, 0, 1, 0x31},  // only the byte value 1 sets a bit
  };
  for (const Case& c : cases) {
    const auto decoded = DecodeLiftOffReply(Reply(0x16, 0, {c.lift, c.bit3, c.bit2}));
    ASSERT_TRUE(decoded) << int(c.lift);
    EXPECT_EQ(decoded->liftoff_height, c.liftoff);
    EXPECT_EQ(decoded->MergeSensorFlag(0x35), c.merged) << int(c.lift) << int(c.bit3) << int(c.bit2);
  }
  EXPECT_FALSE(DecodeLiftOffReply(Reply(0x16, 0, {0x07, 0, 0}))) << "not a lift-off code";
}

TEST(Replies, PowerOptionsSkipByteFive) {
  const auto decoded = DecodePowerOptionsReply(Reply(0x17, 0, {
      30,    // byte 4: sleep_light
      0x55,  // byte 5: not read
      1,     // byte 6: move_closelight
      12,    // byte 7: button_respondtime
  }));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->sleep_light, 30);
  EXPECT_EQ(decoded->move_closelight, 1);
  EXPECT_EQ(decoded->button_respondtime, 12);
}

TEST(Replies, DeviceInformation) {
  const auto info = DecodeDeviceInfo(Reply(0x30, 0, {
      'A', 'B', '1', '2',  // bytes 4-7: device id
      0x00, 0x00,          // bytes 8-9: not used
      38,                  // byte 10: sensor code
      0x40,                // byte 11: highest report rate 8000 Hz
      1,                   // byte 12: charging
      250,                 // byte 13: battery (garbage above 100)
      1,                   // byte 14: link up
  }));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->device_id, "AB12");
  EXPECT_EQ(info->sensor_code, 38);
  EXPECT_EQ(info->Sensor().min_dpi, 200);
  EXPECT_EQ(info->ReportRateChoices(), 7);
  EXPECT_EQ(info->charge_state, 1);
  EXPECT_EQ(info->battery_level, 100);
  EXPECT_EQ(info->link, 1);

  struct Rate {
    std::uint8_t byte;
    int choices;
  };
  for (const Rate r : {Rate{0x10, 5}, Rate{0x20, 6}, Rate{0x40, 7}, Rate{0x00, 4}, Rate{0x30, 4}}) {
    EXPECT_EQ(DecodeDeviceInfo(Reply(0x30, 0, {0, 0, 0, 0, 0, 0, 0, r.byte, 0, 0, 0}))
                  ->ReportRateChoices(),
              r.choices)
        << int(r.byte);
  }
}

// Every decoder refuses replies that were not accepted or cannot hold its
// layout, whatever their content.
TEST(Replies, RejectedShortAndForeignReplies) {
  using Bytes = std::vector<std::uint8_t>;
  struct Decoder {
    const char* name;
    std::uint8_t command;
    std::size_t needed;  // shortest reply that carries the layout
    bool (*decodes)(const Bytes&);
  };
  const Decoder decoders[] = {
      {"report rate", 0x12, 5, [](const Bytes& b) { return DecodeReportRateReply(b).has_value(); }},
      {"DPI stages", 0x13, 27, [](const Bytes& b) { return DecodeDpiStagesReply(b, 0).has_value(); }},
      {"DPI colours", 0x14, 22, [](const Bytes& b) { return DecodeDpiColoursReply(b).has_value(); }},
      {"lighting", 0x15, 6, [](const Bytes& b) { return DecodeLightingReply(b).has_value(); }},
      {"lift-off", 0x16, 7, [](const Bytes& b) { return DecodeLiftOffReply(b).has_value(); }},
      {"power", 0x17, 8, [](const Bytes& b) { return DecodePowerOptionsReply(b).has_value(); }},
      {"info", 0x30, 15, [](const Bytes& b) { return DecodeDeviceInfo(b).has_value(); }},
      {"discarded", 0x11, 2, [](const Bytes& b) { return IsAcceptedReply(b); }},
  };
  for (const Decoder& d : decoders) {
    // A plausible payload: every byte 1 (a valid rate, lift-off, stage count).
    Bytes good(33, 1);
    good[0] = d.command;
    good[1] = 0;
    good[4] = 0x01;
    EXPECT_TRUE(d.decodes(good)) << d.name;
    EXPECT_TRUE(d.decodes(Bytes(good.begin(), good.begin() + d.needed))) << d.name << " shortest";

    EXPECT_FALSE(d.decodes(Bytes(good.begin(), good.begin() + d.needed - 1))) << d.name << " short";
    EXPECT_FALSE(d.decodes(Bytes{})) << d.name << " empty";
    Bytes rejected = good;
    rejected[1] = 0x01;
    EXPECT_FALSE(d.decodes(rejected)) << d.name << " status 1";
    Bytes notification = good;
    notification[0] = 0xD2;
    EXPECT_FALSE(d.decodes(notification)) << d.name << " DPI notification";
  }
}

TEST(Replies, DpiStagesWithImpossibleCountOrIndex) {
  for (std::uint8_t byte4 : {0x00, 0x07, 0x0F, 0x61, 0xF6}) {
    EXPECT_FALSE(DecodeDpiStagesReply(Reply(0x13, 0, {byte4}), 0)) << int(byte4);
  }
  EXPECT_TRUE(DecodeDpiStagesReply(Reply(0x13, 0, {0x51}), 0)) << "index beyond count is the page's concern";
}
