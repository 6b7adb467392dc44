// The report frame and SendReport: checksum, pauses, the 50 reply reads, and
// what the caller's frame holds afterwards.

#include <array>
#include <vector>

#include "DeviceFixture.h"

namespace devicetest {
namespace {

using Frame33 = std::array<uint8_t, 33>;

TEST(ReportFrame, ChecksumCoversBytesFiveToThirtyOneOnly) {
  struct Case {
    const char* what;
    Frame33 frame;
    uint8_t checksum;
  };
  Frame33 full{};
  for (size_t i = 5; i < 32; ++i) full[i] = 0xFF;
  full[1] = 0xAA;  // outside the sum
  full[4] = 0xBB;
  const Case cases[] = {
      // A report-rate write of 8000 Hz with noise in the uncovered bytes.
      {"payload byte only",
       {
           0x00,  // report id
           0x02,  // command: write report rate
           0x00,  // always 0
           0x01,  // packet field: one packet
           0x01,  // stated length
           0x40,  // payload: report-rate code 8000 Hz
           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
           0x99,  // byte 32: whatever the buffer held before
       },
       0x40},
      // Sums wrap at 8 bits: 27 bytes of 0xFF give 27 * 255 = 0x1AE5.
      {"27 bytes of 0xFF wrap", full, 0xE5},
  };
  for (const Case& c : cases) EXPECT_EQ(DeviceManager::Checksum(c.frame.data()), c.checksum) << c.what;
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

// Each row: the caller's frame, whether it waits, and what goes out: the
// frame as written (checksum stored at byte 32 over whatever it held), the
// result, the reads, and the head of the frame afterwards.
TEST_F(SendReportTest, WritesTheFrameWithItsChecksumAndWaitsWhenAsked) {
  struct Case {
    const char* what;
    std::vector<uint8_t> frame;
    bool wait;
    std::vector<uint8_t> written;
    int result;  // reply length, 0 for none
    int reads;
    std::vector<uint8_t> head;  // frame bytes 0.. after the call
  };
  std::vector<uint8_t> staleRead(33, 0);
  staleRead[1] = 0x11;  // read whose reply is not looked at
  staleRead[32] = 0x77; // stale checksum from an earlier use of the buffer
  std::vector<uint8_t> rateWrite(33, 0);
  rateWrite[1] = 0x02;
  rateWrite[3] = 0x01;
  rateWrite[4] = 0x01;
  rateWrite[5] = 0x08;
  std::vector<uint8_t> rateWritten = rateWrite;
  rateWritten[32] = 0x08;
  std::vector<uint8_t> power(65, 0);
  power[1] = 0x07;  // write power options
  power[3] = 0x01;
  power[4] = 0x04;
  power[5] = 0x0A;
  power[6] = 0x01;
  power[7] = 0x01;
  power[8] = 0x02;
  power[40] = 0x55;  // beyond the covered bytes: sent as they are
  power[64] = 0x66;
  std::vector<uint8_t> powerWritten = power;
  powerWritten[32] = 0x0A + 0x01 + 0x01 + 0x02;
  const Case cases[] = {
      {"read, accepted after one read",
       staleRead,
       true,
       {
           0x00,  // report id
           0x11,  // command
           0x00,  // always 0
           0x00,  // packet field: read request
           0x00,  // stated length
           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // payload
           0x00,  // checksum of an empty payload
       },
       33,
       1,
       {0x11, 0x00}},  // the reply echoes the command, status accepted
      {"write without waiting reports nothing but is written", rateWrite, false, rateWritten, 0, 0, {0x00, 0x02}},
      {"65-byte frame keeps its checksum at byte 32", power, true, powerWritten, 33, 1, {0x07, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    clock->ClearRecord();
    bus->ClearRecord();
    std::vector<uint8_t> frame = c.frame;
    EXPECT_EQ(manager->SendReport(frame.data(), frame.size(), c.wait), c.result);
    const std::vector<std::vector<uint8_t>> written = bus->Requests(airCable);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0], c.written);
    EXPECT_EQ(clock->Pauses(), std::vector<int>{66});
    EXPECT_EQ(bus->ReadCalls(airCable), c.reads);
    for (size_t i = 0; i < c.head.size(); ++i) EXPECT_EQ(frame[i], c.head[i]) << "byte " << i;
  }
}

// hidraw writes what it is given, so requests are padded to the output
// report the interface declares; without a declared one they go as they are.
TEST_F(SendReportTest, WritesArePaddedToTheDeclaredOutputReport) {
  struct Case {
    const char* what;
    int declaredBytes;  // without the report id; 0 declares none
    size_t frameLength;
    size_t writtenLength;
  };
  const Case cases[] = {
      {"64-byte report: a 33-byte frame is padded", 64, 33, 65},
      {"64-byte report: a 65-byte frame fills it", 64, 65, 65},
      {"32-byte report: frames of 33 and more go as they are", 32, 65, 65},
      {"no output report declared", 0, 33, 33},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bus->SetOutputReportBytes(airCable, c.declaredBytes);
    Discover(1);  // the length is read when the interface is opened
    std::vector<uint8_t> frame(c.frameLength, 0);
    frame[1] = 0x11;
    frame[20] = 0x3C;  // a payload byte, so the padding is told from the frame
    const std::vector<uint8_t> sent = frame;
    EXPECT_EQ(manager->SendReport(frame.data(), frame.size(), true), 33) << "the mouse answers the padded request";
    const std::vector<std::vector<uint8_t>> written = bus->Requests(airCable);
    ASSERT_EQ(written.size(), 1u);
    ASSERT_EQ(written[0].size(), c.writtenLength);
    for (size_t i = 0; i < c.writtenLength; ++i) {
      const uint8_t expected = i == 32 ? 0x3C : (i < sent.size() ? sent[i] : 0);
      EXPECT_EQ(written[0][i], expected) << "byte " << i;
    }
  }
}

TEST_F(SendReportTest, AShortWriteIsRefusedAndLoggedWithTheBackendsText) {
  // The length is read when the interface is opened; an interface that
  // declares a longer report only afterwards shows what an unpadded request
  // meets: the write is refused, and the log carries the backend's text.
  bus->SetOutputReportBytes(airCable, 64);
  Frame33 frame{};
  frame[1] = 0x11;
  EXPECT_EQ(manager->SendReport(frame.data(), frame.size(), true), 0);
  EXPECT_TRUE(bus->Requests(airCable).empty());
  EXPECT_THAT(Log(), ::testing::Contains(
                         "HID write of command 0x11 failed: Output report shorter than the interface declares"));
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
  EXPECT_THAT(Log(), ::testing::Contains("HID read for command 0x11 failed 50 times: Device disconnected"));
  // Later requests fail at the write until the list is rebuilt.
  clock->ClearRecord();
  EXPECT_FALSE(manager->SendReport(frame.data(), frame.size(), true));
  EXPECT_EQ(clock->Pauses(), std::vector<int>{66});
  EXPECT_EQ(bus->Requests(airCable).size(), 1u);
  EXPECT_THAT(Log(), ::testing::Contains("HID write of command 0x11 failed: Device disconnected"));
}

}  // namespace
}  // namespace devicetest
