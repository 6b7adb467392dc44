#pragma once
// IniFile: the reader for INI-style text files ("[section]" lines and
// "key=value" lines) with the rules the program's language files rely on:
//
// - Encoding: UTF-16 LE or BE with a byte-order mark, UTF-8 with or without
//   a mark, and any other bytes as legacy 8-bit text converted with iconv
//   from a caller-chosen character set (CP1252 by default).
// - Section and key names match without regard to ASCII case; the first
//   section of a name and the first key of a name win.
// - White space around names and values is dropped, and a value enclosed in
//   a matching pair of double or single quotes loses the quotes.
// - Comment lines (starting with ';') and lines that are neither a section
//   nor hold '=' are ignored.
// - A value is cut to a caller-given number of characters (259 by default,
//   what a 260-character read buffer holds).
//
// Nothing throws; a missing or unreadable file reads as empty.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace platform {

class IniFile {
 public:
  static constexpr size_t kDefaultMaxChars = 259;

  IniFile() = default;

  // Reads and parses the whole file. False when it cannot be read; the object
  // is then empty. legacyCharset names the iconv character set used for text
  // that is neither UTF-16 with a mark nor valid UTF-8.
  bool Load(const std::filesystem::path& file, const char* legacyCharset = "CP1252");

  // Parses bytes already in memory, with the same rules as Load.
  void Parse(std::string_view bytes, const char* legacyCharset = "CP1252");

  // The value of key in section, cut to maxChars characters; empty when the
  // section or the key is missing.
  std::wstring Get(std::wstring_view section, std::wstring_view key,
                   size_t maxChars = kDefaultMaxChars) const;
  bool Has(std::wstring_view section, std::wstring_view key) const;

  // Every key of a section (lower-cased names) with its value, uncut.
  std::map<std::wstring, std::wstring> Section(std::wstring_view section) const;

  // Decodes file bytes to wide text by the encoding rules above.
  static std::wstring Decode(std::string_view bytes, const char* legacyCharset = "CP1252");

  // One-shot read, the shape of GetPrivateProfileString: empty for anything
  // missing.
  static std::wstring ReadString(const std::filesystem::path& file, std::wstring_view section,
                                 std::wstring_view key, size_t maxChars = kDefaultMaxChars);

 private:
  // Sections and keys are stored under their lower-cased names.
  std::map<std::wstring, std::map<std::wstring, std::wstring>> sections_;
};

}  // namespace platform
