// Button-function codes: every row of the code table, the rule-based types,
// and the virtual-key conversions.

#include <gtest/gtest.h>

#include "ByteTable.h"
#include "device/ButtonCodes.h"

using namespace mouseproto;
using bytetable::Hex;

namespace {

std::string EntryText(const std::optional<SlotBytes>& entry) {
  return entry ? Hex(*entry) : std::string("(slot unchanged)");
}

}  // namespace

// The fixed rows: (macro_type, macro_value) -> entry, with a previous slot
// value of AA BB CC so that kept bytes show.
TEST(ButtonCodes, EveryFixedRow) {
  struct Case {
    int type, value;
    SlotBytes entry;
  };
  // clang-format off
  const Case cases[] = {
      {1, 1, {0x20, 0x01, 0x00}}, {1, 2, {0x20, 0x04, 0x00}}, {1, 3, {0x20, 0x02, 0x00}},
      {1, 4, {0x40, 0x32, 0x03}}, {1, 5, {0x20, 0x10, 0x00}}, {1, 6, {0x20, 0x08, 0x00}},
      {1, 7, {0x20, 0x01, 0x00}}, {1, 8, {0x20, 0xFF, 0x00}}, {1, 9, {0x20, 0x00, 0xF5}},
      {1, 10, {0x20, 0x00, 0xF6}},
      {3, 1, {0x90, 0x83, 0x01}}, {3, 2, {0x90, 0xCD, 0x00}}, {3, 3, {0x90, 0xB7, 0x00}},
      {3, 4, {0x90, 0xB6, 0x00}}, {3, 5, {0x90, 0xB5, 0x00}}, {3, 6, {0x90, 0xE9, 0x00}},
      {3, 7, {0x90, 0xEA, 0x00}}, {3, 8, {0x90, 0xE2, 0x00}},
      {5, 1, {0x50, 0x02, 0x00}}, {5, 2, {0x50, 0x03, 0x00}}, {5, 3, {0x50, 0x01, 0x00}},
      // type 6 keeps what the table does not set
      {6, 1, {0x60, 0x04, 0xCC}}, {6, 2, {0x60, 0x01, 0xCC}}, {6, 3, {0x60, 0xBB, 0xCC}},
      {6, 4, {0x60, 0xBB, 0xCC}}, {6, 5, {0x60, 0xBB, 0xCC}}, {6, 6, {0x60, 0xBB, 0xCC}},
      {8, 1, {0x90, 0x6F, 0x00}}, {8, 2, {0x90, 0x70, 0x00}}, {8, 3, {0x90, 0x92, 0x01}},
      {8, 4, {0x90, 0x94, 0x01}}, {8, 5, {0x90, 0x23, 0x02}}, {8, 6, {0x90, 0x8A, 0x01}},
      {8, 7, {0x80, 0x08, 0x07}}, {8, 8, {0x80, 0x08, 0x2B}}, {8, 9, {0x80, 0x01, 0x06}},
      {8, 10, {0x80, 0x01, 0x19}}, {8, 11, {0x80, 0x01, 0x1B}},
      {9, 1, {0x20, 0x00, 0x00}},
  };
  // clang-format on
  const SlotBytes previous = {0xAA, 0xBB, 0xCC};
  for (const Case& c : cases) {
    const KeyFunction record{0, c.type, c.value, 0};
    EXPECT_EQ(EntryText(SlotEntry(record, previous, {})), Hex(c.entry))
        << "type " << c.type << " value " << c.value;
    EXPECT_NE(FindButtonCode(c.type, c.value), nullptr) << "type " << c.type << " value " << c.value;
  }
  EXPECT_EQ(ButtonCodeTable().size(), std::size(cases)) << "the table has exactly these rows";
}

TEST(ButtonCodes, TextsOfTheFixedRows) {
  EXPECT_EQ(FindButtonCode(1, 1)->text_id, 106);
  EXPECT_EQ(FindButtonCode(3, 8)->text_id, 119);
  EXPECT_EQ(std::wstring(FindButtonCode(5, 1)->literal), L"DPI +");
  EXPECT_EQ(std::wstring(FindButtonCode(5, 2)->literal), L"DPI -");
  EXPECT_TRUE(FindButtonCode(6, 2)->shows_desc);
  EXPECT_EQ(FindButtonCode(8, 11)->text_id, 36);
  EXPECT_EQ(FindButtonCode(9, 1)->text_id, 139);
}

TEST(ButtonCodes, UnlistedValuesGiveTheCategoryAlone) {
  const SlotBytes previous = {0xAA, 0xBB, 0xCC};
  struct Case {
    int type, value;
    SlotBytes entry;
  };
  const Case cases[] = {
      {1, 11, {0x20, 0x00, 0x00}}, {1, 0, {0x20, 0x00, 0x00}}, {3, 9, {0x90, 0x00, 0x00}},
      {5, 4, {0x50, 0x00, 0x00}},  {8, 12, {0x90, 0x00, 0x00}}, {8, -1, {0x90, 0x00, 0x00}},
      {9, 2, {0x20, 0x00, 0x00}},
      {6, 7, {0x60, 0xBB, 0xCC}},  // type 6 never clears
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EntryText(SlotEntry({0, c.type, c.value, 0}, previous, {})), Hex(c.entry))
        << "type " << c.type << " value " << c.value;
  }
}

TEST(ButtonCodes, UnknownTypesLeaveTheSlot) {
  for (int type : {0, 10, -1, 255}) {
    EXPECT_FALSE(SlotEntry({0, type, 1, 0}, {0x20, 0x01, 0x00}, {})) << type;
  }
}

TEST(ButtonCodes, KeyboardKeys) {
  struct Case {
    const char* what;
    int usage, modifiers;
    SlotBytes entry;
  };
  const Case cases[] = {
      {"Left Shift alone", 0xE1, 0x00, {0x80, 0x02, 0x00}},
      {"Right Win alone", 0xE7, 0x00, {0x80, 0x80, 0x00}},
      {"Left Ctrl alone", 0xE0, 0x00, {0x80, 0x01, 0x00}},
      {"Ctrl+C", 0x06, 0x01, {0x80, 0x01, 0x06}},
      {"Ctrl+Shift+Esc", 0x29, 0x03, {0x80, 0x03, 0x29}},
      {"Win alone as modifier", 0x00, 0x08, {0x80, 0x08, 0x00}},
      {"A", 0x04, 0x00, {0x80, 0x00, 0x04}},
      {"Shift with Left Alt usage", 0xE2, 0x02, {0x80, 0x02, 0xE2}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EntryText(SlotEntry({3, kFnKeyboard, c.usage, c.modifiers}, {}, {})), Hex(c.entry))
        << c.what;
  }
}

TEST(ButtonCodes, RepeatCarriesBothNumbers) {
  EXPECT_EQ(EntryText(SlotEntry({0, kFnRepeat, 5, 0}, {}, {})), "40 05 00");
  EXPECT_EQ(EntryText(SlotEntry({0, kFnRepeat, 255, 200}, {}, {})), "40 FF C8");
}

TEST(ButtonCodes, MacroEntryCarriesKeyCodeAndPlayMode) {
  const MacroPlayInfo macros[] = {
      {11, 0, 3},    // three times
      {12, 1, 1},    // play type 1
      {13, 2, 1},    // play type 2
      {14, 3, 1},    // play type 3
      {15, 0, 0},    // play type 0 without a count
      {16, 0, 999},  // more plays than the count byte holds
      {17, 7, 5},    // a play type without a mode bit
  };
  struct Case {
    int key_code, macro_id;
    const char* entry;
  };
  const Case cases[] = {
      {2, 11, "A0 22 03"}, {2, 12, "A0 12 00"}, {4, 13, "A0 44 00"}, {4, 14, "A0 14 00"},
      {5, 15, "A0 05 00"}, {1, 16, "A0 21 FF"}, {6, 17, "A0 06 00"},
      {3, 99, "(slot unchanged)"},  // the macro no longer exists
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EntryText(SlotEntry({c.key_code, kFnMacro, c.macro_id, 0}, {0x20, 0x08, 0x00}, macros)),
              c.entry)
        << "key " << c.key_code << " macro " << c.macro_id;
  }
}

TEST(ButtonCodes, KeyUsageOfEveryListedKey) {
  struct Range {
    int first_vk, last_vk, first_usage;
  };
  // clang-format off
  const Range ranges[] = {
      {65, 90, 0x04},    // A..Z
      {49, 57, 0x1E},    // 1..9
      {48, 48, 0x27},    // 0
      {13, 13, 0x28}, {27, 27, 0x29}, {8, 8, 0x2A}, {9, 9, 0x2B}, {32, 32, 0x2C},
      {189, 189, 0x2D}, {187, 187, 0x2E}, {219, 219, 0x2F}, {221, 221, 0x30},
      {220, 220, 0x31}, {666, 666, 0x32}, {186, 186, 0x33}, {222, 222, 0x34},
      {192, 192, 0x35}, {188, 188, 0x36}, {190, 190, 0x37}, {191, 191, 0x38},
      {20, 20, 0x39},
      {112, 123, 0x3A},  // F1..F12
      {44, 44, 0x46}, {145, 145, 0x47}, {19, 19, 0x48}, {45, 45, 0x49}, {36, 36, 0x4A},
      {33, 33, 0x4B}, {46, 46, 0x4C}, {35, 35, 0x4D}, {34, 34, 0x4E},
      {39, 39, 0x4F}, {37, 37, 0x50}, {40, 40, 0x51}, {38, 38, 0x52}, {144, 144, 0x53},
      {111, 111, 0x54}, {106, 106, 0x55}, {109, 109, 0x56}, {107, 107, 0x57}, {108, 108, 0x58},
      {97, 105, 0x59},   // keypad 1..9
      {96, 96, 0x62}, {110, 110, 0x63},
      {226, 226, 0x64}, {93, 93, 0x65},
      {124, 135, 0x68},  // F13..F24
      {136, 139, 0x88},
      {254, 254, 0xAF},
      {162, 162, 0xE0}, {160, 160, 0xE1}, {164, 164, 0xE2}, {91, 91, 0xE3},
      {163, 163, 0xE4}, {161, 161, 0xE5}, {165, 165, 0xE6}, {92, 92, 0xE7},
      {302, 302, 0xEB}, {301, 301, 0xEC},
  };
  // clang-format on
  std::vector<bool> listed(700, false);
  for (const Range& r : ranges) {
    for (int vk = r.first_vk; vk <= r.last_vk; ++vk) {
      EXPECT_EQ(KeyUsage(vk), r.first_usage + (vk - r.first_vk)) << "vk " << vk;
      listed[static_cast<std::size_t>(vk)] = true;
    }
  }
  for (int vk = -1; vk < 700; ++vk) {
    if (vk < 0 || !listed[static_cast<std::size_t>(vk)]) {
      EXPECT_EQ(KeyUsage(vk), 0) << "vk " << vk << " is not listed";
    }
  }
  EXPECT_EQ(KeyUsage(103), 0x5F) << "keypad 7";
}

TEST(ButtonCodes, ModifierBits) {
  struct Case {
    int value, bit;
  };
  const Case cases[] = {
      // usages
      {0xE0, 0x01}, {0xE1, 0x02}, {0xE2, 0x04}, {0xE3, 0x08},
      {0xE4, 0x10}, {0xE5, 0x20}, {0xE6, 0x40}, {0xE7, 0x80},
      // virtual keys
      {162, 0x01}, {160, 0x02}, {164, 0x04}, {91, 0x08},
      {163, 0x10}, {161, 0x20}, {165, 0x40}, {92, 0x80},
      // anything else is itself
      {0x04, 0x04}, {0xE8, 0xE8}, {93, 93}, {166, 166}, {0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ModifierBit(c.value), c.bit) << c.value;
  }
}
