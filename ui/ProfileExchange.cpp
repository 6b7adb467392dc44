#include "ui/ProfileExchange.h"

// Index
//   1. The model's profile rules
//   2. Import and export of a named file
//   3. The file dialog on its own thread

#include <future>
#include <mutex>

#include "device/ButtonFunctionCheck.h"
#include "device/DeviceSequences.h"
#include "device/DeviceWorker.h"
#include "platform/Text.h"
#include "platform/filechooser/FileChooser.h"
#include "shell/Localisation.h"
#include "shell/Log.h"
#include "store/ExchangeImporter.h"
#include "store/ExchangeWriter.h"
#include "ui/DeviceMainDlg.h"

namespace ui {

namespace {

enum : int {
  kTextImport = 26, kTextExport = 27, kTextNotice = 576, kTextNoFileDialog = 590, kTextReplaceFile = 591,
};
constexpr int kMessageYesNo = 4;

}  // namespace

// --- 1. The model's profile rules ----------------------------------------------------------

ExchangeModel ProfileExchange::CurrentModel(DeviceMainDlg& dlg) {
  ExchangeModel model;
  for (const KeyRecord& key : dlg.GetDefaultKeys()) model.buttons.push_back(key.key_code);
  model.has_lighting = dlg.GetLighting();
  model.report_rates = {8, 4, 2, 1};
  const int choices = dlg.Worker().Sequences().ReportRateChoices();
  if (choices >= 5) model.report_rates.push_back(16);
  if (choices >= 6) model.report_rates.push_back(32);
  if (choices >= 7) model.report_rates.push_back(64);
  model.is_button_function = mouseproto::IsButtonFunction;
  return model;
}

// --- 2. Import and export of a named file ---------------------------------------------------

bool ProfileExchange::ImportProfile(const std::filesystem::path& path, std::string* error, bool send) {
  const int profile = dlg_.GetCurrentProfile();
  ExchangeImporter importer(dlg_.Store());
  const ProfileImportResult result = importer.ImportProfile(path, profile, CurrentModel(dlg_));
  if (!result.ok) {
    shell::Log("profile import of %s refused: %s", path.c_str(), result.error.c_str());
    if (error != nullptr) *error = result.error;
    return false;
  }
  dlg_.ShowProfile(profile, result.name);
  if (send && result.write_profile_to_device) dlg_.AppendJob(DeviceWorker::kJobWriteProfile);
  return true;
}

bool ProfileExchange::ExportProfile(const std::filesystem::path& path, std::string* error) {
  ExchangeWriter writer(dlg_.Store());
  if (writer.ExportProfile(dlg_.GetCurrentProfile(), dlg_.ProfileLabel(), dlg_.GetLighting(), path)) return true;
  shell::Log("profile export to %s failed", path.c_str());
  if (error != nullptr) *error = "cannot write " + path.string();
  return false;
}

// --- 3. The file dialog on its own thread ---------------------------------------------------

// What the dialog's thread shares with the window thread. The exchange
// closes it when it goes away; a task that arrives after that does nothing
// (and a question it carried counts as answered "no").
struct ProfileExchange::Gate : std::enable_shared_from_this<Gate> {
  std::mutex lock;
  DeviceMainDlg* dlg = nullptr;
  ProfileExchange* owner = nullptr;

  // Queues the task for the window thread; false when the window is gone.
  bool Post(std::function<void(ProfileExchange&)> task) {
    std::lock_guard<std::mutex> hold(lock);
    if (dlg == nullptr) return false;
    dlg->PostTask([this, keep = shared_from_this(), task = std::move(task)] {
      ProfileExchange* exchange = nullptr;
      {
        std::lock_guard<std::mutex> held(lock);
        exchange = owner;
      }
      if (exchange != nullptr) task(*exchange);
    });
    return true;
  }
};

ProfileExchange::ProfileExchange(DeviceMainDlg& dlg) : dlg_(dlg), gate_(std::make_shared<Gate>()) {
  gate_->dlg = &dlg;
  gate_->owner = this;
}

ProfileExchange::~ProfileExchange() {
  {
    std::lock_guard<std::mutex> hold(gate_->lock);
    gate_->dlg = nullptr;
    gate_->owner = nullptr;
  }
  // The dialog ends when the portal answers; its result then finds the gate
  // closed.
  if (thread_.joinable()) thread_.detach();
}

bool ProfileExchange::StartImport() { return Start(false); }
bool ProfileExchange::StartExport() { return Start(true); }

bool ProfileExchange::Start(bool save) {
  if (running_) return false;
  if (thread_.joinable()) thread_.join();
  running_ = true;

  platform::FileDialogRequest request;
  request.title = shell::GetText(save ? kTextExport : kTextImport);
  request.filter = {save ? L"Profile (*.xml)" : L"MouseKey (*.xml)", L"*.xml"};
  if (save) {
    request.suggestedName = dlg_.ProfileLabel() + L".xml";
    std::weak_ptr<Gate> weak = gate_;
    // Asked on the dialog's thread; the window thread asks the user and the
    // dialog's thread waits for the answer.
    request.confirmOverwrite = [weak](const std::filesystem::path& path) {
      std::shared_ptr<Gate> gate = weak.lock();
      if (!gate) return false;
      auto answer = std::make_shared<std::promise<bool>>();
      std::future<bool> answered = answer->get_future();
      const bool posted = gate->Post([answer, path](ProfileExchange& exchange) {
        DeviceMainDlg& dlg = exchange.dlg_;
        std::wstring text = shell::GetText(kTextReplaceFile);
        const size_t at = text.find(L"%s");
        const std::wstring name = path.filename().wstring();
        if (at != std::wstring::npos) text.replace(at, 2, name);
        answer->set_value(dlg.Message(text.c_str(), shell::GetText(kTextNotice).c_str(), kMessageYesNo) == 1);
      });
      if (!posted) return false;
      // A task dropped with the closed gate breaks the promise: "no".
      try {
        return answered.get();
      } catch (const std::future_error&) {
        return false;
      }
    };
  }

  platform::FileChooser& chooser = platform::FileChooser::Current();
  dlg_.EnableWindow(0);
  std::weak_ptr<Gate> weak = gate_;
  thread_ = std::thread([weak, save, request, &chooser] {
    platform::FileDialogResult result = save ? chooser.SaveFile(request) : chooser.OpenFile(request);
    if (std::shared_ptr<Gate> gate = weak.lock()) {
      gate->Post([save, result](ProfileExchange& exchange) { exchange.Finish(save, result); });
    }
  });
  return true;
}

void ProfileExchange::Finish(bool save, const platform::FileDialogResult& result) {
  running_ = false;
  dlg_.EnableWindow(1);
  switch (result.status) {
    case platform::FileDialogResult::Status::Cancelled:
      return;
    case platform::FileDialogResult::Status::Unavailable:
      shell::Log("file dialog: %s", platform::ToUtf8(result.message).c_str());
      dlg_.Message(shell::GetText(kTextNoFileDialog).c_str(), shell::GetText(kTextNotice).c_str(), 0);
      return;
    case platform::FileDialogResult::Status::Chosen:
      break;
  }
  // The exchange files report no failure to the user; the log keeps it.
  if (save) {
    ExportProfile(result.path, nullptr);
  } else {
    ImportProfile(result.path, nullptr);
  }
}

}  // namespace ui
