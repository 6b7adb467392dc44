// libFuzzer target for IniFile: the input is parsed as the bytes of a file
// (every encoding path: UTF-16 either way, UTF-8 with or without a mark,
// legacy 8-bit through iconv) and then read back. Every value read must keep
// the reader's promises: cut to the asked length, no surrounding white
// space, found again under any letter case of its names.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/IniFile.h"

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f' || c == L'\v'; }

std::wstring Upper(const std::wstring& s) {
  std::wstring out(s);
  for (auto& c : out)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return out;
}

void Check(const platform::IniFile& ini, const std::wstring& section) {
  for (const auto& [key, value] : ini.Section(section)) {
    if (!ini.Has(section, key) || !ini.Has(Upper(section), Upper(key))) __builtin_trap();
    if (ini.Get(Upper(section), Upper(key), value.size()) != value) __builtin_trap();
    const std::wstring cut = ini.Get(section, key, 3);
    if (cut.size() > 3 || value.compare(0, cut.size(), cut) != 0) __builtin_trap();
    if (!key.empty() && (IsSpace(key.front()) || IsSpace(key.back()))) __builtin_trap();
    for (wchar_t c : key)
      if (c >= L'A' && c <= L'Z') __builtin_trap();  // names are kept lower-cased
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The first byte picks the legacy character set, so that the iconv path
  // is taken with more than one table and with a name iconv does not know.
  static const char* const kCharsets[] = {"CP1252", "GBK", "BIG5", "SHIFT_JIS", "CP1251", "NO-SUCH-SET"};
  const char* charset = kCharsets[size > 0 ? data[0] % 6 : 0];

  platform::IniFile ini;
  ini.Parse(bytes, charset);
  Check(ini, L"LAN");
  // The first section header of the text, whatever its name.
  const std::wstring text = platform::IniFile::Decode(bytes, charset);
  const std::size_t open = text.find(L'[');
  const std::size_t close = text.find(L']', open == std::wstring::npos ? 0 : open);
  if (open != std::wstring::npos && close != std::wstring::npos) Check(ini, text.substr(open + 1, close - open - 1));
  (void)ini.Get(L"", L"", 0);
  return 0;
}
