#include "toolkit/core/Manager.h"

#include <mutex>

namespace DUI {

namespace {
// The names are written on the window thread during start-up and read from
// other threads later, so they are guarded.
std::mutex g_lock;
std::wstring g_dev_name = L"Velmora";
std::wstring g_fontname = L"Open Sans Semibold";
void* g_instance = nullptr;
}  // namespace

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

void Manager::SetInstance(void* instance) {
  std::lock_guard lock(g_lock);
  g_instance = instance;
}

void* Manager::GetInstance() {
  std::lock_guard lock(g_lock);
  return g_instance;
}

}  // namespace DUI
