#include "store/SQLiteDB.h"

#include <sqlite3.h>

#include "store/SQLiteStatement.h"

SQLiteDB::~SQLiteDB() {
  if (db_ == nullptr) return;
  sqlite3_interrupt(db_);
  // close_v2 releases the handle even if a statement were still open.
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool SQLiteDB::Open(const std::string& path, int flags) {
  if (db_ != nullptr) {
    sqlite3_interrupt(db_);
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  db_ = db;
  // Durability: the write-ahead log keeps the file consistent through a
  // crash or power loss, and NORMAL syncs at checkpoints only, which keeps
  // writes fast. Should the log be unavailable, full syncs keep the rollback
  // journal safe. A file that is not a database fails here and is still
  // reported open: the operations on it fail one by one.
  if (JournalMode() == "wal")
    Exec("PRAGMA synchronous = NORMAL;");
  else
    Exec("PRAGMA synchronous = FULL;");
  return true;
}

bool SQLiteDB::Close() {
  if (db_ == nullptr) return true;
  if (sqlite3_close(db_) != SQLITE_OK) return false;
  db_ = nullptr;
  return true;
}

int SQLiteDB::Exec(const char* sql) {
  if (db_ == nullptr || sql == nullptr) return SQLITE_MISUSE;
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql) {
  statement.Finalize();
  if (db_ == nullptr || sql == nullptr) return SQLITE_MISUSE;
  const int rc = sqlite3_prepare_v2(db_, sql, -1, &statement.stmt_, nullptr);
  statement.finished_ = statement.stmt_ == nullptr;
  return rc;
}

int64_t SQLiteDB::LastInsertRowid() const {
  if (db_ == nullptr) return -1;
  return sqlite3_last_insert_rowid(db_);
}

std::string SQLiteDB::JournalMode() {
  if (db_ == nullptr) return {};
  SQLiteStatement st;
  if (Prepare(st, "PRAGMA journal_mode = WAL;") != SQLITE_OK) return {};
  if (st.Step() != SQLITE_ROW) return {};
  const char* mode = st.ColumnText(0);
  return mode ? mode : "";
}
