#include "TestEnv.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testenv {

namespace fs = std::filesystem;

namespace {
const char* const kVars[4] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"};
}

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "orvane-test-XXXXXX").string();
  if (::mkdtemp(tmpl.data()) != nullptr) path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!path_.empty()) fs::remove_all(path_, ec);
}

FreshUserFolders::FreshUserFolders() {
  const fs::path values[4] = {Root() / "home", DataHome(), ConfigHome(), RuntimeDir()};
  for (int i = 0; i < 4; ++i) {
    if (const char* old = std::getenv(kVars[i])) {
      had_[i] = true;
      saved_[i] = old;
    }
    fs::create_directories(values[i]);
    ::setenv(kVars[i], values[i].c_str(), 1);
  }
  fs::permissions(RuntimeDir(), fs::perms::owner_all, fs::perm_options::replace);
}

FreshUserFolders::~FreshUserFolders() {
  for (int i = 0; i < 4; ++i) {
    if (had_[i]) ::setenv(kVars[i], saved_[i].c_str(), 1);
    else ::unsetenv(kVars[i]);
  }
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const fs::path& file, const std::string& bytes) {
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

fs::path SourceDir() { return ORVANE_SOURCE_DIR; }
fs::path TestsDir() { return ORVANE_TESTS_DIR; }
fs::path BinDir() { return ORVANE_BIN_DIR; }

}  // namespace testenv
