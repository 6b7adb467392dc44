#include "ui/RawKeyDecoder.h"

#include "platform/window/KeyTable.h"

namespace ui {

using DUI::LPARAM;
using DUI::UINT;
using DUI::WPARAM;

namespace {

constexpr int kShift = 16, kCtrl = 17, kAlt = 18, kEnter = 13;
constexpr int kLeftShift = 160, kRightShift = 161, kLeftCtrl = 162, kRightCtrl = 163, kLeftAlt = 164,
              kRightAlt = 165;
constexpr int kNumEnter = 108, kYen = 137, kOemClear = 255;
constexpr UINT kRightShiftScan = 0x36, kYenScan = 0x7D;

UINT ScanCode(LPARAM lParam) { return UINT((uint64_t(lParam) >> 16) & 0xFF); }
bool Extended(LPARAM lParam) { return (uint64_t(lParam) >> 24) & 1; }

// Navigation codes as the keypad sends them with NumLock off.
int KeypadCode(int vk) {
  switch (vk) {
    case 12: return 101;  // Clear: keypad 5
    case 33: return 105;
    case 34: return 99;
    case 35: return 97;
    case 36: return 103;
    case 37: return 100;
    case 38: return 104;
    case 39: return 102;
    case 40: return 98;
    case 45: return 96;
    case 46: return 110;
    default: return vk;
  }
}

struct FixedName {
  int code;
  const wchar_t* name;
};
constexpr FixedName kFixedNames[] = {
    {19, L"Pause"},        {44, L"Print Screen"}, {91, L"Windows"}, {92, L"RWindows"}, {93, L"Application"},
    {144, L"Num Lock"},    {160, L"Shift"},       {161, L"RShift"}, {162, L"Ctrl"},    {163, L"RCtrl"},
    {164, L"Alt"},         {165, L"RAlt"},        {kNumEnter, L"Num Enter"},           {kYen, L"\uFFE5"},
};

}  // namespace

bool RawKeyDecoder::IsKeyMessage(UINT msg) {
  switch (msg) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP: case WM_CHAR: case WM_SYSCHAR:
      return true;
    default:
      return false;
  }
}

bool RawKeyDecoder::IsButtonMessage(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN: case WM_XBUTTONUP:
      return true;
    default:
      return false;
  }
}

int RawKeyDecoder::KeyCode(UINT vk, LPARAM lParam) {
  const int code = int(vk);
  const bool extended = Extended(lParam);
  switch (code) {
    case kShift: return ScanCode(lParam) == kRightShiftScan ? kRightShift : kLeftShift;
    case kCtrl: return extended ? kRightCtrl : kLeftCtrl;
    case kAlt: return extended ? kRightAlt : kLeftAlt;
    case kEnter: return extended ? kNumEnter : kEnter;
    case kOemClear: return ScanCode(lParam) == kYenScan ? kYen : code;
    default: break;
  }
  return extended ? code : KeypadCode(code);
}

std::wstring RawKeyDecoder::KeyName(int code) {
  for (const FixedName& f : kFixedNames) {
    if (f.code == code) return f.name;
  }
  if (code <= 0 || code > 0xFF) return std::wstring();
  return platform::GetLayoutKeyName(UINT(code));
}

bool RawKeyDecoder::Decode(UINT msg, WPARAM wParam, LPARAM lParam, std::uint32_t time, RawKeyEvent& event) {
  event = RawKeyEvent();
  event.time = time;
  if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYUP) {
    event.kind = RawKeyEvent::kKeyboard;
    event.up = (msg == WM_KEYUP || msg == WM_SYSKEYUP) ? 1 : 0;
    // Bit 30 is the key's previous state: a press of a key already down is
    // the keyboard's auto-repeat.
    event.repeat = (!event.up && ((uint64_t(lParam) >> 30) & 1)) ? 1 : 0;
    event.code = KeyCode(UINT(wParam), lParam);
    event.name = KeyName(event.code);
    return true;
  }
  if (!IsButtonMessage(msg)) return false;
  event.kind = RawKeyEvent::kMouse;
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: event.code = 1, event.name = L"LB"; break;
    case WM_LBUTTONUP: event.code = 1, event.name = L"LB", event.up = 1; break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: event.code = 2, event.name = L"RB"; break;
    case WM_RBUTTONUP: event.code = 2, event.name = L"RB", event.up = 1; break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: event.code = 4, event.name = L"MB"; break;
    case WM_MBUTTONUP: event.code = 4, event.name = L"MB", event.up = 1; break;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP: {
      event.up = msg == WM_XBUTTONUP ? 1 : 0;
      const int which = int((uint64_t(wParam) >> 16) & 0xFFFF);
      if (which == 1) event.code = 8, event.name = L"Backward";
      if (which == 2) event.code = 16, event.name = L"Forward";
      break;
    }
    default: break;
  }
  return true;
}

}  // namespace ui
