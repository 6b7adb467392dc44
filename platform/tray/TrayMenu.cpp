#include "platform/tray/TrayMenu.h"

// Index
//   1. Bus callbacks: layout, properties, events
//   2. Publishing, texts and changes

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Text.h"
#include "platform/tray/TrayEvents.h"
#include "platform/tray/TrayIcon.h"

namespace platform {

namespace {

// --- 1. Bus callbacks: layout, properties, events ----------------------------------------------

// DBusMenu reads a single '_' as a mnemonic marker.
std::string MenuLabel(const std::wstring& text) {
  std::string out;
  for (const char c : ToUtf8(text)) {
    out += c;
    if (c == '_') out += '_';
  }
  return out;
}

std::vector<std::string> ReadStrings(sd_bus_message* m) {
  std::vector<std::string> result;
  char** strv = nullptr;
  if (sd_bus_message_read_strv(m, &strv) < 0 || strv == nullptr) return result;
  for (char** s = strv; *s != nullptr; ++s) {
    result.emplace_back(*s);
    std::free(*s);
  }
  std::free(strv);
  return result;
}

TrayMenu* Self(void* userdata) { return static_cast<TrayMenu*>(userdata); }

int AppendItemProperties(sd_bus_message* reply, int id, const std::vector<std::string>& names,
                         const TrayMenu* self) {
  const std::string label = self->LabelOf(id);
  auto wanted = [&](const char* name) {
    return names.empty() || std::find(names.begin(), names.end(), name) != names.end();
  };
  int r = sd_bus_message_open_container(reply, 'a', "{sv}");
  if (id == TrayMenu::kRootId) {
    if (r >= 0 && wanted("children-display")) r = sd_bus_message_append(reply, "{sv}", "children-display", "s", "submenu");
  } else {
    if (r >= 0 && wanted("label")) r = sd_bus_message_append(reply, "{sv}", "label", "s", label.c_str());
    if (r >= 0 && wanted("enabled")) r = sd_bus_message_append(reply, "{sv}", "enabled", "b", 1);
    if (r >= 0 && wanted("visible")) r = sd_bus_message_append(reply, "{sv}", "visible", "b", 1);
  }
  if (r >= 0) r = sd_bus_message_close_container(reply);
  return r;
}

int AppendNode(sd_bus_message* reply, int id, int depth, const std::vector<std::string>& names,
               const TrayMenu* self) {
  int r = sd_bus_message_open_container(reply, 'r', "ia{sv}av");
  if (r >= 0) r = sd_bus_message_append(reply, "i", id);
  if (r >= 0) r = AppendItemProperties(reply, id, names, self);
  if (r >= 0) r = sd_bus_message_open_container(reply, 'a', "v");
  if (r >= 0 && id == TrayMenu::kRootId && depth != 0) {
    for (const int child : self->Items()) {
      if (r >= 0) r = sd_bus_message_open_container(reply, 'v', "(ia{sv}av)");
      if (r >= 0) r = AppendNode(reply, child, depth - 1, names, self);
      if (r >= 0) r = sd_bus_message_close_container(reply);
    }
  }
  if (r >= 0) r = sd_bus_message_close_container(reply);
  if (r >= 0) r = sd_bus_message_close_container(reply);
  return r;
}

int SendReply(sd_bus_message* reply) {
  const int r = sd_bus_send(nullptr, reply, nullptr);
  sd_bus_message_unref(reply);
  return r;
}

int OnGetLayout(sd_bus_message* m, void* userdata, sd_bus_error* error) {
  TrayMenu* self = Self(userdata);
  int parent = 0;
  int depth = 0;
  int r = sd_bus_message_read(m, "ii", &parent, &depth);
  if (r < 0) return r;
  const std::vector<std::string> names = ReadStrings(m);
  if (!self->KnownItem(parent)) return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS, "unknown menu item %d", parent);
  const std::uint32_t revision = self->Revision();
  sd_bus_message* reply = nullptr;
  r = sd_bus_message_new_method_return(m, &reply);
  if (r < 0) return r;
  r = sd_bus_message_append(reply, "u", revision);
  if (r >= 0) r = AppendNode(reply, parent, depth, names, self);
  if (r < 0) {
    sd_bus_message_unref(reply);
    return r;
  }
  return SendReply(reply);
}

int OnGetGroupProperties(sd_bus_message* m, void* userdata, sd_bus_error*) {
  TrayMenu* self = Self(userdata);
  const void* data = nullptr;
  size_t size = 0;
  int r = sd_bus_message_read_array(m, 'i', &data, &size);
  if (r < 0) return r;
  std::vector<int> ids(static_cast<const int*>(data), static_cast<const int*>(data) + size / sizeof(int));
  if (ids.empty()) {
    ids = {TrayMenu::kRootId};
    for (const int item : self->Items()) ids.push_back(item);
  }
  const std::vector<std::string> names = ReadStrings(m);
  sd_bus_message* reply = nullptr;
  r = sd_bus_message_new_method_return(m, &reply);
  if (r >= 0) r = sd_bus_message_open_container(reply, 'a', "(ia{sv})");
  for (const int id : ids) {
    if (r < 0 || !self->KnownItem(id)) continue;
    r = sd_bus_message_open_container(reply, 'r', "ia{sv}");
    if (r >= 0) r = sd_bus_message_append(reply, "i", id);
    if (r >= 0) r = AppendItemProperties(reply, id, names, self);
    if (r >= 0) r = sd_bus_message_close_container(reply);
  }
  if (r >= 0) r = sd_bus_message_close_container(reply);
  if (r < 0) {
    sd_bus_message_unref(reply);
    return r;
  }
  return SendReply(reply);
}

int OnGetProperty(sd_bus_message* m, void* userdata, sd_bus_error* error) {
  TrayMenu* self = Self(userdata);
  int id = 0;
  const char* name = nullptr;
  int r = sd_bus_message_read(m, "is", &id, &name);
  if (r < 0) return r;
  const std::string property = name;
  const bool item = id != TrayMenu::kRootId && self->KnownItem(id);
  if (item && property == "label") {
    return sd_bus_reply_method_return(m, "v", "s", self->LabelOf(id).c_str());
  }
  if (item && (property == "enabled" || property == "visible")) {
    return sd_bus_reply_method_return(m, "v", "b", 1);
  }
  if (id == TrayMenu::kRootId && property == "children-display") return sd_bus_reply_method_return(m, "v", "s", "submenu");
  return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS, "no property %s on menu item %d", name, id);
}

int OnEvent(sd_bus_message* m, void* userdata, sd_bus_error* error) {
  int id = 0;
  const char* eventId = nullptr;
  std::uint32_t timestamp = 0;
  int r = sd_bus_message_read(m, "is", &id, &eventId);
  if (r >= 0) r = sd_bus_message_skip(m, "v");
  if (r >= 0) r = sd_bus_message_read(m, "u", &timestamp);
  if (r < 0) return r;
  if (!Self(userdata)->KnownItem(id)) return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS, "unknown menu item %d", id);
  Self(userdata)->OnItemEvent(id, eventId);
  return sd_bus_reply_method_return(m, "");
}

int OnEventGroup(sd_bus_message* m, void* userdata, sd_bus_error*) {
  std::vector<int> unknown;
  int r = sd_bus_message_enter_container(m, 'a', "(isvu)");
  while (r >= 0) {
    r = sd_bus_message_enter_container(m, 'r', "isvu");
    if (r <= 0) break;
    int id = 0;
    const char* eventId = nullptr;
    std::uint32_t timestamp = 0;
    r = sd_bus_message_read(m, "is", &id, &eventId);
    if (r >= 0) r = sd_bus_message_skip(m, "v");
    if (r >= 0) r = sd_bus_message_read(m, "u", &timestamp);
    if (r >= 0) r = sd_bus_message_exit_container(m);
    if (r < 0) break;
    if (Self(userdata)->KnownItem(id)) Self(userdata)->OnItemEvent(id, eventId);
    else unknown.push_back(id);
  }
  if (r < 0) return r;
  r = sd_bus_message_exit_container(m);
  if (r < 0) return r;
  sd_bus_message* reply = nullptr;
  r = sd_bus_message_new_method_return(m, &reply);
  if (r >= 0) r = sd_bus_message_append_array(reply, 'i', unknown.data(), unknown.size() * sizeof(int));
  if (r < 0) {
    sd_bus_message_unref(reply);
    return r;
  }
  return SendReply(reply);
}

int OnAboutToShow(sd_bus_message* m, void*, sd_bus_error*) { return sd_bus_reply_method_return(m, "b", 0); }

int OnAboutToShowGroup(sd_bus_message* m, void* userdata, sd_bus_error*) {
  const void* data = nullptr;
  size_t size = 0;
  int r = sd_bus_message_read_array(m, 'i', &data, &size);
  if (r < 0) return r;
  std::vector<int> unknown;
  for (size_t i = 0; i < size / sizeof(int); ++i) {
    const int id = static_cast<const int*>(data)[i];
    if (!Self(userdata)->KnownItem(id)) unknown.push_back(id);
  }
  sd_bus_message* reply = nullptr;
  r = sd_bus_message_new_method_return(m, &reply);
  if (r >= 0) r = sd_bus_message_append_array(reply, 'i', nullptr, 0);
  if (r >= 0) r = sd_bus_message_append_array(reply, 'i', unknown.data(), unknown.size() * sizeof(int));
  if (r < 0) {
    sd_bus_message_unref(reply);
    return r;
  }
  return SendReply(reply);
}

int GetMenuVersion(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "u", 3u);
}

int GetMenuString(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply, void*,
                  sd_bus_error*) {
  return sd_bus_message_append(reply, "s", std::strcmp(property, "TextDirection") == 0 ? "ltr" : "normal");
}

int GetNoPaths(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append_strv(reply, nullptr);
}

const sd_bus_vtable kMenuVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Version", "u", GetMenuVersion, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("TextDirection", "s", GetMenuString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Status", "s", GetMenuString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconThemePath", "as", GetNoPaths, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("GetLayout", "iias", "u(ia{sv}av)", OnGetLayout, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("GetGroupProperties", "aias", "a(ia{sv})", OnGetGroupProperties, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("GetProperty", "is", "v", OnGetProperty, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Event", "isvu", "", OnEvent, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("EventGroup", "a(isvu)", "ai", OnEventGroup, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("AboutToShow", "i", "b", OnAboutToShow, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("AboutToShowGroup", "ai", "aiai", OnAboutToShowGroup, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("ItemsPropertiesUpdated", "a(ia{sv})a(ias)", 0),
    SD_BUS_SIGNAL("LayoutUpdated", "ui", 0),
    SD_BUS_SIGNAL("ItemActivationRequested", "iu", 0),
    SD_BUS_VTABLE_END};

}  // namespace

// --- 2. Publishing, texts and changes ------------------------------------------------------------

TrayMenu::TrayMenu(std::wstring text, TrayEvents* events, std::wstring aboutText)
    : events_(events), text_(std::move(text)), aboutText_(std::move(aboutText)) {}

TrayMenu::~TrayMenu() { Unpublish(); }

int TrayMenu::Publish(sd_bus* bus) { return sd_bus_add_object_vtable(bus, &slot_, kPath, kInterface, kMenuVtable, this); }

void TrayMenu::Unpublish() { slot_ = sd_bus_slot_unref(slot_); }

void TrayMenu::SetText(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  text_ = text;
  changed_ = true;
}

void TrayMenu::SetAboutText(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  // The item exists from the start or not at all: the layout keeps its shape.
  if (aboutText_.empty()) return;
  aboutText_ = text;
  changed_ = true;
}

void TrayMenu::EmitChanges(sd_bus* bus) {
  std::uint32_t revision = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!changed_) return;
    changed_ = false;
    revision = ++revision_;
  }
  sd_bus_emit_signal(bus, kPath, kInterface, "LayoutUpdated", "ui", revision, 0);
}

std::vector<int> TrayMenu::Items() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (aboutText_.empty()) return {TrayIcon::kQuitItemId};
  return {TrayIcon::kAboutItemId, TrayIcon::kQuitItemId};
}

bool TrayMenu::KnownItem(int id) const {
  if (id == kRootId) return true;
  for (const int item : Items()) {
    if (item == id) return true;
  }
  return false;
}

std::string TrayMenu::LabelOf(int id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return MenuLabel(id == TrayIcon::kAboutItemId ? aboutText_ : text_);
}

std::string TrayMenu::Label() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return MenuLabel(text_);
}

std::uint32_t TrayMenu::Revision() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return revision_;
}

void TrayMenu::OnItemEvent(int id, const char* eventId) {
  if (std::strcmp(eventId, "clicked") != 0 || events_ == nullptr) return;
  if (id == TrayIcon::kQuitItemId) events_->OnTrayCommand(TrayIcon::kQuitCommand);
  if (id == TrayIcon::kAboutItemId && KnownItem(id)) events_->OnTrayCommand(TrayIcon::kAboutCommand);
}

}  // namespace platform
