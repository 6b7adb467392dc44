#include "device/simulator/MouseState.h"

#include "device/DpiCodec.h"

namespace mouseproto {

std::array<int, 6> MouseSettings::DpiValues(int sensor_code) const {
  std::array<int, 6> values{};
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = DecodeDpi(sensor_code, dpi_raw[i]);
  }
  return values;
}

void MouseSettings::SetDpiValues(int sensor_code, const std::array<int, 6>& values) {
  const SensorRow row = SensorRowFor(sensor_code);
  for (std::size_t i = 0; i < values.size(); ++i) {
    dpi_raw[i] = EncodeDpi(sensor_code, ClampDpi(row, values[i]));
  }
}

MouseSettings MouseSettings::FactoryDefaults(int sensor_code) {
  MouseSettings settings;
  settings.SetDpiValues(sensor_code, {800, 1200, 2000, 5000, 8000, 22000});
  settings.dpi_rgb = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x00FFFF, 0xFFFF00};
  settings.lighting.mode = 1;
  settings.lighting.brightness = 10;
  settings.lighting.speed = 3;
  settings.lighting.colours = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF,
                               0x00FFFF, 0xFFFF00, 0xFFFFFF};
  return settings;
}

MouseState MouseState::WithSensor(int sensor_code, const std::string& device_id) {
  MouseState state;
  state.identity.sensor_code = sensor_code;
  state.identity.device_id = device_id;
  state.factory = MouseSettings::FactoryDefaults(sensor_code);
  state.settings = state.factory;
  return state;
}

}  // namespace mouseproto
