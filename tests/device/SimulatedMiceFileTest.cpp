// The demo's simulated mice keep their firmware state in a file: what one
// bus saved, a new bus loads; a damaged file leaves fresh mice.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "DeviceFixture.h"
#include "TestEnv.h"
#include "device/simulator/SimulatedCatalog.h"
#include "device/simulator/SimulatedMiceFile.h"

namespace {

using mouseproto::MouseSettings;

// Every kind of setting away from its factory value.
MouseSettings Changed(int sensor) {
  MouseSettings s = MouseSettings::FactoryDefaults(sensor);
  s.report_rate = 1;
  s.dpi_index = 2;
  s.dpi_count = 3;
  s.SetDpiValues(sensor, {400, 800, 1600, 3200, 6400, 12000});
  s.dpi_rgb = {1, 2, 3, 0xFFFFFF, 5, 6};
  s.liftoff_height = 1;
  s.sensor_bit3 = true;
  s.sleep_light = 10;
  s.move_wakeup = 1;
  s.move_closelight = 0;
  s.button_respondtime = 4;
  s.key_slots.SetSlot(3, {0x11, 0x22, 0x33});
  s.macros[4] = {{0x30, 12, 0x04}, {0xB0, 300, 0x04}};
  s.macros[7] = {};
  s.lighting.mode = 3;
  s.lighting.brightness = 7;
  s.lighting.speed = 2;
  s.lighting.colours = {10, 20, 30, 40, 50, 60, 70};
  return s;
}

std::string Text(const SimulatedHid& bus, const std::vector<SimulatedModel>& models) {
  SimulatedMiceFile::Entries entries;
  for (const SimulatedModel& m : models) entries.emplace_back(m.device_type, bus.Firmware(m.mouse).settings);
  return SimulatedMiceFile::Format(entries);
}

TEST(SimulatedMiceFile, FormatAndParseKeepEverySetting) {
  const SimulatedMiceFile::Entries entries = {{1, Changed(17)}, {3, MouseSettings::FactoryDefaults(149)}};
  const std::string text = SimulatedMiceFile::Format(entries);
  SimulatedMiceFile::Entries back;
  std::string error;
  ASSERT_TRUE(SimulatedMiceFile::Parse(text, back, &error)) << error;
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].first, 1);
  EXPECT_EQ(back[1].first, 3);
  EXPECT_EQ(back[0].second.DpiValues(17), (std::array<int, 6>{400, 800, 1600, 3200, 6400, 12000}));
  EXPECT_EQ(back[0].second.key_slots.Slot(3), (mouseproto::SlotBytes{0x11, 0x22, 0x33}));
  EXPECT_EQ(back[0].second.macros.at(4)[1], (mouseproto::MacroWireEvent{0xB0, 300, 0x04}));
  EXPECT_TRUE(back[0].second.macros.at(7).empty());
  EXPECT_EQ(back[0].second.lighting.colours[6], 70);
  EXPECT_EQ(SimulatedMiceFile::Format(back), text);
}

TEST(SimulatedMiceFile, DamagedTextIsRefusedWhole) {
  const std::string good = SimulatedMiceFile::Format({{1, Changed(17)}});
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"other header", replaced("orvane simulated mice 1", "orvane simulated mice 2")},
      {"cut short", good.substr(0, good.size() / 2)},
      {"no end", good.substr(0, good.rfind("end\n"))},
      {"unknown key", replaced("dpi_count 3", "dpi_cnt 3")},
      {"count out of range", replaced("dpi_count 3", "dpi_count 7")},
      {"negative", replaced("report_rate 1", "report_rate -1")},
      {"not a number", replaced("liftoff_height 1", "liftoff_height one")},
      {"extra value", replaced("liftoff_height 1", "liftoff_height 1 2")},
      {"short slot table", replaced("key_slots", "key_slots 1")},
      {"macro shorter than stated", replaced("macro 4 2", "macro 4 3")},
      {"same mouse twice", good + good.substr(good.find("mouse"))},
      {"binary", std::string("orvane simulated mice 1\nmouse 1\n\0\xff\n", 31)},
  };
  for (const Case& c : cases) {
    SimulatedMiceFile::Entries out;
    std::string error;
    EXPECT_FALSE(SimulatedMiceFile::Parse(c.text, out, &error)) << c.what;
    EXPECT_TRUE(out.empty()) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST(SimulatedMiceFile, ASecondBusMeetsTheSavedMice) {
  testenv::TempDir dir;
  const auto path = dir.Path() / "sub" / SimulatedMiceFile::kFileName;
  auto clock = std::make_shared<VirtualClock>();
  std::string saved;
  {
    SimulatedHid bus(clock);
    const auto models = PlugCatalogMice(bus, devicetest::CatalogModes());
    SimulatedMiceFile file(path);
    ASSERT_TRUE(file.Load(bus, models, nullptr));
    // Fresh mice are not written.
    ASSERT_TRUE(file.SaveIfChanged(bus, models, nullptr));
    EXPECT_FALSE(std::filesystem::exists(path));
    bus.UpdateFirmware(models[0].mouse, [](mouseproto::MouseState& s) { s.settings = Changed(s.identity.sensor_code); });
    ASSERT_TRUE(file.SaveIfChanged(bus, models, nullptr));
    saved = Text(bus, models);
  }
  ASSERT_TRUE(std::filesystem::exists(path));
  SimulatedHid bus(clock);
  const auto models = PlugCatalogMice(bus, devicetest::CatalogModes());
  SimulatedMiceFile file(path);
  ASSERT_TRUE(file.Load(bus, models, nullptr));
  EXPECT_EQ(Text(bus, models), saved);
  EXPECT_EQ(bus.Firmware(models[0].mouse).settings.dpi_count, 3);
  // The other mice kept their factory settings.
  EXPECT_EQ(bus.Firmware(models[1].mouse).settings.dpi_count, 6);
}

TEST(SimulatedMiceFile, ADamagedFileLeavesFreshMiceAndIsReplacedOnTheNextChange) {
  testenv::TempDir dir;
  const auto path = dir.Path() / SimulatedMiceFile::kFileName;
  std::ofstream(path) << "orvane simulated mice 1\nmouse 1\ndpi_count 9\nend\n";
  auto clock = std::make_shared<VirtualClock>();
  SimulatedHid bus(clock);
  const auto models = PlugCatalogMice(bus, devicetest::CatalogModes());
  const std::string fresh = Text(bus, models);
  SimulatedMiceFile file(path);
  std::string error;
  EXPECT_FALSE(file.Load(bus, models, &error));
  EXPECT_NE(error.find("line 3"), std::string::npos) << error;
  EXPECT_EQ(Text(bus, models), fresh);
  bus.UpdateFirmware(models[0].mouse, [](mouseproto::MouseState& s) { s.settings.dpi_count = 2; });
  ASSERT_TRUE(file.SaveIfChanged(bus, models, nullptr));
  SimulatedMiceFile::Entries back;
  std::ifstream in(path);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(SimulatedMiceFile::Parse(text, back, &error)) << error;
  EXPECT_EQ(back[0].second.dpi_count, 2);
}

}  // namespace
