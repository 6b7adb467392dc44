// The report frame and SendReport: checksum, pauses, the 50 reply reads, and
// what the caller's frame holds afterwards.

#include <array>
#include <vector>

#include "DeviceFixture.h"

namespace devicetest {
namespace {

using Frame33 = std::array<uint8_t, 33>;

TEST(ReportFrame, ChecksumCoversBytesFiveToThirtyOneOnly) {
  // A report-rate write of 8000 Hz with noise in the uncovered bytes.
  Frame33 frame = {
      0x00,              // report id
      0x02,              // command: write report rate
      0x00,              // always 0
      0x01,              // packet field: one packet
      0x01,              // stated length
      0x40,              // payload: report-rate code 8000 Hz
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0x99,              // byte 32: whatever the buffer held before
  };
  EXPECT_EQ(DeviceManager::Checksum(frame.data()), 0x40);

  // Sums wrap at 8 bits: 27 bytes of 0xFF give 27 * 255 = 0x1AE5.
  Frame33 full{};
  for (size_t i = 5; i < 32; ++i) full[i] = 0xFF;
  full[1] = 0xAA;
  full[4] = 0xBB;
  EXPECT_EQ(DeviceManager::Checksum(full.data()), 0xE5);
}

class SendReportTest : public DeviceFixture {
 protected:
  void SetUp() override {
    airCable = bus->PlugCable(bus->AddMouse(Mouse("VA01")), kVid, kAirCable);
    Discover(1);
  }
  int airCable = -1;
};

TEST_F(SendReportTest, RefusedBeforeEnumerationAndAfterCloseAll) {
  DeviceManager fresh(bus, clock);
  fresh.AddModeEntry(kVid, kAirCable, L"", 1, 0, L"VA01");
  fresh.SetSelectedType(1);
  Frame33 frame{};
  frame[1] = 0x11;
  EXPECT_FALSE(fresh.SendReport(frame.data(), frame.size(), true));

  manager->CloseAll();
  EXPECT_FALSE(manager->SendReport(frame.data(), frame.size(), true));
  EXPECT_TRUE(bus->Requests(airCable).empty());
  EXPECT_TRUE(clock->Pauses().empty());
}

TEST_F(SendReportTest, AcceptedReplyAfterOnePauseAndOneRead) {
  Frame33 frame{};
  frame[1] = 0x11;  // read whose reply is not looked at
  frame[32] = 0x77; // stale checksum from an earlier use of the buffer
  ASSERT_TRUE(manager->SendReport(frame.data(), frame.size(), true));

  const std::vector<std::vector<uint8_t>> written = bus->Requests(airCable);
  ASSERT_EQ(written.size(), 1u);
  const std::vector<uint8_t> expected = {
      0x00,  // report id
      0x11,  // command
      0x00,  // always 0
      0x00,  // packet field: read request
      0x00,  // stated length
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // payload
      0x00,  // checksum of an empty payload
  };
  EXPECT_EQ(written[0], expected);
  EXPECT_EQ(clock->Pauses(), std::vector<int>{66});
  EXPECT_EQ(bus->ReadCalls(airCable), 1);
  EXPECT_EQ(frame[0], 0x11);  // the reply echoes the command
  EXPECT_EQ(frame[1], 0x00);  // status accepted
}

TEST_F(SendReportTest, WithoutWaitingReportsFalseButWrites) {
  Frame33 frame{};
  frame[1] = 0x02;
  frame[3] = 0x01;
  frame[4] = 0x01;
  frame[5] = 0x08;
  EXPECT_FALSE(manager->SendReport(frame.data(), frame.size(), false));
  ASSERT_EQ(bus->Requests(airCable).size(), 1u);
  EXPECT_EQ(bus->Requests(airCable)[0][32], 0x08);
  EXPECT_EQ(clock->Pauses(), std::vector<int>{66});
  EXPECT_EQ(bus->ReadCalls(airCable), 0);
}

TEST_F(SendReportTest, LongFrameKeepsChecksumAtByte32) {
  std::array<uint8_t, 65> frame{};
  frame[1] = 0x07;  // write power options
  frame[3] = 0x01;
  frame[4] = 0x04;
  frame[5] = 0x0A;
  frame[6] = 0x01;
  frame[7] = 0x01;
  frame[8] = 0x02;
  frame[40] = 0x55;  // beyond the covered bytes
  frame[64] = 0x66;
  manager->SendReport(frame.data(), frame.size(), true);
  const std::vector<uint8_t> sent = bus->Requests(airCable).at(0);
  ASSERT_EQ(sent.size(), 65u);
  EXPECT_EQ(sent[32], 0x0A + 0x01 + 0x01 + 0x02);
  EXPECT_EQ(sent[40], 0x55);
  EXPECT_EQ(sent[64], 0x66);
}

// Each row: what the mouse does with the request, the reads SendReport
// makes, the time they wait, and the result.
struct FaultCase {
  const char* name;
  SimulatedHid::Fault fault;
  int reads;
  int64_t waitedMs;
};

TEST_F(SendReportTest, UnansweredRequestsReadFiftyTimes) {
  const FaultCase cases[] = {
      // 50 reads of 30 ms each come back empty.
      {"no reply", SimulatedHid::Fault::NoReply, 50, 50 * 30},
      // The reply arrives after the latency, is refused, 49 empty reads follow.
      {"non-zero status", SimulatedHid::Fault::BadStatus, 50, SimulatedHid::kDefaultLatencyMs + 49 * 30},
      {"garbage", SimulatedHid::Fault::Garbage, 50, SimulatedHid::kDefaultLatencyMs + 49 * 30},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    clock->ClearRecord();
    bus->ClearRecord();
    bus->InjectFault(airCable, c.fault);
    Frame33 frame{};
    frame[1] = 0x12;
    EXPECT_FALSE(manager->SendReport(frame.data(), frame.size(), true));
    EXPECT_EQ(bus->ReadCalls(airCable), c.reads);
    EXPECT_EQ(clock->Pauses(), std::vector<int>{66});
    EXPECT_EQ(clock->WaitedMs(), c.waitedMs);
  }
}

TEST_F(SendReportTest, FailedFrameHoldsLastReadOverTheRequest) {
  Frame33 request{};
  for (size_t i = 0; i < 32; ++i) request[i] = static_cast<uint8_t>(0x80 + i);
  request[0] = 0x00;

  Frame33 untouched = request;
  bus->InjectFault(airCable, SimulatedHid::Fault::NoReply);
  EXPECT_FALSE(manager->SendReport(untouched.data(), untouched.size(), true));
  Frame33 withChecksum = request;
  withChecksum[32] = DeviceManager::Checksum(request.data());
  EXPECT_EQ(untouched, withChecksum);

  Frame33 noisy = request;
  bus->InjectFault(airCable, SimulatedHid::Fault::Garbage);
  EXPECT_FALSE(manager->SendReport(noisy.data(), noisy.size(), true));
  // Seven bytes of noise were read; the rest is still the request.
  const uint8_t noise[7] = {0x5A, 0xC3, 0x7E, 0x11, 0x00, 0xFF, 0x96};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(noisy[i], noise[i]) << i;
  for (size_t i = 7; i < 33; ++i) EXPECT_EQ(noisy[i], withChecksum[i]) << i;
}

TEST_F(SendReportTest, NotificationsCountAsReadsAndStatusZeroEndsTheWait) {
  // A link report (status byte 1 = 1) is consumed as one failed read; the
  // reply behind it ends the wait.
  bus->Notify(airCable, {
                            0xD1,  // link state
                            0x01,  // linked: not a status of 0
                            0x50,  // battery 80 %
                            0x00,  // not charging
                        });
  Frame33 frame{};
  frame[1] = 0x11;
  EXPECT_TRUE(manager->SendReport(frame.data(), frame.size(), true));
  EXPECT_EQ(bus->ReadCalls(airCable), 2);
  EXPECT_EQ(frame[0], 0x11);

  // A DPI report whose byte 1 happens to be 0 is taken as the reply.
  bus->ClearRecord();
  bus->InjectFault(airCable, SimulatedHid::Fault::NoReply);
  bus->Notify(airCable, {
                            0xD2,  // DPI change
                            0x00,  // stage 0, count 0
                        });
  Frame33 other{};
  other[1] = 0x13;
  EXPECT_TRUE(manager->SendReport(other.data(), other.size(), true));
  EXPECT_EQ(bus->ReadCalls(airCable), 1);
  EXPECT_EQ(other[0], 0xD2);
}

TEST_F(SendReportTest, BadChecksumIsRefusedByTheMouse) {
  // SendReport always stores the right checksum, so only a direct write can
  // show that the firmware checks it.
  HidDevice* handle = manager->GetActiveDevice();
  ASSERT_NE(handle, nullptr);
  Frame33 frame{};
  frame[1] = 0x11;
  frame[5] = 0x01;
  frame[32] = 0x00;  // should be 0x01
  ASSERT_EQ(bus->Write(handle, frame.data(), frame.size()), 33);
  Frame33 reply{};
  ASSERT_GT(bus->ReadTimeout(handle, reply.data(), reply.size(), 30), 0);
  EXPECT_EQ(reply[1], SimulatedFirmware::kStatusBadChecksum);
}

TEST_F(SendReportTest, UnplugDuringTheExchangeFailsEveryRead) {
  bus->InjectFault(airCable, SimulatedHid::Fault::UnplugMidExchange);
  Frame33 frame{};
  frame[1] = 0x11;
  EXPECT_FALSE(manager->SendReport(frame.data(), frame.size(), true));
  EXPECT_EQ(bus->ReadCalls(airCable), 50);
  EXPECT_EQ(clock->WaitedMs(), 0);  // a gone device fails at once
  // Later requests fail at the write until the list is rebuilt.
  clock->ClearRecord();
  EXPECT_FALSE(manager->SendReport(frame.data(), frame.size(), true));
  EXPECT_EQ(clock->Pauses(), std::vector<int>{66});
  EXPECT_EQ(bus->Requests(airCable).size(), 1u);
}

}  // namespace
}  // namespace devicetest
