#pragma once
// The program's command line as one text, and the options that decide how
// the window starts.

#include <string>
#include <string_view>

namespace app {

// The arguments after the program name joined by single blanks, converted
// from UTF-8.
std::wstring CommandLineText(int argc, const char* const* argv);

// "-hide" counts wherever it stands, also inside a longer word ("x-hidey"),
// and only in small letters.
bool HasHideOption(std::wstring_view commandLine);

// "-autorun", the argument the start-with-the-system entry adds, as a word
// of its own (small letters only).
bool HasAutorunOption(std::wstring_view commandLine);

// The window starts hidden in the notification area with "-hide", and when
// the desktop session starts the program ("-autorun") while the user chose
// to start minimised (per-user value "autorun_minimize" "1").
bool StartsHidden(std::wstring_view commandLine);

}  // namespace app
