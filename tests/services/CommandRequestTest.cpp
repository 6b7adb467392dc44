// The "command" request of the single-instance socket: the arguments reach
// the registered handler whole, and its answer comes back; without a
// handler, or without an answer in time, the command is not taken.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "platform/instance/InstanceLock.h"

using namespace std::chrono_literals;
using D = platform::InstanceLock::Delivery;

TEST(CommandRequest, ArgumentsReachTheHandlerAndItsAnswerComesBack) {
  const std::vector<std::string> arguments = {"--set", "dpi=400,800", "", "a file name with blanks.xml", "ünïcode"};
  const struct {
    const char* what;
    bool registered;
    bool answers;
    std::vector<std::string> arguments;
    D delivery;
  } cases[] = {
      {"nobody takes commands", false, false, arguments, D::Ignored},
      {"answered", true, true, arguments, D::Delivered},
      {"no arguments", true, true, {}, D::Delivered},
      {"never answered", true, false, arguments, D::Ignored},
      {"too long to send", true, true, {std::string(platform::kMaxCommandBytes + 1, 'x')}, D::Ignored},
  };
  platform::InstanceOptions options;
  options.commandTimeout = 200ms;
  platform::InstanceLock lock(L"Commanded", options);
  ASSERT_EQ(lock.TryClaim(), platform::InstanceLock::Claim::First);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::atomic<int> asked{0};
    std::vector<std::string> received;
    if (c.registered) {
      lock.SetCommandHandler([&](std::vector<std::string> args, std::shared_ptr<platform::WindowDumpReply> reply) {
        ++asked;
        received = args;
        if (c.answers) reply->Answer("0\ndone " + std::to_string(args.size()) + "\n");
      });
    } else {
      lock.SetCommandHandler({});
    }
    std::string answer = "stale";
    EXPECT_EQ(platform::InstanceLock::SendCommand(L"Commanded", c.arguments, answer, options), c.delivery);
    const bool sent = c.arguments.empty() || c.arguments[0].size() <= platform::kMaxCommandBytes;
    EXPECT_EQ(asked.load(), c.registered && sent ? 1 : 0);
    if (c.delivery == D::Delivered) {
      EXPECT_EQ(answer, "0\ndone " + std::to_string(c.arguments.size()) + "\n");
      // An empty list arrives as no argument; every other list whole.
      EXPECT_EQ(received, c.arguments);
    } else {
      EXPECT_EQ(answer, "");
    }
  }
  lock.SetCommandHandler({});
  std::string answer;
  EXPECT_EQ(platform::InstanceLock::SendCommand(L"NotRunningHere", {"--set", "rate=1000"}, answer, options),
            D::NoInstance);
}
