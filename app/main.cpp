// Orvane entry point.

#include <cstdio>

#include "platform/Text.h"
#include "shell/Environment.h"
#include "shell/PostCommand.h"
#include "shell/SingleInstance.h"
#include "toolkit/core/Manager.h"

int main(int argc, char** argv) {
  // Both need the final application name: keep them after the catalog's
  // early read.
  if (shell::IsPostCommand(argc, argv)) return shell::RunPostCommand(argc, argv);
  shell::SingleInstance instance;
  if (!instance.Claim()) return 0;

  std::printf("Application: %s\n", platform::ToUtf8(DUI::Manager::GetDeviceName()).c_str());
  std::printf("Program folder: %s\n", shell::ProgramFolder().c_str());
  return 0;
}
