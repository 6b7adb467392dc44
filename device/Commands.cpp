#include "device/Commands.h"

#include <algorithm>

#include "device/ColourCodec.h"

namespace mouseproto {

namespace {

std::uint8_t Low8(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

// The reply view if the reply is accepted and long enough for its layout.
std::optional<ReportReply> UsableReply(std::span<const std::uint8_t> bytes, std::size_t needed) {
  ReportReply reply(bytes);
  if (!reply.Accepted() || !reply.Has(needed)) {
    return std::nullopt;
  }
  return reply;
}

}  // namespace

// --- Command codes ------------------------------------------------------------

std::size_t CommandFrameLength(std::uint8_t command) {
  switch (command) {
    case kCmdWriteLighting:
    case kCmdWriteLiftOff:
    case kCmdWritePowerOptions:
      return kLongFrameLength;
    default:
      return kFrameLength;
  }
}

bool CommandWaitsForReply(std::uint8_t command) {
  switch (command) {
    case kCmdWriteLighting:
    case kCmdWriteLiftOff:
    case kCmdWritePowerOptions:
    case kCmdWriteMacro:
    case kCmdWriteButtonFunctions:
    case kCmdRestoreFactory:
      return true;
    default:
      return IsReadCommand(command);
  }
}

bool IsReadCommand(std::uint8_t command) {
  return (command >= kCmdReadDiscarded && command <= kCmdReadPowerOptions) ||
         command == kCmdReadDeviceInfo;
}

// --- Report rate ----------------------------------------------------------------

bool IsReportRateCode(int code) { return ReportRateHz(code) != 0; }

int ReportRateHz(int code) {
  switch (code) {
    case 1: return 1000;
    case 2: return 500;
    case 4: return 250;
    case 8: return 125;
    case 16: return 2000;
    case 32: return 4000;
    case 64: return 8000;
    default: return 0;
  }
}

ReportFrame BuildReportRateRequest(int report_rate) {
  ReportFrame frame = ReportFrame::Write(kCmdWriteReportRate, 1);
  frame.SetPayload(0, Low8(report_rate));
  frame.Seal();
  return frame;
}

std::optional<int> DecodeReportRateReply(std::span<const std::uint8_t> bytes) {
  const auto reply = UsableReply(bytes, 5);
  if (!reply || !IsReportRateCode(reply->At(4))) {
    return std::nullopt;
  }
  return reply->At(4);
}

// --- DPI stages -----------------------------------------------------------------

ReportFrame BuildDpiStagesRequest(const DpiStages& stages, const SensorRow& row) {
  ReportFrame frame = ReportFrame::Write(kCmdWriteDpiStages, 38);
  frame.Set(5, 0);
  frame.Set(6, static_cast<std::uint8_t>(((stages.dpi_index & 0x0F) << 4) | (stages.dpi_count & 0x0F)));
  for (int i = 0; i < kDpiStageCount; ++i) {
    const int raw = EncodeDpi(row.sensor_code, ClampDpi(row, stages.dpi_group_value[i]));
    const std::size_t at = 7 + 4 * static_cast<std::size_t>(i);
    for (std::size_t copy = 0; copy < 4; copy += 2) {
      frame.Set(at + copy, Low8(raw));
      frame.Set(at + copy + 1, Low8(raw >> 8));
    }
  }
  frame.Seal();
  return frame;
}

std::optional<DpiStagesReply> DecodeDpiStagesReply(std::span<const std::uint8_t> bytes,
                                                   int sensor_code) {
  const auto reply = UsableReply(bytes, 27);
  if (!reply) {
    return std::nullopt;
  }
  const int count = reply->At(4) & 0x0F;
  const int index = reply->At(4) >> 4;
  if (count < 1 || count > kDpiStageCount || index >= kDpiStageCount) {
    return std::nullopt;
  }
  DpiStagesReply result;
  result.dpi_flag = count;
  result.dpi_count = count;
  result.dpi_index = index;
  for (int i = 0; i < kDpiStageCount; ++i) {
    const std::size_t at = i == 0 ? 7 : 5 + 4 * static_cast<std::size_t>(i);
    const int dpi = DecodeDpi(sensor_code, reply->Word(at));
    if (dpi >= 50) {
      result.dpi_group_value[i] = dpi;
    }
  }
  return result;
}

// --- DPI colours ----------------------------------------------------------------

ReportFrame BuildDpiColoursRequest(const std::array<int, kDpiStageCount>& dpi_group_rgb) {
  ReportFrame frame = ReportFrame::Write(kCmdWriteDpiColours, 18);
  for (int i = 0; i < kDpiStageCount; ++i) {
    PutColour(frame, kPayloadOffset + 3 * static_cast<std::size_t>(i), dpi_group_rgb[i]);
  }
  frame.Seal();
  return frame;
}

std::optional<std::array<int, kDpiStageCount>> DecodeDpiColoursReply(
    std::span<const std::uint8_t> bytes) {
  const auto reply = UsableReply(bytes, 4 + 3 * kDpiStageCount);
  if (!reply) {
    return std::nullopt;
  }
  std::array<int, kDpiStageCount> colours{};
  for (int i = 0; i < kDpiStageCount; ++i) {
    colours[i] = ColourAt(*reply, 4 + 3 * static_cast<std::size_t>(i));
  }
  return colours;
}

// --- Lift-off and sensor options ------------------------------------------------

ReportFrame BuildLiftOffRequest(const LiftOffOptions& options) {
  ReportFrame frame = ReportFrame::Write(kCmdWriteLiftOff, 5, kLongFrameLength);
  frame.Set(5, Low8(options.liftoff_height));
  frame.Set(6, (options.sensor_flag & kSensorFlagBit3) ? 1 : 0);
  frame.Set(7, (options.sensor_flag & kSensorFlagBit2) ? 1 : 0);
  frame.Seal();
  return frame;
}

int LiftOffReply::MergeSensorFlag(int stored_sensor_flag) const {
  int flag = stored_sensor_flag & ~(kSensorFlagBit3 | kSensorFlagBit2);
  if (sensor_bit3) flag |= kSensorFlagBit3;
  if (sensor_bit2) flag |= kSensorFlagBit2;
  return flag;
}

std::optional<LiftOffReply> DecodeLiftOffReply(std::span<const std::uint8_t> bytes) {
  const auto reply = UsableReply(bytes, 7);
  if (!reply) {
    return std::nullopt;
  }
  const int code = reply->At(4);
  if (code != 1 && code != 2 && code != 0xFF) {
    return std::nullopt;
  }
  LiftOffReply result;
  result.liftoff_height = code == 0xFF ? 1 : code;
  result.sensor_bit3 = reply->At(5) == 1;
  result.sensor_bit2 = reply->At(6) == 1;
  return result;
}

// --- Power options --------------------------------------------------------------

ReportFrame BuildPowerOptionsRequest(const PowerOptions& options) {
  ReportFrame frame = ReportFrame::Write(kCmdWritePowerOptions, 4, kLongFrameLength);
  frame.Set(5, Low8(options.sleep_light));
  frame.Set(6, Low8(options.move_wakeup));
  frame.Set(7, Low8(options.move_closelight));
  frame.Set(8, Low8(options.button_respondtime));
  frame.Seal();
  return frame;
}

std::optional<PowerOptionsReply> DecodePowerOptionsReply(std::span<const std::uint8_t> bytes) {
  const auto reply = UsableReply(bytes, 8);
  if (!reply) {
    return std::nullopt;
  }
  PowerOptionsReply result;
  result.sleep_light = reply->At(4);
  result.move_closelight = reply->At(6);
  result.button_respondtime = reply->At(7);
  return result;
}

// --- Factory restore and plain reads --------------------------------------------

ReportFrame BuildFactoryRestoreRequest() {
  ReportFrame frame = ReportFrame::Write(kCmdRestoreFactory, 1);
  frame.SetPayload(0, 0xFF);
  frame.Seal();
  return frame;
}

ReportFrame BuildReadRequest(std::uint8_t command) { return ReportFrame::Read(command); }

bool IsAcceptedReply(std::span<const std::uint8_t> reply) { return ReportReply(reply).Accepted(); }

// --- Device information ---------------------------------------------------------

int DeviceInfo::ReportRateChoices() const {
  switch (max_rate) {
    case 0x10: return 5;
    case 0x20: return 6;
    case 0x40: return 7;
    default: return 4;
  }
}

std::optional<DeviceInfo> DecodeDeviceInfo(std::span<const std::uint8_t> bytes) {
  const auto reply = UsableReply(bytes, 15);
  if (!reply) {
    return std::nullopt;
  }
  DeviceInfo info;
  for (std::size_t i = 4; i < 8; ++i) {
    info.device_id.push_back(static_cast<char>(reply->At(i)));
  }
  info.sensor_code = reply->At(10);
  info.max_rate = reply->At(11);
  info.charge_state = reply->At(12);
  info.battery_level = std::min<int>(reply->At(13), 100);
  info.link = reply->At(14);
  return info;
}

}  // namespace mouseproto
