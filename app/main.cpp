// Orvane entry point. Start-up reads the catalog's languages and the
// application name first, so that every later step (per-user values, data
// folder, log) is named after the application. Until the main window exists,
// a plain start prints what start-up found.

#include <cstdio>
#include <string>

#include "catalog/Catalog.h"
#include "platform/Text.h"
#include "shell/Environment.h"
#include "shell/LanguageSet.h"
#include "shell/ListCommand.h"
#include "shell/PostCommand.h"
#include "shell/SingleInstance.h"
#include "toolkit/core/Manager.h"

namespace {

std::string U8(const std::wstring& s) { return platform::ToUtf8(s); }

int PrintSummary(const std::filesystem::path& programFolder) {
  NullCatalogSink sink;
  const Catalog catalog = ReadDeviceList(programFolder, programFolder / "skins" / U8(DUI::Manager::GetTheme()), sink,
                                         [](int) { return std::wstring(L"Software version"); });

  std::printf("Application: %s\n", U8(DUI::Manager::GetDeviceName()).c_str());
  std::printf("Program folder: %s\n", programFolder.c_str());
  std::printf("Data folder: %s\n", shell::DataFolder().c_str());
  std::printf("Languages:");
  for (int id : shell::LanguageSet::All()) std::printf(" %d", id);
  std::printf("\nSoftware version: %s\n", U8(catalog.version).c_str());
  std::printf("Models: %zu\n", catalog.models.size());
  for (const auto& model : catalog.models) {
    std::printf("  %s (device type %d, %s)\n", U8(model.name).c_str(), model.device_type,
                U8(model.device_attr).c_str());
    for (const auto& mode : catalog.modes) {
      if (mode.device_type != model.device_type || mode.name != model.name) continue;
      std::printf("    %-8s vid %04X pid %04X dev_id %s\n", mode.mode == 1 ? "receiver" : "cable", mode.vid, mode.pid,
                  U8(mode.dev_id).c_str());
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto programFolder = shell::ProgramFolder();
  ReadLanguagesAndName(programFolder);

  bool simulate = false;
  if (shell::IsListCommand(argc, argv, simulate)) return shell::RunListCommand(simulate);
  if (shell::IsPostCommand(argc, argv)) return shell::RunPostCommand(argc, argv);

  // A second start asks the running instance to show itself and ends here.
  shell::SingleInstance instance;
  if (!instance.Claim()) return 0;

  // The settings databases live here; a failure shows later as a store that
  // cannot be opened.
  shell::CreateFolderPath(shell::DatabaseFolder());
  return PrintSummary(programFolder);
}
