#pragma once
// What other processes may ask of the running instance of the program.

#include <cstdint>

namespace platform {

// The two messages other processes may post to the running instance; every
// other number is ignored where it arrives.
inline constexpr std::uint32_t kQuitMessage = 1691;
inline constexpr std::uint32_t kRefreshTextsMessage = 2022;

inline bool IsPublicMessage(std::uint32_t message) {
  return message == kQuitMessage || message == kRefreshTextsMessage;
}

// Receives the requests of other processes. Called on the instance's
// listener thread, one call at a time: an implementation hands the request
// to its window thread (the main window posts it into its own message queue)
// and returns at once. It must not call back into the InstanceLock.
class InstanceEvents {
 public:
  virtual ~InstanceEvents() = default;

  // Another start of the program asks this one to bring its window up, as a
  // left click on the tray icon does (message 1690).
  virtual void OnActivate() = 0;

  // Another process posted a public message; the values stand as sent.
  virtual void OnPostedMessage(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam) = 0;
};

}  // namespace platform
