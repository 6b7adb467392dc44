#pragma once
// ModeEntry: one connection mode of a catalog model, as device discovery
// knows it. Kept by DeviceManager in catalog order.

#include <string>

struct ModeEntry {
  int vendor_id = 0;
  int product_id = 0;
  std::wstring name;    // always empty: the catalog passes no name
  int device_type = 0;  // the enclosing model's device type
  int mode = 0;         // connection mode: 0 = cable, 1 = 2.4 GHz receiver
  std::wstring dev_id;  // the identity the mouse reports, 4 characters
};
