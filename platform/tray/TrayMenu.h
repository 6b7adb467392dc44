#pragma once
// TrayMenu: the tray icon's menu as a DBusMenu object. It holds exactly one
// item (TrayIcon's quit item) under the root; choosing it reports the quit
// command to the tray's events. The bus calls arrive on the tray thread;
// SetText may come from any thread.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct sd_bus;
struct sd_bus_slot;

namespace platform {

class TrayEvents;

class TrayMenu {
 public:
  static constexpr const char* kPath = "/MenuBar";
  static constexpr const char* kInterface = "com.canonical.dbusmenu";
  static constexpr int kRootId = 0;

  // With an About text the menu holds About (command 102) above quit.
  TrayMenu(std::wstring text, TrayEvents* events, std::wstring aboutText = {});
  ~TrayMenu();
  TrayMenu(const TrayMenu&) = delete;
  TrayMenu& operator=(const TrayMenu&) = delete;

  // Puts the menu object on the bus; an sd-bus result (negative errno).
  int Publish(sd_bus* bus);
  void Unpublish();

  // A new text for the quit item (after a language change).
  void SetText(const std::wstring& text);
  void SetAboutText(const std::wstring& text);
  // Tells hosts that the layout changed when the text did since the last
  // call. Tray thread only.
  void EmitChanges(sd_bus* bus);

  // What the bus callbacks read and do.
  bool KnownItem(int id) const;
  // The root's items, in menu order.
  std::vector<int> Items() const;
  std::string Label() const;
  std::string LabelOf(int id) const;
  std::uint32_t Revision() const;
  void OnItemEvent(int id, const char* eventId);

 private:
  TrayEvents* events_ = nullptr;
  sd_bus_slot* slot_ = nullptr;
  mutable std::mutex mutex_;  // guards the three below
  std::wstring text_;
  std::wstring aboutText_;
  bool changed_ = false;
  std::uint32_t revision_ = 1;
};

}  // namespace platform
