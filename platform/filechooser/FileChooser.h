#pragma once
// FileChooser: the open and save dialogs for exchange files. The program asks
// FileChooser::Current(), which is the desktop portal's dialog unless a test
// installed a scripted one.

#include <filesystem>
#include <functional>
#include <string>

namespace platform {

struct FileFilter {
  std::wstring description;  // "Macro (*.xml)"
  std::wstring pattern;      // "*.xml"
};

struct FileDialogRequest {
  std::wstring title;
  FileFilter filter;            // the dialog's one file type
  std::wstring suggestedName;   // save dialog: the name it starts with
  std::string parentWindow;     // portal window identifier ("x11:1a2b"), may be empty
  // Save dialog: asked when the chosen name, once the filter's extension was
  // added to it, names an existing file the dialog did not ask about. Without
  // it such a file is never overwritten (the choice counts as cancelled).
  std::function<bool(const std::filesystem::path&)> confirmOverwrite;
};

struct FileDialogResult {
  enum class Status { Chosen, Cancelled, Unavailable };
  Status status = Status::Cancelled;
  std::filesystem::path path;  // Chosen only
  std::wstring message;        // Unavailable: what to tell the user
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  virtual FileDialogResult OpenFile(const FileDialogRequest& request) = 0;
  virtual FileDialogResult SaveFile(const FileDialogRequest& request) = 0;

  // The chooser the program uses.
  static FileChooser& Current();
  // Installs another chooser (tests); nullptr goes back to the portal's.
  static void SetCurrent(FileChooser* chooser);
};

// The save dialog's rule for the chosen name, shared by every chooser: the
// filter's extension is added when the name has none, and a file that then
// exists is overwritten only when request.confirmOverwrite agrees.
FileDialogResult FinishSavePath(const std::filesystem::path& chosen, const FileDialogRequest& request);

}  // namespace platform
