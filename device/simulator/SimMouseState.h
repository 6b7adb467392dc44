#pragma once
// What one simulated mouse's firmware holds. Commands read and change it;
// tests and the demonstration mode set it up and look at it.

#include <cstdint>
#include <string>

struct SimMouseState {
  std::string dev_id = "VA01";  // reported in info bytes 4 to 7
  uint8_t sensor_code = 0x11;
  uint8_t max_rate = 0x00;      // info byte 11: 0x10/0x20/0x40 = 2000/4000/8000 Hz, else 1000 Hz
  bool charging = false;
  uint8_t battery = 80;         // percent
  bool powered = true;          // a receiver only reaches a powered mouse
};
