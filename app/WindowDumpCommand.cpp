#include "app/WindowDumpCommand.h"

#include <cstring>
#include <string>

#include "platform/Text.h"
#include "shell/AppNames.h"

namespace app {

bool IsWindowDumpCommand(int argc, const char* const* argv) {
  return argc >= 2 && argv[1] != nullptr && std::strcmp(argv[1], "--inspect") == 0;
}

int RunWindowDumpCommand(int argc, const char* const* argv, std::FILE* out, std::FILE* err,
                      const platform::InstanceOptions& options) {
  if (argc != 2) {
    std::fprintf(err, "usage: %s --inspect\n", argc > 0 ? argv[0] : "orvane");
    return 2;
  }
  const std::wstring name = shell::ApplicationName();
  const std::string program = platform::ToUtf8(name);
  std::string text;
  switch (platform::InstanceLock::SendInspect(name, text, options)) {
    case platform::InstanceLock::Delivery::Delivered:
      std::fwrite(text.data(), 1, text.size(), out);
      std::fflush(out);
      return 0;
    case platform::InstanceLock::Delivery::Ignored:
      std::fprintf(err, "\"%s\" is running but has no window to inspect yet\n", program.c_str());
      return 3;
    case platform::InstanceLock::Delivery::NoInstance:
      break;
  }
  std::fprintf(err, "no running instance of \"%s\"\n", program.c_str());
  return 1;
}

}  // namespace app
