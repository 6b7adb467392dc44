#pragma once
// Whether a (macro_type, macro_value, macro_value2) triple is a function of
// the button-function code table: a fixed row (types 1, 3, 5, 6, 8, 9) or a
// rule-based one within its bounds (2 keyboard key, 4 macro, 7 repeat). Used
// to check assignments that come from outside the program, such as an
// imported profile file, before they are stored.

namespace mouseproto {

// True for a function the key-write job can turn into an entry. A macro
// assignment (type 4) passes with any macro id above 0; whether that macro
// exists is the caller's to check.
bool IsButtonFunction(int macro_type, int macro_value, int macro_value2);

}  // namespace mouseproto
