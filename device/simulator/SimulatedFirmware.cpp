#include "device/simulator/SimulatedFirmware.h"

#include <cstring>

namespace {

// A handler fills the payload of an accepted request's reply; returning
// false rejects the request with kStatusUnknownCommand.
using Handler = bool (*)(SimMouseState& mouse, const SimRequest& request, SimReply& reply);

// Command 0x30: who the mouse is and how it is doing.
bool ReadDeviceInfo(SimMouseState& mouse, const SimRequest&, SimReply& reply) {
  for (size_t i = 0; i < 4; ++i) reply.At(4 + i) = i < mouse.dev_id.size() ? static_cast<uint8_t>(mouse.dev_id[i]) : 0;
  reply.At(10) = mouse.sensor_code;
  reply.At(11) = mouse.max_rate;
  reply.At(12) = mouse.charging ? 1 : 0;
  reply.At(13) = mouse.battery;
  reply.At(14) = 1;  // linked: a reply only comes when the mouse is reached
  return true;
}

// Command 0x11: acknowledged, nothing to report.
bool Acknowledge(SimMouseState&, const SimRequest&, SimReply&) { return true; }

struct CommandRow {
  uint8_t command;
  Handler handler;
};

constexpr CommandRow kCommands[] = {
    {0x11, Acknowledge},
    {0x30, ReadDeviceInfo},
};

uint8_t FrameChecksum(const uint8_t* frame) {
  unsigned sum = 0;
  for (size_t i = 5; i < 32; ++i) sum += frame[i];
  return static_cast<uint8_t>(sum);
}

}  // namespace

bool SimulatedFirmware::Handle(SimMouseState& mouse, bool linked, const uint8_t* frame, size_t length,
                               SimReply& reply) {
  if (!linked || frame == nullptr || length < 33) return false;
  std::memset(reply.bytes, 0, sizeof reply.bytes);
  SimRequest request;
  request.command = frame[1];
  request.packet = frame[3];
  request.length = frame[4];
  request.payload = frame + 5;
  request.payload_size = length - 5;
  reply.At(0) = request.command;
  if (frame[32] != FrameChecksum(frame)) {
    reply.Status() = kStatusBadChecksum;
    return true;
  }
  for (const CommandRow& row : kCommands) {
    if (row.command != request.command) continue;
    reply.Status() = row.handler(mouse, request, reply) ? kStatusOk : kStatusUnknownCommand;
    return true;
  }
  reply.Status() = kStatusUnknownCommand;
  return true;
}

SimReply SimulatedFirmware::LinkReport(const SimMouseState& mouse, bool linked) {
  SimReply report;
  report.At(0) = 0xD1;
  report.At(1) = linked ? 1 : 0;
  report.At(2) = mouse.battery;
  report.At(3) = mouse.charging ? 1 : 0;
  return report;
}
