#pragma once
// DisplayNames: how stored profile and macro names are shown in the current
// language. Names keep the words of the language they were made in (the
// initial profiles are "<profile word> 1" to "<profile word> 4", new macros
// "<default-name word> N", copies end in the copy word); on screen those
// words are replaced by the current language's, so a language switch
// re-forms every name the program made. The stored names never change.
//
// The words recognised are the literal ones the program has always known
// plus texts 61 (profile word), 351 (default-name word of macros) and 31
// (copy word) of every installed language, so a name made under any
// shipped language is re-formed under any other.
//
// A word counts only as a whole word: it must be followed by a blank or
// the end of the name, so "Customer 1" or "Profiles" are the user's own
// names and stay as they are. Where several words fit, the longest wins.
// Immutable once built; safe to share between threads.

#include <string>
#include <string_view>
#include <vector>

namespace shell {

class DisplayNames {
 public:
  // The literal words only.
  DisplayNames();

  // The literal words and the words of every language in the installed
  // language set, read from their language files.
  static DisplayNames FromInstalledLanguages();

  // Adds one language's words; empty or all-blank words are ignored.
  void AddWords(std::wstring_view profileWord, std::wstring_view macroWord, std::wstring_view copyWord);

  // A profile name that starts with a profile word is shown with the
  // current profile word (text 61) in its place; anything else unchanged.
  std::wstring ProfileName(std::wstring_view stored) const;
  // A macro name that starts with a default-name word is shown with the
  // current one (text 351), and every copy word standing after a blank is
  // shown as the current copy word (text 31).
  std::wstring MacroName(std::wstring_view stored) const;

  // The same with the current language's words given; an empty current word
  // leaves its kind of word as stored, so a missing language file never
  // turns a name into a bare number.
  std::wstring ProfileName(std::wstring_view stored, std::wstring_view currentProfileWord) const;
  std::wstring MacroName(std::wstring_view stored, std::wstring_view currentMacroWord,
                         std::wstring_view currentCopyWord) const;

  const std::vector<std::wstring>& ProfileWords() const { return profileWords_; }
  const std::vector<std::wstring>& MacroWords() const { return macroWords_; }
  const std::vector<std::wstring>& CopyWords() const { return copyWords_; }

 private:
  static void Add(std::vector<std::wstring>& words, std::wstring_view word);
  // Length of the longest word that stands at `at` in name and is followed
  // by a blank or the end; 0 when none does.
  static size_t MatchAt(const std::vector<std::wstring>& words, std::wstring_view name, size_t at);

  // Each list is sorted longest first, without duplicates.
  std::vector<std::wstring> profileWords_;
  std::vector<std::wstring> macroWords_;
  std::vector<std::wstring> copyWords_;
};

}  // namespace shell
