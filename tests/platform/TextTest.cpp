#include <gtest/gtest.h>

#include <climits>

#include "platform/Text.h"

using platform::WcsToL;
using platform::WToI;

TEST(Text, WToIFollowsLenientRules) {
  struct Case {
    const wchar_t* text;
    int expected;
  } cases[] = {
      {L"", 0},
      {L"abc", 0},             // no digits
      {L"42", 42},
      {L"  -17", -17},         // leading blanks and sign
      {L"+8", 8},
      {L"12abc", 12},          // stops at the first non-digit
      {L"99999999999", INT_MAX},  // saturates
      {L"-99999999999", INT_MIN},
      {L"1033\n", 1033},
  };
  for (const auto& c : cases) EXPECT_EQ(WToI(c.text), c.expected) << "text: " << platform::ToUtf8(c.text);
}

TEST(Text, WcsToLHexAcceptsBothCasesAndPrefix) {
  EXPECT_EQ(WcsToL(L"1A2B", 16), 0x1A2B);
  EXPECT_EQ(WcsToL(L"1a2b", 16), 0x1A2B);
  EXPECT_EQ(WcsToL(L"0x1a2b", 16), 0x1A2B);
  EXPECT_EQ(WcsToL(L"zz", 16), 0);
  EXPECT_EQ(WcsToL(L"0x", 16), 0);
}

TEST(Text, Utf8RoundTripAndInvalidInput) {
  const std::wstring wide = L"A\u00e9\u4e2d\U0001F600";
  EXPECT_EQ(platform::FromUtf8(platform::ToUtf8(wide)), wide);
  EXPECT_TRUE(platform::IsValidUtf8("\xe4\xb8\xad"));
  // Overlong, lone continuation, surrogate, truncated sequence.
  for (const char* bad : {"\xc0\xaf", "\x80", "\xed\xa0\x80", "\xe4\xb8"}) {
    EXPECT_FALSE(platform::IsValidUtf8(bad));
    EXPECT_NE(platform::FromUtf8(bad).find(L'\uFFFD'), std::wstring::npos);
  }
}
