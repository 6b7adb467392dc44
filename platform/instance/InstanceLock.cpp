#include "platform/instance/InstanceLock.h"

// Index
//   1. Names: lock file and socket
//   2. Requests: parsing and the wire lines
//   3. Server: claim, listener thread, delivery to the receiver
//   4. Client: connect with retries while the first instance starts

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/instance/PeerCredentials.h"
#include "platform/ThreadName.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// --- 1. Names ----------------------------------------------------------------

std::string SafeFileStem(const std::wstring& name) {
  std::string stem = ToUtf8(name);
  for (char& c : stem) {
    if (c == '/' || c == '\0') c = '_';
  }
  if (stem.empty() || stem == "." || stem == "..") stem = "_" + stem;
  return stem;
}

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

bool FillAddress(const std::string& name, sockaddr_un& addr, socklen_t& length) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (name.size() + 1 > sizeof addr.sun_path) return false;
  // Abstract address: a leading NUL, then the name without terminator.
  std::memcpy(addr.sun_path + 1, name.data(), name.size());
  length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  return true;
}

// --- 2. Requests -------------------------------------------------------------

struct Request {
  bool activate = false;
  bool inspect = false;
  bool command = false;
  size_t commandBytes = 0;
  std::uint32_t message = 0;
  std::uint64_t wParam = 0;
  std::int64_t lParam = 0;
};

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size() && words.size() < 8) {
    while (i < line.size() && line[i] == ' ') ++i;
    size_t j = i;
    while (j < line.size() && line[j] != ' ') ++j;
    if (j > i) words.push_back(line.substr(i, j - i));
    i = j;
  }
  return words;
}

bool ParseRequest(std::string_view line, Request& request) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::vector<std::string_view> words = SplitWords(line);
  if (words.size() == 1 && words[0] == "activate") {
    request.activate = true;
    return true;
  }
  if (words.size() == 1 && words[0] == "inspect") {
    request.inspect = true;
    return true;
  }
  if (words.size() == 2 && words[0] == "command") {
    request.command = true;
    return ParseNumber(words[1], request.commandBytes) && request.commandBytes <= kMaxCommandBytes;
  }
  return words.size() == 4 && words[0] == "post" && ParseNumber(words[1], request.message) &&
         ParseNumber(words[2], request.wParam) && ParseNumber(words[3], request.lParam);
}

bool WriteAllTo(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Reads one line of at most 255 bytes; the socket's time-outs bound the wait.
bool ReadLine(int fd, std::string& line) {
  line.clear();
  char c = 0;
  while (line.size() < 256) {
    const ssize_t n = ::recv(fd, &c, 1, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    if (c == '\n') return true;
    line.push_back(c);
  }
  return false;
}

void SetTimeouts(int fd, int milliseconds) {
  timeval tv{};
  tv.tv_sec = milliseconds / 1000;
  tv.tv_usec = (milliseconds % 1000) * 1000;
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

// Reads exactly count bytes; the socket's time-outs bound the wait.
bool ReadExactly(int fd, size_t count, std::string& bytes) {
  bytes.assign(count, '\0');
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::recv(fd, bytes.data() + done, count - done, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Keeps an answer within kMaxInspectBytes, cut after a whole line.
std::string BoundedAnswer(std::string text) {
  if (text.size() <= kMaxInspectBytes) return text;
  static constexpr std::string_view kCut = "... truncated\n";
  const size_t room = kMaxInspectBytes - kCut.size();
  const size_t lineEnd = text.rfind('\n', room - 1);
  text.resize(lineEnd == std::string::npos ? 0 : lineEnd + 1);
  text += kCut;
  return text;
}

// True when some process holds the lock file (a first instance exists or is
// starting). A missing file means nobody ever took it.
bool LockIsHeld(const fs::path& lockFile) {
  if (lockFile.empty()) return true;  // without a lock only the socket can tell
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  bool held = false;
  if (::flock(fd, LOCK_SH | LOCK_NB) != 0) held = (errno == EWOULDBLOCK);
  ::close(fd);
  return held;
}

}  // namespace

fs::path InstanceLock::LockFile(const std::wstring& applicationName, const InstanceOptions& options) {
  const std::string stem = SafeFileStem(applicationName);
  if (!options.lockFolder.empty()) return options.lockFolder / (stem + ".lock");
  const fs::path runtime = UserRuntimeRoot();
  std::error_code ec;
  if (!runtime.empty() && fs::is_directory(runtime, ec)) return runtime / (stem + ".lock");
  const fs::path config = UserConfigRoot();
  if (config.empty()) return {};
  return config / stem / "instance.lock";
}

std::string InstanceLock::SocketName(const std::wstring& applicationName, const InstanceOptions& options) {
  // The application name first, cut to leave room for the user id and a hash
  // of the lock file, so that separate sessions (and test runs with their own
  // runtime folders) never meet on the same socket.
  std::string name = ToUtf8(applicationName).substr(0, 64);
  char tail[64];
  std::snprintf(tail, sizeof tail, ".%u.%016llx", static_cast<unsigned>(::getuid()),
                static_cast<unsigned long long>(Fnv1a(LockFile(applicationName, options).string())));
  return name + tail;
}

// --- 3. Server ---------------------------------------------------------------

struct InstanceLock::State {
  std::wstring appName;
  InstanceOptions options;
  int lockFd = -1;
  int listenFd = -1;
  int wakeFd = -1;
  bool first = false;
  std::thread listener;

  std::mutex mutex;  // guards events, inspector and pending
  InstanceEvents* events = nullptr;
  InstanceInspector inspector;
  InstanceCommandHandler commandHandler;
  std::deque<Request> pending;

  void Deliver(const Request& request) {
    std::lock_guard<std::mutex> lock(mutex);
    if (events == nullptr) {
      if (pending.size() < 16) pending.push_back(request);
      return;
    }
    if (request.activate) events->OnActivate();
    else events->OnPostedMessage(request.message, request.wParam, request.lParam);
  }

  // The window thread describes the window; this thread waits for it a
  // bounded time, so the window thread never waits on the socket.
  void Inspect(int fd) {
    auto reply = std::make_shared<WindowDumpReply>();
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (!inspector) {
        WriteAllTo(fd, "unavailable\n");
        return;
      }
      inspector(reply);
    }
    std::string text;
    if (!reply->WaitFor(options.inspectTimeout, text)) {
      WriteAllTo(fd, "unavailable\n");
      return;
    }
    text = BoundedAnswer(std::move(text));
    SetTimeouts(fd, 2000);
    if (WriteAllTo(fd, "ok " + std::to_string(text.size()) + "\n")) WriteAllTo(fd, text);
  }

  // The window thread carries the command out; this thread waits for it a
  // bounded time, as for "inspect".
  void Command(int fd, size_t bytes) {
    std::string payload;
    if (!ReadExactly(fd, bytes, payload)) {
      WriteAllTo(fd, "error\n");
      return;
    }
    std::vector<std::string> arguments;
    size_t start = 0;
    while (start < payload.size()) {
      size_t end = payload.find('\0', start);
      if (end == std::string::npos) end = payload.size();
      arguments.push_back(payload.substr(start, end - start));
      start = end + 1;
    }
    auto reply = std::make_shared<WindowDumpReply>();
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (!commandHandler) {
        WriteAllTo(fd, "unavailable\n");
        return;
      }
      commandHandler(std::move(arguments), reply);
    }
    std::string text;
    if (!reply->WaitFor(options.commandTimeout, text)) {
      WriteAllTo(fd, "unavailable\n");
      return;
    }
    text = BoundedAnswer(std::move(text));
    SetTimeouts(fd, 2000);
    if (WriteAllTo(fd, "ok " + std::to_string(text.size()) + "\n")) WriteAllTo(fd, text);
  }

  void Serve(int fd) {
    if (!IsSameUserPeer(fd)) return;
    SetTimeouts(fd, 1000);
    std::string line;
    Request request;
    if (!ReadLine(fd, line) || !ParseRequest(line, request)) {
      WriteAllTo(fd, "error\n");
      return;
    }
    if (request.inspect) {
      Inspect(fd);
      return;
    }
    if (request.command) {
      Command(fd, request.commandBytes);
      return;
    }
    if (!request.activate && !IsPublicMessage(request.message)) {
      WriteAllTo(fd, "ignored\n");
      return;
    }
    // The answer goes out before the request is handed on: a quit request
    // can end this process before the answer would be written, and the
    // sender would take the silence for no instance.
    WriteAllTo(fd, "ok\n");
    Deliver(request);
  }

  void Listen() {
    for (;;) {
      pollfd fds[2] = {{listenFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (fds[1].revents != 0) return;
      if ((fds[0].revents & POLLIN) == 0) continue;
      const int client = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      Serve(client);
      ::close(client);
    }
  }

  void CloseSockets() {
    for (int* fd : {&listenFd, &wakeFd}) {
      if (*fd >= 0) ::close(*fd);
      *fd = -1;
    }
  }

  void Close() {
    if (listener.joinable()) {
      const std::uint64_t one = 1;
      [[maybe_unused]] ssize_t n = ::write(wakeFd, &one, sizeof one);
      listener.join();
    }
    for (int* fd : {&listenFd, &wakeFd, &lockFd}) {
      if (*fd >= 0) ::close(*fd);
      *fd = -1;
    }
    first = false;
  }
};

InstanceLock::InstanceLock(std::wstring applicationName, InstanceOptions options) : state_(new State) {
  state_->appName = std::move(applicationName);
  state_->options = std::move(options);
}

InstanceLock::~InstanceLock() { state_->Close(); }

bool InstanceLock::IsFirst() const { return state_->first; }

InstanceLock::Claim InstanceLock::TryClaim() {
  State& s = *state_;
  if (s.first) return Claim::First;

  const fs::path lockFile = LockFile(s.appName, s.options);
  if (!lockFile.empty() && CreateFolderPath(lockFile.parent_path())) {
    s.lockFd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (s.lockFd >= 0 && ::flock(s.lockFd, LOCK_EX | LOCK_NB) != 0) {
      const bool busy = (errno == EWOULDBLOCK);
      ::close(s.lockFd);
      s.lockFd = -1;
      if (busy) return Claim::Second;
    }
  }
  // Without a usable lock file the bind of the abstract socket alone decides:
  // it is atomic as well, only not scoped to a session folder.

  sockaddr_un addr{};
  socklen_t addrLength = 0;
  s.listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  s.wakeFd = ::eventfd(0, EFD_CLOEXEC);
  const bool named = FillAddress(SocketName(s.appName, s.options), addr, addrLength);
  if (s.listenFd < 0 || s.wakeFd < 0 || !named) {
    // No way to listen: run as the only instance (the lock is kept),
    // unreachable by others.
    s.CloseSockets();
    s.first = true;
    return Claim::First;
  }
  if (::bind(s.listenFd, reinterpret_cast<sockaddr*>(&addr), addrLength) != 0 || ::listen(s.listenFd, 8) != 0) {
    if (errno == EADDRINUSE && s.lockFd < 0) {
      s.Close();
      return Claim::Second;
    }
    // Holding the lock makes this process the first one even when something
    // else sits on the socket name (another user can bind any abstract
    // name); it then runs unreachable rather than not at all.
    s.CloseSockets();
    s.first = true;
    return Claim::First;
  }
  s.first = true;
  s.listener = std::thread([&s] {
    NameThisThread("instance");
    s.Listen();
  });
  return Claim::First;
}

void InstanceLock::SetEvents(InstanceEvents* events) {
  State& s = *state_;
  std::lock_guard<std::mutex> lock(s.mutex);
  s.events = events;
  if (events == nullptr) return;
  while (!s.pending.empty()) {
    const Request request = s.pending.front();
    s.pending.pop_front();
    if (request.activate) events->OnActivate();
    else events->OnPostedMessage(request.message, request.wParam, request.lParam);
  }
}

void InstanceLock::SetInspector(InstanceInspector inspector) {
  State& s = *state_;
  std::lock_guard<std::mutex> lock(s.mutex);
  s.inspector = std::move(inspector);
}

void InstanceLock::SetCommandHandler(InstanceCommandHandler handler) {
  State& s = *state_;
  std::lock_guard<std::mutex> lock(s.mutex);
  s.commandHandler = std::move(handler);
}

// --- 4. Client ---------------------------------------------------------------

namespace {

// Connects to the instance of the same user, waiting while one is starting;
// -1 when none answers.
int ConnectToInstance(const std::wstring& appName, const InstanceOptions& options) {
  const fs::path lockFile = InstanceLock::LockFile(appName, options);
  sockaddr_un addr{};
  socklen_t addrLength = 0;
  if (!FillAddress(InstanceLock::SocketName(appName, options), addr, addrLength)) return -1;
  const auto deadline = std::chrono::steady_clock::now() + options.findTimeout;
  for (;;) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), addrLength) == 0) {
      // Only an instance of the same user is talked to.
      if (!IsSameUserPeer(fd)) {
        ::close(fd);
        return -1;
      }
      return fd;
    }
    ::close(fd);
    // Not listening: either nobody runs, or the first instance holds the lock
    // and is about to listen. Only the second case is worth waiting for.
    if (!LockIsHeld(lockFile) || std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

InstanceLock::Delivery SendLine(const std::wstring& appName, const InstanceOptions& options,
                                const std::string& line) {
  const int fd = ConnectToInstance(appName, options);
  if (fd < 0) return InstanceLock::Delivery::NoInstance;
  SetTimeouts(fd, 2000);
  std::string reply;
  const bool answered = WriteAllTo(fd, line) && ReadLine(fd, reply);
  ::close(fd);
  if (!answered) return InstanceLock::Delivery::NoInstance;
  return reply == "ok" ? InstanceLock::Delivery::Delivered : InstanceLock::Delivery::Ignored;
}

}  // namespace

InstanceLock::Delivery InstanceLock::SendActivate(const std::wstring& applicationName,
                                                  const InstanceOptions& options) {
  return SendLine(applicationName, options, "activate\n");
}

InstanceLock::Delivery InstanceLock::SendPost(const std::wstring& applicationName, std::uint32_t message,
                                              std::uint64_t wParam, std::int64_t lParam,
                                              const InstanceOptions& options) {
  char line[96];
  std::snprintf(line, sizeof line, "post %u %llu %lld\n", static_cast<unsigned>(message),
                static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
  return SendLine(applicationName, options, line);
}

InstanceLock::Delivery InstanceLock::SendInspect(const std::wstring& applicationName, std::string& text,
                                                 const InstanceOptions& options) {
  text.clear();
  const int fd = ConnectToInstance(applicationName, options);
  if (fd < 0) return Delivery::NoInstance;
  const auto wait = options.inspectTimeout + std::chrono::milliseconds(2000);
  SetTimeouts(fd, static_cast<int>(wait.count()));
  std::string header;
  Delivery result = Delivery::NoInstance;
  if (WriteAllTo(fd, "inspect\n") && ReadLine(fd, header)) {
    size_t size = 0;
    if (header == "unavailable") {
      result = Delivery::Ignored;
    } else if (header.rfind("ok ", 0) == 0 && ParseNumber(std::string_view(header).substr(3), size) &&
               size <= kMaxInspectBytes && ReadExactly(fd, size, text)) {
      result = Delivery::Delivered;
    } else {
      text.clear();
    }
  }
  ::close(fd);
  return result;
}

InstanceLock::Delivery InstanceLock::SendCommand(const std::wstring& applicationName,
                                                 const std::vector<std::string>& arguments, std::string& answer,
                                                 const InstanceOptions& options) {
  answer.clear();
  std::string payload;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) payload.push_back('\0');
    payload += arguments[i];
  }
  if (payload.size() > kMaxCommandBytes) return Delivery::Ignored;
  const int fd = ConnectToInstance(applicationName, options);
  if (fd < 0) return Delivery::NoInstance;
  const auto wait = options.commandTimeout + std::chrono::milliseconds(2000);
  SetTimeouts(fd, static_cast<int>(wait.count()));
  std::string header;
  Delivery result = Delivery::NoInstance;
  if (WriteAllTo(fd, "command " + std::to_string(payload.size()) + "\n") && WriteAllTo(fd, payload) &&
      ReadLine(fd, header)) {
    size_t size = 0;
    if (header == "unavailable") {
      result = Delivery::Ignored;
    } else if (header.rfind("ok ", 0) == 0 && ParseNumber(std::string_view(header).substr(3), size) &&
               size <= kMaxInspectBytes && ReadExactly(fd, size, answer)) {
      result = Delivery::Delivered;
    } else {
      answer.clear();
    }
  }
  ::close(fd);
  return result;
}

}  // namespace platform
