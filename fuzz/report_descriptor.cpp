// Feeds arbitrary bytes to the report descriptor reader (descriptors come
// from the device). It may not read out of bounds, and a length it gives
// must be one a write can carry.

#include <cstddef>
#include <cstdint>
#include <span>

#include "device/ReportDescriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t length = mouseproto::OutputReportLength(std::span<const std::uint8_t>(data, size));
  if (length == 1 || length > mouseproto::kMaxReportLength) __builtin_trap();
  return 0;
}
