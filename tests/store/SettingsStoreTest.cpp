// The settings database: file location, schema, profiles and their settings,
// and the behaviour of a store without a usable connection.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "platform/Text.h"
#include "shell/AppNames.h"
#include "shell/Environment.h"

namespace fs = std::filesystem;
using storetest::QueryOne;
using storetest::Sqlite3Shell;
using storetest::StoreFixture;

namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

class SettingsStoreTest : public StoreFixture {};

}  // namespace

TEST_F(SettingsStoreTest, DatabasePathFollowsTheDeviceAttribute) {
  struct Case {
    const wchar_t* attr;
    const char* file;  // nullptr: refused
  } cases[] = {
      {L"veyra_air", "veyra_air_data.db"},
      {L"", "_data.db"},               // no catalog model has the device type
      {L"Вейра 8K", "Вейра 8K_data.db"},  // stored as UTF-8 bytes in the name
      {L"..", ".._data.db"},           // stays inside the folder
      {L"../escape", nullptr},
      {L"a/b", nullptr},
  };
  for (const Case& c : cases) {
    const fs::path path = SettingsStore::DatabasePath("/data/db", c.attr);
    if (c.file == nullptr) EXPECT_TRUE(path.empty()) << platform::ToUtf8(c.attr);
    else EXPECT_EQ(path, fs::path("/data/db") / c.file) << platform::ToUtf8(c.attr);
  }
  EXPECT_TRUE(SettingsStore::DatabasePath("", L"veyra_air").empty());
}

// A new database seen from outside the program: the sqlite3 shell finds the
// 15 objects in creation order, 39 settings rows for each of the four
// profiles, and names stored as UTF-8 bytes.
TEST_F(SettingsStoreTest, NewDatabaseAsTheSqliteShellSeesIt) {
  ASSERT_TRUE(storetest::HaveSqlite3Shell()) << "the sqlite3 shell is part of the build dependencies";
  ASSERT_FALSE(fs::exists(File()));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(fs::exists(File()));

  std::vector<int> defaulted;
  EXPECT_EQ(store_.EnsureProfiles(L"Profile", [&](int p) { defaulted.push_back(p); }), 1);
  EXPECT_EQ(defaulted, (std::vector<int>{1, 2, 3, 4}));

  EXPECT_EQ(Sqlite3Shell(File(), "SELECT type || ' ' || name FROM sqlite_master "
                                 "WHERE name NOT LIKE 'sqlite_%' ORDER BY rowid"),
            "table t_configdata\n"
            "table t_profile_data\n"
            "index profileindex\n"
            "table t_key_macro_data\n"
            "index keyindex\n"
            "table t_key_otherdata\n"
            "index otheridindex\n"
            "table t_macro_data\n"
            "index macroidindex\n"
            "table t_macrorecord\n"
            "index macrorecordindex\n"
            "table t_light_data\n"
            "index lightindex\n"
            "table t_key_light_data\n"
            "index keylightindex");
  EXPECT_EQ(Sqlite3Shell(File(), "SELECT profile, count(*) FROM t_configdata GROUP BY profile"),
            "1|39\n2|39\n3|39\n4|39");
  EXPECT_EQ(Sqlite3Shell(File(), "SELECT profile, name, status, app, type FROM t_profile_data"),
            "1|Profile 1|1||0\n2|Profile 2|0||0\n3|Profile 3|0||0\n4|Profile 4|0||0");
  EXPECT_EQ(Sqlite3Shell(File(), "PRAGMA journal_mode"), "wal");

  const std::wstring cyrillic = L"Профиль игры";
  const std::wstring cjk = L"游戏配置 一";
  ASSERT_TRUE(store_.RenameProfile(2, cyrillic));
  ASSERT_TRUE(store_.RenameProfile(3, cjk));
  EXPECT_EQ(Sqlite3Shell(File(), "SELECT hex(name) FROM t_profile_data WHERE profile = 2"),
            Hex(platform::ToUtf8(cyrillic)));
  EXPECT_EQ(Sqlite3Shell(File(), "SELECT hex(name) FROM t_profile_data WHERE profile = 3"),
            Hex(platform::ToUtf8(cjk)));
  std::wstring name;
  ASSERT_TRUE(store_.GetProfileName(3, name));
  EXPECT_EQ(name, cjk);
}

TEST_F(SettingsStoreTest, NewProfileSettingsInTableOrder) {
  ASSERT_TRUE(Open());
  const int id = store_.AddProfile(ProfileRecord{0, L"x", 0, L"", 0});
  ASSERT_EQ(id, 1);
  // Read in insertion order through a second connection.
  sqlite3* h = nullptr;
  ASSERT_EQ(sqlite3_open(File().c_str(), &h), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(h, "SELECT key, value FROM t_configdata WHERE profile = 1 ORDER BY config_id", -1, &st,
                               nullptr),
            SQLITE_OK);
  size_t i = 0;
  const auto defaults = SettingsStore::ConfigDefaults();
  while (sqlite3_step(st) == SQLITE_ROW && i < defaults.size()) {
    EXPECT_EQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), platform::ToUtf8(defaults[i].key));
    EXPECT_EQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)), platform::ToUtf8(defaults[i].initial));
    ++i;
  }
  sqlite3_finalize(st);
  sqlite3_close(h);
  EXPECT_EQ(i, 39u);
  // Spot checks against the documented values.
  EXPECT_EQ(store_.GetConfigInt(1, L"sensor_flag"), 53);
  EXPECT_EQ(store_.GetConfigInt(1, L"dpi_group1_value"), 1600);
  EXPECT_EQ(store_.GetConfigInt(1, L"dpi_group6_rgb"), 0xFF01FF);
  std::wstring version;
  EXPECT_TRUE(store_.GetConfigValue(1, L"version", version));
  EXPECT_EQ(version, L"1.0.1");
}

TEST_F(SettingsStoreTest, ConfigValueReadsAndWrites) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(store_.AddProfile(ProfileRecord{0, L"a", 0, L"", 0}), 1);
  std::wstring value = L"stale";
  // A key without a row: not found, empty, and a write "succeeds" without
  // inserting (rows exist only for keys a profile was created with).
  EXPECT_FALSE(store_.GetConfigValue(1, L"no_such_key", value));
  EXPECT_EQ(value, L"");
  EXPECT_TRUE(store_.SetConfigValue(1, L"no_such_key", L"5"));
  EXPECT_FALSE(store_.GetConfigValue(1, L"no_such_key", value));
  EXPECT_EQ(QueryOne(File(), "SELECT count(*) FROM t_configdata"), "39");
  // Another profile's rows are separate.
  EXPECT_FALSE(store_.GetConfigValue(2, L"report_rate", value));
  // Round trip; non-numeric text reads as 0 through the integer reader.
  EXPECT_TRUE(store_.SetConfigValue(1, L"report_rate", L"64"));
  EXPECT_EQ(store_.GetConfigInt(1, L"report_rate"), 64);
  EXPECT_TRUE(store_.SetConfigValue(1, L"report_rate", L"abc"));
  EXPECT_EQ(store_.GetConfigInt(1, L"report_rate"), 0);
  EXPECT_TRUE(store_.SetConfigInt(1, L"dpi_group0_value", -50));
  EXPECT_TRUE(store_.GetConfigValue(1, L"dpi_group0_value", value));
  EXPECT_EQ(value, L"-50");
}

TEST_F(SettingsStoreTest, FactoryResetWritesItsColumnAndKeepsTheRest) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(store_.AddProfile(ProfileRecord{0, L"a", 0, L"", 0}), 1);
  ASSERT_EQ(store_.AddProfile(ProfileRecord{0, L"b", 0, L"", 0}), 2);
  for (const ConfigDefault& d : SettingsStore::ConfigDefaults()) {
    ASSERT_TRUE(store_.SetConfigValue(1, d.key, L"777"));
    ASSERT_TRUE(store_.SetConfigValue(2, d.key, L"777"));
  }
  store_.ResetDefaults(1);
  store_.ResetDefaults(9);  // a profile that does not exist changes nothing
  for (const ConfigDefault& d : SettingsStore::ConfigDefaults()) {
    std::wstring value;
    ASSERT_TRUE(store_.GetConfigValue(1, d.key, value));
    EXPECT_EQ(value, d.reset ? d.reset : L"777") << platform::ToUtf8(d.key);
    ASSERT_TRUE(store_.GetConfigValue(2, d.key, value));
    EXPECT_EQ(value, L"777");
  }
  // The documented differences between a new profile and a reset one.
  EXPECT_EQ(store_.GetConfigInt(1, L"sensor_flag"), 0);
  EXPECT_EQ(store_.GetConfigInt(1, L"dpi_group1_value"), 1200);
  EXPECT_EQ(store_.GetConfigInt(1, L"report_rate_wireless"), 777);
  EXPECT_EQ(store_.GetConfigInt(1, L"dpi_group6_rgb"), 777);
}

TEST_F(SettingsStoreTest, CurrentProfileIsExactlyOne) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(store_.EnsureProfiles(L"P", nullptr), 1);
  EXPECT_TRUE(store_.SetCurrentProfile(3));
  EXPECT_EQ(store_.GetCurrentProfile(), 3);
  EXPECT_EQ(QueryOne(File(), "SELECT group_concat(profile) FROM t_profile_data WHERE status = 1"), "3");
  std::vector<ProfileRecord> list(7);  // stale entries are dropped
  ASSERT_EQ(store_.ListProfiles(list), 4);
  for (const ProfileRecord& p : list) EXPECT_EQ(p.status, p.profile == 3 ? 1 : 0);
  EXPECT_EQ(list[1].name, L"P 2");
}

// Ensuring profiles on databases in the states a run can leave them in.
TEST_F(SettingsStoreTest, EnsureProfilesCreatesOrRepairs) {
  ASSERT_TRUE(Open());
  int calls = 0;
  auto count = [&](int) { ++calls; };
  ASSERT_EQ(store_.EnsureProfiles(L"Profile", count), 1);
  ASSERT_EQ(calls, 4);

  // A current profile exists: nothing changes.
  ASSERT_TRUE(store_.SetCurrentProfile(2));
  EXPECT_EQ(store_.EnsureProfiles(L"Profile", count), 2);
  EXPECT_EQ(calls, 4);

  // An interrupted switch left no current profile: the first becomes current.
  EXPECT_TRUE(store_.SetCurrentProfile(42));
  EXPECT_EQ(store_.GetCurrentProfile(), 0);
  EXPECT_EQ(store_.EnsureProfiles(L"Profile", count), 1);
  EXPECT_EQ(calls, 4);
  std::vector<ProfileRecord> list;
  EXPECT_EQ(store_.ListProfiles(list), 4);
}

TEST_F(SettingsStoreTest, ReopeningTheSameFileKeepsItsData) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(store_.EnsureProfiles(L"Profile", nullptr), 1);
  ASSERT_TRUE(store_.SetConfigInt(2, L"dpi_index", 3));
  for (int i = 0; i < 2; ++i) {
    store_.CloseDatabase();
    EXPECT_FALSE(store_.IsOpened());
    ASSERT_TRUE(Open());
    EXPECT_TRUE(store_.IsOpened());
  }
  EXPECT_EQ(store_.GetConfigInt(2, L"dpi_index"), 3);
  EXPECT_EQ(store_.EnsureProfiles(L"Other", nullptr), 1);
  std::wstring name;
  EXPECT_TRUE(store_.GetProfileName(4, name));
  EXPECT_EQ(name, L"Profile 4");
}

// Loading a model opens the file of its device type in the user's database
// folder; a device type no model has uses "_data.db".
TEST_F(SettingsStoreTest, OpenForDeviceTypeUsesTheCatalogLookup) {
  shell::SetApplicationName(L"Velmora");
  const fs::path folder = shell::DatabaseFolder();
  ASSERT_TRUE(fs::create_directories(folder));
  // A store that has not been handed its folder opens no model's file.
  EXPECT_FALSE(store_.OpenForDeviceType(2, [](int) { return std::wstring(L"veyra_core"); }));
  EXPECT_FALSE(store_.IsOpened());
  EXPECT_FALSE(fs::exists("veyra_core_data.db"));  // nothing beside the current folder either
  store_.SetDatabaseFolder(folder);
  EXPECT_EQ(store_.DatabaseFolder(), folder);
  const std::map<int, std::wstring> models = {{1, L"veyra_air"}, {2, L"veyra_core"}};
  auto lookup = [&](int type) {
    const auto it = models.find(type);
    return it == models.end() ? std::wstring() : it->second;
  };
  ASSERT_TRUE(store_.OpenForDeviceType(2, lookup));
  EXPECT_EQ(store_.Path(), (folder / "veyra_core_data.db").string());
  ASSERT_EQ(store_.AddMacro(L"m"), 1);
  ASSERT_TRUE(store_.OpenForDeviceType(101, lookup));
  EXPECT_EQ(store_.Path(), (folder / "_data.db").string());
  std::vector<MacroRecord> macros;
  EXPECT_EQ(store_.ListMacros(macros), 0);  // another file
  ASSERT_TRUE(store_.OpenForDeviceType(2, lookup));
  EXPECT_EQ(store_.ListMacros(macros), 1);
  EXPECT_TRUE(fs::exists(folder / "_data.db"));
}

// Every operation of a store without a usable connection fails the
// documented way: writes report failure, inserts 0, reads nothing.
TEST_F(SettingsStoreTest, EveryOperationFailsQuietlyWithoutAConnection) {
  struct Setup {
    const char* name;
    std::function<bool(const fs::path& root, SettingsStore&)> open;  // result of the open
    bool opened;
  } setups[] = {
      {"never opened", [](const fs::path&, SettingsStore&) { return false; }, false},
      {"missing folder",
       [](const fs::path& root, SettingsStore& s) { return s.OpenDatabase(root / "nowhere", L"veyra_air"); },
       false},
      {"closed again",
       [](const fs::path& root, SettingsStore& s) {
         const bool ok = s.OpenDatabase(root / "db", L"closed");
         s.CloseDatabase();
         return ok;
       },
       true},
      // A file that is no database opens; each operation on it fails.
      {"not a database",
       [](const fs::path& root, SettingsStore& s) {
         testenv::WriteFile(root / "db" / "junk_data.db", std::string(4096, 'x'));
         return s.OpenDatabase(root / "db", L"junk");
       },
       true},
  };
  for (const Setup& setup : setups) {
    SCOPED_TRACE(setup.name);
    SettingsStore store;
    EXPECT_EQ(setup.open(home_.Root(), store), setup.opened);
    std::wstring text = L"stale";
    EXPECT_FALSE(store.SetConfigValue(1, L"report_rate", L"1"));
    EXPECT_FALSE(store.GetConfigValue(1, L"report_rate", text));
    EXPECT_EQ(text, L"");
    EXPECT_EQ(store.AddProfile(ProfileRecord{0, L"p", 0, L"", 0}), 0);
    EXPECT_FALSE(store.RenameProfile(1, L"x"));
    EXPECT_FALSE(store.GetProfileName(1, text));
    std::vector<ProfileRecord> profiles(2);
    EXPECT_EQ(store.ListProfiles(profiles), 0);
    EXPECT_TRUE(profiles.empty());
    EXPECT_FALSE(store.SetCurrentProfile(1));
    EXPECT_EQ(store.GetCurrentProfile(), 0);
    EXPECT_EQ(store.EnsureProfiles(L"P", [](int) { ADD_FAILURE() << "no profile was created"; }), 0);
    KeyRecord key;
    key.macro_type = 1;
    key.macro_value = 2;
    EXPECT_EQ(store.SaveKeyRecord(key), 0);
    EXPECT_FALSE(store.GetKeyRecord(0, 0, key));
    EXPECT_FALSE(store.SetKeyMacroDesc(0, 0, L"d"));
    std::vector<KeyRecord> keys(1);
    EXPECT_EQ(store.ListKeyRecords(0, keys), 0);
    EXPECT_EQ(store.AddMacro(L"m"), 0);
    EXPECT_FALSE(store.RenameMacro(1, L"n"));
    EXPECT_FALSE(store.UpdateMacro(MacroRecord{}));
    MacroRecord macro;
    EXPECT_FALSE(store.GetMacro(1, macro));
    EXPECT_FALSE(store.DeleteMacro(1));
    EXPECT_EQ(store.AddMacroEvent(MacroEvent{}), 0);
    store.AddMacroEvents({MacroEvent{}, MacroEvent{}});
    std::vector<MacroEvent> events(1);
    EXPECT_EQ(store.ListMacroEvents(1, events), 0);
    EXPECT_FALSE(store.DeleteMacroEvents(1));
    EXPECT_FALSE(store.SaveMacroEvents(1, {MacroEvent{}}));
    EXPECT_EQ(store.CountLights(1), 0);
    EXPECT_EQ(store.AddLight(LightRecord{}), 0);
    EXPECT_FALSE(store.UpdateLight(1, LightRecord{}));
    EXPECT_FALSE(store.SetCurrentLightMode(1, 1));
    EXPECT_EQ(store.GetCurrentLightMode(1), 0);
    LightRecord light;
    EXPECT_FALSE(store.GetLight(1, 1, light));
    std::vector<LightRecord> lights(1);
    EXPECT_EQ(store.ListLights(1, lights), 0);
    store.InsertDefaults(1);
    store.ResetDefaults(1);
    store.DeleteKeyRecords(1);
    store.DeleteLights(1);
  }
}

// Creation reports failure when a schema statement fails, but runs the
// statements after it and keeps the connection.
TEST_F(SettingsStoreTest, CreationRunsEveryStatementAndReportsAFailure) {
  ASSERT_TRUE(Open(L"partial"));
  store_.CloseDatabase();
  ASSERT_TRUE(fs::remove(File(L"partial")));
  // A view named like the profile table cannot be indexed, so the third
  // statement fails.
  ASSERT_EQ(Sqlite3Shell(File(L"partial"), "CREATE VIEW t_profile_data AS SELECT 1 AS profile"), "");
  EXPECT_FALSE(store_.CreateDatabase());
  EXPECT_EQ(QueryOne(File(L"partial"), "SELECT count(*) FROM sqlite_master WHERE name = 'profileindex'"), "0");
  EXPECT_EQ(QueryOne(File(L"partial"), "SELECT count(*) FROM sqlite_master WHERE name = 'keylightindex'"), "1");
  EXPECT_EQ(store_.AddMacro(L"still usable"), 1);
  EXPECT_TRUE(store_.CreateDatabase());  // a connection is open: nothing to do
}

// Ids are kept as their low 32 bits.
TEST_F(SettingsStoreTest, InsertsReturnTheLow32BitsOfTheRowId) {
  ASSERT_TRUE(Open());
  store_.CloseDatabase();
  ASSERT_EQ(Sqlite3Shell(File(), "INSERT INTO t_macro_data(macro_id, name) VALUES (4294967300, 'big')"), "");
  ASSERT_TRUE(Open());
  EXPECT_EQ(store_.AddMacro(L"next"), 5);  // row id 4294967301
}
