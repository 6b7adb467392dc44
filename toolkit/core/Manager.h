#pragma once
// Manager: the toolkit's process-wide settings (application name, default
// font, theme folder). The program sets them before it creates windows.

#include <string>

namespace DUI {

class Manager {
 public:
  // The application name: names the per-user values, the data folder, the
  // single-instance lock and the main window. Default "Velmora".
  static void SetDeviceName(const std::wstring& name);
  static std::wstring GetDeviceName();

  static void SetFontName(const std::wstring& name);
  static std::wstring GetFontName();

  // The theme folder inside the skin folder (a constant).
  static std::wstring GetTheme() { return L"theme1/"; }

  static void SetInstance(void* instance);
  static void* GetInstance();
};

}  // namespace DUI
