#include "device/ButtonCodes.h"

#include <algorithm>

namespace mouseproto {

namespace {

constexpr std::uint8_t kAll = 0b111;

// clang-format off
const ButtonCodeRow kRows[] = {
    // type 1: mouse buttons (0x20: button mask, wheel byte)
    {1, 1, 106, nullptr, false, {0x20, 0x01, 0x00}, kAll},
    {1, 2, 108, nullptr, false, {0x20, 0x04, 0x00}, kAll},
    {1, 3, 107, nullptr, false, {0x20, 0x02, 0x00}, kAll},
    {1, 4, 180, nullptr, false, {0x40, 0x32, 0x03}, kAll},
    {1, 5, 109, nullptr, false, {0x20, 0x10, 0x00}, kAll},
    {1, 6, 110, nullptr, false, {0x20, 0x08, 0x00}, kAll},
    {1, 7, 112, nullptr, false, {0x20, 0x01, 0x00}, kAll},
    {1, 8, 113, nullptr, false, {0x20, 0xFF, 0x00}, kAll},
    {1, 9, 114, nullptr, false, {0x20, 0x00, 0xF5}, kAll},
    {1, 10, 115, nullptr, false, {0x20, 0x00, 0xF6}, kAll},
    // type 3: media keys (consumer usages, low byte first)
    {3, 1, 120, nullptr, false, {0x90, 0x83, 0x01}, kAll},
    {3, 2, 121, nullptr, false, {0x90, 0xCD, 0x00}, kAll},
    {3, 3, 124, nullptr, false, {0x90, 0xB7, 0x00}, kAll},
    {3, 4, 122, nullptr, false, {0x90, 0xB6, 0x00}, kAll},
    {3, 5, 123, nullptr, false, {0x90, 0xB5, 0x00}, kAll},
    {3, 6, 117, nullptr, false, {0x90, 0xE9, 0x00}, kAll},
    {3, 7, 118, nullptr, false, {0x90, 0xEA, 0x00}, kAll},
    {3, 8, 119, nullptr, false, {0x90, 0xE2, 0x00}, kAll},
    // type 5: DPI steps
    {5, 1, 0, L"DPI +", false, {0x50, 0x02, 0x00}, kAll},
    {5, 2, 0, L"DPI -", false, {0x50, 0x03, 0x00}, kAll},
    {5, 3, 141, nullptr, false, {0x50, 0x01, 0x00}, kAll},
    // type 6: only the bytes the row sets change
    {6, 1, 151, nullptr, false, {0x60, 0x04, 0x00}, 0b011},
    {6, 2, 181, nullptr, true, {0x60, 0x01, 0x00}, 0b011},
    {6, 3, 152, nullptr, false, {0x60, 0x00, 0x00}, 0b001},
    {6, 4, 153, nullptr, false, {0x60, 0x00, 0x00}, 0b001},
    {6, 5, 154, nullptr, false, {0x60, 0x00, 0x00}, 0b001},
    {6, 6, 155, nullptr, false, {0x60, 0x00, 0x00}, 0b001},
    // type 8: system functions (consumer usages, or keyboard shortcuts)
    {8, 1, 127, nullptr, false, {0x90, 0x6F, 0x00}, kAll},
    {8, 2, 128, nullptr, false, {0x90, 0x70, 0x00}, kAll},
    {8, 3, 129, nullptr, false, {0x90, 0x92, 0x01}, kAll},
    {8, 4, 130, nullptr, false, {0x90, 0x94, 0x01}, kAll},
    {8, 5, 131, nullptr, false, {0x90, 0x23, 0x02}, kAll},
    {8, 6, 132, nullptr, false, {0x90, 0x8A, 0x01}, kAll},
    {8, 7, 133, nullptr, false, {0x80, 0x08, 0x07}, kAll},  // Win+D
    {8, 8, 134, nullptr, false, {0x80, 0x08, 0x2B}, kAll},  // Win+Tab
    {8, 9, 31, nullptr, false, {0x80, 0x01, 0x06}, kAll},   // Ctrl+C
    {8, 10, 32, nullptr, false, {0x80, 0x01, 0x19}, kAll},  // Ctrl+V
    {8, 11, 36, nullptr, false, {0x80, 0x01, 0x1B}, kAll},  // Ctrl+X
    // type 9: disabled
    {9, 1, 139, nullptr, false, {0x20, 0x00, 0x00}, kAll},
};
// clang-format on

std::uint8_t Low8(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

// Category byte of the types whose unlisted values give "category, 00, 00".
std::uint8_t CategoryOf(int macro_type) {
  switch (macro_type) {
    case kFnMouseButton: return 0x20;
    case kFnMedia: return 0x90;
    case kFnDpi: return 0x50;
    case kFnSystem: return 0x90;
    case kFnDisabled: return 0x20;
    default: return 0x00;
  }
}

SlotBytes MacroEntry(const KeyFunction& record, const MacroPlayInfo& macro) {
  int mode_bits = 0;
  int count = 0;
  switch (macro.play_type) {
    case 1:
    case 3:
      mode_bits = 0x10;
      break;
    case 2:
      mode_bits = 0x40;
      break;
    case 0:
      if (macro.play_times >= 1) {
        mode_bits = 0x20;
        // The count byte holds at most 255 plays; larger counts are sent as
        // 255 rather than wrapping to a small number.
        count = std::min(macro.play_times, 255);
      }
      break;
    default:
      break;
  }
  return {0xA0, Low8(record.key_code | mode_bits), Low8(count)};
}

}  // namespace

std::span<const ButtonCodeRow> ButtonCodeTable() { return kRows; }

const ButtonCodeRow* FindButtonCode(int macro_type, int macro_value) {
  for (const ButtonCodeRow& row : kRows) {
    if (row.macro_type == macro_type && row.macro_value == macro_value) {
      return &row;
    }
  }
  return nullptr;
}

std::optional<SlotBytes> SlotEntry(const KeyFunction& record, const SlotBytes& previous,
                                   std::span<const MacroPlayInfo> macros) {
  switch (record.macro_type) {
    case kFnKeyboard: {
      const int usage = record.macro_value;
      if (record.macro_value2 == 0 && usage >= 0xE0 && usage <= 0xE7) {
        return SlotBytes{0x80, Low8(ModifierBit(usage)), 0x00};
      }
      return SlotBytes{0x80, Low8(record.macro_value2), Low8(usage)};
    }
    case kFnMacro: {
      for (const MacroPlayInfo& macro : macros) {
        if (macro.macro_id == record.macro_value) {
          return MacroEntry(record, macro);
        }
      }
      return std::nullopt;
    }
    case kFnRepeat:
      return SlotBytes{0x40, Low8(record.macro_value), Low8(record.macro_value2)};
    case kFnSpecial: {
      SlotBytes entry = previous;
      entry[0] = 0x60;
      if (const ButtonCodeRow* row = FindButtonCode(record.macro_type, record.macro_value)) {
        for (std::size_t i = 0; i < entry.size(); ++i) {
          if (row->set_mask & (1u << i)) entry[i] = row->entry[i];
        }
      }
      return entry;
    }
    case kFnMouseButton:
    case kFnMedia:
    case kFnDpi:
    case kFnSystem:
    case kFnDisabled: {
      if (const ButtonCodeRow* row = FindButtonCode(record.macro_type, record.macro_value)) {
        return row->entry;
      }
      return SlotBytes{CategoryOf(record.macro_type), 0x00, 0x00};
    }
    default:
      return std::nullopt;
  }
}

int KeyUsage(int vk) {
  if (vk >= 'A' && vk <= 'Z') return 0x04 + (vk - 'A');
  if (vk >= '1' && vk <= '9') return 0x1E + (vk - '1');
  if (vk >= 112 && vk <= 123) return 0x3A + (vk - 112);  // F1..F12
  if (vk >= 97 && vk <= 105) return 0x59 + (vk - 97);    // keypad 1..9
  if (vk >= 124 && vk <= 135) return 0x68 + (vk - 124);  // F13..F24
  switch (vk) {
    case '0': return 0x27;
    case 13: return 0x28;   // Enter
    case 27: return 0x29;   // Esc
    case 8: return 0x2A;    // Backspace
    case 9: return 0x2B;    // Tab
    case 32: return 0x2C;   // Space
    case 189: return 0x2D;  // -
    case 187: return 0x2E;  // =
    case 219: return 0x2F;  // [
    case 221: return 0x30;  // ]
    case 220: return 0x31;  // backslash
    case 666: return 0x32;  // non-US #
    case 186: return 0x33;  // ;
    case 222: return 0x34;  // '
    case 192: return 0x35;  // `
    case 188: return 0x36;  // ,
    case 190: return 0x37;  // .
    case 191: return 0x38;  // /
    case 20: return 0x39;   // CapsLock
    case 44: return 0x46;   // PrintScreen
    case 145: return 0x47;  // ScrollLock
    case 19: return 0x48;   // Pause
    case 45: return 0x49;   // Insert
    case 36: return 0x4A;   // Home
    case 33: return 0x4B;   // PageUp
    case 46: return 0x4C;   // Delete
    case 35: return 0x4D;   // End
    case 34: return 0x4E;   // PageDown
    case 39: return 0x4F;   // Right
    case 37: return 0x50;   // Left
    case 40: return 0x51;   // Down
    case 38: return 0x52;   // Up
    case 144: return 0x53;  // NumLock
    case 111: return 0x54;  // keypad /
    case 106: return 0x55;  // keypad *
    case 109: return 0x56;  // keypad -
    case 107: return 0x57;  // keypad +
    case 108: return 0x58;  // keypad Enter
    case 96: return 0x62;   // keypad 0
    case 110: return 0x63;  // keypad .
    case 226: return 0x64;  // non-US backslash
    case 93: return 0x65;   // Apps
    case 136: return 0x88;
    case 137: return 0x89;  // Yen
    case 138: return 0x8A;
    case 139: return 0x8B;
    case 254: return 0xAF;
    case 162: return 0xE0;  // left Ctrl
    case 160: return 0xE1;  // left Shift
    case 164: return 0xE2;  // left Alt
    case 91: return 0xE3;   // left Win
    case 163: return 0xE4;  // right Ctrl
    case 161: return 0xE5;  // right Shift
    case 165: return 0xE6;  // right Alt
    case 92: return 0xE7;   // right Win
    case 302: return 0xEB;
    case 301: return 0xEC;
    default: return 0;
  }
}

int ModifierBit(int value) {
  if (value >= 0xE0 && value <= 0xE7) {
    return 1 << (value - 0xE0);
  }
  switch (value) {
    case 162: return 0x01;
    case 160: return 0x02;
    case 164: return 0x04;
    case 91: return 0x08;
    case 163: return 0x10;
    case 161: return 0x20;
    case 165: return 0x40;
    case 92: return 0x80;
    default: return value;
  }
}

bool IsModifierVirtualKey(int vk) {
  return (vk >= 160 && vk <= 165) || vk == 91 || vk == 92;
}

}  // namespace mouseproto
