#pragma once
// MacroEvent: one recorded step of a macro (a row of t_macrorecord). Events
// are always read in ascending record_index.

#include <string>

struct MacroEvent {
  int record_id = 0;
  int macro_id = 0;
  int type = 0;          // 1 delay, 2/3 key press/release, 4/5 button press/release
  int record_index = 0;  // position in the macro from 0
  int value = 0;         // milliseconds, virtual-key code or button mask
  int delay_time = 0;    // the event's stamp in the record list
  std::wstring desc;     // the text shown in the list
};
