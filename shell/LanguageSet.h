#pragma once
// The set of installed language ids, filled from the catalog before anything
// else reads it. Membership is the only question asked of it.

#include <set>

namespace shell {

class LanguageSet {
 public:
  static void Clear();
  static void Add(int id);
  static bool Contains(int id);
  static std::set<int> All();
};

}  // namespace shell
