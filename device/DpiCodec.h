#pragma once
// The sensor table and the DPI encodings that depend on the sensor.
//
// Index
//   SensorRow / SensorRowFor / DefaultSensorRow  the table, selected by the
//                                                sensor code of the info reply
//   EncodeDpi / DecodeDpi                        DPI value <-> raw wire value
//   ClampDpi                                     the range check before encoding
//   SliderProgressForDpi / DpiForSliderProgress  the DPI slider's positions
//   SnapTypedDpi                                 a typed value made sendable
//
// Sensor code 38 (range 200..10000, 59 slider positions). Below 5000 the
// sensor moves in steps of 100, above it in steps of 500, and the 59 slider
// positions are exactly the values 200, 300, ..., 5000 (49 values) followed by
// 5500, 6000, ..., 10000 (10 values). The raw wire value is that position:
//   raw 1..49  <-> 200..5000,   d = (raw + 1) * 100,   raw = d / 100 - 1
//   raw 50..59 <-> 5500..10000, d = (raw - 39) * 500,  raw = (d - 5000) / 500 + 49
// so encoding, decoding and the slider agree at every position, both range
// ends included, and a typed value above 5000 is snapped to the 500 grid.
//
// For every sensor except the default row (and 149, which shares its
// encoding) the slider position is the raw wire value itself; the default
// encoding is off by one from the slider (raw = d / 50 - 1, position d / 50),
// which the slider functions keep.

#include <cstdint>

namespace mouseproto {

struct SensorRow {
  int sensor_code = 0;       // the code from the info reply (0 before any reply)
  int max_dpi = 26000;
  int min_dpi = 50;          // also the step the slider shows
  int slider_positions = 520;
  const wchar_t* range_text = L"26000";
  const wchar_t* step_text = L"50";
};

// The row for a sensor code; a code not in the table gets the last row. The
// returned row carries the given code, which the encodings select on.
SensorRow SensorRowFor(int sensor_code);
// The row that applies until the first info reply has been decoded.
SensorRow DefaultSensorRow();

// DPI value -> raw 16-bit wire value for the sensor. The result is kept in
// 0..0xFFFF; callers clamp the DPI value to the row first (ClampDpi).
int EncodeDpi(int sensor_code, int dpi);
// Raw wire value -> DPI value for the sensor.
int DecodeDpi(int sensor_code, int raw);

// The stored value limited to the row's range: below the minimum becomes the
// minimum, above the maximum becomes the maximum.
int ClampDpi(const SensorRow& row, int dpi);

// Slider progress runs from 1 to row.slider_positions.
int SliderProgressForDpi(const SensorRow& row, int dpi);
int DpiForSliderProgress(const SensorRow& row, int progress);

// A DPI value typed by the user, snapped down to the sensor's grid and then
// limited to the sensor's typing range.
int SnapTypedDpi(const SensorRow& row, int typed);

}  // namespace mouseproto
