#pragma once
// The one table between native keys and virtual-key codes: each row holds a
// virtual key, its keyboard scan code (set 1, with 0xE000 for extended keys),
// the SDL key code and scan code, and the key's English name. The SDL backend
// translates events through it; the program reads key names from it.

#include <cstdint>
#include <string>

#include "platform/window/WinTypes.h"

namespace platform {

struct KeyInfo {
  UINT vk;
  uint16_t scanCode;    // 0xE0xx for extended keys
  int32_t sdlKeycode;   // SDL_Keycode value
  int32_t sdlScancode;  // SDL_Scancode value
  const wchar_t* name;
};

// Translation of an SDL key event: the key code decides (layout-dependent,
// as Windows virtual keys are); when it is not in the table (a non-Latin
// layout) the scan code decides. 0 for an unknown key.
UINT VirtualKeyFromSdl(int32_t sdlKeycode, int32_t sdlScancode);
// Row of a virtual key (left/right variants included); null when unknown.
const KeyInfo* FindKey(UINT vk);
// The key's name ("A", "F5", "Page Up", "Num 7"); empty when unknown.
std::wstring GetKeyName(UINT vk);
// The name of a key as the active keyboard layout labels it, for the keys
// that type a character (letters, digits, punctuation): the SDL backend asks
// the layout which key the key's position carries; the headless backend, and
// every other key, use the table's name.
std::wstring GetLayoutKeyName(UINT vk);
UINT ScanCodeFromVirtualKey(UINT vk);
// All rows, for iteration.
const KeyInfo* KeyTableBegin();
const KeyInfo* KeyTableEnd();

}  // namespace platform
