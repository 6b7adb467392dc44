#include "shell/DisplayNames.h"

#include <algorithm>

#include "shell/LanguageSet.h"
#include "shell/Localisation.h"
#include "shell/TextIds.h"

namespace shell {

namespace {

// Words names carry from languages the program knew before the language
// files told it more: the profile words, the default-name words of macros
// (the last one is the truncated word older versions wrote) and the copy
// words.
constexpr const wchar_t* kLiteralProfileWords[] = {L"Profile", L"配置"};
constexpr const wchar_t* kLiteralMacroWords[] = {L"Custom", L"自定义", L"自定義", L"カスタム", L"Пользоват"};
constexpr const wchar_t* kLiteralCopyWords[] = {L"Copy", L"复制", L"複製", L"Копировать"};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u3000'; }

}  // namespace

DisplayNames::DisplayNames() {
  for (const wchar_t* w : kLiteralProfileWords) Add(profileWords_, w);
  for (const wchar_t* w : kLiteralMacroWords) Add(macroWords_, w);
  for (const wchar_t* w : kLiteralCopyWords) Add(copyWords_, w);
}

DisplayNames DisplayNames::FromInstalledLanguages() {
  DisplayNames names;
  for (int language : LanguageSet::All())
    names.AddWords(GetLanguageText(language, kTextProfileWord), GetLanguageText(language, kTextCustomMacroWord),
                   GetLanguageText(language, kTextCopyWord));
  return names;
}

void DisplayNames::AddWords(std::wstring_view profileWord, std::wstring_view macroWord, std::wstring_view copyWord) {
  Add(profileWords_, profileWord);
  Add(macroWords_, macroWord);
  Add(copyWords_, copyWord);
}

void DisplayNames::Add(std::vector<std::wstring>& words, std::wstring_view word) {
  // A word with blanks around it would never match as a whole word; a word
  // of blanks only would match every name.
  const size_t first = word.find_first_not_of(L" \t\u3000");
  if (first == std::wstring_view::npos) return;
  const size_t last = word.find_last_not_of(L" \t\u3000");
  const std::wstring trimmed(word.substr(first, last - first + 1));
  if (std::find(words.begin(), words.end(), trimmed) != words.end()) return;
  words.push_back(trimmed);
  std::stable_sort(words.begin(), words.end(),
                   [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
}

size_t DisplayNames::MatchAt(const std::vector<std::wstring>& words, std::wstring_view name, size_t at) {
  const std::wstring_view rest = name.substr(at);
  for (const std::wstring& word : words) {
    if (rest.size() < word.size() || rest.compare(0, word.size(), word) != 0) continue;
    if (rest.size() == word.size() || IsBlank(rest[word.size()])) return word.size();
  }
  return 0;
}

std::wstring DisplayNames::ProfileName(std::wstring_view stored) const {
  return ProfileName(stored, GetText(kTextProfileWord));
}

std::wstring DisplayNames::MacroName(std::wstring_view stored) const {
  return MacroName(stored, GetText(kTextCustomMacroWord), GetText(kTextCopyWord));
}

std::wstring DisplayNames::ProfileName(std::wstring_view stored, std::wstring_view currentProfileWord) const {
  const size_t matched = currentProfileWord.empty() ? 0 : MatchAt(profileWords_, stored, 0);
  if (matched == 0) return std::wstring(stored);
  // The rest keeps its own leading blank: "Profile 3" becomes "配置 3".
  std::wstring shown(currentProfileWord);
  shown += stored.substr(matched);
  return shown;
}

std::wstring DisplayNames::MacroName(std::wstring_view stored, std::wstring_view currentMacroWord,
                                     std::wstring_view currentCopyWord) const {
  std::wstring shown;
  shown.reserve(stored.size() + 16);
  size_t at = 0;
  if (!currentMacroWord.empty()) {
    if (const size_t matched = MatchAt(macroWords_, stored, 0)) {
      shown = currentMacroWord;
      at = matched;
    }
  }
  // A copy word counts after a blank only: a name that starts with one is
  // the user's own wording ("Copy and paste").
  while (at < stored.size()) {
    const bool afterBlank = at > 0 && IsBlank(stored[at - 1]);
    const size_t matched = afterBlank && !currentCopyWord.empty() ? MatchAt(copyWords_, stored, at) : 0;
    if (matched != 0) {
      shown += currentCopyWord;
      at += matched;
    } else {
      shown += stored[at++];
    }
  }
  return shown;
}

}  // namespace shell
