#pragma once
// "orvane --help" and "orvane --version". Every option the program knows is
// one row of a single table, from which the help text and the manual page
// (generated at build time) are printed; a new option is added there.
//
// Exit code of both commands: 0.

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>

namespace app {

struct CommandLineOption {
  const char* name;      // as typed, "--list"
  const char* argument;  // what follows it, "MSG WPARAM LPARAM"; empty for none
  const char* summary;   // one sentence without the final full stop
};

// The options in the order the help lists them.
std::span<const CommandLineOption> CommandLineOptions();

// True when an argument is exactly "--help" (or "--version"). Help wins when
// both are given.
bool IsHelpCommand(int argc, const char* const* argv);
bool IsVersionCommand(int argc, const char* const* argv);

// The usage line, a line on what the program does, and one line per option
// with the summaries aligned in a column.
int PrintHelp(std::FILE* out = stdout);

// The manual page orvane(1) in roff, made from the same table as the help:
// name, synopsis, description, one entry per option, files, exit status.
// The version goes into the page's header.
int PrintManual(const std::string& version, std::FILE* out = stdout);

// "orvane <version>": the software version the catalog of the program folder
// names (the version the program shows), or the build's version when the
// catalog names none.
int PrintVersion(const std::filesystem::path& programFolder, std::FILE* out = stdout);

// The version of this build of the program.
std::string BuildVersion();

}  // namespace app
