#pragma once
// ProfileExchange: the main window's profile export and import (the profile
// dialog's commands 2 and 1, and the command line's --export-profile and
// --import-profile).
//
// The file dialog runs on a thread of its own, so the window keeps painting
// and answering while the user chooses; the window takes no input until the
// dialog has answered. Its questions (replace an existing file?) are asked
// on the window thread with the window's message box. A cancelled dialog
// does nothing; a desktop without a file dialog gets a message saying so.
// An imported profile is written to the mouse (job 5).

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "store/ExchangeModel.h"

namespace platform {
class FileChooser;
struct FileDialogResult;
}  // namespace platform

namespace ui {

class DeviceMainDlg;

class ProfileExchange {
 public:
  explicit ProfileExchange(DeviceMainDlg& dlg);
  ~ProfileExchange();
  ProfileExchange(const ProfileExchange&) = delete;
  ProfileExchange& operator=(const ProfileExchange&) = delete;

  // What the profile files of the current model may hold.
  static ExchangeModel CurrentModel(DeviceMainDlg& dlg);

  // --- Without a dialog (the command line) ----------------------------------------
  // Replaces the current profile's settings with the file's, shows the new
  // name and, with send, queues job 5. False with *error when the file was
  // refused (then nothing changed).
  bool ImportProfile(const std::filesystem::path& path, std::string* error, bool send = true);
  // Writes the current profile under the name the window shows.
  bool ExportProfile(const std::filesystem::path& path, std::string* error);

  // --- With the file dialog (window thread) -----------------------------------------
  // Each returns at once; false when a dialog is already open.
  bool StartImport();
  bool StartExport();
  bool DialogOpen() const { return running_; }

 private:
  struct Gate;

  bool Start(bool save);
  void Finish(bool save, const platform::FileDialogResult& result);

  DeviceMainDlg& dlg_;
  std::shared_ptr<Gate> gate_;
  std::thread thread_;
  bool running_ = false;
};

}  // namespace ui
