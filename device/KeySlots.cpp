#include "device/KeySlots.h"

#include "device/Commands.h"

namespace mouseproto {

namespace {

constexpr SlotBytes kDefaultSlots[] = {
    {0x20, 0x01, 0x00}, {0x20, 0x02, 0x00}, {0x20, 0x04, 0x00}, {0x20, 0x08, 0x00},
    {0x20, 0x10, 0x00}, {0x50, 0x01, 0x00}, {0x70, 0x04, 0x00}, {0x70, 0x03, 0x00},
};

}  // namespace

KeySlotTable::KeySlotTable() {
  int key_code = 0;
  for (const SlotBytes& entry : kDefaultSlots) {
    SetSlot(key_code++, entry);
  }
}

SlotBytes KeySlotTable::Slot(int key_code) const {
  if (!HasSlot(key_code)) {
    return {0, 0, 0};
  }
  const std::size_t at = 3 * static_cast<std::size_t>(key_code);
  return {bytes_[at], bytes_[at + 1], bytes_[at + 2]};
}

bool KeySlotTable::SetSlot(int key_code, const SlotBytes& entry) {
  if (!HasSlot(key_code)) {
    return false;
  }
  const std::size_t at = 3 * static_cast<std::size_t>(key_code);
  for (std::size_t i = 0; i < entry.size(); ++i) {
    bytes_[at + i] = entry[i];
  }
  return true;
}

bool KeySlotTable::Apply(const KeyFunction& record, std::span<const MacroPlayInfo> macros) {
  if (!HasSlot(record.key_code)) {
    return false;
  }
  const auto entry = SlotEntry(record, Slot(record.key_code), macros);
  return entry && SetSlot(record.key_code, *entry);
}

KeySlotTable BuildKeySlotTable(std::span<const KeyFunction> records,
                               std::span<const MacroPlayInfo> macros) {
  KeySlotTable table;
  for (const KeyFunction& record : records) {
    table.Apply(record, macros);
  }
  return table;
}

ReportFrame BuildButtonFunctionsRequest(const KeySlotTable& table) {
  ReportFrame frame = ReportFrame::Write(kCmdWriteButtonFunctions, kKeySlotStatedLength);
  const auto bytes = table.Bytes();
  for (std::size_t i = 0; i < kPayloadCapacity; ++i) {
    frame.SetPayload(i, bytes[i]);
  }
  frame.Seal();
  return frame;
}

}  // namespace mouseproto
