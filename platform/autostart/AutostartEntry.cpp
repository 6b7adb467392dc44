#include "platform/autostart/AutostartEntry.h"

#include <system_error>

#include "platform/Paths.h"
#include "platform/Text.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// The escapes of a desktop file's string values.
std::string EscapeString(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case ' ':
        out += (i == 0) ? "\\s" : " ";
        break;
      default: out += c;
    }
  }
  return out;
}

// One Exec argument in double quotes: inside them '"', '`', '$' and '\' take
// a backslash; '%' is doubled everywhere because it starts a field code.
std::string QuoteArgument(std::string_view arg) {
  std::string out = "\"";
  for (const char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    if (c == '%') out += '%';
    out += c;
  }
  out += '"';
  return out;
}

}  // namespace

AutostartEntry::AutostartEntry(std::wstring applicationName) : name_(std::move(applicationName)) {}

fs::path AutostartEntry::File() const {
  const fs::path root = UserConfigRoot();
  if (root.empty() || !IsSafeFolderName(name_)) return {};
  return root / "autostart" / (ToUtf8(name_) + ".desktop");
}

bool AutostartEntry::Exists() const {
  const fs::path file = File();
  std::error_code ec;
  return !file.empty() && fs::is_regular_file(file, ec);
}

std::string AutostartEntry::ExecLine(std::string_view executableUtf8) {
  return EscapeString(QuoteArgument(executableUtf8) + " -autorun");
}

bool AutostartEntry::Create(const fs::path& executable) const {
  const fs::path file = File();
  const std::string exe = executable.string();
  if (file.empty() || exe.empty() || !IsValidUtf8(exe) || !CreateFolderPath(file.parent_path())) return false;
  std::string text = "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += "Name=" + EscapeString(ToUtf8(name_)) + "\n";
  text += "Exec=" + ExecLine(exe) + "\n";
  text += "Terminal=false\n";
  text += "X-GNOME-Autostart-enabled=true\n";
  return WriteFileAtomically(file, text);
}

bool AutostartEntry::Remove() const {
  const fs::path file = File();
  if (file.empty()) return true;
  std::error_code ec;
  fs::remove(file, ec);
  return !fs::exists(file, ec);
}

fs::path AutostartEntry::RunningExecutable() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe;
}

}  // namespace platform
