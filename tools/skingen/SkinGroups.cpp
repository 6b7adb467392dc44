#include "SkinGroups.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

std::vector<SkinGroup>& Groups() {
  static std::vector<SkinGroup> groups;
  return groups;
}

}  // namespace

bool RegisterSkinGroup(SkinGroup group) {
  Groups().push_back(group);
  return true;
}

std::vector<SkinGroup> SkinGroups() {
  std::vector<SkinGroup> sorted = Groups();
  std::sort(sorted.begin(), sorted.end(),
            [](const SkinGroup& a, const SkinGroup& b) { return std::strcmp(a.name, b.name) < 0; });
  return sorted;
}

}  // namespace skin
