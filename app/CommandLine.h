#pragma once
// The program's command line as one text, and the one option it knows.

#include <string>
#include <string_view>

namespace app {

// The arguments after the program name joined by single blanks, converted
// from UTF-8.
std::wstring CommandLineText(int argc, const char* const* argv);

// "-hide" counts wherever it stands, also inside a longer word ("x-hidey"),
// and only in small letters.
bool HasHideOption(std::wstring_view commandLine);

}  // namespace app
