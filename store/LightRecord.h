#pragma once
// LightRecord: one lighting effect of one profile (a row of t_light_data).
// The row whose status is 1 is the profile's current light mode.

#include <string>

struct LightRecord {
  int light_id = 0;
  int profile = 0;
  std::wstring name;
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  int direction = 0;
  int colorful = 0;
  int colorindex = 0;
  int color_value[7] = {};  // color_value1 .. color_value7
  int config_func = 0;
  int reserved = 0;  // text id of the mode's name
  int status = 0;
};
