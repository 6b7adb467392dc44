#pragma once
// Localisation: the current language and the lookup of visible texts by
// numeric id in the language file of that language,
// <program folder>/language/<id>.lan, section "LAN".
//
// GetText keeps each language file parsed in memory and checks the file's
// identity (inode, size, modification and change times) on every call, so
// an edited or replaced file takes effect at the next lookup while a window
// full of lookups costs one stat per text. Safe to call from any thread.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace shell {

// Language ids of the languages the program knows.
inline constexpr int kLangEnglish = 1033;
inline constexpr int kLangChineseSimplified = 2052;
inline constexpr int kLangChineseTraditional = 1028;
inline constexpr int kLangJapanese = 1041;
inline constexpr int kLangKorean = 1042;
inline constexpr int kLangUkrainian = 1058;

// The current language (an LCID). 1033 until ChooseLanguage or SetLanguage.
int CurrentLanguage();

// Language id of a POSIX locale name such as "zh_CN.UTF-8" or "en_GB":
// zh_CN/zh_SG (and zh_Hans) 2052, zh_TW/zh_HK/zh_MO (and zh_Hant) 1028,
// en 1033, ja 1041, ko 1042, uk 1058; 0 for anything else, "C" and "POSIX".
int LanguageIdFromLocale(std::string_view locale);

// The user's interface language from LC_ALL, LC_MESSAGES or LANG (the first
// one set and not empty), mapped as above; 0 when none maps.
int UserInterfaceLanguage();

// Start-up's choice of the current language from the stored "LCID" value,
// the user's interface language and the installed language set. Returns the
// chosen language, which is also made current.
int ChooseLanguage();

// Called after SetLanguage has changed the language and the program's font
// name (shell::FontName), with the font face the windows are to use. The
// program's handler passes the face on to the toolkit and lets the main
// window fetch its texts again.
using LanguageChangedHandler = std::function<void(const std::wstring& fontFace)>;
void SetLanguageChangedHandler(LanguageChangedHandler handler);

// The user picked a language: make it current, store it as "LCID", switch
// the font name to "Open Sans Semibold" and notify the handler.
void SetLanguage(int id);

// The language file of a language id.
std::filesystem::path LanguageFile(int id);

// The text with this id in the current language's file; empty when the file,
// the section or the id is missing. At most 259 characters. A file in
// neither UTF-16 with a byte-order mark nor UTF-8 is read in its language's
// legacy code page (936, 950, 932, 949, 1251, else 1252).
std::wstring GetText(int id, std::wstring_view section = L"LAN");

// The text with this id in the file of the given language, whatever the
// current language is, with the rules of GetText. For code that must know
// the words of every installed language.
std::wstring GetLanguageText(int language, int id, std::wstring_view section = L"LAN");

// Forgets the parsed files (the next lookup reads them again). For tests and
// measurements; lookups never need it.
void ClearTextCache();

// Overrides the folder that holds the language files (empty: the program
// folder's "language" folder). For tests and tools.
void SetLanguageFolder(const std::filesystem::path& folder);

}  // namespace shell
