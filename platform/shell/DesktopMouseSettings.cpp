#include "platform/shell/DesktopMouseSettings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/shell/Spawn.h"

namespace platform {

namespace {

struct DesktopEntry {
  const char* name;  // as XDG_CURRENT_DESKTOP spells it
  std::vector<DesktopCommand> commands;
};

const std::vector<DesktopEntry>& Desktops() {
  static const std::vector<DesktopEntry> desktops = {
      {"GNOME", {{"gnome-control-center", {"mouse"}}}},
      {"GNOME-Classic", {{"gnome-control-center", {"mouse"}}}},
      {"GNOME-Flashback", {{"gnome-control-center", {"mouse"}}}},
      // Plasma 6 names its settings program without the version, Plasma 5 with it.
      {"KDE", {{"systemsettings", {"kcm_mouse"}}, {"systemsettings5", {"kcm_mouse"}}}},
      {"XFCE", {{"xfce4-mouse-settings", {}}}},
      {"X-Cinnamon", {{"cinnamon-settings", {"mouse"}}}},
      {"Cinnamon", {{"cinnamon-settings", {"mouse"}}}},
      {"MATE", {{"mate-mouse-properties", {}}}},
      {"LXQt", {{"lxqt-config-input", {}}}},
  };
  return desktops;
}

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool IsExecutableFile(const std::filesystem::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(file.c_str(), X_OK) == 0;
}

}  // namespace

std::vector<DesktopCommand> MouseSettingsCommands(std::string_view currentDesktop) {
  size_t start = 0;
  while (start <= currentDesktop.size()) {
    const size_t end = std::min(currentDesktop.find(':', start), currentDesktop.size());
    const std::string_view name = currentDesktop.substr(start, end - start);
    for (const DesktopEntry& desktop : Desktops()) {
      if (SameNoCase(name, desktop.name)) return desktop.commands;
    }
    start = end + 1;
  }
  return {};
}

std::filesystem::path FindInPath(std::string_view program, std::string_view searchPath) {
  // A name with a slash is not searched for, and is not what this is for.
  if (program.empty() || program.find('/') != std::string_view::npos) return {};
  size_t start = 0;
  while (start <= searchPath.size()) {
    const size_t end = std::min(searchPath.find(':', start), searchPath.size());
    const std::string_view folder = searchPath.substr(start, end - start);
    const std::filesystem::path candidate =
        (folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder)) / std::string(program);
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

std::optional<DesktopCommand> InstalledMouseSettings(std::string_view currentDesktop, std::string_view searchPath) {
  for (const DesktopCommand& command : MouseSettingsCommands(currentDesktop)) {
    if (!FindInPath(command.program, searchPath).empty()) return command;
  }
  return std::nullopt;
}

std::optional<DesktopCommand> InstalledMouseSettings() {
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  const char* path = std::getenv("PATH");
  return InstalledMouseSettings(desktop != nullptr ? desktop : "", path != nullptr ? path : "");
}

bool StartDetached(const DesktopCommand& command, pid_t* child) {
  std::string program = command.program;
  std::vector<std::string> arguments = command.arguments;
  std::vector<char*> argv;
  argv.push_back(program.data());
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  return SpawnDetached(program.c_str(), argv.data(), child);
}

}  // namespace platform
