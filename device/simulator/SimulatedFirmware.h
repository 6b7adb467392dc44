#pragma once
// SimulatedFirmware: the mouse's side of the report protocol. One request
// frame in, at most one input report out. Commands are rows of one table, so
// that a command is added by writing its handler and its row.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/simulator/SimMouseState.h"

struct SimRequest {
  uint8_t command = 0;
  uint8_t packet = 0;   // (index << 4) | count
  uint8_t length = 0;   // stated payload length
  const uint8_t* payload = nullptr;  // frame bytes 5 and up
  size_t payload_size = 0;
};

// An input report as the host reads it (no report id): byte 0 echoes the
// command, byte 1 is the status, payload from byte 4.
struct SimReply {
  static constexpr size_t kLength = 64;
  uint8_t bytes[kLength] = {};
  uint8_t& Status() { return bytes[1]; }
  uint8_t& At(size_t offset) { return bytes[offset]; }
};

class SimulatedFirmware {
 public:
  static constexpr uint8_t kStatusOk = 0x00;
  static constexpr uint8_t kStatusUnknownCommand = 0x01;
  static constexpr uint8_t kStatusBadChecksum = 0x02;

  // Handles one request frame (report id at byte 0, at least 33 bytes).
  // linked says whether the host reaches the mouse itself; through a
  // receiver whose mouse is off the request goes unanswered. Returns false
  // when nothing is sent back.
  static bool Handle(SimMouseState& mouse, bool linked, const uint8_t* frame, size_t length, SimReply& reply);

  // The link report a receiver sends when its mouse comes or goes.
  static SimReply LinkReport(const SimMouseState& mouse, bool linked);
};
