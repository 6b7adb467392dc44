// "orvane --help" and "orvane --version": the options table, the help printed
// from it, and the version.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "app/CommandLine.h"
#include "app/HelpCommand.h"
#include "app/WindowDumpCommand.h"
#include "app/ListCommand.h"
#include "app/MainWindowRun.h"
#include "app/PostCommand.h"
#include "app/SettingsCommandRun.h"

namespace {

std::string Capture(const std::function<int(std::FILE*)>& print) {
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  if (out == nullptr) return {};
  EXPECT_EQ(print(out), 0);
  std::string text;
  std::rewind(out);
  for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
  std::fclose(out);
  return text;
}

struct Argv {
  explicit Argv(std::vector<std::string> a) : args(std::move(a)) {
    for (std::string& s : args) ptrs.push_back(s.data());
  }
  int argc() const { return static_cast<int>(ptrs.size()); }
  char** argv() { return ptrs.data(); }
  std::vector<std::string> args;
  std::vector<char*> ptrs;
};

TEST(HelpCommand, RecognisesHelpAndVersion) {
  struct Case {
    std::vector<std::string> args;
    bool help;
    bool version;
  } cases[] = {
      {{"orvane"}, false, false},
      {{"orvane", "--help"}, true, false},
      {{"orvane", "--version"}, false, true},
      {{"orvane", "--list", "--help"}, true, false},
      {{"orvane", "--version", "--help"}, true, true},  // main asks for help first
      {{"orvane", "-help"}, false, false},
      {{"orvane", "--HELP"}, false, false},
      {{"orvane", "--helpme"}, false, false},
      {{"orvane", "x--version"}, false, false},
  };
  for (Case& c : cases) {
    Argv a(c.args);
    SCOPED_TRACE(c.args.back());
    EXPECT_EQ(app::IsHelpCommand(a.argc(), a.argv()), c.help);
    EXPECT_EQ(app::IsVersionCommand(a.argc(), a.argv()), c.version);
  }
}

// Every row of the table is an option the program acts on, and the help
// prints each row once, in table order, with the summaries in one column.
TEST(HelpCommand, TheHelpListsEveryOptionOfTheTable) {
  struct Handled {
    const char* name;
    std::function<bool(Argv&)> acts;  // the recogniser that takes it
  } handled[] = {
      {"-hide", [](Argv& a) { return app::HasHideOption(app::CommandLineText(a.argc(), a.argv())); }},
      {"--list", [](Argv& a) { bool s; return app::IsListCommand(a.argc(), a.argv(), s) && !s; }},
      {"--simulate", [](Argv& a) { bool s; return !app::IsListCommand(a.argc(), a.argv(), s) && s; }},
      {"--post", [](Argv& a) { return app::IsPostCommand(a.argc(), a.argv()); }},
      {"--screenshot", [](Argv& a) {
         app::MainRunOptions o;
         return app::ParseMainRunOptions(a.argc(), a.argv(), o) && o.screenshot == "1";
       }},
      {"--tab", [](Argv& a) {
         app::MainRunOptions o, other;
         Argv three(std::vector<std::string>{"orvane", "--tab", "3"});
         return app::ParseMainRunOptions(a.argc(), a.argv(), o) &&
                app::ParseMainRunOptions(three.argc(), three.argv(), other) && other.tab == 3;
       }},
      {"--inspect", [](Argv& a) { return app::IsWindowDumpCommand(a.argc(), a.argv()); }},
      {"--profile", [](Argv& a) { return app::IsSettingsCommandLine(a.argc(), a.argv()); }},
      {"--set", [](Argv& a) { return app::IsSettingsCommandLine(a.argc(), a.argv()); }},
      {"--export-profile", [](Argv& a) { return app::IsSettingsCommandLine(a.argc(), a.argv()); }},
      {"--import-profile", [](Argv& a) { return app::IsSettingsCommandLine(a.argc(), a.argv()); }},
      {"--export-macros", [](Argv& a) { return app::IsSettingsCommandLine(a.argc(), a.argv()); }},
      {"--import-macros", [](Argv& a) { return app::IsSettingsCommandLine(a.argc(), a.argv()); }},
      // Written by the autostart entry; with a minimised start it hides the window.
      {"-autorun", [](Argv& a) { return app::HasAutorunOption(app::CommandLineText(a.argc(), a.argv())); }},
      {"--help", [](Argv& a) { return app::IsHelpCommand(a.argc(), a.argv()); }},
      {"--version", [](Argv& a) { return app::IsVersionCommand(a.argc(), a.argv()); }},
  };
  const auto options = app::CommandLineOptions();
  ASSERT_EQ(options.size(), std::size(handled));

  const std::string help = Capture([](std::FILE* out) { return app::PrintHelp(out); });
  EXPECT_EQ(help.rfind("Usage: orvane [OPTION]...\n", 0), 0u) << help;
  size_t from = 0;
  size_t column = std::string::npos;
  for (size_t i = 0; i < options.size(); ++i) {
    const app::CommandLineOption& option = options[i];
    SCOPED_TRACE(option.name);
    EXPECT_STREQ(option.name, handled[i].name);
    std::vector<std::string> args = {"orvane", option.name};
    if (*option.argument != '\0') args.insert(args.end(), {"1", "2", "3"});
    Argv a(args);
    EXPECT_TRUE(handled[i].acts(a));

    // "  NAME ARGUMENT  summary", once, after the previous option's line.
    std::string spelled = option.name;
    if (*option.argument != '\0') spelled += std::string(" ") + option.argument;
    const std::string start = "\n  " + spelled + " ";
    const size_t at = help.find(start, from);
    ASSERT_NE(at, std::string::npos) << help;
    EXPECT_EQ(help.find(start, at + 1), std::string::npos);
    const size_t end = help.find('\n', at + 1);
    const std::string line = help.substr(at + 1, end - at - 1);
    const size_t summary = line.find(option.summary);
    ASSERT_NE(summary, std::string::npos) << line;
    EXPECT_EQ(summary + std::strlen(option.summary), line.size()) << line;
    if (column == std::string::npos) column = summary;
    EXPECT_EQ(summary, column) << line;
    from = end;
  }
}

TEST(HelpCommand, VersionIsTheCatalogsOrElseTheBuilds) {
  testenv::TempDir withVersion;
  testenv::WriteFile(withVersion.Path() / "config.xml",
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n"
                     "  <software caption=\"Orvane\" version=\"2.5.1\"/>\n</config>\n");
  EXPECT_EQ(Capture([&](std::FILE* out) { return app::PrintVersion(withVersion.Path(), out); }), "orvane 2.5.1\n");

  testenv::TempDir empty;
  EXPECT_TRUE(std::regex_match(app::BuildVersion(), std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")))
      << app::BuildVersion();
  EXPECT_EQ(Capture([&](std::FILE* out) { return app::PrintVersion(empty.Path(), out); }),
            "orvane " + app::BuildVersion() + "\n");
}

}  // namespace
