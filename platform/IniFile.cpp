#include "platform/IniFile.h"

#include <iconv.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/Text.h"

namespace platform {

namespace {

// Language files are small; a cap keeps a wrong path (a device node, a huge
// file) from being read into memory.
constexpr std::uintmax_t kMaxFileBytes = 16 * 1024 * 1024;

std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    const char32_t unit = bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      const auto c0 = static_cast<unsigned char>(bytes[i + 2]);
      const auto c1 = static_cast<unsigned char>(bytes[i + 3]);
      const char32_t low = bigEndian ? (c0 << 8 | c1) : (c1 << 8 | c0);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        out.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
        i += 2;
        continue;
      }
    }
    out.push_back(unit >= 0xD800 && unit <= 0xDFFF ? L'\uFFFD' : static_cast<wchar_t>(unit));
  }
  return out;
}

// Legacy 8-bit text through iconv into UTF-8; bytes the character set cannot
// map become U+FFFD one by one instead of ending the conversion.
std::wstring FromLegacy(std::string_view bytes, const char* charset) {
  iconv_t cd = iconv_open("UTF-8", charset ? charset : "CP1252");
  if (cd == reinterpret_cast<iconv_t>(-1)) return FromUtf8(bytes);
  std::string out;
  std::string buffer(4096, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), buffer.size() - outLeft);
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: skip one byte and mark it.
      out += "\xEF\xBF\xBD";
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return FromUtf8(out);
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f' || c == L'\v'; }

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::wstring Lower(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

}  // namespace

std::wstring IniFile::Decode(std::string_view bytes, const char* legacyCharset) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return FromUtf16(bytes.substr(2), false);
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return FromUtf16(bytes.substr(2), true);
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return FromUtf8(bytes.substr(3));
  if (IsValidUtf8(bytes)) return FromUtf8(bytes);
  return FromLegacy(bytes, legacyCharset);
}

void IniFile::Parse(std::string_view bytes, const char* legacyCharset) {
  sections_.clear();
  const std::wstring text = Decode(bytes, legacyCharset);
  // Keys before the first section header belong to no section and are never
  // found, as with the platform reader this replaces.
  std::map<std::wstring, std::wstring>* current = nullptr;
  std::wstring_view rest(text);
  while (!rest.empty()) {
    const size_t end = rest.find_first_of(L"\r\n");
    std::wstring_view line = rest.substr(0, end);
    rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
    line = Trim(line);
    if (line.empty() || line.front() == L';') continue;
    if (line.front() == L'[') {
      const size_t close = line.find(L']');
      if (close == std::wstring_view::npos) continue;
      // The first section of a name wins: a repeated header leaves keys
      // pointing at a throw-away map.
      const std::wstring name = Lower(Trim(line.substr(1, close - 1)));
      const bool known = sections_.count(name) != 0;
      current = &sections_[name];
      if (known) current = nullptr;
      continue;
    }
    const size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos || current == nullptr) continue;
    const std::wstring key = Lower(Trim(line.substr(0, eq)));
    std::wstring_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    current->emplace(key, std::wstring(value));  // first key of a name wins
  }
}

bool IniFile::Load(const std::filesystem::path& file, const char* legacyCharset) {
  sections_.clear();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size > kMaxFileBytes) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  Parse(ss.str(), legacyCharset);
  return true;
}

std::wstring IniFile::Get(std::wstring_view section, std::wstring_view key, size_t maxChars) const {
  const auto s = sections_.find(Lower(Trim(section)));
  if (s == sections_.end()) return {};
  const auto k = s->second.find(Lower(Trim(key)));
  if (k == s->second.end()) return {};
  return k->second.size() > maxChars ? k->second.substr(0, maxChars) : k->second;
}

bool IniFile::Has(std::wstring_view section, std::wstring_view key) const {
  const auto s = sections_.find(Lower(Trim(section)));
  return s != sections_.end() && s->second.count(Lower(Trim(key))) != 0;
}

std::map<std::wstring, std::wstring> IniFile::Section(std::wstring_view section) const {
  const auto s = sections_.find(Lower(Trim(section)));
  return s == sections_.end() ? std::map<std::wstring, std::wstring>() : s->second;
}

std::wstring IniFile::ReadString(const std::filesystem::path& file, std::wstring_view section,
                                 std::wstring_view key, size_t maxChars) {
  IniFile ini;
  if (!ini.Load(file)) return {};
  return ini.Get(section, key, maxChars);
}

}  // namespace platform
