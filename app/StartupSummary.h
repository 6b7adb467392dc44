#pragma once
// What a plain start prints until the main window lands: the application
// name, the folders, the languages with the current one, the software version
// and the catalog's models with their connection modes.

#include <cstdio>
#include <filesystem>

namespace app {

// Reads the catalog of the program folder and prints the summary to out;
// returns the process exit code (0).
int PrintStartupSummary(const std::filesystem::path& programFolder, std::FILE* out = stdout);

}  // namespace app
