#include "toolkit/core/Manager.h"

#include <mutex>

#include "platform/Paths.h"
#include "platform/window/Window.h"

namespace DUI {

namespace {
// The names are written on the window thread during start-up and read from
// other threads later, so they are guarded.
std::mutex g_lock;
std::wstring g_dev_name = L"Velmora";
std::wstring g_fontname = L"Open Sans Semibold";
void* g_instance = nullptr;
std::filesystem::path g_programFolder;  // empty: the executable's folder
}  // namespace

Color Manager::m_select_color{0xFFFA373E};
UINT Manager::m_uControlID = 0;
std::atomic<int> Manager::m_fontwidth{14};
std::atomic<int> Manager::m_paintPause{15};
std::atomic<bool> Manager::m_gdiplusStarted{false};

void Manager::SetProgramFolder(const std::filesystem::path& folder) {
  std::lock_guard lock(g_lock);
  g_programFolder = folder;
}

std::filesystem::path Manager::GetProgramFolder() {
  {
    std::lock_guard lock(g_lock);
    if (!g_programFolder.empty()) return g_programFolder;
  }
  return platform::ExecutableFolder();
}

void Manager::SetDeviceName(const std::wstring& name) {
  std::lock_guard lock(g_lock);
  g_dev_name = name;
}

std::wstring Manager::GetDeviceName() {
  std::lock_guard lock(g_lock);
  return g_dev_name;
}

void Manager::SetFontName(const std::wstring& name) {
  std::lock_guard lock(g_lock);
  g_fontname = name;
}

std::wstring Manager::GetFontName() {
  std::lock_guard lock(g_lock);
  return g_fontname;
}

void Manager::SetFont(const std::wstring& name, int size) {
  SetFontName(name);
  m_fontwidth = size;
}

int Manager::GetFontWidth() { return m_fontwidth.load(); }

void Manager::SetInstance(void* instance) {
  std::lock_guard lock(g_lock);
  g_instance = instance;
}

void* Manager::GetInstance() {
  std::lock_guard lock(g_lock);
  return g_instance;
}

bool Manager::InitGdiplus() {
  const bool ok = platform::InitWindowSystem(platform::WindowBackend::Auto);
  m_gdiplusStarted = ok;
  return ok;
}

void Manager::UnInitGdiplus() {
  if (m_gdiplusStarted.exchange(false)) platform::ShutdownWindowSystem();
}

int Manager::PreTranslateMessage(MSG* msg) {
  (void)msg;
  const bool alt = platform::GetKeyState(VK_MENU) < 0;
  const bool f4 = platform::GetKeyState(VK_F1 + 3) < 0;
  return (alt && f4) ? 1 : 0;
}

int Manager::MessageLoop() {
  MSG msg;
  while (platform::GetMessage(&msg)) {
    if (PreTranslateMessage(&msg)) continue;
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void Manager::SetPaintPause(int ms) { m_paintPause = ms < 0 ? 0 : ms; }

int Manager::GetPaintPause() { return m_paintPause.load(); }

}  // namespace DUI
