// Orvane entry point. Start-up reads the catalog's languages and the
// application name first, so that every later step (per-user values, data
// folder, log) is named after the application.

#include "app/HelpCommand.h"
#include "app/WindowDumpCommand.h"
#include "app/ListCommand.h"
#include "app/MainWindowRun.h"
#include "app/PostCommand.h"
#include "app/SettingsCommandRun.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "catalog/Catalog.h"
#include "shell/Environment.h"
#include "shell/Localisation.h"
#include "store/SettingsStore.h"

int main(int argc, char** argv) {
  const auto programFolder = shell::ProgramFolder();
  app::AdoptCatalogStart(ReadLanguagesAndName(programFolder));
  app::HandNamesToToolkit();

  if (app::IsHelpCommand(argc, argv)) return app::PrintHelp();
  if (app::IsVersionCommand(argc, argv)) return app::PrintVersion(programFolder);

  bool simulate = false;
  if (app::IsListCommand(argc, argv, simulate)) return app::RunListCommand(simulate);
  if (app::IsPostCommand(argc, argv)) return app::RunPostCommand(argc, argv);
  if (app::IsWindowDumpCommand(argc, argv)) return app::RunWindowDumpCommand(argc, argv);
  if (app::IsSettingsCommandLine(argc, argv)) {
    shell::ChooseLanguage();
    app::PrepareDatabaseFolder(SettingsStore::GetInstance());
    return app::RunSettingsCommand(argc, argv);
  }

  app::MainRunOptions options;
  if (!app::ParseMainRunOptions(argc, argv, options)) return 2;
  const bool screenshot = !options.screenshot.empty();

  // A second start asks the running instance to show itself and ends here.
  // A screenshot run renders its own window beside a running instance.
  app::SingleInstance instance;
  if (!screenshot && !instance.Claim()) return 0;

  shell::ChooseLanguage();
  app::InstallLanguageChangedHandler();
  // The settings databases live here; a failure shows later as a store that
  // cannot be opened.
  app::PrepareDatabaseFolder(SettingsStore::GetInstance());
  return app::RunMainWindow(options, screenshot ? nullptr : &instance);
}
