// The key slot table and the button-functions request.

#include <gtest/gtest.h>

#include "ByteTable.h"
#include "device/KeySlots.h"

using namespace mouseproto;
using bytetable::Hex;

namespace {

std::vector<std::uint8_t> WithChecksum(std::vector<std::uint8_t> frame) {
  std::uint8_t sum = 0;
  for (std::size_t i = 5; i < 32; ++i) sum = static_cast<std::uint8_t>(sum + frame[i]);
  frame[32] = sum;
  return frame;
}

}  // namespace

TEST(KeySlots, DefaultTableInTheRequest) {
  const ReportFrame frame = BuildButtonFunctionsRequest(KeySlotTable());
  const auto expected = WithChecksum(bytetable::Padded({
      0x00,              // report id
      0x09,              // command: button functions
      0x00,              //
      0x01,              // packet field
      21,                // stated length: 21 slots
      0x20, 0x01, 0x00,  // slot 0: left button
      0x20, 0x02, 0x00,  // slot 1
      0x20, 0x04, 0x00,  // slot 2
      0x20, 0x08, 0x00,  // slot 3
      0x20, 0x10, 0x00,  // slot 4
      0x50, 0x01, 0x00,  // slot 5: DPI
      0x70, 0x04, 0x00,  // slot 6
      0x70, 0x03, 0x00,  // slot 7
      0x00, 0x00, 0x00,  // slot 8
  }, 33));
  EXPECT_EQ(Hex(frame.Bytes()), Hex(expected));
  EXPECT_EQ(expected[32], 0xF7);  // 5 * 0x20 + 31 + 0x51 + 2 * 0x70 + 7 = 0x1F7
}

TEST(KeySlots, LeftShiftAndCtrlCInTheirSlots) {
  const KeyFunction records[] = {
      {2, kFnKeyboard, 0xE1, 0x00},  // Left Shift alone
      {4, kFnKeyboard, 0x06, 0x01},  // Ctrl+C
  };
  const ReportFrame frame = BuildButtonFunctionsRequest(BuildKeySlotTable(records, {}));
  const auto expected = WithChecksum(bytetable::Padded({
      0x00, 0x09, 0x00, 0x01, 21,
      0x20, 0x01, 0x00,  // slot 0: default
      0x20, 0x02, 0x00,  // slot 1: default
      0x80, 0x02, 0x00,  // slot 2: Left Shift -> modifier bit 0x02, no usage
      0x20, 0x08, 0x00,  // slot 3: default
      0x80, 0x01, 0x06,  // slot 4: Ctrl + usage 0x06 (C)
      0x50, 0x01, 0x00,  // slot 5
      0x70, 0x04, 0x00,  // slot 6
      0x70, 0x03, 0x00,  // slot 7
      0x00, 0x00, 0x00,  // slot 8
  }, 33));
  EXPECT_EQ(Hex(frame.Bytes()), Hex(expected));
}

TEST(KeySlots, RecordsThatLeaveTheirSlot) {
  const MacroPlayInfo macros[] = {{7, 0, 2}};
  const KeyFunction records[] = {
      {1, kFnMacro, 99, 0},   // macro deleted: slot 1 keeps its default
      {3, 42, 1, 0},          // unknown type: slot 3 keeps its default
      {21, kFnDpi, 1, 0},     // no slot 21
      {-1, kFnDpi, 1, 0},     // no slot -1
      {6, kFnMacro, 7, 0},    // existing macro: applied
      {7, kFnSpecial, 1, 0},  // type 6 keeps the default's third byte
  };
  KeySlotTable table;
  EXPECT_FALSE(table.Apply(records[0], macros));
  EXPECT_FALSE(table.Apply(records[1], macros));
  EXPECT_FALSE(table.Apply(records[2], macros));
  EXPECT_FALSE(table.Apply(records[3], macros));
  EXPECT_TRUE(table.Apply(records[4], macros));
  EXPECT_TRUE(table.Apply(records[5], macros));
  EXPECT_EQ(Hex(table.Slot(1)), "20 02 00");
  EXPECT_EQ(Hex(table.Slot(3)), "20 08 00");
  EXPECT_EQ(Hex(table.Slot(6)), "A0 26 02");
  EXPECT_EQ(Hex(table.Slot(7)), "60 04 00");
  EXPECT_EQ(Hex(table.Slot(21)), "00 00 00");
}

TEST(KeySlots, OnlyTheFirstNineSlotsTravel) {
  // Slots 9..20 exist in the table but lie beyond the 33-byte frame.
  const KeyFunction records[] = {{8, kFnDpi, 2, 0}, {9, kFnDpi, 1, 0}, {20, kFnDpi, 1, 0}};
  const KeySlotTable table = BuildKeySlotTable(records, {});
  EXPECT_EQ(Hex(table.Slot(9)), "50 02 00");
  EXPECT_EQ(Hex(table.Slot(20)), "50 02 00");
  EXPECT_EQ(table.Bytes().size(), 65u);
  const ReportFrame frame = BuildButtonFunctionsRequest(table);
  ASSERT_EQ(frame.Length(), 33u);
  EXPECT_EQ(frame[29], 0x50);
  EXPECT_EQ(frame[30], 0x03) << "slot 8 is the last one carried";
}
