#pragma once
// RawKeyDecoder: turns the window's own key and mouse-button messages into
// raw key events (ui/RawKeyEvent.h) for the key captures and the macro
// recorder. Key messages carry the generic Shift, Ctrl and Alt codes; the
// side is read from the scan code and the extended flag of the message, so
// the decoder keeps no state. Keypad keys pressed with NumLock off arrive as
// navigation keys without the extended flag and are given their keypad
// codes, so a recorded keypad 7 is a keypad 7 whatever NumLock says.

#include <cstdint>
#include <string>

#include "toolkit/core/WinTypes.h"
#include "ui/RawKeyEvent.h"

namespace ui {

class RawKeyDecoder {
 public:
  // Key, system key and character messages: what a capture takes from the
  // window, so that Tab, Esc, Enter and F10 do not act while it runs.
  static bool IsKeyMessage(DUI::UINT msg);
  // Presses and releases of the mouse buttons (double clicks included).
  static bool IsButtonMessage(DUI::UINT msg);
  // Decodes a key or button message; false for any other message
  // (character messages included). An event with an empty name is to be
  // ignored (a button the decoder does not know).
  static bool Decode(DUI::UINT msg, DUI::WPARAM wParam, DUI::LPARAM lParam, std::uint32_t time, RawKeyEvent& event);
  // The side-specific code of a key message's virtual key, with keypad
  // codes for keypad keys whose message carries navigation codes.
  static int KeyCode(DUI::UINT vk, DUI::LPARAM lParam);
  // The name shown for a virtual-key code: a fixed name for the modifiers
  // and a few special keys, the active layout's label for character keys,
  // else the key table's name.
  static std::wstring KeyName(int code);
};

}  // namespace ui
