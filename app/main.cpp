// Orvane entry point.

#include <cstdio>

#include "platform/Text.h"
#include "shell/Environment.h"
#include "toolkit/core/Manager.h"

int main() {
  std::printf("Application: %s\n", platform::ToUtf8(DUI::Manager::GetDeviceName()).c_str());
  std::printf("Program folder: %s\n", shell::ProgramFolder().c_str());
  return 0;
}
