#include "device/DpiCodec.h"

#include <algorithm>

namespace mouseproto {

namespace {

// The encoding families; several sensor codes share one.
enum class Scheme { Split6400, Sensor17, Sensor25, Step100, Sensor37, Sensor38, Step50 };

Scheme SchemeFor(int code) {
  switch (code) {
    case 3:
    case 5:
      return Scheme::Split6400;
    case 17:
      return Scheme::Sensor17;
    case 25:
      return Scheme::Sensor25;
    case 4:
    case 16:
    case 18:
    case 53:
      return Scheme::Step100;
    case 37:
      return Scheme::Sensor37;
    case 38:
      return Scheme::Sensor38;
    default:
      return Scheme::Step50;
  }
}

struct TableRow {
  int codes[2];
  SensorRow row;
};

const TableRow kSensorTable[] = {
    {{3, 5}, {0, 12000, 50, 184, L"12000", L"50"}},
    {{4, 4}, {0, 8000, 100, 80, L"8000", L"100"}},
    {{16, 18}, {0, 4800, 100, 48, L"4800", L"100"}},
    {{17, 17}, {0, 24000, 50, 232, L"24000", L"50"}},
    {{25, 25}, {0, 30000, 100, 174, L"30000", L"100"}},
    {{37, 37}, {0, 10000, 100, 60, L"10000", L"100"}},
    {{38, 38}, {0, 10000, 200, 59, L"10000", L"200"}},
    {{53, 53}, {0, 16000, 100, 160, L"16000", L"100"}},
    {{149, 149}, {0, 30000, 50, 600, L"30000", L"50"}},
};

// Typing grid and limits per sensor: the step a typed value snaps down to
// (above 5000 a coarser step for the split sensors), and its limits.
struct TypingRule {
  int step;
  int coarse_step;  // step above 5000, 0 when the sensor has one grid
  int lower;
  int upper;
};

TypingRule TypingRuleFor(int code) {
  switch (code) {
    case 3:
    case 5:
      return {50, 0, 50, 12000};
    case 4:
      return {100, 0, 100, 8000};
    case 16:
    case 18:
      return {100, 0, 100, 4800};
    case 17:
      return {50, 0, 50, 22000};
    case 25:
      return {100, 0, 100, 30000};
    case 37:
      return {100, 1000, 100, 10000};
    case 38:
      return {100, 500, 200, 10000};
    case 53:
      return {100, 0, 100, 16000};
    case 149:
      return {50, 0, 50, 30000};
    default:
      return {50, 0, 50, 26000};
  }
}

}  // namespace

SensorRow DefaultSensorRow() { return SensorRow{}; }

SensorRow SensorRowFor(int sensor_code) {
  SensorRow result = DefaultSensorRow();
  for (const TableRow& entry : kSensorTable) {
    if (entry.codes[0] == sensor_code || entry.codes[1] == sensor_code) {
      result = entry.row;
      break;
    }
  }
  result.sensor_code = sensor_code;
  return result;
}

int EncodeDpi(int sensor_code, int d) {
  int r = 0;
  switch (SchemeFor(sensor_code)) {
    case Scheme::Split6400:
      r = d > 6400 ? (d - 6400) / 100 + 128 : d / 50;
      break;
    case Scheme::Sensor17:
      // Between 12000 and 13000 the division truncates toward zero, so all
      // of those values travel as 221 (13000).
      if (d <= 10000) {
        r = d / 50;
      } else if (d <= 12000) {
        r = (d - 10000) / 100 + 200;
      } else {
        r = (d - 13000) / 1000 + 221;
      }
      break;
    case Scheme::Sensor25:
      r = d > 16000 ? (d - 16000) / 1000 + 160 : d / 100;
      break;
    case Scheme::Step100:
      r = d / 100;
      break;
    case Scheme::Sensor37:
      r = d < 5001 ? d / 100 : (d - 5000) / 500 + 50;
      break;
    case Scheme::Sensor38:
      r = d <= 5000 ? d / 100 - 1 : (d - 5000) / 500 + 49;
      break;
    case Scheme::Step50:
      r = d / 50 - 1;
      break;
  }
  return std::clamp(r, 0, 0xFFFF);
}

int DecodeDpi(int sensor_code, int r) {
  r = std::clamp(r, 0, 0xFFFF);
  switch (SchemeFor(sensor_code)) {
    case Scheme::Split6400:
      return r > 128 ? (r - 64) * 100 : r * 50;
    case Scheme::Sensor17:
      if (r < 200) return r * 50;
      if (r <= 220) return (r - 100) * 100;
      return (r - 208) * 1000;
    case Scheme::Sensor25:
      return r >= 160 ? (r - 144) * 1000 : r * 100;
    case Scheme::Step100:
      return r * 100;
    case Scheme::Sensor37:
      return r < 50 ? r * 100 : (r - 40) * 500;
    case Scheme::Sensor38:
      return r < 50 ? (r + 1) * 100 : (r - 39) * 500;
    case Scheme::Step50:
      break;
  }
  return r * 50 + 50;
}

int ClampDpi(const SensorRow& row, int dpi) {
  return std::clamp(dpi, row.min_dpi, std::max(row.min_dpi, row.max_dpi));
}

int SliderProgressForDpi(const SensorRow& row, int dpi) {
  const int d = ClampDpi(row, dpi);
  const int progress = SchemeFor(row.sensor_code) == Scheme::Step50 ? d / 50
                                                                     : EncodeDpi(row.sensor_code, d);
  return std::clamp(progress, 1, std::max(1, row.slider_positions));
}

int DpiForSliderProgress(const SensorRow& row, int progress) {
  const int p = std::clamp(progress, 1, std::max(1, row.slider_positions));
  const int d = SchemeFor(row.sensor_code) == Scheme::Step50 ? p * 50
                                                              : DecodeDpi(row.sensor_code, p);
  return std::min(d, row.max_dpi);
}

int SnapTypedDpi(const SensorRow& row, int typed) {
  const TypingRule rule = TypingRuleFor(row.sensor_code);
  int snapped;
  if (rule.coarse_step != 0 && typed > 5000) {
    snapped = 5000 + (typed - 5000) / rule.coarse_step * rule.coarse_step;
  } else {
    snapped = typed / rule.step * rule.step;
  }
  return std::clamp(snapped, rule.lower, rule.upper);
}

}  // namespace mouseproto
