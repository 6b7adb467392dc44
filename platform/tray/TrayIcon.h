#pragma once
// TrayIcon: the program's notification-area icon as a StatusNotifierItem on
// the session D-Bus, with a DBusMenu that holds exactly one item (command
// 100, the quit text). It runs on a thread of its own. Without a session bus
// or without a StatusNotifierWatcher the program runs on without a tray; it
// says so once through the log, and registers as soon as a watcher appears.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/tray/TrayEvents.h"

namespace platform {

struct TrayOptions {
  std::wstring toolTip;   // the application name
  std::wstring menuText;  // the quit item's text
  std::wstring aboutText; // the About item's text; empty: no About item
  std::string iconName = "input-mouse";
  // Optional picture: width x height ARGB32 pixels, row by row.
  int iconWidth = 0;
  int iconHeight = 0;
  std::vector<std::uint32_t> iconPixels;
  std::string busAddress;  // empty: the user's session bus
  std::function<void(const std::string&)> log;  // empty: standard error
};

// Add and Remove come from one thread (the window thread); the setters and
// getters may come from any thread, but not while Add or Remove runs.
class TrayIcon {
 public:
  // The menu item's command.
  static constexpr unsigned kQuitCommand = 100;
  static constexpr int kQuitItemId = 100;
  static constexpr unsigned kAboutCommand = 102;
  static constexpr int kAboutItemId = 102;

  enum class State { Stopped, NoBus, NoWatcher, Registered };

  TrayIcon(TrayOptions options, TrayEvents* events);
  ~TrayIcon();  // removes the icon
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Connects and starts the tray thread. False when there is no session bus
  // (logged once); the program goes on without a tray.
  bool Add();
  // Takes the icon off the bus and ends the thread.
  void Remove();

  // New texts (after a language change); hosts are told at once.
  void SetMenuText(const std::wstring& text);
  void SetAboutText(const std::wstring& text);
  void SetToolTip(const std::wstring& text);

  State GetState() const;
  // The item's well-known bus name while it is added.
  std::string ServiceName() const;

  struct Impl;  // defined beside the bus callbacks that use it

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
