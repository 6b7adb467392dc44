// Every model description shipped beside the program: one per catalog
// model, readable, and holding only values the rest of the program accepts.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "TestEnv.h"
#include "catalog/Catalog.h"
#include "catalog/ModelDescription.h"
#include "device/ButtonCodes.h"
#include "device/DpiCodec.h"
#include "device/KeySlots.h"
#include "markup/MarkupDocument.h"
#include "platform/Text.h"
#include "shell/TextIds.h"
#include "store/SettingsStore.h"

namespace fs = std::filesystem;

namespace {

// The sensor each model's firmware reports in its info reply (the simulated
// mice report the same, device/simulator/SimulatedCatalog.cpp).
const std::map<std::wstring, int> kModelSensor = {
    {L"veyra_air", 17},
    {L"veyra_core", 53},
    {L"veyra_swift8k", 149},
};

bool IsTextId(int id) {
  const auto ids = shell::TextIds();
  return std::binary_search(ids.begin(), ids.end(), id);
}

class ShippedModels : public ::testing::Test {
 protected:
  void SetUp() override {
    NullCatalogSink sink;
    catalog_ = ReadDeviceList(testenv::BinDir(), testenv::BinDir() / "skins" / "theme1", sink, nullptr);
    ASSERT_GE(catalog_.models.size(), 3u);
  }
  Catalog catalog_;
};

TEST_F(ShippedModels, OneWellFormedDescriptionPerCatalogModel) {
  std::set<std::wstring> attrs;
  for (const CatalogEntry& model : catalog_.models) attrs.insert(model.device_attr);
  EXPECT_EQ(attrs.size(), catalog_.models.size()) << "device attributes are unique";

  std::set<std::wstring> files;
  for (const auto& entry : fs::directory_iterator(testenv::BinDir() / "device"))
    if (entry.path().extension() == ".xml") files.insert(platform::FromUtf8(entry.path().stem().string()));
  EXPECT_EQ(files, attrs);

  for (const std::wstring& attr : attrs) {
    SCOPED_TRACE(platform::ToUtf8(attr));
    MarkupDocument doc;
    ASSERT_TRUE(doc.LoadFile(ModelDescriptionPath(testenv::BinDir(), attr)));
    EXPECT_TRUE(doc.IsWellFormed()) << platform::ToUtf8(doc.GetResult());
    EXPECT_TRUE(kModelSensor.count(attr)) << "sensor of the model";
  }
}

TEST_F(ShippedModels, DescriptionsGiveEveryPartInOrder) {
  for (const CatalogEntry& entry : catalog_.models) {
    SCOPED_TRACE(platform::ToUtf8(entry.device_attr));
    const auto model = ReadModelDescription(ModelDescriptionPath(testenv::BinDir(), entry.device_attr));
    ASSERT_TRUE(model);
    // A missing part would silently keep the previous model's state.
    ASSERT_TRUE(model->picture && model->lighting && model->custom && model->firmware_url && model->buttons);
    EXPECT_FALSE(model->picture->empty());
    EXPECT_EQ(*model->firmware_url, L"https://orvane.example.org/firmware/" + entry.device_attr);
    int enabled = 0;
    for (const auto& effect : model->effects) {
      ASSERT_TRUE(effect) << "every light_k is given";
      enabled += *effect ? 1 : 0;
    }
    if (*model->lighting) {
      EXPECT_GT(enabled, 0);
      EXPECT_TRUE(*model->effects[7]) << "a model with lighting can turn it off (light mode 0)";
    } else {
      EXPECT_EQ(enabled, 0);
    }
  }
}

TEST_F(ShippedModels, ButtonsHaveKnownTextsValidFunctionsAndPlacesOnThePicture) {
  const mouseproto::KeySlotTable mouseDefaults;
  for (const CatalogEntry& entry : catalog_.models) {
    SCOPED_TRACE(platform::ToUtf8(entry.device_attr));
    const auto model = ReadModelDescription(ModelDescriptionPath(testenv::BinDir(), entry.device_attr));
    ASSERT_TRUE(model && model->buttons);
    ASSERT_GE(model->buttons->size(), 6u);
    EXPECT_EQ(model->buttons->front().key_value, 0) << "item 0 is the left button";

    std::set<int> keyCodes;
    for (const ModelButton& button : *model->buttons) {
      SCOPED_TRACE("key " + std::to_string(button.key_value));
      EXPECT_TRUE(IsTextId(button.NameId())) << button.NameId();
      EXPECT_TRUE(IsTextId(button.FuncDescId())) << button.FuncDescId();
      EXPECT_TRUE(keyCodes.insert(button.key_value).second) << "key codes are unique";
      EXPECT_TRUE(button.key_value >= 0 && button.key_value < mouseproto::kTravellingKeySlots)
          << "the slot reaches the mouse";

      // The default function is a fixed row of the code table, described by its own text.
      const mouseproto::ButtonCodeRow* row = mouseproto::FindButtonCode(button.func_type, button.func_value);
      ASSERT_NE(row, nullptr) << button.func_type << "/" << button.func_value;
      EXPECT_EQ(row->text_id, button.FuncDescId());
      // For the six standard buttons the default is what the mouse does untouched.
      if (button.key_value <= 5) {
        const KeyRecord record = button.DefaultKeyRecord();
        const auto bytes = mouseproto::SlotEntry({record.key_code, record.macro_type, record.macro_value, 0},
                                                 mouseDefaults.Slot(button.key_value), {});
        ASSERT_TRUE(bytes);
        EXPECT_EQ(*bytes, mouseDefaults.Slot(button.key_value));
      }

      // Horizontal leader line beside the picture (x 850..1150, y 120..540);
      // the label (64 wide) stays inside the 1300-wide design.
      EXPECT_EQ(button.a.y, button.b.y);
      EXPECT_LT(button.a.x, button.b.x);
      EXPECT_TRUE(button.a.y > 120 && button.a.y < 540);
      if (button.direction == 1) {
        EXPECT_TRUE(button.a.x > 850 && button.a.x < 1150) << "anchor on the picture";
        EXPECT_GE(button.b.x, 1150);
        EXPECT_LE(button.b.x + 67, 1300);
      } else {
        EXPECT_EQ(button.direction, 0);
        EXPECT_TRUE(button.b.x > 850 && button.b.x < 1150) << "anchor on the picture";
        EXPECT_LE(button.a.x, 850);
        EXPECT_GE(button.a.x - 67, 0);
      }
    }
    for (int needed : {0, 1, 2, 3, 4, 5}) EXPECT_TRUE(keyCodes.count(needed)) << "button " << needed;
  }
}

TEST_F(ShippedModels, DefaultsAreWithinTheSensorAndValidCodes) {
  testenv::TempDir db;
  for (const CatalogEntry& entry : catalog_.models) {
    const std::wstring& attr = entry.device_attr;
    SCOPED_TRACE(platform::ToUtf8(attr));
    ASSERT_TRUE(kModelSensor.count(attr));
    const mouseproto::SensorRow sensor = mouseproto::SensorRowFor(kModelSensor.at(attr));

    // All six stages are given, each with a colour.
    MarkupDocument doc;
    ASSERT_TRUE(doc.LoadFile(ModelDescriptionPath(testenv::BinDir(), attr)));
    ASSERT_TRUE(doc.FindElement(L"mouse") && doc.EnterElement() && doc.FindElement(L"mouse_info") &&
                doc.EnterElement() && doc.FindElement(L"dpi_info") && doc.EnterElement());
    for (int k = 1; k <= 6; ++k) {
      ASSERT_TRUE(doc.FindElement(L"dpi_" + std::to_wstring(k))) << k;
      EXPECT_TRUE(ParseModelColour(doc.GetAttribute(L"color"))) << k;
    }

    SettingsStore store;
    ASSERT_TRUE(store.OpenDatabase(db.Path(), attr));
    ProfileRecord record;
    record.name = L"P 1";
    const int profile = store.AddProfile(record);
    int choices = 0;
    ASSERT_TRUE(ApplyModelDefaults(store, profile, testenv::BinDir(), attr, ModelDefaultsMode::Full, &choices));
    const auto get = [&](const std::wstring& key) { return store.GetConfigInt(profile, key); };

    const int count = get(L"dpi_count");
    EXPECT_TRUE(count >= 1 && count <= 6);
    EXPECT_EQ(get(L"dpi_flag"), count);
    EXPECT_TRUE(get(L"dpi_index") >= 0 && get(L"dpi_index") < count);
    std::set<int> colours;
    for (int stage = 0; stage < 6; ++stage) {
      const int dpi = get(L"dpi_group" + std::to_wstring(stage) + L"_value");
      SCOPED_TRACE("stage " + std::to_string(stage) + " dpi " + std::to_string(dpi));
      // Inside the range, on the typing grid, and sent and read back unchanged.
      EXPECT_EQ(mouseproto::ClampDpi(sensor, dpi), dpi);
      EXPECT_EQ(mouseproto::SnapTypedDpi(sensor, dpi), dpi);
      EXPECT_EQ(mouseproto::DecodeDpi(sensor.sensor_code, mouseproto::EncodeDpi(sensor.sensor_code, dpi)), dpi);
      colours.insert(get(L"dpi_group" + std::to_wstring(stage) + L"_rgb"));
    }
    EXPECT_EQ(colours.size(), 6u) << "distinct stage colours";

    const int rate = get(L"report_rate");
    const std::set<int> rates = {1, 2, 4, 8, 16, 32, 64};
    EXPECT_TRUE(rates.count(rate)) << rate;
    EXPECT_EQ(choices, ReportRateChoicesForCode(rate));
    const std::set<int> sleeps = {1, 2, 3, 5, 10, 20, 30};
    EXPECT_TRUE(sleeps.count(get(L"sleep_light")));
    EXPECT_TRUE(get(L"move_wakeup") == 0 || get(L"move_wakeup") == 1);
    EXPECT_TRUE(get(L"move_closelight") == 0 || get(L"move_closelight") == 1);
    EXPECT_EQ(get(L"report_rate_wireless"), 1) << "the model defaults leave the wireless rate";
    store.CloseDatabase();
  }
}

TEST_F(ShippedModels, TheFastModelDefaultsTo8000Hz) {
  // The catalog's 8000 Hz model starts at its highest rate with all seven
  // rates offered; the others at 1000 Hz.
  testenv::TempDir db;
  for (const CatalogEntry& entry : catalog_.models) {
    SettingsStore store;
    ASSERT_TRUE(store.OpenDatabase(db.Path(), entry.device_attr));
    ProfileRecord record;
    const int profile = store.AddProfile(record);
    int choices = 0;
    ASSERT_TRUE(ApplyModelDefaults(store, profile, testenv::BinDir(), entry.device_attr, ModelDefaultsMode::Full, &choices));
    const bool fast = entry.device_attr == L"veyra_swift8k";
    EXPECT_EQ(store.GetConfigInt(profile, L"report_rate"), fast ? 64 : 1) << platform::ToUtf8(entry.device_attr);
    EXPECT_EQ(choices, fast ? 7 : 4);
  }
}

}  // namespace
