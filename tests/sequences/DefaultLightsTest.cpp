// The default light records a profile gets from its model's light effects.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestEnv.h"
#include "device/DefaultLights.h"
#include "store/SettingsStore.h"

namespace {

TEST(DefaultLights, OneRecordPerOfferedEffect) {
  struct Row {
    int mode;
    const wchar_t* name;
    int config_func;
    int reserved;
    int first_colour;
  };
  // In effect order; from mode 3 on the first colour differs.
  const Row rows[kModelLightEffects] = {
      {1, L"流光", 3, 280, 255},        {2, L"呼吸", 0x813, 281, 255},      {3, L"常亮", 0x11, 282, 16711920},
      {4, L"霓虹", 2, 283, 16711920},   {5, L"跑马", 3, 284, 16711920},     {6, L"混彩常亮", 1, 285, 16711920},
      {9, L"七彩波浪", 3, 286, 16711920}, {0, L"关闭", 0, 287, 16711920},
  };
  for (int effect = 0; effect < kModelLightEffects; ++effect) {
    const Row& row = rows[effect];
    SCOPED_TRACE(row.mode);
    const LightRecord record = DefaultLightRecord(7, effect);
    EXPECT_EQ(record.profile, 7);
    EXPECT_EQ(record.mode, row.mode);
    EXPECT_EQ(record.name, row.name);
    EXPECT_EQ(record.config_func, row.config_func);
    EXPECT_EQ(record.reserved, row.reserved);
    EXPECT_EQ(record.brightness, 4);
    EXPECT_EQ(record.speed, 2);
    EXPECT_EQ(record.direction, 0);
    EXPECT_EQ(record.colorful, 1);
    EXPECT_EQ(record.colorindex, 0);
    const int colours[7] = {row.first_colour, 65280, 16711680, 16776960, 65535, 16711935, 16777215};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(record.color_value[i], colours[i]) << i;
  }
}

TEST(DefaultLights, CreatedOnlyForAProfileWithoutRecords) {
  testenv::TempDir folder;
  SettingsStore store;
  ASSERT_TRUE(store.OpenDatabase(folder.Path(), L"lights"));
  // Only light_1 and light_8: modes 1 and 0.
  const LightEffects effects = {true, false, false, false, false, false, false, true};
  EXPECT_EQ(CreateDefaultLights(store, 2, effects), 2);
  std::vector<LightRecord> lights;
  ASSERT_EQ(store.ListLights(2, lights), 2);
  EXPECT_EQ(lights[0].mode, 1);
  EXPECT_EQ(lights[1].mode, 0);
  EXPECT_EQ(store.GetCurrentLightMode(2), 1);

  // A profile that has records keeps them as they are.
  store.SetCurrentLightMode(2, 0);
  EXPECT_EQ(CreateDefaultLights(store, 2, LightEffects{true, true, true, true, true, true, true, true}), 0);
  EXPECT_EQ(store.CountLights(2), 2);
  EXPECT_EQ(store.GetCurrentLightMode(2), 0);
  EXPECT_EQ(store.CountLights(3), 0) << "other profiles are not touched";
}

// The worker and the lighting page may both find a profile without records
// at the same moment; only one of them adds the records.
TEST(DefaultLights, TwoCallersAtOnceAddOneSet) {
  testenv::TempDir folder;
  SettingsStore store;
  ASSERT_TRUE(store.OpenDatabase(folder.Path(), L"lights"));
  const LightEffects all = {true, true, true, true, true, true, true, true};
  for (int profile = 1; profile <= 20; ++profile) {
    std::atomic<bool> go{false};
    int added[2] = {};
    std::thread callers[2];
    for (int i = 0; i < 2; ++i) {
      callers[i] = std::thread([&, i] {
        while (!go.load()) std::this_thread::yield();
        added[i] = CreateDefaultLights(store, profile, all);
      });
    }
    go.store(true);
    for (std::thread& t : callers) t.join();
    EXPECT_EQ(added[0] + added[1], kModelLightEffects) << profile;
    EXPECT_EQ(store.CountLights(profile), kModelLightEffects) << profile;
  }
}

}  // namespace
