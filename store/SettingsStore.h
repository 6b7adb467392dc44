#pragma once
// SettingsStore: the process-wide settings database of the current model,
// <database folder>/<device attribute>_data.db, with the table operations on
// profiles, profile settings, button assignments, macros, macro events and
// light records.
//
// Every operation holds the store's lock for its whole duration, so
// operations from the window and worker threads are serialised; opening and
// closing take the same lock. Strings are UTF-8 in the file and wide in
// memory. Writes report success when the last step returned 0, 100 or 101;
// inserts return the new row id (its low 32 bits) or 0. With no connection
// every write fails, every read finds nothing and every list is empty.
//
// Index
//   1. Opening, creating, closing
//   2. Profile settings and profiles
//   3. Button assignments
//   4. Macros and macro events
//   5. Light records

#include <filesystem>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "store/KeyRecord.h"
#include "store/LightRecord.h"
#include "store/MacroEvent.h"
#include "store/MacroRecord.h"
#include "store/ProfileRecord.h"
#include "store/SQLiteDB.h"

// One profile setting with the value a new profile gets and the value the
// factory reset writes (null: the reset leaves the row alone).
struct ConfigDefault {
  const wchar_t* key;
  const wchar_t* initial;
  const wchar_t* reset;
};

class SettingsStore {
 public:
  SettingsStore() = default;
  virtual ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // The process-wide store.
  static SettingsStore& GetInstance();

  // --- 1. Opening, creating, closing -----------------------------------------
  // The file of a model: folder / "<attr>_data.db" ("_data.db" for an empty
  // attribute). Empty when the attribute could leave the folder ('/' or NUL).
  static std::filesystem::path DatabasePath(const std::filesystem::path& databaseFolder,
                                            const std::wstring& deviceAttr);

  // Opens the model's file, creating it with the schema when it does not
  // exist. An open connection is kept and reported as success. The result
  // becomes the opened flag.
  bool OpenDatabase(const std::filesystem::path& databaseFolder, const std::wstring& deviceAttr);
  // Creates the schema's 15 objects on a new connection to the stored path;
  // true only when the open and every statement succeeded.
  bool CreateDatabase();
  // Closes the connection when the opened flag is set.
  void CloseDatabase();

  // The folder that OpenForDeviceType opens the models' files in. Start-up
  // hands the store the user's database folder; without one (or with an
  // empty one) no model's file can be opened.
  void SetDatabaseFolder(const std::filesystem::path& folder);
  std::filesystem::path DatabaseFolder() const;

  // What loading a model does with the store: close, then open the file of
  // the device type in the database folder (SetDatabaseFolder). The lookup
  // gives the device attribute of the first catalog model with that device
  // type, or empty when there is none.
  using DeviceAttributeLookup = std::function<std::wstring(int deviceType)>;
  bool OpenForDeviceType(int deviceType, const DeviceAttributeLookup& lookup);

  bool IsOpened() const;
  std::string Path() const;

  // Runs body as one transaction under the store's lock: committed when body
  // returns true and the commit succeeds, rolled back otherwise, so a caller
  // that reports every failing step changes all or nothing. False without a
  // connection. body may call any operation of the store except the two that
  // open a transaction of their own (AddMacroEvents, SaveMacroEvents).
  bool ApplyInTransaction(const std::function<bool()>& body);

  // The schema statements in creation order, and the profile settings in
  // insertion order.
  static std::span<const char* const> SchemaStatements();
  static std::span<const ConfigDefault> ConfigDefaults();

  // --- 2. Profile settings and profiles ----------------------------------------
  bool SetConfigValue(int profile, const std::wstring& key, const std::wstring& value);
  bool GetConfigValue(int profile, const std::wstring& key, std::wstring& value);
  // The decimal forms the settings are kept in; a missing or bad value reads 0.
  bool SetConfigInt(int profile, const std::wstring& key, int value);
  int GetConfigInt(int profile, const std::wstring& key);
  void InsertDefaults(int profile);
  void ResetDefaults(int profile);
  int AddProfile(const ProfileRecord& record);
  bool RenameProfile(int profile, const std::wstring& name);
  bool GetProfileName(int profile, std::wstring& name);
  int ListProfiles(std::vector<ProfileRecord>& list);
  bool SetCurrentProfile(int profile);
  int GetCurrentProfile();

  // Makes sure the database has profiles and one current profile: a database
  // without profiles gets four, named "<profileWord> 1" to "<profileWord> 4",
  // each handed to applyModelDefaults (may be empty) after it was created, and
  // the first becomes current; a database without a current profile gets its
  // first profile as current. Returns the current profile id, 0 when none.
  int EnsureProfiles(const std::wstring& profileWord, const std::function<void(int profile)>& applyModelDefaults);

  // --- 3. Button assignments ------------------------------------------------
  int SaveKeyRecord(const KeyRecord& record);
  bool GetKeyRecord(int profile, int keyCode, KeyRecord& record);
  int ListKeyRecords(int profile, std::vector<KeyRecord>& list);
  bool SetKeyMacroDesc(int profile, int keyCode, const std::wstring& desc);
  // True when the delete statement succeeded.
  bool DeleteKeyRecords(int profile);

  // --- 4. Macros and macro events ---------------------------------------------
  int AddMacro(const std::wstring& name);
  int AddMacro(const MacroRecord& record);
  bool RenameMacro(int macroId, const std::wstring& name);
  bool UpdateMacro(const MacroRecord& record);
  bool GetMacro(int macroId, MacroRecord& record);
  int ListMacros(std::vector<MacroRecord>& list);
  bool DeleteMacro(int macroId);
  int AddMacroEvent(const MacroEvent& event);
  void AddMacroEvents(const std::vector<MacroEvent>& list);
  int ListMacroEvents(int macroId, std::vector<MacroEvent>& list);
  bool DeleteMacroEvents(int macroId);
  // Replaces the events of a macro by the list, renumbered 0, 1, 2, ... in
  // list order, in one transaction: a crash keeps either the old or the new
  // events, never none.
  bool SaveMacroEvents(int macroId, const std::vector<MacroEvent>& list);

  // --- 5. Light records ---------------------------------------------------------
  int CountLights(int profile);
  void DeleteLights(int profile);
  int AddLight(const LightRecord& record);
  bool UpdateLight(int mode, const LightRecord& record);
  bool SetCurrentLightMode(int profile, int mode);
  int GetCurrentLightMode(int profile);
  bool GetLight(int profile, int mode, LightRecord& record);
  int ListLights(int profile, std::vector<LightRecord>& list);

 private:
  bool OpenLocked(const std::filesystem::path& path);
  bool CreateLocked();
  void CloseLocked();
  int InsertMacroEventLocked(const MacroEvent& event);

  SQLiteDB db_;
  // Recursive, as operations built from other operations (AddProfile,
  // ResetDefaults) hold it across their parts.
  mutable std::recursive_mutex lock_;
  std::string path_;
  std::filesystem::path databaseFolder_;
  bool opened_ = false;
};
