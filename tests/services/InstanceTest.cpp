// Single instance: the lock and socket between processes, the line protocol,
// "orvane --post", and the start-up rules ("-hide", the quit code).

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestEnv.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "platform/Text.h"
#include "platform/instance/InstanceLock.h"

namespace {

using namespace std::chrono_literals;
using services_test::ChildProcess;
using services_test::RunToEnd;
using services_test::WaitUntil;
using testing::ElementsAre;

namespace fs = std::filesystem;

fs::path Holder() { return testenv::BinDir() / "services_instance_holder"; }
fs::path Program() { return testenv::BinDir() / "orvane"; }

std::vector<std::string> Lines(const fs::path& file) {
  std::vector<std::string> lines;
  const std::string text = testenv::ReadFile(file);
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return lines;
}

bool HasLine(const fs::path& file, const std::string& line) {
  for (const std::string& l : Lines(file)) {
    if (l == line) return true;
  }
  return false;
}

class RecordingEvents : public platform::InstanceEvents {
 public:
  void OnActivate() override {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.push_back("activate");
  }
  void OnPostedMessage(std::uint32_t m, std::uint64_t w, std::int64_t l) override {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.push_back("post " + std::to_string(m) + " " + std::to_string(w) + " " + std::to_string(l));
  }
  std::vector<std::string> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> seen_;
};

// Sends one raw line to the instance's socket and returns its answer.
std::string RawRequest(const std::wstring& name, const std::string& bytes) {
  const std::string socketName = platform::InstanceLock::SocketName(name, {});
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path + 1, socketName.data(), socketName.size());
  const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + socketName.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0) {
    if (fd >= 0) ::close(fd);
    return "<no connection>";
  }
  timeval tv{3, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  [[maybe_unused]] ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  std::string reply;
  char c = 0;
  while (reply.size() < 64 && ::recv(fd, &c, 1, 0) == 1 && c != '\n') reply.push_back(c);
  ::close(fd);
  return reply;
}

// --- Between processes ---------------------------------------------------------

TEST(SingleInstance, TwoStartsAtTheSameMomentLeaveOne) {
  testenv::TempDir dir;
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    const std::string name = "Race" + std::to_string(round);
    const fs::path record = dir.Path() / (name + ".txt");
    ChildProcess a(Holder(), {name, record.string()});
    ChildProcess b(Holder(), {name, record.string()});
    ASSERT_TRUE(WaitUntil([&] { return !a.Running() || !b.Running(); }, 10s));
    ChildProcess& second = a.Running() ? b : a;
    ChildProcess& first = a.Running() ? a : b;
    EXPECT_EQ(second.ExitCode(), 0);
    // The second start asked the first to show itself before it ended.
    ASSERT_TRUE(WaitUntil([&] { return HasLine(record, "activate"); }, 5s));
    EXPECT_THAT(Lines(record), ElementsAre("ready", "activate"));
    EXPECT_TRUE(first.Running());

    EXPECT_EQ(platform::InstanceLock::SendPost(platform::FromUtf8(name), 1691, 0, 610),
              platform::InstanceLock::Delivery::Delivered);
    ASSERT_TRUE(first.WaitExit(10s));
    EXPECT_EQ(first.ExitCode(), 0);
  }
}

TEST(SingleInstance, ProgramActivatesRunningInstanceAndPostsItMessages) {
  ASSERT_TRUE(fs::exists(Program())) << Program();
  // With nobody running, a post finds no instance; the message names the
  // application name the program uses, which the stand-in then holds.
  std::string errors;
  ASSERT_EQ(RunToEnd(Program(), {"--post", "2022", "0", "0"}, &errors), 1) << errors;
  const size_t open = errors.find('"');
  const size_t close = errors.rfind('"');
  ASSERT_TRUE(open != std::string::npos && close > open) << errors;
  const std::string name = errors.substr(open + 1, close - open - 1);

  testenv::TempDir dir;
  const fs::path record = dir.Path() / "record.txt";
  ChildProcess first(Holder(), {name, record.string()});
  ASSERT_TRUE(WaitUntil([&] { return HasLine(record, "ready"); }, 10s));

  // A second start of the program activates the first and ends with code 0
  // before it does anything else (no start-up summary).
  std::string output;
  EXPECT_EQ(RunToEnd(Program(), {"-hide"}, &errors, &output), 0) << errors;
  EXPECT_EQ(output, "");

  struct Case {
    std::vector<std::string> args;
    int exitCode;
  };
  const Case cases[] = {
      {{"--post", "1691", "0", "5"}, 0},     // quit with the wrong code: ignored by the instance
      {{"--post", "2022", "0", "0"}, 0},     // refresh texts
      {{"--post", "1234", "0", "0"}, 0},     // not a public message: the instance ignores it
      {{"--post", "1691", "x", "610"}, 2},   // not a number
      {{"--post", "1691", "0"}, 2},          // missing argument
      {{"--post", "-1691", "0", "610"}, 2},  // the message number has no sign
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunToEnd(Program(), c.args, &errors), c.exitCode) << c.args[1] << " " << errors;
  }
  ASSERT_TRUE(WaitUntil([&] { return HasLine(record, "post 2022 0 0"); }, 5s));
  EXPECT_TRUE(first.Running());

  EXPECT_EQ(RunToEnd(Program(), {"--post", "1691", "0", "610"}, &errors), 0) << errors;
  ASSERT_TRUE(first.WaitExit(10s));
  EXPECT_EQ(first.ExitCode(), 0);
  EXPECT_THAT(Lines(record), ElementsAre("ready", "activate", "post 1691 0 5", "post 2022 0 0", "post 1691 0 610"));
}

TEST(SingleInstance, KilledInstanceLeavesNothingBehind) {
  testenv::TempDir dir;
  const fs::path record = dir.Path() / "record.txt";
  {
    ChildProcess first(Holder(), {"Crashy", record.string()});
    ASSERT_TRUE(WaitUntil([&] { return HasLine(record, "ready"); }, 10s));
    ::kill(first.Pid(), SIGKILL);
    ASSERT_TRUE(first.WaitExit(10s));
  }
  EXPECT_EQ(platform::InstanceLock::SendActivate(L"Crashy"), platform::InstanceLock::Delivery::NoInstance);
  platform::InstanceLock lock(L"Crashy");
  EXPECT_EQ(lock.TryClaim(), platform::InstanceLock::Claim::First);
}

// --- Within one process ---------------------------------------------------------

TEST(SingleInstance, RequestsBeforeTheReceiverAreKeptAndOthersIgnored) {
  platform::InstanceLock lock(L"Early");
  ASSERT_EQ(lock.TryClaim(), platform::InstanceLock::Claim::First);
  platform::InstanceLock other(L"Early");
  EXPECT_EQ(other.TryClaim(), platform::InstanceLock::Claim::Second);

  using D = platform::InstanceLock::Delivery;
  EXPECT_EQ(platform::InstanceLock::SendActivate(L"Early"), D::Delivered);
  EXPECT_EQ(platform::InstanceLock::SendPost(L"Early", 2022, 7, -3), D::Delivered);
  EXPECT_EQ(platform::InstanceLock::SendPost(L"Early", 1690, 0, 513), D::Ignored);
  EXPECT_EQ(platform::InstanceLock::SendPost(L"Other", 2022, 0, 0), D::NoInstance);

  RecordingEvents events;
  lock.SetEvents(&events);
  EXPECT_THAT(events.Seen(), ElementsAre("activate", "post 2022 7 -3"));
  lock.SetEvents(nullptr);
}

// A quit request ends the instance as soon as its window sees it, which can
// be before the listener would have answered: the answer goes out first, so
// the sender learns it was delivered instead of finding no instance.
class ClientMustHaveItsAnswer : public platform::InstanceEvents {
 public:
  void OnActivate() override {}
  void OnPostedMessage(std::uint32_t, std::uint64_t, std::int64_t) override {
    std::unique_lock<std::mutex> lock(mutex_);
    answeredFirst_ = changed_.wait_for(lock, 5s, [this] { return clientReturned_; });
    handled_ = true;
    changed_.notify_all();
  }
  // The listener hands the message on after it answered, so the sender may
  // be back before the handler has even begun: wait for it (bounded).
  bool WaitHandled() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, 10s, [this] { return handled_; });
  }
  void ClientReturned() {
    std::lock_guard<std::mutex> lock(mutex_);
    clientReturned_ = true;
    changed_.notify_all();
  }
  bool AnsweredFirst() {
    std::lock_guard<std::mutex> lock(mutex_);
    return answeredFirst_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool clientReturned_ = false;
  bool answeredFirst_ = false;
  bool handled_ = false;
};

TEST(SingleInstance, SenderHasItsAnswerBeforeTheMessageIsHandedOn) {
  platform::InstanceLock lock(L"AnswerFirst");
  ASSERT_EQ(lock.TryClaim(), platform::InstanceLock::Claim::First);
  ClientMustHaveItsAnswer events;
  lock.SetEvents(&events);
  EXPECT_EQ(platform::InstanceLock::SendPost(L"AnswerFirst", 1691, 0, 610),
            platform::InstanceLock::Delivery::Delivered);
  events.ClientReturned();
  EXPECT_TRUE(events.WaitHandled());
  lock.SetEvents(nullptr);
  EXPECT_TRUE(events.AnsweredFirst());
}

TEST(SingleInstance, MalformedRequestsAreRefusedAndTheInstanceServesOn) {
  platform::InstanceLock lock(L"Strict");
  ASSERT_EQ(lock.TryClaim(), platform::InstanceLock::Claim::First);
  RecordingEvents events;
  lock.SetEvents(&events);

  struct Case {
    std::string bytes;
    std::string reply;
  };
  const Case cases[] = {
      {"activate\n", "ok"},
      {"activate\r\n", "ok"},
      {"post 2022 1 2\n", "ok"},
      {"post 1691 18446744073709551615 -9223372036854775808\n", "ok"},
      {"post 1691 -1 610\n", "error"},          // wParam has no sign
      {"post 1691 18446744073709551616 0\n", "error"},  // wParam out of range
      {"post 2022 0\n", "error"},
      {"post 2022 0 0 0\n", "error"},
      {"ACTIVATE\n", "error"},
      {"post 0x7e6 0 0\n", "error"},
      {std::string(300, 'a'), "error"},          // no line end within the limit
      {"post 5 0 0\n", "ignored"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RawRequest(L"Strict", c.bytes), c.reply) << c.bytes.substr(0, 40);
  }
  EXPECT_THAT(events.Seen(), ElementsAre("activate", "activate", "post 2022 1 2",
                                         "post 1691 18446744073709551615 -9223372036854775808"));
  lock.SetEvents(nullptr);
}

// Another user (the test runs as root, so a child can become "nobody") can
// neither send requests to the instance nor keep it from starting.
TEST(SingleInstance, OtherUsersCannotReachOrBlockTheInstance) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  constexpr uid_t kNobody = 65534;
  auto address = [](const std::wstring& name, sockaddr_un& addr) {
    const std::string socketName = platform::InstanceLock::SocketName(name, {});
    addr = {};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, socketName.data(), socketName.size());
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + socketName.size());
  };

  // 1. A request from another user is dropped without an answer.
  platform::InstanceLock lock(L"Guarded");
  ASSERT_EQ(lock.TryClaim(), platform::InstanceLock::Claim::First);
  RecordingEvents events;
  lock.SetEvents(&events);
  sockaddr_un addr{};
  socklen_t length = address(L"Guarded", addr);
  pid_t child = ::fork();
  if (child == 0) {
    // Only system calls between fork and _exit.
    if (::setuid(kNobody) != 0) ::_exit(3);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0) ::_exit(2);
    timeval tv{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    [[maybe_unused]] ssize_t n = ::send(fd, "activate\n", 9, MSG_NOSIGNAL);
    char c = 0;
    // Closed (or reset) without an answer.
    ::_exit(::recv(fd, &c, 1, 0) > 0 ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(events.Seen().empty());
  lock.SetEvents(nullptr);

  // 2. Another user squatting on the socket name does not stop the start,
  // and nobody's requests reach the squatter.
  length = address(L"Squatted", addr);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  child = ::fork();
  if (child == 0) {
    if (::setuid(kNobody) != 0) ::_exit(3);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0 || ::listen(fd, 4) != 0) ::_exit(2);
    [[maybe_unused]] ssize_t n = ::write(ready[1], "r", 1);
    ::sleep(30);
    ::_exit(0);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  platform::InstanceLock squatted(L"Squatted");
  EXPECT_EQ(squatted.TryClaim(), platform::InstanceLock::Claim::First);
  EXPECT_EQ(platform::InstanceLock::SendActivate(L"Squatted"), platform::InstanceLock::Delivery::NoInstance);
  ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST(SingleInstance, LockFileFollowsTheRuntimeFolder) {
  testenv::FreshUserFolders folders;
  EXPECT_EQ(platform::InstanceLock::LockFile(L"Abc", {}), folders.RuntimeDir() / "Abc.lock");
  EXPECT_EQ(platform::InstanceLock::LockFile(L"a/b", {}), folders.RuntimeDir() / "a_b.lock");
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(platform::InstanceLock::LockFile(L"Abc", {}), folders.ConfigHome() / "Abc" / "instance.lock");
  // Separate runtime folders give separate sockets.
  const std::string here = platform::InstanceLock::SocketName(L"Abc", {});
  platform::InstanceOptions elsewhere;
  elsewhere.lockFolder = folders.Root();
  EXPECT_NE(here, platform::InstanceLock::SocketName(L"Abc", elsewhere));
  EXPECT_EQ(here.rfind("Abc.", 0), 0u);
}

// --- Start-up rules --------------------------------------------------------------

TEST(StartupRules, HideOptionIsACaseSensitiveSubstring) {
  struct Case {
    const wchar_t* line;
    bool hide;
  };
  const Case cases[] = {
      {L"-hide", true},    {L"-autorun -hide", true}, {L"x-hidey", true}, {L"-HIDE", false},
      {L"-Hide", false},   {L"hide", false},          {L"", false},       {L"- hide", false},
  };
  for (const Case& c : cases) EXPECT_EQ(app::HasHideOption(c.line), c.hide) << c.line;

  const char* argv[] = {"/opt/orvane/orvane", "-auto", "x-hid", "e", nullptr};
  EXPECT_EQ(app::CommandLineText(4, argv), L"-auto x-hid e");
  EXPECT_FALSE(app::HasHideOption(app::CommandLineText(4, argv)));
}

TEST(StartupRules, OnlyCode610QuitsWithMessage1691) {
  EXPECT_TRUE(app::IsQuitRequest(1691, 610));
  EXPECT_FALSE(app::IsQuitRequest(1691, 5));
  EXPECT_FALSE(app::IsQuitRequest(1691, 610 + (1ll << 32)));
  EXPECT_FALSE(app::IsQuitRequest(2022, 610));
}

}  // namespace
