#pragma once
// Starting the program and test helpers as child processes, with bounded
// waits only.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace services_test {

class ChildProcess {
 public:
  // Starts the program with the arguments; its stdout and stderr go to files
  // read back with Output() and Errors(). Running() is false when it failed.
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args);
  ~ChildProcess();  // kills and reaps a child still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // Waits up to the time-out; true when the child ended (ExitCode is valid).
  bool WaitExit(std::chrono::milliseconds timeout);
  bool Running();
  int ExitCode() const { return exitCode_; }
  std::string Output() const;
  std::string Errors() const;

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  int exitCode_ = -1;
  std::filesystem::path out_;
  std::filesystem::path err_;
};

// Runs a program to its end (at most 20 s) and returns its exit code, -1 on
// a time-out.
int RunToEnd(const std::filesystem::path& program, const std::vector<std::string>& args,
             std::string* errors = nullptr, std::string* output = nullptr);

// Polls the condition every 10 ms until it holds or the time-out passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

}  // namespace services_test
