// Macro and profile exchange files: the written layouts, round trips through
// export and import, and files that must change nothing.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "device/ButtonFunctionCheck.h"
#include "platform/Text.h"
#include "store/ExchangeImporter.h"
#include "store/ExchangeReader.h"
#include "store/ExchangeWriter.h"

using storetest::StoreFixture;

namespace {

// Every table's schema and rows, read through a connection of its own.
std::string Dump(const std::filesystem::path& db) {
  sqlite3* h = nullptr;
  std::string out;
  if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return "cannot open";
  std::vector<std::string> tables;
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(h, "SELECT name, sql FROM sqlite_master ORDER BY name", -1, &st, nullptr);
  while (sqlite3_step(st) == SQLITE_ROW) {
    const char* name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    const char* sql = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    out += std::string(name) + ": " + (sql ? sql : "") + "\n";
    if (sql && std::string(sql).rfind("CREATE TABLE", 0) == 0) tables.push_back(name);
  }
  sqlite3_finalize(st);
  for (const std::string& table : tables) {
    sqlite3_prepare_v2(h, ("SELECT * FROM " + table + " ORDER BY rowid").c_str(), -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
      out += table + ":";
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const unsigned char* v = sqlite3_column_text(st, i);
        out += std::string(" ") + (v ? reinterpret_cast<const char*>(v) : "NULL");
      }
      out += "\n";
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(h);
  return out;
}

void Exec(const std::filesystem::path& db, const char* sql) {
  sqlite3* h = nullptr;
  ASSERT_EQ(sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(h, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(h);
}

// A small model: five buttons, lighting, four report rates.
ExchangeModel LightingModel() {
  ExchangeModel model;
  model.buttons = {0, 1, 2, 3, 4};
  model.has_lighting = true;
  model.report_rates = {1, 2, 4, 8};
  model.is_button_function = mouseproto::IsButtonFunction;
  return model;
}

ExchangeModel PlainModel() {
  ExchangeModel model = LightingModel();
  model.has_lighting = false;
  return model;
}

KeyRecord Key(int profile, int keyCode, int type, int value, int value2, const wchar_t* desc) {
  KeyRecord r;
  r.profile = profile;
  r.key_code = keyCode;
  r.macro_type = type;
  r.macro_value = value;
  r.macro_value2 = value2;
  r.macro_desc = desc;
  return r;
}

LightRecord Light(int profile, int mode, int seed) {
  LightRecord r;
  r.profile = profile;
  r.name = L"light";
  r.mode = mode;
  r.brightness = seed % 5;
  r.speed = seed % 3;
  r.direction = seed % 2;
  r.colorful = 1;
  r.colorindex = seed % 7;
  for (int i = 0; i < 7; ++i) r.color_value[i] = seed * 1000 + i;
  return r;
}

MacroEvent Event(int type, int value, const wchar_t* desc, int stamp) {
  MacroEvent e;
  e.type = type;
  e.value = value;
  e.desc = desc;
  e.delay_time = stamp;
  return e;
}

class ExchangeFilesTest : public StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    ASSERT_TRUE(Open());
    for (const wchar_t* name : {L"Profile 1", L"Profile 2"})
      ASSERT_GT(store_.AddProfile(ProfileRecord{0, name, 0, L"", 0}), 0);
    for (int profile = 1; profile <= 2; ++profile) {
      for (int mode : {1, 2, 3}) ASSERT_GT(store_.AddLight(Light(profile, mode, profile * 10 + mode)), 0);
      ASSERT_TRUE(store_.SetCurrentLightMode(profile, 1));
    }
  }
  std::filesystem::path Exchange(const std::string& name) const { return home_.Root() / name; }
  std::string Write(const std::string& name, const std::string& bytes) const {
    testenv::WriteFile(Exchange(name), bytes);
    return name;
  }
  // Profile 1 with buttons, lights, DPI and performance values of its own.
  void FillProfileOne() {
    const int macro = store_.AddMacro(L"Burst");
    ASSERT_GT(macro, 0);
    ASSERT_GT(store_.SaveKeyRecord(Key(1, 0, 1, 1, 0, L"")), 0);
    ASSERT_GT(store_.SaveKeyRecord(Key(1, 2, 2, 0x06, 0x01, L"Ctrl+C")), 0);
    ASSERT_GT(store_.SaveKeyRecord(Key(1, 3, 4, macro, 0, L"Burst")), 0);
    ASSERT_GT(store_.SaveKeyRecord(Key(1, 4, 5, 2, 0, L"DPI -")), 0);
    ASSERT_TRUE(store_.SetCurrentLightMode(1, 3));
    const std::pair<const wchar_t*, int> values[] = {{L"dpi_flag", 4},
                                                     {L"dpi_index", 2},
                                                     {L"dpi_count", 4},
                                                     {L"dpi_group0_value", 400},
                                                     {L"dpi_group3_value", 12000},
                                                     {L"dpi_group5_rgb", 0x123456},
                                                     {L"button_respondtime", 12},
                                                     {L"report_rate", 8},
                                                     {L"sensor_flag", 7},
                                                     {L"liftoff_height", 2},
                                                     {L"scroll_flag", 0},
                                                     {L"e-sports_flag", 1},
                                                     {L"sleep_light", 30},
                                                     {L"move_wakeup", 0},
                                                     {L"move_closelight", 0}};
    for (const auto& [key, value] : values) ASSERT_TRUE(store_.SetConfigInt(1, key, value));
  }
  static constexpr const wchar_t* kCarried[] = {
      L"dpi_flag",           L"dpi_index",        L"dpi_count",        L"dpi_group0_value", L"dpi_group1_value",
      L"dpi_group2_value",   L"dpi_group3_value", L"dpi_group4_value", L"dpi_group5_value", L"dpi_group0_rgb",
      L"dpi_group1_rgb",     L"dpi_group2_rgb",   L"dpi_group3_rgb",   L"dpi_group4_rgb",   L"dpi_group5_rgb",
      L"button_respondtime", L"report_rate",      L"sensor_flag",      L"liftoff_height",   L"scroll_flag",
      L"e-sports_flag",      L"sleep_light",      L"move_wakeup",      L"move_closelight"};
  std::wstring Setting(int profile, const wchar_t* key) {
    std::wstring value;
    store_.GetConfigValue(profile, key, value);
    return value;
  }
  std::wstring Name(int profile) {
    std::wstring name;
    store_.GetProfileName(profile, name);
    return name;
  }
};

// The fields a button assignment carries through a file.
std::vector<std::tuple<int, int, int, int, int, std::wstring>> Carried(const std::vector<KeyRecord>& keys) {
  std::vector<std::tuple<int, int, int, int, int, std::wstring>> out;
  for (const KeyRecord& k : keys)
    out.emplace_back(k.key_code, k.macro_type, k.macro_value, k.macro_value2, k.macro_value3, k.macro_desc);
  return out;
}

}  // namespace

// --- Macro files -------------------------------------------------------------------------

TEST_F(ExchangeFilesTest, SingleMacroFileHasTheExactLayoutAndComesBackAsANewMacro) {
  const std::wstring name = L"<&\"'> 连发宏";
  const int id = store_.AddMacro(MacroRecord{0, name, 0, 3, 2, 50});
  ASSERT_GT(id, 0);
  // Stored out of order: the file lists them by record_index.
  ASSERT_GT(store_.AddMacroEvent([&] {
    MacroEvent e = Event(3, 65, L"A 松开", 9);
    e.macro_id = id;
    e.record_index = 2;
    return e;
  }()),
            0);
  ASSERT_GT(store_.AddMacroEvent([&] {
    MacroEvent e = Event(2, 65, L"A down", 7);
    e.macro_id = id;
    e.record_index = 0;
    return e;
  }()),
            0);
  ASSERT_GT(store_.AddMacroEvent([&] {
    MacroEvent e = Event(1, 70000, L"70 s", 8);
    e.macro_id = id;
    e.record_index = 1;
    return e;
  }()),
            0);

  ExchangeWriter writer(store_);
  ASSERT_TRUE(writer.ExportMacro(id, name, Exchange("one.xml")));
  const std::string bytes = testenv::ReadFile(Exchange("one.xml"));
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<macro>\r\n"
      "<macroinfo macro_name=\"&lt;&amp;&quot;&apos;&gt; \xE8\xBF\x9E\xE5\x8F\x91\xE5\xAE\x8F\" macro_type=\"0\" "
      "play_times=\"3\" delay_type=\"2\" delay_time=\"50\"/>\r\n"
      "<macroitems>\r\n"
      "<item desc=\"A down\" index=\"0\" type=\"2\" value=\"65\" timestamp=\"7\"/>\r\n"
      "<item desc=\"70 s\" index=\"1\" type=\"1\" value=\"70000\" timestamp=\"8\"/>\r\n"
      "<item desc=\"A \xE6\x9D\xBE\xE5\xBC\x80\" index=\"2\" type=\"3\" value=\"65\" timestamp=\"9\"/>\r\n"
      "</macroitems>\r\n"
      "</macro>\r\n";
  EXPECT_EQ(bytes, expected);

  ExchangeImporter importer(store_);
  const MacroImportResult result = importer.ImportMacro(Exchange("one.xml"));
  ASSERT_TRUE(result.ok) << result.error;
  ASSERT_EQ(result.added.size(), 1u);
  const int copy = result.added[0].macro_id;
  EXPECT_NE(copy, id);
  MacroRecord stored;
  ASSERT_TRUE(store_.GetMacro(copy, stored));
  EXPECT_EQ(stored.name, name);
  EXPECT_EQ(std::tie(stored.play_type, stored.play_times, stored.delay_type, stored.delay_time),
            std::make_tuple(0, 3, 2, 50));
  std::vector<MacroEvent> original, imported;
  store_.ListMacroEvents(id, original);
  ASSERT_EQ(store_.ListMacroEvents(copy, imported), 3);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(std::tie(imported[i].type, imported[i].record_index, imported[i].value, imported[i].delay_time,
                       imported[i].desc),
              std::tie(original[i].type, original[i].record_index, original[i].value, original[i].delay_time,
                       original[i].desc));
  }
  // Importing again adds another copy; the first stays as it is.
  const MacroImportResult again = importer.ImportMacro(Exchange("one.xml"));
  ASSERT_TRUE(again.ok);
  std::vector<MacroRecord> macros;
  EXPECT_EQ(store_.ListMacros(macros), 3);
  EXPECT_EQ(store_.ListMacroEvents(copy, imported), 3);
}

TEST_F(ExchangeFilesTest, AllMacrosFileCarriesAMacroWithoutEvents) {
  const int first = store_.AddMacro(MacroRecord{0, L"Two steps", 1, 1, 0, 0});
  const int empty = store_.AddMacro(MacroRecord{0, L"Nothing yet", 0, 9, 1, 0});
  ASSERT_TRUE(store_.SaveMacroEvents(first, {Event(4, 1, L"L down", 1), Event(5, 1, L"L up", 2)}));
  ExchangeWriter writer(store_);
  ASSERT_TRUE(writer.ExportAllMacros(Exchange("all.xml")));
  const std::string bytes = testenv::ReadFile(Exchange("all.xml"));
  EXPECT_NE(bytes.find("<macro_item macro_name=\"Nothing yet\" macro_type=\"0\" play_times=\"9\" delay_type=\"1\" "
                       "delay_time=\"0\"/>\r\n</macro>\r\n"),
            std::string::npos)
      << bytes;
  ASSERT_NE(bytes.find("<record_item>\r\n<item desc=\"L down\""), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("<record_item"), bytes.rfind("<record_item")) << "one record_item only";

  const MacroImportResult result = ExchangeImporter(store_).ImportMacros(Exchange("all.xml"));
  ASSERT_TRUE(result.ok) << result.error;
  ASSERT_EQ(result.added.size(), 2u);
  EXPECT_EQ(result.added[0].name, L"Two steps");
  EXPECT_EQ(result.added[1].name, L"Nothing yet");
  EXPECT_GT(result.added[0].macro_id, empty);
  std::vector<MacroEvent> events;
  EXPECT_EQ(store_.ListMacroEvents(result.added[0].macro_id, events), 2);
  EXPECT_EQ(store_.ListMacroEvents(result.added[1].macro_id, events), 0);
  MacroRecord stored;
  ASSERT_TRUE(store_.GetMacro(result.added[1].macro_id, stored));
  EXPECT_EQ(stored.play_times, 9);
}

// --- Profile files ----------------------------------------------------------------------------

TEST_F(ExchangeFilesTest, ProfileOfALightingModelComesBackUnderTheFileName) {
  FillProfileOne();
  ExchangeWriter writer(store_);
  ASSERT_TRUE(writer.ExportProfile(1, L"Profile 1", true, Exchange("Game.xml")));
  const std::string bytes = testenv::ReadFile(Exchange("Game.xml"));
  EXPECT_NE(bytes.find("<Lightitems lightmode=\"3\">\r\n<item light_mode=\"1\" brightness="), std::string::npos)
      << bytes;
  EXPECT_NE(
      bytes.find("<Mouse_DPI dpi_flag=\"4\" dpi_index=\"2\" dpi_count=\"4\">\r\n<DPI1 value=\"400\" color=\"255\"/>"),
      std::string::npos);
  EXPECT_NE(bytes.find("<Mouse>\r\n<button_respondtime value=\"12\"/>\r\n<report_rate value=\"8\"/>\r\n"),
            std::string::npos);

  const ProfileImportResult result = ExchangeImporter(store_).ImportProfile(Exchange("Game.xml"), 2, LightingModel());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_TRUE(result.write_profile_to_device);
  EXPECT_EQ(result.name, L"Game");
  EXPECT_EQ(Name(2), L"Game");
  EXPECT_EQ(Name(1), L"Profile 1");

  std::vector<KeyRecord> one, two;
  store_.ListKeyRecords(1, one);
  store_.ListKeyRecords(2, two);
  EXPECT_EQ(Carried(two), Carried(one));
  EXPECT_EQ(store_.GetCurrentLightMode(2), 3);
  for (int mode : {1, 2, 3}) {
    LightRecord a, b;
    ASSERT_TRUE(store_.GetLight(1, mode, a));
    ASSERT_TRUE(store_.GetLight(2, mode, b));
    EXPECT_EQ(std::tie(b.brightness, b.speed, b.direction, b.colorful, b.colorindex),
              std::tie(a.brightness, a.speed, a.direction, a.colorful, a.colorindex));
    EXPECT_TRUE(std::equal(a.color_value, a.color_value + 7, b.color_value)) << "mode " << mode;
  }
  for (const wchar_t* key : kCarried) EXPECT_EQ(Setting(2, key), Setting(1, key)) << platform::ToUtf8(key);
}

TEST_F(ExchangeFilesTest, ModelWithoutLightingWritesNoLightsAndIgnoresThem) {
  FillProfileOne();
  ExchangeWriter writer(store_);
  const std::optional<std::wstring> plain = writer.BuildProfile(1, L"p", false);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->find(L"Lightitems"), std::wstring::npos);
  EXPECT_NE(plain->find(L"<Mouse_DPI"), std::wstring::npos);
  EXPECT_FALSE(writer.BuildProfile(7, L"p", false).has_value()) << "no such profile";

  ASSERT_TRUE(writer.ExportProfile(1, L"p", true, Exchange("Lit.xml")));
  std::vector<LightRecord> before, after;
  store_.ListLights(2, before);
  const ProfileImportResult result = ExchangeImporter(store_).ImportProfile(Exchange("Lit.xml"), 2, PlainModel());
  ASSERT_TRUE(result.ok) << result.error;
  store_.ListLights(2, after);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].brightness, before[i].brightness);
    EXPECT_EQ(after[i].status, before[i].status);
    EXPECT_EQ(after[i].color_value[0], before[i].color_value[0]);
  }
  // The rest of the file still applies.
  EXPECT_EQ(Setting(2, L"dpi_group3_value"), L"12000");
  EXPECT_EQ(Name(2), L"Lit");
}

TEST_F(ExchangeFilesTest, PartsOfAProfileFileAndWhatTheyLeaveAlone) {
  ASSERT_GT(store_.SaveKeyRecord(Key(2, 1, 1, 3, 0, L"")), 0);
  ASSERT_TRUE(store_.SetConfigInt(2, L"dpi_group0_value", 1234));
  ASSERT_TRUE(store_.SetConfigInt(2, L"dpi_count", 3));
  const std::string head =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n<profileinfo name=\"ignored\">\r\n";
  const std::string tail = "</profileinfo>\r\n</profile>\r\n";
  struct Case {
    const char* what;
    std::string body;
    int buttons;             // assignments of profile 2 afterwards
    const wchar_t* dpi0;     // dpi_group0_value afterwards
    const wchar_t* colour0;  // dpi_group0_rgb afterwards
    const wchar_t* index;    // dpi_index afterwards
  };
  const Case cases[] = {
      {"empty keyitems clears the buttons", "<keyitems/>\r\n", 0, L"1234", L"255", L"1"},
      {"no keyitems clears them as well", "", 0, L"1234", L"255", L"1"},
      {"no Mouse_DPI leaves the stages",
       "<keyitems>\r\n<item key_code=\"4\" macro_type=\"9\" macro_value=\"1\"/>\r\n</keyitems>\r\n", 1, L"1234", L"255",
       L"1"},
      {"an empty attribute is a missing one",
       "<Mouse_DPI dpi_flag=\"\" dpi_index=\"2\" dpi_count=\"\">\r\n<DPI1 value=\"\" "
       "color=\"65280\"/>\r\n</Mouse_DPI>\r\n",
       0, L"1234", L"65280", L"2"},
      {"fewer stages than the selected one moves the selection", "<Mouse_DPI dpi_count=\"1\"/>\r\n", 0, L"1234", L"255",
       L"0"},
      {"a default assignment is no row",
       "<keyitems>\r\n<item key_code=\"1\" macro_type=\"1\" macro_value=\"0\" macro_value2=\"0\"/>\r\n</keyitems>\r\n",
       0, L"1234", L"255", L"1"},
  };
  for (const Case& c : cases) {
    ASSERT_GT(store_.SaveKeyRecord(Key(2, 1, 1, 3, 0, L"")), 0);
    ASSERT_TRUE(store_.SetConfigInt(2, L"dpi_group0_rgb", 255));
    ASSERT_TRUE(store_.SetConfigInt(2, L"dpi_index", 1));
    ASSERT_TRUE(store_.SetConfigInt(2, L"dpi_count", 3));
    Write("Part.xml", head + c.body + tail);
    const ProfileImportResult result = ExchangeImporter(store_).ImportProfile(Exchange("Part.xml"), 2, LightingModel());
    ASSERT_TRUE(result.ok) << c.what << ": " << result.error;
    std::vector<KeyRecord> keys;
    EXPECT_EQ(store_.ListKeyRecords(2, keys), c.buttons) << c.what;
    EXPECT_EQ(Setting(2, L"dpi_group0_value"), c.dpi0) << c.what;
    EXPECT_EQ(Setting(2, L"dpi_group0_rgb"), c.colour0) << c.what;
    EXPECT_EQ(Setting(2, L"dpi_index"), c.index) << c.what;
    EXPECT_EQ(Name(2), L"Part") << c.what;
  }
}

TEST_F(ExchangeFilesTest, MacroAssignmentsFollowTheDatabaseMacros) {
  const int burst = store_.AddMacro(L"Burst");
  const int other = store_.AddMacro(L"Other");
  ASSERT_GT(store_.SaveKeyRecord(Key(2, 2, 2, 0x04, 0, L"A")), 0);
  // Button 1: the id names another macro, the name finds Burst. Button 2:
  // neither id nor name exists, so its keyboard assignment stays. Button 3:
  // no name shown, the id exists. Button 4: a missing macro on a button at
  // its default, which stays at its default.
  Write("Macros.xml",
        "<profile><profileinfo><keyitems>"
        "<item key_code=\"1\" macro_type=\"4\" macro_value=\"" +
            std::to_string(other) +
            "\" macro_desc=\"Burst\"/>"
            "<item key_code=\"2\" macro_type=\"4\" macro_value=\"77\" macro_desc=\"Gone\"/>"
            "<item key_code=\"3\" macro_type=\"4\" macro_value=\"" +
            std::to_string(other) +
            "\"/>"
            "<item key_code=\"4\" macro_type=\"4\" macro_value=\"78\" macro_desc=\"Gone too\"/>"
            "</keyitems></profileinfo></profile>");
  const ProfileImportResult result = ExchangeImporter(store_).ImportProfile(Exchange("Macros.xml"), 2, LightingModel());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.kept_buttons, (std::vector<int>{2, 4}));
  std::vector<KeyRecord> keys;
  store_.ListKeyRecords(2, keys);
  EXPECT_EQ(Carried(keys), (std::vector<std::tuple<int, int, int, int, int, std::wstring>>{
                               {1, 4, burst, 0, 0, L"Burst"}, {2, 2, 0x04, 0, 0, L"A"}, {3, 4, other, 0, 0, L""}}));
}

TEST_F(ExchangeFilesTest, LightModeWithoutARecordKeepsTheCurrentOne) {
  Write("Lights.xml",
        "<profile><profileinfo><Lightitems lightmode=\"9\">"
        "<item light_mode=\"9\" brightness=\"1\"/><item light_mode=\"2\" brightness=\"3\" color_value7=\"42\"/>"
        "</Lightitems></profileinfo></profile>");
  const ProfileImportResult result = ExchangeImporter(store_).ImportProfile(Exchange("Lights.xml"), 2, LightingModel());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(store_.GetCurrentLightMode(2), 1);
  LightRecord two;
  ASSERT_TRUE(store_.GetLight(2, 2, two));
  EXPECT_EQ(two.brightness, 3);
  EXPECT_EQ(two.color_value[6], 42);
  EXPECT_EQ(two.speed, Light(2, 2, 22).speed) << "a value the file leaves out stays";
  EXPECT_FALSE(store_.GetLight(2, 9, two));
}

// The tag of each line of a written file ("/x" for an end tag), and whether
// every line ends in CR LF.
std::vector<std::string> LineTags(const std::string& bytes, bool& crlf) {
  std::vector<std::string> tags;
  crlf = bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos || end == start || bytes[end - 1] != '\r') crlf = false;
    const std::string line = bytes.substr(start, (end == std::string::npos ? bytes.size() : end) - start);
    const std::size_t nameEnd = line.find_first_of(" />\r", line.size() > 1 && line[1] == '/' ? 2 : 1);
    tags.push_back(line.substr(1, nameEnd == std::string::npos ? std::string::npos : nameEnd - 1));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return tags;
}

TEST_F(ExchangeFilesTest, ProfileFileStandsInLayoutOrderOneElementPerLine) {
  FillProfileOne();
  // A setting the store lacks is written empty, and an empty value imports as none.
  Exec(File(), "DELETE FROM t_configdata WHERE profile = 1 AND key = 'sensor_flag'");
  ASSERT_TRUE(ExchangeWriter(store_).ExportProfile(1, L"Profile 1", false, Exchange("Plain.xml")));
  const std::string bytes = testenv::ReadFile(Exchange("Plain.xml"));
  bool crlf = false;
  const std::vector<std::string> expected = {"?xml",
                                             "profile",
                                             "profileinfo",
                                             "keyitems",
                                             "item",
                                             "item",
                                             "item",
                                             "item",
                                             "/keyitems",
                                             "Mouse_DPI",
                                             "DPI1",
                                             "DPI2",
                                             "DPI3",
                                             "DPI4",
                                             "DPI5",
                                             "DPI6",
                                             "/Mouse_DPI",
                                             "Mouse",
                                             "button_respondtime",
                                             "report_rate",
                                             "sensor_flag",
                                             "liftoff_height",
                                             "scroll_flag",
                                             "e-sports_flag",
                                             "sleep_light",
                                             "move_wakeup",
                                             "move_closelight",
                                             "/Mouse",
                                             "/profileinfo",
                                             "/profile"};
  EXPECT_EQ(LineTags(bytes, crlf), expected);
  EXPECT_TRUE(crlf);
  EXPECT_EQ(bytes.rfind("<?xml", 0), 0u) << "no byte-order mark";
  EXPECT_NE(bytes.find("<profileinfo name=\"Profile 1\">\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("<item key_code=\"2\" macro_type=\"2\" macro_value=\"6\" macro_value2=\"1\" "
                       "macro_value3=\"0\" macro_desc=\"Ctrl+C\"/>\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("<sensor_flag value=\"\"/>\r\n"), std::string::npos);

  ASSERT_TRUE(store_.SetConfigInt(2, L"sensor_flag", 21));
  const ProfileImportResult result = ExchangeImporter(store_).ImportProfile(Exchange("Plain.xml"), 2, PlainModel());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(Setting(2, L"sensor_flag"), L"21");
  EXPECT_EQ(Setting(2, L"report_rate"), L"8");
}

// --- Names ------------------------------------------------------------------------------------

TEST(ExchangeNames, ProfileNameComesFromTheFileName) {
  const struct {
    const char* path;
    const wchar_t* name;
  } cases[] = {
      {"/x/Game.xml", L"Game"},
      {"/x/Office.XML", L"Office"},
      {"/x/Notes.txt", L"Notes.txt"},
      {"/x/.xml", L""},
      {"/x/a.b.Xml", L"a.b"},
      {"/x/\x01Tab\tbed .xml", L"Tabbed"},
      {"/x/\xE6\xB8\xB8\xE6\x88\x8F.xml", L"游戏"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExchangeReader::ProfileNameFromPath(c.path), c.name) << c.path;
  EXPECT_EQ(ExchangeReader::CleanName(std::wstring(100, L'x')).size(), ExchangeReader::kMaxNameLength);
  EXPECT_EQ(ExchangeReader::CleanName(L" a\u0085b\u007f<c>\r\n "), L"ab<c>");
  // A name cut at the limit does not end in a blank.
  const std::wstring cut = std::wstring(ExchangeReader::kMaxNameLength - 1, L'x') + L" y";
  EXPECT_EQ(ExchangeReader::CleanName(cut), std::wstring(ExchangeReader::kMaxNameLength - 1, L'x'));
  EXPECT_EQ(ExchangeReader::CleanName(ExchangeReader::CleanName(cut)), ExchangeReader::CleanName(cut));
}

TEST_F(ExchangeFilesTest, FileNameWithoutANameKeepsTheProfileName) {
  Write(".xml", "<profile><profileinfo/></profile>");
  const ProfileImportResult result = ExchangeImporter(store_).ImportProfile(Exchange(".xml"), 2, LightingModel());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.name, L"Profile 2");
  EXPECT_EQ(Name(2), L"Profile 2");
}

// --- Files that change nothing ------------------------------------------------------------------

TEST_F(ExchangeFilesTest, RefusedFilesLeaveTheDatabaseAsItWas) {
  FillProfileOne();
  ASSERT_TRUE(store_.SaveMacroEvents(store_.AddMacro(L"Kept"), {Event(2, 65, L"A", 1)}));
  enum Kind { kProfile, kMacro, kAllMacros };
  const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
  auto profile = [&](const std::string& body) {
    return xml + "<profile>\r\n<profileinfo>\r\n" + body + "</profileinfo>\r\n</profile>\r\n";
  };
  auto macro = [&](const std::string& info, const std::string& items) {
    return xml + "<macro>\r\n<macroinfo " + info + "/>\r\n<macroitems>\r\n" + items + "</macroitems>\r\n</macro>\r\n";
  };
  std::string manyEvents;
  for (int i = 0; i <= 200; ++i) manyEvents += "<item type=\"1\" value=\"5\"/>";
  std::string manyMacros = xml + "<macro>";
  for (std::size_t i = 0; i <= ExchangeReader::kMaxMacros; ++i) manyMacros += "<macro_item macro_name=\"m\"/>";
  manyMacros += "</macro>";
  std::string oversized = profile("") + "<!--" + std::string(ExchangeReader::kMaxFileBytes, 'x') + "-->";
  const struct {
    const char* what;
    const char* reason;  // part of the reason given
    Kind kind;
    std::string bytes;
  } cases[] = {
      {"zero bytes", "empty", kProfile, ""},
      {"malformed XML", "well-formed", kProfile, xml + "<profile><profileinfo></profile>"},
      {"wrong root", "root", kProfile, macro("macro_name=\"m\"", "")},
      {"over the size cap", "larger", kProfile, oversized},
      {"button not of the model", "not a button", kProfile,
       profile("<keyitems><item key_code=\"9\" macro_type=\"1\" macro_value=\"1\"/></keyitems>")},
      {"function not in the code table", "unknown function 1/11", kProfile,
       profile("<keyitems><item key_code=\"1\" macro_type=\"1\" macro_value=\"11\"/></keyitems>")},
      {"repeat below five clicks", "unknown function 7/4", kProfile,
       profile("<keyitems><item key_code=\"1\" macro_type=\"7\" macro_value=\"4\"/></keyitems>")},
      {"button twice", "twice", kProfile,
       profile("<keyitems><item key_code=\"1\" macro_type=\"9\" macro_value=\"1\"/>"
               "<item key_code=\"1\" macro_type=\"9\" macro_value=\"1\"/></keyitems>")},
      {"key code not a number", "key_code", kProfile,
       profile("<keyitems><item key_code=\"1x\" macro_type=\"9\" macro_value=\"1\"/></keyitems>")},
      {"seven stages", "dpi_count", kProfile, profile("<Mouse_DPI dpi_flag=\"6\" dpi_index=\"0\" dpi_count=\"7\"/>")},
      {"selected stage not below the count", "stage count 4", kProfile,
       profile("<Mouse_DPI dpi_index=\"4\" dpi_count=\"4\"/>")},
      {"selected stage not below the stored count", "stage count", kProfile, profile("<Mouse_DPI dpi_index=\"5\"/>")},
      {"DPI of zero", "\"value\"", kProfile, profile("<Mouse_DPI><DPI2 value=\"0\"/></Mouse_DPI>")},
      {"colour beyond 24 bits", "color", kProfile, profile("<Mouse_DPI><DPI2 color=\"16777216\"/></Mouse_DPI>")},
      {"report rate not of the model", "report rate 64", kProfile,
       profile("<Mouse><report_rate value=\"64\"/></Mouse>")},
      {"wake-up flag of 2", "move_wakeup", kProfile, profile("<Mouse><move_wakeup value=\"2\"/></Mouse>")},
      {"light colour out of range", "color_value3", kProfile,
       profile("<Lightitems lightmode=\"1\"><item light_mode=\"1\" color_value3=\"-1\"/></Lightitems>")},
      {"single import of an all-macros file", "all macros", kMacro,
       xml + "<macro><macro_item macro_name=\"a\"/></macro>"},
      {"all-macros import of a single-macro file", "one macro", kAllMacros, macro("macro_name=\"a\"", "")},
      {"macro without a name", "no name", kMacro, macro("macro_name=\"\x01\"", "")},
      {"play count out of range", "play_times", kMacro, macro("macro_name=\"a\" play_times=\"1000\"", "")},
      {"fixed delay out of range", "delay_time", kMacro,
       macro("macro_name=\"a\" delay_type=\"2\" delay_time=\"10001\"", "")},
      {"event type out of range", "\"type\"", kMacro, macro("macro_name=\"a\"", "<item type=\"6\" value=\"1\"/>")},
      {"key code of an event out of range", "\"value\"", kMacro,
       macro("macro_name=\"a\"", "<item type=\"2\" value=\"70000\"/>")},
      {"event without a type", "lacks", kMacro, macro("macro_name=\"a\"", "<item value=\"1\"/>")},
      {"201 events", "more than 200", kMacro, macro("macro_name=\"a\"", manyEvents)},
      {"one macro too many", "more than", kAllMacros, manyMacros},
      {"second macro bad", "macro_type", kAllMacros,
       xml + "<macro><macro_item macro_name=\"a\"/><macro_item macro_name=\"b\" macro_type=\"9\"/></macro>"},
  };
  ExchangeImporter importer(store_);
  for (const auto& c : cases) {
    const std::string before = Dump(File());
    Write("Bad.xml", c.bytes);
    bool ok = false;
    std::string error;
    if (c.kind == kProfile) {
      const ProfileImportResult r = importer.ImportProfile(Exchange("Bad.xml"), 1, LightingModel());
      ok = r.ok || r.write_profile_to_device;
      error = r.error;
    } else {
      const MacroImportResult r =
          c.kind == kMacro ? importer.ImportMacro(Exchange("Bad.xml")) : importer.ImportMacros(Exchange("Bad.xml"));
      ok = r.ok || !r.added.empty();
      error = r.error;
    }
    EXPECT_FALSE(ok) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(Dump(File()), before) << c.what;
  }
  EXPECT_EQ(Name(1), L"Profile 1");
  EXPECT_FALSE(importer.ImportProfile(Exchange("missing.xml"), 1, LightingModel()).ok);
}

TEST_F(ExchangeFilesTest, StoreFailureHalfWayLeavesTheDatabaseAsItWas) {
  FillProfileOne();
  ExchangeWriter writer(store_);
  ASSERT_TRUE(writer.ExportProfile(1, L"p", true, Exchange("Game.xml")));
  const int macro = store_.AddMacro(L"Three");
  ASSERT_TRUE(store_.SaveMacroEvents(macro, {Event(2, 1, L"a", 1), Event(2, 2, L"b", 2), Event(2, 3, L"c", 3)}));
  ASSERT_TRUE(writer.ExportAllMacros(Exchange("All.xml")));
  // Each trigger fails one statement after others of the same import have
  // already succeeded.
  const struct {
    const char* what;
    const char* trigger;
    bool profile;
  } cases[] = {
      {"last setting",
       "CREATE TRIGGER fail BEFORE UPDATE ON t_configdata WHEN NEW.key = 'move_closelight' "
       "BEGIN SELECT RAISE(ABORT, 'injected'); END",
       true},
      {"a light record",
       "CREATE TRIGGER fail BEFORE UPDATE ON t_light_data WHEN NEW.mode = 2 "
       "BEGIN SELECT RAISE(ABORT, 'injected'); END",
       true},
      {"a button",
       "CREATE TRIGGER fail BEFORE INSERT ON t_key_macro_data WHEN NEW.key_code = 4 "
       "BEGIN SELECT RAISE(ABORT, 'injected'); END",
       true},
      {"third event",
       "CREATE TRIGGER fail BEFORE INSERT ON t_macrorecord WHEN NEW.value = 3 "
       "BEGIN SELECT RAISE(ABORT, 'injected'); END",
       false},
  };
  ExchangeImporter importer(store_);
  for (const auto& c : cases) {
    Exec(File(), c.trigger);
    const std::string before = Dump(File());
    const std::string fileBefore = testenv::ReadFile(File());
    if (c.profile) {
      const ProfileImportResult r = importer.ImportProfile(Exchange("Game.xml"), 2, LightingModel());
      EXPECT_FALSE(r.ok) << c.what;
      EXPECT_FALSE(r.write_profile_to_device) << c.what;
    } else {
      const MacroImportResult r = importer.ImportMacros(Exchange("All.xml"));
      EXPECT_FALSE(r.ok) << c.what;
      EXPECT_TRUE(r.added.empty()) << c.what;
    }
    EXPECT_EQ(Dump(File()), before) << c.what;
    EXPECT_EQ(testenv::ReadFile(File()) == fileBefore, true) << c.what << ": the file's bytes changed";
    EXPECT_EQ(Name(2), L"Profile 2") << c.what;
    Exec(File(), "DROP TRIGGER fail");
  }
  // Without the trigger the same files import.
  EXPECT_TRUE(importer.ImportProfile(Exchange("Game.xml"), 2, LightingModel()).ok);
  EXPECT_TRUE(importer.ImportMacros(Exchange("All.xml")).ok);
}

TEST_F(ExchangeFilesTest, OnlyRegularFilesAreRead) {
  const std::filesystem::path pipe = Exchange("pipe.xml");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::filesystem::path folder = Exchange("folder.xml");
  std::filesystem::create_directory(folder);
  ExchangeImporter importer(store_);
  for (const auto& path : {pipe, folder}) {
    const ProfileImportResult profile = importer.ImportProfile(path, 1, LightingModel());
    EXPECT_FALSE(profile.ok) << path;
    EXPECT_EQ(profile.error, "not a regular file") << path;
    EXPECT_FALSE(importer.ImportMacro(path).ok) << path;
    EXPECT_FALSE(importer.ImportMacros(path).ok) << path;
  }
  EXPECT_EQ(Name(1), L"Profile 1");
}

TEST_F(ExchangeFilesTest, ClosedStoreImportsNothingAndSaysSo) {
  ASSERT_TRUE(ExchangeWriter(store_).ExportProfile(1, L"p", true, Exchange("Game.xml")));
  ASSERT_GT(store_.AddMacro(L"m"), 0);
  ASSERT_TRUE(ExchangeWriter(store_).ExportAllMacros(Exchange("All.xml")));
  store_.CloseDatabase();
  ExchangeImporter importer(store_);
  const ProfileImportResult profile = importer.ImportProfile(Exchange("Game.xml"), 1, LightingModel());
  EXPECT_FALSE(profile.ok);
  EXPECT_FALSE(profile.write_profile_to_device);
  EXPECT_NE(profile.error.find("database"), std::string::npos) << profile.error;
  const MacroImportResult macros = importer.ImportMacros(Exchange("All.xml"));
  EXPECT_FALSE(macros.ok);
  EXPECT_TRUE(macros.added.empty());
  // Nor does it export: no file rather than an empty one.
  EXPECT_FALSE(ExchangeWriter(store_).ExportAllMacros(Exchange("Closed.xml")));
  EXPECT_FALSE(ExchangeWriter(store_).ExportProfile(1, L"p", true, Exchange("Closed.xml")));
  EXPECT_FALSE(std::filesystem::exists(Exchange("Closed.xml")));
}
