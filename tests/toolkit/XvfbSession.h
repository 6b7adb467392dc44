#pragma once
// Running the gallery in a real window under Xvfb (SDL's X11 driver) and
// driving it with xdotool: finding the programs, child processes with their
// output read line by line, and a private X display.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace xvfb {

inline std::string FindProgram(const char* name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t end = dirs.find(':', start);
    const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::filesystem::path candidate = std::filesystem::path(dir) / name;
    if (!dir.empty() && access(candidate.c_str(), X_OK) == 0) return candidate.string();
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return {};
}

// What every end-to-end test of the gallery needs: the X server, xdotool
// and the built gallery. `missing` says which is not there (empty when all
// are), for the test's skip message.
struct GalleryTools {
  std::string xvfb;
  std::string xdotool;
  std::filesystem::path gallery;
  std::string missing;
};

inline GalleryTools FindGalleryTools(const std::filesystem::path& binDir) {
  GalleryTools tools{FindProgram("Xvfb"), FindProgram("xdotool"), binDir / "qelt_gallery", {}};
  if (tools.xvfb.empty()) {
    tools.missing = "Xvfb is not installed (scripts/install-deps.sh installs xvfb)";
  } else if (tools.xdotool.empty()) {
    tools.missing = "xdotool is not installed (scripts/install-deps.sh installs it)";
  } else if (!std::filesystem::exists(tools.gallery)) {
    tools.missing = "the gallery is not built: " + tools.gallery.string();
  }
  return tools;
}

// A child process started with posix_spawn, stdout piped when asked, and
// ended (SIGTERM, then SIGKILL) when the object goes away.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv, bool pipeOut) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
      std::string entry = *e;
      bool replaced = false;
      for (const std::string& x : extraEnv) {
        if (entry.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0) replaced = true;
      }
      if (!replaced) env.push_back(entry);
    }
    for (const std::string& x : extraEnv) env.push_back(x);
    std::vector<char*> args, envp;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int fds[2] = {-1, -1};
    if (pipeOut && pipe(fds) == 0) {
      posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
      posix_spawn_file_actions_addclose(&actions, fds[0]);
    } else {
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (fds[1] >= 0) close(fds[1]);
    out_ = fds[0];
  }
  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      for (int i = 0; i < 100 && !Exited(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (!Exited()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
      }
    }
    if (out_ >= 0) close(out_);
  }
  bool Started() const { return pid_ > 0; }
  // Waits for the child to end; false after the time-out.
  bool Wait(int timeoutMs) {
    for (int waited = 0; pid_ > 0 && !Exited(); waited += 10) {
      if (waited >= timeoutMs) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  // Reads stdout lines until one starts with prefix; "" after the time-out.
  std::string WaitForLine(const std::string& prefix, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
      size_t nl;
      while ((nl = buffer_.find('\n')) != std::string::npos) {
        std::string line = buffer_.substr(0, nl);
        buffer_.erase(0, nl + 1);
        lines_.push_back(line);
        if (line.rfind(prefix, 0) == 0) return line;
      }
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, 50) > 0) {
        char chunk[512];
        const ssize_t n = read(out_, chunk, sizeof chunk);
        if (n <= 0) return {};
        buffer_.append(chunk, size_t(n));
      }
    }
    return {};
  }
  const std::vector<std::string>& Lines() const { return lines_; }
  // The exit code once the child has ended (Wait), else -1.
  int ExitCode() { return Exited() ? exitCode_ : -1; }

 private:
  bool Exited() {
    if (done_) return true;
    int status = 0;
    done_ = waitpid(pid_, &status, WNOHANG) == pid_;
    if (done_) exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return done_;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  bool done_ = false;
  int exitCode_ = -1;
  std::string buffer_;
  std::vector<std::string> lines_;
};

inline bool RunAndWait(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
  Child c(argv, env, false);
  return c.Started() && c.Wait(10000);
}

// Runs a command to its end and gives its exit code (-1: it did not start or
// end within ten seconds).
inline int RunForExitCode(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
  Child c(argv, env, false);
  if (!c.Started() || !c.Wait(10000)) return -1;
  return c.ExitCode();
}

// Waits until a window with exactly this title is mapped (shown) or, with
// shown false, until none is; false when that does not happen in time. A
// loaded machine maps windows late: scripts wait for them instead of
// sleeping a fixed time.
inline bool WaitForWindow(const std::string& xdotool, const std::vector<std::string>& env, const std::string& title,
                          bool shown, int timeoutMs = 10000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    const int code = RunForExitCode({xdotool, "search", "--onlyvisible", "--name", "^" + title + "$"}, env);
    if ((code == 0) == shown) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// An Xvfb server on a display number nobody uses, ended with the object.
class Display {
 public:
  Display(const std::string& xvfb, int width, int height) {
    display_ = 90 + int(getpid() % 100);
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(display_))) ++display_;
    name_ = ":" + std::to_string(display_);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    server_ = std::make_unique<Child>(
        std::vector<std::string>{xvfb, name_, "-screen", "0", screen, "-noreset", "-nolisten", "tcp"},
        std::vector<std::string>{}, false);
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display_);
    for (int i = 0; i < 250 && !std::filesystem::exists(socket); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ready_ = server_->Started() && std::filesystem::exists(socket);
  }
  bool Ready() const { return ready_; }
  const std::string& Name() const { return name_; }
  // The environment a program needs to open its windows here with SDL.
  std::vector<std::string> Env() const { return {"DISPLAY=" + name_, "SDL_VIDEODRIVER=x11", "ORVANE_HEADLESS=0"}; }

 private:
  int display_ = 0;
  std::string name_;
  std::unique_ptr<Child> server_;
  bool ready_ = false;
};

}  // namespace xvfb
