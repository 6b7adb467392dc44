#include "app/PostCommand.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/Text.h"
#include "platform/instance/InstanceLock.h"
#include "shell/AppNames.h"

namespace app {

namespace {

template <typename T>
bool ParseNumber(const char* text, T& value) {
  const std::string_view view(text);
  if (view.empty()) return false;
  auto [ptr, ec] = std::from_chars(view.data(), view.data() + view.size(), value);
  return ec == std::errc() && ptr == view.data() + view.size();
}

}  // namespace

bool IsPostCommand(int argc, const char* const* argv) {
  return argc >= 2 && argv[1] != nullptr && std::strcmp(argv[1], "--post") == 0;
}

int RunPostCommand(int argc, const char* const* argv, std::FILE* err) {
  std::uint32_t message = 0;
  std::uint64_t wParam = 0;
  std::int64_t lParam = 0;
  if (argc != 5 || !ParseNumber(argv[2], message) || !ParseNumber(argv[3], wParam) ||
      !ParseNumber(argv[4], lParam)) {
    std::fprintf(err, "usage: %s --post MSG WPARAM LPARAM (decimal numbers)\n", argc > 0 ? argv[0] : "orvane");
    return 2;
  }
  const std::wstring name = shell::ApplicationName();
  switch (platform::InstanceLock::SendPost(name, message, wParam, lParam)) {
    case platform::InstanceLock::Delivery::Delivered:
      return 0;
    case platform::InstanceLock::Delivery::Ignored:
      std::fprintf(err, "%s ignores message %u\n", platform::ToUtf8(name).c_str(), static_cast<unsigned>(message));
      return 0;
    case platform::InstanceLock::Delivery::NoInstance:
      break;
  }
  std::fprintf(err, "no running instance of \"%s\"\n", platform::ToUtf8(name).c_str());
  return 1;
}

}  // namespace app
