// Profile and macro names shown in the current language, for names made
// under any shipped language.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "platform/Text.h"
#include "shell/DisplayNames.h"
#include "shell/LanguageSet.h"
#include "shell/Localisation.h"

namespace {

// The words of the shipped language files, written out here so that the
// expectations do not come from the code under test.
struct LanguageWords {
  int lcid;
  const wchar_t* profile;  // 61
  const wchar_t* macro;    // 351
  const wchar_t* copy;     // 31
};
constexpr LanguageWords kShipped[] = {
    {1033, L"Profile", L"Custom", L"Copy"},
    {2052, L"配置", L"自定义", L"复制"},
    {1028, L"配置", L"自定義", L"複製"},
    {1041, L"プロファイル", L"カスタム", L"複製"},
    {1042, L"프로필", L"사용자 지정", L"복사"},
    {1058, L"Профіль", L"Власний", L"Копіювати"},
};

std::wstring Cat(std::initializer_list<std::wstring_view> parts) {
  std::wstring s;
  for (auto p : parts) s += p;
  return s;
}

std::string Narrow(const std::wstring& s) { return platform::ToUtf8(s); }

// The shipped language files, all six installed.
class DisplayNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::SetLanguageFolder(testenv::BinDir() / "language");
    shell::LanguageSet::Clear();
    for (const auto& l : kShipped) shell::LanguageSet::Add(l.lcid);
  }
  void TearDown() override {
    shell::SetLanguage(shell::kLangEnglish);
    shell::SetLanguageFolder({});
    shell::LanguageSet::Clear();
  }
  testenv::FreshUserFolders home_;
};

// A name made in one language, the way the program makes names (the initial
// profiles "%s %d", new macros "%s %d", copies "%s %s" with the copy word),
// is shown with the words of the current language, for every pair.
TEST_F(DisplayNamesTest, NamesMadeInAnyLanguageShowTheCurrentLanguagesWords) {
  const shell::DisplayNames names = shell::DisplayNames::FromInstalledLanguages();
  for (const auto& made : kShipped) {
    const std::wstring profile = Cat({made.profile, L" 3"});
    const std::wstring macro = Cat({made.macro, L" 2"});
    const std::wstring copy = Cat({made.macro, L" 2 ", made.copy});
    for (const auto& current : kShipped) {
      SCOPED_TRACE(testing::Message() << "made in " << made.lcid << ", shown in " << current.lcid);
      shell::SetLanguage(current.lcid);
      EXPECT_EQ(Narrow(names.ProfileName(profile)), Narrow(Cat({current.profile, L" 3"})));
      EXPECT_EQ(Narrow(names.ProfileName(made.profile)), Narrow(current.profile));
      EXPECT_EQ(Narrow(names.MacroName(macro)), Narrow(Cat({current.macro, L" 2"})));
      EXPECT_EQ(Narrow(names.MacroName(copy)), Narrow(Cat({current.macro, L" 2 ", current.copy})));
      EXPECT_EQ(Narrow(names.ProfileName(L"Office")), "Office");
      EXPECT_EQ(Narrow(names.MacroName(L"Office")), "Office");
    }
  }
}

// Every installed language contributes its words once; the literal words
// stay known; longer words come first so that the longest one matches.
TEST_F(DisplayNamesTest, WordsComeFromEveryInstalledLanguageFile) {
  const shell::DisplayNames names = shell::DisplayNames::FromInstalledLanguages();
  using Words = std::vector<std::wstring>;
  auto sorted = [](Words w) {
    std::sort(w.begin(), w.end());
    return w;
  };
  EXPECT_EQ(sorted(names.ProfileWords()), sorted(Words{L"Profile", L"配置", L"プロファイル", L"프로필", L"Профіль"}));
  EXPECT_EQ(sorted(names.MacroWords()), sorted(Words{L"Custom", L"自定义", L"自定義", L"カスタム", L"Пользоват",
                                                     L"사용자 지정", L"Власний"}));
  EXPECT_EQ(sorted(names.CopyWords()), sorted(Words{L"Copy", L"复制", L"複製", L"Копировать", L"복사", L"Копіювати"}));
  for (const Words* list : {&names.ProfileWords(), &names.MacroWords(), &names.CopyWords()})
    EXPECT_TRUE(std::is_sorted(list->begin(), list->end(),
                               [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); }));

  // Without the language files only the literal words are known: a name made
  // under Ukrainian then stays as stored.
  const shell::DisplayNames literal;
  EXPECT_EQ(Narrow(literal.ProfileName(L"Профіль 2", L"Profile")), Narrow(L"Профіль 2"));
  EXPECT_EQ(Narrow(names.ProfileName(L"Профіль 2", L"Profile")), "Profile 2");
}

// Names that are not made of the program's words, or only look like them.
TEST_F(DisplayNamesTest, OnlyWholeWordsAreReplaced) {
  const shell::DisplayNames names = shell::DisplayNames::FromInstalledLanguages();
  struct Case {
    const wchar_t* stored;
    const wchar_t* profile;  // shown with the profile word "Профіль"
    const wchar_t* macro;    // shown with "Власний" and "Копіювати"
  } cases[] = {
      {L"Profile 3", L"Профіль 3", L"Profile 3"},
      {L"Profile", L"Профіль", L"Profile"},
      {L"Profiles 3", L"Profiles 3", L"Profiles 3"},
      {L"ProfileX", L"ProfileX", L"ProfileX"},
      {L" Profile 1", L" Profile 1", L" Profile 1"},
      {L"配置1", L"配置1", L"配置1"},
      {L"游戏配置 一", L"游戏配置 一", L"游戏配置 一"},
      {L"Custom 1", L"Custom 1", L"Власний 1"},
      {L"Customer 1", L"Customer 1", L"Customer 1"},
      {L"사용자 지정 4", L"사용자 지정 4", L"Власний 4"},
      {L"사용자 4", L"사용자 4", L"사용자 4"},
      {L"Пользоват 5 Копировать", L"Пользоват 5 Копировать", L"Власний 5 Копіювати"},
      {L"Custom 1 Copy Copy", L"Custom 1 Copy Copy", L"Власний 1 Копіювати Копіювати"},
      {L"Custom 1 Copy 2", L"Custom 1 Copy 2", L"Власний 1 Копіювати 2"},
      {L"Custom Copy", L"Custom Copy", L"Власний Копіювати"},
      {L"Copy and paste", L"Copy and paste", L"Copy and paste"},
      {L"Fast Copying", L"Fast Copying", L"Fast Copying"},
      {L"Profile 2 Copy", L"Профіль 2 Copy", L"Profile 2 Копіювати"},
      {L"", L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.stored));
    EXPECT_EQ(Narrow(names.ProfileName(c.stored, L"Профіль")), Narrow(c.profile));
    EXPECT_EQ(Narrow(names.MacroName(c.stored, L"Власний", L"Копіювати")), Narrow(c.macro));
  }
}

// Where two words fit, the longer one is replaced whole; a word of blanks
// is no word; an empty current word (no language file) shows the name as
// stored rather than a bare number.
TEST_F(DisplayNamesTest, LongestWordWinsAndEmptyWordsChangeNothing) {
  shell::DisplayNames names;
  names.AddWords(L"My", L"사용자", L"");
  names.AddWords(L"My Profile", L"사용자 지정", L"  ");
  names.AddWords(L" ", L"\u3000", L"");
  EXPECT_EQ(names.ProfileWords().size(), 4u);
  EXPECT_EQ(names.CopyWords().size(), 4u);
  EXPECT_EQ(Narrow(names.ProfileName(L"My Profile 2", L"P")), "P 2");
  EXPECT_EQ(Narrow(names.ProfileName(L"My 2", L"P")), "P 2");
  EXPECT_EQ(Narrow(names.MacroName(L"사용자 지정 3", L"M", L"C")), "M 3");
  EXPECT_EQ(Narrow(names.MacroName(L"  3", L"M", L"C")), "  3");

  EXPECT_EQ(Narrow(names.ProfileName(L"Profile 1", L"")), "Profile 1");
  EXPECT_EQ(Narrow(names.MacroName(L"Custom 1 Copy", L"", L"")), "Custom 1 Copy");
  EXPECT_EQ(Narrow(names.MacroName(L"Custom 1 Copy", L"M", L"")), "M 1 Copy");

  // The language file of the current language missing: names stay as stored.
  shell::SetLanguage(1049);
  const shell::DisplayNames installed = shell::DisplayNames::FromInstalledLanguages();
  EXPECT_EQ(Narrow(installed.ProfileName(L"Profile 1")), "Profile 1");
  EXPECT_EQ(Narrow(installed.MacroName(L"Custom 1 Copy")), "Custom 1 Copy");
}

}  // namespace
