#pragma once
// SimulatedDpiButton: the demonstration mode's stand-in for a finger on the
// mouse's DPI button. While it lives, SIGUSR1 (`kill -USR1 <pid>`) makes
// every simulated mouse step to its next DPI stage and send the DPI-change
// report, as the button on a real mouse does; the program then reacts as it
// does to the real report. End-to-end scripts drive the running program's
// DPI message with it.
//
// The signal handler only writes a byte into a pipe; a thread of this object
// reads it and presses the buttons, so nothing unsafe runs inside the
// handler, whichever thread the signal lands on. One object at a time.

#include <memory>
#include <thread>
#include <vector>

class SimulatedHid;

namespace app {

class SimulatedDpiButton {
 public:
  SimulatedDpiButton(std::shared_ptr<SimulatedHid> bus, std::vector<int> mice);
  ~SimulatedDpiButton();
  SimulatedDpiButton(const SimulatedDpiButton&) = delete;
  SimulatedDpiButton& operator=(const SimulatedDpiButton&) = delete;

  // False when the pipe, the handler or the thread could not be set up (or
  // another object holds the signal); the program then runs without it.
  bool Listening() const { return listening_; }

  // One press on each mouse: the stage after the selected one, the first
  // after the last.
  static void Press(SimulatedHid& bus, const std::vector<int>& mice);

 private:
  void Run();

  std::shared_ptr<SimulatedHid> bus_;
  std::vector<int> mice_;
  int pipe_[2] = {-1, -1};
  bool listening_ = false;
  std::thread thread_;
};

}  // namespace app
