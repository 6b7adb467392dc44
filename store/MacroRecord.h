#pragma once
// MacroRecord: one macro (a row of t_macro_data), shared by every profile of
// the database.

#include <string>

struct MacroRecord {
  int macro_id = 0;
  std::wstring name;
  int play_type = 0;   // 0 = a number of times, 1 and 2 = the two loop modes
  int play_times = 1;  // times to play for play type 0
  int delay_type = 1;  // 0 no delays, 1 recorded delays, 2 fixed delay
  int delay_time = 0;  // the fixed delay in milliseconds
};
