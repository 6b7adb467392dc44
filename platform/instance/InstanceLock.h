#pragma once
// InstanceLock: one running instance per application name and user session.
//
// The first process takes an exclusive flock on "<app>.lock" in
// $XDG_RUNTIME_DIR (or in the per-user config folder when there is no runtime
// folder) and, while holding it, listens on an abstract Unix socket named
// after the application name. The lock decides who is first, so two starts
// at the same moment leave exactly one; the socket carries the requests of
// later processes. Both go away with the process, so nothing stale remains
// after a crash.
//
// Line protocol (one request per connection, answered with one line):
//   "activate"                    -> "ok"
//   "post MSG WPARAM LPARAM"      -> "ok" for a public message, else "ignored"
//   "inspect"                     -> "ok BYTES" and that many bytes of text (the
//                                    window's control tree), or "unavailable"
//                                    when no window is registered or it did not
//                                    answer in time
//   "command BYTES" + that many bytes of arguments, NUL-separated
//                                 -> "ok BYTES" and that many bytes of answer
//                                    (what the window made of the command), or
//                                    "unavailable" when nobody takes commands
//                                    or the window did not answer in time
//   anything else                 -> "error"
// Requests from another user id are refused: the connection is closed
// unanswered.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "platform/instance/WindowDumpReply.h"
#include "platform/instance/InstanceEvents.h"

namespace platform {

struct InstanceOptions {
  // Folder of the lock file; empty: $XDG_RUNTIME_DIR, else the config folder.
  std::filesystem::path lockFolder;
  // How long a client keeps trying to reach an instance that holds the lock
  // but is not listening yet (it is starting at this very moment).
  std::chrono::milliseconds findTimeout{3000};
  // How long the instance waits for its window thread to describe the
  // window; the client waits this long plus a margin for the answer.
  std::chrono::milliseconds inspectTimeout{3000};
  // How long the instance waits for its window thread to carry out a
  // command (it stores the settings and queues the writes).
  std::chrono::milliseconds commandTimeout{20000};
};

// The largest argument list a "command" request carries.
inline constexpr std::size_t kMaxCommandBytes = 64u << 10;

// Called on the listener thread for each "command" request with its
// arguments: it must hand the work to the window thread and return at once;
// the window thread answers through the reply.
using InstanceCommandHandler =
    std::function<void(std::vector<std::string> arguments, std::shared_ptr<WindowDumpReply> reply)>;

// The most an "inspect" answer carries; a longer description is cut at a
// line end and ends with the line "... truncated".
inline constexpr std::size_t kMaxInspectBytes = 4u << 20;

class InstanceLock {
 public:
  enum class Claim { First, Second };
  enum class Delivery { Delivered, Ignored, NoInstance };

  explicit InstanceLock(std::wstring applicationName, InstanceOptions options = {});
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock and starts listening (First), or finds that another
  // process holds it (Second). Calling it again after First returns First.
  Claim TryClaim();
  bool IsFirst() const;

  // Where requests go. Requests that arrive while no receiver is set are kept
  // (a few of them) and handed over when one is set. After SetEvents returns,
  // the previous receiver is never called again.
  void SetEvents(InstanceEvents* events);

  // Who answers "inspect" requests (an empty function: nobody, the answer is
  // "unavailable"). After SetInspector returns, the previous inspector is
  // never called again.
  void SetInspector(InstanceInspector inspector);

  // Who carries out "command" requests (empty: nobody, "unavailable").
  // After it returns, the previous handler is never called again.
  void SetCommandHandler(InstanceCommandHandler handler);

  // Client side: ask the running instance to show itself, or post a message
  // to it. NoInstance when no process holds the lock or none answered.
  static Delivery SendActivate(const std::wstring& applicationName, const InstanceOptions& options = {});
  static Delivery SendPost(const std::wstring& applicationName, std::uint32_t message, std::uint64_t wParam,
                           std::int64_t lParam, const InstanceOptions& options = {});
  // Asks the running instance to describe its window: Delivered with the
  // text, Ignored when it has no window to describe (or it did not answer in
  // time), NoInstance when none runs or the answer was malformed.
  static Delivery SendInspect(const std::wstring& applicationName, std::string& text,
                              const InstanceOptions& options = {});
  // Hands a command to the running instance: Delivered with its answer,
  // Ignored when it takes no commands (or did not answer in time),
  // NoInstance when none runs or the answer was malformed.
  static Delivery SendCommand(const std::wstring& applicationName, const std::vector<std::string>& arguments,
                              std::string& answer, const InstanceOptions& options = {});

  // The lock file and the abstract socket name (without its leading NUL)
  // used for an application name; exposed for diagnostics and tests.
  static std::filesystem::path LockFile(const std::wstring& applicationName, const InstanceOptions& options);
  static std::string SocketName(const std::wstring& applicationName, const InstanceOptions& options);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
