#include "device/MacroStream.h"

#include <algorithm>

#include "device/ButtonCodes.h"
#include "device/Commands.h"

namespace mouseproto {

namespace {

constexpr int kMaxDelay = 0xFFFF;

std::optional<MacroWireEvent> EventFor(const MacroEventRecord& record) {
  MacroWireEvent event;
  switch (record.type) {
    case kMacroEventTypeKeyDown:
    case kMacroEventTypeKeyUp: {
      const bool down = record.type == kMacroEventTypeKeyDown;
      // Only the eight real modifier keys travel as modifier bits; every
      // other key, Apps and the browser keys included, travels as its usage.
      if (IsModifierVirtualKey(record.value)) {
        event.code = down ? kMacroModifierDown : kMacroModifierUp;
        event.data = static_cast<std::uint8_t>(ModifierBit(record.value));
      } else {
        event.code = down ? kMacroKeyDown : kMacroKeyUp;
        event.data = static_cast<std::uint8_t>(KeyUsage(record.value));
      }
      return event;
    }
    case kMacroEventTypeButtonDown:
    case kMacroEventTypeButtonUp:
      event.code = record.type == kMacroEventTypeButtonDown ? kMacroButtonDown : kMacroButtonUp;
      event.data = static_cast<std::uint8_t>(record.value & 0xFF);
      return event;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::vector<MacroWireEvent> BuildMacroEvents(std::span<const MacroEventRecord> records) {
  std::vector<MacroEventRecord> ordered(records.begin(), records.end());
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const MacroEventRecord& a, const MacroEventRecord& b) {
                     return a.record_index < b.record_index;
                   });

  std::vector<MacroWireEvent> events;
  int pending = 0;
  for (const MacroEventRecord& record : ordered) {
    if (record.type == kMacroEventTypeDelay) {
      pending = std::min(kMaxDelay, pending + std::clamp(record.value, 0, kMaxDelay));
      continue;
    }
    const auto event = EventFor(record);
    if (!event) {
      continue;
    }
    if (!events.empty()) {
      events.back().delay = pending != 0 ? pending : kMacroEventDelay;
      pending = 0;
    }
    events.push_back(*event);
  }
  if (!events.empty() && pending != 0) {
    events.back().delay = pending;
  }
  return events;
}

std::vector<std::uint8_t> BuildMacroStream(int key_code, std::span<const MacroEventRecord> records) {
  std::vector<std::uint8_t> stream{static_cast<std::uint8_t>(key_code & 0xFF)};
  for (const MacroWireEvent& event : BuildMacroEvents(records)) {
    stream.push_back(event.code);
    stream.push_back(static_cast<std::uint8_t>(event.delay & 0xFF));
    stream.push_back(static_cast<std::uint8_t>((event.delay >> 8) & 0xFF));
    stream.push_back(event.data);
  }
  return stream;
}

std::vector<ReportFrame> BuildMacroRequests(std::span<const std::uint8_t> stream) {
  std::vector<ReportFrame> frames;
  if (stream.empty() || stream.size() > kMaxMacroStreamLength) {
    return frames;
  }
  if (stream.size() <= kSinglePacketStreamLimit) {
    ReportFrame frame =
        ReportFrame::Write(kCmdWriteMacro, static_cast<std::uint8_t>(stream.size()));
    for (std::size_t i = 0; i < stream.size(); ++i) {
      frame.SetPayload(i, stream[i]);
    }
    frame.Seal();
    frames.push_back(frame);
    return frames;
  }
  const std::size_t count = (stream.size() + kPayloadCapacity - 1) / kPayloadCapacity;
  for (std::size_t index = 0; index < count; ++index) {
    const std::size_t begin = index * kPayloadCapacity;
    const std::size_t length = std::min(kPayloadCapacity, stream.size() - begin);
    ReportFrame frame =
        ReportFrame::Write(kCmdWriteMacro, static_cast<std::uint8_t>(length), kFrameLength,
                           static_cast<std::uint8_t>((index << 4) | count));
    for (std::size_t i = 0; i < length; ++i) {
      frame.SetPayload(i, stream[begin + i]);
    }
    frame.Seal();
    frames.push_back(frame);
  }
  return frames;
}

std::optional<ParsedMacro> ParseMacroStream(std::span<const std::uint8_t> stream) {
  if (stream.empty() || (stream.size() - 1) % 4 != 0) {
    return std::nullopt;
  }
  ParsedMacro macro;
  macro.key_code = stream[0];
  for (std::size_t at = 1; at < stream.size(); at += 4) {
    MacroWireEvent event;
    event.code = stream[at];
    event.delay = stream[at + 1] | (stream[at + 2] << 8);
    event.data = stream[at + 3];
    macro.events.push_back(event);
  }
  return macro;
}

}  // namespace mouseproto
