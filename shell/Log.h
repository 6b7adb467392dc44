#pragma once
// The diagnostic log: printf-style lines from the device code. Lines go to
// "orvane.log" in the data folder and, when ORVANE_LOG is set, to stderr as
// well. Tests may install a sink that receives every line instead.

#include <functional>
#include <string>

namespace shell {

// Writes one line (no trailing newline needed). Safe from any thread.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces the file and stderr output by a function, or restores them when
// the function is empty. Meant for tests.
void SetLogSink(std::function<void(const std::string&)> sink);

}  // namespace shell
