#pragma once
// The mouse's key slot table and the button-functions request (0x09).
//
// The table holds 21 slots of 3 bytes (65 bytes with the two spare bytes);
// slot k belongs to the button whose key_code is k. It starts from the
// defaults below, then each key record of the profile overwrites its slot
// with its entry (ButtonCodes.h). The request is a 33-byte frame stating 21
// slots, so only slots 0..8 (table bytes 0..26) travel, in bytes 5..31.
//
// Default slots (all other bytes 0):
//   0..4  20 01 00, 20 02 00, 20 04 00, 20 08 00, 20 10 00  (mouse buttons)
//   5     50 01 00                                          (DPI)
//   6     70 04 00
//   7     70 03 00

#include <array>
#include <cstdint>
#include <span>

#include "device/ButtonCodes.h"
#include "device/ReportFrame.h"

namespace mouseproto {

inline constexpr int kKeySlotCount = 21;
inline constexpr std::size_t kKeySlotTableLength = 65;
inline constexpr int kTravellingKeySlots = 9;
inline constexpr std::uint8_t kKeySlotStatedLength = 21;

class KeySlotTable {
 public:
  // A table holding the defaults.
  KeySlotTable();

  static bool HasSlot(int key_code) { return key_code >= 0 && key_code < kKeySlotCount; }

  // The slot's bytes; all zero for a key code without a slot.
  SlotBytes Slot(int key_code) const;
  // False (and nothing changed) for a key code without a slot.
  bool SetSlot(int key_code, const SlotBytes& entry);

  // Overwrites the record's slot with its entry. Returns false when the slot
  // stays unchanged: no slot for the key code, a macro_type outside the code
  // table, or a macro that no longer exists.
  bool Apply(const KeyFunction& record, std::span<const MacroPlayInfo> macros);

  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
  std::array<std::uint8_t, kKeySlotTableLength> bytes_{};
};

// The defaults with every record applied in order.
KeySlotTable BuildKeySlotTable(std::span<const KeyFunction> records,
                               std::span<const MacroPlayInfo> macros);

// Command 0x09: packet field 0x01, stated length 21, table bytes 0..26 in
// bytes 5..31, checksum at 32.
ReportFrame BuildButtonFunctionsRequest(const KeySlotTable& table);

}  // namespace mouseproto
