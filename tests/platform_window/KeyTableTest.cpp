// The one key table: SDL keys to virtual keys, scan codes and names.

#include <SDL2/SDL_keycode.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/window/KeyTable.h"

using namespace platform;

namespace {

TEST(KeyTable, TranslatesSdlKeys) {
  const struct {
    int32_t keycode;
    int32_t scancode;
    UINT vk;
  } cases[] = {
      {SDLK_a, SDL_SCANCODE_A, 'A'},
      {SDLK_z, SDL_SCANCODE_Z, 'Z'},
      {SDLK_0, SDL_SCANCODE_0, '0'},
      {SDLK_F5, SDL_SCANCODE_F5, VK_F1 + 4},
      {SDLK_F24, SDL_SCANCODE_F24, VK_F24},
      {SDLK_KP_7, SDL_SCANCODE_KP_7, VK_NUMPAD0 + 7},
      {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
      {SDLK_RCTRL, SDL_SCANCODE_RCTRL, VK_RCONTROL},
      {SDLK_LALT, SDL_SCANCODE_LALT, VK_LMENU},
      {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, VK_NEXT},
      {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, VK_OEM_3},
      {SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY, VK_MEDIA_PLAY_PAUSE},
      // A layout where the key at A's place types another letter follows
      // the key code, as Windows virtual keys do.
      {SDLK_q, SDL_SCANCODE_A, 'Q'},
      // A non-Latin layout gives key codes outside the table: the scan code
      // decides (Cyrillic "ф" on the A key).
      {0x0444, SDL_SCANCODE_A, 'A'},
      {0x0444, SDL_SCANCODE_UNKNOWN, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(VirtualKeyFromSdl(c.keycode, c.scancode), c.vk) << "keycode " << c.keycode;
}

TEST(KeyTable, ScanCodesAndNames) {
  const struct {
    UINT vk;
    UINT scan;
    const wchar_t* name;
  } cases[] = {
      {'A', 0x1E, L"A"},          {VK_ESCAPE, 0x01, L"Esc"},    {VK_SHIFT, 0x2A, L"Shift"},
      {VK_CONTROL, 0x1D, L"Ctrl"}, {VK_RCONTROL, 0xE01D, L"Right Ctrl"},
      {VK_PRIOR, 0xE049, L"Page Up"}, {VK_NUMPAD0 + 3, 0x51, L"Num 3"}, {VK_RETURN, 0x1C, L"Enter"},
      {VK_F1 + 11, 0x58, L"F12"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScanCodeFromVirtualKey(c.vk), c.scan) << c.vk;
    EXPECT_EQ(GetKeyName(c.vk), c.name) << c.vk;
  }
  EXPECT_EQ(GetKeyName(0xFF), L"");
  EXPECT_EQ(FindKey(0xFF), nullptr);
}

TEST(KeyTable, RowsAreConsistent) {
  // No native key may map to two virtual keys, no scan code may belong to two
  // keys, and every row has a name.
  std::map<int32_t, UINT> byKeycode, byScancode;
  std::map<UINT, UINT> byScan;
  for (const KeyInfo* k = KeyTableBegin(); k != KeyTableEnd(); ++k) {
    EXPECT_NE(k->name[0], L'\0') << k->vk;
    EXPECT_NE(k->vk, 0u);
    if (k->sdlKeycode) {
      EXPECT_TRUE(byKeycode.emplace(k->sdlKeycode, k->vk).second) << k->vk;
    }
    EXPECT_TRUE(byScancode.emplace(k->sdlScancode, k->vk).second) << k->vk;
    EXPECT_TRUE(byScan.emplace(k->scanCode, k->vk).second) << std::hex << k->scanCode;
  }
  for (UINT c = 'A'; c <= 'Z'; ++c) EXPECT_NE(FindKey(c), nullptr);
  for (UINT c = '0'; c <= '9'; ++c) EXPECT_NE(FindKey(c), nullptr);
  for (UINT f = VK_F1; f <= VK_F24; ++f) EXPECT_NE(FindKey(f), nullptr);
}

}  // namespace
