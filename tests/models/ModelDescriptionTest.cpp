// The model description reader, the non-visual model load and the model
// defaults, on small description files written by each test.

#include <gtest/gtest.h>

#include <string>

#include "TestEnv.h"
#include "catalog/ModelDescription.h"
#include "shell/Environment.h"
#include "store/SettingsStore.h"

namespace fs = std::filesystem;

namespace {

// A description with every part, in the documented order.
const char* const kFullModel = R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <image_file mouse_img="m.png"/>
  <menu light="1"/>
  <custom show_dpitips="1" show_savetips="0" show_lod="1" show_sensor="2"/>
  <firmware url="https://example.org/fw/m"/>
  <mouse_key>
    <key name="90" key_value="0" direction="0" rect="120#300#85" func_type="1" func_value="1" func_desc="106"/>
    <key name="95" key_value="5" direction="1" rect="1000#1220#320" func_type="5" func_value="3" func_desc="141"/>
  </mouse_key>
  <mouse_info>
    <dpi_info default_dpi="2" dpi_count="5">
      <dpi_1 value="500" color="#FF0000"/>
      <dpi_2 value="1000" color="#0000ff"/>
      <dpi_3 value="1500" color="#00FF00"/>
      <dpi_4 value="2500" color="#123456"/>
      <dpi_6 value="9000" color="red"/>
    </dpi_info>
    <light_info>
      <light_1 enable="1"/><light_2 enable="0"/><light_3 enable="1"/>
      <light_5 enable="1"/><light_6 enable="0"/><light_7 enable="1"/><light_8 enable="1"/>
    </light_info>
    <report_rate default_value="64"/>
    <sleep_light value="10"/>
    <move_wakeup value="0"/>
    <move_closelight value="0"/>
  </mouse_info>
</mouse>
)";

class ModelFiles : public ::testing::Test {
 protected:
  // Writes programFolder/device/<attr>.xml.
  void Write(const std::string& attr, const std::string& xml) {
    testenv::WriteFile(dir_.Path() / "device" / (attr + ".xml"), xml);
  }
  std::optional<ModelDescription> Read(const std::string& xml) {
    Write("m", xml);
    return ReadModelDescription(ModelDescriptionPath(dir_.Path(), L"m"));
  }
  testenv::TempDir dir_;
};

// --- Reading -------------------------------------------------------------------------

TEST_F(ModelFiles, ReadsEveryPartOfACompleteDescription) {
  const auto model = Read(kFullModel);
  ASSERT_TRUE(model);
  EXPECT_EQ(model->picture, L"m.png");
  EXPECT_EQ(model->lighting, true);
  // Only "1" sets a flag.
  EXPECT_EQ(model->custom, (ModelCustomFlags{true, false, true, false}));
  EXPECT_EQ(model->firmware_url, L"https://example.org/fw/m");

  ASSERT_TRUE(model->buttons);
  ASSERT_EQ(model->buttons->size(), 2u);
  const ModelButton& left = (*model->buttons)[0];
  EXPECT_EQ(left.NameId(), 90);
  EXPECT_EQ(left.direction, 0);
  EXPECT_EQ(left.a, (ModelPoint{120, 85}));
  EXPECT_EQ(left.b, (ModelPoint{300, 85}));

  const auto records = model->DefaultKeyRecords();
  ASSERT_EQ(records.size(), 2u);
  const KeyRecord& dpi = records[1];
  EXPECT_EQ(dpi.key_code, 5);
  EXPECT_EQ(dpi.layout_value, 5);
  EXPECT_EQ(dpi.layout_desc, L"95");
  EXPECT_EQ(dpi.macro_type, 5);
  EXPECT_EQ(dpi.macro_value, 3);
  EXPECT_EQ(dpi.macro_value2, 0);
  EXPECT_EQ(dpi.macro_desc, L"141");

  // light_info is found after dpi_info; light_4 is missing.
  const std::array<std::optional<bool>, 8> effects = {true, false, true, std::nullopt, true, false, true, true};
  EXPECT_EQ(model->effects, effects);
}

TEST_F(ModelFiles, LightingFlagIsTrueOnlyForOne) {
  const struct {
    const char* light;
    bool expected;
  } cases[] = {{"0", false}, {"1", true}, {"2", false}, {"", false}, {"yes", false}, {"1", true}};
  // Read one after the other, as loading model after model does.
  for (const auto& c : cases) {
    const auto model = Read(std::string("<mouse><menu light=\"") + c.light + "\"/></mouse>");
    ASSERT_TRUE(model) << c.light;
    EXPECT_EQ(model->lighting, c.expected) << c.light;
  }
}

TEST(ButtonRect, SplitsAtTheFirstAndTheNextHash) {
  const struct {
    const wchar_t* rect;
    ModelPoint a, b;
  } cases[] = {
      {L"120#300#85", {120, 85}, {300, 85}},
      {L"120", {120, 120}, {120, 120}},  // no "#": every part is the whole text
      {L"120#300", {120, 300}, {300, 300}},
      {L"", {0, 0}, {0, 0}},
      {L"-5#x#7#9", {-5, 7}, {0, 7}},  // y is the rest after the second "#"
      {L" 10# 20# 30", {10, 30}, {20, 30}},
  };
  for (const auto& c : cases) {
    ModelPoint a{-1, -1}, b{-1, -1};
    SplitButtonRect(c.rect, a, b);
    EXPECT_EQ(a, c.a) << "rect " << testing::PrintToString(std::wstring(c.rect));
    EXPECT_EQ(b, c.b) << "rect " << testing::PrintToString(std::wstring(c.rect));
  }
}

TEST(ModelColour, HashAndSixHexDigitsBecomeRedInTheLowByte) {
  const struct {
    const wchar_t* text;
    std::optional<int> value;
  } cases[] = {
      {L"#FF0000", 255},       {L"#00FF00", 65280},    {L"#0000FF", 16711680}, {L"#0000ff", 16711680},
      {L"#123456", 0x563412},  {L"#FFFFFF", 0xFFFFFF}, {L"FF0000", {}},        {L"#FF000", {}},
      {L"#FF00000", {}},       {L"#GG0000", {}},       {L"", {}},              {L"#-10000", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseModelColour(c.text), c.value) << testing::PrintToString(std::wstring(c.text));
}

TEST_F(ModelFiles, UnreadableDescriptionsGiveNothing) {
  const struct {
    const char* name;
    const char* xml;  // nullptr: no file
  } cases[] = {
      {"missing file", nullptr},
      {"ill-formed", "<mouse><menu light=\"1\"></mouse>"},
      {"unclosed root", "<mouse><menu light=\"1\"/>"},
      {"other root", "<mice><menu light=\"1\"/></mice>"},
      {"empty file", ""},
  };
  for (const auto& c : cases) {
    fs::remove(dir_.Path() / "device" / "m.xml");
    if (c.xml) Write("m", c.xml);
    EXPECT_FALSE(ReadModelDescription(ModelDescriptionPath(dir_.Path(), L"m"))) << c.name;
  }
}

TEST(ModelPath, RefusesAttributesThatLeaveTheFolder) {
  EXPECT_EQ(ModelDescriptionPath("/p", L"veyra_air"), fs::path("/p/device/veyra_air.xml"));
  for (const wchar_t* attr : {L"", L"..", L".", L"../config", L"a/b"}) EXPECT_TRUE(ModelDescriptionPath("/p", attr).empty());
  EXPECT_FALSE(ReadModelDescription({}));
}

TEST_F(ModelFiles, OutOfOrderElementsAreSkippedAndLaterOnesStillFound) {
  // "custom" stands before "menu": once "menu" is found, the search for
  // "custom" starts behind it and fails; "firmware" is found all the same.
  const auto model = Read(R"(<mouse>
    <image_file mouse_img="m.png"/>
    <custom show_dpitips="1" show_savetips="1" show_lod="1" show_sensor="1"/>
    <menu light="1"/>
    <firmware url="u"/>
    <mouse_info><light_info><light_1 enable="1"/><light_3 enable="1"/><light_2 enable="1"/></light_info></mouse_info>
  </mouse>)");
  ASSERT_TRUE(model);
  EXPECT_EQ(model->picture, L"m.png");
  EXPECT_EQ(model->lighting, true);
  EXPECT_FALSE(model->custom);
  EXPECT_EQ(model->firmware_url, L"u");
  EXPECT_FALSE(model->buttons);  // no "mouse_key": the lists keep their items
  // light_2 is found behind light_3, so the search for light_3 starts behind it.
  EXPECT_EQ(model->effects[0], true);
  EXPECT_EQ(model->effects[1], true);
  EXPECT_FALSE(model->effects[2]);
}

TEST_F(ModelFiles, MissingPartsLeaveWhatThePreviousModelSet) {
  const auto model = Read("<mouse><mouse_key/><mouse_info><light_info><light_8 enable=\"0\"/></light_info></mouse_info></mouse>");
  ASSERT_TRUE(model);
  EXPECT_FALSE(model->picture);
  EXPECT_FALSE(model->lighting);
  EXPECT_FALSE(model->custom);  // a model without "custom" leaves the four flags
  EXPECT_FALSE(model->firmware_url);
  ASSERT_TRUE(model->buttons);  // an empty "mouse_key" empties the lists
  EXPECT_TRUE(model->buttons->empty());

  const std::array<bool, 8> previous = {true, true, false, false, true, false, true, true};
  std::array<bool, 8> expected = previous;
  expected[7] = false;
  EXPECT_EQ(model->MergeEffects(previous), expected);
}

// --- Model defaults --------------------------------------------------------------

class ModelDefaults : public ModelFiles {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.OpenDatabase(dir_.Path(), L"test"));
    ProfileRecord record;
    record.name = L"P 1";
    profile_ = store_.AddProfile(record);
    record.name = L"P 2";
    other_ = store_.AddProfile(record);
    ASSERT_GT(profile_, 0);
    ASSERT_GT(other_, 0);
  }
  std::wstring Value(const std::wstring& key, int profile = 0) {
    std::wstring value;
    store_.GetConfigValue(profile ? profile : profile_, key, value);
    return value;
  }
  bool Apply(ModelDefaultsMode mode, int* choices) {
    return ApplyModelDefaults(store_, profile_, dir_.Path(), L"m", mode, choices);
  }

  SettingsStore store_;
  int profile_ = 0;
  int other_ = 0;
};

// Settings a new profile starts with, before the model defaults.
const struct {
  const wchar_t* key;
  const wchar_t* fresh;  // after InsertDefaults
  const wchar_t* full;   // after the full model defaults of kFullModel
  bool dpiOnlyWrites;    // the DPI-only mode writes it too
} kDefaultCases[] = {
    {L"dpi_index", L"1", L"2", true},
    {L"dpi_flag", L"6", L"5", true},
    {L"dpi_count", L"6", L"5", true},
    {L"dpi_group0_value", L"800", L"500", true},
    {L"dpi_group0_rgb", L"255", L"255", true},
    {L"dpi_group1_value", L"1600", L"1000", true},
    {L"dpi_group1_rgb", L"65280", L"16711680", true},
    {L"dpi_group2_value", L"2400", L"1500", true},
    {L"dpi_group2_rgb", L"16711680", L"65280", true},  // dpi_3 pure green
    {L"dpi_group3_value", L"3200", L"2500", true},
    {L"dpi_group3_rgb", L"16711935", L"5649426", true},
    {L"dpi_group4_value", L"6400", L"6400", true},  // no dpi_5: stage 4 keeps its values
    {L"dpi_group4_rgb", L"65535", L"65535", true},
    {L"dpi_group5_value", L"22000", L"9000", true},
    {L"dpi_group5_rgb", L"16776960", L"16776960", true},  // "red" is no colour
    {L"dpi_group6_value", L"26000", L"26000", false},
    {L"report_rate", L"2", L"64", false},
    {L"report_rate_wireless", L"1", L"1", false},
    {L"sleep_light", L"5", L"10", false},
    {L"move_wakeup", L"1", L"0", false},
    {L"move_closelight", L"1", L"0", false},
};

TEST_F(ModelDefaults, FullModeWritesDpiRateAndPowerDefaultsToTheProfile) {
  Write("m", kFullModel);
  int choices = -1;
  ASSERT_TRUE(Apply(ModelDefaultsMode::Full, &choices));
  for (const auto& c : kDefaultCases) {
    EXPECT_EQ(Value(c.key), c.full) << testing::PrintToString(std::wstring(c.key));
    EXPECT_EQ(Value(c.key, other_), c.fresh) << "other profile " << testing::PrintToString(std::wstring(c.key));
  }
  // 8000 Hz is the default, so all seven rates are offered.
  EXPECT_EQ(choices, 7);
}

TEST_F(ModelDefaults, DpiOnlyModeLeavesRateAndPowerSettings) {
  Write("m", kFullModel);
  int choices = -1;
  ASSERT_TRUE(Apply(ModelDefaultsMode::DpiOnly, &choices));
  for (const auto& c : kDefaultCases)
    EXPECT_EQ(Value(c.key), c.dpiOnlyWrites ? c.full : c.fresh) << testing::PrintToString(std::wstring(c.key));
  EXPECT_EQ(choices, -1);
}

TEST_F(ModelDefaults, ReportRateChoicesFollowTheDefaultCode) {
  const struct {
    const char* code;
    int choices;
  } cases[] = {{"1", 4}, {"2", 4}, {"8", 4}, {"16", 5}, {"32", 6}, {"64", 7}, {"7", 4}, {"", 4}};
  for (const auto& c : cases) {
    Write("m", std::string("<mouse><mouse_info><report_rate default_value=\"") + c.code + "\"/></mouse_info></mouse>");
    int choices = -1;
    ASSERT_TRUE(Apply(ModelDefaultsMode::Full, &choices));
    EXPECT_EQ(choices, c.choices) << c.code;
    EXPECT_EQ(Value(L"report_rate"), std::wstring(c.code, c.code + std::char_traits<char>::length(c.code)));
  }
  // Without a place for the count the defaults are still written.
  Write("m", "<mouse><mouse_info><report_rate default_value=\"16\"/></mouse_info></mouse>");
  EXPECT_TRUE(Apply(ModelDefaultsMode::Full, nullptr));
  EXPECT_EQ(Value(L"report_rate"), L"16");
}

TEST_F(ModelDefaults, ValuesAreTakenAsWritten) {
  // A missing attribute is written as empty text, which reads back as 0.
  Write("m", R"(<mouse><mouse_info>
    <dpi_info dpi_count="04"><dpi_2 value="100" color="#FF00FF"/><dpi_1 value="+1200"/></dpi_info>
    <sleep_light/>
  </mouse_info></mouse>)");
  ASSERT_TRUE(Apply(ModelDefaultsMode::Full, nullptr));
  EXPECT_EQ(Value(L"dpi_index"), L"");
  EXPECT_EQ(store_.GetConfigInt(profile_, L"dpi_index"), 0);
  EXPECT_EQ(Value(L"dpi_flag"), L"04");
  EXPECT_EQ(Value(L"dpi_count"), L"04");
  EXPECT_EQ(Value(L"dpi_group0_value"), L"+1200");
  // dpi_2 stands before dpi_1, so the search for it starts behind it and
  // stage 1 keeps its value and colour.
  EXPECT_EQ(Value(L"dpi_group1_value"), L"1600");
  EXPECT_EQ(Value(L"dpi_group1_rgb"), L"65280");
  EXPECT_EQ(Value(L"sleep_light"), L"");
}

TEST_F(ModelDefaults, FullModeSearchesTheRateForwardFromDpiInfo) {
  Write("m", R"(<mouse><mouse_info>
    <report_rate default_value="64"/>
    <dpi_info default_dpi="3" dpi_count="6"/>
    <move_closelight value="0"/>
  </mouse_info></mouse>)");
  int choices = -1;
  ASSERT_TRUE(Apply(ModelDefaultsMode::Full, &choices));
  EXPECT_EQ(Value(L"dpi_index"), L"3");
  EXPECT_EQ(Value(L"report_rate"), L"2");
  EXPECT_EQ(choices, -1);
  EXPECT_EQ(Value(L"move_closelight"), L"0");
}

TEST_F(ModelDefaults, UnreadableDescriptionsChangeNothing) {
  const struct {
    const char* name;
    const char* xml;
  } cases[] = {
      {"missing file", nullptr},
      {"ill-formed", "<mouse><mouse_info><dpi_info default_dpi=\"4\"></mouse_info></mouse>"},
      {"no mouse", "<mice><mouse_info><dpi_info default_dpi=\"4\"/></mouse_info></mice>"},
      {"no mouse_info", "<mouse><dpi_info default_dpi=\"4\"/><report_rate default_value=\"64\"/></mouse>"},
  };
  for (const auto& c : cases) {
    fs::remove(dir_.Path() / "device" / "m.xml");
    if (c.xml) Write("m", c.xml);
    int choices = -1;
    EXPECT_FALSE(Apply(ModelDefaultsMode::Full, &choices)) << c.name;
    EXPECT_EQ(choices, -1) << c.name;
    EXPECT_EQ(Value(L"dpi_index"), L"1") << c.name;
    EXPECT_EQ(Value(L"report_rate"), L"2") << c.name;
  }
}

TEST_F(ModelFiles, TheReportRateDefaultIsReadAsWritten) {
  const struct {
    const char* name;
    const char* xml;
    std::optional<std::wstring> expected;
  } cases[] = {
      {"full description", kFullModel, L"64"},
      {"rate after other elements", "<mouse><mouse_info><sleep_light value=\"3\"/><report_rate default_value=\" 8\"/></mouse_info></mouse>",
       L" 8"},
      {"missing file", nullptr, std::nullopt},
      {"ill-formed", "<mouse><mouse_info><report_rate default_value=\"1\"></mouse_info></mouse>", std::nullopt},
      {"no mouse_info", "<mouse><report_rate default_value=\"1\"/></mouse>", std::nullopt},
      {"no report_rate", "<mouse><mouse_info><sleep_light value=\"3\"/></mouse_info></mouse>", std::nullopt},
      {"empty value", "<mouse><mouse_info><report_rate default_value=\"\"/></mouse_info></mouse>", std::nullopt},
  };
  for (const auto& c : cases) {
    fs::remove(dir_.Path() / "device" / "m.xml");
    if (c.xml) Write("m", c.xml);
    EXPECT_EQ(ReadModelReportRateDefault(dir_.Path(), L"m"), c.expected) << c.name;
  }
}

// --- The model load --------------------------------------------------------------

TEST_F(ModelFiles, LoadModelDataSwitchesTheDatabaseEvenWithoutADescription) {
  testenv::FreshUserFolders folders;
  ASSERT_TRUE(shell::CreateFolderPath(shell::DatabaseFolder()));
  Catalog catalog;
  CatalogEntry alpha;
  alpha.name = L"Alpha";
  alpha.device_type = 4;
  alpha.device_attr = L"alpha";
  CatalogEntry beta = alpha;
  beta.name = L"Beta";
  beta.device_attr = L"beta";  // same device type: the first entry wins
  CatalogEntry gamma = alpha;
  gamma.name = L"Gamma";
  gamma.device_type = 5;
  gamma.device_attr = L"gamma";
  catalog.models = {alpha, beta, gamma};
  Write("alpha", "<mouse><menu light=\"0\"/></mouse>");

  SettingsStore store;
  store.SetDatabaseFolder(shell::DatabaseFolder());
  const LoadedModel first = LoadModelData(4, catalog, store, dir_.Path());
  EXPECT_EQ(first.name, L"Alpha");
  EXPECT_EQ(first.device_attr, L"alpha");
  EXPECT_TRUE(first.database_opened);
  EXPECT_EQ(fs::path(store.Path()), shell::DatabaseFolder() / "alpha_data.db");
  ASSERT_TRUE(first.description);
  EXPECT_EQ(first.description->lighting, false);

  // No description for gamma: the database follows the model all the same.
  const LoadedModel second = LoadModelData(5, catalog, store, dir_.Path());
  EXPECT_EQ(second.device_attr, L"gamma");
  EXPECT_FALSE(second.description);
  EXPECT_TRUE(store.IsOpened());
  EXPECT_EQ(fs::path(store.Path()), shell::DatabaseFolder() / "gamma_data.db");

  // An unknown device type gives no name, no attribute and no description.
  const LoadedModel third = LoadModelData(9, catalog, store, dir_.Path());
  EXPECT_TRUE(third.name.empty());
  EXPECT_TRUE(third.device_attr.empty());
  EXPECT_FALSE(third.description);
  EXPECT_NE(fs::path(store.Path()).filename(), "gamma_data.db");
}

}  // namespace
