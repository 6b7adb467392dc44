#include "device/HidapiBackend.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

class HidapiDevice : public HidDevice {
 public:
  HidapiDevice(hid_device* handle, std::string path) : handle(handle), path(std::move(path)) {}
  hid_device* handle;
  std::string path;  // the hidraw node, for the descriptor on older libraries
};

#if HID_API_VERSION < HID_API_MAKE_VERSION(0, 14, 0)
// The descriptor through the hidraw node's own ioctls, as hidapi 0.14 does.
int DescriptorFromNode(const std::string& path, uint8_t* data, size_t length) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  int size = 0;
  hidraw_report_descriptor descriptor;
  std::memset(&descriptor, 0, sizeof descriptor);
  int result = -1;
  if (ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size >= 0) {
    descriptor.size = static_cast<uint32_t>(size) < HID_MAX_DESCRIPTOR_SIZE ? static_cast<uint32_t>(size)
                                                                               : HID_MAX_DESCRIPTOR_SIZE;
    if (ioctl(fd, HIDIOCGRDESC, &descriptor) == 0) {
      const size_t copied = descriptor.size < length ? descriptor.size : length;
      std::memcpy(data, descriptor.value, copied);
      result = static_cast<int>(copied);
    }
  }
  close(fd);
  return result;
}
#endif

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
  return new HidapiDevice(handle, path);
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

int HidapiBackend::GetReportDescriptor(HidDevice* device, uint8_t* data, size_t length) {
  auto* own = static_cast<HidapiDevice*>(device);
  if (own == nullptr || data == nullptr) return -1;
#if HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0)
  return hid_get_report_descriptor(own->handle, data, length);
#else
  return DescriptorFromNode(own->path, data, length);
#endif
}

std::wstring HidapiBackend::LastError(HidDevice* device) {
  const wchar_t* text = hid_error(Native(device));
  return text != nullptr ? std::wstring(text) : std::wstring();
}
