#include "app/Startup.h"

#include "shell/AppNames.h"
#include "shell/Environment.h"
#include "shell/LanguageSet.h"
#include "shell/Localisation.h"
#include "store/SettingsStore.h"
#include "toolkit/core/Manager.h"

namespace app {

void AdoptCatalogStart(const CatalogStart& start) {
  shell::LanguageSet::Clear();
  for (int id : start.languages) shell::LanguageSet::Add(id);
  if (start.caption) shell::SetApplicationName(*start.caption);
}

void HandNamesToToolkit() {
  DUI::Manager::SetDeviceName(shell::ApplicationName());
  DUI::Manager::SetFontName(shell::FontName());
  // An installed program keeps its skin under <prefix>/share/orvane/.
  DUI::Manager::SetProgramFolder(shell::ProgramFolder());
}

void PrepareDatabaseFolder(SettingsStore& store) {
  const std::filesystem::path folder = shell::DatabaseFolder();
  if (!folder.empty()) shell::CreateFolderPath(folder);
  store.SetDatabaseFolder(folder);
}

void InstallLanguageChangedHandler(std::function<void(const std::wstring& face)> refreshTexts) {
  shell::SetLanguageChangedHandler([refresh = std::move(refreshTexts)](const std::wstring& face) {
    DUI::Manager::SetFontName(face);
    if (refresh) refresh(face);
  });
}

}  // namespace app
