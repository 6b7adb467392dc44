#pragma once
// "orvane --list": finds and identifies the supported mice and prints one
// line per opened interface, then, per identified mouse, the settings read
// from it (DPI stages with colours, selected stage and count, report rate,
// lift-off, sensor and power options, light mode), or says that none was
// found. With --simulate it lists the simulated mice instead of the
// machine's.

namespace app {

// True when the arguments ask for the listing; simulate tells whether they
// also ask for the simulated mice.
bool IsListCommand(int argc, char** argv, bool& simulate);

// Prints the listing to stdout; returns the process exit code (0 when a
// mouse was listed, 1 when none was found).
int RunListCommand(bool simulate);

}  // namespace app
