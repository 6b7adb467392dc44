#pragma once
// MapWatch: an Xlib connection to the bench's X server that sees every
// top-level window being mapped (SubstructureNotify on the root window).
// There is no window manager, so the map of the program's window is the
// moment it appears on the screen.

#include <chrono>
#include <string>

struct _XDisplay;

class MapWatch {
 public:
  explicit MapWatch(const std::string& display);
  ~MapWatch();
  MapWatch(const MapWatch&) = delete;
  MapWatch& operator=(const MapWatch&) = delete;

  bool Open() const { return display_ != nullptr; }
  // Forgets the maps seen so far.
  void Drain();
  // Waits for the next top-level window that is mapped (override-redirect
  // popups excepted); the time it was seen, or nothing after the time-out.
  bool WaitForMap(std::chrono::milliseconds timeout, std::chrono::steady_clock::time_point& when);

 private:
  _XDisplay* display_ = nullptr;
};
