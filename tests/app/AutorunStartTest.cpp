// Whether the window starts hidden: "-hide" always, "-autorun" (the
// start-with-the-system entry's argument) only with a minimised start.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestEnv.h"
#include "app/CommandLine.h"
#include "app/MainWindowRun.h"
#include "shell/Environment.h"

namespace {

TEST(AutorunStart, TheEntrysStartHidesTheWindowOnlyWhenMinimisedIsChosen) {
  struct Case {
    const wchar_t* line;
    const wchar_t* minimize;  // "autorun_minimize"; null: no value
    bool hidden;
  } cases[] = {
      {L"-autorun", L"1", true},
      {L"-autorun", L"0", false},
      {L"-autorun", nullptr, false},
      {L"-autorun", L"", false},
      {L"--simulate -autorun", L"1", true},
      // Only the entry's start reads the choice.
      {L"", L"1", false},
      {L"--simulate", L"1", false},
      // A word of its own, in small letters.
      {L"-autorunx", L"1", false},
      {L"x-autorun", L"1", false},
      {L"-AUTORUN", L"1", false},
      // "-hide" hides whatever was chosen.
      {L"-hide", L"0", true},
      {L"-autorun -hide", L"0", true},
  };
  for (const Case& c : cases) {
    testenv::FreshUserFolders home;
    ASSERT_TRUE(shell::CreateRegistryKey());
    if (c.minimize != nullptr) {
      ASSERT_TRUE(shell::WriteRegistryText(L"autorun_minimize", c.minimize));
    }
    EXPECT_EQ(app::StartsHidden(c.line), c.hidden) << c.line << " / " << (c.minimize ? c.minimize : L"(none)");
  }
}

TEST(AutorunStart, TheRunOptionsOfTheEntrysCommandLine) {
  testenv::FreshUserFolders home;
  ASSERT_TRUE(shell::CreateRegistryKey());
  ASSERT_TRUE(shell::WriteRegistryText(L"autorun_minimize", L"1"));
  std::vector<std::string> words = {"/usr/bin/orvane", "-autorun"};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  app::MainRunOptions options;
  ASSERT_TRUE(app::ParseMainRunOptions(int(words.size()), argv.data(), options));
  EXPECT_TRUE(options.hide);

  ASSERT_TRUE(shell::WriteRegistryText(L"autorun_minimize", L"0"));
  app::MainRunOptions shown;
  ASSERT_TRUE(app::ParseMainRunOptions(int(words.size()), argv.data(), shown));
  EXPECT_FALSE(shown.hide);
}

}  // namespace
