#include "store/SQLiteStatement.h"

#include <sqlite3.h>

#include "platform/Text.h"

SQLiteStatement::~SQLiteStatement() { Finalize(); }

int SQLiteStatement::BindInt(int index, int value) {
  if (stmt_ == nullptr) return SQLITE_MISUSE;
  return sqlite3_bind_int(stmt_, index, value);
}

int SQLiteStatement::BindText(int index, const char* utf8, int byteLength) {
  if (stmt_ == nullptr) return SQLITE_MISUSE;
  return sqlite3_bind_text(stmt_, index, utf8 ? utf8 : "", utf8 ? byteLength : 0, SQLITE_TRANSIENT);
}

int SQLiteStatement::BindText(int index, std::string_view utf8) {
  return BindText(index, utf8.data(), static_cast<int>(utf8.size()));
}

int SQLiteStatement::BindWText(int index, std::wstring_view text) {
  const std::string utf8 = platform::ToUtf8(text);
  return BindText(index, utf8);
}

int SQLiteStatement::Step() {
  if (stmt_ == nullptr) return SQLITE_MISUSE;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_DONE) finished_ = true;
  return rc;
}

int SQLiteStatement::ColumnInt(int index) {
  if (stmt_ == nullptr) return 0;
  return sqlite3_column_int(stmt_, index);
}

const char* SQLiteStatement::ColumnText(int index) {
  if (stmt_ == nullptr) return nullptr;
  return reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
}

std::wstring SQLiteStatement::ColumnWText(int index) {
  const char* text = ColumnText(index);
  if (text == nullptr) return {};
  const int bytes = sqlite3_column_bytes(stmt_, index);
  return platform::FromUtf8(std::string_view(text, static_cast<size_t>(bytes)));
}

bool SQLiteStatement::Finalize() {
  finished_ = true;
  if (stmt_ == nullptr) return true;
  // sqlite3_finalize always releases the statement; its result only repeats
  // the last step's error.
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  return true;
}
