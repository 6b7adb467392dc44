#include "platform/shell/OpenAddress.h"

#include <cwctype>
#include <string>

#include "platform/Text.h"
#include "platform/shell/Spawn.h"

namespace platform {

namespace {

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::towlower(static_cast<wint_t>(text[i])) != static_cast<wint_t>(prefix[i])) return false;
  }
  return true;
}

}  // namespace

bool IsOpenableAddress(std::wstring_view address) {
  for (const wchar_t c : address) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return (StartsWithNoCase(address, L"http://") && address.size() > 7) ||
         (StartsWithNoCase(address, L"https://") && address.size() > 8) ||
         (StartsWithNoCase(address, L"mailto:") && address.size() > 7);
}

bool OpenAddress(std::wstring_view address, pid_t* child) {
  if (!IsOpenableAddress(address)) return false;
  std::string program = "xdg-open";
  std::string argument = ToUtf8(address);
  char* argv[] = {program.data(), argument.data(), nullptr};
  return SpawnDetached(program.c_str(), argv, child);
}

}  // namespace platform
