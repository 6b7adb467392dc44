#pragma once
// The desktop's own mouse settings: which program the running desktop
// (XDG_CURRENT_DESKTOP) opens its mouse settings with, whether it is
// installed (searched in PATH), and starting it without a shell.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace platform {

struct DesktopCommand {
  std::string program;  // a name looked up in PATH
  std::vector<std::string> arguments;
  bool operator==(const DesktopCommand&) const = default;
};

// The programs that open the mouse settings of the desktops named in
// currentDesktop, a colon-separated list as XDG_CURRENT_DESKTOP holds it
// ("ubuntu:GNOME"), best first. Names compare without regard to case; the
// first name that is a known desktop decides. Empty for unknown desktops.
std::vector<DesktopCommand> MouseSettingsCommands(std::string_view currentDesktop);

// The first executable file named program in the colon-separated
// searchPath (empty entries mean the current folder, as for execvp);
// empty when there is none.
std::filesystem::path FindInPath(std::string_view program, std::string_view searchPath);

// The first of MouseSettingsCommands that is installed; nothing when the
// desktop is unknown or none of its programs is found.
std::optional<DesktopCommand> InstalledMouseSettings(std::string_view currentDesktop, std::string_view searchPath);
// The same for this process's XDG_CURRENT_DESKTOP and PATH.
std::optional<DesktopCommand> InstalledMouseSettings();

// Starts the command without a shell and without waiting, in a session of
// its own; a thread reaps it. False when it cannot be started.
bool StartDetached(const DesktopCommand& command, pid_t* child = nullptr);

}  // namespace platform
