#include "device/HidapiBackend.h"

#include <hidapi/hidapi.h>

namespace {

class HidapiDevice : public HidDevice {
 public:
  explicit HidapiDevice(hid_device* handle) : handle(handle) {}
  hid_device* handle;
};

hid_device* Native(HidDevice* device) {
  auto* own = static_cast<HidapiDevice*>(device);
  return own != nullptr ? own->handle : nullptr;
}

}  // namespace

HidapiBackend::HidapiBackend() : initialised_(hid_init() == 0) {}

HidapiBackend::~HidapiBackend() {
  if (initialised_) hid_exit();
}

bool HidapiBackend::Enumerate(std::vector<HidInterfaceInfo>& interfaces) {
  interfaces.clear();
  if (!initialised_) return false;
  // hidapi returns no list both for "no device" and for a failure; only the
  // library's initialisation tells them apart here.
  hid_device_info* list = hid_enumerate(0, 0);
  for (hid_device_info* node = list; node != nullptr; node = node->next) {
    HidInterfaceInfo info;
    info.path = node->path != nullptr ? node->path : "";
    info.vendor_id = node->vendor_id;
    info.product_id = node->product_id;
    info.release_number = node->release_number;
    info.usage_page = node->usage_page;
    info.usage = node->usage;
    info.interface_number = node->interface_number;
    interfaces.push_back(std::move(info));
  }
  hid_free_enumeration(list);
  return true;
}

HidDevice* HidapiBackend::Open(const std::string& path) {
  if (!initialised_) return nullptr;
  hid_device* handle = hid_open_path(path.c_str());
  if (handle == nullptr) return nullptr;
  return new HidapiDevice(handle);
}

int HidapiBackend::Write(HidDevice* device, const uint8_t* data, size_t length) {
  hid_device* handle = Native(device);
  return handle != nullptr ? hid_write(handle, data, length) : -1;
}

int HidapiBackend::ReadTimeout(HidDevice* device, uint8_t* data, size_t length, int milliseconds) {
  hid_device* handle = Native(device);
  return handle != nullptr ? hid_read_timeout(handle, data, length, milliseconds) : -1;
}

void HidapiBackend::Close(HidDevice* device) {
  if (device == nullptr) return;
  hid_close(Native(device));
  delete static_cast<HidapiDevice*>(device);
}

std::wstring HidapiBackend::LastError(HidDevice* device) {
  const wchar_t* text = hid_error(Native(device));
  return text != nullptr ? std::wstring(text) : std::wstring();
}
