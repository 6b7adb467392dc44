#include "platform/shell/OpenAddress.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cwctype>
#include <string>
#include <thread>

#include "platform/Text.h"

extern char** environ;

namespace platform {

namespace {

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::towlower(static_cast<wint_t>(text[i])) != static_cast<wint_t>(prefix[i])) return false;
  }
  return true;
}

}  // namespace

bool IsOpenableAddress(std::wstring_view address) {
  for (const wchar_t c : address) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return (StartsWithNoCase(address, L"http://") && address.size() > 7) ||
         (StartsWithNoCase(address, L"https://") && address.size() > 8) ||
         (StartsWithNoCase(address, L"mailto:") && address.size() > 7);
}

bool OpenAddress(std::wstring_view address, pid_t* child) {
  if (!IsOpenableAddress(address)) return false;
  std::string program = "xdg-open";
  std::string argument = ToUtf8(address);
  char* argv[] = {program.data(), argument.data(), nullptr};

  // The handler starts in a session of its own with default signal handling,
  // so nothing the program blocks or catches leaks into the browser.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none;
  sigemptyset(&none);
  sigset_t all;
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, program.c_str(), nullptr, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) return false;
  if (child != nullptr) *child = pid;
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace platform
