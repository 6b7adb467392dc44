#pragma once
// SQLiteAutoTransaction: BEGIN on construction, END on End or destruction,
// so a transaction is always ended, whichever way its scope is left.

class SQLiteDB;

class SQLiteAutoTransaction {
 public:
  explicit SQLiteAutoTransaction(SQLiteDB& db);
  virtual ~SQLiteAutoTransaction();
  SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
  SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

  // BEGIN again on an inactive object; the SQLite result code.
  int Begin();
  // END on an active object; the SQLite result code (0 when inactive).
  int End();
  // ROLLBACK on an active object; the SQLite result code (0 when inactive).
  int Rollback();
  bool IsActive() const { return active_; }

 private:
  SQLiteDB* db_;
  bool active_ = false;
};
