#include "platform/filechooser/FileChooser.h"

#include <atomic>

#include "platform/Text.h"
#include "platform/filechooser/PortalFileChooser.h"

namespace platform {

namespace fs = std::filesystem;

namespace {
std::atomic<FileChooser*> g_current{nullptr};
}

FileChooser& FileChooser::Current() {
  static PortalFileChooser portal;
  FileChooser* chooser = g_current.load();
  return chooser != nullptr ? *chooser : portal;
}

void FileChooser::SetCurrent(FileChooser* chooser) { g_current = chooser; }

FileDialogResult FinishSavePath(const fs::path& chosen, const FileDialogRequest& request) {
  FileDialogResult result;
  if (chosen.empty()) return result;
  fs::path path = chosen;
  bool added = false;
  const std::wstring& pattern = request.filter.pattern;
  if (!path.has_extension() && pattern.size() > 2 && pattern.compare(0, 2, L"*.") == 0) {
    path += ToUtf8(pattern.substr(1));
    added = true;
  }
  std::error_code ec;
  // The dialog asked about the name it returned, not about the longer one.
  if (added && fs::exists(path, ec) && !(request.confirmOverwrite && request.confirmOverwrite(path))) {
    return result;
  }
  result.status = FileDialogResult::Status::Chosen;
  result.path = path;
  return result;
}

}  // namespace platform
