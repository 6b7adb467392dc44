#include "device/ReportDescriptor.h"

#include <array>
#include <map>

namespace mouseproto {

namespace {

// Item types and tags of the short items that matter here (HID 1.11, 6.2.2).
constexpr std::uint8_t kTypeMain = 0;
constexpr std::uint8_t kTypeGlobal = 1;
constexpr std::uint8_t kTagOutput = 0x9;
constexpr std::uint8_t kTagReportSize = 0x7;
constexpr std::uint8_t kTagReportId = 0x8;
constexpr std::uint8_t kTagReportCount = 0x9;
constexpr std::uint8_t kTagPush = 0xA;
constexpr std::uint8_t kTagPop = 0xB;
constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kMaxPushDepth = 16;

struct Globals {
  std::uint64_t report_size = 0;   // bits per field
  std::uint64_t report_count = 0;  // fields
  std::uint32_t report_id = 0;
};

std::uint32_t ItemData(std::span<const std::uint8_t> data) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data.size(); ++i) value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  return value;
}

}  // namespace

std::size_t OutputReportLength(std::span<const std::uint8_t> descriptor) {
  // Output bits per report id; id 0 stands for "no report ids".
  std::map<std::uint32_t, std::uint64_t> outputBits;
  Globals globals;
  std::array<Globals, kMaxPushDepth> stack{};
  std::size_t depth = 0;
  constexpr std::uint64_t kMaxBits = static_cast<std::uint64_t>(kMaxReportLength) * 8;

  std::size_t at = 0;
  while (at < descriptor.size()) {
    const std::uint8_t prefix = descriptor[at];
    if (prefix == kLongItemPrefix) {
      // Long item: prefix, data size, tag, data. None of them is used.
      if (descriptor.size() - at < 3) break;
      const std::size_t size = descriptor[at + 1];
      if (descriptor.size() - at - 3 < size) break;
      at += 3 + size;
      continue;
    }
    static constexpr std::size_t kDataSizes[4] = {0, 1, 2, 4};
    const std::size_t size = kDataSizes[prefix & 0x3];
    if (descriptor.size() - at - 1 < size) break;  // truncated item
    const std::uint32_t value = ItemData(descriptor.subspan(at + 1, size));
    const std::uint8_t type = (prefix >> 2) & 0x3;
    const std::uint8_t tag = prefix >> 4;
    at += 1 + size;

    if (type == kTypeGlobal) {
      switch (tag) {
        case kTagReportSize: globals.report_size = value; break;
        case kTagReportCount: globals.report_count = value; break;
        case kTagReportId: globals.report_id = value; break;
        case kTagPush:
          if (depth == kMaxPushDepth) return 0;
          stack[depth++] = globals;
          break;
        case kTagPop:
          if (depth == 0) return 0;
          globals = stack[--depth];
          break;
        default: break;
      }
    } else if (type == kTypeMain && tag == kTagOutput) {
      // Both factors fit 32 bits, so their product cannot overflow 64.
      std::uint64_t& bits = outputBits[globals.report_id];
      bits += globals.report_size * globals.report_count;
      if (bits > kMaxBits) return 0;
    }
  }

  std::uint64_t longest = 0;
  for (const auto& [id, bits] : outputBits) {
    if (bits > longest) longest = bits;
  }
  if (longest == 0) return 0;
  const std::uint64_t bytes = 1 + (longest + 7) / 8;
  return bytes > kMaxReportLength ? 0 : static_cast<std::size_t>(bytes);
}

}  // namespace mouseproto
