#pragma once
// KeyRecord: one button assignment of one profile (a row of t_key_macro_data).
// What macro_type, macro_value and macro_value2 mean is the button-function
// code table of the device layer.

#include <string>

struct KeyRecord {
  int key_id = 0;
  int profile = 0;
  int fn_layer = 0;  // always 0
  int key_code = 0;  // the button, 0 = left
  int layout_value = 0;
  std::wstring layout_desc;
  int macro_type = 0;
  int macro_value = 0;
  int macro_value2 = 0;
  int macro_value3 = 0;
  std::wstring macro_desc;  // the text shown for the assignment
};
