#include "store/SQLiteAutoTransaction.h"

#include "store/SQLiteDB.h"

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB& db) : db_(&db) {
  if (db_->IsOpen()) {
    db_->Exec("BEGIN");
    active_ = true;
  }
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
  if (active_) db_->Exec("END");
}

int SQLiteAutoTransaction::Begin() {
  if (active_) return 0;
  const int rc = db_->Exec("BEGIN");
  active_ = true;
  return rc;
}

int SQLiteAutoTransaction::End() {
  if (!active_) return 0;
  active_ = false;
  return db_->Exec("END");
}

int SQLiteAutoTransaction::Rollback() {
  if (!active_) return 0;
  active_ = false;
  return db_->Exec("ROLLBACK");
}
