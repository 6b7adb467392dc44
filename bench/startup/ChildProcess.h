#pragma once
// ChildProcess: a program started with posix_spawn in a given environment,
// its output sent to a file, ended (SIGTERM, then SIGKILL) with the object.

#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
               const std::string& outputFile);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  bool Running();
  // SIGTERM, a grace of two seconds, then SIGKILL; waits for the end.
  void End();

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
};

// The environment of this process with the given NAME=VALUE entries set and
// the named variables removed.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& set, const std::vector<std::string>& unset);
