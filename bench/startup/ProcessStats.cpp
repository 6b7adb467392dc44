#include "ProcessStats.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The number after "Name:" on a line of a /proc status file, or -1.
long long StatusField(const std::string& status, const std::string& name) {
  std::istringstream lines(status);
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > name.size() && line.compare(0, name.size(), name) == 0 && line[name.size()] == ':') {
      return std::atoll(line.c_str() + name.size() + 1);
    }
  }
  return -1;
}

}  // namespace

long ProcessStats::ResidentKb(pid_t pid) {
  const std::string status = ReadFile("/proc/" + std::to_string(pid) + "/status");
  return long(StatusField(status, "VmRSS"));
}

long long ProcessStats::CpuTicks(pid_t pid) {
  const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
  // The command name in parentheses may hold spaces: count fields after it.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(stat.substr(close + 2));
  std::vector<std::string> values;
  for (std::string f; fields >> f;) values.push_back(f);
  // Fields 14 and 15 of the file (utime, stime) are 12 and 13 after the name.
  if (values.size() < 13) return -1;
  return std::atoll(values[11].c_str()) + std::atoll(values[12].c_str());
}

long ProcessStats::TicksPerSecond() { return sysconf(_SC_CLK_TCK); }

std::map<std::string, long long> ProcessStats::ThreadWakeups(pid_t pid) {
  std::map<std::string, long long> wakeups;
  std::error_code error;
  std::vector<std::filesystem::path> tasks;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    tasks.push_back(entry.path());
  }
  // Thread ids in start order, so that "#2" names the same thread each run.
  std::sort(tasks.begin(), tasks.end(), [](const auto& a, const auto& b) {
    return std::atol(a.filename().c_str()) < std::atol(b.filename().c_str());
  });
  for (const auto& task : tasks) {
    std::string name = ReadFile(task / "comm");
    while (!name.empty() && name.back() == '\n') name.pop_back();
    const long long switches = StatusField(ReadFile(task / "status"), "voluntary_ctxt_switches");
    if (switches < 0) continue;
    std::string key = name;
    for (int n = 2; wakeups.count(key) != 0; ++n) key = name + "#" + std::to_string(n);
    wakeups[key] = switches;
  }
  return wakeups;
}
