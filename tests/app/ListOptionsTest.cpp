// "orvane --list": the options, the lines of the simulated mice, and a
// machine without a mouse.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/ListCommand.h"
#include "shell/Log.h"

namespace {

TEST(ListCommand, RecognisesTheOptions) {
  struct Case {
    std::vector<std::string> args;
    bool list;
    bool simulate;
  } cases[] = {
      {{"orvane"}, false, false},
      {{"orvane", "-hide"}, false, false},
      {{"orvane", "--list"}, true, false},
      {{"orvane", "--simulate", "--list"}, true, true},
      {{"orvane", "--list", "--simulate"}, true, true},
  };
  for (Case& c : cases) {
    std::vector<char*> argv;
    for (std::string& arg : c.args) argv.push_back(arg.data());
    bool simulate = !c.simulate;
    EXPECT_EQ(app::IsListCommand(static_cast<int>(argv.size()), argv.data(), simulate), c.list);
    if (c.list) {
      EXPECT_EQ(simulate, c.simulate);
    }
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

TEST(ListCommand, ListsTheSimulatedMiceCableBeforeReceiver) {
  shell::SetLogSink([](const std::string&) {});
  testing::internal::CaptureStdout();
  const int code = app::RunListCommand(true);
  // The indented lines under each mouse are the settings read from it.
  std::vector<std::string> lines;
  for (const std::string& text : Lines(testing::internal::GetCapturedStdout())) {
    if (text.rfind("    ", 0) != 0) lines.push_back(text);
  }
  shell::SetLogSink({});
  EXPECT_EQ(code, 0);
  const std::regex line("^(.+?) +(cable|receiver) +device id (\\S+) +device type (\\d+) +release \\S+ +online 1$");
  const char* expected[][4] = {
      {"Veyra Air", "cable", "VA01", "1"},        {"Veyra Air", "receiver", "VA01", "1"},
      {"Veyra Core", "cable", "VC02", "2"},       {"Veyra Swift 8K", "cable", "VS08", "3"},
      {"Veyra Swift 8K", "receiver", "VS08", "3"},
  };
  ASSERT_EQ(lines.size(), 5u);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[i], m, line)) << lines[i];
    for (size_t f = 0; f < 4; ++f) EXPECT_EQ(m[f + 1].str(), expected[i][f]) << lines[i];
  }
}

TEST(ListCommand, SaysSoWhenThisMachineHasNoMouse) {
  shell::SetLogSink([](const std::string&) {});
  testing::internal::CaptureStdout();
  const int code = app::RunListCommand(false);
  const std::string out = testing::internal::GetCapturedStdout();
  shell::SetLogSink({});
  EXPECT_EQ(code, 1);
  EXPECT_EQ(out.rfind("No supported mouse found.\n", 0), 0u) << out;
}

}  // namespace
