// The device sequences against the simulated mouse on the virtual clock:
// connecting (once per device type), a receiver whose mouse is off, the
// whole-profile write with its order and pauses, the button functions with
// a pending macro, the DPI defaults and the factory restore.

#include <map>

#include "SequenceFixture.h"
#include "platform/Text.h"

namespace seqtest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr std::array<int, 7> kReadCommands = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17};

int CountReads(const std::vector<int>& commands) {
  return static_cast<int>(std::count_if(commands.begin(), commands.end(), [](int c) { return c >= 0x11 && c <= 0x17; }));
}

class SequencesTest : public SequenceFixture {
 protected:
  // The cable-only model (device type 2), connected through job 2.
  int ConnectCore() {
    mouse = bus->AddMouse(Mouse("VC02"));
    plug = bus->PlugCable(mouse, kVid, kCoreCable, 0x0142);
    Worker().RunJob(DeviceWorker::kJobConnect);
    return plug;
  }

  int mouse = -1;
  int plug = -1;
};

TEST_F(SequencesTest, ConnectReadsTheMouseOnceAndThenOnlyShowsBatteryAndVersion) {
  ConnectCore();
  const std::vector<int> first = Commands(plug);
  // Identification during the rescan, then the seven reads in their order.
  EXPECT_EQ(first.front(), 0x30);
  std::vector<int> reads;
  for (int c : first) {
    if (c != 0x30) reads.push_back(c);
  }
  EXPECT_THAT(reads, ElementsAreArray(kReadCommands));
  EXPECT_TRUE(Worker().Sequences().WasRead(2));
  EXPECT_EQ(Profile(), 1);
  EXPECT_TRUE(Observer().Called("ShowFirmwareVersion 322"));
  EXPECT_TRUE(Observer().Called("CheckOnlineVersion"));
  // The mouse's factory settings are now the profile's.
  EXPECT_EQ(Store().GetConfigInt(1, L"dpi_group3_value"), 5000);
  EXPECT_EQ(Store().GetConfigInt(1, L"report_rate_wireless"), 2);
  EXPECT_EQ(Store().GetConfigInt(1, L"sleep_light"), 30);

  // Change the mouse behind the program's back: a second connection must
  // not read it again.
  bus->UpdateFirmware(mouse, [](mouseproto::MouseState& state) { state.settings.sleep_light = 90; });
  Forget();
  Worker().RunJob(DeviceWorker::kJobConnect);
  EXPECT_EQ(CountReads(Commands(plug)), 0);
  EXPECT_EQ(Store().GetConfigInt(1, L"sleep_light"), 30);
  const auto calls = Observer().Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "SetBatteryInfo 80 0"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "ShowFirmwareVersion 322"), calls.end());
  EXPECT_EQ(calls.back(), "CheckOnlineVersion");
}

TEST_F(SequencesTest, ConnectOrderOfRefreshes) {
  ConnectCore();
  std::vector<std::string> pages;
  for (const std::string& call : Observer().Calls()) {
    if (call.rfind("Refresh", 0) == 0 || call.rfind("Show", 0) == 0 || call == "CheckOnlineVersion" ||
        call.rfind("SetBatteryInfo", 0) == 0) {
      pages.push_back(call);
    }
  }
  // Lighting refreshes because the model has lighting; the battery first
  // shows the placeholders, then the info reply's values.
  EXPECT_THAT(pages, ElementsAre("ShowModel 2", "ShowDeviceState 51", "ShowProfile 1", "RefreshKeyPage", "RefreshMacroPage",
                                 "RefreshDPI", "RefreshLighting", "SetBatteryInfo 0 100", "SetBatteryInfo 80 0",
                                 "RefreshKeyPage", "RefreshMacroPage", "RefreshDPI", "RefreshLighting",
                                 "ShowFirmwareVersion 322", "CheckOnlineVersion"));
}

// A reply cut short is refused as a whole: the group it answers keeps the
// profile's values, even where the missing bytes would decode as zeros,
// while the other groups of the same read are still taken.
TEST_F(SequencesTest, ShortRepliesLeaveTheirGroupUntouched) {
  struct Case {
    int command;
    std::vector<size_t> cuts;  // reply lengths tried, each below the layout's need
  };
  const Case cases[] = {
      {0x12, {2, 4}},       // report rate needs byte 4
      {0x13, {2, 5, 26}},   // DPI stages need bytes 4 to 26
      {0x14, {2, 10, 21}},  // colours need bytes 4 to 21
      {0x15, {2, 5}},       // lighting needs bytes 4 and 5
      {0x16, {2, 5, 6}},    // lift-off needs bytes 4 to 6
      {0x17, {2, 5, 7}},    // power options need bytes 4 to 7
  };
  // The keys each read stores, and values the mouse does not hold.
  const std::map<int, std::vector<std::pair<std::wstring, int>>> groups = {
      {0x12, {{L"report_rate", 8}, {L"report_rate_wireless", 8}}},
      {0x13, {{L"dpi_flag", 3}, {L"dpi_count", 3}, {L"dpi_index", 2}, {L"dpi_group0_value", 450},
              {L"dpi_group1_value", 950}, {L"dpi_group2_value", 1450}, {L"dpi_group3_value", 1950},
              {L"dpi_group4_value", 2450}, {L"dpi_group5_value", 2950}}},
      {0x14, {{L"dpi_group0_rgb", 0x010203}, {L"dpi_group1_rgb", 0x040506}, {L"dpi_group2_rgb", 0x070809},
              {L"dpi_group3_rgb", 0x0A0B0C}, {L"dpi_group4_rgb", 0x0D0E0F}, {L"dpi_group5_rgb", 0x101112}}},
      {0x16, {{L"liftoff_height", 1}, {L"sensor_flag", 0x08 | 0x01}}},
      {0x17, {{L"sleep_light", 77}, {L"move_closelight", 0}, {L"button_respondtime", 3}}},
  };
  constexpr int kStoredMode = 3;  // the profile's light mode
  constexpr int kMouseMode = 2;   // the mouse's
  ConnectCore();
  bus->UpdateFirmware(mouse, [](mouseproto::MouseState& state) {
    state.settings.lighting.mode = kMouseMode;
    state.settings.lighting.brightness = 3;
    state.settings.lighting.speed = 1;
  });
  const int profile = Profile();
  ASSERT_GT(Store().CountLights(profile), 0) << "the connection created the light records";

  for (const Case& c : cases) {
    for (size_t cut : c.cuts) {
      SCOPED_TRACE(::testing::Message() << "command 0x" << std::hex << c.command << std::dec << " cut to " << cut);
      for (const auto& [command, keys] : groups) {
        for (const auto& [key, value] : keys) Store().SetConfigInt(profile, key, value);
      }
      Store().SetCurrentLightMode(profile, kStoredMode);
      LightRecord light;
      ASSERT_TRUE(Store().GetLight(profile, kMouseMode, light));
      light.brightness = 9;
      light.speed = 4;
      Store().UpdateLight(kMouseMode, light);
      Worker().Sequences().SetLightMode(kStoredMode);

      bus->CutReply(plug, static_cast<uint8_t>(c.command), cut);
      Worker().Sequences().ClearReadTypes();
      ASSERT_TRUE(Worker().Sequences().ReadDeviceSettings());

      for (const auto& [command, keys] : groups) {
        for (const auto& [key, value] : keys) {
          if (command == c.command) {
            EXPECT_EQ(Store().GetConfigInt(profile, key), value) << platform::ToUtf8(key) << " kept";
          } else {
            EXPECT_NE(Store().GetConfigInt(profile, key), value) << platform::ToUtf8(key) << " read";
          }
        }
      }
      ASSERT_TRUE(Store().GetLight(profile, kMouseMode, light));
      if (c.command == 0x15) {
        EXPECT_EQ(Store().GetCurrentLightMode(profile), kStoredMode);
        EXPECT_EQ(Worker().Sequences().LightMode(), kStoredMode);
        EXPECT_EQ(light.brightness, 9);
        EXPECT_EQ(light.speed, 4);
      } else {
        EXPECT_EQ(Store().GetCurrentLightMode(profile), kMouseMode);
        EXPECT_EQ(light.brightness, 3);
        EXPECT_EQ(light.speed, 1);
      }
    }
  }
}

TEST_F(SequencesTest, ReceiverWhoseMouseIsOffStopsWithTheLogLine) {
  bus->SetReceiversAnswerForOffMice(true);
  mouse = bus->AddMouse(Mouse("VA01"));
  bus->UpdateFirmware(mouse, [](mouseproto::MouseState& state) {
    state.identity.battery_level = 35;
    state.identity.charge_state = 1;
  });
  plug = bus->PlugReceiver(mouse, kVid, kAirReceiver);
  bus->SetMousePower(mouse, false);
  Worker().RunJob(DeviceWorker::kJobConnect);

  EXPECT_EQ(CountReads(Commands(plug)), 0);
  EXPECT_FALSE(Worker().Sequences().WasRead(1));
  EXPECT_EQ(Worker().Sequences().LinkByte(), 0);
  EXPECT_THAT(Log(), ::testing::Contains("无线设备未连接"));
  EXPECT_THAT(Log(), ::testing::Contains("获取鼠标数据异常, 当前模式: 1"));
  // The reply's battery values are shown; nothing after them.
  const auto calls = Observer().Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "SetBatteryInfo 35 1");
  EXPECT_EQ(calls.back(), "SetDeviceBattery 1 1 35");
  EXPECT_FALSE(Observer().Called("CheckOnlineVersion"));
}

TEST_F(SequencesTest, NoMouseAtAllStopsBeforeTheProfiles) {
  Worker().RunJob(DeviceWorker::kJobConnect);
  EXPECT_FALSE(Observer().Called("RefreshKeyPage"));
  EXPECT_EQ(Profile(), 1);
  std::vector<ProfileRecord> profiles;
  EXPECT_EQ(Store().ListProfiles(profiles), 0);
}

TEST_F(SequencesTest, WriteProfileOrderPausesAndFrames) {
  ConnectCore();
  const FilledProfile filled = FillProfile(Store(), Profile());
  Forget();
  Worker().RunJob(DeviceWorker::kJobWriteProfile);

  // Macro A in one packet, macro B in two, none for the missing macro; then
  // the groups, each after its 100 ms pause.
  EXPECT_THAT(Commands(plug), ElementsAre(0x08, 0x08, 0x08, 0x09, 0x03, 0x04, 0x02, 0x06, 0x07, 0x05));
  EXPECT_EQ(clock->Pauses(),
            (std::vector<int>{66, 66, 66, 100, 66, 100, 66, 100, 66, 100, 66, 100, 66, 100, 66, 100, 66}));
  EXPECT_THAT(Observer().Calls(), ElementsAre("RefreshKeyPage", "RefreshDPI", "RefreshLighting"));

  const auto requests = bus->Requests(plug);
  const std::vector<uint8_t> macroA = {
      0x00,                    // report id
      0x08,                    // write one macro
      0x00,                    //
      0x01,                    // packet 0 of 1
      0x09,                    // stream length
      0x02,                    // played by button 2
      0x30, 0x32, 0x00, 0x04,  // A down, 50 ms
      0xB0, 0x01, 0x00, 0x04,  // A up, 1 ms
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0x1D,                    // checksum
  };
  EXPECT_EQ(requests.at(0), macroA);
  EXPECT_EQ(requests.at(1)[3], 0x02);  // packet 0 of 2
  EXPECT_EQ(requests.at(1)[4], 27);
  EXPECT_EQ(requests.at(2)[3], 0x12);  // packet 1 of 2
  EXPECT_EQ(requests.at(2)[4], 2);

  const std::vector<uint8_t> buttons = {
      0x00, 0x09, 0x00,
      0x01,              // single packet
      0x15,              // 21 slots stated
      0x20, 0x01, 0x00,  // slot 0: left button (default)
      0x80, 0x01, 0x06,  // slot 1: Ctrl+C
      0xA0, 0x22, 0x01,  // slot 2: macro A, played a number of times, once
      0x20, 0x08, 0x00,  // slot 3: default kept, its macro is gone
      0xA0, 0x14, 0x00,  // slot 4: macro B, repeat mode
      0x50, 0x01, 0x00,  // slot 5: DPI (default)
      0x70, 0x04, 0x00,  // slot 6 (default)
      0x70, 0x03, 0x00,  // slot 7 (default)
      0x00, 0x00, 0x00,  // slot 8
      0x7F,              // checksum
  };
  EXPECT_EQ(requests.at(3), buttons);

  std::vector<uint8_t> lighting(65, 0);
  const uint8_t lightingHead[] = {
      0x00, 0x05, 0x00, 0x01,
      0x05,              // stated length of mode 3
      0x03,              // mode 3
      0xC5,              // brightness 12, speed 5
      0xCC, 0x66, 0x33,  // colour: red, green, blue
  };
  std::copy(std::begin(lightingHead), std::end(lightingHead), lighting.begin());
  lighting[32] = static_cast<uint8_t>(0x03 + 0xC5 + 0xCC + 0x66 + 0x33);
  EXPECT_EQ(requests.at(9), lighting);

  const mouseproto::MouseState firmware = bus->Firmware(mouse);
  EXPECT_EQ(firmware.settings.macros.at(2).size(), 2u);
  EXPECT_EQ(firmware.settings.macros.at(4).size(), 7u);
  EXPECT_EQ(firmware.settings.macros.count(3), 0u);
  (void)filled;
}

TEST_F(SequencesTest, ButtonFunctionsJobSendsThePendingMacroFirstOnce) {
  ConnectCore();
  const FilledProfile filled = FillProfile(Store(), Profile());
  struct Case {
    const char* name;
    int pendingKey;  // -1: no pending macro
    std::vector<int> commands;
  } cases[] = {
      {"no pending macro", -1, {0x09}},
      {"macro A on button 2", 2, {0x08, 0x09}},
      {"macro B on button 4", 4, {0x08, 0x08, 0x09}},
      {"button 3, whose macro is gone", 3, {0x09}},
      {"button 1 has no macro", 1, {0x09}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.pendingKey >= 0) Worker().Sequences().SetPendingMacro(c.pendingKey);
    Forget();
    Worker().RunJob(DeviceWorker::kJobButtonFunctions);
    EXPECT_EQ(Commands(plug), c.commands);
    int key = 0;
    EXPECT_FALSE(Worker().Sequences().PendingMacro(key));
    EXPECT_EQ(key, -1);
  }
  (void)filled;
}

// A macro longer than 15 packets is never sent, and its button keeps the
// entry the mouse was last given for it, so it cannot point at a macro the
// mouse does not hold; the page is told.
TEST_F(SequencesTest, AMacroTooLongToSendKeepsTheButtonsPreviousEntry) {
  ConnectCore();
  const FilledProfile filled = FillProfile(Store(), Profile());
  // 102 events: 1 + 4 * 102 = 409 bytes, more than 15 packets of 27 hold.
  // Played three times, so its entry would differ from macro A's.
  MacroRecord longRecord;
  longRecord.name = L"Too long";
  longRecord.play_type = 0;
  longRecord.play_times = 3;
  const int tooLong = Store().AddMacro(longRecord);
  std::vector<MacroEvent> events;
  for (int i = 0; i < 51; ++i) {
    events.push_back(Event(tooLong, 2, kVkA));
    events.push_back(Event(tooLong, 3, kVkA));
  }
  Store().SaveMacroEvents(tooLong, events);

  // The table as the mouse got it last: macro A on button 2.
  Worker().Sequences().SetPendingMacro(2);
  Worker().RunJob(DeviceWorker::kJobButtonFunctions);
  const std::vector<uint8_t> before = bus->Requests(plug).back();
  ASSERT_EQ(before.at(1), 0x09);
  const std::vector<uint8_t> slot2(before.begin() + 5 + 6, before.begin() + 5 + 9);
  ASSERT_NE(slot2, (std::vector<uint8_t>{0x20, 0x04, 0x00})) << "button 2 plays macro A";

  struct Case {
    const char* what;
    int job;
    int pendingKey;  // -1: none
    std::vector<int> commands;
  };
  const Case cases[] = {
      {"key page assigns the long macro", DeviceWorker::kJobButtonFunctions, 2, {0x09}},
      {"button functions again, nothing pending", DeviceWorker::kJobButtonFunctions, -1, {0x09}},
      // Macro B (two packets) still goes; the long one does not.
      {"whole profile", DeviceWorker::kJobWriteProfile, -1, {0x08, 0x08, 0x09, 0x03, 0x04, 0x02, 0x06, 0x07, 0x05}},
  };
  Store().SaveKeyRecord(Key(Profile(), 2, 4, tooLong));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.pendingKey >= 0) Worker().Sequences().SetPendingMacro(c.pendingKey);
    Forget();
    Worker().RunJob(c.job);
    EXPECT_EQ(Commands(plug), c.commands);
    std::vector<uint8_t> buttons;
    for (const auto& request : bus->Requests(plug)) {
      if (request.at(1) == 0x09) buttons = request;
    }
    ASSERT_FALSE(buttons.empty());
    EXPECT_EQ(std::vector<uint8_t>(buttons.begin() + 5 + 6, buttons.begin() + 5 + 9), slot2);
    // Button 4 keeps macro B; the mouse still holds macro A for button 2.
    EXPECT_EQ(buttons[5 + 12], before[5 + 12]);
    EXPECT_EQ(bus->Firmware(mouse).settings.macros.count(2), 1u);
    const bool told = Observer().Called("MacroTooLong 2 " + std::to_string(tooLong));
    EXPECT_EQ(told, c.pendingKey == 2 || c.job == DeviceWorker::kJobWriteProfile);
  }

  // After a factory restore the mouse holds its defaults: that is what the
  // button keeps then.
  Worker().RunJob(DeviceWorker::kJobFactoryRestore);
  Store().SaveKeyRecord(Key(Profile(), 2, 4, tooLong));
  Forget();
  Worker().RunJob(DeviceWorker::kJobButtonFunctions);
  const std::vector<uint8_t> after = bus->Requests(plug).back();
  EXPECT_EQ(std::vector<uint8_t>(after.begin() + 5 + 6, after.begin() + 5 + 9),
            (std::vector<uint8_t>{0x20, 0x04, 0x00}));
  (void)filled;
}

TEST_F(SequencesTest, FactoryRestoreLeavesTheModelsDpiStagesAndColours) {
  ConnectCore();
  FillProfile(Store(), Profile());
  Worker().RunJob(DeviceWorker::kJobWriteProfile);
  Forget();
  Worker().RunJob(DeviceWorker::kJobFactoryRestore);

  EXPECT_THAT(Commands(plug), ElementsAre(0x0F, 0x03, 0x04, 0x06, 0x05));
  EXPECT_EQ(clock->Pauses(), (std::vector<int>{66, 10, 66, 10, 66, 66, 500, 66}));

  const mouseproto::MouseState firmware = bus->Firmware(mouse);
  EXPECT_EQ(firmware.settings.DpiValues(17), (std::array<int, 6>{400, 900, 1800, 3600, 7200, 12000}));
  EXPECT_EQ(firmware.settings.dpi_rgb, FixedModel::kColours);
  EXPECT_EQ(firmware.settings.dpi_count, FixedModel::kCount);
  EXPECT_EQ(firmware.settings.dpi_index, FixedModel::kIndex);
  // Factory lift-off and sensor options; the restore command cleared the macros.
  EXPECT_EQ(firmware.settings.liftoff_height, 2);
  EXPECT_FALSE(firmware.settings.sensor_bit3);
  EXPECT_FALSE(firmware.settings.sensor_bit2);
  EXPECT_TRUE(firmware.settings.macros.empty());
  EXPECT_EQ(firmware.settings.lighting.mode, 1);

  // The profile: buttons back to the model's, the model's full defaults.
  std::vector<KeyRecord> keys;
  EXPECT_EQ(Store().ListKeyRecords(Profile(), keys), 0);
  EXPECT_EQ(Store().GetConfigInt(Profile(), L"report_rate"), 1);
  EXPECT_EQ(Store().GetConfigInt(Profile(), L"sensor_flag"), 0);
  // The DPI controls got the model's stages, count and selected stage.
  const auto calls = Observer().Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "SetStage 2 1800 7372944"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "SelectStageCount 5"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "SelectStage 2"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "MoveSliderToDpi 1800"), calls.end());
}

TEST_F(SequencesTest, RestoreDpiDefaultsSelectsStageZeroWhenTheIndexIsBeyondTheCount) {
  ConnectCore();
  state->model.store = nullptr;  // the model gives nothing: the profile's own values stand
  Store().SetConfigInt(Profile(), L"dpi_count", 3);
  Store().SetConfigInt(Profile(), L"dpi_index", 4);
  Forget();
  Worker().RunJob(DeviceWorker::kJobDpiDefaults);
  EXPECT_TRUE(Observer().Called("SelectStageCount 3"));
  EXPECT_TRUE(Observer().Called("SelectStage 0"));
  EXPECT_EQ(clock->Pauses(), (std::vector<int>{10, 66, 10, 66}));
  EXPECT_THAT(Commands(plug), ElementsAre(0x03, 0x04));
}

}  // namespace
}  // namespace seqtest
