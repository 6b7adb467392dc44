// The output report length read from a report descriptor, which comes from
// the device and so is read defensively.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "device/ReportDescriptor.h"

using mouseproto::OutputReportLength;

namespace {

// A keyboard in boot layout: an 8-byte input report and a 1-byte output
// report (five LED bits and three bits of padding), no report ids.
const std::vector<std::uint8_t> kKeyboard = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x06,        // Usage (Keyboard)
    0xA1, 0x01,        // Collection (Application)
    0x05, 0x07,        //   Usage Page (Keyboard)
    0x19, 0xE0,        //   Usage Minimum (224)
    0x29, 0xE7,        //   Usage Maximum (231)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x81, 0x02,        //   Input (Data, Var, Abs): modifiers
    0x95, 0x01,        //   Report Count (1)
    0x75, 0x08,        //   Report Size (8)
    0x81, 0x01,        //   Input (Const): reserved byte
    0x95, 0x05,        //   Report Count (5)
    0x75, 0x01,        //   Report Size (1)
    0x05, 0x08,        //   Usage Page (LEDs)
    0x19, 0x01,        //   Usage Minimum (1)
    0x29, 0x05,        //   Usage Maximum (5)
    0x91, 0x02,        //   Output (Data, Var, Abs): LEDs
    0x95, 0x01,        //   Report Count (1)
    0x75, 0x03,        //   Report Size (3)
    0x91, 0x01,        //   Output (Const): padding
    0x95, 0x06,        //   Report Count (6)
    0x75, 0x08,        //   Report Size (8)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x65,        //   Logical Maximum (101)
    0x05, 0x07,        //   Usage Page (Keyboard)
    0x19, 0x00,        //   Usage Minimum (0)
    0x29, 0x65,        //   Usage Maximum (101)
    0x81, 0x00,        //   Input (Data, Array): keys
    0xC0,              // End Collection
};

// A vendor interface with report ids: input report 1 (7 bytes), output
// reports 2 (16 bytes) and 3 (63 bytes).
const std::vector<std::uint8_t> kVendorWithIds = {
    0x06, 0x00, 0xFF,  // Usage Page (0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x85, 0x01,        //   Report ID (1)
    0x95, 0x07,        //   Report Count (7)
    0x09, 0x01,        //   Usage (1)
    0x81, 0x02,        //   Input
    0x85, 0x02,        //   Report ID (2)
    0x95, 0x10,        //   Report Count (16)
    0x09, 0x02,        //   Usage (2)
    0x91, 0x02,        //   Output
    0x85, 0x03,        //   Report ID (3)
    0x95, 0x3F,        //   Report Count (63)
    0x09, 0x03,        //   Usage (3)
    0x91, 0x02,        //   Output
    0xC0,              // End Collection
};

// The mice's vendor interface: 64-byte input and output reports, no ids.
const std::vector<std::uint8_t> kVendor = {
    0x06, 0x01, 0xFF,  // Usage Page (0xFF01)
    0x09, 0x10,        // Usage (0x10)
    0xA1, 0x01,        // Collection (Application)
    0x75, 0x08,        //   Report Size (8)
    0x96, 0x40, 0x00,  //   Report Count (64), two data bytes
    0x09, 0x01,        //   Usage (1)
    0x81, 0x02,        //   Input
    0x09, 0x02,        //   Usage (2)
    0x91, 0x02,        //   Output
    0xC0,              // End Collection
};

// A pointer in boot layout: three buttons, x and y; input only.
const std::vector<std::uint8_t> kPointer = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00,  // Mouse, Pointer
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01,  // buttons 1-3
    0x95, 0x03, 0x75, 0x01, 0x81, 0x02,                          // 3 bits input
    0x95, 0x01, 0x75, 0x05, 0x81, 0x01,                          // 5 bits padding
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F,  // x, y
    0x75, 0x08, 0x95, 0x02, 0x81, 0x06,                          // 2 bytes input
    0xC0, 0xC0,
};

std::vector<std::uint8_t> Cut(const std::vector<std::uint8_t>& bytes, std::size_t length) {
  return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)};
}

std::vector<std::uint8_t> Join(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(ReportDescriptor, OutputReportLengthWithTheReportIdByte) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> descriptor;
    std::size_t length;
  };
  const Case cases[] = {
      {"keyboard without report ids: 5 + 3 bits", kKeyboard, 2},
      {"report ids: the longest output report counts", kVendorWithIds, 64},
      {"the mice's vendor interface", kVendor, 65},
      {"input only", kPointer, 0},
      {"empty", {}, 0},
      // Cut inside the two data bytes of Report Count: no output item is
      // complete, and the walk never reads past the end.
      {"truncated before the output item", Cut(kVendor, 11), 0},
      // Cut inside the third output item: the complete ones still count.
      {"truncated after an output item", Cut(kVendorWithIds, 37), 17},
      {"prefix of a 4-byte item at the very end", {0x75, 0x08, 0x95, 0x04, 0x91, 0x02, 0x97}, 5},
      // A long item (0xFE, size, tag, data) is skipped by its size; one
      // whose size runs past the end ends the walk.
      {"long item skipped", Join({0xFE, 0x02, 0x10, 0x91, 0x02}, kVendor), 65},
      {"long item past the end", {0x75, 0x08, 0x95, 0x04, 0x91, 0x02, 0xFE, 0x40, 0x10}, 5},
      // Push and Pop keep the global state; an unmatched Pop is malformed.
      {"push and pop", {0x75, 0x08, 0x95, 0x04, 0xA4, 0x95, 0x10, 0xB4, 0x91, 0x02}, 5},
      {"pop without push", {0xB4, 0x75, 0x08, 0x95, 0x04, 0x91, 0x02}, 0},
      // Reports beyond the kernel's 4096-byte buffer are not believed.
      {"absurd report count", {0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x91, 0x02}, 0},
      {"largest believable report", {0x75, 0x08, 0x96, 0xFF, 0x0F, 0x91, 0x02}, 4096},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OutputReportLength(c.descriptor), c.length) << c.what;
  }
}

TEST(ReportDescriptor, TooManyPushesAreMalformed) {
  std::vector<std::uint8_t> deep = {0x75, 0x08, 0x95, 0x04};
  for (int i = 0; i < 17; ++i) deep.push_back(0xA4);
  deep.insert(deep.end(), {0x91, 0x02});
  EXPECT_EQ(OutputReportLength(deep), 0u);
  deep.erase(deep.begin() + 4);  // 16 pushes fit
  EXPECT_EQ(OutputReportLength(deep), 5u);
}

}  // namespace
