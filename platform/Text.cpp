#include "platform/Text.h"

#include <climits>
#include <cwctype>

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence starting at bytes[i]. Returns the code point and
// advances i; on a malformed sequence returns U+FFFD and advances by one byte.
char32_t DecodeOne(std::string_view bytes, size_t& i, bool& ok) {
  const auto b0 = static_cast<unsigned char>(bytes[i]);
  ok = true;
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2; cp = b0 & 0x1F; min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3; cp = b0 & 0x0F; min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4; cp = b0 & 0x07; min = 0x10000;
  } else {
    ok = false;
    ++i;
    return kReplacement;
  }
  if (i + len > bytes.size()) {
    ok = false;
    ++i;
    return kReplacement;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(bytes[i + k]);
    if ((b & 0xC0) != 0x80) {
      ok = false;
      ++i;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ok = false;
    ++i;
    return kReplacement;
  }
  i += len;
  return cp;
}

}  // namespace

std::wstring FromUtf8(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  size_t i = 0;
  bool ok = true;
  while (i < utf8.size()) out.push_back(static_cast<wchar_t>(DecodeOne(utf8, i, ok)));
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  bool ok = true;
  while (i < bytes.size()) {
    DecodeOne(bytes, i, ok);
    if (!ok) return false;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string ToUtf8(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t wc : wide) {
    auto cp = static_cast<char32_t>(wc);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    AppendUtf8(out, cp);
  }
  return out;
}

long WcsToL(std::wstring_view text, int base) {
  size_t i = 0;
  while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  if (base == 16 && i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
    // Only skip the prefix when a hex digit follows, as wcstol does.
    if (i + 2 < text.size() && std::iswxdigit(static_cast<wint_t>(text[i + 2]))) i += 2;
  }
  // Magnitudes up to LONG_MAX + 1 are representable (the negative limit).
  const unsigned long long limit = static_cast<unsigned long long>(LONG_MAX) + 1ULL;
  unsigned long long value = 0;
  bool saturated = false;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    int digit;
    if (c >= L'0' && c <= L'9') digit = c - L'0';
    else if (c >= L'a' && c <= L'z') digit = c - L'a' + 10;
    else if (c >= L'A' && c <= L'Z') digit = c - L'A' + 10;
    else break;
    if (digit >= base) break;
    if (!saturated) {
      if (value > (limit - static_cast<unsigned long long>(digit)) / static_cast<unsigned long long>(base)) {
        saturated = true;
      } else {
        value = value * static_cast<unsigned long long>(base) + static_cast<unsigned long long>(digit);
      }
    }
  }
  if (saturated) return negative ? LONG_MIN : LONG_MAX;
  if (negative) return value >= limit ? LONG_MIN : -static_cast<long>(value);
  return value >= limit ? LONG_MAX : static_cast<long>(value);
}

int WToI(std::wstring_view text) {
  const long v = WcsToL(text, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

std::wstring IntToWString(int value) { return std::to_wstring(value); }

}  // namespace platform
