#include "shell/AppNames.h"

#include <mutex>

namespace shell {

namespace {
std::mutex g_lock;
std::wstring g_applicationName = kDefaultApplicationName;  // guarded by g_lock
std::wstring g_fontName = kDefaultFontName;                // guarded by g_lock
}  // namespace

std::wstring ApplicationName() {
  std::lock_guard lock(g_lock);
  return g_applicationName;
}

void SetApplicationName(const std::wstring& name) {
  std::lock_guard lock(g_lock);
  g_applicationName = name;
}

std::wstring FontName() {
  std::lock_guard lock(g_lock);
  return g_fontName;
}

void SetFontName(const std::wstring& name) {
  std::lock_guard lock(g_lock);
  g_fontName = name;
}

}  // namespace shell
