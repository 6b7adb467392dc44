// The sensor table, the DPI encodings per sensor, clamping, the slider and
// typed-value snapping.

#include <gtest/gtest.h>

#include <string>

#include "device/DpiCodec.h"

using namespace mouseproto;

TEST(SensorTable, RowsBySensorCode) {
  struct Case {
    int code, max, min, positions;
    const wchar_t* range;
    const wchar_t* step;
  };
  const Case cases[] = {
      {3, 12000, 50, 184, L"12000", L"50"},    {5, 12000, 50, 184, L"12000", L"50"},
      {4, 8000, 100, 80, L"8000", L"100"},     {16, 4800, 100, 48, L"4800", L"100"},
      {18, 4800, 100, 48, L"4800", L"100"},    {17, 24000, 50, 232, L"24000", L"50"},
      {25, 30000, 100, 174, L"30000", L"100"}, {37, 10000, 100, 60, L"10000", L"100"},
      {38, 10000, 200, 59, L"10000", L"200"},  {53, 16000, 100, 160, L"16000", L"100"},
      {149, 30000, 50, 600, L"30000", L"50"},
      // Any other code, and the row before the first info reply.
      {0, 26000, 50, 520, L"26000", L"50"},    {6, 26000, 50, 520, L"26000", L"50"},
      {255, 26000, 50, 520, L"26000", L"50"},
  };
  for (const Case& c : cases) {
    const SensorRow row = SensorRowFor(c.code);
    EXPECT_EQ(row.sensor_code, c.code);
    EXPECT_EQ(row.max_dpi, c.max) << c.code;
    EXPECT_EQ(row.min_dpi, c.min) << c.code;
    EXPECT_EQ(row.slider_positions, c.positions) << c.code;
    EXPECT_EQ(std::wstring(row.range_text), c.range) << c.code;
    EXPECT_EQ(std::wstring(row.step_text), c.step) << c.code;
  }
  const SensorRow initial = DefaultSensorRow();
  EXPECT_EQ(initial.max_dpi, 26000);
  EXPECT_EQ(initial.slider_positions, 520);
}

// Each row: sensor, DPI value, raw wire value, and the value that raw decodes
// back to (differs where the encoding truncates).
TEST(DpiCodec, EncodeAndDecodePerSensor) {
  struct Case {
    int sensor, dpi, raw, decoded;
  };
  const Case cases[] = {
      // default row (149 shares it): r = d / 50 - 1, d = r * 50 + 50
      {0, 800, 15, 800},       {0, 26000, 519, 26000}, {0, 50, 0, 50},
      {149, 30000, 599, 30000}, {0, 825, 15, 800},
      // 3, 5: 50 steps up to 6400, 100 steps above
      {3, 6400, 128, 6400},    {3, 6500, 129, 6500},  {5, 12000, 184, 12000}, {3, 50, 1, 50},
      // 17: 50 steps to 10000, 100 steps to 12000, 1000 steps above
      {17, 10000, 200, 10000}, {17, 10100, 201, 10100}, {17, 12000, 220, 12000},
      {17, 12500, 221, 13000}, {17, 13000, 221, 13000}, {17, 24000, 232, 24000},
      // 25: 100 steps to 16000, 1000 steps above
      {25, 16000, 160, 16000}, {25, 17000, 161, 17000}, {25, 30000, 174, 30000},
      // 4, 16, 18, 53: 100 steps
      {4, 8000, 80, 8000},     {16, 4800, 48, 4800},  {18, 100, 1, 100},    {53, 16000, 160, 16000},
      // 37: 100 steps to 5000, 500 steps above
      {37, 5000, 50, 5000},    {37, 5500, 51, 5500},  {37, 10000, 60, 10000}, {37, 100, 1, 100},
      // 38: the chosen encoding, raw = slider position
      {38, 200, 1, 200},       {38, 5000, 49, 5000},  {38, 5500, 50, 5500}, {38, 10000, 59, 10000},
      {38, 5400, 49, 5000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDpi(c.sensor, c.dpi), c.raw) << "sensor " << c.sensor << " dpi " << c.dpi;
    EXPECT_EQ(DecodeDpi(c.sensor, c.raw), c.decoded) << "sensor " << c.sensor << " raw " << c.raw;
  }
}

TEST(DpiCodec, RawValueStaysInSixteenBits) {
  // Unclamped nonsense still gives a value the two wire bytes can hold.
  EXPECT_EQ(EncodeDpi(0, 30), 0);
  EXPECT_EQ(EncodeDpi(0, -5000), 0);
  EXPECT_EQ(EncodeDpi(0, 10'000'000), 0xFFFF);
}

TEST(DpiCodec, ClampToTheRowRange) {
  const SensorRow row = DefaultSensorRow();
  EXPECT_EQ(ClampDpi(row, 30), 50);
  EXPECT_EQ(ClampDpi(row, -1), 50);
  EXPECT_EQ(ClampDpi(row, 26001), 26000);
  EXPECT_EQ(ClampDpi(row, 1600), 1600);
  EXPECT_EQ(ClampDpi(SensorRowFor(38), 100), 200);
}

// For every sensor and every slider position: the position's DPI lies in the
// sensor's range, maps back to the same position, and survives the wire.
// The ends of the slider are the row's minimum and maximum.
TEST(DpiCodec, EverySliderPositionRoundTrips) {
  for (int code : {0, 3, 4, 5, 16, 17, 18, 25, 37, 38, 53, 149}) {
    const SensorRow row = SensorRowFor(code);
    EXPECT_EQ(DpiForSliderProgress(row, 1), row.min_dpi) << code;
    EXPECT_EQ(DpiForSliderProgress(row, row.slider_positions), row.max_dpi) << code;
    int previous = 0;
    for (int p = 1; p <= row.slider_positions; ++p) {
      const int dpi = DpiForSliderProgress(row, p);
      ASSERT_GT(dpi, previous) << "sensor " << code << " position " << p;
      ASSERT_EQ(SliderProgressForDpi(row, dpi), p) << "sensor " << code << " dpi " << dpi;
      ASSERT_EQ(DecodeDpi(code, EncodeDpi(code, dpi)), dpi) << "sensor " << code << " dpi " << dpi;
      previous = dpi;
    }
  }
}

TEST(DpiCodec, Sensor38SliderIsTheWireValue) {
  const SensorRow row = SensorRowFor(38);
  ASSERT_EQ(row.slider_positions, 59);
  for (int p = 1; p <= 59; ++p) {
    const int dpi = DpiForSliderProgress(row, p);
    EXPECT_EQ(EncodeDpi(38, dpi), p);
    EXPECT_EQ(dpi, p <= 49 ? (p + 1) * 100 : 5000 + (p - 49) * 500);
  }
  // Every value the typing rule lets through is exact on the wire.
  for (int typed = 0; typed <= 12000; typed += 50) {
    const int snapped = SnapTypedDpi(row, typed);
    EXPECT_EQ(DecodeDpi(38, EncodeDpi(38, snapped)), snapped) << typed;
  }
}

TEST(DpiCodec, SliderOutsideItsRangeIsLimited) {
  const SensorRow row = DefaultSensorRow();
  EXPECT_EQ(DpiForSliderProgress(row, 0), 50);
  EXPECT_EQ(DpiForSliderProgress(row, 9999), 26000);
  EXPECT_EQ(SliderProgressForDpi(row, 0), 1);
  EXPECT_EQ(SliderProgressForDpi(row, 99999), 520);
}

TEST(DpiCodec, TypedValuesSnapThenLimit) {
  struct Case {
    int sensor, typed, expected;
  };
  const Case cases[] = {
      {0, 26049, 26000}, {0, 30, 50},      {0, 1234, 1200},  {149, 29999, 29950},
      {3, 12345, 12000}, {5, 75, 50},      {4, 8888, 8000},  {4, 150, 100},
      {16, 4850, 4800},  {17, 23000, 22000}, {17, 1075, 1050}, {25, 16550, 16500},
      {37, 7500, 7000},  {37, 4950, 4900}, {37, 5999, 5000}, {38, 150, 200},
      {38, 5300, 5000},  {38, 7600, 7500}, {38, 12000, 10000}, {53, 16050, 16000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SnapTypedDpi(SensorRowFor(c.sensor), c.typed), c.expected)
        << "sensor " << c.sensor << " typed " << c.typed;
  }
}
