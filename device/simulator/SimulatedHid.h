#pragma once
// SimulatedHid: simulated mice and receivers on a simulated USB bus, behind
// the HidBackend seam. Each plugged device shows the interfaces a real one
// has: a pointer interface (USB interface 0), a keyboard interface (1), the
// vendor interface the protocol uses (2, usage page 0xFF01, usage 0x0010)
// and a second vendor interface with another usage (3). Each mouse keeps its
// firmware state (mouseproto::MouseState); requests written to the vendor
// interface are applied to it by SimulatedFirmware, and the replies come back
// after the reply latency, measured on the shared Clock.
//
// Index
//   1. Set-up: mice, plugging, power, suspend and resume
//   2. Fault injection and unsolicited reports (link, DPI change)
//   3. What the host did
//   4. HidBackend
//
// All operations are safe from any thread. Change events are delivered on
// the caller's thread after the bus state has changed.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "device/Clock.h"
#include "device/HidBackend.h"
#include "device/simulator/MouseState.h"
#include "device/simulator/SimulatedFirmware.h"
#include "platform/DeviceChange.h"

class SimulatedHid : public HidBackend {
 public:
  enum class Fault {
    NoReply,            // the request is taken but nothing comes back
    BadStatus,          // the reply carries a non-zero status
    Garbage,            // a short report of noise comes back instead
    UnplugMidExchange,  // the device goes away right after the request
  };

  static constexpr int kVendorInterface = 2;
  static constexpr int kDefaultLatencyMs = 4;
  // The vendor interface's output report, without its report-id byte: a
  // write of a request frame (33 bytes with the id) fills it exactly.
  static constexpr int kDefaultOutputReportBytes = 32;

  explicit SimulatedHid(std::shared_ptr<Clock> clock);
  ~SimulatedHid() override;
  SimulatedHid(const SimulatedHid&) = delete;
  SimulatedHid& operator=(const SimulatedHid&) = delete;

  // --- 1. Set-up ---------------------------------------------------------------
  // Returns the mouse's id. The mouse starts switched on.
  int AddMouse(const mouseproto::MouseState& state);
  // Plugs the mouse in by cable, or its receiver; returns the plug's id.
  int PlugCable(int mouse, uint16_t vendorId, uint16_t productId, uint16_t release = 0x0100);
  int PlugReceiver(int mouse, uint16_t vendorId, uint16_t productId, uint16_t release = 0x0100);
  void Unplug(int plug);
  // Plugs an unplugged device in again; its interfaces get new nodes.
  void Replug(int plug);
  // Switches a mouse off or on; its plugged receivers report the link.
  void SetMousePower(int mouse, bool on);
  bool MousePowered(int mouse) const;
  // Whether a receiver whose mouse is off answers the info request itself
  // (with a link byte of 0) instead of staying silent. Off by default.
  void SetReceiversAnswerForOffMice(bool answer);
  // Every handle goes stale at once and every device leaves the bus;
  // Resume brings the devices back under new nodes.
  void Suspend();
  void Resume();
  void SetLatency(int milliseconds);
  // Refuses opening the plug's interfaces, as missing permissions do.
  void DenyOpen(int plug, bool deny);
  // The output report the plug's vendor interface declares in its report
  // descriptor, in bytes without the report id; 0 declares none.
  void SetOutputReportBytes(int plug, int bytes);
  void SetChangeListener(std::function<void(const platform::DeviceChangeEvent&)> listener);
  // Called after a host request or a DPI button press may have changed a
  // mouse's firmware state, on the caller's thread, outside the bus lock
  // (the demo keeps the state in a file).
  void SetStateListener(std::function<void()> listener);

  // A copy of the mouse's firmware state, and a change made to it in place.
  mouseproto::MouseState Firmware(int mouse) const;
  void UpdateFirmware(int mouse, const std::function<void(mouseproto::MouseState&)>& change);

  // --- 2. Faults and unsolicited reports ------------------------------------------
  // The next count requests to the plug's vendor interface meet the fault.
  void InjectFault(int plug, Fault fault, int count = 1);
  // The next reply to the command on the plug's vendor interface comes back
  // cut to length bytes, as a report of that size.
  void CutReply(int plug, uint8_t command, size_t length);
  // The vendor interface sends a report of its own (no report id).
  void Notify(int plug, const std::vector<uint8_t>& report);
  // The user presses the mouse's DPI button: the mouse selects the stage
  // (and count, when count is above 0) and sends the DPI-change report on
  // every plug through which it is reached.
  void PressDpiButton(int mouse, int stage, int count = 0);

  // --- 3. What the host did ------------------------------------------------------
  // Frames written to the plug's vendor interface, in order.
  std::vector<std::vector<uint8_t>> Requests(int plug) const;
  // Calls of ReadTimeout on the plug's vendor interface.
  int ReadCalls(int plug) const;
  // Handles opened and not yet closed, on any interface.
  int OpenHandles() const;
  std::string Node(int plug, int interfaceNumber) const;
  void ClearRecord();

  // --- 4. HidBackend ---------------------------------------------------------------
  bool Enumerate(std::vector<HidInterfaceInfo>& interfaces) override;
  HidDevice* Open(const std::string& path) override;
  int Write(HidDevice* device, const uint8_t* data, size_t length) override;
  int ReadTimeout(HidDevice* device, uint8_t* data, size_t length, int milliseconds) override;
  void Close(HidDevice* device) override;
  int GetReportDescriptor(HidDevice* device, uint8_t* data, size_t length) override;
  std::wstring LastError(HidDevice* device) override;

 private:
  struct Interface {
    int number = 0;
    uint16_t usage_page = 0;
    uint16_t usage = 0;
    std::string node;
  };
  struct Plug {
    int mouse = 0;
    bool receiver = false;
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    uint16_t release = 0;
    bool present = false;
    bool deny_open = false;
    int output_report_bytes = kDefaultOutputReportBytes;
    std::vector<Interface> interfaces;
    std::deque<Fault> faults;
    std::map<uint8_t, std::deque<size_t>> cuts;  // reply lengths per command
    std::vector<std::vector<uint8_t>> requests;
    int read_calls = 0;
  };
  struct Mouse {
    mouseproto::MouseState state;
    bool powered = true;
  };
  struct Report {
    int64_t ready_at = 0;
    std::vector<uint8_t> bytes;
  };
  struct Handle : HidDevice {
    int plug = 0;
    int interface_number = 0;
    bool stale = false;
    std::deque<Report> input;
    std::wstring error;
  };
  using Events = std::vector<platform::DeviceChangeEvent>;

  int PlugDevice(int mouse, bool receiver, uint16_t vendorId, uint16_t productId, uint16_t release);
  int PlugLocked(int mouse, bool receiver, uint16_t vendorId, uint16_t productId, uint16_t release, Events& events);
  void BringUpLocked(int plug, Events& events);
  void TakeDownLocked(int plug, Events& events);
  void QueueLocked(int plug, int interfaceNumber, std::vector<uint8_t> bytes);
  void Dispatch(const Events& events);
  void NotifyStateChanged();
  Handle* Checked(HidDevice* device);

  std::shared_ptr<Clock> clock_;
  mutable std::mutex lock_;
  std::vector<Mouse> mice_;
  std::vector<Plug> plugs_;
  std::set<Handle*> handles_;
  std::vector<int> suspended_;
  int nextNode_ = 0;
  int latency_ = kDefaultLatencyMs;
  bool receiversAnswer_ = false;
  std::function<void(const platform::DeviceChangeEvent&)> listener_;
  std::function<void()> stateListener_;
  std::wstring lastError_;
};
