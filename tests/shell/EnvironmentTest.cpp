#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "TestEnv.h"
#include "platform/Paths.h"
#include "platform/UserValues.h"
#include "shell/Environment.h"
#include "toolkit/core/Manager.h"

namespace fs = std::filesystem;

namespace {

// The home folder the system's password database gives the user, when it is
// absolute; read here without the program's helpers.
fs::path PasswordDatabaseHome() {
  struct passwd pwd {};
  struct passwd* result = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &pwd, buffer, sizeof buffer, &result) != 0 || result == nullptr || !result->pw_dir)
    return {};
  const fs::path dir(result->pw_dir);
  return dir.is_absolute() ? dir : fs::path();
}

// Every case starts with fresh user folders and the default application name.
class EnvironmentTest : public ::testing::Test {
 protected:
  void SetUp() override { DUI::Manager::SetDeviceName(L"Velmora"); }
  void TearDown() override { DUI::Manager::SetDeviceName(L"Velmora"); }
  testenv::FreshUserFolders home_;
};

}  // namespace

TEST_F(EnvironmentTest, FoldersAreNamedAfterTheApplication) {
  EXPECT_EQ(shell::DatabaseFolder(), home_.DataHome() / "Velmora Files" / "db");
  DUI::Manager::SetDeviceName(L"Abc");
  EXPECT_EQ(shell::DataFolder(), home_.DataHome() / "Abc Files");
  ASSERT_TRUE(shell::CreateRegistryKey());
  EXPECT_EQ(platform::UserValues(L"Abc").File(), home_.ConfigHome() / "Abc" / "values");
  EXPECT_TRUE(fs::exists(home_.ConfigHome() / "Abc" / "values"));
}

TEST_F(EnvironmentTest, DataFolderFallsBackToHomeAndRefusesRelativeRoots) {
  // A relative root is no root: a relative XDG_DATA_HOME falls back to HOME,
  // and a relative or missing HOME to the user's entry in the password
  // database. Without an absolute home there is no folder at all
  // rather than one below the current directory.
  const fs::path home = home_.Root() / "home";
  const fs::path dataHome = home_.DataHome();
  const fs::path passwdHome = PasswordDatabaseHome();
  const fs::path fromPasswd = passwdHome.empty() ? fs::path() : passwdHome / ".local" / "share" / "Velmora Files";
  struct Case {
    const char* xdgDataHome;  // nullptr: unset
    const char* home;         // nullptr: unset
    fs::path expected;
  } cases[] = {
      {nullptr, home.c_str(), home / ".local" / "share" / "Velmora Files"},
      {"relative/data", home.c_str(), home / ".local" / "share" / "Velmora Files"},
      {"", home.c_str(), home / ".local" / "share" / "Velmora Files"},
      {"relative/data", "also/relative", fromPasswd},
      {nullptr, nullptr, fromPasswd},
      {dataHome.c_str(), "also/relative", dataHome / "Velmora Files"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.xdgDataHome ? c.xdgDataHome : "(unset)") + " / " + (c.home ? c.home : "(unset)"));
    if (c.xdgDataHome) ::setenv("XDG_DATA_HOME", c.xdgDataHome, 1);
    else ::unsetenv("XDG_DATA_HOME");
    if (c.home) ::setenv("HOME", c.home, 1);
    else ::unsetenv("HOME");
    EXPECT_EQ(shell::DataFolder(), c.expected);
  }
  EXPECT_FALSE(shell::CreateFolderPath("relative/db"));
  EXPECT_FALSE(fs::exists("relative"));
  EXPECT_FALSE(shell::CreateFolderPath(""));
  ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
  ::setenv("HOME", home.c_str(), 1);
}

TEST_F(EnvironmentTest, UnsafeApplicationNamesGiveNoFolder) {
  for (const wchar_t* name : {L"", L"..", L"a/b"}) {
    DUI::Manager::SetDeviceName(name);
    EXPECT_TRUE(shell::DataFolder().empty());
    EXPECT_FALSE(shell::CreateRegistryKey());
    EXPECT_EQ(shell::ReadRegistryInt(L"exit_mode"), 0);
  }
}

TEST_F(EnvironmentTest, CreateFolderPathBuildsEveryMissingParent) {
  const fs::path deep = home_.DataHome() / "a" / "b" / "c";
  EXPECT_TRUE(shell::CreateFolderPath(deep));
  EXPECT_TRUE(fs::is_directory(deep));
  EXPECT_TRUE(shell::CreateFolderPath(deep));  // already there
  testenv::WriteFile(home_.DataHome() / "file", "x");
  EXPECT_FALSE(shell::CreateFolderPath(home_.DataHome() / "file"));  // a file is in the way
}

TEST_F(EnvironmentTest, RegistryValuesFollowKeyRules) {
  // Writing before the key exists writes nothing.
  EXPECT_FALSE(shell::WriteRegistryInt(L"exit_mode", 1));
  EXPECT_FALSE(shell::RegistryKeyExists());

  // Reading "DeviceType" never creates the key; other values do.
  EXPECT_EQ(shell::ReadRegistryInt(L"DeviceType"), 0);
  EXPECT_FALSE(shell::RegistryKeyExists());
  EXPECT_EQ(shell::ReadRegistryInt(L"exit_mode"), 0);
  EXPECT_TRUE(shell::RegistryKeyExists());

  EXPECT_TRUE(shell::WriteRegistryInt(L"exit_mode", 1));
  EXPECT_TRUE(shell::WriteRegistryInt(L"DeviceType", -3));
  EXPECT_EQ(shell::ReadRegistryInt(L"exit_mode"), 1);
  EXPECT_EQ(shell::ReadRegistryInt(L"DeviceType"), -3);
  EXPECT_EQ(shell::ReadRegistryInt(L"autorun_minimize"), 0);  // missing value

  const platform::UserValues key(DUI::Manager::GetDeviceName());
  struct Case {
    const wchar_t* text;
    int expected;
  } cases[] = {{L"abc", 0}, {L"12abc", 12}, {L" 7", 7}, {L"", 0}, {L"-1", -1}};
  for (const auto& c : cases) {
    ASSERT_TRUE(key.Write(L"DeviceType", c.text));
    EXPECT_EQ(shell::ReadRegistryInt(L"DeviceType"), c.expected);
  }
}

TEST_F(EnvironmentTest, ValuesFileIsRewrittenWholeAndSurvivesGarbage) {
  ASSERT_TRUE(shell::CreateRegistryKey());
  const platform::UserValues key(DUI::Manager::GetDeviceName());
  // Line breaks and '=' in names would corrupt the file; they are refused.
  EXPECT_FALSE(key.Write(L"a=b", L"1"));
  EXPECT_FALSE(key.Write(L"x", L"1\nLCID=5"));
  EXPECT_TRUE(key.Write(L"LCID", L"1041"));

  // A hand-edited file with junk lines still yields the good values.
  testenv::WriteFile(key.File(), "junk\n=5\nLCID=1042\r\nexit_mode=1\n");
  EXPECT_EQ(shell::ReadRegistryInt(L"LCID"), 1042);
  EXPECT_EQ(shell::ReadRegistryInt(L"exit_mode"), 1);
  EXPECT_TRUE(shell::WriteRegistryInt(L"DeviceType", 2));
  EXPECT_EQ(shell::ReadRegistryInt(L"LCID"), 1042);
  // No temporary files are left behind.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(key.File().parent_path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(DpiDecision, ScreenSizeAndScale) {
  struct Case {
    int w, h, dpi;
    bool aware;
  } cases[] = {
      {1920, 1080, 144, true},   // 150 %
      {1920, 1080, 168, true},   // 175 %
      {1920, 1080, 192, true},   // 200 %
      {1920, 1080, 120, false},  // 125 %
      {1920, 1080, 96, false},
      {1920, 1080, 110, false},  // unusual DPI counts as 100 %
      {1366, 768, 96, true},     // small screen, whatever the scale
      {1366, 768, 192, true},
      {1400, 800, 96, false},
      {1399, 900, 96, true},
      {1600, 799, 96, true},
      {2560, 1440, 192, false},  // only 1920 x 1080 looks at the scale
  };
  for (const auto& c : cases)
    EXPECT_EQ(shell::NeedsDpiAwareness(c.w, c.h, c.dpi), c.aware) << c.w << "x" << c.h << "@" << c.dpi;
}
