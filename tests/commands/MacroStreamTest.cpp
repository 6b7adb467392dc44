// The macro stream: events, delay rules and packets.

#include <gtest/gtest.h>

#include "ByteTable.h"
#include "device/MacroStream.h"

using namespace mouseproto;
using bytetable::Hex;

namespace {

constexpr int kVkA = 'A';
constexpr int kVkB = 'B';

MacroEventRecord Down(int vk) { return {kMacroEventTypeKeyDown, vk, 0}; }
MacroEventRecord Up(int vk) { return {kMacroEventTypeKeyUp, vk, 0}; }
MacroEventRecord Delay(int ms) { return {kMacroEventTypeDelay, ms, 0}; }

std::vector<MacroEventRecord> Numbered(std::vector<MacroEventRecord> records) {
  for (std::size_t i = 0; i < records.size(); ++i) records[i].record_index = static_cast<int>(i);
  return records;
}

std::string StreamText(int key_code, const std::vector<MacroEventRecord>& records) {
  return Hex(BuildMacroStream(key_code, Numbered(records)));
}

}  // namespace

TEST(MacroStream, KeyDownDelayKeyUp) {
  const std::vector<std::uint8_t> expected = {
      0x03,                    // key_code of the playing button
      0x30, 0x32, 0x00, 0x04,  // A down, then 50 ms
      0xB0, 0x01, 0x00, 0x04,  // A up, the last event keeps delay 1
  };
  EXPECT_EQ(StreamText(3, {Down(kVkA), Delay(50), Up(kVkA)}), Hex(expected));
}

TEST(MacroStream, DelayRules) {
  struct Case {
    const char* what;
    std::vector<MacroEventRecord> records;
    const char* stream;
  };
  const Case cases[] = {
      {"events without delays get 1 each", {Down(kVkA), Up(kVkA)}, "05 30 01 00 04 B0 01 00 04"},
      {"consecutive delays add up", {Down(kVkA), Delay(100), Delay(200), Up(kVkA)},
       "05 30 2C 01 04 B0 01 00 04"},
      {"a trailing delay goes into the last event", {Down(kVkA), Up(kVkA), Delay(300)},
       "05 30 01 00 04 B0 2C 01 04"},
      {"delays before the first event end up in its delay",
       {Delay(20), Down(kVkA), Delay(30), Up(kVkA)}, "05 30 32 00 04 B0 01 00 04"},
      {"a lone event takes the delays before it", {Delay(20), Down(kVkA)}, "05 30 14 00 04"},
      {"a zero delay counts as none", {Down(kVkA), Delay(0), Up(kVkA)}, "05 30 01 00 04 B0 01 00 04"},
      {"delays only: the key byte alone", {Delay(10), Delay(20)}, "05"},
      {"no records: the key byte alone", {}, "05"},
      {"sums stop at 65535 ms", {Down(kVkA), Delay(31000), Delay(31000), Delay(31000), Up(kVkA)},
       "05 30 FF FF 04 B0 01 00 04"},
      {"negative delays count as none", {Down(kVkA), Delay(-40), Up(kVkA)},
       "05 30 01 00 04 B0 01 00 04"},
      {"records of other types make no event and keep the pending delay",
       {Down(kVkA), Delay(40), {6, 1, 0}, {7, 2, 0}, Up(kVkA)}, "05 30 28 00 04 B0 01 00 04"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StreamText(5, c.records), c.stream) << c.what;
  }
}

TEST(MacroStream, EventCodes) {
  const std::vector<MacroEventRecord> records = {
      Down(160),                            // left Shift: modifier down, bit 0x02
      Down(kVkB),                           // B: key down, usage 0x05
      Up(kVkB),                             //
      Up(160),                              // modifier up
      Down(92), Up(92),                     // right Win: bit 0x80
      Down(93), Up(93),                     // Apps is a key (0x65), not a modifier
      {kMacroEventTypeButtonDown, 0x104, 0},  // button mask, low byte
      {kMacroEventTypeButtonUp, 0x04, 0},
  };
  const std::vector<std::uint8_t> expected = {
      0x01,
      0x20, 0x01, 0x00, 0x02,  // modifier down: left Shift
      0x30, 0x01, 0x00, 0x05,  // key down: B
      0xB0, 0x01, 0x00, 0x05,  // key up: B
      0xA0, 0x01, 0x00, 0x02,  // modifier up: left Shift
      0x20, 0x01, 0x00, 0x80,  // modifier down: right Win
      0xA0, 0x01, 0x00, 0x80,  // modifier up: right Win
      0x30, 0x01, 0x00, 0x65,  // key down: Apps
      0xB0, 0x01, 0x00, 0x65,  // key up: Apps
      0x10, 0x01, 0x00, 0x04,  // button down: middle
      0x90, 0x01, 0x00, 0x04,  // button up: middle
  };
  EXPECT_EQ(StreamText(1, records), Hex(expected));
}

TEST(MacroStream, FollowsRecordIndexOrder) {
  std::vector<MacroEventRecord> records = {{kMacroEventTypeKeyUp, kVkA, 2},
                                           {kMacroEventTypeKeyDown, kVkA, 0},
                                           {kMacroEventTypeDelay, 70, 1}};
  EXPECT_EQ(Hex(BuildMacroStream(2, records)), "02 30 46 00 04 B0 01 00 04");
}

TEST(MacroStream, SixEventsFitOnePacket) {
  std::vector<MacroEventRecord> records;
  for (int i = 0; i < 3; ++i) {
    records.push_back(Down(kVkA));
    records.push_back(Up(kVkA));
  }
  const auto stream = BuildMacroStream(4, Numbered(records));
  ASSERT_EQ(stream.size(), 25u);
  const auto frames = BuildMacroRequests(stream);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].PacketField(), 0x01);
  EXPECT_EQ(frames[0].StatedLength(), 25);
  EXPECT_EQ(frames[0][5], 4);
  EXPECT_EQ(frames[0][29], 0x04) << "last byte of the stream";
  EXPECT_EQ(frames[0][30], 0x00);
}

TEST(MacroStream, SevenEventsGoInTwoPackets) {
  // A down/up x3 and one more A down: 7 events, 29 bytes.
  std::vector<MacroEventRecord> records;
  for (int i = 0; i < 3; ++i) {
    records.push_back(Down(kVkA));
    records.push_back(Up(kVkA));
  }
  records.push_back(Down(kVkA));
  const auto stream = BuildMacroStream(2, Numbered(records));
  ASSERT_EQ(stream.size(), 29u);
  const auto frames = BuildMacroRequests(stream);
  ASSERT_EQ(frames.size(), 2u);

  const auto first = bytetable::Padded({
      0x00, 0x08, 0x00,
      0x02,                    // packet field: index 0, count 2
      27,                      // stated length: a full piece
      0x02,                    // key_code
      0x30, 0x01, 0x00, 0x04,  // event 1
      0xB0, 0x01, 0x00, 0x04,  // event 2
      0x30, 0x01, 0x00, 0x04,  // event 3
      0xB0, 0x01, 0x00, 0x04,  // event 4
      0x30, 0x01, 0x00, 0x04,  // event 5
      0xB0, 0x01, 0x00, 0x04,  // event 6
      0x30, 0x01,              // event 7, first two bytes
      0xF1,                    // checksum: 2 + 3 * 0x35 + 3 * 0xB5 + 0x31 = 0x2F1
  }, 33);
  const auto second = bytetable::Padded({
      0x00, 0x08, 0x00,
      0x12,                    // packet field: index 1, count 2
      2,                       // stated length: the remaining bytes
      0x00, 0x04,              // event 7, last two bytes
  }, 33);
  auto secondWithChecksum = second;
  secondWithChecksum[32] = 0x04;
  EXPECT_EQ(Hex(frames[0].Bytes()), Hex(first));
  EXPECT_EQ(Hex(frames[1].Bytes()), Hex(secondWithChecksum));
}

TEST(MacroStream, PacketLimits) {
  std::vector<std::uint8_t> stream(1 + 4 * 101, 0x11);  // 405 bytes: 15 packets
  auto frames = BuildMacroRequests(stream);
  ASSERT_EQ(frames.size(), 15u);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].PacketField(), (i << 4) | 15) << i;
    EXPECT_EQ(frames[i].StatedLength(), 27) << i;
  }
  stream.resize(1 + 4 * 102);  // would need 16 packets: four bits cannot say so
  EXPECT_TRUE(BuildMacroRequests(stream).empty());
  EXPECT_TRUE(BuildMacroRequests({}).empty());

  const std::vector<std::uint8_t> keyOnly = {7};
  frames = BuildMacroRequests(keyOnly);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].StatedLength(), 1);
}

TEST(MacroStream, ParseTakesAStreamApart) {
  const auto stream = BuildMacroStream(3, Numbered({Down(kVkA), Delay(50), Up(kVkA)}));
  const auto parsed = ParseMacroStream(stream);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->key_code, 3);
  const std::vector<MacroWireEvent> expected = {{0x30, 50, 0x04}, {0xB0, 1, 0x04}};
  EXPECT_EQ(parsed->events, expected);
  EXPECT_FALSE(ParseMacroStream({}));
  const std::vector<std::uint8_t> ragged = {3, 0x30, 1};
  EXPECT_FALSE(ParseMacroStream(ragged));
}
