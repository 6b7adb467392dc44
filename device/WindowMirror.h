#pragma once
// WindowMirror: the part of the window's state the worker asks about (the
// device list's connection states and selection, the DPI stages shown),
// kept beside the window so that the worker reads it without waiting for
// the window thread. DeviceObserverRelay holds one as the window last
// published it and applies to a copy the changes it has posted since.
//
// The list rules are the device list control's: a device is online while
// either of its two connection states is above 0; the selection is an
// index among the online devices, taken back to the first when the list
// gets shorter; selecting a device that is not online selects the first.

#include <array>
#include <cstddef>
#include <vector>

struct WindowMirror {
  struct Listed {
    int type = 0;
    int wired = 0;     // connection state of mode 0
    int wireless = 0;  // connection state of mode 1
  };
  static constexpr int kStages = 7;

  // With the window's list published, devices it does not list are not
  // shown and changes to them are dropped; before that (a window that
  // publishes no list) a device appears on its first state change.
  bool listKnown = false;
  std::vector<Listed> devices;  // in list order
  int select = 0;               // index among the online devices, -1 none
  int stageCount = 0;
  int stage = 0;
  std::array<int, kStages> stageDpi{};

  int OnlineCount() const;
  int SelectedType() const;

  void SetAllStates(int state);
  void SetState(int type, int mode, int online);
  void Select(int type);
  void SetStageDpi(int index, int dpi);

 private:
  std::vector<int> OnlineTypes() const;
  // The list shortens: a selection past its end goes back to the first.
  void ClampSelection();
};
