// The INI reader: encodings, the value rules and missing pieces.

#include <gtest/gtest.h>

#include <string>

#include "TestEnv.h"
#include "platform/IniFile.h"
#include "platform/Text.h"

using platform::IniFile;

namespace {

std::string Utf16(const std::wstring& text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  auto put = [&](unsigned unit) {
    const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    if (bigEndian) {
      out += hi;
      out += lo;
    } else {
      out += lo;
      out += hi;
    }
  };
  for (wchar_t c : text) {
    const auto cp = static_cast<unsigned>(c);
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

}  // namespace

// The same file in every encoding the reader accepts reads to the same text.
TEST(IniFileTest, EveryEncodingReadsTheSameText) {
  const std::wstring text = L"; comment\r\n[LAN]\r\n61=\"Профиль 配置 😀\"\r\n";
  const std::string utf8 = platform::ToUtf8(text);
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"UTF-16 LE with mark", Utf16(text, false)},
      {"UTF-16 BE with mark", Utf16(text, true)},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8},
      {"UTF-8 without mark", utf8},
  };
  testenv::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto file = dir.Path() / "t.lan";
    testenv::WriteFile(file, c.bytes);
    EXPECT_EQ(IniFile::ReadString(file, L"LAN", L"61"), L"Профиль 配置 😀");
  }
}

TEST(IniFileTest, LegacyEightBitTextGoesThroughIconv) {
  struct Case {
    const char* charset;
    std::string bytes;
    std::wstring expected;
  } cases[] = {
      {"CP1252", "[LAN]\n1=Caf\xE9 \x80 5\n", L"Café € 5"},
      {"GBK", "[LAN]\n1=\xC5\xE4\xD6\xC3\n", L"配置"},
      {"CP1251", "[LAN]\n1=\xCF\xF0\xEE\xF4\xE8\xEB\xFC\n", L"Профиль"},
      // A byte the character set has no character for becomes U+FFFD and
      // the rest of the line survives.
      {"CP1252", "[LAN]\n1=a\x81z\n", L"a\uFFFDz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.charset);
    IniFile ini;
    ini.Parse(c.bytes, c.charset);
    EXPECT_EQ(ini.Get(L"LAN", L"1"), c.expected);
  }
}

TEST(IniFileTest, ValueRules) {
  const std::string bytes =
      "top=before any section\n"
      "[LAN]\n"
      "plain=Profile\n"
      "  spaced   =   a  b   \n"
      "dq=\"  quoted  \"\n"
      "sq='single'\n"
      "half=\"open\n"
      "mixed=\"a'\n"
      "inner=say \"hi\"\n"
      "empty=\n"
      "eq=a=b\n"
      "Dup=first\n"
      "dup=second\n"
      "; 5=commented out\n"
      "no equals sign\n"
      "[lan]\n"
      "plain=second section of the same name\n"
      "[Other]\r"
      "plain=other\r";
  IniFile ini;
  ini.Parse(bytes);
  struct Case {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* expected;
  } cases[] = {
      {L"LAN", L"plain", L"Profile"},
      {L"lan", L"PLAIN", L"Profile"},  // names match without regard to case
      {L"LAN", L"spaced", L"a  b"},
      {L"LAN", L"dq", L"  quoted  "},
      {L"LAN", L"sq", L"single"},
      {L"LAN", L"half", L"\"open"},
      {L"LAN", L"mixed", L"\"a'"},
      {L"LAN", L"inner", L"say \"hi\""},
      {L"LAN", L"empty", L""},
      {L"LAN", L"eq", L"a=b"},
      {L"LAN", L"dup", L"first"},
      {L"LAN", L"; 5", L""},
      {L"LAN", L"5", L""},
      {L"LAN", L"top", L""},
      {L"LAN", L"missing", L""},
      {L"Other", L"plain", L"other"},  // CR-only line ends
      {L"Missing", L"plain", L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ini.Get(c.section, c.key), c.expected) << platform::ToUtf8(c.section) << "/" << platform::ToUtf8(c.key);
  EXPECT_TRUE(ini.Has(L"LAN", L"empty"));
  EXPECT_FALSE(ini.Has(L"LAN", L"missing"));
}

TEST(IniFileTest, LongValuesAreCutAndMissingFilesReadEmpty) {
  testenv::TempDir dir;
  const std::wstring longText(300, L'ж');
  testenv::WriteFile(dir.Path() / "long.lan", "[LAN]\n7=" + platform::ToUtf8(longText) + "\n");
  EXPECT_EQ(IniFile::ReadString(dir.Path() / "long.lan", L"LAN", L"7"), longText.substr(0, 259));
  IniFile ini;
  ASSERT_TRUE(ini.Load(dir.Path() / "long.lan"));
  EXPECT_EQ(ini.Get(L"LAN", L"7", 10), longText.substr(0, 10));
  EXPECT_EQ(ini.Get(L"LAN", L"7", 1000), longText);

  EXPECT_EQ(IniFile::ReadString(dir.Path() / "missing.lan", L"LAN", L"7"), L"");
  EXPECT_FALSE(ini.Load(dir.Path()));  // a folder is no file
  EXPECT_EQ(ini.Get(L"LAN", L"7"), L"");
  testenv::WriteFile(dir.Path() / "empty.lan", "");
  EXPECT_TRUE(ini.Load(dir.Path() / "empty.lan"));
  EXPECT_EQ(ini.Get(L"LAN", L"7"), L"");
}

TEST(IniFileTest, BrokenUtf16StaysReadable) {
  // A lone high surrogate and an odd trailing byte.
  std::string bytes = Utf16(L"[LAN]\n1=a", false);
  bytes += std::string("\x00\xD8", 2);
  bytes += std::string("b\0", 2);
  bytes += "\x01";
  IniFile ini;
  ini.Parse(bytes);
  EXPECT_EQ(ini.Get(L"LAN", L"1"), L"a\uFFFDb");
}
