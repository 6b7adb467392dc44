// Round trip: a profile written to the simulated mouse by one program state
// is what a fresh program state (new device manager, new database) reads
// from it at its first connection.

#include "SequenceFixture.h"
#include "platform/Text.h"

namespace seqtest {
namespace {

class RoundTripTest : public SequenceFixture {};

TEST_F(RoundTripTest, WrittenProfileIsReadBackIntoAFreshStore) {
  const int mouse = bus->AddMouse(Mouse("VA01"));
  bus->PlugCable(mouse, kVid, kAirCable);
  Worker().RunJob(DeviceWorker::kJobStart);
  ASSERT_TRUE(Worker().Sequences().WasRead(1));
  const int written = Profile();
  FillProfile(Store(), written);
  Worker().RunJob(DeviceWorker::kJobWriteProfile);

  // Restart: everything of the program goes, the mouse stays plugged in.
  testenv::TempDir freshDatabases;
  std::unique_ptr<ProgramState> before = std::move(state);
  manager = std::make_unique<DeviceManager>(bus, clock);
  state = std::make_unique<ProgramState>(*manager, *clock, freshDatabases.Path());
  Worker().RunJob(DeviceWorker::kJobStart);
  ASSERT_TRUE(Worker().Sequences().WasRead(1));
  const int read = Profile();

  SettingsStore& old = before->store;
  SettingsStore& fresh = Store();
  const wchar_t* sameKeys[] = {
      L"report_rate",      L"dpi_flag",         L"dpi_count",        L"dpi_index",        L"dpi_group0_value",
      L"dpi_group1_value", L"dpi_group2_value", L"dpi_group3_value", L"dpi_group4_value", L"dpi_group5_value",
      L"dpi_group0_rgb",   L"dpi_group1_rgb",   L"dpi_group2_rgb",   L"dpi_group3_rgb",   L"dpi_group4_rgb",
      L"dpi_group5_rgb",   L"liftoff_height",   L"sleep_light",      L"move_closelight",  L"button_respondtime",
  };
  for (const wchar_t* key : sameKeys) {
    SCOPED_TRACE(platform::ToUtf8(key));
    EXPECT_EQ(fresh.GetConfigInt(read, key), old.GetConfigInt(written, key));
  }
  // The mouse has one report rate for both links; only the sensor option
  // bits 0x08 and 0x04 travel.
  EXPECT_EQ(fresh.GetConfigInt(read, L"report_rate_wireless"), old.GetConfigInt(written, L"report_rate"));
  EXPECT_EQ(fresh.GetConfigInt(read, L"sensor_flag") & 0x0C, old.GetConfigInt(written, L"sensor_flag") & 0x0C);

  EXPECT_EQ(fresh.GetCurrentLightMode(read), 3);
  EXPECT_EQ(Worker().Sequences().LightMode(), 3);
  LightRecord oldLight, freshLight;
  ASSERT_TRUE(old.GetLight(written, 3, oldLight));
  ASSERT_TRUE(fresh.GetLight(read, 3, freshLight));
  EXPECT_EQ(freshLight.brightness, oldLight.brightness);
  EXPECT_EQ(freshLight.speed, oldLight.speed);

  // Buttons and macros have no read command; the mouse holds them.
  const mouseproto::MouseState firmware = bus->Firmware(mouse);
  EXPECT_EQ(firmware.settings.key_slots.Slot(1), (mouseproto::SlotBytes{0x80, 0x01, 0x06}));
  ASSERT_EQ(firmware.settings.macros.count(2), 1u);
  const std::vector<mouseproto::MacroWireEvent> pressA = {{0x30, 50, 0x04}, {0xB0, 1, 0x04}};
  EXPECT_EQ(firmware.settings.macros.at(2), pressA);
  EXPECT_EQ(firmware.settings.lighting.colours[0], 0x3366CC);
  EXPECT_EQ(firmware.settings.move_wakeup, 0);
}

}  // namespace
}  // namespace seqtest
