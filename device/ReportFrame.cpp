#include "device/ReportFrame.h"

namespace mouseproto {

std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame) {
  unsigned sum = 0;
  for (std::size_t i = kPayloadOffset; i < kChecksumOffset && i < frame.size(); ++i) {
    sum += frame[i];
  }
  return static_cast<std::uint8_t>(sum & 0xFF);
}

bool StoreFrameChecksum(std::span<std::uint8_t> frame) {
  if (frame.size() <= kChecksumOffset) {
    return false;
  }
  frame[kChecksumOffset] = FrameChecksum(frame);
  return true;
}

bool HasValidChecksum(std::span<const std::uint8_t> frame) {
  return frame.size() > kChecksumOffset && frame[kChecksumOffset] == FrameChecksum(frame);
}

ReportFrame::ReportFrame(std::uint8_t command, std::size_t length)
    : length_(length == kLongFrameLength ? kLongFrameLength : kFrameLength) {
  bytes_[1] = command;
}

ReportFrame ReportFrame::Write(std::uint8_t command, std::uint8_t stated_length,
                               std::size_t length, std::uint8_t packet_field) {
  ReportFrame frame(command, length);
  frame.bytes_[3] = packet_field;
  frame.bytes_[4] = stated_length;
  return frame;
}

ReportFrame ReportFrame::Read(std::uint8_t command) {
  ReportFrame frame(command, kFrameLength);
  frame.Seal();
  return frame;
}

void ReportFrame::Set(std::size_t offset, std::uint8_t value) {
  if (offset < length_) {
    bytes_[offset] = value;
  }
}

void ReportFrame::Seal() { StoreFrameChecksum(MutableBytes()); }

bool ReportReply::Accepted() const {
  if (!Has(2) || bytes_[1] != 0) {
    return false;
  }
  // A notification that happens to carry a zero second byte is still not the
  // answer to a request.
  return bytes_[0] != kLinkNotification && bytes_[0] != kDpiNotification;
}

}  // namespace mouseproto
