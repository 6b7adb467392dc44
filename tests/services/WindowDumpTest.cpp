// "inspect" over the single-instance socket: peer credentials, the answer's
// bounds and time-out, another process's window described, and
// "orvane --inspect".

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestEnv.h"
#include "app/WindowDumpCommand.h"
#include "platform/Text.h"
#include "platform/instance/InstanceLock.h"
#include "platform/instance/PeerCredentials.h"

namespace {

using namespace std::chrono_literals;
using services_test::ChildProcess;
using services_test::RunToEnd;
using services_test::WaitUntil;
using testing::HasSubstr;
using D = platform::InstanceLock::Delivery;

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

fs::path Host() { return testenv::BinDir() / "services_window_dump_host"; }
fs::path Program() { return testenv::BinDir() / "orvane"; }

socklen_t Address(const std::wstring& name, sockaddr_un& addr) {
  const std::string socketName = platform::InstanceLock::SocketName(name, {});
  addr = {};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path + 1, socketName.data(), socketName.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + socketName.size());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return lines;
}

// --- Peer credentials -------------------------------------------------------------

TEST(PeerCredentials, SameUserOnlyForASocketOfThisUser) {
  int pair[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  const struct {
    const char* what;
    int fd;
    bool same;
  } cases[] = {
      {"socket pair", pair[0], true},
      {"pipe", pipeEnds[0], false},
      {"closed descriptor", -1, false},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::IsSameUserPeer(c.fd), c.same) << c.what;
  uid_t uid = 12345;
  ASSERT_TRUE(platform::PeerUserId(pair[1], uid));
  EXPECT_EQ(uid, ::getuid());
  for (int fd : {pair[0], pair[1], pipeEnds[0], pipeEnds[1]}) ::close(fd);
}

TEST(PeerCredentials, AnotherUsersConnectionIsNotTheSameUser) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  const socklen_t length = Address(L"PeerProbe", addr);
  ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&addr), length), 0);
  ASSERT_EQ(::listen(server, 1), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setuid(kNobody) != 0) ::_exit(3);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0) ::_exit(2);
    char c = 0;
    [[maybe_unused]] ssize_t n = ::recv(fd, &c, 1, 0);  // until the parent closes
    ::_exit(0);
  }
  const int client = ::accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
  ASSERT_GE(client, 0);
  uid_t uid = 0;
  EXPECT_TRUE(platform::PeerUserId(client, uid));
  EXPECT_EQ(uid, kNobody);
  EXPECT_FALSE(platform::IsSameUserPeer(client));
  ::close(client);
  ::close(server);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// --- The request within one process -----------------------------------------------

TEST(InspectRequest, AnswerFollowsWhatTheInspectorDoes) {
  std::string huge;
  while (huge.size() <= platform::kMaxInspectBytes) huge += "id=1 class=MText path=1 text=\"0123456789\"\n";
  const struct {
    const char* what;
    bool registered;
    bool answers;
    std::string text;
    D delivery;
  } cases[] = {
      {"nobody registered", false, false, "", D::Ignored},
      {"answered", true, true, "window class=X\nid=1 class=MText\n", D::Delivered},
      {"answered with nothing", true, true, "", D::Delivered},
      {"never answered", true, false, "", D::Ignored},
      {"too long", true, true, huge, D::Delivered},
  };
  platform::InstanceOptions options;
  options.inspectTimeout = 200ms;
  platform::InstanceLock lock(L"Inspected", options);
  ASSERT_EQ(lock.TryClaim(), platform::InstanceLock::Claim::First);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::atomic<int> asked{0};
    if (c.registered) {
      lock.SetInspector([&](std::shared_ptr<platform::WindowDumpReply> reply) {
        ++asked;
        if (c.answers) reply->Answer(c.text);
      });
    } else {
      lock.SetInspector({});
    }
    std::string text = "stale";
    EXPECT_EQ(platform::InstanceLock::SendInspect(L"Inspected", text, options), c.delivery);
    EXPECT_EQ(asked.load(), c.registered ? 1 : 0);
    if (c.delivery != D::Delivered) {
      EXPECT_EQ(text, "");
    } else if (c.text.size() <= platform::kMaxInspectBytes) {
      EXPECT_EQ(text, c.text);
    } else {
      // Cut after a whole line, within the bound, and said so.
      EXPECT_LE(text.size(), platform::kMaxInspectBytes);
      const std::string tail = "\"0123456789\"\n... truncated\n";
      ASSERT_GT(text.size(), tail.size());
      EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
      EXPECT_EQ(huge.compare(0, text.size() - 14, text, 0, text.size() - 14), 0);
    }
  }
  lock.SetInspector({});
  std::string text;
  EXPECT_EQ(platform::InstanceLock::SendInspect(L"NotRunning", text, options), D::NoInstance);
}

TEST(InspectRequest, AnotherUsersRequestIsDroppedUnanswered) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  platform::InstanceLock lock(L"InspectGuarded");
  ASSERT_EQ(lock.TryClaim(), platform::InstanceLock::Claim::First);
  std::atomic<int> asked{0};
  lock.SetInspector([&](std::shared_ptr<platform::WindowDumpReply> reply) {
    ++asked;
    reply->Answer("secret\n");
  });
  sockaddr_un addr{};
  const socklen_t length = Address(L"InspectGuarded", addr);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setuid(kNobody) != 0) ::_exit(3);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0) ::_exit(2);
    timeval tv{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    [[maybe_unused]] ssize_t n = ::send(fd, "inspect\n", 8, MSG_NOSIGNAL);
    char c = 0;
    ::_exit(::recv(fd, &c, 1, 0) > 0 ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(asked.load(), 0);
  // The owner is still served.
  std::string text;
  EXPECT_EQ(platform::InstanceLock::SendInspect(L"InspectGuarded", text), D::Delivered);
  EXPECT_EQ(text, "secret\n");
  lock.SetInspector({});
}

// --- Between processes ------------------------------------------------------------

TEST(WindowDumpCommand, ProgramPrintsTheRunningInstancesControlTree) {
  ASSERT_TRUE(fs::exists(Program())) << Program();
  // Nobody runs: a message naming the application, exit code 1.
  std::string errors, output;
  ASSERT_EQ(RunToEnd(Program(), {"--inspect"}, &errors, &output), 1) << errors;
  EXPECT_EQ(output, "");
  const size_t open = errors.find('"');
  const size_t close = errors.rfind('"');
  ASSERT_TRUE(open != std::string::npos && close > open) << errors;
  EXPECT_THAT(errors, HasSubstr("no running instance"));
  const std::string name = errors.substr(open + 1, close - open - 1);
  EXPECT_EQ(RunToEnd(Program(), {"--inspect", "now"}, &errors), 2);

  ChildProcess host(Host(), {name});
  ASSERT_TRUE(WaitUntil([&] { return host.Output().find("ready") != std::string::npos || !host.Running(); }, 10s));
  ASSERT_TRUE(host.Running()) << host.Errors();

  ASSERT_EQ(RunToEnd(Program(), {"--inspect"}, &errors, &output), 0) << errors;
  const std::vector<std::string> lines = Lines(output);
  // The window at (200, 150); the panel's content is scrolled by 100.
  const std::vector<std::string> expected = {
      "window class=(anonymous namespace)::HostDialog title=\"Inspect host\" pos=200,150 size=320x240 visible=1 "
      "enabled=1 controls=6",
      "id=40 class=MPanel path=40 pos=210,160 size=200x100 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "  id=1 class=CScrollVertical path=40/1 pos=405,160 size=5x100 visible=1 shown=1 enabled=1 state=- text=\"\"",
      "  id=2 class=CScrollHorizontal path=40/2 pos=210,255 size=195x5 visible=0 shown=0 enabled=1 state=- text=\"\"",
      "  id=41 class=MText path=40/41 pos=210,200 size=200x50 visible=1 shown=1 enabled=1 state=- text=\"Row\"",
      "  id=42 class=MText path=40/42 pos=210,310 size=200x50 visible=1 shown=1 enabled=1 state=- text=\"Last\"",
      "id=50 class=CCheckButton path=50 pos=420,160 size=80x20 visible=1 shown=1 enabled=1 state=checked text=\"Sound\"",
  };
  EXPECT_EQ(lines, expected) << output;

  // Asking changed nothing: the same answer again.
  std::string again;
  ASSERT_EQ(RunToEnd(Program(), {"--inspect"}, &errors, &again), 0) << errors;
  EXPECT_EQ(again, output);

  EXPECT_EQ(platform::InstanceLock::SendPost(platform::FromUtf8(name), 1691, 0, 610), D::Delivered);
  ASSERT_TRUE(host.WaitExit(10s));
  EXPECT_EQ(host.ExitCode(), 0);
}

}  // namespace
