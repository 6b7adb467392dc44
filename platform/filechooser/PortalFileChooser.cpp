#include "platform/filechooser/PortalFileChooser.h"

// Index
//   1. URIs
//   2. The request: options, the Response signal, the portal leaving
//   3. Run: call, wait, answer

#include <systemd/sd-bus.h>
#include <time.h>

#include <atomic>
#include <cstring>

#include "platform/Text.h"
#include "platform/dbus/SessionBus.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kChooserInterface = "org.freedesktop.portal.FileChooser";
constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";

std::atomic<unsigned> g_tokenCounter{0};

const wchar_t* const kNoPortal =
    L"No file dialog is available: the desktop portal (xdg-desktop-portal) is not running on this session.";

// --- 1. URIs -------------------------------------------------------------------

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// --- 2. The request --------------------------------------------------------------

struct Pending {
  bool answered = false;
  bool portalGone = false;
  std::uint32_t code = 2;
  std::string uri;
};

int OnResponse(sd_bus_message* m, void* userdata, sd_bus_error*) {
  auto* pending = static_cast<Pending*>(userdata);
  std::uint32_t code = 2;
  if (sd_bus_message_read(m, "u", &code) < 0) return 0;
  pending->answered = true;
  pending->code = code;
  if (sd_bus_message_enter_container(m, 'a', "{sv}") <= 0) return 0;
  while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
    const char* key = nullptr;
    if (sd_bus_message_read(m, "s", &key) < 0) break;
    if (std::strcmp(key, "uris") == 0 && sd_bus_message_enter_container(m, 'v', "as") > 0) {
      char** uris = nullptr;
      if (sd_bus_message_read_strv(m, &uris) >= 0 && uris != nullptr) {
        if (uris[0] != nullptr) pending->uri = uris[0];
        for (char** u = uris; *u != nullptr; ++u) std::free(*u);
        std::free(uris);
      }
      sd_bus_message_exit_container(m);
    } else {
      sd_bus_message_skip(m, "v");
    }
    sd_bus_message_exit_container(m);
  }
  return 0;
}

int OnPortalOwner(sd_bus_message* m, void* userdata, sd_bus_error*) {
  const char* name = nullptr;
  const char* oldOwner = nullptr;
  const char* newOwner = nullptr;
  if (sd_bus_message_read(m, "sss", &name, &oldOwner, &newOwner) >= 0 && newOwner[0] == '\0') {
    static_cast<Pending*>(userdata)->portalGone = true;
  }
  return 0;
}

std::string RequestPath(const char* uniqueName, const std::string& token) {
  // ":1.42" becomes "1_42", as the portal builds it.
  std::string sender = uniqueName != nullptr && uniqueName[0] == ':' ? uniqueName + 1 : "";
  for (char& c : sender) {
    if (c == '.') c = '_';
  }
  return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

int AppendOptions(sd_bus_message* m, bool save, const FileDialogRequest& request, const std::string& token) {
  const std::string description = ToUtf8(request.filter.description);
  const std::string pattern = ToUtf8(request.filter.pattern);
  int r = sd_bus_message_open_container(m, 'a', "{sv}");
  if (r >= 0) r = sd_bus_message_append(m, "{sv}", "handle_token", "s", token.c_str());
  if (r >= 0) r = sd_bus_message_append(m, "{sv}", "modal", "b", 1);
  if (r >= 0 && !pattern.empty()) {
    // One file type: [(description, [(0 = glob, pattern)])], also preselected.
    r = sd_bus_message_append(m, "{sv}", "filters", "a(sa(us))", 1, description.c_str(), 1, 0u, pattern.c_str());
    if (r >= 0) {
      r = sd_bus_message_append(m, "{sv}", "current_filter", "(sa(us))", description.c_str(), 1, 0u,
                                pattern.c_str());
    }
  }
  if (r >= 0 && !save) r = sd_bus_message_append(m, "{sv}", "multiple", "b", 0);
  if (r >= 0 && save && !request.suggestedName.empty()) {
    r = sd_bus_message_append(m, "{sv}", "current_name", "s", ToUtf8(request.suggestedName).c_str());
  }
  if (r >= 0) r = sd_bus_message_close_container(m);
  return r;
}

std::uint64_t NowMicroseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000u;
}

FileDialogResult Unavailable(const std::wstring& message) {
  FileDialogResult result;
  result.status = FileDialogResult::Status::Unavailable;
  result.message = message;
  return result;
}

}  // namespace

fs::path PortalFileChooser::PathFromUri(const std::string& uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.compare(0, kScheme.size(), kScheme) != 0) return {};
  std::string_view rest = std::string_view(uri).substr(kScheme.size());
  const size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return {};
  const std::string_view host = rest.substr(0, slash);
  if (!host.empty() && host != "localhost") return {};
  std::string path;
  const std::string_view encoded = rest.substr(slash);
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '%') {
      const int hi = i + 2 < encoded.size() ? HexValue(encoded[i + 1]) : -1;
      const int lo = hi >= 0 ? HexValue(encoded[i + 2]) : -1;
      if (lo < 0 || (hi == 0 && lo == 0)) return {};  // broken escape or NUL
      path += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      path += encoded[i];
    }
  }
  return path;
}

PortalFileChooser::PortalFileChooser(PortalOptions options) : options_(std::move(options)) {}

FileDialogResult PortalFileChooser::OpenFile(const FileDialogRequest& request) { return Run(false, request); }

FileDialogResult PortalFileChooser::SaveFile(const FileDialogRequest& request) {
  FileDialogResult result = Run(true, request);
  if (result.status != FileDialogResult::Status::Chosen) return result;
  return FinishSavePath(result.path, request);
}

// --- 3. Run -------------------------------------------------------------------------

FileDialogResult PortalFileChooser::Run(bool save, const FileDialogRequest& request) {
  std::string error;
  sd_bus* bus = OpenSessionBus(options_.busAddress, &error);
  if (bus == nullptr) {
    return Unavailable(L"No file dialog is available: there is no session bus (" + FromUtf8(error) + L").");
  }
  sd_bus_set_method_call_timeout(bus, static_cast<std::uint64_t>(options_.callTimeout.count()) * 1000u);

  Pending pending;
  sd_bus_slot* responseSlot = nullptr;
  sd_bus_slot* ownerSlot = nullptr;
  sd_bus_message* call = nullptr;
  sd_bus_message* reply = nullptr;
  sd_bus_error callError = SD_BUS_ERROR_NULL;
  FileDialogResult result;
  const char* unique = nullptr;
  const std::string token = "orvane" + std::to_string(::getpid()) + "_" + std::to_string(++g_tokenCounter);
  std::string path;

  // The Response match stands before the call, so an answer cannot slip by.
  int r = sd_bus_get_unique_name(bus, &unique);
  if (r >= 0) {
    path = RequestPath(unique, token);
    r = sd_bus_match_signal(bus, &responseSlot, nullptr, path.c_str(), kRequestInterface, "Response", OnResponse,
                            &pending);
  }
  if (r >= 0) {
    r = sd_bus_add_match(bus, &ownerSlot,
                         "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
                         "interface='org.freedesktop.DBus',member='NameOwnerChanged',"
                         "arg0='org.freedesktop.portal.Desktop'",
                         OnPortalOwner, &pending);
  }
  if (r >= 0) r = sd_bus_message_new_method_call(bus, &call, kPortalName, kPortalPath, kChooserInterface,
                                                 save ? "SaveFile" : "OpenFile");
  if (r >= 0) r = sd_bus_message_append(call, "ss", request.parentWindow.c_str(), ToUtf8(request.title).c_str());
  if (r >= 0) r = AppendOptions(call, save, request, token);
  if (r < 0) {
    result = Unavailable(L"The file dialog could not be asked for (" + FromUtf8(std::strerror(-r)) + L").");
  } else {
    r = sd_bus_call(bus, call, static_cast<std::uint64_t>(options_.callTimeout.count()) * 1000u, &callError, &reply);
    const char* handle = nullptr;
    if (r < 0 || sd_bus_message_read(reply, "o", &handle) < 0) {
      result = Unavailable(std::wstring(kNoPortal) + L" (" +
                           FromUtf8(callError.name != nullptr ? callError.name : std::strerror(-r)) + L")");
    } else {
      if (path != handle) {
        // An older portal chose its own request path.
        responseSlot = sd_bus_slot_unref(responseSlot);
        r = sd_bus_match_signal(bus, &responseSlot, nullptr, handle, kRequestInterface, "Response", OnResponse,
                                &pending);
        path = handle;
      }
      const std::uint64_t deadline =
          options_.responseTimeout.count() > 0
              ? NowMicroseconds() + static_cast<std::uint64_t>(options_.responseTimeout.count()) * 1000u
              : UINT64_MAX;
      while (r >= 0 && !pending.answered && !pending.portalGone) {
        r = sd_bus_process(bus, nullptr);
        if (r > 0 || pending.answered || pending.portalGone) continue;
        if (r < 0) break;
        const std::uint64_t now = NowMicroseconds();
        if (now >= deadline) break;
        r = sd_bus_wait(bus, deadline == UINT64_MAX ? UINT64_MAX : deadline - now);
      }
      if (pending.answered) {
        if (pending.code == 0) {
          result.path = PathFromUri(pending.uri);
          if (result.path.empty()) {
            result = Unavailable(L"The chosen file is not a local file.");
          } else {
            result.status = FileDialogResult::Status::Chosen;
          }
        }
        // 1 (cancelled) and 2 (ended otherwise): nothing chosen.
      } else {
        if (!pending.portalGone) {
          // Take the dialog away rather than leave it without a listener.
          sd_bus_call_method(bus, kPortalName, path.c_str(), kRequestInterface, "Close", nullptr, nullptr, "");
        }
        result = Unavailable(pending.portalGone
                                 ? L"The file dialog ended unexpectedly: the desktop portal left the session."
                                 : L"The file dialog did not answer in time.");
      }
    }
  }
  sd_bus_message_unref(reply);
  sd_bus_message_unref(call);
  sd_bus_error_free(&callError);
  sd_bus_slot_unref(responseSlot);
  sd_bus_slot_unref(ownerSlot);
  sd_bus_flush_close_unref(bus);
  return result;
}

}  // namespace platform
