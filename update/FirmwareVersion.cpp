#include "update/FirmwareVersion.h"

#include <cstdio>
#include <vector>

#include "platform/Text.h"

namespace update {

namespace {

std::vector<std::wstring_view> SplitAtPoints(std::wstring_view text) {
  std::vector<std::wstring_view> parts;
  size_t start = 0;
  for (;;) {
    const size_t dot = text.find(L'.', start);
    if (dot == std::wstring_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, dot - start));
    start = dot + 1;
  }
}

}  // namespace

std::wstring ReleaseVersionText(unsigned releaseNumber) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%X", releaseNumber);
  return text;
}

std::wstring VersionDisplayText(std::wstring_view version) {
  if (version.empty()) return {};
  const std::wstring_view lastTwo = version.substr(version.size() >= 2 ? version.size() - 2 : 0);
  std::wstring text = L"V";
  text += version.front();
  text += L'.';
  text += lastTwo;
  return text;
}

int CompareVersions(std::wstring_view local, std::wstring_view server) {
  const std::vector<std::wstring_view> mine = SplitAtPoints(local);
  const std::vector<std::wstring_view> theirs = SplitAtPoints(server);
  if (mine.size() != theirs.size()) return 2;
  for (size_t i = 0; i < mine.size(); ++i) {
    const int a = platform::WToI(mine[i]);
    const int b = platform::WToI(theirs[i]);
    if (a > b) return -1;
    if (a < b) return 1;
  }
  return 0;
}

}  // namespace update
