#include "shell/Log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "shell/Environment.h"

namespace shell {

namespace {

// A log that grew past this size is started afresh when the program opens it.
constexpr std::uintmax_t kMaxLogBytes = 4u * 1024u * 1024u;

std::mutex g_lock;
std::function<void(const std::string&)> g_sink;
std::FILE* g_file = nullptr;
bool g_fileTried = false;

std::FILE* LogFile() {
  if (g_fileTried) return g_file;
  g_fileTried = true;
  const std::filesystem::path folder = DataFolder();
  if (folder.empty() || !CreateFolderPath(folder)) return nullptr;
  const std::filesystem::path file = folder / "orvane.log";
  std::error_code ec;
  const bool tooLarge = std::filesystem::file_size(file, ec) > kMaxLogBytes && !ec;
  g_file = std::fopen(file.c_str(), tooLarge ? "w" : "a");
  return g_file;
}

}  // namespace

void Log(const char* format, ...) {
  char small[512];
  std::va_list args;
  va_start(args, format);
  std::va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string line;
  if (needed < 0) {
    line = format;
  } else if (static_cast<size_t>(needed) < sizeof small) {
    line.assign(small, static_cast<size_t>(needed));
  } else {
    line.resize(static_cast<size_t>(needed) + 1);
    std::vsnprintf(line.data(), line.size(), format, copy);
    line.resize(static_cast<size_t>(needed));
  }
  va_end(copy);

  std::lock_guard<std::mutex> hold(g_lock);
  if (g_sink) {
    g_sink(line);
    return;
  }
  if (std::FILE* file = LogFile()) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fflush(file);
  }
  if (std::getenv("ORVANE_LOG") != nullptr) std::fprintf(stderr, "%s\n", line.c_str());
}

void SetLogSink(std::function<void(const std::string&)> sink) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_sink = std::move(sink);
}

}  // namespace shell
