#pragma once
// Shared pieces of the store tests: a store on a fresh database folder, and
// two independent views of the file (SQLite's own API and the sqlite3 shell).

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "TestEnv.h"
#include "store/SettingsStore.h"

namespace storetest {

// Runs one SQL text through the sqlite3 command-line shell on the file and
// returns what it printed (rows separated by '\n', columns by '|').
inline std::string Sqlite3Shell(const std::filesystem::path& db, const std::string& sql) {
  const std::string cmd = "sqlite3 -batch '" + db.string() + "' \"" + sql + "\" 2>&1";
  std::string out;
  if (FILE* pipe = ::popen(cmd.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

inline bool HaveSqlite3Shell() { return std::system("sqlite3 -version >/dev/null 2>&1") == 0; }

// The first column of the first row of a query on a separate connection.
inline std::string QueryOne(const std::filesystem::path& db, const char* sql) {
  sqlite3* h = nullptr;
  std::string result;
  if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(st, 0);
      if (text) result = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(h);
  return result;
}

// A store on its own database folder below a fresh temporary home.
class StoreFixture : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(Folder()); }
  std::filesystem::path Folder() const { return home_.Root() / "db"; }
  std::filesystem::path File(const std::wstring& attr = L"veyra_air") const {
    return SettingsStore::DatabasePath(Folder(), attr);
  }
  bool Open(const std::wstring& attr = L"veyra_air") { return store_.OpenDatabase(Folder(), attr); }

  testenv::FreshUserFolders home_;
  SettingsStore store_;
};

}  // namespace storetest
