#include "device/ColourCodec.h"

namespace mouseproto {

void PutColour(ReportFrame& frame, std::size_t offset, int stored) {
  frame.Set(offset, static_cast<std::uint8_t>(stored & 0xFF));
  frame.Set(offset + 1, static_cast<std::uint8_t>((stored >> 8) & 0xFF));
  frame.Set(offset + 2, static_cast<std::uint8_t>((stored >> 16) & 0xFF));
}

int ColourAt(const ReportReply& reply, std::size_t offset) {
  return reply.At(offset) | (reply.At(offset + 1) << 8) | (reply.At(offset + 2) << 16);
}

void PutColourBytes(std::uint8_t* bytes, int stored) {
  bytes[0] = static_cast<std::uint8_t>(stored & 0xFF);
  bytes[1] = static_cast<std::uint8_t>((stored >> 8) & 0xFF);
  bytes[2] = static_cast<std::uint8_t>((stored >> 16) & 0xFF);
}

}  // namespace mouseproto
