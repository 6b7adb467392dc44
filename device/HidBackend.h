#pragma once
// HidBackend: the seam between the device code and the HID interfaces of the
// machine, in hidapi's shapes: enumerate, open by path, write, read with a
// time-out, close. Two implementations exist: HidapiBackend on the real
// library and the simulated mouse.
//
// Nothing here throws. Failures are results (-1, nullptr, false) and the
// backend keeps the text of the last failure per handle for the log.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One HID interface as enumeration sees it.
struct HidInterfaceInfo {
  std::string path;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t release_number = 0;
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  int interface_number = -1;
};

// An open interface. Backends derive their own handle type from it; callers
// only pass the pointer back to the backend that returned it.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;

  // All HID interfaces of the machine. False when the backend cannot
  // enumerate at all; an empty list with true means none exist.
  virtual bool Enumerate(std::vector<HidInterfaceInfo>& interfaces) = 0;
  // Opens an interface for reading and writing; nullptr on failure.
  virtual HidDevice* Open(const std::string& path) = 0;
  // Writes an output report whose first byte is the report id. Returns the
  // bytes written, or -1.
  virtual int Write(HidDevice* device, const uint8_t* data, size_t length) = 0;
  // Reads one input report (without a report id of 0) into data, at most
  // length bytes, waiting up to the time-out. Returns the bytes read, 0 when
  // nothing came, -1 on failure. Bytes beyond the report stay untouched.
  virtual int ReadTimeout(HidDevice* device, uint8_t* data, size_t length, int milliseconds) = 0;
  virtual void Close(HidDevice* device) = 0;
  // Copies the interface's report descriptor into data (at most length
  // bytes). Returns the bytes copied, or -1 when the backend cannot tell.
  virtual int GetReportDescriptor(HidDevice* device, uint8_t* data, size_t length) = 0;
  // Text of the last failure on the handle (or of the backend for nullptr).
  virtual std::wstring LastError(HidDevice* device) = 0;
};
