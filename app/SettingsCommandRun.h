#pragma once
// The settings commands of the command line (--profile, --set, the profile
// and macro files; see ui/SettingsCommand.h). When an instance of the
// program runs, the command is handed to it over the single-instance socket
// and its window carries it out, so two processes never talk to the mouse at
// once. Otherwise this process runs the window headless against the mouse
// (or the simulated mice), carries the command out, runs the writes to
// completion and exits.

#include <cstdio>
#include <memory>

class Clock;

namespace app {

bool IsSettingsCommandLine(int argc, char** argv);

// Returns the exit code: 0 done, 1 refused (no mouse, a value the mouse does
// not take, a file that cannot be read or written), 2 a bad command line.
// A refused or bad command changes nothing. clock (tests: a virtual one)
// paces the headless run's talk with the mouse; null is the real clock.
int RunSettingsCommand(int argc, char** argv, std::FILE* out = stdout, std::FILE* err = stderr,
                       std::shared_ptr<Clock> clock = nullptr);

}  // namespace app
