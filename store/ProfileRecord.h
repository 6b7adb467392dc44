#pragma once
// ProfileRecord: one row of t_profile_data, a named set of mouse settings.

#include <string>

struct ProfileRecord {
  int profile = 0;     // id assigned by the database: 1, 2, 3, ... in creation order
  std::wstring name;   // display name
  int status = 0;      // 1 for the current profile, 0 for the others
  std::wstring app;    // always empty for the profiles the program creates
  int type = 0;        // always 0 for the profiles the program creates
};
