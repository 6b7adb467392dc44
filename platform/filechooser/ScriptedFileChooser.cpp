#include "platform/filechooser/ScriptedFileChooser.h"

namespace platform {

void ScriptedFileChooser::Answer(std::optional<std::filesystem::path> path) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(std::move(path));
}

std::optional<std::filesystem::path> ScriptedFileChooser::Next(bool save, const FileDialogRequest& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  asked_.push_back({save, request});
  if (answers_.empty()) return std::nullopt;  // nothing scripted: the user cancels
  std::optional<std::filesystem::path> answer = answers_.front();
  answers_.pop_front();
  return answer;
}

FileDialogResult ScriptedFileChooser::OpenFile(const FileDialogRequest& request) {
  FileDialogResult result;
  if (std::optional<std::filesystem::path> path = Next(false, request)) {
    result.status = FileDialogResult::Status::Chosen;
    result.path = *path;
  }
  return result;
}

FileDialogResult ScriptedFileChooser::SaveFile(const FileDialogRequest& request) {
  const std::optional<std::filesystem::path> path = Next(true, request);
  return path ? FinishSavePath(*path, request) : FileDialogResult{};
}

std::vector<ScriptedFileChooser::Asked> ScriptedFileChooser::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return asked_;
}

}  // namespace platform
