#include "app/StartupSummary.h"

#include <string>

#include "catalog/Catalog.h"
#include "platform/Text.h"
#include "shell/AppNames.h"
#include "shell/Environment.h"
#include "shell/LanguageSet.h"
#include "shell/Localisation.h"
#include "toolkit/core/Manager.h"

namespace app {

namespace {

std::string U8(const std::wstring& s) { return platform::ToUtf8(s); }

}  // namespace

int PrintStartupSummary(const std::filesystem::path& programFolder, std::FILE* out) {
  NullCatalogSink sink;
  const Catalog catalog = ReadDeviceList(programFolder, programFolder / "skins" / U8(DUI::Manager::GetTheme()), sink,
                                         [](int) { return std::wstring(L"Software version"); });

  std::fprintf(out, "Application: %s\n", U8(shell::ApplicationName()).c_str());
  std::fprintf(out, "Program folder: %s\n", programFolder.c_str());
  std::fprintf(out, "Data folder: %s\n", shell::DataFolder().c_str());
  std::fprintf(out, "Languages:");
  for (int id : shell::LanguageSet::All()) std::fprintf(out, " %d", id);
  std::fprintf(out, " (current %d)\n", shell::CurrentLanguage());
  std::fprintf(out, "Software version: %s\n", U8(catalog.version).c_str());
  std::fprintf(out, "Models: %zu\n", catalog.models.size());
  for (const auto& model : catalog.models) {
    std::fprintf(out, "  %s (device type %d, %s)\n", U8(model.name).c_str(), model.device_type,
                 U8(model.device_attr).c_str());
    for (const auto& mode : catalog.modes) {
      if (mode.device_type != model.device_type || mode.name != model.name) continue;
      std::fprintf(out, "    %-8s vid %04X pid %04X dev_id %s\n", mode.mode == 1 ? "receiver" : "cable", mode.vid,
                   mode.pid, U8(mode.dev_id).c_str());
    }
  }
  return 0;
}

}  // namespace app
