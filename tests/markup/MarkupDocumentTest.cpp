// MarkupDocument in memory: the well-formed verdict and its log records,
// the element index under navigation, attribute decoding and the writer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup/MarkupDocument.h"

namespace {

// --- Verdicts --------------------------------------------------------------------------

struct VerdictCase {
  const char* label;
  const wchar_t* text;
  bool wellFormed;
  const wchar_t* logged;  // a record expected in the result log ("" for none)
};

class ParseVerdict : public testing::TestWithParam<VerdictCase> {};

TEST_P(ParseVerdict, MatchesAndLogs) {
  const VerdictCase& c = GetParam();
  MarkupDocument doc;
  EXPECT_EQ(doc.ParseText(c.text), c.wellFormed) << doc.GetResult();
  EXPECT_EQ(doc.IsWellFormed(), c.wellFormed);
  if (*c.logged) {
    EXPECT_NE(doc.GetResult().find(c.logged), std::wstring::npos) << doc.GetResult();
  } else {
    EXPECT_EQ(doc.GetResult(), L"");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Markup, ParseVerdict,
    testing::Values(
        VerdictCase{"Empty", L"<a/>", true, L""},
        VerdictCase{"DeclarationAndAttributes", L"<?xml version=\"1.0\"?>\r\n<a x=\"1\" y='2'><b/></a>\r\n", true,
                    L""},
        VerdictCase{"MarkupInsideQuotes", L"<a x=\"/>\" y='\"'></a>", true, L""},
        VerdictCase{"EndTagWithBlank", L"<a></a >", true, L""},
        VerdictCase{"UnquotedValue", L"<a x=1 y=two></a>", true, L""},
        VerdictCase{"CommentPiDoctype",
                    L"<!DOCTYPE a [<!ELEMENT a ANY> <!-- ] > -->]><?pi data?><!-- c --><a><![CDATA[<x>]]></a>",
                    true, L""},
        VerdictCase{"NonAsciiNames", L"<\u00e9t\u00e9 n\u00b7m=\"1\"/>", true, L""},
        VerdictCase{"UnendedInside", L"<a><b></a>", false, L"<unended_start_tag tagname=\"b\""},
        VerdictCase{"UnendedAtEnd", L"<a><b/>", false, L"<unended_start_tag tagname=\"a\""},
        VerdictCase{"RootHasSibling", L"<a/><b/>", false, L"<root_has_sibling tagname=\"b\""},
        VerdictCase{"NoRootEmpty", L"", false, L"<no_root_element/>"},
        VerdictCase{"NoRootDeclaration", L"<?xml version=\"1.0\"?>\r\n", false, L"<no_root_element/>"},
        VerdictCase{"LoneEndTag", L"<a></b></a>", false, L"<lone_end_tag tagname=\"b\""},
        VerdictCase{"CaseMatters", L"<a></A>", false, L"<lone_end_tag tagname=\"A\""},
        VerdictCase{"UnterminatedStartTag", L"<a x=\"1\"", false,
                    L"<unterminated_tag_syntax type=\"start_tag\""},
        VerdictCase{"UnterminatedQuote", L"<a x=\"1></a>", false, L"<unterminated_tag_syntax type=\"start_tag\""},
        VerdictCase{"UnterminatedEndTag", L"<a></a", false, L"<unterminated_tag_syntax type=\"end_tag\""},
        VerdictCase{"AttributeWithoutValue", L"<a b></a>", false, L"<unterminated_tag_syntax type=\"tag\""},
        VerdictCase{"AttributesWithoutBlank", L"<a x=\"1\"y=\"2\"/>", false,
                    L"<unterminated_tag_syntax type=\"tag\""},
        VerdictCase{"SlashInsideTag", L"<a / ></a>", false, L"<unterminated_tag_syntax type=\"tag\""},
        VerdictCase{"JunkInEndTag", L"<a></a b>", false, L"<unterminated_tag_syntax type=\"tag\""},
        VerdictCase{"BlankAfterLess", L"< a/>", false, L"<first_tag_syntax offset=\"0\"/>"},
        VerdictCase{"DigitName", L"<a><1/></a>", false, L"<first_tag_syntax offset=\"3\"/>"},
        VerdictCase{"LessAtEnd", L"<a/><", false, L"<unterminated_tag_syntax type=\"tag\""},
        VerdictCase{"UnterminatedPi", L"<a><?pi x", false, L"<unterminated_tag_syntax type=\"processing_instruction\""},
        VerdictCase{"UnterminatedComment", L"<a><!-- x", false, L"<unterminated_tag_syntax type=\"comment\""},
        VerdictCase{"DoubleHyphenInComment", L"<a><!-- x -- y --></a>", false, L"<comment_tag_syntax"},
        VerdictCase{"SingleHyphenOpener", L"<a><!-x--></a>", false, L"<comment_tag_syntax"},
        VerdictCase{"UnterminatedCdata", L"<a><![CDATA[x</a>", false, L"<unterminated_tag_syntax type=\"cdata_section\""},
        VerdictCase{"MisspelledCdata", L"<a><![CDAT[x]]></a>", false, L"<cdata_section_syntax"},
        VerdictCase{"CdataOutsideRoot", L"<![CDATA[x]]><a/>", false, L"<cdata_section_syntax"},
        VerdictCase{"UnterminatedDoctype", L"<!DOCTYPE a [ <!ELEMENT a ANY>", false,
                    L"<unterminated_tag_syntax type=\"document_type\""},
        VerdictCase{"DoctypeAfterRoot", L"<a/><!DOCTYPE a>", false, L"<doctype_tag_syntax"},
        VerdictCase{"UnknownDeclaration", L"<a><!ELEMENT a ANY></a>", false, L"<exclamation_tag_syntax"}),
    [](const testing::TestParamInfo<VerdictCase>& info) { return info.param.label; });

TEST(MarkupParse, EmbeddedZeroIsNotTheEndOfTheText) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.ParseText(std::wstring(L"<a><\0/></a>", 11)));  // "<" then a zero: not a tag
  EXPECT_NE(doc.GetResult().find(L"<first_tag_syntax offset=\"3\"/>"), std::wstring::npos);
  EXPECT_TRUE(doc.ParseText(std::wstring(L"<a x=\"\0\">\0</a>", 14)));
}

TEST(MarkupParse, FreshDocumentHasNoElements) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.IsWellFormed());
  EXPECT_FALSE(doc.FindElement());
  EXPECT_FALSE(doc.EnterElement());
  EXPECT_FALSE(doc.LeaveElement());
  EXPECT_EQ(doc.GetAttribute(L"x"), L"");
  EXPECT_EQ(doc.GetTagName(), L"");
}

// --- Navigation ------------------------------------------------------------------------

// Every element in document order, as "depth:name", by cursor moves alone.
std::vector<std::wstring> Walk(MarkupDocument& doc) {
  std::vector<std::wstring> out;
  int depth = 0;
  while (true) {
    if (doc.FindElement()) {
      std::wstring line = std::to_wstring(depth) + L":" + doc.GetTagName();
      for (int i = 0;; ++i) {
        const std::wstring name = doc.GetAttributeName(i);
        if (name.empty()) break;
        line += L" " + name + L"=" + doc.GetAttribute(name);
      }
      out.push_back(line);
      doc.EnterElement();
      ++depth;
    } else if (doc.LeaveElement()) {
      --depth;
    } else {
      break;
    }
  }
  return out;
}

TEST(MarkupNavigation, ForwardSearchVisitsSiblingsInOrder) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(L"<p><x v=\"1\"/><y/><x v=\"2\"/></p>"));
  ASSERT_TRUE(doc.FindElement(L"p"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"x"));
  EXPECT_EQ(doc.GetAttribute(L"v"), L"1");
  ASSERT_TRUE(doc.FindElement(L"x"));
  EXPECT_EQ(doc.GetAttribute(L"v"), L"2");
  EXPECT_FALSE(doc.FindElement(L"x"));
  EXPECT_EQ(doc.GetAttribute(L"v"), L"2");  // the cursor stayed on the second x
  EXPECT_FALSE(doc.FindElement(L"y"));      // y stands before the current element
}

TEST(MarkupNavigation, LeavingContinuesAfterTheElementLeft) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(L"<r><a n=\"1\"><i/></a><b/><a n=\"2\"/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_FALSE(doc.EnterElement());  // no current element inside a yet
  ASSERT_TRUE(doc.FindElement(L"i"));
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetAttribute(L"n"), L"1");
  ASSERT_TRUE(doc.FindElement(L"a"));
  EXPECT_EQ(doc.GetAttribute(L"n"), L"2");
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetTagName(), L"r");
  EXPECT_FALSE(doc.LeaveElement());  // the document has no parent
  EXPECT_FALSE(doc.FindElement(L"r"));
}

TEST(MarkupNavigation, SearchNameEndsAtPathCharacters) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(L"<r><a/><item/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_TRUE(doc.FindElement(L"item[2]"));
  EXPECT_EQ(doc.GetTagName(), L"item");
}

TEST(MarkupNavigation, IgnoreCaseFlagFoldsNames) {
  MarkupDocument doc;
  int flags = MarkupDocument::MDF_IGNORECASE;
  EXPECT_FALSE(doc.LoadFile("/nonexistent/x.xml", nullptr, &flags));
  ASSERT_TRUE(doc.ParseText(L"<Root Name=\"v\"></ROOT>"));
  ASSERT_TRUE(doc.FindElement(L"root"));
  EXPECT_EQ(doc.GetAttribute(L"NAME"), L"v");
}

struct RestructureCase {
  const char* label;
  const wchar_t* text;
  std::vector<std::wstring> walk;
};

class UnendedElements : public testing::TestWithParam<RestructureCase> {};

// An element ended by an outer end tag gives its children to its parent:
// they follow it as siblings.
TEST_P(UnendedElements, ChildrenBecomeFollowingSiblings) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.ParseText(GetParam().text));
  EXPECT_EQ(Walk(doc), GetParam().walk);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, UnendedElements,
    testing::Values(
        RestructureCase{"OneLevel", L"<r><a><b/><c></r>", {L"0:r", L"1:a", L"1:b", L"1:c"}},
        RestructureCase{"TwoLevels", L"<r><a><b><x/></r><s/>", {L"0:r", L"1:a", L"1:b", L"1:x", L"0:s"}},
        RestructureCase{"WithEarlierSiblings",
                        L"<r><p/><a><q/><b><x/><y/></r>",
                        {L"0:r", L"1:p", L"1:a", L"1:q", L"1:b", L"1:x", L"1:y"}},
        RestructureCase{"ThenNormal", L"<r><a><b></a><c/></r>", {L"0:r", L"1:a", L"2:b", L"1:c"}}),
    [](const testing::TestParamInfo<RestructureCase>& info) { return info.param.label; });

TEST(MarkupNavigation, DeepNestingNeedsNoStack) {
  constexpr int kDepth = 1'000'000;
  std::wstring text;
  for (int i = 0; i < kDepth; ++i) text += L"<a>";
  for (int i = 0; i < kDepth; ++i) text += L"</a>";
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(text));
  int depth = 0;
  while (doc.FindElement(L"a") && doc.EnterElement()) ++depth;
  EXPECT_EQ(depth, kDepth);
  // The same depth never closed, then many end tags that match nothing.
  text.resize(kDepth * 3);
  for (int i = 0; i < kDepth / 2; ++i) text += L"</b>";
  EXPECT_FALSE(doc.ParseText(text));
  EXPECT_LE(doc.GetResult().size(), 1200u);
  EXPECT_NE(doc.GetResult().find(L"<lone_end_tag tagname=\"b\""), std::wstring::npos);
}

TEST(MarkupNavigation, ElementLimitStopsTheIndex) {
  std::wstring text = L"<r>";
  for (std::uint32_t i = 0; i < MarkupDocument::kMaxElements; ++i) text += L"<a/>";  // one too many
  text += L"</r>";
  MarkupDocument doc;
  EXPECT_FALSE(doc.ParseText(text));
  EXPECT_NE(doc.GetResult().find(L"<element_limit"), std::wstring::npos);
  text.erase(3, 4);  // one element fewer: exactly at the limit
  EXPECT_TRUE(doc.ParseText(text));
}

// --- Attributes ------------------------------------------------------------------------

struct ValueCase {
  const wchar_t* written;  // as it stands between the quotes
  std::wstring read;
};

class AttributeValue : public testing::TestWithParam<ValueCase> {};

TEST_P(AttributeValue, DecodesReferences) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(std::wstring(L"<a v=\"") + GetParam().written + L"\"/>"));
  ASSERT_TRUE(doc.FindElement(L"a"));
  EXPECT_EQ(doc.GetAttribute(L"v"), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, AttributeValue,
    testing::Values(ValueCase{L"&amp;&lt;&gt;&quot;&apos;", L"&<>\"'"},
                    ValueCase{L"&#65;&#x41;&#X41;&#0065;", L"AAAA"},
                    ValueCase{L"&#x1F600;", std::wstring(1, static_cast<wchar_t>(0x1F600))},
                    ValueCase{L"&eacute;&Eacute;&NBSP;&AMP;", L"\u00e9\u00c9\u00a0&"},
                    ValueCase{L"&thetasym;&euro;&hellip;", L"\u03d1\u20ac\u2026"},
                    ValueCase{L"&unknown;", L"&unknown;"},
                    ValueCase{L"&amp", L"&amp"},
                    ValueCase{L"&amp &lt;", L"&amp <"},
                    ValueCase{L"&abcdefghij;", L"&abcdefghij;"},
                    ValueCase{L"&#;&#x;&#12a;", L"&#;&#x;&#12a;"},
                    ValueCase{L"&#0;&#xD800;&#1114112;", L"&#0;&#xD800;&#1114112;"},
                    ValueCase{L"fish & chips", L"fish & chips"},
                    ValueCase{L"&&amp;", L"&&"}));

TEST(MarkupAttributes, ScansOnlyTheStartTagByExactName) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(L"<r ab=\"1\" b='\"2\"' c=3 d = \"4\"><x b=\"child\"/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  EXPECT_EQ(doc.GetAttribute(L"b"), L"\"2\"");
  EXPECT_EQ(doc.GetAttribute(L"c"), L"3");
  EXPECT_EQ(doc.GetAttribute(L"d"), L"4");
  EXPECT_EQ(doc.GetAttribute(L"a"), L"");
  EXPECT_EQ(doc.GetAttribute(L"x"), L"");
  EXPECT_EQ(doc.GetAttributeName(0), L"ab");
  EXPECT_EQ(doc.GetAttributeName(3), L"d");
  EXPECT_EQ(doc.GetAttributeName(4), L"");
}

// Reading attributes in any order, again, by position and after an edit
// gives the same values as a fresh read of the start tag.
TEST(MarkupAttributes, AnyReadingOrderGivesTheSameValues) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(L"<r><a x=\"1\" y=\"2\" z=\"3\"/><b x=\"4\" y=\"5\" z=\"6\"/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"a"));
  std::wstring read;
  for (const wchar_t* name : {L"z", L"x", L"y", L"y", L"x", L"w", L"z"}) read += doc.GetAttribute(name) + L",";
  for (int i : {2, 0, 1, 1, 3, 2}) read += doc.GetAttributeName(i) + L",";
  EXPECT_EQ(read, L"3,1,2,2,1,,3,z,x,y,y,,z,");
  ASSERT_TRUE(doc.SetAttribute(L"x", L"longer"));
  EXPECT_EQ(doc.GetAttribute(L"y"), L"2");
  EXPECT_EQ(doc.GetAttributeName(1), L"y");
  ASSERT_TRUE(doc.FindElement(L"b"));  // same layout, other element
  EXPECT_EQ(doc.GetAttribute(L"z"), L"6");
  EXPECT_EQ(doc.GetAttribute(L"x"), L"4");
}

// --- Writer ----------------------------------------------------------------------------

constexpr const wchar_t* kDeclaration = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

TEST(MarkupWriter, FourLineExample) {
  MarkupDocument doc;
  doc.ParseText(kDeclaration);
  ASSERT_TRUE(doc.AddElement(L"profile"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"profileinfo"));
  EXPECT_EQ(doc.GetText(),
            L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            L"<profile>\r\n"
            L"<profileinfo/>\r\n"
            L"</profile>\r\n");
}

TEST(MarkupWriter, SetAttributeEscapesAppendsAndReplacesInPlace) {
  MarkupDocument doc;
  doc.ParseText(kDeclaration);
  ASSERT_TRUE(doc.AddElement(L"m"));
  ASSERT_TRUE(doc.SetAttribute(L"a", L"1"));
  ASSERT_TRUE(doc.SetAttribute(L"b", L"<say \"hi\" & 'bye'>"));
  ASSERT_TRUE(doc.SetAttribute(L"a", L"22"));
  EXPECT_FALSE(doc.SetAttribute(L"bad name", L"x"));
  EXPECT_FALSE(doc.SetAttribute(L"", L"x"));
  EXPECT_EQ(doc.GetText(), std::wstring(kDeclaration) +
                               L"<m a=\"22\" b=\"&lt;say &quot;hi&quot; &amp; &apos;bye&apos;&gt;\"/>\r\n");
  EXPECT_EQ(doc.GetAttribute(L"b"), L"<say \"hi\" & 'bye'>");
}

TEST(MarkupWriter, ReplacesUnquotedAndSingleQuotedValues) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(L"<a x=1 y='2'></a>"));
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.SetAttribute(L"x", L"one"));
  ASSERT_TRUE(doc.SetAttribute(L"y", L"it's"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"b"));
  EXPECT_EQ(doc.GetText(), L"<a x=\"one\" y='it&apos;s'>\r\n<b/>\r\n</a>");
}

TEST(MarkupWriter, RejectsInvalidElementNames) {
  MarkupDocument doc;
  for (const wchar_t* name : {L"", L"1a", L"a b", L"a/", L"<a"}) EXPECT_FALSE(doc.AddElement(name)) << name;
  EXPECT_EQ(doc.GetText(), L"");
}

// A document built by the writer and the same text parsed again must give
// the same walk: the index is kept up to date by every insertion.
TEST(MarkupWriter, IndexMatchesAReparseOfTheText) {
  MarkupDocument doc;
  doc.ParseText(kDeclaration);
  ASSERT_TRUE(doc.AddElement(L"macro"));
  ASSERT_TRUE(doc.EnterElement());
  for (int m = 0; m < 3; ++m) {
    ASSERT_TRUE(doc.AddElement(L"macro_item"));
    ASSERT_TRUE(doc.SetAttribute(L"macro_name", L"M" + std::to_wstring(m)));
    ASSERT_TRUE(doc.SetAttribute(L"play_times", L"1"));
    if (m == 1) continue;  // a macro without events has no record_item
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(L"record_item"));
    ASSERT_TRUE(doc.EnterElement());
    for (int e = 0; e < 2; ++e) {
      ASSERT_TRUE(doc.AddElement(L"item"));
      ASSERT_TRUE(doc.SetAttribute(L"index", std::to_wstring(e)));
      ASSERT_TRUE(doc.SetAttribute(L"desc", L"a&b"));
    }
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.LeaveElement());
    // Setting an attribute on an element that has children moves them all.
    ASSERT_TRUE(doc.SetAttribute(L"play_times", L"12345"));
  }
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.SetAttribute(L"version", L"2"));

  MarkupDocument reparsed;
  ASSERT_TRUE(reparsed.ParseText(doc.GetText())) << reparsed.GetResult();
  const std::vector<std::wstring> expected = {
      L"0:macro version=2",
      L"1:macro_item macro_name=M0 play_times=12345",
      L"2:record_item",
      L"3:item index=0 desc=a&b",
      L"3:item index=1 desc=a&b",
      L"1:macro_item macro_name=M1 play_times=1",
      L"1:macro_item macro_name=M2 play_times=12345",
      L"2:record_item",
      L"3:item index=0 desc=a&b",
      L"3:item index=1 desc=a&b",
  };
  EXPECT_EQ(Walk(reparsed), expected);
  EXPECT_TRUE(doc.ParseText());  // re-parse the built text in place
  EXPECT_EQ(Walk(doc), expected);
}

TEST(MarkupWriter, AddsAfterCurrentAndAfterLastChild) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.ParseText(L"<r>\r\n<a/>\r\n<c/>\r\n</r>\r\n"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.AddElement(L"b"));  // directly after the current a
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"d"));  // no current element: after the last child
  EXPECT_EQ(doc.GetText(), L"<r>\r\n<a/>\r\n<b/>\r\n<c/>\r\n<d/>\r\n</r>\r\n");
  EXPECT_FALSE(doc.FindElement());  // nothing after d
  EXPECT_EQ(doc.GetTagName(), L"d");
}

}  // namespace
