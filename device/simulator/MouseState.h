#pragma once
// The settings a simulated mouse keeps, as its firmware would hold them: DPI
// stages as raw sensor values, colours, report rate, lift-off and sensor
// options, power options, the key slot table, the macros reassembled from
// their packets, and the lighting. CommandResponder reads and changes it.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "device/KeySlots.h"
#include "device/Lighting.h"
#include "device/MacroStream.h"

namespace mouseproto {

// What the info reply (0x30) reports; not touched by any write.
struct MouseIdentity {
  std::string device_id = "0001";  // four characters
  int sensor_code = 0;
  int max_rate = 0;        // 0x10, 0x20, 0x40, or anything for 1000 Hz
  int charge_state = 0;
  int battery_level = 100;
  int link = 1;            // 0 = a receiver whose mouse is off
};

struct MouseLighting {
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  std::array<int, kLightColourCount> colours{};
};

// The settings a factory restore puts back.
struct MouseSettings {
  int report_rate = 2;
  int dpi_index = 1;
  int dpi_count = 6;
  std::array<int, 6> dpi_raw{};  // encoded for the mouse's sensor
  std::array<int, 6> dpi_rgb{};
  int liftoff_height = 2;
  bool sensor_bit3 = false;  // sensor_flag 0x08
  bool sensor_bit2 = false;  // sensor_flag 0x04
  int sleep_light = 30;
  int move_wakeup = 0;
  int move_closelight = 1;
  int button_respondtime = 8;
  KeySlotTable key_slots;
  std::map<int, std::vector<MacroWireEvent>> macros;  // by the playing button's key code
  MouseLighting lighting;

  // The DPI stage values, decoded for a sensor.
  std::array<int, 6> DpiValues(int sensor_code) const;
  // Sets the stage values, clamped to the sensor's range and encoded.
  void SetDpiValues(int sensor_code, const std::array<int, 6>& values);

  // Stages 800, 1200, 2000, 5000, 8000, 22000 (limited to the sensor's
  // range), the six basic colours, 500 Hz, 2.0 mm lift-off, sensor options
  // off, default buttons, no macros, lighting mode 1.
  static MouseSettings FactoryDefaults(int sensor_code);
};

// Macro packets received so far of a macro still arriving.
struct MacroAssembly {
  bool active = false;
  int count = 0;
  int next_index = 0;
  std::vector<std::uint8_t> bytes;
};

struct MouseState {
  MouseIdentity identity;
  MouseSettings settings;
  MouseSettings factory;  // what 0x0F restores
  MacroAssembly assembly;

  // A mouse with the given sensor, holding its factory settings.
  static MouseState WithSensor(int sensor_code, const std::string& device_id = "0001");
};

}  // namespace mouseproto
