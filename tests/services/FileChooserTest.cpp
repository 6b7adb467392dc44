// The portal file dialogs against a fake portal on a private bus, the save
// rule, and the scripted test seam.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "PrivateBus.h"
#include "TestEnv.h"
#include "platform/filechooser/PortalFileChooser.h"
#include "platform/filechooser/ScriptedFileChooser.h"

namespace {

using namespace std::chrono_literals;
using platform::FileDialogRequest;
using platform::FileDialogResult;
using services_test::BusService;
using services_test::PrivateBus;
using testing::HasSubstr;
namespace fs = std::filesystem;
using Status = FileDialogResult::Status;

#define REQUIRE_BUS(bus) \
  if (!(bus).Problem().empty()) GTEST_SKIP() << (bus).Problem()

// What the fake portal saw of one call.
struct SeenCall {
  std::string method;
  std::string title;
  std::map<std::string, std::string> options;  // filters flattened to "desc|type|pattern;"
};

// The fake portal: answers each dialog with the scripted reply.
class FakePortal {
 public:
  enum class Mode { Answer, NoReply, ReplyThenVanish };
  struct Script {
    Mode mode = Mode::Answer;
    std::uint32_t code = 0;
    std::string uri;
  };

  FakePortal(const std::string& address, Script script)
      : script_(std::move(script)), service_(address, [this](sd_bus* bus) { return Setup(bus); }) {}

  bool Ready() { return service_.WaitReady(); }
  std::vector<SeenCall> Calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

 private:
  static std::string ReadFilter(sd_bus_message* m) {
    // (sa(us))
    std::string out;
    const char* desc = nullptr;
    if (sd_bus_message_enter_container(m, 'r', "sa(us)") <= 0) return out;
    sd_bus_message_read(m, "s", &desc);
    out = desc;
    sd_bus_message_enter_container(m, 'a', "(us)");
    std::uint32_t type = 0;
    const char* pattern = nullptr;
    while (sd_bus_message_read(m, "(us)", &type, &pattern) > 0) out += "|" + std::to_string(type) + "|" + pattern;
    sd_bus_message_exit_container(m);
    sd_bus_message_exit_container(m);
    return out + ";";
  }

  static int OnDialog(sd_bus_message* m, void* userdata, sd_bus_error*) {
    auto* self = static_cast<FakePortal*>(userdata);
    SeenCall call;
    call.method = sd_bus_message_get_member(m);
    const char* parent = nullptr;
    const char* title = nullptr;
    sd_bus_message_read(m, "ss", &parent, &title);
    call.title = title;
    sd_bus_message_enter_container(m, 'a', "{sv}");
    while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
      const char* key = nullptr;
      sd_bus_message_read(m, "s", &key);
      char type = 0;
      const char* contents = nullptr;
      sd_bus_message_peek_type(m, &type, &contents);
      sd_bus_message_enter_container(m, 'v', contents);
      std::string value;
      if (std::string(contents) == "s") {
        const char* s = nullptr;
        sd_bus_message_read(m, "s", &s);
        value = s;
      } else if (std::string(contents) == "b") {
        int b = 0;
        sd_bus_message_read(m, "b", &b);
        value = b ? "true" : "false";
      } else if (std::string(contents) == "a(sa(us))") {
        sd_bus_message_enter_container(m, 'a', "(sa(us))");
        for (std::string f; !(f = ReadFilter(m)).empty();) value += f;
        sd_bus_message_exit_container(m);
      } else if (std::string(contents) == "(sa(us))") {
        value = ReadFilter(m);
      } else {
        sd_bus_message_skip(m, contents);
      }
      sd_bus_message_exit_container(m);
      sd_bus_message_exit_container(m);
      call.options[key] = value;
    }
    {
      std::lock_guard<std::mutex> lock(self->mutex_);
      self->calls_.push_back(call);
    }
    const Script& script = self->script_;
    if (script.mode == Mode::NoReply) return 1;  // the caller waits for an answer that never comes

    std::string sender = sd_bus_message_get_sender(m) + 1;
    for (char& c : sender) {
      if (c == '.') c = '_';
    }
    const std::string handle =
        "/org/freedesktop/portal/desktop/request/" + sender + "/" + call.options["handle_token"];
    sd_bus* bus = sd_bus_message_get_bus(m);
    const int r = sd_bus_reply_method_return(m, "o", handle.c_str());
    if (script.mode == Mode::ReplyThenVanish) {
      self->service_.Disconnect();
      return r;
    }
    if (script.uri.empty()) {
      sd_bus_emit_signal(bus, handle.c_str(), "org.freedesktop.portal.Request", "Response", "ua{sv}", script.code, 0);
    } else {
      sd_bus_emit_signal(bus, handle.c_str(), "org.freedesktop.portal.Request", "Response", "ua{sv}", script.code, 1,
                         "uris", "as", 1, script.uri.c_str());
    }
    return r;
  }

  bool Setup(sd_bus* bus) {
    static const sd_bus_vtable vtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("OpenFile", "ssa{sv}", "o", OnDialog, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("SaveFile", "ssa{sv}", "o", OnDialog, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};
    return sd_bus_add_object_vtable(bus, nullptr, "/org/freedesktop/portal/desktop",
                                    "org.freedesktop.portal.FileChooser", vtable, this) >= 0 &&
           sd_bus_request_name(bus, "org.freedesktop.portal.Desktop", 0) >= 0;
  }

  Script script_;
  std::mutex mutex_;
  std::vector<SeenCall> calls_;
  BusService service_;
};

FileDialogRequest MacroRequest() {
  FileDialogRequest request;
  request.title = L"Open";
  request.filter = {L"Macro (*.xml)", L"*.xml"};
  return request;
}

platform::PortalOptions Options(const std::string& address) {
  platform::PortalOptions options;
  options.busAddress = address;
  options.callTimeout = 300ms;
  return options;
}

TEST(PortalFileChooser, OpenDialogAsksWithOneXmlFilter) {
  PrivateBus bus;
  REQUIRE_BUS(bus);
  FakePortal portal(bus.Address(), {FakePortal::Mode::Answer, 0, "file:///home/u/My%20Macros/fire%25.xml"});
  ASSERT_TRUE(portal.Ready());
  platform::PortalFileChooser chooser(Options(bus.Address()));

  const FileDialogResult result = chooser.OpenFile(MacroRequest());
  EXPECT_EQ(result.status, Status::Chosen);
  EXPECT_EQ(result.path, fs::path("/home/u/My Macros/fire%.xml"));

  const std::vector<SeenCall> calls = portal.Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].method, "OpenFile");
  EXPECT_EQ(calls[0].title, "Open");
  EXPECT_EQ(calls[0].options.at("filters"), "Macro (*.xml)|0|*.xml;");  // exactly one entry
  EXPECT_EQ(calls[0].options.at("current_filter"), "Macro (*.xml)|0|*.xml;");
  EXPECT_EQ(calls[0].options.at("modal"), "true");
  EXPECT_EQ(calls[0].options.at("multiple"), "false");
}

TEST(PortalFileChooser, CancelReturnsNothing) {
  PrivateBus bus;
  REQUIRE_BUS(bus);
  for (std::uint32_t code : {1u, 2u}) {
    FakePortal portal(bus.Address(), {FakePortal::Mode::Answer, code, ""});
    ASSERT_TRUE(portal.Ready());
    const FileDialogResult result = platform::PortalFileChooser(Options(bus.Address())).OpenFile(MacroRequest());
    EXPECT_EQ(result.status, Status::Cancelled) << code;
    EXPECT_TRUE(result.path.empty());
  }
}

TEST(PortalFileChooser, SaveAddsTheExtensionAndAsksBeforeOverwriting) {
  PrivateBus bus;
  REQUIRE_BUS(bus);
  testenv::TempDir dir;
  testenv::WriteFile(dir.Path() / "old.xml", "<profile/>");
  const std::string base = "file://" + dir.Path().string() + "/";

  struct Case {
    const char* typed;
    int confirm;  // -1 no question expected, 0 says no, 1 says yes
    Status status;
    const char* result;
  };
  const Case cases[] = {
      {"Office", -1, Status::Chosen, "Office.xml"},   // new name: extension added
      {"old", 0, Status::Cancelled, ""},              // becomes an existing file: asked, no
      {"old", 1, Status::Chosen, "old.xml"},          // asked, yes
      {"old.xml", -1, Status::Chosen, "old.xml"},     // the portal asked about this very name
      {"notes.txt", -1, Status::Chosen, "notes.txt"}, // an extension of the user's own stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    FakePortal portal(bus.Address(), {FakePortal::Mode::Answer, 0, base + c.typed});
    ASSERT_TRUE(portal.Ready());
    FileDialogRequest request = MacroRequest();
    request.title = L"Save";
    request.filter = {L"Profile (*.xml)", L"*.xml"};
    request.suggestedName = L"Profile 1";
    int asked = 0;
    request.confirmOverwrite = [&](const fs::path& p) {
      ++asked;
      EXPECT_EQ(p, dir.Path() / "old.xml");
      return c.confirm == 1;
    };
    const FileDialogResult result = platform::PortalFileChooser(Options(bus.Address())).SaveFile(request);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(asked, c.confirm == -1 ? 0 : 1);
    EXPECT_EQ(result.path, c.status == Status::Chosen ? dir.Path() / c.result : fs::path());
    ASSERT_EQ(portal.Calls().size(), 1u);
    EXPECT_EQ(portal.Calls()[0].method, "SaveFile");
    EXPECT_EQ(portal.Calls()[0].options.at("current_name"), "Profile 1");
    EXPECT_EQ(portal.Calls()[0].options.at("filters"), "Profile (*.xml)|0|*.xml;");
  }
  // Without a question to ask, an existing file is never overwritten.
  FakePortal portal(bus.Address(), {FakePortal::Mode::Answer, 0, base + "old"});
  ASSERT_TRUE(portal.Ready());
  EXPECT_EQ(platform::PortalFileChooser(Options(bus.Address())).SaveFile(MacroRequest()).status, Status::Cancelled);
}

TEST(PortalFileChooser, MissingOrBrokenPortalGivesAClearMessage) {
  PrivateBus bus;
  REQUIRE_BUS(bus);
  {
    const FileDialogResult result = platform::PortalFileChooser(Options(bus.Address())).OpenFile(MacroRequest());
    EXPECT_EQ(result.status, Status::Unavailable);
    EXPECT_THAT(result.message, HasSubstr(L"desktop portal"));
  }
  {
    FakePortal silent(bus.Address(), {FakePortal::Mode::NoReply, 0, ""});
    ASSERT_TRUE(silent.Ready());
    const FileDialogResult result = platform::PortalFileChooser(Options(bus.Address())).OpenFile(MacroRequest());
    EXPECT_EQ(result.status, Status::Unavailable);
    EXPECT_THAT(result.message, HasSubstr(L"desktop portal"));
  }
  {
    FakePortal vanishing(bus.Address(), {FakePortal::Mode::ReplyThenVanish, 0, ""});
    ASSERT_TRUE(vanishing.Ready());
    const FileDialogResult result = platform::PortalFileChooser(Options(bus.Address())).SaveFile(MacroRequest());
    EXPECT_EQ(result.status, Status::Unavailable);
    EXPECT_THAT(result.message, HasSubstr(L"left the session"));
  }
  {
    FakePortal web(bus.Address(), {FakePortal::Mode::Answer, 0, "https://example.org/a.xml"});
    ASSERT_TRUE(web.Ready());
    const FileDialogResult result = platform::PortalFileChooser(Options(bus.Address())).OpenFile(MacroRequest());
    EXPECT_EQ(result.status, Status::Unavailable);
    EXPECT_THAT(result.message, HasSubstr(L"not a local file"));
  }
}

TEST(PortalFileChooser, WithoutSessionBus) {
  testenv::TempDir dir;
  const FileDialogResult result =
      platform::PortalFileChooser(Options("unix:path=" + (dir.Path() / "none").string())).OpenFile(MacroRequest());
  EXPECT_EQ(result.status, Status::Unavailable);
  EXPECT_THAT(result.message, HasSubstr(L"no session bus"));
}

TEST(PortalFileChooser, PathFromUri) {
  struct Case {
    const char* uri;
    const char* path;
  };
  const Case cases[] = {
      {"file:///home/u/a.xml", "/home/u/a.xml"},
      {"file://localhost/home/u/a.xml", "/home/u/a.xml"},
      {"file:///a%20b/%E6%96%87.xml", "/a b/\xE6\x96\x87.xml"},
      {"file://otherhost/a.xml", ""},
      {"file:///a%00b", ""},
      {"file:///a%2", ""},
      {"file:///a%zz", ""},
      {"https://example.org/a.xml", ""},
      {"file:", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::PortalFileChooser::PathFromUri(c.uri), fs::path(c.path)) << c.uri;
}

TEST(ScriptedFileChooser, StandsInForTheDialogs) {
  testenv::TempDir dir;
  testenv::WriteFile(dir.Path() / "taken.xml", "x");
  platform::ScriptedFileChooser scripted;
  platform::FileChooser::SetCurrent(&scripted);
  platform::FileChooser& chooser = platform::FileChooser::Current();
  EXPECT_EQ(&chooser, &scripted);

  scripted.Answer(dir.Path() / "in.xml");
  scripted.Answer(std::nullopt);
  scripted.Answer(dir.Path() / "out");
  scripted.Answer(dir.Path() / "taken");
  EXPECT_EQ(chooser.OpenFile(MacroRequest()).path, dir.Path() / "in.xml");
  EXPECT_EQ(chooser.OpenFile(MacroRequest()).status, Status::Cancelled);
  EXPECT_EQ(chooser.SaveFile(MacroRequest()).path, dir.Path() / "out.xml");
  EXPECT_EQ(chooser.SaveFile(MacroRequest()).status, Status::Cancelled);  // would overwrite, nobody agreed
  EXPECT_EQ(chooser.OpenFile(MacroRequest()).status, Status::Cancelled);  // nothing scripted
  ASSERT_EQ(scripted.Requests().size(), 5u);
  EXPECT_TRUE(scripted.Requests()[2].save);
  EXPECT_EQ(scripted.Requests()[2].request.filter.description, L"Macro (*.xml)");

  platform::FileChooser::SetCurrent(nullptr);
  EXPECT_NE(dynamic_cast<platform::PortalFileChooser*>(&platform::FileChooser::Current()), nullptr);
}

}  // namespace
