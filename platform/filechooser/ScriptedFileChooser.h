#pragma once
// ScriptedFileChooser: the test seam. Each dialog takes the next scripted
// answer (a path, or a cancel) and records what was asked; the save rule
// (extension, overwrite question) applies as with the real dialog.

#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/filechooser/FileChooser.h"

namespace platform {

class ScriptedFileChooser : public FileChooser {
 public:
  struct Asked {
    bool save = false;
    FileDialogRequest request;
  };

  // The next dialog returns the path; an empty optional cancels it.
  void Answer(std::optional<std::filesystem::path> path);

  FileDialogResult OpenFile(const FileDialogRequest& request) override;
  FileDialogResult SaveFile(const FileDialogRequest& request) override;

  std::vector<Asked> Requests() const;

 private:
  std::optional<std::filesystem::path> Next(bool save, const FileDialogRequest& request);

  mutable std::mutex mutex_;
  std::deque<std::optional<std::filesystem::path>> answers_;
  std::vector<Asked> asked_;
};

}  // namespace platform
