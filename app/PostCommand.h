#pragma once
// "orvane --post MSG WPARAM LPARAM": posts one of the public messages to the
// running instance of the application (shell::ApplicationName).
//
// Exit codes: 0 when the instance took the message (also when it ignores a
// number that is not public: that is its answer), 1 when no instance runs,
// 2 when the arguments are not three decimal numbers.

#include <cstdio>

namespace app {

// True when the command line asks for a post ("--post" as first argument).
bool IsPostCommand(int argc, const char* const* argv);

// Runs the whole command for the program's argc/argv; messages go to err.
int RunPostCommand(int argc, const char* const* argv, std::FILE* err = stderr);

}  // namespace app
