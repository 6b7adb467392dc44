#pragma once
// Reading a HID report descriptor for what the writes need: the length of
// the interface's longest output report. hidraw writes a buffer exactly as
// given, so a request shorter than the report the device expects has to be
// padded by the sender.
//
// The descriptor comes from the device and is treated as outside input: the
// walk is bounded by the buffer, a truncated item ends it, long items are
// skipped by their stated size, and the global-state stack is bounded.

#include <cstddef>
#include <cstdint>
#include <span>

namespace mouseproto {

// Longest report length the descriptor allows, for HID_MAX_BUFFER_SIZE.
inline constexpr std::size_t kMaxReportLength = 4096;

// Bytes of the longest output report, counting the leading report-id byte
// (which a write carries also when the device uses no report ids: it is 0
// then). 0 when the descriptor declares no output report, or declares one
// longer than kMaxReportLength.
std::size_t OutputReportLength(std::span<const std::uint8_t> descriptor);

}  // namespace mouseproto
