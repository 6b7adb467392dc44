#include "app/HelpCommand.h"

#include <algorithm>
#include <cstring>

#include "catalog/Catalog.h"
#include "platform/Text.h"

#ifndef ORVANE_VERSION
#error "ORVANE_VERSION is set by the build"
#endif

namespace app {

namespace {

constexpr CommandLineOption kOptions[] = {
    {"-hide", "", "start in the notification area without showing the window"},
    {"--list", "", "list the supported mice on this machine with the settings read from each, then exit"},
    {"--simulate", "", "use simulated mice instead of the machine's (the demo; also with --list, --screenshot and the settings "
     "options); they keep their settings across runs"},
    {"--post", "MSG WPARAM LPARAM",
     "post a public message to the running instance, then exit (1691 0 610 quits it, 2022 0 0 refreshes its texts)"},
    {"--screenshot", "FILE", "render the window headless after start-up has read the mouse, write the PNG, then exit"},
    {"--tab", "ID", "with --screenshot: the tab to show (1 home, 2 buttons, 3 DPI, 4 macros, 5 lighting, 7 settings)"},
    {"--inspect", "", "print the running instance's window as one line per control, then exit"},
    {"--profile", "N", "make profile N (1, 2, ...) current and write it to the mouse"},
    {"--set", "NAME=VALUE[,VALUE...]",
     "store a setting and write it to the mouse (may be repeated): dpi=V1[,..V6] (stages and count), count=N, "
     "stage=N, rate=HZ, liftoff=1|2, sensor=BITS (4, 8, 16), sleep=MIN, wakeup=0|1, closelight=0|1, "
     "response=MS, light=MODE, brightness=0-15, speed=0-15"},
    {"--export-profile", "FILE", "write the current profile to FILE"},
    {"--import-profile", "FILE", "replace the current profile's settings with FILE's and write them to the mouse"},
    {"--export-macros", "FILE", "write every macro to FILE"},
    {"--import-macros", "FILE", "add the macros of FILE"},
    {"-autorun", "", "added by the start-with-the-system entry; starts in the notification area when start minimised is chosen"},
    {"--help", "", "print this help, then exit"},
    {"--version", "", "print the version, then exit"},
};

bool HasArgument(int argc, const char* const* argv, const char* word) {
  for (int i = 1; i < argc; ++i)
    if (argv[i] != nullptr && std::strcmp(argv[i], word) == 0) return true;
  return false;
}

std::string Spelled(const CommandLineOption& option) {
  std::string text = option.name;
  if (*option.argument != '\0') (text += ' ') += option.argument;
  return text;
}

}  // namespace

std::span<const CommandLineOption> CommandLineOptions() { return kOptions; }

bool IsHelpCommand(int argc, const char* const* argv) { return HasArgument(argc, argv, "--help"); }

bool IsVersionCommand(int argc, const char* const* argv) { return HasArgument(argc, argv, "--version"); }

int PrintHelp(std::FILE* out) {
  size_t width = 0;
  for (const CommandLineOption& option : kOptions) width = std::max(width, Spelled(option).size());
  std::fprintf(out, "Usage: orvane [OPTION]...\n");
  std::fprintf(out, "Configures the supported gaming mice: DPI, report rate, buttons, macros and lighting.\n\n");
  std::fprintf(out, "Options:\n");
  for (const CommandLineOption& option : kOptions)
    std::fprintf(out, "  %-*s  %s\n", static_cast<int>(width), Spelled(option).c_str(), option.summary);
  return 0;
}

namespace {

// Roff text: backslashes as \e, hyphens as minus signs (so options can be
// searched and copied), and a line never starting with a control character.
std::string Roff(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

}  // namespace

int PrintManual(const std::string& version, std::FILE* out) {
  std::fprintf(out, ".TH ORVANE 1 \"\" \"orvane %s\" \"User Commands\"\n", Roff(version).c_str());
  std::fprintf(out, ".SH NAME\norvane \\- configure gaming mice: DPI, report rate, buttons, macros and lighting\n");
  std::fprintf(out, ".SH SYNOPSIS\n.B orvane\n[\\fIOPTION\\fR]...\n");
  std::fprintf(out, ".SH DESCRIPTION\n");
  std::fprintf(out,
               "Orvane configures the supported gaming mice, by cable or through their receiver: DPI stages with "
               "their colours, report rate, lift-off distance, sensor and power options, button functions, macros, "
               "lighting effects and the profiles of each model.\n");
  std::fprintf(out, ".PP\nWithout options it opens its window; a second start shows the running one and exits.\n");
  std::fprintf(out, ".SH OPTIONS\n");
  for (const CommandLineOption& option : kOptions) {
    std::fprintf(out, ".TP\n\\fB%s\\fR", Roff(option.name).c_str());
    if (*option.argument != '\0') std::fprintf(out, " \\fI%s\\fR", Roff(option.argument).c_str());
    std::fprintf(out, "\n%s.\n", Roff(option.summary).c_str());
  }
  std::fprintf(out, ".SH FILES\n");
  std::fprintf(out, ".TP\n.I /usr/share/orvane/\nThe catalog of supported models (config.xml), their descriptions, the "
                    "language files and the skin.\n");
  std::fprintf(out, ".TP\n.I $XDG_DATA_HOME/Orvane Files/\nThe settings databases and the log "
                    "(default \\fI\\%%~/.local/share/Orvane Files/\\fR).\n");
  std::fprintf(out, ".TP\n.I $XDG_CONFIG_HOME/Orvane/values\nPer-user values (default \\fI\\%%~/.config/Orvane/values\\fR).\n");
  std::fprintf(out, ".TP\n.I /usr/lib/udev/rules.d/70\\-orvane.rules\nLets the logged-in user open the HID interfaces "
                    "of the supported mice and receivers.\n");
  std::fprintf(out, ".SH EXIT STATUS\n0 on success; a command that cannot do its work exits with a non-zero "
                    "status and says why on standard error.\n");
  return 0;
}

std::string BuildVersion() { return ORVANE_VERSION; }

int PrintVersion(const std::filesystem::path& programFolder, std::FILE* out) {
  NullCatalogSink sink;
  const Catalog catalog = ReadDeviceList(programFolder, programFolder, sink, nullptr);
  const std::string version = catalog.version.empty() ? BuildVersion() : platform::ToUtf8(catalog.version);
  std::fprintf(out, "orvane %s\n", version.c_str());
  return 0;
}

}  // namespace app
