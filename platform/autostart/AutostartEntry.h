#pragma once
// AutostartEntry: "start with the desktop session" as an XDG autostart file,
// $XDG_CONFIG_HOME/autostart/<app>.desktop, whose Exec line starts the given
// executable with " -autorun". The executable's path is quoted by the desktop
// entry rules, so paths with blanks, quotes, '$' or '%' start correctly.

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

class AutostartEntry {
 public:
  explicit AutostartEntry(std::wstring applicationName);

  // The entry's file; empty when there is no config folder or the
  // application name cannot name a file.
  std::filesystem::path File() const;

  bool Exists() const;
  // Writes the entry (atomically) for the executable. False when the file
  // cannot be written or the path is not valid UTF-8 (desktop files are
  // UTF-8, so such a path cannot be written down).
  bool Create(const std::filesystem::path& executable) const;
  // True when no entry is left afterwards.
  bool Remove() const;

  // The Exec value for the executable as it stands in the file: the path
  // quoted as one argument, '%' doubled, then the string escapes of the
  // file format applied, followed by " -autorun".
  static std::string ExecLine(std::string_view executableUtf8);

  // The path of the running executable (/proc/self/exe).
  static std::filesystem::path RunningExecutable();

 private:
  std::wstring name_;
};

}  // namespace platform
