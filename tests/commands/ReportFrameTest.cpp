// The frame every request travels in, its checksum, and the reply view.

#include <gtest/gtest.h>

#include "ByteTable.h"
#include "device/Commands.h"
#include "device/ReportFrame.h"

using namespace mouseproto;
using bytetable::Hex;

TEST(ReportFrame, ReadRequestIsAllZeroButTheCommand) {
  const ReportFrame frame = BuildReadRequest(kCmdReadDpiStages);
  const auto expected = bytetable::Padded({
      0x00,  // report id
      0x13,  // command: read DPI stages
      0x00,  //
      0x00,  // packet field: 0 for reads
      0x00,  // stated length: 0 for reads
  }, 33);    // empty payload, checksum 0 at byte 32
  EXPECT_EQ(Hex(frame.Bytes()), Hex(expected));
}

TEST(ReportFrame, ChecksumIsLowByteOfPayloadSumOnly) {
  // Bytes 1..4 and everything after byte 31 are outside the sum; the sum
  // 27 * 0xFF = 0x1AE5 wraps to 0xE5.
  std::vector<std::uint8_t> frame(65, 0xFF);
  frame[0] = 0;
  EXPECT_EQ(FrameChecksum(frame), 0xE5);
  ASSERT_TRUE(StoreFrameChecksum(frame));
  EXPECT_EQ(frame[32], 0xE5);
  EXPECT_EQ(frame[33], 0xFF) << "bytes after the checksum are not touched";
  EXPECT_TRUE(HasValidChecksum(frame));
  frame[31] ^= 1;
  EXPECT_FALSE(HasValidChecksum(frame));
}

TEST(ReportFrame, ChecksumOverwritesWhateverByte32Held) {
  ReportFrame frame = ReportFrame::Write(kCmdRestoreFactory, 1);
  frame.Set(32, 0x77);
  frame.SetPayload(0, 0xFF);
  frame.Seal();
  EXPECT_EQ(frame[32], 0xFF);
}

TEST(ReportFrame, ShortBuffersAreNeverOverrun) {
  std::vector<std::uint8_t> shortFrame{0, 1, 0, 1, 1, 7, 8};
  EXPECT_EQ(FrameChecksum(shortFrame), 15);
  EXPECT_FALSE(StoreFrameChecksum(shortFrame));
  EXPECT_FALSE(HasValidChecksum(shortFrame));
  EXPECT_EQ(shortFrame.size(), 7u);

  ReportFrame frame = ReportFrame::Write(kCmdWriteReportRate, 1);
  frame.Set(40, 9);  // beyond a 33-byte frame: ignored
  EXPECT_EQ(frame.Length(), 33u);
  EXPECT_EQ(frame[40], 0);
}

TEST(ReportFrame, LongFrameKeepsChecksumAtByte32) {
  ReportFrame frame = ReportFrame::Write(kCmdWriteLiftOff, 5, kLongFrameLength);
  frame.SetPayload(0, 2);
  frame.SetPayload(1, 1);
  frame.Seal();
  ASSERT_EQ(frame.Length(), 65u);
  EXPECT_EQ(frame[32], 3);
  for (std::size_t i = 33; i < 65; ++i) EXPECT_EQ(frame[i], 0) << i;
}

TEST(ReportReply, AcceptsOnlyStatusZeroReplies) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    bool accepted;
  };
  const Case cases[] = {
      {"status 0", bytetable::Reply(0x12, 0, {1}), true},
      {"status 1", bytetable::Reply(0x12, 1, {1}), false},
      {"empty", {}, false},
      {"one byte", {0x12}, false},
      {"link notification with status 0", bytetable::Reply(0xD1, 0, {1}), false},
      {"DPI notification with status 0", bytetable::Reply(0xD2, 0, {1}), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReportReply(c.bytes).Accepted(), c.accepted) << c.what;
  }
}

TEST(ReportReply, ReadsPastTheEndGiveZero) {
  const std::vector<std::uint8_t> bytes{0x13, 0, 0, 0, 0x34, 0x12};
  const ReportReply reply(bytes);
  EXPECT_EQ(reply.Word(4), 0x1234);
  EXPECT_EQ(reply.Word(5), 0x0012);
  EXPECT_EQ(reply.At(100), 0);
}
