#pragma once
// MainWindowHost: what the main window needs of the process around it: the
// notification-area icon, ending the process, opening addresses and the
// About window. The program gives the desktop's (DesktopHost); tests give a
// recorder, so that quitting and the tray can be asserted without ending the
// test process or needing a session bus.

#include <string>

#include "toolkit/core/WinTypes.h"

namespace ui {

struct TrayTexts {
  std::wstring toolTip;  // the application name
  std::wstring about;    // menu item 102, above quit
  std::wstring quit;     // menu item 100
};

class MainWindowHost {
 public:
  virtual ~MainWindowHost() = default;

  // Puts the icon into the notification area. False without a tray host:
  // the program runs on, and a second start is the way back to a hidden
  // window.
  virtual bool AddTray(const TrayTexts& texts) = 0;
  // New texts after a language change.
  virtual void SetTrayTexts(const TrayTexts& texts) = 0;
  // Takes the icon away; harmless when there is none.
  virtual void RemoveTray() = 0;
  virtual bool TrayShown() const = 0;
  // Ends the process at once with the exit code, without static destructors.
  // The window has removed the tray icon before.
  virtual void Quit(int code) = 0;
  virtual void OpenAddress(const std::wstring& address) = 0;
  // The About window, modal over owner.
  virtual void ShowAbout(HWND owner) = 0;
};

}  // namespace ui
