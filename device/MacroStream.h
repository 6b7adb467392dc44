#pragma once
// The macro stream and its packets (command 0x08).
//
// Stream: byte 0 = key_code of the button that plays the macro, then one
// 4-byte event per key or button record:
//   0     event code (below)
//   1, 2  delay after this event in ms, little-endian
//   3     keyboard usage, modifier bits or mouse button mask
//
// Records (type, value) become events:
//   1 delay             adds value to the pending delay, no event
//   2 key down          0x30 + usage; a modifier key 0x20 + its modifier bit
//   3 key up            0xB0 + usage; a modifier key 0xA0 + its modifier bit
//   4 button down       0x10 + low byte of the mask
//   5 button up         0x90 + low byte of the mask
//   other               no event
// Delays: an event is written with delay 1; when the next event comes, the
// previous event's delay becomes the pending delay (1 when nothing is
// pending). A delay still pending at the end (trailing delay records, or
// delays before a lone event) goes into the last event. Delays before the
// first event thus end up in the first event's delay. Sums are capped at
// 65535 ms instead of wrapping.
//
// Packets: a stream of at most 25 bytes (6 events) is one request with packet
// field 0x01 and stated length = stream length. A longer one is cut into
// 27-byte pieces; packet i of n has packet field (i << 4) | n and states its
// piece's length. Four bits each limit a macro to 15 packets (101 events).

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/ReportFrame.h"

namespace mouseproto {

inline constexpr std::uint8_t kMacroButtonDown = 0x10;
inline constexpr std::uint8_t kMacroModifierDown = 0x20;
inline constexpr std::uint8_t kMacroKeyDown = 0x30;
inline constexpr std::uint8_t kMacroButtonUp = 0x90;
inline constexpr std::uint8_t kMacroModifierUp = 0xA0;
inline constexpr std::uint8_t kMacroKeyUp = 0xB0;

inline constexpr int kMacroEventDelay = 1;
inline constexpr int kMacroEventTypeDelay = 1;
inline constexpr int kMacroEventTypeKeyDown = 2;
inline constexpr int kMacroEventTypeKeyUp = 3;
inline constexpr int kMacroEventTypeButtonDown = 4;
inline constexpr int kMacroEventTypeButtonUp = 5;

inline constexpr std::size_t kMaxMacroPackets = 15;
inline constexpr std::size_t kMaxMacroStreamLength = kMaxMacroPackets * kPayloadCapacity;
inline constexpr std::size_t kMaxMacroEvents = (kMaxMacroStreamLength - 1) / 4;
inline constexpr std::size_t kSinglePacketStreamLimit = 25;

// The fields of a recorded macro event (t_macrorecord) the stream uses.
struct MacroEventRecord {
  int type = 0;          // 1 delay, 2/3 key down/up, 4/5 button down/up
  int value = 0;         // ms for delays, virtual key or button mask
  int record_index = 0;  // position in the macro; the stream follows it
};

struct MacroWireEvent {
  std::uint8_t code = 0;
  int delay = kMacroEventDelay;  // 0..65535
  std::uint8_t data = 0;

  bool operator==(const MacroWireEvent&) const = default;
};

// The events the records produce, in record_index order (stable for equal
// indexes).
std::vector<MacroWireEvent> BuildMacroEvents(std::span<const MacroEventRecord> records);

// The whole stream: key code byte, then the events.
std::vector<std::uint8_t> BuildMacroStream(int key_code, std::span<const MacroEventRecord> records);

// The requests that carry a stream, in sending order. Empty when the stream
// is empty or too long for 15 packets; such a macro cannot be sent.
std::vector<ReportFrame> BuildMacroRequests(std::span<const std::uint8_t> stream);

// A stream taken apart again (the simulated mouse's side). Nothing when the
// stream is empty or its length is not 1 + 4n.
struct ParsedMacro {
  int key_code = 0;
  std::vector<MacroWireEvent> events;
};
std::optional<ParsedMacro> ParseMacroStream(std::span<const std::uint8_t> stream);

}  // namespace mouseproto
