// MarkupDocument and files: byte-order marks, declared and detected
// encodings, the size limit, and saving in the declared encoding.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestEnv.h"
#include "markup/MarkupDocument.h"

namespace {

namespace fs = std::filesystem;

// U+00E9, U+20AC and U+1F600 cover two-, three- and four-byte UTF-8 and a
// UTF-16 surrogate pair.
const std::wstring kText = std::wstring(L"<r v=\"\u00e9\u20ac") + static_cast<wchar_t>(0x1F600) + L"\"/>";

std::string Utf16(const std::wstring& text, bool big) {
  std::string out;
  auto put = [&](unsigned u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += big ? std::string{hi, lo} : std::string{lo, hi};
  };
  for (wchar_t wc : text) {
    const auto c = static_cast<unsigned>(wc);
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

std::string Utf32Le(const std::wstring& text) {
  std::string out;
  for (wchar_t wc : text) {
    const auto c = static_cast<unsigned>(wc);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((c >> shift) & 0xFF));
  }
  return out;
}

const std::string kUtf8 = "<r v=\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"/>";

struct EncodingCase {
  const char* label;
  std::string bytes;
  std::wstring text;
  int flags;            // byte-order mark bits reported by LoadFile
  const wchar_t* logged;  // a record expected in the log
};

class LoadEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(LoadEncoding, ReadsTheSameText) {
  const EncodingCase& c = GetParam();
  testenv::TempDir dir;
  const fs::path file = dir.Path() / "doc.xml";
  testenv::WriteFile(file, c.bytes);
  MarkupDocument doc;
  std::wstring log;
  int flags = 0;
  ASSERT_TRUE(doc.LoadFile(file, &log, &flags));
  EXPECT_EQ(doc.GetText(), c.text);
  EXPECT_EQ(flags, c.flags);
  EXPECT_NE(log.find(c.logged), std::wstring::npos) << log;
  EXPECT_EQ(log, doc.GetResult());
  EXPECT_TRUE(doc.IsWellFormed()) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Markup, LoadEncoding,
    testing::Values(
        EncodingCase{"Utf8NoMark", kUtf8, kText, 0, L"<converted_to encoding=\"UTF-8\"/>"},
        EncodingCase{"Utf8Mark", "\xEF\xBB\xBF" + kUtf8, kText, 0x4, L"<bom encoding=\"UTF-8\"/>"},
        EncodingCase{"Utf16LeMark", "\xFF\xFE" + Utf16(kText, false), kText, 0x1, L"<bom encoding=\"UTF-16LE\"/>"},
        EncodingCase{"Utf16BeMark", "\xFE\xFF" + Utf16(kText, true), kText, 0x80, L"<endian_swap/>"},
        EncodingCase{"Utf16LeNoMark", Utf16(kText, false), kText, 0, L"<utf16_detection encoding=\"UTF-16LE\"/>"},
        EncodingCase{"Utf16BeNoMark", Utf16(kText, true), kText, 0, L"<utf16_detection encoding=\"UTF-16BE\"/>"},
        EncodingCase{"Utf16NullUnitsRemoved", "\xFF\xFE" + Utf16(std::wstring(L"<a>\0</a>", 8), false), L"<a></a>", 0x1,
                     L"<nulls_removed count=\"1\"/>"},
        EncodingCase{"Latin1Declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"\xE9\"/>",
                     L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"\u00e9\"/>", 0,
                     L"<converted_to encoding=\"ISO-8859-1\"/>"},
        EncodingCase{"Windows1252DeclaredLowerCase", "<?xml version='1.0' encoding='windows-1252'?><r v=\"\x80\x85\"/>",
                     L"<?xml version='1.0' encoding='windows-1252'?><r v=\"\u20ac\u2026\"/>", 0,
                     L"<converted_to encoding=\"windows-1252\"/>"},
        EncodingCase{"HtmlMetaCharset",
                     "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-15\"/>"
                     "</head><body>\xA4</body></html>",
                     L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-15\"/>"
                     L"</head><body>\u20ac</body></html>",
                     0, L"<converted_to encoding=\"ISO-8859-15\"/>"},
        EncodingCase{"UndeclaredLegacyBytes", " <r v=\"\xE9\"/>", L" <r v=\"\u00e9\"/>", 0,
                     L"<utf8_detection encoding=\"WINDOWS-1252\"/>"},
        EncodingCase{"UndeclaredUtf8", " " + kUtf8, L" " + kText, 0, L"<utf8_detection encoding=\"UTF-8\"/>"},
        EncodingCase{"NullBytesRemoved", std::string("<r\0 v=\"1\"/>\0", 12), L"<r v=\"1\"/>", 0,
                     L"<nulls_removed count=\"2\"/>"},
        EncodingCase{"UnknownCharsetFallsBack", "<?xml version=\"1.0\" encoding=\"x-none\"?><r/>",
                     L"<?xml version=\"1.0\" encoding=\"x-none\"?><r/>", 0, L"<unknown_encoding encoding=\"x-none\"/>"},
        EncodingCase{"WideNameIgnoredForBytes", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><r/>",
                     L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r/>", 0, L"<converted_to encoding=\"UTF-8\"/>"},
        EncodingCase{"TruncatedUtf8", "<r/>\xE2\x82", L"<r/>\uFFFD", 0, L"<truncation_error encoding=\"UTF-8\"/>"},
        EncodingCase{"OddUtf16Length", "\xFF\xFE" + Utf16(L"<r/>", false) + "x", L"<r/>", 0x1,
                     L"<truncation_error length=\"1\"/>"}),
    [](const testing::TestParamInfo<EncodingCase>& info) { return info.param.label; });

TEST(MarkupFile, MissingFileIsNotRead) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(L"<old/>"));
  std::wstring log;
  EXPECT_FALSE(doc.LoadFile("/nonexistent/folder/doc.xml", &log));
  EXPECT_NE(log.find(L"<file_error msg=\"No such file or directory\"/>"), std::wstring::npos) << log;
  EXPECT_FALSE(doc.IsWellFormed());  // nothing of the previous document is left
  EXPECT_FALSE(doc.FindElement());
  EXPECT_FALSE(doc.LoadFile(testenv::TestsDir(), &log));  // a folder
}

TEST(MarkupFile, FilesOverTheLimitAreRefused) {
  testenv::TempDir dir;
  const fs::path file = dir.Path() / "huge.xml";
  testenv::WriteFile(file, "<r>");
  fs::resize_file(file, MarkupDocument::kMaxFileBytes + 1);  // sparse: no disk used
  MarkupDocument doc;
  std::wstring log;
  EXPECT_FALSE(doc.LoadFile(file, &log));
  EXPECT_NE(log.find(L"<file_error msg=\"file too large\""), std::wstring::npos) << log;
  EXPECT_TRUE(doc.GetText().empty());
}

TEST(MarkupFile, EndlessDeviceStopsAtTheLimit) {
  MarkupDocument doc;
  std::wstring log;
  EXPECT_FALSE(doc.LoadFile("/dev/zero", &log));
  EXPECT_NE(log.find(L"file too large"), std::wstring::npos) << log;
}

// The writer's document saved and loaded again: UTF-8 without a mark, the
// escaped value reads back as it was set.
TEST(MarkupFile, SavedAttributeReadsBack) {
  testenv::TempDir dir;
  const fs::path file = dir.Path() / "macro.xml";
  const std::wstring value = L"say \"hi\" & <go> '\u00e9'";
  MarkupDocument doc;
  doc.ParseText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  ASSERT_TRUE(doc.AddElement(L"macro"));
  ASSERT_TRUE(doc.SetAttribute(L"name", value));
  std::wstring log;
  ASSERT_TRUE(doc.SaveFile(file, &log));
  EXPECT_EQ(testenv::ReadFile(file),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<macro name=\"say &quot;hi&quot; &amp; &lt;go&gt; &apos;\xC3\xA9&apos;\"/>\r\n");
  MarkupDocument read;
  ASSERT_TRUE(read.LoadFile(file));
  ASSERT_TRUE(read.IsWellFormed());
  ASSERT_TRUE(read.FindElement(L"macro"));
  EXPECT_EQ(read.GetAttribute(L"name"), value);
}

struct SaveCase {
  const char* label;
  std::wstring text;
  int flags;
  std::string bytes;
  const wchar_t* logged;
};

class SaveEncoding : public testing::TestWithParam<SaveCase> {};

TEST_P(SaveEncoding, WritesTheDeclaredEncoding) {
  const SaveCase& c = GetParam();
  testenv::TempDir dir;
  const fs::path file = dir.Path() / "out.xml";
  MarkupDocument doc;
  doc.ParseText(c.text);
  int flags = c.flags;
  std::wstring log;
  ASSERT_TRUE(doc.SaveFile(file, &log, &flags));
  EXPECT_EQ(testenv::ReadFile(file), c.bytes);
  EXPECT_NE(log.find(c.logged), std::wstring::npos) << log;
  // Whatever was written reads back (up to the characters that were lost).
  MarkupDocument read;
  ASSERT_TRUE(read.LoadFile(file));
  if (std::wstring(c.logged).find(L"conversion_loss") == std::wstring::npos) {
    EXPECT_EQ(read.GetText(), c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Markup, SaveEncoding,
    testing::Values(
        SaveCase{"NoDeclarationIsUtf8", L"<r v=\"\u00e9\"/>", 0, "<r v=\"\xC3\xA9\"/>", L"encoding=\"UTF-8\""},
        SaveCase{"Utf8Preamble", L"<r/>", 0x4, "\xEF\xBB\xBF<r/>", L"encoding=\"UTF-8\""},
        SaveCase{"Latin1", L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"\u00e9\"/>", 0,
                 "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"\xE9\"/>",
                 L"<converted_to encoding=\"ISO-8859-1\""},
        SaveCase{"Latin1Loss", L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"\u20ac\u00e9\"/>", 0,
                 "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"?\xE9\"/>",
                 L"<conversion_loss encoding=\"ISO-8859-1\" count=\"1\"/>"},
        SaveCase{"DeclaredUtf16", L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r v=\"\u20ac\"/>", 0,
                 "\xFF\xFE" + Utf16(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r v=\"\u20ac\"/>", false),
                 L"<converted_to encoding=\"UTF-16\""},
        SaveCase{"DeclaredUtf32", L"<?xml version=\"1.0\" encoding=\"UTF-32\"?><r/>", 0,
                 Utf32Le(L"\uFEFF<?xml version=\"1.0\" encoding=\"UTF-32\"?><r/>"), L"<converted_to encoding=\"UTF-32\""},
        SaveCase{"Utf16LeFlag", L"<r/>", 0x1, std::string("\xFF\xFE<\0r\0/\0>\0", 10), L"encoding=\"UTF-16LE\""},
        SaveCase{"Utf16BeFlag", L"<r/>", 0x80, std::string("\xFE\xFF\0<\0r\0/\0>", 10), L"encoding=\"UTF-16BE\""}),
    [](const testing::TestParamInfo<SaveCase>& info) { return info.param.label; });

TEST(MarkupFile, SaveFailureIsLogged) {
  testenv::TempDir dir;
  MarkupDocument doc;
  doc.ParseText(L"<r/>");
  std::wstring log;
  EXPECT_FALSE(doc.SaveFile(dir.Path() / "missing" / "out.xml", &log));
  EXPECT_NE(log.find(L"<file_error msg=\"No such file or directory\"/>"), std::wstring::npos) << log;
  EXPECT_FALSE(doc.SaveFile(dir.Path(), &log));  // a folder
  EXPECT_NE(log.find(L"<file_error"), std::wstring::npos) << log;
}

TEST(MarkupFile, LogStopsGrowingPastItsLimit) {
  std::wstring text = L"<r>";
  for (int i = 0; i < 500; ++i) text += L"</nothing>";
  text += L"</r>";
  MarkupDocument doc;
  EXPECT_FALSE(doc.ParseText(text));
  EXPECT_GT(doc.GetResult().size(), 999u);
  EXPECT_LT(doc.GetResult().size(), 999u + 200u);  // at most one record past the limit
}

}  // namespace

// Saving replaces the file whole: the old content until the new one is
// complete, the file's permission bits kept, a link followed to its file,
// and no temporary file left beside it.
TEST(MarkupFile, SaveReplacesTheFileWholeAndKeepsItsMode) {
  testenv::TempDir dir;
  const auto file = dir.Path() / "profile.xml";
  testenv::WriteFile(file, "old content");
  std::filesystem::permissions(file, std::filesystem::perms(0640), std::filesystem::perm_options::replace);
  std::filesystem::create_symlink(file, dir.Path() / "link.xml");
  // A second name for the old file shows that the save put a complete new
  // file in place instead of truncating and rewriting the old one.
  std::filesystem::create_hard_link(file, dir.Path() / "old.xml");

  MarkupDocument doc;
  doc.ParseText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r a=\"1\"/>\r\n");
  ASSERT_TRUE(doc.SaveFile(file));
  EXPECT_EQ(testenv::ReadFile(file), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r a=\"1\"/>\r\n");
  EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(testenv::ReadFile(dir.Path() / "old.xml"), "old content");

  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.SetAttribute(L"a", L"2"));
  ASSERT_TRUE(doc.SaveFile(dir.Path() / "link.xml"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "link.xml"));
  EXPECT_NE(testenv::ReadFile(file).find("a=\"2\""), std::string::npos);

  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 3);  // the file, the link and the old file's second name
}
