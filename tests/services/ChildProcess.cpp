#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "TestEnv.h"

extern char** environ;

namespace services_test {

namespace fs = std::filesystem;

namespace {
std::atomic<int> g_counter{0};
}

ChildProcess::ChildProcess(const fs::path& program, const std::vector<std::string>& args) {
  const fs::path base = fs::temp_directory_path() /
                        ("orvane-child-" + std::to_string(::getpid()) + "-" + std::to_string(g_counter++));
  out_ = base.string() + ".out";
  err_ = base.string() + ".err";
  std::vector<std::string> all;
  all.push_back(program.string());
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !reaped_) {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  std::error_code ec;
  fs::remove(out_, ec);
  fs::remove(err_, ec);
}

bool ChildProcess::WaitExit(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return false;
  return WaitUntil([this] { return !Running(); }, timeout);
}

bool ChildProcess::Running() {
  if (pid_ <= 0 || reaped_) return false;
  int status = 0;
  const pid_t r = ::waitpid(pid_, &status, WNOHANG);
  if (r == 0) return true;
  reaped_ = true;
  if (r == pid_ && WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
  else if (r == pid_ && WIFSIGNALED(status)) exitCode_ = 128 + WTERMSIG(status);
  return false;
}

std::string ChildProcess::Output() const { return testenv::ReadFile(out_); }
std::string ChildProcess::Errors() const { return testenv::ReadFile(err_); }

int RunToEnd(const fs::path& program, const std::vector<std::string>& args, std::string* errors,
             std::string* output) {
  ChildProcess child(program, args);
  if (!child.WaitExit(std::chrono::seconds(20))) return -1;
  if (errors != nullptr) *errors = child.Errors();
  if (output != nullptr) *output = child.Output();
  return child.ExitCode();
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace services_test
