#pragma once
// Byte tables in tests are compared as hex text, so a failure shows both
// frames side by side in the notation the tables are written in.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace bytetable {

inline std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char cell[4];
    std::snprintf(cell, sizeof cell, "%02X", bytes[i]);
    if (i != 0) text += (i % 16 == 0) ? " | " : " ";
    text += cell;
  }
  return text;
}

// A frame of the given length with the listed bytes from offset 0 and
// zeros after them.
inline std::vector<std::uint8_t> Padded(std::initializer_list<std::uint8_t> head,
                                        std::size_t length) {
  std::vector<std::uint8_t> bytes(head);
  bytes.resize(length, 0);
  return bytes;
}

// A reply of `length` bytes: command echo, status, then the given payload
// bytes from offset 4.
inline std::vector<std::uint8_t> Reply(std::uint8_t command, std::uint8_t status,
                                       std::initializer_list<std::uint8_t> payload,
                                       std::size_t length = 33) {
  // Sized once and filled in place: growing a four-byte vector by insert
  // makes GCC 12's optimiser warn about a copy it cannot prove in bounds.
  std::vector<std::uint8_t> bytes(std::max(length, payload.size() + 4), 0);
  bytes[0] = command;
  bytes[1] = status;
  std::copy(payload.begin(), payload.end(), bytes.begin() + 4);
  bytes.resize(length);
  return bytes;
}

}  // namespace bytetable
