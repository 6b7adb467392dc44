#pragma once
// "orvane --inspect": prints the control tree of the running instance's
// window, one line per control (see DUI::ControlTreeDump for the format).
// It only reads: the running instance changes nothing to answer.
//
// Exit codes: 0 with the tree on out, 1 when no instance of the same user
// runs, 3 when the instance has no window to describe or did not answer in
// time, 2 for extra arguments.

#include <cstdio>

#include "platform/instance/InstanceLock.h"

namespace app {

// True when the command line asks for an inspection ("--inspect" first).
bool IsWindowDumpCommand(int argc, const char* const* argv);

// Runs the whole command for the program's argc/argv.
int RunWindowDumpCommand(int argc, const char* const* argv, std::FILE* out = stdout, std::FILE* err = stderr,
                      const platform::InstanceOptions& options = {});

}  // namespace app
