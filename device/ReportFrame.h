#pragma once
// The output report frame every request travels in, its checksum, and a
// bounds-checked view of a reply.
//
// Request layout (33 bytes, or 65 for the few commands that need it; the
// extra bytes 33..64 stay zero):
//   0      report id, always 0
//   1      command code
//   2      0
//   3      packet field: 0 for reads, (index << 4) | count for writes
//   4      stated payload length (0 for reads)
//   5..31  payload, at most 27 bytes, unused bytes 0
//   32     checksum: low 8 bits of the sum of bytes 5..31
//
// Reply layout (the report id is already stripped by the HID layer):
//   0      first data byte (the command echo; 0xD1/0xD2 mark notifications)
//   1      status, 0 = accepted
//   4..    payload
//
// FrameChecksum/StoreFrameChecksum are the one checksum implementation; a
// sender (SendReport) can call StoreFrameChecksum on its buffer right before
// writing it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace mouseproto {

inline constexpr std::size_t kFrameLength = 33;
inline constexpr std::size_t kLongFrameLength = 65;
inline constexpr std::size_t kPayloadOffset = 5;
inline constexpr std::size_t kPayloadCapacity = 27;
inline constexpr std::size_t kChecksumOffset = 32;
inline constexpr std::size_t kReplyLength = 33;
inline constexpr std::size_t kReplyPayloadOffset = 4;
inline constexpr std::uint8_t kSingleWritePacket = 0x01;
inline constexpr std::uint8_t kLinkNotification = 0xD1;
inline constexpr std::uint8_t kDpiNotification = 0xD2;

// Low 8 bits of the sum of bytes 5..31. Bytes beyond the buffer count as 0,
// so a short buffer never reads out of bounds.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame);

// Stores FrameChecksum into byte 32. Returns false (and writes nothing) when
// the buffer is shorter than 33 bytes.
bool StoreFrameChecksum(std::span<std::uint8_t> frame);

// True when byte 32 holds the checksum of bytes 5..31.
bool HasValidChecksum(std::span<const std::uint8_t> frame);

// A request frame of 33 or 65 bytes, zero-initialised. Builders fill it with
// Set/SetPayload and finish with Seal, which stores the checksum.
class ReportFrame {
 public:
  // A write request: packet field and stated length as given.
  static ReportFrame Write(std::uint8_t command, std::uint8_t stated_length,
                           std::size_t length = kFrameLength,
                           std::uint8_t packet_field = kSingleWritePacket);
  // A read request: packet field 0, stated length 0, empty payload, checksum 0.
  static ReportFrame Read(std::uint8_t command);

  std::uint8_t Command() const { return bytes_[1]; }
  std::uint8_t PacketField() const { return bytes_[3]; }
  std::uint8_t StatedLength() const { return bytes_[4]; }
  std::size_t Length() const { return length_; }

  // Writes are ignored outside the frame's length.
  void Set(std::size_t offset, std::uint8_t value);
  void SetPayload(std::size_t index, std::uint8_t value) { Set(kPayloadOffset + index, value); }
  void Seal();

  std::uint8_t operator[](std::size_t offset) const {
    return offset < length_ ? bytes_[offset] : 0;
  }
  std::span<const std::uint8_t> Bytes() const { return {bytes_.data(), length_}; }
  std::span<std::uint8_t> MutableBytes() { return {bytes_.data(), length_}; }

 private:
  ReportFrame(std::uint8_t command, std::size_t length);

  std::array<std::uint8_t, kLongFrameLength> bytes_{};
  std::size_t length_ = kFrameLength;
};

// Read-only view of a reply buffer. Reads outside the buffer give 0, so a
// decoder can never overrun a short reply; decoders still check Has() to
// reject replies that are too short to carry their layout.
class ReportReply {
 public:
  explicit ReportReply(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  // Status byte 0 and not a notification report.
  bool Accepted() const;
  bool Has(std::size_t count) const { return bytes_.size() >= count; }
  std::uint8_t At(std::size_t offset) const {
    return offset < bytes_.size() ? bytes_[offset] : 0;
  }
  // Little-endian 16-bit value at offset.
  int Word(std::size_t offset) const { return At(offset) | (At(offset + 1) << 8); }
  std::size_t Length() const { return bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace mouseproto
