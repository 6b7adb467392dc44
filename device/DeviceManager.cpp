#include "device/DeviceManager.h"

#include <algorithm>
#include <cstring>

#include "device/HidapiBackend.h"
#include "device/ReportDescriptor.h"
#include "device/ReportFrame.h"
#include "platform/Text.h"
#include "shell/Log.h"

// Index
//   1. Report frame and process-wide object
//   2. Link
//   3. Mode table
//   4. Device list
//   5. Selection and rescan

namespace {

// Usage pages and usages of the mice's vendor interface.
bool IsVendorUsage(uint16_t usagePage, uint16_t usage) {
  return (usagePage == 0x0001 && usage == 0x0000) || (usagePage == 0xFF01 && usage == 0x0010);
}

const char* ModeName(int mode) { return mode == 0 ? "USB" : "2.4G"; }

// The backend's text of the handle's last failure, for the log.
std::string ErrorText(HidBackend& backend, HidDevice* handle) {
  const std::wstring text = backend.LastError(handle);
  return text.empty() ? std::string("no error text") : platform::ToUtf8(text);
}

std::mutex g_instanceLock;
std::shared_ptr<HidBackend> g_instanceBackend;
std::shared_ptr<Clock> g_instanceClock;
std::unique_ptr<DeviceManager> g_instance;

}  // namespace

// --- 1. Report frame and process-wide object ------------------------------------

uint8_t DeviceManager::Checksum(const uint8_t* frame) {
  return mouseproto::FrameChecksum(std::span<const uint8_t>(frame, kFrameLength));
}

std::wstring DeviceIdFromInfo(const uint8_t* info) {
  std::wstring id;
  for (size_t i = 4; i < 8 && info[i] != 0; ++i) id.push_back(static_cast<wchar_t>(info[i]));
  return id;
}

DeviceManager::DeviceManager(std::shared_ptr<HidBackend> backend, std::shared_ptr<Clock> clock)
    : backend_(std::move(backend)), clock_(std::move(clock)) {}

DeviceManager::~DeviceManager() {
  // Whatever the open flag says, no handle outlives its owner.
  for (auto& record : records_) backend_->Close(record->handle);
}

size_t DeviceManager::ReadOutputLength(HidDevice* handle) {
  std::vector<uint8_t> descriptor(mouseproto::kMaxReportLength);
  const int got = backend_->GetReportDescriptor(handle, descriptor.data(), descriptor.size());
  if (got <= 0) return 0;
  return mouseproto::OutputReportLength(
      std::span<const uint8_t>(descriptor.data(), std::min<size_t>(static_cast<size_t>(got), descriptor.size())));
}

int DeviceManager::WriteRequest(HidDevice* handle, const uint8_t* data, size_t length) {
  size_t outputLength = 0;
  {
    std::lock_guard<std::mutex> hold(lock_);
    const auto known = outputLengths_.find(handle);
    if (known != outputLengths_.end()) outputLength = known->second;
  }
  // hidraw writes the bytes as given, so a request shorter than the output
  // report is filled up with zeros here.
  std::vector<uint8_t> padded(data, data + length);
  if (outputLength > length) padded.resize(outputLength, 0);
  const int written = backend_->Write(handle, padded.data(), padded.size());
  if (written <= 0) {
    shell::Log("HID write of command 0x%02X failed: %s", length > 1 ? data[1] : 0,
               ErrorText(*backend_, handle).c_str());
  }
  return written;
}

int DeviceManager::ReadReply(HidDevice* handle, uint8_t* data, size_t length, int milliseconds, bool poll) {
  const int got = backend_->ReadTimeout(handle, data, length, milliseconds);
  if (got < 0) {
    const std::string text = ErrorText(*backend_, handle);
    // The idle poll repeats every few milliseconds; a failure that stays
    // the same is logged once until a read succeeds again.
    if (!poll || text != lastPollError_) shell::Log("HID read failed: %s", text.c_str());
    if (poll) lastPollError_ = text;
  } else if (poll) {
    lastPollError_.clear();
  }
  return got;
}

void DeviceManager::ForgetHandle(HidDevice* handle) {
  std::lock_guard<std::mutex> hold(lock_);
  outputLengths_.erase(handle);
}

DeviceManager& DeviceManager::Instance() {
  std::lock_guard<std::mutex> hold(g_instanceLock);
  if (!g_instance) {
    std::shared_ptr<HidBackend> backend = g_instanceBackend;
    if (!backend) backend = std::make_shared<HidapiBackend>();
    std::shared_ptr<Clock> clock = g_instanceClock;
    if (!clock) clock = std::make_shared<RealClock>();
    g_instance = std::make_unique<DeviceManager>(std::move(backend), std::move(clock));
  }
  return *g_instance;
}

bool DeviceManager::ConfigureInstance(std::shared_ptr<HidBackend> backend, std::shared_ptr<Clock> clock) {
  std::lock_guard<std::mutex> hold(g_instanceLock);
  if (g_instance) return false;
  g_instanceBackend = std::move(backend);
  g_instanceClock = std::move(clock);
  return true;
}

// --- 2. Link ---------------------------------------------------------------------

HidDevice* DeviceManager::GetActiveDevice() {
  std::lock_guard<std::mutex> hold(lock_);
  if (activeHandle_ != nullptr) return activeHandle_;
  // No selection means no target: type 0 also marks unidentified records,
  // which must never receive commands.
  if (selectedType_ == 0) return nullptr;
  DeviceRecord* winner = nullptr;
  for (auto& record : records_) {
    if (record->device_type == selectedType_ && record->mode == 0) {
      winner = record.get();
      break;
    }
  }
  if (winner == nullptr) {
    for (auto& record : records_) {
      if (record->device_type == selectedType_ && record->mode == 1) {
        if (record->online == 1) winner = record.get();
        break;
      }
    }
  }
  if (winner == nullptr) return nullptr;
  activeRecord_ = winner;
  activeHandle_ = winner->handle;
  return activeHandle_;
}

int DeviceManager::SendReport(uint8_t* frame, size_t length, bool waitForReply, bool* sent) {
  if (sent != nullptr) *sent = false;
  if (frame == nullptr || length < kFrameLength) return 0;
  if (OpenFlag() == 0) return 0;
  HidDevice* handle = GetActiveDevice();
  if (handle == nullptr) return 0;

  mouseproto::StoreFrameChecksum(std::span<uint8_t>(frame, length));
  std::vector<uint8_t> scratch(frame, frame + length);
  clock_->Sleep(kReportPauseMs);
  const int written = WriteRequest(handle, scratch.data(), length);
  if (sent != nullptr) *sent = written > 0;
  if (written <= 0 || !waitForReply) return 0;

  // A read shorter than the buffer leaves the rest as it was, so the frame
  // ends up holding the last report read over the request itself; the
  // returned length tells the caller where the reply ends.
  std::memcpy(scratch.data(), frame, length);
  int accepted = 0;
  int failedReads = 0;
  for (int attempt = 0; attempt < kReplyAttempts && accepted == 0; ++attempt) {
    const int got = backend_->ReadTimeout(handle, scratch.data(), length, kReplyReadMs);
    if (got < 0) ++failedReads;
    // The status byte must have been read, not left over from the request.
    if (got >= 2 && scratch[1] == 0) accepted = got;
  }
  if (failedReads > 0) {
    shell::Log("HID read for command 0x%02X failed %d times: %s", frame[1], failedReads,
               ErrorText(*backend_, handle).c_str());
  }
  std::memcpy(frame, scratch.data(), length);
  return accepted;
}

bool DeviceManager::ReadDeviceInfo(InfoReply& info, HidDevice* handle) {
  if (handle == nullptr) {
    GetActiveDevice();
    std::lock_guard<std::mutex> hold(lock_);
    if (activeRecord_ == nullptr) return false;
    info = activeRecord_->info;
    return true;
  }
  info.fill(0);
  info[0] = 0;
  info[1] = 0x30;
  mouseproto::StoreFrameChecksum(std::span<uint8_t>(info.data(), kFrameLength));
  clock_->Sleep(kInfoPauseMs);
  if (WriteRequest(handle, info.data(), kFrameLength) <= 0) return false;
  for (int attempt = 0; attempt < kInfoAttempts; ++attempt) {
    clock_->Sleep(kInfoPauseMs);
    // Each read starts from a clear buffer, so an accepted reply never
    // carries bytes of the request or of a report read before it.
    info.fill(0);
    const int got = ReadReply(handle, info.data(), kFrameLength, kInfoReadMs);
    if (got < static_cast<int>(kInfoIdentityLength)) continue;
    // A link or DPI report is the mouse's own news, never the answer.
    if (mouseproto::ReportReply(std::span<const uint8_t>(info.data(), static_cast<size_t>(got))).Accepted()) {
      return true;
    }
  }
  info.fill(0);
  return false;
}

bool DeviceManager::PollInput(InfoReply& buffer, int& deviceType) {
  if (OpenFlag() == 0) return false;
  deviceType = SelectedType();
  if (HidDevice* handle = GetActiveDevice()) {
    const int got = ReadReply(handle, buffer.data(), buffer.size(), kPollReadMs, true);
    if (got > 0 && got < static_cast<int>(kNotificationLength)) {
      // Without its second byte a report would read as "not linked" or as
      // no stages; it says nothing and is dropped.
      buffer.fill(0);
      return false;
    }
    return got > 0;
  }
  // No interface takes commands: listen to the receivers, whose link
  // reports say when their mouse comes back. A receiver that reported its
  // mouse gone is still listened to, or the mouse could never return.
  std::vector<DeviceRecord*> receivers;
  {
    std::lock_guard<std::mutex> hold(lock_);
    for (auto& record : records_) {
      if (record->mode == 1 && record->handle != nullptr) receivers.push_back(record.get());
    }
  }
  for (DeviceRecord* record : receivers) {
    InfoReply report{};
    if (ReadReply(record->handle, report.data(), kFrameLength, kPollReadMs, true) <
        static_cast<int>(kNotificationLength)) {
      continue;
    }
    int state;
    int type;
    {
      std::lock_guard<std::mutex> hold(lock_);
      type = record->device_type;
      state = record->online;
    }
    if (report[0] == mouseproto::kLinkNotification) {
      if (report[1] == 1) {
        state = 1;
        InfoReply info{};
        bool answered = ReadDeviceInfo(info, record->handle);
        if (!answered) {
          clock_->Sleep(kLinkInfoRetryMs);
          answered = ReadDeviceInfo(info, record->handle);
        }
        if (answered) {
          const std::wstring deviceId = DeviceIdFromInfo(info.data());
          type = TypeOf(record->vendor_id, record->product_id, deviceId);
          std::lock_guard<std::mutex> hold(lock_);
          record->info = info;
          record->device_id = deviceId;
          record->device_type = type;
        }
      } else {
        state = 0;
      }
      {
        std::lock_guard<std::mutex> hold(lock_);
        record->online = state;
      }
      SetOnline(type, record->mode, state);
    }
    deviceType = type;
    buffer = report;
    return false;
  }
  return false;
}

void DeviceManager::CheckWireless() {
  std::vector<DeviceRecord*> receivers;
  {
    std::lock_guard<std::mutex> hold(lock_);
    for (auto& record : records_) {
      if (record->device_type == selectedType_ && record->mode == 1 && record->online == 1 && record->handle != nullptr) {
        receivers.push_back(record.get());
      }
    }
  }
  for (DeviceRecord* record : receivers) {
    InfoReply report{};
    if (ReadReply(record->handle, report.data(), kFrameLength, kPollReadMs, true) <
        static_cast<int>(kNotificationLength)) {
      continue;
    }
    if (report[0] != mouseproto::kLinkNotification) continue;
    const int state = report[1] == 1 ? 1 : 2;
    int type;
    {
      std::lock_guard<std::mutex> hold(lock_);
      record->online = state;
      type = record->device_type;
    }
    SetOnline(type, record->mode, state);
  }
}

// --- 3. Mode table ------------------------------------------------------------------

void DeviceManager::AddModeEntry(int vendorId, int productId, const std::wstring& name, int deviceType,
                                 int mode, const std::wstring& devId) {
  std::lock_guard<std::mutex> hold(lock_);
  modes_.push_back(ModeEntry{vendorId, productId, name, deviceType, mode, devId});
}

void DeviceManager::ClearModeEntries() {
  std::lock_guard<std::mutex> hold(lock_);
  modes_.clear();
}

std::vector<ModeEntry> DeviceManager::ModeEntries() const {
  std::lock_guard<std::mutex> hold(lock_);
  return modes_;
}

bool DeviceManager::IsSupported(int vendorId, int productId) const {
  std::lock_guard<std::mutex> hold(lock_);
  return std::any_of(modes_.begin(), modes_.end(), [&](const ModeEntry& entry) {
    return entry.vendor_id == vendorId && entry.product_id == productId;
  });
}

int DeviceManager::ModeOf(int vendorId, int productId) const {
  std::lock_guard<std::mutex> hold(lock_);
  for (const ModeEntry& entry : modes_) {
    if (entry.vendor_id == vendorId && entry.product_id == productId) return entry.mode;
  }
  return 0;
}

int DeviceManager::TypeOf(int vendorId, int productId, const std::wstring& deviceId) const {
  std::lock_guard<std::mutex> hold(lock_);
  return TypeOfLocked(vendorId, productId, deviceId);
}

int DeviceManager::TypeOfLocked(int vendorId, int productId, const std::wstring& deviceId) const {
  for (const ModeEntry& entry : modes_) {
    if (entry.vendor_id != vendorId || entry.product_id != productId) continue;
    if (entry.dev_id.size() < 4) return kDeviceTypeAnyId;
    if (entry.dev_id == deviceId) return entry.device_type;
  }
  return 0;
}

// --- 4. Device list -----------------------------------------------------------------

bool DeviceManager::Identify(DeviceRecord& record, bool logDetails) {
  // Read into a scratch reply so that the record only ever holds an accepted one.
  InfoReply info{};
  bool answered = ReadDeviceInfo(info, record.handle);
  if (!answered) {
    clock_->Sleep(kIdentifyRetryPauseMs);
    answered = ReadDeviceInfo(info, record.handle);
  }
  if (!answered) return false;
  const std::wstring deviceId = DeviceIdFromInfo(info.data());
  const int type = TypeOf(record.vendor_id, record.product_id, deviceId);
  {
    std::lock_guard<std::mutex> hold(lock_);
    record.info = info;
    record.device_id = deviceId;
    record.device_type = type;
  }
  if (logDetails) {
    shell::Log("  [%d] DeviceId: %s, DeviceType: %d", record.index, platform::ToUtf8(deviceId).c_str(), type);
  }
  return true;
}

void DeviceManager::EnumerateDevice() {
  shell::Log("========== EnumerateDevice Start ==========");
  std::vector<HidInterfaceInfo> nodes;
  backend_->Enumerate(nodes);
  shell::Log("Step 1: Quick scan - collecting basic device info");

  std::vector<std::unique_ptr<DeviceRecord>> fresh;
  bool cableFound = false;
  for (const HidInterfaceInfo& node : nodes) {
    if (!IsSupported(node.vendor_id, node.product_id)) continue;
    if (!IsVendorUsage(node.usage_page, node.usage)) continue;
    HidDevice* handle = backend_->Open(node.path);
    if (handle == nullptr) continue;
    auto record = std::make_unique<DeviceRecord>();
    record->index = static_cast<int>(fresh.size());
    record->vendor_id = node.vendor_id;
    record->product_id = node.product_id;
    record->path = node.path;
    record->handle = handle;
    record->release_number = node.release_number;
    record->device_type = 0;
    record->mode = ModeOf(node.vendor_id, node.product_id);
    record->online = 1;
    record->output_length = ReadOutputLength(handle);
    {
      std::lock_guard<std::mutex> hold(lock_);
      outputLengths_[handle] = record->output_length;
    }
    shell::Log("  Found [%d]: VID=0x%04X, PID=0x%04X, Mode=%s", record->index, node.vendor_id, node.product_id,
               ModeName(record->mode));
    if (record->mode == 0) cableFound = true;
    fresh.push_back(std::move(record));
  }

  if (cableFound) {
    shell::Log("Step 2: USB device found, SKIP reading 2.4G details (reduce HID traffic)");
  } else {
    shell::Log("Step 2: No USB device, will read 2.4G device details");
  }

  for (auto& record : fresh) {
    bool ask = true;
    if (cableFound) {
      if (record->mode == 1) {
        shell::Log("  [%d] 2.4G device - SKIP (USB exists)", record->index);
        ask = false;
      } else {
        shell::Log("  [%d] USB device - reading details...", record->index);
      }
    } else {
      shell::Log("  [%d] 2.4G state: %s", record->index, "Online");
      record->online = 1;
      shell::Log("  [%d] 2.4G device - reading details...", record->index);
    }
    if (ask && record->online > 0) Identify(*record, true);
    shell::Log("  [%d] Final: VID=0x%04X, PID=0x%04X, Type=%d, Mode=%d", record->index, record->vendor_id,
               record->product_id, record->device_type, record->mode);
  }

  std::lock_guard<std::mutex> hold(lock_);
  for (auto& record : fresh) records_.push_back(std::move(record));
  activeHandle_ = nullptr;
  activeRecord_ = nullptr;
}

void DeviceManager::CloseAll() {
  std::vector<std::unique_ptr<DeviceRecord>> closing;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (open_ != 1) return;
    open_ = 0;
    closing.swap(records_);
    activeHandle_ = nullptr;
    activeRecord_ = nullptr;
  }
  for (auto& record : closing) {
    ForgetHandle(record->handle);
    backend_->Close(record->handle);
  }
}

int DeviceManager::ConnectionKind() const {
  std::lock_guard<std::mutex> hold(lock_);
  if (selectedType_ == 0) return -1;
  bool receiver = false;
  for (const auto& record : records_) {
    if (record->device_type != selectedType_) continue;
    if (record->mode == 0) return 0;
    if (record->mode == 1) receiver = true;
  }
  return receiver ? 1 : -1;
}

bool DeviceManager::ListMatching(std::vector<DeviceRecord>& records, bool onlineOnly) const {
  records.clear();
  std::lock_guard<std::mutex> hold(lock_);
  for (const auto& record : records_) {
    if (selectedType_ != 0) {
      if (record->device_type != selectedType_) continue;
      if (onlineOnly && record->online != 1) continue;
    }
    records.push_back(*record);
    records.back().handle = nullptr;
  }
  return !records.empty();
}

bool DeviceManager::ListRecords(std::vector<DeviceRecord>& records) const { return ListMatching(records, false); }

bool DeviceManager::ListOnlineRecords(std::vector<DeviceRecord>& records) const {
  return ListMatching(records, true);
}

bool DeviceManager::ReleaseOf(int mode, int& release) const {
  std::lock_guard<std::mutex> hold(lock_);
  if (open_ == 0) return false;
  for (const auto& record : records_) {
    if (record->mode == mode) {
      release = record->release_number;
      return true;
    }
  }
  return false;
}

bool DeviceManager::IsPresent(int deviceType) const {
  std::lock_guard<std::mutex> hold(lock_);
  return std::any_of(records_.begin(), records_.end(), [&](const auto& record) {
    return record->device_type == deviceType && !record->device_id.empty() && record->online > 0;
  });
}

void DeviceManager::SetOnline(int deviceType, int mode, int state) {
  std::lock_guard<std::mutex> hold(lock_);
  for (auto& record : records_) {
    if (record->device_type == deviceType && record->mode == mode) record->online = state;
  }
}

bool DeviceManager::SetRecordOnline(size_t position, int state) {
  std::lock_guard<std::mutex> hold(lock_);
  if (position >= records_.size()) return false;
  records_[position]->online = state;
  return true;
}

size_t DeviceManager::RecordCount() const {
  std::lock_guard<std::mutex> hold(lock_);
  return records_.size();
}

int DeviceManager::IdentifyRemaining() {
  std::vector<DeviceRecord*> pending;
  {
    std::lock_guard<std::mutex> hold(lock_);
    for (auto& record : records_) {
      if (record->device_type == 0 && record->online > 0) pending.push_back(record.get());
    }
  }
  int identified = 0;
  for (DeviceRecord* record : pending) {
    if (Identify(*record, true) && record->device_type != 0) ++identified;
  }
  return identified;
}

// --- 5. Selection and rescan ----------------------------------------------------------

int DeviceManager::OpenFlag() const {
  std::lock_guard<std::mutex> hold(lock_);
  return open_;
}

void DeviceManager::SetOpenFlag(int flag) {
  std::lock_guard<std::mutex> hold(lock_);
  open_ = flag;
}

int DeviceManager::SelectedType() const {
  std::lock_guard<std::mutex> hold(lock_);
  return selectedType_;
}

void DeviceManager::SetSelectedType(int deviceType) {
  std::lock_guard<std::mutex> hold(lock_);
  selectedType_ = deviceType;
  activeHandle_ = nullptr;
  activeRecord_ = nullptr;
}

void DeviceManager::ClearActiveCache() {
  std::lock_guard<std::mutex> hold(lock_);
  activeHandle_ = nullptr;
  activeRecord_ = nullptr;
}

std::vector<DeviceRecord> DeviceManager::Rescan(int storedType) {
  ClearActiveCache();
  CloseAll();
  EnumerateDevice();
  std::vector<DeviceRecord> all;
  std::lock_guard<std::mutex> hold(lock_);
  open_ = 1;
  for (const auto& record : records_) {
    all.push_back(*record);
    all.back().handle = nullptr;
  }
  selectedType_ = storedType;
  activeHandle_ = nullptr;
  activeRecord_ = nullptr;
  return all;
}
