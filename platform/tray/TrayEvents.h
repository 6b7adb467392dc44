#pragma once
// What the user does with the tray icon, handed to the main window.

namespace platform {

// Called on the tray's own thread, one call at a time: an implementation
// posts the event into its window's message queue and returns at once.
class TrayEvents {
 public:
  virtual ~TrayEvents() = default;

  // Left click or double click on the icon: the activation of message 1690
  // (show the window normally and raise it).
  virtual void OnTrayActivate() = 0;

  // An item of the icon's menu was chosen; the menu's one item is command
  // 100, which quits.
  virtual void OnTrayCommand(unsigned command) = 0;
};

}  // namespace platform
