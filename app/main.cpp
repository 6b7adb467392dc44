// Orvane entry point.

#include <cstdio>

#include "platform/Text.h"
#include "shell/Environment.h"
#include "shell/ListCommand.h"
#include "toolkit/core/Manager.h"

int main(int argc, char** argv) {
  bool simulate = false;
  if (shell::IsListCommand(argc, argv, simulate)) return shell::RunListCommand(simulate);
  std::printf("Application: %s\n", platform::ToUtf8(DUI::Manager::GetDeviceName()).c_str());
  std::printf("Program folder: %s\n", shell::ProgramFolder().c_str());
  return 0;
}
