// The simulated mouse's firmware side: each write followed by its read gives
// back what was written; macros are reassembled from their packets; factory
// restore; malformed requests change nothing.

#include <gtest/gtest.h>

#include "ByteTable.h"
#include "device/Commands.h"
#include "device/KeySlots.h"
#include "device/Lighting.h"
#include "device/MacroStream.h"
#include "device/simulator/CommandResponder.h"

using namespace mouseproto;
using bytetable::Hex;

namespace {

class Responder : public ::testing::Test {
 protected:
  std::optional<std::vector<std::uint8_t>> Send(const ReportFrame& frame) {
    return CommandResponder::ApplyRequest(mouse_, frame.Bytes());
  }
  // Sends a request that must be answered with status 0.
  void Write(const ReportFrame& frame) {
    const auto reply = Send(frame);
    if (CommandWaitsForReply(frame.Command())) {
      ASSERT_TRUE(reply) << int(frame.Command());
      EXPECT_EQ((*reply)[0], frame.Command());
      EXPECT_EQ((*reply)[1], kStatusOk) << "command " << int(frame.Command());
    } else {
      EXPECT_FALSE(reply) << "command " << int(frame.Command()) << " is answered by silence";
    }
  }
  std::vector<std::uint8_t> Read(std::uint8_t command) {
    const auto reply = Send(BuildReadRequest(command));
    EXPECT_TRUE(reply);
    return reply.value_or(std::vector<std::uint8_t>{});
  }

  MouseState mouse_ = MouseState::WithSensor(0, "M001");
};

}  // namespace

TEST_F(Responder, ReportRate) {
  for (int code : {1, 2, 4, 8, 16, 32, 64}) {
    Write(BuildReportRateRequest(code));
    EXPECT_EQ(DecodeReportRateReply(Read(kCmdReadReportRate)), code);
  }
}

TEST_F(Responder, DpiStagesPerSensor) {
  for (int sensor : {0, 3, 4, 17, 25, 37, 38, 53, 149}) {
    mouse_ = MouseState::WithSensor(sensor);
    const SensorRow row = SensorRowFor(sensor);
    DpiStages stages;
    stages.dpi_index = 4;
    stages.dpi_count = 5;
    stages.dpi_group_value = {row.min_dpi,
                              DpiForSliderProgress(row, 2),
                              DpiForSliderProgress(row, row.slider_positions / 2),
                              DpiForSliderProgress(row, row.slider_positions - 1),
                              row.max_dpi,
                              row.max_dpi + 5000};  // clamped on the way out
    Write(BuildDpiStagesRequest(stages, row));
    const auto decoded = DecodeDpiStagesReply(Read(kCmdReadDpiStages), sensor);
    ASSERT_TRUE(decoded) << sensor;
    EXPECT_EQ(decoded->dpi_index, 4);
    EXPECT_EQ(decoded->dpi_count, 5);
    EXPECT_EQ(decoded->dpi_flag, 5);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(decoded->dpi_group_value[i], std::min(stages.dpi_group_value[i], row.max_dpi))
          << "sensor " << sensor << " stage " << i;
    }
  }
}

TEST_F(Responder, DpiColours) {
  const std::array<int, 6> colours = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x000001};
  Write(BuildDpiColoursRequest(colours));
  EXPECT_EQ(DecodeDpiColoursReply(Read(kCmdReadDpiColours)), colours);
}

TEST_F(Responder, Lighting) {
  LightParams light;
  light.brightness = 7;
  light.speed = 2;
  light.color_value = {0x0000FF, 0x00FF00, 0xFF0000, 0x010203, 0x040506, 0x070809, 0x0A0B0C};
  for (int mode : {0, 1, 2, 3, 4, 5, 6, 9}) {
    light.mode = mode;
    Write(BuildLightingRequest(light));
    const auto read = DecodeLightingReply(Read(kCmdReadLighting));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->mode, mode);
    EXPECT_EQ(read->brightness, 7);
    EXPECT_EQ(read->speed, 2);
  }
  // The colours of the multi-colour modes are kept by the mouse.
  EXPECT_EQ(mouse_.settings.lighting.colours[6], 0x0A0B0C);
  light.mode = 3;
  light.color_value[0] = 0x123456;
  Write(BuildLightingRequest(light));
  EXPECT_EQ(mouse_.settings.lighting.colours[0], 0x123456);

  // A mode without a layout states no payload and changes nothing.
  light.mode = 7;
  Write(BuildLightingRequest(light));
  EXPECT_EQ(DecodeLightingReply(Read(kCmdReadLighting))->mode, 3);
}

TEST_F(Responder, LiftOffAndSensorOptions) {
  struct Case {
    int liftoff, sensor_flag;
  };
  for (const Case c : {Case{2, 0x0C}, Case{1, 0x35}, Case{1, 0x00}, Case{2, 0x08}}) {
    Write(BuildLiftOffRequest({c.liftoff, c.sensor_flag}));
    const auto read = DecodeLiftOffReply(Read(kCmdReadLiftOff));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->liftoff_height, c.liftoff);
    EXPECT_EQ(read->MergeSensorFlag(0x31), 0x31 | (c.sensor_flag & 0x0C));
  }
}

TEST_F(Responder, PowerOptions) {
  Write(BuildPowerOptionsRequest({60, 1, 0, 12}));
  const auto read = DecodePowerOptionsReply(Read(kCmdReadPowerOptions));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->sleep_light, 60);
  EXPECT_EQ(read->move_closelight, 0);
  EXPECT_EQ(read->button_respondtime, 12);
  EXPECT_EQ(mouse_.settings.move_wakeup, 1);
}

TEST_F(Responder, ButtonFunctions) {
  const KeyFunction records[] = {{2, kFnKeyboard, 0xE1, 0}, {4, kFnKeyboard, 0x06, 0x01}};
  const KeySlotTable table = BuildKeySlotTable(records, {});
  Write(BuildButtonFunctionsRequest(table));
  for (int slot = 0; slot < kTravellingKeySlots; ++slot) {
    EXPECT_EQ(Hex(mouse_.settings.key_slots.Slot(slot)), Hex(table.Slot(slot))) << slot;
  }
}

TEST_F(Responder, MacroReassembledFromPackets) {
  std::vector<MacroEventRecord> records;
  for (int i = 0; i < 10; ++i) {
    records.push_back({kMacroEventTypeKeyDown, 'A' + i, 3 * i});
    records.push_back({kMacroEventTypeDelay, 10 + i, 3 * i + 1});
    records.push_back({kMacroEventTypeKeyUp, 'A' + i, 3 * i + 2});
  }
  const auto stream = BuildMacroStream(6, records);
  const auto frames = BuildMacroRequests(stream);
  ASSERT_EQ(frames.size(), 3u);  // 81 bytes
  for (const ReportFrame& frame : frames) Write(frame);
  ASSERT_EQ(mouse_.settings.macros.count(6), 1u);
  EXPECT_EQ(mouse_.settings.macros[6], BuildMacroEvents(records));
  EXPECT_FALSE(mouse_.assembly.active);

  // A single-packet macro for another button sits beside it.
  const std::vector<MacroEventRecord> small = {{kMacroEventTypeButtonDown, 1, 0},
                                               {kMacroEventTypeButtonUp, 1, 1}};
  Write(BuildMacroRequests(BuildMacroStream(2, small))[0]);
  EXPECT_EQ(mouse_.settings.macros[2], BuildMacroEvents(small));
  EXPECT_EQ(mouse_.settings.macros.size(), 2u);
}

TEST_F(Responder, MacroPacketsOutOfOrderAreRefused) {
  std::vector<MacroEventRecord> records(40, {kMacroEventTypeKeyDown, 'A', 0});
  const auto frames = BuildMacroRequests(BuildMacroStream(1, records));
  ASSERT_EQ(frames.size(), 6u);  // 161 bytes

  // Second packet without the first.
  EXPECT_EQ((*Send(frames[1]))[1], kStatusBadPacket);
  // First, then third: the gap is refused and the partial macro dropped.
  EXPECT_EQ((*Send(frames[0]))[1], kStatusOk);
  EXPECT_EQ((*Send(frames[2]))[1], kStatusBadPacket);
  EXPECT_FALSE(mouse_.assembly.active);
  for (std::size_t i = 1; i < frames.size(); ++i) {
    EXPECT_EQ((*Send(frames[i]))[1], kStatusBadPacket) << i;
  }
  EXPECT_TRUE(mouse_.settings.macros.empty());

  // Restarting from packet 0 delivers the macro.
  for (const ReportFrame& frame : frames) Write(frame);
  EXPECT_EQ(mouse_.settings.macros[1].size(), 40u);
}

TEST_F(Responder, FactoryRestore) {
  mouse_.factory.report_rate = 4;
  Write(BuildReportRateRequest(64));
  Write(BuildPowerOptionsRequest({1, 1, 1, 1}));
  Write(BuildButtonFunctionsRequest(BuildKeySlotTable(std::vector<KeyFunction>{{0, kFnDisabled, 1, 0}}, {})));
  const std::vector<MacroEventRecord> macro = {{kMacroEventTypeKeyDown, 'A', 0}};
  Write(BuildMacroRequests(BuildMacroStream(3, macro))[0]);
  ASSERT_FALSE(mouse_.settings.macros.empty());

  Write(BuildFactoryRestoreRequest());
  EXPECT_EQ(DecodeReportRateReply(Read(kCmdReadReportRate)), 4);
  EXPECT_EQ(DecodePowerOptionsReply(Read(kCmdReadPowerOptions))->sleep_light, 30);
  EXPECT_EQ(Hex(mouse_.settings.key_slots.Slot(0)), "20 01 00");
  EXPECT_TRUE(mouse_.settings.macros.empty());
  const auto stages = DecodeDpiStagesReply(Read(kCmdReadDpiStages), 0);
  ASSERT_TRUE(stages);
  const std::array<std::optional<int>, 6> factory = {800, 1200, 2000, 5000, 8000, 22000};
  EXPECT_EQ(stages->dpi_group_value, factory);
}

TEST_F(Responder, DeviceInformationAndDiscardedRead) {
  mouse_.identity.sensor_code = 38;
  mouse_.identity.max_rate = 0x20;
  mouse_.identity.charge_state = 1;
  mouse_.identity.battery_level = 57;
  mouse_.identity.link = 0;
  const auto info = DecodeDeviceInfo(Read(kCmdReadDeviceInfo));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->device_id, "M001");
  EXPECT_EQ(info->sensor_code, 38);
  EXPECT_EQ(info->ReportRateChoices(), 6);
  EXPECT_EQ(info->charge_state, 1);
  EXPECT_EQ(info->battery_level, 57);
  EXPECT_EQ(info->link, 0);
  EXPECT_TRUE(IsAcceptedReply(Read(kCmdReadDiscarded)));
}

TEST_F(Responder, MalformedRequestsChangeNothing) {
  const MouseSettings before = mouse_.settings;
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::optional<std::uint8_t> status;  // nothing: no reply at all
  };
  auto bad_checksum = BuildPowerOptionsRequest({1, 1, 1, 1});
  bad_checksum.Set(32, 0);
  auto wrong_length = BuildLiftOffRequest({2, 0});
  wrong_length.Set(4, 6);
  wrong_length.Seal();
  auto bad_liftoff = BuildLiftOffRequest({3, 0});
  auto bad_rate = BuildReportRateRequest(3);
  auto bad_count = BuildDpiStagesRequest({0, 7, {800, 800, 800, 800, 800, 800}}, DefaultSensorRow());
  auto report_id = BuildPowerOptionsRequest({1, 1, 1, 1});
  report_id.Set(0, 1);
  auto restore_without_marker = BuildFactoryRestoreRequest();
  restore_without_marker.Set(5, 0x01);
  restore_without_marker.Seal();
  const auto full_stream_bytes = BuildReportRateRequest(1);
  const std::vector<std::uint8_t> truncated(full_stream_bytes.Bytes().begin(),
                                            full_stream_bytes.Bytes().begin() + 10);

  const Case cases[] = {
      {"bad checksum", {bad_checksum.Bytes().begin(), bad_checksum.Bytes().end()}, kStatusBadFrame},
      {"wrong stated length", {wrong_length.Bytes().begin(), wrong_length.Bytes().end()}, kStatusBadValue},
      {"lift-off code 3", {bad_liftoff.Bytes().begin(), bad_liftoff.Bytes().end()}, kStatusBadValue},
      {"report id 1", {report_id.Bytes().begin(), report_id.Bytes().end()}, kStatusBadFrame},
      {"restore without 0xFF", {restore_without_marker.Bytes().begin(), restore_without_marker.Bytes().end()},
       kStatusBadValue},
      {"rate code 3 (no reply command)", {bad_rate.Bytes().begin(), bad_rate.Bytes().end()}, std::nullopt},
      {"seven DPI stages", {bad_count.Bytes().begin(), bad_count.Bytes().end()}, std::nullopt},
      {"truncated no-reply write", truncated, std::nullopt},
      {"empty", {}, kStatusBadFrame},
      {"unknown command", bytetable::Padded({0x00, 0x42}, 33), kStatusUnknownCommand},
  };
  for (const Case& c : cases) {
    const auto reply = CommandResponder::ApplyRequest(mouse_, c.bytes);
    ASSERT_EQ(reply.has_value(), c.status.has_value()) << c.what;
    if (reply) {
      EXPECT_EQ(reply->size(), kReplyLength) << c.what;
      EXPECT_EQ((*reply)[1], *c.status) << c.what;
    }
  }
  EXPECT_EQ(mouse_.settings.report_rate, before.report_rate);
  EXPECT_EQ(mouse_.settings.liftoff_height, before.liftoff_height);
  EXPECT_EQ(mouse_.settings.sleep_light, before.sleep_light);
  EXPECT_EQ(mouse_.settings.dpi_count, before.dpi_count);
  EXPECT_EQ(mouse_.settings.dpi_raw, before.dpi_raw);
}
