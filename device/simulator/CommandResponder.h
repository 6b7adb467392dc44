#pragma once
// The firmware side of the command set: applies one request frame to a
// simulated mouse's state and produces the reply the mouse sends.
//
// Replies are 33 bytes as the host reads them (report id already removed):
// byte 0 echoes the command, byte 1 is the status, payload from byte 4.
// The three writes the host sends without waiting (0x02, 0x03, 0x04) get no
// reply at all, so that no stale reply can be taken for the answer to a
// later request. A request that is malformed (short, wrong report id, bad
// checksum, wrong stated length, out-of-order macro packet, invalid value)
// changes nothing; when its command expects a reply, the reply carries a
// non-zero status.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/simulator/MouseState.h"

namespace mouseproto {

inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusBadFrame = 0x01;
inline constexpr std::uint8_t kStatusUnknownCommand = 0x02;
inline constexpr std::uint8_t kStatusBadPacket = 0x03;
inline constexpr std::uint8_t kStatusBadValue = 0x04;

class CommandResponder {
 public:
  // Applies the request to the state; the reply, or nothing for a command
  // answered by silence.
  static std::optional<std::vector<std::uint8_t>> ApplyRequest(
      MouseState& state, std::span<const std::uint8_t> request);

  // The device-information reply (0x30) for the state.
  static std::vector<std::uint8_t> InfoReply(const MouseState& state);
};

}  // namespace mouseproto
