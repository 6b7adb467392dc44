#pragma once
// Button-function codes: what a key record's (macro_type, macro_value,
// macro_value2) means, and the 3-byte entry of the mouse's key slot table
// that it becomes. Also the conversion of Windows virtual-key codes into
// keyboard usages (HID Keyboard/Keypad page) and modifier bits, shared by the
// key page and the macro stream.
//
// Index
//   KeyFunction, MacroPlayInfo   the store fields the entry depends on
//   ButtonCodeRow / table        the fixed rows (types 1, 3, 5, 6, 8, 9)
//   SlotEntry                    record -> entry, with the rule-based types
//                                2 (keyboard key), 4 (macro) and 7 (repeat)
//   KeyUsage, ModifierBit        virtual key -> usage, modifier -> bit
//
// Entry categories: 0x20 button mask + wheel byte, 0x40 repeat, 0x50 DPI,
// 0x60 special, 0x80 modifier mask + keyboard usage, 0x90 consumer usage
// (low byte first), 0xA0 macro.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace mouseproto {

using SlotBytes = std::array<std::uint8_t, 3>;

// Function types (macro_type).
inline constexpr int kFnMouseButton = 1;
inline constexpr int kFnKeyboard = 2;
inline constexpr int kFnMedia = 3;
inline constexpr int kFnMacro = 4;
inline constexpr int kFnDpi = 5;
inline constexpr int kFnSpecial = 6;
inline constexpr int kFnRepeat = 7;
inline constexpr int kFnSystem = 8;
inline constexpr int kFnDisabled = 9;

// The fields of a key record (t_key_macro_data) that its entry depends on.
struct KeyFunction {
  int key_code = 0;  // the button, which is also its slot
  int macro_type = 0;
  int macro_value = 0;
  int macro_value2 = 0;
};

// The fields of a macro record (t_macro_data) that a macro entry depends on.
struct MacroPlayInfo {
  int macro_id = 0;
  int play_type = 0;   // 0 = a number of times, 1 and 2 the other modes
  int play_times = 1;
};

// One fixed row of the code table. Bits of set_mask tell which entry bytes
// the row sets; bytes it does not set keep the slot's previous value (only
// type 6 leaves bytes unset).
struct ButtonCodeRow {
  int macro_type;
  int macro_value;
  int text_id;          // text shown for the assignment, 0 when literal/desc
  const wchar_t* literal;  // shown instead of a text id ("DPI +"), or nullptr
  bool shows_desc;      // the key page shows the record's macro_desc
  SlotBytes entry;
  std::uint8_t set_mask;
};

// All fixed rows, in table order.
std::span<const ButtonCodeRow> ButtonCodeTable();
// The fixed row for (type, value), or nullptr.
const ButtonCodeRow* FindButtonCode(int macro_type, int macro_value);

// The entry for a key record, given the slot's previous bytes (type 6 keeps
// some of them) and the macro list (type 4 needs the play mode). Returns
// nothing when the slot must stay as it is: a macro_type outside 1..9, or a
// macro assignment whose macro no longer exists.
std::optional<SlotBytes> SlotEntry(const KeyFunction& record, const SlotBytes& previous,
                                   std::span<const MacroPlayInfo> macros);

// Keyboard usage for a Windows virtual-key code (plus the few private codes
// the raw-key decoder produces); 0 for a code that has none.
int KeyUsage(int virtual_key);

// The modifier bit of a modifier key given as its virtual-key code or as its
// keyboard usage (0xE0..0xE7): left Ctrl 0x01, Shift 0x02, Alt 0x04, Win 0x08,
// right Ctrl 0x10, Shift 0x20, Alt 0x40, Win 0x80. Any other value is
// returned unchanged.
int ModifierBit(int value);

// True for the eight virtual-key codes of the left and right Ctrl, Shift,
// Alt and Win keys.
bool IsModifierVirtualKey(int virtual_key);

}  // namespace mouseproto
