#pragma once
// SQLiteDB: one SQLite connection. The settings databases are plain,
// unkeyed SQLite files.
//
// Open sets the write-ahead log with synchronous=NORMAL: every committed
// write survives a crash of the program, and a power loss can at worst lose
// the last few commits but never corrupts the file.

#include <cstdint>
#include <string>

struct sqlite3;
class SQLiteStatement;

class SQLiteDB {
 public:
  SQLiteDB() = default;
  virtual ~SQLiteDB();
  SQLiteDB(const SQLiteDB&) = delete;
  SQLiteDB& operator=(const SQLiteDB&) = delete;

  // Interrupts and closes any connection held, then opens the UTF-8 path with
  // the SQLite open flags. False (and no connection) when opening fails.
  bool Open(const std::string& path, int flags);
  // True when closed afterwards (also when nothing was open).
  bool Close();
  bool IsOpen() const { return db_ != nullptr; }

  // sqlite3_exec without a callback; 21 (SQLITE_MISUSE) without a
  // connection or without SQL.
  int Exec(const char* sql);
  // Finalizes what the statement held and prepares sql into it; 21 without a
  // connection.
  int Prepare(SQLiteStatement& statement, const char* sql);
  // The row id of the last insert, -1 without a connection.
  int64_t LastInsertRowid() const;

  // The journal mode in force ("wal" after a successful Open on a normal
  // file system), empty without a connection.
  std::string JournalMode();

  sqlite3* Handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};
