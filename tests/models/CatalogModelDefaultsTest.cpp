#include <gtest/gtest.h>

#include "TestEnv.h"
#include "catalog/CatalogModelDefaults.h"
#include "shell/Environment.h"
#include "store/SettingsStore.h"

namespace {

std::wstring Config(SettingsStore& store, int profile, const wchar_t* key) {
  std::wstring value;
  store.GetConfigValue(profile, key, value);
  return value;
}

}  // namespace

// The shipped descriptions seen through the sequences' interface: traits per
// model, and defaults written to a profile in full or DPI-only mode.
TEST(CatalogModelDefaults, ShippedModelsGiveTraitsAndDefaults) {
  NullCatalogSink sink;
  const Catalog catalog = ReadDeviceList(testenv::BinDir(), testenv::BinDir() / "skins/theme1", sink, nullptr);
  testenv::TempDir dir;
  SettingsStore store;
  ASSERT_TRUE(store.OpenDatabase(dir.Path(), L"veyra_swift8k"));
  CatalogModelDefaults defaults(catalog, store, testenv::BinDir());

  EXPECT_TRUE(defaults.Traits(1).lighting);
  EXPECT_FALSE(defaults.Traits(2).lighting);  // cable-only model without lighting
  EXPECT_TRUE(defaults.Traits(99).lighting);  // unknown type: the built-in traits

  // A new database's profiles, made with the model's full defaults.
  ASSERT_GT(store.EnsureProfiles(L"Profile", [&](int profile) { defaults.ApplyModelDefaults(3, profile, false); }), 0);
  EXPECT_EQ(Config(store, 1, L"report_rate"), L"64");
  ASSERT_TRUE(store.SetConfigValue(1, L"report_rate", L"1"));
  ASSERT_TRUE(store.SetConfigValue(1, L"dpi_group0_value", L"123"));
  defaults.ApplyModelDefaults(3, 1, /*dpiOnly=*/true);
  EXPECT_NE(Config(store, 1, L"dpi_group0_value"), L"123");
  EXPECT_EQ(Config(store, 1, L"report_rate"), L"1");  // DPI only leaves the rate

  defaults.ApplyModelDefaults(3, 1, /*dpiOnly=*/false);
  EXPECT_EQ(Config(store, 1, L"report_rate"), L"64");  // the 8000 Hz model's default
  EXPECT_EQ(defaults.ReportRateChoices(), 7);
}

// The worker's half of the model load: the database follows the model, the
// light effects follow its description, and a model without a description
// leaves the effects as the previous one set them.
TEST(CatalogModelDefaults, LoadModelSwitchesTheDatabaseAndTakesTheLightEffects) {
  testenv::FreshUserFolders home;
  ASSERT_TRUE(shell::CreateFolderPath(shell::DatabaseFolder()));
  NullCatalogSink sink;
  const Catalog catalog = ReadDeviceList(testenv::BinDir(), testenv::BinDir() / "skins/theme1", sink, nullptr);
  SettingsStore store;
  CatalogModelDefaults defaults(catalog, store, testenv::BinDir());
  EXPECT_EQ(defaults.Effects(), LightEffects{});

  defaults.LoadModel(1);
  ASSERT_TRUE(store.IsOpened());
  EXPECT_NE(store.Path().find("veyra_air"), std::string::npos) << store.Path();
  EXPECT_EQ(defaults.Effects(), (LightEffects{true, true, true, false, true, true, true, true}));

  testenv::TempDir empty;  // a program folder without model descriptions
  CatalogModelDefaults undescribed(catalog, store, empty.Path());
  undescribed.LoadModel(2);
  EXPECT_TRUE(store.IsOpened()) << "the database follows the model even without a description";
  EXPECT_EQ(undescribed.Effects(), LightEffects{});

  defaults.LoadModel(2);  // the cable-only model offers none
  EXPECT_EQ(defaults.Effects(), LightEffects{});
}
