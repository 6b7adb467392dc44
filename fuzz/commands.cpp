// Feeds arbitrary bytes to every reply decoder (replies come from outside
// the program) and, cut into frames, to the simulated mouse's responder.
// Neither may read out of bounds; the responder must keep its state valid.

#include <cstddef>
#include <cstdint>
#include <span>

#include "device/Commands.h"
#include "device/Lighting.h"
#include "device/MacroStream.h"
#include "device/simulator/CommandResponder.h"

using namespace mouseproto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const int sensor = size > 0 ? data[0] : 0;

  (void)DecodeReportRateReply(bytes);
  if (const auto stages = DecodeDpiStagesReply(bytes, sensor)) {
    if (stages->dpi_count < 1 || stages->dpi_count > kDpiStageCount) __builtin_trap();
  }
  (void)DecodeDpiColoursReply(bytes);
  (void)DecodeLightingReply(bytes);
  (void)DecodeLiftOffReply(bytes);
  (void)DecodePowerOptionsReply(bytes);
  if (const auto info = DecodeDeviceInfo(bytes)) {
    if (info->battery_level > 100 || info->device_id.size() != 4) __builtin_trap();
  }
  (void)ParseMacroStream(bytes);

  MouseState mouse = MouseState::WithSensor(sensor);
  for (std::size_t at = 0; at < size; at += kFrameLength) {
    const auto frame = bytes.subspan(at, std::min(kFrameLength, size - at));
    const auto reply = CommandResponder::ApplyRequest(mouse, frame);
    if (reply && reply->size() != kReplyLength) __builtin_trap();
    if (mouse.settings.dpi_count < 1 || mouse.settings.dpi_count > kDpiStageCount) __builtin_trap();
  }
  return 0;
}
