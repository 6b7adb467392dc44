#include "device/simulator/SimulatedHid.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

struct InterfaceShape {
  int number;
  uint16_t usage_page;
  uint16_t usage;
};

// The interfaces of every simulated device, in enumeration order. Only
// interface 2 answers the protocol; the others are there to be filtered out.
constexpr InterfaceShape kInterfaces[] = {
    {0, 0x0001, 0x0002},  // pointer
    {1, 0x0001, 0x0006},  // keyboard (extra buttons as keys)
    {2, 0xFF01, 0x0010},  // vendor protocol
    {3, 0xFF01, 0x0001},  // vendor, another usage
};

// The report descriptor of an interface: one application collection of the
// interface's usage with a 64-byte input report and, when outputBytes is
// above 0, an output report of that many bytes; no report ids.
std::vector<uint8_t> Descriptor(uint16_t usagePage, uint16_t usage, int outputBytes) {
  std::vector<uint8_t> d = {
      0x06, static_cast<uint8_t>(usagePage), static_cast<uint8_t>(usagePage >> 8),  // Usage Page
      0x09, static_cast<uint8_t>(usage),                                            // Usage
      0xA1, 0x01,                                                                   // Collection (Application)
      0x15, 0x00,                                                                   //   Logical Minimum (0)
      0x26, 0xFF, 0x00,                                                             //   Logical Maximum (255)
      0x75, 0x08,                                                                   //   Report Size (8)
      0x95, 0x40,                                                                   //   Report Count (64)
      0x09, 0x01,                                                                   //   Usage (1)
      0x81, 0x02,                                                                   //   Input (Data, Var, Abs)
  };
  if (outputBytes > 0) {
    const uint8_t more[] = {
        0x96, static_cast<uint8_t>(outputBytes), static_cast<uint8_t>(outputBytes >> 8),  // Report Count
        0x09, 0x02,                                                                       // Usage (2)
        0x91, 0x02,                                                                       // Output (Data, Var, Abs)
    };
    d.insert(d.end(), std::begin(more), std::end(more));
  }
  d.push_back(0xC0);  // End Collection
  return d;
}

// A report of noise: short, and its status byte is not 0.
const std::vector<uint8_t> kGarbage = {0x5A, 0xC3, 0x7E, 0x11, 0x00, 0xFF, 0x96};

}  // namespace

SimulatedHid::SimulatedHid(std::shared_ptr<Clock> clock) : clock_(std::move(clock)) {}

SimulatedHid::~SimulatedHid() {
  for (Handle* handle : handles_) delete handle;
}

// --- 1. Set-up -------------------------------------------------------------------

int SimulatedHid::AddMouse(const mouseproto::MouseState& state) {
  std::lock_guard<std::mutex> hold(lock_);
  mice_.push_back(Mouse{state, true});
  return static_cast<int>(mice_.size()) - 1;
}

int SimulatedHid::PlugCable(int mouse, uint16_t vendorId, uint16_t productId, uint16_t release) {
  return PlugDevice(mouse, false, vendorId, productId, release);
}

int SimulatedHid::PlugReceiver(int mouse, uint16_t vendorId, uint16_t productId, uint16_t release) {
  return PlugDevice(mouse, true, vendorId, productId, release);
}

int SimulatedHid::PlugDevice(int mouse, bool receiver, uint16_t vendorId, uint16_t productId, uint16_t release) {
  Events events;
  int plug;
  {
    std::lock_guard<std::mutex> hold(lock_);
    plug = PlugLocked(mouse, receiver, vendorId, productId, release, events);
  }
  // Arrival events go out after the lock is released.
  Dispatch(events);
  return plug;
}

int SimulatedHid::PlugLocked(int mouse, bool receiver, uint16_t vendorId, uint16_t productId, uint16_t release,
                             Events& events) {
  Plug plug;
  plug.mouse = mouse;
  plug.receiver = receiver;
  plug.vendor_id = vendorId;
  plug.product_id = productId;
  plug.release = release;
  for (const InterfaceShape& shape : kInterfaces) {
    Interface item;
    item.number = shape.number;
    item.usage_page = shape.usage_page;
    item.usage = shape.usage;
    plug.interfaces.push_back(item);
  }
  plugs_.push_back(std::move(plug));
  const int id = static_cast<int>(plugs_.size()) - 1;
  BringUpLocked(id, events);
  return id;
}

void SimulatedHid::BringUpLocked(int id, Events& events) {
  Plug& plug = plugs_[id];
  if (plug.present) return;
  plug.present = true;
  for (Interface& item : plug.interfaces) {
    item.node = "sim/hidraw" + std::to_string(nextNode_++);
    events.push_back({true, platform::DeviceChangePath(item.node, plug.vendor_id, plug.product_id, item.number),
                      item.node});
  }
}

void SimulatedHid::TakeDownLocked(int id, Events& events) {
  Plug& plug = plugs_[id];
  if (!plug.present) return;
  plug.present = false;
  for (Handle* handle : handles_) {
    if (handle->plug == id && !handle->stale) {
      handle->stale = true;
      handle->input.clear();
    }
  }
  for (const Interface& item : plug.interfaces) {
    events.push_back({false, platform::DeviceChangePath(item.node, plug.vendor_id, plug.product_id, item.number),
                      item.node});
  }
}

void SimulatedHid::Unplug(int plug) {
  Events events;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (plug >= 0 && plug < static_cast<int>(plugs_.size())) TakeDownLocked(plug, events);
  }
  Dispatch(events);
}

void SimulatedHid::Replug(int plug) {
  Events events;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (plug >= 0 && plug < static_cast<int>(plugs_.size())) BringUpLocked(plug, events);
  }
  Dispatch(events);
}

void SimulatedHid::SetMousePower(int mouse, bool on) {
  std::lock_guard<std::mutex> hold(lock_);
  if (mouse < 0 || mouse >= static_cast<int>(mice_.size())) return;
  Mouse& state = mice_[mouse];
  if (state.powered == on) return;
  state.powered = on;
  const std::vector<uint8_t> report = SimulatedFirmware::LinkReport(state.state, on);
  for (size_t id = 0; id < plugs_.size(); ++id) {
    const Plug& plug = plugs_[id];
    if (plug.present && plug.receiver && plug.mouse == mouse) QueueLocked(static_cast<int>(id), kVendorInterface, report);
  }
}

bool SimulatedHid::MousePowered(int mouse) const {
  std::lock_guard<std::mutex> hold(lock_);
  return mice_.at(mouse).powered;
}

void SimulatedHid::SetReceiversAnswerForOffMice(bool answer) {
  std::lock_guard<std::mutex> hold(lock_);
  receiversAnswer_ = answer;
}

void SimulatedHid::Suspend() {
  Events events;
  {
    std::lock_guard<std::mutex> hold(lock_);
    for (size_t id = 0; id < plugs_.size(); ++id) {
      if (!plugs_[id].present) continue;
      suspended_.push_back(static_cast<int>(id));
      TakeDownLocked(static_cast<int>(id), events);
    }
  }
  Dispatch(events);
}

void SimulatedHid::Resume() {
  Events events;
  {
    std::lock_guard<std::mutex> hold(lock_);
    for (int id : suspended_) BringUpLocked(id, events);
    suspended_.clear();
  }
  Dispatch(events);
}

void SimulatedHid::SetLatency(int milliseconds) {
  std::lock_guard<std::mutex> hold(lock_);
  latency_ = std::max(0, milliseconds);
}

void SimulatedHid::DenyOpen(int plug, bool deny) {
  std::lock_guard<std::mutex> hold(lock_);
  if (plug >= 0 && plug < static_cast<int>(plugs_.size())) plugs_[plug].deny_open = deny;
}

void SimulatedHid::SetOutputReportBytes(int plug, int bytes) {
  std::lock_guard<std::mutex> hold(lock_);
  if (plug >= 0 && plug < static_cast<int>(plugs_.size())) plugs_[plug].output_report_bytes = std::max(0, bytes);
}

void SimulatedHid::SetChangeListener(std::function<void(const platform::DeviceChangeEvent&)> listener) {
  std::lock_guard<std::mutex> hold(lock_);
  listener_ = std::move(listener);
}

mouseproto::MouseState SimulatedHid::Firmware(int mouse) const {
  std::lock_guard<std::mutex> hold(lock_);
  return mice_.at(mouse).state;
}

void SimulatedHid::UpdateFirmware(int mouse, const std::function<void(mouseproto::MouseState&)>& change) {
  std::lock_guard<std::mutex> hold(lock_);
  if (mouse >= 0 && mouse < static_cast<int>(mice_.size())) change(mice_[mouse].state);
}

void SimulatedHid::Dispatch(const Events& events) {
  std::function<void(const platform::DeviceChangeEvent&)> listener;
  {
    std::lock_guard<std::mutex> hold(lock_);
    listener = listener_;
  }
  if (!listener) return;
  for (const auto& event : events) listener(event);
}

// --- 2. Faults and unsolicited reports ----------------------------------------------

void SimulatedHid::InjectFault(int plug, Fault fault, int count) {
  std::lock_guard<std::mutex> hold(lock_);
  if (plug < 0 || plug >= static_cast<int>(plugs_.size())) return;
  for (int i = 0; i < count; ++i) plugs_[plug].faults.push_back(fault);
}

void SimulatedHid::CutReply(int plug, uint8_t command, size_t length) {
  std::lock_guard<std::mutex> hold(lock_);
  if (plug >= 0 && plug < static_cast<int>(plugs_.size())) plugs_[plug].cuts[command].push_back(length);
}

void SimulatedHid::Notify(int plug, const std::vector<uint8_t>& report) {
  std::lock_guard<std::mutex> hold(lock_);
  if (plug >= 0 && plug < static_cast<int>(plugs_.size()) && plugs_[plug].present) {
    QueueLocked(plug, kVendorInterface, report);
  }
}

void SimulatedHid::PressDpiButton(int mouse, int stage, int count) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (mouse < 0 || mouse >= static_cast<int>(mice_.size())) return;
    Mouse& state = mice_[mouse];
    if (count > 0) state.state.settings.dpi_count = count;
    state.state.settings.dpi_index = stage;
    const std::vector<uint8_t> report = SimulatedFirmware::DpiReport(state.state);
    for (size_t id = 0; id < plugs_.size(); ++id) {
      const Plug& plug = plugs_[id];
      if (!plug.present || plug.mouse != mouse || (plug.receiver && !state.powered)) continue;
      QueueLocked(static_cast<int>(id), kVendorInterface, report);
    }
  }
  NotifyStateChanged();
}

void SimulatedHid::SetStateListener(std::function<void()> listener) {
  std::lock_guard<std::mutex> hold(lock_);
  stateListener_ = std::move(listener);
}

void SimulatedHid::NotifyStateChanged() {
  std::function<void()> listener;
  {
    std::lock_guard<std::mutex> hold(lock_);
    listener = stateListener_;
  }
  if (listener) listener();
}

void SimulatedHid::QueueLocked(int plug, int interfaceNumber, std::vector<uint8_t> bytes) {
  const int64_t readyAt = clock_->NowMs() + latency_;
  for (Handle* handle : handles_) {
    if (handle->plug == plug && handle->interface_number == interfaceNumber && !handle->stale) {
      handle->input.push_back({readyAt, bytes});
    }
  }
}

// --- 3. What the host did ------------------------------------------------------------

std::vector<std::vector<uint8_t>> SimulatedHid::Requests(int plug) const {
  std::lock_guard<std::mutex> hold(lock_);
  return plugs_.at(plug).requests;
}

int SimulatedHid::ReadCalls(int plug) const {
  std::lock_guard<std::mutex> hold(lock_);
  return plugs_.at(plug).read_calls;
}

int SimulatedHid::OpenHandles() const {
  std::lock_guard<std::mutex> hold(lock_);
  return static_cast<int>(handles_.size());
}

std::string SimulatedHid::Node(int plug, int interfaceNumber) const {
  std::lock_guard<std::mutex> hold(lock_);
  for (const Interface& item : plugs_.at(plug).interfaces) {
    if (item.number == interfaceNumber) return item.node;
  }
  return {};
}

void SimulatedHid::ClearRecord() {
  std::lock_guard<std::mutex> hold(lock_);
  for (Plug& plug : plugs_) {
    plug.requests.clear();
    plug.read_calls = 0;
  }
}

// --- 4. HidBackend ----------------------------------------------------------------------

bool SimulatedHid::Enumerate(std::vector<HidInterfaceInfo>& interfaces) {
  std::lock_guard<std::mutex> hold(lock_);
  interfaces.clear();
  for (const Plug& plug : plugs_) {
    if (!plug.present) continue;
    for (const Interface& item : plug.interfaces) {
      HidInterfaceInfo info;
      info.path = item.node;
      info.vendor_id = plug.vendor_id;
      info.product_id = plug.product_id;
      info.release_number = plug.release;
      info.usage_page = item.usage_page;
      info.usage = item.usage;
      info.interface_number = item.number;
      interfaces.push_back(std::move(info));
    }
  }
  return true;
}

HidDevice* SimulatedHid::Open(const std::string& path) {
  std::lock_guard<std::mutex> hold(lock_);
  for (size_t id = 0; id < plugs_.size(); ++id) {
    const Plug& plug = plugs_[id];
    if (!plug.present) continue;
    for (const Interface& item : plug.interfaces) {
      if (item.node != path) continue;
      if (plug.deny_open) {
        lastError_ = L"Permission denied";
        return nullptr;
      }
      auto* handle = new Handle;
      handle->plug = static_cast<int>(id);
      handle->interface_number = item.number;
      handles_.insert(handle);
      return handle;
    }
  }
  lastError_ = L"No such device";
  return nullptr;
}

int SimulatedHid::GetReportDescriptor(HidDevice* device, uint8_t* data, size_t length) {
  std::lock_guard<std::mutex> hold(lock_);
  Handle* handle = Checked(device);
  if (handle == nullptr || data == nullptr) return -1;
  if (handle->stale) {
    handle->error = L"Device disconnected";
    return -1;
  }
  const Plug& plug = plugs_[handle->plug];
  const InterfaceShape& shape = kInterfaces[handle->interface_number];
  const int output = handle->interface_number == kVendorInterface ? plug.output_report_bytes : 0;
  const std::vector<uint8_t> descriptor = Descriptor(shape.usage_page, shape.usage, output);
  const size_t count = std::min(length, descriptor.size());
  std::memcpy(data, descriptor.data(), count);
  return static_cast<int>(count);
}

SimulatedHid::Handle* SimulatedHid::Checked(HidDevice* device) {
  auto* handle = static_cast<Handle*>(device);
  return handles_.count(handle) != 0 ? handle : nullptr;
}

int SimulatedHid::Write(HidDevice* device, const uint8_t* data, size_t length) {
  Events events;
  int result = -1;
  {
    std::lock_guard<std::mutex> hold(lock_);
    Handle* handle = Checked(device);
    if (handle == nullptr) return -1;
    if (handle->stale) {
      handle->error = L"Device disconnected";
      return -1;
    }
    if (handle->interface_number != kVendorInterface || data == nullptr || length == 0) {
      handle->error = L"Interface takes no output report";
      return -1;
    }
    Plug& plug = plugs_[handle->plug];
    // Like a device behind hidraw, the interface takes only whole output
    // reports: the report-id byte and the declared report.
    if (plug.output_report_bytes > 0 && length < static_cast<size_t>(plug.output_report_bytes) + 1) {
      handle->error = L"Output report shorter than the interface declares";
      return -1;
    }
    plug.requests.emplace_back(data, data + length);
    result = static_cast<int>(length);

    Mouse& mouse = mice_[plug.mouse];
    const bool linked = !plug.receiver || mouse.powered;
    const std::span<const uint8_t> request(data, length);
    std::optional<std::vector<uint8_t>> reply;
    if (plug.faults.empty()) {
      reply = SimulatedFirmware::Handle(mouse.state, linked, receiversAnswer_, request);
    } else {
      const Fault fault = plug.faults.front();
      plug.faults.pop_front();
      switch (fault) {
        case Fault::NoReply:
          break;
        case Fault::BadStatus:
          reply = SimulatedFirmware::Handle(mouse.state, linked, receiversAnswer_, request);
          if (!reply) {
            reply.emplace(mouseproto::kReplyLength, 0);
            (*reply)[0] = data[length > 1 ? 1 : 0];
          }
          (*reply)[1] = 0x05;
          break;
        case Fault::Garbage:
          QueueLocked(handle->plug, kVendorInterface, kGarbage);
          break;
        case Fault::UnplugMidExchange:
          TakeDownLocked(handle->plug, events);
          break;
      }
    }
    if (reply && length > 1) {
      auto cut = plug.cuts.find(data[1]);
      if (cut != plug.cuts.end() && !cut->second.empty()) {
        reply->resize(std::min(reply->size(), cut->second.front()));
        cut->second.pop_front();
      }
    }
    if (reply) QueueLocked(handle->plug, kVendorInterface, std::move(*reply));
  }
  Dispatch(events);
  NotifyStateChanged();
  return result;
}

int SimulatedHid::ReadTimeout(HidDevice* device, uint8_t* data, size_t length, int milliseconds) {
  int64_t waitMs = 0;
  {
    std::lock_guard<std::mutex> hold(lock_);
    Handle* handle = Checked(device);
    if (handle == nullptr) return -1;
    if (handle->interface_number == kVendorInterface) ++plugs_[handle->plug].read_calls;
    if (handle->stale) {
      handle->error = L"Device disconnected";
      return -1;
    }
    const int64_t now = clock_->NowMs();
    const int64_t deadline =
        milliseconds < 0 ? std::numeric_limits<int64_t>::max() : now + static_cast<int64_t>(milliseconds);
    const int64_t ready = handle->input.empty() ? std::numeric_limits<int64_t>::max() : handle->input.front().ready_at;
    const int64_t until = std::min(deadline, ready);
    // A blocking read with nothing on the way returns at once rather than
    // hanging the caller forever.
    waitMs = until == std::numeric_limits<int64_t>::max() ? 0 : std::max<int64_t>(0, until - now);
  }
  // The lock is not held while time passes, so that other threads can
  // change the bus meanwhile.
  if (waitMs > 0) clock_->Wait(static_cast<int>(waitMs));
  std::lock_guard<std::mutex> hold(lock_);
  Handle* handle = Checked(device);
  if (handle == nullptr) return -1;
  if (handle->stale) {
    handle->error = L"Device disconnected";
    return -1;
  }
  if (handle->input.empty() || handle->input.front().ready_at > clock_->NowMs()) return 0;
  const std::vector<uint8_t> bytes = std::move(handle->input.front().bytes);
  handle->input.pop_front();
  const size_t count = std::min(length, bytes.size());
  if (data != nullptr) std::memcpy(data, bytes.data(), count);
  return static_cast<int>(count);
}

void SimulatedHid::Close(HidDevice* device) {
  std::lock_guard<std::mutex> hold(lock_);
  Handle* handle = Checked(device);
  if (handle == nullptr) return;
  handles_.erase(handle);
  delete handle;
}

std::wstring SimulatedHid::LastError(HidDevice* device) {
  std::lock_guard<std::mutex> hold(lock_);
  if (device == nullptr) return lastError_;
  Handle* handle = Checked(device);
  return handle != nullptr ? handle->error : std::wstring();
}
