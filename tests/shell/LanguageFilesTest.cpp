// Every language file shipped in data/language holds a text for every id the
// program uses, in the file layout the translators keep, with the printf
// placeholders of the English text; and switching the language switches the
// texts the program reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "TestEnv.h"
#include "platform/IniFile.h"
#include "platform/Text.h"
#include "shell/Localisation.h"
#include "shell/TextIds.h"

namespace fs = std::filesystem;

namespace {

// The printf conversions of a text in order ("%s", "%-5.2f", "%%" ...). A '%'
// that starts no valid conversion is kept as the token "%", so a stray percent
// sign added or dropped by a translation is noticed as well.
std::vector<std::wstring> Placeholders(std::wstring_view text) {
  static constexpr std::wstring_view kFlags = L"-+ #0";
  static constexpr std::wstring_view kConversions = L"diouxXeEfFgGaAcCsSpn%";
  std::vector<std::wstring> found;
  size_t i = 0;
  while ((i = text.find(L'%', i)) != std::wstring_view::npos) {
    size_t j = i + 1;
    const auto skip = [&](auto pred) {
      while (j < text.size() && pred(text[j])) ++j;
    };
    const auto digit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    skip([&](wchar_t c) { return kFlags.find(c) != std::wstring_view::npos; });
    if (j < text.size() && text[j] == L'*') ++j;
    else skip(digit);
    if (j < text.size() && text[j] == L'.') {
      ++j;
      if (j < text.size() && text[j] == L'*') ++j;
      else skip(digit);
    }
    for (std::wstring_view length : {L"hh", L"ll", L"I64", L"I32", L"h", L"l", L"L", L"j", L"z", L"t", L"I"})
      if (text.substr(j, length.size()) == length) {
        j += length.size();
        break;
      }
    if (j < text.size() && kConversions.find(text[j]) != std::wstring_view::npos) {
      found.emplace_back(text.substr(i, j + 1 - i));
      i = j + 1;
    } else {
      found.emplace_back(L"%");
      ++i;
    }
  }
  return found;
}

// The texts of section LAN of a language file by id, uncut.
std::map<int, std::wstring> Texts(const fs::path& file) {
  platform::IniFile ini;
  std::map<int, std::wstring> texts;
  if (!ini.Load(file)) return texts;
  for (const auto& [key, value] : ini.Section(L"LAN")) texts[platform::WToI(key)] = value;
  return texts;
}

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
  // The window's texts run up to 616; beyond come only the launcher's.
  const std::set<int> launcher = {shell::kTextLauncherGenericName, shell::kTextLauncherComment,
                                  shell::kTextLauncherKeywords};
  for (int id : ids)
    if (id > 616) {
      EXPECT_TRUE(launcher.count(id)) << id;
    }
  for (int id : launcher) EXPECT_TRUE(std::binary_search(ids.begin(), ids.end(), id)) << id;
  for (int id : {shell::kTextProfileWord, shell::kTextCustomMacroWord, shell::kTextCopyWord,
                 shell::kTextSoftwareVersion})
    EXPECT_TRUE(std::binary_search(ids.begin(), ids.end(), id)) << id;
}

TEST(LanguageFilesTest, AllSixLanguagesAreShipped) {
  const auto files = LanguageFiles();
  for (int lcid : {shell::kLangEnglish, shell::kLangChineseSimplified, shell::kLangChineseTraditional,
                   shell::kLangJapanese, shell::kLangKorean, shell::kLangUkrainian}) {
    const fs::path file = testenv::SourceDir() / "data" / "language" / (std::to_string(lcid) + ".lan");
    EXPECT_NE(std::find(files.begin(), files.end(), file), files.end()) << lcid;
  }
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
      seen.push_back(std::stoi(line.substr(0, eq)));
    }
    EXPECT_EQ(seen, std::vector<int>(ids.begin(), ids.end()));
  }
}

TEST(LanguageFilesTest, PlaceholdersAreFoundInOrder) {
  using V = std::vector<std::wstring>;
  struct Case {
    const wchar_t* text;
    V expected;
  } cases[] = {
      {L"Profile", {}},
      {L"%s: v%s.%s", {L"%s", L"%s", L"%s"}},
      {L"%s: 50%%", {L"%s", L"%%"}},
      {L"%-5.2f и %d", {L"%-5.2f", L"%d"}},
      {L"%ls %I64d %*.*d %02X", {L"%ls", L"%I64d", L"%*.*d", L"%02X"}},
      {L"100% 配置 %", {L"%", L"%"}},  // stray signs start no conversion
  };
  for (const Case& c : cases) EXPECT_EQ(Placeholders(c.text), c.expected) << platform::ToUtf8(c.text);
}

// A translation that drops, adds or reorders a conversion would make the
// program format the wrong arguments; a text over 259 characters would be cut.
TEST(LanguageFilesTest, EveryTextKeepsTheEnglishPlaceholdersAndFitsTheBuffer) {
  const auto english = Texts(testenv::SourceDir() / "data" / "language" / "1033.lan");
  ASSERT_FALSE(english.empty());
  for (const fs::path& file : LanguageFiles()) {
    SCOPED_TRACE(file.filename().string());
    const auto texts = Texts(file);
    ASSERT_FALSE(texts.empty());
    for (const auto& [id, text] : texts) {
      EXPECT_LE(text.size(), platform::IniFile::kDefaultMaxChars) << "text " << id;
      const auto it = english.find(id);
      ASSERT_TRUE(it != english.end()) << "text " << id << " has no English counterpart";
      EXPECT_EQ(Placeholders(text), Placeholders(it->second)) << "text " << id << ": " << platform::ToUtf8(text);
    }
  }
}

// Switching the current language switches every lookup to that language's
// file. The sample holds the words other code matches on: stored profile
// names starting with "Profile" or "配置" are shown with text 61, and macro
// names with the default-name word (text 351) and the copy word (text 31) of
// one language are shown with those of another, the Traditional Chinese and
// Japanese words being "自定義", "カスタム" and "複製".
TEST(LanguageFilesTest, SwitchingTheLanguageReadsThatLanguagesTexts) {
  testenv::FreshUserFolders home;
  shell::SetLanguageFolder(testenv::BinDir() / "language");
  struct Case {
    int lcid;
    const wchar_t* profile;     // 61
    const wchar_t* custom;      // 351
    const wchar_t* copy;        // 31
    const wchar_t* version;     // 17
    const wchar_t* exit;        // 12
    const wchar_t* reportRate;  // 255
  } cases[] = {
      {1033, L"Profile", L"Custom", L"Copy", L"Software version", L"Exit", L"Report rate"},
      {2052, L"配置", L"自定义", L"复制", L"软件版本", L"退出", L"回报率"},
      {1028, L"配置", L"自定義", L"複製", L"軟體版本", L"結束", L"回報率"},
      {1041, L"プロファイル", L"カスタム", L"複製", L"ソフトウェアバージョン", L"終了", L"レポートレート"},
      {1042, L"프로필", L"사용자 지정", L"복사", L"소프트웨어 버전", L"종료", L"폴링 레이트"},
      {1058, L"Профіль", L"Власний", L"Копіювати", L"Версія програми", L"Вийти", L"Частота опитування"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lcid);
    shell::SetLanguage(c.lcid);
    ASSERT_EQ(shell::CurrentLanguage(), c.lcid);
    EXPECT_EQ(shell::GetText(shell::kTextProfileWord), c.profile);
    EXPECT_EQ(shell::GetText(shell::kTextCustomMacroWord), c.custom);
    EXPECT_EQ(shell::GetText(shell::kTextCopyWord), c.copy);
    EXPECT_EQ(shell::GetText(shell::kTextSoftwareVersion), c.version);
    EXPECT_EQ(shell::GetText(12), c.exit);
    EXPECT_EQ(shell::GetText(255), c.reportRate);
  }
  shell::SetLanguage(shell::kLangEnglish);
  shell::SetLanguageFolder({});
}
