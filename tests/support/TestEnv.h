#pragma once
// Helpers shared by every test executable.
//
// The test main gives the whole process a fresh temporary home: HOME,
// XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR all point below one
// temporary folder, so no test ever touches the real user's files.
// FreshUserFolders gives one test its own folders on top of that.

#include <filesystem>
#include <string>

namespace testenv {

// A temporary folder removed with its content when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Points HOME and the XDG folders at a new temporary folder for the
// lifetime of the object and restores the previous values afterwards.
class FreshUserFolders {
 public:
  FreshUserFolders();
  ~FreshUserFolders();
  const std::filesystem::path& Root() const { return dir_.Path(); }
  std::filesystem::path DataHome() const { return dir_.Path() / "data"; }
  std::filesystem::path ConfigHome() const { return dir_.Path() / "config"; }
  std::filesystem::path RuntimeDir() const { return dir_.Path() / "run"; }

 private:
  TempDir dir_;
  std::string saved_[4];
  bool had_[4] = {};
};

// Reads a whole file as bytes ("" when missing).
std::string ReadFile(const std::filesystem::path& file);
// Writes bytes to a file, creating its folder.
void WriteFile(const std::filesystem::path& file, const std::string& bytes);

// Folders of the source tree and of the built program (data copied beside it).
std::filesystem::path SourceDir();
std::filesystem::path TestsDir();
std::filesystem::path BinDir();

}  // namespace testenv
