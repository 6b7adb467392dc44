// Caret stops and word boundaries from Pango: one stop per grapheme
// cluster, whatever the script.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/draw/Font.h"

namespace {

TEST(CursorStops, OneStopPerGraphemeCluster) {
  struct Case {
    const char* name;
    std::wstring text;
    std::vector<int> stops;
  } cases[] = {
      {"empty", L"", {0}},
      {"plain letters", L"abc", {0, 1, 2, 3}},
      {"combining accent", L"ae\u0301b", {0, 1, 3, 4}},
      {"two combining marks", L"o\u0308\u0304", {0, 3}},
      {"CJK", L"中文", {0, 1, 2}},
      {"emoji ZWJ sequence", L"x\U0001F469\u200D\U0001F467", {0, 1, 4}},
      {"flag (regional indicators)", L"\U0001F1E9\U0001F1EAz", {0, 2, 3}},
      {"Hangul jamo", L"\u1100\u1161\u11A8k", {0, 3, 4}},
      {"CR LF is one step", L"a\r\nb", {0, 1, 3, 4}},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::TextCursorStops(c.text), c.stops) << c.name;
}

TEST(CursorStops, WordBoundariesAroundWords) {
  EXPECT_EQ(platform::TextWordStops(L"hello big world"), (std::vector<int>{0, 5, 6, 9, 10, 15}));
  EXPECT_EQ(platform::TextWordStops(L""), (std::vector<int>{0}));
}

}  // namespace
