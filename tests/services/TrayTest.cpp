// The tray icon on a private session bus, seen by a fake StatusNotifierWatcher
// and by the test acting as the host that shows the icon.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "PrivateBus.h"
#include "platform/tray/TrayIcon.h"

namespace {

using namespace std::chrono_literals;
using services_test::BusClient;
using services_test::BusService;
using services_test::PrivateBus;
using services_test::WaitUntil;
using testing::ElementsAre;
using testing::HasSubstr;

#define REQUIRE_BUS(bus) \
  if (!(bus).Problem().empty()) GTEST_SKIP() << (bus).Problem()

class Recorder : public platform::TrayEvents {
 public:
  void OnTrayActivate() override { Add("activate"); }
  void OnTrayCommand(unsigned command) override { Add("command " + std::to_string(command)); }
  void Add(const std::string& s) {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.push_back(s);
  }
  std::vector<std::string> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> seen_;
};

// Log lines written by the tray thread, read by the test.
class LogLines {
 public:
  void Add(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
  }
  std::vector<std::string> All() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

// The watcher: records the items that register.
class FakeWatcher {
 public:
  explicit FakeWatcher(const std::string& address)
      : service_(address, [this](sd_bus* bus) { return Setup(bus); }) {}

  bool Ready() { return service_.WaitReady(); }
  std::vector<std::string> Items() {
    std::lock_guard<std::mutex> lock(mutex_);
    return items_;
  }

 private:
  static int OnRegister(sd_bus_message* m, void* userdata, sd_bus_error*) {
    auto* self = static_cast<FakeWatcher*>(userdata);
    const char* service = nullptr;
    const int r = sd_bus_message_read(m, "s", &service);
    if (r < 0) return r;
    {
      std::lock_guard<std::mutex> lock(self->mutex_);
      self->items_.push_back(service);
    }
    return sd_bus_reply_method_return(m, "");
  }

  static int GetTrue(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
    return sd_bus_message_append(reply, "b", 1);
  }

  bool Setup(sd_bus* bus) {
    static const sd_bus_vtable vtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", OnRegister, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_PROPERTY("IsStatusNotifierHostRegistered", "b", GetTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_VTABLE_END};
    return sd_bus_add_object_vtable(bus, nullptr, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher", vtable,
                                    this) >= 0 &&
           sd_bus_request_name(bus, "org.kde.StatusNotifierWatcher", 0) >= 0;
  }

  std::mutex mutex_;
  std::vector<std::string> items_;
  BusService service_;
};

struct MenuNode {
  int id = -1;
  std::map<std::string, std::string> props;  // booleans as "true"/"false"
  std::vector<MenuNode> children;
};

bool ReadNode(sd_bus_message* m, MenuNode& node) {
  if (sd_bus_message_enter_container(m, 'r', "ia{sv}av") <= 0) return false;
  if (sd_bus_message_read(m, "i", &node.id) < 0) return false;
  if (sd_bus_message_enter_container(m, 'a', "{sv}") <= 0) return false;
  while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
    const char* key = nullptr;
    char type = 0;
    const char* contents = nullptr;
    if (sd_bus_message_read(m, "s", &key) < 0 || sd_bus_message_peek_type(m, &type, &contents) < 0) return false;
    if (sd_bus_message_enter_container(m, 'v', contents) <= 0) return false;
    if (contents[0] == 's') {
      const char* s = nullptr;
      sd_bus_message_read(m, "s", &s);
      node.props[key] = s;
    } else if (contents[0] == 'b') {
      int b = 0;
      sd_bus_message_read(m, "b", &b);
      node.props[key] = b ? "true" : "false";
    } else {
      sd_bus_message_skip(m, contents);
    }
    sd_bus_message_exit_container(m);
    sd_bus_message_exit_container(m);
  }
  sd_bus_message_exit_container(m);
  if (sd_bus_message_enter_container(m, 'a', "v") <= 0) return false;
  while (sd_bus_message_enter_container(m, 'v', "(ia{sv}av)") > 0) {
    MenuNode child;
    if (!ReadNode(m, child)) return false;
    node.children.push_back(child);
    sd_bus_message_exit_container(m);
  }
  sd_bus_message_exit_container(m);
  return sd_bus_message_exit_container(m) >= 0;
}

// GetLayout of the whole menu; revision in *revision.
MenuNode GetLayout(sd_bus* bus, const std::string& service, std::uint32_t* revision) {
  MenuNode root;
  sd_bus_message* reply = nullptr;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  if (sd_bus_call_method(bus, service.c_str(), "/MenuBar", "com.canonical.dbusmenu", "GetLayout", &error, &reply,
                         "iias", 0, -1, 0) >= 0) {
    sd_bus_message_read(reply, "u", revision);
    ReadNode(reply, root);
  }
  sd_bus_message_unref(reply);
  sd_bus_error_free(&error);
  return root;
}

int CallEvent(sd_bus* bus, const std::string& service, int id, const char* eventId) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const int r = sd_bus_call_method(bus, service.c_str(), "/MenuBar", "com.canonical.dbusmenu", "Event", &error,
                                   nullptr, "isvu", id, eventId, "s", "", 0u);
  sd_bus_error_free(&error);
  return r;
}

std::string ItemString(sd_bus* bus, const std::string& service, const char* property) {
  char* value = nullptr;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_get_property_string(bus, service.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem", property,
                             &error, &value);
  sd_bus_error_free(&error);
  std::string s = value != nullptr ? value : "<none>";
  std::free(value);
  return s;
}

platform::TrayOptions Options(const std::string& address, LogLines* log) {
  platform::TrayOptions o;
  o.toolTip = L"Orvane";
  o.menuText = L"E_xit";
  o.iconWidth = 2;
  o.iconHeight = 1;
  o.iconPixels = {0xFF102030u, 0x80405060u};
  o.busAddress = address;
  o.log = [log](const std::string& line) { log->Add(line); };
  return o;
}

TEST(Tray, PublishesTheIconWithItsOneItemMenu) {
  PrivateBus bus;
  REQUIRE_BUS(bus);
  FakeWatcher watcher(bus.Address());
  ASSERT_TRUE(watcher.Ready());

  LogLines log;
  Recorder events;
  platform::TrayIcon tray(Options(bus.Address(), &log), &events);
  ASSERT_TRUE(tray.Add());
  ASSERT_TRUE(WaitUntil([&] { return tray.GetState() == platform::TrayIcon::State::Registered; }, 10s));
  const std::string service = tray.ServiceName();
  EXPECT_THAT(watcher.Items(), ElementsAre(service));

  BusClient host(bus.Address());
  ASSERT_NE(host.Get(), nullptr);
  EXPECT_EQ(ItemString(host.Get(), service, "Title"), "Orvane");
  EXPECT_EQ(ItemString(host.Get(), service, "Status"), "Active");
  EXPECT_EQ(ItemString(host.Get(), service, "IconName"), "input-mouse");

  // Tool tip: (icon name, pixmaps, title, text); the picture travels as
  // ARGB bytes in network order.
  sd_bus_message* reply = nullptr;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  ASSERT_GE(sd_bus_get_property(host.Get(), service.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                "ToolTip", &error, &reply, "(sa(iiay)ss)"),
            0);
  const char* iconName = nullptr;
  const char* title = nullptr;
  const char* text = nullptr;
  int w = 0;
  int h = 0;
  const void* bytes = nullptr;
  size_t size = 0;
  ASSERT_GT(sd_bus_message_enter_container(reply, 'r', "sa(iiay)ss"), 0);
  sd_bus_message_read(reply, "s", &iconName);
  sd_bus_message_enter_container(reply, 'a', "(iiay)");
  sd_bus_message_enter_container(reply, 'r', "iiay");
  sd_bus_message_read(reply, "ii", &w, &h);
  sd_bus_message_read_array(reply, 'y', &bytes, &size);
  sd_bus_message_exit_container(reply);
  sd_bus_message_exit_container(reply);
  sd_bus_message_read(reply, "ss", &title, &text);
  EXPECT_EQ(std::string(title), "Orvane");
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 1);
  const std::vector<std::uint8_t> pixels(static_cast<const std::uint8_t*>(bytes),
                                         static_cast<const std::uint8_t*>(bytes) + size);
  EXPECT_THAT(pixels, ElementsAre(0xFF, 0x10, 0x20, 0x30,    // pixel 1: A R G B
                                  0x80, 0x40, 0x50, 0x60));  // pixel 2
  sd_bus_message_unref(reply);
  sd_bus_error_free(&error);

  // Left click (the host's Activate) is the activation.
  ASSERT_GE(sd_bus_call_method(host.Get(), service.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                               "Activate", nullptr, nullptr, "ii", 10, 20),
            0);

  // Exactly one menu item: command 100 with the quit text ('_' doubled).
  std::uint32_t revision = 0;
  MenuNode root = GetLayout(host.Get(), service, &revision);
  EXPECT_EQ(root.id, 0);
  EXPECT_EQ(root.props["children-display"], "submenu");
  ASSERT_EQ(root.children.size(), 1u);
  EXPECT_EQ(root.children[0].id, 100);
  EXPECT_EQ(root.children[0].props["label"], "E__xit");
  EXPECT_EQ(root.children[0].props["enabled"], "true");
  EXPECT_TRUE(root.children[0].children.empty());

  EXPECT_GE(CallEvent(host.Get(), service, 100, "hovered"), 0);  // no command
  EXPECT_GE(CallEvent(host.Get(), service, 100, "clicked"), 0);
  EXPECT_LT(CallEvent(host.Get(), service, 7, "clicked"), 0);  // no such item
  EXPECT_THAT(events.Seen(), ElementsAre("activate", "command 100"));

  // A new language: the host reads the new text with a new revision.
  tray.SetMenuText(L"Quit");
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::uint32_t r = 0;
        MenuNode now = GetLayout(host.Get(), service, &r);
        return r > revision && now.children.size() == 1 && now.children[0].props["label"] == "Quit";
      },
      5s));

  // Removing the icon takes its name off the bus.
  tray.Remove();
  EXPECT_EQ(tray.GetState(), platform::TrayIcon::State::Stopped);
  EXPECT_FALSE(host.NameHasOwner(service.c_str()));
  EXPECT_TRUE(log.All().empty());
}

TEST(Tray, AnAboutTextPutsAboutAboveQuit) {
  PrivateBus bus;
  REQUIRE_BUS(bus);
  FakeWatcher watcher(bus.Address());
  ASSERT_TRUE(watcher.Ready());
  LogLines log;
  Recorder events;
  platform::TrayOptions options = Options(bus.Address(), &log);
  options.aboutText = L"About";
  platform::TrayIcon tray(options, &events);
  ASSERT_TRUE(tray.Add());
  ASSERT_TRUE(WaitUntil([&] { return tray.GetState() == platform::TrayIcon::State::Registered; }, 10s));
  const std::string service = tray.ServiceName();
  BusClient host(bus.Address());
  ASSERT_NE(host.Get(), nullptr);

  std::uint32_t revision = 0;
  MenuNode root = GetLayout(host.Get(), service, &revision);
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.children[0].id, 102);
  EXPECT_EQ(root.children[0].props["label"], "About");
  EXPECT_EQ(root.children[1].id, 100);
  EXPECT_EQ(root.children[1].props["label"], "E__xit");

  EXPECT_GE(CallEvent(host.Get(), service, 102, "clicked"), 0);
  EXPECT_GE(CallEvent(host.Get(), service, 100, "clicked"), 0);
  EXPECT_THAT(events.Seen(), ElementsAre("command 102", "command 100"));

  // Both texts follow a language change.
  tray.SetAboutText(L"Info");
  tray.SetMenuText(L"Quit");
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::uint32_t r = 0;
        MenuNode now = GetLayout(host.Get(), service, &r);
        return r > revision && now.children.size() == 2 && now.children[0].props["label"] == "Info" &&
               now.children[1].props["label"] == "Quit";
      },
      5s));
  tray.Remove();
  EXPECT_TRUE(log.All().empty());
}

TEST(Tray, WithoutWatcherRunsOnAndRegistersWhenOneAppears) {
  PrivateBus bus;
  REQUIRE_BUS(bus);
  LogLines log;
  Recorder events;
  platform::TrayIcon tray(Options(bus.Address(), &log), &events);
  ASSERT_TRUE(tray.Add());
  ASSERT_TRUE(WaitUntil([&] { return !log.All().empty(); }, 10s));
  EXPECT_EQ(tray.GetState(), platform::TrayIcon::State::NoWatcher);
  EXPECT_THAT(log.All(), ElementsAre(HasSubstr("no StatusNotifierWatcher")));

  FakeWatcher watcher(bus.Address());
  ASSERT_TRUE(watcher.Ready());
  ASSERT_TRUE(WaitUntil([&] { return !watcher.Items().empty(); }, 10s));
  EXPECT_THAT(watcher.Items(), ElementsAre(tray.ServiceName()));
  EXPECT_TRUE(WaitUntil([&] { return tray.GetState() == platform::TrayIcon::State::Registered; }, 10s));
  EXPECT_EQ(log.All().size(), 1u);  // said once
}

TEST(Tray, WithoutSessionBusSaysSoOnce) {
  testenv::TempDir dir;
  LogLines log;
  Recorder events;
  platform::TrayIcon tray(Options("unix:path=" + (dir.Path() / "no-bus").string(), &log), &events);
  EXPECT_FALSE(tray.Add());
  EXPECT_FALSE(tray.Add());
  EXPECT_EQ(tray.GetState(), platform::TrayIcon::State::NoBus);
  EXPECT_THAT(log.All(), ElementsAre(HasSubstr("no session bus")));
  tray.SetMenuText(L"Quit");  // harmless without a bus
}

}  // namespace
