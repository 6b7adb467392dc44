#include "app/CommandLine.h"

#include "platform/Text.h"

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

}  // namespace app
