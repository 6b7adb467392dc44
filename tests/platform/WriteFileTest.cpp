// The durable whole-file write: what lands where, which permission bits the
// file ends with, what is refused with which text, and that nothing but the
// target changes in its folder.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "TestEnv.h"
#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// A direct write is the reference for what may be written: the durable
// write refuses exactly what open(O_WRONLY) would refuse.
bool DirectWriteAllowed(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

mode_t ModeOf(const fs::path& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
  return st.st_mode & 07777;
}

class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : saved_(::umask(mask)) {}
  ~ScopedUmask() { ::umask(saved_); }

 private:
  mode_t saved_;
};

struct Case {
  const char* name;
  // Prepares the folder; returns the path handed to the write.
  std::function<fs::path(const fs::path& dir)> setup;
  bool ok;
  const char* error;     // the failure text; "" for success
  const char* lands;     // the file that holds the new bytes (relative), or ""
  mode_t mode;           // its permission bits afterwards
  const char* unchanged; // a file whose old bytes must survive, or ""
};

}  // namespace

TEST(WriteFile, WritesWholeKeepsModesFollowsLinksAndRefusesWhatADirectWriteWould) {
  const ScopedUmask umask(022);
  const Case cases[] = {
      {"a new file gets 0666 less the umask",
       [](const fs::path& d) { return d / "new.txt"; }, true, "", "new.txt", 0644, ""},
      {"an existing file keeps its bits and is replaced, not rewritten",
       [](const fs::path& d) {
         testenv::WriteFile(d / "a.txt", "old");
         fs::permissions(d / "a.txt", fs::perms(0640), fs::perm_options::replace);
         fs::create_hard_link(d / "a.txt", d / "second-name");  // keeps the old inode reachable
         return d / "a.txt";
       },
       true, "", "a.txt", 0640, "second-name"},
      {"a link is followed; the file it names is replaced",
       [](const fs::path& d) {
         testenv::WriteFile(d / "real.txt", "old");
         fs::permissions(d / "real.txt", fs::perms(0600), fs::perm_options::replace);
         fs::create_symlink("real.txt", d / "link.txt");
         return d / "link.txt";
       },
       true, "", "real.txt", 0600, ""},
      {"a chain of links into another folder",
       [](const fs::path& d) {
         fs::create_directory(d / "sub");
         testenv::WriteFile(d / "sub" / "deep.txt", "old");
         fs::create_symlink("sub/deep.txt", d / "hop1");
         fs::create_symlink(d / "hop1", d / "hop2");
         return d / "hop2";
       },
       true, "", "sub/deep.txt", 0644, ""},
      {"a dangling link creates the file it names",
       [](const fs::path& d) {
         fs::create_symlink("target.txt", d / "dangling");
         return d / "dangling";
       },
       true, "", "target.txt", 0644, ""},
      {"a folder is refused",
       [](const fs::path& d) {
         fs::create_directory(d / "folder");
         return d / "folder";
       },
       false, "Is a directory", "", 0, ""},
      {"a missing folder is refused",
       [](const fs::path& d) { return d / "missing" / "x.txt"; }, false, "No such file or directory", "", 0, ""},
      {"an empty path is refused", [](const fs::path&) { return fs::path(); }, false, "Invalid argument", "", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testenv::TempDir dir;
    const fs::path path = c.setup(dir.Path());
    const std::set<std::string> before = Entries(dir.Path());
    std::string error = "stale";
    EXPECT_EQ(platform::WriteFileAtomically(path, "new bytes", &error), c.ok);
    EXPECT_EQ(error, c.error);
    if (*c.lands) {
      EXPECT_EQ(testenv::ReadFile(dir.Path() / c.lands), "new bytes");
      EXPECT_FALSE(fs::is_symlink(dir.Path() / c.lands));
      EXPECT_EQ(ModeOf(dir.Path() / c.lands), c.mode);
    }
    if (*c.unchanged) {
      EXPECT_EQ(testenv::ReadFile(dir.Path() / c.unchanged), "old");
    }
    // Links stay links, and nothing else appears: no temporary file is left.
    std::set<std::string> expected = before;
    if (*c.lands && std::string(c.lands).find('/') == std::string::npos) expected.insert(c.lands);
    EXPECT_EQ(Entries(dir.Path()), expected);
    if (path.filename() == "link.txt") {
      EXPECT_TRUE(fs::is_symlink(path));
    }
  }
}

// A file without write permission is written only where a direct write
// would be (for the superuser, say), and keeps its bits either way.
TEST(WriteFile, ReadOnlyFileFollowsTheDirectWriteRule) {
  testenv::TempDir dir;
  const fs::path file = dir.Path() / "locked.txt";
  testenv::WriteFile(file, "old");
  fs::permissions(file, fs::perms(0444), fs::perm_options::replace);
  const bool allowed = DirectWriteAllowed(file);
  std::string error;
  EXPECT_EQ(platform::WriteFileAtomically(file, "new bytes", &error), allowed);
  EXPECT_EQ(testenv::ReadFile(file), allowed ? "new bytes" : "old");
  EXPECT_EQ(error, allowed ? "" : "Permission denied");
  EXPECT_EQ(ModeOf(file), mode_t(0444));
  EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"locked.txt"});
}

// Bytes are written exactly, also empty content and bytes no text holds.
TEST(WriteFile, WritesEveryByteAndEmptyContent) {
  testenv::TempDir dir;
  std::string all;
  for (int i = 0; i < 256 * 64; ++i) all += static_cast<char>(i & 0xFF);
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {{"empty", ""}, {"nul and high bytes", std::string("a\0b\xFF", 4)}, {"larger than a pipe", all}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const fs::path file = dir.Path() / row.name;
    testenv::WriteFile(file, "previous content that is longer");
    ASSERT_TRUE(platform::WriteFileAtomically(file, row.bytes));
    EXPECT_EQ(testenv::ReadFile(file), row.bytes);
  }
}
