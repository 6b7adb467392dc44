#pragma once
// The lighting request (0x05, a 65-byte frame) and the lighting reply (0x15).
//
// Request: byte 5 = light mode, byte 6 = (brightness << 4) | speed, then per
// mode:
//   0, 4, 5, 9  stated length 2, nothing more
//   1           stated length 3, byte 7 = 0
//   2           stated length 24, byte 7 = 7, the seven colours in bytes 8..28
//   3           stated length 5, the first colour in bytes 7..9
//   6           stated length 23, the seven colours in bytes 7..27
//   other       stated length 0 and an empty payload
// Reply: byte 4 = light mode, byte 5 = (brightness << 4) | speed.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "device/ReportFrame.h"

namespace mouseproto {

inline constexpr int kLightColourCount = 7;

// The fields of a light record that travel to the mouse.
struct LightParams {
  int mode = 0;
  int brightness = 0;  // 0..15 on the wire
  int speed = 0;       // 0..15 on the wire
  std::array<int, kLightColourCount> color_value{};  // color_value1..7, stored colours
};

// Stated length of the lighting request for a mode; 0 for a mode without a
// layout.
int LightingStatedLength(int mode);

ReportFrame BuildLightingRequest(const LightParams& light);

struct LightingReply {
  int mode = 0;
  int brightness = 0;
  int speed = 0;
};
std::optional<LightingReply> DecodeLightingReply(std::span<const std::uint8_t> reply);

// Brightness and speed share one byte, four bits each; larger values are cut
// to their low four bits rather than spilling into the other field.
std::uint8_t PackBrightnessSpeed(int brightness, int speed);

}  // namespace mouseproto
