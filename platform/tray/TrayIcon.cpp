#include "platform/tray/TrayIcon.h"

// Index
//   1. State shared between the caller and the tray thread
//   2. StatusNotifierItem: properties and methods
//   3. Registration with the watcher, the thread's loop, add and remove
//
// The icon's menu is a TrayMenu object of its own (TrayMenu.cpp).

#include <poll.h>
#include <sys/eventfd.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>

#include "platform/Text.h"
#include "platform/dbus/SessionBus.h"
#include "platform/tray/TrayMenu.h"
#include "platform/ThreadName.h"

namespace platform {

namespace {

constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* kWatcherName = "org.kde.StatusNotifierWatcher";

std::atomic<int> g_itemCounter{0};

}  // namespace

// --- 1. Shared state -------------------------------------------------------------

struct TrayIcon::Impl {
  TrayOptions options;
  TrayEvents* events = nullptr;
  TrayMenu menu;

  Impl(TrayOptions o, TrayEvents* e) : options(std::move(o)), events(e), menu(options.menuText, e, options.aboutText) {}

  sd_bus* bus = nullptr;
  sd_bus_slot* itemSlot = nullptr;
  sd_bus_slot* ownerSlot = nullptr;
  std::thread thread;
  int wakeFd = -1;
  std::atomic<bool> stop{false};

  mutable std::mutex mutex;  // guards everything below
  std::wstring toolTip;
  bool toolTipChanged = false;
  State state = State::Stopped;
  bool logged = false;
  std::string serviceName;

  void LogOnce(const std::string& line) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (logged) return;
      logged = true;
    }
    if (options.log) options.log(line);
    else std::fprintf(stderr, "%s\n", line.c_str());
  }

  void SetState(State s) {
    std::lock_guard<std::mutex> lock(mutex);
    state = s;
  }

  std::string Title() const {
    std::lock_guard<std::mutex> lock(mutex);
    return ToUtf8(toolTip);
  }

  void Register();
  void Loop();
  void EmitChanges();
  void Close();
};

// --- 2. StatusNotifierItem ---------------------------------------------------------

namespace {

TrayIcon::Impl* Self(void* userdata) { return static_cast<TrayIcon::Impl*>(userdata); }

int GetItemString(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply, void* userdata,
                  sd_bus_error*) {
  TrayIcon::Impl* self = Self(userdata);
  std::string value;
  if (std::strcmp(property, "Category") == 0) value = "Hardware";
  else if (std::strcmp(property, "Id") == 0 || std::strcmp(property, "Title") == 0) value = self->Title();
  else if (std::strcmp(property, "Status") == 0) value = "Active";
  else if (std::strcmp(property, "IconName") == 0) value = self->options.iconName;
  return sd_bus_message_append(reply, "s", value.c_str());
}

int AppendPixmaps(sd_bus_message* reply, const TrayOptions& o) {
  int r = sd_bus_message_open_container(reply, 'a', "(iiay)");
  const size_t count = static_cast<size_t>(std::max(o.iconWidth, 0)) * static_cast<size_t>(std::max(o.iconHeight, 0));
  if (r >= 0 && count > 0 && o.iconPixels.size() == count) {
    // ARGB32 in network byte order.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(count * 4);
    for (const std::uint32_t p : o.iconPixels) {
      bytes.push_back(static_cast<std::uint8_t>(p >> 24));
      bytes.push_back(static_cast<std::uint8_t>(p >> 16));
      bytes.push_back(static_cast<std::uint8_t>(p >> 8));
      bytes.push_back(static_cast<std::uint8_t>(p));
    }
    r = sd_bus_message_open_container(reply, 'r', "iiay");
    if (r >= 0) r = sd_bus_message_append(reply, "ii", o.iconWidth, o.iconHeight);
    if (r >= 0) r = sd_bus_message_append_array(reply, 'y', bytes.data(), bytes.size());
    if (r >= 0) r = sd_bus_message_close_container(reply);
  }
  if (r >= 0) r = sd_bus_message_close_container(reply);
  return r;
}

int GetIconPixmap(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata,
                  sd_bus_error*) {
  return AppendPixmaps(reply, Self(userdata)->options);
}

int GetToolTip(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata,
               sd_bus_error*) {
  TrayIcon::Impl* self = Self(userdata);
  int r = sd_bus_message_open_container(reply, 'r', "sa(iiay)ss");
  if (r >= 0) r = sd_bus_message_append(reply, "s", self->options.iconName.c_str());
  if (r >= 0) r = AppendPixmaps(reply, self->options);
  if (r >= 0) r = sd_bus_message_append(reply, "ss", self->Title().c_str(), "");
  if (r >= 0) r = sd_bus_message_close_container(reply);
  return r;
}

int GetMenuPath(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "o", TrayMenu::kPath);
}

int GetFalse(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "b", 0);
}

int GetZero(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "i", 0);
}

int OnActivate(sd_bus_message* m, void* userdata, sd_bus_error*) {
  TrayIcon::Impl* self = Self(userdata);
  if (self->events != nullptr) self->events->OnTrayActivate();
  return sd_bus_reply_method_return(m, "");
}

// Middle click, the host's own context-menu request and scrolling do nothing:
// the menu reaches the host through the Menu property.
int OnIgnored(sd_bus_message* m, void*, sd_bus_error*) { return sd_bus_reply_method_return(m, ""); }

const sd_bus_vtable kItemVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Category", "s", GetItemString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Id", "s", GetItemString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Title", "s", GetItemString, 0, 0),
    SD_BUS_PROPERTY("Status", "s", GetItemString, 0, 0),
    SD_BUS_PROPERTY("WindowId", "i", GetZero, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconName", "s", GetItemString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconPixmap", "a(iiay)", GetIconPixmap, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("ToolTip", "(sa(iiay)ss)", GetToolTip, 0, 0),
    SD_BUS_PROPERTY("ItemIsMenu", "b", GetFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Menu", "o", GetMenuPath, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("Activate", "ii", "", OnActivate, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SecondaryActivate", "ii", "", OnIgnored, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("ContextMenu", "ii", "", OnIgnored, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Scroll", "is", "", OnIgnored, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("NewTitle", "", 0),
    SD_BUS_SIGNAL("NewIcon", "", 0),
    SD_BUS_SIGNAL("NewToolTip", "", 0),
    SD_BUS_SIGNAL("NewStatus", "s", 0),
    SD_BUS_VTABLE_END};

// --- 3. Registration and the loop --------------------------------------------------

int OnRegistered(sd_bus_message* m, void* userdata, sd_bus_error*) {
  TrayIcon::Impl* self = Self(userdata);
  if (sd_bus_message_is_method_error(m, nullptr)) {
    const sd_bus_error* e = sd_bus_message_get_error(m);
    self->SetState(TrayIcon::State::NoWatcher);
    self->LogOnce(std::string("tray: no StatusNotifierWatcher on the session bus (") +
                  (e != nullptr && e->name != nullptr ? e->name : "no answer") +
                  "); running without a tray icon until one appears");
  } else {
    self->SetState(TrayIcon::State::Registered);
  }
  return 1;
}

int OnOwnerChanged(sd_bus_message* m, void* userdata, sd_bus_error*) {
  TrayIcon::Impl* self = Self(userdata);
  const char* name = nullptr;
  const char* oldOwner = nullptr;
  const char* newOwner = nullptr;
  if (sd_bus_message_read(m, "sss", &name, &oldOwner, &newOwner) < 0 || std::strcmp(name, kWatcherName) != 0) {
    return 0;
  }
  if (newOwner[0] != '\0') self->Register();
  else self->SetState(TrayIcon::State::NoWatcher);
  return 0;
}

std::uint64_t NowMicroseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000u;
}

}  // namespace

void TrayIcon::Impl::Register() {
  std::string name;
  {
    std::lock_guard<std::mutex> lock(mutex);
    name = serviceName;
  }
  const int r = sd_bus_call_method_async(bus, nullptr, kWatcherName, "/StatusNotifierWatcher", kWatcherName,
                                         "RegisterStatusNotifierItem", OnRegistered, this, "s", name.c_str());
  if (r < 0) {
    SetState(State::NoWatcher);
    LogOnce(std::string("tray: cannot ask for a StatusNotifierWatcher (") + std::strerror(-r) +
            "); running without a tray icon");
  }
}

void TrayIcon::Impl::EmitChanges() {
  bool tip = false;
  {
    std::lock_guard<std::mutex> lock(mutex);
    std::swap(tip, toolTipChanged);
  }
  if (tip) {
    sd_bus_emit_signal(bus, kItemPath, kItemInterface, "NewTitle", "");
    sd_bus_emit_signal(bus, kItemPath, kItemInterface, "NewToolTip", "");
  }
  menu.EmitChanges(bus);
}

void TrayIcon::Impl::Loop() {
  while (!stop) {
    int r = 0;
    do {
      r = sd_bus_process(bus, nullptr);
    } while (r > 0);
    if (r < 0) {
      SetState(State::NoBus);
      LogOnce(std::string("tray: lost the session bus (") + std::strerror(-r) + "); running without a tray icon");
      return;
    }
    EmitChanges();
    std::uint64_t until = 0;
    int timeout = -1;
    if (sd_bus_get_timeout(bus, &until) >= 0 && until != UINT64_MAX) {
      const std::uint64_t now = NowMicroseconds();
      timeout = until <= now ? 0 : static_cast<int>(std::min<std::uint64_t>((until - now + 999) / 1000, 60000));
    }
    pollfd fds[2] = {{sd_bus_get_fd(bus), static_cast<short>(sd_bus_get_events(bus)), 0}, {wakeFd, POLLIN, 0}};
    if (::poll(fds, 2, timeout) > 0 && fds[1].revents != 0) {
      std::uint64_t count = 0;
      [[maybe_unused]] ssize_t n = ::read(wakeFd, &count, sizeof count);
    }
  }
}

void TrayIcon::Impl::Close() {
  if (thread.joinable()) {
    stop = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd, &one, sizeof one);
    thread.join();
  }
  itemSlot = sd_bus_slot_unref(itemSlot);
  menu.Unpublish();
  ownerSlot = sd_bus_slot_unref(ownerSlot);
  // Leaving the bus drops the well-known name, which takes the icon away.
  if (bus != nullptr) bus = sd_bus_flush_close_unref(bus);
  if (wakeFd >= 0) ::close(wakeFd);
  wakeFd = -1;
  stop = false;
}

TrayIcon::TrayIcon(TrayOptions options, TrayEvents* events) : impl_(new Impl(std::move(options), events)) {
  impl_->toolTip = impl_->options.toolTip;
}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Add() {
  Impl& s = *impl_;
  if (s.thread.joinable()) return true;
  std::string error;
  s.bus = OpenSessionBus(s.options.busAddress, &error);
  if (s.bus == nullptr) {
    s.SetState(State::NoBus);
    s.LogOnce("tray: no session bus (" + error + "); running without a tray icon");
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    s.serviceName = "org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-" + std::to_string(++g_itemCounter);
  }
  int r = sd_bus_add_object_vtable(s.bus, &s.itemSlot, kItemPath, kItemInterface, kItemVtable, &s);
  if (r >= 0) r = s.menu.Publish(s.bus);
  if (r >= 0) r = sd_bus_request_name(s.bus, ServiceName().c_str(), 0);
  if (r >= 0) {
    r = sd_bus_add_match(s.bus, &s.ownerSlot,
                         "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
                         "interface='org.freedesktop.DBus',member='NameOwnerChanged',"
                         "arg0='org.kde.StatusNotifierWatcher'",
                         OnOwnerChanged, &s);
  }
  if (r >= 0) {
    s.wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (s.wakeFd < 0) r = -errno;
  }
  if (r < 0) {
    s.SetState(State::NoBus);
    s.LogOnce(std::string("tray: cannot publish the icon (") + std::strerror(-r) + "); running without a tray icon");
    s.Close();
    return false;
  }
  s.SetState(State::NoWatcher);
  s.Register();
  s.thread = std::thread([&s] {
    NameThisThread("tray");
    s.Loop();
  });
  return true;
}

void TrayIcon::Remove() {
  impl_->Close();
  impl_->SetState(State::Stopped);
}

void TrayIcon::SetAboutText(const std::wstring& text) {
  impl_->menu.SetAboutText(text);
  if (impl_->wakeFd >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(impl_->wakeFd, &one, sizeof one);
  }
}

void TrayIcon::SetMenuText(const std::wstring& text) {
  impl_->menu.SetText(text);
  if (impl_->wakeFd >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(impl_->wakeFd, &one, sizeof one);
  }
}

void TrayIcon::SetToolTip(const std::wstring& text) {
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->toolTip = text;
    impl_->toolTipChanged = true;
  }
  if (impl_->wakeFd >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(impl_->wakeFd, &one, sizeof one);
  }
}

TrayIcon::State TrayIcon::GetState() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->state;
}

std::string TrayIcon::ServiceName() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->serviceName;
}

}  // namespace platform
