#include "app/CommandLine.h"

#include <cwchar>
#include <string>

#include "platform/Text.h"
#include "shell/Environment.h"

namespace app {

std::wstring CommandLineText(int argc, const char* const* argv) {
  std::wstring text;
  for (int i = 1; i < argc; ++i) {
    if (argv[i] == nullptr) break;
    if (i > 1) text += L' ';
    text += platform::FromUtf8(argv[i]);
  }
  return text;
}

bool HasHideOption(std::wstring_view commandLine) { return commandLine.find(L"-hide") != std::wstring_view::npos; }

bool HasAutorunOption(std::wstring_view commandLine) {
  constexpr std::wstring_view kWord = L"-autorun";
  for (size_t at = commandLine.find(kWord); at != std::wstring_view::npos; at = commandLine.find(kWord, at + 1)) {
    const size_t end = at + kWord.size();
    if ((at == 0 || commandLine[at - 1] == L' ') && (end == commandLine.size() || commandLine[end] == L' ')) {
      return true;
    }
  }
  return false;
}

bool StartsHidden(std::wstring_view commandLine) {
  if (HasHideOption(commandLine)) return true;
  if (!HasAutorunOption(commandLine)) return false;
  std::wstring minimise;
  return shell::ReadRegistryText(L"autorun_minimize", minimise) && std::wcstol(minimise.c_str(), nullptr, 10) == 1;
}

}  // namespace app
