// Button assignments, macros with their events, and light records.

#include <gtest/gtest.h>

#include <vector>

#include "StoreTestSupport.h"

using storetest::QueryOne;
using storetest::StoreFixture;

namespace {

class RecordsTest : public StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    ASSERT_TRUE(Open());
  }
  static KeyRecord Key(int profile, int keyCode, int type, int value, int value2, const wchar_t* desc) {
    KeyRecord r;
    r.profile = profile;
    r.key_code = keyCode;
    r.layout_value = keyCode;
    r.layout_desc = L"90";
    r.macro_type = type;
    r.macro_value = value;
    r.macro_value2 = value2;
    r.macro_desc = desc;
    return r;
  }
  static MacroEvent Event(int macroId, int index, int type, int value, const wchar_t* desc) {
    MacroEvent e;
    e.macro_id = macroId;
    e.record_index = index;
    e.type = type;
    e.value = value;
    e.desc = desc;
    e.delay_time = 1000 + index;
    return e;
  }
  static LightRecord Light(int profile, int mode, int status) {
    LightRecord r;
    r.profile = profile;
    r.name = L"呼吸";
    r.mode = mode;
    r.brightness = 4;
    r.speed = 2;
    r.direction = 1;
    r.colorful = 1;
    r.colorindex = 3;
    for (int i = 0; i < 7; ++i) r.color_value[i] = 0x10000 * i + mode;
    r.config_func = 0x813;
    r.reserved = 281;
    r.status = status;
    return r;
  }
};

}  // namespace

TEST_F(RecordsTest, SavingAButtonReplacesItsRow) {
  const int first = store_.SaveKeyRecord(Key(1, 2, 3, 6, 0, L"Volume up"));
  ASSERT_GT(first, 0);
  const int second = store_.SaveKeyRecord(Key(1, 2, 2, 0x04, 0x03, L"Shift+ Ctrl + A"));
  EXPECT_GT(second, first);  // a new row, not an update
  EXPECT_EQ(QueryOne(File(), "SELECT count(*) FROM t_key_macro_data WHERE profile = 1 AND key_code = 2"), "1");

  KeyRecord read;
  ASSERT_TRUE(store_.GetKeyRecord(1, 2, read));
  EXPECT_EQ(read.key_id, second);
  EXPECT_EQ(read.profile, 1);
  EXPECT_EQ(read.fn_layer, 0);
  EXPECT_EQ(read.key_code, 2);
  EXPECT_EQ(read.layout_value, 2);
  EXPECT_EQ(read.layout_desc, L"90");
  EXPECT_EQ(read.macro_type, 2);
  EXPECT_EQ(read.macro_value, 4);
  EXPECT_EQ(read.macro_value2, 3);
  EXPECT_EQ(read.macro_value3, 0);
  EXPECT_EQ(read.macro_desc, L"Shift+ Ctrl + A");

  // Only the second value set (modifier alone) is still an assignment.
  EXPECT_GT(store_.SaveKeyRecord(Key(1, 3, 2, 0, 0x08, L"Win")), 0);
  // Both values 0: the row goes and the model default applies again.
  EXPECT_EQ(store_.SaveKeyRecord(Key(1, 2, 1, 0, 0, L"")), 0);
  EXPECT_FALSE(store_.GetKeyRecord(1, 2, read));
  EXPECT_TRUE(store_.GetKeyRecord(1, 3, read));
}

TEST_F(RecordsTest, ButtonListsDescriptionsAndDeletionArePerProfile) {
  for (int key = 1; key <= 3; ++key) {
    ASSERT_GT(store_.SaveKeyRecord(Key(1, key, 1, key, 0, L"p1")), 0);
    ASSERT_GT(store_.SaveKeyRecord(Key(2, key, 1, key, 0, L"p2")), 0);
  }
  std::vector<KeyRecord> list(5);
  ASSERT_EQ(store_.ListKeyRecords(1, list), 3);
  EXPECT_EQ(list[0].key_code, 1);
  EXPECT_EQ(list[2].key_code, 3);
  EXPECT_TRUE(store_.SetKeyMacroDesc(2, 3, L"Макрос 1"));
  KeyRecord read;
  ASSERT_TRUE(store_.GetKeyRecord(2, 3, read));
  EXPECT_EQ(read.macro_desc, L"Макрос 1");
  ASSERT_TRUE(store_.GetKeyRecord(1, 3, read));
  EXPECT_EQ(read.macro_desc, L"p1");
  store_.DeleteKeyRecords(1);
  EXPECT_EQ(store_.ListKeyRecords(1, list), 0);
  EXPECT_EQ(store_.ListKeyRecords(2, list), 3);
}

TEST_F(RecordsTest, MacrosAndTheirSettings) {
  const int id = store_.AddMacro(L"Custom 1");
  ASSERT_EQ(id, 1);
  MacroRecord m;
  ASSERT_TRUE(store_.GetMacro(id, m));
  EXPECT_EQ(m.name, L"Custom 1");
  EXPECT_EQ(m.play_type, 0);
  EXPECT_EQ(m.play_times, 1);
  EXPECT_EQ(m.delay_type, 1);
  EXPECT_EQ(m.delay_time, 0);

  const int second = store_.AddMacro(MacroRecord{0, L"自定义 2", 2, 9, 2, 25});
  ASSERT_EQ(second, 2);
  ASSERT_TRUE(store_.GetMacro(second, m));
  EXPECT_EQ(m.play_type, 2);
  EXPECT_EQ(m.play_times, 9);
  EXPECT_EQ(m.delay_type, 2);
  EXPECT_EQ(m.delay_time, 25);

  EXPECT_TRUE(store_.RenameMacro(id, L"Jump"));
  EXPECT_TRUE(store_.UpdateMacro(MacroRecord{second, L"Run", 1, 3, 0, 10}));
  std::vector<MacroRecord> list;
  ASSERT_EQ(store_.ListMacros(list), 2);
  EXPECT_EQ(list[0].name, L"Jump");
  EXPECT_EQ(list[1].name, L"Run");
  EXPECT_EQ(list[1].play_type, 1);
  EXPECT_EQ(list[1].delay_time, 10);
  EXPECT_FALSE(store_.GetMacro(77, m));
}

TEST_F(RecordsTest, EventsComeBackInRecordOrder) {
  const int id = store_.AddMacro(L"m");
  // Inserted out of order, one at a time and as a batch.
  ASSERT_GT(store_.AddMacroEvent(Event(id, 2, 3, 65, L"↑  A")), 0);
  store_.AddMacroEvents({Event(id, 0, 2, 65, L"↓  A"), Event(id, 3, 1, 30, L"30 ms"), Event(id, 1, 1, 10, L"10 ms")});
  std::vector<MacroEvent> events;
  ASSERT_EQ(store_.ListMacroEvents(id, events), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(events[i].record_index, i);
  EXPECT_EQ(events[0].desc, L"↓  A");
  EXPECT_EQ(events[0].type, 2);
  EXPECT_EQ(events[0].value, 65);
  EXPECT_EQ(events[0].delay_time, 1000);
  EXPECT_EQ(events[3].desc, L"30 ms");

  // Saving renumbers in list order and replaces what was there.
  ASSERT_TRUE(store_.SaveMacroEvents(id, {Event(0, 9, 4, 1, L"↓  LB"), Event(0, 5, 5, 1, L"↑  LB")}));
  ASSERT_EQ(store_.ListMacroEvents(id, events), 2);
  EXPECT_EQ(events[0].record_index, 0);
  EXPECT_EQ(events[0].macro_id, id);
  EXPECT_EQ(events[1].desc, L"↑  LB");
  EXPECT_TRUE(store_.DeleteMacroEvents(id));
  EXPECT_EQ(store_.ListMacroEvents(id, events), 0);
}

TEST_F(RecordsTest, DeletingAMacroTakesItsEventsButNotItsButtons) {
  const int keep = store_.AddMacro(L"keep");
  const int gone = store_.AddMacro(L"gone");
  store_.AddMacroEvents({Event(keep, 0, 1, 5, L"5 ms"), Event(gone, 0, 1, 5, L"5 ms"), Event(gone, 1, 1, 6, L"6 ms")});
  ASSERT_GT(store_.SaveKeyRecord(Key(1, 4, 4, gone, 0, L"gone")), 0);
  EXPECT_TRUE(store_.DeleteMacro(gone));
  MacroRecord m;
  EXPECT_FALSE(store_.GetMacro(gone, m));
  std::vector<MacroEvent> events;
  EXPECT_EQ(store_.ListMacroEvents(gone, events), 0);
  EXPECT_EQ(store_.ListMacroEvents(keep, events), 1);
  KeyRecord key;
  EXPECT_TRUE(store_.GetKeyRecord(1, 4, key));
  EXPECT_EQ(key.macro_value, gone);
}

TEST_F(RecordsTest, LightRecordsRoundTripAndTrackTheCurrentMode) {
  EXPECT_EQ(store_.CountLights(1), 0);
  for (int mode : {1, 2, 9, 0}) ASSERT_GT(store_.AddLight(Light(1, mode, 0)), 0);
  ASSERT_GT(store_.AddLight(Light(2, 1, 0)), 0);
  EXPECT_EQ(store_.CountLights(1), 4);

  LightRecord read;
  ASSERT_TRUE(store_.GetLight(1, 9, read));
  const LightRecord expected = Light(1, 9, 0);
  EXPECT_EQ(read.profile, 1);
  EXPECT_EQ(read.name, expected.name);
  EXPECT_EQ(read.mode, 9);
  EXPECT_EQ(read.brightness, 4);
  EXPECT_EQ(read.speed, 2);
  EXPECT_EQ(read.direction, 1);
  EXPECT_EQ(read.colorful, 1);
  EXPECT_EQ(read.colorindex, 3);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(read.color_value[i], expected.color_value[i]);
  EXPECT_EQ(read.config_func, 0x813);
  EXPECT_EQ(read.reserved, 281);

  // UpdateLight writes the effect's values for the given mode only; the
  // record's own mode, name and status stay as stored.
  LightRecord change = Light(1, 5, 1);
  change.name = L"other";
  change.brightness = 1;
  change.color_value[6] = 0xABCDEF;
  EXPECT_TRUE(store_.UpdateLight(2, change));
  ASSERT_TRUE(store_.GetLight(1, 2, read));
  EXPECT_EQ(read.brightness, 1);
  EXPECT_EQ(read.color_value[6], 0xABCDEF);
  EXPECT_EQ(read.name, L"呼吸");
  EXPECT_EQ(read.status, 0);
  EXPECT_FALSE(store_.GetLight(1, 5, read));
  ASSERT_TRUE(store_.GetLight(2, 1, read));
  EXPECT_EQ(read.brightness, 4);

  EXPECT_TRUE(store_.SetCurrentLightMode(1, 9));
  EXPECT_EQ(store_.GetCurrentLightMode(1), 9);
  EXPECT_EQ(store_.GetCurrentLightMode(2), 0);
  // A mode without a row leaves the profile without a current mode.
  EXPECT_TRUE(store_.SetCurrentLightMode(1, 4));
  EXPECT_EQ(store_.GetCurrentLightMode(1), 0);
  EXPECT_EQ(QueryOne(File(), "SELECT count(*) FROM t_light_data WHERE status = 1"), "0");

  std::vector<LightRecord> list(9);
  ASSERT_EQ(store_.ListLights(1, list), 4);
  EXPECT_EQ(list[2].mode, 9);
  store_.DeleteLights(1);
  EXPECT_EQ(store_.CountLights(1), 0);
  EXPECT_EQ(store_.CountLights(2), 1);
}
