#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "TestEnv.h"
#include "catalog/Catalog.h"
#include "platform/Text.h"

namespace fs = std::filesystem;

namespace {

// Records every call the full read makes, in order, as readable lines.
class RecordingSink : public CatalogSink {
 public:
  std::vector<std::string> calls;
  void ClearList() override { calls.push_back("ClearList"); }
  void AddDevice(const std::wstring& name, int type, const fs::path& image) override {
    calls.push_back("AddDevice " + platform::ToUtf8(name) + " " + std::to_string(type) + " " +
                    image.filename().string());
  }
  void ClearModeTable() override { calls.push_back("ClearModeTable"); }
  void AddModeEntry(int vid, int pid, const std::wstring& name, int type, int mode,
                    const std::wstring& devId) override {
    char line[128];
    std::snprintf(line, sizeof line, "AddModeEntry %04X %04X '%s' %d %d %s", vid, pid, platform::ToUtf8(name).c_str(),
                  type, mode, platform::ToUtf8(devId).c_str());
    calls.push_back(line);
  }
  void SetVersionTitle(const std::wstring& title) override { calls.push_back("Title " + platform::ToUtf8(title)); }
};

class CatalogTest : public ::testing::Test {
 protected:
  void Write(const std::string& xml) { testenv::WriteFile(dir_.Path() / "config.xml", xml); }
  Catalog Read(RecordingSink& sink) {
    return ReadDeviceList(dir_.Path(), dir_.Path() / "skins" / "theme1", sink,
                          [](int id) { return id == 17 ? std::wstring(L"Software version") : std::wstring(); });
  }
  testenv::TempDir dir_;
};

const char* const kTwoModels = R"(<?xml version="1.0" encoding="UTF-8"?>
<config>
  <language.info><lan value="1033"/><lan value="2052"/><lan value="1033"/></language.info>
  <device>
    <mouse name="Alpha" device_type="7" device_attr="alpha" image="alpha.png">
      <mode value="0" vid="1A2B" pid="00C1" dev_id="AL01"/>
      <mode value="1" vid="1a2b" pid="00c2" dev_id="AL01"/>
    </mouse>
    <mouse name="Beta" device_type="7" device_attr="beta" image="beta.png">
      <mode value="0" vid="zz" pid="0001" dev_id="B"/>
    </mouse>
    <mouse name="Gamma" device_type="9" image="g.png"/>
  </device>
  <software caption="Abc" version="2.1.0">
    <website url="https://w.example/"/>
    <feedback url="https://f.example/"/>
    <qa url="https://q.example/"/>
  </software>
</config>
)";

}  // namespace

TEST_F(CatalogTest, FullReadListsModelsAndModesInFileOrder) {
  Write(kTwoModels);
  RecordingSink sink;
  const Catalog c = Read(sink);
  const std::vector<std::string> expected = {
      "ClearList",
      "ClearModeTable",
      "AddDevice Alpha 7 alpha.png",
      "AddModeEntry 1A2B 00C1 '' 7 0 AL01",
      "AddModeEntry 1A2B 00C2 '' 7 1 AL01",  // lower-case hex reads the same
      "AddDevice Beta 7 beta.png",
      "AddModeEntry 0000 0001 '' 7 0 B",     // a bad vid reads 0
      "AddDevice Gamma 9 g.png",            // no modes: listed, never detected
      "Title Software version: v2.1.0",
  };
  EXPECT_EQ(sink.calls, expected);
  ASSERT_EQ(c.models.size(), 3u);
  ASSERT_EQ(c.modes.size(), 3u);
  EXPECT_EQ(c.modes[1].name, L"Alpha");  // modes carry their model's fields
  EXPECT_EQ(c.modes[1].device_attr, L"alpha");
  EXPECT_EQ(c.models[0].image_path, dir_.Path() / "skins" / "theme1" / "device" / "alpha.png");
  EXPECT_EQ(c.models[2].device_attr, L"");  // missing attribute
  // Two models with one device type: lookups take the first.
  ASSERT_NE(c.FindModel(7), nullptr);
  EXPECT_EQ(c.FindModel(7)->name, L"Alpha");
  EXPECT_EQ(c.FindModel(8), nullptr);
  EXPECT_EQ(c.version, L"2.1.0");
  EXPECT_EQ(c.website, L"https://w.example/");
  EXPECT_EQ(c.feedback, L"https://f.example/");
  EXPECT_EQ(c.qa, L"https://q.example/");
}

TEST_F(CatalogTest, EarlyReadReturnsLanguagesAndName) {
  Write(kTwoModels);
  const CatalogStart start = ReadLanguagesAndName(dir_.Path());
  EXPECT_EQ(start.languages, (std::set<int>{1033, 2052}));
  EXPECT_EQ(start.caption, std::optional<std::wstring>(L"Abc"));
}

TEST_F(CatalogTest, ElementOrderDecidesWhatIsFound) {
  struct Case {
    const char* name;
    const char* xml;
    std::set<int> languages;
    const wchar_t* caption;  // nullptr: no "software" found
    size_t models;
    const wchar_t* version;
    const wchar_t* qa;
  } cases[] = {
      {"software before device: list read, no version or addresses",
       R"(<config><language.info><lan value="1041"/></language.info>
          <software caption="Early" version="1.0"><qa url="q"/></software>
          <device><mouse name="M" device_type="1"/></device></config>)",
       {1041}, L"Early", 1, L"", L""},
      {"software before language.info: languages read, no caption",
       R"(<config><software caption="Late" version="1.0"/>
          <language.info><lan value="1041"/></language.info></config>)",
       {1041}, nullptr, 0, L"1.0", L""},
      {"empty language.info and empty caption",
       R"(<config><language.info/><software caption=""/></config>)",
       {}, L"", 0, L"", L""},
      {"website missing: feedback and qa still read; a missing caption reads empty",
       R"(<config><device/><software version="3"><feedback url="f"/><qa url="q"/></software></config>)",
       {}, L"", 0, L"3", L"q"},
      {"ill-formed: nothing read",
       R"(<config><device><mouse name="M" device_type="1"></device></config>)",
       {}, nullptr, 0, L"", L""},
      {"two roots: nothing read",
       R"(<config><language.info><lan value="1033"/></language.info></config><config/>)",
       {}, nullptr, 0, L"", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Write(c.xml);
    const CatalogStart start = ReadLanguagesAndName(dir_.Path());
    EXPECT_EQ(start.languages, c.languages);
    EXPECT_EQ(start.caption, c.caption ? std::optional<std::wstring>(c.caption) : std::nullopt);
    RecordingSink sink;
    const Catalog catalog = Read(sink);
    EXPECT_EQ(catalog.models.size(), c.models);
    EXPECT_EQ(catalog.version, c.version);
    EXPECT_EQ(catalog.qa, c.qa);
  }
}

TEST_F(CatalogTest, MissingFileLeavesEverythingEmpty) {
  const CatalogStart start = ReadLanguagesAndName(dir_.Path());
  EXPECT_TRUE(start.languages.empty());
  EXPECT_FALSE(start.caption);
  RecordingSink sink;
  const Catalog c = Read(sink);
  EXPECT_TRUE(c.models.empty());
  EXPECT_EQ(sink.calls, (std::vector<std::string>{"ClearList", "ClearModeTable"}));
}

TEST(ShippedCatalog, HasTheRequiredModelsAndLanguages) {
  const CatalogStart start = ReadLanguagesAndName(testenv::BinDir());
  EXPECT_EQ(start.languages, (std::set<int>{1028, 1033, 1041, 1042, 1058, 2052}));
  EXPECT_EQ(start.caption, std::optional<std::wstring>(L"Orvane"));
  RecordingSink sink;
  const Catalog c = ReadDeviceList(testenv::BinDir(), testenv::BinDir() / "skins/theme1", sink, nullptr);
  ASSERT_GE(c.models.size(), 3u);
  bool cableAndReceiver = false;
  for (const auto& m : c.models) {
    bool cable = false, receiver = false;
    for (const auto& mode : c.modes) {
      if (mode.device_type != m.device_type) continue;
      EXPECT_EQ(mode.dev_id.size(), 4u);
      EXPECT_NE(mode.vid, 0);
      EXPECT_NE(mode.pid, 0);
      cable |= mode.mode == 0;
      receiver |= mode.mode == 1;
    }
    cableAndReceiver |= cable && receiver;
    EXPECT_FALSE(m.device_attr.empty());
  }
  EXPECT_TRUE(cableAndReceiver);
  EXPECT_FALSE(c.version.empty());
  EXPECT_FALSE(c.website.empty());
  EXPECT_FALSE(c.feedback.empty());
  EXPECT_FALSE(c.qa.empty());
}

namespace {

// The modes whose vendor id, product id and device id an earlier mode
// already has, as "Name vid:pid dev_id".
std::vector<std::string> RepeatedModes(const Catalog& c) {
  std::set<std::tuple<int, int, std::wstring>> seen;
  std::vector<std::string> repeated;
  for (const CatalogEntry& mode : c.modes) {
    if (seen.emplace(mode.vid, mode.pid, mode.dev_id).second) continue;
    char key[32];
    std::snprintf(key, sizeof key, " %04X:%04X ", mode.vid, mode.pid);
    repeated.push_back(platform::ToUtf8(mode.name) + key + platform::ToUtf8(mode.dev_id));
  }
  return repeated;
}

}  // namespace

TEST_F(CatalogTest, RepeatedModesAreFound) {
  // Same ids on two models, and on two modes of one model; a different
  // device id behind the same vendor and product ids is a different mouse.
  Write(R"(<config><device>
    <mouse name="A" device_type="1"><mode value="0" vid="1A2B" pid="0001" dev_id="AA01"/>
                                    <mode value="1" vid="1A2B" pid="0001" dev_id="AA01"/></mouse>
    <mouse name="B" device_type="2"><mode value="0" vid="1a2b" pid="0001" dev_id="AA01"/>
                                    <mode value="0" vid="1A2B" pid="0001" dev_id="BB02"/></mouse>
  </device></config>)");
  RecordingSink sink;
  EXPECT_EQ(RepeatedModes(Read(sink)), (std::vector<std::string>{"A 1A2B:0001 AA01", "B 1A2B:0001 AA01"}));
  Write(kTwoModels);
  EXPECT_TRUE(RepeatedModes(Read(sink)).empty());
}

// Discovery tells models apart by vendor id, product id and the identity the
// mouse reports: two modes alike in all three would make the model of a
// mouse a matter of file order.
TEST(ShippedCatalog, NoTwoModesShareVendorProductAndDeviceId) {
  RecordingSink sink;
  const Catalog c = ReadDeviceList(testenv::BinDir(), testenv::BinDir() / "skins/theme1", sink, nullptr);
  ASSERT_GE(c.modes.size(), 3u);
  EXPECT_EQ(RepeatedModes(c), std::vector<std::string>{});
}
