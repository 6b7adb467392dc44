#pragma once
// The last start-up step: the main window against the mice (real, or the
// simulated ones of the demo), run until the program quits, or rendered once
// into a PNG after the first read of the mouse.

#include <filesystem>
#include <string>

namespace app {

struct MainRunOptions {
  bool hide = false;      // the window is created but not shown (StartsHidden)
  bool simulate = false;  // --simulate: the simulated mice, "simulated" in the caption
  std::filesystem::path screenshot;  // --screenshot FILE: render headless and exit
  int tab = 1;            // --tab ID: the tab the screenshot shows (1 home)
};

// Reads --simulate, --screenshot FILE and --tab ID, and whether the window
// starts hidden ("-hide" anywhere, or "-autorun" with a minimised start). False with a message on standard error for a bad value.
bool ParseMainRunOptions(int argc, char** argv, MainRunOptions& options);

class SingleInstance;
}  // namespace app
namespace ui {
class DeviceMainDlg;
}
namespace app {

// Runs the window's queued jobs on the calling (window) thread, each
// followed by the window tasks it posted, until the queue is empty (bounded:
// a job may queue more).
void RunQueuedJobs(ui::DeviceMainDlg& dlg);

// Returns the process exit code (the quitting paths end the process
// themselves with 0). instance, when given, hands the requests of later
// starts to the window.
int RunMainWindow(const MainRunOptions& options, SingleInstance* instance);

}  // namespace app
