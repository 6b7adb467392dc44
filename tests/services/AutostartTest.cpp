// The autostart entry and opening addresses with xdg-open.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "TestEnv.h"
#include "platform/Text.h"
#include "platform/autostart/AutostartEntry.h"
#include "platform/shell/OpenAddress.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(Autostart, ExecQuotesThePathByTheDesktopEntryRules) {
  struct Case {
    const char* path;
    const char* exec;  // as it stands in the file
  };
  const Case cases[] = {
      {"/opt/orvane/orvane", R"("/opt/orvane/orvane" -autorun)"},
      {"/home/a b/My Apps/orvane", R"("/home/a b/My Apps/orvane" -autorun)"},
      {"/x/100%/orvane", R"("/x/100%%/orvane" -autorun)"},
      {"/x/$HOME/o", R"("/x/\\$HOME/o" -autorun)"},
      {"/x/say \"hi\"/o", R"("/x/say \\"hi\\"/o" -autorun)"},
      {"/x/a`b/o", R"("/x/a\\`b/o" -autorun)"},
      {"/x/back\\slash/o", R"("/x/back\\\\slash/o" -autorun)"},
      {"/x/it's;&|<>~*?#()/o", R"("/x/it's;&|<>~*?#()/o" -autorun)"},
      {"/x/new\nline\ttab/o", R"("/x/new\nline\ttab/o" -autorun)"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::AutostartEntry::ExecLine(c.path), c.exec) << c.path;
}

TEST(Autostart, CreateExistsRemove) {
  testenv::FreshUserFolders folders;
  platform::AutostartEntry entry(L"Orvane");
  EXPECT_EQ(entry.File(), folders.ConfigHome() / "autostart" / "Orvane.desktop");
  EXPECT_FALSE(entry.Exists());
  EXPECT_TRUE(entry.Remove());  // nothing to remove is fine

  ASSERT_TRUE(entry.Create("/opt/My Orvane/orvane"));
  EXPECT_TRUE(entry.Exists());
  EXPECT_EQ(testenv::ReadFile(entry.File()),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Orvane\n"
            "Exec=\"/opt/My Orvane/orvane\" -autorun\n"
            "Terminal=false\n"
            "X-GNOME-Autostart-enabled=true\n");

  // Another executable replaces the entry.
  ASSERT_TRUE(entry.Create(platform::AutostartEntry::RunningExecutable()));
  EXPECT_NE(testenv::ReadFile(entry.File()).find("test_services\" -autorun\n"), std::string::npos);

  EXPECT_TRUE(entry.Remove());
  EXPECT_FALSE(entry.Exists());
}

TEST(Autostart, RefusesWhatCannotBeWrittenDown) {
  testenv::FreshUserFolders folders;
  EXPECT_FALSE(platform::AutostartEntry(L"Orvane").Create("/opt/\xff\xfe/orvane"));
  EXPECT_FALSE(platform::AutostartEntry(L"a/b").Create("/opt/orvane"));
  EXPECT_FALSE(platform::AutostartEntry(L"..").Create("/opt/orvane"));
  EXPECT_FALSE(fs::exists(folders.ConfigHome() / "autostart" / "Orvane.desktop"));
  // A leading blank in the name keeps its escape.
  platform::AutostartEntry blank(L" Orvane");
  ASSERT_TRUE(blank.Create("/opt/orvane"));
  EXPECT_NE(testenv::ReadFile(blank.File()).find("Name=\\sOrvane\n"), std::string::npos);
}

TEST(OpenAddress, OnlyWebAndMailAddresses) {
  struct Case {
    const wchar_t* address;
    bool ok;
  };
  const Case cases[] = {
      {L"https://orvane.example.org/", true},
      {L"HTTP://orvane.example.org/faq", true},
      {L"mailto:help@orvane.example.org", true},
      {L"", false},
      {L"https://", false},
      {L"--help", false},
      {L"file:///etc/passwd", false},
      {L"javascript:alert(1)", false},
      {L"/usr/bin/xterm", false},
      {L"https://a.example/\nrm", false},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::IsOpenableAddress(c.address), c.ok) << c.address;
  EXPECT_FALSE(platform::OpenAddress(L"file:///etc/passwd"));
}

// A stand-in xdg-open records its arguments and then waits until the test
// lets it go, which shows that OpenAddress did not wait for it.
TEST(OpenAddress, StartsXdgOpenWithoutShellOrWaitingAndReapsIt) {
  testenv::TempDir dir;
  const fs::path record = dir.Path() / "args.txt";
  const fs::path fifo = dir.Path() / "release";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  testenv::WriteFile(dir.Path() / "xdg-open",
                     "#!/bin/sh\n"
                     "printf '%s\\n' \"$#\" \"$@\" > \"" + record.string() + ".tmp\"\n"
                     "mv \"" + record.string() + ".tmp\" \"" + record.string() + "\"\n"
                     "read line < \"" + fifo.string() + "\"\n");
  fs::permissions(dir.Path() / "xdg-open", fs::perms::owner_all);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (dir.Path().string() + ":" + oldPath).c_str(), 1);

  std::atomic<bool> released{false};
  std::thread releaser([&] {
    // Lets the stand-in end once it recorded (or after 10 s at the latest).
    services_test::WaitUntil([&] { return fs::exists(record); }, 10s);
    int fd = -1;
    services_test::WaitUntil([&] { return (fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; }, 10s);
    released = true;
    if (fd >= 0) {
      [[maybe_unused]] ssize_t n = ::write(fd, "go\n", 3);
      ::close(fd);
    }
  });

  // Under a shell the command substitution would create the file "x".
  const std::string text = "https://orvane.example.org/a b?x=$(touch " + (dir.Path() / "x").string() + ")&y='z';w=`id`";
  const std::wstring address = platform::FromUtf8(text);
  pid_t child = -1;
  const bool started = platform::OpenAddress(address, &child);
  const bool releasedBeforeReturn = released;
  releaser.join();
  ::setenv("PATH", oldPath.c_str(), 1);

  ASSERT_TRUE(started);
  EXPECT_FALSE(releasedBeforeReturn);
  EXPECT_EQ(testenv::ReadFile(record), "1\n" + text + "\n");
  EXPECT_FALSE(fs::exists(dir.Path() / "x"));
  // Reaped: not even a zombie remains.
  EXPECT_TRUE(services_test::WaitUntil([&] { return ::kill(child, 0) != 0 && errno == ESRCH; }, 10s));
}

}  // namespace
