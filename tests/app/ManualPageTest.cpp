// The manual page printed from the option table: one entry per option, in
// table order, with its argument and summary, in roff that no text can break.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "app/HelpCommand.h"

namespace {

std::string Manual(const std::string& version) {
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  if (out == nullptr) return {};
  EXPECT_EQ(app::PrintManual(version, out), 0);
  std::string text;
  std::rewind(out);
  for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
  std::fclose(out);
  return text;
}

// Hyphens become roff minus signs, as the page writes options.
std::string Roff(std::string text) {
  std::string out;
  for (const char c : text) out += c == '-' ? std::string("\\-") : std::string(1, c);
  return out;
}

TEST(ManualPage, EveryOptionHasAnEntryInTableOrder) {
  const std::string page = Manual("1.2.3");
  size_t from = page.find(".SH OPTIONS\n");
  ASSERT_NE(from, std::string::npos);
  int entries = 0;
  for (const app::CommandLineOption& option : app::CommandLineOptions()) {
    std::string entry = ".TP\n\\fB" + Roff(option.name) + "\\fR";
    if (*option.argument != '\0') entry += " \\fI" + Roff(option.argument) + "\\fR";
    entry += "\n" + Roff(option.summary) + ".\n";
    const size_t at = page.find(entry, from);
    EXPECT_NE(at, std::string::npos) << option.name;
    if (at != std::string::npos) from = at + entry.size();
    ++entries;
  }
  EXPECT_GE(entries, 5);
  const size_t files = page.find(".SH FILES\n");
  EXPECT_NE(files, std::string::npos);
  EXPECT_GT(files, from - 1) << "an option entry follows the files section";
}

TEST(ManualPage, HeaderCarriesTheVersionAndEveryRequestIsKnown) {
  const std::string page = Manual("4.5.6-rc1");
  EXPECT_EQ(page.rfind(".TH ORVANE 1 \"\" \"orvane 4.5.6\\-rc1\" \"User Commands\"\n", 0), 0u);
  // A text line starting with "." or "'" would be read as a request.
  const std::set<std::string> known = {".TH", ".SH", ".TP", ".PP", ".B", ".I"};
  std::istringstream lines(page);
  int sections = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    EXPECT_NE(line[0], '\'') << line;
    if (line[0] != '.') continue;
    const std::string request = line.substr(0, line.find(' '));
    EXPECT_TRUE(known.count(request)) << line;
    if (request == ".SH") ++sections;
  }
  EXPECT_EQ(sections, 6);  // name, synopsis, description, options, files, exit status
}

}  // namespace
