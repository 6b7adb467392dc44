#pragma once
// RawKeyEvent: one key or button press or release as the window's key
// capture decodes it from its own input messages, for the key page's key
// capture, the macro recorder and the event editor.

#include <cstdint>
#include <string>

namespace ui {

struct RawKeyEvent {
  enum Kind : int { kMouse = 1, kKeyboard = 2, kOther = 3 };
  int kind = 0;
  int up = 0;         // 0 press, 1 release
  int code = 0;       // mouse button mask or virtual-key code
  std::wstring name;  // empty: ignore the event
  // When the input message was queued (milliseconds of the window system's
  // clock), so delays do not depend on how late the message was handled.
  std::uint32_t time = 0;
  // 1 for a press the keyboard's auto-repeat sent while the key was held.
  int repeat = 0;
};

// What a capture uses the events for.
enum RawInputMode : int {
  kRawInputNone = 0,
  kRawInputRecord = 1,       // the macro recorder
  kRawInputKeyCapture = 10,  // the key page's key field
  kRawInputEventEditor = 12, // the event editor's key field
};

}  // namespace ui
