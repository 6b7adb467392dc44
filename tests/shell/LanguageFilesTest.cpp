// Every language file shipped in data/language holds a text for every id the
// program uses, in the file layout the translators keep.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "platform/IniFile.h"
#include "platform/Text.h"
#include "shell/Localisation.h"
#include "shell/TextIds.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> LanguageFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(testenv::SourceDir() / "data" / "language"))
    if (entry.path().extension() == ".lan") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

TEST(LanguageFilesTest, TheIdListIsSortedUniqueAndInRange) {
  const auto ids = shell::TextIds();
  ASSERT_FALSE(ids.empty());
  EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
  EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
  EXPECT_GE(ids.front(), 1);
  EXPECT_LE(ids.back(), 616);
  for (int id : {shell::kTextProfileWord, shell::kTextCustomMacroWord, shell::kTextCopyWord,
                 shell::kTextSoftwareVersion})
    EXPECT_TRUE(std::binary_search(ids.begin(), ids.end(), id)) << id;
}

TEST(LanguageFilesTest, EnglishAndSimplifiedChineseAreShipped) {
  const auto files = LanguageFiles();
  for (const char* name : {"1033.lan", "2052.lan"})
    EXPECT_NE(std::find(files.begin(), files.end(), testenv::SourceDir() / "data" / "language" / name), files.end())
        << name;
}

TEST(LanguageFilesTest, EveryFileHoldsEveryIdInOrder) {
  const auto ids = shell::TextIds();
  for (const fs::path& file : LanguageFiles()) {
    SCOPED_TRACE(file.filename().string());
    const std::string bytes = testenv::ReadFile(file);
    ASSERT_TRUE(platform::IsValidUtf8(bytes));
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "the files are UTF-8 without a byte-order mark";
    EXPECT_EQ(bytes.rfind(';', 0), 0u) << "the first line is a comment naming the language and encoding";
    EXPECT_NE(bytes.substr(0, bytes.find("[LAN]")).find("UTF-8"), std::string::npos);

    // Every id of the list has a text.
    platform::IniFile ini;
    ASSERT_TRUE(ini.Load(file));
    for (int id : ids) EXPECT_FALSE(ini.Get(L"LAN", std::to_wstring(id)).empty()) << "text " << id;

    // Only ids of the list, each once, ascending, one "id=text" per line.
    std::istringstream in(bytes);
    std::string line;
    std::vector<int> seen;
    bool inSection = false;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == ';') continue;
      if (line == "[LAN]") {
        EXPECT_FALSE(inSection) << "one section";
        inSection = true;
        continue;
      }
      ASSERT_TRUE(inSection) << line;
      const size_t eq = line.find('=');
      ASSERT_NE(eq, std::string::npos) << line;
      ASSERT_GT(eq, 0u) << line;
      ASSERT_TRUE(std::all_of(line.begin(), line.begin() + eq, [](char c) { return c >= '0' && c <= '9'; })) << line;
      EXPECT_NE(line.back(), '\r') << "LF line ends";
      EXPECT_LE(platform::FromUtf8(line.substr(eq + 1)).size(), 259u) << line;
      seen.push_back(std::stoi(line.substr(0, eq)));
    }
    EXPECT_EQ(seen, std::vector<int>(ids.begin(), ids.end()));
  }
}

// The words other code matches on: a stored profile name starting with
// "Profile" or "配置" and a macro name starting with "Custom" or "自定义" are
// shown in the current language.
TEST(LanguageFilesTest, MatchedWordsAreThoseOfTheLanguage) {
  shell::SetLanguageFolder(testenv::SourceDir() / "data" / "language");
  struct Case {
    int lcid;
    const wchar_t* profile;
    const wchar_t* custom;
    const wchar_t* copy;
  } cases[] = {
      {1033, L"Profile", L"Custom", L"Copy"},
      {2052, L"配置", L"自定义", L"复制"},
  };
  for (const Case& c : cases) {
    shell::SetLanguage(c.lcid);
    EXPECT_EQ(shell::GetText(shell::kTextProfileWord), c.profile);
    EXPECT_EQ(shell::GetText(shell::kTextCustomMacroWord), c.custom);
    EXPECT_EQ(shell::GetText(shell::kTextCopyWord), c.copy);
  }
  shell::SetLanguage(shell::kLangEnglish);
  shell::SetLanguageFolder({});
}
