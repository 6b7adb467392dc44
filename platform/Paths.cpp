#include "platform/Paths.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
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
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
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

namespace {

std::string ErrorText(int e) { return std::generic_category().message(e); }

// The file a write to path lands in: symbolic links are followed, also a
// dangling one, so that the file it names is created or replaced rather
// than the link itself.
fs::path ResolveLinks(const fs::path& path) {
  fs::path target = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) break;
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

std::atomic<unsigned> g_tempCounter{0};

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::string* error) {
  auto fail = [&](const std::string& text) {
    if (error != nullptr) *error = text;
    return false;
  };
  if (path.empty() || !path.has_filename()) return fail(ErrorText(EINVAL));
  const fs::path target = ResolveLinks(path);
  const fs::path folder = target.parent_path();
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (S_ISDIR(existing.st_mode)) return fail(ErrorText(EISDIR));
    // A file the user may not write is refused as a direct write would be,
    // although the rename alone would succeed in a writable folder.
    if (::access(target.c_str(), W_OK) != 0) return fail(ErrorText(errno));
  }
  // Created as a direct write would create it: 0666 less the umask.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = target.string() + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(g_tempCounter++);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return fail(ErrorText(errno));
  int failed = 0;
  if (!WriteAll(fd, bytes)) failed = errno;
  if (failed == 0 && exists && ::fchmod(fd, existing.st_mode & 07777) != 0) failed = errno;
  if (failed == 0 && ::fsync(fd) != 0) failed = errno;
  if (::close(fd) != 0 && failed == 0) failed = errno;
  if (failed == 0 && ::rename(temp.c_str(), target.c_str()) != 0) failed = errno;
  if (failed != 0) {
    ::unlink(temp.c_str());
    return fail(ErrorText(failed));
  }
  // Make the rename itself durable. The new content is in place already, so
  // a folder that cannot be synced does not turn the write into a failure.
  const int dirfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirfd >= 0) {
    ::fsync(dirfd);
    ::close(dirfd);
  }
  if (error != nullptr) error->clear();
  return true;
}

}  // namespace platform
