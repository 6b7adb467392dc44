#include "store/SettingsStore.h"

#include <sqlite3.h>

#include <iterator>

#include "platform/Text.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteStatement.h"

// Index
//   1. Schema and profile defaults
//   2. Opening, creating, closing
//   3. Profile settings and profiles
//   4. Button assignments
//   5. Macros and macro events
//   6. Light records

namespace fs = std::filesystem;

namespace {

// --- 1. Schema and profile defaults ---------------------------------------------

constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "key TEXT, value TEXT)",
    "CREATE TABLE IF NOT EXISTS t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, "
    "status INTEGER, app TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
    "CREATE TABLE IF NOT EXISTS t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, layout_desc TEXT, macro_type INTEGER, "
    "macro_value INTEGER, macro_value2 INTEGER, macro_value3 INTEGER, macro_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
    "CREATE TABLE IF NOT EXISTS t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, macro_desc TEXT, "
    "param TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
    "CREATE TABLE IF NOT EXISTS t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, "
    "play_type INTEGER, play_times INTEGER, delay_type INTEGER, delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, macro_id INTEGER, "
    "type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
    "CREATE TABLE IF NOT EXISTS t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, direction INTEGER, colorful INTEGER, "
    "colorindex INTEGER, color_value1 INTEGER, color_value2 INTEGER, color_value3 INTEGER, "
    "color_value4 INTEGER, color_value5 INTEGER, color_value6 INTEGER, color_value7 INTEGER, "
    "config_func INTEGER, reserved INTEGER, status INTEGER)",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
    "CREATE TABLE IF NOT EXISTS t_key_light_data(keylight_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX IF NOT EXISTS keylightindex ON t_key_light_data(keylight_id)",
};

constexpr ConfigDefault kDefaults[] = {
    {L"version", L"1.0.1", nullptr},
    {L"sleep_light", L"5", L"30"},
    {L"move_wakeup", L"1", L"0"},
    {L"move_closelight", L"1", L"1"},
    {L"report_rate", L"2", L"2"},
    {L"report_rate_wireless", L"1", nullptr},
    {L"report_count", L"4", L"4"},
    {L"report_flag", L"127", L"127"},
    {L"button_respondtime", L"8", L"8"},
    {L"sensor_flag", L"53", L"0"},
    {L"liftoff_height", L"1", L"2"},
    {L"scroll_flag", L"1", L"1"},
    {L"e-sports_flag", L"0", L"0"},
    {L"leftbtn_lock", L"1", L"1"},
    {L"dpi_flag", L"6", L"6"},
    {L"dpi_index", L"1", L"1"},
    {L"dpi_count", L"6", L"6"},
    {L"dpi_group0_value", L"800", L"800"},
    {L"dpi_group1_value", L"1600", L"1200"},
    {L"dpi_group2_value", L"2400", L"2000"},
    {L"dpi_group3_value", L"3200", L"5000"},
    {L"dpi_group4_value", L"6400", L"8000"},
    {L"dpi_group5_value", L"22000", L"22000"},
    {L"dpi_group6_value", L"26000", L"26000"},
    {L"dpi_group7_value", L"0", L"0"},
    {L"dpi_group0_rgb", L"255", L"255"},
    {L"dpi_group1_rgb", L"65280", L"65280"},
    {L"dpi_group2_rgb", L"16711680", L"16711680"},
    {L"dpi_group3_rgb", L"16711935", L"16711935"},
    {L"dpi_group4_rgb", L"65535", L"65535"},
    {L"dpi_group5_rgb", L"16776960", L"16776960"},
    {L"dpi_group6_rgb", L"16712191", nullptr},
    {L"dpi_group7_rgb", L"16777215", nullptr},
    {L"dpi_group8_rgb", L"2139135", nullptr},
    {L"mouse_speed", L"10", L"10"},
    {L"mouse_sensitivity", L"1", L"1"},
    {L"wheel_scrollflag", L"0", L"0"},
    {L"wheel_scrolllines", L"3", L"3"},
    {L"doubleclick_time", L"550", L"550"},
};
static_assert(std::size(kDefaults) == 39);

bool Succeeded(int rc) { return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE; }

// Row ids are kept as 32-bit values; only their low 32 bits count.
int LowId(int64_t rowid) { return static_cast<int>(static_cast<uint32_t>(rowid)); }

// Column order of SELECT * on each table follows the schema.
KeyRecord ReadKey(SQLiteStatement& st) {
  KeyRecord r;
  r.key_id = st.ColumnInt(0);
  r.profile = st.ColumnInt(1);
  r.fn_layer = st.ColumnInt(2);
  r.key_code = st.ColumnInt(3);
  r.layout_value = st.ColumnInt(4);
  r.layout_desc = st.ColumnWText(5);
  r.macro_type = st.ColumnInt(6);
  r.macro_value = st.ColumnInt(7);
  r.macro_value2 = st.ColumnInt(8);
  r.macro_value3 = st.ColumnInt(9);
  r.macro_desc = st.ColumnWText(10);
  return r;
}

MacroRecord ReadMacro(SQLiteStatement& st) {
  MacroRecord r;
  r.macro_id = st.ColumnInt(0);
  r.name = st.ColumnWText(1);
  r.play_type = st.ColumnInt(2);
  r.play_times = st.ColumnInt(3);
  r.delay_type = st.ColumnInt(4);
  r.delay_time = st.ColumnInt(5);
  return r;
}

MacroEvent ReadEvent(SQLiteStatement& st) {
  MacroEvent r;
  r.record_id = st.ColumnInt(0);
  r.macro_id = st.ColumnInt(1);
  r.type = st.ColumnInt(2);
  r.record_index = st.ColumnInt(3);
  r.desc = st.ColumnWText(4);
  r.value = st.ColumnInt(5);
  r.delay_time = st.ColumnInt(6);
  return r;
}

LightRecord ReadLight(SQLiteStatement& st) {
  LightRecord r;
  r.light_id = st.ColumnInt(0);
  r.profile = st.ColumnInt(1);
  r.name = st.ColumnWText(2);
  r.mode = st.ColumnInt(3);
  r.brightness = st.ColumnInt(4);
  r.speed = st.ColumnInt(5);
  r.direction = st.ColumnInt(6);
  r.colorful = st.ColumnInt(7);
  r.colorindex = st.ColumnInt(8);
  for (int i = 0; i < 7; ++i) r.color_value[i] = st.ColumnInt(9 + i);
  r.config_func = st.ColumnInt(16);
  r.reserved = st.ColumnInt(17);
  r.status = st.ColumnInt(18);
  return r;
}

ProfileRecord ReadProfile(SQLiteStatement& st) {
  ProfileRecord r;
  r.profile = st.ColumnInt(0);
  r.name = st.ColumnWText(1);
  r.status = st.ColumnInt(2);
  r.app = st.ColumnWText(3);
  r.type = st.ColumnInt(4);
  return r;
}

}  // namespace

// --- 2. Opening, creating, closing ----------------------------------------------

SettingsStore::~SettingsStore() {
  std::lock_guard lock(lock_);
  CloseLocked();
}

SettingsStore& SettingsStore::GetInstance() {
  static SettingsStore store;
  return store;
}

std::span<const char* const> SettingsStore::SchemaStatements() { return kSchema; }
std::span<const ConfigDefault> SettingsStore::ConfigDefaults() { return kDefaults; }

fs::path SettingsStore::DatabasePath(const fs::path& databaseFolder, const std::wstring& deviceAttr) {
  if (databaseFolder.empty()) return {};
  for (wchar_t c : deviceAttr)
    if (c == L'/' || c == L'\0') return {};
  return databaseFolder / fs::path(platform::ToUtf8(deviceAttr + L"_data.db"));
}

bool SettingsStore::OpenDatabase(const fs::path& databaseFolder, const std::wstring& deviceAttr) {
  std::lock_guard lock(lock_);
  const fs::path path = DatabasePath(databaseFolder, deviceAttr);
  path_ = path.string();
  if (path.empty()) {
    opened_ = db_.IsOpen();
    return opened_;
  }
  std::error_code ec;
  if (fs::exists(path, ec)) {
    opened_ = db_.IsOpen() || OpenLocked(path);
  } else {
    opened_ = CreateLocked();
  }
  return opened_;
}

bool SettingsStore::OpenLocked(const fs::path& path) {
  return db_.Open(path.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX);
}

bool SettingsStore::CreateDatabase() {
  std::lock_guard lock(lock_);
  return CreateLocked();
}

bool SettingsStore::CreateLocked() {
  if (db_.IsOpen()) return true;
  if (path_.empty()) return false;
  if (!db_.Open(path_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX)) return false;
  bool ok = true;
  for (const char* sql : kSchema) ok = (db_.Exec(sql) == SQLITE_OK) && ok;
  return ok;
}

void SettingsStore::CloseDatabase() {
  std::lock_guard lock(lock_);
  CloseLocked();
}

void SettingsStore::CloseLocked() {
  if (!opened_) return;
  db_.Close();
  opened_ = false;
}

bool SettingsStore::OpenForDeviceType(int deviceType, const DeviceAttributeLookup& lookup) {
  std::lock_guard lock(lock_);
  CloseLocked();
  // A connection that failed to open halfway is dropped as well, so the
  // next file never inherits it.
  db_.Close();
  const std::wstring attr = lookup ? lookup(deviceType) : std::wstring();
  return OpenDatabase(databaseFolder_, attr);
}

void SettingsStore::SetDatabaseFolder(const fs::path& folder) {
  std::lock_guard lock(lock_);
  databaseFolder_ = folder;
}

fs::path SettingsStore::DatabaseFolder() const {
  std::lock_guard lock(lock_);
  return databaseFolder_;
}

bool SettingsStore::IsOpened() const {
  std::lock_guard lock(lock_);
  return opened_;
}

std::string SettingsStore::Path() const {
  std::lock_guard lock(lock_);
  return path_;
}

bool SettingsStore::ApplyInTransaction(const std::function<bool()>& body) {
  std::lock_guard lock(lock_);
  if (!db_.IsOpen() || !body) return false;
  // IMMEDIATE takes the write lock at once, so no other connection can slip
  // a write in between the checks the body makes and its own writes.
  if (db_.Exec("BEGIN IMMEDIATE") != SQLITE_OK) return false;
  if (body() && db_.Exec("COMMIT") == SQLITE_OK) return true;
  db_.Exec("ROLLBACK");
  return false;
}

// --- 3. Profile settings and profiles -----------------------------------------------

bool SettingsStore::SetConfigValue(int profile, const std::wstring& key, const std::wstring& value) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?");
  st.BindWText(1, value);
  st.BindInt(2, profile);
  st.BindWText(3, key);
  return Succeeded(st.Step());
}

bool SettingsStore::GetConfigValue(int profile, const std::wstring& key, std::wstring& value) {
  std::lock_guard lock(lock_);
  value.clear();
  SQLiteStatement st;
  db_.Prepare(st, "SELECT value FROM t_configdata WHERE profile = ? and key = ?");
  st.BindInt(1, profile);
  st.BindWText(2, key);
  bool found = false;
  while (st.Step() == SQLITE_ROW) {
    if (!found) value = st.ColumnWText(0);
    found = true;
  }
  return found;
}

bool SettingsStore::SetConfigInt(int profile, const std::wstring& key, int value) {
  return SetConfigValue(profile, key, platform::IntToWString(value));
}

int SettingsStore::GetConfigInt(int profile, const std::wstring& key) {
  std::wstring value;
  GetConfigValue(profile, key, value);
  return platform::WToI(value);
}

void SettingsStore::InsertDefaults(int profile) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  for (const ConfigDefault& d : kDefaults) {
    db_.Prepare(st, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);");
    st.BindInt(1, profile);
    st.BindWText(2, d.key);
    st.BindWText(3, d.initial);
    st.Step();
  }
}

void SettingsStore::ResetDefaults(int profile) {
  std::lock_guard lock(lock_);
  for (const ConfigDefault& d : kDefaults)
    if (d.reset != nullptr) SetConfigValue(profile, d.key, d.reset);
}

int SettingsStore::AddProfile(const ProfileRecord& record) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);");
  st.BindWText(1, record.name);
  st.BindInt(2, 0);
  st.BindWText(3, record.app);
  st.BindInt(4, 0);
  if (!Succeeded(st.Step())) return 0;
  const int id = LowId(db_.LastInsertRowid());
  st.Finalize();
  InsertDefaults(id);
  return id;
}

bool SettingsStore::RenameProfile(int profile, const std::wstring& name) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "UPDATE t_profile_data SET name = ? WHERE profile = ?");
  st.BindWText(1, name);
  st.BindInt(2, profile);
  return Succeeded(st.Step());
}

bool SettingsStore::GetProfileName(int profile, std::wstring& name) {
  std::lock_guard lock(lock_);
  name.clear();
  SQLiteStatement st;
  db_.Prepare(st, "SELECT name FROM t_profile_data WHERE profile = ?");
  st.BindInt(1, profile);
  bool found = false;
  while (st.Step() == SQLITE_ROW) {
    if (!found) name = st.ColumnWText(0);
    found = true;
  }
  return found;
}

int SettingsStore::ListProfiles(std::vector<ProfileRecord>& list) {
  std::lock_guard lock(lock_);
  list.clear();
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_profile_data");
  while (st.Step() == SQLITE_ROW) list.push_back(ReadProfile(st));
  return static_cast<int>(list.size());
}

bool SettingsStore::SetCurrentProfile(int profile) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "UPDATE t_profile_data SET status = ?");
  st.BindInt(1, 0);
  st.Step();
  db_.Prepare(st, "UPDATE t_profile_data SET status = ? WHERE profile = ?");
  st.BindInt(1, 1);
  st.BindInt(2, profile);
  return Succeeded(st.Step());
}

int SettingsStore::GetCurrentProfile() {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT profile FROM t_profile_data WHERE status = ?");
  st.BindInt(1, 1);
  int profile = 0;
  bool found = false;
  while (st.Step() == SQLITE_ROW) {
    if (!found) profile = st.ColumnInt(0);
    found = true;
  }
  return profile;
}

int SettingsStore::EnsureProfiles(const std::wstring& profileWord,
                                  const std::function<void(int profile)>& applyModelDefaults) {
  std::vector<ProfileRecord> list;
  if (ListProfiles(list) == 0) {
    int first = 0;
    for (int i = 1; i <= 4; ++i) {
      ProfileRecord record;
      record.name = profileWord + L" " + std::to_wstring(i);
      const int id = AddProfile(record);
      if (id <= 0) continue;
      if (first == 0) first = id;
      if (applyModelDefaults) applyModelDefaults(id);
    }
    if (first > 0) SetCurrentProfile(first);
    ListProfiles(list);
  }
  int current = GetCurrentProfile();
  if (current < 1 && !list.empty()) {
    // No current profile (an interrupted switch): the first profile, which
    // is profile 1 in every database the program made.
    SetCurrentProfile(list.front().profile);
    current = GetCurrentProfile();
  }
  return current;
}

// --- 4. Button assignments ----------------------------------------------------------

int SettingsStore::SaveKeyRecord(const KeyRecord& record) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
  st.BindInt(1, record.profile);
  st.BindInt(2, record.fn_layer);
  st.BindInt(3, record.key_code);
  st.Step();
  if (record.macro_value == 0 && record.macro_value2 == 0) return 0;
  db_.Prepare(st,
              "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, macro_type, "
              "macro_value, macro_value2, macro_value3, macro_desc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
  st.BindInt(1, record.profile);
  st.BindInt(2, record.fn_layer);
  st.BindInt(3, record.key_code);
  st.BindInt(4, record.layout_value);
  st.BindWText(5, record.layout_desc);
  st.BindInt(6, record.macro_type);
  st.BindInt(7, record.macro_value);
  st.BindInt(8, record.macro_value2);
  st.BindInt(9, record.macro_value3);
  st.BindWText(10, record.macro_desc);
  if (!Succeeded(st.Step())) return 0;
  return LowId(db_.LastInsertRowid());
}

bool SettingsStore::GetKeyRecord(int profile, int keyCode, KeyRecord& record) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
  st.BindInt(1, profile);
  st.BindInt(2, 0);
  st.BindInt(3, keyCode);
  bool found = false;
  while (st.Step() == SQLITE_ROW) {
    if (!found) record = ReadKey(st);
    found = true;
  }
  return found;
}

int SettingsStore::ListKeyRecords(int profile, std::vector<KeyRecord>& list) {
  std::lock_guard lock(lock_);
  list.clear();
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
  st.BindInt(1, profile);
  st.BindInt(2, 0);
  while (st.Step() == SQLITE_ROW) list.push_back(ReadKey(st));
  return static_cast<int>(list.size());
}

bool SettingsStore::SetKeyMacroDesc(int profile, int keyCode, const std::wstring& desc) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and key_code = ?");
  st.BindWText(1, desc);
  st.BindInt(2, profile);
  st.BindInt(3, 0);
  st.BindInt(4, keyCode);
  return Succeeded(st.Step());
}

bool SettingsStore::DeleteKeyRecords(int profile) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "DELETE FROM t_key_macro_data WHERE profile = ?");
  st.BindInt(1, profile);
  return Succeeded(st.Step());
}

// --- 5. Macros and macro events ---------------------------------------------------

int SettingsStore::AddMacro(const std::wstring& name) {
  MacroRecord record;
  record.name = name;
  record.play_type = 0;
  record.play_times = 1;
  record.delay_type = 1;
  record.delay_time = 0;
  return AddMacro(record);
}

int SettingsStore::AddMacro(const MacroRecord& record) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES (?, ?, ?, ?, ?);");
  st.BindWText(1, record.name);
  st.BindInt(2, record.play_type);
  st.BindInt(3, record.play_times);
  st.BindInt(4, record.delay_type);
  st.BindInt(5, record.delay_time);
  if (!Succeeded(st.Step())) return 0;
  return LowId(db_.LastInsertRowid());
}

bool SettingsStore::RenameMacro(int macroId, const std::wstring& name) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?");
  st.BindWText(1, name);
  st.BindInt(2, macroId);
  return Succeeded(st.Step());
}

bool SettingsStore::UpdateMacro(const MacroRecord& record) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st,
              "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = ?,delay_time = ? "
              "WHERE macro_id = ?");
  st.BindWText(1, record.name);
  st.BindInt(2, record.play_type);
  st.BindInt(3, record.play_times);
  st.BindInt(4, record.delay_type);
  st.BindInt(5, record.delay_time);
  st.BindInt(6, record.macro_id);
  return Succeeded(st.Step());
}

bool SettingsStore::GetMacro(int macroId, MacroRecord& record) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_macro_data WHERE macro_id = ?");
  st.BindInt(1, macroId);
  bool found = false;
  while (st.Step() == SQLITE_ROW) {
    if (!found) record = ReadMacro(st);
    found = true;
  }
  return found;
}

int SettingsStore::ListMacros(std::vector<MacroRecord>& list) {
  std::lock_guard lock(lock_);
  list.clear();
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_macro_data");
  while (st.Step() == SQLITE_ROW) list.push_back(ReadMacro(st));
  return static_cast<int>(list.size());
}

bool SettingsStore::DeleteMacro(int macroId) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "DELETE FROM t_macro_data WHERE macro_id = ?");
  st.BindInt(1, macroId);
  if (!Succeeded(st.Step())) return false;
  db_.Prepare(st, "DELETE FROM t_macrorecord WHERE macro_id = ?");
  st.BindInt(1, macroId);
  return Succeeded(st.Step());
}

int SettingsStore::InsertMacroEventLocked(const MacroEvent& event) {
  SQLiteStatement st;
  db_.Prepare(st,
              "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
              "VALUES (?, ?, ?, ?, ?, ?);");
  st.BindInt(1, event.macro_id);
  st.BindInt(2, event.type);
  st.BindInt(3, event.record_index);
  st.BindWText(4, event.desc);
  st.BindInt(5, event.value);
  st.BindInt(6, event.delay_time);
  if (!Succeeded(st.Step())) return 0;
  return LowId(db_.LastInsertRowid());
}

int SettingsStore::AddMacroEvent(const MacroEvent& event) {
  std::lock_guard lock(lock_);
  return InsertMacroEventLocked(event);
}

void SettingsStore::AddMacroEvents(const std::vector<MacroEvent>& list) {
  std::lock_guard lock(lock_);
  SQLiteAutoTransaction transaction(db_);
  for (const MacroEvent& event : list) InsertMacroEventLocked(event);
  transaction.End();
}

int SettingsStore::ListMacroEvents(int macroId, std::vector<MacroEvent>& list) {
  std::lock_guard lock(lock_);
  list.clear();
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC");
  st.BindInt(1, macroId);
  while (st.Step() == SQLITE_ROW) list.push_back(ReadEvent(st));
  return static_cast<int>(list.size());
}

bool SettingsStore::DeleteMacroEvents(int macroId) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "DELETE FROM t_macrorecord WHERE macro_id = ?");
  st.BindInt(1, macroId);
  return Succeeded(st.Step());
}

bool SettingsStore::SaveMacroEvents(int macroId, const std::vector<MacroEvent>& list) {
  std::lock_guard lock(lock_);
  if (!db_.IsOpen()) return false;
  SQLiteAutoTransaction transaction(db_);
  bool ok = DeleteMacroEvents(macroId);
  int index = 0;
  for (MacroEvent event : list) {
    event.macro_id = macroId;
    event.record_index = index++;
    ok = InsertMacroEventLocked(event) > 0 && ok;
  }
  if (!ok) {
    transaction.Rollback();
    return false;
  }
  return transaction.End() == SQLITE_OK;
}

// --- 6. Light records ------------------------------------------------------------------

int SettingsStore::CountLights(int profile) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "select count(*) FROM t_light_data WHERE profile = ?");
  st.BindInt(1, profile);
  return st.Step() == SQLITE_ROW ? st.ColumnInt(0) : 0;
}

void SettingsStore::DeleteLights(int profile) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "DELETE FROM t_light_data WHERE profile = ?");
  st.BindInt(1, profile);
  st.Step();
}

int SettingsStore::AddLight(const LightRecord& record) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st,
              "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, colorindex, "
              "color_value1, color_value2, color_value3, color_value4, color_value5, color_value6, color_value7, "
              "config_func, reserved, status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
  st.BindInt(1, record.profile);
  st.BindWText(2, record.name);
  st.BindInt(3, record.mode);
  st.BindInt(4, record.brightness);
  st.BindInt(5, record.speed);
  st.BindInt(6, record.direction);
  st.BindInt(7, record.colorful);
  st.BindInt(8, record.colorindex);
  for (int i = 0; i < 7; ++i) st.BindInt(9 + i, record.color_value[i]);
  st.BindInt(16, record.config_func);
  st.BindInt(17, record.reserved);
  st.BindInt(18, record.status);
  if (!Succeeded(st.Step())) return 0;
  return LowId(db_.LastInsertRowid());
}

bool SettingsStore::UpdateLight(int mode, const LightRecord& record) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st,
              "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, colorindex = ?, "
              "color_value1 = ?, color_value2 = ?, color_value3 = ?, color_value4 = ?, color_value5 = ?, "
              "color_value6 = ?, color_value7 = ?, config_func = ?, reserved = ? WHERE profile = ? AND mode = ?");
  st.BindInt(1, record.brightness);
  st.BindInt(2, record.speed);
  st.BindInt(3, record.direction);
  st.BindInt(4, record.colorful);
  st.BindInt(5, record.colorindex);
  for (int i = 0; i < 7; ++i) st.BindInt(6 + i, record.color_value[i]);
  st.BindInt(13, record.config_func);
  st.BindInt(14, record.reserved);
  st.BindInt(15, record.profile);
  st.BindInt(16, mode);
  return Succeeded(st.Step());
}

bool SettingsStore::SetCurrentLightMode(int profile, int mode) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "UPDATE t_light_data SET status = ? WHERE profile = ?");
  st.BindInt(1, 0);
  st.BindInt(2, profile);
  st.Step();
  db_.Prepare(st, "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?");
  st.BindInt(1, 1);
  st.BindInt(2, profile);
  st.BindInt(3, mode);
  return Succeeded(st.Step());
}

int SettingsStore::GetCurrentLightMode(int profile) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?");
  st.BindInt(1, profile);
  st.BindInt(2, 1);
  int mode = 0;
  bool found = false;
  while (st.Step() == SQLITE_ROW) {
    if (!found) mode = st.ColumnInt(0);
    found = true;
  }
  return mode;
}

bool SettingsStore::GetLight(int profile, int mode, LightRecord& record) {
  std::lock_guard lock(lock_);
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
  st.BindInt(1, profile);
  st.BindInt(2, mode);
  bool found = false;
  while (st.Step() == SQLITE_ROW) {
    if (!found) record = ReadLight(st);
    found = true;
  }
  return found;
}

int SettingsStore::ListLights(int profile, std::vector<LightRecord>& list) {
  std::lock_guard lock(lock_);
  list.clear();
  SQLiteStatement st;
  db_.Prepare(st, "SELECT * FROM t_light_data WHERE profile = ?");
  st.BindInt(1, profile);
  while (st.Step() == SQLITE_ROW) list.push_back(ReadLight(st));
  return static_cast<int>(list.size());
}
