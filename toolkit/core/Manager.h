#pragma once
// Manager: the toolkit's process-wide settings (application name, default
// font, accent colour, theme folder) and the process's message loop. The
// program sets them before it creates windows.

#include <atomic>
#include <filesystem>
#include <string>

#include "toolkit/core/Color.h"
#include "toolkit/core/WinTypes.h"

namespace DUI {

class Manager {
 public:
  // The application name: names the per-user values, the data folder, the
  // single-instance lock and the main window. Default "Velmora".
  static void SetDeviceName(const std::wstring& name);
  static std::wstring GetDeviceName();

  // Default font of every text control: "Open Sans Semibold", 14 pixels.
  static void SetFontName(const std::wstring& name);
  static std::wstring GetFontName();
  static void SetFont(const std::wstring& name, int size);
  static int GetFontWidth();

  // The accent colour of selected and highlighted states; the program reads
  // and writes it directly (window thread only).
  static Color m_select_color;
  static Color GetSelectColor() { return m_select_color; }

  // The folder of the program's read-only files (skins/, font/,
  // resources/): the executable's folder unless the program names another,
  // as an installed program does (<prefix>/share/<name>/). An empty path
  // returns to the executable's folder.
  static void SetProgramFolder(const std::filesystem::path& folder);
  static std::filesystem::path GetProgramFolder();

  // The theme folder inside the skin folder (a constant).
  static std::wstring GetTheme() { return L"theme1/"; }

  static void SetInstance(void* instance);
  static void* GetInstance();

  // Starts the window and drawing system (the backend is chosen by the
  // environment: ORVANE_HEADLESS=1 or SDL). False when none can start.
  static bool InitGdiplus();
  static void UnInitGdiplus();
  // Runs the thread's messages until WM_QUIT; returns its exit code.
  static int MessageLoop();
  // 1 exactly while Alt and F4 are both held: those messages are dropped.
  static int PreTranslateMessage(MSG* msg);

  // The pause after each paint, which caps the repaint rate of a busy
  // window (default 15 ms; tests and benchmarks set 0).
  static void SetPaintPause(int ms);
  static int GetPaintPause();

  static UINT m_uControlID;

 private:
  static std::atomic<int> m_fontwidth;
  static std::atomic<int> m_paintPause;
  static std::atomic<bool> m_gdiplusStarted;
};

}  // namespace DUI
