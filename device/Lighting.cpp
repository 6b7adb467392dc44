#include "device/Lighting.h"

#include "device/ColourCodec.h"
#include "device/Commands.h"

namespace mouseproto {

int LightingStatedLength(int mode) {
  switch (mode) {
    case 0:
    case 4:
    case 5:
    case 9:
      return 2;
    case 1:
      return 3;
    case 2:
      return 24;
    case 3:
      return 5;
    case 6:
      return 23;
    default:
      return 0;
  }
}

std::uint8_t PackBrightnessSpeed(int brightness, int speed) {
  return static_cast<std::uint8_t>(((brightness & 0x0F) << 4) | (speed & 0x0F));
}

ReportFrame BuildLightingRequest(const LightParams& light) {
  const int stated = LightingStatedLength(light.mode);
  ReportFrame frame =
      ReportFrame::Write(kCmdWriteLighting, static_cast<std::uint8_t>(stated), kLongFrameLength);
  if (stated != 0) {
    frame.Set(5, static_cast<std::uint8_t>(light.mode));
    frame.Set(6, PackBrightnessSpeed(light.brightness, light.speed));
    switch (light.mode) {
      case 1:
        frame.Set(7, 0);
        break;
      case 2:
        frame.Set(7, kLightColourCount);
        for (std::size_t i = 0; i < kLightColourCount; ++i) {
          PutColour(frame, 8 + 3 * i, light.color_value[i]);
        }
        break;
      case 3:
        PutColour(frame, 7, light.color_value[0]);
        break;
      case 6:
        for (std::size_t i = 0; i < kLightColourCount; ++i) {
          PutColour(frame, 7 + 3 * i, light.color_value[i]);
        }
        break;
      default:
        break;
    }
  }
  frame.Seal();
  return frame;
}

std::optional<LightingReply> DecodeLightingReply(std::span<const std::uint8_t> bytes) {
  ReportReply reply(bytes);
  if (!reply.Accepted() || !reply.Has(6)) {
    return std::nullopt;
  }
  LightingReply result;
  result.mode = reply.At(4);
  result.brightness = reply.At(5) >> 4;
  result.speed = reply.At(5) & 0x0F;
  return result;
}

}  // namespace mouseproto
