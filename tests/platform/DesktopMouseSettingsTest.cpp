// The desktop's own mouse settings: the program each desktop opens them
// with, the PATH search, and the choice of the first installed program.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "platform/shell/DesktopMouseSettings.h"

namespace {

namespace fs = std::filesystem;
using platform::DesktopCommand;

TEST(DesktopMouseSettings, EachDesktopHasItsSettingsProgram) {
  const struct Case {
    const char* desktop;  // as XDG_CURRENT_DESKTOP holds it
    std::vector<DesktopCommand> expected;
  } cases[] = {
      {"GNOME", {{"gnome-control-center", {"mouse"}}}},
      {"ubuntu:GNOME", {{"gnome-control-center", {"mouse"}}}},
      {"GNOME-Flashback:GNOME", {{"gnome-control-center", {"mouse"}}}},
      {"KDE", {{"systemsettings", {"kcm_mouse"}}, {"systemsettings5", {"kcm_mouse"}}}},
      {"kde", {{"systemsettings", {"kcm_mouse"}}, {"systemsettings5", {"kcm_mouse"}}}},
      {"XFCE", {{"xfce4-mouse-settings", {}}}},
      {"X-Cinnamon", {{"cinnamon-settings", {"mouse"}}}},
      {"MATE", {{"mate-mouse-properties", {}}}},
      {"LXQt", {{"lxqt-config-input", {}}}},
      {"Unknown:XFCE", {{"xfce4-mouse-settings", {}}}},  // the first known name decides
      {"MATE:GNOME", {{"mate-mouse-properties", {}}}},
      {"", {}},
      {"Hyprland", {}},
      {"GNOMEish", {}},  // whole names only
      {":", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::MouseSettingsCommands(c.desktop), c.expected) << c.desktop;
}

class DesktopMouseSettingsPath : public ::testing::Test {
 protected:
  // An executable (or, with mode 0644, a plain) file in a folder of the temporary folder.
  fs::path Program(const std::string& folder, const std::string& name, mode_t mode = 0755) {
    const fs::path dir = temp_.Path() / folder;
    fs::create_directories(dir);
    const fs::path file = dir / name;
    std::ofstream(file) << "#!/bin/sh\nexit 0\n";
    ::chmod(file.c_str(), mode);
    return file;
  }
  std::string Folder(const std::string& folder) const { return (temp_.Path() / folder).string(); }

  testenv::TempDir temp_;
};

TEST_F(DesktopMouseSettingsPath, TheSearchFindsTheFirstExecutableFile) {
  const fs::path first = Program("a", "xfce4-mouse-settings");
  const fs::path second = Program("b", "xfce4-mouse-settings");
  Program("c", "xfce4-mouse-settings", 0644);
  fs::create_directories(temp_.Path() / "d" / "xfce4-mouse-settings");  // a folder of that name
  const std::string a = Folder("a"), b = Folder("b"), c = Folder("c"), d = Folder("d");
  EXPECT_EQ(platform::FindInPath("xfce4-mouse-settings", a + ":" + b), first);
  EXPECT_EQ(platform::FindInPath("xfce4-mouse-settings", b + ":" + a), second);
  EXPECT_EQ(platform::FindInPath("xfce4-mouse-settings", c + ":" + d + ":" + b), second);
  EXPECT_EQ(platform::FindInPath("xfce4-mouse-settings", c + ":" + d), fs::path());
  EXPECT_EQ(platform::FindInPath("xfce4-mouse-settings", ""), fs::path());
  EXPECT_EQ(platform::FindInPath("../a/xfce4-mouse-settings", b), fs::path());  // names only
}

TEST_F(DesktopMouseSettingsPath, TheFirstInstalledProgramOfTheDesktopIsChosen) {
  Program("plasma5", "systemsettings5");
  Program("plasma6", "systemsettings");
  Program("plasma6", "gnome-control-center");
  const std::string five = Folder("plasma5"), six = Folder("plasma6"), none = Folder("none");
  const struct Case {
    const char* desktop;
    std::string path;
    std::optional<DesktopCommand> expected;
  } cases[] = {
      {"KDE", five, DesktopCommand{"systemsettings5", {"kcm_mouse"}}},
      {"KDE", five + ":" + six, DesktopCommand{"systemsettings", {"kcm_mouse"}}},  // the newer name first
      {"GNOME", six, DesktopCommand{"gnome-control-center", {"mouse"}}},
      {"GNOME", five, std::nullopt},
      {"XFCE", five + ":" + six, std::nullopt},
      {"", six, std::nullopt},
      {"KDE", none, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::InstalledMouseSettings(c.desktop, c.path), c.expected) << c.desktop << " in " << c.path;
  }
}

TEST_F(DesktopMouseSettingsPath, TheProgramStartsWithItsArgumentsAndNoShell) {
  // A program that writes its arguments where the test can read them.
  const fs::path out = temp_.Path() / "arguments.txt";
  const fs::path dir = temp_.Path() / "bin";
  fs::create_directories(dir);
  const fs::path program = dir / "record-arguments";
  std::ofstream(program) << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << out.string() << "'\n";
  ::chmod(program.c_str(), 0755);
  const char* oldPath = std::getenv("PATH");
  const std::string saved = oldPath != nullptr ? oldPath : "";
  ::setenv("PATH", (dir.string() + ":" + saved).c_str(), 1);
  pid_t child = -1;
  const bool started = platform::StartDetached({"record-arguments", {"mouse", "a b;$(true)"}}, &child);
  ::setenv("PATH", saved.c_str(), 1);
  ASSERT_TRUE(started);
  // The reaping thread owns the child; wait for the file instead.
  for (int i = 0; i < 500 && !(fs::exists(out) && fs::file_size(out) > 0); ++i) ::usleep(10000);
  std::ifstream in(out);
  std::string written;
  std::getline(in, written);
  EXPECT_EQ(written, "mouse|a b;$(true)|");
  EXPECT_FALSE(platform::StartDetached({"no-such-program-anywhere", {}}));
}

}  // namespace
