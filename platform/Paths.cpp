#include "platform/Paths.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

fs::path AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return {};
  fs::path p(value);
  return p.is_absolute() ? p : fs::path();
}

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

fs::path ExecutableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path();
}

fs::path HomeFolder() {
  fs::path home = AbsoluteEnv("HOME");
  if (!home.empty()) return home;
  struct passwd pwd {};
  struct passwd* result = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &pwd, buffer, sizeof buffer, &result) == 0 && result != nullptr &&
      result->pw_dir != nullptr) {
    fs::path p(result->pw_dir);
    if (p.is_absolute()) return p;
  }
  return {};
}

fs::path UserDataRoot() {
  fs::path p = AbsoluteEnv("XDG_DATA_HOME");
  if (!p.empty()) return p;
  const fs::path home = HomeFolder();
  return home.empty() ? fs::path() : home / ".local" / "share";
}

fs::path UserConfigRoot() {
  fs::path p = AbsoluteEnv("XDG_CONFIG_HOME");
  if (!p.empty()) return p;
  const fs::path home = HomeFolder();
  return home.empty() ? fs::path() : home / ".config";
}

fs::path UserRuntimeRoot() { return AbsoluteEnv("XDG_RUNTIME_DIR"); }

bool IsSafeFolderName(std::wstring_view name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  for (wchar_t c : name) {
    if (c == L'/' || c == L'\0') return false;
  }
  return true;
}

bool CreateFolderPath(const fs::path& path) {
  if (path.empty() || !path.is_absolute()) return false;
  std::error_code ec;
  if (fs::is_directory(path, ec)) return true;
  fs::create_directories(path, ec);
  return fs::is_directory(path, ec);
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  if (path.empty() || !path.has_filename()) return false;
  const fs::path folder = path.parent_path();
  std::string tmpl = (folder / (path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(tmpl.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(tmpl.c_str());
    return false;
  }
  // Make the rename itself durable.
  const int dirfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirfd >= 0) {
    ::fsync(dirfd);
    ::close(dirfd);
  }
  return true;
}

}  // namespace platform
