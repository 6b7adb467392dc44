// Choosing and changing the language, and looking texts up.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "TestEnv.h"
#include "platform/Text.h"
#include "platform/UserValues.h"
#include "shell/AppNames.h"
#include "shell/Environment.h"
#include "shell/LanguageSet.h"
#include "shell/Localisation.h"

namespace fs = std::filesystem;

namespace {

// Fresh user folders, the default application name, no locale variables and
// a language folder of the test's own.
class LocalisationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::SetApplicationName(L"Velmora");
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
      ::unsetenv(name);
    }
    shell::SetLanguageFolder(langs_.Path());
    shell::LanguageSet::Clear();
  }
  void TearDown() override {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) ::unsetenv(name);
    for (const auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
    shell::SetLanguageFolder({});
    shell::SetLanguageChangedHandler(nullptr);
    shell::SetLanguage(shell::kLangEnglish);
    shell::SetApplicationName(L"Velmora");
    shell::LanguageSet::Clear();
  }
  void Install(std::initializer_list<int> ids) {
    shell::LanguageSet::Clear();
    for (int id : ids) shell::LanguageSet::Add(id);
  }
  std::optional<std::wstring> StoredLcid() const { return platform::UserValues(L"Velmora").Read(L"LCID"); }
  void WriteLan(int lcid, const std::string& body) {
    testenv::WriteFile(langs_.Path() / (std::to_string(lcid) + ".lan"), body);
  }

  testenv::FreshUserFolders home_;
  testenv::TempDir langs_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

ino_t Inode(const fs::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

TEST_F(LocalisationTest, LocaleNamesMapToLanguageIds) {
  struct Case {
    const char* locale;
    int id;
  } cases[] = {
      {"zh_CN.UTF-8", 2052}, {"zh_SG", 2052},     {"zh", 2052},       {"zh_TW.UTF-8", 1028},
      {"zh_HK", 1028},       {"zh_MO.utf8", 1028}, {"en_US.UTF-8", 1033}, {"en_GB@euro", 1033},
      {"en", 1033},          {"ja_JP.UTF-8", 1041}, {"ko_KR.EUC-KR", 1042}, {"uk_UA.UTF-8", 1058},
      {"de_DE.UTF-8", 0},    {"C", 0},          {"POSIX", 0},       {"", 0},
      {"ru_RU", 0},          {"C.UTF-8", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(shell::LanguageIdFromLocale(c.locale), c.id) << c.locale;
}

// Start-up's choice, from the stored value, the locale and the installed set.
TEST_F(LocalisationTest, ChooseLanguage) {
  struct Case {
    const char* name;
    const char* stored;  // nullptr: first run, the key does not exist yet
    const char* lcAll;
    const char* lang;
    std::initializer_list<int> installed;
    int expected;
    const wchar_t* storedAfter;
  } cases[] = {
      {"first run, English desktop", nullptr, nullptr, "en_US.UTF-8", {2052, 1033, 1041}, 1033, L"1033"},
      {"first run, Chinese desktop", nullptr, nullptr, "zh_CN.UTF-8", {2052, 1033}, 2052, L"2052"},
      {"first run, German desktop", nullptr, nullptr, "de_DE.UTF-8", {2052, 1033}, 1033, L"1033"},
      {"first run, LC_ALL wins over LANG", nullptr, "ja_JP.UTF-8", "en_US.UTF-8", {1033, 1041}, 1041, L"1041"},
      {"first run, no locale at all", nullptr, nullptr, nullptr, {2052, 1033}, 1033, L"1033"},
      {"first run, Korean not installed", nullptr, nullptr, "ko_KR", {2052, 1033}, 1033, L"1033"},
      {"stored value missing", "", nullptr, "zh_TW.UTF-8", {1028, 1033}, 1028, L"1028"},
      {"stored value no longer installed", "1058", nullptr, "en_US", {2052, 1033}, 1033, L"1033"},
      {"stored value not a number", "abc", nullptr, "zh_CN", {2052, 1033}, 2052, L"2052"},
      {"empty language set", nullptr, nullptr, "zh_CN", {}, 1033, L"1033"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testenv::FreshUserFolders home;
    Install(c.installed);
    if (c.lcAll) ::setenv("LC_ALL", c.lcAll, 1);
    else ::unsetenv("LC_ALL");
    if (c.lang) ::setenv("LANG", c.lang, 1);
    else ::unsetenv("LANG");
    if (c.stored) {
      ASSERT_TRUE(shell::CreateRegistryKey());
      if (*c.stored) {
        ASSERT_TRUE(platform::UserValues(L"Velmora").Write(L"LCID", platform::FromUtf8(c.stored)));
      }
    }
    EXPECT_EQ(shell::ChooseLanguage(), c.expected);
    EXPECT_EQ(shell::CurrentLanguage(), c.expected);
    EXPECT_EQ(StoredLcid(), std::optional<std::wstring>(c.storedAfter));
  }
}

TEST_F(LocalisationTest, AnInstalledStoredLanguageIsUsedWithoutWriting) {
  Install({1033, 1041});
  ::setenv("LANG", "en_US.UTF-8", 1);
  ASSERT_TRUE(shell::CreateRegistryKey());
  const platform::UserValues key(L"Velmora");
  ASSERT_TRUE(key.Write(L"LCID", L"1041"));
  const ino_t before = Inode(key.File());  // every write replaces the file
  EXPECT_EQ(shell::ChooseLanguage(), 1041);
  EXPECT_EQ(Inode(key.File()), before);
}

TEST_F(LocalisationTest, WithoutAKeyNothingIsStored) {
  // An application name that cannot name a folder: the key can neither be
  // opened nor created.
  shell::SetApplicationName(L"a/b");
  Install({2052, 1033});
  ::setenv("LANG", "en_US.UTF-8", 1);
  EXPECT_EQ(shell::ChooseLanguage(), 2052);
  Install({1033, 1041});
  EXPECT_EQ(shell::ChooseLanguage(), 1033);
  EXPECT_FALSE(shell::RegistryKeyExists());
}

TEST_F(LocalisationTest, SetLanguageStoresSwitchesTheFontAndNotifies) {
  ASSERT_TRUE(shell::CreateRegistryKey());
  shell::SetFontName(L"Something Else");
  std::wstring notified;
  int calls = 0;
  shell::SetLanguageChangedHandler([&](const std::wstring& face) {
    notified = face;
    ++calls;
    EXPECT_EQ(shell::CurrentLanguage(), 2052);  // texts fetched now are Chinese
  });
  shell::SetLanguage(2052);
  EXPECT_EQ(shell::CurrentLanguage(), 2052);
  EXPECT_EQ(StoredLcid(), std::optional<std::wstring>(L"2052"));
  EXPECT_EQ(shell::FontName(), L"Open Sans Semibold");
  EXPECT_EQ(notified, L"Open Sans Semibold");
  EXPECT_EQ(calls, 1);
}

TEST_F(LocalisationTest, GetTextRules) {
  const std::string longText(300, 'x');
  WriteLan(1033, "[LAN]\n61=Profile\n17=\"Software version\"\n2=" + longText + "\n");
  WriteLan(2052, "[LAN]\n61=配置\n");
  shell::SetLanguage(1033);
  EXPECT_EQ(shell::GetText(61), L"Profile");
  EXPECT_EQ(shell::GetText(17), L"Software version");
  EXPECT_EQ(shell::GetText(2), std::wstring(259, L'x'));
  EXPECT_EQ(shell::GetText(999), L"");  // an absent id is empty, not the id
  EXPECT_EQ(shell::GetText(61, L"OTHER"), L"");
  shell::SetLanguage(2052);
  EXPECT_EQ(shell::GetText(61), L"配置");
  EXPECT_EQ(shell::GetText(17), L"");  // no fallback to another language
  shell::SetLanguage(1042);             // no file at all
  EXPECT_EQ(shell::GetText(61), L"");
  EXPECT_EQ(shell::LanguageFile(1042), langs_.Path() / "1042.lan");
}

// Files in a legacy code page are read in the code page of their language.
TEST_F(LocalisationTest, LegacyFilesUseTheirLanguagesCodePage) {
  struct Case {
    int lcid;
    std::string bytes;
    const wchar_t* expected;
  } cases[] = {
      {2052, "[LAN]\n61=\xC5\xE4\xD6\xC3\n", L"配置"},
      {1028, "[LAN]\n61=\xB0\x74\xB8\x6D\n", L"配置"},
      {1041, "[LAN]\n61=\x83\x76\x83\x8D\x83\x74\x83\x40\x83\x43\x83\x8B\n", L"プロファイル"},
      {1058, "[LAN]\n61=\xCF\xF0\xEE\xF4\xB3\xEB\xFC\n", L"Профіль"},
      {1033, "[LAN]\n61=Caf\xE9\n", L"Café"},
  };
  for (const Case& c : cases) {
    WriteLan(c.lcid, c.bytes);
    shell::SetLanguage(c.lcid);
    EXPECT_EQ(shell::GetText(61), c.expected) << c.lcid;
  }
  // Another language's file is read in that language's code page too,
  // whatever the current language is, and the current one stays.
  shell::SetLanguage(1033);
  for (const Case& c : cases) EXPECT_EQ(shell::GetLanguageText(c.lcid, 61), c.expected) << c.lcid;
  EXPECT_EQ(shell::GetLanguageText(1042, 61), L"");
  EXPECT_EQ(shell::CurrentLanguage(), 1033);
  EXPECT_EQ(shell::GetText(61), L"Café");
}

// An edited language file takes effect at the next lookup, however it was
// changed.
TEST_F(LocalisationTest, EditedFilesTakeEffectAtTheNextLookup) {
  const fs::path file = langs_.Path() / "1033.lan";
  WriteLan(1033, "[LAN]\n1=aaaa\n");
  shell::SetLanguage(1033);
  ASSERT_EQ(shell::GetText(1), L"aaaa");

  // Rewritten in place with another size.
  WriteLan(1033, "[LAN]\n1=bbbbbb\n");
  EXPECT_EQ(shell::GetText(1), L"bbbbbb");

  // Rewritten in place with the same size and the same modification time:
  // the change time still moves.
  const auto mtime = fs::last_write_time(file);
  WriteLan(1033, "[LAN]\n1=cccccc\n");
  fs::last_write_time(file, mtime);
  EXPECT_EQ(shell::GetText(1), L"cccccc");

  // Replaced by renaming another file over it.
  testenv::WriteFile(langs_.Path() / "new.tmp", "[LAN]\n1=dddddd\n");
  fs::last_write_time(langs_.Path() / "new.tmp", fs::last_write_time(file));
  fs::rename(langs_.Path() / "new.tmp", file);
  EXPECT_EQ(shell::GetText(1), L"dddddd");

  // Removed.
  fs::remove(file);
  EXPECT_EQ(shell::GetText(1), L"");
  WriteLan(1033, "[LAN]\n1=back\n");
  EXPECT_EQ(shell::GetText(1), L"back");
}
