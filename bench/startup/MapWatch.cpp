#include "MapWatch.h"

#include <X11/Xlib.h>
#include <poll.h>

MapWatch::MapWatch(const std::string& display) {
  display_ = XOpenDisplay(display.c_str());
  if (display_ == nullptr) return;
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  XSync(display_, False);
}

MapWatch::~MapWatch() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

void MapWatch::Drain() {
  XSync(display_, False);
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
  }
}

bool MapWatch::WaitForMap(std::chrono::milliseconds timeout, std::chrono::steady_clock::time_point& when) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) {
        when = std::chrono::steady_clock::now();
        return true;
      }
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{ConnectionNumber(display_), POLLIN, 0};
    poll(&p, 1, int(left.count()));
  }
}
