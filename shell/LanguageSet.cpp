#include "shell/LanguageSet.h"

#include <mutex>

namespace shell {

namespace {
std::mutex g_lock;
std::set<int> g_ids;
}  // namespace

void LanguageSet::Clear() {
  std::lock_guard lock(g_lock);
  g_ids.clear();
}

void LanguageSet::Add(int id) {
  std::lock_guard lock(g_lock);
  g_ids.insert(id);
}

bool LanguageSet::Contains(int id) {
  std::lock_guard lock(g_lock);
  return g_ids.count(id) != 0;
}

std::set<int> LanguageSet::All() {
  std::lock_guard lock(g_lock);
  return g_ids;
}

}  // namespace shell
