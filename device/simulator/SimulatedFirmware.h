#pragma once
// SimulatedFirmware: what the simulated bus sends back for one request on a
// mouse's vendor interface. The commands themselves are CommandResponder's;
// this adds what the path to the mouse changes: through a receiver whose
// mouse is off nothing answers, unless the receiver is one that answers the
// info request itself with a link byte of 0. It also builds the reports the
// mouse sends on its own (link state, DPI change).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/simulator/CommandResponder.h"
#include "device/simulator/MouseState.h"

class SimulatedFirmware {
 public:
  static constexpr uint8_t kStatusOk = mouseproto::kStatusOk;
  static constexpr uint8_t kStatusUnknownCommand = mouseproto::kStatusUnknownCommand;
  static constexpr uint8_t kStatusBadChecksum = mouseproto::kStatusBadFrame;

  // The reply to one request frame (report id at byte 0), or nothing.
  // linked: the host reaches the mouse (a cable, or a receiver whose mouse
  // is on). receiverAnswers: an unlinked receiver still answers 0x30.
  static std::optional<std::vector<uint8_t>> Handle(mouseproto::MouseState& mouse, bool linked,
                                                    bool receiverAnswers, std::span<const uint8_t> request);

  // 0xD1: byte 1 = 1 when linked, byte 2 battery percent, byte 3 charging.
  static std::vector<uint8_t> LinkReport(const mouseproto::MouseState& mouse, bool linked);
  // 0xD2: byte 1 = (selected stage << 4) | stage count.
  static std::vector<uint8_t> DpiReport(const mouseproto::MouseState& mouse);
};
