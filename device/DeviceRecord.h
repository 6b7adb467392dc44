#pragma once
// DeviceRecord: one opened vendor interface of a supported mouse or receiver.

#include <array>
#include <cstdint>
#include <string>

class HidDevice;

// Device type of an interface whose catalog mode names no device id.
constexpr int kDeviceTypeAnyId = 101;
// Length of the stored info reply and of the info read buffer.
constexpr size_t kInfoReplyLength = 65;
// Bytes an info reply must have to be taken: up to the link byte (14).
constexpr size_t kInfoIdentityLength = 15;

struct DeviceRecord {
  int index = 0;              // position among the records of its scan
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  std::string path;
  HidDevice* handle = nullptr;  // open for the record's life; never set in copies handed out
  int release_number = 0;     // USB bcdDevice: the firmware version shown to the user
  int device_type = 0;        // 0 until identified, then the catalog's type (or 101)
  int mode = 0;               // connection mode: 0 = cable, 1 = receiver
  int online = 1;             // 1 = the mouse answers here; 0 or 2 = it does not
  size_t output_length = 0;   // output report length with the report id; 0: none declared
  std::wstring device_id;     // info reply bytes 4 to 7
  std::array<uint8_t, kInfoReplyLength> info{};  // last accepted info reply
};
