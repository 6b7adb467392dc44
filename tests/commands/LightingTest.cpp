// The lighting request per mode.

#include <gtest/gtest.h>

#include "ByteTable.h"
#include "device/Lighting.h"

using namespace mouseproto;
using bytetable::Hex;

namespace {

LightParams Light(int mode) {
  LightParams light;
  light.mode = mode;
  light.brightness = 9;
  light.speed = 3;
  light.color_value = {0x0000FF, 0x00FF00, 0xFF0000, 0x010203, 0x040506, 0x070809, 0x0A0B0C};
  return light;
}

// The expected 65-byte frame from its head, with the checksum filled in.
std::vector<std::uint8_t> Expected(std::initializer_list<std::uint8_t> head) {
  auto frame = bytetable::Padded(head, 65);
  std::uint8_t sum = 0;
  for (std::size_t i = 5; i < 32; ++i) sum = static_cast<std::uint8_t>(sum + frame[i]);
  frame[32] = sum;
  return frame;
}

}  // namespace

TEST(Lighting, LayoutPerMode) {
  struct Case {
    int mode;
    std::vector<std::uint8_t> frame;
  };
  const Case cases[] = {
      {0, Expected({0x00, 0x05, 0x00, 0x01, /*stated*/ 2, /*mode*/ 0, /*(9 << 4) | 3*/ 0x93})},
      {4, Expected({0x00, 0x05, 0x00, 0x01, 2, 4, 0x93})},
      {5, Expected({0x00, 0x05, 0x00, 0x01, 2, 5, 0x93})},
      {9, Expected({0x00, 0x05, 0x00, 0x01, 2, 9, 0x93})},
      {1, Expected({0x00, 0x05, 0x00, 0x01, 3, 1, 0x93, /*byte 7*/ 0x00})},
      {2, Expected({0x00, 0x05, 0x00, 0x01, 24, 2, 0x93,
                    7,                 // byte 7: seven colours follow
                    0xFF, 0x00, 0x00,  // colour 1 (stored 0x0000FF)
                    0x00, 0xFF, 0x00,  // colour 2
                    0x00, 0x00, 0xFF,  // colour 3
                    0x03, 0x02, 0x01,  // colour 4
                    0x06, 0x05, 0x04,  // colour 5
                    0x09, 0x08, 0x07,  // colour 6
                    0x0C, 0x0B, 0x0A})},  // colour 7, bytes 26..28
      {3, Expected({0x00, 0x05, 0x00, 0x01, 5, 3, 0x93,
                    0xFF, 0x00, 0x00})},  // the first colour only
      {6, Expected({0x00, 0x05, 0x00, 0x01, 23, 6, 0x93,
                    0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x03, 0x02, 0x01,
                    0x06, 0x05, 0x04, 0x09, 0x08, 0x07,
                    0x0C, 0x0B, 0x0A})},  // colour 7, bytes 25..27
      // A mode without a layout: nothing but the header.
      {7, Expected({0x00, 0x05, 0x00, 0x01, 0})},
      {8, Expected({0x00, 0x05, 0x00, 0x01, 0})},
      {-1, Expected({0x00, 0x05, 0x00, 0x01, 0})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(BuildLightingRequest(Light(c.mode)).Bytes()), Hex(c.frame)) << "mode " << c.mode;
  }
}

TEST(Lighting, BrightnessAndSpeedKeepToFourBits) {
  LightParams light = Light(0);
  light.brightness = 0x1F;
  light.speed = 0x12;
  EXPECT_EQ(BuildLightingRequest(light)[6], 0xF2);
}
