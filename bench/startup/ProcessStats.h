#pragma once
// ProcessStats: what /proc says about a running process: resident memory,
// CPU time, and per thread the voluntary context switches (each one a sleep
// the thread woke up from).

#include <sys/types.h>

#include <map>
#include <string>

class ProcessStats {
 public:
  // VmRSS in kilobytes; -1 when the process is gone.
  static long ResidentKb(pid_t pid);
  // utime + stime of all the process's threads, in clock ticks; -1 when gone.
  static long long CpuTicks(pid_t pid);
  static long TicksPerSecond();
  // Thread name (with "#n" after the first of a name) -> voluntary context
  // switches so far.
  static std::map<std::string, long long> ThreadWakeups(pid_t pid);
};
