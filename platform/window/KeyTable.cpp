// The key table and its look-ups. Rows are in no particular order; the
// look-up maps are built once on first use.

#include "platform/window/KeyTable.h"

#include <SDL2/SDL_keyboard.h>
#include <SDL2/SDL_keycode.h>

#include <cwctype>
#include <iterator>
#include <unordered_map>

#include "platform/Text.h"
#include "platform/window/Window.h"

namespace platform {

namespace {

// clang-format off
const KeyInfo kKeys[] = {
    {'A', 0x1e, SDLK_a, SDL_SCANCODE_A, L"A"},
    {'B', 0x30, SDLK_b, SDL_SCANCODE_B, L"B"},
    {'C', 0x2e, SDLK_c, SDL_SCANCODE_C, L"C"},
    {'D', 0x20, SDLK_d, SDL_SCANCODE_D, L"D"},
    {'E', 0x12, SDLK_e, SDL_SCANCODE_E, L"E"},
    {'F', 0x21, SDLK_f, SDL_SCANCODE_F, L"F"},
    {'G', 0x22, SDLK_g, SDL_SCANCODE_G, L"G"},
    {'H', 0x23, SDLK_h, SDL_SCANCODE_H, L"H"},
    {'I', 0x17, SDLK_i, SDL_SCANCODE_I, L"I"},
    {'J', 0x24, SDLK_j, SDL_SCANCODE_J, L"J"},
    {'K', 0x25, SDLK_k, SDL_SCANCODE_K, L"K"},
    {'L', 0x26, SDLK_l, SDL_SCANCODE_L, L"L"},
    {'M', 0x32, SDLK_m, SDL_SCANCODE_M, L"M"},
    {'N', 0x31, SDLK_n, SDL_SCANCODE_N, L"N"},
    {'O', 0x18, SDLK_o, SDL_SCANCODE_O, L"O"},
    {'P', 0x19, SDLK_p, SDL_SCANCODE_P, L"P"},
    {'Q', 0x10, SDLK_q, SDL_SCANCODE_Q, L"Q"},
    {'R', 0x13, SDLK_r, SDL_SCANCODE_R, L"R"},
    {'S', 0x1f, SDLK_s, SDL_SCANCODE_S, L"S"},
    {'T', 0x14, SDLK_t, SDL_SCANCODE_T, L"T"},
    {'U', 0x16, SDLK_u, SDL_SCANCODE_U, L"U"},
    {'V', 0x2f, SDLK_v, SDL_SCANCODE_V, L"V"},
    {'W', 0x11, SDLK_w, SDL_SCANCODE_W, L"W"},
    {'X', 0x2d, SDLK_x, SDL_SCANCODE_X, L"X"},
    {'Y', 0x15, SDLK_y, SDL_SCANCODE_Y, L"Y"},
    {'Z', 0x2c, SDLK_z, SDL_SCANCODE_Z, L"Z"},
    {'1', 0x2, SDLK_1, SDL_SCANCODE_1, L"1"},
    {'2', 0x3, SDLK_2, SDL_SCANCODE_2, L"2"},
    {'3', 0x4, SDLK_3, SDL_SCANCODE_3, L"3"},
    {'4', 0x5, SDLK_4, SDL_SCANCODE_4, L"4"},
    {'5', 0x6, SDLK_5, SDL_SCANCODE_5, L"5"},
    {'6', 0x7, SDLK_6, SDL_SCANCODE_6, L"6"},
    {'7', 0x8, SDLK_7, SDL_SCANCODE_7, L"7"},
    {'8', 0x9, SDLK_8, SDL_SCANCODE_8, L"8"},
    {'9', 0xa, SDLK_9, SDL_SCANCODE_9, L"9"},
    {'0', 0xb, SDLK_0, SDL_SCANCODE_0, L"0"},
    {VK_F1 + 0, 0x3b, SDLK_F1, SDL_SCANCODE_F1, L"F1"},
    {VK_F1 + 1, 0x3c, SDLK_F2, SDL_SCANCODE_F2, L"F2"},
    {VK_F1 + 2, 0x3d, SDLK_F3, SDL_SCANCODE_F3, L"F3"},
    {VK_F1 + 3, 0x3e, SDLK_F4, SDL_SCANCODE_F4, L"F4"},
    {VK_F1 + 4, 0x3f, SDLK_F5, SDL_SCANCODE_F5, L"F5"},
    {VK_F1 + 5, 0x40, SDLK_F6, SDL_SCANCODE_F6, L"F6"},
    {VK_F1 + 6, 0x41, SDLK_F7, SDL_SCANCODE_F7, L"F7"},
    {VK_F1 + 7, 0x42, SDLK_F8, SDL_SCANCODE_F8, L"F8"},
    {VK_F1 + 8, 0x43, SDLK_F9, SDL_SCANCODE_F9, L"F9"},
    {VK_F1 + 9, 0x44, SDLK_F10, SDL_SCANCODE_F10, L"F10"},
    {VK_F1 + 10, 0x57, SDLK_F11, SDL_SCANCODE_F11, L"F11"},
    {VK_F1 + 11, 0x58, SDLK_F12, SDL_SCANCODE_F12, L"F12"},
    {VK_F1 + 12, 0x64, SDLK_F13, SDL_SCANCODE_F13, L"F13"},
    {VK_F1 + 13, 0x65, SDLK_F14, SDL_SCANCODE_F14, L"F14"},
    {VK_F1 + 14, 0x66, SDLK_F15, SDL_SCANCODE_F15, L"F15"},
    {VK_F1 + 15, 0x67, SDLK_F16, SDL_SCANCODE_F16, L"F16"},
    {VK_F1 + 16, 0x68, SDLK_F17, SDL_SCANCODE_F17, L"F17"},
    {VK_F1 + 17, 0x69, SDLK_F18, SDL_SCANCODE_F18, L"F18"},
    {VK_F1 + 18, 0x6a, SDLK_F19, SDL_SCANCODE_F19, L"F19"},
    {VK_F1 + 19, 0x6b, SDLK_F20, SDL_SCANCODE_F20, L"F20"},
    {VK_F1 + 20, 0x6c, SDLK_F21, SDL_SCANCODE_F21, L"F21"},
    {VK_F1 + 21, 0x6d, SDLK_F22, SDL_SCANCODE_F22, L"F22"},
    {VK_F1 + 22, 0x6e, SDLK_F23, SDL_SCANCODE_F23, L"F23"},
    {VK_F1 + 23, 0x76, SDLK_F24, SDL_SCANCODE_F24, L"F24"},
    {VK_ESCAPE, 0x1, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, L"Esc"},
    {VK_BACK, 0xe, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, L"Backspace"},
    {VK_TAB, 0xf, SDLK_TAB, SDL_SCANCODE_TAB, L"Tab"},
    {VK_RETURN, 0x1c, SDLK_RETURN, SDL_SCANCODE_RETURN, L"Enter"},
    {VK_SPACE, 0x39, SDLK_SPACE, SDL_SCANCODE_SPACE, L"Space"},
    {VK_LSHIFT, 0x2a, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, L"Shift"},
    {VK_RSHIFT, 0x36, SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, L"Right Shift"},
    {VK_LCONTROL, 0x1d, SDLK_LCTRL, SDL_SCANCODE_LCTRL, L"Ctrl"},
    {VK_RCONTROL, 0xe01d, SDLK_RCTRL, SDL_SCANCODE_RCTRL, L"Right Ctrl"},
    {VK_LMENU, 0x38, SDLK_LALT, SDL_SCANCODE_LALT, L"Alt"},
    {VK_RMENU, 0xe038, SDLK_RALT, SDL_SCANCODE_RALT, L"Right Alt"},
    {VK_LWIN, 0xe05b, SDLK_LGUI, SDL_SCANCODE_LGUI, L"Left Windows"},
    {VK_RWIN, 0xe05c, SDLK_RGUI, SDL_SCANCODE_RGUI, L"Right Windows"},
    {VK_APPS, 0xe05d, SDLK_APPLICATION, SDL_SCANCODE_APPLICATION, L"Application"},
    {VK_CAPITAL, 0x3a, SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, L"Caps Lock"},
    {VK_NUMLOCK, 0xe045, SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, L"Num Lock"},
    {VK_SCROLL, 0x46, SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, L"Scroll Lock"},
    {VK_PAUSE, 0x45, SDLK_PAUSE, SDL_SCANCODE_PAUSE, L"Pause"},
    {VK_SNAPSHOT, 0xe037, SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, L"Print Screen"},
    {VK_INSERT, 0xe052, SDLK_INSERT, SDL_SCANCODE_INSERT, L"Insert"},
    {VK_DELETE, 0xe053, SDLK_DELETE, SDL_SCANCODE_DELETE, L"Delete"},
    {VK_HOME, 0xe047, SDLK_HOME, SDL_SCANCODE_HOME, L"Home"},
    {VK_END, 0xe04f, SDLK_END, SDL_SCANCODE_END, L"End"},
    {VK_PRIOR, 0xe049, SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, L"Page Up"},
    {VK_NEXT, 0xe051, SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, L"Page Down"},
    {VK_LEFT, 0xe04b, SDLK_LEFT, SDL_SCANCODE_LEFT, L"Left"},
    {VK_RIGHT, 0xe04d, SDLK_RIGHT, SDL_SCANCODE_RIGHT, L"Right"},
    {VK_UP, 0xe048, SDLK_UP, SDL_SCANCODE_UP, L"Up"},
    {VK_DOWN, 0xe050, SDLK_DOWN, SDL_SCANCODE_DOWN, L"Down"},
    {VK_OEM_3, 0x29, SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, L"`"},
    {VK_OEM_MINUS, 0xc, SDLK_MINUS, SDL_SCANCODE_MINUS, L"-"},
    {VK_OEM_PLUS, 0xd, SDLK_EQUALS, SDL_SCANCODE_EQUALS, L"="},
    {VK_OEM_4, 0x1a, SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, L"["},
    {VK_OEM_6, 0x1b, SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, L"]"},
    {VK_OEM_5, 0x2b, SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, L"\\"},
    {VK_OEM_1, 0x27, SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, L";"},
    {VK_OEM_7, 0x28, SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, L"'"},
    {VK_OEM_COMMA, 0x33, SDLK_COMMA, SDL_SCANCODE_COMMA, L","},
    {VK_OEM_PERIOD, 0x34, SDLK_PERIOD, SDL_SCANCODE_PERIOD, L"."},
    {VK_OEM_2, 0x35, SDLK_SLASH, SDL_SCANCODE_SLASH, L"/"},
    {VK_OEM_102, 0x56, 0, SDL_SCANCODE_NONUSBACKSLASH, L"<"},
    {VK_NUMPAD0 + 0, 0x52, SDLK_KP_0, SDL_SCANCODE_KP_0, L"Num 0"},
    {VK_NUMPAD0 + 1, 0x4f, SDLK_KP_1, SDL_SCANCODE_KP_1, L"Num 1"},
    {VK_NUMPAD0 + 2, 0x50, SDLK_KP_2, SDL_SCANCODE_KP_2, L"Num 2"},
    {VK_NUMPAD0 + 3, 0x51, SDLK_KP_3, SDL_SCANCODE_KP_3, L"Num 3"},
    {VK_NUMPAD0 + 4, 0x4b, SDLK_KP_4, SDL_SCANCODE_KP_4, L"Num 4"},
    {VK_NUMPAD0 + 5, 0x4c, SDLK_KP_5, SDL_SCANCODE_KP_5, L"Num 5"},
    {VK_NUMPAD0 + 6, 0x4d, SDLK_KP_6, SDL_SCANCODE_KP_6, L"Num 6"},
    {VK_NUMPAD0 + 7, 0x47, SDLK_KP_7, SDL_SCANCODE_KP_7, L"Num 7"},
    {VK_NUMPAD0 + 8, 0x48, SDLK_KP_8, SDL_SCANCODE_KP_8, L"Num 8"},
    {VK_NUMPAD0 + 9, 0x49, SDLK_KP_9, SDL_SCANCODE_KP_9, L"Num 9"},
    {VK_MULTIPLY, 0x37, SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, L"Num *"},
    {VK_ADD, 0x4e, SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, L"Num +"},
    {VK_SUBTRACT, 0x4a, SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, L"Num -"},
    {VK_DECIMAL, 0x53, SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, L"Num ."},
    {VK_DIVIDE, 0xe035, SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, L"Num /"},
    {VK_RETURN, 0xe01c, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, L"Num Enter"},
    {VK_VOLUME_MUTE, 0xe020, SDLK_AUDIOMUTE, SDL_SCANCODE_AUDIOMUTE, L"Mute"},
    {VK_VOLUME_DOWN, 0xe02e, SDLK_VOLUMEDOWN, SDL_SCANCODE_VOLUMEDOWN, L"Volume Down"},
    {VK_VOLUME_UP, 0xe030, SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, L"Volume Up"},
    {VK_MEDIA_NEXT_TRACK, 0xe019, SDLK_AUDIONEXT, SDL_SCANCODE_AUDIONEXT, L"Next Track"},
    {VK_MEDIA_PREV_TRACK, 0xe010, SDLK_AUDIOPREV, SDL_SCANCODE_AUDIOPREV, L"Previous Track"},
    {VK_MEDIA_STOP, 0xe024, SDLK_AUDIOSTOP, SDL_SCANCODE_AUDIOSTOP, L"Stop"},
    {VK_MEDIA_PLAY_PAUSE, 0xe022, SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY, L"Play/Pause"},
    {VK_LAUNCH_MAIL, 0xe06c, SDLK_MAIL, SDL_SCANCODE_MAIL, L"Mail"},
    {VK_LAUNCH_MEDIA_SELECT, 0xe06d, SDLK_MEDIASELECT, SDL_SCANCODE_MEDIASELECT, L"Media"},
    {VK_LAUNCH_APP1, 0xe06b, SDLK_COMPUTER, SDL_SCANCODE_COMPUTER, L"My Computer"},
    {VK_LAUNCH_APP2, 0xe021, SDLK_CALCULATOR, SDL_SCANCODE_CALCULATOR, L"Calculator"},
    {VK_BROWSER_BACK, 0xe06a, SDLK_AC_BACK, SDL_SCANCODE_AC_BACK, L"Browser Back"},
    {VK_BROWSER_FORWARD, 0xe069, SDLK_AC_FORWARD, SDL_SCANCODE_AC_FORWARD, L"Browser Forward"},
    {VK_BROWSER_REFRESH, 0xe067, SDLK_AC_REFRESH, SDL_SCANCODE_AC_REFRESH, L"Browser Refresh"},
    {VK_BROWSER_STOP, 0xe068, SDLK_AC_STOP, SDL_SCANCODE_AC_STOP, L"Browser Stop"},
    {VK_BROWSER_SEARCH, 0xe065, SDLK_AC_SEARCH, SDL_SCANCODE_AC_SEARCH, L"Browser Search"},
    {VK_BROWSER_FAVORITES, 0xe066, SDLK_AC_BOOKMARKS, SDL_SCANCODE_AC_BOOKMARKS, L"Browser Favorites"},
    {VK_BROWSER_HOME, 0xe032, SDLK_AC_HOME, SDL_SCANCODE_AC_HOME, L"Browser Home"},
    {VK_SLEEP, 0xe05f, SDLK_SLEEP, SDL_SCANCODE_SLEEP, L"Sleep"},
};
// clang-format on

struct Index {
  std::unordered_map<int32_t, const KeyInfo*> byKeycode;
  std::unordered_map<int32_t, const KeyInfo*> byScancode;
  std::unordered_map<UINT, const KeyInfo*> byVk;
  Index() {
    for (const KeyInfo& k : kKeys) {
      if (k.sdlKeycode) byKeycode.emplace(k.sdlKeycode, &k);
      if (k.sdlScancode) byScancode.emplace(k.sdlScancode, &k);
      byVk.emplace(k.vk, &k);  // the first row of a key wins (Enter before Num Enter)
    }
  }
};

const Index& TheIndex() {
  static const Index index;
  return index;
}

}  // namespace

UINT VirtualKeyFromSdl(int32_t sdlKeycode, int32_t sdlScancode) {
  const Index& index = TheIndex();
  auto k = index.byKeycode.find(sdlKeycode);
  if (k != index.byKeycode.end()) return k->second->vk;
  auto s = index.byScancode.find(sdlScancode);
  if (s != index.byScancode.end()) return s->second->vk;
  return 0;
}

const KeyInfo* FindKey(UINT vk) {
  switch (vk) {
    case VK_SHIFT: vk = VK_LSHIFT; break;
    case VK_CONTROL: vk = VK_LCONTROL; break;
    case VK_MENU: vk = VK_LMENU; break;
    default: break;
  }
  const Index& index = TheIndex();
  auto it = index.byVk.find(vk);
  return it == index.byVk.end() ? nullptr : it->second;
}

std::wstring GetKeyName(UINT vk) {
  const KeyInfo* k = FindKey(vk);
  return k ? std::wstring(k->name) : std::wstring();
}

namespace {
bool TypesCharacter(UINT vk) {
  return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || (vk >= 186 && vk <= 192) ||
         (vk >= 219 && vk <= 223) || vk == 226;
}
}  // namespace

std::wstring GetLayoutKeyName(UINT vk) {
  const KeyInfo* k = FindKey(vk);
  if (!k) return std::wstring();
  if (!TypesCharacter(vk) || ActiveBackend() != WindowBackend::Sdl) return k->name;
  const char* name = SDL_GetKeyName(SDL_GetKeyFromScancode(SDL_Scancode(k->sdlScancode)));
  // SDL names a character key by its character (lower case for letters);
  // keys are labelled in upper case.
  const std::wstring text = name ? FromUtf8(name) : std::wstring();
  if (text.empty()) return k->name;
  std::wstring upper;
  for (wchar_t c : text) upper += wchar_t(std::towupper(c));
  return upper;
}

UINT ScanCodeFromVirtualKey(UINT vk) {
  const KeyInfo* k = FindKey(vk);
  return k ? k->scanCode : 0;
}

const KeyInfo* KeyTableBegin() { return std::begin(kKeys); }
const KeyInfo* KeyTableEnd() { return std::end(kKeys); }

}  // namespace platform
