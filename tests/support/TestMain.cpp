// Shared main of the test executables: a fresh temporary home for the whole
// run, and slow cases (test names starting with "Slow") only when
// ORVANE_SLOW_TESTS is set.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TestEnv.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (std::getenv("ORVANE_SLOW_TESTS") == nullptr) {
    std::string filter = testing::GTEST_FLAG(filter);
    if (filter.find('-') == std::string::npos) filter += "-";
    else filter += ":";
    filter += "Slow*:*.Slow*";
    testing::GTEST_FLAG(filter) = filter;
  }
  testenv::FreshUserFolders home;  // lives for the whole run
  return RUN_ALL_TESTS();
}
