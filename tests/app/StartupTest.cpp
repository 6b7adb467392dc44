// The start-up steps that join the program's services to the toolkit, and
// the summary a plain start prints.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "TestEnv.h"
#include "app/Startup.h"
#include "app/StartupSummary.h"
#include "catalog/Catalog.h"
#include "platform/Text.h"
#include "shell/AppNames.h"
#include "shell/Environment.h"
#include "shell/LanguageSet.h"
#include "shell/Localisation.h"
#include "store/SettingsStore.h"
#include "toolkit/core/Manager.h"

namespace fs = std::filesystem;

namespace {

// Each case starts and ends with the default names on both sides and an
// empty language set.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override {
    shell::SetLanguageChangedHandler(nullptr);
    shell::SetLanguage(shell::kLangEnglish);
    Reset();
  }
  static void Reset() {
    shell::SetApplicationName(shell::kDefaultApplicationName);
    shell::SetFontName(shell::kDefaultFontName);
    DUI::Manager::SetDeviceName(shell::kDefaultApplicationName);
    DUI::Manager::SetFontName(shell::kDefaultFontName);
    shell::LanguageSet::Clear();
  }
  testenv::FreshUserFolders home_;
};

std::string Capture(const fs::path& programFolder) {
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  if (out == nullptr) return {};
  EXPECT_EQ(app::PrintStartupSummary(programFolder, out), 0);
  std::string text;
  std::rewind(out);
  for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
  std::fclose(out);
  return text;
}

}  // namespace

TEST_F(StartupTest, TheEarlyReadBecomesTheLanguageSetAndTheName) {
  struct Case {
    const char* name;
    std::set<int> languages;
    std::optional<std::wstring> caption;
    const wchar_t* applicationName;
  } cases[] = {
      {"languages and caption", {1033, 2052}, L"Abc", L"Abc"},
      {"no software element: the name stays", {1041}, std::nullopt, L"Velmora"},
      {"an empty caption names the application with nothing", {}, L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    shell::LanguageSet::Add(1058);  // an earlier set never survives
    CatalogStart start;
    start.languages = c.languages;
    start.caption = c.caption;
    app::AdoptCatalogStart(start);
    EXPECT_EQ(shell::LanguageSet::All(), c.languages);
    EXPECT_EQ(shell::ApplicationName(), c.applicationName);
    // The toolkit learns the name only when start-up hands it over.
    EXPECT_EQ(DUI::Manager::GetDeviceName(), L"Velmora");
    app::HandNamesToToolkit();
    EXPECT_EQ(DUI::Manager::GetDeviceName(), c.applicationName);
  }
}

TEST_F(StartupTest, TheToolkitGetsTheFontNameAtStartAndOnALanguageChange) {
  shell::SetFontName(L"Start Face");
  app::HandNamesToToolkit();
  EXPECT_EQ(DUI::Manager::GetFontName(), L"Start Face");

  ASSERT_TRUE(shell::CreateRegistryKey());
  int refreshes = 0;
  app::InstallLanguageChangedHandler([&](const std::wstring& face) {
    ++refreshes;
    // The window refetches its texts with the toolkit already switched.
    EXPECT_EQ(face, L"Open Sans Semibold");
    EXPECT_EQ(DUI::Manager::GetFontName(), L"Open Sans Semibold");
    EXPECT_EQ(shell::CurrentLanguage(), 1041);
  });
  shell::SetLanguage(1041);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(shell::FontName(), L"Open Sans Semibold");

  // Without a window to refresh, the toolkit font still follows.
  DUI::Manager::SetFontName(L"Other");
  app::InstallLanguageChangedHandler();
  shell::SetLanguage(1033);
  EXPECT_EQ(DUI::Manager::GetFontName(), L"Open Sans Semibold");
  EXPECT_EQ(refreshes, 1);
}

TEST_F(StartupTest, TheStoreIsHandedTheUsersDatabaseFolder) {
  shell::SetApplicationName(L"Abc");
  SettingsStore store;
  app::PrepareDatabaseFolder(store);
  const fs::path folder = home_.DataHome() / "Abc Files" / "db";
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(store.DatabaseFolder(), folder);
  ASSERT_TRUE(store.OpenForDeviceType(3, [](int) { return std::wstring(L"veyra_swift8k"); }));
  EXPECT_EQ(fs::path(store.Path()), folder / "veyra_swift8k_data.db");
  store.CloseDatabase();

  // A name that cannot name a folder leaves the store without one.
  shell::SetApplicationName(L"a/b");
  SettingsStore homeless;
  app::PrepareDatabaseFolder(homeless);
  EXPECT_TRUE(homeless.DatabaseFolder().empty());
  EXPECT_FALSE(homeless.OpenForDeviceType(3, [](int) { return std::wstring(L"veyra_swift8k"); }));
}

TEST_F(StartupTest, TheSummaryShowsWhatStartUpFound) {
  app::AdoptCatalogStart(ReadLanguagesAndName(testenv::BinDir()));
  const std::string out = Capture(testenv::BinDir());
  EXPECT_EQ(out.rfind("Application: Orvane\n", 0), 0u) << out;
  EXPECT_NE(out.find("Data folder: " + (home_.DataHome() / "Orvane Files").string() + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Languages: 1028 1033 1041 1042 1058 2052 (current 1033)\n"), std::string::npos) << out;

  NullCatalogSink sink;
  const Catalog catalog = ReadDeviceList(testenv::BinDir(), testenv::BinDir(), sink, nullptr);
  ASSERT_FALSE(catalog.models.empty());
  EXPECT_NE(out.find("Software version: " + platform::ToUtf8(catalog.version) + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Models: " + std::to_string(catalog.models.size()) + "\n"), std::string::npos) << out;
  for (const CatalogEntry& model : catalog.models) {
    const std::string line = "  " + platform::ToUtf8(model.name) + " (device type " +
                             std::to_string(model.device_type) + ", " + platform::ToUtf8(model.device_attr) + ")\n";
    EXPECT_NE(out.find(line), std::string::npos) << line << out;
  }
  size_t modeLines = 0;
  for (size_t at = out.find(" dev_id "); at != std::string::npos; at = out.find(" dev_id ", at + 1)) ++modeLines;
  EXPECT_EQ(modeLines, catalog.modes.size()) << out;
}
