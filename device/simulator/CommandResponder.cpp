#include "device/simulator/CommandResponder.h"

#include "device/ColourCodec.h"
#include "device/Commands.h"

// Index
//   request access and reply shape
//   writes: 0x02 0x03 0x04 0x05 0x06 0x07 0x08 0x09 0x0F
//   reads:  0x11 0x12 0x13 0x14 0x15 0x16 0x17 0x30
//   ApplyRequest (validation and dispatch)

namespace mouseproto {

namespace {

using Reply = std::vector<std::uint8_t>;

// Bounds-safe access to a request frame (bytes past the end read as 0).
class Request {
 public:
  explicit Request(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t At(std::size_t offset) const {
    return offset < bytes_.size() ? bytes_[offset] : 0;
  }
  int Word(std::size_t offset) const { return At(offset) | (At(offset + 1) << 8); }
  int Colour(std::size_t offset) const {
    return At(offset) | (At(offset + 1) << 8) | (At(offset + 2) << 16);
  }
  std::uint8_t Command() const { return At(1); }
  std::uint8_t PacketField() const { return At(3); }
  std::uint8_t Stated() const { return At(4); }
  bool IsSingleWrite(std::uint8_t stated) const {
    return PacketField() == kSingleWritePacket && Stated() == stated;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

Reply MakeReply(std::uint8_t command, std::uint8_t status) {
  Reply reply(kReplyLength, 0);
  reply[0] = command;
  reply[1] = status;
  return reply;
}

// --- Writes -------------------------------------------------------------------

std::uint8_t WriteReportRate(MouseState& state, const Request& request) {
  if (!request.IsSingleWrite(1) || !IsReportRateCode(request.At(5))) {
    return kStatusBadValue;
  }
  state.settings.report_rate = request.At(5);
  return kStatusOk;
}

std::uint8_t WriteDpiStages(MouseState& state, const Request& request) {
  const int count = request.At(6) & 0x0F;
  const int index = request.At(6) >> 4;
  if (!request.IsSingleWrite(38) || count < 1 || count > kDpiStageCount ||
      index >= kDpiStageCount) {
    return kStatusBadValue;
  }
  MouseSettings& settings = state.settings;
  settings.dpi_index = index;
  settings.dpi_count = count;
  for (std::size_t i = 0; i < settings.dpi_raw.size(); ++i) {
    settings.dpi_raw[i] = request.Word(7 + 4 * i);
  }
  return kStatusOk;
}

std::uint8_t WriteDpiColours(MouseState& state, const Request& request) {
  if (!request.IsSingleWrite(18)) {
    return kStatusBadValue;
  }
  for (std::size_t i = 0; i < state.settings.dpi_rgb.size(); ++i) {
    state.settings.dpi_rgb[i] = request.Colour(kPayloadOffset + 3 * i);
  }
  return kStatusOk;
}

std::uint8_t WriteLighting(MouseState& state, const Request& request) {
  if (request.PacketField() != kSingleWritePacket) {
    return kStatusBadFrame;
  }
  // A request stating no payload carries no mode: accepted, nothing changes.
  if (request.Stated() == 0) {
    return kStatusOk;
  }
  const int mode = request.At(5);
  if (LightingStatedLength(mode) != request.Stated()) {
    return kStatusBadValue;
  }
  MouseLighting& light = state.settings.lighting;
  light.mode = mode;
  light.brightness = request.At(6) >> 4;
  light.speed = request.At(6) & 0x0F;
  switch (mode) {
    case 2:
      if (request.At(7) != kLightColourCount) {
        return kStatusBadValue;
      }
      for (std::size_t i = 0; i < kLightColourCount; ++i) {
        light.colours[i] = request.Colour(8 + 3 * i);
      }
      break;
    case 3:
      light.colours[0] = request.Colour(7);
      break;
    case 6:
      for (std::size_t i = 0; i < kLightColourCount; ++i) {
        light.colours[i] = request.Colour(7 + 3 * i);
      }
      break;
    default:
      break;
  }
  return kStatusOk;
}

std::uint8_t WriteLiftOff(MouseState& state, const Request& request) {
  const int code = request.At(5);
  if (!request.IsSingleWrite(5) || (code != 1 && code != 2)) {
    return kStatusBadValue;
  }
  state.settings.liftoff_height = code;
  state.settings.sensor_bit3 = request.At(6) == 1;
  state.settings.sensor_bit2 = request.At(7) == 1;
  return kStatusOk;
}

std::uint8_t WritePowerOptions(MouseState& state, const Request& request) {
  if (!request.IsSingleWrite(4)) {
    return kStatusBadValue;
  }
  state.settings.sleep_light = request.At(5);
  state.settings.move_wakeup = request.At(6);
  state.settings.move_closelight = request.At(7);
  state.settings.button_respondtime = request.At(8);
  return kStatusOk;
}

std::uint8_t WriteMacroPacket(MouseState& state, const Request& request) {
  MacroAssembly& assembly = state.assembly;
  const int count = request.PacketField() & 0x0F;
  const int index = request.PacketField() >> 4;
  const int length = request.Stated();
  const bool last = index == count - 1;
  const bool fits = length >= 1 && length <= static_cast<int>(kPayloadCapacity) &&
                    (last || length == static_cast<int>(kPayloadCapacity));
  if (count == 0 || index >= count || !fits) {
    assembly = MacroAssembly{};
    return kStatusBadPacket;
  }
  if (index == 0) {
    assembly = MacroAssembly{true, count, 0, {}};
  } else if (!assembly.active || assembly.count != count || assembly.next_index != index) {
    assembly = MacroAssembly{};
    return kStatusBadPacket;
  }
  for (int i = 0; i < length; ++i) {
    assembly.bytes.push_back(request.At(kPayloadOffset + static_cast<std::size_t>(i)));
  }
  assembly.next_index = index + 1;
  if (!last) {
    return kStatusOk;
  }
  const auto macro = ParseMacroStream(assembly.bytes);
  assembly = MacroAssembly{};
  if (!macro || !KeySlotTable::HasSlot(macro->key_code)) {
    return kStatusBadPacket;
  }
  state.settings.macros[macro->key_code] = macro->events;
  return kStatusOk;
}

std::uint8_t WriteButtonFunctions(MouseState& state, const Request& request) {
  if (!request.IsSingleWrite(kKeySlotStatedLength)) {
    return kStatusBadValue;
  }
  // Only the slots that fit in the 27 payload bytes arrive.
  for (int slot = 0; slot < kTravellingKeySlots; ++slot) {
    const std::size_t at = kPayloadOffset + 3 * static_cast<std::size_t>(slot);
    state.settings.key_slots.SetSlot(slot, {request.At(at), request.At(at + 1), request.At(at + 2)});
  }
  return kStatusOk;
}

std::uint8_t RestoreFactory(MouseState& state, const Request& request) {
  if (!request.IsSingleWrite(1) || request.At(5) != 0xFF) {
    return kStatusBadValue;
  }
  state.settings = state.factory;
  state.assembly = MacroAssembly{};
  return kStatusOk;
}

// --- Reads --------------------------------------------------------------------

void ReadDpiStages(const MouseState& state, Reply& reply) {
  const MouseSettings& settings = state.settings;
  reply[4] = static_cast<std::uint8_t>((settings.dpi_index << 4) | settings.dpi_count);
  // Each stage in two copies, as the mouse keeps it: bytes 5+4i and 7+4i.
  for (std::size_t i = 0; i < settings.dpi_raw.size(); ++i) {
    for (std::size_t copy = 0; copy < 4; copy += 2) {
      reply[5 + 4 * i + copy] = static_cast<std::uint8_t>(settings.dpi_raw[i] & 0xFF);
      reply[6 + 4 * i + copy] = static_cast<std::uint8_t>((settings.dpi_raw[i] >> 8) & 0xFF);
    }
  }
}

void ReadDpiColours(const MouseState& state, Reply& reply) {
  for (std::size_t i = 0; i < state.settings.dpi_rgb.size(); ++i) {
    PutColourBytes(reply.data() + 4 + 3 * i, state.settings.dpi_rgb[i]);
  }
}

void ReadLighting(const MouseState& state, Reply& reply) {
  const MouseLighting& light = state.settings.lighting;
  reply[4] = static_cast<std::uint8_t>(light.mode);
  reply[5] = PackBrightnessSpeed(light.brightness, light.speed);
}

void ReadLiftOff(const MouseState& state, Reply& reply) {
  reply[4] = static_cast<std::uint8_t>(state.settings.liftoff_height);
  reply[5] = state.settings.sensor_bit3 ? 1 : 0;
  reply[6] = state.settings.sensor_bit2 ? 1 : 0;
}

void ReadPowerOptions(const MouseState& state, Reply& reply) {
  reply[4] = static_cast<std::uint8_t>(state.settings.sleep_light);
  reply[5] = static_cast<std::uint8_t>(state.settings.move_wakeup);
  reply[6] = static_cast<std::uint8_t>(state.settings.move_closelight);
  reply[7] = static_cast<std::uint8_t>(state.settings.button_respondtime);
}

}  // namespace

// --- ApplyRequest -------------------------------------------------------------

std::vector<std::uint8_t> CommandResponder::InfoReply(const MouseState& state) {
  Reply reply = MakeReply(kCmdReadDeviceInfo, kStatusOk);
  const MouseIdentity& id = state.identity;
  for (std::size_t i = 0; i < 4; ++i) {
    reply[4 + i] = i < id.device_id.size() ? static_cast<std::uint8_t>(id.device_id[i]) : 0;
  }
  reply[10] = static_cast<std::uint8_t>(id.sensor_code);
  reply[11] = static_cast<std::uint8_t>(id.max_rate);
  reply[12] = static_cast<std::uint8_t>(id.charge_state);
  reply[13] = static_cast<std::uint8_t>(id.battery_level);
  reply[14] = static_cast<std::uint8_t>(id.link);
  return reply;
}

std::optional<std::vector<std::uint8_t>> CommandResponder::ApplyRequest(
    MouseState& state, std::span<const std::uint8_t> bytes) {
  const Request request(bytes);
  const std::uint8_t command = request.Command();
  const bool silent = command == kCmdWriteReportRate || command == kCmdWriteDpiStages ||
                      command == kCmdWriteDpiColours;
  const bool well_formed =
      bytes.size() >= kFrameLength && request.At(0) == 0 && request.At(2) == 0 && HasValidChecksum(bytes);
  if (!well_formed) {
    if (silent) return std::nullopt;
    return MakeReply(command, kStatusBadFrame);
  }

  Reply reply = MakeReply(command, kStatusOk);
  switch (command) {
    case kCmdWriteReportRate:
      WriteReportRate(state, request);
      return std::nullopt;
    case kCmdWriteDpiStages:
      WriteDpiStages(state, request);
      return std::nullopt;
    case kCmdWriteDpiColours:
      WriteDpiColours(state, request);
      return std::nullopt;
    case kCmdWriteLighting:
      reply[1] = WriteLighting(state, request);
      return reply;
    case kCmdWriteLiftOff:
      reply[1] = WriteLiftOff(state, request);
      return reply;
    case kCmdWritePowerOptions:
      reply[1] = WritePowerOptions(state, request);
      return reply;
    case kCmdWriteMacro:
      reply[1] = WriteMacroPacket(state, request);
      return reply;
    case kCmdWriteButtonFunctions:
      reply[1] = WriteButtonFunctions(state, request);
      return reply;
    case kCmdRestoreFactory:
      reply[1] = RestoreFactory(state, request);
      return reply;
    case kCmdReadDiscarded:
      return reply;
    case kCmdReadReportRate:
      reply[4] = static_cast<std::uint8_t>(state.settings.report_rate);
      return reply;
    case kCmdReadDpiStages:
      ReadDpiStages(state, reply);
      return reply;
    case kCmdReadDpiColours:
      ReadDpiColours(state, reply);
      return reply;
    case kCmdReadLighting:
      ReadLighting(state, reply);
      return reply;
    case kCmdReadLiftOff:
      ReadLiftOff(state, reply);
      return reply;
    case kCmdReadPowerOptions:
      ReadPowerOptions(state, reply);
      return reply;
    case kCmdReadDeviceInfo:
      return InfoReply(state);
    default:
      return MakeReply(command, kStatusUnknownCommand);
  }
}

}  // namespace mouseproto
