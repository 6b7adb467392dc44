#pragma once
// SQLiteStatement: one prepared statement. Text is bound as UTF-8 and copied
// by SQLite, so callers need not keep the bytes alive.

#include <string>
#include <string_view>

struct sqlite3_stmt;

class SQLiteStatement {
 public:
  SQLiteStatement() = default;
  virtual ~SQLiteStatement();
  SQLiteStatement(const SQLiteStatement&) = delete;
  SQLiteStatement& operator=(const SQLiteStatement&) = delete;

  // Indexes count from 1. 21 (SQLITE_MISUSE) when nothing is prepared.
  int BindInt(int index, int value);
  int BindText(int index, const char* utf8, int byteLength);
  int BindText(int index, std::string_view utf8);
  // Binds a wide string converted to UTF-8.
  int BindWText(int index, std::wstring_view text);

  // 100 (row) or 101 (done) or an error code; 21 when nothing is prepared.
  int Step();

  // Indexes count from 0. 0, null or empty when nothing is prepared.
  int ColumnInt(int index);
  const char* ColumnText(int index);
  std::wstring ColumnWText(int index);

  // Finalizes the statement; true when it is empty afterwards.
  bool Finalize();

  bool IsPrepared() const { return stmt_ != nullptr; }
  // Set at construction, when a step is done and when finalized.
  bool IsFinished() const { return finished_; }

 private:
  friend class SQLiteDB;
  sqlite3_stmt* stmt_ = nullptr;
  bool finished_ = true;
};
