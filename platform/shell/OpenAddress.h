#pragma once
// Opening a web or mail address with the desktop's handler (xdg-open).

#include <sys/types.h>

#include <string_view>

namespace platform {

// True for the addresses the program opens: http, https and mailto, with no
// control characters. Anything else (files, scripts, options) is refused.
bool IsOpenableAddress(std::wstring_view address);

// Starts "xdg-open <address>" without a shell and without waiting; a thread
// of its own reaps the child when it ends. False when the address is refused
// or xdg-open cannot be started. The child's id goes to *child when given.
bool OpenAddress(std::wstring_view address, pid_t* child = nullptr);

}  // namespace platform
